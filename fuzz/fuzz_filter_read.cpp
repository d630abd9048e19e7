// Fuzzes reading a filter text back into conditions: arbitrary text is written into a filter
// builder's FilterStr over a small dataset with fields of every category, then FilterStr is read
// again. Findings: a crash; a text written by the builder itself that does not read back; and
// conditions that select other records than the text they were read from.
//
// First byte: bit 0 allows the LIKE templates, bit 1 brackets no field names.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>

#include "DB.h"
#include "DateUtils.h"
#include "Exceptions.h"
#include "FormatSettings.h"
#include "KelFltBox.h"

namespace {

using namespace Kel;

TMemDataSet& Data() {
  static std::unique_ptr<TMemDataSet> data = [] {
    SetFormatSettings(TFormatSettings::Invariant());
    SetDateMacrosToday(EncodeDate(2024, 3, 6));
    auto d = std::make_unique<TMemDataSet>();
    d->AddField("Id", ftInteger);
    d->AddField("Score", ftFloat);
    d->AddField("Name", ftString, 20);
    d->AddField("Notes", ftMemo);
    d->AddField("Due", ftDate);
    d->AddField("Hour", ftTime);
    d->AddField("Paid", ftBoolean);
    d->AddField("Last Name", ftString, 20);
    d->AddField("Date", ftDate);
    const Variant null = Variant::Null();
    const auto date = [](int y, int m, int dd) { return Variant::FromDate(EncodeDate(y, m, dd)); };
    d->AppendRecords({
        {1, 2.5, "ab", "x", date(2024, 3, 6), Variant::FromDate(0.5), true, "O'B", date(2024, 3, 1)},
        {2, null, "", null, date(2024, 2, 29), null, false, null, null},
        {3, -1.0, "a%b", "", null, Variant::FromDate(0.25), null, "Smith", date(2024, 3, 7)},
        {null, 12.25, null, "ab", date(2024, 4, 1), null, true, "", date(2023, 12, 31)},
    });
    d->Open();
    return d;
  }();
  return *data;
}

// The records the text keeps, or false when the dataset refuses it.
bool Kept(const QString& text, std::set<int>& kept) {
  TMemDataSet& data = Data();
  kept.clear();
  try {
    data.SetFilter(text);
    data.SetFiltered(true);
    for (data.First(); !data.Eof(); data.Next()) kept.insert(data.RecNo());
    data.SetFiltered(false);
    return true;
  } catch (const Exception&) {
    data.SetFiltered(false);
    return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size < 1 || size > 2000) return 0;
  TMemDataSet& data = Data();
  TKelFltBld builder;
  builder.SetDataSet(&data);
  builder.SetAllowedUsageIDs((bytes[0] & 1) ? "" : "0");
  builder.SetEncloseInBrackets(!(bytes[0] & 2));
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(bytes + 1), static_cast<qsizetype>(size - 1));
  try {
    builder.SetFilterStr(text);
  } catch (const Exception&) {
    return 0;  // the text does not parse: refused with a message, which is right
  }
  const QString written = builder.FilterStr();
  if (builder.Items()->Count() == 0) return 0;
  TKelFltBld reader;
  reader.SetDataSet(&data);
  reader.SetAllowedUsageIDs(builder.AllowedUsageIDs());
  reader.SetEncloseInBrackets(builder.EncloseInBrackets());
  try {
    reader.SetFilterStr(written);
  } catch (const Exception& e) {
    fprintf(stderr, "written text does not read back: %s\n%s\n", qPrintable(written),
            qPrintable(e.Message()));
    abort();
  }
  std::set<int> before, after;
  if (Kept(text, before) && Kept(written, after) && before != after) {
    fprintf(stderr, "read conditions select other records:\n%s\n%s\n", qPrintable(text),
            qPrintable(written));
    abort();
  }
  return 0;
}
