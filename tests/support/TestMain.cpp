// Test entry shared by every test program: widgets need a QApplication, and tests must not depend
// on the machine's display or locale, so the offscreen platform, the C locale and the invariant
// format settings are pinned here, and the user's alias file is not read.
#include <gtest/gtest.h>

#include "FormatSettings.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("KEL_TEST_DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QLocale::setDefault(QLocale::c());
  // The user's own database aliases stay out of the tests.
  if (!qEnvironmentVariableIsSet("KEL_ALIASES")) qputenv("KEL_ALIASES", "");
  QApplication app(argc, argv);
  Kel::SetFormatSettings(Kel::TFormatSettings::Invariant());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
