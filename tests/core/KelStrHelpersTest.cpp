// The string and list helpers of the core unit.
#include <gtest/gtest.h>

#include <memory>

#include "KelStrHelpers.h"

using namespace Kel;

namespace {

QStringList Entries(const TStringList& list) { return list.ToStringList(); }

// A list filled with entries; lists are objects that cannot be copied.
std::unique_ptr<TStringList> ListOf(const QStringList& entries) {
  auto list = std::make_unique<TStringList>();
  list->FromStringList(entries);
  return list;
}

TEST(NameValuePart, KeepsTheChosenHalfAndLeavesEntriesWithoutSeparatorOrWithAnEmptyHalf) {
  auto names = ListOf({"a=1", "b==2", "plain", "=only value", "only name="});
  NameValuePart(*names, false);
  EXPECT_EQ(Entries(*names), (QStringList{"a", "b", "plain", "=only value", "only name"}));
  auto values = ListOf({"a=1", "b==2", "plain", "=only value", "only name="});
  NameValuePart(*values, true);
  EXPECT_EQ(Entries(*values), (QStringList{"1", "=2", "plain", "only value", "only name="}));
}

TEST(NameValuePart, TakesAnySeparator) {
  auto list = ListOf({"Field -> Label", "x"});
  NameValuePart(*list, " -> ", true);
  EXPECT_EQ(Entries(*list), (QStringList{"Label", "x"}));
}

TEST(RemoveListed, RemovesEveryEntryTheOtherListHolds) {
  auto list = ListOf({"a", "B", "c", "b", "d"});
  RemoveListed(*list, *ListOf({"b", "d", "zz"}));
  EXPECT_EQ(Entries(*list), (QStringList{"a", "c"}));  // the other list's IndexOf ignores case
}

TEST(SetStrings, ReplacesTheContentsAsOneChange) {
  auto list = ListOf({"old"});
  int changes = 0;
  list->OnChange = [&](TStringList*) { ++changes; };
  SetStrings(*list, {"x", "y", "z"});
  EXPECT_EQ(Entries(*list), (QStringList{"x", "y", "z"}));
  EXPECT_EQ(changes, 1);
}

TEST(SplitText, AddsEveryPieceIncludingEmptyOnes) {
  auto list = ListOf({"kept"});
  SplitText("a;;b;", ';', *list);
  EXPECT_EQ(Entries(*list), (QStringList{"kept", "a", "", "b", ""}));
}

TEST(SplitNameValue, CutsAtTheFirstEqualsSign) {
  QString name = "stale";
  QString value = "stale";
  SplitNameValue("Size=a=b", name, value);
  EXPECT_EQ(name, "Size");
  EXPECT_EQ(value, "a=b");
  SplitNameValue("no sign", name, value);
  EXPECT_EQ(name, "");
  EXPECT_EQ(value, "no sign");
}

TEST(NameLists, BracketsProtectNamesWithBlanksBothWays) {
  auto list = ListOf({"stale"});
  ParseNameList(" Name , [Common Name],Size,[]", *list);
  EXPECT_EQ(Entries(*list), (QStringList{"Name", "Common Name", "Size", ""}));
  list->Delete(3);
  EXPECT_EQ(FormatNameList(*list), "Name, [Common Name], Size");
  ParseNameList(FormatNameList(*list), *list);
  EXPECT_EQ(Entries(*list), (QStringList{"Name", "Common Name", "Size"}));
  ParseNameList("", *list);
  EXPECT_EQ(list->Count(), 0);
}

TEST(ShiftStateText, NamesTheMembersInTheirFixedOrder) {
  EXPECT_EQ(ShiftStateText({}), "[]");
  EXPECT_EQ(ShiftStateText({ssDouble, ssCtrl, ssShift}), "[Shift,Ctrl,Double]");
  EXPECT_EQ(ShiftStateText({ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble}),
            "[Shift,Alt,Ctrl,Left,Right,Middle,Double]");
}

TEST(ShiftStateText, FollowsTheModifiersAndButtonsOfAQtEvent) {
  const TShiftState state =
      ShiftStateFromQt(Qt::ControlModifier | Qt::AltModifier, Qt::RightButton);
  EXPECT_EQ(ShiftStateText(state), "[Alt,Ctrl,Right]");
  EXPECT_EQ(ShiftStateText(ShiftStateFromQt({}, Qt::LeftButton, true)), "[Left,Double]");
}

}  // namespace
