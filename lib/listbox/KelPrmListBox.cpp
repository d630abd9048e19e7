#include "KelPrmListBox.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScrollBar>
#include <QSet>
#include <QStyle>
#include <algorithm>

#include "KelAccessibleReport.h"
#include "KelDrawing.h"
#include "KelEventErrors.h"
#include "KelFields.h"
#include "KelForms.h"
#include "KelListBoxTexts.h"
#include "KelPrmListActions.h"
#include "KelPublishedProps.h"
#include "KelRegisterClasses.h"
#include "Menus.h"
#include "RestoreOnExit.h"
#include "UpdateBracket.h"
#include "VirtualKeys.h"

namespace Kel {

namespace {
// The published control is known by name (the class registry, a form designer's list).
const bool prmListBoxClassRegistered = [] {
  RegisterClassesOnce({&TKelPrmListBox::staticMetaObject});
  return true;
}();
}  // namespace

namespace {

// Tells a screen reader about a line or a parameter of the box.
void Report(TKelPrmListBox* box, TKelAccessibleChange change, QObject* part) {
  ReportAccessible(box, change, QVariant::fromValue(part));
}

// The "Default" key layout of every parameter list box, registered once per process.
void FillDefaultKeys(QObject* control) {
  auto* box = qobject_cast<TKelPrmListBox*>(control);
  if (!box) return;
  const TShiftState none;
  const TShiftState ctrl{ssCtrl};
  const TShiftState shiftCtrl{ssShift, ssCtrl};
  auto select = [box](auto index) { return [box, index] { box->SetItemIndex(index()); }; };
  box->AddKey(VK_HOME, none, select([] { return 0; }));
  box->AddKey(VK_END, none, select([box] { return box->Items()->Count() - 1; }));
  box->AddKey(VK_UP, none, [box] {
    if (box->ItemIndex() > 0) box->SetItemIndex(box->ItemIndex() - 1);
  });
  box->AddKey(VK_DOWN, none, select([box] { return box->ItemIndex() + 1; }));
  box->AddKey(VK_PRIOR, none,
              select([box] { return std::max(box->ItemIndex() - box->VisibleRows() + 1, 0); }));
  box->AddKey(VK_NEXT, none, select([box] { return box->ItemIndex() + box->VisibleRows() - 1; }));
  auto moveParam = [box](int delta) {
    return [box, delta] {
      const int index = box->ItemIndex();
      if (index < 0 || index >= box->Items()->Count()) return;
      TKelListItem* item = box->Items()->Items(index);
      // Hidden parameters are stepped over in the direction of the key; moving onto one and
      // letting SetCurParam push right again would trap Left in front of it.
      int target = item->CurParam() + delta;
      const int count = item->Params()->Count();
      while (target >= 0 && target < count &&
             !box->Items()->IsParamVisible(item, item->Param(target)))
        target += delta;
      if (target < 0 || target >= count) return;
      box->Items()->SetCurParam(item, target);
      box->InvalidateItem(index);
      Report(box, TKelAccessibleChange::Focus, item->Param(item->CurParam()));
    };
  };
  box->AddKey(VK_LEFT, none, moveParam(-1));
  box->AddKey(VK_RIGHT, none, moveParam(+1));
  box->AddKey(VK_RETURN, none, [box] { box->EditCurrentParam(); });
  box->AddKey(VK_DOWN, TShiftState{ssAlt}, [box] { box->EditCurrentParam(); });
  // The keys that change the items make one change each: refused, it leaves no trace.
  auto change = [box](auto command) { return [box, command] { box->RunUserChange(command); }; };
  box->AddKey(VK_INSERT, none, [box] {
    box->RunUserChange([box] { box->AddItem(); }, TKelPrmListBox::TUserChangeReach::AddedItems);
  });
  box->AddKey(VK_DELETE, none, change([box] { box->DeleteSelected(); }));
  box->AddKey(VK_DELETE, ctrl, change([box] { box->Items()->Clear(); }));
  box->AddKey(VK_LEFT, ctrl, change([box] { box->OutdentSelected(); }));
  box->AddKey(VK_RIGHT, ctrl, change([box] { box->IndentSelected(); }));
  box->AddKey('S', ctrl, [box] {
    if (box->Options().Contains(fboCanSave)) box->SaveFile();
  });
  box->AddKey('O', ctrl, change([box] {
                if (box->Options().Contains(fboCanOpen)) box->OpenFile();
              }));
  box->AddKey('S', shiftCtrl, [box] { box->SaveToMemory(); });
  box->AddKey('L', shiftCtrl, change([box] { box->LoadFromMemory(); }));
}

void RegisterDefaultKeysOnce() {
  static const bool registered = [] {
    RegisterKeyboardProc(&TKelPrmListBox::staticMetaObject,
                         ListBoxText(KelListBoxText::DefaultKeys), &FillDefaultKeys);
    return true;
  }();
  (void)registered;
}

constexpr int kAllOptions = 511;

}  // namespace

TKelPrmListBox::TKelPrmListBox(QWidget* parent)
    : TKelCustomControl(parent),
      vertBar_(new QScrollBar(Qt::Vertical, this)),
      horzBar_(new QScrollBar(Qt::Horizontal, this)),
      addItemText_(ListBoxText(KelListBoxText::AddItem)),
      options_(TKelFltBoxOptions::FromBits(kAllOptions)),
      saveFileExt_(ListBoxText(KelListBoxText::SaveFileExt)),
      saveFileCat_(ListBoxText(KelListBoxText::SaveFileCat)) {
  RegisterDefaultKeysOnce();
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  resize(160, 97);
  vertBar_->hide();
  horzBar_->hide();
  vertBar_->setFocusPolicy(Qt::NoFocus);
  horzBar_->setFocusPolicy(Qt::NoFocus);
  connect(vertBar_, &QScrollBar::actionTriggered, this,
          [this](int action) { RunEventHandler(this, [&] { VertAction(action); }); });
  connect(horzBar_, &QScrollBar::actionTriggered, this,
          [this](int action) { RunEventHandler(this, [&] { HorzAction(action); }); });
  RecreateItems();
  memorySlots_ = std::make_unique<TKelListMemorySlots>(this);
  CreateActionsAndMenu();
  UpdateFontMetrics();
}

void TKelPrmListBox::CreateActionsAndMenu() {
  auto* outdent = new TKelPrmListOutDent(this);
  auto* indent = new TKelPrmListIndent(this);
  auto* clear = new TKelPrmListClear(this);
  auto* del = new TKelPrmListDelete(this);
  auto* add = new TKelPrmListAdd(this);
  auto* load = new TKelPrmListLoad(this);
  auto* save = new TKelPrmListSave(this);
  auto* saveToMem = new TKelPrmListSaveToMem(this);
  auto* loadFromMem = new TKelPrmListLoadFromMem(this);
  actions_ = {outdent, indent, clear, del, add, load, save, saveToMem, loadFromMem};
  for (TKelPrmListAction* action : actions_) {
    action->SetParamList(this);
    // Named like a component of the box: the class name without the namespace.
    const QString className =
        QString::fromLatin1(action->metaObject()->className()).section(u':', -1);
    action->setObjectName(UniqueComponentName(this, className));
  }
  defaultMenu_ = new QMenu(this);
  const QList<QAction*> entries = {add,     del,  clear, nullptr, indent,    outdent,
                                   nullptr, load, save,  nullptr, saveToMem, loadFromMem};
  int group = 0;
  for (QAction* entry : entries) {
    QAction* placed = entry ? entry : defaultMenu_->addSeparator();
    if (entry) defaultMenu_->addAction(entry);
    SetMenuGroupIndex(placed, group);
    group += 20;
  }
  connect(defaultMenu_, &QMenu::aboutToShow, this, [this] { UpdateActions(); });
  SetDefaultPopupMenu(defaultMenu_);
}

void TKelPrmListBox::UpdateActions() {
  for (TKelPrmListAction* action : actions_) action->Update();
}

TKelPrmListBox::~TKelPrmListBox() {
  SaveDefaultsOnce();
  // The items report their destruction; nobody is left to hear it.
  if (items_) {
    items_->OnItemUpdate = nullptr;
    items_->OnCollectionChange = nullptr;
  }
  delete popup_.data();
}

std::unique_ptr<TKelListItems> TKelPrmListBox::CreateItems() {
  return std::make_unique<TKelListItems>(this, ItemClass());
}

void TKelPrmListBox::RecreateItems() {
  if (items_) items_->OnItemUpdate = nullptr;
  items_ = CreateItems();
  metrics_.clear();
  BindItems();
  ApplyLinkTags();
}

void TKelPrmListBox::BindItems() {
  items_->OnItemUpdate = [this](TKelCustomNamedItems* sender, TCollectionItem* item) {
    ItemChanged(sender, item);
  };
}

TColor TKelPrmListBox::ReadableLinkColor(TColor link) const {
  // A link colour chosen for a light window (the navy of the default) melts into a dark or
  // high-contrast one: there the palette's own link colour, made for that window, shows it.
  const int background = ColorLuminance(ColorToQColor(color_, this));
  if (std::abs(ColorLuminance(ColorToQColor(link, this)) - background) >= 80) return link;
  const QColor themed = palette().color(QPalette::Link);
  if (std::abs(ColorLuminance(themed) - background) >= 80) return QColorToColor(themed);
  return background < 128 ? clWhite : clBlack;
}

void TKelPrmListBox::ApplyLinkTags() {
  items_->SetLinkTag(ColorTag(ReadableLinkColor(linkColor_)));
  items_->SetHoverLinkTag(ColorTag(ReadableLinkColor(hoverLinkColor_)));
  items_->SetFontTag(ColorTag(clWindowText));
}

// ---- properties

void TKelPrmListBox::SetItems(TKelListItems* value) {
  if (value && value != items_.get()) items_->Assign(value);
}

void TKelPrmListBox::SetCheckBoxes(bool value) {
  if (checkBoxes_ == value) return;
  checkBoxes_ = value;
  UpdateMaxWidth(true);
  update();
}

void TKelPrmListBox::SetShowAddItem(bool value) {
  if (showAddItem_ == value) return;
  showAddItem_ = value;
  UpdateMaxWidth(true);
  update();
}

void TKelPrmListBox::SetAddItemText(const QString& value) {
  if (addItemText_ == value) return;
  addItemText_ = value;
  if (showAddItem_) {
    UpdateMaxWidth(true);
    InvalidateItem(-2);
  }
}

bool TKelPrmListBox::IsAddItemTextStored() const {
  return addItemText_ != ListBoxText(KelListBoxText::AddItem);
}

bool TKelPrmListBox::IsPropertyStored(const char* name) const {
  const QByteArray n(name);
  if (n == "AddItemText") return IsAddItemTextStored();
  if (n == "SaveFileExt") return saveFileExt_ != ListBoxText(KelListBoxText::SaveFileExt);
  if (n == "SaveFileCat") return saveFileCat_ != ListBoxText(KelListBoxText::SaveFileCat);
  return true;
}

void TKelPrmListBox::SetClickHereColor(TColor value) {
  if (clickHereColor_ == value) return;
  clickHereColor_ = value;
  InvalidateItem(-2);
}

void TKelPrmListBox::SetLinkColor(TColor value) {
  if (linkColor_ == value) return;
  linkColor_ = value;
  ApplyLinkTags();
  update();
}

void TKelPrmListBox::SetHoverLinkColor(TColor value) {
  if (hoverLinkColor_ == value) return;
  hoverLinkColor_ = value;
  ApplyLinkTags();
  update();
}

void TKelPrmListBox::SetHideHoverLink(bool value) {
  if (hideHoverLink_ == value) return;
  hideHoverLink_ = value;
  update();
}

void TKelPrmListBox::SetSelColor(TColor value) {
  if (selColor_ == value) return;
  selColor_ = value;
  if (!hideSelected_) update();
}

void TKelPrmListBox::SetHideSelected(bool value) {
  if (hideSelected_ == value) return;
  hideSelected_ = value;
  update();
}

void TKelPrmListBox::SetHideFocus(bool value) {
  if (hideFocus_ == value) return;
  hideFocus_ = value;
  update();
}

void TKelPrmListBox::SetBorderStyle(TBorderStyle value) {
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  LayoutScrollBars();
  update();
}

void TKelPrmListBox::SetIntegralHeight(bool value) {
  if (integralHeight_ == value) return;
  integralHeight_ = value;
  if (value) resize(size());
}

void TKelPrmListBox::SetColor(TColor value) {
  if (color_ == value) return;
  color_ = value;
  ApplyLinkTags();
  update();
}

void TKelPrmListBox::SetForceSQLDateTime(bool value) { items_->SetForceSQLDateTime(value); }
void TKelPrmListBox::SetForceSQLBooleans(bool value) { items_->SetForceSQLBooleans(value); }

void TKelPrmListBox::SetFilterDateTimeFormat(TKelFltDateTimeFormat* value) {
  if (value) items_->FilterDateTimeFormat()->Assign(value);
}

void TKelPrmListBox::SetSQLDateTimeFormat(TKelFltDateTimeFormat* value) {
  if (value) items_->SQLDateTimeFormat()->Assign(value);
}

void TKelPrmListBox::SetDisplayDateTimeFormat(TKelFltDateTimeFormat* value) {
  if (!value) return;
  items_->DisplayDateTimeFormat()->Assign(value);
  InvalidateMetrics();
  UpdateMaxWidth(true);
  update();
}

// ---- metrics

int TKelPrmListBox::CheckSize() {
  static const int size = CheckGlyphWidth();
  return size;
}

void TKelPrmListBox::InvalidateMetrics() { ++metricsGeneration_; }

// Items that left the collection leave their metrics behind; they go once the cache holds more
// entries than there are items, so a list that keeps changing does not grow the cache forever.
void TKelPrmListBox::PruneMetrics() {
  if (metrics_.size() <= items_->Count()) return;
  QSet<const TKelListItem*> present;
  present.reserve(items_->Count());
  for (int i = 0; i < items_->Count(); ++i) present.insert(LineItem(i));
  metrics_.removeIf([&](const auto& entry) { return !present.contains(entry.key()); });
}

const TKelListItem* TKelPrmListBox::LineItem(int index) const {
  // Every item of a collection is of its item class or derived from it: when that is a list
  // item, so is each line, and asking each line its class (a lookup in the item's own memory)
  // is most of what measuring a long list costs.
  if (items_->ItemClass().inherits(&TKelListItem::staticMetaObject))
    return static_cast<const TKelListItem*>(items_->TCollection::Items(index));
  return items_->Items(index);
}

const TKelPrmListBox::TMetrics& TKelPrmListBox::MetricsOf(int index) const {
  const TKelListItem* item = LineItem(index);
  TMetrics& m = metrics_[item];
  const bool last = index == items_->Count() - 1;
  if (m.Generation != metricsGeneration_ || m.Revision != item->TextRevision() || m.Last != last) {
    m.Generation = metricsGeneration_;
    m.Revision = item->TextRevision();
    m.Last = last;
    m.Plain = PlainTextOf(item);
    m.Width = TextWidthOf(m.Plain, font());
  }
  return m;
}

QString TKelPrmListBox::PlainTextOf(const TKelListItem* item) const {
  // A value that cannot be formatted (a throwing OnGetAsString) must not stop the box from
  // laying out the other lines; the line itself paints empty.
  try {
    return items_->PlainItemText(item);
  } catch (const std::exception&) {
    return QString();
  }
}

const TKelPrmListBox::TMetrics& TKelPrmListBox::FreshMetricsOf(int index) const {
  const TMetrics& cached = MetricsOf(index);
  const QString plain = PlainTextOf(items_->Items(index));
  if (plain == cached.Plain) return cached;
  TMetrics& m = metrics_[items_->Items(index)];
  m.Plain = plain;
  m.Width = TextWidthOf(plain, font());
  return m;
}

void TKelPrmListBox::UpdateFontMetrics() {
  items_->SetFontTag(ColorTag(clWindowText));
  InvalidateMetrics();
  const int height = TextHeightOf(font()) + 2;
  if (height != itemHeight_) {
    itemHeight_ = height;
    update();
  }
  UpdateMaxWidth(true);
}

int TKelPrmListBox::MeasureExtent(int index) {
  const TKelListItem* item = LineItem(index);
  MetricsOf(index);
  TMetrics& m = metrics_[item];
  m.Extent = IndentWidth(item) + m.Width;
  return m.Extent;
}

void TKelPrmListBox::UpdateMaxWidth(bool updateBars) {
  int widest = 0;
  const int count = items_->Count();
  for (int i = 0; i < count; ++i) widest = std::max(widest, MeasureExtent(i));
  widestLine_ = widest;
  extentGeneration_ = metricsGeneration_;
  ApplyMaxWidth(updateBars);
}

// In a long list a change of one line must not measure all of them: the widest line can only
// have changed to this one, unless this one was the widest and shrank.
void TKelPrmListBox::UpdateMaxWidthFor(int index) {
  const auto kept = metrics_.constFind(LineItem(index));
  const int before = kept != metrics_.constEnd() ? kept->Extent : -1;
  if (extentGeneration_ != metricsGeneration_ || before < 0) {
    UpdateMaxWidth(true);
    return;
  }
  const int now = MeasureExtent(index);
  if (now < before && before >= widestLine_) {
    UpdateMaxWidth(true);
    return;
  }
  widestLine_ = std::max(widestLine_, now);
  ApplyMaxWidth(true);
}

void TKelPrmListBox::ApplyMaxWidth(bool updateBars) {
  int widest = widestLine_;
  if (showAddItem_) widest = std::max(widest, TextWidthOf(addItemText_, font()));
  if (items_->Count() > 0) widest += CheckArea();
  maxWidth_ = widest;
  if (updateBars) UpdateScrollBars();
}

// ---- geometry

QPoint TKelPrmListBox::ClientOrigin() const {
  const int b = BorderWidth(borderStyle_, true);
  return QPoint(b, b);
}

int TKelPrmListBox::ClientWidth() const {
  const int b = BorderWidth(borderStyle_, true);
  return std::max(0, width() - 2 * b - (vertBar_->isVisible() ? vertBar_->sizeHint().width() : 0));
}

int TKelPrmListBox::ClientHeight() const {
  const int b = BorderWidth(borderStyle_, true);
  return std::max(0,
                  height() - 2 * b - (horzBar_->isVisible() ? horzBar_->sizeHint().height() : 0));
}

int TKelPrmListBox::VisibleRows() const {
  const int r = ClientHeight() / itemHeight_;
  const int a = showAddItem_ ? 1 : 0;
  const int left = items_->Count() - topIndex_;
  return left >= r - a ? r - a : left;
}

int TKelPrmListBox::UsableHeight() const {
  const int r = ClientHeight() / itemHeight_;
  if (showAddItem_ && items_->Count() - topIndex_ >= r) return ClientHeight() - itemHeight_;
  return ClientHeight();
}

TRect TKelPrmListBox::ItemRect(int index) const {
  int top;
  if (index == -2)
    top = showAddItem_ ? VisibleRows() * itemHeight_ : height();
  else
    top = (index - topIndex_) * itemHeight_;
  return TRect{0, top, ClientWidth(), top + itemHeight_};
}

bool TKelPrmListBox::IsOnAddRow(QPoint p) const {
  if (!showAddItem_) return false;
  const int shown = items_->Count() - topIndex_;
  int c;
  if (items_->Count() == 0)
    c = 0;
  else if (ClientHeight() < shown * itemHeight_)
    c = (ClientHeight() / itemHeight_ - 1) * itemHeight_;
  else
    c = shown * itemHeight_;
  return c < p.y() && p.y() <= c + itemHeight_ && p.x() < ClientWidth();
}

int TKelPrmListBox::ItemAtPos(QPoint p, bool exact) const {
  if (IsOnAddRow(p)) return -2;
  const int usable = UsableHeight();
  for (int i = topIndex_, t = 0; t < usable && i < items_->Count(); ++i, t += itemHeight_)
    if (t < p.y() && p.y() <= t + itemHeight_) return i;
  return exact ? -1 : items_->Count() - 1;
}

TRect TKelPrmListBox::ParamRect(TKelListItem* item, TKelListParam* param, int pos) const {
  const int index = item->Index();
  const int top = (index - topIndex_) * itemHeight_;
  const QString& plain = FreshMetricsOf(index).Plain;
  const int left = TextWidthOf(plain.left(std::max(0, pos - 1)), font()) + IndentWidth(item) +
                   CheckArea() - HorzPos();
  return TRect{left, top, left + TextWidthOf(items_->ParamDisplayText(param), font()),
               top + itemHeight_};
}

void TKelPrmListBox::CharPosAt(QPoint p, int& n, int& row) const {
  n = 0;
  row = ItemAtPos(p, true);
  if (row < 0) {
    row = -1;
    return;
  }
  const int x = p.x() + HorzPos() - CheckArea() - IndentWidth(items_->Items(row));
  if (x >= 0) n = CharIndexAtX(FreshMetricsOf(row).Plain, font(), x);
}

int TKelPrmListBox::ParamOfHotSpot(const TKelListItem* item, int k) const {
  if (k < 0) return -1;
  for (int i = 0; i < item->Params()->Count(); ++i) {
    const TKelListParam* param = item->Param(i);
    if (param && !param->Name().isEmpty() && items_->IsParamVisible(item, param) && k-- == 0)
      return i;
  }
  return -1;
}

int TKelPrmListBox::HotSpotOfParam(const TKelListItem* item, int paramIndex) const {
  if (paramIndex < 0 || paramIndex >= item->Params()->Count()) return -1;
  int k = 0;
  for (int i = 0; i < paramIndex; ++i) {
    const TKelListParam* param = item->Param(i);
    if (param && !param->Name().isEmpty() && items_->IsParamVisible(item, param)) ++k;
  }
  return items_->IsParamVisible(item, item->Param(paramIndex)) ? k : -1;
}

// ---- selection and scrolling

void TKelPrmListBox::SetItemIndex(int value) {
  if (value > items_->Count() - 1) value = items_->Count() - 1;
  if (value == itemIndex_ || value < -1) return;
  itemIndex_ = value;
  ReportCurrentLine(true);
  const bool updating = items_->UpdateCount() > 0;
  if (!updating) UpdateScrollBars();
  if (value == -1 || value >= topIndex_) {
    if (value - topIndex_ < VisibleRows()) {
      if (!updating) update();
      return;
    }
    SetTopIndex(value + 1 - VisibleRows());
  } else {
    SetTopIndex(value);
  }
  if (!updating) update();
}

void TKelPrmListBox::SetTopIndex(int value) {
  if (value > items_->Count() - 1) value = items_->Count() - 1;
  if (value < 0) value = 0;
  if (value == topIndex_) return;
  topIndex_ = value;
  if (items_->UpdateCount() == 0) update();
}

int TKelPrmListBox::HorzPos() const { return horzBar_->isVisible() ? horzBar_->value() : 0; }

void TKelPrmListBox::SetHorzPos(int value) {
  horzPos_ = std::max(0, value);
  horzBar_->setValue(horzPos_);
  update();
}

TKelScrollInfo TKelPrmListBox::VertScrollInfo() const {
  TKelScrollInfo info;
  info.Visible = vertBar_->isVisible();
  info.Min = 0;
  info.Page = vertBar_->pageStep();
  info.Max = vertBar_->maximum() + info.Page - 1;
  info.Pos = vertBar_->value();
  return info;
}

TKelScrollInfo TKelPrmListBox::HorzScrollInfo() const {
  TKelScrollInfo info;
  info.Visible = horzBar_->isVisible();
  info.Page = horzBar_->pageStep();
  info.Max = horzBar_->maximum() + info.Page - 1;
  info.Pos = horzBar_->value();
  return info;
}

void TKelPrmListBox::UpdateScrollBars() {
  // Showing one bar shrinks the client area and may make the other necessary: settle twice.
  for (int pass = 0; pass < 2; ++pass) {
    const bool vertNeeded =
        itemHeight_ > 0 && items_->Count() >= ClientHeight() / itemHeight_ && items_->Count() > 0;
    const bool horzNeeded = ClientWidth() < maxWidth_;
    vertBar_->setVisible(vertNeeded);
    horzBar_->setVisible(horzNeeded);
    LayoutScrollBars();
  }
  if (vertBar_->isVisible()) {
    const QSignalBlocker block(vertBar_);
    const int page = std::max(1, VisibleRows());
    // Classic range 0 .. Count + page - 2 with a page of page: the thumb's top runs 0 .. Count - 1.
    vertBar_->setRange(0, std::max(0, items_->Count() - 1));
    vertBar_->setPageStep(page);
    vertBar_->setSingleStep(1);
    vertBar_->setValue(std::max(0, itemIndex_));
  }
  if (horzBar_->isVisible()) {
    const QSignalBlocker block(horzBar_);
    const int page = std::max(1, ClientWidth());
    horzBar_->setRange(0, std::max(0, maxWidth_ - page + 1));
    horzBar_->setPageStep(page);
    horzBar_->setSingleStep(1);
    horzBar_->setValue(horzPos_);
  }
}

void TKelPrmListBox::LayoutScrollBars() {
  const int b = BorderWidth(borderStyle_, true);
  const int vw = vertBar_->isVisible() ? vertBar_->sizeHint().width() : 0;
  const int hh = horzBar_->isVisible() ? horzBar_->sizeHint().height() : 0;
  vertBar_->setGeometry(width() - b - vw, b, vw, std::max(0, height() - 2 * b - hh));
  horzBar_->setGeometry(b, height() - b - hh, std::max(0, width() - 2 * b - vw), hh);
}

void TKelPrmListBox::VertAction(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      if (itemIndex_ > 0) SetItemIndex(itemIndex_ - 1);
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      SetItemIndex(itemIndex_ + 1);
      break;
    case QAbstractSlider::SliderPageStepSub:
      SetItemIndex(std::max(itemIndex_ - VisibleRows() + 1, 0));
      break;
    case QAbstractSlider::SliderPageStepAdd:
      SetItemIndex(itemIndex_ + VisibleRows() - 1);
      break;
    case QAbstractSlider::SliderMove:
      SetItemIndex(vertBar_->sliderPosition());
      break;
    default:
      break;
  }
  // The bar shows the selection, wherever the request would have put the thumb.
  vertBar_->setSliderPosition(std::max(0, itemIndex_));
}

void TKelPrmListBox::HorzAction(int action) {
  int pos = horzPos_;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      pos -= 1;
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      pos += 1;
      break;
    case QAbstractSlider::SliderPageStepSub:
      pos -= ClientWidth();
      break;
    case QAbstractSlider::SliderPageStepAdd:
      pos += ClientWidth();
      break;
    case QAbstractSlider::SliderMove:
      pos = horzBar_->sliderPosition();
      break;
    default:
      return;
  }
  horzPos_ = std::max(0, pos);
  horzBar_->setSliderPosition(std::min(horzPos_, horzBar_->maximum()));
  update();
}

void TKelPrmListBox::InvalidateItem(int index) {
  if (index < 0 && index != -2) return;
  const TRect r = ItemRect(index);
  update(QRect(ClientOrigin() + QPoint(r.Left, r.Top), QSize(r.Width(), r.Height())));
}

// ---- change notification

void TKelPrmListBox::ItemChanged(TKelCustomNamedItems*, TCollectionItem* item) {
  int changedLine = -1;
  if (item) {
    if (auto* listItem = qobject_cast<TKelListItem*>(item); listItem && listItem->Collection()) {
      const int index = listItem->Index();
      InvalidateItem(index);
      Report(this, TKelAccessibleChange::Name, listItem);
      if (listItem->Collection() == items_.get()) changedLine = index;
    }
  } else {
    PruneMetrics();
    ReportAccessible(this, TKelAccessibleChange::Structure);
    if (itemIndex_ > items_->Count() - 1) itemIndex_ = items_->Count() - 1;
    if (topIndex_ > std::max(0, items_->Count() - 1)) topIndex_ = std::max(0, items_->Count() - 1);
    update();
  }
  if (changedLine >= 0)
    UpdateMaxWidthFor(changedLine);
  else
    UpdateMaxWidth(true);
  if (OnChange) OnChange(this);
}

// ---- painting

void TKelPrmListBox::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  TCanvas canvas(painter, this);
  const TRect whole = TRect::FromQRect(rect());
  const TRect inside = DrawBorder(canvas, whole, borderStyle_, true);
  if (vertBar_->isVisible() && horzBar_->isVisible()) {
    // The corner between the two bars.
    canvas.Brush().Color = clBtnFace;
    canvas.FillRect(TRect{inside.Right - vertBar_->width(), inside.Bottom - horzBar_->height(),
                          inside.Right, inside.Bottom});
  }
  const QPoint origin = ClientOrigin();
  const int cw = ClientWidth();
  const int ch = ClientHeight();
  painter.save();
  painter.translate(origin);
  canvas.IntersectClipRect(TRect{0, 0, cw, ch});
  const QRect dirty = event->rect().translated(-origin);
  const int h = HorzPos();
  const int x0 = -h;
  const int x1 = cw + h;
  canvas.Brush().Color = color_;
  canvas.Font().Assign(font());
  canvas.Font().SetColor(clWindowText);
  int t = 0;
  const int rows = VisibleRows();
  for (int i = topIndex_; i < topIndex_ + rows; ++i, t += itemHeight_) {
    if (t + itemHeight_ <= dirty.top() || t > dirty.bottom()) continue;
    int state = 0;
    if (i == itemIndex_) state = rsSelected | (hasFocus() ? rsFocused : 0);
    DrawItem(canvas, i, TRect{x0, t, x1, t + itemHeight_}, state);
    canvas.Brush().Color = color_;
    canvas.Font().Assign(font());
    canvas.Font().SetColor(clWindowText);
    canvas.Font().SetStyle({});
  }
  if (showAddItem_) {
    PaintAddRow(canvas, t, x0, x1);
    t += itemHeight_;
  }
  canvas.Brush().Color = color_;
  if (t < ch) canvas.FillRect(TRect{0, t, cw, ch});
  painter.restore();
}

void TKelPrmListBox::PaintAddRow(TCanvas& canvas, int top, int x0, int x1) {
  const TRect row{x0, top, x1, top + itemHeight_};
  canvas.Brush().Color = color_;
  canvas.FillRect(row);
  canvas.Font().SetColor(clickHereColor_);
  canvas.TextRect(row, x0, top + (itemHeight_ - canvas.TextHeight(addItemText_)) / 2, addItemText_);
  canvas.Font().SetColor(clWindowText);
}

TColor TKelPrmListBox::ReadableSelColor() const {
  // The line keeps the window's text colour: on a selection too close to it (the silver of the
  // default under a dark or high-contrast palette) it could not be read, so a shade between the
  // window and its text takes the selection's place.
  const QColor text = palette().color(QPalette::WindowText);
  const QColor selection = ColorToQColor(selColor_, this);
  if (std::abs(ColorLuminance(selection) - ColorLuminance(text)) >= 96) return selColor_;
  return QColorToColor(MixColors(palette().color(QPalette::Window), text, 30));
}

void TKelPrmListBox::DrawItem(TCanvas& canvas, int index, TRect rect, int state) {
  const TRect whole = rect;
  try {
    if ((state & rsSelected) && !hideSelected_) canvas.Brush().Color = ReadableSelColor();
    if (index < 0 || index >= items_->Count()) {
      canvas.FillRect(rect);
      return;
    }
    TKelListItem* item = items_->Items(index);
    FreshMetricsOf(index);  // a shown line keeps its measured width true
    const int indent = IndentWidth(item);
    if (indent > 0) canvas.FillRect(TRect{rect.Left, rect.Top, rect.Left + indent, rect.Bottom});
    rect.Left += indent;
    if (checkBoxes_) {
      const int area = CheckArea();
      const bool rtl = layoutDirection() == Qt::RightToLeft;
      const TRect cell = rtl ? TRect{rect.Right - area, rect.Top, rect.Right, rect.Bottom}
                             : TRect{rect.Left, rect.Top, rect.Left + area, rect.Bottom};
      DrawCheckBox(canvas, cell, BoolToCheckState(item->Checked()), true);
      if (rtl)
        rect.Right -= area;
      else
        rect.Left += area;
    }
    QString text = items_->GetItemText(item, (state & rsSelected) && !hideHoverLink_);
    text.remove(u'~');
    const int textTop = rect.Top + (itemHeight_ - TextHeightOf(font())) / 2;
    int drawn = 0;
    QString plain;
    if (textTop > rect.Top) canvas.FillRect(TRect{rect.Left, rect.Top, rect.Right, textTop});
    DrawMarkupText(canvas, TRect{rect.Left, textTop, rect.Right, rect.Bottom}, text, false, drawn,
                   plain);
    // DrawMarkupText paints only the text's own cells: the rest of the row is ours.
    canvas.FillRect(TRect{rect.Left + drawn, textTop, rect.Right, rect.Bottom});
    if ((state & rsFocused) && !hideFocus_) canvas.DrawFocusRect(whole);
  } catch (...) {
    // A row that cannot be drawn is shown empty; the rows around it still draw.
    canvas.FillRect(whole);
  }
}

// ---- mouse

void TKelPrmListBox::ToggleChecked(TKelListItem* item) {
  if (items_->IsItemReadOnly(item)) return;
  RunUserChange([&] { item->SetChecked(!item->Checked()); }, TUserChangeReach::OneItem, item);
  Report(this, TKelAccessibleChange::State, item);
}

void TKelPrmListBox::RunUserChange(const std::function<void()>& change, TUserChangeReach reach,
                                   TKelListItem* item) {
  if (inUserChange_) {
    change();
    return;
  }
  if (reach == TUserChangeReach::OneItem && !item) reach = TUserChangeReach::WholeList;
  // The copy is made the way memory slots copy the items, so it loses nothing of them.
  const QMetaObject& copyClass =
      reach == TUserChangeReach::OneItem ? *item->metaObject() : ItemClass();
  TKelListItems before(nullptr, copyClass);
  if (reach == TUserChangeReach::WholeList)
    before.Assign(items_.get());
  else if (reach == TUserChangeReach::OneItem)
    before.TCollection::Add(copyClass)->Assign(item);
  const QPointer<TKelListItem> changed(item);
  const int count = items_->Count();
  const int itemIndex = itemIndex_;
  const int topIndex = topIndex_;
  const RestoreOnExit<bool> inChange(inUserChange_, true);
  try {
    change();
  } catch (...) {
    // Putting the old items back tells OnChange and the dataset once more; that the old state
    // is refused too cannot be helped here, and the first error is the one to report.
    try {
      if (reach == TUserChangeReach::WholeList) {
        items_->Assign(&before);
      } else if (reach == TUserChangeReach::OneItem) {
        // One report once every property is back: halfway the item may be refused again.
        if (changed && changed->Collection() == items_.get())
          WithinUpdate(*items_, [&] { changed->Assign(before.Items(0)); });
      } else {
        WithinUpdate(*items_, [&] {
          while (items_->Count() > count) items_->Delete(items_->Count() - 1);
        });
      }
      SetItemIndex(itemIndex);
      topIndex_ = std::clamp(topIndex, 0, std::max(0, items_->Count() - 1));
      UpdateScrollBars();
      update();
    } catch (...) {
    }
    throw;
  }
}

void TKelPrmListBox::ReportCurrentLine(bool selectionChanged) {
  if (itemIndex_ < 0 || itemIndex_ >= items_->Count()) return;
  TKelListItem* item = items_->Items(itemIndex_);
  if (selectionChanged) Report(this, TKelAccessibleChange::Selection, item);
  Report(this, TKelAccessibleChange::Focus, item);
}

void TKelPrmListBox::mousePressEvent(QMouseEvent* event) {
  if (!IsDesigning() && !hasFocus() && focusPolicy() != Qt::NoFocus) setFocus(Qt::MouseFocusReason);
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  const QPoint p = event->position().toPoint() - ClientOrigin();
  if (OnClick) OnClick(this);
  if (IsOnAddRow(p)) {
    RunUserChange([this] { AddItem(); }, TUserChangeReach::AddedItems);
    return;
  }
  SetItemIndex(ItemAtPos(p, false));
  dragStart_ = QPoint(-1, -1);
  dragging_ = false;
  const int row = ItemAtPos(p, true);
  if (row < 0) return;
  TKelListItem* item = items_->Items(row);
  const int h = HorzPos();
  const int indent = IndentWidth(item);
  if (checkBoxes_ && indent - h < p.x() && p.x() < indent - h + CheckSize()) {
    ToggleChecked(item);
    return;
  }
  int n = 0;
  int charRow = -1;
  CharPosAt(p, n, charRow);
  const QString spots = items_->StripTags(items_->GetItemText(item, false));
  const int spot = n > 0 ? HotSpotAt(spots, n) : -1;
  const int paramIndex = ParamOfHotSpot(item, spot);
  if (paramIndex >= 0) {
    activeItem_ = item;
    activeParam_ = item->Param(paramIndex);
    activeParamRect_ = ParamRect(item, activeParam_, HotSpotStart(spots, spot));
    items_->SetCurParam(item, paramIndex);
    InvalidateItem(row);
    PickParameter();
    return;
  }
  if (editWithMouse_ && !items_->IsItemReadOnly(item)) {
    dragStart_ = p;
    pressPos_ = p;
  }
}

void TKelPrmListBox::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint() - ClientOrigin();
  if ((event->buttons() & Qt::LeftButton) && dragStart_.x() >= 0 && !dragging_ &&
      (p - pressPos_).manhattanLength() >= QApplication::startDragDistance())
    dragging_ = true;
  bool hand = IsOnAddRow(p);
  if (!hand) {
    int n = 0;
    int row = -1;
    CharPosAt(p, n, row);
    if (row >= 0 && n > 0)
      hand = HotSpotAt(items_->StripTags(items_->GetItemText(items_->Items(row), false)), n) >= 0;
  }
  if (hand)
    setCursor(Qt::PointingHandCursor);
  else
    unsetCursor();
  QWidget::mouseMoveEvent(event);
}

void TKelPrmListBox::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint() - ClientOrigin();
  if (event->button() == Qt::LeftButton && dragging_) {
    dragging_ = false;
    // A drop onto the empty area below the last item is refused.
    if (p.y() < (items_->Count() - topIndex_) * itemHeight_ && p.y() >= 0)
      RunUserChange([&] { DropAt(dragStart_, p); });
    dragStart_ = QPoint(-1, -1);
    return;
  }
  dragStart_ = QPoint(-1, -1);
  QWidget::mouseReleaseEvent(event);
}

void TKelPrmListBox::contextMenuEvent(QContextMenuEvent* event) {
  // A right click selects the row under it (below the items nothing; the add row keeps the
  // selection) before the menu shows.
  if (event->reason() == QContextMenuEvent::Mouse) {
    const int row = ItemAtPos(event->pos() - ClientOrigin(), true);
    if (row != -2) {
      if (row == -1)
        SetItemIndex(-1);
      else
        SetItemIndex(row);
    }
  }
  TKelCustomControl::contextMenuEvent(event);
}

// ---- keys and focus

void TKelPrmListBox::InitDefaultKeys() { FillDefaultKeys(this); }

bool TKelPrmListBox::IsConsumedChar(QChar key) const { return key == u' '; }

void TKelPrmListBox::KeyPress(QChar& key) {
  if (key == u' ' && KeyState() == 0) {
    const int index = std::min(itemIndex_, items_->Count() - 1);
    if (index >= 0) ToggleChecked(items_->Items(index));
  }
  TKelCustomControl::KeyPress(key);
}

void TKelPrmListBox::focusInEvent(QFocusEvent* event) {
  if (!hideFocus_) InvalidateItem(itemIndex_);
  QWidget::focusInEvent(event);
  // After the focus report of the box itself, which Qt sends once this event is handled.
  QMetaObject::invokeMethod(
      this, [this] { ReportCurrentLine(false); }, Qt::QueuedConnection);
}

void TKelPrmListBox::focusOutEvent(QFocusEvent* event) {
  if (!hideFocus_) InvalidateItem(itemIndex_);
  QWidget::focusOutEvent(event);
}

void TKelPrmListBox::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) UpdateFontMetrics();
  if (event->type() == QEvent::PaletteChange) {
    ApplyLinkTags();
    update();
  }
  if (event->type() == QEvent::ParentChange) {
    SetItemIndex(0);
    UpdateFontMetrics();
  }
  QWidget::changeEvent(event);
}

void TKelPrmListBox::resizeEvent(QResizeEvent* event) {
  UpdateScrollBars();
  QWidget::resizeEvent(event);
}

void TKelPrmListBox::Loaded() {
  SetItemIndex(0);
  UpdateFontMetrics();
  // The stored defaults wait until the whole form has been loaded.
  QMetaObject::invokeMethod(
      this,
      [this] {
        LoadDefaults();
        ItemsReplaced();
      },
      Qt::QueuedConnection);
}

void TKelPrmListBox::Assign(TKelPrmListBox* source) {
  if (source && source != this) items_->Assign(source->Items());
}

}  // namespace Kel
