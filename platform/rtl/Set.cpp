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
  SetTypeRegistry().insert_or_assign(info.metaTypeId, info);
  return true;
}

const SetTypeInfo* FindSetTypeInfo(int metaTypeId) {
  const auto& registry = SetTypeRegistry();
  const auto it = registry.find(metaTypeId);
  return it == registry.end() ? nullptr : &it->second;
}

}  // namespace Kel
