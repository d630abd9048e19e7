#include "KelFltBoxControl.h"

#include <QHash>
#include <algorithm>

#include "KelListBoxTexts.h"
#include "KelPersHolder.h"
#include "KelRegisterClasses.h"
#include "Streams.h"
#include "UpdateBracket.h"

namespace Kel {

namespace {
// The published control is known by name (the class registry, a form designer's list).
const bool fltBoxControlClassRegistered = [] {
  RegisterClassesOnce({&TKelFltBox::staticMetaObject});
  return true;
}();
}  // namespace

TKelFltBox::TKelFltBox(QWidget* parent)
    : TKelPrmListBox(parent), builder_(std::make_unique<TKelFltBld>(nullptr)) {
  RecreateItems();
  builder_->AttachItems(FltItems());
  SetAddItemText(ListBoxText(KelFltBoxText::AddCondition));
  SetShowAddItem(true);
  SetEditWithMouse(true);
  UpdateFontMetrics();
}

TKelFltBox::~TKelFltBox() {
  // The item forms are the filter box's own: the defaults are stored while they still work.
  SaveDefaultsOnce();
  // The conditions outlive the builder by a moment: they must not ask it anything then.
  builder_->AttachItems(nullptr);
}

std::unique_ptr<TKelListItems> TKelFltBox::CreateItems() {
  return std::make_unique<TKelFltItems>(this, ItemClass());
}

void TKelFltBox::ItemChanged(TKelCustomNamedItems* sender, TCollectionItem* item) {
  TKelPrmListBox::ItemChanged(sender, item);
  if (builder_ && FltItems()->Builder() == builder_.get()) builder_->UpdateDataSet();
  emit ConditionsChanged();
}

void TKelFltBox::SetDesigning(bool value) {
  TKelPrmListBox::SetDesigning(value);
  builder_->SetDesigning(value);
}

void TKelFltBox::Loaded() {
  TKelPrmListBox::Loaded();
  builder_->RefreshTemplates();
}

void TKelFltBox::Assign(TKelPrmListBox* source) {
  if (auto* box = qobject_cast<TKelFltBox*>(source); box && box != this) {
    SetAllowedUsageIDs(box->AllowedUsageIDs());
    SetExcludeBlobs(box->ExcludeBlobs());
    SetDataSet(box->DataSet());
    SetHiddenFields(box->HiddenFields());
    SetFields(box->Fields());
    SetFieldParams(box->FieldParams());
    SetTemplates(box->Templates());
  }
  TKelPrmListBox::Assign(source);
}

// ---- catalogue questions

void TKelFltBox::GetPickList(TKelListItem* item, TKelListParam* param, TStrings* list) {
  if (auto* condition = qobject_cast<TKelFltItem*>(item))
    builder_->GetItemPickList(condition, param, list);
  else
    TKelPrmListBox::GetPickList(item, param, list);
}

void TKelFltBox::GetLookupDef(TKelListItem* item, TKelListParam* param,
                              TKelLookupDef& lookupDef) {
  auto* condition = qobject_cast<TKelFltItem*>(item);
  lookupDef = condition ? builder_->GetParamLookupDef(condition, param) : param->LookupDef();
  if (OnGetLookupDef) OnGetLookupDef(this, item, param, lookupDef);
}

// ---- choice popups

void TKelFltBox::PickParameter() {
  auto* item = qobject_cast<TKelFltItem*>(ActiveItem());
  TKelListParam* param = ActiveParam();
  if (!item || !param) return;
  if (param->ReadOnly() || Items()->IsItemReadOnly(item)) return;
  const QString name = param->Name();
  if (name.compare(QLatin1String(KelFltParam::Operation), Qt::CaseInsensitive) == 0)
    PickConnector(item, param);
  else if (name.compare(QLatin1String(KelFltParam::Field), Qt::CaseInsensitive) == 0)
    PickField(item);
  else if (name.compare(QLatin1String(KelFltParam::Template), Qt::CaseInsensitive) == 0)
    PickTemplate(item);
  else
    TKelPrmListBox::PickParameter();
}

void TKelFltBox::PickConnector(TKelFltItem* item, TKelListParam* param) {
  TStringList connectors;
  connectors.Add(ListBoxText(KelFltText::DisplayAnd));
  connectors.Add(ListBoxText(KelFltText::DisplayOr));
  QPointer<TKelFltItem> target(item);
  PickFromStrings(&connectors, nullptr, FltItems()->ParamDisplayText(param), true,
                  [target](int, const QString& text) {
                    if (target) target->SetOperation(text);
                  });
}

void TKelFltBox::PickField(TKelFltItem* item) {
  auto names = std::make_shared<TStringList>();
  builder_->GetFieldList(names.get());
  TStringList labels;
  for (int i = 0; i < names->Count(); ++i)
    labels.Add(builder_->GetFieldDisplayLabel(names->Strings(i)));
  QPointer<TKelFltItem> target(item);
  PickFromStrings(&labels, nullptr, builder_->GetFieldDisplayLabel(item->DataField()),
                  Options().Contains(fboSortFields), [target, names](int source, const QString&) {
                    if (target && source >= 0 && source < names->Count())
                      target->SetDataField(names->Strings(source));
                  });
}

void TKelFltBox::PickTemplate(TKelFltItem* item) {
  auto offered = std::make_shared<TStringList>();
  builder_->GetOperationList(item->DataField(), offered.get());
  QPointer<TKelFltItem> target(item);
  TKelFltBoxTemplate* current = item->FindTemplate();
  PickFromStrings(offered.get(), nullptr, current ? current->CaptionID() : item->Template(),
                  Options().Contains(fboSortConditions),
                  [target, offered](int source, const QString&) {
                    if (target && source >= 0 && source < offered->Count())
                      target->SetTemplate(offered->Strings(source));
                  });
}

// ---- adding

QString TKelFltBox::FirstUnusedField(const TStringList& fields) {
  QHash<QString, int> unused;  // case-folded name -> place in the list of fields
  for (int i = fields.Count() - 1; i >= 0; --i) unused.insert(fields.Strings(i).toCaseFolded(), i);
  // One pass over the conditions, which stops once every field is seen in use. A condition's
  // field is read again only when the condition changed since it was last read, as reading it
  // is most of what a pass over a long list costs.
  TKelFltItems& items = *FltItems();
  const bool conditions = items.ItemClass().inherits(&TKelFltItem::staticMetaObject);
  for (int k = 0; k < items.Count() && !unused.isEmpty(); ++k) {
    TKelFltItem* item =
        conditions ? static_cast<TKelFltItem*>(items.TCollection::Items(k)) : items.Items(k);
    TUsedField& used = usedFields_[item];
    if (used.Revision != item->TextRevision()) {  // revisions start at 1
      used.Revision = item->TextRevision();
      used.Folded = item->DataField().toCaseFolded();
    }
    unused.remove(used.Folded);
  }
  // Entries of deleted conditions are dropped now and then; a new condition at a freed one's
  // address has a revision of its own, so a stale entry is never taken for it.
  if (usedFields_.size() > 2 * items.Count() + 64) usedFields_.clear();
  const int place = unused.isEmpty() ? 0 : *std::min_element(unused.cbegin(), unused.cend());
  return fields.Strings(place);
}

void TKelFltBox::AddItem() {
  if (ReadOnly() || !Options().Contains(fboCanAdd)) return;
  TStringList fields;
  builder_->GetFieldList(&fields);
  if (fields.Count() == 0) return;
  const QString field = FirstUnusedField(fields);
  TKelFltBoxTemplate* first = builder_->FirstTemplate(field);
  if (!first) return;
  TKelFltItem* item = nullptr;
  WithinUpdate(*FltItems(), [&] {
    item = FltItems()->Add();
    item->SetChecked(NewItemChecked());
    item->SetDataField(field);
    item->SetTemplate(first->CaptionID());
  });
  SetItemIndex(item->Index());
  if (OnAdditem) OnAdditem(this, item);
}

// ---- saving and loading

void TKelFltBox::SaveToString(QByteArray& s, int format) {
  if (format == 0) {
    s = FilterStr().toUtf8();
    return;
  }
  if (format != 1 && format != 2) {
    TKelPrmListBox::SaveToString(s, format);
    return;
  }
  TMemoryStream stream;
  if (format == 1)
    WriteCollection(stream, StoreItems());
  else
    WriteCollectionText(stream, StoreItems());
  s = stream.Bytes();
}

void TKelFltBox::LoadFromString(const QByteArray& s, int format) {
  if (format == 0) {
    SetFilterStr(QString::fromUtf8(s));
    builder_->RefreshTemplates();
    return;
  }
  if (format != 1 && format != 2) {
    TKelPrmListBox::LoadFromString(s, format);
    return;
  }
  TMemoryStream stream(s);
  // The reader puts the old conditions back when the stream turns out damaged.
  if (format == 1)
    ReadCollection(stream, StoreItems());
  else
    ReadCollectionText(stream, StoreItems());
  builder_->RefreshTemplates();
}

}  // namespace Kel
