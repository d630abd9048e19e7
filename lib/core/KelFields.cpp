#include "KelFields.h"

#include <QScopeGuard>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>

#include "Exceptions.h"
#include "Filer.h"
#include "KelUtils.h"
#include "StrUtils.h"

namespace Kel {

TKelFieldType TypeOfVariant(const Variant& value, TKelFieldType oldType) {
  switch (value.VarType()) {
    case varSmallint:
    case varInteger:
    case varByte:
    case varInt64:
      return FT_INT;
    case varSingle:
    case varDouble:
      return FT_FLOAT;
    case varCurrency:
      return FT_CURRENCY;
    case varDate:
      return oldType == FT_DATE || oldType == FT_TIME ? oldType : FT_DATETIME;
    case varString:
    case varOleStr:
      return FT_STRING;
    case varBoolean:
      return FT_BOOL;
    default:
      return FT_UNK;
  }
}

// ---------------------------------------------------------------------------------------------
// TKelField

TKelField::TKelField(TCollection* collection) : TKelLinkedItem(collection) {}

TKelField::~TKelField() = default;

TKelFields* TKelField::Fields() const { return qobject_cast<TKelFields*>(Collection()); }

Variant TKelField::Value() const {
  if (IsDesigning()) return storedValue_;
  Variant value;
  ReadStoredValue(value);
  if (TKelFields* fields = Fields(); fields && fields->OnGetValue)
    fields->OnGetValue(const_cast<TKelField*>(this), Name(), value);
  return value;
}

void TKelField::StoreValue(const Variant& value, bool notify) {
  if (!value.IsEmptyOrNull()) dataType_ = TypeOfVariant(value, dataType_);
  if (IsDesigning()) {
    storedValue_ = value;
  } else if (TKelFields* fields = Fields(); fields && fields->OnSetValue) {
    Variant passed = value;
    fields->OnSetValue(this, Name(), passed);
  } else {
    WriteStoredValue(value);
  }
  if (notify) Changed();
}

bool TKelField::IsNull() const { return Value().IsEmptyOrNull(); }

void TKelField::SetIsNull(bool value) {
  if (value) Clear();
}

void TKelField::Clear() { SetValue(Variant()); }

void TKelField::SetDataType(TKelFieldType value) {
  Clear();
  dataType_ = value;
}

void TKelField::SetValuePrefix(const QString& value) { valuePrefix_ = value; }
void TKelField::SetValueSuffix(const QString& value) { valueSuffix_ = value; }

void TKelField::SetAsDate(TDateTime d) { StoreWithType(Variant::FromDate(d), FT_DATE); }

void TKelField::SetAsTime(TDateTime t) { StoreWithType(Variant::FromDate(t), FT_TIME); }

bool TKelField::AsBoolean() const {
  const Variant value = Value();
  return value.IsEmptyOrNull() ? false : value.AsBoolean();
}

TDateTime TKelField::AsDateTime() const {
  const Variant value = Value();
  return value.IsEmptyOrNull() ? 0 : value.AsDate();
}

QString TKelField::AsString(bool forDisplay) const {
  QString result;
  const Variant value = Value();
  if (!value.IsEmptyOrNull()) {
    if (dataType_ == FT_BOOL)
      result = QString::fromLatin1(value.AsBoolean() ? KelFieldText::True : KelFieldText::False);
    else
      result = value.AsString();
  }
  if (TKelFields* fields = Fields())
    fields->FormatValue(const_cast<TKelField*>(this), result, forDisplay);
  return result;
}

// Stores value without notification, then forces the type (the value's kind alone cannot tell a
// date from a time) and reports one change.
void TKelField::StoreWithType(const Variant& value, TKelFieldType type) {
  StoreValue(value, false);
  dataType_ = type;
  Changed();
}

void TKelField::ConvertDataType(TKelFieldType newType) {
  if (newType == dataType_ || newType > FT_BOOL) return;
  // A field without a value has nothing to convert: it only changes its type.
  if (IsNull()) {
    SetDataType(newType);
    return;
  }
  const TKelFieldType oldType = dataType_;
  const auto from = [oldType](std::initializer_list<TKelFieldType> types) {
    return std::find(types.begin(), types.end(), oldType) != types.end();
  };
  switch (newType) {
    case FT_INT:
      if (from({FT_CURRENCY, FT_FLOAT})) return SetAsInteger(Value().AsInteger());
      break;
    case FT_DATETIME:
      if (from({FT_DATE, FT_TIME})) {
        dataType_ = FT_DATETIME;
        Changed();
        return;
      }
      break;
    case FT_DATE:
      if (from({FT_DATETIME, FT_TIME}))
        return StoreWithType(Variant::FromDate(DateOnly(AsDateTime())), FT_DATE);
      break;
    case FT_TIME:
      if (from({FT_DATETIME, FT_DATE}))
        return StoreWithType(Variant::FromDate(TimeOnly(AsDateTime())), FT_TIME);
      break;
    case FT_CURRENCY:
      if (from({FT_INT, FT_FLOAT})) return SetAsCurrency(Value().AsCurrency());
      break;
    case FT_FLOAT:
      if (from({FT_INT, FT_CURRENCY})) return SetAsFloat(Value().AsDouble());
      break;
    default:
      break;
  }
  SetDataType(newType);
}

void TKelField::Assign(TPersistent* source) {
  auto* field = qobject_cast<TKelField*>(source);
  if (!field) {
    TKelNamedItem::Assign(source);
    return;
  }
  if (field == this) return;
  valuePrefix_ = field->valuePrefix_;
  valueSuffix_ = field->valueSuffix_;
  SetName(field->Name());
  StoreWithType(field->Value(), field->dataType_);
}

bool TKelField::IsPropertyStored(const char* name) const {
  // The value travels as "DataValue"; IsNull is derived from it.
  return qstrcmp(name, "Value") != 0 && qstrcmp(name, "IsNull") != 0;
}

void TKelField::DefineProperties(TFiler& filer) {
  TKelLinkedItem::DefineProperties(filer);
  filer.DefineProperty(
      QStringLiteral("DataValue"), [this](TReader& reader) { ReadDataValue(reader); },
      [this](TWriter& writer) { WriteDataValue(writer); }, DataValueDiffers(filer));
}

bool TKelField::DataValueDiffers(TFiler& filer) const {
  auto* ancestor = qobject_cast<TKelField*>(filer.Ancestor());
  if (!ancestor) return true;
  Variant mine, theirs;
  ReadStoredValue(mine);
  ancestor->ReadStoredValue(theirs);
  return !mine.Same(theirs);
}

namespace {
bool FitsInInt32(int64_t value) {
  return value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max();
}
}  // namespace

void TKelField::WriteDataValue(TWriter& writer) {
  Variant value;
  ReadStoredValue(value);
  switch (value.VarType()) {
    case varEmpty:
      writer.WriteValue(vaNil);
      break;
    case varNull:
      writer.WriteValue(vaNull);
      break;
    case varSmallint:
    case varInteger:
    case varByte:
      writer.WriteInteger(value.AsInt64());
      break;
    case varInt64:
      // Within 32 bits it goes as an integer and reads back as a number everywhere; beyond, as
      // its text, because readers of this value know no 64-bit integer kind.
      if (FitsInInt32(value.AsInt64()))
        writer.WriteInteger(value.AsInt64());
      else
        writer.WriteString(value.AsString());
      break;
    case varSingle:
    case varDouble:
      writer.WriteFloat(value.AsDouble());
      break;
    case varCurrency:
      writer.WriteCurrency(value.AsCurrency());
      break;
    case varDate:
      writer.WriteDate(value.AsDate());
      break;
    case varString:
    case varOleStr:
      writer.WriteString(value.StringRef());
      break;
    case varBoolean:
      writer.WriteBoolean(value.AsBoolean());
      break;
    case varArray:
      throw EWriteError(RtlMessage(RtlText::WriteError));
    default:
      try {
        writer.WriteString(value.AsString());
      } catch (const EVariantError&) {
        throw EWriteError(RtlMessage(RtlText::WriteError));
      }
  }
}

void TKelField::ReadDataValue(TReader& reader) {
  Variant value;
  switch (reader.NextValue()) {
    case vaNull:
      reader.ReadValue();
      value = Variant::Null();
      break;
    case vaNil:
      reader.ReadValue();
      break;
    case vaInt8: {
      // Int8 is signed: a negative value keeps its sign as a small integer instead of
      // wrapping into a byte.
      const int number = reader.ReadInteger();
      value = number < 0 ? Variant::FromSmallint(static_cast<int16_t>(number))
                         : Variant::FromByte(static_cast<uint8_t>(number));
      break;
    }
    case vaInt16:
      value = Variant::FromSmallint(static_cast<int16_t>(reader.ReadInteger()));
      break;
    case vaInt32:
      value = Variant(reader.ReadInteger());
      break;
    case vaInt64:
      value = Variant(reader.ReadInt64());
      break;
    case vaExtended:
      value = Variant(reader.ReadFloat());
      break;
    case vaSingle:
      value = Variant(reader.ReadSingle());
      break;
    case vaCurrency:
      value = Variant(reader.ReadCurrency());
      break;
    case vaDate:
      value = Variant::FromDate(reader.ReadDate());
      break;
    case vaString:
    case vaLString:
    case vaUTF8String:
      value = Variant(reader.ReadString());
      break;
    case vaWString:
    case vaUString:
      value = Variant::FromOleStr(reader.ReadString());
      break;
    case vaFalse:
    case vaTrue:
      value = Variant(reader.ReadBoolean());
      break;
    default:
      throw EReadError(RtlMessage(RtlText::ReadError));
  }
  storedValue_ = value;
}

// ---------------------------------------------------------------------------------------------
// TKelFields

TKelFields::TKelFields(QObject* owner, const QMetaObject& itemClass)
    : TKelNamedItems(owner, itemClass) {}

TKelFields::~TKelFields() = default;

std::unique_ptr<TKelFields> TKelFields::CreateLike() const {
  return std::make_unique<TKelFields>(GetOwner(), ItemClass());
}

TKelField* TKelFields::FieldByName(const QString& name) const {
  return qobject_cast<TKelField*>(ItemByName(name));
}

Variant TKelFields::GetValueByName(const QString& name) const {
  TKelField* field = FieldByName(name);
  return field ? field->Value() : Variant();
}

void TKelFields::SetValueByName(const QString& name, const Variant& value) {
  TKelField* field = FieldByName(name);
  if (!field && autoAdd_) {
    field = Add();
    field->SetName(name);
  }
  if (field) field->SetValue(value);
}

void TKelFields::FormatValue(TKelField* field, QString& result, bool forDisplay) {
  if (OnGetAsString) OnGetAsString(this, field, result, forDisplay);
}

// ---------------------------------------------------------------------------------------------
// Placeholders

namespace {

bool IsQuoteChar(QChar c) { return c == u'"' || c == u'\'' || c == u'`'; }

bool IsNameTerminator(QChar c) {
  return c == u'\n' || c == u'\r' || c == u' ' || c == u')' || c == u',' || c == u';';
}

// Walks the placeholders of a text: calls onName with each name in order and returns the text
// with the placeholders replaced by "?" and "::" by ":".
template <typename OnName>
QString ScanPlaceholders(const QString& text, OnName onName) {
  QString result;
  result.reserve(text.size());
  bool inQuotes = false;
  const qsizetype n = text.size();
  qsizetype i = 0;
  while (i < n) {
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < n) {  // a pair is one character and matches nothing
      result += c;
      result += text[i + 1];
      i += 2;
      continue;
    }
    if (IsQuoteChar(c)) {
      inQuotes = !inQuotes;
      result += c;
      ++i;
      continue;
    }
    if (c != u':' || inQuotes) {
      result += c;
      ++i;
      continue;
    }
    if (i + 1 < n && text[i + 1] == u':') {
      result += u':';
      i += 2;
      continue;
    }
    qsizetype end = i + 1;
    while (end < n) {
      const QChar ch = text[end];
      if (IsQuoteChar(ch))
        inQuotes = !inQuotes;
      else if (!inQuotes && IsNameTerminator(ch))
        break;
      ++end;
    }
    QString name = text.mid(i + 1, end - i - 1);
    if (!name.isEmpty() && IsQuoteChar(name.front())) {
      name.remove(0, 1);
      if (!name.isEmpty() && IsQuoteChar(name.back())) name.chop(1);
    }
    onName(name);
    result += u'?';
    i = end;
  }
  return result;
}

}  // namespace

QString ParseParams(TKelFields* fields, const QString& text, bool create) {
  if (!create || !fields) return ScanPlaceholders(text, [](const QString&) {});
  fields->BeginUpdate();
  const auto endUpdate = qScopeGuard([fields] { fields->EndUpdate(); });
  fields->Clear();
  return ScanPlaceholders(text, [fields](const QString& name) { fields->Add()->SetName(name); });
}

QStringList ParamNames(const QString& text) {
  QStringList names;
  ScanPlaceholders(text, [&](const QString& name) { names << name; });
  return names;
}

void RefreshParams(TKelFields* fields, const QString& text) {
  if (!fields) return;
  std::unique_ptr<TKelFields> previous = fields->CreateLike();
  previous->OnGetAsString = [fields](QObject*, TKelField* field, QString& result, bool forDisplay) {
    fields->FormatValue(field, result, forDisplay);
  };
  previous->Assign(fields);
  ParseParams(fields, text, true);
  for (int i = 0; i < previous->Count(); ++i) {
    TKelField* old = previous->Items(i);
    TKelField* now = fields->FieldByName(old->Name());
    if (now && now->IsNull()) now->Assign(old);
  }
}

QString ParamValueText(const TKelField* field) {
  const QString value = field->ValuePrefix() + field->AsString(false) + field->ValueSuffix();
  switch (field->DataType()) {
    case FT_DATETIME:
    case FT_DATE:
    case FT_TIME:
    case FT_STRING:
      // A quote inside the value is doubled: left single, it would end the literal early and
      // let the rest of the value run on as filter or SQL text.
      return QuotedStr(value);
    default:
      return value;
  }
}

namespace {

// The first field, in collection order, whose name follows the colon at `colon` (a name that
// begins a longer one matches there too); nullptr when none does.
const TKelField* FieldNamedAt(const QString& text, qsizetype colon, const TKelFields& fields) {
  const QStringView rest = QStringView(text).mid(colon + 1);
  for (int i = 0; i < fields.Count(); ++i) {
    const TKelField* field = fields.Items(i);
    // A bare ":" has an empty name; it would take every colon of the text.
    if (!field->Name().isEmpty() && rest.startsWith(field->Name())) return field;
  }
  return nullptr;
}

}  // namespace

// One pass over the original text: an inserted value is never searched again, so a value that
// holds ":Name" stays as typed, and the text grows only by what the values add.
QString SubstituteParams(const QString& text, const TKelFields* fields) {
  if (!fields || fields->Count() == 0) return text;
  QString result;
  qsizetype copied = 0;  // text before this is in result
  qsizetype from = 0;
  for (qsizetype colon; (colon = text.indexOf(u':', from)) >= 0;) {
    from = colon + 1;
    const TKelField* field = FieldNamedAt(text, colon, *fields);
    if (!field) continue;
    result += QStringView(text).mid(copied, colon - copied);
    result += ParamValueText(field);
    copied = from = colon + 1 + field->Name().size();
  }
  result += QStringView(text).mid(copied);
  return result;
}

// ---------------------------------------------------------------------------------------------
// Record registry

namespace {

struct CaseInsensitiveLess {
  bool operator()(const QString& a, const QString& b) const { return CompareText(a, b) < 0; }
};

using RecordRegistry = std::map<QString, TKelRecordList, CaseInsensitiveLess>;

RecordRegistry& Registry() {
  static RecordRegistry registry;
  return registry;
}

// Values of different kinds that cannot be compared simply differ.
bool SameValue(const Variant& a, const Variant& b) {
  try {
    return VarEquals(a, b);
  } catch (const EVariantError&) {
    return false;
  }
}

}  // namespace

void RegisterRecord(const QString& listName, const QStringList& names,
                    const std::vector<Variant>& values) {
  if (names.size() != static_cast<qsizetype>(values.size()))
    throw EListError(QStringLiteral("RegisterRecord: %1 names but %2 values")
                         .arg(names.size())
                         .arg(values.size()));
  auto record = std::make_unique<TKelFields>();
  record->SetAutoAdd(true);
  for (qsizetype i = 0; i < names.size(); ++i) record->SetValueByName(names[i], values[size_t(i)]);
  Registry()[listName].push_back(std::move(record));
}

const TKelRecordList* FindRecords(const QString& listName) {
  const RecordRegistry& registry = Registry();
  auto found = registry.find(listName);
  return found == registry.end() ? nullptr : &found->second;
}

void RecordsForClass(const QString& listName, const QString& fieldName, const QMetaObject* cls,
                     std::vector<TKelFields*>& result) {
  result.clear();
  const TKelRecordList* records = FindRecords(listName);
  if (!records || !cls) return;
  for (const auto& record : *records) {
    const QMetaObject* recordClass = VariantToClassRef(record->GetValueByName(fieldName));
    if (recordClass && cls->inherits(recordClass)) result.push_back(record.get());
  }
}

TKelFields* FindRecord(const std::vector<TKelFields*>& records, const QStringList& names,
                       const std::vector<Variant>& values) {
  for (TKelFields* record : records) {
    bool all = true;
    for (qsizetype i = 0; i < names.size() && all; ++i) {
      const Variant wanted = size_t(i) < values.size() ? values[size_t(i)] : Variant();
      all = SameValue(record->GetValueByName(names[i]), wanted);
    }
    if (all) return record;
  }
  return nullptr;
}

Variant ClassRefToVariant(const QMetaObject* cls) {
  return Variant(static_cast<int64_t>(reinterpret_cast<intptr_t>(cls)));
}

const QMetaObject* VariantToClassRef(const Variant& value) {
  if (!value.IsOrdinal() || value.VarType() == varBoolean) return nullptr;
  return reinterpret_cast<const QMetaObject*>(static_cast<intptr_t>(value.AsInt64()));
}

namespace {
const QString kKeyboardList = QStringLiteral("KeyboardInitProcs");
}

void RegisterKeyboardProc(const QMetaObject* cls, const QString& procName, TKelKeyboardProc proc) {
  RegisterRecord(kKeyboardList,
                 {QStringLiteral("Class"), QStringLiteral("ProcName"), QStringLiteral("Proc")},
                 {ClassRefToVariant(cls), Variant(procName),
                  Variant(static_cast<int64_t>(reinterpret_cast<intptr_t>(proc)))});
}

TKelKeyboardProc FindKeyboardProc(const QMetaObject* cls, const QString& procName) {
  std::vector<TKelFields*> records;
  RecordsForClass(kKeyboardList, QStringLiteral("Class"), cls, records);
  TKelFields* record = FindRecord(records, {QStringLiteral("ProcName")}, {Variant(procName)});
  if (!record) return nullptr;
  const Variant proc = record->GetValueByName(QStringLiteral("Proc"));
  return proc.IsOrdinal()
             ? reinterpret_cast<TKelKeyboardProc>(static_cast<intptr_t>(proc.AsInt64()))
             : nullptr;
}

}  // namespace Kel
