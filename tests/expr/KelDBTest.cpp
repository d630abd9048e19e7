// The filter node tree (shape equality, constants), and the dataset helpers of unit KelDB.
#include <gtest/gtest.h>

#include <QtEndian>

#include "DB.h"
#include "Exceptions.h"
#include "FormatSettings.h"
#include "KelDB.h"
#include "KelEmulDataSet.h"

namespace Kel {
namespace {

std::vector<TExprFieldInfo> TestFields() {
  return {{"Size", ftInteger}, {"Weight", ftInteger}, {"Name", ftString},
          {"A", ftInteger},    {"B", ftString},       {"Day", ftDate}};
}

std::unique_ptr<TKelFltNode> Tree(const QString& text, TFilterOptions options = {},
                                  std::vector<TExprFieldInfo> fields = TestFields()) {
  const TExprParser parser(std::move(fields), text, options);
  return BuildFilterTree(parser);
}

bool SameTree(const QString& a, const QString& b, TFilterOptions options = {}) {
  return Tree(a, options)->IsEqual(Tree(b, options).get());
}

TEST(FilterTree, NodeClassesFollowTheExpression) {
  const auto root = Tree("Size > 10");
  ASSERT_TRUE(root->HasNodeData());
  EXPECT_EQ(root->NodeData().Class, nodeBinary);
  EXPECT_EQ(root->NodeData().Operator, coGT);
  EXPECT_EQ(root->NodeCount(), 2);
  auto* field = dynamic_cast<TKelFltFieldNode*>(root->Left());
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->FieldName(), "Size");
  EXPECT_NE(dynamic_cast<TKelFltConstNode*>(root->Right()), nullptr);

  const auto compare = Tree("Name = 'x'", {foCaseInsensitive});
  EXPECT_NE(dynamic_cast<TKelFltCompareNode*>(compare.get()), nullptr);
  // NOT is unary: one child; function arguments are not followed.
  const auto negated = Tree("not (Size > 1)");
  EXPECT_EQ(negated->NodeData().Class, nodeUnary);
  EXPECT_EQ(negated->NodeCount(), 3);
  const TExprParser function(TestFields(), "upper(Name) = 'X'", {}, {poExtSyntax});
  EXPECT_EQ(BuildFilterTree(function)->NodeCount(), 2);
}

TEST(FilterTree, ConditionsThatDifferOnlyInConstantValuesAreEqual) {
  EXPECT_TRUE(SameTree("Size > 10", "Size > 20"));
  EXPECT_TRUE(SameTree("(Size >= 1) and (Size <= 5)", "(Size >= 7) and (Size <= 9)"));
  EXPECT_FALSE(SameTree("Size > 10", "Size >= 10")) << "operator";
  EXPECT_FALSE(SameTree("Size > 10", "Weight > 10")) << "field";
  EXPECT_FALSE(SameTree("Size > 10", "Size > 10.5")) << "constant type";
  EXPECT_FALSE(SameTree("Name = 'x'", "Name = 'x' or Name = 'y'")) << "shape";
  EXPECT_FALSE(SameTree("(Size > 1) and (Size < 5)", "(Size > 1) or (Size < 5)"));
  EXPECT_FALSE(SameTree("Size is null", "Size is not null"));
}

TEST(FilterTree, FieldNamesCompareWithTheirLetterCase) {
  const auto lower = Tree("Size > 1", {}, {{"size", ftInteger}});
  const auto upper = Tree("Size > 1", {}, {{"SIZE", ftInteger}});
  EXPECT_FALSE(lower->IsEqual(upper.get()));
  EXPECT_TRUE(Tree("size > 1")->IsEqual(Tree("SIZE > 2").get()))
      << "the parser writes the dataset's spelling";
}

TEST(FilterTree, CompareNodesNeedTheSameFlagAndPartialLength) {
  EXPECT_TRUE(SameTree("Name = 'ab*'", "Name = 'xy*'"));
  EXPECT_FALSE(SameTree("Name = 'ab*'", "Name = 'abc*'"));
  EXPECT_FALSE(Tree("Name = 'x'", {foCaseInsensitive})->IsEqual(Tree("Name = 'x'").get()));
  EXPECT_FALSE(Tree("Name = 'ab*'", {foCaseInsensitive})
                   ->IsEqual(Tree("Name = 'ab*'", {foNoPartialCompare}).get()));
}

TEST(FilterTree, ANodeWithATemplateCountsNoNodes) {
  const auto root = Tree("(Size > 1) and (Weight < 2)");
  int marker = 0;
  root->Left()->SetTemplate(&marker);
  EXPECT_EQ(root->Left()->NodeCount(), 0);
  EXPECT_EQ(root->Left()->Template(), &marker);
  EXPECT_EQ(root->Right()->NodeCount(), 2);
  EXPECT_EQ(root->NodeCount(), 4) << "a count taken now sees the matched subtree as one node";
}

TEST(FilterTree, DamagedBufferIsRefused) {
  // A binary node whose operands are the node itself.
  QByteArray data(16 + 12, '\0');
  qToLittleEndian<uint16_t>(1, data.data());
  qToLittleEndian<uint32_t>(static_cast<uint32_t>(data.size()), data.data() + 2);
  qToLittleEndian<uint16_t>(16, data.data() + 6);
  qToLittleEndian<uint16_t>(28, data.data() + 8);
  qToLittleEndian<uint32_t>(nodeBinary, data.data() + 16);
  qToLittleEndian<uint32_t>(coAND, data.data() + 20);
  EXPECT_THROW(BuildFilterTree(TCannedExpr(data)), EDatabaseError);
}

TEST(CollectConstants, TextOrderWithTypes) {
  const auto root = Tree("(A = 1) and (B = 'x') and (Day = '1/2/2024')");
  CollectConstants(root.get());
  ASSERT_EQ(root->ConstNodes().size(), 3u);
  TKelFields* constants = root->Constants();
  ASSERT_EQ(constants->Count(), 3);
  EXPECT_EQ(constants->Items(0)->DataType(), FT_INT);
  EXPECT_EQ(constants->Items(0)->Value().AsInteger(), 1);
  EXPECT_EQ(constants->Items(1)->DataType(), FT_STRING);
  EXPECT_EQ(constants->Items(1)->Value().AsString(), "x");
  EXPECT_EQ(constants->Items(2)->DataType(), FT_DATE);
  EXPECT_EQ(constants->Items(2)->Value().AsDate(), EncodeDate(2024, 1, 2));

  // Collected once: a second call keeps what is there.
  constants->Items(0)->SetValue(Variant(5));
  CollectConstants(root.get());
  EXPECT_EQ(constants->Items(0)->Value().AsInteger(), 5);
  // A subtree collects its own.
  TKelFltNode* right = root->Right();
  CollectConstants(right);
  ASSERT_EQ(right->Constants()->Count(), 1);
  EXPECT_EQ(right->Constants()->Items(0)->DataType(), FT_DATE);
}

TEST(ConstToField, TakesValueAndTypeWithOneChange) {
  TKelFields fields;
  TKelField* item = fields.Add();
  item->SetAsDate(EncodeDate(2000, 1, 1));
  int changes = 0;
  fields.OnItemUpdate = [&changes](TKelCustomNamedItems*, TCollectionItem*) { ++changes; };
  const auto root = Tree("Day = '1/2/2024 10:30'");
  ConstToField(*root->Right(), item);
  EXPECT_EQ(item->DataType(), FT_DATETIME) << "a date field also takes a date with a time";
  EXPECT_DOUBLE_EQ(item->AsDateTime(), EncodeDate(2024, 1, 2) + EncodeTime(10, 30, 0, 0));
  EXPECT_EQ(changes, 1);
  TKelFieldType type = FT_BOOL;
  EXPECT_TRUE(ConstValue(*root->Left(), type).IsNull()) << "a field node is no constant";
  EXPECT_EQ(type, FT_UNK);
}

TEST(ValuesMatch, NullIsWildOnTheFirstListOnly) {
  TKelFields templ, found;
  templ.Add()->SetValue(Variant::Null());
  templ.Add()->SetValue(Variant(5));
  found.Add()->SetValue(Variant("anything"));
  found.Add()->SetValue(Variant(5.0));
  EXPECT_TRUE(ValuesMatch(&templ, &found, true));
  EXPECT_FALSE(ValuesMatch(&templ, &found, false));
  EXPECT_FALSE(ValuesMatch(&found, &templ, true));
  found.Items(1)->SetValue(Variant(6));
  EXPECT_FALSE(ValuesMatch(&templ, &found, true));
  found.Add();
  EXPECT_FALSE(ValuesMatch(&templ, &found, true)) << "lists of different length";
  // Values that cannot be compared are no match rather than an error.
  TKelFields number, text;
  number.Add()->SetValue(Variant(1));
  text.Add()->SetValue(Variant("abc"));
  EXPECT_FALSE(ValuesMatch(&number, &text, true));
}

TEST(FieldFromFieldType, NeutralValuesByType) {
  TKelFields fields;
  TKelField* item = fields.Add();
  FieldFromFieldType(item, ftMemo);
  EXPECT_EQ(item->DataType(), FT_STRING);
  EXPECT_EQ(item->Value().AsString(), "");
  FieldFromFieldType(item, ftFloat);
  EXPECT_EQ(item->DataType(), FT_FLOAT);
  EXPECT_EQ(item->Value().AsDouble(), 0.0);
  FieldFromFieldType(item, ftBCD);
  EXPECT_EQ(item->DataType(), FT_CURRENCY);
  FieldFromFieldType(item, ftSmallint);
  EXPECT_EQ(item->DataType(), FT_INT);
  FieldFromFieldType(item, ftBoolean);
  EXPECT_EQ(item->DataType(), FT_BOOL);
  EXPECT_FALSE(item->Value().AsBoolean());
  FieldFromFieldType(item, ftDate);
  EXPECT_EQ(item->DataType(), FT_DATE);
  EXPECT_EQ(item->AsDateTime(), Date());
  FieldFromFieldType(item, ftTime);
  EXPECT_EQ(item->DataType(), FT_TIME);
  EXPECT_LT(item->AsDateTime(), 1.0);
  FieldFromFieldType(item, ftDateTime);
  EXPECT_EQ(item->DataType(), FT_DATETIME);
  EXPECT_NEAR(item->AsDateTime(), Now(), 1.0 / 24);
  item->SetValue(Variant(7));
  FieldFromFieldType(item, ftBlob);
  EXPECT_EQ(item->DataType(), FT_UNK);
  EXPECT_EQ(item->Value().AsInteger(), 7) << "other types keep their value";
}

std::unique_ptr<TMemDataSet> Lengths() {
  auto data = std::make_unique<TMemDataSet>();
  data->AddField("Name", ftString, 10);
  data->AddField("Length", ftFloat);
  data->AppendRecords({{"a", 1.0}, {"b", 1.5}, {"c", 2.0}});
  data->Open();
  return data;
}

TEST(SetFilterText, NumbersReadWithAPointWhileHandlersSeeTheUsersSeparator) {
  FormatSettingsGuard guard;
  FormatSettings().DecimalSeparator = u',';
  const auto data = Lengths();
  QChar during;
  data->OnFilterRecord = [&during](TDataSet*, bool&) {
    during = FormatSettings().DecimalSeparator;
  };
  data->SetFiltered(true);
  SetFilterText(data.get(), "Length > 1.5");
  EXPECT_EQ(data->RecordCount(), 1);
  EXPECT_EQ(during, u',');
  EXPECT_EQ(FormatSettings().DecimalSeparator, u',');
  EXPECT_THROW(SetFilterText(data.get(), "Length >"), EDatabaseError);
  EXPECT_EQ(FormatSettings().DecimalSeparator, u',') << "restored when the assignment raises";
}

TEST(CreateFilterParser, BadFilterComesFirstInTheMessage) {
  const auto data = Lengths();
  QString plain;
  try {
    TExprParser parser(data.get(), "Length >", {});
  } catch (const EDatabaseError& e) {
    plain = e.Message();
  }
  ASSERT_FALSE(plain.isEmpty());
  try {
    CreateFilterParser(data.get(), "Length >", {});
    ADD_FAILURE() << "no exception";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Bad filter.\r\n" + plain);
  }
  EXPECT_THROW(CreateFilterParser(data.get(), "Length + 1 > 2", {}), EDatabaseError)
      << "arithmetic needs the extended syntax";
  EXPECT_NE(CreateFilterParser(data.get(), "Length + 1 > 2", {}, {poExtSyntax}), nullptr);
}

TEST(LookupUsable, DataSetAndFieldsMustExist) {
  auto data = Lengths();
  TKelLookupDef def{"Name", "", data.get()};
  EXPECT_TRUE(LookupUsable(def));
  def.DisplayField = "length";
  EXPECT_TRUE(LookupUsable(def));
  def.DisplayField = "Colour";
  EXPECT_FALSE(LookupUsable(def));
  def.DisplayField.clear();
  def.KeyField.clear();
  EXPECT_FALSE(LookupUsable(def));
  def.KeyField = "Nope";
  EXPECT_FALSE(LookupUsable(def));
  def.KeyField = "Name";
  data.reset();
  EXPECT_FALSE(LookupUsable(def)) << "the dataset went away";
}

TEST(EmulDataSet, CarriesFieldsAndNeverOpens) {
  const auto source = Lengths();
  source->FieldByName("Length")->SetVisible(false);
  TKelEmulDataSet emul;
  emul.AddField("Old", ftInteger);
  emul.CopyFields(source.get());
  ASSERT_EQ(emul.FieldCount(), 2);
  EXPECT_EQ(emul.Fields()[0]->FieldName(), "Name");
  EXPECT_EQ(emul.Fields()[1]->DataType(), ftFloat);
  EXPECT_FALSE(emul.Fields()[1]->Visible());
  EXPECT_EQ(emul.AddField("name", ftString), nullptr) << "a name it has already";
  EXPECT_EQ(emul.FieldCount(), 2);
  EXPECT_NE(emul.AddField("Extra", ftDateTime), nullptr);
  emul.Open();
  EXPECT_FALSE(emul.Active());
  ClearDataSetFields(&emul);
  EXPECT_EQ(emul.FieldCount(), 0);
}

}  // namespace
}  // namespace Kel
