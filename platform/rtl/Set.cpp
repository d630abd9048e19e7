#include "Set.h"

#include <unordered_map>

namespace Kel {

namespace {

// Filled during static initialisation by KEL_DECLARE_SET, so it must exist before its first use
// whatever the order in which translation units initialise. Nodes keep their address, so the
// pointers FindSetTypeInfo hands out stay valid when more sets register later.
std::unordered_map<int, SetTypeInfo>& SetTypeRegistry() {
  static std::unordered_map<int, SetTypeInfo> registry;
  return registry;
}

}  // namespace

bool RegisterSetTypeInfo(const SetTypeInfo& info) {
  if (info.metaTypeId == 0 || !info.enumeration.isValid() || !info.toBits || !info.fromBits)
    return false;
  // Every shared object that includes the enumeration's header registers the set again (the
  // registration variable is its own in each one); the first, made by the library that declares
  // the set, stays, so the converters never point into a plugin that may be unloaded.
  SetTypeRegistry().try_emplace(info.metaTypeId, info);
  return true;
}

const SetTypeInfo* FindSetTypeInfo(int metaTypeId) {
  const auto& registry = SetTypeRegistry();
  const auto it = registry.find(metaTypeId);
  return it == registry.end() ? nullptr : &it->second;
}

}  // namespace Kel
