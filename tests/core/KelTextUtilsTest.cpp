// Text helpers of KelUtils: positions from an offset, replacing (also replacements that contain
// what they replace), macro tables, separators, line breaks, character sets and file filters.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "KelUtils.h"

namespace Kel {
namespace {

TEST(KelTextUtils, PosFrom) {
  EXPECT_EQ(PosFrom("a", "banana", 1), 2);
  EXPECT_EQ(PosFrom("a", "banana", 3), 4);
  EXPECT_EQ(PosFrom("a", "banana", 6), 6);
  EXPECT_EQ(PosFrom("a", "banana", 7), 0);
  EXPECT_EQ(PosFrom("a", "banana", -3), 2);
  EXPECT_EQ(PosFrom("", "banana", 1), 0);
  EXPECT_EQ(PosFrom("bananas", "banana", 1), 0);
  EXPECT_EQ(PosFrom("x", "banana", 1), 0);
}

TEST(KelTextUtils, ReplaceAtAndReplaceAll) {
  QString s = "Hello World";
  ReplaceAt(s, 7, "World", "There");
  EXPECT_EQ(s, "Hello There");
  ReplaceAt(s, 1, "Hello", "Hi");
  EXPECT_EQ(s, "Hi There");
  s = "aXa";
  ReplaceAll(s, "a", "aa");
  EXPECT_EQ(s, "aaXaa");
  s = "a--b--c";
  ReplaceAll(s, "--", "-");
  EXPECT_EQ(s, "a-b-c");
  s = "....";
  ReplaceAll(s, "..", ".");
  EXPECT_EQ(s, "..");
  s = "abc";
  ReplaceAll(s, "", "x");
  EXPECT_EQ(s, "abc");
}

TEST(KelTextUtils, ReplaceMacrosInTableOrder) {
  int calls = 0;
  const TKelMacroTable table = {
      {"%A%",
       [&] {
         ++calls;
         return QStringLiteral("<%B%>");
       }},
      {"%B%", [] { return QStringLiteral("b"); }},
      {"%SELF%", [] { return QStringLiteral("[%SELF%]"); }},
      {"%NONE%", nullptr},
  };
  EXPECT_EQ(ReplaceMacros("%A%-%A%", table), "<b>-<b>");
  EXPECT_EQ(calls, 2);
  // A value that names its own macro is kept instead of expanding forever.
  EXPECT_EQ(ReplaceMacros("%SELF%%SELF%", table), "[%SELF%][%SELF%]");
  EXPECT_EQ(ReplaceMacros("x%NONE%y", table), "xy");
  // Letter case counts.
  EXPECT_EQ(ReplaceMacros("%a%", table), "%a%");
}

TEST(KelTextUtils, TrailingSeparators) {
  const QString sep = QDir::separator();
  EXPECT_EQ(IncludeTrailingBackslash(""), "");
  EXPECT_EQ(IncludeTrailingBackslash("/data"), "/data" + sep);
  EXPECT_EQ(IncludeTrailingBackslash("/data/"), "/data/");
  EXPECT_EQ(RemoveTrailingBackslash("/data/"), "/data");
  EXPECT_EQ(RemoveTrailingBackslash("/data"), "/data");
  EXPECT_EQ(RemoveTrailingBackslash(""), "");
}

TEST(KelTextUtils, EnsureLineBreak) {
  EXPECT_EQ(EnsureLineBreak(""), "\r\n");
  EXPECT_EQ(EnsureLineBreak("a"), "a\r\n");
  EXPECT_EQ(EnsureLineBreak("a\r\n"), "a\r\n");
  EXPECT_EQ(EnsureLineBreak("a\n\n"), "a\n\n");
  EXPECT_EQ(EnsureLineBreak("a\n"), "a\n\r\n");
  EXPECT_EQ(EnsureLineBreak("\n"), "\n\r\n");
}

TEST(KelTextUtils, CharacterSets) {
  EXPECT_EQ(RemoveChars("aeiou", "education"), "dctn");
  EXPECT_EQ(KeepChars("aeiou", "education"), "euaio");
  EXPECT_EQ(RemoveColons(":Field :Value"), "Field Value");
  EXPECT_EQ(RemoveTildes("is ~on or after~"), "is on or after");
}

TEST(KelTextUtils, NameAndValueParts) {
  EXPECT_EQ(NamePart("Name=Value=More"), "Name");
  EXPECT_EQ(ValuePart("Name=Value=More"), "Value=More");
  EXPECT_EQ(NamePart("plain"), "");
  EXPECT_EQ(ValuePart("plain"), "");
}

TEST(KelTextUtils, FileFiltersAndNames) {
  EXPECT_EQ(MakeFileFilter("Filters", "flt"), "Filters (*.flt)|*.flt");
  EXPECT_EQ(MakeFileFilter("Filters", ".flt"), "Filters (*.flt)|*.flt");
  EXPECT_EQ(FileTitle("/data/lists/shark.flt"), "shark");
  EXPECT_EQ(FileTitle("archive.tar.gz"), "archive.tar");
  EXPECT_EQ(FileTitle("/data/readme"), "readme");
  EXPECT_EQ(Spaces(-2), "");
  const int values[] = {4, 9, -1, 9, 2};
  EXPECT_EQ(Max(std::span<const int>(values)), 9);
  EXPECT_EQ(Max(std::span<const int>()), 0);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  EXPECT_TRUE(FolderExists(dir.path()));
  EXPECT_FALSE(FolderExists(dir.filePath("missing")));
}

}  // namespace
}  // namespace Kel
