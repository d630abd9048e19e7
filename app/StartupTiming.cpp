#include "StartupTiming.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QTextStream>
#include <QTimer>

#include "DemoWindows.h"
#include "FormOwner.h"
#include "mainUnit.h"

namespace Kel {

namespace {

// Ends `loop` once the watched window has been painted. A window's first paint draws all of its
// children in the same pass, so the loop is left from a zero timer queued at the window's own
// paint event: it fires after the whole pass.
class TFirstPaintWatcher : public QObject {
 public:
  TFirstPaintWatcher(QWidget* window, QEventLoop* loop) : loop_(loop) {
    window->installEventFilter(this);
  }
  bool Painted() const { return painted_; }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !painted_) {
      painted_ = true;
      watched->removeEventFilter(this);
      QTimer::singleShot(0, loop_, &QEventLoop::quit);
    }
    return false;
  }

 private:
  QEventLoop* loop_;
  bool painted_ = false;
};

QString Milliseconds(qint64 nanoseconds) {
  return QString::number(static_cast<double>(nanoseconds) / 1e6, 'f', 1) + QStringLiteral(" ms");
}

}  // namespace

bool WaitForFirstPaint(QWidget* window, int timeoutMs) {
  QEventLoop loop;
  TFirstPaintWatcher watcher(window, &loop);
  QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
  // A window that is already visible and up to date would never paint again without this.
  window->update();
  loop.exec();
  return watcher.Painted();
}

int RunTimingMode(TFormOwner& owner, const QElapsedTimer& sinceStart, QTextStream& out) {
  owner.CreateForm(MainForm, owner);
  MainForm->show();
  if (!WaitForFirstPaint(MainForm)) {
    out << "main window: not painted" << Qt::endl;
    return 1;
  }
  out << "main window painted " << Milliseconds(sinceStart.nsecsElapsed())
      << " after the program started" << Qt::endl;
  int result = 0;
  for (const TDemoWindowInfo& info : DemoWindows()) {
    QElapsedTimer opening;
    opening.start();
    QPointer<QWidget> window = MainForm->ShowDemoWindow(info.which);
    if (!window) continue;  // not part of the program yet
    const bool painted = WaitForFirstPaint(window);
    out << window->windowTitle() << " (" << info.screenshotName << "): "
        << (painted ? QStringLiteral("opened and painted in ") + Milliseconds(opening.nsecsElapsed())
                    : QStringLiteral("not painted"))
        << Qt::endl;
    if (!painted) result = 1;
  }
  return result;
}

}  // namespace Kel
