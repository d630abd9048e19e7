// Arbitrary bytes as a saved condition list: the first byte picks the form (0 filter text,
// 1 binary, 2 text component stream), the rest is the stream. Loading must either succeed or
// raise the library's error, and a failed load must leave the conditions as they were.
#include <QApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "Exceptions.h"
#include "KelFltBox.h"
#include "MemDataSet.h"
#include "Streams.h"

namespace {

Kel::TMemDataSet& Data() {
  static Kel::TMemDataSet data;
  if (data.FieldCount() == 0) {
    data.AddField("Name", Kel::ftString, 20);
    data.AddField("Size", Kel::ftInteger);
    data.AddField("Born", Kel::ftDate);
    data.Open();
  }
  return data;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int format = data[0] % 3;
  const QByteArray bytes(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1));
  Kel::TKelFltBox box;
  box.SetDataSet(&Data());
  Kel::TKelFltItem* item = box.FltItems()->Add();
  item->SetDataField("Name");
  item->SetTemplate("is (exactly)");
  item->SetValue(Kel::Variant(QStringLiteral("kept")));
  const QString before = box.FilterStr();
  Kel::TMemoryStream stream(bytes);
  try {
    box.LoadFromStream(stream, format);
  } catch (const Kel::Exception&) {
    if (box.FilterStr() != before) std::abort();
  }
  (void)box.FilterStr();
  return 0;
}
