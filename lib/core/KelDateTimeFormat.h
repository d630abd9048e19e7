#pragma once
// Date-time format objects (unit KelClasses). Parameters are written three ways, for display,
// for a dataset filter and for SQL, and each way has a format object of its own, so SQL can
// always use ISO dates while the display follows the user's settings. A format object holds
// optional patterns, separators and AM/PM symbols; whatever is left empty falls back to the
// process-wide format settings.
//
// The separators and AM/PM symbols are process-wide settings of the formatting routines, so a
// format object puts its own into FormatSettings() for the duration of one conversion and
// restores the previous ones afterwards, also when the conversion throws. Conversions must
// therefore not run concurrently with other date-time formatting (everything runs on the GUI
// thread).

#include <QChar>
#include <QString>
#include <functional>

#include "DateUtils.h"
#include "KelExport.h"
#include "Persistent.h"

namespace Kel {

// Texts of this unit.
namespace KelClassesText {
inline constexpr const char* OrText = "or";
inline constexpr const char* AndText = "and";
}  // namespace KelClassesText

// A persistent object that reports its changes through OnChange.
class KEL_EXPORT TKelChangePersistent : public TPersistent {
  Q_OBJECT

 public:
  using TNotifyEvent = std::function<void(QObject* sender)>;

  Q_INVOKABLE explicit TKelChangePersistent(QObject* parent = nullptr);

  // Fires OnChange with this object as the sender, when assigned.
  void Changed();

  TNotifyEvent OnChange;
};

// Date and time patterns, separators and AM/PM symbols, each optional. The published form is
// TKelFltDateTimeFormat (KelFltDateTimeFormat.h); this base keeps the values and formats.
class KEL_EXPORT TKelCustomDateTimeFormat : public TKelChangePersistent {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TKelCustomDateTimeFormat(QObject* parent = nullptr);

  bool AlwaysY2k() const { return alwaysY2k_; }
  const QString& DateFormat() const { return dateFormat_; }
  const QString& TimeFormat() const { return timeFormat_; }
  QChar DateSeparator() const { return dateSeparator_; }  // null: not set
  QChar TimeSeparator() const { return timeSeparator_; }  // null: not set
  const QString& AMSymbol() const { return amSymbol_; }   // empty: not set
  const QString& PMSymbol() const { return pmSymbol_; }   // empty: not set

  // The patterns in use: the object's own or the settings' ones (date patterns made
  // four-digit when AlwaysY2k). The long patterns are always the settings' ones.
  virtual QString GetLongTimeFormat() const;
  virtual QString GetLongDateFormat() const;
  virtual QString GetTimeFormat() const;
  virtual QString GetDateFormat() const;
  virtual QString GetDateTimeFormat() const;      // date + " " + time
  virtual QString GetLongDateTimeFormat() const;  // long date + " " + long time

  // Put the object's separators and symbols into the process-wide settings, keeping the
  // replaced ones; the Restore forms put back exactly what the Apply forms replaced.
  virtual void ApplyTimeSettings();
  virtual void ApplyDateSettings();
  virtual void RestoreTimeSettings();
  virtual void RestoreDateSettings();

  QString FormatDate(TDateTime value);
  QString FormatTime(TDateTime value);
  QString FormatDateTime(TDateTime value);

 protected:
  bool alwaysY2k_ = false;
  QString dateFormat_;
  QString timeFormat_;
  QChar dateSeparator_;
  QChar timeSeparator_;
  QString amSymbol_;
  QString pmSymbol_;

 private:
  QChar savedDateSeparator_;
  QChar savedTimeSeparator_;
  QString savedAMString_;
  QString savedPMString_;
};

// A date in the settings' short date format made four-digit: the text used where no format
// object is given.
KEL_EXPORT QString FormatDateDefault(TDateTime value);

// Whether a day takes part in a date range; `data` is passed through from DateRangeCondition.
using TKelDayIncludedFunc = std::function<bool(void* data, TDateTime day)>;

// Builds into `result` a filter condition selecting the days from firstDate to lastDate (both
// included) that isDayIncluded accepts (every day without a callback): each run of accepted
// days becomes "(('<start>'<=Field) and (Field<'<day after>'))", a single day
// "(Field='<day>')", the runs joined by orText. Empty orText / andText mean "or" / "and"; without
// a format object the dates are written by FormatDateDefault, otherwise by its FormatDate. Days
// outside the calendar (before 0001 or after 9999) are not visited; a run that reaches the last
// day, 31 December 9999, is written "('<start>'<=Field)".
KEL_EXPORT void DateRangeCondition(const QString& fieldName, const QString& orText,
                                   const QString& andText, QString& result,
                                   TKelCustomDateTimeFormat* format,
                                   const TKelDayIncludedFunc& isDayIncluded, void* data,
                                   TDateTime lastDate, TDateTime firstDate);

}  // namespace Kel
