#include "Filer.h"

#include <QStringDecoder>

namespace Kel {

namespace {

// Windows-1252 characters of bytes 0x80..0x9F; the five bytes the code page leaves undefined
// keep their own value, as Windows maps them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

QString DecodeAnsiBytes(const QByteArray& bytes) {
  QString text(bytes.size(), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char byte : bytes) {
    const auto code = static_cast<uint8_t>(byte);
    *out++ = (code >= 0x80 && code <= 0x9F) ? QChar(kCp1252High[code - 0x80]) : QChar(code);
  }
  return text;
}

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
