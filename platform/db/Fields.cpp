#include "Fields.h"

#include <memory>

#include "DBConsts.h"
#include "DataSet.h"
#include "DateTimeFormat.h"
#include "NumberFormat.h"
#include "StrUtils.h"

namespace Kel {

TField::TField(TComponent* owner) : TComponent(owner) {}

TField::~TField() {
  if (dataSet_) dataSet_->RemoveField(this);
}

void TField::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  TDataSet* old = dataSet_;
  if (old) old->CheckInactive();
  if (dataSet) dataSet->AddField(this);  // may refuse: nothing has changed then
  if (old) {
    old->RemoveField(this);
    dataSet_ = dataSet;
  }
}

void TField::SetFieldName(const QString& name) {
  if (name == fieldName_) return;
  if (dataSet_) {
    dataSet_->CheckInactive();
    if (TField* other = dataSet_->FindField(name); other && other != this)
      DatabaseError(DBText::DuplicateFieldName, name);
  }
  fieldName_ = name;
}

void TField::SetDisplayLabel(const QString& label) {
  // A label equal to the name is no label of its own.
  displayLabel_ = label == fieldName_ ? QString() : label;
}

void TField::SetFieldKind(TFieldKind kind) {
  if (kind == fieldKind_) return;
  if (dataSet_) dataSet_->CheckInactive();
  fieldKind_ = kind;
}

void TField::SetSize(int size) {
  if (dataSet_) dataSet_->CheckInactive();
  size_ = size < 0 ? 0 : size;
}

void TField::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (dataSet_) dataSet_->DataEvent(deLayoutChange);
}

int TField::Index() const { return dataSet_ ? dataSet_->Fields().IndexOf(this) : -1; }

Variant TField::Value() const { return dataSet_ ? dataSet_->FieldValue(this) : Variant::Null(); }

void TField::SetValue(const Variant& value) {
  if (!dataSet_) DatabaseError(DBText::DataSetClosed);
  dataSet_->SetFieldValue(this, value);
}

Variant TField::ValueAt(int recordIndex) const {
  return dataSet_ ? dataSet_->RecordValue(recordIndex, this) : Variant::Null();
}

QString TField::AsString() const { return FormatValue(Value(), false); }

void TField::SetAsString(const QString& text) { SetValue(TextToValue(text)); }

int TField::AsInteger() const {
  const Variant value = Value();
  return value.IsEmptyOrNull() ? 0 : value.AsInteger();
}

int64_t TField::AsLargeInt() const {
  const Variant value = Value();
  return value.IsEmptyOrNull() ? 0 : value.AsInt64();
}

double TField::AsFloat() const {
  const Variant value = Value();
  return value.IsEmptyOrNull() ? 0 : value.AsDouble();
}

Currency TField::AsCurrency() const {
  const Variant value = Value();
  return value.IsEmptyOrNull() ? Currency() : value.AsCurrency();
}

TDateTime TField::AsDateTime() const {
  const Variant value = Value();
  return value.IsEmptyOrNull() ? 0 : value.AsDate();
}

bool TField::AsBoolean() const {
  const Variant value = Value();
  return value.IsEmptyOrNull() ? false : value.AsBoolean();
}

QByteArray TField::AsBytes() const {
  // Binary values travel as text of one character per byte.
  const Variant value = Value();
  return value.IsEmptyOrNull() ? QByteArray() : value.AsString().toLatin1();
}

void TField::SetAsBytes(const QByteArray& bytes) { SetValue(Variant(QString::fromLatin1(bytes))); }

QString TField::FormatValue(const Variant& value, bool) const {
  return value.IsEmptyOrNull() ? QString() : value.AsString();
}

QString TField::TextOf(const Variant& value, bool displayText) const {
  return FormatValue(value, displayText);
}

QString TField::GetText(bool displayText) const {
  QString text = FormatValue(Value(), displayText);
  if (OnGetText) OnGetText(const_cast<TField*>(this), text, displayText);
  return text;
}

QString TField::DisplayTextAt(int recordIndex) const {
  return FormatValue(ValueAt(recordIndex), true);
}

void TField::SetText(const QString& text) {
  if (OnSetText)
    OnSetText(this, text);
  else
    SetValue(TextToValue(text));
}

Variant TField::TextToValue(const QString& text) const {
  if (IsStringFieldType(dataType_)) return Variant(text);
  return text.isEmpty() ? Variant::Null() : Variant(text);
}

void TField::SetLookupDataSet(TDataSet* dataSet) {
  if (dataSet == lookupDataSet_) return;
  if (lookupDataSet_) RemoveFreeNotification(lookupDataSet_);
  lookupDataSet_ = dataSet;
  if (lookupDataSet_) FreeNotification(lookupDataSet_);
}

void TField::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == lookupDataSet_) lookupDataSet_ = nullptr;
}

// --- strings ------------------------------------------------------------------------------------

TStringField::TStringField(TComponent* owner) : TField(owner) {
  SetDataType(ftString);
  SetSize(20);
}

TWideStringField::TWideStringField(TComponent* owner) : TStringField(owner) {
  SetDataType(ftWideString);
}

TGuidField::TGuidField(TComponent* owner) : TStringField(owner) {
  SetDataType(ftGuid);
  SetSize(38);
}

// --- numbers ------------------------------------------------------------------------------------

TNumericField::TNumericField(TComponent* owner) : TField(owner) {}

Variant TNumericField::TextToValue(const QString& text) const {
  const QString trimmed = Trim(text);
  if (trimmed.isEmpty()) return Variant::Null();
  if (IsIntegerFieldType(DataType())) {
    int64_t value = 0;
    if (!TryStrToInt64(trimmed, value))
      throw EConvertError(RtlMessage(RtlText::InvalidInteger, text));
    return Variant(value);
  }
  double value = 0;
  if (!TryStrToFloat(trimmed, value)) throw EConvertError(RtlMessage(RtlText::InvalidFloat, text));
  return Variant(value);
}

TIntegerField::TIntegerField(TComponent* owner) : TNumericField(owner) { SetDataType(ftInteger); }
TSmallintField::TSmallintField(TComponent* owner) : TIntegerField(owner) {
  SetDataType(ftSmallint);
}
TWordField::TWordField(TComponent* owner) : TIntegerField(owner) { SetDataType(ftWord); }
TAutoIncField::TAutoIncField(TComponent* owner) : TIntegerField(owner) { SetDataType(ftAutoInc); }
TLargeintField::TLargeintField(TComponent* owner) : TNumericField(owner) {
  SetDataType(ftLargeint);
}
TFloatField::TFloatField(TComponent* owner) : TNumericField(owner) { SetDataType(ftFloat); }
TCurrencyField::TCurrencyField(TComponent* owner) : TFloatField(owner) { SetDataType(ftCurrency); }
TBCDField::TBCDField(TComponent* owner) : TNumericField(owner) { SetDataType(ftBCD); }

// --- Booleans, dates and times ------------------------------------------------------------------

TBooleanField::TBooleanField(TComponent* owner) : TField(owner) { SetDataType(ftBoolean); }

Variant TBooleanField::TextToValue(const QString& text) const {
  const QString trimmed = Trim(text);
  if (trimmed.isEmpty()) return Variant::Null();
  // "T", "tr", "true" ... and "F", "fa", "false" ...
  if (QStringLiteral("TRUE").startsWith(trimmed, Qt::CaseInsensitive)) return Variant(true);
  if (QStringLiteral("FALSE").startsWith(trimmed, Qt::CaseInsensitive)) return Variant(false);
  throw EConvertError(RtlMessage(RtlText::InvalidBoolean, text));
}

TDateTimeField::TDateTimeField(TComponent* owner) : TField(owner) { SetDataType(ftDateTime); }
TDateField::TDateField(TComponent* owner) : TDateTimeField(owner) { SetDataType(ftDate); }
TTimeField::TTimeField(TComponent* owner) : TDateTimeField(owner) { SetDataType(ftTime); }

QString TDateTimeField::FormatValue(const Variant& value, bool) const {
  if (value.IsEmptyOrNull()) return QString();
  const TDateTime moment = value.AsDate();
  switch (DataType()) {
    case ftDate:
      return DateToStr(moment);
    case ftTime:
      return TimeToStr(moment);
    default:
      return DateTimeToStr(moment);
  }
}

Variant TDateTimeField::TextToValue(const QString& text) const {
  const QString trimmed = Trim(text);
  if (trimmed.isEmpty()) return Variant::Null();
  switch (DataType()) {
    case ftDate:
      return Variant::FromDate(StrToDate(trimmed));
    case ftTime:
      return Variant::FromDate(StrToTime(trimmed));
    default:
      return Variant::FromDate(StrToDateTime(trimmed));
  }
}

// --- binary data --------------------------------------------------------------------------------

TBinaryField::TBinaryField(TComponent* owner) : TField(owner) {}

QString TBinaryField::FormatValue(const Variant& value, bool displayText) const {
  if (!displayText) return TField::FormatValue(value, false);
  const QString marker =
      DataType() == ftVarBytes ? QStringLiteral("VarBytes") : QStringLiteral("Bytes");
  return u'(' + (value.IsEmptyOrNull() ? marker : marker.toUpper()) + u')';
}

TBytesField::TBytesField(TComponent* owner) : TBinaryField(owner) {
  SetDataType(ftBytes);
  SetSize(16);
}

TVarBytesField::TVarBytesField(TComponent* owner) : TBytesField(owner) { SetDataType(ftVarBytes); }

TBlobField::TBlobField(TComponent* owner) : TField(owner) { SetDataType(ftBlob); }

QString TBlobField::FormatValue(const Variant& value, bool displayText) const {
  if (!displayText) return TField::FormatValue(value, false);
  const bool empty = value.IsEmptyOrNull() || VarToStr(value).isEmpty();
  return u'(' + (empty ? BlobMarker() : BlobMarker().toUpper()) + u')';
}

TMemoField::TMemoField(TComponent* owner) : TBlobField(owner) { SetDataType(ftMemo); }
TGraphicField::TGraphicField(TComponent* owner) : TBlobField(owner) { SetDataType(ftGraphic); }

// --- structured kinds ---------------------------------------------------------------------------

TVariantField::TVariantField(TComponent* owner) : TField(owner) { SetDataType(ftVariant); }
TObjectField::TObjectField(TComponent* owner) : TField(owner) {}
TADTField::TADTField(TComponent* owner) : TObjectField(owner) { SetDataType(ftADT); }
TArrayField::TArrayField(TComponent* owner) : TObjectField(owner) { SetDataType(ftArray); }
TDataSetField::TDataSetField(TComponent* owner) : TObjectField(owner) { SetDataType(ftDataSet); }
TReferenceField::TReferenceField(TComponent* owner) : TDataSetField(owner) {
  SetDataType(ftReference);
}

// --- creating fields by type --------------------------------------------------------------------

namespace {

std::unique_ptr<TField> NewField(TFieldType type, TComponent* owner) {
  switch (type) {
    case ftString:
    case ftFixedChar:
      return std::make_unique<TStringField>(owner);
    case ftWideString:
      return std::make_unique<TWideStringField>(owner);
    case ftGuid:
      return std::make_unique<TGuidField>(owner);
    case ftSmallint:
      return std::make_unique<TSmallintField>(owner);
    case ftInteger:
      return std::make_unique<TIntegerField>(owner);
    case ftWord:
      return std::make_unique<TWordField>(owner);
    case ftAutoInc:
      return std::make_unique<TAutoIncField>(owner);
    case ftLargeint:
      return std::make_unique<TLargeintField>(owner);
    case ftBoolean:
      return std::make_unique<TBooleanField>(owner);
    case ftFloat:
      return std::make_unique<TFloatField>(owner);
    case ftCurrency:
      return std::make_unique<TCurrencyField>(owner);
    case ftBCD:
    case ftFMTBcd:
      return std::make_unique<TBCDField>(owner);
    case ftDate:
      return std::make_unique<TDateField>(owner);
    case ftTime:
      return std::make_unique<TTimeField>(owner);
    case ftDateTime:
    case ftTimeStamp:
      return std::make_unique<TDateTimeField>(owner);
    case ftBytes:
      return std::make_unique<TBytesField>(owner);
    case ftVarBytes:
      return std::make_unique<TVarBytesField>(owner);
    case ftBlob:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
    case ftOraBlob:
      return std::make_unique<TBlobField>(owner);
    case ftMemo:
    case ftFmtMemo:
    case ftOraClob:
      return std::make_unique<TMemoField>(owner);
    case ftGraphic:
      return std::make_unique<TGraphicField>(owner);
    case ftADT:
      return std::make_unique<TADTField>(owner);
    case ftArray:
      return std::make_unique<TArrayField>(owner);
    case ftReference:
      return std::make_unique<TReferenceField>(owner);
    case ftDataSet:
      return std::make_unique<TDataSetField>(owner);
    case ftVariant:
      return std::make_unique<TVariantField>(owner);
    default:
      return std::make_unique<TField>(owner);
  }
}

}  // namespace

const QMetaObject& FieldClassOf(TFieldType type) { return *NewField(type, nullptr)->metaObject(); }

TField* CreateField(TDataSet* dataSet, const QString& name, TFieldType type, int size,
                    TComponent* owner) {
  std::unique_ptr<TField> field = NewField(type, owner ? owner : dataSet);
  field->SetDataType(type);
  field->SetFieldName(name);
  if (size > 0) field->SetSize(size);
  if (dataSet) field->SetDataSet(dataSet);
  return field.release();
}

}  // namespace Kel
