// The controls of keldemo's filter window and their wiring; what they do is in fboxunit.cpp.
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "Buttons.h"
#include "DBGrid.h"
#include "DBGridModel.h"
#include "DBMemo.h"
#include "DemoFormParts.h"
#include "FboxToolPanel.h"
#include "KelExprEval.h"
#include "KelFltBox.h"
#include "ListBoxSwitches.h"
#include "fboxunit.h"

namespace Kel {

namespace {

constexpr int kFilterInfoWidth = 150;
constexpr int kLowerPagesHeight = 170;

const char* const kFilterInfo =
    "Click the underlined words of a condition to change its field, operation or value; the "
    "last line adds a condition, the right mouse button offers more.\n\n"
    "The funnel button filters the table by the conditions; the search buttons find matching "
    "records, and the colour buttons paint the matching cells of the grid.\n\n"
    "Click column titles to choose the fields to colour, and the \"...\" button of a number "
    "cell to edit it with the calculator.";

QPlainTextEdit* MakeMemo(const char* name, QWidget* parent, bool readOnly) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setObjectName(QLatin1String(name));
  memo->setReadOnly(readOnly);
  // Tab leaves the memo, as it leaves every other control: a filter text needs no tabs.
  memo->setTabChangesFocus(true);
  return memo;
}

// A caption that names the control under it, for a screen reader too.
QLabel* MakeCaption(const char* text, QWidget* parent, QWidget* buddy) {
  auto* label = new QLabel(QLatin1String(text), parent);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

QCheckBox* TFboxForm::AddCheck(QWidget* page, const char* name, const char* caption,
                               bool checked) {
  auto* box = new QCheckBox(QLatin1String(caption), page);
  box->setObjectName(QLatin1String(name));
  box->setChecked(checked);
  return box;
}

QWidget* TFboxForm::BuildFilterSheet() {
  auto* sheet = new QWidget;
  sheet->setObjectName(QStringLiteral("FilterTabSheet"));
  auto* right = new QVBoxLayout;
  toolPanel_ = new TFboxToolPanel(sheet);
  right->addWidget(toolPanel_);
  right->addWidget(BuildWorkPanel(sheet), 1);

  PageControl2 = new QTabWidget(sheet);
  PageControl2->setAccessibleName(QStringLiteral("Filter texts and settings"));
  PageControl2->setObjectName(QStringLiteral("PageControl2"));
  PageControl2->setFixedHeight(kLowerPagesHeight);
  PageControl2->addTab(BuildSqlFilterPage(), QStringLiteral("SQL/Filter"));
  PageControl2->addTab(BuildConvertPage(), QStringLiteral("Convert"));
  PageControl2->addTab(BuildPropsPage(), QStringLiteral("Props"));
  right->addWidget(PageControl2);

  auto* layout = new QHBoxLayout(sheet);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(MakeInfoPanel(sheet, QStringLiteral("InfoPanel"), QLatin1String(kFilterInfo),
                                  kFilterInfoWidth));
  layout->addLayout(right, 1);

  TFboxToolPanel* tools = toolPanel_;
  connect(tools->ChangeDBBtn, &QToolButton::clicked, this, &TFboxForm::ChangeDBBtnClick);
  connect(tools->RunFilterBtn, &QToolButton::clicked, this, &TFboxForm::RunFilterBtnClick);
  connect(tools->FindFirstBtn, &QToolButton::clicked, this, &TFboxForm::FindFirstBtnClick);
  connect(tools->FindNextBtn, &QToolButton::clicked, this, &TFboxForm::FindNextBtnClick);
  connect(tools->FindPriorBtn, &QToolButton::clicked, this, &TFboxForm::FindPriorBtnClick);
  connect(tools->FindLastBtn, &QToolButton::clicked, this, &TFboxForm::FindLastBtnClick);
  connect(tools->AddColorBtn, &QToolButton::clicked, this, &TFboxForm::AddColorBtnClick);
  connect(tools->ClearColorsBtn, &QToolButton::clicked, this, &TFboxForm::ClearColorsBtnClick);
  connect(tools->FilterStateBtn, &QToolButton::clicked, this, &TFboxForm::FilterStateBtnClick);
  return sheet;
}

QWidget* TFboxForm::BuildWorkPanel(QWidget* sheet) {
  auto* panel = new QWidget(sheet);
  panel->setObjectName(QStringLiteral("WorkPanel"));
  Sievra_ = new TKelFltBox(panel);
  Sievra_->setObjectName(QStringLiteral("Sievra"));
  Sievra_->setAccessibleName(QStringLiteral("Filter conditions"));
  // The current condition shows a focus frame, so a keyboard user sees where the keys act.
  Sievra_->SetHideFocus(false);
  Sievra_->setMinimumHeight(96);
  DBGrid_ = new TDBGrid(panel);
  DBGrid_->setObjectName(QStringLiteral("DBGrid"));
  DBGrid_->setAccessibleName(QStringLiteral("Records"));
  // Tab goes on to the next control; the arrow keys move between the cells.
  DBGrid_->setTabKeyNavigation(false);
  DBGrid_->SetDataSource(dataSource_.get());
  DBGrid_->GridModel()->SetGridColors(gridColors_.get());
  // A rule that fails switched itself off; the user hears of it once, after the painting.
  connect(DBGrid_->GridModel(), &TKelDataSetModel::ColorRuleFailed, this,
          [this](const QString& message) { ShowDemoMessage(this, message); });
  DBGrid_->OnTitleClick = [this](int column) { GridTitleClick(column); };
  DBGrid_->OnCellClick = [this](int, int) { GridCellClick(); };
  DBGrid_->OnEditButtonClick = [this](int column) { GridEditButtonClick(column); };
  DBMemo = new TDBMemo(panel);
  DBMemo->setObjectName(QStringLiteral("DBMemo"));
  DBMemo->setAccessibleName(QStringLiteral("Notes of the current record"));
  DBMemo->setTabChangesFocus(true);
  DBMemo->setFixedHeight(52);

  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Sievra_, 1);
  layout->addWidget(DBGrid_, 3);
  layout->addWidget(DBMemo);
  return panel;
}

QWidget* TFboxForm::BuildSqlFilterPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("SQLFilterTabSheet"));
  LookMemo = MakeMemo("LookMemo", page, true);
  SQLLookMemo = MakeMemo("SQLLookMemo", page, true);
  HookFiltCheck = AddCheck(page, "HookFiltCheck", "Update DataSet immediately", false);
  ServerBasedCheckBox = AddCheck(page, "ServerBasedCheckBox", "Server based (TQuery used)", false);
  ColoringCheckBox = AddCheck(page, "ColoringCheckBox", "Color only indicated fields", false);
  FieldsListEdit = new QLineEdit(page);
  FieldsListEdit->setObjectName(QStringLiteral("FieldsListEdit"));
  FieldsListEdit->setAccessibleName(QStringLiteral("Fields to color"));
  SearchInLoopCheckBox = AddCheck(page, "SearchInLoopCheckBox", "Search in loop", true);
  ShowMsgCheckBox = AddCheck(page, "ShowMsgCheckBox", "Show warning messages", false);

  auto* memos = new QGridLayout;
  memos->addWidget(MakeCaption("Sievra.&FilterStr property", page, LookMemo), 0, 0);
  memos->addWidget(LookMemo, 1, 0);
  memos->addWidget(MakeCaption("Sievra.S&QL property", page, SQLLookMemo), 0, 1);
  memos->addWidget(SQLLookMemo, 1, 1);
  auto* checks = new QVBoxLayout;
  checks->setSpacing(1);
  for (QWidget* control : {static_cast<QWidget*>(HookFiltCheck), static_cast<QWidget*>(ServerBasedCheckBox),
                           static_cast<QWidget*>(ColoringCheckBox), static_cast<QWidget*>(FieldsListEdit),
                           static_cast<QWidget*>(SearchInLoopCheckBox), static_cast<QWidget*>(ShowMsgCheckBox)})
    checks->addWidget(control);
  checks->addStretch(1);
  auto* layout = new QHBoxLayout(page);
  layout->addLayout(memos, 1);
  layout->addLayout(checks);

  connect(HookFiltCheck, &QCheckBox::clicked, this, [this] { HookSettings(); });
  connect(ServerBasedCheckBox, &QCheckBox::clicked, this, &TFboxForm::ServerBasedClick);
  connect(SearchInLoopCheckBox, &QCheckBox::clicked, this,
          [this](bool on) { ExprEval()->SetSearchInLoop(on); });
  connect(ShowMsgCheckBox, &QCheckBox::clicked, this,
          [this](bool on) { ExprEval()->SetShowWarningMsg(on); });
  return page;
}

QWidget* TFboxForm::BuildConvertPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("ConvertTabSheet"));
  FilterMemo = MakeMemo("FilterMemo", page, false);
  FilterMemo->setAccessibleName(QStringLiteral("Filter text"));
  auto* fromButton = MakeNamedButton(page, "FromSievraButton", "1: From Sievra");
  auto* toButton = MakeNamedButton(page, "ToSievraButton", "2: To Sievra");
  connect(fromButton, &QPushButton::clicked, this, &TFboxForm::FromSievraClick);
  connect(toButton, &QPushButton::clicked, this, &TFboxForm::ToSievraClick);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(fromButton);
  buttons->addWidget(toButton);
  buttons->addStretch(1);
  auto* layout = new QHBoxLayout(page);
  layout->addWidget(FilterMemo, 1);
  layout->addLayout(buttons);
  return page;
}

QWidget* TFboxForm::BuildPropsPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("PropsTabSheet"));
  // Three columns of switches fit the page's height.
  auto* layout = new QGridLayout(page);
  layout->setVerticalSpacing(1);
  int index = 0;
  for (QCheckBox* check : MakeListBoxSwitches(page, Sievra_, "Props")) {
    layout->addWidget(check, index % 5, index / 5);
    ++index;
  }
  layout->setRowStretch(5, 1);
  return page;
}

}  // namespace Kel
