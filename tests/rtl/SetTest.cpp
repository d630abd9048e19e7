// Sets over enumerations: bit layout by ordinal, and the registry that lets property access find
// a set's enumeration for enumerations declared in a namespace and inside a class.
#include <gtest/gtest.h>

#include <QObject>

#include "Set.h"

namespace SetTestTypes {
Q_NAMESPACE
enum TDay { dwNone, dwSunday, dwMonday, dwTuesday, dwWednesday, dwThursday, dwFriday, dwSaturday };
Q_ENUM_NS(TDay)

class THolder : public QObject {
  Q_OBJECT
 public:
  enum TKind { kA, kB, kC };
  Q_ENUM(TKind)
};
}  // namespace SetTestTypes

KEL_DECLARE_SET(SetTestTypes::TDay, SetTestTypes_TDay)
KEL_DECLARE_SET(SetTestTypes::THolder::TKind, SetTestTypes_THolder_TKind)

namespace Kel {
namespace {

using SetTestTypes::TDay;
using SetTestTypes::THolder;

TEST(Set, RegistryFindsNamespaceEnumeration) {
  const SetTypeInfo* info = FindSetTypeInfo(QMetaType::fromType<TSet<TDay>>().id());
  ASSERT_NE(info, nullptr);
  EXPECT_STREQ(info->enumeration.name(), "TDay");
  EXPECT_EQ(info->enumeration.keyToValue("dwFriday"), 6);
  TSet<TDay> value{SetTestTypes::dwMonday};
  EXPECT_EQ(info->toBits(&value), 4u);
  info->fromBits(&value, 0x82);
  EXPECT_EQ(value, (TSet<TDay>{SetTestTypes::dwSunday, SetTestTypes::dwSaturday}));
}

TEST(Set, RegistryFindsClassEnumeration) {
  const SetTypeInfo* info = FindSetTypeInfo(QMetaType::fromType<TSet<THolder::TKind>>().id());
  ASSERT_NE(info, nullptr);
  EXPECT_STREQ(info->enumeration.name(), "TKind");
  EXPECT_STREQ(info->enumeration.scope(), "SetTestTypes::THolder");
}

TEST(Set, UnregisteredTypesAreNotSets) {
  EXPECT_EQ(FindSetTypeInfo(QMetaType::fromType<int>().id()), nullptr);
  EXPECT_EQ(FindSetTypeInfo(0), nullptr);
}

}  // namespace
}  // namespace Kel

#include "SetTest.moc"
