#pragma once
// keldemo's window for the calculator and the button panel.

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QTabWidget;

namespace Kel {

class TKelBtnPanel;
class TKelCalcDisplay;
class TKelCalculator;

// Two pages: a calculator with its display and a switch that disables both, and a button panel
// with controls for its alignment, direction, standard button set and sizes. A click on a panel
// button is reported in a message box.
//
// Children carry the classic component names as object names (PageControl1, CalcDisplay,
// Calculator, ButtonPanel, HasButtonsGroup, ...), so tests find them with findChild.
class TMiskForm : public QWidget {
  Q_OBJECT
 public:
  explicit TMiskForm(QWidget* parent = nullptr);
  ~TMiskForm() override;

 private:
  QWidget* BuildCalculatorSheet();
  QWidget* BuildButtonPanelSheet();
  QWidget* BuildPanelControls(QWidget* sheet);
  void BuildButtonPanel(QWidget* sheet);
  QLineEdit* AddSizeEdit(QWidget* sheet, const char* name, const char* caption, int value,
                         void (TKelBtnPanel::*store)(int), int (TKelBtnPanel::*read)() const);

  void EnabledCheckBoxClick();
  void HasButtonsClick(int index);
  void ButtonPanelClickButton(int index);

  QTabWidget* PageControl1 = nullptr;
  TKelCalcDisplay* CalcDisplay = nullptr;
  TKelCalculator* Calculator = nullptr;
  QCheckBox* EnabledCheckBox = nullptr;
  TKelBtnPanel* ButtonPanel = nullptr;
  QButtonGroup* HasButtons = nullptr;
};

}  // namespace Kel
