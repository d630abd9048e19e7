// Text columns of the record store: values held in one buffer per column, as dictionary codes
// or places, survive random edits that grow and shrink them (through compaction and through
// the turns between the two forms), keep Null apart from the empty text, hold texts longer
// than a place can say and characters outside the basic plane; and compiled conditions over
// them, including the text and date functions, give what the evaluator gives, also after
// edits made since they were compiled.
#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "CompiledFilter.h"
#include "ExprParser.h"
#include "FormatSettings.h"
#include "RecordStore.h"

namespace Kel {
namespace {

class TStoreRows : public TFilterRowSource {
 public:
  explicit TStoreRows(const TRecordStore& store) : store_(store) {}
  const TColumn* ColumnOf(int fieldNo) const override { return &store_.Column(fieldNo - 1); }
  Variant ValueAt(int fieldNo, const QString&, int row) const override {
    return store_.Value(row, fieldNo - 1);
  }

 private:
  const TRecordStore& store_;
};

const std::vector<TExprFieldInfo> Fields = {{"S", ftString}, {"D", ftDateTime}, {"M", ftMemo}};

// Every row's value as the evaluator sees it against what the compiled condition says, row by
// row and in runs; the condition is compiled once, before `edit` changes the store.
void ExpectAgreement(const TRecordStore& store, const QString& text,
                     TFilterOptions options = {}, TCompareNodeRule rule = ccrFilter) {
  const TExprParser parser(Fields, text, options, {poExtSyntax});
  const TExprEvaluator evaluator(parser.FilterData(), rule);
  const TStoreRows rows(store);
  const TCompiledFilter compiled(evaluator, rows);
  EXPECT_EQ(compiled.FallbackCount(), 0) << text.toStdString();
  std::vector<int> expected;
  for (int row = 0; row < store.RowCount(); ++row) {
    const bool holds = evaluator.Matches(
        [&](int fieldNo, const QString& name) { return rows.ValueAt(fieldNo, name, row); });
    ASSERT_EQ(compiled.Matches(row), holds) << text.toStdString() << " row " << row;
    if (holds) expected.push_back(row);
  }
  EXPECT_EQ(compiled.Select(store.RowCount()), expected) << text.toStdString();
}

QString Word(std::mt19937& random, int kinds) {
  static const QStringList words = {"",      "a",     "ab",    "Ab",      " ab ", "xab",
                                    "\u00e4b", "zz",  "a_c",   "ABC",     "b%",   "\U0001F41F fish",
                                    "fish \U0001F41F", "\U0001D11E"};
  const QString word = words[static_cast<int>(random() % words.size())];
  return kinds <= 0 ? word : word + QString::number(random() % static_cast<unsigned>(kinds));
}

TEST(TextColumn, RandomEditsKeepEveryValueInBothForms) {
  // distinct: a handful of texts (a dictionary) and thousands (plain, then back when they
  // start repeating).
  for (const int distinct : {0, 100000}) {
    std::mt19937 random(static_cast<unsigned>(7 + distinct));
    TRecordStore store({ftString, ftBytes});
    std::vector<std::optional<QString>> model;
    const auto value = [&](int kinds) -> std::optional<QString> {
      if (random() % 9 == 0) return std::nullopt;
      return Word(random, kinds);
    };
    const auto variant = [](const std::optional<QString>& v) {
      return v ? Variant(*v) : Variant::Null();
    };
    for (int step = 0; step < 30000; ++step) {
      const int rows = store.RowCount();
      const unsigned what = random() % 10;
      // Later steps repeat fewer texts, so a plain column sees its values repeat again.
      const int kinds = step > 20000 ? 3 : distinct;
      if (rows == 0 || what < 5) {
        const int row = rows == 0 || what < 4 ? rows : static_cast<int>(random() % rows);
        const std::optional<QString> v = value(kinds);
        store.InsertRow(row, {variant(v), v ? Variant(v->left(3)) : Variant::Null()});
        model.insert(model.begin() + row, v);
      } else if (what < 8) {
        const int row = static_cast<int>(random() % rows);
        // Grow and shrink: a longer text, or a shorter one.
        std::optional<QString> v = value(kinds);
        if (v && random() % 2) *v = v->repeated(1 + static_cast<int>(random() % 40));
        store.SetValue(row, 0, variant(v));
        store.SetValue(row, 1, v ? Variant(v->left(3)) : Variant::Null());
        model[static_cast<size_t>(row)] = v;
      } else {
        const int row = static_cast<int>(random() % rows);
        store.DeleteRow(row);
        model.erase(model.begin() + row);
      }
    }
    ASSERT_EQ(store.RowCount(), static_cast<int>(model.size()));
    for (int row = 0; row < store.RowCount(); ++row) {
      const Variant stored = store.Value(row, 0);
      const auto& expected = model[static_cast<size_t>(row)];
      ASSERT_EQ(stored.IsNull(), !expected.has_value()) << row;
      if (expected) ASSERT_EQ(stored.AsString(), *expected) << row;
      ASSERT_EQ(store.Value(row, 1).IsNull(), !expected.has_value()) << row;
    }
  }
}

TEST(TextColumn, NullStaysApartFromTheEmptyText) {
  TRecordStore store({ftString, ftBytes});
  store.AppendRow({Variant(QString()), Variant(QString())});  // empty, not Null
  store.AppendRow({Variant::Null(), Variant::Null()});
  store.AppendRow({Variant(QStringLiteral("x")), Variant(QStringLiteral("y"))});
  store.SetValue(2, 0, Variant(QStringLiteral("")));
  for (int column = 0; column < 2; ++column) {
    EXPECT_FALSE(store.Value(0, column).IsNull());
    // An empty string that is a null QString would reach a database as Null.
    EXPECT_FALSE(store.Value(0, column).StringRef().isNull());
    EXPECT_TRUE(store.Value(1, column).IsNull());
  }
  EXPECT_FALSE(store.Value(2, 0).StringRef().isNull());
  ExpectAgreement(store, "S = ''");
  ExpectAgreement(store, "S is null");
  ExpectAgreement(store, "S <> ''");
}

TEST(TextColumn, TextsLongerThanAPlaceCanSay) {
  const QString longText = QString(1 << 24, u'x') + QStringLiteral("\U0001F41Fend");
  TRecordStore store({ftString, ftBytes});
  store.AppendRow({Variant(longText), Variant(QStringLiteral("short"))});
  store.AppendRow({Variant(QStringLiteral("b")), Variant(longText.left((1 << 24) + 2))});
  store.SetValue(1, 0, Variant(longText + u'!'));
  EXPECT_EQ(store.Value(0, 0).AsString(), longText);
  EXPECT_EQ(store.Value(1, 0).AsString(), longText + u'!');
  EXPECT_EQ(store.Value(1, 1).AsString().size(), (1 << 24) + 2);
  ExpectAgreement(store, "S like '%\U0001F41Fend'");
  ExpectAgreement(store, "substring(S, 16777215, 4) = 'xx\U0001F41F'");
}

// A store with one text column of few distinct texts (a dictionary) and one of distinct texts
// (plain), and a date-time column.
TRecordStore FunctionRows() {
  std::mt19937 random(20240306);
  TRecordStore store({ftString, ftDateTime, ftMemo});
  for (int i = 0; i < 9000; ++i) {
    const auto maybe = [&](Variant v) { return random() % 8 == 0 ? Variant::Null() : v; };
    store.AppendRow({maybe(Variant(Word(random, 0))),
                     maybe(Variant::FromDate(45000 + (random() % 2000) / 7.0 - 150)),
                     maybe(Variant(Word(random, 1 << 20)))});
  }
  EXPECT_TRUE(store.Column(0).IsDictionary());
  EXPECT_FALSE(store.Column(2).IsDictionary());
  return store;
}

TEST(TextColumn, CompiledConditionsAgreeWithTheEvaluatorInBothForms) {
  SetFormatSettings(TFormatSettings::Invariant());
  const TRecordStore store = FunctionRows();
  for (const QString column : {"S", "M"}) {
    const QStringList texts = {
        "S = 'ab'", "S <> 'Ab'", "S < 'b'", "S >= 'Ab'", "S like '%b'", "S like '_b%'",
        "S in ('a', 'zz', '\U0001D11E')", "not (S like 'a%')", "S = 'ab*'", "S <> 'A*'",
        "upper(S) = 'AB'", "lower(S) like '%b%'", "trim(S) = 'ab'", "trimleft(S, 'x') = 'ab'",
        "trimright(S) = ' ab'", "trimleft(S, '') = 'xab'", "substring(S, 2) = 'b'",
        "substring(S, 0, 2) = 'Ab'", "substring(upper(trim(S)), 1, 1) in ('A', 'F')",
        "upper(S) is null", "upper(S) > 'B' and S is not null", "'ab' = S", "'b' > S"};
    for (QString text : texts) {
      text.replace(u'S', column);
      for (const TFilterOptions options : {TFilterOptions{}, TFilterOptions{foCaseInsensitive}})
        ExpectAgreement(store, text, options);
      ExpectAgreement(store, text, {}, ccrEitherPrefix);
    }
  }
  for (const QString text :
       {"year(D) = 2023", "month(D) >= 6", "day(D) < 10.5", "hour(D) = 0", "minute(D) > 30",
        "second(D) <> 0", "date(D) >= 45100", "time(D) > 0.5", "D < getdate()",
        "getdate() <= D", "year(D) is null"})
    ExpectAgreement(store, text);
}

// Codes met after compiling (a new distinct value) and codes renumbered (unused entries
// dropped) must not be read with outcomes worked out for other texts.
TEST(TextColumn, ConditionsCompiledBeforeEditsSeeTheEditedCodes) {
  TRecordStore store({ftString, ftDateTime, ftMemo});
  for (int i = 0; i < 6000; ++i) store.AppendRow({Variant(QStringLiteral("x%1").arg(i % 3))});
  const TExprParser parser(Fields, "S = 'x2' or S like '%7'", {}, {poExtSyntax});
  const TExprEvaluator evaluator(parser.FilterData());
  const TStoreRows rows(store);
  const TCompiledFilter compiled(evaluator, rows);
  EXPECT_EQ(compiled.Select(store.RowCount()).size(), 2000u);
  store.SetValue(10, 0, Variant(QStringLiteral("new7")));
  EXPECT_EQ(compiled.Select(store.RowCount()).size(), 2001u);
  EXPECT_TRUE(compiled.Matches(10));
  for (int i = 0; i < 6000; ++i)
    if (i != 10) store.SetValue(i, 0, Variant(QStringLiteral("z%1").arg(i % 3)));
  // Thousands of texts used once and dropped again: the dictionary is compacted, codes move.
  for (int i = 0; i < 5000; ++i) store.SetValue(0, 0, Variant(QStringLiteral("t%1").arg(i)));
  store.SetValue(0, 0, Variant(QStringLiteral("z0")));
  EXPECT_TRUE(store.Column(0).IsDictionary());
  EXPECT_EQ(compiled.Select(store.RowCount()), std::vector<int>{10});
  EXPECT_FALSE(compiled.Matches(2));
}

// Thousands of distinct texts make a column plain; once its values repeat, it is a dictionary
// again, with every value as it was.
TEST(TextColumn, APlainColumnWhoseValuesRepeatBecomesADictionary) {
  TRecordStore store({ftString});
  for (int i = 0; i < 5000; ++i) store.AppendRow({Variant(QStringLiteral("distinct %1").arg(i))});
  EXPECT_FALSE(store.Column(0).IsDictionary());
  for (int i = 5000; i < 70000; ++i)
    store.AppendRow({i % 5 ? Variant(QStringLiteral("distinct %1").arg(i % 50)) : Variant::Null()});
  EXPECT_TRUE(store.Column(0).IsDictionary());
  EXPECT_EQ(store.Value(4999, 0).AsString(), QStringLiteral("distinct 4999"));
  EXPECT_EQ(store.Value(69999, 0).AsString(), QStringLiteral("distinct 49"));
  EXPECT_TRUE(store.Value(69995, 0).IsNull());
}

}  // namespace
}  // namespace Kel
