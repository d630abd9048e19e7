#pragma once
// Unit KelControls: the base of the library's keyboard-driven controls and the window helpers
// they share. Include this header to get all of it; each piece has a header of its own.
//
//   KelTranslate.h       TranslateText and its installable translation procedure
//   KelKeyList.h         key bindings (TKelKeyData, TKelKeyList, AddKey)
//   KelCustomControl.h   TKelCustomControl: key layouts, key states, context menus
//   KelMenus.h           MergeMenus, TidySeparators
//   KelEventErrors.h     errors of event handlers: caught at the widgets, given to one handler
//   KelWindowHelpers.h   LockRedraw / UnlockRedraw, ShellOpen, TKelHandleObject (deferred
//                        messages)
//   KelControlsConsts.h  the texts of this unit

#include "KelControlsConsts.h"
#include "KelCustomControl.h"
#include "KelEventErrors.h"
#include "KelKeyList.h"
#include "KelMenus.h"
#include "KelTranslate.h"
#include "KelWindowHelpers.h"
