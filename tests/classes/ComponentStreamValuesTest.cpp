// Values of the binary component-stream format: what the writer chooses for each kind, what the
// reader accepts (every kind another writer may have used), and how damaged bytes are refused.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Exceptions.h"
#include "Filer.h"
#include "FormatSettings.h"
#include "StreamBytes.h"

using namespace Kel;
using namespace StreamBytes;

namespace {

template <typename WriteFn>
QByteArray Written(WriteFn write) {
  TMemoryStream stream;
  TWriter writer(stream);
  write(writer);
  return stream.Bytes();
}

// Runs read on a reader over bytes and checks that it consumed all of them.
template <typename ReadFn>
auto ReadAll(const QByteArray& bytes, ReadFn read) {
  TMemoryStream stream(bytes);
  TReader reader(stream);
  auto result = read(reader);
  EXPECT_EQ(stream.Position(), stream.Size()) << "bytes left after reading";
  return result;
}

template <typename ReadFn>
QString ReadError(const QByteArray& bytes, ReadFn read) {
  TMemoryStream stream(bytes);
  TReader reader(stream);
  try {
    read(reader);
  } catch (const EReadError& e) {
    return e.Message();
  }
  return QStringLiteral("<no error>");
}

class ComponentStreamValues : public ::testing::Test {
 protected:
  void SetUp() override { SetFormatSettings(TFormatSettings::Invariant()); }
};

}  // namespace

TEST_F(ComponentStreamValues, IntegersTakeTheSmallestKind) {
  auto integer = [](int64_t v) { return Written([v](TWriter& w) { w.WriteInteger(v); }); };
  EXPECT_EQ(integer(0), Bytes({vaInt8, 0}));
  EXPECT_EQ(integer(127), Bytes({vaInt8, 0x7F}));
  EXPECT_EQ(integer(-128), Bytes({vaInt8, 0x80}));
  EXPECT_EQ(integer(128), Bytes({vaInt16, 0x80, 0x00}));
  EXPECT_EQ(integer(-129), Bytes({vaInt16, 0x7F, 0xFF}));
  EXPECT_EQ(integer(32768), Bytes({vaInt32, 0x00, 0x80, 0x00, 0x00}));
  EXPECT_EQ(integer(-2147483648LL), Bytes({vaInt32, 0x00, 0x00, 0x00, 0x80}));
  EXPECT_EQ(integer(2147483648LL), Bytes({vaInt64}) + LittleEndian<int64_t>(2147483648LL));
  EXPECT_EQ(Written([](TWriter& w) { w.WriteQWord(5); }), Bytes({vaInt8, 5}));
  EXPECT_EQ(Written([](TWriter& w) { w.WriteQWord(~uint64_t(0)); }),
            Bytes({vaQWord}) + LittleEndian<uint64_t>(~uint64_t(0)));
}

TEST_F(ComponentStreamValues, TextTakesItsKindFromItsCharacters) {
  EXPECT_EQ(Written([](TWriter& w) { w.WriteString("abc"); }), Bytes({vaString, 3}) + "abc");
  EXPECT_EQ(Written([](TWriter& w) { w.WriteString(""); }), Bytes({vaString, 0}));
  const QString longText(300, u'x');
  EXPECT_EQ(Written([&](TWriter& w) { w.WriteString(longText); }),
            Bytes({vaLString}) + LittleEndian<int32_t>(300) + longText.toLatin1());
  // Anything beyond ASCII is written as UTF-16, never in a code page.
  EXPECT_EQ(Written([](TWriter& w) { w.WriteString(QStringLiteral("\u00e9\u20ac")); }),
            Bytes({vaWString}) + LittleEndian<int32_t>(2) + Bytes({0xE9, 0x00, 0xAC, 0x20}));
  EXPECT_EQ(Written([](TWriter& w) { w.WriteUTF8String(QStringLiteral("\u00e9")); }),
            Bytes({vaUTF8String}) + LittleEndian<int32_t>(2) + Bytes({0xC3, 0xA9}));
}

TEST_F(ComponentStreamValues, IdentifiersAndTheirSpecialWords) {
  EXPECT_EQ(Written([](TWriter& w) { w.WriteIdent("hkOne"); }), Bytes({vaIdent, 5}) + "hkOne");
  EXPECT_EQ(Written([](TWriter& w) { w.WriteIdent("true"); }), Bytes({vaTrue}));
  EXPECT_EQ(Written([](TWriter& w) { w.WriteIdent("FALSE"); }), Bytes({vaFalse}));
  EXPECT_EQ(Written([](TWriter& w) { w.WriteIdent("Nil"); }), Bytes({vaNil}));
  EXPECT_EQ(Written([](TWriter& w) { w.WriteIdent("null"); }), Bytes({vaNull}));
  EXPECT_EQ(ReadAll(Bytes({vaTrue}), [](TReader& r) { return r.ReadIdent(); }), "True");
  EXPECT_EQ(ReadAll(Bytes({vaNil}), [](TReader& r) { return r.ReadIdent(); }), "nil");
  EXPECT_THROW(Written([](TWriter& w) { w.WriteIdent(QString(256, u'a')); }), EWriteError);
}

TEST_F(ComponentStreamValues, FloatsCurrencyAndDates) {
  EXPECT_EQ(Written([](TWriter& w) { w.WriteFloat(2.5); }),
            Bytes({vaExtended}) + Extended(0xA000000000000000u, 0x4000));
  EXPECT_EQ(Written([](TWriter& w) { w.WriteSingle(1.0f); }), Bytes({vaSingle, 0, 0, 0x80, 0x3F}));
  EXPECT_EQ(Written([](TWriter& w) { w.WriteCurrency(Currency::FromScaled(12345678)); }),
            Bytes({vaCurrency}) + LittleEndian<int64_t>(12345678));
  EXPECT_EQ(Written([](TWriter& w) { w.WriteDate(45000.5); }),
            Bytes({vaDate}) + LittleEndian<double>(45000.5));
}

TEST_F(ComponentStreamValues, AFloatMayArriveAsAnyNumberKind) {
  auto asFloat = [](const QByteArray& bytes) {
    return ReadAll(bytes, [](TReader& r) { return r.ReadFloat(); });
  };
  EXPECT_EQ(asFloat(Bytes({vaInt8, 0xFE})), -2.0);
  EXPECT_EQ(asFloat(Bytes({vaInt16, 0x00, 0x01})), 256.0);
  EXPECT_EQ(asFloat(Bytes({vaInt32}) + LittleEndian<int32_t>(-100000)), -100000.0);
  EXPECT_EQ(asFloat(Bytes({vaInt64}) + LittleEndian<int64_t>(1LL << 40)), 1099511627776.0);
  EXPECT_EQ(asFloat(Bytes({vaQWord}) + LittleEndian<uint64_t>(1ULL << 63)), 9223372036854775808.0);
  EXPECT_EQ(asFloat(Bytes({vaExtended}) + Extended(0xC000000000000000u, 0x3FFF)), 1.5);
  EXPECT_EQ(asFloat(Bytes({vaSingle}) + LittleEndian<float>(0.25f)), 0.25);
  EXPECT_EQ(asFloat(Bytes({vaCurrency}) + LittleEndian<int64_t>(25000)), 2.5);
  EXPECT_EQ(asFloat(Bytes({vaDate}) + LittleEndian<double>(3.75)), 3.75);
  EXPECT_EQ(ReadError(Bytes({vaString, 1, '1'}), [](TReader& r) { return r.ReadFloat(); }),
            "Invalid property value");
  EXPECT_EQ(ReadError(Bytes({vaTrue}), [](TReader& r) { return r.ReadFloat(); }),
            "Invalid property value");
}

TEST_F(ComponentStreamValues, ACurrencyMayArriveAsExtendedWithoutLosingDigits) {
  auto asCurrency = [](const QByteArray& bytes) {
    return ReadAll(bytes, [](TReader& r) { return r.ReadCurrency(); }).Scaled;
  };
  TExtended80 big;
  ASSERT_TRUE(DecimalToExtended("922337203685477.5807", big));
  const QByteArray bigBytes(reinterpret_cast<const char*>(big.Bytes.data()), 10);
  EXPECT_EQ(asCurrency(Bytes({vaExtended}) + bigBytes), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(asCurrency(Bytes({vaCurrency}) + LittleEndian<int64_t>(-5)), -5);
  EXPECT_EQ(asCurrency(Bytes({vaInt16, 0x10, 0x27})), 100000000);
  EXPECT_EQ(asCurrency(Bytes({vaSingle}) + LittleEndian<float>(0.5f)), 5000);
  // Beyond the currency range: refused, not wrapped.
  EXPECT_EQ(ReadError(Bytes({vaExtended}) + Extended(0x8000000000000000u, 0x3FFF + 60),
                      [](TReader& r) { return r.ReadCurrency(); }),
            "Invalid property value");
  EXPECT_EQ(ReadError(Bytes({vaInt64}) + LittleEndian<int64_t>(1LL << 62),
                      [](TReader& r) { return r.ReadCurrency(); }),
            "Invalid property value");
}

TEST_F(ComponentStreamValues, IntegersAcceptEveryIntegerKindThatFits) {
  auto asInt = [](const QByteArray& bytes) {
    return ReadAll(bytes, [](TReader& r) { return r.ReadInteger(); });
  };
  EXPECT_EQ(asInt(Bytes({vaInt8, 0x80})), -128);
  EXPECT_EQ(asInt(Bytes({vaInt16, 0xFF, 0x7F})), 32767);
  EXPECT_EQ(asInt(Bytes({vaInt64}) + LittleEndian<int64_t>(-7)), -7);
  EXPECT_EQ(asInt(Bytes({vaQWord}) + LittleEndian<uint64_t>(9)), 9);
  EXPECT_EQ(ReadError(Bytes({vaInt64}) + LittleEndian<int64_t>(1LL << 40),
                      [](TReader& r) { return r.ReadInteger(); }),
            "Invalid property value");
  EXPECT_EQ(ReadError(Bytes({vaQWord}) + LittleEndian<uint64_t>(~uint64_t(0)),
                      [](TReader& r) { return r.ReadInt64(); }),
            "Invalid property value");
  EXPECT_EQ(ReadError(Bytes({vaExtended}) + Extended(0x8000000000000000u, 0x3FFF),
                      [](TReader& r) { return r.ReadInteger(); }),
            "Invalid property value");
}

TEST_F(ComponentStreamValues, TextMayArriveInEveryTextKind) {
  auto asString = [](const QByteArray& bytes) {
    return ReadAll(bytes, [](TReader& r) { return r.ReadString(); });
  };
  EXPECT_EQ(asString(Bytes({vaString, 2}) + "ab"), "ab");
  // 8-bit text is in the Windows code page of its writer: 0x80 is the euro sign, 0xE4 an a-umlaut.
  EXPECT_EQ(asString(Bytes({vaString, 2, 0x80, 0xE4})), QStringLiteral("\u20ac\u00e4"));
  EXPECT_EQ(asString(Bytes({vaLString}) + LittleEndian<int32_t>(3) + "xyz"), "xyz");
  EXPECT_EQ(asString(Bytes({vaWString}) + LittleEndian<int32_t>(2) +
                     Utf16(QStringLiteral("\u00e9\u4e2d"))),
            QStringLiteral("\u00e9\u4e2d"));
  EXPECT_EQ(
      asString(Bytes({vaUString}) + LittleEndian<int32_t>(2) + Utf16(QStringLiteral("\U0001F600"))),
      QStringLiteral("\U0001F600"));
  EXPECT_EQ(
      asString(Bytes({vaUTF8String}) + LittleEndian<int32_t>(4) + QByteArray("\xF0\x9F\x98\x80")),
      QStringLiteral("\U0001F600"));
  EXPECT_EQ(ReadError(Bytes({vaIdent, 1, 'a'}), [](TReader& r) { return r.ReadString(); }),
            "Invalid property value");
  EXPECT_EQ(ReadAll(Bytes({vaString, 1, 'q'}), [](TReader& r) { return r.ReadChar(); }), u'q');
  EXPECT_EQ(ReadError(Bytes({vaString, 2, 'q', 'r'}), [](TReader& r) { return r.ReadChar(); }),
            "Invalid property value");
}

TEST_F(ComponentStreamValues, BooleansSetsAndBinary) {
  EXPECT_TRUE(ReadAll(Bytes({vaTrue}), [](TReader& r) { return r.ReadBoolean(); }));
  EXPECT_FALSE(ReadAll(Bytes({vaIdent, 5}) + "false", [](TReader& r) { return r.ReadBoolean(); }));
  EXPECT_EQ(ReadError(Bytes({vaInt8, 1}), [](TReader& r) { return r.ReadBoolean(); }),
            "Invalid property value");
  EXPECT_EQ(ReadError(Bytes({vaIdent, 3}) + "Yes", [](TReader& r) { return r.ReadBoolean(); }),
            "Invalid property value");

  const QByteArray set = Written([](TWriter& w) { w.WriteSet({"hkOne", "hkThree"}); });
  EXPECT_EQ(set, Bytes({vaSet}) + Short("hkOne") + Short("hkThree") + Bytes({0}));
  EXPECT_EQ(ReadAll(set, [](TReader& r) { return r.ReadSet(); }),
            QStringList({"hkOne", "hkThree"}));
  EXPECT_EQ(ReadAll(Bytes({vaSet, 0}), [](TReader& r) { return r.ReadSet(); }), QStringList());

  const QByteArray binary = Written([](TWriter& w) { w.WriteBinary(QByteArray("\x0A\x0B\x0C")); });
  EXPECT_EQ(binary, Bytes({vaBinary}) + LittleEndian<int32_t>(3) + Bytes({0x0A, 0x0B, 0x0C}));
  EXPECT_EQ(ReadAll(binary, [](TReader& r) { return r.ReadBinary(); }), QByteArray("\x0A\x0B\x0C"));
}

TEST_F(ComponentStreamValues, EightBitTextIsUtf8WhenValidAndWindows1252Otherwise) {
  auto asString = [](const QByteArray& bytes) {
    return ReadAll(bytes, [](TReader& r) { return r.ReadString(); });
  };
  const QString name = QStringLiteral("O'Brien \u00c4\u00d6\u00fc \u20ac");
  const QByteArray utf8 = name.toUtf8();
  EXPECT_EQ(asString(Bytes({vaString}) + Short(utf8)), name);
  EXPECT_EQ(asString(Bytes({vaLString}) + LittleEndian<int32_t>(int32_t(utf8.size())) + utf8),
            name);
  // The same letters in Windows-1252 are no valid UTF-8.
  EXPECT_EQ(asString(Bytes({vaString}) + Short("O'Brien \xC4\xD6\xFC \x80")), name);
  // "\xC3\xA9" alone would be UTF-8 for an e-acute, but the 0xE9 after it is not: the whole text
  // is Windows-1252, never a mixture of both.
  EXPECT_EQ(asString(Bytes({vaString}) + Short("\xC3\xA9t\xE9")),
            QStringLiteral("\u00c3\u00a9t\u00e9"));
  EXPECT_EQ(asString(Bytes({vaString, 0})), QString());

  // What was read as UTF-8 is written back as UTF-16 and reads back the same: no damage spreads.
  const QByteArray again = Written([&](TWriter& w) { w.WriteString(name); });
  EXPECT_EQ(again.at(0), char(vaWString));
  EXPECT_EQ(asString(again), name);
}

TEST_F(ComponentStreamValues, VariantsKeepTheirKind) {
  const std::vector<Variant> values = {
      Variant(),
      Variant::Null(),
      Variant(42),
      Variant(int64_t(1) << 40),
      Variant(2.5),
      Variant(0.25f),
      Variant(Currency::FromScaled(12345678)),
      Variant::FromDate(45000.25),
      Variant(true),
      Variant(QStringLiteral("plain")),
      Variant::FromOleStr(QStringLiteral("\u00fcber")),
      Variant::FromOleStr(QStringLiteral("plain")),
      Variant::FromOleStr(QString()),
      Variant::FromArray({Variant(1), Variant(QStringLiteral("x")), Variant()}, 0),
  };
  for (const Variant& value : values) {
    const QByteArray bytes = Written([&](TWriter& w) { w.WriteVariant(value); });
    const Variant back = ReadAll(bytes, [](TReader& r) { return r.ReadVariant(); });
    EXPECT_TRUE(back.Same(value)) << VarDebugText(value).toStdString() << " came back as "
                                  << VarDebugText(back).toStdString();
  }
  // A wide string is a WString whatever its text, as other readers expect it.
  EXPECT_EQ(Written([](TWriter& w) { w.WriteVariant(Variant::FromOleStr(QStringLiteral("ab"))); }),
            Bytes({vaWString}) + LittleEndian<int32_t>(2) + Utf16(QStringLiteral("ab")));
  // The format has one family of integers, each written in its smallest kind: small integers
  // and bytes come back as integers of the same value.
  for (const Variant& small : {Variant::FromSmallint(-300), Variant::FromByte(200)}) {
    const QByteArray bytes = Written([&](TWriter& w) { w.WriteVariant(small); });
    const Variant back = ReadAll(bytes, [](TReader& r) { return r.ReadVariant(); });
    EXPECT_EQ(back.VarType(), varInteger);
    EXPECT_EQ(back.AsInteger(), small.AsInteger());
  }
  // Smaller integer kinds of other writers read as integers.
  EXPECT_EQ(ReadAll(Bytes({vaInt16, 1, 0}), [](TReader& r) { return r.ReadVariant(); }).VarType(),
            varInteger);
  EXPECT_EQ(
      ReadAll(Bytes({vaString, 1, 'a'}), [](TReader& r) { return r.ReadVariant(); }).VarType(),
      varString);
  EXPECT_EQ(ReadError(Bytes({vaIdent, 1, 'a'}), [](TReader& r) { return r.ReadVariant(); }),
            "Invalid property value");
  // A Null inside a list would end the list early: refused instead of corrupting the stream.
  TMemoryStream stream;
  TWriter writer(stream);
  EXPECT_THROW(writer.WriteVariant(Variant::FromArray({Variant(1), Variant::Null(), Variant(2)})),
               EWriteError);
}

TEST_F(ComponentStreamValues, ComponentPrefixAndSignature) {
  TFilerFlags flags;
  flags.Include(ffInherited).Include(ffChildPos);
  const QByteArray prefix = Written([&](TWriter& w) { w.WritePrefix(flags, 3); });
  EXPECT_EQ(prefix, Bytes({0xF3, vaInt8, 3}));
  TFilerFlags readFlags;
  int position = 0;
  ReadAll(prefix, [&](TReader& r) {
    r.ReadPrefix(readFlags, position);
    return 0;
  });
  EXPECT_EQ(readFlags, flags);
  EXPECT_EQ(position, 3);
  // Without a prefix nothing is consumed.
  TMemoryStream plain(Short("TFoo"));
  TReader reader(plain);
  reader.ReadPrefix(readFlags, position);
  EXPECT_TRUE(readFlags.IsEmpty());
  EXPECT_EQ(position, -1);
  EXPECT_EQ(reader.ReadStr(), "TFoo");
  EXPECT_EQ(Written([](TWriter& w) { w.WritePrefix(TFilerFlags(), 0); }), QByteArray());

  EXPECT_EQ(ReadError(QByteArray("TPF1"),
                      [](TReader& r) {
                        r.ReadSignature();
                        return 0;
                      }),
            "Invalid stream format");
  EXPECT_EQ(ReadError(QByteArray("TP"),
                      [](TReader& r) {
                        r.ReadSignature();
                        return 0;
                      }),
            "Invalid stream format");
}

TEST_F(ComponentStreamValues, SkippingLandsBehindNestedValues) {
  const QByteArray nested = Bytes({vaList, vaInt8, 1, vaLString}) + LittleEndian<int32_t>(2) +
                            "ab" + Bytes({vaCollection, vaInt8, 7, vaList}) + Short("Amount") +
                            Bytes({vaExtended}) + Extended(0, 0) + Short("Kinds") + Bytes({vaSet}) +
                            Short("a") + Bytes({0}) + Bytes({0, 0}) + Bytes({vaWString}) +
                            LittleEndian<int32_t>(1) + Utf16("z") + Bytes({vaBinary}) +
                            LittleEndian<int32_t>(1) + "q" + Bytes({vaQWord}) +
                            LittleEndian<uint64_t>(1) + Bytes({vaNull});
  TMemoryStream stream(nested + Bytes({vaTrue}));
  TReader reader(stream);
  reader.SkipValue();
  EXPECT_EQ(stream.Position(), nested.size());
  EXPECT_TRUE(reader.ReadBoolean());
}

TEST_F(ComponentStreamValues, DamagedBytesRaiseReadErrors) {
  // An unknown type byte.
  for (int bad : {23, 0x7F, 0xFF}) {
    EXPECT_EQ(ReadError(Bytes({bad}),
                        [](TReader& r) {
                          r.SkipValue();
                          return 0;
                        }),
              "Invalid stream format");
  }
  // Lengths beyond the stream are refused before anything is allocated.
  EXPECT_EQ(ReadError(Bytes({vaLString}) + LittleEndian<int32_t>(0x7FFFFFFF) + "abc",
                      [](TReader& r) { return r.ReadString(); }),
            "Stream read error");
  EXPECT_EQ(ReadError(Bytes({vaWString}) + LittleEndian<int32_t>(0x7FFFFFFF),
                      [](TReader& r) {
                        r.SkipValue();
                        return 0;
                      }),
            "Stream read error");
  EXPECT_EQ(ReadError(Bytes({vaBinary}) + LittleEndian<int32_t>(-1),
                      [](TReader& r) { return r.ReadBinary(); }),
            "Invalid stream format");
  EXPECT_EQ(ReadError(Bytes({vaUTF8String}) + LittleEndian<int32_t>(-5),
                      [](TReader& r) {
                        r.SkipValue();
                        return 0;
                      }),
            "Invalid stream format");
  // A list that never ends, and one nested too deeply.
  EXPECT_EQ(ReadError(Bytes({vaList, vaInt8, 1, vaInt8}),
                      [](TReader& r) {
                        r.SkipValue();
                        return 0;
                      }),
            "Stream read error");
  const QByteArray deep = QByteArray(1000, static_cast<char>(vaList)) + QByteArray(1000, '\0');
  EXPECT_EQ(ReadError(deep,
                      [](TReader& r) {
                        r.SkipValue();
                        return 0;
                      }),
            "Stream nesting too deep");
  EXPECT_EQ(ReadError(deep, [](TReader& r) { return r.ReadVariant(); }), "Stream nesting too deep");
  const QByteArray fine = QByteArray(10, static_cast<char>(vaList)) + QByteArray(10, '\0');
  EXPECT_EQ(ReadError(fine,
                      [](TReader& r) {
                        r.SkipValue();
                        return 0;
                      }),
            "<no error>");
}

TEST_F(ComponentStreamValues, EveryTruncationOfAValueIsAReadError) {
  const QByteArray whole = Bytes({vaList, vaInt32}) + LittleEndian<int32_t>(70000) +
                           Bytes({vaExtended}) + Extended(0x8000000000000000u, 0x3FFF) +
                           Bytes({vaWString}) + LittleEndian<int32_t>(2) + Utf16("hi") +
                           Bytes({vaSet}) + Short("one") + Bytes({0, vaCurrency}) +
                           LittleEndian<int64_t>(1) + Bytes({vaNull});
  for (qsizetype cut = 0; cut < whole.size(); ++cut) {
    EXPECT_EQ(ReadError(whole.left(cut), [](TReader& r) { return r.ReadVariant(); }).isEmpty(),
              false);
    EXPECT_NE(ReadError(whole.left(cut),
                        [](TReader& r) {
                          r.SkipValue();
                          return 0;
                        }),
              "<no error>")
        << cut;
  }
  EXPECT_EQ(ReadError(whole,
                      [](TReader& r) {
                        r.SkipValue();
                        return 0;
                      }),
            "<no error>");
}
