#include "ListBoxDemoPage.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "Color.h"
#include "DataSet.h"
#include "DateUtils.h"
#include "DemoFormParts.h"
#include "KelPrmListActions.h"
#include "KelPrmListBox.h"
#include "ListBoxSwitches.h"

namespace Kel {

namespace {

constexpr int kSideWidth = 250;
constexpr int kListBoxInfoWidth = 150;

const char* const kListBoxInfo =
    "Each line is a sentence whose underlined words are parameters: click one to change it "
    "with the editor its kind calls for, a list, a lookup, a calendar, a calculator or a text "
    "edit.\n\nLines can be added, deleted, indented and dragged; the pages on the right switch "
    "the options and colours of the list.";

TKelListParam* Param(TKelListItem* item, const char* name) {
  return item->ParamByName(QLatin1String(name));
}

}  // namespace

TListBoxDemoPage::TListBoxDemoPage(TDataSet* lookupSource, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ListBoxTabSheet"));
  ListBox_ = new TKelPrmListBox(this);
  ListBox_->setObjectName(QStringLiteral("ListBox"));
  ListBox_->setAccessibleName(QStringLiteral("Parameter list"));
  ListBox_->SetHideFocus(false);
  ListBox_->SetOptions({fboCanAdd, fboCanDelete, fboCanIndent});
  ListBox_->SetShowAddItem(true);
  ListBox_->SetEditWithMouse(true);
  ListBox_->SetAddItemText(QStringLiteral("<Click here to add new item>"));
  ListBox_->OnAdditem = [this](TKelPrmListBox*, TKelListItem* item) {
    item->SetCaption(ItemCaptionEdit->text());
  };
  AddSampleItems(lookupSource);

  PageControl3 = new QTabWidget(this);
  PageControl3->setAccessibleName(QStringLiteral("List box settings"));
  PageControl3->setObjectName(QStringLiteral("PageControl3"));
  PageControl3->setFixedWidth(kSideWidth);
  PageControl3->addTab(BuildPropertiesPage(), QStringLiteral("Properties"));
  PageControl3->addTab(BuildColoringPage(), QStringLiteral("Coloring"));

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(MakeInfoPanel(this, QStringLiteral("ListBoxInfoPanel"), QLatin1String(kListBoxInfo),
                                  kListBoxInfoWidth));
  layout->addWidget(ListBox_, 1);
  layout->addWidget(PageControl3);

  ChooseColor = [this](QColor& color) {
    const QColor chosen = QColorDialog::getColor(color, this);
    if (!chosen.isValid()) return false;
    color = chosen;
    return true;
  };
  ChooseFont = [this](QFont& font) {
    bool accepted = false;
    const QFont chosen = QFontDialog::getFont(&accepted, font, this);
    if (accepted) font = chosen;
    return accepted;
  };
}

// One line per kind of parameter, so that each editor of the box can be tried.
void TListBoxDemoPage::AddSampleItems(TDataSet* lookupSource) {
  TKelListItems* items = ListBox_->Items();
  TKelListItem* flag = items->Add();
  flag->SetCaption(QStringLiteral("A <b>boolean</b> parameter: the sea is :Salty"));
  Param(flag, "Salty")->SetAsBoolean(true);
  Param(flag, "Salty")->SetPickType(ptBoolean);

  TKelListItem* text = items->Add();
  text->SetCaption(QStringLiteral("A text parameter: the fish is called :Name"));
  Param(text, "Name")->SetAsString(QStringLiteral("Blue Angelfish"));
  Param(text, "Name")->SetPickType(ptText);

  TKelListItem* pick = items->Add();
  pick->SetCaption(QStringLiteral("A pick list of <i>Name=Value</i> entries: the size is :Size"));
  TKelListParam* size = Param(pick, "Size");
  size->PickList()->SetText(QStringLiteral("small=1\nmedium=2\nlarge=3"));
  size->SetAsInteger(2);
  size->SetDisplayValue(QStringLiteral("medium"));
  size->SetPickType(ptPickList);

  TKelListItem* lookup = items->Add();
  lookup->SetCaption(QStringLiteral("A lookup into the country table: it lives near :Country"));
  TKelListParam* country = Param(lookup, "Country");
  country->SetLookupDataSet(lookupSource);
  country->SetLookupKeyField(QStringLiteral("Name"));
  country->SetLookupDisplayField(QStringLiteral("Name"));
  country->SetAsString(QStringLiteral("Canada"));
  country->SetDisplayValue(QStringLiteral("Canada"));
  country->SetPickType(ptLookup);

  TKelListItem* dates = items->Add();
  dates->SetCaption(QStringLiteral("Dates and times: seen on :Day at :Hour, logged :Stamp"));
  Param(dates, "Day")->SetPickType(ptDate);
  Param(dates, "Hour")->SetPickType(ptTime);
  Param(dates, "Stamp")->SetPickType(ptDateTime);

  TKelListItem* number = items->Add();
  number->SetCaption(QStringLiteral("A number for the calculator: it weighs :Weight kg"));
  Param(number, "Weight")->SetAsFloat(12.5);
  Param(number, "Weight")->SetPickType(ptCalculator);

  TKelListItem* custom = items->Add();
  custom->SetCaption(QStringLiteral("Custom text shown for a value: the colour code :Code"));
  TKelListParam* code = Param(custom, "Code");
  code->SetAsInteger(255);
  code->SetDisplayValue(QStringLiteral("<c:Red>red<c:WindowText>"));
  code->SetPickType(ptText);

  TKelListItem* empty = items->Add();
  empty->SetCaption(QStringLiteral("A read-only parameter without a value: :Nothing"));
  Param(empty, "Nothing")->SetReadOnly(true);

  TKelListItem* fixed = items->Add();
  fixed->SetCaption(QStringLiteral("A read-only line: :Fixed cannot be changed"));
  Param(fixed, "Fixed")->SetAsString(QStringLiteral("this value"));
  fixed->SetReadOnly(true);
  fixed->SetIndentLev(1);
  SetSampleDatesToNow();
}

void TListBoxDemoPage::SetSampleDatesToNow() {
  TKelListItems* items = ListBox_->Items();
  for (int index = 0; index < items->Count(); ++index) {
    TKelListItem* item = items->Items(index);
    if (TKelListParam* day = item->ParamByName(QStringLiteral("Day"))) day->SetAsDate(Date());
    if (TKelListParam* hour = item->ParamByName(QStringLiteral("Hour"))) hour->SetAsTime(Time());
    if (TKelListParam* stamp = item->ParamByName(QStringLiteral("Stamp"))) stamp->SetAsDate(Date());
  }
}

QWidget* TListBoxDemoPage::BuildPropertiesPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("PropertiesTabSheet"));
  auto* layout = new QVBoxLayout(page);
  layout->setSpacing(1);
  for (QCheckBox* check : MakeListBoxSwitches(page, ListBox_, "ListBox")) layout->addWidget(check);

  layout->addSpacing(6);
  auto* addLineLabel = new QLabel(QStringLiteral("Text of the add line:"), page);
  layout->addWidget(addLineLabel);
  AddLineEdit = new QLineEdit(ListBox_->AddItemText(), page);
  addLineLabel->setBuddy(AddLineEdit);
  AddLineEdit->setObjectName(QStringLiteral("AddLineEdit"));
  connect(AddLineEdit, &QLineEdit::textEdited, this,
          [this](const QString& text) { ListBox_->SetAddItemText(text); });
  layout->addWidget(AddLineEdit);

  auto* addRow = new QHBoxLayout;
  auto* addButton = new QPushButton(QStringLiteral("&Add new item :"), page);
  addButton->setObjectName(QStringLiteral("AddItemButton"));
  ItemCaptionEdit = new QLineEdit(QStringLiteral("new <b>item</b>"), page);
  ItemCaptionEdit->setObjectName(QStringLiteral("ItemCaptionEdit"));
  ItemCaptionEdit->setAccessibleName(QStringLiteral("Caption of the new item"));
  connect(addButton, &QPushButton::clicked, this, &TListBoxDemoPage::AddNewItemClick);
  connect(ItemCaptionEdit, &QLineEdit::returnPressed, this, &TListBoxDemoPage::AddNewItemClick);
  addRow->addWidget(addButton);
  addRow->addWidget(ItemCaptionEdit, 1);
  layout->addLayout(addRow);

  auto* moveRow = new QHBoxLayout;
  auto* indent = new QPushButton(QStringLiteral("Indent"), page);
  indent->setObjectName(QStringLiteral("IndentButton"));
  auto* outdent = new QPushButton(QStringLiteral("Outdent"), page);
  outdent->setObjectName(QStringLiteral("OutdentButton"));
  connect(indent, &QPushButton::clicked, this, [this] { ListBox_->IndentItem(ListBox_->ItemIndex()); });
  connect(outdent, &QPushButton::clicked, this, [this] { ListBox_->OutdentItem(ListBox_->ItemIndex()); });
  moveRow->addWidget(indent);
  moveRow->addWidget(outdent);
  layout->addLayout(moveRow);
  layout->addStretch(1);
  return page;
}

void TListBoxDemoPage::AddNewItemClick() {
  for (TKelPrmListAction* action : ListBox_->Actions()) {
    if (qobject_cast<TKelPrmListAdd*>(action)) {
      action->Update();
      if (action->isEnabled()) action->Execute();
      return;
    }
  }
}

void TListBoxDemoPage::AddColorRow(QWidget* page, const char* caption, std::function<int()> read,
                                   std::function<void(int)> store) {
  auto* grid = static_cast<QGridLayout*>(page->layout());
  const int row = grid->rowCount();
  auto* button = new QPushButton(QLatin1String(caption), page);
  button->setObjectName(QLatin1String(caption) + QStringLiteral("Button"));
  auto* preview = new QLineEdit(page);
  preview->setObjectName(QLatin1String(caption) + QStringLiteral("Preview"));
  preview->setReadOnly(true);
  preview->setAccessibleName(QLatin1String(caption) + QStringLiteral(" preview"));
  grid->addWidget(button, row, 0);
  grid->addWidget(preview, row, 1);
  previews_.push_back({preview, read});
  connect(button, &QPushButton::clicked, this, [this, read, store] {
    QColor color = ColorToQColor(read(), ListBox_);
    if (ChooseColor && ChooseColor(color)) store(QColorToColor(color));
    RefreshColorPreviews();
    ListBox_->update();
  });
}

QWidget* TListBoxDemoPage::BuildColoringPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("ColoringTabSheet"));
  auto* grid = new QGridLayout(page);
  TKelPrmListBox* box = ListBox_;
  AddColorRow(page, "HoverLink", [box] { return box->HoverLinkColor(); },
              [box](int c) { box->SetHoverLinkColor(c); });
  AddColorRow(page, "ClickHere", [box] { return box->ClickHereColor(); },
              [box](int c) { box->SetClickHereColor(c); });
  AddColorRow(page, "Color", [box] { return box->Color(); }, [box](int c) { box->SetColor(c); });
  AddColorRow(page, "LinkColor", [box] { return box->LinkColor(); },
              [box](int c) { box->SetLinkColor(c); });
  AddColorRow(page, "SelColor", [box] { return box->SelColor(); },
              [box](int c) { box->SetSelColor(c); });

  const int row = grid->rowCount();
  auto* fontButton = new QPushButton(QStringLiteral("Font"), page);
  fontButton->setObjectName(QStringLiteral("FontButton"));
  auto* fontPreview = new QLineEdit(page);
  fontPreview->setObjectName(QStringLiteral("FontPreview"));
  fontPreview->setReadOnly(true);
  fontPreview->setAccessibleName(QStringLiteral("Font preview"));
  grid->addWidget(fontButton, row, 0);
  grid->addWidget(fontPreview, row, 1);
  previews_.push_back({fontPreview, [box] { return box->Color(); }});
  connect(fontButton, &QPushButton::clicked, this, [this] {
    QFont font = ListBox_->font();
    if (ChooseFont && ChooseFont(font)) ListBox_->setFont(font);
    RefreshColorPreviews();
  });
  grid->setRowStretch(grid->rowCount(), 1);
  return page;
}

void TListBoxDemoPage::RefreshColorPreviews() {
  const QFont font = ListBox_->font();
  const int points = font.pointSize() > 0 ? font.pointSize()
                                          : qRound(font.pixelSize() * 72.0 / logicalDpiY());
  const QString text = QStringLiteral("%1 pt. %2").arg(points).arg(font.family());
  for (const TPreview& preview : previews_) {
    preview.Edit->setText(text);
    preview.Edit->setFont(font);
    QPalette palette = preview.Edit->palette();
    const QColor background = ColorToQColor(preview.Color(), ListBox_);
    palette.setColor(QPalette::Base, background);
    // The text stays readable on a dark colour.
    palette.setColor(QPalette::Text, background.lightness() < 128 ? Qt::white : Qt::black);
    preview.Edit->setPalette(palette);
  }
}

}  // namespace Kel
