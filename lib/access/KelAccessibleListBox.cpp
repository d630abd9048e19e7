#include <QWidget>
#include <QWindow>

#include "KelAccessibleListBox_p.h"
#include "KelDrawing.h"
#include "KelEventErrors.h"
#include "KelFltBld.h"
#include "KelForms.h"
#include "KelListBoxTexts.h"
#include "KelPrmListBox.h"
#include "KelUtils.h"

namespace Kel {

namespace {

// The text between the k-th pair of tildes.
QString HotSpotText(const QString& text, int k) {
  int opening = -1;
  qsizetype start = -1;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u'~') continue;
    if (start >= 0) {
      if (opening == k) return text.mid(start, i - start);
      start = -1;
    } else {
      ++opening;
      start = i + 1;
    }
  }
  return QString();
}

// A rectangle of the box's client area on the screen.
QRect ScreenRect(const TKelPrmListBox* box, const TRect& r) {
  return QRect(box->mapToGlobal(box->ClientOrigin() + QPoint(r.Left, r.Top)),
               QSize(r.Width(), r.Height()));
}

bool IsCurrent(const TKelPrmListBox* box, const TKelListItem* item) {
  const int index = box->ItemIndex();
  return index >= 0 && index < box->Items()->Count() && box->Items()->Items(index) == item;
}

QWindow* WindowOf(const QWidget* widget) {
  return widget ? widget->window()->windowHandle() : nullptr;
}

bool Named(const TKelListParam* param, const char* name) {
  return param->Name().compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

// The add line: a button that adds a line.
class TKelAccessibleAddLine : public TKelPressablePart<QAccessibleInterface> {
 public:
  explicit TKelAccessibleAddLine(TKelPrmListBox* box) : box_(box) {}

  bool isValid() const override { return box_ && box_->ShowAddItem(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return WindowOf(box_); }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(box_.data());
  }
  int childCount() const override { return 0; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name || !box_) return QString();
    // "<Click here to add condition>" reads better without its brackets.
    QString name = box_->AddItemText().trimmed();
    if (name.startsWith(u'<') && name.endsWith(u'>')) name = name.mid(1, name.size() - 2);
    return name;
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override { return box_ ? ScreenRect(box_, box_->ItemRect(-2)) : QRect(); }
  QAccessible::Role role() const override { return QAccessible::Button; }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!box_) return s;
    s.disabled = !box_->isEnabled() || box_->ReadOnly() || !box_->Options().Contains(fboCanAdd);
    s.invisible = !box_->isVisible();
    return s;
  }
  void doAction(const QString& action) override {
    // From the accessibility bridge, a user's change like the add row's click.
    if (action == pressAction() && box_ && !state().disabled)
      RunEventHandler(box_, [this] {
        box_->RunUserChange([this] { box_->AddItem(); },
                            TKelPrmListBox::TUserChangeReach::AddedItems);
      });
  }
  QStringList keyBindingsForAction(const QString& action) const override {
    return action == pressAction() ? QStringList{QStringLiteral("Insert")} : QStringList{};
  }

 private:
  QPointer<TKelPrmListBox> box_;
};

}  // namespace

int ShownRow(const TKelPrmListBox* box, const TKelListItem* item) {
  const TKelListItems* items = box->Items();
  for (int row = 0, rows = box->VisibleRows(); row < rows; ++row) {
    const int index = box->TopIndex() + row;
    if (index < items->Count() && items->Items(index) == item) return row;
  }
  return -1;
}

TKelPrmListBox* BoxOfItem(const TKelListItem* item) {
  if (!item || !item->Collection()) return nullptr;
  auto* box = qobject_cast<TKelPrmListBox*>(item->Collection()->GetOwner());
  return box && box->Items() == item->Collection() ? box : nullptr;
}

TKelListItem* ItemOfParam(const TKelListParam* param) {
  if (!param || !param->Collection()) return nullptr;
  return qobject_cast<TKelListItem*>(param->Collection()->GetOwner());
}

QString ParamPurpose(const TKelListItem* item, const TKelListParam* param) {
  if (!qobject_cast<const TKelFltItem*>(item)) return param->Name();
  if (Named(param, KelFltParam::Field)) return ListBoxText(KelListBoxText::EditsField);
  if (Named(param, KelFltParam::Template)) return ListBoxText(KelListBoxText::EditsOperation);
  if (Named(param, KelFltParam::Operation)) return ListBoxText(KelListBoxText::EditsConnector);
  return ListBoxText(KelListBoxText::EditsValue);
}

// ---- the box

TKelAccessibleListBox::TKelAccessibleListBox(QWidget* widget)
    : QAccessibleWidget(widget, QAccessible::List) {}

TKelPrmListBox* TKelAccessibleListBox::Box() const {
  return static_cast<TKelPrmListBox*>(widget());
}

int TKelAccessibleListBox::childCount() const {
  return Box()->Items()->Count() + (Box()->ShowAddItem() ? 1 : 0);
}

QAccessibleInterface* TKelAccessibleListBox::child(int index) const {
  TKelListItems* items = Box()->Items();
  if (index >= 0 && index < items->Count())
    return QAccessible::queryAccessibleInterface(items->Items(index));
  return index == items->Count() ? AddLine() : nullptr;
}

QAccessibleInterface* TKelAccessibleListBox::AddLine() const {
  if (!Box()->ShowAddItem()) return nullptr;
  return addLine_.Get(0, [this] { return new TKelAccessibleAddLine(Box()); });
}

int TKelAccessibleListBox::indexOfChild(const QAccessibleInterface* child) const {
  if (!child) return -1;
  if (auto* line = dynamic_cast<const TKelAccessibleLine*>(child))
    return line->isValid() && line->Box() == Box() ? line->Item()->Index() : -1;
  if (dynamic_cast<const TKelAccessibleAddLine*>(child))
    return child == AddLine() ? Box()->Items()->Count() : -1;
  return -1;
}

QAccessibleInterface* TKelAccessibleListBox::childAt(int x, int y) const {
  TKelPrmListBox* box = Box();
  const QPoint p = box->mapFromGlobal(QPoint(x, y)) - box->ClientOrigin();
  if (p.x() < 0 || p.y() < 0 || p.x() >= box->ClientWidth() || p.y() >= box->ClientHeight())
    return nullptr;
  if (box->IsOnAddRow(p)) return AddLine();
  const int row = box->ItemAtPos(p, true);
  return row >= 0 ? child(row) : nullptr;
}

// ---- a line

TKelAccessibleLine::TKelAccessibleLine(TKelListItem* item) : item_(item) {}

TKelPrmListBox* TKelAccessibleLine::Box() const { return BoxOfItem(item_); }

bool TKelAccessibleLine::isValid() const { return item_ && Box(); }

QObject* TKelAccessibleLine::object() const { return item_; }

QWindow* TKelAccessibleLine::window() const { return WindowOf(Box()); }

QAccessibleInterface* TKelAccessibleLine::parent() const {
  return QAccessible::queryAccessibleInterface(Box());
}

int TKelAccessibleLine::childCount() const {
  const TKelPrmListBox* box = Box();
  if (!box) return 0;
  // The hot spots: the named parameters that are shown (see ParamOfHotSpot), counted in one pass.
  int count = 0;
  for (int i = 0; i < item_->Params()->Count(); ++i) {
    const TKelListParam* param = item_->Param(i);
    if (param && !param->Name().isEmpty() && box->Items()->IsParamVisible(item_, param)) ++count;
  }
  return count;
}

QAccessibleInterface* TKelAccessibleLine::child(int index) const {
  const TKelPrmListBox* box = Box();
  const int param = box ? box->ParamOfHotSpot(item_, index) : -1;
  return param >= 0 ? QAccessible::queryAccessibleInterface(item_->Param(param)) : nullptr;
}

int TKelAccessibleLine::indexOfChild(const QAccessibleInterface* child) const {
  auto* param = dynamic_cast<const TKelAccessibleParam*>(child);
  if (!param || !param->isValid() || param->Item() != item_) return -1;
  return Box()->HotSpotOfParam(item_, param->Param()->Index());
}

QAccessibleInterface* TKelAccessibleLine::childAt(int x, int y) const {
  for (int i = 0, count = childCount(); i < count; ++i) {
    QAccessibleInterface* param = child(i);
    if (param && param->rect().contains(x, y)) return param;
  }
  return nullptr;
}

QString TKelAccessibleLine::text(QAccessible::Text t) const {
  const TKelPrmListBox* box = Box();
  if (!box) return QString();
  switch (t) {
    case QAccessible::Name:
      // A value that cannot be formatted leaves the line nameless rather than stopping the reader.
      try {
        const TKelListItems* items = box->Items();
        // Hidden parameters leave their spaces behind.
        return MarkupPlainText(RemoveTildes(items->StripTags(items->GetItemText(item_, false))))
            .simplified();
      } catch (const std::exception&) {
        return QString();
      }
    case QAccessible::Description:
      return item_->IndentLev() > 0
                 ? ListBoxText(KelListBoxText::IndentLevel).arg(item_->IndentLev())
                 : QString();
    default:
      return QString();
  }
}

QRect TKelAccessibleLine::rect() const {
  const TKelPrmListBox* box = Box();
  const int row = box ? ShownRow(box, item_) : -1;
  return row < 0 ? QRect() : ScreenRect(box, box->ItemRect(box->TopIndex() + row));
}

QAccessible::State TKelAccessibleLine::state() const {
  QAccessible::State s;
  const TKelPrmListBox* box = Box();
  if (!box) return s;
  s.selectable = true;
  s.focusable = true;
  if (box->CheckBoxes()) {
    s.checkable = true;
    s.checked = item_->Checked();
  }
  const bool current = IsCurrent(box, item_);
  s.selected = current;
  s.focused = current && box->hasFocus();
  s.readOnly = box->ReadOnly() || box->Items()->IsItemReadOnly(item_);
  s.disabled = !box->isEnabled();
  s.offscreen = ShownRow(box, item_) < 0;
  s.invisible = !box->isVisible();
  return s;
}

void* TKelAccessibleLine::interface_cast(QAccessible::InterfaceType type) {
  return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                              : nullptr;
}

QStringList TKelAccessibleLine::actionNames() const {
  QStringList names{setFocusAction()};
  const TKelPrmListBox* box = Box();
  if (box && box->CheckBoxes() && !box->Items()->IsItemReadOnly(item_))
    names.prepend(toggleAction());
  return names;
}

void TKelAccessibleLine::doAction(const QString& actionName) {
  TKelPrmListBox* box = Box();
  if (!box || !box->isEnabled()) return;
  if (actionName == setFocusAction()) {
    box->setFocus(Qt::OtherFocusReason);
    box->SetItemIndex(item_->Index());
  } else if (actionName == toggleAction() && actionNames().contains(toggleAction())) {
    // A user's change like Space: refused, it is reported and undone (and the line is gone).
    const auto toggle = [this] { item_->SetChecked(!item_->Checked()); };
    const auto reach = TKelPrmListBox::TUserChangeReach::OneItem;
    if (!RunEventHandler(box, [&] { box->RunUserChange(toggle, reach, item_.data()); })) return;
    QAccessible::State checked;
    checked.checked = true;
    QAccessibleStateChangeEvent event(this, checked);
    QAccessible::updateAccessibility(&event);
  }
}

// ---- a parameter

TKelAccessibleParam::TKelAccessibleParam(TKelListParam* param) : param_(param) {}

TKelListItem* TKelAccessibleParam::Item() const { return ItemOfParam(param_); }

TKelPrmListBox* TKelAccessibleParam::Box() const { return BoxOfItem(Item()); }

bool TKelAccessibleParam::isValid() const { return param_ && Box(); }

QObject* TKelAccessibleParam::object() const { return param_; }

QWindow* TKelAccessibleParam::window() const { return WindowOf(Box()); }

QAccessibleInterface* TKelAccessibleParam::parent() const {
  return QAccessible::queryAccessibleInterface(Item());
}

QWidget* TKelAccessibleParam::OpenEditor() const {
  const TKelPrmListBox* box = Box();
  if (!box || box->ActiveParam() != param_ || !box->Popup()) return nullptr;
  return box->Popup()->isVisible() ? box->Popup() : nullptr;
}

int TKelAccessibleParam::childCount() const { return OpenEditor() ? 1 : 0; }

QAccessibleInterface* TKelAccessibleParam::child(int index) const {
  QWidget* editor = index == 0 ? OpenEditor() : nullptr;
  return editor ? QAccessible::queryAccessibleInterface(editor) : nullptr;
}

int TKelAccessibleParam::indexOfChild(const QAccessibleInterface* child) const {
  QWidget* editor = OpenEditor();
  return editor && child && child->object() == editor ? 0 : -1;
}

QString TKelAccessibleParam::text(QAccessible::Text t) const {
  const TKelPrmListBox* box = Box();
  if (!box) return QString();
  TKelListItem* item = Item();
  switch (t) {
    case QAccessible::Name:
      try {
        const TKelListItems* items = box->Items();
        return MarkupPlainText(HotSpotText(items->StripTags(items->GetItemText(item, false)),
                                           box->HotSpotOfParam(item, param_->Index())));
      } catch (const std::exception&) {
        return QString();
      }
    case QAccessible::Description:
      return ParamPurpose(item, param_);
    default:
      return QString();
  }
}

QRect TKelAccessibleParam::rect() const {
  TKelPrmListBox* box = Box();
  TKelListItem* item = Item();
  if (!box || ShownRow(box, item) < 0) return QRect();
  const int spot = box->HotSpotOfParam(item, param_->Index());
  if (spot < 0) return QRect();
  try {
    const QString spots = box->Items()->StripTags(box->Items()->GetItemText(item, false));
    return ScreenRect(box, box->ParamRect(item, param_, HotSpotStart(spots, spot)));
  } catch (const std::exception&) {
    return QRect();
  }
}

QAccessible::State TKelAccessibleParam::state() const {
  QAccessible::State s;
  const TKelPrmListBox* box = Box();
  if (!box) return s;
  TKelListItem* item = Item();
  const bool lineFocused = box->hasFocus() && IsCurrent(box, item);
  s.focusable = true;
  s.focused = lineFocused && item->CurParam() == param_->Index();
  s.linked = true;
  s.hasPopup = true;
  s.expandable = true;
  s.expanded = OpenEditor() != nullptr;
  s.readOnly = param_->ReadOnly() || box->Items()->IsItemReadOnly(item);
  s.disabled = !box->isEnabled();
  s.offscreen = ShownRow(box, item) < 0;
  s.invisible = !box->isVisible();
  return s;
}

void* TKelAccessibleParam::interface_cast(QAccessible::InterfaceType type) {
  return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                              : nullptr;
}

QStringList TKelAccessibleParam::actionNames() const {
  const QAccessible::State s = state();
  if (s.readOnly || s.disabled) return {setFocusAction()};
  return {pressAction(), setFocusAction()};
}

void TKelAccessibleParam::MakeCurrent() const {
  TKelPrmListBox* box = Box();
  TKelListItem* item = Item();
  box->SetItemIndex(item->Index());
  box->Items()->SetCurParam(item, param_->Index());
  box->InvalidateItem(item->Index());
}

void TKelAccessibleParam::doAction(const QString& actionName) {
  TKelPrmListBox* box = Box();
  if (!box || !actionNames().contains(actionName)) return;
  if (actionName == setFocusAction()) {
    box->setFocus(Qt::OtherFocusReason);
    MakeCurrent();
  } else if (actionName == pressAction()) {
    MakeCurrent();
    RunEventHandler(box, [box] { box->EditCurrentParam(); });
  }
}

QStringList TKelAccessibleParam::keyBindingsForAction(const QString& actionName) const {
  return actionName == pressAction() ? QStringList{QStringLiteral("Return")} : QStringList{};
}

}  // namespace Kel
