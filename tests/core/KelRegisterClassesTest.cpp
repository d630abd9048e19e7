// RegisterClassesOnce: classes become known once, a second registration is harmless, and a name
// already taken by another class is left to that class without failing the others.
#include <gtest/gtest.h>

#include "ClassRegistry.h"
#include "KelRegisterClasses.h"
#include "Persistent.h"

namespace OnceFirst {
class TKelOnceShared : public Kel::TPersistent {
  Q_OBJECT
};
class TKelOnceOwn : public Kel::TPersistent {
  Q_OBJECT
};
}  // namespace OnceFirst

namespace OnceSecond {
// The same class name as OnceFirst's, in another namespace.
class TKelOnceShared : public Kel::TPersistent {
  Q_OBJECT
};
}  // namespace OnceSecond

namespace {

using namespace Kel;

class RegisterClassesOnceTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const QMetaObject* meta :
         {&OnceFirst::TKelOnceShared::staticMetaObject, &OnceFirst::TKelOnceOwn::staticMetaObject,
          &OnceSecond::TKelOnceShared::staticMetaObject})
      if (GetClass(TPersistent::ClassNameOf(*meta)) == meta) UnRegisterClass(*meta);
  }
};

TEST_F(RegisterClassesOnceTest, RegistersUnknownClassesAndToleratesRepetition) {
  RegisterClassesOnce({&OnceFirst::TKelOnceShared::staticMetaObject, nullptr,
                       &OnceFirst::TKelOnceOwn::staticMetaObject});
  EXPECT_EQ(GetClass("TKelOnceOwn"), &OnceFirst::TKelOnceOwn::staticMetaObject);
  EXPECT_NO_THROW(RegisterClassesOnce({&OnceFirst::TKelOnceOwn::staticMetaObject}));
  EXPECT_EQ(GetClass("tkeloncEown"), &OnceFirst::TKelOnceOwn::staticMetaObject);
}

TEST_F(RegisterClassesOnceTest, ANameTakenByAnotherClassKeepsItAndTheRestAreRegistered) {
  RegisterClass(OnceFirst::TKelOnceShared::staticMetaObject);
  EXPECT_NO_THROW(RegisterClassesOnce(
      {&OnceSecond::TKelOnceShared::staticMetaObject, &OnceFirst::TKelOnceOwn::staticMetaObject}));
  EXPECT_EQ(GetClass("TKelOnceShared"), &OnceFirst::TKelOnceShared::staticMetaObject);
  EXPECT_EQ(GetClass("TKelOnceOwn"), &OnceFirst::TKelOnceOwn::staticMetaObject);
}

}  // namespace

#include "KelRegisterClassesTest.moc"
