#pragma once
// A list dataset for the tests of list controls: records 1..count with an integer key "Id",
// a name "Item 001"... and a city taken round-robin from a few, each record its own strings.
#include <QString>
#include <memory>
#include <vector>

#include "MemDataSet.h"

namespace Kel::Testing {

inline std::unique_ptr<TMemDataSet> MakeNumberedRecords(int count) {
  auto records = std::make_unique<TMemDataSet>();
  records->AddField("Id", ftInteger);
  records->AddField("Name", ftString, 30);
  records->AddField("City", ftString, 30);
  static const char* const kCities[] = {"Oslo", "Lima", "Bern", "Kyiv", "Rome"};
  std::vector<std::vector<Variant>> rows;
  rows.reserve(count);
  for (int i = 1; i <= count; ++i)
    rows.push_back({i, QStringLiteral("Item %1").arg(i, 3, 10, QLatin1Char('0')),
                    QString::fromLatin1(kCities[i % 5])});
  records->AppendRecords(rows);
  records->Open();
  return records;
}

}  // namespace Kel::Testing
