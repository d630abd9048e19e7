#pragma once
// Operation templates of the filter builder and the date macros they use (unit KelFltBox).
//
// A template says how one kind of condition reads in the list (Caption, CaptionID) and what it
// writes into filter and SQL text (Filter, with ":Field", the value placeholders ":Value" /
// ":Value1" / ":Value2" and date macros such as ":SYSTODAY"). Templates are grouped by
// category ("Text", "Number", "Date", ...); a field belongs to one category and may use the
// templates of that category whose UsageID AllowedUsageIDs lets through.
//
// API summary
//   TKelFltBoxTemplate   Category, Caption, CaptionID, Filter, UsageID, ValuePrefix,
//                        ValueSuffix; every change is reported to the collection.
//   TKelFltBoxTemplates  LoadDefaults() (the built-in rows, then the process-wide hook),
//                        Offered(category, allowedUsageIDs), FirstOffered, Find(category,
//                        text) (ignoring case and "~", whatever AllowedUsageIDs says).
//   UsageAllowed         the AllowedUsageIDs test: whole entries of a "," or ";" list.
//   Categories           CategoryText(kind) gives the translated name; CategoryOfFieldType
//                        maps a dataset field type onto its category.
//   Date macros          DateMacros(): SYSTODAY, SYSLastWeek1, ... as FT_DATE fields, computed
//                        once by InitDateMacros() (the first builder calls it) and kept for the
//                        life of the process. SetDateMacrosToday rebuilds them for a given day
//                        (tests, and programs that pin the day).

#include <QList>
#include <QString>
#include <functional>

#include "DBTypes.h"
#include "KelExport.h"
#include "KelFields.h"

namespace Kel {

namespace KelFltText {
// Template categories.
inline constexpr const char* CatUnknown = "Unknown";
inline constexpr const char* CatText = "Text";
inline constexpr const char* CatNumber = "Number";
inline constexpr const char* CatBoolean = "Boolean";
inline constexpr const char* CatDate = "Date";
inline constexpr const char* CatTime = "Time";
inline constexpr const char* CatMemo = "Memo";
// The caption of the templates with two values.
inline constexpr const char* TwoValueCaption = ":Field :Template :Value1 and :Value2";
}  // namespace KelFltText

enum class TKelFltCategory { Unknown, Text, Number, Boolean, Date, Time, Memo };

// The translated name of a category.
KEL_EXPORT QString CategoryText(TKelFltCategory category);
// The category of a dataset field type, as its translated name.
KEL_EXPORT QString CategoryOfFieldType(TFieldType type);

class KEL_EXPORT TKelFltBoxTemplate : public TKelNamedItem {
  Q_OBJECT
  Q_PROPERTY(QString Category READ Category WRITE SetCategory)
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(QString CaptionID READ CaptionID WRITE SetCaptionID)
  Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
  Q_PROPERTY(int UsageID READ UsageID WRITE SetUsageID)
  Q_CLASSINFO("default:UsageID", "0")
  Q_PROPERTY(QString ValuePrefix READ ValuePrefix WRITE SetValuePrefix)
  Q_PROPERTY(QString ValueSuffix READ ValueSuffix WRITE SetValueSuffix)

 public:
  Q_INVOKABLE explicit TKelFltBoxTemplate(TCollection* collection);

  QString Category() const { return category_; }
  void SetCategory(const QString& value) { Store(category_, value); }
  QString Caption() const { return caption_; }
  void SetCaption(const QString& value) { Store(caption_, value); }
  QString CaptionID() const { return captionID_; }
  void SetCaptionID(const QString& value) { Store(captionID_, value); }
  QString Filter() const { return filter_; }
  void SetFilter(const QString& value) { Store(filter_, value); }
  int UsageID() const { return usageID_; }
  void SetUsageID(int value);
  QString ValuePrefix() const { return valuePrefix_; }
  void SetValuePrefix(const QString& value) { Store(valuePrefix_, value); }
  QString ValueSuffix() const { return valueSuffix_; }
  void SetValueSuffix(const QString& value) { Store(valueSuffix_, value); }

  // "Category.[CaptionID]" when both are set.
  QString GetDisplayName() const override;

 private:
  void Store(QString& field, const QString& value);

  QString category_;
  QString caption_;
  QString captionID_;
  QString filter_;
  int usageID_ = 0;
  QString valuePrefix_;
  QString valueSuffix_;
};

class KEL_EXPORT TKelFltBoxTemplates : public TKelNamedItems {
  Q_OBJECT

 public:
  explicit TKelFltBoxTemplates(QObject* owner = nullptr);

  TKelFltBoxTemplate* Items(int index) const { return TCollection::Items<TKelFltBoxTemplate>(index); }
  TKelFltBoxTemplate* Add() { return TCollection::Add<TKelFltBoxTemplate>(); }

  // Replaces the templates by the built-in ones, then lets the process-wide hook alter them.
  void LoadDefaults();
  // The templates of a category (ignoring case) that allowedUsageIDs lets through, in order.
  QList<TKelFltBoxTemplate*> Offered(const QString& category, const QString& allowedUsageIDs) const;
  TKelFltBoxTemplate* FirstOffered(const QString& category, const QString& allowedUsageIDs) const;
  // The first template of the category whose CaptionID equals text, both compared ignoring case
  // and without "~".
  TKelFltBoxTemplate* Find(const QString& category, const QString& text) const;
};

// Whether a template of usage usageID passes allowedUsageIDs: an empty list passes all,
// otherwise the number must be a whole entry of the "," or ";" separated list.
KEL_EXPORT bool UsageAllowed(int usageID, const QString& allowedUsageIDs);

// The process-wide hook that may alter or extend the default templates of every builder; none
// by default.
using TKelDefaultTemplatesHook = std::function<void(TKelFltBoxTemplates* templates)>;
KEL_EXPORT void SetDefaultTemplatesHook(TKelDefaultTemplatesHook hook);

// ---- date macros

// The names of the date macros, in table order.
KEL_EXPORT const QStringList& DateMacroNames();
// The macro table, built on first use.
KEL_EXPORT const TKelFields& DateMacros();
// Builds the macro table from today's date unless it exists already.
KEL_EXPORT void InitDateMacros();
// Rebuilds the macro table for the given day.
KEL_EXPORT void SetDateMacrosToday(TDateTime today);
// The macro of that name (ignoring case), or nullptr.
KEL_EXPORT const TKelField* FindDateMacro(const QString& name);

}  // namespace Kel
