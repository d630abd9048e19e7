// Filters: every operator on a dataset, the filter options, OnFilterRecord, refusal of bad
// texts, and the compiled form giving exactly the records that the Variant evaluation gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "CompiledFilter.h"
#include "DbTestData.h"
#include "TestPrinters.h"

namespace Kel {
namespace {

using Testing::MakeFish;

class DataSetFilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFormatSettings(TFormatSettings::Invariant());
    fish = MakeFish();
    fish->Open();
  }

  // The species numbers the filter keeps, compiled and by Variants (which must agree).
  QList<int> Kept(const QString& filter, TFilterOptions options = {}) {
    fish->SetFiltered(false);
    fish->SetFilterOptions(options);
    fish->SetFilter(filter);
    QList<int> compiled, variants;
    fish->SetCompiledFiltering(true);
    fish->SetFiltered(true);
    for (fish->First(); !fish->Eof(); fish->Next())
      compiled << fish->FieldByName("Species No")->AsInteger();
    fish->SetFiltered(false);
    fish->SetCompiledFiltering(false);
    fish->SetFiltered(true);
    for (fish->First(); !fish->Eof(); fish->Next())
      variants << fish->FieldByName("Species No")->AsInteger();
    fish->SetCompiledFiltering(true);
    EXPECT_EQ(compiled, variants) << filter.toStdString();
    return compiled;
  }

  std::unique_ptr<TMemDataSet> fish;
};

TEST_F(DataSetFilterTest, TheSampleFilter) {
  EXPECT_EQ(Kept("Category = 'Shark' or ((([Species No] >= 90080) AND ([Species No] <= 90230)) and "
                 "[Length (cm)] < 150)"),
            QList<int>({90080, 90100, 90200, 90230}));
}

TEST_F(DataSetFilterTest, Comparisons) {
  EXPECT_EQ(Kept("[Species No] = 90050"), QList<int>({90050}));
  EXPECT_EQ(Kept("[Species No] <> 90050").size(), 7);
  EXPECT_EQ(Kept("[Length (cm)] > 229"), QList<int>({90100}));
  EXPECT_EQ(Kept("[Length (cm)] >= 229"), QList<int>({90050, 90100}));
  EXPECT_EQ(Kept("[Length (cm)] < 50.5"), QList<int>({90020, 90070}));
  EXPECT_EQ(Kept("[Length (cm)] <= 50"), QList<int>({90020, 90070}));
  EXPECT_EQ(Kept("Category < 'D'"), QList<int>({90070, 90080}));
  EXPECT_EQ(Kept("'D' > Category"), QList<int>({90070, 90080}));
  EXPECT_EQ(Kept("Caught > '1/1/2021'"), QList<int>({90030, 90080, 90200}));
  EXPECT_EQ(Kept("Caught <> '6/2/2021'").size(), 7) << "a Null date is not equal either";
  EXPECT_EQ(Kept("Tame = True"), QList<int>({90020, 90070, 90200}));
  EXPECT_EQ(Kept("Tame"), QList<int>({90020, 90070, 90200}));
  EXPECT_EQ(Kept("not Tame"), QList<int>({90030, 90080, 90100}));
  EXPECT_EQ(Kept("Price >= 12"), QList<int>({90020, 90080}));
  EXPECT_EQ(Kept("Price > 9.95"), QList<int>({90020, 90080}));
  EXPECT_EQ(Kept("Price = 9.95"), QList<int>({90030}));
  EXPECT_EQ(Kept("[Species No] = 90050.0"), QList<int>({90050}));
  EXPECT_EQ(Kept("[Species No] > 90049.5 and [Species No] < 90050.5"), QList<int>({90050}));
}

TEST_F(DataSetFilterTest, NullsInOperatorsAndLogic) {
  EXPECT_EQ(Kept("Notes is null"), QList<int>({90030, 90200}));
  EXPECT_EQ(Kept("Notes is not null").size(), 6);
  EXPECT_EQ(Kept("Price is null or Tame is null"), QList<int>({90050, 90100, 90230}));
  EXPECT_EQ(Kept("Price < 100 or Price >= 100").size(), 6) << "Null fails every ordering";
  EXPECT_EQ(Kept("not (Price < 100)"), QList<int>({90050, 90100}));
  EXPECT_EQ(Kept("Tame or Notes like 'Eats%'"), QList<int>({90020, 90070, 90080, 90200}));
  EXPECT_EQ(Kept("Tame and Notes like '%'"), QList<int>({90020, 90070}));
  EXPECT_EQ(Kept("not Tame or Tame"), Kept("Tame is not null"));
}

TEST_F(DataSetFilterTest, InLikeAndFunctions) {
  EXPECT_EQ(Kept("Category in ('Shark', 'Ray')"), QList<int>({90100, 90200, 90230}));
  EXPECT_EQ(Kept("[Species No] in (90030, 90070)"), QList<int>({90030, 90070}));
  EXPECT_EQ(Kept("[Length (cm)] in (30, 56)"), QList<int>({90070, 90200}));
  EXPECT_EQ(Kept("[Species No] in (90030, '90070')"), QList<int>({90030, 90070}));
  EXPECT_EQ(Kept("Common_Name like '%Shark'"), QList<int>({90100, 90230}));
  EXPECT_EQ(Kept("Common_Name like '_l%'"), QList<int>({90020, 90070}));
  EXPECT_EQ(Kept("Common_Name like '[BR]%'"), QList<int>({90030, 90070, 90200}));
  EXPECT_EQ(Kept("upper(Category) = 'SHARK'"), QList<int>({90100, 90230}));
  EXPECT_EQ(Kept("substring(Common_Name, 1, 3) = 'Bat'"), QList<int>({90200}));
  EXPECT_EQ(Kept("year(Caught) = 2019"), QList<int>({90050}));
  EXPECT_EQ(Kept("[Length (cm)] * 2 > 1000"), QList<int>({90100}));
  EXPECT_EQ(Kept("[Length (cm)] / 2 + 1 < 27"), QList<int>({90020, 90070}));
  EXPECT_EQ(Kept("[Species No] - 90000 = 100"), QList<int>({90100}));
  EXPECT_EQ(Kept("Category + '!' = 'Ray!'"), QList<int>({90200}));
  EXPECT_EQ(Kept("trim(' ' + Category) = 'Cod'"), QList<int>({90080}));
  EXPECT_EQ(Kept("[Species No] > [Length (cm)] * 400"),
            QList<int>({90020, 90030, 90070, 90080, 90200, 90230}));
}

TEST_F(DataSetFilterTest, FilterOptions) {
  EXPECT_EQ(Kept("Category = 'shark'"), QList<int>());
  EXPECT_EQ(Kept("Category = 'shark'", {foCaseInsensitive}), QList<int>({90100, 90230}));
  EXPECT_EQ(Kept("Category <> 'SHARK'", {foCaseInsensitive}).size(), 6);
  EXPECT_EQ(Kept("Category like 'sh%'", {foCaseInsensitive}), QList<int>({90100, 90230}));
  EXPECT_EQ(Kept("Category < 'd'", {foCaseInsensitive}), QList<int>({90070, 90080}));
  EXPECT_EQ(Kept("Category in ('shark')", {foCaseInsensitive}), QList<int>({90100, 90230}));
  EXPECT_EQ(Kept("Common_Name = 'B*'"), QList<int>({90070, 90200}));
  EXPECT_EQ(Kept("Common_Name <> 'B*'").size(), 6);
  EXPECT_EQ(Kept("Common_Name = 'b*'", {foCaseInsensitive}), QList<int>({90070, 90200}));
  EXPECT_EQ(Kept("Common_Name = 'B*'", {foNoPartialCompare}), QList<int>());
  EXPECT_EQ(Kept("Category = 'Sha'", {foCaseInsensitive}), QList<int>()) << "whole texts only";
}

TEST_F(DataSetFilterTest, CaseInsensitiveBeyondAscii) {
  fish->Append();
  fish->FieldByName("Species No")->SetAsInteger(1);
  fish->FieldByName("Category")->SetAsString(QStringLiteral("\u00e4sche"));
  fish->Post();
  EXPECT_EQ(Kept(QStringLiteral("Category = '\u00c4SCHE'"), {foCaseInsensitive}), QList<int>({1}));
  EXPECT_EQ(Kept(QStringLiteral("Category = '\u00c4S*'"), {foCaseInsensitive}), QList<int>({1}));
}

TEST_F(DataSetFilterTest, EmptyFilterShowsEverything) {
  fish->SetFilter("   ");
  fish->SetFiltered(true);
  EXPECT_EQ(fish->RecordCount(), 8);
}

TEST_F(DataSetFilterTest, SettingFilterRefiltersAtOnce) {
  fish->SetFilter("Category = 'Shark'");
  fish->SetFiltered(true);
  EXPECT_EQ(fish->RecordCount(), 2);
  fish->Last();
  int scrolled = 0;
  fish->AfterScroll = [&](TDataSet*) { ++scrolled; };
  fish->SetFilter("Category = 'Ray'");
  EXPECT_EQ(fish->RecordCount(), 1);
  EXPECT_EQ(fish->RecNo(), 1);
  EXPECT_EQ(fish->FieldByName("Common_Name")->AsString(), "Bat Ray");
  EXPECT_EQ(scrolled, 1);
  fish->SetFiltered(false);
  EXPECT_EQ(fish->RecordCount(), 8);
}

TEST_F(DataSetFilterTest, BadFilterLeavesTheDataSetAsItWas) {
  fish->SetFilter("Category = 'Shark'");
  fish->SetFiltered(true);
  fish->Next();
  auto refusal = [&](const QString& filter) {
    try {
      fish->SetFilter(filter);
    } catch (const EDatabaseError& e) {
      return e.Message();
    }
    return QStringLiteral("no error");
  };
  EXPECT_EQ(refusal("Category = 'Shark"), "Unterminated string constant");
  // A date that does not read under the current settings: refused when set, not on a record.
  EXPECT_EQ(refusal("Caught = '2021-03-15'"), "'2021-03-15' is not a valid date");
  EXPECT_EQ(fish->Filter(), "Category = 'Shark'");
  EXPECT_EQ(fish->RecordCount(), 2);
  EXPECT_EQ(fish->RecNo(), 2);
  EXPECT_THROW(fish->SetFilter("Nope = 1"), EDatabaseError);
  EXPECT_NO_THROW(fish->SetFilterOptions({foCaseInsensitive}));
  EXPECT_EQ(fish->RecordCount(), 2);
}

TEST_F(DataSetFilterTest, FailingEvaluationLeavesTheDataSetAsItWas) {
  fish->SetFilter("Category = 'Shark'");
  fish->SetFiltered(true);
  // Parses, but a name is no date on any record.
  EXPECT_THROW(fish->SetFilter("Caught > Category"), EVariantTypeCastError);
  EXPECT_EQ(fish->RecordCount(), 2);
  EXPECT_EQ(fish->Filter(), "Category = 'Shark'");
  fish->SetFiltered(false);
  EXPECT_NO_THROW(fish->SetFilter("Caught > Category")) << "not filtered: nothing is evaluated yet";
  EXPECT_THROW(fish->SetFiltered(true), EVariantTypeCastError);
  EXPECT_FALSE(fish->Filtered());
  EXPECT_EQ(fish->RecordCount(), 8);
}

// Moments on both sides of 30 December 1899, the day the date-time numbers count from: before
// it the day counts backwards while the time of day still counts forwards.
TEST(DateTimeOrder, FiltersLocateAndSortingFollowTheClockBefore1900) {
  SetFormatSettings(TFormatSettings::Invariant());
  TMemDataSet data;
  data.AddField("No", ftInteger);
  data.AddField("T", ftDateTime);
  const std::vector<TDateTime> moments = {EncodeDateTime(1899, 12, 28, 23, 0, 0, 0),
                                          EncodeDate(1899, 12, 29),
                                          EncodeDateTime(1899, 12, 29, 6, 0, 0, 0),
                                          EncodeDateTime(1899, 12, 29, 18, 0, 0, 0),
                                          EncodeDate(1899, 12, 30),
                                          EncodeDateTime(1899, 12, 30, 6, 0, 0, 0),
                                          EncodeDateTime(1899, 12, 31, 12, 0, 0, 0),
                                          EncodeDateTime(1850, 3, 1, 12, 30, 0, 0)};
  ASSERT_EQ(moments[3], -1.75);
  std::vector<std::vector<Variant>> rows;
  for (size_t i = 0; i < moments.size(); ++i)
    rows.push_back({Variant(static_cast<int>(i)), Variant::FromDate(moments[i])});
  data.AppendRecords(rows);
  data.Open();
  auto kept = [&](const QString& filter) {
    QList<int> compiled, variants;
    data.SetFiltered(false);
    data.SetFilter(filter);
    for (const bool fast : {true, false}) {
      data.SetFiltered(false);
      data.SetCompiledFiltering(fast);
      data.SetFiltered(true);
      for (data.First(); !data.Eof(); data.Next())
        (fast ? compiled : variants) << data.FieldByName("No")->AsInteger();
    }
    EXPECT_EQ(compiled, variants) << filter.toStdString();
    return compiled;
  };
  EXPECT_EQ(kept("T > '12/29/1899 12:00'"), QList<int>({3, 4, 5, 6}));
  EXPECT_EQ(kept("T >= '12/29/1899'"), QList<int>({1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(kept("T < '12/29/1899 6:00'"), QList<int>({0, 1, 7}));
  EXPECT_EQ(kept("T <= -1.25"), QList<int>({0, 1, 2, 7})) << "a number is a date-time too";
  EXPECT_EQ(kept("T > '12/29/1899 6:00' and T < '12/30/1899 6:00'"), QList<int>({3, 4}));
  EXPECT_EQ(kept("T in ('12/29/1899 18:00', '12/30/1899')"), QList<int>({3, 4}));
  EXPECT_EQ(kept("T < '12/31/1899'"), QList<int>({0, 1, 2, 3, 4, 5, 7}));

  data.SetFiltered(false);
  ASSERT_TRUE(data.Locate("T", Variant("12/29/1899 6:00 PM")));
  EXPECT_EQ(data.FieldByName("No")->AsInteger(), 3);

  // Sorting by the variant order gives the calendar's order.
  std::vector<Variant> sorted;
  for (size_t i : {5, 3, 0, 6, 2, 4, 1, 7}) sorted.push_back(Variant::FromDate(moments[i]));
  std::sort(sorted.begin(), sorted.end());
  std::vector<TDateTime> expected = {moments[7], moments[0], moments[1], moments[2],
                                     moments[3], moments[4], moments[5], moments[6]};
  std::vector<TDateTime> actual;
  for (const Variant& v : sorted) actual.push_back(v.AsDate());
  EXPECT_EQ(actual, expected);
}

TEST_F(DataSetFilterTest, FilterOnAClosedDataSet) {
  fish->Close();
  EXPECT_THROW(fish->SetFilter("Category = "), EDatabaseError)
      << "fields are known: checked at once";
  fish->SetFilter("Category = 'Cod'");
  fish->SetFiltered(true);
  fish->Open();
  EXPECT_EQ(fish->RecordCount(), 1);
}

TEST_F(DataSetFilterTest, OnFilterRecord) {
  fish->OnFilterRecord = [](TDataSet* d, bool& accept) {
    EXPECT_EQ(d->State(), dsFilter);
    accept = d->FieldByName("Length (cm)")->AsFloat() > 100;
  };
  fish->SetFiltered(true);
  EXPECT_EQ(fish->RecordCount(), 3);
  fish->SetFilter("Category = 'Shark'");
  EXPECT_EQ(fish->RecordCount(), 2) << "both the text and the event must agree";
  fish->OnFilterRecord = nullptr;
}

TEST_F(DataSetFilterTest, PostedRecordsAreFilteredToo) {
  fish->SetFilter("Category = 'Shark'");
  fish->SetFiltered(true);
  fish->Append();
  fish->FieldByName("Category")->SetAsString("Shark");
  fish->Post();
  EXPECT_EQ(fish->RecordCount(), 3);
  fish->First();
  fish->Edit();
  fish->FieldByName("Category")->SetAsString("Dogfish");
  fish->Post();
  EXPECT_EQ(fish->RecordCount(), 2) << "a record that no longer matches leaves the view";
  fish->Append();
  fish->FieldByName("Category")->SetAsString("Eel");
  fish->Post();
  EXPECT_EQ(fish->RecordCount(), 2);
}

// --- the compiled form against the Variant evaluation, on many generated records -----------

class TStoreSource : public TFilterRowSource {
 public:
  explicit TStoreSource(const TRecordStore& store) : store_(store) {}
  const TColumn* ColumnOf(int fieldNo) const override {
    return fieldNo >= 1 && fieldNo <= store_.ColumnCount() ? &store_.Column(fieldNo - 1) : nullptr;
  }
  Variant ValueAt(int fieldNo, const QString&, int row) const override {
    return store_.Value(row, fieldNo - 1);
  }

 private:
  const TRecordStore& store_;
};

TEST(CompiledFilter, AgreesWithTheEvaluatorOnGeneratedRecords) {
  SetFormatSettings(TFormatSettings::Invariant());
  const std::vector<TExprFieldInfo> fields = {
      {"I", ftInteger}, {"F", ftFloat},    {"S", ftString},  {"D", ftDateTime},
      {"B", ftBoolean}, {"C", ftCurrency}, {"L", ftLargeint}};
  TRecordStore store({ftInteger, ftFloat, ftString, ftDateTime, ftBoolean, ftCurrency, ftLargeint});
  std::mt19937 random(20240131);
  const QStringList words = {"", "a", "ab", "Ab", "abc", "b", "B%", "\u00e4b", "zz", "a_c"};
  // More rows than one run of the batch form, the last run a short one.
  for (int i = 0; i < 2500; ++i) {
    auto maybe = [&](Variant v) { return random() % 7 == 0 ? Variant::Null() : v; };
    const double real = (random() % 2000) / 10.0 - 50;
    store.AppendRow(
        {maybe(Variant(static_cast<int>(random() % 200) - 50)),
         maybe(random() % 50 == 0 ? Variant(std::nan("")) : Variant(real)),
         maybe(Variant(words[static_cast<int>(random() % words.size())])),
         // Both sides of 30 December 1899, where the day numbers turn negative.
         maybe(Variant::FromDate((random() % 400) / 8.0 - 25)), maybe(Variant(random() % 2 == 0)),
         maybe(Variant(Currency::FromScaled(static_cast<int64_t>(random() % 100000) - 50000))),
         maybe(Variant(static_cast<int64_t>(random() % 5)))});
  }
  const TStoreSource source(store);
  const QStringList texts = {"I = 5",
                             "I <> 5",
                             "I > 10",
                             "I < -3.5",
                             "5 <= I",
                             "I >= 10.0",
                             "F = 0",
                             "F <> 0",
                             "F > 20",
                             "F < I",
                             "S = 'ab'",
                             "S <> 'ab'",
                             "S < 'b'",
                             "S >= 'Ab'",
                             "S like 'a%'",
                             "S like '%b'",
                             "S like '_b'",
                             "S is null",
                             "S is not null",
                             "D > 10",
                             "D <= -2.5",
                             "D >= -1.25",
                             "D > '12/29/1899 12:00'",
                             "D in (-1.25, -1.75, 0.5)",
                             "B",
                             "not B",
                             "B = False",
                             "B and I > 0",
                             "B or I > 0",
                             "not (B or I > 0)",
                             "C > 0",
                             "C = 1.5",
                             "C < -2",
                             "C >= 3",
                             "L in (1, 3)",
                             "I in (1, 2, 3)",
                             "F in (0.5, 1)",
                             "S in ('a', 'zz')",
                             "I + 1 > 5",
                             "S + 'x' = 'abx'",
                             "upper(S) = 'AB'",
                             "I > F",
                             "I = NULL",
                             "I <> NULL",
                             "(I > 0) = B",
                             "I > 0 and S like 'a%' or F < 0 and not B",
                             "L = 2 and (C > 0 or D < 5)",
                             "I",
                             "I and B",
                             "S = 'a*'",
                             "S <> 'A*'"};
  for (const QString& text : texts) {
    for (const TFilterOptions options : {TFilterOptions{}, TFilterOptions{foCaseInsensitive}}) {
      const TExprParser parser(fields, text, options, {poExtSyntax});
      const TExprEvaluator evaluator(parser.FilterData());
      const TCompiledFilter compiled(evaluator, source);
      std::vector<int> expectedRows;
      bool anyThrows = false;
      for (int row = 0; row < store.RowCount(); ++row) {
        bool expected = false, expectedThrows = false, actual = false, actualThrows = false;
        try {
          expected = evaluator.Matches(
              [&](int fieldNo, const QString& name) { return source.ValueAt(fieldNo, name, row); });
        } catch (const Exception&) {
          expectedThrows = true;
        }
        try {
          actual = compiled.Matches(row);
        } catch (const Exception&) {
          actualThrows = true;
        }
        ASSERT_EQ(actualThrows, expectedThrows) << text.toStdString() << " row " << row;
        ASSERT_EQ(actual, expected)
            << text.toStdString() << " row " << row << " options " << options.Bits();
        anyThrows = anyThrows || expectedThrows;
        if (expected) expectedRows.push_back(row);
      }
      // All rows at once (the batch form for conditions that cannot fail).
      if (anyThrows)
        EXPECT_THROW(compiled.Select(store.RowCount()), Exception) << text.toStdString();
      else
        EXPECT_EQ(compiled.Select(store.RowCount()), expectedRows) << text.toStdString();
    }
  }
}

TEST(CompiledFilter, CommonShapesNeedNoVariants) {
  SetFormatSettings(TFormatSettings::Invariant());
  const std::vector<TExprFieldInfo> fields = {
      {"Species No", ftInteger}, {"Category", ftString}, {"Length (cm)", ftFloat}};
  TRecordStore store({ftInteger, ftString, ftFloat});
  const TStoreSource source(store);
  auto fallbacks = [&](const QString& text, TFilterOptions options = {}) {
    const TExprParser parser(fields, text, options, {poExtSyntax});
    const TExprEvaluator evaluator(parser.FilterData());
    return TCompiledFilter(evaluator, source).FallbackCount();
  };
  EXPECT_EQ(
      fallbacks("Category = 'Shark' or ((([Species No] >= 90080) AND ([Species No] <= 90230)) and "
                "[Length (cm)] < 150)"),
      0);
  EXPECT_EQ(fallbacks("Category like 'S%' and [Species No] in (1, 2) and Category is not null"), 0);
  EXPECT_EQ(fallbacks("Category = 'sh*'", {foCaseInsensitive}), 0);
  EXPECT_EQ(fallbacks("[Length (cm)] * 2 > 5"), 1);
  EXPECT_EQ(fallbacks("[Length (cm)] * 2 > 5 and Category = 'a'"), 1);
}

}  // namespace
}  // namespace Kel
