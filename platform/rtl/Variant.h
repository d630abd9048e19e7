#pragma once
// Variant: the value type of fields, parameters and filter evaluation, with the classic kinds and
// rules.
//
// Kinds: empty (unassigned) and null are different things: empty is "no value given" and takes
// part in arithmetic and comparison as 0, "" or False; null is "the value is unknown".
//  - Null rules: Null = Null holds, Null = x does not; an ordering comparison (<, >, <=, >=)
//    with a Null operand is false, so a filter "Length < 150" does not select unknown lengths;
//    arithmetic with Null gives Null; AND/OR follow three-valued logic (False AND Null is False,
//    True OR Null is True, otherwise Null).
//  - Numbers of different kinds compare and calculate in the widest kind involved (integer,
//    64-bit integer, currency, double); a date with a number stays a date for + and -, and the
//    difference of two dates is a double. Booleans count as -1 (True) and 0 (False). A date
//    compared with a number (or a string read as a date) compares as two date-times, by day
//    and then by time of day (DateTimeOrderKey), also before 30 December 1899.
//  - A string meeting a number is read as a number (current decimal separator), a string
//    meeting a date as a date; text that does not convert raises EVariantTypeCastError. Two
//    strings compare by code (case-sensitive) and + concatenates them.
//  - Conversions to integer round halves to even; values out of range raise
//    EVariantOverflowError.
// Arrays (used for IN lists) hold variants with a low bound, 1 by default.

#include <QMetaType>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "Currency.h"
#include "DateUtils.h"
#include "PlatformExport.h"

namespace Kel {

// Variant kinds; the numbers are the classic type codes.
enum TVarType : uint16_t {
  varEmpty = 0x0000,
  varNull = 0x0001,
  varSmallint = 0x0002,
  varInteger = 0x0003,
  varSingle = 0x0004,
  varDouble = 0x0005,
  varCurrency = 0x0006,
  varDate = 0x0007,
  varOleStr = 0x0008,
  varBoolean = 0x000B,
  varByte = 0x0011,
  varInt64 = 0x0014,
  varString = 0x0100,
  varArray = 0x2000,
};

enum class TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };

class KEL_PLATFORM_EXPORT Variant {
 public:
  Variant() = default;  // empty
  Variant(int value) : type_(varInteger) { data_.i = value; }
  Variant(int64_t value) : type_(varInt64) { data_.i = value; }
  Variant(double value) : type_(varDouble) { data_.d = value; }
  Variant(float value) : type_(varSingle) { data_.f = value; }
  Variant(bool value) : type_(varBoolean) { data_.b = value; }
  Variant(Currency value) : type_(varCurrency) { data_.i = value.Scaled; }
  Variant(const QString& value) : type_(varString), str_(value) {}
  Variant(const char* value) : type_(varString), str_(QString::fromUtf8(value)) {}
  Variant(const char16_t* value) : type_(varString), str_(QString::fromUtf16(value)) {}

  static Variant Null();
  static Variant Empty() { return Variant(); }
  static Variant FromDate(TDateTime value);
  static Variant FromSmallint(int16_t value);
  static Variant FromByte(uint8_t value);
  static Variant FromOleStr(const QString& value);  // a wide string
  // An array of the given elements; its first index is lowBound.
  static Variant FromArray(std::vector<Variant> elements, int lowBound = 1);

  TVarType VarType() const { return type_; }
  bool IsEmpty() const { return type_ == varEmpty; }
  bool IsNull() const { return type_ == varNull; }
  bool IsEmptyOrNull() const { return type_ == varEmpty || type_ == varNull; }
  bool IsArray() const { return type_ == varArray; }
  bool IsString() const { return type_ == varString || type_ == varOleStr; }
  bool IsInteger() const;  // small integer, integer, byte, 64-bit integer
  bool IsOrdinal() const;  // integer or boolean
  bool IsFloat() const;    // single, double, currency
  bool IsNumeric() const;  // ordinal or float

  // Conversions. Each raises EVariantTypeCastError when the value cannot be converted and
  // EVariantOverflowError when it does not fit.
  int AsInteger() const;
  int64_t AsInt64() const;
  double AsDouble() const;
  Currency AsCurrency() const;
  // A Boolean answers at once: conditions ask for nothing else, once per record.
  bool AsBoolean() const { return type_ == varBoolean ? data_.b : ConvertToBoolean(); }
  TDateTime AsDate() const;
  QString AsString() const;
  // The value converted to another kind (VarAsType).
  Variant AsType(TVarType type) const;

  // Direct access to a string without converting (empty for other kinds).
  const QString& StringRef() const { return str_; }

  // Arrays.
  int ArrayLowBound() const;
  int ArrayHighBound() const;
  const Variant& ArrayItem(int index) const;  // raises EVariantBadIndexError
  const std::vector<Variant>& ArrayElements() const;

  // Same kind and same value (arrays element by element); Null equals Null here. This is
  // identity of values, not the variant comparison: 1 and 1.0 are not Same.
  bool Same(const Variant& other) const;

 private:
  bool ConvertToBoolean() const;

  TVarType type_ = varEmpty;
  union {
    int64_t i;
    double d;
    float f;
    bool b;
  } data_{};
  QString str_;
  std::shared_ptr<const std::vector<Variant>> array_;
  int arrayLowBound_ = 0;
};

// Comparison by the variant rules above. Raises EVariantTypeCastError when the kinds cannot be
// compared (a string that is not a number against a number, an array against anything).
KEL_PLATFORM_EXPORT TVariantRelationship VarCompareValue(const Variant& a, const Variant& b);
KEL_PLATFORM_EXPORT bool VarEquals(const Variant& a, const Variant& b);
KEL_PLATFORM_EXPORT bool VarLess(const Variant& a, const Variant& b);
KEL_PLATFORM_EXPORT bool VarGreater(const Variant& a, const Variant& b);
KEL_PLATFORM_EXPORT bool VarLessEqual(const Variant& a, const Variant& b);
KEL_PLATFORM_EXPORT bool VarGreaterEqual(const Variant& a, const Variant& b);

KEL_PLATFORM_EXPORT bool operator==(const Variant& a, const Variant& b);  // VarEquals
KEL_PLATFORM_EXPORT bool operator!=(const Variant& a, const Variant& b);
KEL_PLATFORM_EXPORT bool operator<(const Variant& a, const Variant& b);
KEL_PLATFORM_EXPORT bool operator>(const Variant& a, const Variant& b);
KEL_PLATFORM_EXPORT bool operator<=(const Variant& a, const Variant& b);
KEL_PLATFORM_EXPORT bool operator>=(const Variant& a, const Variant& b);

// Arithmetic and logic by the variant rules. Division by zero raises EZeroDivide (float) or
// EDivByZero (mod); operations that make no sense for the kinds raise EVariantInvalidOpError.
KEL_PLATFORM_EXPORT Variant operator+(const Variant& a, const Variant& b);
KEL_PLATFORM_EXPORT Variant operator-(const Variant& a, const Variant& b);
KEL_PLATFORM_EXPORT Variant operator*(const Variant& a, const Variant& b);
KEL_PLATFORM_EXPORT Variant operator/(const Variant& a, const Variant& b);  // always real division
KEL_PLATFORM_EXPORT Variant operator-(const Variant& a);
KEL_PLATFORM_EXPORT Variant VarMod(const Variant& a, const Variant& b);
KEL_PLATFORM_EXPORT Variant VarIntDiv(const Variant& a, const Variant& b);
KEL_PLATFORM_EXPORT Variant VarAnd(const Variant& a,
                                   const Variant& b);  // logical for booleans, bitwise for integers
KEL_PLATFORM_EXPORT Variant VarOr(const Variant& a, const Variant& b);
KEL_PLATFORM_EXPORT Variant VarXor(const Variant& a, const Variant& b);
KEL_PLATFORM_EXPORT Variant VarNot(const Variant& a);

// Free-function forms of the classic API.
inline bool VarIsNull(const Variant& v) { return v.IsNull(); }
inline bool VarIsEmpty(const Variant& v) { return v.IsEmpty(); }
inline bool VarIsArray(const Variant& v) { return v.IsArray(); }
inline TVarType VarType(const Variant& v) { return v.VarType(); }
inline Variant VarAsType(const Variant& v, TVarType type) { return v.AsType(type); }
// Text of a variant; empty for empty and null (unlike AsString, which refuses null).
KEL_PLATFORM_EXPORT QString VarToStr(const Variant& v);
// The name of a kind as error messages give it: "Integer", "String", "Null", ...
KEL_PLATFORM_EXPORT QString VarTypeAsText(TVarType type);

// Text for test failure messages and debugging: kind and value.
KEL_PLATFORM_EXPORT QString VarDebugText(const Variant& v);

}  // namespace Kel

Q_DECLARE_METATYPE(Kel::Variant)
