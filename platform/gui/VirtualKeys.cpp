#include "VirtualKeys.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <utility>

namespace Kel {

namespace {

// Keys whose code is not a character or function-key range.
constexpr std::pair<int, int> kNamedKeys[] = {
    {Qt::Key_Backspace, VK_BACK},     {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Backtab, VK_TAB},        {Qt::Key_Clear, VK_CLEAR},
    {Qt::Key_Return, VK_RETURN},      {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT},        {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},           {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL},   {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},        {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},      {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},          {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},              {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},          {Qt::Key_Select, VK_SELECT},
    {Qt::Key_Print, VK_SNAPSHOT},     {Qt::Key_Execute, VK_EXECUTE},
    {Qt::Key_Insert, VK_INSERT},      {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Help, VK_HELP},          {Qt::Key_Super_L, VK_LWIN},
    {Qt::Key_Super_R, VK_RWIN},       {Qt::Key_Menu, VK_APPS},
    {Qt::Key_NumLock, VK_NUMLOCK},    {Qt::Key_ScrollLock, VK_SCROLL},
    {Qt::Key_Semicolon, VK_OEM_1},    {Qt::Key_Colon, VK_OEM_1},
    {Qt::Key_Equal, VK_OEM_PLUS},     {Qt::Key_Comma, VK_OEM_COMMA},
    {Qt::Key_Less, VK_OEM_COMMA},     {Qt::Key_Underscore, VK_OEM_MINUS},
    {Qt::Key_Period, VK_OEM_PERIOD},  {Qt::Key_Greater, VK_OEM_PERIOD},
    {Qt::Key_Slash, VK_OEM_2},        {Qt::Key_Question, VK_OEM_2},
    {Qt::Key_QuoteLeft, VK_OEM_3},    {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_Backslash, VK_OEM_5},    {Qt::Key_BracketRight, VK_OEM_6},
    {Qt::Key_Apostrophe, VK_OEM_7},
};

int KeypadKey(int qtKey) {
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return VK_NUMPAD0 + (qtKey - Qt::Key_0);
  switch (qtKey) {
    case Qt::Key_Asterisk: return VK_MULTIPLY;
    case Qt::Key_Plus: return VK_ADD;
    case Qt::Key_Minus: return VK_SUBTRACT;
    case Qt::Key_Period:
    case Qt::Key_Comma: return VK_DECIMAL;
    case Qt::Key_Slash: return VK_DIVIDE;
    case Qt::Key_Enter: return VK_RETURN;
    default: return 0;
  }
}

}  // namespace

int VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::KeypadModifier) {
    if (const int key = KeypadKey(qtKey)) return key;
  }
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return VK_F1 + (qtKey - Qt::Key_F1);
  // The minus and plus keys of the main keyboard.
  if (qtKey == Qt::Key_Minus) return VK_OEM_MINUS;
  if (qtKey == Qt::Key_Plus) return VK_OEM_PLUS;
  for (const auto& [qt, vk] : kNamedKeys)
    if (qt == qtKey) return vk;
  return 0;
}

int VirtualKeyOf(const QKeyEvent& event) { return VirtualKeyFromQt(event.key(), event.modifiers()); }

Qt::Key QtKeyFromVirtualKey(int virtualKey) {
  if (virtualKey >= 'A' && virtualKey <= 'Z') return Qt::Key(Qt::Key_A + (virtualKey - 'A'));
  if (virtualKey >= '0' && virtualKey <= '9') return Qt::Key(Qt::Key_0 + (virtualKey - '0'));
  if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9)
    return Qt::Key(Qt::Key_0 + (virtualKey - VK_NUMPAD0));
  if (virtualKey >= VK_F1 && virtualKey <= VK_F24) return Qt::Key(Qt::Key_F1 + (virtualKey - VK_F1));
  switch (virtualKey) {
    case VK_MULTIPLY: return Qt::Key_Asterisk;
    case VK_ADD: return Qt::Key_Plus;
    case VK_SUBTRACT: return Qt::Key_Minus;
    case VK_DECIMAL: return Qt::Key_Period;
    case VK_DIVIDE: return Qt::Key_Slash;
    case VK_OEM_MINUS: return Qt::Key_Minus;
    case VK_OEM_PLUS: return Qt::Key_Equal;
    default: break;
  }
  for (const auto& [qt, vk] : kNamedKeys)
    if (vk == virtualKey) return Qt::Key(qt);
  return Qt::Key_unknown;
}

TShiftState ShiftStateOf(const QKeyEvent& event) { return ShiftStateFromQt(event.modifiers()); }

TShiftState KeyboardShiftState() {
  return ShiftStateFromQt(QGuiApplication::queryKeyboardModifiers());
}

}  // namespace Kel
