#pragma once
// Conversions between date-time numbers and text in the classic pattern language:
//   d dd ddd dddd ddddd dddddd   day, day with zero, short day name, long day name,
//                                short date format, long date format
//   m mm mmm mmmm                month, with zero, short name, long name (m right after an
//                                hour specifier means minutes)
//   yy yyyy                      two- or four-digit year
//   h hh  n nn  s ss  z zzz      hour, minute, second, millisecond
//   t tt                         short / long time format;  c  short date + long time
//   am/pm a/p ampm               12-hour clock with "am"/"pm" as written, "a"/"p", or the
//                                settings' AM/PM strings
//   /  :                         the current date and time separators
//   '...' "..."                  literal text
// Specifier letters ignore case; any other character is copied.

#include <QString>

#include "DateUtils.h"
#include "FormatSettings.h"
#include "PlatformExport.h"

namespace Kel {

KEL_PLATFORM_EXPORT QString FormatDateTime(const QString& format, TDateTime value);
KEL_PLATFORM_EXPORT QString FormatDateTime(const QString& format, TDateTime value,
                                           const TFormatSettings& settings);

KEL_PLATFORM_EXPORT QString DateToStr(TDateTime value);      // short date format
KEL_PLATFORM_EXPORT QString TimeToStr(TDateTime value);      // long time format
KEL_PLATFORM_EXPORT QString DateTimeToStr(TDateTime value);  // "c": time omitted at midnight

// Reading text back by the short date format's order of day, month and year and the current
// separators: "d/m/y" (a missing year is the current one; two-digit years follow
// TwoDigitYearCenturyWindow), "h:n:s.zzz" with optional minutes, seconds and fraction, and the
// AM/PM strings (or "AM"/"PM") before or after the time. Blanks around the parts are allowed,
// anything else after the value is not. The Try forms return false instead of raising
// EConvertError.
KEL_PLATFORM_EXPORT bool TryStrToDate(const QString& text, TDateTime& result);
KEL_PLATFORM_EXPORT bool TryStrToTime(const QString& text, TDateTime& result);
KEL_PLATFORM_EXPORT bool TryStrToDateTime(const QString& text, TDateTime& result);
// The same, reading by the given settings instead of the process-wide ones.
KEL_PLATFORM_EXPORT bool TryStrToDate(const QString& text, TDateTime& result,
                                      const TFormatSettings& settings);
KEL_PLATFORM_EXPORT bool TryStrToTime(const QString& text, TDateTime& result,
                                      const TFormatSettings& settings);
KEL_PLATFORM_EXPORT bool TryStrToDateTime(const QString& text, TDateTime& result,
                                          const TFormatSettings& settings);
KEL_PLATFORM_EXPORT TDateTime StrToDate(const QString& text);
KEL_PLATFORM_EXPORT TDateTime StrToTime(const QString& text);
KEL_PLATFORM_EXPORT TDateTime StrToDateTime(const QString& text);

}  // namespace Kel
