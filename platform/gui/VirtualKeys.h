#pragma once
// Virtual key codes: the key numbers that key bindings and KeyDown handlers use, mapped from Qt's
// key events. Letters and digits are their upper-case character codes ('A' = 65, '0' = 48);
// keys of the numeric keypad have codes of their own (VK_NUMPAD0 ...). A key without a virtual
// code gives 0.

#include <Qt>

#include "PlatformExport.h"
#include "ShiftState.h"

class QKeyEvent;

namespace Kel {

enum : int {
  VK_LBUTTON = 0x01,
  VK_RBUTTON = 0x02,
  VK_CANCEL = 0x03,
  VK_MBUTTON = 0x04,
  VK_BACK = 0x08,
  VK_TAB = 0x09,
  VK_CLEAR = 0x0C,
  VK_RETURN = 0x0D,
  VK_SHIFT = 0x10,
  VK_CONTROL = 0x11,
  VK_MENU = 0x12,  // Alt
  VK_PAUSE = 0x13,
  VK_CAPITAL = 0x14,
  VK_ESCAPE = 0x1B,
  VK_SPACE = 0x20,
  VK_PRIOR = 0x21,  // Page Up
  VK_NEXT = 0x22,   // Page Down
  VK_END = 0x23,
  VK_HOME = 0x24,
  VK_LEFT = 0x25,
  VK_UP = 0x26,
  VK_RIGHT = 0x27,
  VK_DOWN = 0x28,
  VK_SELECT = 0x29,
  VK_PRINT = 0x2A,
  VK_EXECUTE = 0x2B,
  VK_SNAPSHOT = 0x2C,
  VK_INSERT = 0x2D,
  VK_DELETE = 0x2E,
  VK_HELP = 0x2F,
  VK_LWIN = 0x5B,
  VK_RWIN = 0x5C,
  VK_APPS = 0x5D,  // the context-menu key
  VK_NUMPAD0 = 0x60,
  VK_NUMPAD9 = 0x69,
  VK_MULTIPLY = 0x6A,
  VK_ADD = 0x6B,
  VK_SEPARATOR = 0x6C,
  VK_SUBTRACT = 0x6D,
  VK_DECIMAL = 0x6E,
  VK_DIVIDE = 0x6F,
  VK_F1 = 0x70,
  VK_F2 = 0x71,
  VK_F3 = 0x72,
  VK_F4 = 0x73,
  VK_F5 = 0x74,
  VK_F6 = 0x75,
  VK_F7 = 0x76,
  VK_F8 = 0x77,
  VK_F9 = 0x78,
  VK_F10 = 0x79,
  VK_F11 = 0x7A,
  VK_F12 = 0x7B,
  VK_F24 = 0x87,
  VK_NUMLOCK = 0x90,
  VK_SCROLL = 0x91,
  VK_OEM_1 = 0xBA,       // ;:
  VK_OEM_PLUS = 0xBB,    // =+
  VK_OEM_COMMA = 0xBC,   // ,<
  VK_OEM_MINUS = 0xBD,   // -_
  VK_OEM_PERIOD = 0xBE,  // .>
  VK_OEM_2 = 0xBF,       // /?
  VK_OEM_3 = 0xC0,       // `~
  VK_OEM_4 = 0xDB,       // [{
  VK_OEM_5 = 0xDC,       // \|
  VK_OEM_6 = 0xDD,       // ]}
  VK_OEM_7 = 0xDE,       // '"
};

// The virtual key of a Qt key; keypad digits and operators (Qt::KeypadModifier) get the keypad
// codes. 0 for a key without one.
KEL_PLATFORM_EXPORT int VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers = {});
KEL_PLATFORM_EXPORT int VirtualKeyOf(const QKeyEvent& event);
// The Qt key of a virtual key (Qt::Key_unknown when there is none); keypad codes give the digit
// or operator key, to be sent with Qt::KeypadModifier.
KEL_PLATFORM_EXPORT Qt::Key QtKeyFromVirtualKey(int virtualKey);

// Shift, Alt and Ctrl of a key event.
KEL_PLATFORM_EXPORT TShiftState ShiftStateOf(const QKeyEvent& event);
// Shift, Alt and Ctrl as they are down at this moment.
KEL_PLATFORM_EXPORT TShiftState KeyboardShiftState();

}  // namespace Kel
