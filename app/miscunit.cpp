#include "miscunit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <iterator>

#include "DemoFormParts.h"
#include "Exceptions.h"
#include "KelBtPan.h"
#include "KelCalcDisplay.h"
#include "KelCalculator.h"
#include "NumberFormat.h"

namespace Kel {

namespace {

constexpr int kMiscClientWidth = 702;
constexpr int kMiscClientHeight = 414;
constexpr int kMiscInfoWidth = 180;

const char* const kCalculatorInfo =
    "The calculator pops up when a numeric parameter is picked in the filter editor, so users "
    "can work a value out before they take it.\n\nIt is an ordinary control as well: put it on "
    "a form with a display of its own, as here, or combine it with a data grid to edit the "
    "numbers of the current record.";

const char* const kButtonPanelInfo =
    "The button panel aligns, positions and sizes its buttons by itself: left, centre or right, "
    "top, centre or bottom, in a row or a column, with the gaps given in dialog units.\n\nOne "
    "property gives a standard set (OK/Cancel/Help, Yes/No, ...) with the modal results and "
    "translated captions, or buttons with captions of your own; at design time a menu of the "
    "panel offers the same choices.";

// The items of "Has Buttons" in the order of the panel's standard sets (pbCustom first).
const char* const kButtonSetNames[] = {"Custom", "OK",    "OK/Cancel", "OK/Cancel/Help",
                                       "Close",  "Close/Help", "Yes/No", "Abort/Retry/Ignore"};

}  // namespace

TMiskForm::TMiskForm(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("MiskForm"));
  setWindowTitle(QStringLiteral("Other Components Demo"));
  SetFormFont(this, 14);

  PageControl1 = new QTabWidget(this);
  PageControl1->setAccessibleName(QStringLiteral("Components"));
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  PageControl1->addTab(BuildCalculatorSheet(), QStringLiteral("Calculator"));
  QWidget* panelSheet = BuildButtonPanelSheet();
  PageControl1->addTab(panelSheet, QStringLiteral("Button Panel"));
  PageControl1->setCurrentWidget(panelSheet);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(PageControl1);
  resize(kMiscClientWidth, kMiscClientHeight);
  CenterOnScreen(this);
}

TMiskForm::~TMiskForm() = default;

QWidget* TMiskForm::BuildCalculatorSheet() {
  auto* sheet = new QWidget;
  sheet->setObjectName(QStringLiteral("CalculatorTabSheet"));

  CalcDisplay = new TKelCalcDisplay(sheet);
  CalcDisplay->setObjectName(QStringLiteral("CalcDisplay"));
  CalcDisplay->setFixedSize(289, 24);
  CalcDisplay->SetText(QStringLiteral("0"));
  CalcDisplay->setFocusPolicy(Qt::NoFocus);

  Calculator = new TKelCalculator(sheet);
  Calculator->setObjectName(QStringLiteral("Calculator"));
  Calculator->SetBorderStyle(bsNone);
  Calculator->SetAssociate(CalcDisplay);
  Calculator->SetBeepOnError(false);
  Calculator->setFocusPolicy(Qt::StrongFocus);

  EnabledCheckBox = new QCheckBox(QStringLiteral("Enabled"), sheet);
  EnabledCheckBox->setObjectName(QStringLiteral("EnabledCheckBox"));
  EnabledCheckBox->setChecked(true);
  connect(EnabledCheckBox, &QCheckBox::clicked, this, &TMiskForm::EnabledCheckBoxClick);

  auto* right = new QVBoxLayout;
  right->addWidget(CalcDisplay);
  right->addWidget(Calculator);
  right->addWidget(EnabledCheckBox);
  right->addStretch(1);
  auto* layout = new QHBoxLayout(sheet);
  layout->addWidget(MakeInfoPanel(sheet, QStringLiteral("CalcInfoPanel"),
                                  QLatin1String(kCalculatorInfo), kMiscInfoWidth));
  layout->addSpacing(24);
  layout->addLayout(right);
  layout->addStretch(1);
  return sheet;
}

QWidget* TMiskForm::BuildButtonPanelSheet() {
  auto* sheet = new QWidget;
  sheet->setObjectName(QStringLiteral("ButtonPanelTabSheet"));
  BuildButtonPanel(sheet);

  auto* right = new QVBoxLayout;
  right->addWidget(ButtonPanel, 1);
  right->addWidget(BuildPanelControls(sheet));
  auto* layout = new QHBoxLayout(sheet);
  layout->addWidget(MakeInfoPanel(sheet, QStringLiteral("PanelInfoPanel"),
                                  QLatin1String(kButtonPanelInfo), kMiscInfoWidth));
  layout->addLayout(right, 1);
  return sheet;
}

void TMiskForm::BuildButtonPanel(QWidget* sheet) {
  ButtonPanel = new TKelBtnPanel(sheet);
  ButtonPanel->setObjectName(QStringLiteral("ButtonPanel"));
  ButtonPanel->setFrameShape(QFrame::Panel);
  ButtonPanel->setFrameShadow(QFrame::Raised);
  ButtonPanel->setMinimumHeight(120);
  // The panel's caption sits in its middle, under any button that lands there.
  auto* caption = new QLabel(QStringLiteral("I'm Button Panel"), ButtonPanel);
  caption->setObjectName(QStringLiteral("ButtonPanelCaption"));
  caption->setAlignment(Qt::AlignCenter);
  caption->setAttribute(Qt::WA_TransparentForMouseEvents);
  auto* captionLayout = new QVBoxLayout(ButtonPanel);
  captionLayout->addWidget(caption);

  ButtonPanel->BeginLoading();
  ButtonPanel->SetButtonClassName(QStringLiteral("TButton"));
  ButtonPanel->Buttons()->Add(QStringLiteral("Custom1"));
  ButtonPanel->Buttons()->Add(QStringLiteral("Custom2"));
  ButtonPanel->SetDefButtonSet(TKelButtonSet{btOk, btCancel, btHelp});
  ButtonPanel->SetDefButtons(pbOkCancelHelp);
  ButtonPanel->EndLoading();
  // Outside loading the standard set is built anew (OKButton1, CancelButton1, HelpButton1).
  ButtonPanel->RebuildButtons();
  ButtonPanel->OnClickButton = [this](QObject*, int index, TKelButtonType) {
    ButtonPanelClickButton(index);
  };
}

QWidget* TMiskForm::BuildPanelControls(QWidget* sheet) {
  auto* controls = new QWidget(sheet);
  auto* grid = new QGridLayout(controls);
  grid->setContentsMargins(0, 0, 0, 0);

  auto* vertAlign = MakeNamedButton(sheet, "VertAlignButton", "Change Vertical Align");
  auto* horzAlign = MakeNamedButton(sheet, "HorzAlignButton", "Change Horizontal Align");
  auto* direction = MakeNamedButton(sheet, "DirectionButton", "Change Direction");
  connect(vertAlign, &QPushButton::clicked, this, [this] { ButtonPanel->NextVertAlign(); });
  connect(horzAlign, &QPushButton::clicked, this, [this] { ButtonPanel->NextHorzAlign(); });
  connect(direction, &QPushButton::clicked, this, [this] { ButtonPanel->ToggleDirection(); });
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(vertAlign);
  buttons->addWidget(horzAlign);
  buttons->addWidget(direction);
  buttons->addStretch(1);
  grid->addLayout(buttons, 0, 0);

  auto* group = new QGroupBox(QStringLiteral("Has Buttons"), sheet);
  group->setObjectName(QStringLiteral("HasButtonsGroup"));
  auto* groupLayout = new QGridLayout(group);
  HasButtons = new QButtonGroup(group);
  for (int index = 0; index < int(std::size(kButtonSetNames)); ++index) {
    auto* item = new QRadioButton(QLatin1String(kButtonSetNames[index]), group);
    HasButtons->addButton(item, index);
    groupLayout->addWidget(item, index % 4, index / 4);
  }
  HasButtons->button(pbOkCancelHelp)->setChecked(true);
  connect(HasButtons, &QButtonGroup::idClicked, this, &TMiskForm::HasButtonsClick);
  grid->addWidget(group, 0, 1, 2, 1);

  auto* sizes = new QGridLayout;
  int row = 0;
  for (QLineEdit* edit :
       {AddSizeEdit(sheet, "WidthEdit", "Button Width", ButtonPanel->ButtonWidth(),
                    &TKelBtnPanel::SetButtonWidth, &TKelBtnPanel::ButtonWidth),
        AddSizeEdit(sheet, "HeightEdit", "Button Height", ButtonPanel->ButtonHeight(),
                    &TKelBtnPanel::SetButtonHeight, &TKelBtnPanel::ButtonHeight),
        AddSizeEdit(sheet, "SpaceEdit", "Button Distance", ButtonPanel->ButtonSpace(),
                    &TKelBtnPanel::SetButtonSpace, &TKelBtnPanel::ButtonSpace),
        AddSizeEdit(sheet, "SideEdit", "Side Distance", ButtonPanel->SideDistance(),
                    &TKelBtnPanel::SetSideDistance, &TKelBtnPanel::SideDistance)}) {
    auto* label = new QLabel(edit->accessibleName(), sheet);
    label->setBuddy(edit);
    sizes->addWidget(label, row, 0);
    sizes->addWidget(edit, row, 1);
    ++row;
  }
  // Under the three buttons, so the window keeps its classic width at this font.
  grid->addLayout(sizes, 1, 0);
  return controls;
}

QLineEdit* TMiskForm::AddSizeEdit(QWidget* sheet, const char* name, const char* caption,
                                  int value, void (TKelBtnPanel::*store)(int),
                                  int (TKelBtnPanel::*read)() const) {
  auto* edit = new QLineEdit(QString::number(value), sheet);
  edit->setObjectName(QLatin1String(name));
  edit->setAccessibleName(QLatin1String(caption));
  edit->setFixedWidth(60);
  connect(edit, &QLineEdit::editingFinished, this, [this, edit, store, read] {
    try {
      (ButtonPanel->*store)(StrToInt(edit->text().trimmed()));
    } catch (const Exception& error) {
      // The panel keeps its value; the edit shows it again so the two never disagree.
      edit->setText(QString::number((ButtonPanel->*read)()));
      ShowDemoMessage(this, error.Message());
    }
  });
  return edit;
}

void TMiskForm::EnabledCheckBoxClick() {
  const bool enabled = EnabledCheckBox->isChecked();
  CalcDisplay->setEnabled(enabled);
  Calculator->setEnabled(enabled);
}

void TMiskForm::HasButtonsClick(int index) {
  ButtonPanel->SetDefButtons(static_cast<TKelBtnPanelButtons>(index));
}

void TMiskForm::ButtonPanelClickButton(int index) {
  const TKelBtnPanelItem* item = ButtonPanel->ButtonList()->Items(index);
  const QString caption = item && item->Control()
                              ? item->Control()->property("Caption").toString()
                              : QString();
  ShowDemoMessage(this, caption + QStringLiteral(" clicked"));
}

}  // namespace Kel
