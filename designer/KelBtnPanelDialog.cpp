#include "KelBtnPanelDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace Kel::Designer {

namespace {

// The choices of DefButtons, in the order of the enumeration.
const char* const kStandardSets[] = {
    "Custom captions", "OK",      "OK, Cancel",           "OK, Cancel, Help",        "Close",
    "Close, Help",     "Yes, No", "Abort, Retry, Ignore", "Every kind ticked below",
};

QString KindLabel(TKelButtonType type) { return ButtonTypeCaption(type).remove(u'&'); }

}  // namespace

TKelBtnPanelDialog::TKelBtnPanelDialog(const TKelCustomBtnPanel* panel, QWidget* parent)
    : QDialog(parent),
      standard_(new QButtonGroup(this)),
      captions_(new QPlainTextEdit(this)),
      preview_(new TKelBtnPanel(this)) {
  setWindowTitle(QStringLiteral("Edit Buttons of %1").arg(panel->objectName()));
  auto* standardBox = new QGroupBox(QStringLiteral("Buttons"), this);
  auto* standardLayout = new QVBoxLayout(standardBox);
  for (int i = 0; i < int(std::size(kStandardSets)); ++i) {
    auto* choice = new QRadioButton(QString::fromLatin1(kStandardSets[i]), standardBox);
    standard_->addButton(choice, i);
    standardLayout->addWidget(choice);
  }
  standard_->button(panel->DefButtons())->setChecked(true);

  auto* kindsBox = new QGroupBox(QStringLiteral("Kinds"), this);
  auto* kindsLayout = new QGridLayout(kindsBox);
  for (int type = btYes; type <= btSave; ++type) {
    auto* kind = new QCheckBox(KindLabel(static_cast<TKelButtonType>(type)), kindsBox);
    kind->setChecked(panel->DefButtonSet().Contains(static_cast<TKelButtonType>(type)));
    kindsLayout->addWidget(kind, (type - btYes) % 9, (type - btYes) / 9);
    kinds_ << kind;
    connect(kind, &QCheckBox::toggled, this, [this] { UpdatePreview(); });
  }

  auto* captionsBox = new QGroupBox(QStringLiteral("Custom captions, one a line"), this);
  auto* captionsLayout = new QVBoxLayout(captionsBox);
  captions_->setPlainText(panel->ButtonCaptions().join(u'\n'));
  captionsLayout->addWidget(captions_);

  preview_->setFrameStyle(QFrame::StyledPanel);
  preview_->setMinimumHeight(45);
  preview_->SetButtonWidth(panel->ButtonWidth());
  preview_->SetButtonHeight(panel->ButtonHeight());
  preview_->SetDirection(diHorizontal);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QGridLayout(this);
  layout->addWidget(standardBox, 0, 0, 2, 1);
  layout->addWidget(kindsBox, 0, 1);
  layout->addWidget(captionsBox, 1, 1);
  layout->addWidget(preview_, 2, 0, 1, 2);
  layout->addWidget(buttons, 3, 0, 1, 2);

  connect(standard_, &QButtonGroup::idClicked, this, [this] { UpdatePreview(); });
  connect(captions_, &QPlainTextEdit::textChanged, this, [this] { UpdatePreview(); });
  UpdatePreview();
}

TKelBtnPanelButtons TKelBtnPanelDialog::DefButtons() const {
  return static_cast<TKelBtnPanelButtons>(standard_->checkedId());
}

TKelButtonFlags TKelBtnPanelDialog::DefButtonFlags() const {
  TKelButtonSet set;
  for (int i = 0; i < kinds_.size(); ++i)
    if (kinds_[i]->isChecked()) set.Include(static_cast<TKelButtonType>(btYes + i));
  return SetToFlags<TKelButtonFlag>(set);
}

QStringList TKelBtnPanelDialog::Captions() const {
  QStringList lines = captions_->toPlainText().split(u'\n');
  while (!lines.isEmpty() && lines.back().trimmed().isEmpty()) lines.removeLast();
  return lines;
}

void TKelBtnPanelDialog::UpdatePreview() {
  const TKelBtnPanelButtons chosen = DefButtons();
  for (QCheckBox* kind : kinds_) kind->setEnabled(chosen == pbFromSet);
  captions_->setEnabled(chosen == pbCustom);
  preview_->SetButtonCaptions(Captions());
  preview_->SetDefButtonFlags(DefButtonFlags());
  preview_->SetDefButtons(chosen);
  preview_->RebuildButtons();
}

}  // namespace Kel::Designer
