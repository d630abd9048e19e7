// The expression evaluator component: where field values come from, parameters, the failed
// flag, change reports, and record search with its messages.
#include <gtest/gtest.h>

#include <QStringList>

#include "../db/DbTestData.h"
#include "KelDB.h"
#include "KelExprEval.h"
#include "KelMessageBox.h"

namespace Kel {
namespace {

using Testing::MakeFish;

// Answers every message box like a user would and remembers what was asked.
class Boxes {
 public:
  explicit Boxes(int answer = mrYes)
      : answer_([this, answer](const TKelMessage& message) {
          seen.push_back(message);
          return answer;
        }) {}
  std::vector<TKelMessage> seen;

 private:
  TKelMessageBoxAnswer answer_;
};

Variant Eval(TKelExprEval& eval, const QString& text) {
  eval.SetExpression(text);
  return eval.Evaluate();
}

TEST(ExprEvalValues, WithoutAnOpenDataSetFieldsAndThenTheEvent) {
  // The closed dataset names the fields; their values come from Fields, then from the event.
  const auto fish = MakeFish();
  TKelExprEval eval;
  eval.SetDataSet(fish.get());
  TKelField* size = eval.Fields()->Add();
  size->SetName("Size");
  size->SetValue(Variant(12));
  QStringList asked;
  eval.OnGetFieldValue = [&asked](QObject*, const QString& name, Variant& value) {
    asked << name;
    value = Variant(QString("from event"));
  };
  EXPECT_TRUE(Eval(eval, "Size > 10").AsBoolean());
  EXPECT_TRUE(asked.isEmpty()) << "Fields had the value";
  EXPECT_TRUE(Eval(eval, "(Size * 2 = 24) and (Category = 'from event')").AsBoolean());
  EXPECT_EQ(asked, QStringList{"Category"});

  // Neither Fields nor the event: the field is Unassigned, which equals no text.
  eval.OnGetFieldValue = nullptr;
  EXPECT_FALSE(Eval(eval, "Category = 'x'").AsBoolean());
  EXPECT_THROW(Eval(eval, "Nowhere = 1"), Exception) << "a name nobody knows does not parse";
}

TEST(ExprEvalValues, FunctionsAndLists) {
  TKelExprEval eval;
  EXPECT_EQ(Eval(eval, "substring('abcdef', 3)").AsString(), "cdef");
  EXPECT_EQ(Eval(eval, "substring('abcdef', 2, 2)").AsString(), "bc");
  EXPECT_EQ(Eval(eval, "trimleft('xxab', 'x')").AsString(), "ab");
  EXPECT_TRUE(Eval(eval, "nosuchfunction(1)").IsNull());
  EXPECT_TRUE(Eval(eval, "year('5/6/2024') in (2023, 2024)").AsBoolean());
  EXPECT_DOUBLE_EQ(Eval(eval, "7 / 2").AsDouble(), 3.5);
}

TEST(ExprEvalValues, CompareNodesMatchWhenEitherTextBeginsTheOther) {
  const auto fish = MakeFish();
  fish->Open();
  TKelExprEval eval;
  eval.SetDataSet(fish.get());
  eval.SetOptions({foCaseInsensitive});
  eval.SetExpression("Category = 'TRIGGER'");
  EXPECT_TRUE(eval.Evaluate().AsBoolean()) << "'TRIGGER' begins 'TRIGGERFISH'";
  eval.SetExpression("Category = 'Triggerfish and more'");
  EXPECT_TRUE(eval.Evaluate().AsBoolean()) << "'TRIGGERFISH' begins the constant";
  eval.SetExpression("Category <> 'trig'");
  EXPECT_FALSE(eval.Evaluate().AsBoolean());
  eval.SetExpression("Category = ''");
  EXPECT_FALSE(eval.Evaluate().AsBoolean()) << "an empty text matches nothing";
}

TEST(ExprEvalValues, AnOpenDataSetSuppliesTheCurrentRecord) {
  const auto fish = MakeFish();
  TKelExprEval eval;
  eval.SetDataSet(fish.get());
  TKelField* extra = eval.Fields()->Add();
  extra->SetName("Limit");
  extra->SetValue(Variant(100));
  eval.SetExpression("[Length (cm)] < 100");
  eval.OnGetFieldValue = [](QObject*, const QString&, Variant& value) { value = Variant(500); };
  // Closed: the dataset's fields are known to the parser, their values come from elsewhere.
  EXPECT_FALSE(eval.Evaluate().AsBoolean());
  fish->Open();
  EXPECT_TRUE(eval.Evaluate().AsBoolean());  // 50 cm
  fish->SetRecNo(3);
  EXPECT_FALSE(eval.Evaluate().AsBoolean());  // 229 cm

  // While a record is edited, the edited values count.
  fish->Edit();
  fish->FieldByName("Length (cm)")->SetValue(Variant(10.0));
  EXPECT_TRUE(eval.Evaluate().AsBoolean());
  fish->Cancel();
  EXPECT_FALSE(eval.Evaluate().AsBoolean());

  // A name of Fields only is unknown to an open dataset.
  eval.SetExpression("Limit > 1");
  EXPECT_THROW(eval.Evaluate(), EDatabaseError);
}

TEST(ExprEvalValues, AChangedLayoutIsReadByName) {
  auto data = std::make_unique<TMemDataSet>();
  data->AddField("Size", ftInteger);
  data->AddField("Name", ftString, 10);
  data->AppendRecords({{3, "a"}, {8, "b"}});
  data->Open();
  TKelExprEval eval;
  eval.SetDataSet(data.get());
  eval.SetExpression("(Size > 5) or (Name = 'a')");
  EXPECT_TRUE(eval.Evaluate().AsBoolean());
  // The same names in another order and other records, while the condition stays parsed.
  data->Close();
  ClearDataSetFields(data.get());
  data->AddField("Name", ftString, 10);
  data->AddField("Size", ftInteger);
  data->AppendRecords({{"c", 1}, {"d", 9}});
  data->Open();
  EXPECT_FALSE(eval.Evaluate().AsBoolean());
  data->Next();
  EXPECT_TRUE(eval.Evaluate().AsBoolean());
}

TEST(ExprEvalValues, OneParsedConditionServesTwoDataSetsInTurn) {
  auto first = std::make_unique<TMemDataSet>();
  auto second = std::make_unique<TMemDataSet>();
  for (TMemDataSet* data : {first.get(), second.get()}) data->AddField("Size", ftInteger);
  first->AppendRecords({{3}, {8}, {4}});
  second->AppendRecords({{9}, {1}, {7}});
  first->Open();
  second->Open();
  TKelExprEval a, b;
  a.SetDataSet(first.get());
  a.SetExpression("Size > 5");
  b.SetDataSet(second.get());
  b.SetParser(&a.Parsed());
  // Each answer is its own dataset's, not the one worked out for the other just before.
  for (const auto& [inFirst, inSecond] : {std::pair{false, true}, {true, false}, {false, true}}) {
    EXPECT_EQ(a.Evaluate().AsBoolean(), inFirst) << first->RecNo();
    EXPECT_EQ(b.Evaluate().AsBoolean(), inSecond) << second->RecNo();
    first->Next();
    second->Next();
  }
}

TEST(ExprEvalValues, RecordsChangedAfterAnEvaluationAreReadAnew) {
  const auto fish = MakeFish();
  fish->Open();
  TKelExprEval eval;
  eval.SetDataSet(fish.get());
  eval.SetExpression("[Length (cm)] > 55");
  EXPECT_FALSE(eval.Evaluate().AsBoolean());  // record 1: 50 cm
  fish->Next();
  fish->Edit();
  fish->FieldByName("Length (cm)")->SetValue(Variant(20.0));
  fish->Post();
  EXPECT_FALSE(eval.Evaluate().AsBoolean()) << "the posted value, not the one read before";
  fish->Delete();  // the 229 cm record moves into its place
  EXPECT_TRUE(eval.Evaluate().AsBoolean());
  fish->AppendRecord({90999, "Eel", "Moray", 300.0});
  EXPECT_TRUE(eval.Evaluate().AsBoolean());
  fish->First();
  fish->Edit();
  fish->FieldByName("Length (cm)")->SetValue(Variant(70.0));
  fish->Post();
  EXPECT_TRUE(eval.Evaluate().AsBoolean());
}

TEST(ExprEvalFailures, EmptyAndBadConditions) {
  TKelExprEval eval;
  try {
    Eval(eval, "  ");
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "You can not activate filter with empty filter condition.");
  }
  try {
    Eval(eval, "a = = 1");
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_TRUE(e.Message().startsWith("Bad filter.\r\n")) << e.Message().toStdString();
  }
}

TEST(ExprEvalFailures, AFailedEvaluationYieldsFalseUntilSomethingChanges) {
  const auto fish = MakeFish();
  fish->Open();
  TKelExprEval eval;
  eval.SetDataSet(fish.get());
  eval.SetExpression("Category + 1 > 2");  // a text that is no number
  EXPECT_THROW(eval.Evaluate(), Exception);
  EXPECT_TRUE(eval.Failed());
  EXPECT_FALSE(eval.Evaluate().AsBoolean()) << "no second exception";
  EXPECT_FALSE(eval.FindFirst());
  EXPECT_EQ(fish->RecNo(), 1);

  eval.SetExpression("Category + 1 > 2");
  EXPECT_TRUE(eval.Failed()) << "the same text is no change";
  eval.SetExpression("Category = 'Shark'");
  EXPECT_FALSE(eval.Failed());
  EXPECT_TRUE(eval.FindFirst());
  EXPECT_EQ(fish->RecNo(), 6);

  // A change of Params or Fields clears the flag too; so does SetParser.
  eval.SetExpression("[Species No] > :Min");
  eval.Params()->Items(0)->SetValue(Variant("x"));
  EXPECT_THROW(eval.Evaluate(), Exception);
  eval.Params()->Items(0)->SetValue(Variant(90200));
  EXPECT_FALSE(eval.Failed());
  EXPECT_TRUE(eval.FindFirst());
  EXPECT_EQ(fish->RecNo(), 8);
  eval.SetExpression("Nope = 1");
  EXPECT_THROW(eval.Evaluate(), Exception);
  eval.Fields()->Add()->SetName("Unrelated");
  EXPECT_FALSE(eval.Failed());
}

// The truth of a condition, or 2 when asking raised; with the failed flag afterwards.
template <class Ask>
std::pair<int, bool> Truth(TKelExprEval& eval, Ask ask) {
  int truth = 2;
  try {
    truth = ask(eval) ? 1 : 0;
  } catch (const Exception&) {
  }
  return {truth, eval.Failed()};
}

TEST(ExprEvalFailures, TheTruthEntryAnswersAsTheValueDoes) {
  const auto fish = MakeFish();
  fish->Open();
  TKelExprEval byValue, byTruth;
  for (TKelExprEval* eval : {&byValue, &byTruth}) eval->SetDataSet(fish.get());
  // Null outcomes (Price and Tame are missing on some records), values that are no Boolean, a
  // text that is no truth value, and a division by zero on record 4.
  for (const char* text : {"Price > 6", "not (Price > 6)", "Tame", "Price - 5", "Common_Name",
                           "100 / (Price - 5) < -100", "([Length (cm)] > 55) or Tame"}) {
    for (TKelExprEval* eval : {&byValue, &byTruth}) eval->SetExpression(text);
    for (fish->First(); !fish->Eof(); fish->Next()) {
      if (fish->RecNo() == 5) {  // an edited record is read from its fields, not the store
        fish->Edit();
        fish->FieldByName("Price")->SetValue(Variant(4.0));
      }
      const auto expected =
          Truth(byValue, [](TKelExprEval& e) { return TExprEvaluator::IsTrue(e.Evaluate()); });
      EXPECT_EQ(Truth(byTruth, [](TKelExprEval& e) { return e.EvaluateBoolean(); }), expected)
          << text << " on record " << fish->RecNo();
      fish->Cancel();
    }
  }
}

TEST(ExprEvalChanges, ParamsAndFieldsReportChangesExpressionDoesNot) {
  TKelExprEval eval;
  std::vector<QObject*> senders;
  eval.OnChange = [&senders](QObject* sender) { senders.push_back(sender); };
  eval.SetExpression("Size between :Low and :High");
  eval.SetExpression("(Size >= :Low) and (Size <= :High) and (Name = :Name)");
  EXPECT_TRUE(senders.empty());
  ASSERT_EQ(eval.Params()->Count(), 3);
  eval.Params()->Items(0)->SetValue(Variant(1));
  eval.Params()->Items(1)->SetValue(Variant(5));
  eval.Params()->Items(2)->SetValue(Variant("O'Neil"));
  ASSERT_EQ(senders.size(), 3u);
  EXPECT_EQ(senders[0], &eval);
  TKelField* size = eval.Fields()->Add();
  EXPECT_EQ(senders.size(), 4u);
  size->SetName("Size");
  size->SetValue(Variant(3));
  TKelField* name = eval.Fields()->Add();
  name->SetName("Name");
  name->SetValue(Variant("O'Neil"));
  EXPECT_TRUE(eval.Evaluate().AsBoolean()) << "a quote in a parameter value stays a quote";

  // Values that parameters keep when the text changes, and the value callback of Params.
  eval.SetExpression("Size = :Low");
  EXPECT_EQ(eval.Params()->Items(0)->Value().AsInteger(), 1);
  eval.SetOnGetParamValue([](QObject*, const QString&, Variant& value) { value = Variant(3); });
  EXPECT_TRUE(eval.Evaluate().AsBoolean());
}

TEST(ExprEvalChanges, ParametersReadFromADataSetField) {
  const auto fish = MakeFish();
  fish->Open();
  TKelFields params(nullptr, TKelDBField::staticMetaObject);
  auto* param = static_cast<TKelDBField*>(params.Add());
  param->SetName("Low");
  param->SetValue(Variant(1));
  param->SetDataField("Length (cm)");
  param->SetDataSet(fish.get());
  EXPECT_EQ(param->DataType(), FT_FLOAT);
  EXPECT_EQ(param->Value().AsDouble(), 50.0);
  fish->Close();
  EXPECT_EQ(param->Value().AsInteger(), 1) << "closed: the stored value";
  param->SetDataField("Nope");
  EXPECT_EQ(param->DataType(), FT_UNK);
}

TEST(ExprEvalChanges, ForgetsADataSetThatGoesAway) {
  auto fish = MakeFish();
  fish->Open();
  TKelExprEval eval;
  eval.SetDataSet(fish.get());
  eval.SetExpression("Category = 'Shark'");
  EXPECT_FALSE(eval.Evaluate().AsBoolean());
  fish.reset();
  EXPECT_EQ(eval.DataSet(), nullptr);
  EXPECT_FALSE(eval.FindFirst());
  EXPECT_THROW(eval.Evaluate(), Exception) << "parsed again without the dataset's fields";
}

// ---- search

class ExprEvalSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    fish_ = MakeFish();
    fish_->Open();
    eval_.SetDataSet(fish_.get());
    // Records 2, 3, 5, 6 and 7 (60, 229, 80, 600 and 56 cm; record 8 is the excluded shark).
    eval_.SetExpression(
        "([Length (cm)] > 55) and ([Length (cm)] < 700) and not (Category = 'Shark' and [Species "
        "No] = 90230)");
  }
  int RecNo() const { return fish_->RecNo(); }

  std::unique_ptr<TMemDataSet> fish_;
  TKelExprEval eval_;
};

TEST_F(ExprEvalSearch, BothDirections) {
  EXPECT_TRUE(eval_.FindFirst());
  EXPECT_EQ(RecNo(), 2);
  EXPECT_TRUE(eval_.FindNext());
  EXPECT_EQ(RecNo(), 3);
  EXPECT_TRUE(eval_.FindNext());
  EXPECT_EQ(RecNo(), 5);
  EXPECT_TRUE(eval_.FindNext());
  EXPECT_TRUE(eval_.FindNext());
  EXPECT_EQ(RecNo(), 7);
  EXPECT_FALSE(eval_.FindNext());
  EXPECT_EQ(RecNo(), 7) << "no match: the record stays";
  EXPECT_TRUE(eval_.FindLast());
  EXPECT_EQ(RecNo(), 7);
  EXPECT_TRUE(eval_.FindPrior());
  EXPECT_EQ(RecNo(), 6);
  fish_->First();
  EXPECT_FALSE(eval_.FindPrior());
  EXPECT_EQ(RecNo(), 1);
  EXPECT_FALSE(fish_->ControlsDisabled());
}

TEST_F(ExprEvalSearch, LoopingWithoutMessages) {
  Boxes boxes;
  eval_.SetSearchInLoop(true);
  EXPECT_TRUE(eval_.FindLast());
  EXPECT_TRUE(eval_.FindNext());
  EXPECT_EQ(RecNo(), 2) << "on from the first record";
  EXPECT_TRUE(eval_.FindPrior());
  EXPECT_EQ(RecNo(), 7) << "on from the last record";
  EXPECT_TRUE(boxes.seen.empty());
}

TEST_F(ExprEvalSearch, LoopingAsksFirst) {
  eval_.SetSearchInLoop(true);
  eval_.SetShowWarningMsg(true);
  eval_.FindLast();
  {
    Boxes no(mrNo);
    EXPECT_FALSE(eval_.FindNext());
    EXPECT_EQ(RecNo(), 7);
    ASSERT_EQ(no.seen.size(), 1u);
    EXPECT_EQ(no.seen[0].Text,
              "The end of the table is reached and no matching records were found. Do you want "
              "to continue search from the begining of the table?");
    EXPECT_EQ(no.seen[0].Type, mtConfirmation);
    EXPECT_EQ(no.seen[0].Buttons, (TKelMsgDlgButtons{mbYes, mbNo}));
  }
  Boxes yes(mrYes);
  EXPECT_TRUE(eval_.FindNext());
  EXPECT_EQ(RecNo(), 2);
  EXPECT_TRUE(eval_.FindPrior());
  EXPECT_EQ(RecNo(), 7);
  ASSERT_EQ(yes.seen.size(), 2u);
  EXPECT_EQ(yes.seen[1].Text,
            "The begin of the table is reached and no matching record were found. Do you want to "
            "continue search from the end of the table?");
}

TEST_F(ExprEvalSearch, MessagesWithoutLooping) {
  Boxes boxes;
  eval_.SetShowWarningMsg(true);
  eval_.FindLast();
  EXPECT_FALSE(eval_.FindNext());
  fish_->First();
  EXPECT_FALSE(eval_.FindPrior());
  eval_.SetExpression("Category = 'Eel'");
  EXPECT_FALSE(eval_.FindFirst());
  EXPECT_FALSE(eval_.FindLast());
  ASSERT_EQ(boxes.seen.size(), 4u);
  EXPECT_EQ(boxes.seen[0].Text,
            "The end of the table is reached and no matching records were found.");
  EXPECT_EQ(boxes.seen[0].Type, mtWarning);
  EXPECT_EQ(boxes.seen[1].Text,
            "The begin of the table is reached and no matching record were found.");
  EXPECT_EQ(boxes.seen[2].Text, "There are no records that match the search criteria.");
  EXPECT_EQ(boxes.seen[2].Type, mtError);
  EXPECT_EQ(boxes.seen[2].Buttons, TKelMsgDlgButtons{mbOK});
  EXPECT_EQ(boxes.seen[3].Text, boxes.seen[2].Text);
}

TEST_F(ExprEvalSearch, ClosedDataSetFindsNothingSilently) {
  Boxes boxes;
  eval_.SetShowWarningMsg(true);
  eval_.SetSearchInLoop(true);
  fish_->Close();
  EXPECT_FALSE(eval_.FindFirst());
  EXPECT_FALSE(eval_.FindNext());
  EXPECT_FALSE(eval_.FindPrior());
  EXPECT_FALSE(eval_.FindLast());
  EXPECT_TRUE(boxes.seen.empty());
}

TEST_F(ExprEvalSearch, AnErrorReturnsToTheRecordAndReachesTheCaller) {
  // Record 4 costs 5: the division by zero raises there, after records 2 and 3 were passed.
  eval_.SetExpression("100 / (Price - 5) < -100");
  fish_->SetRecNo(1);
  EXPECT_THROW(eval_.FindNext(), Exception);
  EXPECT_EQ(RecNo(), 1);
  EXPECT_FALSE(fish_->ControlsDisabled());
  EXPECT_FALSE(eval_.FindNext()) << "failed: nothing is found any more";
}

TEST_F(ExprEvalSearch, FilteredDataSetIsSearchedAsShown) {
  fish_->SetFilter("[Species No] >= 90080");
  fish_->SetFiltered(true);
  EXPECT_TRUE(eval_.FindFirst());
  EXPECT_EQ(fish_->FieldByName("Species No")->AsInteger(), 90080);
  EXPECT_EQ(RecNo(), 1);
}

TEST(ExprEvalAssign, CopiesTheSettingsThatDescribeTheCondition) {
  const auto fish = MakeFish();
  TKelExprEval a, b;
  a.SetDataSet(fish.get());
  a.SetOptions({foNoPartialCompare});
  a.SetExpression("[Species No] = :No");
  a.Params()->Items(0)->SetValue(Variant(90020));
  a.SetSearchInLoop(true);
  b.Assign(&a);
  EXPECT_EQ(b.DataSet(), fish.get());
  EXPECT_EQ(b.Options(), TFilterOptions{foNoPartialCompare});
  EXPECT_EQ(b.Expression(), "[Species No] = :No");
  EXPECT_EQ(b.Params()->Items(0)->Value().AsInteger(), 90020);
  EXPECT_FALSE(b.SearchInLoop());
  fish->Open();
  EXPECT_TRUE(b.Evaluate().AsBoolean());
}

}  // namespace
}  // namespace Kel
