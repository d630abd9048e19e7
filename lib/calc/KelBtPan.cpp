#include "KelBtPan.h"

#include <QEvent>
#include <QResizeEvent>
#include <algorithm>
#include <vector>

#include "Buttons.h"
#include "ClassRegistry.h"
#include "Forms.h"
#include "KelCalcConsts.h"
#include "KelCaptionWidth.h"
#include "KelEventErrors.h"
#include "KelForms.h"
#include "KelPublishedProps.h"
#include "KelRegisterClasses.h"
#include "KelTranslate.h"
#include "StdCtrls.h"

namespace Kel {

namespace {

const bool panelClassRegistered = [] {
  RegisterClassesOnce({&TKelBtnPanel::staticMetaObject});
  return true;
}();

// The standard sets, left to right.
std::vector<TKelButtonType> ButtonsOf(TKelBtnPanelButtons buttons) {
  switch (buttons) {
    case pbOk:
      return {btOk};
    case pbOkCancel:
      return {btOk, btCancel};
    case pbOkCancelHelp:
      return {btOk, btCancel, btHelp};
    case pbClose:
      return {btClose};
    case pbCloseHelp:
      return {btClose, btHelp};
    case pbYesNo:
      return {btYes, btNo};
    case pbAbortRetryIgnore:
      return {btAbort, btRetry, btIgnore};
    default:
      return {};
  }
}

// The caption's letters (and underscores) followed by "Button": "&Browse..." gives
// "BrowseButton".
QString ButtonNameBase(const QString& caption) {
  QString base;
  for (QChar c : caption)
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_') base += c;
  return base + QStringLiteral("Button");
}

// base + the first number that no object of window carries (ignoring case). Buttons sit on
// their panels, not on the window itself, so the whole tree counts: two panels of one dialog
// give OKButton1 and OKButton2.
QString UniqueNameInWindow(const QWidget* window, const QString& base) {
  const QList<QObject*> objects = window->findChildren<QObject*>();
  for (int number = 1;; ++number) {
    const QString name = base + QString::number(number);
    if (window->objectName().compare(name, Qt::CaseInsensitive) == 0) continue;
    bool taken = false;
    for (const QObject* o : objects)
      if (o->objectName().compare(name, Qt::CaseInsensitive) == 0) {
        taken = true;
        break;
      }
    if (!taken) return name;
  }
}

}  // namespace

// --- items

TKelBtnPanelItem::TKelBtnPanelItem(TCollection* collection)
    : TKelNamedItem(collection), panel_(collection ? collection->GetOwner() : nullptr) {}

TKelBtnPanelItem::~TKelBtnPanelItem() {
  QObject::disconnect(destroyedConnection_);
  // The item frees its button; a control that sits elsewhere (an item copied from another
  // panel's list) belongs to that panel and stays. The panel is remembered from the start: a
  // collection lets go of an item before deleting it.
  if (control_ && (!control_->parent() || control_->parent() == panel_)) delete control_.data();
}

void TKelBtnPanelItem::SetControl(QWidget* value) {
  QObject::disconnect(destroyedConnection_);
  control_ = value;
  SetName(value ? value->objectName() : QString());
  // A control destroyed elsewhere takes its name with it; the item waits for the next
  // arrangement to go.
  if (value)
    destroyedConnection_ =
        QObject::connect(value, &QObject::destroyed, this, [this] { SetName(QString()); });
}

void TKelBtnPanelItem::Assign(TPersistent* source) {
  if (auto* item = qobject_cast<TKelBtnPanelItem*>(source)) {
    SetControl(item->Control());
    controlType_ = item->ControlType();
    return;
  }
  TKelNamedItem::Assign(source);
}

TKelBtnPanelItems::TKelBtnPanelItems(QObject* owner)
    : TKelNamedItems(owner, TKelBtnPanelItem::staticMetaObject) {}

int TKelBtnPanelItems::IndexOfControl(const QObject* control) const {
  for (int i = 0; i < Count(); ++i)
    if (control && Items(i)->Control() == control) return i;
  return -1;
}

// --- panel

TKelCustomBtnPanel::TKelCustomBtnPanel(QWidget* parent)
    : QFrame(parent),
      buttonList_(std::make_unique<TKelBtnPanelItems>(this)),
      buttons_(std::make_unique<TStringList>()),
      buttonClass_(&TButton::staticMetaObject) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(1);
  setAccessibleName(TranslateText(KelCalcText::ButtonPanel));
  resize(280, 150);
  buttons_->OnChange = [this](TStringList*) {
    if (defButtons_ == pbCustom) RebuildButtons();
  };
}

TKelCustomBtnPanel::~TKelCustomBtnPanel() {
  buttons_->OnChange = nullptr;
  buttonList_.reset();  // frees the buttons while the panel is still whole
}

void TKelCustomBtnPanel::SetButtonList(const TKelBtnPanelItems* value) {
  if (value) buttonList_->Assign(const_cast<TKelBtnPanelItems*>(value));
  RebuildButtons();
}

void TKelCustomBtnPanel::SetButtons(const TStrings* value) {
  if (value)
    buttons_->Assign(*value);
  else
    buttons_->Clear();
}

QStringList TKelCustomBtnPanel::ButtonCaptions() const { return buttons_->ToStringList(); }

void TKelCustomBtnPanel::SetButtonCaptions(const QStringList& value) {
  if (value == ButtonCaptions()) return;
  TStringList lines;
  lines.FromStringList(value);
  SetButtons(&lines);
}

void TKelCustomBtnPanel::SetDefButtons(TKelBtnPanelButtons value) {
  if (value == defButtons_) return;
  defButtons_ = value;
  RebuildButtons();
}

void TKelCustomBtnPanel::SetDefButtonSet(TKelButtonSet value) {
  if (value == defButtonSet_) return;
  defButtonSet_ = value;
  RebuildButtons();
}

QString TKelCustomBtnPanel::ButtonClassName() const {
  return QString::fromLatin1(buttonClass_->className()).section(QStringLiteral("::"), -1);
}

void TKelCustomBtnPanel::SetButtonClassName(const QString& value) {
  const QMetaObject* controlClass = GetClass(value);
  if (!controlClass || !InheritsFrom(controlClass, &QWidget::staticMetaObject)) return;
  SetButtonClass(controlClass);
}

void TKelCustomBtnPanel::SetButtonClass(const QMetaObject* value) {
  if (!value || value == buttonClass_) return;
  buttonClass_ = value;
  RebuildButtons();
}

void TKelCustomBtnPanel::SetButtonWidth(int value) {
  if (value == buttonWidth_) return;
  buttonWidth_ = value;
  ArrangeButtons();
}

void TKelCustomBtnPanel::SetButtonHeight(int value) {
  if (value == buttonHeight_) return;
  buttonHeight_ = value;
  ArrangeButtons();
}

void TKelCustomBtnPanel::SetDirection(TKelDirection value) {
  if (value == direction_) return;
  direction_ = value;
  ArrangeButtons();
}

void TKelCustomBtnPanel::SetHorzAlign(TKelHorzAlign value) {
  if (value == horzAlign_) return;
  horzAlign_ = value;
  ArrangeButtons();
}

void TKelCustomBtnPanel::SetVertAlign(TKelVertAlign value) {
  if (value == vertAlign_) return;
  vertAlign_ = value;
  ArrangeButtons();
}

void TKelCustomBtnPanel::SetButtonSpace(int value) {
  if (value == buttonSpace_) return;
  buttonSpace_ = value;
  ArrangeButtons();
}

void TKelCustomBtnPanel::SetSideDistance(int value) {
  if (value == sideDistance_) return;
  sideDistance_ = value;
  ArrangeButtons();
}

void TKelCustomBtnPanel::SetUseMainFormFont(bool value) {
  if (value == useMainFormFont_) return;
  useMainFormFont_ = value;
  ApplyMainFormFontToForm();
}

void TKelCustomBtnPanel::ApplyMainFormFontToForm() {
  QWidget* form = parentWidget();
  if (useMainFormFont_ && form && form->isWindow()) ApplyMainFormFont(form);
}

void TKelCustomBtnPanel::NextHorzAlign() {
  SetHorzAlign(horzAlign_ == haLeft ? haCenter : horzAlign_ == haCenter ? haRight : haLeft);
}

void TKelCustomBtnPanel::NextVertAlign() {
  SetVertAlign(vertAlign_ == vaTop ? vaCenter : vertAlign_ == vaCenter ? vaBottom : vaTop);
}

void TKelCustomBtnPanel::ToggleDirection() {
  SetDirection(direction_ == diHorizontal ? diVertical : diHorizontal);
}

void TKelCustomBtnPanel::EndLoading() {
  loading_ = false;
  ArrangeButtons();
}

// --- creating

QWidget* TKelCustomBtnPanel::CreateButton(const QString& caption, TKelButtonType type) {
  QWidget* control = CreateControl(*buttonClass_, this);
  try {
    control->setObjectName(UniqueNameInWindow(window(), ButtonNameBase(caption)));
    control->resize(buttonWidth_, buttonHeight_);
    const QString text = TranslateText(caption);
    if (HasProp(control, QStringLiteral("Caption")))
      SetPropValue(control, QStringLiteral("Caption"), Variant(text));
    else
      control->setProperty("text", text);
    AttachClickHandler(control);
    if (caption == QLatin1String(KelCalcText::BtnOk) && HasProp(control, QStringLiteral("Default")))
      SetPropValue(control, QStringLiteral("Default"), Variant(true));
    if (caption == QLatin1String(KelCalcText::BtnCancel) &&
        HasProp(control, QStringLiteral("Cancel")))
      SetPropValue(control, QStringLiteral("Cancel"), Variant(true));
    TKelBtnPanelItem* item = buttonList_->Add();
    item->SetControl(control);
    item->SetControlType(type);
  } catch (...) {
    delete control;
    throw;
  }
  return control;
}

void TKelCustomBtnPanel::CreateButtonsFromSet() {
  for (int t = btYes; t <= btSave; ++t) {
    const auto type = static_cast<TKelButtonType>(t);
    if (defButtonSet_.Contains(type)) CreateButton(ButtonTypeCaption(type), type);
  }
}

void TKelCustomBtnPanel::ClearButtons() { buttonList_->Clear(); }

void TKelCustomBtnPanel::RebuildButtons() {
  if (loading_) return;
  ClearButtons();
  if (defButtons_ == pbCustom) {
    for (int i = 0; i < buttons_->Count(); ++i) CreateButton(buttons_->Strings(i), btCustom);
  } else if (defButtons_ == pbFromSet) {
    CreateButtonsFromSet();
  } else {
    for (TKelButtonType type : ButtonsOf(defButtons_)) CreateButton(ButtonTypeCaption(type), type);
  }
  ArrangeButtons();
}

// --- placing

QPoint TKelCustomBtnPanel::ButtonPosition(int index, int count) const {
  const int columns = direction_ == diHorizontal ? count : 1;
  const int rows = direction_ == diHorizontal ? 1 : count;
  const int sx = DialogUnitsToPixelsX(buttonSpace_, this);
  const int sy = DialogUnitsToPixelsY(buttonSpace_, this);
  const int dx = DialogUnitsToPixelsX(sideDistance_, this);
  const int dy = DialogUnitsToPixelsY(sideDistance_, this);
  const int usedWidth = columns * placedButtonWidth_ + (columns - 1) * sx;
  const int usedHeight = rows * buttonHeight_ + (rows - 1) * sy;
  int x0 = dx;
  if (horzAlign_ == haCenter) x0 = (width() - usedWidth) / 2;
  if (horzAlign_ == haRight) x0 = width() - dx - usedWidth;
  int y0 = dy;
  if (vertAlign_ == vaCenter) y0 = (height() - usedHeight) / 2;
  if (vertAlign_ == vaBottom) y0 = height() - dy - usedHeight;
  if (direction_ == diHorizontal) return QPoint(x0 + index * (sx + placedButtonWidth_), y0);
  return QPoint(x0, y0 + index * (sy + buttonHeight_));
}

void TKelCustomBtnPanel::ArrangeButtons() {
  if (loading_) return;
  for (int i = buttonList_->Count() - 1; i >= 0; --i)
    if (!buttonList_->Items(i)->Control()) buttonList_->Delete(i);
  const int count = buttonList_->Count();
  // A translated caption can be longer than the width chosen for the English one: no caption
  // is cut, the buttons grow together.
  placedButtonWidth_ = buttonWidth_;
  for (int i = 0; i < count; ++i) {
    const QWidget* control = buttonList_->Items(i)->Control();
    placedButtonWidth_ = std::max(placedButtonWidth_,
                                  CaptionFitWidth(control, control->property("text").toString()));
  }
  for (int i = 0; i < count; ++i) {
    TKelBtnPanelItem* item = buttonList_->Items(i);
    QWidget* control = item->Control();
    if (HasProp(control, QStringLiteral("ModalResult")))
      SetPropValue(control, QStringLiteral("ModalResult"),
                   Variant(ButtonTypeModalResult(item->ControlType())));
    if (control->parentWidget() != this) control->setParent(this);
    control->setGeometry(QRect(ButtonPosition(i, count), QSize(placedButtonWidth_, buttonHeight_)));
    AttachClickHandler(control);
    if (isVisible()) control->show();
  }
}

// --- clicks

void TKelCustomBtnPanel::AttachClickHandler(QWidget* control) {
  auto* clickable = dynamic_cast<TClickable*>(control);
  if (!clickable || clickable->OnClick) return;
  clickable->OnClick = [](QObject* sender) {
    // Whichever panel the button sits on now reports it.
    auto* widget = qobject_cast<QWidget*>(sender);
    auto* panel = widget ? qobject_cast<TKelCustomBtnPanel*>(widget->parentWidget()) : nullptr;
    // The button is a plain one: what OnClickButton raises is caught here, not in Qt.
    if (panel) RunEventHandler(panel, [&] { panel->PanelClick(sender); });
  };
}

void TKelCustomBtnPanel::PanelClick(QObject* sender) {
  int index = -1;
  TKelButtonType type = btCustom;
  if (ButtonClicked(sender, index, type)) ClickNotification(index, type);
}

bool TKelCustomBtnPanel::ButtonClicked(const QObject* control, int& index,
                                       TKelButtonType& type) const {
  index = buttonList_->IndexOfControl(control);
  if (index < 0) return false;
  type = buttonList_->Items(index)->ControlType();
  return true;
}

void TKelCustomBtnPanel::ClickNotification(int index, TKelButtonType type) {
  if (type == btHelp && OnHelp) OnHelp(this, helpContext_);
  if (OnClickButton) OnClickButton(this, index, type);
}

// --- events

void TKelCustomBtnPanel::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  ArrangeButtons();
}

void TKelCustomBtnPanel::changeEvent(QEvent* event) {
  QFrame::changeEvent(event);
  // Dialog units follow the font.
  const QEvent::Type type = event->type();
  if (type == QEvent::FontChange || type == QEvent::ApplicationFontChange) ArrangeButtons();
  if (type == QEvent::ParentChange) ApplyMainFormFontToForm();
}

}  // namespace Kel
