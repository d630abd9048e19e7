#include "StdCtrls.h"

#include <QDialog>
#include <QMouseEvent>
#include <QShortcut>
#include <limits>

#include "Buttons.h"
#include "ClassRegistry.h"
#include "Exceptions.h"
#include "RestoreOnExit.h"

namespace Kel {

namespace {

// The classic names of the standard controls, known to the class registry from the start.
const bool kRegistered = [] {
  RegisterClasses({&TEdit::staticMetaObject, &TListBox::staticMetaObject,
                   &TButton::staticMetaObject, &TBitBtn::staticMetaObject,
                   &TSpeedButton::staticMetaObject, &TCheckBox::staticMetaObject,
                   &TRadioButton::staticMetaObject});
  return true;
}();

}  // namespace

QWidget* CreateControl(const QMetaObject& controlClass, QWidget* parent) {
  if (!InheritsFrom(&controlClass, &QWidget::staticMetaObject))
    throw EInvalidCast(RtlMessage(RtlText::InvalidCast));
  if (QObject* made = ConstructWith(controlClass, QMetaType::fromType<QWidget*>(), &parent))
    return static_cast<QWidget*>(made);
  auto* widget = static_cast<QWidget*>(ConstructDefault(controlClass));
  if (!widget)
    throw EComponentError(QStringLiteral("Cannot create an instance of %1")
                              .arg(QString::fromLatin1(controlClass.className())));
  widget->setParent(parent);
  return widget;
}

QWidget* CreateControl(const QString& className, QWidget* parent) {
  return CreateControl(FindClass(className), parent);
}

void FireMouseEvent(const TMouseEvent& handler, QObject* sender, const QMouseEvent& event) {
  if (!handler) return;
  const TMouseEvent call = handler;  // the handler may replace itself
  const QPoint pos = event.position().toPoint();
  call(sender, MouseButtonOf(event.button()), ShiftStateFromQt(event.modifiers(), event.buttons()),
       pos.x(), pos.y());
}

TMouseButton MouseButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::RightButton: return mbRight;
    case Qt::MiddleButton: return mbMiddle;
    default: return mbLeft;
  }
}

// --- TEdit

TEdit::TEdit(QWidget* parent) : QLineEdit(parent) {
  connect(this, &QLineEdit::textChanged, this, [this] {
    if (OnChange) OnChange(this);
  });
}

void TEdit::SetText(const QString& value) {
  if (value != text()) setText(value);
}

int TEdit::MaxLength() const {
  // Qt's "no limit" is a large number; the classic one is 0.
  return maxLength() >= 32767 ? 0 : maxLength();
}

void TEdit::SetMaxLength(int value) { setMaxLength(value > 0 ? value : 32767); }

// --- TListBox

TListBox::TListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  connect(this, &QListWidget::currentRowChanged, this, [this] { FireClickIfUser(); });
}

void TListBox::FireClickIfUser() {
  if (!settingItems_ && OnClick) OnClick(this);
}

QStringList TListBox::Items() const {
  QStringList items;
  items.reserve(count());
  for (int i = 0; i < count(); ++i) items.append(item(i)->text());
  return items;
}

void TListBox::SetItems(const QStringList& items) {
  RestoreOnExit keep(settingItems_, true);
  clear();
  addItems(items);
}

void TListBox::SetItemIndex(int index) {
  RestoreOnExit keep(settingItems_, true);
  setCurrentRow(index >= 0 && index < count() ? index : -1);
}

void TListBox::SetSorted(bool value) {
  setSortingEnabled(value);
  if (value) sortItems();
}

void TListBox::SetBorderStyle(TBorderStyle value) {
  setFrameShape(value == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
}

int TListBox::ItemAtPos(const QPoint& pos, bool existing) const {
  if (QListWidgetItem* hit = itemAt(pos)) return row(hit);
  if (existing || count() == 0) return -1;
  // Beside the items: the item of that height; above or below them: the first or last one.
  const QRect first = visualItemRect(item(0));
  if (pos.y() < first.top()) return std::max(0, indexAt(QPoint(first.left(), 0)).row());
  for (int i = 0; i < count(); ++i) {
    const QRect r = visualItemRect(item(i));
    if (pos.y() >= r.top() && pos.y() <= r.bottom()) return i;
  }
  return count() - 1;
}

QRect TListBox::ItemRect(int index) const {
  return index >= 0 && index < count() ? visualItemRect(item(index)) : QRect();
}

void TListBox::mouseReleaseEvent(QMouseEvent* event) {
  QListWidget::mouseReleaseEvent(event);
  FireMouseEvent(OnMouseUp, this, *event);
}

// --- TButton

TButton::TButton(QWidget* parent) : QPushButton(parent) {
  setAutoDefault(false);
  connect(this, &QPushButton::clicked, this, [this] { Clicked(); });
}

TButton::~TButton() = default;

void TButton::SetCancel(bool value) {
  if (value == Cancel()) return;
  if (value) {
    cancelShortcut_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    cancelShortcut_->setContext(Qt::WindowShortcut);
    connect(cancelShortcut_, &QShortcut::activated, this, [this] {
      if (isEnabled() && isVisible()) animateClick();
    });
  } else {
    delete cancelShortcut_;
    cancelShortcut_ = nullptr;
  }
}

void TButton::Clicked() {
  // The dialog closes after the handler ran, so the handler sees it still open.
  const TModalResult result = modalResult_;
  QPointer<QDialog> dialog = qobject_cast<QDialog*>(window());
  FireClick(this);
  if (result != mrNone && dialog) dialog->done(result);
}

// --- TCheckBox

TCheckBox::TCheckBox(QWidget* parent) : QCheckBox(parent) {
  connect(this, &QCheckBox::clicked, this, [this] { FireClick(this); });
}

TCheckBoxState TCheckBox::State() const {
  switch (checkState()) {
    case Qt::Checked: return cbChecked;
    case Qt::PartiallyChecked: return cbGrayed;
    default: return cbUnchecked;
  }
}

void TCheckBox::SetState(TCheckBoxState value) {
  if (value == cbGrayed) setTristate(true);
  setCheckState(value == cbChecked  ? Qt::Checked
                : value == cbGrayed ? Qt::PartiallyChecked
                                    : Qt::Unchecked);
}

// --- TRadioButton

TRadioButton::TRadioButton(QWidget* parent) : QRadioButton(parent) {
  connect(this, &QRadioButton::clicked, this, [this] { FireClick(this); });
}

}  // namespace Kel
