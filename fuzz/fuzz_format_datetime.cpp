// Arbitrary text as a date-time pattern (also as the settings' own patterns, so nested formats
// meet themselves), as date-time text to read back, and as a Qt pattern to translate.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "DateTimeFormat.h"
#include "FormatSettings.h"

namespace {

const Kel::TDateTime Values[] = {
    0,
    36957.58691,
    -1.25,
    -693593.0,
    2958465.999999,
    2958466.0,
    1e300,
    -1e300,
    std::numeric_limits<double>::quiet_NaN(),
    std::numeric_limits<double>::infinity(),
    0.999999999999,
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const Kel::TDateTime value = Values[data[0] % std::size(Values)];
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

  Kel::TFormatSettings settings = Kel::TFormatSettings::Invariant();
  (void)Kel::FormatDateTime(text, value, settings);
  settings.ShortDateFormat = text;
  settings.LongDateFormat = text;
  settings.ShortTimeFormat = text;
  settings.LongTimeFormat = text;
  (void)Kel::FormatDateTime(text, value, settings);
  (void)Kel::FormatDateTime(QStringLiteral("c"), value, settings);

  Kel::TDateTime result = 0;
  const Kel::TFormatSettings invariant = Kel::TFormatSettings::Invariant();
  (void)Kel::TryStrToDateTime(text, result, invariant);
  (void)Kel::TryStrToDate(text, result, invariant);
  (void)Kel::TryStrToTime(text, result, invariant);
  // Patterns read by the text's own field order and a separator taken from it.
  settings = invariant;
  settings.ShortDateFormat = text;
  if (!text.isEmpty()) settings.DateSeparator = text[0];
  (void)Kel::TryStrToDateTime(text, result, settings);

  const QString classic = Kel::QtPatternToClassic(text);
  (void)Kel::FormatDateTime(classic, value, invariant);
  return 0;
}
