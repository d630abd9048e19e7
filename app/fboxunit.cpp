#include "fboxunit.h"

#include <QCheckBox>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "Buttons.h"
#include "DBGrid.h"
#include "DBGridModel.h"
#include "DBMemo.h"
#include "DBTables.h"
#include "DBTypes.h"
#include "DataSource.h"
#include "DataSourceDlg.h"
#include "DemoFormParts.h"
#include "Exceptions.h"
#include "FboxToolPanel.h"
#include "Fields.h"
#include "KelCalPopup.h"
#include "KelDB.h"
#include "KelExprEval.h"
#include "KelFltBox.h"
#include "KelPopupCalc.h"
#include "ListBoxDemoPage.h"

namespace Kel {

namespace {

const char* const kNoFilterMessage =
    "You cannot activate filter while not entered valid filter condition.";
const char* const kNoColoringMessage =
    "You cannot add new coloring to the grid table beause of absence of valid filter condition.";

bool IsDateTimeType(TFieldType type) {
  return type == ftDate || type == ftTime || type == ftDateTime;
}

// The number fields the calculator edits: whole numbers and floating-point ones (money too,
// which is a floating-point field of the classic toolkit).
bool IsCalculatorType(TFieldType type) {
  return IsIntegerFieldType(type) || IsFloatFieldType(type) || type == ftCurrency;
}

}  // namespace

TFboxForm::TFboxForm(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("FboxForm"));
  setWindowTitle(QStringLiteral("Kel Sievra Demo"));
  SetFormFont(this, 11);
  CreateComponents();

  PageControl1 = new QTabWidget(this);
  PageControl1->setAccessibleName(QStringLiteral("Demonstrations"));
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  PageControl1->addTab(BuildFilterSheet(), QStringLiteral("Sievra"));
  listBoxPage_ = new TListBoxDemoPage(fltBoxTable_.get());
  PageControl1->addTab(listBoxPage_, QStringLiteral("Better ListBox"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(PageControl1);

  LoadSievra();
  FormCreate();
  resize(820, 600);
  CenterOnScreen(this);
}

TFboxForm::~TFboxForm() {
  // The controls go first: the grid, the memo, the filter box and the popups point at the
  // datasets and the colour rules, which go with the members afterwards.
  for (QObject* child : children())
    if (child->isWidgetType()) delete child;
}

void TFboxForm::CreateComponents() {
  table_ = std::make_unique<TTable>();
  table_->setObjectName(QStringLiteral("Table"));
  table_->SetDatabaseName(QStringLiteral("DBDEMOS"));
  table_->SetTableName(QStringLiteral("biolife"));

  query_ = std::make_unique<TQuery>();
  query_->setObjectName(QStringLiteral("Query"));
  query_->SetDatabaseName(QStringLiteral("DBDEMOS"));
  query_->SQL()->SetText(QStringLiteral("Select * from biolife WHERE [Species No] = 90020"));

  fltBoxTable_ = std::make_unique<TTable>();
  fltBoxTable_->setObjectName(QStringLiteral("FltBoxTable"));
  fltBoxTable_->SetDatabaseName(QStringLiteral("DBDEMOS"));
  fltBoxTable_->SetTableName(QStringLiteral("country"));

  dataSource_ = std::make_unique<TDataSource>();
  dataSource_->setObjectName(QStringLiteral("DataSource"));
  dataSource_->SetDataSet(table_.get());

  exprEval_ = std::make_unique<TKelExprEval>();
  exprEval_->setObjectName(QStringLiteral("ExprEval"));
  exprEval_->SetDataSet(table_.get());
  exprEval_->SetSearchInLoop(true);
  exprEval_->SetShowWarningMsg(false);

  gridColors_ = std::make_unique<TKelGridColors>();
  gridColors_->setObjectName(QStringLiteral("GridColors"));
  gridColors_->SetDataSet(table_.get());

  popupMenu_ = new QMenu(this);
  popupMenu_->setObjectName(QStringLiteral("PopupMenu"));
  QAction* first = popupMenu_->addAction(QStringLiteral("This is custom item 1"));
  first->setObjectName(QStringLiteral("CustomItem1"));
  connect(first, &QAction::triggered, this,
          [this] { ShowDemoMessage(this, QStringLiteral("The first custom item was chosen.")); });
  QAction* second = popupMenu_->addAction(QStringLiteral("This is custom item 2"));
  second->setObjectName(QStringLiteral("CustomItem2"));
  connect(second, &QAction::triggered, this,
          [this] { ShowDemoMessage(this, QStringLiteral("The second custom item was chosen.")); });

  // Both open at load, as the form stores them; a missing sample database says so here.
  table_->Open();
  fltBoxTable_->Open();
}

// The filter box as the form stores it: every option, the filter's date format without
// separators, the LIKE templates left out, and three sample conditions.
void TFboxForm::LoadSievra() {
  Sievra_->SetOptions({fboSortFields, fboSortConditions, fboCanAdd, fboCanDelete, fboCanIndent,
                       fboCanOpen, fboCanSave, fboCanSaveToMem, fboCanLoadFromMem});
  Sievra_->SetForceSQLDateTime(false);
  Sievra_->SetForceSQLBooleans(false);
  Sievra_->FilterDateTimeFormat()->SetDateSeparator(QChar());
  Sievra_->FilterDateTimeFormat()->SetTimeSeparator(QChar());
  Sievra_->FilterDateTimeFormat()->SetAlwaysY2k(false);
  Sievra_->SetAllowedUsageIDs(QStringLiteral("0"));
  Sievra_->SetDataSet(table_.get());
  Sievra_->SetFiltered(true);
  Sievra_->SetPopupMenu(popupMenu_);

  TKelFltItems* items = Sievra_->FltItems();
  TKelFltItem* shark = items->Add();
  shark->SetDataField(QStringLiteral("Category"));
  shark->SetTemplate(QStringLiteral("is (exactly)"));
  shark->SetValue(Variant(QStringLiteral("Shark")));
  shark->SetOperation(QStringLiteral("or"));

  TKelFltItem* species = items->Add();
  species->SetIndentLev(1);
  species->SetDataField(QStringLiteral("Species No"));
  species->SetTemplate(QStringLiteral("between"));
  species->SetValue1(Variant(90080.0));
  species->SetValue2(Variant(90230.0));
  species->SetOperation(QStringLiteral("and"));

  TKelFltItem* length = items->Add();
  length->SetIndentLev(1);
  length->SetDataField(QStringLiteral("Length (cm)"));
  length->SetTemplate(QStringLiteral("less than"));
  length->SetValue(Variant(150.0));
  length->SetOperation(QStringLiteral("and"));

  Sievra_->OnChange = [this](TKelPrmListBox*) { SievraChange(); };
}

void TFboxForm::FormCreate() {
  BindDataSet(table_.get());
  ShowTexts();
  popupCalendar_ = new TKelPopupCalendar(this);
  popupCalendar_->setObjectName(QStringLiteral("PopupCalendar"));
  popupCalc_ = new TKelPopupCalcEdit(this);
  popupCalc_->setObjectName(QStringLiteral("PopupCalc"));
  RunFilterBtnClick();
  UpdateEnabledStates();
  UpdateHookCheckAvailability();
  UseReadableLinkColors();
  listBoxPage_->SetSampleDatesToNow();
  PageControl1->setCurrentIndex(0);
  PageControl2->setCurrentIndex(0);
  listBoxPage_->Pages()->setCurrentIndex(0);
}

void TFboxForm::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::PaletteChange && listBoxPage_) UseReadableLinkColors();
}

void TFboxForm::UseReadableLinkColors() {
  UseReadableLinkColor(Sievra_, palette());
  UseReadableLinkColor(listBoxPage_->ListBox(), palette());
  listBoxPage_->RefreshColorPreviews();
}

// ---- named steps ------------------------------------------------------------------------------

void TFboxForm::BindDataSet(TDataSet* dataSet) {
  exprEval_->SetDataSet(dataSet);
  gridColors_->SetDataSet(dataSet);
  dataSource_->SetDataSet(dataSet);
  Sievra_->SetDataSet(dataSet);
  if (dataSet == query_.get())
    query_->Open();
  else
    query_->Close();
  SetupGrid();
}

void TFboxForm::SetupGrid() {
  TDBGridModel* model = DBGrid_->GridModel();
  std::vector<bool> ellipsis(static_cast<size_t>(model->columnCount()), false);
  for (int column = 0; column < model->columnCount(); ++column) {
    const TFieldType type = model->FieldOfColumn(column)->DataType();
    ellipsis[static_cast<size_t>(column)] = IsDateTimeType(type) || IsCalculatorType(type);
  }
  DBGrid_->SetEllipsisColumns(ellipsis);

  QString memoField;
  if (TDataSet* dataSet = dataSource_->DataSet()) {
    for (TField* field : dataSet->Fields()) {
      if (field->DataType() == ftMemo) {
        memoField = field->FieldName();
        break;
      }
    }
  }
  DBMemo->SetDataSource(dataSource_.get());
  DBMemo->SetDataField(memoField);
}

void TFboxForm::ShowTexts() {
  LookMemo->setPlainText(Sievra_->FilterStr());
  SQLLookMemo->setPlainText(Sievra_->SQL()->ToStringList().join(u'\n'));
}

void TFboxForm::Apply() {
  const QString tableName = QFileInfo(table_->TableName()).completeBaseName();
  Sievra_->SQLHead()->SetText(QStringLiteral("Select * from ") + tableName);
  Sievra_->TableNames()->SetText(tableName);
  if (ServerBased()) {
    query_->Close();
    query_->SQL()->SetText(SQLLookMemo->toPlainText());
    try {
      query_->Open();
    } catch (...) {
      // Back to the table before the error reaches the user.
      ServerBasedCheckBox->setChecked(false);
      ServerBasedClick();
      throw;
    }
  } else {
    SetFilterText(table_.get(), Sievra_->FilterStr());
    table_->SetFiltered(FilterStateDown());
  }
  SetupGrid();
  ShowTexts();
}

void TFboxForm::HookSettings() {
  UpdateEnabledStates();
  if (ServerBased()) {
    Sievra_->SetHookFilterProp(false);
    Sievra_->SetHookSQLProp(HookImmediately());
  } else if (FilterStateDown()) {
    Sievra_->SetHookFilterProp(HookImmediately());
    Sievra_->SetHookSQLProp(false);
  } else {
    // Bound to the table, nothing is written into a statement either.
    Sievra_->SetHookFilterProp(false);
    Sievra_->SetHookSQLProp(false);
  }
  Apply();
}

void TFboxForm::UpdateEnabledStates() {
  const bool searchOptions = !(HookImmediately() && ServerBased());
  SearchInLoopCheckBox->setEnabled(searchOptions);
  ShowMsgCheckBox->setEnabled(searchOptions);
  const bool hasFilter = !Sievra_->FilterStr().isEmpty();
  for (TSpeedButton* button : {toolPanel_->FindFirstBtn, toolPanel_->FindNextBtn,
                               toolPanel_->FindPriorBtn, toolPanel_->FindLastBtn,
                               toolPanel_->AddColorBtn, toolPanel_->FilterStateBtn})
    button->setEnabled(hasFilter);
  toolPanel_->RunFilterBtn->setEnabled(hasFilter && !HookImmediately());
  toolPanel_->ClearColorsBtn->setEnabled(gridColors_->RecordsInfo()->Count() > 0);
}

void TFboxForm::UpdateHookCheckAvailability() {
  const bool available = FilterStateDown() || ServerBased();
  HookFiltCheck->setEnabled(available);
  if (!available) HookFiltCheck->setChecked(false);
}

// ---- handlers ---------------------------------------------------------------------------------

void TFboxForm::SievraChange() {
  if (FilterStateDown() && Sievra_->FilterStr().isEmpty()) {
    SetFilterStateDown(false);
    FilterStateBtnClick();
  }
  UpdateEnabledStates();
  ShowTexts();
}

void TFboxForm::ServerBasedClick() {
  HookSettings();
  if (ServerBased()) {
    BindDataSet(query_.get());
    SetFilterStateDown(false);
    FilterStateBtnClick();
    // LIKE is for the server's SQL; the table's filter has no use for it.
    Sievra_->SetAllowedUsageIDs(QStringLiteral("0;1;2;3"));
  } else {
    BindDataSet(table_.get());
    Sievra_->SetAllowedUsageIDs(QStringLiteral("0"));
  }
  UpdateEnabledStates();
  UpdateHookCheckAvailability();
}

void TFboxForm::RunFilterBtnClick() {
  if (!ServerBased() && !FilterStateDown()) {
    SetFilterStateDown(true);
    FilterStateBtnClick();
  }
  Apply();
}

void TFboxForm::FilterStateBtnClick() {
  if (FilterStateDown()) {
    if (Sievra_->FilterStr().isEmpty()) {
      ShowDemoMessage(this, QLatin1String(kNoFilterMessage));
      SetFilterStateDown(false);
      return;
    }
    if (ServerBased()) {
      ServerBasedCheckBox->setChecked(false);
      ServerBasedClick();
    }
  }
  Apply();
  UpdateEnabledStates();
  UpdateHookCheckAvailability();
}

// The evaluator searches with the box's conditions as they are now.
void TFboxForm::Find(bool (TKelCustomExprEval::*search)()) {
  exprEval_->SetExpression(Sievra_->Expression());
  (exprEval_.get()->*search)();
}

void TFboxForm::FindFirstBtnClick() { Find(&TKelCustomExprEval::FindFirst); }

void TFboxForm::FindNextBtnClick() { Find(&TKelCustomExprEval::FindNext); }

void TFboxForm::FindPriorBtnClick() { Find(&TKelCustomExprEval::FindPrior); }

void TFboxForm::FindLastBtnClick() { Find(&TKelCustomExprEval::FindLast); }

void TFboxForm::AddColorBtnClick() {
  const QString filter = Sievra_->FilterStr();
  if (filter.isEmpty()) {
    ShowDemoMessage(this, QLatin1String(kNoColoringMessage));
    return;
  }
  TKelRecordSetStyle* style = gridColors_->RecordsInfo()->Add();
  style->SetFilter(filter);
  if (ColoringCheckBox->isChecked()) style->SetDataField(FieldsListEdit->text());
  QRandomGenerator* random = QRandomGenerator::global();
  style->Font()->SetColor(static_cast<TColor>(random->bounded(0x7FFFFFFF)));
  style->SetColor(static_cast<TColor>(random->bounded(0x7FFFFFFF)));
  style->SetActive(true);
  UpdateEnabledStates();
  RepaintGrid();
}

void TFboxForm::ClearColorsBtnClick() {
  gridColors_->RecordsInfo()->Clear();
  UpdateEnabledStates();
  RepaintGrid();
}

void TFboxForm::ChangeDBBtnClick() {
  DBMemo->SetDataField(QString());
  QString fieldName;
  if (!ExecuteDataSourceDlg(table_.get(), false, fieldName, this)) {
    SetupGrid();
    return;
  }
  SetFilterStateDown(false);
  FilterStateBtnClick();
  Sievra_->Items()->Clear();
  gridColors_->RecordsInfo()->Clear();
  Apply();
  UpdateEnabledStates();
}

void TFboxForm::FromSievraClick() { FilterMemo->setPlainText(Sievra_->FilterStr()); }

void TFboxForm::ToSievraClick() { Sievra_->SetFilterStr(FilterMemo->toPlainText()); }

void TFboxForm::GridTitleClick(int column) {
  TDBGridModel* model = DBGrid_->GridModel();
  model->SetTitleHighlighted(column, !model->TitleHighlighted(column));
  RebuildFieldsList();
}

void TFboxForm::GridCellClick() {
  TDBGridModel* model = DBGrid_->GridModel();
  for (int column = 0; column < model->columnCount(); ++column)
    model->SetTitleHighlighted(column, false);
  RebuildFieldsList();
}

void TFboxForm::RebuildFieldsList() {
  TDBGridModel* model = DBGrid_->GridModel();
  QStringList names;
  for (const int column : model->HighlightedColumns())
    names << Sievra_->Builder()->FieldReference(model->FieldOfColumn(column)->FieldName());
  if (names.isEmpty()) {
    if (const TField* selected = DBGrid_->SelectedField())
      names << Sievra_->Builder()->FieldReference(selected->FieldName());
  }
  FieldsListEdit->setText(names.join(QStringLiteral(", ")));
}

void TFboxForm::GridEditButtonClick(int column) {
  TField* field = DBGrid_->GridModel()->FieldOfColumn(column);
  if (!field) return;
  switch (field->DataType()) {
    case ftDate: OpenDateEditor(field, cpkDate); break;
    case ftTime: OpenDateEditor(field, cpkTime); break;
    case ftDateTime: OpenDateEditor(field, cpkDateTime); break;
    default:
      if (IsCalculatorType(field->DataType())) OpenNumberEditor(field);
  }
}

void TFboxForm::OpenDateEditor(TField* field, int kind) {
  const auto popupKind = static_cast<TKelCalendarPopupKind>(kind);
  popupCalendar_->SetPopupKind(popupKind);
  popupCalendar_->SetTodayButton(true);
  popupCalendar_->SetIntegralSize(true);
  popupCalendar_->Calendar()->SetMultiSelect(false);
  popupCalendar_->SetPopupDateTime(field->IsNull() ? Now() : field->AsDateTime());
  const QString name = field->FieldName();
  popupCalendar_->PopupAtRect(DBGrid_->viewport(), TRect::FromQRect(DBGrid_->CurrentCellRect()),
                              [this, name, popupKind](TKelPopupForm*, bool canceled) {
    if (canceled) return;
    const TDateTime value = popupKind == cpkDate   ? popupCalendar_->PopupDate()
                            : popupKind == cpkTime ? popupCalendar_->PopupTime()
                                                   : popupCalendar_->PopupDateTime();
    StoreEditedValue(name, Variant::FromDate(value));
  });
}

void TFboxForm::OpenNumberEditor(TField* field) {
  popupCalc_->SetValue(field->Value());
  const QString name = field->FieldName();
  popupCalc_->PopupAtRect(DBGrid_->viewport(), TRect::FromQRect(DBGrid_->CurrentCellRect()),
                          [this, name](TKelPopupForm*, bool canceled) {
    if (!canceled) StoreEditedValue(name, Variant(popupCalc_->Value()));
  });
}

// The field is found again by name: while the popup was open the table may have been changed.
void TFboxForm::StoreEditedValue(const QString& fieldName, const Variant& value) {
  TDataSet* dataSet = dataSource_->DataSet();
  TField* field = dataSet ? dataSet->FindField(fieldName) : nullptr;
  if (!field) return;
  dataSet->Edit();
  try {
    field->SetValue(value);
    dataSet->Post();
  } catch (...) {
    // A refused value leaves the record as it was, not half edited.
    dataSet->Cancel();
    throw;
  }
}

void TFboxForm::DrawGridCell(int row, TField* field, TDBGridCellStyle& style) {
  TDataSet* dataSet = gridColors_->DataSet();
  if (!field || !dataSet || gridColors_->RecordsInfo()->Count() == 0) return;
  bool found = false;
  TColor color = clWindow;
  TFont* font = nullptr;
  try {
    const TDataSet::TRecordViewScope record(*dataSet, row);
    gridColors_->GetCellStyle(field->FieldName(), found, color, font);
  } catch (const Exception& error) {
    // The rule switched itself off; the user hears of it once, after the painting.
    const QString message = error.Message();
    QTimer::singleShot(0, this, [this, message] { ShowDemoMessage(this, message); });
    return;
  }
  if (!found) return;
  style.Styled = true;
  style.Background = ColorToQColor(color, DBGrid_);
  style.Text = font ? ColorToQColor(font->Color(), DBGrid_) : DBGrid_->palette().color(QPalette::Text);
  if (font) {
    const QFont ruleFont = font->ToQFont();
    style.Font.setBold(ruleFont.bold());
    style.Font.setItalic(ruleFont.italic());
    style.Font.setUnderline(ruleFont.underline());
    style.Font.setStrikeOut(ruleFont.strikeOut());
  }
}

void TFboxForm::RepaintGrid() { DBGrid_->viewport()->update(); }

bool TFboxForm::ServerBased() const { return ServerBasedCheckBox->isChecked(); }

bool TFboxForm::HookImmediately() const { return HookFiltCheck->isChecked(); }

bool TFboxForm::FilterStateDown() const { return toolPanel_->FilterStateBtn->Down(); }

void TFboxForm::SetFilterStateDown(bool down) { toolPanel_->FilterStateBtn->SetDown(down); }

}  // namespace Kel
