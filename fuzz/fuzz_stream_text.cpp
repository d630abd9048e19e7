// Arbitrary text as the text form of a component stream: converted to binary and read into a
// holder carrying a collection with every property kind. Whatever reads must survive a
// write/read round trip unchanged.
#include <cstddef>
#include <cstdint>

#include "ObjectText.h"
#include "StreamFuzzClasses.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  KelFuzz::InitStreamFuzzing();
  const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

  Kel::TMemoryStream binary;
  try {
    Kel::TMemoryStream input(text);
    Kel::ObjectTextToBinary(input, binary);
  } catch (const Kel::EReadError&) {
    return 0;
  }
  // What the text converter wrote must convert back to text.
  binary.SetPosition(0);
  Kel::TMemoryStream back;
  try {
    Kel::ObjectBinaryToText(binary, back);
  } catch (const Kel::EReadError&) {
    std::abort();
  }

  KelFuzz::TFuzzItems items(nullptr);
  try {
    binary.SetPosition(0);
    Kel::ReadCollection(binary, &items);
  } catch (const Kel::EReadError&) {
    return 0;
  }
  KelFuzz::CheckRoundTrip(items);
  return 0;
}

#include "moc_StreamFuzzClasses.cpp"
