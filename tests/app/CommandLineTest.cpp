// Reading keldemo's arguments.
#include <gtest/gtest.h>

#include "CommandLine.h"

namespace Kel {
namespace {

using TKind = TDemoCommand::TKind;

TEST(CommandLineTest, ScreenshotTakesTheNextArgumentOrAnEqualsValue) {
  TDemoCommand command =
      ParseDemoArguments({QStringLiteral("--screenshot"), QStringLiteral("out")});
  EXPECT_EQ(command.kind, TKind::Screenshot);
  EXPECT_EQ(command.directory.toStdString(), "out");

  command = ParseDemoArguments({QStringLiteral("--screenshot=/tmp/a b")});
  EXPECT_EQ(command.kind, TKind::Screenshot);
  EXPECT_EQ(command.directory.toStdString(), "/tmp/a b");
}

TEST(CommandLineTest, ScreenshotWithAnEmptyDirectoryIsInvalid) {
  EXPECT_EQ(ParseDemoArguments({QStringLiteral("--screenshot=")}).kind, TKind::Invalid);
  EXPECT_EQ(ParseDemoArguments({QStringLiteral("--screenshot"), QString()}).kind, TKind::Invalid);
}

TEST(CommandLineTest, AnythingElseIsInvalid) {
  for (const QString& bad :
       {QStringLiteral("extra"), QStringLiteral("--screenshots"), QStringLiteral("-screenshot")}) {
    const TDemoCommand command = ParseDemoArguments({bad});
    EXPECT_EQ(command.kind, TKind::Invalid) << bad.toStdString();
    EXPECT_TRUE(command.error.contains(bad));
  }
  EXPECT_EQ(
      ParseDemoArguments({QStringLiteral("--screenshot"), QStringLiteral("a"), QStringLiteral("b")})
          .kind,
      TKind::Invalid);
  EXPECT_EQ(
      ParseDemoArguments({QStringLiteral("--screenshot=a"), QStringLiteral("--screenshot=b")}).kind,
      TKind::Invalid);
}

TEST(CommandLineTest, TimingGoesAlone) {
  EXPECT_EQ(ParseDemoArguments({QStringLiteral("--timing")}).kind, TKind::Timing);
  for (const QStringList& mixed :
       {QStringList{"--timing", "--timing"}, QStringList{"--timing", "--screenshot", "x"},
        QStringList{"--screenshot=x", "--timing"}, QStringList{"--timing=1"}}) {
    EXPECT_EQ(ParseDemoArguments(mixed).kind, TKind::Invalid) << mixed.join(' ').toStdString();
  }
}

TEST(CommandLineTest, LanguageGoesWithEveryKindAndMustBeOne) {
  const TDemoCommand screenshot = ParseDemoArguments({"--lang", "de", "--screenshot", "out"});
  EXPECT_EQ(screenshot.kind, TKind::Screenshot);
  EXPECT_EQ(screenshot.language, "de");
  EXPECT_EQ(ParseDemoArguments({"--timing", "--lang=fr_CA"}).language, "fr_CA");
  for (const QStringList& bad : {QStringList{"--lang"}, QStringList{"--lang", "--timing"},
                                 QStringList{"--lang=xx-nowhere"}}) {
    EXPECT_EQ(ParseDemoArguments(bad).kind, TKind::Invalid) << bad.join(' ').toStdString();
  }
}

TEST(CommandLineTest, HelpWins) {
  EXPECT_EQ(ParseDemoArguments({QStringLiteral("--help")}).kind, TKind::Help);
  EXPECT_EQ(ParseDemoArguments(
                {QStringLiteral("--screenshot"), QStringLiteral("x"), QStringLiteral("-h")})
                .kind,
            TKind::Help);
}

// Qt's options, with their values, are set aside whatever their place; what is left is the demo's.
TEST(CommandLineTest, ToolkitOptionsAreSetAsideBeforeQtStarts) {
  TDemoStart start = PlanDemoStart({"-style", "fusion", "--screenshot", "out", "-reverse",
                                    "--platform", "xcb", "-stylesheet=a.qss"});
  EXPECT_EQ(start.command.kind, TKind::Screenshot);
  EXPECT_EQ(start.command.directory.toStdString(), "out");
  EXPECT_EQ(start.platformArguments, (QList<qsizetype>{5, 6}));

  // A value option without its value, and a single-dash word Qt does not know, are refused.
  for (const QStringList& refused : {QStringList{"-zz"}, QStringList{"--timing", "-style"},
                                     QStringList{"-platform", "offscreen", "-screenshot", "x"}}) {
    start = PlanDemoStart(refused);
    EXPECT_EQ(start.command.kind, TKind::Invalid) << refused.join(' ').toStdString();
  }
  EXPECT_EQ(PlanDemoStart({"-style", "--timing"}).command.kind, TKind::Run)
      << "the value of -style is whatever follows it";
}

}  // namespace
}  // namespace Kel
