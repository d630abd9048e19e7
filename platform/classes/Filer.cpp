#include "Filer.h"

#include <QStringDecoder>

namespace Kel {

QString DecodeShortStringBytes(const QByteArray& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder.decode(bytes);
  if (decoder.hasError()) return DecodeAnsiBytes(bytes);
  return text;
}

void TFiler::SetRoot(TComponent* root) { root_ = root; }

TFiler::NestingGuard::NestingGuard(TFiler& filer) : filer_(filer) {
  if (filer_.depth_ >= filer_.maxDepth_) filer_.NestingError();
  ++filer_.depth_;
}

}  // namespace Kel
