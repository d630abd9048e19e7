#pragma once
// Message texts of component streams (binary form, text form and the object reader/writer).
// Kept together so that tests and callers use the very same words; format them with
// RtlMessage (Exceptions.h). Texts shared with the object model (unknown property, class not
// found) are those of ClassesConsts.h.

namespace Kel::FilerText {

inline constexpr const char* InvalidImage = "Invalid stream format";
inline constexpr const char* InvalidPropertyValue = "Invalid property value";
inline constexpr const char* PropertyException = "Error reading %1: %2";
inline constexpr const char* InvalidPropertyPath = "Invalid property path";
inline constexpr const char* NestingTooDeep = "Stream nesting too deep";
inline constexpr const char* NameTooLong = "Name too long for a component stream: %1";
inline constexpr const char* UnsupportedValue =
    "Cannot write a value of kind %1 to a component stream";
inline constexpr const char* NullInList =
    "A Null value cannot be written inside a list of a component stream";
inline constexpr const char* InvalidBinary = "Invalid binary value";
inline constexpr const char* InvalidString = "Invalid string constant";
inline constexpr const char* InvalidNumber = "Invalid number %1";
inline constexpr const char* IdentifierExpected = "Identifier expected";
inline constexpr const char* StringExpected = "String expected";
inline constexpr const char* NumberExpected = "Number expected";
inline constexpr const char* CharExpected = "'%1' expected";
inline constexpr const char* SymbolExpected = "%1 expected";
inline constexpr const char* ParseError = "%1 on line %2";
inline constexpr const char* AncestorNotFound = "Ancestor for '%1' not found";
inline constexpr const char* NotAComponentClass = "Class %1 is not a component class";

}  // namespace Kel::FilerText
