#pragma once
// The records the filter fuzz targets run their conditions on: every field type, Nulls, NaN,
// extreme numbers, texts with LIKE characters and line breaks.

#include <cmath>
#include <memory>

#include "DB.h"
#include "DateUtils.h"
#include "FormatSettings.h"

namespace Kel {

inline TMemDataSet& FuzzRecords() {
  static std::unique_ptr<TMemDataSet> data = [] {
    SetFormatSettings(TFormatSettings::Invariant());
    auto d = std::make_unique<TMemDataSet>();
    d->AddField("Species No", ftInteger);
    d->AddField("Category", ftString);
    d->AddField("Length (cm)", ftFloat);
    d->AddField("Notes", ftMemo);
    d->AddField("Caught", ftDate);
    d->AddField("At", ftTime);
    d->AddField("Seen", ftDateTime);
    d->AddField("Tame", ftBoolean);
    d->AddField("Price", ftCurrency);
    d->AddField("Big", ftLargeint);
    d->AddField("S", ftSmallint);
    const Variant null = Variant::Null();
    d->AppendRecords({
        {90020, "Shark", 50.0, "a%b", Variant::FromDate(EncodeDate(2020, 5, 1)),
         Variant::FromDate(0.5), Variant::FromDate(45000.25), true, Currency::FromInt(12),
         int64_t(1) << 40, 7},
        {null, null, null, null, null, null, null, null, null, null, null},
        {90230, "shark", std::nan(""), "", Variant::FromDate(-3), Variant::FromDate(0.99),
         Variant::FromDate(-1.25), false, Currency::FromScaled(-5), int64_t(-1), -32768},
        {0, "\u00e4\u00df", -0.0, "Ab*", Variant::FromDate(1), Variant::FromDate(0),
         Variant::FromDate(2), null, Currency::FromInt(0), int64_t(0), 0},
        {-2147483647, "[x]_%", 1e300, "line\r\nbreak", Variant::FromDate(2958465), null, null, true,
         null, null, 1},
    });
    d->Open();
    return d;
  }();
  return *data;
}

}  // namespace Kel
