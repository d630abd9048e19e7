#pragma once
// Window helpers of the controls: redrawing switched off and on around bulk changes, opening a
// document or address with the desktop's program for it, and the deferred-message object with
// which a non-visual component (the filter builder) hands work to the message loop.

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

#include "KelExport.h"

class QWidget;

namespace Kel {

// Switches the control's repainting off / back on, repainting it then. Nothing for nullptr.
KEL_EXPORT void LockRedraw(QWidget* control);
KEL_EXPORT void UnlockRedraw(QWidget* control);

// Asks the desktop to open name: a web or mail address, or a local file or folder (relative
// names are taken from the current folder). False when nothing could be started for it.
KEL_EXPORT bool ShellOpen(const QString& name);

// A non-visual object's message box: PostMessage queues a message, and the handler receives it
// from the message loop once the events queued before it have been handled. Messages still
// queued when the object is destroyed are dropped, so a handler never runs for a dead object.
class KEL_EXPORT TKelHandleObject : public QObject {
  Q_OBJECT

 public:
  using TMessageHandler = std::function<void(int message)>;

  explicit TKelHandleObject(TMessageHandler handler, QObject* parent = nullptr);
  ~TKelHandleObject() override;

  void PostMessage(int message);
  // Messages posted and not yet handled.
  int PendingCount() const { return static_cast<int>(queued_.size()); }
  bool IsPending(int message) const;

 private:
  void Deliver(int message);

  TMessageHandler handler_;
  QList<int> queued_;
};

}  // namespace Kel
