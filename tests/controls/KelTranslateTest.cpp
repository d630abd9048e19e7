// The translation hook: texts pass unchanged until an application installs a translation, and
// an installed one can be replaced and put back.
#include <gtest/gtest.h>

#include "KelControls.h"

namespace Kel {
namespace {

TEST(KelTranslateText, HookIsInstalledReplacedAndRemoved) {
  EXPECT_EQ(TranslateText("Default"), "Default");
  TKelTranslateTextProc before = SetTranslateTextProc([](const QString& text) {
    return text == "Default" ? QStringLiteral("Standard") : text;
  });
  EXPECT_FALSE(before);
  EXPECT_EQ(TranslateText("Default"), "Standard");
  EXPECT_EQ(TranslateText("Other"), "Other");
  TKelTranslateTextProc german = SetTranslateTextProc(std::move(before));
  EXPECT_TRUE(german);
  EXPECT_EQ(TranslateText("Default"), "Default");
}

}  // namespace
}  // namespace Kel
