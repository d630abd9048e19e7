#pragma once
// Shift states: which modifier keys and mouse buttons were down with a key or mouse event, and
// whether the click was a double click, as a set over the classic members (ssShift = bit 0 ...).

#include <Qt>

#include "Set.h"

namespace Kel {

enum TShiftStateElement { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateElement>;

// The shift state of a Qt event's modifiers and buttons.
inline TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = {},
                                    bool doubleClick = false) {
  TShiftState state;
  if (modifiers & Qt::ShiftModifier) state.Include(ssShift);
  if (modifiers & Qt::AltModifier) state.Include(ssAlt);
  if (modifiers & Qt::ControlModifier) state.Include(ssCtrl);
  if (buttons & Qt::LeftButton) state.Include(ssLeft);
  if (buttons & Qt::RightButton) state.Include(ssRight);
  if (buttons & Qt::MiddleButton) state.Include(ssMiddle);
  if (doubleClick) state.Include(ssDouble);
  return state;
}

}  // namespace Kel
