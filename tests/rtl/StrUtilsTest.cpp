// String helpers: comparisons (ASCII folding versus the locale's rules), trimming, quoting,
// 1-based editing at the edges, replacing, the classic Format and file-name parts.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "Exceptions.h"
#include "FormatSettings.h"
#include "StrUtils.h"
#include "Variant.h"

namespace Kel {
namespace {

const QString AUmlaut = QString::fromUtf8("\xC3\xA4");    // ä
const QString AUmlautUp = QString::fromUtf8("\xC3\x84");  // Ä

TEST(StrUtilsCompare, OrdinalAndAsciiFolded) {
  EXPECT_GT(CompareStr("b", "B"), 0);
  EXPECT_LT(CompareStr("ab", "abc"), 0);
  EXPECT_EQ(CompareText("Hello", "hELLO"), 0);
  EXPECT_LT(CompareText("a", "B"), 0);
  EXPECT_GT(CompareText("abc", "AB"), 0);
  // Only ASCII letters fold; "_" lies between the upper- and lower-case letters.
  EXPECT_NE(CompareText(AUmlaut, AUmlautUp), 0);
  EXPECT_LT(CompareText("a", "_"), 0);
  EXPECT_TRUE(SameText("FiLe", "file"));
  EXPECT_FALSE(SameText("file", "files"));
  EXPECT_EQ(UpperCase("abc" + AUmlaut), "ABC" + AUmlaut);
  EXPECT_EQ(AnsiUpperCase("abc" + AUmlaut), "ABC" + AUmlautUp);
}

TEST(StrUtilsCompare, LocaleRules) {
  EXPECT_EQ(AnsiCompareText(AUmlaut, AUmlautUp), 0);
  EXPECT_NE(AnsiCompareStr("Hello", "HELLO"), 0);
}

TEST(StrUtilsTrim, BlanksAndControlCharacters) {
  EXPECT_EQ(Trim(" \t\r\n x y \x01"), "x y");
  EXPECT_EQ(TrimLeft("  x "), "x ");
  EXPECT_EQ(TrimRight("  x "), "  x");
  EXPECT_EQ(Trim("   "), "");
  const QString nbsp(QChar(0xA0));
  EXPECT_EQ(Trim(nbsp + "x"), nbsp + "x");
}

TEST(StrUtilsQuotes, QuoteAndDequote) {
  EXPECT_EQ(QuotedStr("O'Brien"), "'O''Brien'");
  EXPECT_EQ(AnsiQuotedStr("say \"hi\"", u'"'), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(AnsiDequotedStr("'ab''c'd", u'\''), "ab'c");
  EXPECT_EQ(AnsiDequotedStr("'open", u'\''), "open");
  EXPECT_EQ(AnsiDequotedStr("plain", u'\''), "plain");
  // A quoted empty text is empty, not the quotes themselves.
  EXPECT_EQ(AnsiDequotedStr("''", u'\''), "");
  for (const QString& text : {QString("x"), QString("''"), QString("a'b''c")}) {
    EXPECT_EQ(AnsiDequotedStr(QuotedStr(text), u'\''), text);
  }
}

TEST(StrUtilsEditing, OneBasedAndClipped) {
  EXPECT_EQ(Pos("lo", "hello"), 4);
  EXPECT_EQ(Pos("", "hello"), 0);
  EXPECT_EQ(Copy("hello", 0, 2), "he");
  EXPECT_EQ(Copy("hello", 4, 100), "lo");
  EXPECT_EQ(Copy("hello", 6, 1), "");
  EXPECT_EQ(Copy("hello", 2, -1), "");
  QString s = "hello";
  Delete(s, 2, 2);
  EXPECT_EQ(s, "hlo");
  Delete(s, 0, 2);
  EXPECT_EQ(s, "hlo");
  Delete(s, 3, 10);
  EXPECT_EQ(s, "hl");
  Delete(s, 5, 1);
  EXPECT_EQ(s, "hl");
  Insert("XY", s, 2);
  EXPECT_EQ(s, "hXYl");
  Insert("<", s, -5);
  Insert(">", s, 99);
  EXPECT_EQ(s, "<hXYl>");
}

TEST(StrUtilsReplace, FirstOrAllWithOrWithoutCase) {
  const int all = static_cast<int>(ReplaceFlag::All);
  const int ignoreCase = static_cast<int>(ReplaceFlag::IgnoreCase);
  EXPECT_EQ(StringReplace("aXaXa", "X", "-", 0), "a-aXa");
  EXPECT_EQ(StringReplace("aXaXa", "X", "-", all), "a-a-a");
  EXPECT_EQ(StringReplace("aXaxa", "x", "-", all), "aXa-a");
  EXPECT_EQ(StringReplace("aXaxa", "x", "-", all | ignoreCase), "a-a-a");
  EXPECT_EQ(StringReplace("aa", "a", "aa", all), "aaaa");
  EXPECT_EQ(StringReplace("abc", "", "x", all), "abc");
}

class FormatTest : public ::testing::Test {
 protected:
  void SetUp() override { SetFormatSettings(TFormatSettings::Invariant()); }
  void TearDown() override { SetFormatSettings(TFormatSettings::Invariant()); }

  static QString Error(const QString& format, std::initializer_list<Variant> args) {
    try {
      Format(format, args);
    } catch (const EConvertError& e) {
      return e.Message();
    }
    return "<no error>";
  }
};

TEST_F(FormatTest, Integers) {
  EXPECT_EQ(Format("[%5d]", {42}), "[   42]");
  EXPECT_EQ(Format("[%-5d]", {42}), "[42   ]");
  EXPECT_EQ(Format("%.5d", {42}), "00042");
  EXPECT_EQ(Format("%.3d", {-7}), "-007");
  EXPECT_EQ(Format("%d", {int64_t(-9000000000)}), "-9000000000");
  EXPECT_EQ(Format("%.4x", {255}), "00FF");
  EXPECT_EQ(Format("%x", {-1}), "FFFFFFFF");
  EXPECT_EQ(Format("%u", {-1}), "4294967295");
  EXPECT_EQ(Format("[%*d]", {4, 7}), "[   7]");
  EXPECT_EQ(Format("[%-*.*d]", {6, 3, 7}), "[007   ]");
}

TEST_F(FormatTest, StringsIndexesAndPercent) {
  EXPECT_EQ(Format("%.2s|%4s|%-4s|", {"abc", "ab", "ab"}), "ab|  ab|ab  |");
  EXPECT_EQ(Format("%1:s %0:s %s", {"a", "b", "c"}), "b a b");
  EXPECT_EQ(Format("100%%", {}), "100%");
}

TEST_F(FormatTest, FloatingPoint) {
  EXPECT_EQ(Format("%.3f", {2.0 / 3}), "0.667");
  EXPECT_EQ(Format("%.2f", {0.125}), "0.13");
  EXPECT_EQ(Format("%.2f", {-0.001}), "0.00");
  EXPECT_EQ(Format("%.0f", {2.5}), "3");
  EXPECT_EQ(Format("%.1f", {99.96}), "100.0");
  EXPECT_EQ(Format("%e", {1.5}), "1.50000000000000E+000");
  EXPECT_EQ(Format("%.3e", {-12345.0}), "-1.23E+004");
  EXPECT_EQ(Format("%.3g", {1234.5}), "1.23E3");
  EXPECT_EQ(Format("%n", {1234567.891}), "1,234,567.89");
  EXPECT_EQ(Format("%.0n", {999.5}), "1,000");
  EXPECT_EQ(Format("%f", {Currency::FromScaled(12345)}), "1.23");
  TFormatSettings s = TFormatSettings::Invariant();
  s.DecimalSeparator = u',';
  s.ThousandSeparator = u'.';
  SetFormatSettings(s);
  EXPECT_EQ(Format("%n", {1234.5}), "1.234,50");
}

TEST_F(FormatTest, Money) {
  EXPECT_EQ(Format("%m", {1234.5}), "$1,234.50");
  EXPECT_EQ(Format("%m", {-1.0}), "($1.00)");
  EXPECT_EQ(Format("%m", {-0.001}), "$0.00");
  TFormatSettings s = TFormatSettings::Invariant();
  s.CurrencyString = "EUR";
  s.CurrencyFormat = 3;
  s.NegCurrFormat = 8;
  s.CurrencyDecimals = 1;
  SetFormatSettings(s);
  EXPECT_EQ(Format("%m", {2.25}), "2.3 EUR");
  EXPECT_EQ(Format("%m", {-2.0}), "-2.0 EUR");
}

TEST_F(FormatTest, ErrorsNameTheFormat) {
  EXPECT_EQ(Error("%d", {"x"}), "Format '%d' invalid or incompatible with argument");
  EXPECT_EQ(Error("%s", {1}), "Format '%s' invalid or incompatible with argument");
  EXPECT_EQ(Error("%f", {1}), "Format '%f' invalid or incompatible with argument");
  EXPECT_EQ(Error("%d", {true}), "Format '%d' invalid or incompatible with argument");
  EXPECT_EQ(Error("%d %d", {1}), "No argument for format '%d %d'");
  EXPECT_EQ(Error("%k", {1}), "Format '%k' invalid or incompatible with argument");
  EXPECT_EQ(Error("50%", {}), "Format '50%' invalid or incompatible with argument");
  EXPECT_EQ(Error("%5.", {1}), "Format '%5.' invalid or incompatible with argument");
  EXPECT_EQ(Error("%*d", {"x", 1}), "Format '%*d' invalid or incompatible with argument");
  // Absurd widths are refused, not allocated.
  EXPECT_EQ(Error("%999999999999d", {1}),
            "Format '%999999999999d' invalid or incompatible with argument");
  EXPECT_EQ(Error("%*d", {100000000, 1}), "Format '%*d' invalid or incompatible with argument");
}

TEST(StrUtilsFiles, PartsOfFileNames) {
  EXPECT_EQ(ExtractFilePath("/data/lists/shark.flt"), "/data/lists/");
  EXPECT_EQ(ExtractFileDir("/data/lists/shark.flt"), "/data/lists");
  EXPECT_EQ(ExtractFileDir("/shark.flt"), "/");
  EXPECT_EQ(ExtractFileDir("shark.flt"), "");
  EXPECT_EQ(ExtractFileName("/data/lists/shark.flt"), "shark.flt");
  EXPECT_EQ(ExtractFileExt("/data/lists/shark.flt"), ".flt");
  EXPECT_EQ(ExtractFileExt("/data/archive.tar.gz"), ".gz");
  EXPECT_EQ(ExtractFileExt("/data.d/readme"), "");
  EXPECT_EQ(ChangeFileExt("/data/shark.txt", ".flt"), "/data/shark.flt");
  EXPECT_EQ(ChangeFileExt("/data.d/readme", ".flt"), "/data.d/readme.flt");
  EXPECT_EQ(ChangeFileExt("shark.txt", ""), "shark");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/data"), "/data/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/data/"), "/data/");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/data/"), "/data");
}

TEST(StrUtilsFiles, ExistenceOfFilesAndFolders) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString file = dir.filePath("a.txt");
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(dir.path()));
  EXPECT_FALSE(FileExists(dir.filePath("missing.txt")));
  EXPECT_FALSE(FileExists(""));
  EXPECT_TRUE(DirectoryExists(dir.path()));
  EXPECT_FALSE(DirectoryExists(file));
  EXPECT_FALSE(DirectoryExists(""));
}

}  // namespace
}  // namespace Kel
