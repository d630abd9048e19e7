// The field catalogue: which source answers each question (Fields, FieldParams, the dataset),
// hidden fields, blobs, pick lists and lookups.
#include <gtest/gtest.h>

#include "FilterTestData.h"
#include "Fields.h"

namespace Kel {
namespace {

using Testing::MakeOrders;

class CatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFormatSettings(TFormatSettings::Invariant());
    data_ = MakeOrders();
    builder_.SetDataSet(data_.get());
  }

  QStringList FieldList() {
    TStringList list;
    builder_.GetFieldList(&list);
    return list.ToStringList();
  }

  TKelFltBoxField* AddEntry(TKelFltBoxFields* fields, const QString& name) {
    TKelFltBoxField* entry = fields->Add();
    entry->SetDataField(name);
    return entry;
  }

  std::unique_ptr<TMemDataSet> data_;
  TKelFltBld builder_;
};

TEST_F(CatalogueTest, FieldListFromEachSource) {
  EXPECT_EQ(FieldList(), QStringList({"Id", "Score", "Name", "Notes", "Due", "Hour", "Paid",
                                      "Picture", "Last Name", "Date"}));
  builder_.SetExcludeBlobs(true);
  builder_.HiddenFields()->Add("name");
  builder_.HiddenFields()->Add("LAST NAME");
  EXPECT_EQ(FieldList(), QStringList({"Id", "Score", "Due", "Hour", "Paid", "Date"}));
  // Fields, when given, are all that is offered (ExcludeBlobs does not touch them).
  AddEntry(builder_.Fields(), "Picture")->SetDataType(ftBlob);
  AddEntry(builder_.Fields(), "");
  AddEntry(builder_.Fields(), "Extra");
  EXPECT_EQ(FieldList(), QStringList({"Picture", "Extra"}));
  builder_.Fields()->Clear();
  builder_.SetDataSet(nullptr);
  AddEntry(builder_.FieldParams(), "Only");
  EXPECT_EQ(FieldList(), QStringList({"Only"}));
}

TEST_F(CatalogueTest, CalculatedFieldsAreNotOffered) {
  auto data = std::make_unique<TMemDataSet>();
  data->AddField("A", ftInteger);
  TField* calc = data->AddField("Twice", ftInteger);
  calc->SetFieldKind(fkCalculated);
  builder_.SetDataSet(data.get());
  EXPECT_EQ(FieldList(), QStringList({"A"}));
  data.reset();
  EXPECT_EQ(builder_.DataSet(), nullptr);  // freeing the dataset empties the reference
}

TEST_F(CatalogueTest, LabelTypeAndCategoryPrecedence) {
  EXPECT_EQ(builder_.GetFieldDisplayLabel("Name"), "Name");
  data_->FieldByName("Name")->SetDisplayLabel("Customer");
  EXPECT_EQ(builder_.GetFieldDisplayLabel("name"), "Customer");
  TKelFltBoxField* relabel = AddEntry(builder_.FieldParams(), "Name");
  relabel->SetDisplayLabel("Client");
  EXPECT_EQ(builder_.GetFieldDisplayLabel("Name"), "Client");
  EXPECT_EQ(builder_.GetFieldType("Name"), ftString);  // the dataset's type and category stay
  EXPECT_EQ(builder_.GetFieldCategory("Name"), "Text");
  relabel->SetDisplayLabel("");  // an entry with an empty label gives the name
  EXPECT_EQ(builder_.GetFieldDisplayLabel("Name"), "Name");
  EXPECT_EQ(builder_.GetFieldCategory("Picture"), "Unknown");
  EXPECT_EQ(builder_.GetFieldCategory("Notes"), "Memo");
  EXPECT_EQ(builder_.GetFieldType("Nowhere"), ftUnknown);

  // With Fields: their category and type; "Unknown" asks FieldParams, then the type.
  TKelFltBoxField* field = AddEntry(builder_.Fields(), "Code");
  field->SetDataType(ftInteger);
  EXPECT_EQ(builder_.GetFieldCategory("Code"), "Number");
  field->SetTemplCat("Text");
  EXPECT_EQ(builder_.GetFieldCategory("Code"), "Text");
  field->SetTemplCat("");
  AddEntry(builder_.FieldParams(), "Code")->SetTemplCat("Memo");
  EXPECT_EQ(builder_.GetFieldCategory("Code"), "Memo");
  EXPECT_EQ(builder_.GetFieldType("Code"), ftInteger);
}

TEST_F(CatalogueTest, PickListsAndEvents) {
  TKelFltBoxField* params = AddEntry(builder_.FieldParams(), "Name");
  params->PickList()->Add("Rome");
  TKelFltBoxField* fields = AddEntry(builder_.Fields(), "Name");
  fields->PickList()->Add("Oslo");
  fields->SetDataType(ftString);
  TStringList list;
  builder_.GetFieldPickList("Name", &list);
  EXPECT_EQ(list.ToStringList(), QStringList({"Rome"}));
  params->PickList()->Clear();
  builder_.OnModifyPickList = [](QObject*, const QString& field, TStrings* pickList) {
    pickList->Add(field + "!");
  };
  builder_.GetFieldPickList("Name", &list);
  EXPECT_EQ(list.ToStringList(), QStringList({"Oslo", "Name!"}));
  builder_.GetFieldPickList("", &list);
  EXPECT_EQ(list.Count(), 0);
  builder_.OnModifyPickList = nullptr;

  TKelFltItem* item = builder_.Items()->Add();
  item->SetDataField("Name");
  TKelListParam* value = item->ParamByName("Value");
  ASSERT_NE(value, nullptr);
  EXPECT_TRUE(builder_.HasPickList(item, value));
  value->PickList()->Add("Mine=1");
  builder_.GetItemPickList(item, value, &list);
  EXPECT_EQ(list.ToStringList(), QStringList({"Mine=1"}));
}

TEST_F(CatalogueTest, LookupDefinitions) {
  auto countries = std::make_unique<TMemDataSet>();
  countries->AddField("Code", ftString, 2);
  countries->AddField("Title", ftString, 20);
  countries->AppendRecords({{"NO", "Norway"}, {"PT", "Portugal"}});
  countries->Open();
  TKelFltBoxField* entry = AddEntry(builder_.Fields(), "Country");
  entry->SetDataType(ftString);
  entry->SetLookupDataSet(countries.get());
  entry->SetLookupKeyField("Code");
  TKelFltItem* item = builder_.Items()->Add();
  item->SetDataField("Country");
  TKelListParam* value = item->ParamByName("Value");
  ASSERT_NE(value, nullptr);
  value->SetLookupDisplayField("Title");
  int events = 0;
  builder_.OnGetLookupDef = [&](QObject*, TKelFltItem* forItem, TKelLookupDef& def,
                                TKelListParam* param) {
    EXPECT_EQ(forItem, item);
    EXPECT_EQ(param, value);
    ++events;
  };
  TKelLookupDef def = builder_.GetParamLookupDef(item, value);
  EXPECT_EQ(events, 1);
  EXPECT_EQ(def.DataSet, countries.get());
  EXPECT_EQ(def.KeyField, "Code");
  EXPECT_EQ(def.DisplayField, "Title");
  value->SetAsString("PT");
  EXPECT_EQ(builder_.GetLookupDisplayText(value, def), "Portugal");
  value->SetAsString("XX");
  EXPECT_EQ(builder_.GetLookupDisplayText(value, def), "");
  def.DisplayField = "code";
  EXPECT_EQ(builder_.GetLookupDisplayText(value, def), "");
  // Without a display field the key field is shown.
  value->SetLookupDisplayField("");
  EXPECT_EQ(builder_.GetParamLookupDef(item, value).DisplayField, "Code");

  // A dataset lookup field keyed by two fields cannot be looked up by one value.
  auto data = std::make_unique<TMemDataSet>();
  data->AddField("A", ftString);
  TField* lookup = data->AddField("L", ftString);
  lookup->SetFieldKind(fkLookup);
  lookup->SetLookupDataSet(countries.get());
  lookup->SetLookupKeyFields("Code;Title");
  lookup->SetLookupResultField("Title");
  builder_.Fields()->Clear();
  builder_.SetDataSet(data.get());
  EXPECT_EQ(builder_.GetLookupDef("L").DataSet, nullptr);
  lookup->SetLookupKeyFields("Code");
  EXPECT_EQ(builder_.GetLookupDef("L").DataSet, countries.get());
  EXPECT_EQ(builder_.GetLookupDef("").KeyField, "");
  countries.reset();
  EXPECT_EQ(builder_.GetLookupDef("L").DataSet, nullptr);
}

}  // namespace
}  // namespace Kel
