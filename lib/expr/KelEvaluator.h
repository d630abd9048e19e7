#pragma once
// The expression evaluator: a filter condition (the text a filter box writes into a dataset's
// Filter) tested against one record at a time, and record search with it. Part of unit
// KelExprEval.
//
// The condition is parsed by the dataset layer's filter parser against an emulated dataset
// that carries the fields of DataSet plus the evaluator's own Fields, so a text may name values
// that no dataset holds. Field values come from DataSet while it is open, else from Fields and
// then OnGetFieldValue. Parameters (":Name") take their values from Params.
//
// Evaluation runs the shared evaluator of the dataset layer (ExprEvaluator.h) with its
// "either string a prefix of the other" rule for compare nodes. While DataSet is open and shows
// a stored record, the condition runs compiled over the stored columns (CompiledFilter.h): the
// same answers, errors included, without building a Variant per field.
//
// An evaluation that raises sets the failed flag: from then on Evaluate yields False without
// evaluating, so searches find nothing, until a new Expression, a change of Params or Fields,
// or SetParser. The exception still reaches the caller once.

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "Component.h"
#include "DBTypes.h"
#include "DataSet.h"
#include "ExprEvaluator.h"
#include "KelExport.h"
#include "KelFields.h"

namespace Kel {

class TCompiledFilter;
class TExprParser;
class TField;

// A parsed condition, ready to run: the parser's canned expression decoded once, and its
// compiled form for the open dataset it last ran on (made again when that dataset's layout
// changes).
class KEL_EXPORT TKelParsedExpr {
 public:
  explicit TKelParsedExpr(std::unique_ptr<TExprParser> parser);
  ~TKelParsedExpr();
  TKelParsedExpr(const TKelParsedExpr&) = delete;
  TKelParsedExpr& operator=(const TKelParsedExpr&) = delete;

  const TExprParser& Parser() const { return *parser_; }
  const TExprEvaluator& Evaluator() const { return evaluator_; }

  // The value for the current record of dataSet (open), by the values of its fields.
  Variant EvaluateRecord(const TDataSet& dataSet) const {
    const int row = dataSet.CurrentRow();
    if (InOutcomeBlock(dataSet, row)) return OutcomeValue(outcomes_[BlockIndex(row)]);
    return EvaluateRow(dataSet, row);
  }
  // The same as an outcome (0 false, 1 true, 2 Null) when it is known without building the
  // value: the record lies in the block worked out last, or the condition is worked out in
  // blocks, which cannot raise. -1 when only EvaluateRecord can tell.
  int RecordOutcome(const TDataSet& dataSet) const {
    const int row = dataSet.CurrentRow();
    if (InOutcomeBlock(dataSet, row)) return outcomes_[BlockIndex(row)];
    return BlockOutcome(dataSet, row);
  }
  // The outcome when the record lies in the block worked out last, else -1: no work beyond a
  // few compares.
  int CachedRecordOutcome(const TDataSet& dataSet) const {
    const int row = dataSet.CurrentRow();
    return InOutcomeBlock(dataSet, row) ? outcomes_[BlockIndex(row)] : -1;
  }
  // The value for the values that lookup gives.
  Variant Evaluate(const TFieldValueLookup& lookup) const { return evaluator_.Evaluate(lookup); }

 private:
  class RowSource;
  // 0 false, 1 true, 2 Null.
  static Variant OutcomeValue(int outcome) {
    return outcome == 2 ? Variant::Null() : Variant(outcome == 1);
  }
  // A search asks for the rows in turn: most lie in the block worked out last. The block holds
  // while the compiled form it came from does (same dataset, same layout; a new compiled form
  // empties it) and the stored values are those of then.
  bool InOutcomeBlock(const TDataSet& dataSet, int row) const {
    return row >= outcomesBegin_ && row < outcomesEnd_ &&
           outcomesVersion_ == dataSet.DataVersion() &&
           compiledLayout_ == dataSet.LayoutGeneration() && compiledDataSet_.data() == &dataSet;
  }
  size_t BlockIndex(int row) const { return static_cast<size_t>(row - outcomesBegin_); }
  Variant EvaluateRow(const TDataSet& dataSet, int row) const;
  int BlockOutcome(const TDataSet& dataSet, int row) const;
  const TCompiledFilter& CompiledFor(const TDataSet& dataSet) const;
  int OutcomeOf(const TCompiledFilter& compiled, const TDataSet& dataSet, int row) const;

  std::unique_ptr<TExprParser> parser_;
  TExprEvaluator evaluator_;
  mutable QPointer<TDataSet> compiledDataSet_;
  mutable uint64_t compiledLayout_ = 0;
  mutable std::unique_ptr<RowSource> source_;
  mutable std::unique_ptr<TCompiledFilter> compiled_;
  mutable bool batchable_ = false;
  // Outcomes of a block of stored rows, worked out at once: a search asks for the rows in turn.
  mutable std::vector<uint8_t> outcomes_;
  mutable int outcomesBegin_ = 0;
  mutable int outcomesEnd_ = 0;
  mutable uint64_t outcomesVersion_ = 0;
};

// A parameter whose value can come from a dataset field: while DataSet is open and has a field
// DataField, the value is that field's, else the value stored in the parameter. DataType
// follows the field's type (FT_UNK without one) whenever DataSet or DataField is set.
class KEL_EXPORT TKelDBField : public TKelField {
  Q_OBJECT
  Q_MOC_INCLUDE("DataSet.h")
  Q_PROPERTY(Kel::TDataSet* DataSet READ DataSet WRITE SetDataSet)
  Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)

 public:
  Q_INVOKABLE explicit TKelDBField(TCollection* collection);

  TDataSet* DataSet() const { return static_cast<TDataSet*>(dataSet_.data()); }
  void SetDataSet(TDataSet* value);
  QString DataField() const { return dataField_; }
  void SetDataField(const QString& value);
  // The dataset field this parameter reads, or nullptr.
  TField* Field() const;

  void Assign(TPersistent* source) override;

 protected:
  void ReadStoredValue(Variant& value) const override;
  void ComponentRemoved(TComponent* component, TOperation operation) override;

 private:
  void FollowFieldType();

  // Held as a QObject: a dataset being destroyed is no TDataSet any more when it says so.
  QPointer<QObject> dataSet_;
  QString dataField_;
};

class KEL_EXPORT TKelCustomExprEval : public TComponent {
  Q_OBJECT

 public:
  using TNotifyEvent = std::function<void(QObject* sender)>;

  Q_INVOKABLE explicit TKelCustomExprEval(TComponent* owner = nullptr);
  ~TKelCustomExprEval() override;

  // The condition's value for the current values (normally a Boolean); False while failed.
  void Evaluate(Variant& value);
  Variant Evaluate();
  // Whether the condition holds for the current values: what TExprEvaluator::IsTrue makes of
  // Evaluate(), with the same errors and failed flag, but without building the value when the
  // record's outcome is known already. The entry for searches and colour rules.
  bool EvaluateBoolean();
  bool Failed() const { return failed_; }

  // Search: a matching record was found and made current. Without a match the dataset stays
  // on its record; with ShowWarningMsg the user is told (through KelMessageBox), with
  // SearchInLoop FindNext and FindPrior go on from the other end (after asking, with
  // ShowWarningMsg). A closed dataset finds nothing, silently.
  bool FindFirst();
  bool FindNext();
  bool FindPrior();
  bool FindLast();

  // Installs a parsed condition that the caller owns (nullptr: none): Expression becomes
  // empty and the failed flag is cleared.
  void SetParser(TKelParsedExpr* parser);
  // The condition in use, parsed now if there is none yet.
  TKelParsedExpr& Parsed();

  TDataSet* DataSet() const { return static_cast<TDataSet*>(dataSet_.data()); }
  virtual void SetDataSet(TDataSet* value);
  QString Expression() const { return expression_; }
  // Trimmed; a new text refreshes Params (values of names that stay are kept), clears the
  // failed flag and drops the parsed condition. OnChange is not fired.
  void SetExpression(const QString& value);
  TFilterOptions Options() const { return options_; }
  void SetOptions(TFilterOptions value);
  bool SearchInLoop() const { return searchInLoop_; }
  void SetSearchInLoop(bool value) { searchInLoop_ = value; }
  bool ShowWarningMsg() const { return showWarningMsg_; }
  void SetShowWarningMsg(bool value) { showWarningMsg_ = value; }
  // Parameter values (TKelDBField items); copied on assignment.
  TKelFields* Params() const { return params_.get(); }
  void SetParams(TKelFields* value);
  // Extra named values usable as fields (TKelField items); copied on assignment.
  TKelFields* Fields() const { return fields_.get(); }
  void SetFields(TKelFields* value);
  // The value callback of Params.
  TKelOnGetValue OnGetParamValue() const { return params_->OnGetValue; }
  void SetOnGetParamValue(TKelOnGetValue value) { params_->OnGetValue = std::move(value); }

  // Copies DataSet, Options, Expression and Params of another evaluator; the condition is
  // parsed again when next needed.
  void Assign(TPersistent* source) override;

  TNotifyEvent OnChange;
  // Supplies a field value that Fields lacks (the value arrives Unassigned).
  TKelOnGetValue OnGetFieldValue;

 protected:
  // A new parsed condition for the current text; raises for an empty or bad text.
  virtual std::unique_ptr<TKelParsedExpr> GetParser();
  virtual void GetExpressionText(QString& text);
  // The value of a name when no dataset is open: Fields, then OnGetFieldValue.
  virtual void GetFieldValue(const QString& name, Variant& value);
  virtual void DoChange(QObject* sender);
  void Notification(TComponent* component, TOperation operation) override;

  // Parses text (parameters substituted already) against the fields of DataSet and Fields;
  // the text goes to the parser as it is, empty or not.
  std::unique_ptr<TKelParsedExpr> ParseText(const QString& text) const;
  void DropParser();
  // What the condition is parsed against changed (DataSet, Options): the parsed condition goes.
  virtual void ParsingInputsChanged() { DropParser(); }
  void SetFailed(bool value) { failed_ = value; }
  // The dataset to search, or nullptr when there is none or it is closed.
  TDataSet* SearchableDataSet() const;

 private:
  bool EvaluateBooleanSlowly();
  bool LocateRecord(int direction);
  bool FindAfterEnd(bool forward);
  void CollectionChanged();

  // Held as a QObject: a dataset being destroyed is no TDataSet any more when it says so.
  QPointer<QObject> dataSet_;
  QString expression_;
  TFilterOptions options_;
  bool searchInLoop_ = false;
  bool showWarningMsg_ = false;
  bool failed_ = false;
  bool refreshingParams_ = false;
  std::unique_ptr<TKelFields> params_;
  std::unique_ptr<TKelFields> fields_;
  std::unique_ptr<TKelParsedExpr> ownParsed_;
  TKelParsedExpr* parsed_ = nullptr;  // ownParsed_, or one installed by SetParser
  TFieldValueLookup ownValues_;
};

// The evaluator as a published component.
class KEL_EXPORT TKelExprEval : public TKelCustomExprEval {
  Q_OBJECT
  Q_MOC_INCLUDE("DataSet.h")
  Q_PROPERTY(Kel::TDataSet* DataSet READ DataSet WRITE SetDataSet)
  Q_PROPERTY(Kel::TSet<Kel::DB::TFilterOption> Options READ Options WRITE SetOptions)
  Q_CLASSINFO("default:Options", "[]")
  Q_PROPERTY(QString Expression READ Expression WRITE SetExpression)
  Q_PROPERTY(Kel::TKelFields* Params READ Params WRITE SetParams)
  Q_PROPERTY(Kel::TKelFields* Fields READ Fields WRITE SetFields)
  Q_PROPERTY(bool SearchInLoop READ SearchInLoop WRITE SetSearchInLoop)
  Q_CLASSINFO("default:SearchInLoop", "False")
  Q_PROPERTY(bool ShowWarningMsg READ ShowWarningMsg WRITE SetShowWarningMsg)
  Q_CLASSINFO("default:ShowWarningMsg", "False")

 public:
  Q_INVOKABLE explicit TKelExprEval(TComponent* owner = nullptr);
};

}  // namespace Kel
