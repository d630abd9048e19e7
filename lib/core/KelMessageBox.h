#pragma once
// Message boxes of the library go through one process-wide hook: the text, the caption, the kind
// of box and its buttons go in, the button the user chose comes out as a modal result. The
// default shows a QMessageBox; tests and programs without a screen install a hook that answers
// like the box would (SetMessageBoxHook, or the scoped TKelMessageBoxAnswer). A box answers
// with the modal result of the button chosen (mrOk, mrYes, ... of GuiTypes.h).

#include <QString>
#include <functional>

#include "GuiTypes.h"
#include "KelExport.h"
#include "Set.h"

namespace Kel {

enum TKelMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TKelMsgDlgBtn {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp
};
using TKelMsgDlgButtons = TSet<TKelMsgDlgBtn>;

// One box as the hook sees it.
struct TKelMessage {
  QString Text;
  QString Caption;  // empty: the application's name
  TKelMsgDlgType Type = mtInformation;
  TKelMsgDlgButtons Buttons;
};

using TKelMessageBoxHook = std::function<int(const TKelMessage& message)>;

// Shows a box through the hook (the default: a modal QMessageBox) and returns the modal result
// of the button chosen (mrCancel when the box is closed without one).
KEL_EXPORT int KelMessageBox(const QString& text, TKelMsgDlgType type, TKelMsgDlgButtons buttons,
                             const QString& caption = QString());
// Installs hook and returns the one it replaces; an empty hook brings the QMessageBox back.
KEL_EXPORT TKelMessageBoxHook SetMessageBoxHook(TKelMessageBoxHook hook);

// Installs a hook for its lifetime and puts the previous one back afterwards.
class TKelMessageBoxAnswer {
 public:
  explicit TKelMessageBoxAnswer(TKelMessageBoxHook hook)
      : previous_(SetMessageBoxHook(std::move(hook))) {}
  ~TKelMessageBoxAnswer() { SetMessageBoxHook(std::move(previous_)); }
  TKelMessageBoxAnswer(const TKelMessageBoxAnswer&) = delete;
  TKelMessageBoxAnswer& operator=(const TKelMessageBoxAnswer&) = delete;

 private:
  TKelMessageBoxHook previous_;
};

}  // namespace Kel
