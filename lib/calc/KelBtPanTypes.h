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

// A set of button kinds as flags with the bits of TKelButtonSet: how Qt's form designer edits and
// stores DefButtonSet (see SetToFlags). btCustom has no flag: a set never makes custom buttons.
enum TKelButtonFlag : unsigned {
  bfYes = 1u << btYes,
  bfNo = 1u << btNo,
  bfOk = 1u << btOk,
  bfCancel = 1u << btCancel,
  bfApply = 1u << btApply,
  bfClose = 1u << btClose,
  bfHelp = 1u << btHelp,
  bfAbort = 1u << btAbort,
  bfRetry = 1u << btRetry,
  bfIgnore = 1u << btIgnore,
  bfDelete = 1u << btDelete,
  bfRemove = 1u << btRemove,
  bfInsert = 1u << btInsert,
  bfNew = 1u << btNew,
  bfBrowse = 1u << btBrowse,
  bfOpen = 1u << btOpen,
  bfSave = 1u << btSave,
};
Q_DECLARE_FLAGS(TKelButtonFlags, TKelButtonFlag)
Q_FLAG_NS(TKelButtonFlags)

}  // namespace KelBtPanTypes
using namespace KelBtPanTypes;

// The caption (the untranslated resource text; empty for btCustom) and modal result of a kind.
KEL_EXPORT QString ButtonTypeCaption(TKelButtonType type);
KEL_EXPORT TModalResult ButtonTypeModalResult(TKelButtonType type);

}  // namespace Kel

KEL_DECLARE_SET(Kel::KelBtPanTypes::TKelButtonType, Kel_KelBtPanTypes_TKelButtonType)
Q_DECLARE_OPERATORS_FOR_FLAGS(Kel::KelBtPanTypes::TKelButtonFlags)

namespace Kel {
using TKelButtonSet = TSet<TKelButtonType>;
}  // namespace Kel
