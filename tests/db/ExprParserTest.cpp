// The filter-expression parser: canned output for every node class, constant typing, the filter
// options, and every error message.
#include <gtest/gtest.h>

#include <QtEndian>

#include "CannedDump.h"
#include "DBConsts.h"
#include "ExprParser.h"
#include "FormatSettings.h"

namespace Kel {
namespace {

using Testing::DumpCanned;

class ExprParserTest : public ::testing::Test {
 protected:
  void SetUp() override { SetFormatSettings(TFormatSettings::Invariant()); }

  static std::vector<TExprFieldInfo> Fields() {
    return {{"Species No", ftInteger}, {"Category", ftString}, {"Common_Name", ftString},
            {"Length (cm)", ftFloat},  {"Notes", ftMemo},      {"Born", ftDate},
            {"Feeding", ftTime},       {"Seen", ftDateTime},   {"Tame", ftBoolean},
            {"Price", ftCurrency}};
  }

  static QString Parse(const QString& text, TFilterOptions options = {},
                       TParserOptions parser = {poExtSyntax}) {
    return DumpCanned(TExprParser(Fields(), text, options, parser).FilterData());
  }

  static QString Error(const QString& text, TFilterOptions options = {},
                       TParserOptions parser = {poExtSyntax}) {
    try {
      TExprParser(Fields(), text, options, parser);
    } catch (const EExprParserError& e) {
      return e.Message();
    } catch (const Exception& e) {
      return QStringLiteral("other exception: ") + e.Message();
    }
    return QStringLiteral("no error");
  }
};

TEST_F(ExprParserTest, TheSampleFilter) {
  EXPECT_EQ(
      Parse("Category = 'Shark' or ((([Species No] >= 90080) AND ([Species No] <= 90230)) and "
            "[Length (cm)] < 150)",
            {}, {}),
      "(or (= [Category#2] 'Shark') (and (and (>= [Species No#1] i:90080) (<= [Species No#1] "
      "i:90230)) "
      "(< [Length (cm)#4] f:150)))");
}

TEST_F(ExprParserTest, HeaderAndNodeLayout) {
  const TExprParser parser(Fields(), "Tame", {}, {});
  const QByteArray data = parser.FilterData();
  ASSERT_GE(data.size(), CannedHeaderSize + 12);
  const char* p = data.constData();
  EXPECT_EQ(qFromLittleEndian<uint16_t>(p), CannedFormatVersion);
  EXPECT_EQ(qFromLittleEndian<uint32_t>(p + 2), static_cast<uint32_t>(data.size()));
  const int nodeArea = qFromLittleEndian<uint16_t>(p + 6);
  const int literalArea = qFromLittleEndian<uint16_t>(p + 8);
  EXPECT_EQ(nodeArea, CannedHeaderSize);
  EXPECT_EQ(literalArea, nodeArea + 12) << "one field node: class, operator, number, name";
  EXPECT_EQ(qFromLittleEndian<uint16_t>(p + 10), 1) << "node count";
  EXPECT_EQ(qFromLittleEndian<uint32_t>(p + nodeArea), static_cast<uint32_t>(nodeField));
  EXPECT_EQ(qFromLittleEndian<uint16_t>(p + nodeArea + 8), 9) << "field number";
  const int nameOffset = qFromLittleEndian<uint16_t>(p + nodeArea + 10);
  EXPECT_STREQ(p + literalArea + nameOffset, "Tame");
}

TEST_F(ExprParserTest, BinaryNodesStoreTheirOperandsAfterThemselves) {
  const TCannedExpr e(TExprParser(Fields(), "[Species No] = 5", {}, {}).FilterData());
  const TCanNode root = e.Root();
  EXPECT_EQ(root.Class, nodeBinary);
  EXPECT_EQ(root.Operator, static_cast<uint32_t>(coEQ));
  EXPECT_GT(root.Left(), 0);
  EXPECT_GT(root.Right(), root.Left());
  const TCanNode constant = e.NodeAt(root.Right());
  EXPECT_EQ(constant.ConstType(), cdtInt32);
  EXPECT_EQ(constant.ConstSize(), 4);
  EXPECT_EQ(e.ConstValue(constant).AsInteger(), 5);
}

TEST_F(ExprParserTest, OperatorsAndPrecedence) {
  EXPECT_EQ(Parse("Tame or Tame and not Tame"), "(or [Tame#9] (and [Tame#9] (not [Tame#9])))");
  EXPECT_EQ(Parse("[Species No] + 2 * 3 - 1 / 4 > 0"),
            "(> (- (+ [Species No#1] (* i:2 i:3)) (/ i:1 i:4)) i:0)");
  EXPECT_EQ(
      Parse("[Species No] <> 1 and [Species No] < 2 and [Species No] <= 3 and [Species No] >= 4"),
      "(and (and (and (<> [Species No#1] i:1) (< [Species No#1] i:2)) (<= [Species No#1] i:3)) "
      "(>= [Species No#1] i:4))");
  EXPECT_EQ(Parse("Category LIKE 'Sh%'"), "(like [Category#2] 'Sh%')");
  EXPECT_EQ(Parse("Notes is null or notes IS NOT NULL"),
            "(or (is-null [Notes#5]) (not-null [Notes#5]))");
  EXPECT_EQ(Parse("[Species No] in (1, 2, 3)"), "(in [Species No#1] {i:1, i:2, i:3})");
  EXPECT_EQ(Parse("Category = NULL"), "(= [Category#2] null)");
  EXPECT_EQ(Parse("Tame = TRUE or Tame = false"), "(or (= [Tame#9] true) (= [Tame#9] false))");
}

TEST_F(ExprParserTest, NamesKeywordsAndComments) {
  EXPECT_EQ(Parse("category = 'x'"), "(= [Category#2] 'x')")
      << "field names ignore case; the dataset's spelling is kept";
  EXPECT_EQ(Parse("[COMMON_NAME] = 'x'"), "(= [Common_Name#3] 'x')");
  EXPECT_EQ(Parse("  /* which kind */ Category\t=\r\n'x'"), "(= [Category#2] 'x')");
  EXPECT_EQ(Parse("Category = 'it''s'"), "(= [Category#2] 'it's')");
  const QString longText(300, u'a');
  EXPECT_EQ(Parse("Category = '" + longText + "'"), "(= [Category#2] '" + QString(256, u'a') + "')")
      << "only the first 256 characters of a string count";
}

TEST_F(ExprParserTest, NumbersAndMinus) {
  EXPECT_EQ(Parse("[Species No] = -5"), "(= [Species No#1] i:-5)");
  EXPECT_EQ(Parse("[Species No] - 5 > 0"), "(> (- [Species No#1] i:5) i:0)");
  EXPECT_EQ(Parse("[Species No] = 1.5e3"), "(= [Species No#1] f:1500)");
  EXPECT_EQ(Parse("[Species No] = 3000000000"), "(= [Species No#1] f:3000000000)");
  EXPECT_EQ(Parse("[Length (cm)] = 150"), "(= [Length (cm)#4] f:150)")
      << "typed by the float field";
  EXPECT_EQ(Parse("Price > 2"), "(> [Price#10] f:2)");
  EXPECT_EQ(Parse("(1 + 2) > 0"), "(> (+ i:1 i:2) i:0)");
}

TEST_F(ExprParserTest, StringsAreTypedByWhatTheyAreComparedWith) {
  EXPECT_EQ(Parse("[Species No] = '12'"), "(= [Species No#1] i:12)");
  EXPECT_EQ(Parse("'2.5' < [Length (cm)]"), "(< f:2.5 [Length (cm)#4])");
  EXPECT_EQ(Parse("Tame = 'True'"), "(= [Tame#9] true)");
  EXPECT_EQ(Parse("Born = '1/31/2024'"), "(= [Born#6] date:2024-01-31)");
  EXPECT_EQ(Parse("Born = '1/31/2024 10:30'"), "(= [Born#6] ts:2024-01-31 10:30:00.000)");
  EXPECT_EQ(Parse("Feeding < '1:45:30 PM'"), "(< [Feeding#7] time:13:45:30.000)");
  EXPECT_EQ(Parse("Seen >= '1/31/2024 1:45 PM'"), "(>= [Seen#8] ts:2024-01-31 13:45:00.000)");
  EXPECT_EQ(Parse("Born in ('1/1/2000', '2/2/2002')"),
            "(in [Born#6] {date:2000-01-01, date:2002-02-02})");
}

TEST_F(ExprParserTest, FunctionsNeedTheExtendedSyntax) {
  EXPECT_EQ(Parse("upper(Category) = 'SHARK'"), "(= fn:upper{[Category#2]} 'SHARK')");
  EXPECT_EQ(Parse("substring(Category, 2, 3) = 'har'"),
            "(= fn:substring{[Category#2], i:2, i:3} 'har')");
  EXPECT_EQ(Parse("getdate() > Born"), "(> fn:getdate() [Born#6])");
  EXPECT_EQ(Parse("COUNT(*) > 1"), "(> fn:COUNT(*)() i:1)");
  EXPECT_EQ(Error("upper(Category) = 'SHARK'", {}, {}), DBText::ArithmeticNotSupported);
  EXPECT_EQ(Error("[Length (cm)] * 2 > 3", {}, {}), DBText::ArithmeticNotSupported);
  EXPECT_EQ(Error("[Length (cm)] + 2 > 3", {}, {}), DBText::ArithmeticNotSupported);
}

TEST_F(ExprParserTest, CaseInsensitiveComparisons) {
  const TFilterOptions ci{foCaseInsensitive};
  EXPECT_EQ(Parse("Category = 'shark'", ci), "(cmp= ci [Category#2] 'shark')");
  EXPECT_EQ(Parse("Category <> 'shark'", ci), "(cmp<> ci [Category#2] 'shark')");
  EXPECT_EQ(Parse("Category like 'sh%'", ci), "(cmplike ci [Category#2] 'sh%')");
  EXPECT_EQ(Parse("Category < 'm'", ci), "(< (upper [Category#2]) (upper 'm'))");
  EXPECT_EQ(Parse("Category in ('a', 'b')", ci),
            "(in (upper [Category#2]) {(upper 'a'), (upper 'b')})");
  EXPECT_EQ(Parse("[Species No] = 5", ci), "(= [Species No#1] i:5)") << "numbers compare as before";
}

TEST_F(ExprParserTest, PartialComparisons) {
  EXPECT_EQ(Parse("Category = 'Sh*'"), "(cmp= p2 [Category#2] 'Sh')");
  EXPECT_EQ(Parse("'Sh*' <> Category"), "(cmp<> p2 [Category#2] 'Sh')")
      << "the field goes to the left";
  EXPECT_EQ(Parse("Category = 'sh*'", {foCaseInsensitive}), "(cmp= ci p2 [Category#2] 'sh')");
  EXPECT_EQ(Parse("Category = 'Sh*'", {foNoPartialCompare}), "(= [Category#2] 'Sh*')");
  EXPECT_EQ(Parse("Category = '*'"), "(= [Category#2] '*')") << "a star alone is a plain text";
  EXPECT_EQ(Parse("Category > 'Sh*'"), "(> [Category#2] 'Sh*')");
}

TEST_F(ExprParserTest, ErrorMessages) {
  EXPECT_EQ(Error("Category = 'Shark"), "Unterminated string constant");
  EXPECT_EQ(Error("[Species No = 5"), "Unterminated field name");
  EXPECT_EQ(Error("/* note Category = 'a'"), "Unterminated comment");
  EXPECT_EQ(Error("Category IS 5"), "Invalid use of keyword");
  EXPECT_EQ(Error("Category IS NOT 5"), "Invalid use of keyword");
  EXPECT_EQ(Error("Category != 'a'"), "Invalid filter expression character: '!'");
  EXPECT_EQ(Error("Category = \"a\""), "Invalid filter expression character: '\"'");
  EXPECT_EQ(Error("Category IN 'a'"), "'(' expected but 'a' found");
  EXPECT_EQ(Error("(Category = 'a'"), "')' expected but end of expression found");
  EXPECT_EQ(Error("(Category = 'a' Tame"), "')' expected but Tame found");
  EXPECT_EQ(Error("Category IN ('a' 'b')"), "')' or ',' expected but 'b' found");
  EXPECT_EQ(Error("upper(Category"), "')' or ',' expected but end of expression found");
  EXPECT_EQ(Error("= 5"), "Expression expected but = found");
  EXPECT_EQ(Error(""), "Expression expected but end of expression found");
  EXPECT_EQ(Error("Category = AND"), "Expression expected but AND found");
  EXPECT_EQ(Error("Category IN ()"), "IN predicate list may not be empty");
  EXPECT_EQ(Error("[Species No] = 'abc'"), "Type mismatch in expression");
  EXPECT_EQ(Error("Tame = 'maybe'"), "Type mismatch in expression");
  EXPECT_EQ(Error("Category AND Tame"), "Type mismatch in expression");
  EXPECT_EQ(Error("NOT Born"), "Type mismatch in expression");
  // Dates that do not read under the current settings (m/d/yyyy here) name themselves.
  EXPECT_EQ(Error("Born = '2021-03-15'"), "'2021-03-15' is not a valid date");
  EXPECT_EQ(Error("'13/1/2021' < Born"), "'13/1/2021' is not a valid date");
  EXPECT_EQ(Error("Born in ('1/1/2000', 'soon')"), "'soon' is not a valid date");
  EXPECT_EQ(Error("Feeding > 'noon'"), "'noon' is not a valid time");
  EXPECT_EQ(Error("Seen <= '1/31/2024 25:00'"), "'1/31/2024 25:00' is not a valid date and time");
  EXPECT_EQ(Error("getdate() > ''"), "'' is not a valid date");
  EXPECT_EQ(Error("Nope = 1"), "Field 'Nope' not found");
  EXPECT_EQ(Error("[Long Gone] = 1"), "Field 'Long Gone' not found");
  EXPECT_EQ(Error("Category = 'a' Category"), "End of expression expected but Category found");
  EXPECT_EQ(Error("[Species No] = 1-2"), "'1-2' is not a valid number");
  EXPECT_EQ(Error("-Category = 1"), "Expression expected but - found");
  EXPECT_EQ(Error(QString(300, u'(') + "Tame" + QString(300, u')')),
            "Filter expression is nested too deeply");
}

TEST_F(ExprParserTest, OversizedExpressionsAreRefused) {
  QStringList items;
  for (int i = 0; i < 9000; ++i) items << QString::number(i);
  EXPECT_EQ(Error("[Species No] in (" + items.join(u',') + ")"),
            "Filter expression is too complex");
  EXPECT_EQ(Error("Category = '" + QString(256, u'x') + "' or " +
                  QStringList(300, "Category = '" + QString(256, u'\u20ac') + "'").join(" or ")),
            "Filter expression is too complex");
}

TEST_F(ExprParserTest, ParsesAgainstADataSetsFields) {
  const TExprParser parser(std::vector<TExprFieldInfo>{{"A", ftInteger}}, "a = 1");
  EXPECT_EQ(DumpCanned(parser.FilterData()), "(= [A#1] i:1)");
  EXPECT_EQ(parser.DataSize(), parser.FilterData().size());
}

}  // namespace
}  // namespace Kel
