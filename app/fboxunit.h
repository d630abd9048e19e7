#pragma once
// keldemo's filter window: the filter box at work on the sample table biolife. The box rewrites
// the table's Filter (or, "server based", a query's SQL); its conditions drive a record search
// with the expression evaluator and colour rules for the data grid, and a filter text can be
// turned back into conditions. A second tab shows the parameter list box on its own.
//
// Children carry the classic component names as object names (Sievra, DBGrid, DBMemo,
// FilterStateBtn, HookFiltCheck, FieldsListEdit, ListBox, ...), so tests find them with
// findChild; the non-visual members have accessors.

#include <QWidget>
#include <memory>

class QCheckBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QTabWidget;

namespace Kel {

class TDataSet;
class TDataSource;
class TDBGrid;
class TDBMemo;
class TFboxToolPanel;
class TKelCustomExprEval;
class TKelExprEval;
class TKelFltBox;
class TKelGridColors;
class TKelPopupCalcEdit;
class TKelPopupCalendar;
class TListBoxDemoPage;
class TQuery;
class TSpeedButton;
class TTable;
class TField;
class Variant;

class TFboxForm : public QWidget {
  Q_OBJECT
 public:
  explicit TFboxForm(QWidget* parent = nullptr);
  ~TFboxForm() override;

 protected:
  // A palette change (a dark theme) gives both list boxes a link colour that can be read.
  void changeEvent(QEvent* event) override;

 public:

  // ---- members
  TTable* Table() const { return table_.get(); }
  TQuery* Query() const { return query_.get(); }
  TDataSource* DataSource() const { return dataSource_.get(); }
  TKelExprEval* ExprEval() const { return exprEval_.get(); }
  TKelGridColors* GridColors() const { return gridColors_.get(); }
  TTable* FltBoxTable() const { return fltBoxTable_.get(); }
  QMenu* PopupMenu() const { return popupMenu_; }
  TKelPopupCalendar* PopupCalendar() const { return popupCalendar_; }
  TKelPopupCalcEdit* PopupCalc() const { return popupCalc_; }
  TKelFltBox* Sievra() const { return Sievra_; }
  TDBGrid* DBGrid() const { return DBGrid_; }
  TFboxToolPanel* ToolPanel() const { return toolPanel_; }

  // ---- named steps
  // Gives the evaluator, the colours, the data source and the filter box the dataset; the
  // query is open exactly while it is the one bound. Then SetupGrid.
  void BindDataSet(TDataSet* dataSet);
  // Ellipsis buttons on number, date and time columns; the memo on the first memo field.
  void SetupGrid();
  // LookMemo shows FilterStr, SQLLookMemo the SQL.
  void ShowTexts();
  // Writes the conditions into the dataset: the query's SQL when server based, else the
  // table's Filter, filtered while FilterStateBtn is down.
  void Apply();
  void HookSettings();
  void UpdateEnabledStates();
  void UpdateHookCheckAvailability();

  // ---- handlers (the controls' signals call these)
  void SievraChange();
  void ServerBasedClick();
  void RunFilterBtnClick();
  void FilterStateBtnClick();
  void FindFirstBtnClick();
  void FindNextBtnClick();
  void FindPriorBtnClick();
  void FindLastBtnClick();
  void AddColorBtnClick();
  void ClearColorsBtnClick();
  void ChangeDBBtnClick();
  void FromSievraClick();
  void ToSievraClick();
  void GridTitleClick(int column);
  void GridCellClick();
  void GridEditButtonClick(int column);

 private:
  void UseReadableLinkColors();
  void CreateComponents();
  QWidget* BuildFilterSheet();
  QWidget* BuildWorkPanel(QWidget* sheet);
  QWidget* BuildSqlFilterPage();
  QWidget* BuildConvertPage();
  QWidget* BuildPropsPage();
  void LoadSievra();
  void FormCreate();
  void Find(bool (TKelCustomExprEval::*search)());
  void RebuildFieldsList();
  void OpenDateEditor(TField* field, int kind);
  void OpenNumberEditor(TField* field);
  void StoreEditedValue(const QString& fieldName, const Variant& value);
  void RepaintGrid();
  QCheckBox* AddCheck(QWidget* page, const char* name, const char* caption, bool checked);
  bool ServerBased() const;
  bool HookImmediately() const;
  bool FilterStateDown() const;
  void SetFilterStateDown(bool down);

  // Non-visual members: the datasets go last, after everything that points at them.
  std::unique_ptr<TTable> table_;
  std::unique_ptr<TQuery> query_;
  std::unique_ptr<TTable> fltBoxTable_;
  std::unique_ptr<TDataSource> dataSource_;
  std::unique_ptr<TKelExprEval> exprEval_;
  std::unique_ptr<TKelGridColors> gridColors_;
  QMenu* popupMenu_ = nullptr;
  TKelPopupCalendar* popupCalendar_ = nullptr;
  TKelPopupCalcEdit* popupCalc_ = nullptr;

  QTabWidget* PageControl1 = nullptr;
  QTabWidget* PageControl2 = nullptr;
  TFboxToolPanel* toolPanel_ = nullptr;
  TKelFltBox* Sievra_ = nullptr;
  TDBGrid* DBGrid_ = nullptr;
  TDBMemo* DBMemo = nullptr;
  QPlainTextEdit* LookMemo = nullptr;
  QPlainTextEdit* SQLLookMemo = nullptr;
  QPlainTextEdit* FilterMemo = nullptr;
  QCheckBox* HookFiltCheck = nullptr;
  QCheckBox* ServerBasedCheckBox = nullptr;
  QCheckBox* ColoringCheckBox = nullptr;
  QCheckBox* SearchInLoopCheckBox = nullptr;
  QCheckBox* ShowMsgCheckBox = nullptr;
  QLineEdit* FieldsListEdit = nullptr;
  TListBoxDemoPage* listBoxPage_ = nullptr;
};

}  // namespace Kel
