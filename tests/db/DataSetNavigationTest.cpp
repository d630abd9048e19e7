// Datasets: opening, navigation, bookmarks, Locate and Lookup, fields and their text forms,
// calculated and lookup fields, controls and data sources.
#include <gtest/gtest.h>

#include "DbTestData.h"
#include "TestPrinters.h"
#include "TypInfo.h"

namespace Kel {
namespace {

using Testing::MakeFish;

class DataSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFormatSettings(TFormatSettings::Invariant());
    fish = MakeFish();
  }
  QString Name() const { return fish->FieldByName("Common_Name")->AsString(); }
  std::unique_ptr<TMemDataSet> fish;
};

TEST_F(DataSetTest, OpenCloseAndEvents) {
  QStringList events;
  fish->BeforeOpen = [&](TDataSet*) { events << "BeforeOpen"; };
  fish->AfterOpen = [&](TDataSet* d) { events << QStringLiteral("AfterOpen:%1").arg(d->State()); };
  fish->AfterScroll = [&](TDataSet*) { events << "AfterScroll"; };
  fish->BeforeClose = [&](TDataSet*) { events << "BeforeClose"; };
  fish->AfterClose = [&](TDataSet* d) {
    events << QStringLiteral("AfterClose:%1").arg(d->State());
  };
  EXPECT_FALSE(fish->Active());
  EXPECT_TRUE(fish->IsEmpty());
  EXPECT_TRUE(fish->FieldByName("Category")->IsNull()) << "a closed dataset reads Null";
  fish->Open();
  EXPECT_TRUE(fish->Active());
  EXPECT_EQ(fish->State(), dsBrowse);
  EXPECT_FALSE(fish->IsEmpty());
  fish->SetActive(true);  // no second open
  fish->Close();
  EXPECT_EQ(events, QStringList({"BeforeOpen", "AfterOpen:1", "AfterScroll", "BeforeClose",
                                 "AfterClose:0"}));
  fish->Open();
  EXPECT_EQ(fish->RecordCount(), 8) << "an in-memory table keeps its records when closed";
  fish->Refresh();
  EXPECT_EQ(fish->RecordCount(), 8) << "and has nothing to read again";
}

TEST_F(DataSetTest, NavigationAndEndFlags) {
  fish->Open();
  EXPECT_TRUE(fish->Bof());
  EXPECT_FALSE(fish->Eof());
  EXPECT_EQ(fish->RecNo(), 1);
  EXPECT_EQ(Name(), "Clown Triggerfish");
  fish->Next();
  EXPECT_FALSE(fish->Bof());
  EXPECT_EQ(fish->RecNo(), 2);
  fish->Last();
  EXPECT_TRUE(fish->Eof());
  EXPECT_EQ(Name(), "Swell Shark");
  fish->Next();
  EXPECT_TRUE(fish->Eof());
  EXPECT_EQ(fish->RecNo(), 8);
  fish->Prior();
  EXPECT_FALSE(fish->Eof());
  EXPECT_EQ(fish->RecNo(), 7);
  EXPECT_EQ(fish->MoveBy(-3), -3);
  EXPECT_EQ(fish->RecNo(), 4);
  EXPECT_EQ(fish->MoveBy(-10), -3);
  EXPECT_TRUE(fish->Bof());
  EXPECT_EQ(fish->MoveBy(100), 7);
  EXPECT_TRUE(fish->Eof());
  fish->SetRecNo(3);
  EXPECT_EQ(Name(), "Giant Maori Wrasse");
  int seen = 0;
  for (fish->First(); !fish->Eof(); fish->Next()) ++seen;
  EXPECT_EQ(seen, 8);
}

TEST_F(DataSetTest, EmptyAndClosedDataSets) {
  TMemDataSet empty;
  empty.AddField("A", ftInteger);
  empty.Open();
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_TRUE(empty.Bof() && empty.Eof());
  EXPECT_EQ(empty.RecNo(), -1);
  EXPECT_EQ(empty.MoveBy(1), 0);
  EXPECT_TRUE(empty.GetBookmark().isEmpty());
  EXPECT_THROW(empty.Delete(), EDatabaseError);
  TMemDataSet closed;
  EXPECT_THROW(closed.First(), EDatabaseError);
  EXPECT_THROW(closed.RecordCount(), EDatabaseError);
}

TEST_F(DataSetTest, Bookmarks) {
  fish->Open();
  fish->SetRecNo(5);
  const TBookmark cod = fish->GetBookmark();
  fish->First();
  EXPECT_TRUE(fish->BookmarkValid(cod));
  fish->GotoBookmark(cod);
  EXPECT_EQ(Name(), "Lunartail Rockcod");
  fish->First();
  const TBookmark first = fish->GetBookmark();
  EXPECT_LT(fish->CompareBookmarks(first, cod), 0);
  EXPECT_EQ(fish->CompareBookmarks(cod, cod), 0);
  // Bookmarks survive inserts and deletes elsewhere.
  fish->Insert();
  fish->FieldByName("Species No")->SetAsInteger(1);
  fish->Post();
  fish->SetRecNo(3);
  fish->Delete();
  fish->GotoBookmark(cod);
  EXPECT_EQ(Name(), "Lunartail Rockcod");
  fish->Delete();
  EXPECT_FALSE(fish->BookmarkValid(cod));
  EXPECT_THROW(fish->GotoBookmark(cod), EDatabaseError);
  EXPECT_THROW(fish->GotoBookmark(QByteArray("junk")), EDatabaseError);
  fish->FreeBookmark(const_cast<TBookmark&>(first));
  EXPECT_TRUE(first.isEmpty());
}

TEST_F(DataSetTest, BookmarkOfAFilteredOutRecord) {
  fish->Open();
  fish->SetRecNo(2);
  const TBookmark snapper = fish->GetBookmark();
  fish->SetFilter("Category = 'Shark'");
  fish->SetFiltered(true);
  EXPECT_FALSE(fish->BookmarkValid(snapper));
  try {
    fish->GotoBookmark(snapper);
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Record not found");
  }
}

TEST_F(DataSetTest, Locate) {
  fish->Open();
  EXPECT_TRUE(fish->Locate("Category", Variant("Shark")));
  EXPECT_EQ(Name(), "Great White Shark");
  EXPECT_FALSE(fish->Locate("Category", Variant("shark")));
  EXPECT_EQ(Name(), "Great White Shark") << "a failed search does not move";
  EXPECT_TRUE(fish->Locate("Category", Variant("shark"), {loCaseInsensitive}));
  EXPECT_TRUE(fish->Locate("Common_Name", Variant("Swell"), {loPartialKey}));
  EXPECT_EQ(fish->RecNo(), 8);
  EXPECT_TRUE(fish->Locate("common_name", Variant("BAT"), {loPartialKey, loCaseInsensitive}));
  EXPECT_EQ(Name(), "Bat Ray");
  EXPECT_TRUE(
      fish->Locate("Category;Length (cm)", Variant::FromArray({Variant("Shark"), Variant(102)})));
  EXPECT_EQ(Name(), "Swell Shark");
  EXPECT_TRUE(fish->Locate("Notes", Variant::Null()));
  EXPECT_EQ(Name(), "Red Emperor") << "a Null key finds a Null value";
  EXPECT_TRUE(fish->Locate("Species No", Variant("90050"))) << "keys compare by the variant rules";
  EXPECT_THROW(fish->Locate("Category;Tame", Variant("Shark")), EDatabaseError);
  EXPECT_THROW(fish->Locate("Nope", Variant(1)), EDatabaseError);
}

TEST_F(DataSetTest, LookupReadsWithoutMoving) {
  fish->Open();
  EXPECT_EQ(fish->Lookup("Species No", Variant(90200), "Common_Name"), Variant("Bat Ray"));
  const Variant both = fish->Lookup("Category", Variant("Cod"), "Species No;Length (cm)");
  ASSERT_TRUE(both.IsArray());
  EXPECT_EQ(both.ArrayItem(0), Variant(90080));
  EXPECT_EQ(both.ArrayItem(1), Variant(80.0));
  EXPECT_TRUE(fish->Lookup("Category", Variant("Whale"), "Species No").IsNull());
  EXPECT_EQ(fish->RecNo(), 1);
}

TEST_F(DataSetTest, FieldsByNameAndIndex) {
  EXPECT_EQ(fish->FieldCount(), 8);
  EXPECT_EQ(fish->Fields().Fields(1)->FieldName(), "Category");
  EXPECT_EQ(fish->FindField("category"), fish->Fields()[1]);
  EXPECT_EQ(fish->FindField("Nope"), nullptr);
  try {
    fish->FieldByName("Nope");
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Field 'Nope' not found");
  }
  EXPECT_THROW(fish->Fields().Fields(8), EListError);
  TField* length = fish->FieldByName("Length (cm)");
  EXPECT_EQ(length->Index(), 3);
  EXPECT_EQ(length->FieldNo(), 4);
  EXPECT_EQ(length->DataType(), ftFloat);
  EXPECT_EQ(length->FieldKind(), fkData);
  EXPECT_EQ(length->DisplayName(), "Length (cm)");
  length->SetDisplayLabel("Length");
  EXPECT_EQ(length->DisplayName(), "Length");
  EXPECT_TRUE(fish->FieldByName("Notes")->IsBlob());
  EXPECT_FALSE(length->IsBlob());
  EXPECT_TRUE(length->Visible());
  EXPECT_EQ(fish->FieldByName("Category")->Size(), 15);
  EXPECT_THROW(CreateField(fish.get(), "category", ftString), EDatabaseError) << "names are unique";
  EXPECT_EQ(fish->FieldCount(), 8) << "a field that could not be added is freed";
}

TEST_F(DataSetTest, FieldValuesAndText) {
  fish->Open();
  TField* number = fish->FieldByName("Species No");
  TField* length = fish->FieldByName("Length (cm)");
  TField* caught = fish->FieldByName("Caught");
  TField* tame = fish->FieldByName("Tame");
  TField* price = fish->FieldByName("Price");
  TField* notes = fish->FieldByName("Notes");
  EXPECT_EQ(number->Value().VarType(), varInteger);
  EXPECT_EQ(number->AsInteger(), 90020);
  EXPECT_EQ(number->AsString(), "90020");
  EXPECT_DOUBLE_EQ(length->AsFloat(), 50.0);
  EXPECT_EQ(length->DisplayText(), "50");
  EXPECT_EQ(caught->Value().VarType(), varDate);
  EXPECT_EQ(caught->DisplayText(), "5/1/2020");
  EXPECT_TRUE(tame->AsBoolean());
  EXPECT_EQ(tame->DisplayText(), "True");
  EXPECT_EQ(price->Value().VarType(), varCurrency);
  EXPECT_EQ(price->AsCurrency(), Currency::FromInt(12));
  EXPECT_EQ(notes->AsString(), "Lives on reefs");
  EXPECT_EQ(notes->DisplayText(), "(MEMO)");
  fish->Next();
  EXPECT_EQ(notes->DisplayText(), "(Memo)") << "an empty memo";
  EXPECT_TRUE(notes->IsNull());
  EXPECT_EQ(notes->AsString(), "");
  fish->Next();
  EXPECT_TRUE(tame->IsNull());
  EXPECT_FALSE(tame->AsBoolean());
  EXPECT_EQ(price->AsCurrency(), Currency());
  number->OnGetText = [](TField* sender, QString& text, bool display) {
    if (display) text = QStringLiteral("#") + text;
  };
  EXPECT_EQ(number->DisplayText(), "#90050");
  EXPECT_EQ(number->Text(), "90050");
  EXPECT_EQ(fish->FieldValues("Species No"), Variant(90050));
  EXPECT_EQ(fish->FieldValues("Category;Tame").ArrayItem(0), Variant("Wrasse"));
  EXPECT_EQ(length->ValueAt(0), Variant(50.0)) << "any record, without moving";
  EXPECT_EQ(fish->FieldByName("Common_Name")->DisplayTextAt(7), "Swell Shark");
  EXPECT_TRUE(length->ValueAt(99).IsNull());
}

TEST_F(DataSetTest, CalculatedFields) {
  TField* inches = CreateField(fish.get(), "Inches", ftFloat);
  inches->SetFieldKind(fkCalculated);
  int calls = 0;
  fish->OnCalcFields = [&](TDataSet* d) {
    ++calls;
    EXPECT_EQ(d->State(), dsCalcFields);
    d->FieldByName("Inches")->SetAsFloat(d->FieldByName("Length (cm)")->AsFloat() / 2.54);
  };
  fish->Open();
  EXPECT_NEAR(inches->AsFloat(), 50.0 / 2.54, 1e-9);
  EXPECT_NEAR(inches->AsFloat(), 50.0 / 2.54, 1e-9);
  EXPECT_EQ(calls, 1) << "computed once per record";
  fish->Next();
  EXPECT_NEAR(inches->AsFloat(), 60.0 / 2.54, 1e-9);
  EXPECT_NEAR(inches->ValueAt(5).AsDouble(), 600.0 / 2.54, 1e-9);
  EXPECT_EQ(fish->State(), dsBrowse);
  fish->Edit();
  fish->FieldByName("Length (cm)")->SetAsFloat(254);
  EXPECT_NEAR(inches->AsFloat(), 100.0, 1e-9) << "follows the record being edited";
  EXPECT_THROW(inches->SetAsFloat(1), EDatabaseError) << "only OnCalcFields sets calculated fields";
  fish->Cancel();
  fish->SetFilter("Inches > 100");
  fish->SetFiltered(true);
  EXPECT_EQ(fish->RecordCount(), 1) << "filters can use calculated fields";
}

TEST_F(DataSetTest, LookupFields) {
  TMemDataSet categories;
  categories.AddField("Name", ftString);
  categories.AddField("Habitat", ftString);
  categories.AppendRecords({{"Shark", "Open sea"}, {"Cod", "Reef"}});
  categories.Open();
  TField* habitat = CreateField(fish.get(), "Habitat", ftString);
  habitat->SetFieldKind(fkLookup);
  habitat->SetLookupDataSet(&categories);
  habitat->SetKeyFields("Category");
  habitat->SetLookupKeyFields("Name");
  habitat->SetLookupResultField("Habitat");
  fish->Open();
  EXPECT_TRUE(habitat->IsNull());
  fish->Locate("Category", Variant("Cod"));
  EXPECT_EQ(habitat->AsString(), "Reef");
  EXPECT_EQ(habitat->ValueAt(5), Variant("Open sea"));
  fish->Edit();
  EXPECT_THROW(habitat->SetAsString("Lake"), EDatabaseError) << "lookup values are read-only";
  fish->Cancel();
  fish->SetFilter("Habitat = 'Open sea'");
  fish->SetFiltered(true);
  EXPECT_EQ(fish->RecordCount(), 2);
  fish->SetFiltered(false);
  // The lookup dataset goes away: the field forgets it.
  {
    auto other = std::make_unique<TMemDataSet>();
    habitat->SetLookupDataSet(other.get());
  }
  EXPECT_EQ(habitat->LookupDataSet(), nullptr);
  EXPECT_TRUE(habitat->IsNull());
}

TEST_F(DataSetTest, LookupFieldsThatLeadBackToThemselvesAreRefused) {
  // Each table's lookup field reads the other's: without a guard this recursed until the stack
  // ran out.
  TMemDataSet a, b;
  a.AddField("K", ftInteger);
  b.AddField("K", ftInteger);
  auto lookup = [](TDataSet* from, TDataSet* into, const QString& name, const QString& result) {
    TField* field = CreateField(from, name, ftString);
    field->SetFieldKind(fkLookup);
    field->SetLookupDataSet(into);
    field->SetKeyFields("K");
    field->SetLookupKeyFields("K");
    field->SetLookupResultField(result);
    return field;
  };
  TField* x = lookup(&a, &b, "X", "Y");
  lookup(&b, &a, "Y", "X");
  a.AppendRecords({{1}, {2}});
  b.AppendRecords({{1}});
  a.Open();
  b.Open();
  try {
    (void)x->Value();
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Circular datalinks are not allowed");
  }
  a.Next();
  EXPECT_TRUE(x->IsNull()) << "no partner record: nothing leads back";
}

TEST_F(DataSetTest, FieldFactoryByType) {
  TMemDataSet data;
  const std::pair<TFieldType, const char*> kinds[] = {
      {ftString, "TStringField"},
      {ftSmallint, "TSmallintField"},
      {ftInteger, "TIntegerField"},
      {ftWord, "TWordField"},
      {ftBoolean, "TBooleanField"},
      {ftFloat, "TFloatField"},
      {ftCurrency, "TCurrencyField"},
      {ftBCD, "TBCDField"},
      {ftDate, "TDateField"},
      {ftTime, "TTimeField"},
      {ftDateTime, "TDateTimeField"},
      {ftBytes, "TBytesField"},
      {ftVarBytes, "TVarBytesField"},
      {ftAutoInc, "TAutoIncField"},
      {ftBlob, "TBlobField"},
      {ftMemo, "TMemoField"},
      {ftGraphic, "TGraphicField"},
      {ftFmtMemo, "TMemoField"},
      {ftWideString, "TWideStringField"},
      {ftLargeint, "TLargeintField"},
      {ftADT, "TADTField"},
      {ftArray, "TArrayField"},
      {ftReference, "TReferenceField"},
      {ftDataSet, "TDataSetField"},
      {ftCursor, "TField"},
  };
  int i = 0;
  for (const auto& [type, className] : kinds) {
    TField* field = CreateField(&data, QStringLiteral("F%1").arg(i++), type);
    EXPECT_EQ(field->DataType(), type) << className;
    EXPECT_EQ(field->ClassName(), className);
    EXPECT_EQ(field->DataSet(), &data);
  }
  EXPECT_EQ(static_cast<int>(ftFmtMemo), 18);
  EXPECT_EQ(static_cast<int>(ftLargeint), 25);
  EXPECT_EQ(FieldTypeName(ftDateTime), "ftDateTime");
  // Freeing fields one by one takes them out of the dataset.
  while (data.FieldCount() > 0) delete data.Fields()[0];
  EXPECT_EQ(data.FieldCount(), 0);
}

TEST_F(DataSetTest, FieldsCannotChangeOnAnOpenDataSet) {
  fish->Open();
  EXPECT_THROW(CreateField(fish.get(), "More", ftInteger), EDatabaseError);
  EXPECT_THROW(fish->FieldByName("Category")->SetFieldName("Kind"), EDatabaseError);
}

TEST_F(DataSetTest, DisableControlsDefersNotification) {
  TDataSource source;
  source.SetDataSet(fish.get());
  TFunctionDataLink link;
  int changes = 0, scrolls = 0;
  link.OnDataSetChanged = [&] { ++changes; };
  link.OnDataSetScrolled = [&](int) { ++scrolls; };
  link.SetDataSource(&source);
  fish->Open();
  changes = scrolls = 0;
  fish->DisableControls();
  EXPECT_TRUE(fish->ControlsDisabled());
  fish->Next();
  fish->Next();
  fish->DisableControls();
  fish->EnableControls();
  EXPECT_EQ(changes + scrolls, 0);
  fish->EnableControls();
  EXPECT_FALSE(fish->ControlsDisabled());
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(scrolls, 0);
  fish->Next();
  EXPECT_EQ(scrolls, 1);
}

TEST_F(DataSetTest, DataSourcesAndLinks) {
  TDataSource source;
  QStringList heard;
  source.OnStateChange = [&](TDataSource* s) {
    heard << QStringLiteral("state:%1").arg(s->State());
  };
  source.OnDataChange = [&](TDataSource*, TField* f) {
    heard << (f ? "field:" + f->FieldName() : QString("data"));
  };
  TFunctionDataLink link;
  bool active = false, editing = false;
  link.OnActiveChanged = [&] { active = link.Active(); };
  link.OnEditingChanged = [&] { editing = link.Editing(); };
  link.SetDataSource(&source);
  source.SetDataSet(fish.get());
  EXPECT_EQ(source.DataLinkCount(), 1);
  EXPECT_EQ(link.DataSet(), fish.get());
  fish->Open();
  EXPECT_TRUE(active);
  fish->Edit();
  EXPECT_TRUE(editing);
  fish->FieldByName("Category")->SetAsString("Reef");
  fish->Post();
  EXPECT_FALSE(editing);
  EXPECT_TRUE(heard.contains("state:1"));
  EXPECT_TRUE(heard.contains("state:2"));
  EXPECT_TRUE(heard.contains("field:Category"));
  source.SetEnabled(false);
  EXPECT_FALSE(link.Active());
  heard.clear();
  fish->Next();
  EXPECT_TRUE(heard.isEmpty());
  source.SetEnabled(true);
  EXPECT_TRUE(link.Active());
  // AutoEdit: a control asks to edit through its link.
  EXPECT_TRUE(link.Edit());
  EXPECT_EQ(fish->State(), dsEdit);
  fish->Cancel();
}

TEST_F(DataSetTest, DataSourceForgetsADestroyedDataSet) {
  TDataSource source;
  TFunctionDataLink link;
  bool active = false;
  link.OnActiveChanged = [&] { active = link.Active(); };
  link.SetDataSource(&source);
  source.SetDataSet(fish.get());
  fish->Open();
  EXPECT_TRUE(active);
  fish.reset();
  EXPECT_EQ(source.DataSet(), nullptr);
  EXPECT_FALSE(active);
  EXPECT_EQ(source.State(), dsInactive);
}

TEST_F(DataSetTest, LinksOutliveTheirDataSource) {
  TFunctionDataLink link;
  {
    TDataSource source;
    source.SetDataSet(fish.get());
    link.SetDataSource(&source);
  }
  EXPECT_EQ(link.DataSource(), nullptr);
  fish->Open();  // nobody left to tell
  EXPECT_FALSE(link.Active());
}

TEST_F(DataSetTest, DataSetOwnedByAComponentIsFreedWithIt) {
  TComponent form;
  auto* table = new TMemDataSet(&form);
  TField* field = table->AddField("A", ftInteger);
  EXPECT_EQ(field->Owner(), table);
  TDataSource source(&form);
  source.SetDataSet(table);
  delete table;
  EXPECT_EQ(source.DataSet(), nullptr);
}

TEST_F(DataSetTest, PublishedProperties) {
  using namespace TypInfo;
  SetPropValue(fish.get(), u"Filter", Variant("Category = 'Shark'"));
  SetPropValue(fish.get(), u"FilterOptions", Variant("[foCaseInsensitive]"));
  EXPECT_EQ(fish->FilterOptions(), TFilterOptions{foCaseInsensitive});
  EXPECT_EQ(GetPropValue(fish.get(), u"FilterOptions"), Variant("foCaseInsensitive"));
  SetPropValue(fish.get(), u"Filtered", Variant(true));
  SetPropValue(fish.get(), u"Active", Variant(true));
  EXPECT_EQ(fish->RecordCount(), 2);
  EXPECT_TRUE(IsStoredProp(fish.get(), u"FilterOptions"));
  fish->SetFilterOptions({});
  EXPECT_FALSE(IsStoredProp(fish.get(), u"FilterOptions")) << "[] is the default";
  TField* category = fish->FieldByName("Category");
  EXPECT_EQ(GetPropValue(category, u"FieldKind"), Variant("fkData"));
  EXPECT_EQ(GetPropValue(category, u"FieldName"), Variant("Category"));
}

}  // namespace
}  // namespace Kel

namespace Kel {
namespace {

// A grid paints every row through the fields; the current record and the controls must not
// notice, and the scope must give back whatever the fields showed before, nested or not.
TEST(RecordViewScopeTest, FieldsShowAnotherRecordWithoutMovingTheCursor) {
  SetFormatSettings(TFormatSettings::Invariant());
  auto fish = Testing::MakeFish();
  fish->Open();
  fish->SetFiltered(false);
  ASSERT_GE(fish->RecordCount(), 3);
  TField* name = fish->FieldByName("Common_Name");
  fish->SetRecNo(2);
  const QString current = name->AsString();
  int scrolls = 0;
  fish->AfterScroll = [&](TDataSet*) { ++scrolls; };
  {
    TDataSet::TRecordViewScope first(*fish, 0);
    EXPECT_EQ(name->AsString(), fish->RecordValue(0, name).AsString());
    {
      TDataSet::TRecordViewScope last(*fish, 2);
      EXPECT_EQ(name->AsString(), fish->RecordValue(2, name).AsString());
    }
    EXPECT_EQ(name->AsString(), fish->RecordValue(0, name).AsString()) << "nested scope restores";
    TDataSet::TRecordViewScope beyond(*fish, fish->RecordCount() + 5);
    EXPECT_EQ(name->AsString(), fish->RecordValue(0, name).AsString()) << "bad index: unchanged";
    EXPECT_EQ(fish->RecNo(), 2);
  }
  EXPECT_EQ(name->AsString(), current);
  EXPECT_EQ(scrolls, 0);

  fish->Edit();
  name->SetAsString(QStringLiteral("edited"));
  {
    TDataSet::TRecordViewScope other(*fish, 0);
    EXPECT_EQ(name->AsString(), "edited") << "an edit keeps its values";
  }
  fish->Cancel();
}

}  // namespace
}  // namespace Kel
