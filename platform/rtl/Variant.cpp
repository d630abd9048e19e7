#include "Variant.h"

#include "DateTimeFormat.h"
#include "Exceptions.h"
#include "NumberFormat.h"
#include "StrUtils.h"

#include <cmath>
#include <limits>
#include <optional>

namespace Kel {

namespace {

[[noreturn]] void ThrowCast(TVarType from, TVarType to) {
  throw EVariantTypeCastError(
      RtlMessage(RtlText::ConvertVariant, VarTypeAsText(from), VarTypeAsText(to)));
}

[[noreturn]] void ThrowOverflow(TVarType from, TVarType to) {
  throw EVariantOverflowError(
      RtlMessage(RtlText::VariantOverflow, VarTypeAsText(from), VarTypeAsText(to)));
}

[[noreturn]] void ThrowInvalidOp() {
  throw EVariantInvalidOpError(RtlMessage(RtlText::InvalidVariantOperation));
}

// Classic text of truth values in variants.
const QString& TrueText() {
  static const QString text = QStringLiteral("True");
  return text;
}
const QString& FalseText() {
  static const QString text = QStringLiteral("False");
  return text;
}

std::optional<bool> TextToBoolean(const QString& text) {
  const QString trimmed = Trim(text);
  if (SameText(trimmed, TrueText())) return true;
  if (SameText(trimmed, FalseText())) return false;
  return std::nullopt;
}

// Rounds a double to an integer with halves to even, refusing what does not fit in int64.
std::optional<int64_t> RoundToInt64(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double rounded = std::nearbyint(value);  // default rounding mode: to nearest even
  if (rounded < -9223372036854775808.0 || rounded >= 9223372036854775808.0) return std::nullopt;
  return static_cast<int64_t>(rounded);
}

// Integer division of a currency's scaled value by 10000 with halves to even.
int64_t RoundCurrencyToInt(int64_t scaled) {
  int64_t quotient = scaled / Currency::Scale;
  const int64_t remainder = scaled % Currency::Scale;
  const int64_t twice = remainder * 2;
  if (twice > Currency::Scale || (twice == Currency::Scale && (quotient & 1)))
    ++quotient;
  else if (twice < -Currency::Scale || (twice == -Currency::Scale && (quotient & 1)))
    --quotient;
  return quotient;
}

// A string read as the number it stands for: an integer when it is integer text, else a double.
Variant StringToNumber(const QString& text) {
  int64_t integer = 0;
  if (TryStrToInt64(Trim(text), integer)) return Variant(integer);
  double number = 0;
  if (TryStrToFloat(text, number)) return Variant(number);
  if (auto truth = TextToBoolean(text)) return Variant(*truth);
  ThrowCast(varString, varDouble);
}

// Integers that fit in 32 bits are Integer variants, larger ones Int64.
Variant IntegerResult(int64_t value) {
  if (value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max())
    return Variant(static_cast<int>(value));
  return Variant(value);
}

// The rank of a numeric kind in mixed arithmetic and comparison.
enum class NumKind { Integer, Currency, Double, Date };

NumKind NumKindOf(const Variant& v) {
  switch (v.VarType()) {
    case varCurrency:
      return NumKind::Currency;
    case varSingle:
    case varDouble:
      return NumKind::Double;
    case varDate:
      return NumKind::Date;
    default:
      return NumKind::Integer;
  }
}

// Brings an operand into the numeric world: empty becomes 0, booleans -1/0, strings the number
// they spell. Null and arrays are handled by the callers before this.
Variant AsNumber(const Variant& v) {
  switch (v.VarType()) {
    case varEmpty:
      return Variant(0);
    case varBoolean:
      return Variant(v.AsBoolean() ? -1 : 0);
    case varString:
    case varOleStr:
      return StringToNumber(v.StringRef());
    default:
      return v;
  }
}

// -1, 0 or 1 as a is below, equal to or above b (0 also for unordered floats).
template <typename T>
int ThreeWay(T a, T b) {
  return a < b ? -1 : (a > b ? 1 : 0);
}

std::optional<int> CompareDoubles(double x, double y) {
  if (std::isnan(x) || std::isnan(y)) return std::nullopt;
  return ThreeWay(x, y);
}

// By day, then by time of day (the numbers alone misorder times before 30 December 1899).
std::optional<int> CompareDateTimes(double x, double y) {
  return CompareDoubles(DateTimeOrderKey(x), DateTimeOrderKey(y));
}

// Compares two non-null, non-array values; nullopt when they are unordered (NaN). A date-time
// against a number or text compares as two date-times.
std::optional<int> CompareValues(const Variant& a, const Variant& b) {
  const bool aText = a.IsString() || a.IsEmpty();
  const bool bText = b.IsString() || b.IsEmpty();
  if (a.IsEmpty() && b.IsEmpty()) return 0;
  if (aText && bText) return CompareStr(a.StringRef(), b.StringRef());
  if (a.VarType() == varBoolean || b.VarType() == varBoolean) {
    if (a.VarType() == varBoolean && b.VarType() == varBoolean)
      return ThreeWay(a.AsBoolean() ? 1 : 0, b.AsBoolean() ? 1 : 0);
  }
  if ((a.IsString() && b.VarType() == varDate) || (b.IsString() && a.VarType() == varDate))
    return CompareDateTimes(a.AsDate(), b.AsDate());

  const Variant x = AsNumber(a);
  const Variant y = AsNumber(b);
  const NumKind kx = NumKindOf(x);
  const NumKind ky = NumKindOf(y);
  if (kx == NumKind::Integer && ky == NumKind::Integer) return ThreeWay(x.AsInt64(), y.AsInt64());
  if ((kx == NumKind::Currency || kx == NumKind::Integer) &&
      (ky == NumKind::Currency || ky == NumKind::Integer)) {
    auto scaled = [](const Variant& v) -> __int128 {
      return v.VarType() == varCurrency ? __int128(v.AsCurrency().Scaled)
                                        : __int128(v.AsInt64()) * Currency::Scale;
    };
    return ThreeWay(scaled(x), scaled(y));
  }
  if (kx == NumKind::Date || ky == NumKind::Date)
    return CompareDateTimes(x.AsDouble(), y.AsDouble());
  return CompareDoubles(x.AsDouble(), y.AsDouble());
}

void CheckComparable(const Variant& a, const Variant& b) {
  if (a.IsArray() || b.IsArray()) ThrowInvalidOp();
}

enum class ArithOp { Add, Subtract, Multiply, Divide };

Variant IntegerArith(ArithOp op, int64_t x, int64_t y) {
  int64_t result = 0;
  bool overflow = false;
  switch (op) {
    case ArithOp::Add:
      overflow = __builtin_add_overflow(x, y, &result);
      break;
    case ArithOp::Subtract:
      overflow = __builtin_sub_overflow(x, y, &result);
      break;
    case ArithOp::Multiply:
      overflow = __builtin_mul_overflow(x, y, &result);
      break;
    case ArithOp::Divide:
      break;
  }
  if (overflow) {
    const double dx = static_cast<double>(x), dy = static_cast<double>(y);
    return Variant(op == ArithOp::Add ? dx + dy : op == ArithOp::Subtract ? dx - dy : dx * dy);
  }
  return IntegerResult(result);
}

double DivideDoubles(double x, double y) {
  if (y == 0) {
    if (x == 0 || std::isnan(x)) throw EInvalidOp(RtlMessage(RtlText::InvalidOp));
    throw EZeroDivide(RtlMessage(RtlText::ZeroDivide));
  }
  return x / y;
}

Variant DoubleArith(ArithOp op, double x, double y) {
  switch (op) {
    case ArithOp::Add:
      return Variant(x + y);
    case ArithOp::Subtract:
      return Variant(x - y);
    case ArithOp::Multiply:
      return Variant(x * y);
    case ArithOp::Divide:
      return Variant(DivideDoubles(x, y));
  }
  return Variant();
}

Variant CurrencyArith(ArithOp op, const Variant& x, const Variant& y) {
  const Currency cx = x.AsCurrency();
  const Currency cy = y.AsCurrency();
  switch (op) {
    case ArithOp::Add:
      return Variant(cx + cy);
    case ArithOp::Subtract:
      return Variant(cx - cy);
    case ArithOp::Multiply:
      return Variant(cx * cy);
    case ArithOp::Divide:
      if (cy.Scaled == 0) (void)DivideDoubles(cx.ToDouble(), 0);
      return Variant(cx / cy);
  }
  return Variant();
}

Variant DateArith(ArithOp op, const Variant& x, const Variant& y) {
  const double dx = x.AsDouble();
  const double dy = y.AsDouble();
  const bool bothDates = x.VarType() == varDate && y.VarType() == varDate;
  switch (op) {
    case ArithOp::Add:
      return bothDates ? Variant(dx + dy) : Variant::FromDate(dx + dy);
    case ArithOp::Subtract:
      return bothDates ? Variant(dx - dy) : Variant::FromDate(dx - dy);
    default:
      return DoubleArith(op, dx, dy);
  }
}

Variant Arith(ArithOp op, const Variant& a, const Variant& b) {
  if (a.IsArray() || b.IsArray()) ThrowInvalidOp();
  if (a.IsNull() || b.IsNull()) return Variant::Null();
  if (op == ArithOp::Add && (a.IsString() || b.IsString()) &&
      (a.IsString() || a.IsEmpty()) && (b.IsString() || b.IsEmpty())) {
    return Variant(a.StringRef() + b.StringRef());
  }
  const Variant x = AsNumber(a);
  const Variant y = AsNumber(b);
  const NumKind kx = NumKindOf(x);
  const NumKind ky = NumKindOf(y);
  if (kx == NumKind::Date || ky == NumKind::Date) return DateArith(op, x, y);
  if (kx == NumKind::Currency || ky == NumKind::Currency) return CurrencyArith(op, x, y);
  if (kx == NumKind::Double || ky == NumKind::Double || op == ArithOp::Divide)
    return DoubleArith(op, x.AsDouble(), y.AsDouble());
  return IntegerArith(op, x.AsInt64(), y.AsInt64());
}

// Logic on booleans with three-valued Null handling; bitwise on integers.
enum class LogicOp { And, Or, Xor };

bool TakesPartAsBoolean(const Variant& v) {
  if (v.VarType() == varBoolean || v.IsEmpty()) return true;
  return v.IsString() && TextToBoolean(v.StringRef()).has_value();
}

Variant Logic(LogicOp op, const Variant& a, const Variant& b) {
  if (a.IsArray() || b.IsArray()) ThrowInvalidOp();
  if (a.IsNull() || b.IsNull()) {
    const Variant& other = a.IsNull() ? b : a;
    if (other.IsNull() || op == LogicOp::Xor) return Variant::Null();
    if (!TakesPartAsBoolean(other)) return Variant::Null();
    const bool value = other.AsBoolean();
    if (op == LogicOp::And && !value) return Variant(false);
    if (op == LogicOp::Or && value) return Variant(true);
    return Variant::Null();
  }
  if (a.VarType() == varBoolean || b.VarType() == varBoolean ||
      (TakesPartAsBoolean(a) && TakesPartAsBoolean(b))) {
    const bool x = a.AsBoolean();
    const bool y = b.AsBoolean();
    switch (op) {
      case LogicOp::And:
        return Variant(x && y);
      case LogicOp::Or:
        return Variant(x || y);
      case LogicOp::Xor:
        return Variant(x != y);
    }
  }
  const int64_t x = a.AsInt64();
  const int64_t y = b.AsInt64();
  switch (op) {
    case LogicOp::And:
      return IntegerResult(x & y);
    case LogicOp::Or:
      return IntegerResult(x | y);
    case LogicOp::Xor:
      return IntegerResult(x ^ y);
  }
  return Variant();
}

QString SingleToString(float value) {
  // A single carries about seven significant digits; printing more would show noise.
  double shortest = 0;
  bool ok = false;
  shortest = QString::number(static_cast<double>(value), 'g', 7).toDouble(&ok);
  return FloatToStr(ok ? shortest : static_cast<double>(value));
}

}  // namespace

Variant Variant::Null() {
  Variant v;
  v.type_ = varNull;
  return v;
}

Variant Variant::FromDate(TDateTime value) {
  Variant v;
  v.type_ = varDate;
  v.data_.d = value;
  return v;
}

Variant Variant::FromSmallint(int16_t value) {
  Variant v;
  v.type_ = varSmallint;
  v.data_.i = value;
  return v;
}

Variant Variant::FromByte(uint8_t value) {
  Variant v;
  v.type_ = varByte;
  v.data_.i = value;
  return v;
}

Variant Variant::FromOleStr(const QString& value) {
  Variant v(value);
  v.type_ = varOleStr;
  return v;
}

Variant Variant::FromArray(std::vector<Variant> elements, int lowBound) {
  Variant v;
  v.type_ = varArray;
  v.array_ = std::make_shared<const std::vector<Variant>>(std::move(elements));
  v.arrayLowBound_ = lowBound;
  return v;
}

bool Variant::IsInteger() const {
  return type_ == varSmallint || type_ == varInteger || type_ == varByte || type_ == varInt64;
}

bool Variant::IsOrdinal() const { return IsInteger() || type_ == varBoolean; }

bool Variant::IsFloat() const {
  return type_ == varSingle || type_ == varDouble || type_ == varCurrency;
}

bool Variant::IsNumeric() const { return IsOrdinal() || IsFloat(); }

int64_t Variant::AsInt64() const {
  switch (type_) {
    case varEmpty:
      return 0;
    case varSmallint:
    case varInteger:
    case varByte:
    case varInt64:
      return data_.i;
    case varBoolean:
      return data_.b ? -1 : 0;
    case varSingle:
    case varDouble:
    case varDate: {
      const double value = type_ == varSingle ? data_.f : data_.d;
      if (auto rounded = RoundToInt64(value)) return *rounded;
      ThrowOverflow(type_, varInt64);
    }
    case varCurrency:
      return RoundCurrencyToInt(data_.i);
    case varString:
    case varOleStr: {
      int64_t integer = 0;
      if (TryStrToInt64(Trim(str_), integer)) return integer;
      double number = 0;
      if (TryStrToFloat(str_, number)) {
        if (auto rounded = RoundToInt64(number)) return *rounded;
        ThrowOverflow(type_, varInt64);
      }
      if (auto truth = TextToBoolean(str_)) return *truth ? -1 : 0;
      ThrowCast(type_, varInt64);
    }
    default:
      ThrowCast(type_, varInt64);
  }
}

int Variant::AsInteger() const {
  const int64_t value = AsInt64();
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
    ThrowOverflow(type_, varInteger);
  return static_cast<int>(value);
}

double Variant::AsDouble() const {
  switch (type_) {
    case varEmpty:
      return 0;
    case varSmallint:
    case varInteger:
    case varByte:
    case varInt64:
      return static_cast<double>(data_.i);
    case varBoolean:
      return data_.b ? -1 : 0;
    case varSingle:
      return data_.f;
    case varDouble:
    case varDate:
      return data_.d;
    case varCurrency:
      return Currency::FromScaled(data_.i).ToDouble();
    case varString:
    case varOleStr: {
      double number = 0;
      if (TryStrToFloat(str_, number)) return number;
      if (auto truth = TextToBoolean(str_)) return *truth ? -1 : 0;
      ThrowCast(type_, varDouble);
    }
    default:
      ThrowCast(type_, varDouble);
  }
}

Currency Variant::AsCurrency() const {
  switch (type_) {
    case varCurrency:
      return Currency::FromScaled(data_.i);
    case varSmallint:
    case varInteger:
    case varByte:
    case varInt64: {
      int64_t scaled = 0;
      if (__builtin_mul_overflow(data_.i, Currency::Scale, &scaled)) ThrowOverflow(type_, varCurrency);
      return Currency::FromScaled(scaled);
    }
    case varString:
    case varOleStr: {
      Currency value;
      if (TryStrToCurr(str_, value)) return value;
      ThrowCast(type_, varCurrency);
    }
    case varNull:
    case varArray:
      ThrowCast(type_, varCurrency);
    default: {
      const double value = AsDouble();
      if (!std::isfinite(value) || std::fabs(value) >= 922337203685477.0)
        ThrowOverflow(type_, varCurrency);
      return Currency::FromDouble(value);
    }
  }
}

bool Variant::ConvertToBoolean() const {
  switch (type_) {
    case varEmpty:
      return false;
    case varBoolean:
      return data_.b;
    case varSmallint:
    case varInteger:
    case varByte:
    case varInt64:
    case varCurrency:
      return data_.i != 0;
    case varSingle:
      return data_.f != 0;
    case varDouble:
    case varDate:
      return data_.d != 0;
    case varString:
    case varOleStr: {
      if (auto truth = TextToBoolean(str_)) return *truth;
      double number = 0;
      if (TryStrToFloat(str_, number)) return number != 0;
      ThrowCast(type_, varBoolean);
    }
    default:
      ThrowCast(type_, varBoolean);
  }
}

TDateTime Variant::AsDate() const {
  switch (type_) {
    case varString:
    case varOleStr: {
      TDateTime value = 0;
      if (TryStrToDateTime(str_, value)) return value;
      ThrowCast(type_, varDate);
    }
    case varNull:
    case varArray:
      ThrowCast(type_, varDate);
    default:
      return AsDouble();
  }
}

QString Variant::AsString() const {
  switch (type_) {
    case varEmpty:
      return QString();
    case varSmallint:
    case varInteger:
    case varByte:
    case varInt64:
      return QString::number(data_.i);
    case varBoolean:
      return data_.b ? TrueText() : FalseText();
    case varSingle:
      return SingleToString(data_.f);
    case varDouble:
      return FloatToStr(data_.d);
    case varCurrency:
      return CurrToStr(Currency::FromScaled(data_.i));
    case varDate:
      return DateTimeToStr(data_.d);
    case varString:
    case varOleStr:
      return str_;
    default:
      ThrowCast(type_, varString);
  }
}

Variant Variant::AsType(TVarType type) const {
  if (type == type_) return *this;
  switch (type) {
    case varEmpty:
      return Variant();
    case varNull:
      return Null();
    case varSmallint: {
      const int64_t value = AsInt64();
      if (value < -32768 || value > 32767) ThrowOverflow(type_, type);
      return FromSmallint(static_cast<int16_t>(value));
    }
    case varByte: {
      const int64_t value = AsInt64();
      if (value < 0 || value > 255) ThrowOverflow(type_, type);
      return FromByte(static_cast<uint8_t>(value));
    }
    case varInteger:
      return Variant(AsInteger());
    case varInt64:
      return Variant(AsInt64());
    case varSingle:
      return Variant(static_cast<float>(AsDouble()));
    case varDouble:
      return Variant(AsDouble());
    case varCurrency:
      return Variant(AsCurrency());
    case varDate:
      return FromDate(AsDate());
    case varBoolean:
      return Variant(AsBoolean());
    case varString:
      return Variant(AsString());
    case varOleStr:
      return FromOleStr(AsString());
    default:
      ThrowCast(type_, type);
  }
}

int Variant::ArrayLowBound() const {
  if (!IsArray()) ThrowInvalidOp();
  return arrayLowBound_;
}

int Variant::ArrayHighBound() const {
  if (!IsArray()) ThrowInvalidOp();
  return arrayLowBound_ + static_cast<int>(array_->size()) - 1;
}

const Variant& Variant::ArrayItem(int index) const {
  if (!IsArray()) ThrowInvalidOp();
  const int64_t offset = int64_t(index) - arrayLowBound_;
  if (offset < 0 || offset >= static_cast<int64_t>(array_->size()))
    throw EVariantBadIndexError(RtlMessage(RtlText::VariantBadIndex));
  return (*array_)[static_cast<size_t>(offset)];
}

const std::vector<Variant>& Variant::ArrayElements() const {
  static const std::vector<Variant> none;
  return IsArray() ? *array_ : none;
}

bool Variant::Same(const Variant& other) const {
  if (type_ != other.type_) return false;
  switch (type_) {
    case varEmpty:
    case varNull:
      return true;
    case varSingle:
      return data_.f == other.data_.f;
    case varDouble:
    case varDate:
      return data_.d == other.data_.d || (std::isnan(data_.d) && std::isnan(other.data_.d));
    case varBoolean:
      return data_.b == other.data_.b;
    case varString:
    case varOleStr:
      return str_ == other.str_;
    case varArray: {
      if (arrayLowBound_ != other.arrayLowBound_ || array_->size() != other.array_->size())
        return false;
      for (size_t i = 0; i < array_->size(); ++i)
        if (!(*array_)[i].Same((*other.array_)[i])) return false;
      return true;
    }
    default:
      return data_.i == other.data_.i;
  }
}

TVariantRelationship VarCompareValue(const Variant& a, const Variant& b) {
  CheckComparable(a, b);
  if (a.IsNull() || b.IsNull())
    return a.IsNull() && b.IsNull() ? TVariantRelationship::vrEqual
                                    : TVariantRelationship::vrNotEqual;
  const std::optional<int> order = CompareValues(a, b);
  if (!order) return TVariantRelationship::vrNotEqual;
  if (*order < 0) return TVariantRelationship::vrLessThan;
  if (*order > 0) return TVariantRelationship::vrGreaterThan;
  return TVariantRelationship::vrEqual;
}

bool VarEquals(const Variant& a, const Variant& b) {
  return VarCompareValue(a, b) == TVariantRelationship::vrEqual;
}

bool VarLess(const Variant& a, const Variant& b) {
  return VarCompareValue(a, b) == TVariantRelationship::vrLessThan;
}

bool VarGreater(const Variant& a, const Variant& b) {
  return VarCompareValue(a, b) == TVariantRelationship::vrGreaterThan;
}

namespace {

// a <= b (strict = vrLessThan) or a >= b (strict = vrGreaterThan); false when either is Null,
// since two Nulls are equal but not ordered.
bool StrictOrEqual(const Variant& a, const Variant& b, TVariantRelationship strict) {
  if (a.IsNull() || b.IsNull()) {
    CheckComparable(a, b);
    return false;
  }
  const TVariantRelationship r = VarCompareValue(a, b);
  return r == strict || r == TVariantRelationship::vrEqual;
}

}  // namespace

bool VarLessEqual(const Variant& a, const Variant& b) {
  return StrictOrEqual(a, b, TVariantRelationship::vrLessThan);
}

bool VarGreaterEqual(const Variant& a, const Variant& b) {
  return StrictOrEqual(a, b, TVariantRelationship::vrGreaterThan);
}

bool operator==(const Variant& a, const Variant& b) { return VarEquals(a, b); }
bool operator!=(const Variant& a, const Variant& b) {
  const TVariantRelationship r = VarCompareValue(a, b);
  return r != TVariantRelationship::vrEqual;
}
bool operator<(const Variant& a, const Variant& b) { return VarLess(a, b); }
bool operator>(const Variant& a, const Variant& b) { return VarGreater(a, b); }
bool operator<=(const Variant& a, const Variant& b) { return VarLessEqual(a, b); }
bool operator>=(const Variant& a, const Variant& b) { return VarGreaterEqual(a, b); }

Variant operator+(const Variant& a, const Variant& b) { return Arith(ArithOp::Add, a, b); }
Variant operator-(const Variant& a, const Variant& b) { return Arith(ArithOp::Subtract, a, b); }
Variant operator*(const Variant& a, const Variant& b) { return Arith(ArithOp::Multiply, a, b); }
Variant operator/(const Variant& a, const Variant& b) { return Arith(ArithOp::Divide, a, b); }

Variant operator-(const Variant& a) {
  if (a.IsArray()) ThrowInvalidOp();
  if (a.IsNull()) return a;
  const Variant x = AsNumber(a);
  switch (NumKindOf(x)) {
    case NumKind::Date:
      return Variant::FromDate(-x.AsDouble());
    case NumKind::Currency:
      return Variant(-x.AsCurrency());
    case NumKind::Double:
      return Variant(-x.AsDouble());
    case NumKind::Integer: {
      const int64_t value = x.AsInt64();
      if (value == std::numeric_limits<int64_t>::min()) return Variant(-static_cast<double>(value));
      return IntegerResult(-value);
    }
  }
  return Variant();
}

namespace {

Variant IntegerDivision(const Variant& a, const Variant& b, bool remainder) {
  if (a.IsArray() || b.IsArray()) ThrowInvalidOp();
  if (a.IsNull() || b.IsNull()) return Variant::Null();
  const int64_t x = AsNumber(a).AsInt64();
  const int64_t y = AsNumber(b).AsInt64();
  if (y == 0) throw EDivByZero(RtlMessage(RtlText::DivByZero));
  if (y == -1) return remainder ? Variant(0) : -IntegerResult(x);
  return IntegerResult(remainder ? x % y : x / y);
}

}  // namespace

Variant VarMod(const Variant& a, const Variant& b) { return IntegerDivision(a, b, true); }
Variant VarIntDiv(const Variant& a, const Variant& b) { return IntegerDivision(a, b, false); }
Variant VarAnd(const Variant& a, const Variant& b) { return Logic(LogicOp::And, a, b); }
Variant VarOr(const Variant& a, const Variant& b) { return Logic(LogicOp::Or, a, b); }
Variant VarXor(const Variant& a, const Variant& b) { return Logic(LogicOp::Xor, a, b); }

Variant VarNot(const Variant& a) {
  if (a.IsArray()) ThrowInvalidOp();
  if (a.IsNull()) return a;
  if (TakesPartAsBoolean(a)) return Variant(!a.AsBoolean());
  return IntegerResult(~a.AsInt64());
}

QString VarToStr(const Variant& v) { return v.IsNull() ? QString() : v.AsString(); }

QString VarTypeAsText(TVarType type) {
  switch (type) {
    case varEmpty:
      return QStringLiteral("Empty");
    case varNull:
      return QStringLiteral("Null");
    case varSmallint:
      return QStringLiteral("Smallint");
    case varInteger:
      return QStringLiteral("Integer");
    case varSingle:
      return QStringLiteral("Single");
    case varDouble:
      return QStringLiteral("Double");
    case varCurrency:
      return QStringLiteral("Currency");
    case varDate:
      return QStringLiteral("Date");
    case varOleStr:
      return QStringLiteral("OleStr");
    case varBoolean:
      return QStringLiteral("Boolean");
    case varByte:
      return QStringLiteral("Byte");
    case varInt64:
      return QStringLiteral("Int64");
    case varString:
      return QStringLiteral("String");
    case varArray:
      return QStringLiteral("Array");
  }
  return QStringLiteral("Unknown");
}

QString VarDebugText(const Variant& v) {
  if (v.IsArray()) {
    QStringList parts;
    for (const Variant& element : v.ArrayElements()) parts << VarDebugText(element);
    return QStringLiteral("Array[%1..]{%2}").arg(v.ArrayLowBound()).arg(parts.join(u", "));
  }
  if (v.IsEmpty() || v.IsNull()) return VarTypeAsText(v.VarType());
  if (v.VarType() == varDouble || v.VarType() == varDate)
    return QStringLiteral("%1(%2)").arg(VarTypeAsText(v.VarType()), QString::number(v.AsDouble(), 'g', 17));
  return QStringLiteral("%1(%2)").arg(VarTypeAsText(v.VarType()), v.AsString());
}

}  // namespace Kel
