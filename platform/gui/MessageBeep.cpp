#include "MessageBeep.h"

#include <QApplication>
#include <utility>

namespace Kel {

namespace {

TMessageBeepHook& InstalledHook() {
  static TMessageBeepHook hook;
  return hook;
}

}  // namespace

void MessageBeep() {
  if (const TMessageBeepHook& hook = InstalledHook())
    hook();
  else
    QApplication::beep();
}

TMessageBeepHook SetMessageBeepHook(TMessageBeepHook hook) {
  return std::exchange(InstalledHook(), std::move(hook));
}

}  // namespace Kel
