// The shared evaluator: operators with Null, three-valued logic, arithmetic, LIKE, IN, the
// function table, both compare-node rules, and damaged buffers.
#include <gtest/gtest.h>

#include <QMap>
#include <QtEndian>

#include "DBConsts.h"
#include "DateUtils.h"
#include "ExprEvaluator.h"
#include "ExprParser.h"
#include "FormatSettings.h"
#include "TestPrinters.h"

namespace Kel {
namespace {

class ExprEvaluatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFormatSettings(TFormatSettings::Invariant());
    values_["Name"] = Variant("abc");
    values_["Qty"] = Variant(7);
    values_["Price"] = Variant(2.5);
    values_["Born"] = Variant::FromDate(EncodeDate(2024, 1, 31) + EncodeTime(13, 45, 30, 250));
    values_["Tame"] = Variant(true);
    values_["Nothing"] = Variant::Null();
  }

  std::vector<TExprFieldInfo> Fields() const {
    return {{"Name", ftString},   {"Qty", ftInteger},  {"Price", ftFloat},
            {"Born", ftDateTime}, {"Tame", ftBoolean}, {"Nothing", ftString}};
  }

  Variant Eval(const QString& text, TFilterOptions options = {},
               TCompareNodeRule rule = ccrFilter) {
    const TExprParser parser(Fields(), text, options, {poExtSyntax});
    const TExprEvaluator evaluator(parser.FilterData(), rule);
    return evaluator.Evaluate([this](int, const QString& name) { return values_.value(name); });
  }

  bool Holds(const QString& text, TFilterOptions options = {}, TCompareNodeRule rule = ccrFilter) {
    return TExprEvaluator::IsTrue(Eval(text, options, rule));
  }

  QMap<QString, Variant> values_;
};

TEST_F(ExprEvaluatorTest, ComparisonsFollowTheVariantRules) {
  EXPECT_TRUE(Holds("Qty = 7"));
  EXPECT_TRUE(Holds("Qty = 7.0"));
  EXPECT_TRUE(Holds("Qty > 6.5 and Qty < 7.5"));
  EXPECT_TRUE(Holds("Name = 'abc' and Name <> 'abd' and Name < 'abd' and Name >= 'ab'"));
  EXPECT_FALSE(Holds("Name = 'ABC'")) << "strings compare by code";
  EXPECT_TRUE(Holds("Born > '1/31/2024' and Born < '2/1/2024'"));
}

TEST_F(ExprEvaluatorTest, NullInComparisons) {
  EXPECT_FALSE(Holds("Nothing = 'x'"));
  EXPECT_TRUE(Holds("Nothing <> 'x'"));
  EXPECT_FALSE(Holds("Nothing < 'x'"));
  EXPECT_FALSE(Holds("Nothing >= 'x'"));
  EXPECT_TRUE(Holds("Nothing = NULL"));
  EXPECT_TRUE(Holds("Nothing is null"));
  EXPECT_FALSE(Holds("Name is null"));
  EXPECT_TRUE(Holds("Name is not null"));
}

TEST_F(ExprEvaluatorTest, ThreeValuedLogic) {
  EXPECT_TRUE(Eval("(Nothing like 'a%') and Tame").IsNull());
  EXPECT_EQ(Eval("(Nothing like 'a%') and not Tame"), Variant(false));
  EXPECT_EQ(Eval("(Nothing like 'a%') or Tame"), Variant(true));
  EXPECT_TRUE(Eval("not (Nothing like 'a%')").IsNull());
  EXPECT_FALSE(Holds("Nothing like '%'")) << "LIKE with Null is Null: the record is not kept";
}

TEST_F(ExprEvaluatorTest, Arithmetic) {
  EXPECT_EQ(Eval("Qty + 1"), Variant(8));
  EXPECT_EQ(Eval("Qty - 10"), Variant(-3));
  EXPECT_EQ(Eval("Qty * Price"), Variant(17.5));
  EXPECT_EQ(Eval("Qty / 2"), Variant(3.5)) << "real division";
  EXPECT_EQ(Eval("Name + 'd'"), Variant("abcd"));
  EXPECT_TRUE(Eval("Nothing + 'd'").IsNull());
  EXPECT_THROW(Eval("Qty / 0"), EZeroDivide);
  EXPECT_EQ(ApplyExprOperator(coMod, Variant(7), Variant(3)), Variant(1));
  EXPECT_EQ(ApplyExprOperator(coRem, Variant(7), Variant(3)), Variant(1));
  EXPECT_EQ(ApplyExprOperator(coMinus, Variant(7), Variant()), Variant(-7));
  EXPECT_TRUE(ApplyExprOperator(coSum, Variant(7), Variant(1)).IsNull());
  EXPECT_TRUE(ApplyExprOperator(coCont, Variant(7), Variant(1)).IsNull());
  EXPECT_TRUE(ApplyExprOperator(99, Variant(7), Variant(1)).IsNull());
}

TEST_F(ExprEvaluatorTest, LikeAndIn) {
  EXPECT_TRUE(Holds("Name like 'a%'"));
  EXPECT_FALSE(Holds("Name like 'A%'"));
  EXPECT_TRUE(Holds("Qty like '7'")) << "LIKE reads its operands as text";
  EXPECT_TRUE(Holds("Qty in (1, 7, 9)"));
  EXPECT_FALSE(Holds("Qty in (1, 2)"));
  EXPECT_TRUE(Holds("Name in ('x', 'abc')"));
  EXPECT_THROW(ApplyExprOperator(coIn, Variant(1), Variant(1)), EVariantInvalidOpError)
      << "the right side of IN must be a list";
  EXPECT_EQ(ApplyExprOperator(coUpper, Variant("aBc"), Variant()), Variant("ABC"));
  EXPECT_EQ(ApplyExprOperator(coLower, Variant("aBc"), Variant()), Variant("abc"));
  EXPECT_TRUE(ApplyExprOperator(coUpper, Variant::Null(), Variant()).IsNull());
}

TEST_F(ExprEvaluatorTest, Functions) {
  EXPECT_EQ(Eval("substring('abcdef', 3)"), Variant("cdef"));
  EXPECT_EQ(Eval("substring('abcdef', 2, 2)"), Variant("bc"));
  EXPECT_EQ(Eval("substring('abcdef')"), Variant("abcdef"));
  EXPECT_EQ(Eval("substring('abcdef', 9)"), Variant(""));
  EXPECT_EQ(Eval("trimleft('xxab', 'x')"), Variant("ab"));
  EXPECT_EQ(Eval("trimright('abyy', 'yes')"), Variant("ab"))
      << "the first character of the second argument";
  EXPECT_EQ(Eval("trimleft('  ab ')"), Variant("ab "));
  EXPECT_EQ(Eval("trim(' \t ab \r\n')"), Variant("ab"));
  EXPECT_EQ(Eval("UPPER(Name)"), Variant("ABC")) << "function names ignore case";
  EXPECT_EQ(Eval("lower('ÄB')"), Variant("äb"));
  EXPECT_EQ(Eval("year(Born)"), Variant(2024));
  EXPECT_EQ(Eval("month(Born)"), Variant(1));
  EXPECT_EQ(Eval("day(Born)"), Variant(31));
  EXPECT_EQ(Eval("hour(Born)"), Variant(13));
  EXPECT_EQ(Eval("minute(Born)"), Variant(45));
  EXPECT_EQ(Eval("second(Born)"), Variant(30));
  EXPECT_DOUBLE_EQ(Eval("date(Born)").AsDate(), EncodeDate(2024, 1, 31));
  EXPECT_NEAR(Eval("time(Born)").AsDate(), EncodeTime(13, 45, 30, 250), 1e-9);
  EXPECT_DOUBLE_EQ(Eval("getdate()").AsDate(), Date());
  EXPECT_TRUE(Eval("nosuchfunction(1)").IsNull());
  EXPECT_TRUE(Eval("upper(Nothing)").IsNull()) << "Null in, Null out";
  EXPECT_TRUE(Eval("upper()").IsNull()) << "a missing argument gives Null";
}

TEST_F(ExprEvaluatorTest, CompareNodesInFilters) {
  const TFilterOptions ci{foCaseInsensitive};
  EXPECT_TRUE(Holds("Name = 'ABC'", ci));
  EXPECT_FALSE(Holds("Name = 'AB'", ci)) << "a dataset filter compares whole texts";
  EXPECT_TRUE(Holds("Name <> 'AB'", ci));
  EXPECT_TRUE(Holds("Name like 'A%'", ci));
  EXPECT_TRUE(Holds("Name = 'ab*'"));
  EXPECT_FALSE(Holds("Name = 'AB*'"));
  EXPECT_TRUE(Holds("Name = 'AB*'", ci));
  EXPECT_FALSE(Holds("Name <> 'ab*'"));
  EXPECT_FALSE(Holds("Nothing = 'ab*'"));
  EXPECT_TRUE(Holds("Nothing <> 'ab*'"));
}

TEST_F(ExprEvaluatorTest, CompareNodesForTheSearchEvaluator) {
  const TFilterOptions ci{foCaseInsensitive};
  EXPECT_TRUE(Holds("Name = 'Ab'", ci, ccrEitherPrefix)) << "abc begins with AB";
  values_["Name"] = Variant("a");
  EXPECT_TRUE(Holds("Name = 'Ab'", ci, ccrEitherPrefix)) << "AB begins with A";
  EXPECT_FALSE(Holds("Name <> 'Ab'", ci, ccrEitherPrefix));
  values_["Name"] = Variant("");
  EXPECT_FALSE(Holds("Name = ''", ci, ccrEitherPrefix)) << "an empty text matches nothing";
  EXPECT_TRUE(Holds("Name <> ''", ci, ccrEitherPrefix));
}

TEST_F(ExprEvaluatorTest, UnknownFieldsComeFromTheLookup) {
  const TExprParser parser(Fields(), "Qty > 5");
  const TExprEvaluator evaluator(parser.FilterData());
  int asked = 0;
  QString askedName;
  const Variant result = evaluator.Evaluate([&](int fieldNo, const QString& name) {
    ++asked;
    askedName = name;
    EXPECT_EQ(fieldNo, 2);
    return Variant(9);
  });
  EXPECT_EQ(result, Variant(true));
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(askedName, "Qty");
  EXPECT_FALSE(evaluator.Matches(nullptr)) << "without a lookup fields are unassigned";
}

// A hand-made buffer: header, then nodes at the given bytes.
QByteArray Buffer(const QByteArray& nodes, const QByteArray& literals = QByteArray()) {
  QByteArray data(CannedHeaderSize, '\0');
  qToLittleEndian<uint16_t>(1, data.data());
  qToLittleEndian<uint16_t>(CannedHeaderSize, data.data() + 6);
  qToLittleEndian<uint16_t>(static_cast<uint16_t>(CannedHeaderSize + nodes.size()),
                            data.data() + 8);
  return data + nodes + literals;
}

QByteArray Node(uint32_t nodeClass, uint32_t op, std::initializer_list<uint16_t> fields) {
  QByteArray bytes(8 + 2 * static_cast<int>(fields.size()), '\0');
  qToLittleEndian<uint32_t>(nodeClass, bytes.data());
  qToLittleEndian<uint32_t>(op, bytes.data() + 4);
  int i = 0;
  for (uint16_t f : fields) qToLittleEndian<uint16_t>(f, bytes.data() + 8 + 2 * i++);
  return bytes;
}

TEST(ExprEvaluatorBuffers, DamagedBuffersRaiseInsteadOfReadingAstray) {
  EXPECT_THROW(TExprEvaluator(QByteArray("abc")), EDatabaseError);
  // A unary node whose operand is itself.
  EXPECT_THROW(TExprEvaluator(Buffer(Node(nodeUnary, coNOT, {0}))), EDatabaseError);
  // Shared subtrees: forty AND nodes whose operands are both the next one would be evaluated
  // 2^40 times.
  QByteArray shared;
  for (uint16_t i = 1; i <= 40; ++i)
    shared += Node(nodeBinary, coAND, {uint16_t(12 * i), uint16_t(12 * i)});
  shared += Node(nodeNull, 0, {});
  EXPECT_THROW(TExprEvaluator(Buffer(shared)), EDatabaseError);
  // An operand beyond the node area.
  EXPECT_THROW(TExprEvaluator(Buffer(Node(nodeUnary, coNOT, {400}))), EDatabaseError);
  // A field name beyond the literal area.
  EXPECT_THROW(TExprEvaluator(Buffer(Node(nodeField, 0, {1, 50}), QByteArray("A", 2))),
               EDatabaseError);
  // A constant of an unknown type is Null; null and list-like classes are Null.
  EXPECT_TRUE(TExprEvaluator(Buffer(Node(nodeConst, 0, {99, 0, 0}))).Evaluate(nullptr).IsNull());
  EXPECT_TRUE(TExprEvaluator(Buffer(Node(nodeTuple, 0, {}))).Evaluate(nullptr).IsNull());
}

TEST(ExprEvaluatorBuffers, ConstantsOfEveryType) {
  auto value = [](uint16_t type, QByteArray literal) {
    const int size = static_cast<int>(literal.size());
    return TExprEvaluator(
               Buffer(Node(nodeConst, 0, {type, static_cast<uint16_t>(size), 0}), literal))
        .Evaluate(nullptr);
  };
  auto le = [](auto number) {
    QByteArray bytes(sizeof(number), '\0');
    qToLittleEndian(number, bytes.data());
    return bytes;
  };
  EXPECT_EQ(value(cdtString, QByteArray("h\xc3\xa9", 4)), Variant(QStringLiteral("h\u00e9")));
  EXPECT_EQ(value(cdtDate, le(int32_t(DateDelta + 2))), Variant::FromDate(2));
  EXPECT_EQ(value(cdtBoolean, le(int16_t(3))), Variant(true));
  EXPECT_EQ(value(cdtInt16, le(int16_t(-5))).VarType(), varSmallint);
  EXPECT_EQ(value(cdtInt32, le(int32_t(-70000))), Variant(-70000));
  EXPECT_EQ(value(cdtFloat, le(2.25)), Variant(2.25));
  EXPECT_DOUBLE_EQ(value(cdtTime, le(int32_t(MSecsPerDay / 4))).AsDate(), 0.25);
  EXPECT_DOUBLE_EQ(
      value(cdtTimeStamp, le(double(DateDelta + 1) * MSecsPerDay + MSecsPerDay / 2)).AsDate(), 1.5);
  EXPECT_EQ(value(cdtUInt16, le(uint16_t(65535))), Variant(65535));
  EXPECT_EQ(value(cdtUInt32, le(uint32_t(4000000000u))), Variant(int64_t(4000000000)));
}

TEST(CannedTimeStamps, RoundTrips) {
  for (const TDateTime value : {0.0, 1.5, 45322.41666666666, -1.25, -700000.5}) {
    EXPECT_NEAR(CanTimeStampToDateTime(DateTimeToCanTimeStamp(value)), value, 1e-8) << value;
    EXPECT_NEAR(CanDateToDate(DateToCanDate(value)), std::trunc(value), 0) << value;
  }
}

}  // namespace
}  // namespace Kel
