#include "KelMessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <utility>

namespace Kel {

namespace {

struct ButtonMap {
  TKelMsgDlgBtn Button;
  QMessageBox::StandardButton Standard;
  TModalResult Result;
};

constexpr ButtonMap Buttons[] = {
    {mbYes, QMessageBox::Yes, mrYes},
    {mbNo, QMessageBox::No, mrNo},
    {mbOK, QMessageBox::Ok, mrOk},
    {mbCancel, QMessageBox::Cancel, mrCancel},
    {mbAbort, QMessageBox::Abort, mrAbort},
    {mbRetry, QMessageBox::Retry, mrRetry},
    {mbIgnore, QMessageBox::Ignore, mrIgnore},
    {mbNoToAll, QMessageBox::NoToAll, mrNoToAll},
    {mbYesToAll, QMessageBox::YesToAll, mrYesToAll},
    {mbHelp, QMessageBox::Help, mrNone},
};

QMessageBox::Icon IconOf(TKelMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return QMessageBox::Warning;
    case mtError:
      return QMessageBox::Critical;
    case mtInformation:
      return QMessageBox::Information;
    case mtConfirmation:
      return QMessageBox::Question;
    default:
      return QMessageBox::NoIcon;
  }
}

int ShowQMessageBox(const TKelMessage& message) {
  QMessageBox box(IconOf(message.Type),
                  message.Caption.isEmpty() ? QApplication::applicationName() : message.Caption,
                  message.Text, QMessageBox::NoButton, QApplication::activeWindow());
  QMessageBox::StandardButtons standard;
  for (const ButtonMap& map : Buttons)
    if (message.Buttons.Contains(map.Button)) standard |= map.Standard;
  box.setStandardButtons(standard ? standard : QMessageBox::Ok);
  const auto chosen = static_cast<QMessageBox::StandardButton>(box.exec());
  for (const ButtonMap& map : Buttons)
    if (map.Standard == chosen && message.Buttons.Contains(map.Button)) return map.Result;
  return chosen == QMessageBox::Ok ? mrOk : mrCancel;
}

TKelMessageBoxHook& Hook() {
  static TKelMessageBoxHook hook;
  return hook;
}

}  // namespace

int KelMessageBox(const QString& text, TKelMsgDlgType type, TKelMsgDlgButtons buttons,
                  const QString& caption) {
  const TKelMessage message{text, caption, type, buttons};
  if (Hook()) return Hook()(message);
  return ShowQMessageBox(message);
}

TKelMessageBoxHook SetMessageBoxHook(TKelMessageBoxHook hook) {
  return std::exchange(Hook(), std::move(hook));
}

}  // namespace Kel
