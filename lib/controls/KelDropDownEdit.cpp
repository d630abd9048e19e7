#include "KelDropDownEdit.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include "KelForms.h"

namespace Kel {

TKelDropDownEdit::TKelDropDownEdit(QWidget* parent)
    : QWidget(parent), editor_(new QLineEdit(this)), button_(new QToolButton(this)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(editor_, 1);
  layout->addWidget(button_);
  button_->setArrowType(Qt::DownArrow);
  button_->setFocusPolicy(Qt::NoFocus);
  button_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
  setFocusProxy(editor_);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  editor_->installEventFilter(this);
  connect(button_, &QToolButton::clicked, this, [this] { DropDown(); });
  // The field speaks for the whole control.
  editor_->setAccessibleName(accessibleName());
  UpdateEditor();
}

TKelDropDownEdit::~TKelDropDownEdit() {
  // Destroying the widget takes the focus from the field, whose focus-out reaches handlers of
  // the descendants that are gone by then.
  editor_->removeEventFilter(this);
  editor_->disconnect(this);
}

void TKelDropDownEdit::SetReadOnly(bool value) {
  if (readOnly_ == value) return;
  readOnly_ = value;
  UpdateEditor();
}

void TKelDropDownEdit::UpdateEditor() {
  editor_->setReadOnly(readOnly_ || !Editable());
  button_->setEnabled(!readOnly_ && isEnabled());
}

void TKelDropDownEdit::DropDown() {
  if (readOnly_ || !isEnabled()) return;
  if (!popup_) popup_ = CreatePopup();
  if (!popup_) return;
  PreparePopup(popup_);
  const TRect field{0, 0, width(), height()};
  popup_->PopupAtRect(this, field, [this](TKelPopupForm* popup, bool canceled) {
    if (AcceptPopup(popup, canceled)) Changed();
    editor_->setFocus(Qt::PopupFocusReason);
  });
}

void TKelDropDownEdit::ShowText(const QString& text) {
  editor_->setText(text);
  editor_->setCursorPosition(0);
}

void TKelDropDownEdit::Changed() {
  if (OnChange) OnChange(this);
}

QSize TKelDropDownEdit::sizeHint() const {
  const QSize edit = editor_->sizeHint();
  return {edit.width() + button_->sizeHint().width(), edit.height()};
}

QSize TKelDropDownEdit::minimumSizeHint() const {
  const QSize edit = editor_->minimumSizeHint();
  return {edit.width() + button_->sizeHint().width(), edit.height()};
}

bool TKelDropDownEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == editor_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool altDown = key->key() == Qt::Key_Down && key->modifiers() == Qt::AltModifier;
    if (altDown || (key->key() == Qt::Key_F4 && key->modifiers() == Qt::NoModifier)) {
      DropDown();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TKelDropDownEdit::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) UpdateEditor();
  QWidget::changeEvent(event);
}

}  // namespace Kel
