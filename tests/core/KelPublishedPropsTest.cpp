// Published-property helpers: copying by kind, exclusions, setting by name from variants,
// string-list properties, unique component names and the owner search.
#include <gtest/gtest.h>

#include "Exceptions.h"
#include "FormatSettings.h"
#include "KelClasses.h"

namespace KelPropsTest {
Q_NAMESPACE
enum TMode { mdOff, mdOn, mdAuto };
Q_ENUM_NS(TMode)
enum TOtherMode { omA, omB };
Q_ENUM_NS(TOtherMode)
}  // namespace KelPropsTest

KEL_DECLARE_SET(KelPropsTest::TMode, KelPropsTest_TMode)

namespace Kel {
namespace {

using KelPropsTest::TMode;

// A button-like component with one property of each kind the helpers handle.
class TPropSource : public TComponent {
  Q_OBJECT
  Q_PROPERTY(int Count READ Count WRITE SetCount)
  Q_PROPERTY(KelPropsTest::TMode Mode READ Mode WRITE SetMode)
  Q_PROPERTY(Kel::TSet<KelPropsTest::TMode> Modes READ Modes WRITE SetModes)
  Q_PROPERTY(bool Default READ Default WRITE SetDefault)
  Q_PROPERTY(QChar Accel READ Accel WRITE SetAccel)
  Q_PROPERTY(double Ratio READ Ratio WRITE SetRatio)
  Q_PROPERTY(Kel::Currency Price READ Price WRITE SetPrice)
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(Kel::Variant Value READ Value WRITE SetValue)
  Q_PROPERTY(Kel::TStrings* SQL READ SQL WRITE SetSQL)
  Q_PROPERTY(Kel::TComponent* Link READ Link WRITE SetLink)
  Q_PROPERTY(int Fixed READ Fixed)

 public:
  Q_INVOKABLE explicit TPropSource(TComponent* owner = nullptr) : TComponent(owner) {}
  int Count() const { return count_; }
  void SetCount(int v) { count_ = v; }
  TMode Mode() const { return mode_; }
  void SetMode(TMode v) { mode_ = v; }
  TSet<TMode> Modes() const { return modes_; }
  void SetModes(TSet<TMode> v) { modes_ = v; }
  bool Default() const { return default_; }
  void SetDefault(bool v) { default_ = v; }
  QChar Accel() const { return accel_; }
  void SetAccel(QChar v) { accel_ = v; }
  double Ratio() const { return ratio_; }
  void SetRatio(double v) { ratio_ = v; }
  Currency Price() const { return price_; }
  void SetPrice(Currency v) { price_ = v; }
  QString Caption() const { return caption_; }
  void SetCaption(const QString& v) { caption_ = v; }
  Variant Value() const { return value_; }
  void SetValue(const Variant& v) { value_ = v; }
  TStrings* SQL() const { return sql_.get(); }
  void SetSQL(TStrings* v) {
    if (v) sql_->Assign(*v);
  }
  TComponent* Link() const { return link_; }
  void SetLink(TComponent* v) { link_ = v; }
  int Fixed() const { return fixed_; }

  int fixed_ = 1;

 private:
  int count_ = 0;
  TMode mode_ = KelPropsTest::mdOff;
  TSet<TMode> modes_;
  bool default_ = false;
  QChar accel_;
  double ratio_ = 0;
  Currency price_;
  QString caption_;
  Variant value_;
  std::unique_ptr<TStringList> sql_ = std::make_unique<TStringList>();
  TComponent* link_ = nullptr;
};

// Shares some names with TPropSource under other kinds.
class TPropTarget : public TComponent {
  Q_OBJECT
  Q_PROPERTY(QString Count READ Count WRITE SetCount)  // a string where the source has an integer
  Q_PROPERTY(int Default READ Default WRITE SetDefault)
  Q_PROPERTY(QString Accel READ Accel WRITE SetAccel)
  Q_PROPERTY(Kel::Currency Ratio READ Ratio WRITE SetRatio)
  Q_PROPERTY(KelPropsTest::TOtherMode Mode READ Mode WRITE SetMode)
  Q_PROPERTY(int Fixed READ Fixed WRITE SetFixed)
  Q_PROPERTY(Kel::TStrings* Link READ Link WRITE SetLink)  // a string list, not any component

 public:
  Q_INVOKABLE explicit TPropTarget(TComponent* owner = nullptr) : TComponent(owner) {}
  QString Count() const { return count_; }
  void SetCount(const QString& v) { count_ = v; }
  int Default() const { return default_; }
  void SetDefault(int v) { default_ = v; }
  QString Accel() const { return accel_; }
  void SetAccel(const QString& v) { accel_ = v; }
  Currency Ratio() const { return ratio_; }
  void SetRatio(Currency v) { ratio_ = v; }
  KelPropsTest::TOtherMode Mode() const { return mode_; }
  void SetMode(KelPropsTest::TOtherMode v) { mode_ = v; }
  int Fixed() const { return fixed_; }
  void SetFixed(int v) { fixed_ = v; }
  TStrings* Link() const { return link_; }
  void SetLink(TStrings* v) { link_ = v; }

 private:
  QString count_ = "untouched";
  int default_ = 0;
  QString accel_;
  Currency ratio_;
  KelPropsTest::TOtherMode mode_ = KelPropsTest::omA;
  int fixed_ = 0;
  TStrings* link_ = nullptr;
};

class KelPublishedProps : public ::testing::Test {
 protected:
  void SetUp() override { SetFormatSettings(TFormatSettings::Invariant()); }

  void Fill(TPropSource& s) {
    s.SetCount(7);
    s.SetMode(KelPropsTest::mdAuto);
    s.SetModes({KelPropsTest::mdOn, KelPropsTest::mdAuto});
    s.SetDefault(true);
    s.SetAccel(u'x');
    s.SetRatio(1.5);
    s.SetPrice(Currency::FromScaled(12345));
    s.SetCaption("OK");
    s.SetValue(Variant::Null());
    s.SQL()->SetText("select *\nfrom t");
  }
};

TEST_F(KelPublishedProps, CopyBetweenObjectsOfOneClassCopiesEverything) {
  TPropSource source, dest;
  TComponent linked;
  Fill(source);
  source.SetLink(&linked);
  CopyPublishedProps(&source, &dest);
  EXPECT_EQ(dest.Count(), 7);
  EXPECT_EQ(dest.Mode(), KelPropsTest::mdAuto);
  EXPECT_EQ(dest.Modes(), source.Modes());
  EXPECT_TRUE(dest.Default());
  EXPECT_EQ(dest.Accel(), QChar(u'x'));
  EXPECT_EQ(dest.Ratio(), 1.5);
  EXPECT_EQ(dest.Price().Scaled, 12345);
  EXPECT_EQ(dest.Caption(), "OK");
  EXPECT_TRUE(dest.Value().IsNull());
  // An object reference goes through the setter, which copies the contents.
  EXPECT_NE(dest.SQL(), source.SQL());
  EXPECT_TRUE(dest.SQL()->Equals(*source.SQL()));
  EXPECT_EQ(dest.Link(), &linked);
}

TEST_F(KelPublishedProps, CopyByKindGroupsLeavesMismatchesAlone) {
  TPropSource source;
  TPropTarget dest;
  Fill(source);
  source.SetMode(KelPropsTest::mdOn);  // ordinal 1 exists in the other enumeration too
  source.fixed_ = 9;
  CopyPublishedProps(&source, &dest);
  EXPECT_EQ(dest.Count(), "untouched");   // integer into a string: not the same group
  EXPECT_EQ(dest.Default(), 1);           // boolean into an integer: as an integer
  EXPECT_EQ(dest.Accel(), "x");           // character into a string
  EXPECT_EQ(dest.Ratio().Scaled, 15000);  // float into currency
  EXPECT_EQ(dest.Mode(), KelPropsTest::omB);
  EXPECT_EQ(dest.Fixed(), 9);  // read-only in the source is fine, it is only read there
}

TEST_F(KelPublishedProps, ObjectReferenceOfAClassTheDestinationCannotHoldIsLeftAlone) {
  TPropSource source;
  TPropTarget dest;
  TComponent linked;
  TStringList kept;
  source.SetLink(&linked);
  dest.SetLink(&kept);
  CopyPublishedProps(&source, &dest);
  EXPECT_EQ(dest.Link(), &kept);  // a component is no string list
  source.SetLink(nullptr);
  CopyPublishedProps(&source, &dest);
  EXPECT_EQ(dest.Link(), nullptr);  // nil fits every class
}

TEST_F(KelPublishedProps, CopyHonoursExcludeAndIgnoresSameOrMissingObjects) {
  TPropSource source, dest;
  Fill(source);
  TStringList exclude;
  exclude.FromStringList({"caption", "COUNT"});
  CopyPublishedProps(&source, &dest, &exclude);
  EXPECT_EQ(dest.Caption(), "");
  EXPECT_EQ(dest.Count(), 0);
  EXPECT_EQ(dest.Ratio(), 1.5);
  CopyPublishedProps(&source, &source);
  CopyPublishedProps(nullptr, &dest);
  CopyPublishedProps(&source, nullptr);
  EXPECT_EQ(source.Count(), 7);
}

TEST_F(KelPublishedProps, CopyNamedPropsCopiesOnlyTheListed) {
  TPropSource source, dest;
  Fill(source);
  CopyNamedProps(&source, &dest, QStringList{"Ratio", "caption", "NoSuchProp"});
  EXPECT_EQ(dest.Ratio(), 1.5);
  EXPECT_EQ(dest.Caption(), "OK");
  EXPECT_EQ(dest.Count(), 0);
  TStringList names;
  names.Add("Count");
  CopyNamedProps(&source, &dest, names);
  EXPECT_EQ(dest.Count(), 7);
}

TEST_F(KelPublishedProps, SetPropValueConvertsByKind) {
  TPropSource c;
  SetPropValue(&c, "Count", Variant("12"));
  EXPECT_EQ(c.Count(), 12);
  SetPropValue(&c, "Count", Variant(true));
  EXPECT_EQ(c.Count(), 1);
  SetPropValue(&c, "Default", Variant(true));
  EXPECT_TRUE(c.Default());
  SetPropValue(&c, "Default", Variant("False"));
  EXPECT_FALSE(c.Default());
  SetPropValue(&c, "Mode", Variant(2));
  EXPECT_EQ(c.Mode(), KelPropsTest::mdAuto);
  SetPropValue(&c, "Mode", Variant("mdOn"));
  EXPECT_EQ(c.Mode(), KelPropsTest::mdOn);
  SetPropValue(&c, "Modes", Variant(6));
  EXPECT_EQ(c.Modes().Bits(), 6u);
  SetPropValue(&c, "Ratio", Variant("2.5"));
  EXPECT_EQ(c.Ratio(), 2.5);
  SetPropValue(&c, "Price", Variant(3.25));
  EXPECT_EQ(c.Price().Scaled, 32500);
  SetPropValue(&c, "Caption", Variant(5));
  EXPECT_EQ(c.Caption(), "5");
  SetPropValue(&c, "Caption", Variant::Null());
  EXPECT_EQ(c.Caption(), "");
  SetPropValue(&c, "Value", Variant("kept as is"));
  EXPECT_TRUE(c.Value().Same(Variant("kept as is")));
  EXPECT_THROW(SetPropValue(&c, "Count", Variant("twelve")), EConvertError);
  EXPECT_EQ(c.Count(), 1);
}

TEST_F(KelPublishedProps, SetPropValueGivesObjectPropertiesNilOnly) {
  TPropSource c;
  TComponent linked;
  c.SetLink(&linked);
  EXPECT_THROW(SetPropValue(&c, "Link", Variant(12345)), EPropertyError);
  EXPECT_THROW(SetPropValue(&c, "Link", Variant("1")), EPropertyError);
  EXPECT_EQ(c.Link(), &linked);
  SetPropValue(&c, "Link", Variant(0));
  EXPECT_EQ(c.Link(), nullptr);
}

TEST_F(KelPublishedProps, SetPropValueIgnoresMissingTargets) {
  TPropSource c;
  SetPropValue(nullptr, "Count", Variant(1));
  SetPropValue(&c, "ModalResult", Variant(1));
  EXPECT_EQ(c.Count(), 0);
  EXPECT_TRUE(HasProp(&c, "default"));
  EXPECT_FALSE(HasProp(&c, "ModalResult"));
  EXPECT_FALSE(HasProp(nullptr, "Count"));
  EXPECT_FALSE(HasProp(&c, "objectName"));
}

TEST_F(KelPublishedProps, StringsPropertiesReachedByName) {
  TPropSource c;
  c.SQL()->SetText("select 1");
  EXPECT_EQ(GetStringsProp(&c, "sql"), "select 1\r\n");
  EXPECT_EQ(GetStringsProp(&c, "Caption"), "");  // not an object
  EXPECT_EQ(GetStringsProp(&c, "Link"), "");     // an object, not a string list
  EXPECT_EQ(GetStringsProp(&c, "Nothing"), "");
  TStringList replacement;
  replacement.FromStringList({"select 2", "from t"});
  EXPECT_TRUE(SetStringsProp(&c, "SQL", &replacement));
  EXPECT_TRUE(c.SQL()->Equals(replacement));
  EXPECT_FALSE(SetStringsProp(&c, "Caption", &replacement));
  EXPECT_FALSE(SetStringsProp(&c, "Nothing", &replacement));
  EXPECT_TRUE(SetStringsProp(&c, "SQL", nullptr));
  EXPECT_EQ(c.SQL()->Count(), 0);
}

TEST_F(KelPublishedProps, UniqueComponentNameLooksUpTheOwnerChain) {
  TComponent form;
  auto* panel = new TComponent(&form);
  EXPECT_EQ(UniqueComponentName(panel, "Action"), "Action1");
  auto* taken = new TComponent(&form);
  taken->SetName("Action1");  // in the owner above
  EXPECT_EQ(UniqueComponentName(panel, "Action"), "Action2");
  auto* own = new TComponent(panel);
  own->SetName("ACTION2");  // in the component itself, other case
  EXPECT_EQ(UniqueComponentName(panel, "Action"), "Action3");
  EXPECT_EQ(UniqueComponentName(&form, "Action"), "Action2");  // the panel's own do not count
}

TEST_F(KelPublishedProps, UniqueComponentNameWorksForPlainObjects) {
  QObject window;
  QObject button(&window);
  button.setObjectName("OKButton1");
  QObject inner(&window);
  EXPECT_EQ(UniqueComponentName(&inner, "OKButton"), "OKButton2");
}

TEST_F(KelPublishedProps, FindOwnerOfClassFollowsGetOwner) {
  TPropSource box;
  TKelNamedItems memorySlots(&box, TKelNamedItem::staticMetaObject);
  TKelNamedItem* slot = memorySlots.Add();
  TKelNamedItems nested(slot, TKelNamedItem::staticMetaObject);
  EXPECT_EQ(FindOwnerOfClass<TPropSource>(&nested), &box);
  EXPECT_EQ(FindOwnerOfClass(&nested, TKelNamedItem::staticMetaObject), slot);
  EXPECT_EQ(FindOwnerOfClass<TPropTarget>(&nested), nullptr);
  EXPECT_EQ(FindOwnerOfClass<TPropSource>(&box), nullptr);  // the start itself is not looked at
}

}  // namespace
}  // namespace Kel

#include "KelPublishedPropsTest.moc"
