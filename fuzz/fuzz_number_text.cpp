// Arbitrary text read as an integer, a float and a currency amount, and used as a Format
// pattern with a few arguments of each kind: errors must be exceptions, never crashes.
#include <cstddef>
#include <cstdint>

#include "Exceptions.h"
#include "NumberFormat.h"
#include "StrUtils.h"
#include "Variant.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  int64_t integer = 0;
  (void)Kel::TryStrToInt64(text, integer);
  int small = 0;
  (void)Kel::TryStrToInt(text, small);
  double number = 0;
  if (Kel::TryStrToFloat(text, number)) (void)Kel::FloatToStr(number);
  if (Kel::TryStrToFloat(text, number, u',')) (void)Kel::FloatToStr(number, u',');
  Kel::Currency amount;
  if (Kel::TryStrToCurr(text, amount)) (void)Kel::CurrToStr(amount);
  try {
    (void)Kel::Format(text, {Kel::Variant(42), Kel::Variant(-1.5), Kel::Variant("text"),
                             Kel::Variant(int64_t(-1)), Kel::Variant(Kel::Currency::FromInt(3)),
                             Kel::Variant(7), Kel::Variant(1e300)});
  } catch (const Kel::EConvertError&) {
  }
  return 0;
}
