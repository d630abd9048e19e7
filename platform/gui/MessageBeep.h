#pragma once
// MessageBeep: the system beep with which controls refuse an interactive request (a key that
// does nothing, a search text that matches nothing). A hook lets an application (or a test)
// take the beep over: silence it, count it, or show something instead.

#include <functional>

#include "PlatformExport.h"

namespace Kel {

using TMessageBeepHook = std::function<void()>;

// QApplication::beep(), or the installed hook instead.
KEL_PLATFORM_EXPORT void MessageBeep();
// Installs hook (an empty one restores the system beep) and returns the one installed before.
KEL_PLATFORM_EXPORT TMessageBeepHook SetMessageBeepHook(TMessageBeepHook hook);

}  // namespace Kel
