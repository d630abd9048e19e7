#include "KelDateTimeFormat.h"

#include <cmath>

#include "DateTimeFormat.h"
#include "FormatSettings.h"
#include "KelUtils.h"

namespace Kel {

namespace {

QString FourDigitsWhen(bool alwaysY2k, const QString& format) {
  return alwaysY2k ? FourDigitYearFormat(format) : format;
}

// The calendar's first and last day: days outside cannot be written as dates.
constexpr TDateTime FirstCalendarDay = -693593.0;
constexpr TDateTime LastCalendarDay = 2958465.0;

}  // namespace

// ---- TKelChangePersistent --------------------------------------------------------------------

TKelChangePersistent::TKelChangePersistent(QObject* parent) : TPersistent(parent) {}

void TKelChangePersistent::Changed() {
  if (OnChange) OnChange(this);
}

// ---- TKelCustomDateTimeFormat ----------------------------------------------------------------

TKelCustomDateTimeFormat::TKelCustomDateTimeFormat(QObject* parent)
    : TKelChangePersistent(parent) {}

QString TKelCustomDateTimeFormat::GetLongTimeFormat() const {
  return FormatSettings().LongTimeFormat;
}

QString TKelCustomDateTimeFormat::GetLongDateFormat() const {
  return FourDigitsWhen(alwaysY2k_, FormatSettings().LongDateFormat);
}

QString TKelCustomDateTimeFormat::GetTimeFormat() const {
  return timeFormat_.isEmpty() ? FormatSettings().ShortTimeFormat : timeFormat_;
}

QString TKelCustomDateTimeFormat::GetDateFormat() const {
  return FourDigitsWhen(alwaysY2k_,
                        dateFormat_.isEmpty() ? FormatSettings().ShortDateFormat : dateFormat_);
}

QString TKelCustomDateTimeFormat::GetDateTimeFormat() const {
  return GetDateFormat() + u' ' + GetTimeFormat();
}

QString TKelCustomDateTimeFormat::GetLongDateTimeFormat() const {
  return GetLongDateFormat() + u' ' + GetLongTimeFormat();
}

void TKelCustomDateTimeFormat::ApplyTimeSettings(TFormatSettings& settings) const {
  if (!timeSeparator_.isNull()) settings.TimeSeparator = timeSeparator_;
  if (!amSymbol_.isEmpty()) settings.TimeAMString = amSymbol_;
  if (!pmSymbol_.isEmpty()) settings.TimePMString = pmSymbol_;
}

void TKelCustomDateTimeFormat::ApplyDateSettings(TFormatSettings& settings) const {
  if (!dateSeparator_.isNull()) settings.DateSeparator = dateSeparator_;
}

QString TKelCustomDateTimeFormat::FormatDate(TDateTime value) {
  TFormatSettings settings = FormatSettings();
  ApplyDateSettings(settings);
  return Kel::FormatDateTime(GetDateFormat(), value, settings);
}

QString TKelCustomDateTimeFormat::FormatTime(TDateTime value) {
  TFormatSettings settings = FormatSettings();
  ApplyTimeSettings(settings);
  return Kel::FormatDateTime(GetTimeFormat(), value, settings);
}

QString TKelCustomDateTimeFormat::FormatDateTime(TDateTime value) {
  TFormatSettings settings = FormatSettings();
  ApplyTimeSettings(settings);
  ApplyDateSettings(settings);
  return Kel::FormatDateTime(GetDateTimeFormat(), value, settings);
}

// ---- Free functions --------------------------------------------------------------------------

QString FormatDateDefault(TDateTime value) { return DateToStrY2k(value); }

void DateRangeCondition(const QString& fieldName, const QString& orText, const QString& andText,
                        QString& result, TKelCustomDateTimeFormat* format,
                        const TKelDayIncludedFunc& isDayIncluded, void* data, TDateTime lastDate,
                        TDateTime firstDate) {
  const QString orWord = orText.isEmpty() ? QString::fromUtf8(KelClassesText::OrText) : orText;
  const QString andWord = andText.isEmpty() ? QString::fromUtf8(KelClassesText::AndText) : andText;
  auto date = [format](TDateTime day) {
    return format ? format->FormatDate(day) : FormatDateDefault(day);
  };
  // Writes the run of accepted days from `start` up to, not including, `end`.
  auto emitRun = [&](TDateTime start, TDateTime end) {
    QString condition;
    if (end - start == 1) {
      condition = fieldName + QStringLiteral("='") + date(end - 1) + u'\'';
    } else if (end > LastCalendarDay) {
      // A run up to the calendar's last day has no day after it to write as its upper bound.
      condition = u'\'' + date(start) + QStringLiteral("'<=") + fieldName;
    } else {
      condition = QStringLiteral("('") + date(start) + QStringLiteral("'<=") + fieldName +
                  QStringLiteral(") ") + andWord + QStringLiteral(" (") + fieldName +
                  QStringLiteral("<'") + date(end) + QStringLiteral("')");
    }
    result += u' ' + orWord + QStringLiteral(" (") + condition + u')';
  };

  result.clear();
  if (std::isnan(firstDate) || std::isnan(lastDate)) return;
  bool runOpen = false;
  TDateTime runStart = 0;
  // The walk goes over whole days: before 1899 a date-time lies below its own midnight, so
  // steps of one from -1.25 would meet day 0 twice (at -0.25 and 0.75) and never day 1.
  const TDateTime last = std::fmin(DateOnly(lastDate), LastCalendarDay);
  TDateTime day = std::fmax(DateOnly(firstDate), FirstCalendarDay);
  for (; day <= last; day += 1) {
    const bool included = !isDayIncluded || isDayIncluded(data, day);
    if (!included && runOpen) {
      emitRun(runStart, day);
      runOpen = false;
    } else if (included && !runOpen) {
      runStart = day;
      runOpen = true;
    }
  }
  if (runOpen) emitRun(runStart, last + 1);
  // Drop the separator in front of the first run: the blank, the "or" word and its blank.
  if (!result.isEmpty()) result.remove(0, orWord.size() + 2);
}

}  // namespace Kel
