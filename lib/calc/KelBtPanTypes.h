#pragma once
// The kinds of button of the button panel (unit KelBtPan) and the standard button sets, with
// their fixed ordinals, and each kind's caption and modal result.

#include <QObject>
#include <QString>

#include "GuiTypes.h"
#include "KelExport.h"
#include "Set.h"

namespace Kel {
namespace KelBtPanTypes {
Q_NAMESPACE_EXPORT(KEL_EXPORT)

enum TKelButtonType {
  btCustom,
  btYes,
  btNo,
  btOk,
  btCancel,
  btApply,
  btClose,
  btHelp,
  btAbort,
  btRetry,
  btIgnore,
  btDelete,
  btRemove,
  btInsert,
  btNew,
  btBrowse,
  btOpen,
  btSave,
};
Q_ENUM_NS(TKelButtonType)

// What the panel creates: the lines of Buttons (pbCustom), a standard set, or every kind of
// DefButtonSet (pbFromSet).
enum TKelBtnPanelButtons {
  pbCustom,
  pbOk,
  pbOkCancel,
  pbOkCancelHelp,
  pbClose,
  pbCloseHelp,
  pbYesNo,
  pbAbortRetryIgnore,
  pbFromSet,
};
Q_ENUM_NS(TKelBtnPanelButtons)

}  // namespace KelBtPanTypes
using namespace KelBtPanTypes;

// The caption (the untranslated resource text; empty for btCustom) and modal result of a kind.
KEL_EXPORT QString ButtonTypeCaption(TKelButtonType type);
KEL_EXPORT TModalResult ButtonTypeModalResult(TKelButtonType type);

}  // namespace Kel

KEL_DECLARE_SET(Kel::KelBtPanTypes::TKelButtonType, Kel_KelBtPanTypes_TKelButtonType)

namespace Kel {
using TKelButtonSet = TSet<TKelButtonType>;
}  // namespace Kel
