// Collection streaming through TKelPersHolder: the binary layout of the format byte for byte, a
// round trip through binary, text and binary again with every property kind, defaults left out,
// streams of other writers read back, references resolved through the collection's owners, and
// hostile bytes and text refused with EReadError.
#include <gtest/gtest.h>

#include <QPointer>
#include <memory>

#include "ClassRegistry.h"
#include "Collection.h"
#include "Exceptions.h"
#include "Filer.h"
#include "FormatSettings.h"
#include "KelPersHolder.h"
#include "Set.h"
#include "Streams.h"
#include "Strings.h"
#include "Variant.h"

namespace KelHolderTest {
Q_NAMESPACE
enum TStreamKind { skOne, skTwo, skThree };
Q_ENUM_NS(TStreamKind)
}  // namespace KelHolderTest

KEL_DECLARE_SET(KelHolderTest::TStreamKind, KelHolderTest_TStreamKind)

namespace KelHolderTest {

using namespace Kel;
using TStreamKinds = TSet<TStreamKind>;

class TStreamItems;

// An item with a published property of every kind a saved list uses. A fresh item differs from
// its declared defaults only in Amount (no default) and Children (collections are always written).
class TStreamItem : public TCollectionItem {
  Q_OBJECT
  Q_PROPERTY(QString Name MEMBER name)
  Q_PROPERTY(int Count MEMBER count)
  Q_CLASSINFO("default:Count", "0")
  Q_PROPERTY(KelHolderTest::TStreamKind Kind MEMBER kind)
  Q_CLASSINFO("default:Kind", "skOne")
  Q_PROPERTY(KelHolderTest::TStreamKinds Kinds MEMBER kinds)
  Q_CLASSINFO("default:Kinds", "[]")
  Q_PROPERTY(bool Checked MEMBER checked)
  Q_CLASSINFO("default:Checked", "True")
  Q_PROPERTY(double Amount MEMBER amount)
  Q_PROPERTY(Kel::Currency Price MEMBER price)
  Q_CLASSINFO("default:Price", "0")
  Q_PROPERTY(double When MEMBER when)
  Q_CLASSINFO("datetime:When", "true")
  Q_CLASSINFO("default:When", "0")
  // Accessors, not MEMBER: a MEMBER property compares old and new with the variant rules.
  Q_PROPERTY(Kel::Variant Value READ Value WRITE SetValue)
  Q_CLASSINFO("default:Value", "Unassigned")
  Q_PROPERTY(Kel::TStrings* Lines READ Lines WRITE SetLines)
  Q_PROPERTY(Kel::TComponent* Link READ Link WRITE SetLink)
  Q_PROPERTY(Kel::TCollection* Children READ Children WRITE SetChildren)

 public:
  Q_INVOKABLE explicit TStreamItem(Kel::TCollection* collection);
  ~TStreamItem() override;

  Variant Value() const { return value; }
  void SetValue(const Variant& v) { value = v; }
  TStrings* Lines() const { return lines_.get(); }
  void SetLines(TStrings* value) {
    if (value) lines_->Assign(*value);
  }
  TComponent* Link() const { return link_; }
  void SetLink(TComponent* value) { link_ = value; }
  TCollection* Children() const;
  void SetChildren(TCollection* value) { Children()->Assign(value); }

  QString name;
  int count = 0;
  TStreamKind kind = skOne;
  TStreamKinds kinds;
  bool checked = true;
  double amount = 0;
  Currency price;
  double when = 0;
  Variant value;

 private:
  std::unique_ptr<TStringList> lines_ = std::make_unique<TStringList>();
  QPointer<TComponent> link_;
  mutable std::unique_ptr<TStreamItems> children_;
};

class TStreamItems : public TOwnedCollection {
  Q_OBJECT

 public:
  explicit TStreamItems(QObject* owner = nullptr)
      : TOwnedCollection(owner, TStreamItem::staticMetaObject) {}
  TStreamItem* Items(int index) const { return TCollection::Items<TStreamItem>(index); }
  TStreamItem* Add() { return TCollection::Add<TStreamItem>(); }
  int updates = 0;

 protected:
  void Update(TCollectionItem* item) override {
    if (!item) ++updates;
  }
};

TStreamItem::TStreamItem(TCollection* collection) : TCollectionItem(collection) {}
TStreamItem::~TStreamItem() = default;

TCollection* TStreamItem::Children() const {
  if (!children_) children_ = std::make_unique<TStreamItems>(const_cast<TStreamItem*>(this));
  return children_.get();
}

// A component that owns a collection, as a list box owns its items.
class TItemsOwner : public TComponent {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TItemsOwner(TComponent* owner = nullptr) : TComponent(owner), items(this) {}
  void Loaded() override {
    TComponent::Loaded();
    ++loadedCount;
  }
  TStreamItems items;
  int loadedCount = 0;
};

}  // namespace KelHolderTest

using namespace Kel;
using namespace KelHolderTest;

namespace {

QByteArray Bytes(std::initializer_list<int> values) {
  QByteArray bytes;
  for (int v : values) bytes.append(static_cast<char>(v));
  return bytes;
}

QByteArray Short(const QByteArray& text) {
  return QByteArray(1, static_cast<char>(text.size())) + text;
}

template <typename T>
QByteArray LittleEndian(T value) {
  QByteArray bytes(reinterpret_cast<const char*>(&value), sizeof value);
  return bytes;  // the test machines are little-endian, as the format is
}

QByteArray HolderStream(const QByteArray& itemsValue) {
  return QByteArray("TPF0") + Short("TKelPersHolder") + Short("") + Short("P") + itemsValue +
         Bytes({0, 0});
}

QByteArray WriteBinary(TPersistent* obj) {
  TMemoryStream stream;
  WriteCollection(stream, obj);
  return stream.Bytes();
}

QByteArray WriteText(TPersistent* obj) {
  TMemoryStream stream;
  WriteCollectionText(stream, obj);
  return stream.Bytes();
}

void ReadBinary(const QByteArray& bytes, TPersistent* obj) {
  TMemoryStream stream(bytes);
  ReadCollection(stream, obj);
}

void ReadText(const QByteArray& text, TPersistent* obj) {
  TMemoryStream stream(text);
  ReadCollectionText(stream, obj);
}

void Fill(TStreamItem* item, int seed) {
  item->name = seed % 2 ? QStringLiteral("O'Brien \u00e4 %1").arg(seed) : QStringLiteral("plain");
  item->count = seed * 40000;
  item->kind = skThree;
  item->kinds = TStreamKinds{skOne, skThree};
  item->checked = false;
  item->amount = seed + 0.1;
  item->price = Currency::FromScaled(int64_t{123456789} * seed);
  item->when = 45123.5 + seed;
  const Variant values[] = {
      Variant(seed),         Variant(2.5),    Variant(QStringLiteral("text")),
      Variant(true),         Variant::Null(), Variant(Currency::FromScaled(5)),
      Variant::FromDate(1.5)};
  item->SetValue(values[seed % 7]);
  item->Lines()->Add(QStringLiteral("line %1").arg(seed));
  item->Lines()->Add(QString());
}

// viaText: b went through the text form, where a currency is a plain decimal, so a currency
// held in a variant comes back as a double of the same value (currency properties stay exact).
void ExpectSame(const TStreamItems& a, const TStreamItems& b, bool viaText = false) {
  ASSERT_EQ(a.Count(), b.Count());
  for (int i = 0; i < a.Count(); ++i) {
    TStreamItem* x = a.Items(i);
    TStreamItem* y = b.Items(i);
    EXPECT_EQ(x->name, y->name);
    EXPECT_EQ(x->count, y->count);
    EXPECT_EQ(x->kind, y->kind);
    EXPECT_EQ(x->kinds, y->kinds);
    EXPECT_EQ(x->checked, y->checked);
    EXPECT_EQ(x->amount, y->amount);
    EXPECT_EQ(x->price, y->price);
    EXPECT_EQ(x->when, y->when);
    if (viaText && x->Value().VarType() == varCurrency) {
      EXPECT_EQ(y->Value().VarType(), varDouble);
      EXPECT_EQ(y->Value().AsCurrency(), x->Value().AsCurrency());
    } else {
      EXPECT_TRUE(x->Value().Same(y->Value())) << VarDebugText(x->Value()).toStdString() << " / "
                                               << VarDebugText(y->Value()).toStdString();
    }
    EXPECT_EQ(x->Lines()->Text(), y->Lines()->Text());
    ExpectSame(*static_cast<TStreamItems*>(x->Children()),
               *static_cast<TStreamItems*>(y->Children()), viaText);
  }
}

QString ReadFailure(const QByteArray& bytes, bool text, TPersistent* obj) {
  try {
    if (text) {
      ReadText(bytes, obj);
    } else {
      ReadBinary(bytes, obj);
    }
  } catch (const EReadError& e) {
    return e.Message();
  }
  return QStringLiteral("<no error>");
}

class KelPersHolder : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFormatSettings(TFormatSettings::Invariant());
    RegisterClasses({&TStreamItem::staticMetaObject, &TItemsOwner::staticMetaObject});
  }
};

}  // namespace

TEST_F(KelPersHolder, BinaryLayoutMatchesTheFormatByteForByte) {
  TStreamItems items;
  items.Add();
  const QByteArray expected = QByteArray("\x54\x50\x46\x30") + Bytes({0x0E}) + "TKelPersHolder" +
                              Bytes({0x00}) + Bytes({0x01}) + "P" + Bytes({0x0E}) + Bytes({0x01}) +
                              Bytes({0x06}) + "Amount" + Bytes({0x05}) + QByteArray(10, '\0') +
                              Bytes({0x08}) + "Children" + Bytes({0x0E, 0x00}) + Bytes({0x00}) +
                              Bytes({0x00}) + Bytes({0x00, 0x00});
  EXPECT_EQ(WriteBinary(&items), expected);
  EXPECT_EQ(WriteText(&items), QByteArray("object TKelPersHolder\r\n"
                                          "  P = <\r\n"
                                          "    item\r\n"
                                          "      Amount = 0.0\r\n"
                                          "      Children = <>\r\n"
                                          "    end>\r\n"
                                          "end\r\n"));
  TStreamItems empty;
  EXPECT_EQ(WriteBinary(&empty), HolderStream(Bytes({vaCollection, 0})));
}

TEST_F(KelPersHolder, EveryKindRoundTripsThroughBinaryTextAndBinaryAgain) {
  TStreamItems original;
  for (int i = 1; i <= 7; ++i) {
    TStreamItem* item = original.Add();
    Fill(item, i);
    if (i == 3) Fill(static_cast<TStreamItems*>(item->Children())->Add(), 30);
  }
  const QByteArray binary = WriteBinary(&original);
  const QByteArray text = WriteText(&original);
  EXPECT_TRUE(text.contains("Name = 'O''Brien '#228' 1'")) << text.constData();
  EXPECT_TRUE(text.contains("Kinds = [skOne, skThree]")) << text.constData();
  EXPECT_TRUE(text.contains("Lines.Strings = (")) << text.constData();

  TStreamItems fromText;
  ReadText(text, &fromText);
  ExpectSame(original, fromText, true);
  TStreamItems fromBinary;
  ReadBinary(binary, &fromBinary);
  ExpectSame(original, fromBinary);
  EXPECT_EQ(WriteBinary(&fromBinary), binary);
  // Binary again after the text.
  TStreamItems again;
  ReadBinary(WriteBinary(&fromText), &again);
  ExpectSame(original, again, true);
  // From then on the text is stable.
  const QByteArray secondText = WriteText(&fromText);
  TStreamItems third;
  ReadText(secondText, &third);
  EXPECT_EQ(WriteText(&third).toStdString(), secondText.toStdString());
}

TEST_F(KelPersHolder, DefaultsAreNotWritten) {
  TStreamItems items;
  TStreamItem* item = items.Add();
  item->count = 0;
  item->checked = true;
  const QByteArray text = WriteText(&items);
  for (const char* name :
       {"Name", "Count", "Kind", "Checked", "Price", "When", "Value", "Lines", "Link"})
    EXPECT_FALSE(text.contains(name)) << name;
  item->SetValue(Variant::Null());
  EXPECT_TRUE(WriteText(&items).contains("Value = Null"));
  item->SetValue(Variant(0));
  EXPECT_TRUE(WriteText(&items).contains("Value = 0"));
}

TEST_F(KelPersHolder, StreamsOfOtherWritersReadBack) {
  const QByteArray item1 = Bytes({vaInt8, 5, vaList}) + Short("Amount") + Bytes({vaInt8, 0xFE}) +
                           Short("Name") + Bytes({vaWString}) + LittleEndian<int32_t>(1) +
                           Bytes({0xE4, 0}) + Short("Price") + Bytes({vaExtended}) +
                           LittleEndian<uint64_t>(0xC000000000000000u) +
                           LittleEndian<uint16_t>(0x3FFF) + Bytes({0});
  const QByteArray item2 = Bytes({vaInt16, 1, 1, vaList}) + Short("Amount") +
                           Bytes({vaInt16, 0, 1}) + Short("Name") + Bytes({vaUString}) +
                           LittleEndian<int32_t>(1) + Bytes({0x2C, 0x4E}) + Short("When") +
                           Bytes({vaInt32}) + LittleEndian<int32_t>(40000) + Bytes({0});
  const QByteArray item3 = Bytes({vaInt32}) + LittleEndian<int32_t>(70000) + Bytes({vaList}) +
                           Short("Amount") + Bytes({vaInt32}) + LittleEndian<int32_t>(-70000) +
                           Short("Name") + Bytes({vaUTF8String}) + LittleEndian<int32_t>(2) +
                           QByteArray("\xC3\xA9") + Bytes({0});
  const QByteArray item4 = Bytes({vaList}) + Short("Amount") + Bytes({vaInt64}) +
                           LittleEndian<int64_t>(int64_t(1) << 40) + Short("Name") +
                           Bytes({vaLString}) + LittleEndian<int32_t>(1) + "L" + Bytes({0});
  TStreamItems items;
  items.Add()->name = QStringLiteral("old");
  ReadBinary(HolderStream(Bytes({vaCollection}) + item1 + item2 + item3 + item4 + Bytes({0})),
             &items);
  ASSERT_EQ(items.Count(), 4);
  EXPECT_EQ(items.Items(0)->amount, -2.0);
  EXPECT_EQ(items.Items(0)->name, QStringLiteral("\u00e4"));
  EXPECT_EQ(items.Items(0)->price, Currency::FromScaled(15000));
  EXPECT_EQ(items.Items(1)->amount, 256.0);
  EXPECT_EQ(items.Items(1)->name, QStringLiteral("\u4e2c"));
  EXPECT_EQ(items.Items(1)->when, 40000.0);
  EXPECT_EQ(items.Items(2)->amount, -70000.0);
  EXPECT_EQ(items.Items(2)->name, QStringLiteral("\u00e9"));
  EXPECT_EQ(items.Items(3)->amount, 1099511627776.0);
  EXPECT_EQ(items.Items(3)->name, "L");

  // The text form with item orders, "c" currency, and free layout.
  TStreamItems fromText;
  ReadText(
      "object TKelPersHolder P = < item [3] Price = 12345c Amount = 2 end item [0]\n"
      "end   > end",
      &fromText);
  ASSERT_EQ(fromText.Count(), 2);
  EXPECT_EQ(fromText.Items(0)->price, Currency::FromScaled(12345));
  EXPECT_EQ(fromText.Items(0)->amount, 2.0);
}

TEST_F(KelPersHolder, TheCollectionIsRefilledInPlace) {
  TStreamItems items;
  items.Add()->name = QStringLiteral("a");
  items.Add()->name = QStringLiteral("b");
  TStreamItems source;
  source.Add()->name = QStringLiteral("new");
  const int updatesBefore = items.updates;
  ReadBinary(WriteBinary(&source), &items);
  ASSERT_EQ(items.Count(), 1);
  EXPECT_EQ(items.Items(0)->name, "new");
  EXPECT_EQ(items.updates, updatesBefore + 1) << "one change notification for the whole refill";
  // An empty streamed collection leaves an empty collection, not the old items.
  TStreamItems empty;
  ReadBinary(WriteBinary(&empty), &items);
  EXPECT_EQ(items.Count(), 0);
}

TEST_F(KelPersHolder, ADamagedStreamLeavesTheCollectionAsItWas) {
  TStreamItems items;
  Fill(items.Add(), 1);
  Fill(items.Add(), 2);
  TStreamItems copy;
  ReadBinary(WriteBinary(&items), &copy);
  // One good item, then a property the item class lacks.
  const QByteArray damaged =
      HolderStream(Bytes({vaCollection, vaList}) + Short("Name") + Bytes({vaString, 1, 'x', 0}) +
                   Bytes({vaList}) + Short("Colour") + Bytes({vaInt8, 1, 0, 0}));
  EXPECT_EQ(ReadFailure(damaged, false, &items),
            "Error reading TKelPersHolder.P[1].Colour: Property Colour does not exist");
  ExpectSame(copy, items);
  // Cut short in the middle of the items, in both forms.
  const QByteArray binary = WriteBinary(&copy);
  EXPECT_NE(ReadFailure(binary.left(binary.size() - 20), false, &items), "<no error>");
  ExpectSame(copy, items);
  EXPECT_NE(ReadFailure("object TKelPersHolder P = < item Name = 'x' end item Count = 'y' end> end",
                        true, &items),
            "<no error>");
  ExpectSame(copy, items);
}

TEST_F(KelPersHolder, AComponentStreamsItselfAndIsLoadedOnce) {
  TItemsOwner original;
  original.SetTag(4);
  const QByteArray bytes = WriteBinary(&original);
  EXPECT_TRUE(bytes.startsWith(QByteArray("TPF0") + Short("TItemsOwner")));
  TItemsOwner copy;
  ReadBinary(bytes, &copy);
  EXPECT_EQ(copy.Tag(), 4);
  EXPECT_EQ(copy.loadedCount, 1);
  EXPECT_FALSE(IsGlobalLoading());
  // The bracket is closed on errors too.
  EXPECT_NE(ReadFailure(bytes.left(bytes.size() - 2), false, &copy), "<no error>");
  EXPECT_FALSE(IsGlobalLoading());
}

TEST_F(KelPersHolder, ReferencesResolveAmongTheCollectionsOwners) {
  TComponent form;
  form.SetName(QStringLiteral("Form1"));
  auto* table = new TComponent(&form);
  table->SetName(QStringLiteral("Table1"));
  auto* box = new TItemsOwner(&form);
  box->SetName(QStringLiteral("Box"));
  box->items.Add()->SetLink(table);
  const QByteArray text = WriteText(&box->items);
  EXPECT_TRUE(text.contains("Link = Form1.Table1")) << text.constData();

  auto* other = new TItemsOwner(&form);
  ReadText(text, &other->items);
  ASSERT_EQ(other->items.Count(), 1);
  EXPECT_EQ(other->items.Items(0)->Link(), table);

  // A form without a name: the reference names the component alone and still resolves.
  TComponent unnamed;
  auto* table2 = new TComponent(&unnamed);
  table2->SetName(QStringLiteral("Table2"));
  auto* box2 = new TItemsOwner(&unnamed);
  box2->items.Add()->SetLink(table2);
  TItemsOwner* box3 = new TItemsOwner(&unnamed);
  ReadBinary(WriteBinary(&box2->items), &box3->items);
  EXPECT_EQ(box3->items.Items(0)->Link(), table2);
}

TEST_F(KelPersHolder, HostileBytesAndTextRaiseReadErrors) {
  TStreamItems original;
  for (int i = 1; i <= 3; ++i) Fill(original.Add(), i);
  const QByteArray binary = WriteBinary(&original);
  const QByteArray text = WriteText(&original);
  for (qsizetype cut = 0; cut < binary.size(); ++cut) {
    TStreamItems target;
    EXPECT_NE(ReadFailure(binary.left(cut), false, &target), "<no error>") << cut;
  }
  for (qsizetype cut = 0; cut + 6 < text.size(); cut += 5) {
    TStreamItems target;
    EXPECT_NE(ReadFailure(text.left(cut), true, &target), "<no error>") << cut;
  }
  TStreamItems target;
  EXPECT_EQ(ReadFailure(HolderStream(Bytes({vaCollection, vaList}) + Short("Colour") +
                                     Bytes({vaInt8, 1, 0, 0})),
                        false, &target),
            "Error reading TKelPersHolder.P[0].Colour: Property Colour does not exist");
  EXPECT_EQ(ReadFailure(HolderStream(Bytes({vaCollection, vaList}) + Short("Kind") +
                                     Bytes({vaInt8, 1, 0, 0})),
                        false, &target),
            "Error reading TKelPersHolder.P[0].Kind: Invalid property value");
  EXPECT_EQ(ReadFailure(HolderStream(Bytes({vaInt8, 1})), false, &target),
            "Error reading TKelPersHolder.P: Invalid property value");
  EXPECT_EQ(ReadFailure("object TKelPersHolder P = < item Count = 'x' end> end", true, &target),
            "Error reading TKelPersHolder.P[0].Count: Invalid property value");
  EXPECT_EQ(ReadFailure("object TKelPersHolder P = < item Count = 1 end end", true, &target),
            "item expected on line 1");
  EXPECT_EQ(ReadFailure("\x01\x02garbage", true, &target), "object expected on line 1");
  EXPECT_EQ(ReadFailure("garbage", false, &target), "Invalid stream format");
}

#include "KelPersHolderTest.moc"
