// Parameter editing of the list box: the choice of editor and the pick list, boolean list,
// lookup list and text edit with their presets and results.
#include <QSet>
#include <algorithm>
#include <numeric>

#include "DataSet.h"
#include "Fields.h"
#include "KelDB.h"
#include "KelDBListBox.h"
#include "KelListBoxTexts.h"
#include "KelPrmListBox.h"
#include "KelStdCtrls.h"
#include "MessageBeep.h"

namespace Kel {

QString TKelPrmListBox::TextBetweenTildes(const QString& s) {
  const qsizetype first = s.indexOf(u'~');
  if (first < 0) return s;
  const qsizetype second = s.indexOf(u'~', first + 1);
  if (second < 0) return QString();
  return s.mid(first + 1, second - first - 1);
}

void TKelPrmListBox::GetPickList(TKelListItem*, TKelListParam* param, TStrings* list) {
  list->Clear();
  if (param && param->PickList()->Count() > 0) list->Assign(*param->PickList());
}

bool TKelPrmListBox::HasPickList(TKelListItem* item, TKelListParam* param) {
  TStringList list;
  GetPickList(item, param, &list);
  return list.Count() > 0;
}

void TKelPrmListBox::GetLookupDef(TKelListItem* item, TKelListParam* param,
                                  TKelLookupDef& lookupDef) {
  lookupDef = param->LookupDef();
  if (OnGetLookupDef) OnGetLookupDef(this, item, param, lookupDef);
}

bool TKelPrmListBox::LookupUsable(const TKelLookupDef& lookupDef) {
  return Kel::LookupUsable(lookupDef);
}

void TKelPrmListBox::OpenEditor(TKelPopupForm* editor, TCloseHandler handler) {
  // One editor at a time: the previous one goes before the next opens.
  if (popup_ && popup_.data() != editor) delete popup_.data();
  popup_ = editor;
  editor->PopupAtRect(this, activeParamRect_.Offset(ClientOrigin().x(), ClientOrigin().y()),
                      [this, handler](TKelPopupForm* sender, bool canceled) {
                        if (canceled || !activeParam_ || !activeItem_) return;
                        // An editor changes the parameters of its own line.
                        RunUserChange([&] { handler(sender, canceled); }, TUserChangeReach::OneItem,
                                      activeItem_);
                      });
}

void TKelPrmListBox::ShowList(TStrings* list, int index, const TRect& rect, TCloseHandler handler) {
  auto* popup = new TKelPopupListBox(this);
  TListBox* box = popup->ListBox();
  box->SetItems(list->ToStringList());
  box->SetItemIndex(std::max(index, 0));
  const TRect saved = activeParamRect_;
  activeParamRect_ = rect;
  OpenEditor(popup, std::move(handler));
  activeParamRect_ = saved;
}

void TKelPrmListBox::PickFromStrings(TStrings* list, const TKelStringsProvider& provider,
                                     const QString& currentText, bool sorted,
                                     std::function<void(int, const QString&)> handler) {
  TStringList source;
  if (list)
    source.Assign(*list);
  else if (provider)
    provider(&source);
  // Each entry remembers where it came from, so sorting loses nothing.
  std::vector<int> order(source.Count());
  std::iota(order.begin(), order.end(), 0);
  std::vector<QString> shown(source.Count());
  for (int i = 0; i < source.Count(); ++i) shown[i] = TextBetweenTildes(source.Strings(i));
  if (sorted)
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
      return QString::compare(shown[a], shown[b], Qt::CaseInsensitive) < 0;
    });
  TStringList entries;
  for (int i : order) entries.Add(shown[i]);
  const int preselected = entries.IndexOf(TextBetweenTildes(currentText));
  ShowList(&entries, preselected, activeParamRect_, [order, handler](TKelPopupForm* popup, bool) {
    TListBox* box = static_cast<TKelPopupListBox*>(popup)->ListBox();
    const int chosen = box->ItemIndex();
    if (chosen < 0 || chosen >= int(order.size())) return;
    handler(order[chosen], box->currentItem()->text());
  });
}

void TKelPrmListBox::EditCurrentParam() {
  if (items_->Count() == 0) return;
  const int index = std::clamp(itemIndex_, 0, items_->Count() - 1);
  TKelListItem* item = items_->Items(index);
  if (item->Params()->Count() == 0) return;
  const int cur = std::clamp(item->CurParam(), 0, item->Params()->Count() - 1);
  activeItem_ = item;
  activeParam_ = item->Param(cur);
  const QString spots = items_->StripTags(items_->GetItemText(item, false));
  activeParamRect_ = ParamRect(item, activeParam_, HotSpotStart(spots, HotSpotOfParam(item, cur)));
  PickParameter();
}

void TKelPrmListBox::PickParameter() {
  if (!activeParam_ || !activeItem_) return;
  if (activeParam_->ReadOnly() || items_->IsItemReadOnly(activeItem_)) return;
  if (OnPickParameter) {
    bool processed = false;
    OnPickParameter(this, activeItem_, activeParam_, activeParamRect_, processed);
    if (processed) return;
  }
  const bool hasList = HasPickList(activeItem_, activeParam_);
  TKelLookupDef def;
  GetLookupDef(activeItem_, activeParam_, def);
  auto byList = [&](auto fallback) {
    if (hasList)
      ShowPickList();
    else if (LookupUsable(def))
      PickLookup(def);
    else
      fallback();
  };
  switch (activeParam_->PickType()) {
    case ptAuto:
      switch (activeParam_->DataType()) {
        case FT_BOOL:
          ShowBooleanList();
          return;
        case FT_STRING:
          byList([this] { ShowTextEdit(); });
          return;
        case FT_INT:
        case FT_CURRENCY:
        case FT_FLOAT:
          byList([this] { ShowNumberEditor(); });
          return;
        case FT_DATETIME:
        case FT_DATE:
        case FT_TIME:
          ShowDateEditor();
          return;
        default:
          MessageBeep();
          return;
      }
    case ptText:
      ShowTextEdit();
      return;
    case ptPickList:
      if (hasList)
        ShowPickList();
      else
        MessageBeep();
      return;
    case ptLookup:
      if (LookupUsable(def))
        PickLookup(def);
      else
        MessageBeep();
      return;
    case ptBoolean:
      ShowBooleanList();
      return;
    case ptDate:
    case ptTime:
    case ptDateTime:
      ShowDateEditor();
      return;
    case ptCalculator:
      ShowNumberEditor();
      return;
    default:
      MessageBeep();
      return;
  }
}

void TKelPrmListBox::PickLookup(const TKelLookupDef& def) {
  lookupDef_ = def;
  if (lookupDef_.DisplayField.isEmpty()) lookupDef_.DisplayField = lookupDef_.KeyField;
  if (OnPickLookupParam) {
    bool processed = false;
    OnPickLookupParam(this, activeItem_, activeParam_, activeParamRect_, lookupDef_, processed);
    if (processed) return;
  }
  ShowLookupPopup(lookupDef_);
}

void TKelPrmListBox::ShowLookupPopup(const TKelLookupDef& lookupDef) {
  TDataSet* dataSet = lookupDef.DataSet;
  if (!dataSet) return;
  auto* popup = new TKelDBListBoxPopup(this);
  popup->SetListDataSet(dataSet);
  popup->SetKeyField(lookupDef.KeyField);
  popup->SetListField(lookupDef.DisplayField);
  if (activeParam_->IsNull())
    dataSet->First();
  else
    popup->SetKeyValue(activeParam_->Value());
  OpenEditor(popup, [this](TKelPopupForm*, bool) {
    TDataSet* set = lookupDef_.DataSet;
    if (!set || set->IsEmpty()) return;
    try {
      // The names are read again: a handler may have changed the definition meanwhile.
      const Variant key = set->FieldByName(lookupDef_.KeyField)->Value();
      const QString display = set->FieldByName(lookupDef_.DisplayField)->AsString();
      activeParam_->SetDisplayValue(display);
      activeParam_->SetValue(key);
    } catch (const std::exception&) {
      activeParam_->SetDisplayValue(QString());
      activeParam_->Clear();
    }
    activeItem_->Changed();
  });
}

void TKelPrmListBox::ShowTextEdit() {
  auto* popup = new TKelPopupEdit(this);
  popup->Edit()->SetText(activeParam_->AsString(false));
  OpenEditor(popup, [this](TKelPopupForm* sender, bool) {
    const QString text = static_cast<TKelPopupEdit*>(sender)->Edit()->Text();
    try {
      if (text.isEmpty())
        activeParam_->Clear();
      else
        activeParam_->SetAsString(text);
    } catch (const std::exception&) {
      activeParam_->Clear();
    }
  });
}

namespace {
QString BeforeEquals(const QString& s) {
  const qsizetype eq = s.indexOf(u'=');
  return eq < 0 ? s : s.left(eq);
}
}  // namespace

void TKelPrmListBox::ShowPickList() {
  TStringList list;
  GetPickList(activeItem_, activeParam_, &list);
  QStringList shown;
  for (int i = 0; i < list.Count(); ++i) shown.append(BeforeEquals(list.Strings(i)));
  std::sort(shown.begin(), shown.end(), [](const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
  });
  TStringList entries;
  entries.AddStrings(shown);
  const int current = entries.IndexOf(items_->ParamDisplayText(activeParam_));
  ShowList(&entries, std::max(current, 0), activeParamRect_, [this](TKelPopupForm* popup, bool) {
    TListBox* box = static_cast<TKelPopupListBox*>(popup)->ListBox();
    if (box->ItemIndex() < 0) return;
    const QString chosen = box->currentItem()->text();
    TStringList source;
    GetPickList(activeItem_, activeParam_, &source);
    int found = source.IndexOf(chosen);
    for (int i = 0; found < 0 && i < source.Count(); ++i)
      if (BeforeEquals(source.Strings(i)).compare(chosen, Qt::CaseInsensitive) == 0) found = i;
    if (found < 0) return;
    const QString entry = source.Strings(found);
    const qsizetype eq = entry.indexOf(u'=');
    if (eq < 0) {
      activeParam_->SetDisplayValue(QString());
      activeParam_->SetAsString(entry);
    } else {
      activeParam_->SetDisplayValue(entry.left(eq));
      activeParam_->SetAsString(entry.mid(eq + 1));
    }
    // The display text may be all that changed; the row must show it either way.
    activeItem_->Changed();
  });
}

void TKelPrmListBox::ShowBooleanList() {
  TStringList entries;
  entries.Add(ListBoxText(KelListBoxText::BoolFalse));
  entries.Add(ListBoxText(KelListBoxText::BoolTrue));
  const int current = !activeParam_->IsNull() && activeParam_->AsBoolean() ? 1 : 0;
  ShowList(&entries, current, activeParamRect_, [this](TKelPopupForm* popup, bool) {
    const int chosen = static_cast<TKelPopupListBox*>(popup)->ListBox()->ItemIndex();
    if (chosen >= 0) activeParam_->SetAsBoolean(chosen != 0);
  });
}

}  // namespace Kel
