// A date condition on both sides of 30 December 1899, down to year 100, through every text it
// becomes: the line shown, the filter text, the SQL text, each saved form of the filter box read
// into another box (twice, so that nothing drifts by a day), and the records the filter selects.
#include <gtest/gtest.h>

#include "Fields.h"
#include "FilterTestData.h"

namespace Kel {
namespace {

struct DateCase {
  int Year, Month, Day;
  const char* Shown;  // m/d/yyyy
  const char* Iso;
};

const DateCase Dates[] = {
    {100, 1, 1, "1/1/0100", "0100-01-01"},        {1752, 9, 14, "9/14/1752", "1752-09-14"},
    {1800, 1, 1, "1/1/1800", "1800-01-01"},       {1899, 12, 29, "12/29/1899", "1899-12-29"},
    {1899, 12, 30, "12/30/1899", "1899-12-30"},   {1899, 12, 31, "12/31/1899", "1899-12-31"},
    {2024, 2, 29, "2/29/2024", "2024-02-29"},
};

std::unique_ptr<TMemDataSet> Births() {
  auto data = std::make_unique<TMemDataSet>();
  data->AddField("Born", ftDate);
  for (const DateCase& c : Dates)
    data->AppendRecords({{Variant::FromDate(EncodeDate(c.Year, c.Month, c.Day))}});
  data->Open();
  return data;
}

TEST(DateTexts, EveryTextOfADateConditionKeepsItsDay) {
  SetFormatSettings(TFormatSettings::Invariant());
  const auto data = Births();
  for (const DateCase& c : Dates) {
    SCOPED_TRACE(c.Iso);
    const TDateTime day = EncodeDate(c.Year, c.Month, c.Day);
    TKelFltBox box;
    box.SetDataSet(data.get());
    TKelFltItem* item = Testing::AddCondition(*box.Builder(), "Born", "is ~on~",
                                              Variant::FromDate(day));
    const QString filter = QStringLiteral("Born = '%1'").arg(c.Shown);
    EXPECT_EQ(box.Items()->ParamDisplayText(item->ParamByName("Value")), c.Shown);
    EXPECT_EQ(box.FilterStr(), filter);
    EXPECT_TRUE(box.Builder()->SQL()->Text().trimmed().endsWith(QStringLiteral("Born = '%1'").arg(c.Iso)))
        << box.Builder()->SQL()->Text().toStdString();
    data->SetFilter(filter);
    data->SetFiltered(true);
    EXPECT_EQ(data->RecordCount(), 1);
    EXPECT_EQ(data->FieldByName("Born")->AsDateTime(), day);

    for (const int form : {0, 1, 2}) {
      TKelFltBox first, second;
      first.SetDataSet(data.get());
      second.SetDataSet(data.get());
      QByteArray saved;
      box.SaveToString(saved, form);
      first.LoadFromString(saved, form);
      first.SaveToString(saved, form);
      second.LoadFromString(saved, form);
      ASSERT_EQ(second.FltItems()->Count(), 1) << "form " << form;
      EXPECT_EQ(second.FltItems()->Items(0)->Value().AsDate(), day) << "form " << form;
      EXPECT_EQ(second.FilterStr(), filter) << "form " << form;
    }
  }
}

}  // namespace
}  // namespace Kel
