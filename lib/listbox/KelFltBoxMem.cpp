#include "KelFltBoxMem.h"

#include <QMessageBox>

#include "KelForms.h"
#include "KelListBoxTexts.h"
#include "KelPrmListBox.h"

namespace Kel {

TSievraMemForm::TSievraMemForm(QWidget* parent)
    : QDialog(parent),
      edit_(new TEdit(this)),
      listBox_(new TListBox(this)),
      okButton_(new TButton(this)),
      cancelButton_(new TButton(this)),
      deleteButton_(new TButton(this)),
      deletedNames_(std::make_unique<TStringList>()) {
  ApplyMainFormFont(this);
  setFixedSize(263, 228);
  edit_->setGeometry(8, 14, 154, 24);
  listBox_->setGeometry(8, 47, 154, 166);
  listBox_->setEnabled(false);
  okButton_->setGeometry(176, 14, 75, 25);
  cancelButton_->setGeometry(176, 50, 75, 25);
  deleteButton_->setGeometry(177, 116, 75, 25);
  okButton_->SetCaption(ListBoxText(QT_TRANSLATE_NOOP("Kel", "OK")));
  cancelButton_->SetCaption(ListBoxText(QT_TRANSLATE_NOOP("Kel", "Cancel")));
  deleteButton_->SetCaption(ListBoxText(QT_TRANSLATE_NOOP("Kel", "Delete")));
  okButton_->SetDefault(true);
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
  connect(deleteButton_, &QPushButton::clicked, this, [this] { DeleteClicked(); });
  connect(edit_, &QLineEdit::textChanged, this, [this] { UpdateButtons(); });
  connect(listBox_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { edit_->SetText(item->text()); });
  connect(listBox_, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
}

TSievraMemForm::~TSievraMemForm() = default;

void TSievraMemForm::showEvent(QShowEvent* event) {
  UpdateButtons();
  QDialog::showEvent(event);
}

int TSievraMemForm::NamedRow() const {
  const QString text = edit_->Text();
  if (text.isEmpty()) return -1;
  const QStringList entries = listBox_->Items();
  for (int i = 0; i < entries.size(); ++i)
    if (entries[i].compare(text, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

void TSievraMemForm::UpdateButtons() {
  deleteButton_->setEnabled(NamedRow() >= 0);
  okButton_->setEnabled(!edit_->Text().isEmpty());
  listBox_->setEnabled(listBox_->Count() > 0);
}

void TSievraMemForm::DeleteClicked() {
  // The slot the name denotes, whichever row is selected: Delete is offered for that name.
  const int index = NamedRow();
  if (index >= 0) {
    const QString name = listBox_->item(index)->text();
    if (!prmListBox_ || prmListBox_->CanDeleteSlot(name)) {
      deletedNames_->Add(name);
      delete listBox_->takeItem(index);
    } else {
      QMessageBox::warning(this, windowTitle(),
                           ListBoxText(QT_TRANSLATE_NOOP("Kel", "Can't delete this memory slot")));
    }
  }
  UpdateButtons();
}

}  // namespace Kel
