// Arbitrary text through the ":Name" placeholder scanner: parsed into fields, refreshed against
// fields that already hold values, and substituted back, with the fields' own values taken from
// the text too (quotes, colons and names that prefix each other meet themselves). The name lists
// and the text helpers that cut outside text apart run on the same input.
#include <cstddef>
#include <cstdint>

#include "KelFields.h"
#include "KelStrHelpers.h"
#include "KelUtils.h"
#include "Strings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

  Kel::TKelFields fields;
  (void)Kel::ParseParams(&fields, text, true);
  (void)Kel::ParamNames(text);
  // Every field gets a value of a quoted and an unquoted kind by turns, the text itself among them.
  for (int i = 0; i < fields.Count(); ++i) {
    Kel::TKelField* field = fields.Items(i);
    if (i % 3 == 0) field->SetAsString(text);
    if (i % 3 == 1) field->SetAsInteger(i);
    if (i % 3 == 2) field->SetValuePrefix(field->Name());
  }
  (void)Kel::SubstituteParams(text, &fields);
  Kel::RefreshParams(&fields, text + text);
  (void)Kel::SubstituteParams(text, &fields);

  Kel::TStringList list;
  Kel::ParseNameList(text, list);
  (void)Kel::FormatNameList(list);
  Kel::SplitText(text, QLatin1Char(';'), list);
  Kel::NameValuePart(list, true);
  (void)Kel::FourDigitYearFormat(text);
  QString replaced = text;
  Kel::ReplaceAll(replaced, QStringLiteral(":"), text.left(8));
  return 0;
}
