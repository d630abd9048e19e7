#pragma once
// Message texts of the object model (components, collections, property access, class registry).
// Kept together so that tests and callers use the very same words; format them with RtlMessage
// (Exceptions.h).

namespace Kel::ClassesText {

inline constexpr const char* DuplicateName = "A component named %1 already exists";
inline constexpr const char* InvalidName = "'%1' is not a valid component name";
inline constexpr const char* OwnershipCycle = "A component cannot own itself or its owner: %1";
inline constexpr const char* ClassNotFound = "Class %1 not found";
inline constexpr const char* DuplicateClass = "A class named %1 already exists";
inline constexpr const char* CannotCreate = "Cannot create an instance of %1";
inline constexpr const char* UnknownProperty = "Property %1 does not exist";
inline constexpr const char* InvalidPropertyType = "Invalid property type: %1";
inline constexpr const char* InvalidPropertyElement = "Invalid property element: %1";
inline constexpr const char* InvalidPropertyValue = "Invalid property value";
inline constexpr const char* ReadOnlyProperty = "Property %1 is read-only";
inline constexpr const char* InvalidItemClass = "A %1 cannot be an item of a collection of %2";

}  // namespace Kel::ClassesText
