// Values: the typed reads and writes, their errors, sizes and names.
#include <functional>

#include "Exceptions.h"
#include "RegistryTestSupport.h"

using namespace Kel;
using Kel::Testing::RegistryTest;

namespace {

class RegistryValues : public RegistryTest {
 protected:
  void SetUp() override { ASSERT_TRUE(reg_.OpenKey("Software\\Test", true)); }
  TRegistry reg_;
};

QString MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const ERegistryException& e) {
    return e.Message();
  }
  return QStringLiteral("<no exception>");
}

TEST_F(RegistryValues, EachKindReadsBackFromAnotherInstanceWithTheWindowsDataSize) {
  reg_.WriteString("Text", QString::fromUtf8("h\u00e9llo \u4e16"));
  reg_.WriteExpandString("Expand", "%HOME%/x");
  reg_.WriteInteger("Number", std::numeric_limits<int>::min());
  reg_.WriteBinary("Bytes", QByteArray("\x00\x01\xff", 3));
  reg_.WriteBinary("Empty", QByteArray());
  TRegistry other;
  ASSERT_TRUE(other.OpenKey("software\\test", false));
  EXPECT_EQ(other.ReadString("Text"), QString::fromUtf8("h\u00e9llo \u4e16"));
  EXPECT_EQ(other.GetDataSize("Text"), 16);  // UTF-16 with the terminating NUL
  EXPECT_EQ(other.GetDataType("Expand"), rdExpandString);
  EXPECT_EQ(other.ReadInteger("Number"), std::numeric_limits<int>::min());
  EXPECT_EQ(other.GetDataSize("Number"), 4);
  EXPECT_EQ(other.ReadBinary("Bytes"), QByteArray("\x00\x01\xff", 3));
  EXPECT_TRUE(other.ValueExists("Empty"));
  EXPECT_EQ(other.GetDataSize("Empty"), 0);
  EXPECT_EQ(other.GetDataSize("Missing"), -1);
}

TEST_F(RegistryValues, MissingValuesAndWrongKindsRaiseTheClassicMessages) {
  reg_.WriteString("Text", "12");
  reg_.WriteInteger("Number", 12);
  reg_.WriteBinary("Bytes", "abcdef");
  EXPECT_EQ(reg_.ReadString("Nope"), "");
  EXPECT_EQ(MessageOf([&] { reg_.ReadInteger("Nope"); }), "Failed to get data for 'Nope'");
  EXPECT_EQ(MessageOf([&] { reg_.ReadBinary("Nope"); }), "Failed to get data for 'Nope'");
  EXPECT_EQ(MessageOf([&] { reg_.ReadInteger("Text"); }), "Invalid data type for 'Text'");
  EXPECT_EQ(MessageOf([&] { reg_.ReadString("Number"); }), "Invalid data type for 'Number'");
  char small[3];
  EXPECT_EQ(MessageOf([&] { reg_.ReadBinaryData("Bytes", small, 3); }),
            "Failed to get data for 'Bytes'");
}

TEST_F(RegistryValues, TextEndsAtItsFirstNul) {
  reg_.WriteString("Code", QString::fromUtf16(u"D4\0", 3));
  EXPECT_EQ(reg_.ReadString("Code"), "D4");
}

TEST_F(RegistryValues, ValueNamesMayBeFilePathsAndCompareExactly) {
  const QString windowsPath = "C:\\Program Files\\P\\a.dll";
  reg_.WriteInteger(windowsPath, 1);
  reg_.WriteInteger("/home/me/P/a.so", 2);
  reg_.WriteInteger("/home/me/P/A.so", 3);  // another file where names are case-sensitive
  EXPECT_EQ(reg_.ReadInteger(windowsPath), 1);
  EXPECT_EQ(reg_.ReadInteger("/home/me/P/a.so"), 2);
  EXPECT_EQ(reg_.ReadInteger("/home/me/P/A.so"), 3);
  EXPECT_FALSE(reg_.HasSubKeys());  // a backslash in a value name makes no key
  EXPECT_TRUE(reg_.DeleteValue("/home/me/P/a.so"));
  EXPECT_EQ(reg_.GetValueNames(), (QStringList{windowsPath, "/home/me/P/A.so"}));
}

TEST_F(RegistryValues, WritingIntoADeletedKeyFailsInsteadOfRecreatingIt) {
  TRegistry other;
  ASSERT_TRUE(other.DeleteKey("Software\\Test"));
  EXPECT_EQ(MessageOf([&] { reg_.WriteString("v", "x"); }), "Failed to set data for 'v'");
  EXPECT_FALSE(other.KeyExists("Software\\Test"));
}

}  // namespace
