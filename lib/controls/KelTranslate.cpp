#include "KelTranslate.h"

#include <utility>

namespace Kel {

namespace {

TKelTranslateTextProc& InstalledProc() {
  static TKelTranslateTextProc proc;
  return proc;
}

}  // namespace

QString TranslateText(const QString& text) {
  const TKelTranslateTextProc& proc = InstalledProc();
  return proc ? proc(text) : text;
}

TKelTranslateTextProc SetTranslateTextProc(TKelTranslateTextProc proc) {
  return std::exchange(InstalledProc(), std::move(proc));
}

}  // namespace Kel
