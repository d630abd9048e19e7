// Published-property access: the property list and kinds, reading and writing every kind by
// name, enumeration and set names, declared defaults and the stored rule.
#include <gtest/gtest.h>

#include <QFlags>

#include "ClassesConsts.h"
#include "Exceptions.h"
#include "FormatSettings.h"
#include "TestClasses.h"
#include "TypInfo.h"

namespace Kel {
namespace {

using namespace TypInfo;
using KelTest::THolderKinds;
using KelTest::TTestComponent;
using KelTest::TTestFont;
using KelTest::TTestItem;
using KelTest::TTestSubItem;

// Odd cases: a default that cannot be read, a narrow integer, a flags type (no kind), and a
// property kept out of streams by STORED false.
class TOddProps : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(int Bad READ Bad WRITE SetBad)
  Q_CLASSINFO("default:Bad", "not a number")
  Q_PROPERTY(short Small READ Small WRITE SetSmall)
  Q_CLASSINFO("default:Small", "$10")
  Q_PROPERTY(Qt::Alignment Align READ Align WRITE SetAlign)
  Q_PROPERTY(QString Hidden READ Hidden WRITE SetHidden STORED false)
  Q_PROPERTY(QString Quoted READ Quoted WRITE SetQuoted)
  Q_CLASSINFO("default:Quoted", "'a'#13#10'b'")

 public:
  int Bad() const { return bad_; }
  void SetBad(int v) { bad_ = v; }
  short Small() const { return small_; }
  void SetSmall(short v) { small_ = v; }
  Qt::Alignment Align() const { return align_; }
  void SetAlign(Qt::Alignment v) { align_ = v; }
  QString Hidden() const { return hidden_; }
  void SetHidden(const QString& v) { hidden_ = v; }
  QString Quoted() const { return quoted_; }
  void SetQuoted(const QString& v) { quoted_ = v; }

 private:
  int bad_ = 0;
  short small_ = 16;
  Qt::Alignment align_;
  QString hidden_ = "x";
  QString quoted_ = "a\r\nb";
};

class PropertyAccess : public ::testing::Test {
 protected:
  void SetUp() override { SetFormatSettings(TFormatSettings::Invariant()); }
  TTestItem* NewItem() { return items_.Add(); }
  KelTest::TTestCollection items_;
};

QStringList Names(const TPropList& list) {
  QStringList names;
  for (const TPropInfo& p : list) names.append(QString::fromLatin1(p.Name()));
  return names;
}

template <typename Action>
QString PropError(Action action) {
  try {
    action();
  } catch (const EPropertyError& e) {
    return e.Message();
  }
  return QStringLiteral("<no exception>");
}

TEST_F(PropertyAccess, ListHoldsPublishedPropertiesInDeclarationOrder) {
  EXPECT_EQ(Names(GetPropList(TTestItem::staticMetaObject)),
            QStringList({"Name", "Count", "Big", "Letter", "Kind", "Kinds", "Checked", "Ratio",
                         "When", "Price", "Value", "Lines", "Font", "Amount", "Children"}));
  // Base classes first; QObject's objectName is never listed.
  const QStringList component = Names(GetPropList(TTestComponent::staticMetaObject));
  EXPECT_EQ(component.first(), "Tag");
  EXPECT_FALSE(component.contains("objectName"));
  EXPECT_EQ(Names(GetPropList(TTestSubItem::staticMetaObject)).last(), "Extra");
}

TEST_F(PropertyAccess, KindsFollowTheCppTypes) {
  TTestItem* item = NewItem();
  EXPECT_EQ(PropKind(item, u"Name"), TPropKind::pkString);
  EXPECT_EQ(PropKind(item, u"Count"), TPropKind::pkInteger);
  EXPECT_EQ(PropKind(item, u"Big"), TPropKind::pkInt64);
  EXPECT_EQ(PropKind(item, u"Letter"), TPropKind::pkChar);
  EXPECT_EQ(PropKind(item, u"Kind"), TPropKind::pkEnumeration);
  EXPECT_EQ(PropKind(item, u"Kinds"), TPropKind::pkSet);
  EXPECT_EQ(PropKind(item, u"Checked"), TPropKind::pkBoolean);
  EXPECT_EQ(PropKind(item, u"Ratio"), TPropKind::pkFloat);
  EXPECT_EQ(PropKind(item, u"When"), TPropKind::pkDateTime);
  EXPECT_EQ(PropKind(item, u"Price"), TPropKind::pkCurrency);
  EXPECT_EQ(PropKind(item, u"Value"), TPropKind::pkVariant);
  EXPECT_EQ(PropKind(item, u"Lines"), TPropKind::pkClass);
  EXPECT_EQ(PropKind(item, u"Children"), TPropKind::pkClass);
  TOddProps odd;
  EXPECT_EQ(PropKind(&odd, u"Align"), TPropKind::pkUnknown);
  EXPECT_EQ(GetPropInfo(item, u"Lines").ClassType(), &TStrings::staticMetaObject);
  EXPECT_STREQ(GetPropInfo(item, u"Kinds").Enumeration().name(), "THolderKind");
}

TEST_F(PropertyAccess, LookupIgnoresCaseAndUnknownNamesAreErrors) {
  TTestItem* item = NewItem();
  EXPECT_STREQ(GetPropInfo(item, u"cOUNT").Name(), "Count");
  EXPECT_FALSE(GetPropInfo(item, u"objectName").IsValid());
  EXPECT_FALSE(IsPublishedProp(item, u"Nope"));
  EXPECT_EQ(PropError([&] { GetPropValue(item, u"Nope"); }), "Property Nope does not exist");
  EXPECT_EQ(PropError([&] { SetPropValue(item, u"Nope", Variant(1)); }),
            "Property Nope does not exist");
}

TEST_F(PropertyAccess, OrdinalKindsReadAndWrite) {
  TTestItem* item = NewItem();
  SetOrdProp(item, GetPropInfo(item, u"Count"), -7);
  EXPECT_EQ(item->Count(), -7);
  SetOrdProp(item, GetPropInfo(item, u"Big"), int64_t(1) << 40);
  EXPECT_EQ(GetOrdProp(item, GetPropInfo(item, u"Big")), int64_t(1) << 40);
  SetOrdProp(item, GetPropInfo(item, u"Letter"), 0x20AC);
  EXPECT_EQ(item->Letter(), QChar(0x20AC));
  SetOrdProp(item, GetPropInfo(item, u"Kind"), KelTest::hkThree);
  EXPECT_EQ(item->Kind(), KelTest::hkThree);
  SetOrdProp(item, GetPropInfo(item, u"Kinds"), 5);
  EXPECT_EQ(item->Kinds(), (THolderKinds{KelTest::hkOne, KelTest::hkThree}));
  SetOrdProp(item, GetPropInfo(item, u"Checked"), 0);
  EXPECT_FALSE(item->Checked());
  EXPECT_EQ(GetOrdProp(item, GetPropInfo(item, u"Kinds")), 5);
}

TEST_F(PropertyAccess, OrdinalsOutsideTheTypeAreRefused) {
  TTestItem* item = NewItem();
  const QString invalid = "Invalid property value";
  EXPECT_EQ(PropError([&] { SetOrdProp(item, GetPropInfo(item, u"Count"), int64_t(1) << 40); }),
            invalid);
  EXPECT_EQ(PropError([&] { SetOrdProp(item, GetPropInfo(item, u"Kind"), 3); }), invalid);
  EXPECT_EQ(PropError([&] { SetOrdProp(item, GetPropInfo(item, u"Kinds"), 8); }), invalid);
  EXPECT_EQ(PropError([&] { SetOrdProp(item, GetPropInfo(item, u"Letter"), 0x10000); }), invalid);
  TOddProps odd;
  EXPECT_EQ(PropError([&] { SetOrdProp(&odd, GetPropInfo(&odd, u"Small"), 40000); }), invalid);
  EXPECT_EQ(item->Count(), 0);
  EXPECT_EQ(item->Kind(), KelTest::hkOne);
  EXPECT_EQ(odd.Small(), 16);
}

TEST_F(PropertyAccess, EnumerationAndSetNames) {
  TTestItem* item = NewItem();
  const TPropInfo kind = GetPropInfo(item, u"Kind");
  const TPropInfo kinds = GetPropInfo(item, u"Kinds");
  SetEnumProp(item, kind, u"HKTWO");
  EXPECT_EQ(GetEnumProp(item, kind), "hkTwo");
  EXPECT_EQ(PropError([&] { SetEnumProp(item, kind, u"hkFour"); }),
            "Invalid property element: hkFour");
  SetSetProp(item, kinds, u"[hkthree, HKONE]");
  EXPECT_EQ(GetSetProp(item, kinds), "hkOne,hkThree");
  EXPECT_EQ(GetSetProp(item, kinds, true), "[hkOne,hkThree]");
  SetSetProp(item, kinds, u"[]");
  EXPECT_TRUE(item->Kinds().IsEmpty());
  SetSetProp(item, kinds, u"hkTwo");
  EXPECT_EQ(item->Kinds(), THolderKinds{KelTest::hkTwo});
  EXPECT_EQ(PropError([&] { SetSetProp(item, kinds, u"[hkOne, nope]"); }),
            "Invalid property element: nope");
  EXPECT_EQ(PropError([&] { SetSetProp(item, kinds, u"[hkOne"); }),
            "Invalid property element: [hkOne");
  EXPECT_EQ(item->Kinds(), THolderKinds{KelTest::hkTwo});
  EXPECT_EQ(GetEnumName(kind.Enumeration(), 7), "");
  EXPECT_EQ(GetEnumValue(kind.Enumeration(), u"nothing"), -1);
  EXPECT_EQ(SetToString(kind.Enumeration(), 0x9), "hkOne,3");
}

TEST_F(PropertyAccess, FloatDateCurrencyStringVariant) {
  TTestItem* item = NewItem();
  SetFloatProp(item, GetPropInfo(item, u"Ratio"), 0.125);
  EXPECT_EQ(item->Ratio(), 0.125);
  SetFloatProp(item, GetPropInfo(item, u"When"), 45000.5);
  EXPECT_EQ(item->When(), 45000.5);
  SetCurrencyProp(item, GetPropInfo(item, u"Price"), Currency::FromScaled(12345678));
  EXPECT_EQ(item->Price().Scaled, 12345678);
  EXPECT_DOUBLE_EQ(GetFloatProp(item, GetPropInfo(item, u"Price")), 1234.5678);
  SetStrProp(item, GetPropInfo(item, u"Name"), "n\u00E4me");
  EXPECT_EQ(item->Name(), "n\u00E4me");
  SetStrProp(item, GetPropInfo(item, u"Letter"), "xyz");
  EXPECT_EQ(item->Letter(), QChar(u'x'));
  EXPECT_EQ(GetStrProp(item, GetPropInfo(item, u"Letter")), "x");
  SetVariantProp(item, GetPropInfo(item, u"Value"), Variant::Null());
  EXPECT_TRUE(item->Value().IsNull());
  EXPECT_EQ(PropError([&] { GetFloatProp(item, GetPropInfo(item, u"Name")); }),
            "Invalid property type: QString");
}

TEST_F(PropertyAccess, ObjectPropertiesGoThroughTheSetter) {
  TTestItem* item = NewItem();
  TStringList lines;
  lines.FromStringList({"one", "two"});
  const TPropInfo prop = GetPropInfo(item, u"Lines");
  SetObjectProp(item, prop, &lines);
  // The setter copies the contents; the item keeps its own list.
  EXPECT_NE(GetObjectProp(item, prop), &lines);
  EXPECT_TRUE(item->Lines()->Equals(lines));
  TTestFont font;
  EXPECT_EQ(PropError([&] { SetObjectProp(item, prop, &font); }), "Invalid property value");
  TTestComponent holder, target;
  SetObjectProp(&holder, GetPropInfo(&holder, u"Link"), &target);
  EXPECT_EQ(holder.Link(), &target);
  SetOrdProp(&holder, GetPropInfo(&holder, u"Link"), 0);
  EXPECT_EQ(holder.Link(), nullptr);
}

TEST_F(PropertyAccess, ReadOnlyPropertyIsRefused) {
  TTestComponent c;
  EXPECT_EQ(GetPropValue(&c, u"ReadOnly").AsInteger(), 42);
  EXPECT_EQ(PropError([&] { SetPropValue(&c, u"ReadOnly", Variant(1)); }),
            "Property ReadOnly is read-only");
}

TEST_F(PropertyAccess, PropValueAsVariantForEveryKind) {
  TTestItem* item = NewItem();
  SetPropValue(item, u"Count", Variant("12"));
  EXPECT_EQ(item->Count(), 12);
  SetPropValue(item, u"Kind", Variant("hkThree"));
  EXPECT_EQ(GetPropValue(item, u"Kind").AsString(), "hkThree");
  EXPECT_EQ(GetPropValue(item, u"Kind", false).AsInteger(), 2);
  SetPropValue(item, u"Kind", Variant(1));
  EXPECT_EQ(item->Kind(), KelTest::hkTwo);
  SetPropValue(item, u"Kinds", Variant("[hkTwo,hkThree]"));
  EXPECT_EQ(GetPropValue(item, u"Kinds").AsString(), "hkTwo,hkThree");
  EXPECT_EQ(GetPropValue(item, u"Kinds", false).AsInt64(), 6);
  SetPropValue(item, u"Checked", Variant(false));
  EXPECT_EQ(GetPropValue(item, u"Checked").VarType(), varBoolean);
  SetPropValue(item, u"Ratio", Variant("0.5"));
  EXPECT_EQ(item->Ratio(), 0.5);
  SetPropValue(item, u"When", Variant::FromDate(36526.25));
  EXPECT_EQ(GetPropValue(item, u"When").VarType(), varDate);
  SetPropValue(item, u"Price", Variant(2.5));
  EXPECT_EQ(item->Price().Scaled, 25000);
  EXPECT_EQ(GetPropValue(item, u"Price").VarType(), varCurrency);
  SetPropValue(item, u"Name", Variant(42));
  EXPECT_EQ(item->Name(), "42");
  SetPropValue(item, u"Name", Variant::Null());
  EXPECT_EQ(item->Name(), "");
  SetPropValue(item, u"Letter", Variant(66));
  EXPECT_EQ(GetPropValue(item, u"Letter").AsString(), "B");
  SetPropValue(item, u"Value", Variant(int64_t(7)));
  EXPECT_TRUE(GetPropValue(item, u"Value").Same(Variant(int64_t(7))));
  EXPECT_EQ(PropError([&] { GetPropValue(item, u"Lines"); }),
            "Invalid property type: Kel::TStrings*");
  EXPECT_THROW(SetPropValue(item, u"Count", Variant("twelve")), EVariantError);
  EXPECT_EQ(item->Count(), 12);
}

TEST_F(PropertyAccess, FreshObjectsStoreOnlyWhatHasNoDefault) {
  TTestItem* item = NewItem();
  QStringList stored;
  for (const TPropInfo& p : GetPropList(item))
    if (IsStoredProp(item, p)) stored.append(QString::fromLatin1(p.Name()));
  // Class properties are never "default"; a float without declared default is always stored.
  EXPECT_EQ(stored, QStringList({"Lines", "Font", "Amount", "Children"}));
}

TEST_F(PropertyAccess, ChangedValuesAreStored) {
  TTestItem* item = NewItem();
  item->SetName("x");
  item->SetCount(1);
  item->SetBig(-1);
  item->SetLetter(u'B');
  item->SetKind(KelTest::hkTwo);
  item->SetKinds({});
  item->SetChecked(false);
  item->SetRatio(2.25);
  item->SetWhen(1);
  item->SetPrice(Currency::FromScaled(1));
  item->SetValue(Variant::Null());
  for (const TPropInfo& p : GetPropList(item)) EXPECT_TRUE(IsStoredProp(item, p)) << p.Name();
}

TEST_F(PropertyAccess, DefaultsTextsOfEveryForm) {
  TTestComponent c;
  // 'It''s': a quoted default with a doubled quote.
  EXPECT_FALSE(IsStoredProp(&c, u"Caption"));
  c.SetCaption("Its");
  EXPECT_TRUE(IsStoredProp(&c, u"Caption"));
  TOddProps odd;
  EXPECT_FALSE(IsStoredProp(&odd, u"Quoted"));  // '#13#10' codes
  EXPECT_FALSE(IsStoredProp(&odd, u"Small"));   // $10
  EXPECT_TRUE(IsStoredProp(&odd, u"Bad"));      // an unreadable default stores the value
  EXPECT_FALSE(IsStoredProp(&odd, u"Hidden"));  // STORED false
  EXPECT_FALSE(IsStoredProp(&odd, u"Align"));   // no kind: nothing a stream could hold
}

TEST_F(PropertyAccess, DescendantsMayDeclareOtherDefaults) {
  auto* sub = static_cast<TTestSubItem*>(items_.TCollection::Add(TTestSubItem::staticMetaObject));
  EXPECT_EQ(sub->Count(), 3);
  EXPECT_FALSE(IsStoredProp(sub, u"Count"));
  EXPECT_FALSE(IsStoredProp(sub, u"Extra"));
  sub->SetCount(0);
  EXPECT_TRUE(IsStoredProp(sub, u"Count"));
  EXPECT_EQ(GetPropInfo(sub, u"Count").DefaultText(), "3");
}

TEST_F(PropertyAccess, StoredHookOfTheObjectDecides) {
  TTestComponent c;
  c.SetHint("help");
  EXPECT_FALSE(IsStoredProp(&c, u"Hint"));
  c.SetShowHint(true);
  EXPECT_TRUE(IsStoredProp(&c, u"Hint"));
  EXPECT_TRUE(IsStoredProp(&c, u"ShowHint"));
}

TEST_F(PropertyAccess, VariantDefaultUnassignedStoresNull) {
  TTestItem* item = NewItem();
  EXPECT_FALSE(IsStoredProp(item, u"Value"));
  item->SetValue(Variant(0));
  EXPECT_TRUE(IsStoredProp(item, u"Value"));
  item->SetValue(Variant::Null());
  EXPECT_TRUE(IsStoredProp(item, u"Value"));
}

}  // namespace
}  // namespace Kel

#include "PropertyAccessTest.moc"
