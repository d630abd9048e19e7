#pragma once
// The exception family of the runtime. Every error the library raises carries its exact message
// text; callers catch by class (EConvertError, EStreamError, ...) or by the common base.

#include <QByteArray>
#include <QString>
#include <exception>
#include <type_traits>

#include "PlatformExport.h"

namespace Kel {

class KEL_PLATFORM_EXPORT Exception : public std::exception {
 public:
  explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
  const QString& Message() const { return message_; }
  void SetMessage(const QString& message) {
    message_ = message;
    utf8_ = message_.toUtf8();
  }
  const char* what() const noexcept override { return utf8_.constData(); }

 private:
  QString message_;
  QByteArray utf8_;
};

#define KEL_DECLARE_EXCEPTION(Name, Base)        \
  class KEL_PLATFORM_EXPORT Name : public Base { \
   public:                                       \
    using Base::Base;                            \
  }

KEL_DECLARE_EXCEPTION(EAbort, Exception);
KEL_DECLARE_EXCEPTION(EConvertError, Exception);
KEL_DECLARE_EXCEPTION(EInvalidCast, Exception);
KEL_DECLARE_EXCEPTION(EInvalidOperation, Exception);
KEL_DECLARE_EXCEPTION(EOutOfRange, Exception);
KEL_DECLARE_EXCEPTION(EIntError, Exception);
KEL_DECLARE_EXCEPTION(EDivByZero, EIntError);
KEL_DECLARE_EXCEPTION(EIntOverflow, EIntError);
KEL_DECLARE_EXCEPTION(EMathError, Exception);
KEL_DECLARE_EXCEPTION(EZeroDivide, EMathError);
KEL_DECLARE_EXCEPTION(EInvalidOp, EMathError);
KEL_DECLARE_EXCEPTION(EOverflow, EMathError);
KEL_DECLARE_EXCEPTION(EVariantError, Exception);
KEL_DECLARE_EXCEPTION(EVariantTypeCastError, EVariantError);
KEL_DECLARE_EXCEPTION(EVariantOverflowError, EVariantError);
KEL_DECLARE_EXCEPTION(EVariantInvalidOpError, EVariantError);
KEL_DECLARE_EXCEPTION(EVariantBadIndexError, EVariantError);
KEL_DECLARE_EXCEPTION(EListError, Exception);
KEL_DECLARE_EXCEPTION(EStringListError, Exception);
KEL_DECLARE_EXCEPTION(EStreamError, Exception);
KEL_DECLARE_EXCEPTION(EFileStreamError, EStreamError);
KEL_DECLARE_EXCEPTION(EFCreateError, EFileStreamError);
KEL_DECLARE_EXCEPTION(EFOpenError, EFileStreamError);
KEL_DECLARE_EXCEPTION(EReadError, EStreamError);
KEL_DECLARE_EXCEPTION(EWriteError, EStreamError);
KEL_DECLARE_EXCEPTION(EFilerError, EStreamError);
KEL_DECLARE_EXCEPTION(EClassNotFound, EFilerError);
KEL_DECLARE_EXCEPTION(EParserError, Exception);
KEL_DECLARE_EXCEPTION(EComponentError, Exception);
KEL_DECLARE_EXCEPTION(EPropertyError, Exception);
KEL_DECLARE_EXCEPTION(EDatabaseError, Exception);
KEL_DECLARE_EXCEPTION(ERegistryException, Exception);

// Message texts of the runtime. Kept together so tests and callers use the very same words.
namespace RtlText {
inline constexpr const char* ConvertVariant = "Could not convert variant of type (%1) into type (%2)";
inline constexpr const char* VariantOverflow = "Overflow while converting variant of type (%1) into type (%2)";
inline constexpr const char* InvalidVariantOperation = "Invalid variant operation";
inline constexpr const char* VariantBadIndex = "Variant or safe array index out of bounds";
inline constexpr const char* InvalidInteger = "'%1' is not a valid integer value";
inline constexpr const char* InvalidFloat = "'%1' is not a valid floating point value";
inline constexpr const char* InvalidCurrency = "'%1' is not a valid currency value";
inline constexpr const char* InvalidDate = "'%1' is not a valid date";
inline constexpr const char* InvalidTime = "'%1' is not a valid time";
inline constexpr const char* InvalidDateTime = "'%1' is not a valid date and time";
inline constexpr const char* InvalidBoolean = "'%1' is not a valid boolean value";
inline constexpr const char* DateEncodeError = "Invalid argument to date encode";
inline constexpr const char* TimeEncodeError = "Invalid argument to time encode";
inline constexpr const char* DivByZero = "Division by zero";
inline constexpr const char* ZeroDivide = "Floating point division by zero";
inline constexpr const char* InvalidOp = "Invalid floating point operation";
inline constexpr const char* IntOverflow = "Integer overflow";
inline constexpr const char* ListIndexError = "List index out of bounds (%1)";
inline constexpr const char* ListCapacityError = "List capacity out of bounds (%1)";
inline constexpr const char* DuplicateString = "String list does not allow duplicates";
inline constexpr const char* SortedListError = "Operation not allowed on sorted string list";
inline constexpr const char* ReadError = "Stream read error";
inline constexpr const char* WriteError = "Stream write error";
inline constexpr const char* FCreateError = "Cannot create file %1";
inline constexpr const char* FOpenError = "Cannot open file %1";
inline constexpr const char* MemoryStreamError = "Out of memory while expanding memory stream";
inline constexpr const char* InvalidCast = "Invalid class typecast";
inline constexpr const char* AssignError = "Cannot assign a %1 to a %2";
}  // namespace RtlText

inline QString ToMessageArg(const QString& text) { return text; }
inline QString ToMessageArg(const char* text) { return QString::fromUtf8(text); }
template <typename T>
  requires std::is_arithmetic_v<T>
QString ToMessageArg(T number) {
  return QString::number(number);
}

// Formats a runtime message: the %1, %2, ... of the text take the arguments in order. The
// arguments are substituted in one pass, so a "%2" inside the first argument stays as it is.
template <typename... Args>
QString RtlMessage(const char* text, const Args&... args) {
  if constexpr (sizeof...(args) == 0) {
    return QString::fromUtf8(text);
  } else {
    return QString::fromUtf8(text).arg(ToMessageArg(args)...);
  }
}

}  // namespace Kel
