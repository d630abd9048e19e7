#pragma once
// TField and its subclasses: one field of a dataset, read and written through the dataset's
// current record (or, for a grid, any record), with typed accessors and text forms.
//
// API summary
//   Identity     FieldName, DisplayLabel (DisplayName: the label, else the name), DataType,
//                FieldKind (fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate),
//                Size, Visible, ReadOnly, Required, IsBlob(), Index() (position in the
//                dataset's fields), FieldNo() (Index() + 1)
//   Values       Value / SetValue (Variant, converted to the field's type), AsString,
//                AsInteger, AsLargeInt, AsFloat, AsCurrency, AsDateTime, AsBoolean, AsBytes and
//                their setters, IsNull, Clear. Reading a field of a closed dataset gives Null
//                (the As... readers then give 0, '', False); writing needs dsEdit or dsInsert
//                ("Dataset not in edit or insert mode"). Setting text ("") clears the value.
//   Text         DisplayText (for showing), Text (for editing); OnGetText / OnSetText hooks
//   Lookup       LookupDataSet (watched by free notification), LookupKeyFields,
//                LookupResultField, KeyFields (";"-separated names): a lookup field's value is
//                LookupResultField of the LookupDataSet record whose LookupKeyFields equal this
//                dataset's KeyFields
//   Events       OnChange (after a value was set), OnValidate (before; may raise)
//
// Fields are components: usually owned by their dataset (CreateField); deleting a field takes
// it out of its dataset. Create a field of the class that suits a field type with CreateField.

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

#include "Component.h"
#include "DBTypes.h"
#include "PlatformExport.h"
#include "Variant.h"

namespace Kel {

class TDataSet;

class KEL_PLATFORM_EXPORT TField : public TComponent {
  Q_OBJECT
  Q_MOC_INCLUDE("DataSet.h")
  Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
  Q_PROPERTY(QString DisplayLabel READ DisplayLabel WRITE SetDisplayLabel)
  Q_PROPERTY(Kel::DB::TFieldKind FieldKind READ FieldKind WRITE SetFieldKind)
  Q_CLASSINFO("default:FieldKind", "fkData")
  Q_PROPERTY(int Size READ Size WRITE SetSize)
  Q_CLASSINFO("default:Size", "0")
  Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
  Q_CLASSINFO("default:Visible", "True")
  Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
  Q_CLASSINFO("default:ReadOnly", "False")
  Q_PROPERTY(bool Required READ Required WRITE SetRequired)
  Q_CLASSINFO("default:Required", "False")
  Q_PROPERTY(Kel::TDataSet* LookupDataSet READ LookupDataSet WRITE SetLookupDataSet)
  Q_PROPERTY(QString LookupKeyFields READ LookupKeyFields WRITE SetLookupKeyFields)
  Q_PROPERTY(QString LookupResultField READ LookupResultField WRITE SetLookupResultField)
  Q_PROPERTY(QString KeyFields READ KeyFields WRITE SetKeyFields)

 public:
  Q_INVOKABLE explicit TField(TComponent* owner = nullptr);
  ~TField() override;

  TDataSet* DataSet() const { return dataSet_; }
  // Adds the field to a dataset's fields (taking it out of its former dataset's); the dataset
  // must be closed.
  void SetDataSet(TDataSet* dataSet);

  QString FieldName() const { return fieldName_; }
  void SetFieldName(const QString& name);
  QString DisplayLabel() const { return displayLabel_.isEmpty() ? fieldName_ : displayLabel_; }
  void SetDisplayLabel(const QString& label);
  QString DisplayName() const { return DisplayLabel(); }
  TFieldType DataType() const { return dataType_; }
  TFieldKind FieldKind() const { return fieldKind_; }
  void SetFieldKind(TFieldKind kind);
  bool Calculated() const { return fieldKind_ == fkCalculated || fieldKind_ == fkInternalCalc; }
  bool Lookup() const { return fieldKind_ == fkLookup; }
  virtual bool IsBlob() const { return false; }
  int Size() const { return size_; }
  void SetSize(int size);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool Required() const { return required_; }
  void SetRequired(bool required) { required_ = required; }
  int Index() const;
  int FieldNo() const { return Index() + 1; }

  // --- values
  Variant Value() const;
  void SetValue(const Variant& value);
  bool IsNull() const { return Value().IsEmptyOrNull(); }
  void Clear() { SetValue(Variant::Null()); }
  QString AsString() const;
  void SetAsString(const QString& text);
  int AsInteger() const;
  void SetAsInteger(int value) { SetValue(Variant(value)); }
  int64_t AsLargeInt() const;
  void SetAsLargeInt(int64_t value) { SetValue(Variant(value)); }
  double AsFloat() const;
  void SetAsFloat(double value) { SetValue(Variant(value)); }
  Currency AsCurrency() const;
  void SetAsCurrency(Currency value) { SetValue(Variant(value)); }
  TDateTime AsDateTime() const;
  void SetAsDateTime(TDateTime value) { SetValue(Variant::FromDate(value)); }
  bool AsBoolean() const;
  void SetAsBoolean(bool value) { SetValue(Variant(value)); }
  QByteArray AsBytes() const;
  void SetAsBytes(const QByteArray& bytes);
  // The value of this field in another record of the dataset (0-based position among the
  // records the dataset shows), without moving the cursor: what a grid paints.
  Variant ValueAt(int recordIndex) const;

  // --- text
  QString DisplayText() const { return GetText(true); }
  QString Text() const { return GetText(false); }
  void SetText(const QString& text);
  QString DisplayTextAt(int recordIndex) const;

  // --- lookup
  TDataSet* LookupDataSet() const { return lookupDataSet_; }
  void SetLookupDataSet(TDataSet* dataSet);
  QString LookupKeyFields() const { return lookupKeyFields_; }
  void SetLookupKeyFields(const QString& names) { lookupKeyFields_ = names; }
  QString LookupResultField() const { return lookupResultField_; }
  void SetLookupResultField(const QString& name) { lookupResultField_ = name; }
  QString KeyFields() const { return keyFields_; }
  void SetKeyFields(const QString& names) { keyFields_ = names; }

  std::function<void(TField* sender, QString& text, bool displayText)> OnGetText;
  std::function<void(TField* sender, const QString& text)> OnSetText;
  std::function<void(TField* sender)> OnChange;
  std::function<void(TField* sender)> OnValidate;

 protected:
  void SetDataType(TFieldType type) { dataType_ = type; }
  // The text of a value: displayText picks the form for showing.
  virtual QString FormatValue(const Variant& value, bool displayText) const;
  virtual QString GetText(bool displayText) const;
  // Text typed by a user, turned into a value of this field's type.
  virtual Variant TextToValue(const QString& text) const;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TDataSet;
  friend class TDataSetRowSource;
  friend TField* CreateField(TDataSet*, const QString&, TFieldType, int, TComponent*);
  QString TextOf(const Variant& value, bool displayText) const;

  TDataSet* dataSet_ = nullptr;
  QString fieldName_;
  QString displayLabel_;
  TFieldType dataType_ = ftUnknown;
  TFieldKind fieldKind_ = fkData;
  int size_ = 0;
  bool visible_ = true;
  bool readOnly_ = false;
  bool required_ = false;
  TDataSet* lookupDataSet_ = nullptr;
  QString lookupKeyFields_;
  QString lookupResultField_;
  QString keyFields_;
  int column_ = -1;  // the record store column of a bound data field
};

// --- strings ------------------------------------------------------------------------------------

class KEL_PLATFORM_EXPORT TStringField : public TField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TStringField(TComponent* owner = nullptr);
};

class KEL_PLATFORM_EXPORT TWideStringField : public TStringField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TWideStringField(TComponent* owner = nullptr);
};

class KEL_PLATFORM_EXPORT TGuidField : public TStringField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TGuidField(TComponent* owner = nullptr);
};

// --- numbers ------------------------------------------------------------------------------------

class KEL_PLATFORM_EXPORT TNumericField : public TField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TNumericField(TComponent* owner = nullptr);

 protected:
  Variant TextToValue(const QString& text) const override;
};

class KEL_PLATFORM_EXPORT TIntegerField : public TNumericField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TIntegerField(TComponent* owner = nullptr);
};

class KEL_PLATFORM_EXPORT TSmallintField : public TIntegerField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TSmallintField(TComponent* owner = nullptr);
};

class KEL_PLATFORM_EXPORT TWordField : public TIntegerField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TWordField(TComponent* owner = nullptr);
};

class KEL_PLATFORM_EXPORT TAutoIncField : public TIntegerField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TAutoIncField(TComponent* owner = nullptr);
};

class KEL_PLATFORM_EXPORT TLargeintField : public TNumericField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TLargeintField(TComponent* owner = nullptr);
};

class KEL_PLATFORM_EXPORT TFloatField : public TNumericField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TFloatField(TComponent* owner = nullptr);
};

class KEL_PLATFORM_EXPORT TCurrencyField : public TFloatField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TCurrencyField(TComponent* owner = nullptr);
};

class KEL_PLATFORM_EXPORT TBCDField : public TNumericField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TBCDField(TComponent* owner = nullptr);
};

// --- Booleans, dates and times ------------------------------------------------------------------

class KEL_PLATFORM_EXPORT TBooleanField : public TField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TBooleanField(TComponent* owner = nullptr);

 protected:
  Variant TextToValue(const QString& text) const override;
};

class KEL_PLATFORM_EXPORT TDateTimeField : public TField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TDateTimeField(TComponent* owner = nullptr);

 protected:
  QString FormatValue(const Variant& value, bool displayText) const override;
  Variant TextToValue(const QString& text) const override;
};

class KEL_PLATFORM_EXPORT TDateField : public TDateTimeField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TDateField(TComponent* owner = nullptr);
};

class KEL_PLATFORM_EXPORT TTimeField : public TDateTimeField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TTimeField(TComponent* owner = nullptr);
};

// --- binary data --------------------------------------------------------------------------------

class KEL_PLATFORM_EXPORT TBinaryField : public TField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TBinaryField(TComponent* owner = nullptr);

 protected:
  QString FormatValue(const Variant& value, bool displayText) const override;
};

class KEL_PLATFORM_EXPORT TBytesField : public TBinaryField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TBytesField(TComponent* owner = nullptr);
};

class KEL_PLATFORM_EXPORT TVarBytesField : public TBytesField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TVarBytesField(TComponent* owner = nullptr);
};

// Blobs show a marker in grids: "(BLOB)" / "(MEMO)" / "(GRAPHIC)", in capitals when the value is
// not empty.
class KEL_PLATFORM_EXPORT TBlobField : public TField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TBlobField(TComponent* owner = nullptr);
  bool IsBlob() const override { return true; }

 protected:
  QString FormatValue(const Variant& value, bool displayText) const override;
  virtual QString BlobMarker() const { return QStringLiteral("Blob"); }
};

class KEL_PLATFORM_EXPORT TMemoField : public TBlobField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TMemoField(TComponent* owner = nullptr);

 protected:
  QString BlobMarker() const override { return QStringLiteral("Memo"); }
};

class KEL_PLATFORM_EXPORT TGraphicField : public TBlobField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TGraphicField(TComponent* owner = nullptr);

 protected:
  QString BlobMarker() const override { return QStringLiteral("Graphic"); }
};

// --- structured kinds ---------------------------------------------------------------------------

class KEL_PLATFORM_EXPORT TVariantField : public TField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TVariantField(TComponent* owner = nullptr);
};

class KEL_PLATFORM_EXPORT TObjectField : public TField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TObjectField(TComponent* owner = nullptr);
};

class KEL_PLATFORM_EXPORT TADTField : public TObjectField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TADTField(TComponent* owner = nullptr);
};

class KEL_PLATFORM_EXPORT TArrayField : public TObjectField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TArrayField(TComponent* owner = nullptr);
};

class KEL_PLATFORM_EXPORT TDataSetField : public TObjectField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TDataSetField(TComponent* owner = nullptr);
};

class KEL_PLATFORM_EXPORT TReferenceField : public TDataSetField {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TReferenceField(TComponent* owner = nullptr);
};

// --- creating fields by type --------------------------------------------------------------------

// The class that holds values of a field type: TStringField for ftString, TMemoField for ftMemo
// and ftFmtMemo, TIntegerField for ftInteger, ... TField for types without a class of their own.
KEL_PLATFORM_EXPORT const QMetaObject& FieldClassOf(TFieldType type);

// Creates a field of the class for type (its DataType set to type, so ftFmtMemo gives a memo
// field of type ftFmtMemo), named name, and adds it to dataSet (when given). The owner frees it;
// it defaults to the dataset. If adding fails (a duplicate name, an open dataset) the field is
// freed and the error travels on.
KEL_PLATFORM_EXPORT TField* CreateField(TDataSet* dataSet, const QString& name, TFieldType type,
                                        int size = 0, TComponent* owner = nullptr);

}  // namespace Kel
