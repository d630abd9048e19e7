// Fields: the type following the value, conversions, text forms, value events, streaming of the
// value, placeholders, and the class-keyed record registry.

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "ComponentStreams.h"
#include "Exceptions.h"
#include "Filer.h"
#include "FormatSettings.h"
#include "KelDB.h"
#include "KelFields.h"
#include "KelPersHolder.h"
#include "Streams.h"
#include "TestPrinters.h"

using namespace Kel;

namespace {

class KelFieldsTest : public ::testing::Test {
 protected:
  void SetUp() override { SetFormatSettings(TFormatSettings::Invariant()); }

  TKelField* AddField(const QString& name) {
    TKelField* field = fields_.Add();
    field->SetName(name);
    return field;
  }

  FormatSettingsGuard guard_;
  TKelFields fields_;
};

// ---- the type follows the value

TEST_F(KelFieldsTest, TypeFollowsTheStoredVariant) {
  TKelField* f = AddField("F");
  f->SetAsDate(36892);
  ASSERT_EQ(f->DataType(), FT_DATE);
  f->SetValue(Variant(5));
  EXPECT_EQ(f->DataType(), FT_INT);  // an integer on a date field makes it an integer field

  f->SetAsTime(0.5);
  f->SetValue(Variant::FromDate(0.25));
  EXPECT_EQ(f->DataType(), FT_TIME);  // a date variant keeps the time type

  f->SetAsString("x");
  f->SetValue(Variant::FromDate(36892));
  EXPECT_EQ(f->DataType(), FT_DATETIME);

  f->SetValue(Variant(Currency::FromInt(2)));
  EXPECT_EQ(f->DataType(), FT_CURRENCY);
  f->SetValue(Variant(1.5f));
  EXPECT_EQ(f->DataType(), FT_FLOAT);
  f->SetValue(Variant(true));
  EXPECT_EQ(f->DataType(), FT_BOOL);
  f->SetValue(Variant::FromArray({Variant(1)}));
  EXPECT_EQ(f->DataType(), FT_UNK);
}

TEST_F(KelFieldsTest, NullAndEmptyKeepTheType) {
  TKelField* f = AddField("F");
  f->SetAsInteger(3);
  f->SetValue(Variant::Null());
  EXPECT_EQ(f->DataType(), FT_INT);
  EXPECT_TRUE(f->IsNull());
  f->SetAsInteger(3);
  f->SetIsNull(false);  // does nothing
  EXPECT_EQ(f->AsInteger(), 3);
  f->SetIsNull(true);
  EXPECT_TRUE(f->Value().IsEmpty());
  EXPECT_EQ(f->DataType(), FT_INT);
}

TEST_F(KelFieldsTest, DataTypeSetterClearsTheValue) {
  TKelField* f = AddField("F");
  f->SetAsInteger(3);
  f->SetDataType(FT_STRING);
  EXPECT_TRUE(f->IsNull());
  EXPECT_EQ(f->DataType(), FT_STRING);
}

TEST_F(KelFieldsTest, ChangesAreReportedToTheCollection) {
  int updates = 0;
  fields_.OnItemUpdate = [&](TKelCustomNamedItems*, TCollectionItem*) { ++updates; };
  TKelField* f = AddField("F");
  updates = 0;
  f->SetAsInteger(1);
  f->SetAsDate(2);
  f->Clear();
  EXPECT_EQ(updates, 3);
}

// ---- conversions

TEST_F(KelFieldsTest, ConvertDataTypeConvertsWhereItMakesSense) {
  TKelField* f = AddField("F");
  f->SetAsFloat(2.5);
  f->ConvertDataType(FT_INT);
  EXPECT_EQ(f->DataType(), FT_INT);
  EXPECT_TRUE(f->Value().Same(Variant(2)));  // halves go to even

  f->ConvertDataType(FT_CURRENCY);
  EXPECT_TRUE(f->Value().Same(Variant(Currency::FromInt(2))));
  f->ConvertDataType(FT_FLOAT);
  EXPECT_TRUE(f->Value().Same(Variant(2.0)));

  f->SetAsDateTime(36892.75);
  f->ConvertDataType(FT_DATE);
  EXPECT_EQ(f->DataType(), FT_DATE);
  EXPECT_DOUBLE_EQ(f->AsDateTime(), 36892.0);
  f->ConvertDataType(FT_DATETIME);
  EXPECT_EQ(f->DataType(), FT_DATETIME);
  EXPECT_DOUBLE_EQ(f->AsDateTime(), 36892.0);

  f->SetAsDateTime(36892.75);
  f->ConvertDataType(FT_TIME);
  EXPECT_EQ(f->DataType(), FT_TIME);
  EXPECT_DOUBLE_EQ(f->AsDateTime(), 0.75);
}

TEST_F(KelFieldsTest, ConvertDataTypeClearsWhatCannotConvert) {
  TKelField* f = AddField("F");
  f->SetAsString("12");
  f->ConvertDataType(FT_INT);
  EXPECT_EQ(f->DataType(), FT_INT);
  EXPECT_TRUE(f->IsNull());

  f->SetAsInteger(1);
  f->ConvertDataType(FT_BOOL);
  EXPECT_EQ(f->DataType(), FT_BOOL);
  EXPECT_TRUE(f->IsNull());

  f->SetAsInteger(1);
  f->ConvertDataType(static_cast<TKelFieldType>(9));  // beyond the last type: nothing
  EXPECT_EQ(f->DataType(), FT_INT);
  EXPECT_EQ(f->AsInteger(), 1);
}

TEST_F(KelFieldsTest, ConvertingAFieldWithoutValueOnlyChangesItsType) {
  TKelField* f = AddField("F");
  f->SetDataType(FT_FLOAT);
  EXPECT_NO_THROW(f->ConvertDataType(FT_INT));
  EXPECT_EQ(f->DataType(), FT_INT);
  EXPECT_TRUE(f->IsNull());
}

TEST_F(KelFieldsTest, RefusedConversionKeepsValueAndType) {
  TKelField* f = AddField("F");
  f->SetAsFloat(1e30);
  EXPECT_THROW(f->ConvertDataType(FT_INT), EVariantOverflowError);
  EXPECT_EQ(f->DataType(), FT_FLOAT);
  EXPECT_DOUBLE_EQ(f->AsFloat(), 1e30);
}

// ---- text forms and events

TEST_F(KelFieldsTest, TextFormsPassThroughFormatValue) {
  TKelField* f = AddField("F");
  EXPECT_EQ(f->AsString(), "");
  f->SetAsBoolean(true);
  EXPECT_EQ(f->AsString(), "True");
  f->SetAsFloat(1.5);
  EXPECT_EQ(f->AsString(), "1.5");
  fields_.OnGetAsString = [](QObject*, TKelField*, QString& text, bool forDisplay) {
    text = (forDisplay ? "<" : "[") + text + (forDisplay ? ">" : "]");
  };
  EXPECT_EQ(f->AsString(false), "[1.5]");
  EXPECT_EQ(f->AsDisplayString(), "<1.5>");
}

TEST_F(KelFieldsTest, ValueEventsStandBetweenFieldAndStorage) {
  TKelField* f = AddField("Price");
  QString setName;
  Variant setValue;
  fields_.OnSetValue = [&](QObject*, const QString& name, Variant& value) {
    setName = name;
    setValue = value;
  };
  f->SetAsInteger(7);
  EXPECT_EQ(setName, "Price");
  EXPECT_TRUE(setValue.Same(Variant(7)));
  EXPECT_EQ(f->DataType(), FT_INT);  // the type still follows
  EXPECT_TRUE(f->IsNull());          // but nothing was stored

  fields_.OnSetValue = nullptr;
  f->SetAsInteger(7);
  fields_.OnGetValue = [](QObject*, const QString&, Variant& value) { value = value + Variant(1); };
  EXPECT_EQ(f->AsInteger(), 8);
}

TEST_F(KelFieldsTest, TypedGettersOfNullFields) {
  TKelField* f = AddField("F");
  EXPECT_FALSE(f->AsBoolean());
  EXPECT_EQ(f->AsDateTime(), 0);
}

TEST_F(KelFieldsTest, AssignCopiesTypeOverTheVariantKind) {
  TKelField* date = AddField("D");
  date->SetAsDate(36892);
  date->SetValuePrefix("%");
  TKelField* other = AddField("X");
  other->Assign(date);
  EXPECT_EQ(other->Name(), "D");
  EXPECT_EQ(other->DataType(), FT_DATE);
  EXPECT_EQ(other->ValuePrefix(), "%");
  EXPECT_DOUBLE_EQ(other->AsDateTime(), 36892);
}

TEST_F(KelFieldsTest, ValuesByName) {
  AddField("A")->SetAsInteger(1);
  EXPECT_TRUE(fields_.GetValueByName("a").Same(Variant(1)));
  EXPECT_TRUE(fields_.GetValueByName("nope").IsEmpty());
  fields_.SetValueByName("nope", Variant(2));
  EXPECT_EQ(fields_.Count(), 1);
  fields_.SetAutoAdd(true);
  fields_.SetValueByName("nope", Variant(2));
  ASSERT_EQ(fields_.Count(), 2);
  EXPECT_EQ(fields_.Items(1)->Name(), "nope");
  EXPECT_EQ(fields_.Items(1)->DataType(), FT_INT);
}

// ---- streaming of the value

class KelFieldStreamTest : public KelFieldsTest {
 protected:
  // Writes the collection through a holder and reads it back into a fresh one.
  void RoundTrip(TKelFields& into) {
    TMemoryStream stream;
    WriteCollection(stream, &fields_);
    stream.SetPosition(0);
    ReadCollection(stream, &into);
  }
};

TEST_F(KelFieldStreamTest, ValuesReadBackWithTheirKinds) {
  AddField("Empty");
  AddField("Null")->SetValue(Variant::Null());
  AddField("Bool")->SetAsBoolean(true);
  AddField("Small")->SetValue(Variant(-5));
  AddField("Int")->SetAsInteger(100000);
  AddField("Big")->SetValue(Variant(int64_t(5000000000)));
  AddField("Float")->SetAsFloat(2.5);
  AddField("Money")->SetAsCurrency(Currency::FromScaled(12345678));
  AddField("Date")->SetAsDate(36892);
  AddField("Text")->SetAsString(QStringLiteral("Gr\u00fc\u00dfe"));
  AddField("Wide")->SetValue(Variant(int64_t(-70000)));

  TKelFields read;
  RoundTrip(read);
  ASSERT_EQ(read.Count(), fields_.Count());
  EXPECT_TRUE(read.Items(0)->Value().IsEmpty());  // empty stays empty, not null
  EXPECT_TRUE(read.Items(1)->Value().IsNull());
  EXPECT_TRUE(read.Items(2)->Value().Same(Variant(true)));
  EXPECT_EQ(read.Items(3)->Value().AsInteger(), -5);  // a signed byte keeps its sign
  EXPECT_TRUE(read.Items(4)->Value().Same(Variant(100000)));
  // Beyond 32 bits the value travels as its text; within them as a number.
  EXPECT_TRUE(read.Items(5)->Value().IsString());
  EXPECT_EQ(read.Items(5)->AsString(), "5000000000");
  EXPECT_TRUE(read.Items(6)->Value().Same(Variant(2.5)));
  EXPECT_TRUE(read.Items(7)->Value().Same(Variant(Currency::FromScaled(12345678))));
  EXPECT_TRUE(read.Items(8)->Value().Same(Variant::FromDate(36892)));
  EXPECT_EQ(read.Items(8)->DataType(), FT_DATE);
  EXPECT_EQ(read.Items(9)->AsString(), QStringLiteral("Gr\u00fc\u00dfe"));
  EXPECT_EQ(read.Items(9)->Name(), "Text");
  EXPECT_TRUE(read.Items(10)->Value().Same(Variant(-70000)));
}

TEST_F(KelFieldStreamTest, TextFormRoundTrip) {
  AddField("N")->SetAsInteger(42);
  AddField("S")->SetAsString("it's");
  TMemoryStream text;
  WriteCollectionText(text, &fields_);
  const QString written = QString::fromUtf8(text.Bytes());
  EXPECT_TRUE(written.contains("DataValue = 42")) << written.toStdString();
  EXPECT_TRUE(written.contains("DataValue = 'it''s'")) << written.toStdString();
  EXPECT_FALSE(written.contains("IsNull")) << written.toStdString();
  text.SetPosition(0);
  TKelFields read;
  ReadCollectionText(text, &read);
  ASSERT_EQ(read.Count(), 2);
  EXPECT_EQ(read.Items(0)->AsInteger(), 42);
  EXPECT_EQ(read.Items(0)->DataType(), FT_INT);
  EXPECT_EQ(read.Items(1)->AsString(), "it's");
}

TEST_F(KelFieldStreamTest, ArraysCannotBeWritten) {
  AddField("A")->SetValue(Variant::FromArray({Variant(1)}));
  TMemoryStream stream;
  EXPECT_THROW(WriteCollection(stream, &fields_), EWriteError);
}

TEST_F(KelFieldStreamTest, UnknownValueKindIsAReadError) {
  // A hand-made stream whose DataValue is a set: no value kind of a field.
  QByteArray bytes("TPF0");
  auto shortString = [&](const QByteArray& s) {
    bytes += char(s.size());
    bytes += s;
  };
  shortString("TKelPersHolder");
  shortString("");
  shortString("P");
  bytes += char(vaCollection);
  bytes += char(vaList);
  shortString("DataValue");
  bytes += char(vaSet);
  shortString("a");
  bytes += char(0);
  bytes += char(0);  // end of item
  bytes += char(0);  // end of collection
  bytes += char(0);
  bytes += char(0);
  TMemoryStream stream(bytes);
  TKelFields read;
  EXPECT_THROW(ReadCollection(stream, &read), EReadError);
}

// ---- placeholders

TEST(KelParamsTest, ParseParamsFindsPlaceholdersOutsideQuotes) {
  TKelFields fields;
  const QString text = ParseParams(&fields, "a = :A and b = ':B' and t = 10::30", true);
  EXPECT_EQ(text, "a = ? and b = ':B' and t = 10:30");
  ASSERT_EQ(fields.Count(), 1);
  EXPECT_EQ(fields.Items(0)->Name(), "A");
}

TEST(KelParamsTest, NamesEndAtTerminatorsOrTheEnd) {
  EXPECT_EQ(ParamNames("x=:P)"), QStringList{"P"});
  EXPECT_EQ(ParamNames("x=:P"), QStringList{"P"});
  EXPECT_EQ(ParamNames("f(:A,:B;:C\n:D\r:E :F)"), (QStringList{"A", "B", "C", "D", "E", "F"}));
  EXPECT_EQ(ParseParams(nullptr, "f(:A,:B)", false), "f(?,?)");
}

TEST(KelParamsTest, QuotedNamesLoseTheirQuotes) {
  TKelFields fields;
  EXPECT_EQ(ParseParams(&fields, "x = :\"my name\" and y = :`z`", true), "x = ? and y = ?");
  ASSERT_EQ(fields.Count(), 2);
  EXPECT_EQ(fields.Items(0)->Name(), "my name");
  EXPECT_EQ(fields.Items(1)->Name(), "z");
}

TEST(KelParamsTest, RepeatedNamesGiveTwoFieldsAndCreateClearsFirst) {
  TKelFields fields;
  fields.Add()->SetName("Old");
  ParseParams(&fields, ":A + :A", true);
  ASSERT_EQ(fields.Count(), 2);
  EXPECT_EQ(fields.Items(0)->Name(), "A");
  EXPECT_EQ(fields.Items(1)->Name(), "A");
  ParseParams(&fields, ":B", false);
  EXPECT_EQ(fields.Count(), 2);
}

TEST(KelParamsTest, RefreshKeepsValuesOfNamesThatStay) {
  TKelFields fields;
  ParseParams(&fields, ":A :B", true);
  fields.Items(0)->SetAsInteger(1);
  fields.Items(0)->SetValuePrefix("%");
  fields.Items(1)->SetAsString("b");
  RefreshParams(&fields, ":B :C :A");
  ASSERT_EQ(fields.Count(), 3);
  EXPECT_EQ(fields.Items(0)->Name(), "B");
  EXPECT_EQ(fields.Items(0)->AsString(), "b");
  EXPECT_TRUE(fields.Items(1)->IsNull());
  EXPECT_EQ(fields.Items(2)->AsInteger(), 1);
  EXPECT_EQ(fields.Items(2)->ValuePrefix(), "%");
}

TEST(KelParamsTest, SubstituteQuotesTextLikeTypes) {
  FormatSettingsGuard guard;
  SetFormatSettings(TFormatSettings::Invariant());
  TKelFields fields;
  ParseParams(&fields, ":N :I :D", true);
  fields.Items(0)->SetAsString("abc");
  fields.Items(1)->SetAsInteger(5);
  fields.Items(2)->SetAsDate(36892);
  EXPECT_EQ(SubstituteParams("Name = :N and Id = :I and Day = :D", &fields),
            "Name = 'abc' and Id = 5 and Day = '1/1/2001'");
  fields.Items(0)->SetValuePrefix("%");
  EXPECT_EQ(SubstituteParams("Name = :N", &fields), "Name = '%abc'");
}

TEST(KelParamsTest, SubstituteDoublesQuotesInsideQuotedValues) {
  TKelFields fields;
  ParseParams(&fields, ":N :I", true);
  fields.Items(0)->SetAsString("O'Brien' or 'x'='x");
  fields.Items(1)->SetAsInteger(5);
  // The whole value stays one literal, however many quotes it holds.
  EXPECT_EQ(SubstituteParams("Name = :N and Id = :I", &fields),
            "Name = 'O''Brien'' or ''x''=''x' and Id = 5");
}

TEST(KelParamsTest, SubstituteReplacesInsidePrefixedNamesAndTerminates) {
  TKelFields fields;
  ParseParams(&fields, ":A", true);
  fields.Items(0)->SetAsString(":A");  // the inserted text names the field again
  EXPECT_EQ(SubstituteParams(":A :AB", &fields), "':A' ':A'B");

  // At each colon the first field in collection order whose name follows takes the place.
  ParseParams(&fields, ":N :Name", true);
  fields.Items(0)->SetAsInteger(1);
  fields.Items(1)->SetAsInteger(2);
  EXPECT_EQ(SubstituteParams(":Name, :N", &fields), "1ame, 1");
  ParseParams(&fields, ":Name :N", true);
  fields.Items(0)->SetAsInteger(2);
  fields.Items(1)->SetAsInteger(1);
  EXPECT_EQ(SubstituteParams(":Name, :N", &fields), "2, 1");
}

TEST(KelParamsTest, ValuesHoldingPlaceholdersAreInsertedAsTyped) {
  TKelFields fields;
  ParseParams(&fields, ":Value1 :Cat :Note", true);
  fields.Items(0)->SetAsString("see :Cat");
  fields.Items(1)->SetAsString(":Value1");
  fields.Items(2)->SetAsString(":Note::Note");
  EXPECT_EQ(SubstituteParams("A = :Value1 and B = :Cat and C = :Note", &fields),
            "A = 'see :Cat' and B = ':Value1' and C = ':Note::Note'");

  // Each value naming the next field twice doubled the text with every field before.
  ParseParams(&fields, "", true);
  const int count = 40;
  for (int i = 0; i < count; ++i) {
    TKelField* field = fields.Add();
    field->SetName(QStringLiteral("F%1").arg(i));
    field->SetAsString(QStringLiteral(":F%1 :F%1").arg(i + 1));
  }
  const QString text = SubstituteParams(":F0", &fields);
  EXPECT_EQ(text, "':F1 :F1'");
}

// ---- record registry

class BaseControl : public QObject {
  Q_OBJECT
};
class DerivedControl : public BaseControl {
  Q_OBJECT
};

void BaseLayout(QObject*) {}
void DerivedLayout(QObject*) {}
void OtherLayout(QObject*) {}

TEST(KelRecordRegistryTest, FirstRegisteredFitWins) {
  RegisterKeyboardProc(&BaseControl::staticMetaObject, "Default", &BaseLayout);
  RegisterKeyboardProc(&DerivedControl::staticMetaObject, "Default", &DerivedLayout);
  RegisterKeyboardProc(&DerivedControl::staticMetaObject, "Other", &OtherLayout);
  EXPECT_EQ(FindKeyboardProc(&DerivedControl::staticMetaObject, "Default"), &BaseLayout);
  EXPECT_EQ(FindKeyboardProc(&DerivedControl::staticMetaObject, "Other"), &OtherLayout);
  EXPECT_EQ(FindKeyboardProc(&BaseControl::staticMetaObject, "Other"), nullptr);
  EXPECT_EQ(FindKeyboardProc(&QObject::staticMetaObject, "Default"), nullptr);
}

TEST(KelRecordRegistryTest, RecordsByListAndValues) {
  RegisterRecord("Colours", {"Name", "Value"}, {Variant("red"), Variant(0xFF)});
  RegisterRecord("Colours", {"Name", "Value"}, {Variant("blue"), Variant(0xFF0000)});
  const TKelRecordList* records = FindRecords("colours");
  ASSERT_NE(records, nullptr);
  ASSERT_EQ(records->size(), 2u);
  EXPECT_EQ(FindRecords("none"), nullptr);
  std::vector<TKelFields*> list;
  for (const auto& r : *records) list.push_back(r.get());
  TKelFields* blue = FindRecord(list, {"Name"}, {Variant("blue")});
  ASSERT_NE(blue, nullptr);
  EXPECT_EQ(blue->GetValueByName("Value").AsInteger(), 0xFF0000);
  // A value of another kind simply does not match.
  EXPECT_EQ(FindRecord(list, {"Value"}, {Variant("not a number")}), nullptr);
}

// ---- field-type maps

TEST(KelDBTypeMapTest, BothDirections) {
  EXPECT_EQ(KelFieldTypeToFieldType(FT_DATE), ftDateTime);
  EXPECT_EQ(KelFieldTypeToFieldType(FT_TIME), ftDateTime);
  EXPECT_EQ(KelFieldTypeToFieldType(FT_UNK), ftUnknown);
  EXPECT_EQ(KelFieldTypeToFieldType(FT_BOOL), ftBoolean);
  EXPECT_EQ(FieldTypeToKelFieldType(ftMemo), FT_STRING);
  EXPECT_EQ(FieldTypeToKelFieldType(ftBCD), FT_CURRENCY);
  EXPECT_EQ(FieldTypeToKelFieldType(ftLargeint), FT_INT);
  EXPECT_EQ(FieldTypeToKelFieldType(ftDate), FT_DATE);
  EXPECT_EQ(FieldTypeToKelFieldType(ftBlob), FT_UNK);
  for (TKelFieldType t : {FT_INT, FT_CURRENCY, FT_FLOAT, FT_STRING, FT_BOOL, FT_DATETIME})
    EXPECT_EQ(FieldTypeToKelFieldType(KelFieldTypeToFieldType(t)), t);
}

}  // namespace

#include "KelFieldsTest.moc"
