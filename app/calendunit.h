#pragma once
// keldemo's calendar window.

#include <QFont>
#include <QWidget>
#include <functional>
#include <memory>

#include "Color.h"
#include "DateUtils.h"

class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QVBoxLayout;

namespace Kel {

class TKelCalendar;
class TKelPopupCalendar;

// The calendar with a switch for nearly every property, colour and font pickers, and a live view
// of the selection: the selected date and shift state, a count of changes and the selection
// written as a filter condition on a field "Date". "Specify range" picks dates in a popup
// calendar; while "Can Select Range" is unchecked the main calendar refuses those dates.
//
// Children carry the classic component names as object names (Calendar, StatusMemo,
// PageControl2, MinDateEdit, ...), so tests find them with findChild.
class TCalendForm : public QWidget {
  Q_OBJECT
 public:
  explicit TCalendForm(QWidget* parent = nullptr);
  ~TCalendForm() override;

  // The popup calendar whose selection the main calendar refuses while restricted.
  TKelPopupCalendar* RangeCalendar() const { return rangeCalendar_.get(); }
  bool RangeRestricted() const { return rangeRestricted_; }
  int ChangeCount() const { return changeCount_; }

 private:
  QWidget* BuildCalendarSheet();
  QWidget* BuildOptions1();
  QWidget* BuildOptions2();
  QWidget* BuildOptions3();
  QWidget* BuildColors();
  void CreateCalendar(QWidget* sheet);
  QCheckBox* AddCheck(QVBoxLayout* layout, const char* name, const char* caption, bool checked,
                      std::function<void(bool)> action);
  QButtonGroup* AddRadioGroup(QVBoxLayout* layout, const char* name, const char* caption,
                              const QStringList& items, int checked,
                              std::function<void(int)> action);
  void AddColorButton(QGridLayout* grid, const char* caption, std::function<TColor()> read,
                      std::function<void(TColor)> store);
  void AddFontButton(QGridLayout* grid, const char* caption, std::function<QFont()> read,
                     std::function<void(const QFont&)> store);

  void CalendarDateChanged();
  void CalendarCanSelectDate(TDateTime date, bool& canChange);
  void MaxSelEditExit();
  void LimitEditExit(QLineEdit* edit, bool maximum);
  void PickLimitDatesClick();
  void SpecifyRangeClick();
  void CanSelectRangeClick(bool checked);

  TKelCalendar* Calendar = nullptr;
  QPlainTextEdit* StatusMemo = nullptr;
  QTabWidget* PageControl2 = nullptr;
  QLabel* DateLabel = nullptr;
  QLabel* ShiftLabel = nullptr;
  QLabel* CountLabel = nullptr;
  QLineEdit* MaxSelEdit = nullptr;
  QLineEdit* MinDateEdit = nullptr;
  QLineEdit* MaxDateEdit = nullptr;
  QPushButton* SpecifyRangeButton = nullptr;
  QButtonGroup* FirstWeekGroup = nullptr;

  int changeCount_ = 0;
  std::unique_ptr<TKelPopupCalendar> rangeCalendar_;
  bool rangeRestricted_ = false;
};

}  // namespace Kel
