// Values: the typed reads and writes, their errors, sizes and names.
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

TEST_F(RegistryValues, EachKindReadsBackFromAnotherInstance) {
  reg_.WriteString("Text", QString::fromUtf8("h\u00e9llo \u4e16\u754c"));
  reg_.WriteExpandString("Expand", "%HOME%/x");
  reg_.WriteInteger("Number", -7);
  reg_.WriteBool("Flag", true);
  reg_.WriteBinary("Bytes", QByteArray("\x00\x01\xff", 3));
  TRegistry other;
  ASSERT_TRUE(other.OpenKey("software\\test", false));
  EXPECT_EQ(other.ReadString("Text"), QString::fromUtf8("h\u00e9llo \u4e16\u754c"));
  EXPECT_EQ(other.ReadString("Expand"), "%HOME%/x");
  EXPECT_EQ(other.GetDataType("Expand"), rdExpandString);
  EXPECT_EQ(other.ReadInteger("Number"), -7);
  EXPECT_TRUE(other.ReadBool("Flag"));
  EXPECT_EQ(other.ReadBinary("Bytes"), QByteArray("\x00\x01\xff", 3));
}

TEST_F(RegistryValues, OverwritingChangesKindAndKeepsTheValuesOrder) {
  reg_.WriteString("First", "a");
  reg_.WriteString("Second", "b");
  reg_.WriteInteger("First", 3);
  EXPECT_EQ(reg_.GetDataType("First"), rdInteger);
  EXPECT_EQ(reg_.GetValueNames(), (QStringList{"First", "Second"}));
}

TEST_F(RegistryValues, DataSizesAreThoseOfTheWindowsRegistry) {
  reg_.WriteString("Text", "abc");
  reg_.WriteInteger("Number", 1);
  reg_.WriteBinary("Bytes", QByteArray(5, 'x'));
  reg_.WriteBinary("Empty", QByteArray());
  EXPECT_EQ(reg_.GetDataSize("Text"), 8);  // UTF-16 with the terminating NUL
  EXPECT_EQ(reg_.GetDataSize("Number"), 4);
  EXPECT_EQ(reg_.GetDataSize("Bytes"), 5);
  EXPECT_EQ(reg_.GetDataSize("Empty"), 0);
  EXPECT_EQ(reg_.GetDataSize("Missing"), -1);
}

TEST_F(RegistryValues, AnEmptyBinaryValueExistsAndReadsEmpty) {
  reg_.WriteBinary("Empty", QByteArray());
  EXPECT_TRUE(reg_.ValueExists("Empty"));
  EXPECT_EQ(reg_.GetDataType("Empty"), rdBinary);
  EXPECT_TRUE(reg_.ReadBinary("Empty").isEmpty());
}

TEST_F(RegistryValues, MissingValues) {
  EXPECT_FALSE(reg_.ValueExists("Nope"));
  EXPECT_EQ(reg_.ReadString("Nope"), "");
  EXPECT_EQ(MessageOf([&] { reg_.ReadInteger("Nope"); }), "Failed to get data for 'Nope'");
  EXPECT_EQ(MessageOf([&] { reg_.ReadBinary("Nope"); }), "Failed to get data for 'Nope'");
  EXPECT_FALSE(reg_.DeleteValue("Nope"));
}

TEST_F(RegistryValues, ReadingTheWrongKindRaises) {
  reg_.WriteString("Text", "12");
  reg_.WriteInteger("Number", 12);
  EXPECT_EQ(MessageOf([&] { reg_.ReadInteger("Text"); }), "Invalid data type for 'Text'");
  EXPECT_EQ(MessageOf([&] { reg_.ReadString("Number"); }), "Invalid data type for 'Number'");
  EXPECT_EQ(MessageOf([&] { reg_.ReadBinary("Text"); }), "Invalid data type for 'Text'");
}

TEST_F(RegistryValues, TextEndsAtItsFirstNul) {
  reg_.WriteString("Code", QString::fromUtf16(u"D4\0", 3));
  EXPECT_EQ(reg_.ReadString("Code"), "D4");
}

TEST_F(RegistryValues, ValueNamesMayBeFilePathsAndCompareExactly) {
  const QString windowsPath = "C:\\Program Files\\P\\a.dll";
  const QString unixPath = "/home/me/P/a.so";
  reg_.WriteInteger(windowsPath, 1);
  reg_.WriteInteger(unixPath, 2);
  reg_.WriteInteger("/home/me/P/A.so", 3);  // another file where names are case-sensitive
  EXPECT_EQ(reg_.ReadInteger(windowsPath), 1);
  EXPECT_EQ(reg_.ReadInteger(unixPath), 2);
  EXPECT_EQ(reg_.ReadInteger("/home/me/P/A.so"), 3);
  EXPECT_TRUE(reg_.HasCurrentKey());
  EXPECT_FALSE(reg_.HasSubKeys());  // a backslash in a value name makes no key
  EXPECT_EQ(reg_.GetValueNames().size(), 3);
}

TEST_F(RegistryValues, DeleteValueRemovesOnlyThatValue) {
  reg_.WriteString("a", "1");
  reg_.WriteString("b", "2");
  EXPECT_TRUE(reg_.DeleteValue("a"));
  EXPECT_EQ(reg_.GetValueNames(), QStringList{"b"});
}

TEST_F(RegistryValues, ReadBinaryDataChecksTheBufferSize) {
  reg_.WriteBinaryData("Bytes", "abcdef", 6);
  char buffer[6] = {};
  EXPECT_EQ(reg_.ReadBinaryData("Bytes", buffer, 6), 6);
  EXPECT_EQ(QByteArray(buffer, 6), "abcdef");
  char small[3] = {};
  EXPECT_EQ(MessageOf([&] { reg_.ReadBinaryData("Bytes", small, 3); }),
            "Failed to get data for 'Bytes'");
}

TEST_F(RegistryValues, WritingIntoADeletedKeyFailsInsteadOfRecreatingIt) {
  TRegistry other;
  ASSERT_TRUE(other.DeleteKey("Software\\Test"));
  EXPECT_EQ(MessageOf([&] { reg_.WriteString("v", "x"); }), "Failed to set data for 'v'");
  EXPECT_FALSE(other.KeyExists("Software\\Test"));
}

TEST_F(RegistryValues, ValuesOfTheRootItselfWhenNoKeyIsOpen) {
  TRegistry reg;
  reg.WriteString("AtRoot", "r");
  EXPECT_EQ(reg.ReadString("AtRoot"), "r");
  EXPECT_FALSE(reg_.ValueExists("AtRoot"));
}

TEST(RegistryValueSizes, IntegersKeepAllThirtyTwoBits) {
  Kel::Testing::ScopedRegistryFile store;
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("K", true));
  reg.WriteInteger("min", std::numeric_limits<int>::min());
  reg.WriteInteger("max", std::numeric_limits<int>::max());
  EXPECT_EQ(reg.ReadInteger("min"), std::numeric_limits<int>::min());
  EXPECT_EQ(reg.ReadInteger("max"), std::numeric_limits<int>::max());
}

}  // namespace
