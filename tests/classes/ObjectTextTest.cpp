// The text form of component streams: the layout the binary -> text conversion writes, what the
// text -> binary conversion accepts, that binary -> text -> binary keeps every value, and that
// broken text is refused with the line it broke on.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Exceptions.h"
#include "Filer.h"
#include "FormatSettings.h"
#include "ObjectText.h"
#include "StreamBytes.h"

using namespace Kel;
using namespace StreamBytes;

namespace {

QByteArray ToText(const QByteArray& binary) {
  TMemoryStream input(binary);
  TMemoryStream output;
  ObjectBinaryToText(input, output);
  return output.Bytes();
}

QByteArray ToBinary(const QByteArray& text) {
  TMemoryStream input(text);
  TMemoryStream output;
  ObjectTextToBinary(input, output);
  return output.Bytes();
}

QString TextError(const QByteArray& text) {
  try {
    ToBinary(text);
  } catch (const EReadError& e) {
    return e.Message();
  }
  return QStringLiteral("<no error>");
}

QString BinaryError(const QByteArray& binary) {
  try {
    ToText(binary);
  } catch (const EReadError& e) {
    return e.Message();
  }
  return QStringLiteral("<no error>");
}

// Joins lines with CR LF, the line end the converter writes.
QByteArray Lines(std::initializer_list<const char*> lines) {
  QByteArray text;
  for (const char* line : lines) text += QByteArray(line) + "\r\n";
  return text;
}

// One object TFoo holding the given properties (name + value bytes).
QByteArray ObjectWith(const QByteArray& properties) {
  return QByteArray("TPF0") + Short("TFoo") + Short("") + properties + Bytes({0, 0});
}

// The value of the single property of a one-object stream, read back as a variant.
Variant FirstValue(const QByteArray& binary, TValueType* kind = nullptr) {
  TMemoryStream stream(binary);
  TReader reader(stream);
  reader.ReadSignature();
  reader.ReadStr();
  reader.ReadStr();
  reader.ReadStr();
  if (kind) *kind = reader.NextValue();
  return reader.ReadVariant();
}

class ObjectText : public ::testing::Test {
 protected:
  void SetUp() override { SetFormatSettings(TFormatSettings::Invariant()); }
};

}  // namespace

TEST_F(ObjectText, WritesEveryValueKindInItsLayout) {
  const QByteArray properties =
      Short("Prop") + Bytes({vaInt8, 42}) + Short("Big") + Bytes({vaInt64}) +
      LittleEndian<int64_t>(-5000000000LL) + Short("Huge") + Bytes({vaQWord}) +
      LittleEndian<uint64_t>(18446744073709551615ULL) + Short("Ratio") + Bytes({vaExtended}) +
      Extended(0xA000000000000000u, 0x4000) + Short("Whole") + Bytes({vaExtended}) +
      Extended(0xC000000000000000u, 0x4000) + Short("Amount") + Bytes({vaCurrency}) +
      LittleEndian<int64_t>(12345678) + Short("Even") + Bytes({vaCurrency}) +
      LittleEndian<int64_t>(-50000) + Short("Small") + Bytes({vaSingle}) +
      LittleEndian<float>(0.5f) + Short("When") + Bytes({vaDate}) + LittleEndian<double>(45000.0) +
      Short("Name") + Bytes({vaWString}) + LittleEndian<int32_t>(10) +
      Utf16(QStringLiteral("O'Brien \u00e4x")) + Short("Kind") + Bytes({vaIdent}) +
      Short("hkThree") + Short("Checked") + Bytes({vaFalse}) + Short("On") + Bytes({vaTrue}) +
      Short("Ref") + Bytes({vaNil}) + Short("Unknown") + Bytes({vaNull}) + Short("Kinds") +
      Bytes({vaSet}) + Short("hkOne") + Short("hkThree") + Bytes({0}) + Short("None") +
      Bytes({vaSet, 0}) + Short("Data") + Bytes({vaBinary}) + LittleEndian<int32_t>(3) +
      Bytes({0x0A, 0x0B, 0x0C}) + Short("Lines.Strings") + Bytes({vaList, vaString, 5}) + "first" +
      Bytes({vaString, 11}) + "second line" + Bytes({0}) + Short("Empty") + Bytes({vaList, 0});
  const QByteArray text = ToText(ObjectWith(properties));
  EXPECT_EQ(text, Lines({"object TFoo",
                         "  Prop = 42",
                         "  Big = -5000000000",
                         "  Huge = 18446744073709551615",
                         "  Ratio = 2.5",
                         "  Whole = 3.0",
                         "  Amount = 1234.5678",
                         "  Even = -5.0",
                         "  Small = 0.5s",
                         "  When = 45000d",
                         "  Name = 'O''Brien '#228'x'",
                         "  Kind = hkThree",
                         "  Checked = False",
                         "  On = True",
                         "  Ref = nil",
                         "  Unknown = Null",
                         "  Kinds = [hkOne, hkThree]",
                         "  None = []",
                         "  Data = { 0A0B0C }",
                         "  Lines.Strings = (",
                         "    'first'",
                         "    'second line')",
                         "  Empty = ()",
                         "end"}));
  EXPECT_EQ(ToText(ToBinary(text)), text);
}

TEST_F(ObjectText, HeadersCollectionsAndChildren) {
  const QByteArray item = Short("Name") + Bytes({vaString, 1}) + "x";
  const QByteArray binary =
      QByteArray("TPF0") + Short("TKelPersHolder") + Short("Holder") + Short("P") +
      Bytes({vaCollection, vaList}) + item + Bytes({0}) + Bytes({vaInt8, 3, vaList, 0}) +
      Bytes({0}) + Short("Q") + Bytes({vaCollection, 0}) + Bytes({0}) + Bytes({0xF1}) +
      Short("TOther") + Short("Child") + Bytes({0, 0}) + Bytes({0xF6, vaInt8, 2}) +
      Short("TOther") + Short("") + Short("Tag") + Bytes({vaInt8, 1}) + Bytes({0}) + Bytes({0xF0}) +
      Short("TLeaf") + Short("Leaf") + Bytes({0, 0}) + Bytes({0}) + Bytes({0});
  const QByteArray text = ToText(binary);
  EXPECT_EQ(text, Lines({"object Holder: TKelPersHolder", "  P = <", "    item", "      Name = 'x'",
                         "    end", "    item [3]", "    end>", "  Q = <>",
                         "  inherited Child: TOther", "  end", "  inline TOther [2]", "    Tag = 1",
                         "    object Leaf: TLeaf", "    end", "  end", "end"}));
  // 0xF0 (a prefix without flags) is not written back: the plain header means the same.
  QByteArray expected = binary;
  expected.replace(QByteArray("\xF0") + Short("TLeaf"), Short("TLeaf"));
  EXPECT_EQ(ToBinary(text), expected);
}

TEST_F(ObjectText, AClassNameOf240BytesOrMoreGetsAnEmptyPrefix) {
  // Its length byte would otherwise read as a component prefix (0xF0..0xFF).
  const QByteArray longName(245, 'C');
  const QByteArray binary = ToBinary("object " + longName + "\nend");
  EXPECT_EQ(binary, QByteArray("TPF0") + Bytes({0xF0}) + Short(longName) + Bytes({0, 0, 0}));
  EXPECT_EQ(ToText(binary), Lines({("object " + longName).constData(), "end"}));
  EXPECT_EQ(ToBinary("object " + QByteArray(239, 'C') + " end").at(4), char(239));
}

TEST_F(ObjectText, LongStringsSplitOverLinesAndReadBackWhole) {
  const QString value = QString(70, u'a') + QStringLiteral("\U0001F600") + QString(70, u'b');
  TMemoryStream binary;
  {
    TWriter writer(binary);
    writer.WriteSignature();
    writer.WriteStr("TFoo");
    writer.WriteStr("");
    writer.WriteStr("Long");
    writer.WriteString(value);
    writer.WriteListEnd();
    writer.WriteListEnd();
  }
  const QByteArray text = ToText(binary.Bytes());
  const QList<QByteArray> lines = text.split('\n');
  ASSERT_GE(lines.size(), 4);
  EXPECT_TRUE(lines[1].startsWith("  Long = '" + QByteArray(64, 'a') + "' +")) << text.constData();
  EXPECT_TRUE(lines[2].startsWith("    '")) << text.constData();
  EXPECT_TRUE(text.contains("#128512")) << text.constData();
  EXPECT_TRUE(FirstValue(ToBinary(text)).Same(Variant::FromOleStr(value)));
}

TEST_F(ObjectText, LongBinarySpansLinesOf32Bytes) {
  QByteArray data;
  for (int i = 0; i < 40; ++i) data.append(static_cast<char>(i));
  const QByteArray binary =
      ObjectWith(Short("Data") + Bytes({vaBinary}) + LittleEndian<int32_t>(40) + data);
  const QByteArray text = ToText(binary);
  EXPECT_EQ(text, Lines({"object TFoo", "  Data = {",
                         ("    " + data.left(32).toHex().toUpper()).constData(),
                         ("    " + data.mid(32).toHex().toUpper() + "}").constData(), "end"}));
  EXPECT_EQ(ToBinary(text), binary);
  EXPECT_EQ(ToBinary("object TFoo Data = {\n 00 0102\r\n 03 } end"),
            ObjectWith(Short("Data") + Bytes({vaBinary}) + LittleEndian<int32_t>(4) +
                       Bytes({0, 1, 2, 3})));
}

TEST_F(ObjectText, ReadsWhatOtherWritersProduce) {
  // Free blanks and line breaks, LF or CR LF, trailing blanks after "<" and "end", the long
  // float form, #nnn above 255, #$hh codes, runs joined by "+", lowercase keywords.
  const QByteArray text =
      "OBJECT  Holder :TKelPersHolder\n"
      "  Ratio = 2.50000000000000000000E+0000\r\n"
      "  Euro = #8364 + 'uro'#$21\n"
      "  Face = #128512\n"
      "  P = <   \n"
      "    item   \n"
      "      Amount = 12345678c\n"
      "    end   \n"
      "    item\n"
      "    end>\n"
      "  When = 2.5d  Small = 1.5S  Hex = $FF\n"
      "  Ref = Form1.Table1\n"
      "END   \n";
  const QByteArray binary = ToBinary(text);
  TMemoryStream stream(binary);
  TReader reader(stream);
  reader.ReadSignature();
  EXPECT_EQ(reader.ReadStr(), "TKelPersHolder");
  EXPECT_EQ(reader.ReadStr(), "Holder");
  EXPECT_EQ(reader.ReadStr(), "Ratio");
  EXPECT_EQ(reader.NextValue(), vaExtended);
  EXPECT_EQ(reader.ReadFloat(), 2.5);
  EXPECT_EQ(reader.ReadStr(), "Euro");
  EXPECT_EQ(reader.NextValue(), vaWString);
  EXPECT_EQ(reader.ReadString(), QStringLiteral("\u20acuro!"));
  EXPECT_EQ(reader.ReadStr(), "Face");
  EXPECT_EQ(reader.ReadString(), QStringLiteral("\U0001F600"));
  EXPECT_EQ(reader.ReadStr(), "P");
  reader.CheckValue(vaCollection);
  reader.ReadListBegin();
  EXPECT_EQ(reader.ReadStr(), "Amount");
  EXPECT_EQ(reader.NextValue(), vaCurrency);
  EXPECT_EQ(reader.ReadCurrency().Scaled, 12345678);
  reader.ReadListEnd();
  reader.ReadListBegin();
  reader.ReadListEnd();
  reader.ReadListEnd();
  EXPECT_EQ(reader.ReadStr(), "When");
  EXPECT_EQ(reader.NextValue(), vaDate);
  EXPECT_EQ(reader.ReadDate(), 2.5);
  EXPECT_EQ(reader.ReadStr(), "Small");
  EXPECT_EQ(reader.NextValue(), vaSingle);
  EXPECT_EQ(reader.ReadSingle(), 1.5f);
  EXPECT_EQ(reader.ReadStr(), "Hex");
  EXPECT_EQ(reader.ReadInteger(), 255);
  EXPECT_EQ(reader.ReadStr(), "Ref");
  EXPECT_EQ(reader.ReadIdent(), "Form1.Table1");
  reader.ReadListEnd();
  reader.ReadListEnd();
  EXPECT_EQ(stream.Position(), stream.Size());
}

TEST_F(ObjectText, BinaryToTextToBinaryKeepsEveryValue) {
  std::vector<std::pair<QByteArray, Variant>> cases;
  auto add = [&](const QByteArray& valueBytes) {
    const QByteArray binary = ObjectWith(Short("V") + valueBytes);
    cases.emplace_back(binary, FirstValue(binary));
  };
  add(Bytes({vaInt8, 0x85}));
  add(Bytes({vaInt32}) + LittleEndian<int32_t>(-2000000000));
  add(Bytes({vaInt64}) + LittleEndian<int64_t>(std::numeric_limits<int64_t>::min()));
  add(Bytes({vaExtended}) + Extended(0xCCCCCCCCCCCCCCCDu, 0x3FFB));  // 0.1 in full precision
  add(Bytes({vaExtended}) + Extended(0x8000000000000000u, 0x3FFF + 1000));
  add(Bytes({vaExtended}) + Extended(0, 0x8000));  // -0.0
  add(Bytes({vaSingle}) + LittleEndian<float>(3.1415927f));
  add(Bytes({vaSingle}) + LittleEndian<float>(std::numeric_limits<float>::denorm_min()));
  add(Bytes({vaCurrency}) + LittleEndian<int64_t>(std::numeric_limits<int64_t>::max()));
  add(Bytes({vaCurrency}) + LittleEndian<int64_t>(-1));
  add(Bytes({vaDate}) + LittleEndian<double>(-693593.999988426));
  add(Bytes({vaString, 3}) + "a'b");
  add(Bytes({vaWString}) + LittleEndian<int32_t>(3) + Utf16(QStringLiteral("\t\u00ff\u0100")));
  add(Bytes({vaUTF8String}) + LittleEndian<int32_t>(2) + QByteArray("\r\n"));
  add(Bytes({vaUString}) + LittleEndian<int32_t>(0));
  add(Bytes({vaList, vaInt8, 1, vaList, vaTrue, 0, vaNil, 0}));
  for (double special :
       {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min(),
        2.199979642673687E-186}) {
    const TExtended80 e = DoubleToExtended(special);
    add(Bytes({vaExtended}) + QByteArray(reinterpret_cast<const char*>(e.Bytes.data()), 10));
  }
  for (const auto& [binary, value] : cases) {
    const QByteArray text = ToText(binary);
    const Variant back = FirstValue(ToBinary(text));
    // Currency travels as a plain decimal and comes back as a float of the same value.
    if (value.VarType() == varCurrency) {
      TMemoryStream stream(ToBinary(text));
      TReader reader(stream);
      reader.ReadSignature();
      reader.ReadStr();
      reader.ReadStr();
      reader.ReadStr();
      EXPECT_EQ(reader.ReadCurrency(), value.AsCurrency()) << text.constData();
      continue;
    }
    // Text comes back in the kind its characters need (String for ASCII, WString otherwise).
    EXPECT_TRUE(back.Same(value) ||
                (value.IsString() && back.IsString() && back.AsString() == value.AsString()))
        << text.constData() << VarDebugText(back).toStdString();
  }
  // NaN has no value identity: check it stays a NaN.
  const TExtended80 nan = DoubleToExtended(std::nan(""));
  const QByteArray nanText =
      ToText(ObjectWith(Short("V") + Bytes({vaExtended}) +
                        QByteArray(reinterpret_cast<const char*>(nan.Bytes.data()), 10)));
  EXPECT_TRUE(nanText.contains("V = NAN"));
  EXPECT_TRUE(std::isnan(FirstValue(ToBinary(nanText)).AsDouble()));
  // Non-finite singles and dates carry no type letter ("INFs" would be an identifier).
  const QByteArray singleInf =
      ToText(ObjectWith(Short("V") + Bytes({vaSingle}) +
                        LittleEndian<float>(std::numeric_limits<float>::infinity())));
  EXPECT_TRUE(singleInf.contains("V = INF\r\n")) << singleInf.constData();
  EXPECT_EQ(FirstValue(ToBinary(singleInf)).AsDouble(), std::numeric_limits<double>::infinity());
  const QByteArray dateNan =
      ToText(ObjectWith(Short("V") + Bytes({vaDate}) + LittleEndian<double>(std::nan(""))));
  EXPECT_TRUE(dateNan.contains("V = NAN\r\n")) << dateNan.constData();
  // The extended 0.1 of another writer comes back to the very same bytes.
  const QByteArray tenth =
      ObjectWith(Short("V") + Bytes({vaExtended}) + Extended(0xCCCCCCCCCCCCCCCDu, 0x3FFB));
  EXPECT_EQ(ToBinary(ToText(tenth)), tenth);
}

TEST_F(ObjectText, BrokenTextNamesTheLine) {
  EXPECT_EQ(TextError("object TFoo\n  S = 'abc\nend"), "Invalid string constant on line 2");
  EXPECT_EQ(TextError("object TFoo\n  X = 1\n"), "Identifier expected on line 3");
  EXPECT_EQ(TextError("thing TFoo end"), "object expected on line 1");
  EXPECT_EQ(TextError("object TFoo\n X 1 end"), "'=' expected on line 2");
  EXPECT_EQ(TextError("object TFoo X = ) end"), "Invalid property value on line 1");
  EXPECT_EQ(TextError("object TFoo X = { 0A0 } end"), "Invalid binary value on line 1");
  EXPECT_EQ(TextError("object TFoo X = { 0A"), "Invalid binary value on line 1");
  EXPECT_EQ(TextError("object TFoo X = 'a' + 1 end"), "String expected on line 1");
  EXPECT_EQ(TextError("object TFoo X = [a b] end"), "',' expected on line 1");
  EXPECT_EQ(TextError("object TFoo X = < thing end> end"), "item expected on line 1");
  EXPECT_EQ(TextError("object TFoo X = #1114112 end"), "Invalid string constant on line 1");
  EXPECT_EQ(TextError("object TFoo X = 99999999999999999999 end"),
            "Invalid number 99999999999999999999 on line 1");
  EXPECT_EQ(TextError("object TFoo X = -INFINITY end"), "Number expected on line 1");
  EXPECT_EQ(TextError(""), "object expected on line 1");
  EXPECT_EQ(TextError("object " + QByteArray(300, 'A') + " end"),
            "Name too long for a component stream: " + QString(64, u'A') + " on line 1");
  EXPECT_EQ(TextError("object TFoo X = " + QByteArray(5000, '(') + " end"),
            "Stream nesting too deep on line 1");
  EXPECT_EQ(TextError("object TFoo\n" + QByteArray(5000, 'x').replace("x", "object T ") + " end"),
            "Stream nesting too deep on line 2");
  EXPECT_EQ(TextError("object TFoo X = ((1) end"), "Invalid property value on line 1");
}

TEST_F(ObjectText, DamagedBinaryIsRefusedNotConverted) {
  const QByteArray good = ObjectWith(Short("Name") + Bytes({vaString, 2}) + "ab" + Short("L") +
                                     Bytes({vaList, vaInt8, 1, 0}));
  EXPECT_EQ(BinaryError(good), "<no error>");
  for (qsizetype cut = 0; cut < good.size(); ++cut)
    EXPECT_NE(BinaryError(good.left(cut)), "<no error>") << cut;
  QByteArray unknownKind = good;
  unknownKind[15] = 30;  // the type byte of Name
  EXPECT_EQ(BinaryError(unknownKind), "Invalid stream format");
  EXPECT_EQ(BinaryError("XPF0"), "Invalid stream format");
  QByteArray deep = QByteArray("TPF0");
  for (int i = 0; i < 200; ++i) deep += Short("T") + Short("") + Bytes({0});
  EXPECT_EQ(BinaryError(deep), "Stream nesting too deep");
}
