#include "KelStdCtrls.h"

#include "Exceptions.h"
#include "KelControlsConsts.h"
#include "KelTranslate.h"

namespace Kel {

TKelPopupEdit::TKelPopupEdit(QWidget* owner, int option)
    : TKelPopupForm(owner, option), edit_(new TEdit(this)) {
  setAccessibleName(TranslateText(KelControlsText::PopupEdit));
  edit_->SetBorderStyle(bsNone);
  edit_->setAccessibleName(accessibleName());
  SetClientControl(edit_);
  SetClientSize(edit_->sizeHint());
}

TKelPopupListBox::TKelPopupListBox(QWidget* owner, int option) : TKelPopupForm(owner, option) {
  setAccessibleName(TranslateText(KelControlsText::PopupList));
}

TListBox* TKelPopupListBox::ListBox() {
  if (listBox_) return listBox_;
  QWidget* made = CreateControl(ListBoxClass(), this);
  listBox_ = qobject_cast<TListBox*>(made);
  if (!listBox_) {
    delete made;
    throw EInvalidCast(RtlMessage(RtlText::InvalidCast));
  }
  listBox_->SetBorderStyle(bsNone);
  listBox_->setAccessibleName(accessibleName());
  listBox_->OnMouseUp = [this](QObject*, TMouseButton button, TShiftState, int x, int y) {
    ListMouseUp(button, x, y);
  };
  SetClientControl(listBox_);
  SetClientSize(listBox_->sizeHint());
  return listBox_;
}

void TKelPopupListBox::BeforePopup() {
  ListBox();
  TKelPopupForm::BeforePopup();
}

void TKelPopupListBox::ListMouseUp(TMouseButton button, int x, int y) {
  if (button != mbLeft) return;
  const QPoint point(x, y);
  if (listBox_->ItemAtPos(point, true) < 0) return;
  ClosePopup(!listBox_->viewport()->rect().contains(point));
}

}  // namespace Kel
