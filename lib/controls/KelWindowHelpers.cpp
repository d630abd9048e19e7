#include "KelWindowHelpers.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QWidget>

#include "KelEventErrors.h"

namespace Kel {

void LockRedraw(QWidget* control) {
  if (control) control->setUpdatesEnabled(false);
}

void UnlockRedraw(QWidget* control) {
  if (!control) return;
  control->setUpdatesEnabled(true);
  control->update();
}

bool ShellOpen(const QString& name) {
  const QString trimmed = name.trimmed();
  if (trimmed.isEmpty()) return false;
  const QFileInfo file(trimmed);
  const QUrl url = file.exists() ? QUrl::fromLocalFile(file.absoluteFilePath())
                                 : QUrl::fromUserInput(trimmed, QDir::currentPath());
  return url.isValid() && QDesktopServices::openUrl(url);
}

TKelHandleObject::TKelHandleObject(TMessageHandler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {}

TKelHandleObject::~TKelHandleObject() = default;

void TKelHandleObject::PostMessage(int message) {
  queued_.append(message);
  // The context object is this: Qt drops the call when this object is destroyed first.
  // The handler runs from the event loop, so what it raises is reported there.
  QMetaObject::invokeMethod(
      this, [this, message] { RunEventHandler(this, [&] { Deliver(message); }); },
      Qt::QueuedConnection);
}

bool TKelHandleObject::IsPending(int message) const { return queued_.contains(message); }

void TKelHandleObject::Deliver(int message) {
  queued_.removeOne(message);
  if (handler_) handler_(message);
}

}  // namespace Kel
