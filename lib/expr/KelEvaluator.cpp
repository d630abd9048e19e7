#include "KelEvaluator.h"

#include <QHash>
#include <algorithm>

#include "CompiledFilter.h"
#include "Exceptions.h"
#include "ExprParser.h"
#include "Fields.h"
#include "KelDB.h"
#include "KelEmulDataSet.h"
#include "KelExprConsts.h"
#include "KelMessageBox.h"
#include "RestoreOnExit.h"
#include "StrUtils.h"

namespace Kel {

// ---------------------------------------------------------------------------------------------
// TKelParsedExpr

// The stored columns of a dataset as the compiled condition sees them. Fields are found by the
// names the condition was parsed with, not by their numbers then: the dataset's fields may have
// changed since, and the evaluator reads "the dataset field of that name".
class TKelParsedExpr::RowSource : public TFilterRowSource {
 public:
  RowSource(const TDataSet& dataSet, const std::vector<TExprNode>& nodes) : dataSet_(dataSet) {
    for (const TExprNode& node : nodes)
      if (node.Class == nodeField) names_.insert(node.FieldNo, node.Name);
  }

  const TColumn* ColumnOf(int fieldNo) const override {
    const QString name = names_.value(fieldNo);
    const TField* field = name.isEmpty() ? nullptr : dataSet_.FindField(name);
    return field ? dataSet_.RowSource().ColumnOf(field->FieldNo()) : nullptr;
  }

  Variant ValueAt(int, const QString& fieldName, int row) const override {
    // Number 0: the field is found by its name (and an unknown name raises as FieldByName does).
    return dataSet_.RowSource().ValueAt(0, fieldName, row);
  }

 private:
  const TDataSet& dataSet_;
  QHash<int, QString> names_;
};

TKelParsedExpr::TKelParsedExpr(std::unique_ptr<TExprParser> parser)
    : parser_(std::move(parser)), evaluator_(parser_->FilterData(), ccrEitherPrefix) {}

TKelParsedExpr::~TKelParsedExpr() = default;

namespace {

// Rows worked out at once when a condition meets a row outside the block it has.
constexpr int OutcomeBlock = 1024;

}  // namespace

Variant TKelParsedExpr::EvaluateRow(const TDataSet& dataSet, int row) const {
  if (row >= 0) {
    const TCompiledFilter& compiled = CompiledFor(dataSet);
    // A condition that reads stored columns only, and cannot raise, is worked out for the
    // block around the row: the rows a search visits next come from there.
    if (batchable_) return OutcomeValue(OutcomeOf(compiled, dataSet, row));
    return compiled.Value(row);
  }
  // No stored record behind the fields (one being edited, or none at all): their values.
  return evaluator_.Evaluate(
      [&dataSet](int, const QString& name) { return dataSet.FieldByName(name)->Value(); });
}

int TKelParsedExpr::BlockOutcome(const TDataSet& dataSet, int row) const {
  if (row < 0) return -1;
  const TCompiledFilter& compiled = CompiledFor(dataSet);
  return batchable_ ? OutcomeOf(compiled, dataSet, row) : -1;
}

const TCompiledFilter& TKelParsedExpr::CompiledFor(const TDataSet& dataSet) const {
  if (!compiled_ || compiledDataSet_.data() != &dataSet ||
      compiledLayout_ != dataSet.LayoutGeneration()) {
    compiled_.reset();
    source_ = std::make_unique<RowSource>(dataSet, evaluator_.Nodes());
    compiled_ = std::make_unique<TCompiledFilter>(evaluator_, *source_);
    compiledDataSet_ = const_cast<TDataSet*>(&dataSet);
    compiledLayout_ = dataSet.LayoutGeneration();
    batchable_ = compiled_->Batchable();
    outcomesEnd_ = outcomesBegin_ = 0;
  }
  return *compiled_;
}

int TKelParsedExpr::OutcomeOf(const TCompiledFilter& compiled, const TDataSet& dataSet,
                              int row) const {
  if (row < outcomesBegin_ || row >= outcomesEnd_ || outcomesVersion_ != dataSet.DataVersion()) {
    outcomesBegin_ = row / OutcomeBlock * OutcomeBlock;
    outcomesEnd_ = std::min(outcomesBegin_ + OutcomeBlock, dataSet.StoredRowCount());
    outcomes_.resize(static_cast<size_t>(outcomesEnd_ - outcomesBegin_));
    compiled.Outcomes(outcomesBegin_, outcomesEnd_ - outcomesBegin_, outcomes_.data());
    outcomesVersion_ = dataSet.DataVersion();
  }
  return outcomes_[static_cast<size_t>(row - outcomesBegin_)];
}

// ---------------------------------------------------------------------------------------------
// TKelDBField

TKelDBField::TKelDBField(TCollection* collection) : TKelField(collection) {}

void TKelDBField::SetDataSet(TDataSet* value) {
  if (value == dataSet_) return;
  dataSet_ = value;
  LinkComponent(value);
  FollowFieldType();
}

void TKelDBField::SetDataField(const QString& value) {
  dataField_ = value;
  FollowFieldType();
}

TField* TKelDBField::Field() const {
  if (!dataSet_ || dataField_.isEmpty()) return nullptr;
  return DataSet()->FindField(dataField_);
}

void TKelDBField::FollowFieldType() {
  if (!dataSet_) return;  // a plain parameter: its type follows its value
  const TField* field = Field();
  const TKelFieldType type = field ? FieldTypeToKelFieldType(field->DataType()) : FT_UNK;
  if (type == DataType()) return;
  Variant stored;
  TKelField::ReadStoredValue(stored);
  StoreWithType(stored, type);
}

void TKelDBField::ReadStoredValue(Variant& value) const {
  const TField* field = Field();
  if (field && DataSet()->Active()) {
    value = field->Value();
    return;
  }
  TKelField::ReadStoredValue(value);
}

void TKelDBField::ComponentRemoved(TComponent* component, TOperation operation) {
  if (operation == opRemove && dataSet_.data() == component) dataSet_ = nullptr;
}

void TKelDBField::Assign(TPersistent* source) {
  TKelField::Assign(source);
  if (auto* other = qobject_cast<TKelDBField*>(source); other && other != this) {
    dataField_ = other->dataField_;
    dataSet_ = nullptr;
    SetDataSet(other->DataSet());
  }
}

// ---------------------------------------------------------------------------------------------
// TKelCustomExprEval

TKelCustomExprEval::TKelCustomExprEval(TComponent* owner)
    : TComponent(owner),
      params_(std::make_unique<TKelFields>(this, TKelDBField::staticMetaObject)),
      fields_(std::make_unique<TKelFields>(this, TKelField::staticMetaObject)) {
  params_->OnCollectionChange = [this](TKelCustomNamedItems*) { CollectionChanged(); };
  fields_->OnCollectionChange = [this](TKelCustomNamedItems*) { CollectionChanged(); };
  ownValues_ = [this](int, const QString& name) {
    Variant value;
    GetFieldValue(name, value);
    return value;
  };
}

TKelCustomExprEval::~TKelCustomExprEval() {
  params_->OnCollectionChange = nullptr;
  fields_->OnCollectionChange = nullptr;
  DropParser();
}

void TKelCustomExprEval::CollectionChanged() {
  if (refreshingParams_) return;
  DropParser();
  failed_ = false;
  DoChange(this);
}

void TKelCustomExprEval::DoChange(QObject* sender) {
  if (OnChange) OnChange(sender);
}

void TKelCustomExprEval::DropParser() {
  parsed_ = nullptr;
  ownParsed_.reset();
}

void TKelCustomExprEval::SetDataSet(TDataSet* value) {
  if (value == dataSet_) return;
  if (dataSet_) DataSet()->RemoveFreeNotification(this);
  dataSet_ = value;
  if (value) value->FreeNotification(this);
  ParsingInputsChanged();
}

void TKelCustomExprEval::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && dataSet_.data() == component) {
    dataSet_ = nullptr;
    ParsingInputsChanged();
  }
}

void TKelCustomExprEval::SetExpression(const QString& value) {
  const QString text = Trim(value);
  if (text == expression_) return;
  expression_ = text;
  if (!text.isEmpty()) {
    failed_ = false;
    // The new parameter list is no change that anyone must hear of.
    RestoreOnExit<bool> quiet(refreshingParams_, true);
    RefreshParams(params_.get(), text);
  }
  DropParser();
}

void TKelCustomExprEval::SetOptions(TFilterOptions value) {
  if (value == options_) return;
  options_ = value;
  ParsingInputsChanged();
}

void TKelCustomExprEval::SetParams(TKelFields* value) {
  if (value && value != params_.get()) params_->Assign(value);
}

void TKelCustomExprEval::SetFields(TKelFields* value) {
  if (value && value != fields_.get()) fields_->Assign(value);
}

void TKelCustomExprEval::Assign(TPersistent* source) {
  auto* other = qobject_cast<TKelCustomExprEval*>(source);
  if (!other) {
    TComponent::Assign(source);
    return;
  }
  SetDataSet(other->DataSet());
  SetOptions(other->Options());
  SetExpression(other->Expression());
  SetParams(other->Params());
}

void TKelCustomExprEval::SetParser(TKelParsedExpr* parser) {
  DropParser();
  parsed_ = parser;
  expression_.clear();
  failed_ = false;
}

void TKelCustomExprEval::GetExpressionText(QString& text) { text = expression_; }

std::unique_ptr<TKelParsedExpr> TKelCustomExprEval::GetParser() {
  QString text;
  GetExpressionText(text);
  text = SubstituteParams(text, params_.get());
  if (Trim(text).isEmpty()) throw Exception(KelExprText::EmptyFilter());
  return ParseText(text);
}

std::unique_ptr<TKelParsedExpr> TKelCustomExprEval::ParseText(const QString& text) const {
  TKelEmulDataSet fields;
  if (dataSet_) fields.CopyFields(DataSet());
  for (int i = 0; i < fields_->Count(); ++i) {
    const TKelField* item = fields_->Items(i);
    if (!fields.FindField(item->Name()))
      fields.AddField(item->Name(), KelFieldTypeToFieldType(item->DataType()));
  }
  return std::make_unique<TKelParsedExpr>(
      CreateFilterParser(&fields, text, options_, TParserOptions{poExtSyntax}));
}

TKelParsedExpr& TKelCustomExprEval::Parsed() {
  if (!parsed_) {
    ownParsed_ = GetParser();
    parsed_ = ownParsed_.get();
  }
  return *parsed_;
}

void TKelCustomExprEval::GetFieldValue(const QString& name, Variant& value) {
  value = Variant();
  if (const TKelField* field = fields_->FieldByName(name)) value = field->Value();
  if (value.IsEmpty() && OnGetFieldValue) OnGetFieldValue(this, name, value);
}

Variant TKelCustomExprEval::Evaluate() {
  if (failed_) return Variant(false);
  try {
    const TKelParsedExpr& parsed = parsed_ ? *parsed_ : Parsed();
    const TDataSet* dataSet = DataSet();
    if (dataSet && dataSet->Active()) return parsed.EvaluateRecord(*dataSet);
    return parsed.Evaluate(ownValues_);
  } catch (...) {
    failed_ = true;
    throw;
  }
}

bool TKelCustomExprEval::EvaluateBoolean() {
  // A search asks record after record: the answer mostly lies in the block of outcomes worked
  // out last, and then costs a few compares and no call.
  if (parsed_ && !failed_ && dataSet_) {
    const TDataSet& dataSet = *DataSet();
    if (dataSet.Active()) {
      const int outcome = parsed_->CachedRecordOutcome(dataSet);
      if (outcome >= 0) return outcome == 1;
    }
  }
  return EvaluateBooleanSlowly();
}

bool TKelCustomExprEval::EvaluateBooleanSlowly() {
  if (failed_) return false;
  if (parsed_) {
    if (const TDataSet* dataSet = SearchableDataSet()) {
      int outcome = -1;
      try {
        outcome = parsed_->RecordOutcome(*dataSet);
      } catch (...) {
        failed_ = true;  // as Evaluate, which would have met the same error
        throw;
      }
      if (outcome >= 0) return outcome == 1;
    }
  }
  return TExprEvaluator::IsTrue(Evaluate());
}

void TKelCustomExprEval::Evaluate(Variant& value) {
  try {
    value = Evaluate();
  } catch (...) {
    value = Variant(false);
    throw;
  }
}

// ---------------------------------------------------------------------------------------------
// Search

TDataSet* TKelCustomExprEval::SearchableDataSet() const {
  return dataSet_ && DataSet()->Active() ? DataSet() : nullptr;
}

namespace {

enum TSearchDirection { sdFirst = 0, sdNext = 1, sdPrior = 2, sdLast = 3 };

void ReturnTo(TDataSet* dataSet, const TBookmark& bookmark) {
  if (!bookmark.isEmpty()) dataSet->GotoBookmark(bookmark);
}

}  // namespace

bool TKelCustomExprEval::LocateRecord(int direction) {
  TDataSet* dataSet = SearchableDataSet();
  // A failed condition yields False for every record: nothing to walk through.
  if (!dataSet || failed_) return false;
  dataSet->DisableControls();
  const TBookmark bookmark = dataSet->GetBookmark();
  bool found = false;
  try {
    switch (direction) {
      case sdFirst:
        dataSet->First();
        break;
      case sdNext:
        dataSet->Next();
        break;
      case sdPrior:
        dataSet->Prior();
        break;
      default:
        dataSet->Last();
        break;
    }
    const bool forward = direction == sdFirst || direction == sdNext;
    while (forward ? !dataSet->Eof() : !dataSet->Bof()) {
      if (EvaluateBoolean()) {
        found = true;
        break;
      }
      if (forward)
        dataSet->Next();
      else
        dataSet->Prior();
    }
    if (!found) ReturnTo(dataSet, bookmark);
  } catch (...) {
    try {
      ReturnTo(dataSet, bookmark);
    } catch (const Exception&) {
      // The record is gone; the first error is the one to report.
    }
    dataSet->EnableControls();
    throw;
  }
  dataSet->EnableControls();
  return found;
}

bool TKelCustomExprEval::FindFirst() {
  if (!SearchableDataSet()) return false;
  const bool found = LocateRecord(sdFirst);
  if (!found && showWarningMsg_) KelMessageBox(KelExprText::NoMatchingRecords(), mtError, {mbOK});
  return found;
}

bool TKelCustomExprEval::FindLast() {
  if (!SearchableDataSet()) return false;
  const bool found = LocateRecord(sdLast);
  if (!found && showWarningMsg_) KelMessageBox(KelExprText::NoMatchingRecords(), mtError, {mbOK});
  return found;
}

bool TKelCustomExprEval::FindNext() {
  if (!SearchableDataSet()) return false;
  return LocateRecord(sdNext) || FindAfterEnd(true);
}

bool TKelCustomExprEval::FindPrior() {
  if (!SearchableDataSet()) return false;
  return LocateRecord(sdPrior) || FindAfterEnd(false);
}

bool TKelCustomExprEval::FindAfterEnd(bool forward) {
  const QString reached = forward ? KelExprText::EndReached() : KelExprText::BeginReached();
  if (searchInLoop_) {
    if (showWarningMsg_) {
      const QString question =
          reached + (forward ? KelExprText::ContinueFromBegin() : KelExprText::ContinueFromEnd());
      if (KelMessageBox(question, mtConfirmation, {mbYes, mbNo}) != mrYes) return false;
    }
    return forward ? FindFirst() : FindLast();
  }
  if (showWarningMsg_) KelMessageBox(reached, mtWarning, {mbOK});
  return false;
}

// ---------------------------------------------------------------------------------------------
// TKelExprEval

TKelExprEval::TKelExprEval(TComponent* owner) : TKelCustomExprEval(owner) {}

}  // namespace Kel
