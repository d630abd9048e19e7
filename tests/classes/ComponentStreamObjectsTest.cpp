// Whole objects through component streams: which published properties are written (defaults
// and ancestors' values are not), that everything written reads back (also through the text
// form), references by name, defined properties, the loading state, and hostile streams refused
// with the property named. Streams of other writers are read in tests/core/KelPersHolderTest.
#include <gtest/gtest.h>

#include <QScopeGuard>
#include <memory>

#include "ClassRegistry.h"
#include "ComponentStreams.h"
#include "Exceptions.h"
#include "Filer.h"
#include "FormatSettings.h"
#include "ObjectText.h"
#include "StreamBytes.h"
#include "TestClasses.h"

using namespace Kel;
using namespace KelTest;
using namespace StreamBytes;

namespace {

// A component with stream data of its own besides its published properties: Secret through
// DefineProperty, Blob through DefineBinaryProperty, each written only when set.
class TDefinedComponent : public TComponent {
  Q_OBJECT
  Q_PROPERTY(int Visible READ Visible WRITE SetVisible)
  Q_CLASSINFO("default:Visible", "1")

 public:
  Q_INVOKABLE explicit TDefinedComponent(TComponent* owner = nullptr) : TComponent(owner) {}
  int Visible() const { return visible_; }
  void SetVisible(int value) { visible_ = value; }

  void DefineProperties(TFiler& filer) override {
    TComponent::DefineProperties(filer);
    filer.DefineProperty(
        "Secret", [this](TReader& reader) { secret = reader.ReadString(); },
        [this](TWriter& writer) { writer.WriteString(secret); }, !secret.isEmpty());
    filer.DefineBinaryProperty(
        "Blob", [this](TStream& stream) { blob = stream.ReadRemaining(); },
        [this](TStream& stream) { stream.WriteBytes(blob); }, !blob.isEmpty());
  }

  // Writes the components it owns as its children, as a form does.
  void GetChildren(const TGetChildProc& proc, TComponent* root) override {
    for (int i = 0; i < ComponentCount(); ++i) proc(Components(i));
  }

  QString secret;
  QByteArray blob;

 private:
  int visible_ = 1;
};

QByteArray Write(TComponent* component) {
  TMemoryStream stream;
  WriteComponent(stream, component);
  return stream.Bytes();
}

void Read(const QByteArray& bytes, TComponent* instance) {
  TMemoryStream stream(bytes);
  ReadComponent(stream, instance);
}

QString ReadFailure(const QByteArray& bytes, TComponent* instance) {
  try {
    Read(bytes, instance);
  } catch (const EReadError& e) {
    return e.Message();
  }
  return QStringLiteral("<no error>");
}

QByteArray ThroughText(const QByteArray& binary) {
  TMemoryStream in(binary);
  TMemoryStream text;
  ObjectBinaryToText(in, text);
  text.SetPosition(0);
  TMemoryStream back;
  ObjectTextToBinary(text, back);
  return back.Bytes();
}

QByteArray ZeroExtended() { return Bytes({vaExtended}) + QByteArray(10, '\0'); }

// A stream of a TTestComponent holding only the given properties.
QByteArray ComponentStream(const QByteArray& properties) {
  return QByteArray("TPF0") + Short("TTestComponent") + Short("") + properties + Bytes({0, 0});
}

// A TTestComponent stream whose Items hold one item with the given properties.
QByteArray ItemStream(const QByteArray& itemProperties) {
  return ComponentStream(Short("Items") + Bytes({vaCollection, vaList}) + itemProperties +
                         Bytes({0, 0}));
}

void FillItem(TTestItem* item, int seed) {
  item->SetName(QStringLiteral("Item \u00e9 %1").arg(seed));
  item->SetCount(seed * 1000);
  item->SetBig((int64_t(1) << 40) + seed);
  item->SetLetter(QChar(u'\u00df'));
  item->SetKind(hkThree);
  item->SetKinds(THolderKinds{hkTwo, hkThree});
  item->SetChecked(false);
  item->SetRatio(0.1 * seed);
  item->SetWhen(45000.75 + seed);
  item->SetPrice(Currency::FromScaled(922337203685477LL * 10000 + seed));
  item->SetValue(seed % 2 ? Variant(QStringLiteral("v\u20ac"))
                          : Variant(Currency::FromScaled(seed)));
  item->Lines()->Add(QStringLiteral("first"));
  item->Lines()->Add(QString(100, u'x'));
  item->Font()->SetName(QStringLiteral("Serif"));
  item->Font()->SetStyle(THolderKinds{hkOne});
  item->SetAmount(-seed - 0.5);
}

void ExpectSameItem(TTestItem* a, TTestItem* b) {
  EXPECT_EQ(a->Name(), b->Name());
  EXPECT_EQ(a->Count(), b->Count());
  EXPECT_EQ(a->Big(), b->Big());
  EXPECT_EQ(a->Letter(), b->Letter());
  EXPECT_EQ(a->Kind(), b->Kind());
  EXPECT_EQ(a->Kinds(), b->Kinds());
  EXPECT_EQ(a->Checked(), b->Checked());
  EXPECT_EQ(a->Ratio(), b->Ratio());
  EXPECT_EQ(a->When(), b->When());
  EXPECT_EQ(a->Price(), b->Price());
  EXPECT_TRUE(a->Value() == b->Value())
      << VarDebugText(a->Value()).toStdString() << " vs " << VarDebugText(b->Value()).toStdString();
  EXPECT_EQ(a->Lines()->Text(), b->Lines()->Text());
  EXPECT_EQ(a->Font()->Name(), b->Font()->Name());
  EXPECT_EQ(a->Font()->Size(), b->Font()->Size());
  EXPECT_EQ(a->Font()->Style(), b->Font()->Style());
  EXPECT_EQ(a->Amount(), b->Amount());
  ASSERT_EQ(a->Children()->Count(), b->Children()->Count());
  for (int i = 0; i < a->Children()->Count(); ++i)
    ExpectSameItem(a->Children()->Items<TTestItem>(i), b->Children()->Items<TTestItem>(i));
}

void FillComponent(TTestComponent& component) {
  component.SetCount(-70000);
  component.SetKind(hkOne);
  component.SetKinds(THolderKinds{hkOne, hkThree});
  component.SetEnabled(false);
  component.SetRatio(1e300);
  component.SetCaption(QStringLiteral("It''s \U0001F600"));
  component.SetHint(QStringLiteral("hint"));
  component.SetShowHint(true);
  component.SetTag(7);
  component.Lines()->Add(QStringLiteral("a"));
  component.Font()->SetSize(12);
  for (int i = 1; i <= 3; ++i) {
    TTestItem* item = component.Items()->Add();
    FillItem(item, i);
    if (i == 2) {
      TTestItem* child = item->Children()->Add<TTestItem>();
      FillItem(child, 20);
      child->Children()->Add<TTestItem>()->SetName(QStringLiteral("grandchild"));
    }
  }
}

void ExpectSameComponent(TTestComponent& a, TTestComponent& b) {
  EXPECT_EQ(a.Count(), b.Count());
  EXPECT_EQ(a.Kind(), b.Kind());
  EXPECT_EQ(a.Kinds(), b.Kinds());
  EXPECT_EQ(a.Enabled(), b.Enabled());
  EXPECT_EQ(a.Ratio(), b.Ratio());
  EXPECT_EQ(a.Caption(), b.Caption());
  EXPECT_EQ(a.Hint(), b.Hint());
  EXPECT_EQ(a.ShowHint(), b.ShowHint());
  EXPECT_EQ(a.Tag(), b.Tag());
  EXPECT_EQ(a.Lines()->Text(), b.Lines()->Text());
  EXPECT_EQ(a.Font()->Size(), b.Font()->Size());
  ASSERT_EQ(a.Items()->Count(), b.Items()->Count());
  for (int i = 0; i < a.Items()->Count(); ++i)
    ExpectSameItem(a.Items()->Items(i), b.Items()->Items(i));
}

class ComponentStreamObjects : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFormatSettings(TFormatSettings::Invariant());
    RegisterTestClasses();
    RegisterClass(TDefinedComponent::staticMetaObject);
  }
};

}  // namespace

TEST_F(ComponentStreamObjects, AFreshItemStreamsAsAmountAndChildrenOnly) {
  TTestComponent component;
  component.Items()->Add();
  EXPECT_EQ(Write(&component),
            ComponentStream(Short("Ratio") + ZeroExtended() + Short("Items") +
                            Bytes({vaCollection, vaList}) + Short("Amount") + ZeroExtended() +
                            Short("Children") + Bytes({vaCollection, 0}) + Bytes({0, 0})));
}

TEST_F(ComponentStreamObjects, OnlyValuesOffTheirDefaultsAreWritten) {
  TTestComponent component;
  TTestItem* item = component.Items()->Add();
  const QByteArray plain = Write(&component);
  item->SetCount(5);
  item->SetKinds(THolderKinds());
  item->Font()->SetSize(9);
  component.SetHint(QStringLiteral("not stored while ShowHint is off"));
  const QByteArray changed = Write(&component);
  EXPECT_TRUE(changed.contains(Short("Count") + Bytes({vaInt8, 5})));
  EXPECT_TRUE(changed.contains(Short("Kinds") + Bytes({vaSet, 0})));
  EXPECT_TRUE(changed.contains(Short("Font.Size") + Bytes({vaInt8, 9})));
  EXPECT_FALSE(changed.contains("Hint"));
  EXPECT_FALSE(plain.contains("Count"));
  EXPECT_FALSE(plain.contains("Font"));
  EXPECT_FALSE(plain.contains("Lines"));
  EXPECT_FALSE(plain.contains("Link"));
  EXPECT_FALSE(plain.contains("ReadOnly"));
}

TEST_F(ComponentStreamObjects, EveryPropertyKindRoundTripsThroughBinaryAndText) {
  TTestComponent original;
  original.SetName(QStringLiteral("Original"));
  FillComponent(original);
  const QByteArray binary = Write(&original);

  TTestComponent copy;
  copy.Items()->Add()->SetName(QStringLiteral("old item, replaced"));
  Read(binary, &copy);
  EXPECT_EQ(copy.Name(), "Original");
  ExpectSameComponent(original, copy);

  TTestComponent fromText;
  Read(ThroughText(binary), &fromText);
  ExpectSameComponent(original, fromText);
  // The text form, read and written again, gives the same text.
  EXPECT_EQ(ThroughText(ThroughText(binary)), ThroughText(binary));
}

// Written by another implementation of the format, which keeps text in String and LString
// values as UTF-8.
constexpr char kUtf8TextStream[] =
    "\x54\x50\x46\x30"                                              // TPF0
    "\x0E\x54\x54\x65\x73\x74\x43\x6F\x6D\x70\x6F\x6E\x65\x6E\x74"  // TTestComponent
    "\x04\x4D\x61\x69\x6E"                                          // Main
    "\x07\x43\x61\x70\x74\x69\x6F\x6E"                              // Caption =
    "\x06\x12\x4F\x27\x42\x72\x69\x65\x6E\x20\xC3\x84\xC3\x96\xC3\xBC\x20\xE2\x82\xAC"
    "\x0D\x4C\x69\x6E\x65\x73\x2E\x53\x74\x72\x69\x6E\x67\x73"      // Lines.Strings =
    "\x01"                                                          // list:
    "\x06\x07\x5A\xC3\xBC\x72\x69\x63\x68"                          // String
    "\x0C\x0A\x00\x00\x00\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1"  // LString
    "\x00"                                                          // end of list
    "\x00\x00";  // end of properties, of children

TEST_F(ComponentStreamObjects, UTF8TextInEightBitValuesOfAnotherWriterReadsBack) {
  const QString caption = QStringLiteral("O'Brien \u00c4\u00d6\u00fc \u20ac");
  const QStringList lines = {QStringLiteral("Z\u00fcrich"),
                             QStringLiteral("\u0391\u03b8\u03ae\u03bd\u03b1")};
  TTestComponent component;
  Read(QByteArray(kUtf8TextStream, sizeof(kUtf8TextStream) - 1), &component);
  EXPECT_EQ(component.Name(), "Main");
  EXPECT_EQ(component.Caption(), caption);
  EXPECT_EQ(component.Lines()->ToStringList(), lines);

  // Written again and read back, binary and through the text form: the same letters.
  const QByteArray again = Write(&component);
  for (const QByteArray& bytes : {again, ThroughText(again)}) {
    TTestComponent copy;
    Read(bytes, &copy);
    EXPECT_EQ(copy.Caption(), caption);
    EXPECT_EQ(copy.Lines()->ToStringList(), lines);
  }
}

TEST_F(ComponentStreamObjects, ReadingWithoutAnInstanceCreatesTheNamedClass) {
  TTestComponent original;
  FillComponent(original);
  TMemoryStream stream(Write(&original));
  std::unique_ptr<TComponent> created(ReadComponent(stream, nullptr));
  auto* copy = qobject_cast<TTestComponent*>(created.get());
  ASSERT_NE(copy, nullptr);
  ExpectSameComponent(original, *copy);
  EXPECT_EQ(copy->loadedCount, 1);

  EXPECT_EQ(
      ReadFailure(QByteArray("TPF0") + Short("TNoSuchClass") + Short("") + Bytes({0, 0}), nullptr),
      "Class TNoSuchClass not found");
  EXPECT_EQ(
      ReadFailure(QByteArray("TPF0") + Short("TTestFont") + Short("") + Bytes({0, 0}), nullptr),
      "Class TTestFont is not a component class");
}

TEST_F(ComponentStreamObjects, ReferencesByNameResolveOnceEverythingIsRead) {
  TTestComponent root;
  root.SetName(QStringLiteral("Root"));
  auto* target = new TTestComponent(&root);
  target->SetName(QStringLiteral("Target"));
  root.SetLink(target);
  const QByteArray bytes = Write(&root);
  EXPECT_TRUE(bytes.contains(Short("Link") + Bytes({vaIdent}) + Short("Target")));

  TTestComponent copy;
  auto* copyTarget = new TTestComponent(&copy);
  copyTarget->SetName(QStringLiteral("Target"));
  Read(bytes, &copy);
  EXPECT_EQ(copy.Link(), copyTarget);

  // A reference to itself is "Owner"; to a component of another named owner "Owner.Name".
  root.SetLink(&root);
  EXPECT_TRUE(Write(&root).contains(Short("Link") + Bytes({vaIdent}) + Short("Owner")));
  TTestComponent form;
  form.SetName(QStringLiteral("Form1"));
  auto* table = new TTestComponent(&form);
  table->SetName(QStringLiteral("Table1"));
  root.SetLink(table);
  const QByteArray foreign = Write(&root);
  EXPECT_TRUE(foreign.contains(Short("Link") + Bytes({vaIdent}) + Short("Form1.Table1")));
  TTestComponent other;
  TMemoryStream foreignStream(foreign);
  TReader contextReader(foreignStream);
  contextReader.SetReferenceContext(&form);
  contextReader.ReadRootComponent(&other);
  EXPECT_EQ(other.Link(), table);

  // A name that finds nothing leaves the reference alone.
  TTestComponent lonely;
  Read(ComponentStream(Short("Link") + Bytes({vaIdent}) + Short("Nowhere")), &lonely);
  EXPECT_EQ(lonely.Link(), nullptr);
  // nil clears a reference; an identifier is no collection.
  lonely.SetLink(&form);
  Read(ComponentStream(Short("Link") + Bytes({vaNil})), &lonely);
  EXPECT_EQ(lonely.Link(), nullptr);
  EXPECT_EQ(ReadFailure(ComponentStream(Short("Items") + Bytes({vaIdent}) + Short("X")), &lonely),
            "Error reading TTestComponent.Items: Invalid property value");
}

TEST_F(ComponentStreamObjects, DefinedPropertiesTravelBesideThePublishedOnes) {
  TDefinedComponent original;
  EXPECT_EQ(Write(&original),
            QByteArray("TPF0") + Short("TDefinedComponent") + Short("") + Bytes({0, 0}));
  original.secret = QStringLiteral("s\u00e9cret");
  original.blob = QByteArray("\x00\x01\x02", 3);
  original.SetVisible(0);
  const QByteArray bytes = Write(&original);
  EXPECT_TRUE(bytes.contains(Short("Blob") + Bytes({vaBinary}) + LittleEndian<int32_t>(3)));
  TDefinedComponent copy;
  Read(ThroughText(bytes), &copy);
  EXPECT_EQ(copy.secret, original.secret);
  EXPECT_EQ(copy.blob, original.blob);
  EXPECT_EQ(copy.Visible(), 0);
  EXPECT_EQ(ReadFailure(QByteArray("TPF0") + Short("TDefinedComponent") + Short("") +
                            Short("Secrets") + Bytes({vaInt8, 1, 0, 0}),
                        &copy),
            "Error reading TDefinedComponent.Secrets: Property Secrets does not exist");
}

TEST_F(ComponentStreamObjects, AWriterWithAnAncestorWritesOnlyDifferences) {
  TTestComponent ancestor;
  ancestor.SetCount(5);
  ancestor.SetRatio(2.0);
  ancestor.Lines()->Add(QStringLiteral("same"));
  ancestor.Items()->Add()->SetCount(1);
  TTestComponent descendant;
  descendant.SetCount(5);
  descendant.SetRatio(2.0);
  descendant.Lines()->Add(QStringLiteral("same"));
  descendant.Items()->Add()->SetCount(1);
  descendant.SetCaption(QStringLiteral("changed"));
  TMemoryStream stream;
  TWriter writer(stream);
  writer.WriteDescendent(&descendant, &ancestor);
  EXPECT_EQ(stream.Bytes(), QByteArray("TPF0") + Bytes({0xF1}) + Short("TTestComponent") +
                                Short("") + Short("Caption") + Bytes({vaString, 7}) + "changed" +
                                Bytes({0, 0}));
  // Back to the ancestor's default: written, since the ancestor differs.
  descendant.SetCount(0);
  TMemoryStream second;
  TWriter secondWriter(second);
  secondWriter.WriteDescendent(&descendant, &ancestor);
  EXPECT_TRUE(second.Bytes().contains(Short("Count") + Bytes({vaInt8, 0})));
}

TEST_F(ComponentStreamObjects, LoadingStateAndLoadedNotification) {
  TTestComponent original;
  original.SetCount(3);
  const QByteArray bytes = Write(&original);

  TTestComponent plain;
  Read(bytes, &plain);
  EXPECT_EQ(plain.loadedCount, 1);
  EXPECT_FALSE(plain.ComponentState().Contains(csLoading));
  EXPECT_FALSE(plain.ComponentState().Contains(csReading));

  // Inside a global-loading bracket Loaded() waits for the notification.
  TTestComponent global;
  {
    TGlobalLoadingScope scope;
    Read(bytes, &global);
    EXPECT_EQ(global.loadedCount, 0);
    EXPECT_TRUE(global.ComponentState().Contains(csLoading));
    NotifyGlobalLoading();
  }
  EXPECT_EQ(global.loadedCount, 1);
  EXPECT_FALSE(global.ComponentState().Contains(csLoading));

  // A failed read leaves no loading marks and calls no Loaded().
  TTestComponent failed;
  EXPECT_NE(ReadFailure(bytes.left(bytes.size() - 1), &failed), "<no error>");
  EXPECT_EQ(failed.loadedCount, 0);
  EXPECT_FALSE(failed.ComponentState().Contains(csLoading));
  EXPECT_FALSE(failed.ComponentState().Contains(csReading));
}

TEST_F(ComponentStreamObjects, ChildComponentsAreCreatedOwnedAndNamed) {
  const QByteArray child = Short("TTestComponent") + Short("Child") + Short("Count") +
                           Bytes({vaInt8, 9}) + Bytes({0}) + Bytes({0});
  const QByteArray bytes = QByteArray("TPF0") + Short("TTestComponent") + Short("Parent") +
                           Bytes({0}) + child + Bytes({0});
  TTestComponent parent;
  Read(ThroughText(bytes), &parent);
  auto* created = qobject_cast<TTestComponent*>(parent.FindComponent(QStringLiteral("Child")));
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->Count(), 9);
  EXPECT_EQ(created->loadedCount, 1);
  // A second child of the same name clashes; the half-read child is not left behind.
  TTestComponent clash;
  const QByteArray twice = QByteArray("TPF0") + Short("TTestComponent") + Short("") + Bytes({0}) +
                           child + child + Bytes({0});
  EXPECT_EQ(ReadFailure(twice, &clash), "A component named Child already exists");
  EXPECT_EQ(clash.ComponentCount(), 1);
  // An inherited child must exist already.
  EXPECT_EQ(
      ReadFailure(QByteArray("TPF0") + Short("TTestComponent") + Short("") + Bytes({0, 0xF1}) +
                      Short("TTestComponent") + Short("Ghost") + Bytes({0, 0, 0}),
                  &clash),
      "Ancestor for 'Ghost' not found");
}

TEST_F(ComponentStreamObjects, ChildrenAreWrittenAndInheritedOnesOnlyWithTheirDifferences) {
  TDefinedComponent form;
  auto* kid = new TTestComponent(&form);
  kid->SetName(QStringLiteral("Kid"));
  kid->SetCount(3);
  const QByteArray bytes = Write(&form);
  EXPECT_TRUE(bytes.contains(Short("TTestComponent") + Short("Kid") + Short("Count")));
  TDefinedComponent copy;
  Read(bytes, &copy);
  auto* copied = qobject_cast<TTestComponent*>(copy.FindComponent(QStringLiteral("Kid")));
  ASSERT_NE(copied, nullptr);
  EXPECT_EQ(copied->Count(), 3);

  // Against an ancestor with the same child: the child is marked inherited and carries only
  // what differs; reading finds the existing child instead of creating one.
  kid->SetCount(4);
  TMemoryStream stream;
  TWriter writer(stream);
  writer.WriteDescendent(&form, &copy);
  const QByteArray inherited = stream.Bytes();
  EXPECT_EQ(inherited, QByteArray("TPF0") + Bytes({0xF1}) + Short("TDefinedComponent") + Short("") +
                           Bytes({0, 0xF1}) + Short("TTestComponent") + Short("Kid") +
                           Short("Count") + Bytes({vaInt8, 4, 0, 0, 0}));
  Read(inherited, &copy);
  EXPECT_EQ(copy.ComponentCount(), 1);
  EXPECT_EQ(copied->Count(), 4);
}

TEST_F(ComponentStreamObjects, WrongPropertiesAndValuesNameTheProperty) {
  TTestComponent component;
  auto failure = [&](const QByteArray& bytes) { return ReadFailure(bytes, &component); };
  EXPECT_EQ(failure(ComponentStream(Short("Bogus") + Bytes({vaInt8, 1}))),
            "Error reading TTestComponent.Bogus: Property Bogus does not exist");
  EXPECT_EQ(failure(ComponentStream(Short("Count") + Bytes({vaString, 1}) + "1")),
            "Error reading TTestComponent.Count: Invalid property value");
  EXPECT_EQ(failure(ComponentStream(Short("Count") + Bytes({vaInt64}) +
                                    LittleEndian<int64_t>(1LL << 40))),
            "Error reading TTestComponent.Count: Invalid property value");
  EXPECT_EQ(failure(ComponentStream(Short("Kind") + Bytes({vaIdent}) + Short("hkNine"))),
            "Error reading TTestComponent.Kind: Invalid property value");
  EXPECT_EQ(failure(ComponentStream(Short("Kinds") + Bytes({vaSet}) + Short("hkOne") + Short("x") +
                                    Bytes({0}))),
            "Error reading TTestComponent.Kinds: Invalid property value");
  EXPECT_EQ(failure(ComponentStream(Short("Enabled") + Bytes({vaInt8, 1}))),
            "Error reading TTestComponent.Enabled: Invalid property value");
  EXPECT_EQ(failure(ComponentStream(Short("ReadOnly") + Bytes({vaInt8, 1}))),
            "Error reading TTestComponent.ReadOnly: Property ReadOnly is read-only");
  EXPECT_EQ(failure(ComponentStream(Short("Font.Bogus") + Bytes({vaInt8, 1}))),
            "Error reading TTestComponent.Font.Bogus: Property Bogus does not exist");
  EXPECT_EQ(failure(ComponentStream(Short("Count.Size") + Bytes({vaInt8, 1}))),
            "Error reading TTestComponent.Count.Size: Invalid property path");
  EXPECT_EQ(failure(ComponentStream(Short("Lines.Text") + Bytes({vaList, 0}))),
            "Error reading TTestComponent.Lines.Text: Property Text does not exist");
  EXPECT_EQ(failure(ComponentStream(Short("Font.") + Bytes({vaInt8, 1}))),
            "Error reading TTestComponent.Font.: Invalid property path");
  EXPECT_EQ(failure(ItemStream(Short("Amount") + Bytes({vaTrue}))),
            "Error reading TTestComponent.Items[0].Amount: Invalid property value");
  EXPECT_EQ(failure(ItemStream(Short("Children") + Bytes({vaCollection, vaList}) + Short("Nope") +
                               Bytes({vaNil, 0, 0}))),
            "Error reading TTestComponent.Items[0].Children[0].Nope: Property Nope does not exist");
  EXPECT_EQ(failure(ItemStream(Short("Price") + Bytes({vaExtended}) +
                               Extended(0x8000000000000000u, 0x3FFF + 70))),
            "Error reading TTestComponent.Items[0].Price: Invalid property value");
}

TEST_F(ComponentStreamObjects, AnErrorHandlerMaySkipABadProperty) {
  const QByteArray bytes = ItemStream(Short("Bogus") + Bytes({vaList, vaInt8, 1, 0}) +
                                      Short("Count") + Bytes({vaInt8, 4}));
  TTestComponent component;
  TMemoryStream stream(bytes);
  TReader reader(stream);
  QStringList messages;
  reader.OnError = [&](TReader&, const QString& message, bool& handled) {
    messages.append(message);
    handled = true;
  };
  reader.ReadRootComponent(&component);
  EXPECT_EQ(messages, QStringList({"Property Bogus does not exist"}));
  ASSERT_EQ(component.Items()->Count(), 1);
  EXPECT_EQ(component.Items()->Items(0)->Count(), 4);
}

TEST_F(ComponentStreamObjects, HostileStreamsNeverCrash) {
  TTestComponent original;
  FillComponent(original);
  const QByteArray bytes = Write(&original);
  for (qsizetype cut = 0; cut < bytes.size(); ++cut) {
    TTestComponent target;
    EXPECT_NE(ReadFailure(bytes.left(cut), &target), "<no error>") << cut;
    EXPECT_FALSE(target.ComponentState().Contains(csReading));
  }
  // Each byte flipped in turn: a clean error or a clean read, never a crash.
  for (qsizetype at = 4; at < bytes.size(); at += 3) {
    QByteArray damaged = bytes;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x5A);
    TTestComponent target;
    try {
      Read(damaged, &target);
    } catch (const EReadError&) {
    }
  }
  // Collections nested deeper than any real list.
  QByteArray deep = Short("Items") + Bytes({vaCollection, vaList});
  for (int i = 0; i < 100; ++i) deep += Short("Children") + Bytes({vaCollection, vaList});
  TTestComponent target;
  const QString message = ReadFailure(ComponentStream(deep), &target);
  EXPECT_TRUE(message.endsWith("Stream nesting too deep")) << message.toStdString();
}

TEST_F(ComponentStreamObjects, DeepButLegalNestingReadsAndWritesBack) {
  TTestComponent original;
  TCollection* level = original.Items();
  for (int depth = 0; depth < 60; ++depth) {
    auto* item = level->Add<TTestItem>();
    item->Font()->SetSize(depth);
    level = item->Children();
  }
  const QByteArray bytes = Write(&original);
  TTestComponent copy;
  Read(bytes, &copy);
  EXPECT_EQ(Write(&copy), bytes);
}

#include "ComponentStreamObjectsTest.moc"
