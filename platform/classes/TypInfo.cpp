#include "TypInfo.h"

#include <QObject>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

#include "ClassesConsts.h"
#include "Exceptions.h"
#include "Persistent.h"

namespace Kel::TypInfo {

namespace {

template <typename... Args>
[[noreturn]] void Fail(const char* text, const Args&... args) {
  throw EPropertyError(RtlMessage(text, args...));
}

QString TypeName(const TPropInfo& prop) {
  const QString name = QString::fromLatin1(prop.MetaType().name());
  return name.isEmpty() ? QString::fromLatin1(prop.Name()) : name;
}

[[noreturn]] void InvalidType(const TPropInfo& prop) {
  Fail(ClassesText::InvalidPropertyType, TypeName(prop));
}

// Qt's own classes (QObject, QWidget, ...) publish nothing for our purposes.
bool IsQtClass(const QMetaObject* metaObject) {
  const char* name = metaObject->className();
  return name[0] == 'Q' && name[1] >= 'A' && name[1] <= 'Z';
}

const QMetaObject* DeclaringClass(const QMetaObject& classType, int index) {
  const QMetaObject* metaObject = &classType;
  while (metaObject && index < metaObject->propertyOffset()) metaObject = metaObject->superClass();
  return metaObject;
}

QByteArray ClassInfoValue(const QMetaObject& classType, const QByteArray& key) {
  const int index = classType.indexOfClassInfo(key.constData());
  return index < 0 ? QByteArray() : QByteArray(classType.classInfo(index).value());
}

bool HasClassInfo(const QMetaObject& classType, const QByteArray& key) {
  return classType.indexOfClassInfo(key.constData()) >= 0;
}

TPropKind KindOf(const QMetaObject& classType, const QMetaProperty& property,
                 const SetTypeInfo** setInfo) {
  const QMetaType type = property.metaType();
  if (property.isEnumType())
    return property.isFlagType() ? TPropKind::pkUnknown : TPropKind::pkEnumeration;
  switch (type.id()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
      return TPropKind::pkInteger;
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      return TPropKind::pkInt64;
    case QMetaType::QChar:
    case QMetaType::Char:
      return TPropKind::pkChar;
    case QMetaType::Bool:
      return TPropKind::pkBoolean;
    case QMetaType::Double:
    case QMetaType::Float:
      if (HasClassInfo(classType, QByteArray("datetime:") + property.name()))
        return TPropKind::pkDateTime;
      return TPropKind::pkFloat;
    case QMetaType::QString:
      return TPropKind::pkString;
    default:
      break;
  }
  if (type == QMetaType::fromType<Currency>()) return TPropKind::pkCurrency;
  if (type == QMetaType::fromType<Variant>()) return TPropKind::pkVariant;
  if (const SetTypeInfo* info = FindSetTypeInfo(type.id())) {
    *setInfo = info;
    return TPropKind::pkSet;
  }
  if (type.flags().testFlag(QMetaType::PointerToQObject)) return TPropKind::pkClass;
  return TPropKind::pkUnknown;
}

// --- raw storage of enumerations and integers

int64_t ReadInteger(const void* data, QMetaType type) {
  const bool isUnsigned = type.flags().testFlag(QMetaType::IsUnsignedEnumeration) ||
                          type.id() == QMetaType::UChar || type.id() == QMetaType::UShort ||
                          type.id() == QMetaType::UInt || type.id() == QMetaType::ULong ||
                          type.id() == QMetaType::ULongLong;
  switch (type.sizeOf()) {
    case 1:
      return isUnsigned ? int64_t(*static_cast<const uint8_t*>(data))
                        : int64_t(*static_cast<const int8_t*>(data));
    case 2:
      return isUnsigned ? int64_t(*static_cast<const uint16_t*>(data))
                        : int64_t(*static_cast<const int16_t*>(data));
    case 4:
      return isUnsigned ? int64_t(*static_cast<const uint32_t*>(data))
                        : int64_t(*static_cast<const int32_t*>(data));
    default: {
      int64_t value = 0;
      std::memcpy(&value, data, sizeof value);
      return value;
    }
  }
}

// The range an integer of that type can hold.
std::pair<int64_t, int64_t> IntegerRange(QMetaType type) {
  switch (type.id()) {
    case QMetaType::SChar:
      return {INT8_MIN, INT8_MAX};
    case QMetaType::UChar:
      return {0, UINT8_MAX};
    case QMetaType::Short:
      return {INT16_MIN, INT16_MAX};
    case QMetaType::UShort:
      return {0, UINT16_MAX};
    case QMetaType::Int:
      return {INT32_MIN, INT32_MAX};
    case QMetaType::UInt:
      return {0, UINT32_MAX};
    case QMetaType::ULong:
    case QMetaType::ULongLong:
      return {0, std::numeric_limits<int64_t>::max()};
    default:
      return {std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()};
  }
}

void WriteInteger(void* data, QMetaType type, int64_t value) {
  switch (type.sizeOf()) {
    case 1: {
      const auto v = static_cast<uint8_t>(value);
      std::memcpy(data, &v, 1);
      break;
    }
    case 2: {
      const auto v = static_cast<uint16_t>(value);
      std::memcpy(data, &v, 2);
      break;
    }
    case 4: {
      const auto v = static_cast<uint32_t>(value);
      std::memcpy(data, &v, 4);
      break;
    }
    default:
      std::memcpy(data, &value, sizeof value);
      break;
  }
}

QVariant Read(const QObject* instance, const TPropInfo& prop) {
  if (!instance || !prop.IsValid())
    Fail(ClassesText::UnknownProperty, prop.IsValid() ? prop.Name() : "");
  return prop.Property().read(instance);
}

void Write(QObject* instance, const TPropInfo& prop, const QVariant& value) {
  if (!instance || !prop.IsValid())
    Fail(ClassesText::UnknownProperty, prop.IsValid() ? prop.Name() : "");
  if (!prop.IsWritable()) Fail(ClassesText::ReadOnlyProperty, prop.Name());
  if (!prop.Property().write(instance, value)) Fail(ClassesText::InvalidPropertyValue);
}

// A value of the property's own type with its bytes set by fill.
template <typename Fill>
QVariant MakeValue(const TPropInfo& prop, Fill fill) {
  QVariant value(prop.MetaType());
  fill(value.data());
  return value;
}

uint64_t MemberMask(const QMetaEnum& enumeration) {
  uint64_t mask = 0;
  for (int i = 0; i < enumeration.keyCount(); ++i) {
    const int v = enumeration.value(i);
    if (v >= 0 && v < 64) mask |= uint64_t(1) << v;
  }
  return mask;
}

// --- default texts, written the way the text form of component streams writes values

std::optional<int64_t> ParsePropertyInteger(const QString& text) {
  bool ok = false;
  int64_t value = 0;
  if (text.startsWith(u'$'))
    value = text.mid(1).toLongLong(&ok, 16);
  else
    value = text.toLongLong(&ok, 10);
  return ok ? std::optional<int64_t>(value) : std::nullopt;
}

std::optional<double> ParseFloat(const QString& text) {
  bool ok = false;
  const double value = text.toDouble(&ok);  // always "." as decimal point
  return ok ? std::optional<double>(value) : std::nullopt;
}

std::optional<bool> ParseBoolean(const QString& text) {
  if (text.compare(u"True", Qt::CaseInsensitive) == 0) return true;
  if (text.compare(u"False", Qt::CaseInsensitive) == 0) return false;
  return std::nullopt;
}

// Quoted runs with doubled quotes and #nnn codes: 'O''Brien '#228'x'.
std::optional<QString> ParseStringLiteral(const QString& text) {
  QString result;
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n) {
    if (text[i] == u'\'') {
      ++i;
      for (;;) {
        if (i >= n) return std::nullopt;
        if (text[i] == u'\'') {
          if (i + 1 < n && text[i + 1] == u'\'') {
            result += u'\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        result += text[i++];
      }
    } else if (text[i] == u'#') {
      ++i;
      const qsizetype start = i;
      while (i < n && text[i].isDigit()) ++i;
      bool ok = false;
      const uint code = text.mid(start, i - start).toUInt(&ok);
      if (!ok || code > 0x10FFFF) return std::nullopt;
      result += QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
    } else {
      return std::nullopt;
    }
  }
  return result;
}

// The default text as a string: a quoted literal, or the text itself when it is not quoted.
QString DefaultString(const QString& text) {
  if (text.startsWith(u'\'') || text.startsWith(u'#')) {
    if (auto parsed = ParseStringLiteral(text)) return *parsed;
  }
  return text;
}

std::optional<int64_t> DefaultOrdinal(const TPropInfo& prop) {
  const QString text = prop.DefaultText().trimmed();
  switch (prop.Kind()) {
    case TPropKind::pkInteger:
    case TPropKind::pkInt64:
      return ParsePropertyInteger(text);
    case TPropKind::pkBoolean:
      if (auto b = ParseBoolean(text)) return *b ? 1 : 0;
      return ParsePropertyInteger(text);
    case TPropKind::pkEnumeration: {
      const int value = GetEnumValue(prop.Enumeration(), text);
      if (value >= 0) return value;
      return ParsePropertyInteger(text);
    }
    case TPropKind::pkSet:
      try {
        return static_cast<int64_t>(StringToSet(prop.Enumeration(), text));
      } catch (const EPropertyError&) {
        return std::nullopt;
      }
    case TPropKind::pkChar: {
      const QString s = DefaultString(text);
      if (s.size() == 1) return s[0].unicode();
      if (s.isEmpty()) return 0;
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

// Exact decimal reading of a currency default ("1234.5678").
std::optional<Currency> ParseCurrency(const QString& text) {
  QString s = text;
  bool negative = false;
  if (s.startsWith(u'-') || s.startsWith(u'+')) {
    negative = s.startsWith(u'-');
    s = s.mid(1);
  }
  const qsizetype dot = s.indexOf(u'.');
  const QString whole = dot < 0 ? s : s.left(dot);
  QString fraction = dot < 0 ? QString() : s.mid(dot + 1);
  if (fraction.size() > 4 || (whole.isEmpty() && fraction.isEmpty())) {
    if (auto d = ParseFloat(text)) {
      try {
        return Currency::FromDouble(*d);
      } catch (const Exception&) {
        return std::nullopt;
      }
    }
    return std::nullopt;
  }
  fraction = fraction.leftJustified(4, u'0');
  bool okWhole = whole.isEmpty(), okFraction = false;
  const int64_t w = whole.isEmpty() ? 0 : whole.toLongLong(&okWhole);
  const int64_t f = fraction.toLongLong(&okFraction);
  if (!okWhole || !okFraction || w > std::numeric_limits<int64_t>::max() / Currency::Scale - 1)
    return std::nullopt;
  const int64_t scaled = w * Currency::Scale + f;
  return Currency::FromScaled(negative ? -scaled : scaled);
}

std::optional<Variant> ParseVariant(const QString& text) {
  if (text.compare(u"Null", Qt::CaseInsensitive) == 0) return Variant::Null();
  if (text.compare(u"nil", Qt::CaseInsensitive) == 0 ||
      text.compare(u"Unassigned", Qt::CaseInsensitive) == 0)
    return Variant();
  if (auto b = ParseBoolean(text)) return Variant(*b);
  if (text.startsWith(u'\'') || text.startsWith(u'#')) {
    if (auto s = ParseStringLiteral(text)) return Variant(*s);
    return std::nullopt;
  }
  if (auto i = ParsePropertyInteger(text)) {
    if (*i >= INT32_MIN && *i <= INT32_MAX) return Variant(static_cast<int>(*i));
    return Variant(*i);
  }
  if (auto d = ParseFloat(text)) return Variant(*d);
  return std::nullopt;
}

}  // namespace

// --- TPropInfo --------------------------------------------------------------------------------

TPropInfo::TPropInfo(const QMetaObject& classType, const QMetaProperty& property)
    : property_(property) {
  kind_ = KindOf(classType, property, &setInfo_);
  const QByteArray key = QByteArray("default:") + property.name();
  hasDefault_ = HasClassInfo(classType, key);
  if (hasDefault_) defaultText_ = QString::fromUtf8(ClassInfoValue(classType, key));
}

QMetaEnum TPropInfo::Enumeration() const {
  if (kind_ == TPropKind::pkEnumeration) return property_.enumerator();
  if (kind_ == TPropKind::pkSet && setInfo_) return setInfo_->enumeration;
  return QMetaEnum();
}

const QMetaObject* TPropInfo::ClassType() const {
  return kind_ == TPropKind::pkClass ? property_.metaType().metaObject() : nullptr;
}

// --- finding properties -----------------------------------------------------------------------

TPropList GetPropList(const QMetaObject& classType) {
  TPropList list;
  for (int i = 0; i < classType.propertyCount(); ++i) {
    const QMetaProperty property = classType.property(i);
    if (!property.isReadable() || IsQtClass(DeclaringClass(classType, i))) continue;
    list.append(TPropInfo(classType, property));
  }
  return list;
}

TPropList GetPropList(const QObject* instance) {
  return instance ? GetPropList(*instance->metaObject()) : TPropList();
}

TPropInfo GetPropInfo(const QMetaObject& classType, QStringView name) {
  if (name.isEmpty()) return TPropInfo();
  const int exact = classType.indexOfProperty(name.toLatin1().constData());
  if (exact >= 0 && !IsQtClass(DeclaringClass(classType, exact)) &&
      classType.property(exact).isReadable())
    return TPropInfo(classType, classType.property(exact));
  for (int i = 0; i < classType.propertyCount(); ++i) {
    const QMetaProperty property = classType.property(i);
    if (QString::compare(QLatin1String(property.name()), name, Qt::CaseInsensitive) == 0 &&
        property.isReadable() && !IsQtClass(DeclaringClass(classType, i)))
      return TPropInfo(classType, property);
  }
  return TPropInfo();
}

TPropInfo GetPropInfo(const QObject* instance, QStringView name) {
  return instance ? GetPropInfo(*instance->metaObject(), name) : TPropInfo();
}

TPropInfo FindPropInfo(const QObject* instance, QStringView name) {
  TPropInfo prop = GetPropInfo(instance, name);
  if (!prop) Fail(ClassesText::UnknownProperty, name.toString());
  return prop;
}

bool IsPublishedProp(const QObject* instance, QStringView name) {
  return GetPropInfo(instance, name).IsValid();
}

TPropKind PropKind(const QObject* instance, QStringView name) {
  return FindPropInfo(instance, name).Kind();
}

// --- enumerations and sets --------------------------------------------------------------------

QString GetEnumName(const QMetaEnum& enumeration, int value) {
  const char* key = enumeration.isValid() ? enumeration.valueToKey(value) : nullptr;
  return key ? QString::fromLatin1(key) : QString();
}

int GetEnumValue(const QMetaEnum& enumeration, QStringView name) {
  if (!enumeration.isValid()) return -1;
  const QStringView trimmed = name.trimmed();
  for (int i = 0; i < enumeration.keyCount(); ++i)
    if (QString::compare(QLatin1String(enumeration.key(i)), trimmed, Qt::CaseInsensitive) == 0)
      return enumeration.value(i);
  return -1;
}

QString SetToString(const QMetaEnum& enumeration, uint64_t bits, bool brackets) {
  QStringList names;
  for (int i = 0; i < 64; ++i) {
    if (!(bits & (uint64_t(1) << i))) continue;
    const QString name = GetEnumName(enumeration, i);
    names.append(name.isEmpty() ? QString::number(i) : name);
  }
  const QString joined = names.join(u',');
  return brackets ? u'[' + joined + u']' : joined;
}

uint64_t StringToSet(const QMetaEnum& enumeration, QStringView text) {
  QStringView body = text.trimmed();
  if (body.startsWith(u'[')) {
    if (!body.endsWith(u']')) Fail(ClassesText::InvalidPropertyElement, body.toString());
    body = body.mid(1, body.size() - 2);
  }
  uint64_t bits = 0;
  for (QStringView part : body.split(u',')) {
    part = part.trimmed();
    if (part.isEmpty()) continue;
    const int value = GetEnumValue(enumeration, part);
    if (value < 0 || value >= 64) Fail(ClassesText::InvalidPropertyElement, part.toString());
    bits |= uint64_t(1) << value;
  }
  return bits;
}

// --- access by kind ---------------------------------------------------------------------------

QVariant GetNativeProp(const QObject* instance, const TPropInfo& prop) {
  return Read(instance, prop);
}

void SetNativeProp(QObject* instance, const TPropInfo& prop, const QVariant& value) {
  Write(instance, prop, value);
}

int64_t GetOrdProp(const QObject* instance, const TPropInfo& prop) {
  const QVariant value = Read(instance, prop);
  switch (prop.Kind()) {
    case TPropKind::pkInteger:
    case TPropKind::pkInt64:
    case TPropKind::pkEnumeration:
      return ReadInteger(value.constData(), prop.MetaType());
    case TPropKind::pkChar:
      if (prop.MetaType().id() == QMetaType::QChar) return value.value<QChar>().unicode();
      return static_cast<uint8_t>(value.value<char>());
    case TPropKind::pkSet:
      return static_cast<int64_t>(prop.SetInfo()->toBits(value.constData()));
    case TPropKind::pkBoolean:
      return value.toBool() ? 1 : 0;
    case TPropKind::pkClass:
      return reinterpret_cast<intptr_t>(GetObjectProp(instance, prop));
    default:
      InvalidType(prop);
  }
}

void SetOrdProp(QObject* instance, const TPropInfo& prop, int64_t value) {
  switch (prop.Kind()) {
    case TPropKind::pkInteger:
    case TPropKind::pkInt64: {
      const auto [low, high] = IntegerRange(prop.MetaType());
      if (value < low || value > high) Fail(ClassesText::InvalidPropertyValue);
      Write(instance, prop,
            MakeValue(prop, [&](void* data) { WriteInteger(data, prop.MetaType(), value); }));
      return;
    }
    case TPropKind::pkEnumeration:
      // An ordinal outside the enumeration would leave the C++ enum with no valid value.
      if (value < INT32_MIN || value > INT32_MAX || !prop.Enumeration().valueToKey(int(value)))
        Fail(ClassesText::InvalidPropertyValue);
      Write(instance, prop,
            MakeValue(prop, [&](void* data) { WriteInteger(data, prop.MetaType(), value); }));
      return;
    case TPropKind::pkChar:
      if (prop.MetaType().id() == QMetaType::QChar) {
        if (value < 0 || value > 0xFFFF) Fail(ClassesText::InvalidPropertyValue);
        Write(instance, prop, QVariant::fromValue(QChar(static_cast<char16_t>(value))));
      } else {
        if (value < 0 || value > 0xFF) Fail(ClassesText::InvalidPropertyValue);
        Write(instance, prop, QVariant::fromValue(static_cast<char>(value)));
      }
      return;
    case TPropKind::pkSet: {
      const auto bits = static_cast<uint64_t>(value);
      if (bits & ~MemberMask(prop.Enumeration())) Fail(ClassesText::InvalidPropertyValue);
      Write(instance, prop,
            MakeValue(prop, [&](void* data) { prop.SetInfo()->fromBits(data, bits); }));
      return;
    }
    case TPropKind::pkBoolean:
      Write(instance, prop, QVariant(value != 0));
      return;
    case TPropKind::pkClass:
      SetObjectProp(instance, prop, reinterpret_cast<QObject*>(static_cast<intptr_t>(value)));
      return;
    default:
      InvalidType(prop);
  }
}

double GetFloatProp(const QObject* instance, const TPropInfo& prop) {
  switch (prop.Kind()) {
    case TPropKind::pkFloat:
    case TPropKind::pkDateTime:
      return Read(instance, prop).toDouble();
    case TPropKind::pkCurrency:
      return Read(instance, prop).value<Currency>().ToDouble();
    default:
      InvalidType(prop);
  }
}

void SetFloatProp(QObject* instance, const TPropInfo& prop, double value) {
  switch (prop.Kind()) {
    case TPropKind::pkFloat:
    case TPropKind::pkDateTime:
      if (prop.MetaType().id() == QMetaType::Float)
        Write(instance, prop, QVariant(static_cast<float>(value)));
      else
        Write(instance, prop, QVariant(value));
      return;
    case TPropKind::pkCurrency:
      Write(instance, prop, QVariant::fromValue(Currency::FromDouble(value)));
      return;
    default:
      InvalidType(prop);
  }
}

Currency GetCurrencyProp(const QObject* instance, const TPropInfo& prop) {
  if (prop.Kind() == TPropKind::pkCurrency) return Read(instance, prop).value<Currency>();
  return Currency::FromDouble(GetFloatProp(instance, prop));
}

void SetCurrencyProp(QObject* instance, const TPropInfo& prop, Currency value) {
  if (prop.Kind() == TPropKind::pkCurrency) {
    Write(instance, prop, QVariant::fromValue(value));
    return;
  }
  SetFloatProp(instance, prop, value.ToDouble());
}

QString GetStrProp(const QObject* instance, const TPropInfo& prop) {
  switch (prop.Kind()) {
    case TPropKind::pkString:
      return Read(instance, prop).toString();
    case TPropKind::pkChar: {
      const auto code = static_cast<char16_t>(GetOrdProp(instance, prop));
      return QString(QChar(code));
    }
    default:
      InvalidType(prop);
  }
}

void SetStrProp(QObject* instance, const TPropInfo& prop, const QString& value) {
  switch (prop.Kind()) {
    case TPropKind::pkString:
      Write(instance, prop, QVariant(value));
      return;
    case TPropKind::pkChar:
      SetOrdProp(instance, prop, value.isEmpty() ? 0 : value[0].unicode());
      return;
    default:
      InvalidType(prop);
  }
}

Variant GetVariantProp(const QObject* instance, const TPropInfo& prop) {
  if (prop.Kind() != TPropKind::pkVariant) InvalidType(prop);
  return Read(instance, prop).value<Variant>();
}

void SetVariantProp(QObject* instance, const TPropInfo& prop, const Variant& value) {
  if (prop.Kind() != TPropKind::pkVariant) InvalidType(prop);
  Write(instance, prop, QVariant::fromValue(value));
}

QObject* GetObjectProp(const QObject* instance, const TPropInfo& prop) {
  if (prop.Kind() != TPropKind::pkClass) InvalidType(prop);
  const QVariant value = Read(instance, prop);
  QObject* object = nullptr;
  std::memcpy(&object, value.constData(), sizeof object);
  return object;
}

void SetObjectProp(QObject* instance, const TPropInfo& prop, QObject* value) {
  if (prop.Kind() != TPropKind::pkClass) InvalidType(prop);
  const QMetaObject* classType = prop.ClassType();
  if (value && classType && !value->metaObject()->inherits(classType))
    Fail(ClassesText::InvalidPropertyValue);
  Write(instance, prop,
        MakeValue(prop, [&](void* data) { std::memcpy(data, &value, sizeof value); }));
}

QString GetEnumProp(const QObject* instance, const TPropInfo& prop) {
  if (prop.Kind() != TPropKind::pkEnumeration) InvalidType(prop);
  return GetEnumName(prop.Enumeration(), static_cast<int>(GetOrdProp(instance, prop)));
}

void SetEnumProp(QObject* instance, const TPropInfo& prop, QStringView name) {
  if (prop.Kind() != TPropKind::pkEnumeration) InvalidType(prop);
  const int value = GetEnumValue(prop.Enumeration(), name);
  if (value < 0) Fail(ClassesText::InvalidPropertyElement, name.toString());
  SetOrdProp(instance, prop, value);
}

QString GetSetProp(const QObject* instance, const TPropInfo& prop, bool brackets) {
  if (prop.Kind() != TPropKind::pkSet) InvalidType(prop);
  return SetToString(prop.Enumeration(), static_cast<uint64_t>(GetOrdProp(instance, prop)),
                     brackets);
}

void SetSetProp(QObject* instance, const TPropInfo& prop, QStringView text) {
  if (prop.Kind() != TPropKind::pkSet) InvalidType(prop);
  SetOrdProp(instance, prop, static_cast<int64_t>(StringToSet(prop.Enumeration(), text)));
}

// --- access by name ---------------------------------------------------------------------------

Variant GetPropValue(const QObject* instance, QStringView name, bool preferStrings) {
  return GetPropValue(instance, FindPropInfo(instance, name), preferStrings);
}

Variant GetPropValue(const QObject* instance, const TPropInfo& prop, bool preferStrings) {
  switch (prop.Kind()) {
    case TPropKind::pkInteger:
      return Variant(static_cast<int>(GetOrdProp(instance, prop)));
    case TPropKind::pkInt64:
      return Variant(GetOrdProp(instance, prop));
    case TPropKind::pkChar:
      return Variant(GetStrProp(instance, prop));
    case TPropKind::pkEnumeration:
      if (preferStrings) return Variant(GetEnumProp(instance, prop));
      return Variant(static_cast<int>(GetOrdProp(instance, prop)));
    case TPropKind::pkSet:
      if (preferStrings) return Variant(GetSetProp(instance, prop));
      return Variant(GetOrdProp(instance, prop));
    case TPropKind::pkBoolean:
      return Variant(GetOrdProp(instance, prop) != 0);
    case TPropKind::pkFloat:
      return Variant(GetFloatProp(instance, prop));
    case TPropKind::pkDateTime:
      return Variant::FromDate(GetFloatProp(instance, prop));
    case TPropKind::pkCurrency:
      return Variant(GetCurrencyProp(instance, prop));
    case TPropKind::pkString:
      return Variant(GetStrProp(instance, prop));
    case TPropKind::pkVariant:
      return GetVariantProp(instance, prop);
    default:
      InvalidType(prop);
  }
}

void SetPropValue(QObject* instance, QStringView name, const Variant& value) {
  SetPropValue(instance, FindPropInfo(instance, name), value);
}

void SetPropValue(QObject* instance, const TPropInfo& prop, const Variant& value) {
  switch (prop.Kind()) {
    case TPropKind::pkInteger:
    case TPropKind::pkInt64:
      SetOrdProp(instance, prop, value.AsInt64());
      return;
    case TPropKind::pkChar:
      if (value.IsString())
        SetStrProp(instance, prop, value.AsString());
      else
        SetOrdProp(instance, prop, value.AsInteger());
      return;
    case TPropKind::pkEnumeration:
      if (value.IsString())
        SetEnumProp(instance, prop, value.AsString());
      else if (value.VarType() == varBoolean)
        SetOrdProp(instance, prop, value.AsBoolean() ? 1 : 0);
      else
        SetOrdProp(instance, prop, value.AsInteger());
      return;
    case TPropKind::pkSet:
      if (value.IsString())
        SetSetProp(instance, prop, value.AsString());
      else
        SetOrdProp(instance, prop, value.AsInt64());
      return;
    case TPropKind::pkBoolean:
      SetOrdProp(instance, prop, value.AsBoolean() ? 1 : 0);
      return;
    case TPropKind::pkFloat:
      SetFloatProp(instance, prop, value.AsDouble());
      return;
    case TPropKind::pkDateTime:
      SetFloatProp(instance, prop, value.AsDate());
      return;
    case TPropKind::pkCurrency:
      SetCurrencyProp(instance, prop, value.AsCurrency());
      return;
    case TPropKind::pkString:
      SetStrProp(instance, prop, VarToStr(value));
      return;
    case TPropKind::pkVariant:
      SetVariantProp(instance, prop, value);
      return;
    default:
      InvalidType(prop);
  }
}

// --- defaults and storing ---------------------------------------------------------------------

bool IsDefaultPropValue(const QObject* instance, const TPropInfo& prop) {
  if (!instance || !prop.IsValid()) return false;
  const TPropKind kind = prop.Kind();
  if (kind == TPropKind::pkClass || kind == TPropKind::pkUnknown) return false;
  if (!prop.HasDefault())
    return kind == TPropKind::pkString && GetStrProp(instance, prop).isEmpty();
  const QString text = prop.DefaultText().trimmed();
  // A default that cannot be read counts as no default: the value is stored.
  switch (kind) {
    case TPropKind::pkInteger:
    case TPropKind::pkInt64:
    case TPropKind::pkChar:
    case TPropKind::pkEnumeration:
    case TPropKind::pkSet:
    case TPropKind::pkBoolean: {
      const auto expected = DefaultOrdinal(prop);
      return expected && GetOrdProp(instance, prop) == *expected;
    }
    case TPropKind::pkFloat:
    case TPropKind::pkDateTime: {
      const auto expected = ParseFloat(text);
      return expected && GetFloatProp(instance, prop) == *expected;
    }
    case TPropKind::pkCurrency: {
      const auto expected = ParseCurrency(text);
      return expected && GetCurrencyProp(instance, prop) == *expected;
    }
    case TPropKind::pkString:
      return GetStrProp(instance, prop) == DefaultString(text);
    case TPropKind::pkVariant: {
      const auto expected = ParseVariant(text);
      return expected && GetVariantProp(instance, prop).Same(*expected);
    }
    default:
      return false;
  }
}

bool IsStoredProp(const QObject* instance, const TPropInfo& prop) {
  if (!instance || !prop.IsValid() || !prop.Property().isStored()) return false;
  if (prop.Kind() == TPropKind::pkUnknown) return false;
  if (const auto* persistent = qobject_cast<const TPersistent*>(instance))
    if (!persistent->IsPropertyStored(prop.Name())) return false;
  return !IsDefaultPropValue(instance, prop);
}

bool IsStoredProp(const QObject* instance, QStringView name) {
  return IsStoredProp(instance, FindPropInfo(instance, name));
}

}  // namespace Kel::TypInfo
