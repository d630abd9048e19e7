#pragma once
// keldemo's timing mode: how long the program takes to show its main window and to open each
// demonstration window, measured inside the process and printed, so that start-up stays fast as
// windows grow.

#include <QElapsedTimer>

class QTextStream;
class QWidget;

namespace Kel {

class TFormOwner;

// Runs the event loop until `window` has been painted for the first time, completely (every
// child included), and returns true; false when that did not happen within `timeoutMs`.
bool WaitForFirstPaint(QWidget* window, int timeoutMs = 10000);

// Creates and shows the main window through `owner` as the program's entry does, waits for its
// first complete paint, then opens every demonstration window the program has, one after the
// other, each until its first complete paint. Prints one line per window on `out`: the main
// window's time counts from `sinceStart` (started as early as main() can start it), each
// demonstration window's from the click on its button. Returns the exit code: 0 done, 1 a window
// did not paint.
int RunTimingMode(TFormOwner& owner, const QElapsedTimer& sinceStart, QTextStream& out);

}  // namespace Kel
