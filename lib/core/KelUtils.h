#pragma once
// KelUtils: the free functions and process-wide values that the whole library shares.
//  - week arithmetic with a configurable first day of the week and first week of the year,
//    date and time parts, four-digit-year patterns;
//  - small text helpers (positions are 1-based like the runtime's);
//  - folder macros ("%APPFOLDER%\data") expanded into real folders;
//  - window helpers over Qt: scroll bars, dialog units, rectangles.
// Dates are date-time numbers (DateUtils.h); weekdays are 1 = Sunday ... 7 = Saturday.
//
// Folders on this system: every folder result ends with the platform's separator, which is "/"
// here ("\" only on Windows); IncludeTrailingBackslash adds that separator, and
// RemoveTrailingBackslash and the path helpers accept "/" and the platform's separator.

#include <QObject>
#include <QString>
#include <functional>
#include <span>
#include <utility>
#include <vector>

#include "DateUtils.h"
#include "KelExport.h"
#include "Rect.h"
#include "Set.h"

class QAbstractScrollArea;
class QLocale;
class QScrollBar;
class QWidget;

namespace Kel {
// The shared enumerations live in a namespace of their own because a namespace can carry only
// one Q_NAMESPACE in the whole program; `using namespace` below makes them Kel's. Published
// properties must spell the full scope, Kel::KelUtilsTypes::TKelHorzAlign, so that the meta
// system finds the enumeration's names.
namespace KelUtilsTypes {
Q_NAMESPACE_EXPORT(KEL_EXPORT)

// The first day of the week; the ordinals equal the weekday numbers (dwLocaleDefault: the user
// locale's first day, LocaleFirstDayOfWeek()).
enum TKelFirstDayOfWeek {
  dwLocaleDefault = 0,
  dwSunday = 1,
  dwMonday = 2,
  dwTuesday = 3,
  dwWednesday = 4,
  dwThursday = 5,
  dwFriday = 6,
  dwSaturday = 7,
};
Q_ENUM_NS(TKelFirstDayOfWeek)

// Which week is week 1: the week of 1 January, the first week with at least four days in the new
// year, or the first week that starts in the new year.
enum TKelFirstWeekOfYear { fwJanFirst = 0, fwFirstFourthDayOfWeek = 1, fwFirstFullWeek = 2 };
Q_ENUM_NS(TKelFirstWeekOfYear)

enum TKelHorzAlign { haLeft = 0, haCenter = 1, haRight = 2 };
Q_ENUM_NS(TKelHorzAlign)

enum TKelDirection { diHorizontal = 0, diVertical = 1 };
Q_ENUM_NS(TKelDirection)

enum TKelVertAlign { vaTop = 0, vaCenter = 1, vaBottom = 2 };
Q_ENUM_NS(TKelVertAlign)

}  // namespace KelUtilsTypes

using namespace KelUtilsTypes;

}  // namespace Kel

KEL_DECLARE_SET(Kel::KelUtilsTypes::TKelFirstDayOfWeek, Kel_KelUtilsTypes_TKelFirstDayOfWeek)

namespace Kel {

// A set of weekdays, bit n standing for weekday n ([dwMonday..dwFriday] is 124).
using TKelWeekDays = TSet<TKelFirstDayOfWeek>;

// ---- Process-wide values ---------------------------------------------------------------------

// The user locale's first day of the week as a weekday number (Sunday 1, Monday 2, ...), read
// once from the system locale; SetLocaleFirstDayOfWeek replaces it (programs and tests).
KEL_EXPORT int LocaleFirstDayOfWeek();
KEL_EXPORT void SetLocaleFirstDayOfWeek(int weekday);
// The weekday number of a locale's first day of the week.
KEL_EXPORT int LocaleFirstDayOfWeekOf(const QLocale& locale);
// A locale value (0 = Monday ... 6 = Sunday) as a weekday number: value + 2, Sunday 1; values
// outside 0..6 count as 0 (Monday).
KEL_EXPORT int WeekdayOfLocaleValue(int localeValue);

// The user locale's decimal separator, "." when it has none; read once, replaceable.
KEL_EXPORT QChar LocaleDecimalChar();
KEL_EXPORT void SetLocaleDecimalChar(QChar decimal);

// ---- Dates -----------------------------------------------------------------------------------

KEL_EXPORT int MonthLength(int year, int month);  // 28..31; 0 for a month outside 1..12
// Kind 1 year, 2 month, 3 day / 1 hour, 2 minute, 3 second, 4 millisecond; -1 for other kinds.
KEL_EXPORT int DatePartOf(int kind, TDateTime d);
KEL_EXPORT int TimePartOf(int kind, TDateTime d);
// The day of d; a value a hair below midnight (within 1e-11) counts as the next day.
KEL_EXPORT TDateTime DateOnly(TDateTime d);
// The time of day of d in whole milliseconds.
KEL_EXPORT TDateTime TimeOnly(TDateTime d);
// d moved to another day of its month, time kept.
KEL_EXPORT TDateTime DayOfMonthDate(int day, TDateTime d);
KEL_EXPORT TDateTime FirstDayOfMonth(TDateTime d);
KEL_EXPORT TDateTime LastDayOfMonth(TDateTime d);
// The first / last day of the week that holds d (time kept); fdw 0 is LocaleFirstDayOfWeek().
KEL_EXPORT TDateTime FirstDayOfWeek(TKelFirstDayOfWeek fdw, TDateTime d);
KEL_EXPORT TDateTime LastDayOfWeek(TKelFirstDayOfWeek fdw, TDateTime d);
// The first day of week 1 of a year.
KEL_EXPORT TDateTime FirstWeekStart(int year, TKelFirstDayOfWeek fdw, TKelFirstWeekOfYear fwy);
// The week number of d, counted from the week 1 of its year, the next or the previous year.
KEL_EXPORT int WeekOfYear(TKelFirstDayOfWeek fdw, TKelFirstWeekOfYear fwy, TDateTime d);
KEL_EXPORT bool DayInSet(TKelWeekDays days, TDateTime d);
// A date pattern with a four-digit year: unless it already has "yyyy" (letter case ignored),
// its first "yy" becomes four y's in the letter of the first one: "M/d/yy" becomes "M/d/yyyy",
// "DD.MM.YY" becomes "DD.MM.YYYY".
KEL_EXPORT QString FourDigitYearFormat(const QString& format);
// d in the short date format of the format settings, made four-digit.
KEL_EXPORT QString DateToStrY2k(TDateTime d);

// ---- Text ------------------------------------------------------------------------------------

// 1-based position of sub in s at or after `from`; 0 when none, when sub is empty or longer
// than s.
KEL_EXPORT int PosFrom(const QString& sub, const QString& s, int from);
// Deletes length(oldText) characters at pos (1-based) and inserts newText there.
KEL_EXPORT void ReplaceAt(QString& s, int pos, const QString& oldText, const QString& newText);
// Every occurrence replaced left to right; the search goes on after the inserted text, so a
// replacement that contains the old text does not loop.
KEL_EXPORT void ReplaceAll(QString& s, const QString& oldText, const QString& newText);

// A named macro and the function that gives its value.
using TKelMacro = std::pair<QString, std::function<QString()>>;
using TKelMacroTable = std::vector<TKelMacro>;
// For each macro in table order, every occurrence of its name (letter case counts) is replaced
// by the function's value, left to right; the search goes on after the inserted value, so a
// value that contains the macro's own name is kept as it is.
KEL_EXPORT QString ReplaceMacros(const QString& s, const TKelMacroTable& table);

// The folder macros in their order of replacement:
//   %MONTH_DAY%     short name of the current month and the day ("Dec8")
//   %SYSTEM%        the system folder: /usr/lib/ here (shared libraries and system programs)
//   %WINDOWS%       the operating system's folder: /usr/ here
//   %PROGRAMFILES%  the install root for programs: /opt/ here ("<drive>\Program Files\" on
//                   Windows)
//   %C1_HELP% %C3_HELP% %D2_HELP% %D3_HELP% %D4_HELP%
//                   help folder of a host development environment: "RootDir" of
//                   HKEY_LOCAL_MACHINE "Software\Borland\<environment key>" + "HELP/"
//   %APPFOLDER%     the folder of the running program
//   %STARTMENU%     the user's folder of program menu entries: the XDG applications folder
//                   (~/.local/share/applications/) here
KEL_EXPORT const TKelMacroTable& FolderMacros();
// The seven host-environment keys below "Software\Borland\", as the uninstaller knows them too.
KEL_EXPORT const std::vector<QString>& HostEnvironmentKeys();
// ReplaceMacros with the folder macros, then doubled separators made single ("\\" -> "\";
// elsewhere than on Windows "\" is taken as a separator, written "/", and "//" becomes "/").
KEL_EXPORT QString ExpandFolderMacros(const QString& s);

// Adds the platform's separator to a non-empty text that does not end with one / removes one
// final separator ("/" or the platform's).
KEL_EXPORT QString IncludeTrailingBackslash(const QString& s);
KEL_EXPORT QString RemoveTrailingBackslash(const QString& s);
// s itself when its last two characters are both CR or LF; otherwise s + CR LF.
KEL_EXPORT QString EnsureLineBreak(const QString& s);
// s without the characters of `chars` / without those not in `chars`.
KEL_EXPORT QString RemoveChars(const QString& chars, const QString& s);
KEL_EXPORT QString KeepChars(const QString& chars, const QString& s);
KEL_EXPORT QString RemoveColons(const QString& s);  // RemoveChars(":", s)
KEL_EXPORT QString RemoveTildes(const QString& s);  // RemoveChars("~", s)
KEL_EXPORT QString ReplaceChar(QChar from, QChar to, const QString& s);
// The text before / after the first "="; empty for both when there is no "=".
KEL_EXPORT QString NamePart(const QString& s);
KEL_EXPORT QString ValuePart(const QString& s);
// "Filters (*.flt)|*.flt" from the category and the extension (with or without its dot).
KEL_EXPORT QString MakeFileFilter(const QString& category, const QString& extension);
KEL_EXPORT QString Spaces(int count);               // empty for count <= 0
KEL_EXPORT QString FileTitle(const QString& path);  // file name without folder and extension
KEL_EXPORT bool FolderExists(const QString& path);
KEL_EXPORT bool AltDown();  // the Alt key is down at this moment

KEL_EXPORT int Min(int a, int b);
KEL_EXPORT int Max(int a, int b);
KEL_EXPORT int Max(std::span<const int> values);  // the largest element; 0 for none
KEL_EXPORT void Swap(int& a, int& b);

// ---- Windows ---------------------------------------------------------------------------------

// Scroll bars of a scroll area (by orientation) or a scroll bar itself. The range is given the
// classic way: min..max is the whole extent and page the visible part, so the largest position
// is max - page + 1 (Qt's maximum). Qt repaints the bar itself.
KEL_EXPORT void SetScrollPosIfChanged(QAbstractScrollArea* window, Qt::Orientation bar, int pos);
KEL_EXPORT void SetScrollPosIfChanged(QScrollBar* bar, int pos);
KEL_EXPORT void SetScrollRangePage(QAbstractScrollArea* window, Qt::Orientation bar, int min,
                                   int max, int page);
KEL_EXPORT void SetScrollRangePage(QScrollBar* bar, int min, int max, int page);
KEL_EXPORT int ScrollPosOf(QAbstractScrollArea* window, Qt::Orientation bar);
KEL_EXPORT int ScrollPosOf(QScrollBar* bar);

// Dialog units in pixels: n x the horizontal base unit / 4, n x the vertical base unit / 8. The
// base units come from the widget's font (the application's font without a widget): the
// average width of the Latin letters and the font's height.
KEL_EXPORT int DialogUnitsToPixelsX(int n, const QWidget* widget = nullptr);
KEL_EXPORT int DialogUnitsToPixelsY(int n, const QWidget* widget = nullptr);

// A rectangle of inner's size centred in outer (offsets halved towards zero).
KEL_EXPORT TRect CenterRect(const TRect& inner, const TRect& outer);
KEL_EXPORT int RectWidth(const TRect& r);
KEL_EXPORT int RectHeight(const TRect& r);

}  // namespace Kel
