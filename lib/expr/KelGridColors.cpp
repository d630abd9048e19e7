#include "KelGridColors.h"

#include "RestoreOnExit.h"
#include "StrUtils.h"

namespace Kel {

// ---------------------------------------------------------------------------------------------
// TKelRecordSetStyle

TKelRecordSetStyle::TKelRecordSetStyle(TCollection* collection)
    : TKelNamedItem(collection),
      font_(std::make_unique<TFont>()),
      params_(std::make_unique<TKelFields>(this, TKelDBField::staticMetaObject)) {
  font_->OnChange = [this](TFont*) { Changed(); };
  params_->OnGetValue = [this](QObject*, const QString& name, Variant& value) {
    if (TKelGridColors* owner = GridColors()) owner->DoGetItemParamValue(this, name, value);
  };
  // A new parameter value makes another condition.
  params_->OnCollectionChange = [this](TKelCustomNamedItems*) {
    if (refreshingParams_) return;
    DropCondition();
    Changed();
  };
}

TKelRecordSetStyle::~TKelRecordSetStyle() {
  font_->OnChange = nullptr;
  params_->OnCollectionChange = nullptr;
  params_->OnGetValue = nullptr;
}

TKelGridColors* TKelRecordSetStyle::GridColors() const {
  const auto* rules = qobject_cast<TKelRecordSetStyles*>(Collection());
  return rules ? rules->GridColors() : nullptr;
}

void TKelRecordSetStyle::SetFont(TFont* value) {
  if (value && value != font_.get()) font_->Assign(value);
}

void TKelRecordSetStyle::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Changed();
}

void TKelRecordSetStyle::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  Changed();
}

void TKelRecordSetStyle::SetFilter(const QString& value) {
  const QString text = Trim(value);
  if (text == filter_) return;
  filter_ = text;
  DropCondition();
  Changed();
}

void TKelRecordSetStyle::SetExcludeFilter(const QString& value) {
  const QString text = Trim(value);
  if (text == excludeFilter_) return;
  excludeFilter_ = text;
  DropCondition();
  Changed();
}

void TKelRecordSetStyle::SetParams(TKelFields* value) {
  if (value && value != params_.get()) params_->Assign(value);
}

QString TKelRecordSetStyle::DataField() const {
  QStringList names;
  for (const QString& name : fieldList_) names << (name.contains(u' ') ? u'[' + name + u']' : name);
  return names.join(QStringLiteral(", "));
}

void TKelRecordSetStyle::SetDataField(const QString& value) {
  fieldList_.clear();
  for (const QString& part : value.split(u',')) {
    QString name = Trim(part);
    if (name.startsWith(u'[')) name = name.mid(1, name.size() - 2);
    if (!name.isEmpty()) fieldList_ << name;
  }
  Changed();
}

QString TKelRecordSetStyle::ConditionText() const {
  QString text = filter_;
  if (!excludeFilter_.isEmpty()) {
    if (!text.isEmpty()) text = "(" + text + ") And ";
    text += "( Not (" + excludeFilter_ + "))";
  }
  return text;
}

void TKelRecordSetStyle::Assign(TPersistent* source) {
  auto* other = qobject_cast<TKelRecordSetStyle*>(source);
  if (!other) {
    TKelNamedItem::Assign(source);
    return;
  }
  if (other == this) return;
  // One change report for the whole copy.
  TCollection* rules = Collection();
  if (rules) rules->BeginUpdate();
  SetName(other->Name());
  font_->Assign(other->font_.get());
  SetColor(other->color_);
  SetFilter(other->filter_);
  readOnly_ = other->readOnly_;
  fieldList_ = other->fieldList_;
  SetExcludeFilter(other->excludeFilter_);
  params_->Assign(other->params_.get());
  DropCondition();
  SetActive(other->active_);
  if (rules) rules->EndUpdate();
}

// ---------------------------------------------------------------------------------------------
// TKelRecordSetStyles

TKelRecordSetStyles::TKelRecordSetStyles(TKelGridColors* owner)
    : TKelNamedItems(owner, TKelRecordSetStyle::staticMetaObject), gridColors_(owner) {}

// ---------------------------------------------------------------------------------------------
// TKelGridColors

TKelGridColors::TKelGridColors(TComponent* owner)
    : TKelCustomExprEval(owner), recordsInfo_(std::make_unique<TKelRecordSetStyles>(this)) {
  recordsInfo_->OnCollectionChange = [this](TKelCustomNamedItems* sender) { DoChange(sender); };
}

TKelGridColors::~TKelGridColors() {
  recordsInfo_->OnCollectionChange = nullptr;
  SetParser(nullptr);
}

void TKelGridColors::SetRecordsInfo(TKelRecordSetStyles* value) {
  if (value && value != recordsInfo_.get()) recordsInfo_->Assign(value);
}

void TKelGridColors::DropConditions() {
  for (int i = 0; i < recordsInfo_->Count(); ++i) recordsInfo_->Items(i)->DropCondition();
}

void TKelGridColors::DoChange(QObject* sender) {
  DropConditions();
  TKelCustomExprEval::DoChange(sender);
}

void TKelGridColors::ParsingInputsChanged() {
  TKelCustomExprEval::ParsingInputsChanged();
  DropConditions();
}

void TKelGridColors::DoGetItemParamValue(TKelRecordSetStyle* item, const QString& name,
                                         Variant& value) {
  if (OnGetItemParamValue) OnGetItemParamValue(this, item, name, value);
}

TKelParsedExpr& TKelGridColors::StyleCondition(TKelRecordSetStyle* rule) {
  if (rule->condition_) return *rule->condition_;
  QString text = rule->ConditionText();
  try {
    if (!text.isEmpty()) {
      RestoreOnExit<bool> quiet(rule->refreshingParams_, true);
      RefreshParams(rule->Params(), text);
    }
    text = SubstituteParams(text, rule->Params());
    // Unlike a search, an empty text goes to the parser too, which refuses it.
    rule->condition_ = ParseText(text);
  } catch (...) {
    rule->SetActive(false);
    throw;
  }
  return *rule->condition_;
}

void TKelGridColors::GetCellStyle(const QString& fieldName, bool& found, TColor& color,
                                  TFont*& font) {
  found = false;
  for (int i = 0; i < recordsInfo_->Count(); ++i) {
    TKelRecordSetStyle* rule = recordsInfo_->Items(i);
    if (!rule->Active()) continue;
    if (!rule->FieldList().isEmpty() && !rule->FieldList().contains(fieldName, Qt::CaseInsensitive))
      continue;
    // Held here as well: a handler called during the evaluation may change the rules, which
    // drops their conditions.
    StyleCondition(rule);
    const std::shared_ptr<TKelParsedExpr> condition = rule->condition_;
    SetParser(condition.get());
    bool holds = false;
    try {
      // Null (a comparison with a missing value) does not hold; it is no error either.
      holds = EvaluateBoolean();
    } catch (...) {
      SetParser(nullptr);
      rule->SetActive(false);
      throw;
    }
    SetParser(nullptr);
    if (holds) {
      font = rule->Font();
      color = rule->Color();
    }
    found = found || holds;
  }
}

}  // namespace Kel
