// Virtual keys from Qt keys: what key bindings are written against.
#include <gtest/gtest.h>

#include <QKeyEvent>

#include "VirtualKeys.h"

namespace Kel {
namespace {

TEST(VirtualKeys, QtKeysMapBothWays) {
  for (int vk : {int('A'), int('Z'), int('0'), int('9'), int(VK_RETURN), int(VK_ESCAPE),
                 int(VK_TAB), int(VK_UP), int(VK_DOWN), int(VK_PRIOR), int(VK_NEXT),
                 int(VK_HOME), int(VK_END), int(VK_INSERT), int(VK_DELETE), int(VK_F1),
                 int(VK_F24), int(VK_BACK), int(VK_SPACE), int(VK_APPS)}) {
    SCOPED_TRACE(vk);
    EXPECT_EQ(VirtualKeyFromQt(QtKeyFromVirtualKey(vk)), vk);
  }
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Enter), VK_RETURN);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Backtab), VK_TAB);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Minus), VK_OEM_MINUS);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Eacute), 0);
}

TEST(VirtualKeys, KeypadKeysHaveTheirOwnCodes) {
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_7, Qt::KeypadModifier), VK_NUMPAD0 + 7);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Plus, Qt::KeypadModifier), VK_ADD);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Minus, Qt::KeypadModifier), VK_SUBTRACT);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Home, Qt::KeypadModifier), VK_HOME);  // keypad navigation
  const QKeyEvent event(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier | Qt::ControlModifier);
  EXPECT_EQ(VirtualKeyOf(event), VK_RETURN);
  EXPECT_EQ(ShiftStateOf(event), TShiftState{ssCtrl});
}

}  // namespace
}  // namespace Kel
