#include "KelFltDateTimeFormat.h"

namespace Kel {

namespace {

// Stores a differing value and reports whether it changed.
template <typename T>
bool StoreIfDifferent(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

}  // namespace

TKelFltDateTimeFormat::TKelFltDateTimeFormat(QObject* parent) : TKelCustomDateTimeFormat(parent) {}

void TKelFltDateTimeFormat::SetDateSeparator(QChar value) {
  if (StoreIfDifferent(dateSeparator_, value)) Changed();
}

void TKelFltDateTimeFormat::SetTimeSeparator(QChar value) {
  if (StoreIfDifferent(timeSeparator_, value)) Changed();
}

void TKelFltDateTimeFormat::SetAMSymbol(const QString& value) {
  if (StoreIfDifferent(amSymbol_, value)) Changed();
}

void TKelFltDateTimeFormat::SetPMSymbol(const QString& value) {
  if (StoreIfDifferent(pmSymbol_, value)) Changed();
}

void TKelFltDateTimeFormat::SetDateFormat(const QString& value) {
  if (StoreIfDifferent(dateFormat_, value)) Changed();
}

void TKelFltDateTimeFormat::SetTimeFormat(const QString& value) {
  if (StoreIfDifferent(timeFormat_, value)) Changed();
}

void TKelFltDateTimeFormat::Assign(TPersistent* source) {
  const auto* other = qobject_cast<const TKelCustomDateTimeFormat*>(source);
  if (!other) {
    TKelCustomDateTimeFormat::Assign(source);
    return;
  }
  SetDateSeparator(other->DateSeparator());
  SetTimeSeparator(other->TimeSeparator());
  SetAMSymbol(other->AMSymbol());
  SetPMSymbol(other->PMSymbol());
  SetDateFormat(other->DateFormat());
  SetTimeFormat(other->TimeFormat());
  SetAlwaysY2k(other->AlwaysY2k());
}

}  // namespace Kel
