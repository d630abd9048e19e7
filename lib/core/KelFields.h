#pragma once
// Fields: named values whose data type follows the stored value. Parameters of list-box
// conditions, the evaluator's parameters and extra fields, and the records of the class-keyed
// record registry are all fields. Part of unit KelClasses.
//
// API summary
//   TKelFieldType        FT_UNK .. FT_BOOL, stored as one byte.
//   TKelField            Name, DataType, Value (a Variant). Setting a value that is neither null
//                        nor empty sets DataType from the variant's kind (a date keeps FT_DATE /
//                        FT_TIME). The collection's OnGetValue / OnSetValue events sit between
//                        the field and its storage (not while designing). AsString(forDisplay)
//                        gives the filter form (false) or the display form (true) of the value,
//                        finished by the collection's FormatValue. ConvertDataType converts the
//                        held value where a conversion makes sense and clears it otherwise.
//                        The value travels in component streams as the defined property
//                        "DataValue", one typed value.
//   TKelFields           the collection: GetValueByName / SetValueByName (AutoAdd adds unknown
//                        names), OnGetValue, OnSetValue, OnGetAsString, virtual FormatValue.
//   ParseParams          finds the ":Name" placeholders of a text (quotes, "::" for a colon,
//                        quoted names), makes one field per placeholder and returns the text with
//                        "?" in their places.
//   RefreshParams        the same, keeping the values the user already gave to the names that
//                        stay.
//   SubstituteParams     puts the fields' values (quoted for text-like types, quotes inside
//                        doubled) where the text names them, in one pass over the text.
//   Record registry      process-wide named lists of records (TKelFields with AutoAdd) keyed by
//                        class, used for the keyboard layouts of the controls.

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "KelExport.h"
#include "KelNamedItems.h"
#include "Variant.h"

namespace Kel {

class TReader;
class TWriter;

namespace KelFieldTypes {
Q_NAMESPACE_EXPORT(KEL_EXPORT)

enum TKelFieldType : uint8_t {
  FT_UNK = 0,
  FT_INT = 1,
  FT_DATETIME = 2,
  FT_DATE = 3,
  FT_TIME = 4,
  FT_CURRENCY = 5,
  FT_FLOAT = 6,
  FT_STRING = 7,
  FT_BOOL = 8,
};
Q_ENUM_NS(TKelFieldType)

}  // namespace KelFieldTypes
using namespace KelFieldTypes;

// The field type that a stored variant implies; a date keeps FT_DATE or FT_TIME when the field
// had one of them.
KEL_EXPORT TKelFieldType TypeOfVariant(const Variant& value, TKelFieldType oldType);

// Resource texts of the field values.
namespace KelFieldText {
inline constexpr const char* True = "True";
inline constexpr const char* False = "False";
}  // namespace KelFieldText

class TKelFields;

class KEL_EXPORT TKelField : public TKelLinkedItem {
  Q_OBJECT
  Q_PROPERTY(Kel::KelFieldTypes::TKelFieldType DataType READ DataType WRITE SetDataType)
  Q_CLASSINFO("default:DataType", "FT_UNK")
  Q_PROPERTY(QString Name READ Name WRITE SetName)
  Q_PROPERTY(bool IsNull READ IsNull WRITE SetIsNull)
  Q_PROPERTY(Kel::Variant Value READ Value WRITE SetValue)

 public:
  Q_INVOKABLE explicit TKelField(TCollection* collection);
  ~TKelField() override;

  TKelFields* Fields() const;

  // ---- value
  Variant Value() const;
  void SetValue(const Variant& value) { StoreValue(value, true); }
  // Stores value (its kind decides DataType unless it is null or empty), through OnSetValue
  // when that is assigned; notify reports the change.
  void StoreValue(const Variant& value, bool notify);
  bool IsNull() const;
  void SetIsNull(bool value);  // true clears; false does nothing
  void Clear();

  TKelFieldType DataType() const { return dataType_; }
  // Clears the value, then takes the new type.
  void SetDataType(TKelFieldType value);
  // Converts the held value to newType where that makes sense, else clears it.
  void ConvertDataType(TKelFieldType newType);

  QString ValuePrefix() const { return valuePrefix_; }
  void SetValuePrefix(const QString& value);
  QString ValueSuffix() const { return valueSuffix_; }
  void SetValueSuffix(const QString& value);

  // ---- typed access
  void SetAsInteger(int value) { SetValue(Variant(value)); }
  void SetAsFloat(double value) { SetValue(Variant(value)); }
  void SetAsCurrency(Currency value) { SetValue(Variant(value)); }
  void SetAsBoolean(bool value) { SetValue(Variant(value)); }
  void SetAsString(const QString& value) { SetValue(Variant(value)); }
  void SetAsDateTime(TDateTime value) { SetValue(Variant::FromDate(value)); }
  // Store d / t as a date without cutting it, and force FT_DATE / FT_TIME.
  void SetAsDate(TDateTime d);
  void SetAsTime(TDateTime t);
  // Stores value and forces type (a value's kind alone cannot tell a date from a time or a
  // date-time), with one change report.
  void StoreWithType(const Variant& value, TKelFieldType type);
  int AsInteger() const { return Value().AsInteger(); }
  double AsFloat() const { return Value().AsDouble(); }
  Currency AsCurrency() const { return Value().AsCurrency(); }
  bool AsBoolean() const;        // false when null
  TDateTime AsDateTime() const;  // 0 when null
  // The filter form (forDisplay false) or the display form of the value.
  QString AsString(bool forDisplay = false) const;
  QString AsDisplayString() const { return AsString(true); }

  void Assign(TPersistent* source) override;
  void DefineProperties(TFiler& filer) override;
  bool IsPropertyStored(const char* name) const override;

 protected:
  // Where the value lives; descendants may keep it elsewhere (a dataset field).
  virtual void ReadStoredValue(Variant& value) const { value = storedValue_; }
  virtual void WriteStoredValue(const Variant& value) { storedValue_ = value; }

 private:
  void ReadDataValue(TReader& reader);
  void WriteDataValue(TWriter& writer);
  bool DataValueDiffers(TFiler& filer) const;

  Variant storedValue_;
  TKelFieldType dataType_ = FT_UNK;
  QString valuePrefix_;
  QString valueSuffix_;
};

// (Sender: the field; its name; the value read or about to be written)
using TKelOnGetValue = std::function<void(QObject* sender, const QString& name, Variant& value)>;
// (Sender: the collection; the field; the text to finish; display form or filter form)
using TKelOnGetAsString =
    std::function<void(QObject* sender, TKelField* field, QString& result, bool forDisplay)>;

class KEL_EXPORT TKelFields : public TKelNamedItems {
  Q_OBJECT

 public:
  explicit TKelFields(QObject* owner = nullptr,
                      const QMetaObject& itemClass = TKelField::staticMetaObject);
  ~TKelFields() override;

  // A new, empty collection of the same class and item class with the same owner (the classic
  // virtual constructor). Descendants override it to make their own class.
  virtual std::unique_ptr<TKelFields> CreateLike() const;

  TKelField* Items(int index) const { return TCollection::Items<TKelField>(index); }
  TKelField* Add() { return TCollection::Add<TKelField>(); }
  TKelField* FieldByName(const QString& name) const;

  Variant GetValueByName(const QString& name) const;
  void SetValueByName(const QString& name, const Variant& value);

  bool AutoAdd() const { return autoAdd_; }
  void SetAutoAdd(bool value) { autoAdd_ = value; }

  // Turns a value's text into its final form; fires OnGetAsString by default.
  virtual void FormatValue(TKelField* field, QString& result, bool forDisplay);

  TKelOnGetValue OnGetValue;
  TKelOnGetValue OnSetValue;
  TKelOnGetAsString OnGetAsString;

 private:
  bool autoAdd_ = false;
};

// ---- placeholders

// Scans text for ":Name" placeholders. With create, fields is cleared first and one field per
// placeholder is added in order of appearance. Returns text with each placeholder replaced by "?"
// and each "::" by ":".
KEL_EXPORT QString ParseParams(TKelFields* fields, const QString& text, bool create);
// The names of the placeholders of text, in order (a name met twice is listed twice).
KEL_EXPORT QStringList ParamNames(const QString& text);
// Re-derives fields from text; fields of the same name that the new parse leaves null get the
// old field back (all its properties and its value).
KEL_EXPORT void RefreshParams(TKelFields* fields, const QString& text);
// The text of a field's value as it goes into filter and SQL text: prefix + filter text +
// suffix, in single quotes for date, time and string types with a quote inside doubled.
KEL_EXPORT QString ParamValueText(const TKelField* field);
// Puts each field's value (prefix + filter text + suffix; for date, time and string types in
// single quotes, a quote inside doubled) where the text has ":" + the field's name. The text is
// read once from left to right: at each ":" the first field in collection order whose name
// follows takes the place (so ":N" also replaces the start of ":Name"), and a value put in is
// never searched for placeholders itself.
KEL_EXPORT QString SubstituteParams(const QString& text, const TKelFields* fields);

// ---- class-keyed record registry

using TKelRecordList = std::vector<std::unique_ptr<TKelFields>>;

// Adds a record to the list listName (made on first use) with names[i] set to values[i].
KEL_EXPORT void RegisterRecord(const QString& listName, const QStringList& names,
                               const std::vector<Variant>& values);
// The records of a list, or nullptr when no record was registered under that name.
KEL_EXPORT const TKelRecordList* FindRecords(const QString& listName);
// The records of listName whose fieldName holds a class that is cls or an ancestor of it, in
// registration order.
KEL_EXPORT void RecordsForClass(const QString& listName, const QString& fieldName,
                                const QMetaObject* cls, std::vector<TKelFields*>& result);
// The first record whose values of names equal values (variant comparison), or nullptr.
KEL_EXPORT TKelFields* FindRecord(const std::vector<TKelFields*>& records, const QStringList& names,
                                  const std::vector<Variant>& values);

// Class references and procedures travel in records as integers.
KEL_EXPORT Variant ClassRefToVariant(const QMetaObject* cls);
KEL_EXPORT const QMetaObject* VariantToClassRef(const Variant& value);

// Keyboard layouts: a procedure that fills a control's key list.
using TKelKeyboardProc = void (*)(QObject* control);
KEL_EXPORT void RegisterKeyboardProc(const QMetaObject* cls, const QString& procName,
                                     TKelKeyboardProc proc);
// The procedure registered first for cls or an ancestor under procName, or nullptr.
KEL_EXPORT TKelKeyboardProc FindKeyboardProc(const QMetaObject* cls, const QString& procName);

}  // namespace Kel
