// The filter builder component, its conditions and its sort items. The catalogue questions are
// answered in KelFltCatalogue.cpp, the texts are built in KelFltText.cpp and read back in
// KelFltRead.cpp.
#include "KelFltBld.h"

#include <QMetaObject>
#include <cmath>
#include <exception>

#include "DataSet.h"
#include "KelDB.h"
#include "KelEmulDataSet.h"
#include "KelEventErrors.h"
#include "KelFltKeptTexts_p.h"
#include "KelFltText_p.h"
#include "KelListBoxTexts.h"
#include "KelStrHelpers.h"
#include "KelUtils.h"
#include "StrUtils.h"
#include "UpdateBracket.h"

namespace Kel {

// ---------------------------------------------------------------------------------------------
// TKelFltItem

namespace {

// Runs body inside one update of the item's list, so a list box repaints once.
template <typename Body>
void InListUpdate(TKelFltItem* item, Body&& body) {
  if (TKelFltItems* items = item->FltItems())
    WithinUpdate(*items, body);
  else
    body();
}

bool IsNamed(const TKelField* param, const char* name) {
  return SameText(param->Name(), QString::fromLatin1(name));
}

bool IsNumberType(TKelFieldType type) {
  return type == FT_INT || type == FT_FLOAT || type == FT_CURRENCY;
}
bool IsDateType(TKelFieldType type) {
  return type == FT_DATE || type == FT_TIME || type == FT_DATETIME;
}

// A value kept through a change of its parameter's type to the field's: a number of another
// kind (12 typed for a float field) or a date of another kind converts; anything else, and a
// fraction for an integer field, is no value of the new type.
Variant ValueForType(const Variant& value, TKelFieldType from, TKelFieldType to) {
  if (value.IsEmptyOrNull()) return {};
  try {
    if (IsNumberType(from) && IsNumberType(to)) {
      const double number = value.AsDouble();
      if (to == FT_FLOAT) return Variant(number);
      if (to == FT_CURRENCY) return Variant(value.AsCurrency());
      if (std::abs(number) < 9.2e18 && number == double(int64_t(number)))
        return Variant(int64_t(number));
    }
    if (IsDateType(from) && IsDateType(to)) return Variant::FromDate(value.AsDate());
  } catch (const std::exception&) {
    // Out of the new type's range: no value of it.
  }
  return {};
}

}  // namespace

TKelFltItem::TKelFltItem(TCollection* collection) : TKelListItem(collection) {
  EnsureParam(KelFltParam::Operation)
      ->SetValue(Variant(QString::fromLatin1(KelFltText::OutputAnd)));
  EnsureParam(KelFltParam::Operation)->SetUnderline(false);
}

TKelFltItems* TKelFltItem::FltItems() const { return qobject_cast<TKelFltItems*>(Collection()); }

TKelFltBld* TKelFltItem::Builder() const {
  TKelFltItems* items = FltItems();
  return items ? items->Builder() : nullptr;
}

bool TKelFltItem::IsValueParam(const TKelField* param) {
  return !IsNamed(param, KelFltParam::Field) && !IsNamed(param, KelFltParam::Template) &&
         !IsNamed(param, KelFltParam::Operation);
}

TKelListParam* TKelFltItem::EnsureParam(const char* name) {
  const QString text = QString::fromLatin1(name);
  if (TKelListParam* param = ParamByName(text)) return param;
  auto* param = qobject_cast<TKelListParam*>(Params()->Add());
  param->SetName(text);
  return param;
}

Variant TKelFltItem::ParamValue(const char* name) const {
  TKelListParam* param = ParamByName(QString::fromLatin1(name));
  return param ? param->Value() : Variant();
}

void TKelFltItem::SetParamValue(const char* name, const Variant& value) {
  if (TKelListParam* param = ParamByName(QString::fromLatin1(name))) param->SetValue(value);
}

QString TKelFltItem::DataField() const { return VarToStr(ParamValue(KelFltParam::Field)); }
QString TKelFltItem::Template() const { return VarToStr(ParamValue(KelFltParam::Template)); }
QString TKelFltItem::Operation() const { return VarToStr(ParamValue(KelFltParam::Operation)); }

void TKelFltItem::SetDataField(const QString& value) {
  InListUpdate(this, [&] {
    TKelListParam* param = EnsureParam(KelFltParam::Field);
    param->SetValue(Variant(value));
    TKelFltBld* builder = Builder();
    param->SetDisplayValue(builder ? builder->GetFieldDisplayLabel(value) : value);
    param->SetUnderline(true);
    TKelFltBoxTemplate* first = builder ? builder->FirstTemplate(value) : nullptr;
    SetTemplate(first ? first->CaptionID() : QString());
  });
}

void TKelFltItem::StoreTemplateText(const QString& value) {
  TKelListParam* param = EnsureParam(KelFltParam::Template);
  param->SetValue(Variant(RemoveTildes(value)));
  param->SetDisplayValue(QString());
  param->SetUnderline(false);
}

void TKelFltItem::SetTemplate(const QString& value) {
  InListUpdate(this, [&] {
    TKelFltBld* builder = Builder();
    TKelFltBoxTemplate* found = builder ? builder->FindTemplate(DataField(), value) : nullptr;
    StoreTemplateText(found ? found->SourceCaptionID() : value);
    if (found) {
      valuePrefix_ = found->ValuePrefix();
      valueSuffix_ = found->ValueSuffix();
      SetCaption(found->Caption() + QStringLiteral(" :") + KelFltParam::Operation);
    } else if (IsDesigning()) {
      // Designed without its dataset, the condition cannot know its template's caption: it
      // shows what it holds, each parameter in its place, and keeps the parameters as they are
      // (nothing tells their types).
      valuePrefix_.clear();
      valueSuffix_.clear();
      QString caption = QStringLiteral(":Field :Template");
      for (int i = 0; i < Params()->Count(); ++i)
        if (IsValueParam(Param(i))) caption += QStringLiteral(" :") + Param(i)->Name();
      StoreCaption(caption + QStringLiteral(" :") + KelFltParam::Operation);
      Changed();
    } else {
      // The parameters stay: a template that is missing only for now (templates still being
      // read) must not cost the condition its field and values.
      valuePrefix_.clear();
      valueSuffix_.clear();
      StoreCaption(QString());
      Changed();
    }
  });
}

void TKelFltItem::SetOperation(const QString& value) {
  TKelListParam* param = EnsureParam(KelFltParam::Operation);
  // The connector as written into the filter, whatever language it came in.
  param->SetValue(Variant(ConnectorOutput(value)));
  param->SetDisplayValue(QString());
  param->SetUnderline(false);
}

TKelFltBoxTemplate* TKelFltItem::FindTemplate() const {
  TKelFltBld* builder = Builder();
  return builder ? builder->FindTemplate(DataField(), Template()) : nullptr;
}

void TKelFltItem::CaptionChanged() {
  TKelFltBld* builder = Builder();
  const TKelFieldType type =
      builder ? FieldTypeToKelFieldType(builder->GetFieldType(DataField())) : FT_UNK;
  for (int i = 0; i < Params()->Count(); ++i) {
    TKelListParam* param = Param(i);
    if (!IsValueParam(param)) continue;
    param->SetValuePrefix(valuePrefix_);
    param->SetValueSuffix(valueSuffix_);
    if (param->DataType() == type) continue;
    const Variant kept = ValueForType(param->Value(), param->DataType(), type);
    param->SetDataType(type);
    if (!kept.IsEmptyOrNull()) param->SetValue(kept);
  }
}

// ---------------------------------------------------------------------------------------------
// TKelFltItems

TKelFltItems::TKelFltItems(QObject* owner, const QMetaObject& itemClass)
    : TKelListItems(owner, itemClass) {}

bool TKelFltItems::IsParamVisible(const TKelListItem* item, const TKelListParam* param) const {
  // The last condition has no connector. Compared by identity: an item's index is a search
  // through the whole list, and this is asked for every parameter of every line shown.
  const bool last = Count() > 0 && TCollection::Items<TKelListItem>(Count() - 1) == item;
  if (last && IsNamed(param, KelFltParam::Operation)) return false;
  return TKelListItems::IsParamVisible(item, param);
}

QString TKelFltItems::ParamDisplayText(const TKelField* param) const {
  if (param->IsNull()) return TKelListItems::ParamDisplayText(param);
  const QString stored = param->AsString(false);
  if (IsNamed(param, KelFltParam::Operation)) return ConnectorDisplay(stored);
  if (IsNamed(param, KelFltParam::Template)) {
    const auto* item = qobject_cast<const TKelFltItem*>(param->Collection()->GetOwner());
    TKelFltBoxTemplate* found = item ? item->FindTemplate() : nullptr;
    if (!found && builder_) found = builder_->Templates()->FindInAnyCategory(stored);
    if (found) return RemoveTildes(found->CaptionID());
  }
  return TKelListItems::ParamDisplayText(param);
}

// ---------------------------------------------------------------------------------------------
// TKelOrderByItem

void TKelOrderByItem::SetDataField(const QString& value) {
  if (dataField_ == value) return;
  dataField_ = value;
  Changed();
}

void TKelOrderByItem::SetDescending(bool value) {
  if (descending_ == value) return;
  descending_ = value;
  Changed();
}

// ---------------------------------------------------------------------------------------------
// TKelFltBld

TKelFltBld::TKelFltBld(TComponent* owner)
    : TComponent(owner),
      ownItems_(std::make_unique<TKelFltItems>(this)),
      fields_(std::make_unique<TKelFltBoxFields>(this)),
      fieldParams_(std::make_unique<TKelFltBoxFields>(this)),
      hiddenFields_(std::make_unique<TStringList>()),
      templates_(std::make_unique<TKelFltBoxTemplates>(this)),
      tableNames_(std::make_unique<TStringList>()),
      sqlHead_(std::make_unique<TStringList>()),
      sqlTail_(std::make_unique<TStringList>()),
      orderByItems_(std::make_unique<TKelOrderByItems>(this)),
      sqlOBTail_(std::make_unique<TStringList>()),
      sql_(std::make_unique<TStringList>()),
      keptFilterTexts_(std::make_unique<TKelFltKeptTexts>()),
      keptSqlTexts_(std::make_unique<TKelFltKeptTexts>()) {
  InitDateMacros();
  items_ = ownItems_.get();
  items_->SetBuilder(this);
  templates_->LoadDefaults();
}

TKelFltBld::~TKelFltBld() {
  // A list owned elsewhere outlives the builder: it must not keep asking it.
  if (items_ && items_ != ownItems_.get()) items_->SetBuilder(nullptr);
}

void TKelFltBld::SetDataSet(TDataSet* value) {
  if (dataSet_ == value) return;
  if (TDataSet* old = DataSet()) old->RemoveFreeNotification(this);
  dataSet_ = value;
  if (value) value->FreeNotification(this);
  // Conditions read before their fields were known (from a form, say) find their templates now.
  if (value && items_->Count() > 0) RefreshTemplates();
  UpdateDataSet();
}

void TKelFltBld::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && dataSet_.data() == component) dataSet_ = nullptr;
}

void TKelFltBld::SetItems(TKelFltItems* value) {
  if (value && value != items_) items_->Assign(value);
}

void TKelFltBld::AttachItems(TKelFltItems* items) {
  if (items_ && items_ != ownItems_.get()) items_->SetBuilder(nullptr);
  items_ = items ? items : ownItems_.get();
  items_->SetBuilder(this);
}

namespace {

template <typename T>
void CopyInto(T& target, T* value) {
  if (!value || value == &target) return;
  target.Assign(value);
}

}  // namespace

void TKelFltBld::SetFields(TKelFltBoxFields* value) { CopyInto(*fields_, value); }
void TKelFltBld::SetFieldParams(TKelFltBoxFields* value) { CopyInto(*fieldParams_, value); }
void TKelFltBld::SetHiddenFields(TStrings* value) { AssignStrings(*hiddenFields_, value); }
void TKelFltBld::SetTemplates(TKelFltBoxTemplates* value) { CopyInto(*templates_, value); }
void TKelFltBld::SetTableNames(TStrings* value) { AssignStrings(*tableNames_, value); }
void TKelFltBld::SetSQLHead(TStrings* value) { AssignStrings(*sqlHead_, value); }
void TKelFltBld::SetSQLTail(TStrings* value) { AssignStrings(*sqlTail_, value); }
void TKelFltBld::SetOrderByItems(TKelOrderByItems* value) { CopyInto(*orderByItems_, value); }
void TKelFltBld::SetSQLOBTail(TStrings* value) { AssignStrings(*sqlOBTail_, value); }

void TKelFltBld::SetEncloseInBrackets(bool value) {
  if (encloseInBrackets_ == value) return;
  encloseInBrackets_ = value;
  UpdateDataSet();
}

void TKelFltBld::SetAddTableNames(bool value) {
  if (addTableNames_ == value) return;
  addTableNames_ = value;
  UpdateDataSet();
}

void TKelFltBld::SetFiltered(bool value) {
  if (filtered_ == value) return;
  filtered_ = value;
  modified_ = true;
  UpdateDataSet();
}

void TKelFltBld::SetAdditionalFilter(const QString& value) {
  if (additionalFilter_ == value) return;
  additionalFilter_ = value;
  modified_ = true;
  UpdateDataSet();
}

bool TKelFltBld::ForceSQLDateTime() const { return items_->ForceSQLDateTime(); }
void TKelFltBld::SetForceSQLDateTime(bool value) { items_->SetForceSQLDateTime(value); }
bool TKelFltBld::ForceSQLBooleans() const { return items_->ForceSQLBooleans(); }
void TKelFltBld::SetForceSQLBooleans(bool value) { items_->SetForceSQLBooleans(value); }

TKelFltDateTimeFormat* TKelFltBld::FilterDateTimeFormat() const {
  return items_->FilterDateTimeFormat();
}
void TKelFltBld::SetFilterDateTimeFormat(TKelFltDateTimeFormat* value) {
  CopyInto(*items_->FilterDateTimeFormat(), value);
}
TKelFltDateTimeFormat* TKelFltBld::SQLDateTimeFormat() const { return items_->SQLDateTimeFormat(); }
void TKelFltBld::SetSQLDateTimeFormat(TKelFltDateTimeFormat* value) {
  CopyInto(*items_->SQLDateTimeFormat(), value);
}
TKelFltDateTimeFormat* TKelFltBld::DisplayDateTimeFormat() const {
  return items_->DisplayDateTimeFormat();
}
void TKelFltBld::SetDisplayDateTimeFormat(TKelFltDateTimeFormat* value) {
  CopyInto(*items_->DisplayDateTimeFormat(), value);
}

bool TKelFltBld::IsPropertyStored(const char* name) const {
  if (qstrcmp(name, "Templates") == 0) return !defaultTemplates_;
  return TComponent::IsPropertyStored(name);
}

void TKelFltBld::Loaded() {
  TComponent::Loaded();
  // Conditions may have been read before the templates and fields they refer to; once the
  // whole form is loaded they find them.
  // Run from the event loop: a dataset that refuses the refreshed filter is reported there.
  QMetaObject::invokeMethod(
      this, [this] { RunEventHandler(this, [this] { RefreshTemplates(); }); },
      Qt::QueuedConnection);
}

void TKelFltBld::RefreshTemplates() {
  WithinUpdate(*items_, [this] {
    for (int i = 0; i < items_->Count(); ++i) {
      TKelFltItem* item = items_->Items(i);
      item->SetTemplate(item->Template());
    }
  });
}

}  // namespace Kel
