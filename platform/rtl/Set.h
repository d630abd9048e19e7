#pragma once
// TSet<E>: a set over the ordinals of an enumeration, member e being bit 1 << e, as the classic
// toolkit stores sets ([dwMonday..dwFriday] is 124). Up to 64 members.

#include <QMetaEnum>
#include <QMetaType>
#include <cstdint>
#include <initializer_list>

#include "PlatformExport.h"

namespace Kel {

template <typename E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> members) {
    for (E e : members) bits_ |= Bit(e);
  }
  static constexpr TSet FromBits(uint64_t bits) {
    TSet s;
    s.bits_ = bits;
    return s;
  }
  // The members first..last inclusive, by ordinal.
  static constexpr TSet Range(E first, E last) {
    TSet s;
    for (int i = static_cast<int>(first); i <= static_cast<int>(last); ++i) s.bits_ |= uint64_t(1) << i;
    return s;
  }

  constexpr uint64_t Bits() const { return bits_; }
  constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
  constexpr bool IsEmpty() const { return bits_ == 0; }
  constexpr TSet& Include(E e) {
    bits_ |= Bit(e);
    return *this;
  }
  constexpr TSet& Exclude(E e) {
    bits_ &= ~Bit(e);
    return *this;
  }

  constexpr TSet operator+(TSet o) const { return FromBits(bits_ | o.bits_); }
  constexpr TSet operator-(TSet o) const { return FromBits(bits_ & ~o.bits_); }
  constexpr TSet operator*(TSet o) const { return FromBits(bits_ & o.bits_); }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr uint64_t Bit(E e) { return uint64_t(1) << static_cast<int>(e); }
  uint64_t bits_ = 0;
};

// Sets published as properties need their enumeration's names for streaming; the registry below
// maps the set's meta type to its enumeration. KEL_DECLARE_SET declares both, once, at global
// scope (outside every namespace) in the header that declares the enumeration, which must be a
// Q_ENUM / Q_ENUM_NS. Its first argument is the fully qualified enumeration, its second a plain
// identifier, unique in the program, that names the registration variable:
//
//   namespace Kel { Q_NAMESPACE enum TKelHorzAlign { haLeft, haCenter, haRight };
//                   Q_ENUM_NS(TKelHorzAlign) }
//   KEL_DECLARE_SET(Kel::TKelHorzAlign, Kel_TKelHorzAlign)
//
//   class TFoo : public QObject { Q_OBJECT public: enum TKind { kA, kB }; Q_ENUM(TKind) ... };
//   KEL_DECLARE_SET(Kel::TFoo::TKind, Kel_TFoo_TKind)
//
// after which Kel::TSet<Kel::TKelHorzAlign> can be a Q_PROPERTY that streams and property
// access read and write by member names.
struct SetTypeInfo {
  int metaTypeId = 0;
  QMetaEnum enumeration;
  uint64_t (*toBits)(const void* value) = nullptr;
  void (*fromBits)(void* value, uint64_t bits) = nullptr;
};

KEL_PLATFORM_EXPORT bool RegisterSetTypeInfo(const SetTypeInfo& info);
// The set information of a meta type, or nullptr when the type is not a registered set.
KEL_PLATFORM_EXPORT const SetTypeInfo* FindSetTypeInfo(int metaTypeId);

template <typename E>
bool RegisterSetType() {
  SetTypeInfo info;
  info.metaTypeId = QMetaType::fromType<TSet<E>>().id();
  info.enumeration = QMetaEnum::fromType<E>();
  info.toBits = [](const void* value) { return static_cast<const TSet<E>*>(value)->Bits(); };
  info.fromBits = [](void* value, uint64_t bits) {
    *static_cast<TSet<E>*>(value) = TSet<E>::FromBits(bits);
  };
  return RegisterSetTypeInfo(info);
}

}  // namespace Kel

#define KEL_DECLARE_SET(QualifiedEnum, Identifier)                                  \
  Q_DECLARE_METATYPE(Kel::TSet<QualifiedEnum>)                                        \
  namespace Kel::SetRegistration {                                                    \
  inline const bool registered_##Identifier = ::Kel::RegisterSetType<QualifiedEnum>(); \
  }
