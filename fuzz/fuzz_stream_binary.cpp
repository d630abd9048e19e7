// Arbitrary bytes as a binary component stream: read into a holder carrying a collection with
// every property kind, read without an instance (the stream names the class), and converted to
// the text form. Whatever reads must survive a write/read round trip unchanged.
#include <cstddef>
#include <cstdint>

#include "ComponentStreams.h"
#include "ObjectText.h"
#include "StreamFuzzClasses.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  KelFuzz::InitStreamFuzzing();
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

  KelFuzz::TFuzzItems items(nullptr);
  bool read = false;
  try {
    Kel::TMemoryStream stream(bytes);
    Kel::ReadCollection(stream, &items);
    read = true;
  } catch (const Kel::EReadError&) {
  }
  if (read) KelFuzz::CheckRoundTrip(items);

  try {
    Kel::TMemoryStream stream(bytes);
    std::unique_ptr<Kel::TComponent> component(Kel::ReadComponent(stream, nullptr));
  } catch (const Kel::EReadError&) {
  }

  try {
    Kel::TMemoryStream stream(bytes);
    Kel::TMemoryStream text;
    Kel::ObjectBinaryToText(stream, text);
  } catch (const Kel::EReadError&) {
  }
  return 0;
}

#include "moc_StreamFuzzClasses.cpp"
