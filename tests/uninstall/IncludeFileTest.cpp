// Step 5: which lines of prod.inc count as defines and how they are rewritten.
#include <gtest/gtest.h>

#include "FakeInstaller.h"
#include "UninstallSteps.h"

using namespace Kel::Uninstall;
using Kel::Testing::FakeInstaller;

namespace {

struct DefineCase {
  const char* line;
  const char* rewritten;  // with "Kept" remaining installed
};

class DefineLines : public ::testing::TestWithParam<DefineCase> {};

TEST_P(DefineLines, AreRecognisedAndRewritten) {
  const DefineCase& c = GetParam();
  EXPECT_EQ(RewriteDefines(QByteArray(c.line) + "\n", {"Kept"}), QByteArray(c.rewritten) + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    RewriteDefines, DefineLines,
    ::testing::Values(DefineCase{"{$DEFINE Kept}", "  {$DEFINE Kept}"},
                      DefineCase{"{$DEFINE Gone}", "//  {$DEFINE Gone}"},
                      // a define commented out earlier comes back when its sub-product stays
                      DefineCase{"//  {$DEFINE Kept}", "  {$DEFINE Kept}"},
                      DefineCase{"//{$DEFINE Gone}", "//  {$DEFINE Gone}"},
                      DefineCase{" \t //   {$define KEPT}", "  {$DEFINE KEPT}"},
                      DefineCase{"{$DeFiNe    Gone_2$x}", "//  {$DEFINE Gone_2$x}"},
                      // the symbol ends at the first other character; the rest of the line goes
                      DefineCase{"{$DEFINE Kept} // the filter box", "  {$DEFINE Kept}"},
                      DefineCase{"{$DEFINE Kept-Extra}", "  {$DEFINE Kept}"},
                      DefineCase{"{$DEFINEKept}", "  {$DEFINE Kept}"},
                      // not define lines: left exactly as they are
                      DefineCase{"{$DEFINE }", "{$DEFINE }"},
                      DefineCase{"{$DEFINE\tKept}", "{$DEFINE\tKept}"},
                      DefineCase{"{ $DEFINE Kept}", "{ $DEFINE Kept}"},
                      DefineCase{"/ {$DEFINE Kept}", "/ {$DEFINE Kept}"},
                      DefineCase{"// \t{$DEFINE Kept}", "// \t{$DEFINE Kept}"},
                      DefineCase{"{$IFDEF Kept}", "{$IFDEF Kept}"}, DefineCase{"", ""},
                      DefineCase{"{$DEF", "{$DEF"}));

TEST(RewriteDefines, StopsAtTheIncludeLineWhateverItsCase) {
  const QByteArray content =
      "{$DEFINE Gone}\n"
      "{$i QN.INC}\n"
      "{$DEFINE Gone}\n";
  EXPECT_EQ(RewriteDefines(content, {}),
            "//  {$DEFINE Gone}\n"
            "{$i QN.INC}\n"
            "{$DEFINE Gone}\n");
}

TEST(RewriteDefines, AnIndentedIncludeLineIsNotTheStopLine) {
  EXPECT_EQ(RewriteDefines(" {$I qn.inc}\n{$DEFINE Gone}\n", {}),
            " {$I qn.inc}\n//  {$DEFINE Gone}\n");
}

TEST(RewriteDefines, KeepsEveryLineBreakAndTheBytesOfOtherLines) {
  const QByteArray content = "\xE4\xF6 text\r\n{$DEFINE Gone}\r{$DEFINE Kept}\n\n{$DEFINE Gone}";
  EXPECT_EQ(RewriteDefines(content, {"kept"}),
            "\xE4\xF6 text\r\n//  {$DEFINE Gone}\r  {$DEFINE Kept}\n\n//  {$DEFINE Gone}");
}

TEST(RewriteDefines, RemainingNamesLoseTheirBlanksAndCompareIgnoringCase) {
  EXPECT_EQ(RewriteDefines("{$DEFINE FILTERBOX}\n", {" Filter  Box "}), "  {$DEFINE FILTERBOX}\n");
}

}  // namespace
