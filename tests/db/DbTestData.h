#pragma once
// Small datasets shared by the dataset tests.
#include <memory>

#include "DB.h"
#include "DateUtils.h"
#include "FormatSettings.h"

namespace Kel::Testing {

// Fish: Species No (integer), Category (string 15), Common_Name (string 30), Length (cm)
// (float), Notes (memo), Caught (date), Tame (Boolean), Price (currency). Eight records, some
// with Nulls.
inline std::unique_ptr<TMemDataSet> MakeFish() {
  auto fish = std::make_unique<TMemDataSet>();
  fish->AddField("Species No", ftInteger);
  fish->AddField("Category", ftString, 15);
  fish->AddField("Common_Name", ftString, 30);
  fish->AddField("Length (cm)", ftFloat);
  fish->AddField("Notes", ftMemo);
  fish->AddField("Caught", ftDate);
  fish->AddField("Tame", ftBoolean);
  fish->AddField("Price", ftCurrency);
  const Variant null = Variant::Null();
  auto date = [](int y, int m, int d) { return Variant::FromDate(EncodeDate(y, m, d)); };
  fish->AppendRecords({
      {90020, "Triggerfish", "Clown Triggerfish", 50.0, "Lives on reefs", date(2020, 5, 1), true,
       Currency::FromInt(12)},
      {90030, "Snapper", "Red Emperor", 60.0, null, date(2021, 6, 2), false,
       Currency::FromScaled(99500)},
      {90050, "Wrasse", "Giant Maori Wrasse", 229.0, "Very large", date(2019, 7, 3), null, null},
      {90070, "Angelfish", "Blue Angelfish", 30.0, "", null, true, Currency::FromInt(5)},
      {90080, "Cod", "Lunartail Rockcod", 80.0, "Eats fish", date(2022, 8, 4), false,
       Currency::FromInt(20)},
      {90100, "Shark", "Great White Shark", 600.0, "Dangerous", date(2018, 9, 5), false, null},
      {90200, "Ray", "Bat Ray", 56.0, null, date(2023, 10, 6), true, Currency::FromInt(7)},
      {90230, "Shark", "Swell Shark", 102.0, "Inflates itself", date(2017, 11, 7), null,
       Currency::FromInt(3)},
  });
  return fish;
}

}  // namespace Kel::Testing
