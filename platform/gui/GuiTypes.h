#pragma once
// Enumerations of the painting and control layer, with the classic names and ordinals: font
// styles, brush and pen styles, check-box states, border styles, mouse buttons, modal results.
//
// They live in the Q_NAMESPACE Kel::Gui so that published properties and streams get their
// names; `using namespace Gui` makes them plain Kel names (Kel::fsBold).

#include <QObject>

#include "PlatformExport.h"
#include "Set.h"

namespace Kel {
namespace Gui {
Q_NAMESPACE_EXPORT(KEL_PLATFORM_EXPORT)

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
Q_ENUM_NS(TFontStyle)

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross,
                   bsDiagCross };
Q_ENUM_NS(TBrushStyle)

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
Q_ENUM_NS(TPenStyle)

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
Q_ENUM_NS(TCheckBoxState)

// Borders of controls (bsNone, bsSingle) and of windows (all of them).
enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
Q_ENUM_NS(TBorderStyle)

enum TMouseButton { mbLeft, mbRight, mbMiddle };
Q_ENUM_NS(TMouseButton)

// The standard kinds of a bitmap button: each brings its caption, glyph and modal result.
enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry,
                   bkIgnore, bkAll };
Q_ENUM_NS(TBitBtnKind)

}  // namespace Gui
using namespace Gui;

using TFontStyles = TSet<TFontStyle>;

// The result with which a modal window closes; buttons carry one (TButton::ModalResult).
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;

}  // namespace Kel

KEL_DECLARE_SET(Kel::Gui::TFontStyle, Kel_Gui_TFontStyle)
