// Editing an in-memory dataset: edit, insert, append, post, cancel, delete, with their events,
// conversions, validation and the posting of pending edits on moving.
#include <gtest/gtest.h>

#include "DbTestData.h"
#include "TestPrinters.h"

namespace Kel {
namespace {

using Testing::MakeFish;

class DataSetEditingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFormatSettings(TFormatSettings::Invariant());
    fish = MakeFish();
    fish->Open();
  }
  TField* F(const char* name) const { return fish->FieldByName(name); }
  std::unique_ptr<TMemDataSet> fish;
};

TEST_F(DataSetEditingTest, EditPostAndCancel) {
  QStringList events;
  fish->BeforeEdit = [&](TDataSet*) { events << "BeforeEdit"; };
  fish->AfterEdit = [&](TDataSet*) { events << "AfterEdit"; };
  fish->BeforePost = [&](TDataSet*) { events << "BeforePost"; };
  fish->AfterPost = [&](TDataSet*) { events << "AfterPost"; };
  fish->BeforeCancel = [&](TDataSet*) { events << "BeforeCancel"; };
  fish->AfterCancel = [&](TDataSet*) { events << "AfterCancel"; };
  EXPECT_THROW(F("Category")->SetAsString("x"), EDatabaseError) << "not in edit mode";
  fish->Edit();
  EXPECT_EQ(fish->State(), dsEdit);
  F("Category")->SetAsString("Reef fish");
  EXPECT_TRUE(fish->Modified());
  EXPECT_EQ(F("Category")->AsString(), "Reef fish");
  EXPECT_EQ(F("Category")->ValueAt(0), Variant("Reef fish")) << "a grid shows the edited value";
  fish->Post();
  EXPECT_EQ(fish->State(), dsBrowse);
  EXPECT_EQ(F("Category")->AsString(), "Reef fish");
  fish->Edit();
  F("Category")->SetAsString("Lost");
  fish->Cancel();
  EXPECT_EQ(F("Category")->AsString(), "Reef fish");
  EXPECT_EQ(events, QStringList({"BeforeEdit", "AfterEdit", "BeforePost", "AfterPost", "BeforeEdit",
                                 "AfterEdit", "BeforeCancel", "AfterCancel"}));
  try {
    fish->Post();
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Dataset not in edit or insert mode");
  }
}

TEST_F(DataSetEditingTest, ValuesAreConvertedToTheFieldType) {
  fish->Edit();
  F("Species No")->SetValue(Variant("123"));
  EXPECT_EQ(F("Species No")->Value(), Variant(123));
  F("Length (cm)")->SetAsString("12.5");
  EXPECT_EQ(F("Length (cm)")->Value(), Variant(12.5));
  F("Caught")->SetAsString("2/29/2024");
  EXPECT_DOUBLE_EQ(F("Caught")->AsDateTime(), EncodeDate(2024, 2, 29));
  F("Caught")->SetAsDateTime(EncodeDate(2024, 3, 1) + 0.75);
  EXPECT_DOUBLE_EQ(F("Caught")->AsDateTime(), EncodeDate(2024, 3, 1))
      << "a date field keeps the date";
  F("Tame")->SetAsString("f");
  EXPECT_EQ(F("Tame")->Value(), Variant(false));
  F("Price")->SetAsFloat(1.23456);
  EXPECT_EQ(F("Price")->AsCurrency(), Currency::FromScaled(12346));
  F("Notes")->SetAsString("");
  EXPECT_FALSE(F("Notes")->IsNull()) << "an empty text is a text";
  F("Length (cm)")->SetAsString("");
  EXPECT_TRUE(F("Length (cm)")->IsNull()) << "an empty number is Null";
  EXPECT_THROW(F("Species No")->SetAsString("abc"), EConvertError);
  EXPECT_THROW(F("Species No")->SetValue(Variant("abc")), EVariantError);
  EXPECT_THROW(F("Tame")->SetAsString("maybe"), EConvertError);
  EXPECT_THROW(F("Caught")->SetAsString("31/31/2024"), EConvertError);
  F("Species No")->Clear();
  EXPECT_TRUE(F("Species No")->IsNull());
  fish->Post();
  EXPECT_TRUE(F("Species No")->IsNull());
}

TEST_F(DataSetEditingTest, SmallIntegerRanges) {
  TMemDataSet data;
  data.AddField("S", ftSmallint);
  data.AddField("W", ftWord);
  data.Open();
  data.Append();
  data.FieldByName("S")->SetAsInteger(-32768);
  EXPECT_THROW(data.FieldByName("S")->SetAsInteger(40000), EVariantOverflowError);
  EXPECT_THROW(data.FieldByName("W")->SetAsInteger(-1), EVariantOverflowError);
  data.FieldByName("W")->SetAsInteger(65535);
  data.Post();
  EXPECT_EQ(data.FieldByName("S")->Value().VarType(), varSmallint);
  EXPECT_EQ(data.FieldByName("W")->AsInteger(), 65535);
}

TEST_F(DataSetEditingTest, InsertAndAppend) {
  int newRecords = 0;
  fish->OnNewRecord = [&](TDataSet* d) {
    ++newRecords;
    d->FieldByName("Notes")->SetAsString("New");
  };
  fish->SetRecNo(3);
  fish->Insert();
  EXPECT_EQ(fish->State(), dsInsert);
  EXPECT_EQ(F("Notes")->AsString(), "New");
  EXPECT_FALSE(fish->Modified()) << "defaults of OnNewRecord do not count as changes";
  F("Species No")->SetAsInteger(1);
  fish->Post();
  EXPECT_EQ(fish->RecNo(), 3) << "inserted before the current record";
  EXPECT_EQ(F("Species No")->AsInteger(), 1);
  fish->Next();
  EXPECT_EQ(F("Species No")->AsInteger(), 90050);
  fish->Append();
  F("Species No")->SetAsInteger(2);
  fish->Post();
  EXPECT_EQ(fish->RecNo(), 10);
  EXPECT_EQ(fish->RecordCount(), 10);
  fish->AppendRecord({Variant(3), Variant("Eel")});
  EXPECT_EQ(fish->RecordCount(), 11);
  EXPECT_EQ(F("Category")->AsString(), "Eel");
  EXPECT_EQ(newRecords, 3);
  fish->InsertRecord({Variant(4), Variant("Tuna")});
  EXPECT_EQ(fish->RecNo(), 11);
  EXPECT_EQ(F("Category")->AsString(), "Tuna");
  EXPECT_EQ(F("Notes")->AsString(), "New") << "fields left out keep the new record's defaults";
  // An unchanged new record is dropped when the cursor moves on.
  fish->Append();
  fish->First();
  EXPECT_EQ(fish->RecordCount(), 12);
}

TEST_F(DataSetEditingTest, InsertIntoAnEmptyDataSetAndEditOfEmpty) {
  TMemDataSet data;
  data.AddField("A", ftInteger);
  data.Open();
  data.Edit();  // nothing to edit: a new record
  EXPECT_EQ(data.State(), dsInsert);
  EXPECT_EQ(data.RecNo(), -1);
  EXPECT_FALSE(data.IsEmpty());
  data.FieldByName("A")->SetAsInteger(5);
  data.Post();
  EXPECT_EQ(data.RecordCount(), 1);
  EXPECT_EQ(data.RecNo(), 1);
  data.Insert();
  data.Cancel();
  EXPECT_EQ(data.RecordCount(), 1);
  EXPECT_EQ(data.FieldByName("A")->AsInteger(), 5);
}

TEST_F(DataSetEditingTest, MovingPostsPendingChanges) {
  fish->Edit();
  F("Category")->SetAsString("Moved");
  fish->Next();
  EXPECT_EQ(fish->State(), dsBrowse);
  fish->Prior();
  EXPECT_EQ(F("Category")->AsString(), "Moved");
  fish->Edit();
  fish->Next();  // nothing changed: the edit is cancelled
  EXPECT_EQ(fish->State(), dsBrowse);
}

TEST_F(DataSetEditingTest, Delete) {
  QStringList events;
  fish->BeforeDelete = [&](TDataSet*) { events << "BeforeDelete"; };
  fish->AfterDelete = [&](TDataSet*) { events << "AfterDelete"; };
  fish->SetRecNo(2);
  fish->Delete();
  EXPECT_EQ(fish->RecordCount(), 7);
  EXPECT_EQ(F("Common_Name")->AsString(), "Giant Maori Wrasse")
      << "the next record becomes current";
  fish->Last();
  fish->Delete();
  EXPECT_EQ(F("Common_Name")->AsString(), "Bat Ray") << "after the last, the new last";
  fish->Edit();
  fish->Delete();  // deletes the record being edited
  EXPECT_EQ(fish->State(), dsBrowse);
  EXPECT_EQ(fish->RecordCount(), 5);
  EXPECT_EQ(events.count("BeforeDelete"), 3);
  while (!fish->IsEmpty()) fish->Delete();
  EXPECT_TRUE(fish->Bof() && fish->Eof());
  EXPECT_THROW(fish->Delete(), EDatabaseError);
}

TEST_F(DataSetEditingTest, RequiredFieldsAndValidation) {
  F("Category")->SetRequired(true);  // a property, allowed while open
  fish->Append();
  F("Species No")->SetAsInteger(5);
  try {
    fish->Post();
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Field 'Category' must have a value");
  }
  EXPECT_EQ(fish->State(), dsInsert) << "a refused post keeps the record";
  F("Category")->OnValidate = [](TField* f) {
    if (f->AsString().isEmpty() || !f->AsString()[0].isUpper())
      throw EDatabaseError("Capital letter, please");
  };
  EXPECT_THROW(F("Category")->SetAsString("eel"), EDatabaseError);
  EXPECT_TRUE(F("Category")->IsNull()) << "a refused value is not kept";
  F("Category")->SetAsString("Eel");
  fish->Post();
  EXPECT_EQ(fish->RecordCount(), 9);
}

TEST_F(DataSetEditingTest, ReadOnlyFieldsAndChangeEvents) {
  F("Species No")->SetReadOnly(true);
  fish->Edit();
  try {
    F("Species No")->SetAsInteger(1);
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Field 'Species No' cannot be modified");
  }
  int changes = 0;
  F("Category")->OnChange = [&](TField*) { ++changes; };
  F("Category")->SetText("Changed");
  EXPECT_EQ(changes, 1);
  QString setText;
  F("Category")->OnSetText = [&](TField*, const QString& text) { setText = text; };
  F("Category")->SetText("Through the hook");
  EXPECT_EQ(setText, "Through the hook");
  EXPECT_EQ(F("Category")->AsString(), "Changed");
  fish->Cancel();
}

TEST_F(DataSetEditingTest, BinaryValuesKeepEveryByte) {
  TMemDataSet data;
  data.AddField("Picture", ftGraphic);
  data.Open();
  QByteArray bytes;
  for (int i = 0; i < 256; ++i) bytes.append(static_cast<char>(i));
  data.Append();
  data.FieldByName("Picture")->SetAsBytes(bytes);
  data.Post();
  EXPECT_EQ(data.FieldByName("Picture")->AsBytes(), bytes);
  EXPECT_EQ(data.FieldByName("Picture")->DisplayText(), "(GRAPHIC)");
}

TEST_F(DataSetEditingTest, BulkAppendShowsWhatCameBeforeAFailingValue) {
  TMemDataSet numbers;
  numbers.AddField("N", ftInteger);
  numbers.Open();
  int changes = 0;
  TDataSource source;
  source.SetDataSet(&numbers);
  source.OnDataChange = [&](TDataSource*, TField*) { ++changes; };
  EXPECT_THROW(numbers.AppendRecords({{1}, {"two"}, {3}}), EVariantTypeCastError);
  EXPECT_EQ(numbers.RecordCount(), 1);
  EXPECT_FALSE(numbers.Eof()) << "the record kept is the current one";
  EXPECT_EQ(numbers.RecNo(), 1);
  EXPECT_EQ(numbers.FieldByName("N")->AsInteger(), 1);
  EXPECT_EQ(changes, 1);
}

TEST_F(DataSetEditingTest, ClosingCancelsAnEdit) {
  fish->Edit();
  F("Category")->SetAsString("Gone");
  fish->Close();
  fish->Open();
  EXPECT_EQ(F("Category")->AsString(), "Triggerfish");
}

}  // namespace
}  // namespace Kel
