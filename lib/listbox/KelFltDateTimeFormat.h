#pragma once
// TKelFltDateTimeFormat: the published date-time format object of the list box and the filter
// builder (unit KelListBox). Every value is optional: empty patterns and symbols and null
// separators fall back to the process-wide format settings.

#include "KelDateTimeFormat.h"
#include "KelExport.h"

namespace Kel {

class KEL_EXPORT TKelFltDateTimeFormat : public TKelCustomDateTimeFormat {
  Q_OBJECT
  Q_PROPERTY(QChar DateSeparator READ DateSeparator WRITE SetDateSeparator)
  Q_CLASSINFO("default:DateSeparator", "#0")
  Q_PROPERTY(QChar TimeSeparator READ TimeSeparator WRITE SetTimeSeparator)
  Q_CLASSINFO("default:TimeSeparator", "#0")
  Q_PROPERTY(QString AMSymbol READ AMSymbol WRITE SetAMSymbol)
  Q_PROPERTY(QString PMSymbol READ PMSymbol WRITE SetPMSymbol)
  Q_PROPERTY(QString DateFormat READ DateFormat WRITE SetDateFormat)
  Q_PROPERTY(QString TimeFormat READ TimeFormat WRITE SetTimeFormat)
  Q_PROPERTY(bool AlwaysY2k READ AlwaysY2k WRITE SetAlwaysY2k)
  Q_CLASSINFO("default:AlwaysY2k", "False")

 public:
  Q_INVOKABLE explicit TKelFltDateTimeFormat(QObject* parent = nullptr);

  // Each setter stores a different value and then calls Changed.
  void SetDateSeparator(QChar value);
  void SetTimeSeparator(QChar value);
  void SetAMSymbol(const QString& value);
  void SetPMSymbol(const QString& value);
  void SetDateFormat(const QString& value);
  void SetTimeFormat(const QString& value);
  // Stored without notification.
  void SetAlwaysY2k(bool value) { alwaysY2k_ = value; }

  // From another date-time format object: its seven published values, each through its setter.
  void Assign(TPersistent* source) override;
};

}  // namespace Kel
