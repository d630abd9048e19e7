#pragma once
// Unit KelCalPopup: the popups that serve the calendar.
//  - TKelPopupCalendar: a drop-down date, time or date-and-time chooser made of a single-date
//    calendar, a read-only edit showing the chosen date, a time editor and Today / None
//    buttons. A click on a day, Enter or Today accepts; Esc, Alt+Up/Down or None cancel.
//  - TKelMonthListBox / TKelPopupMonthListBox: the seven-month list that a calendar opens from
//    a month header to jump to another month; holding the pointer above or below the list
//    scrolls it, the faster the further away.

#include <QPointer>
#include <QTimer>
#include <memory>

#include "KelCalendar.h"
#include "KelExport.h"
#include "KelForms.h"
#include "KelStdCtrls.h"
#include "StdCtrls.h"

class QFrame;
class QLabel;
class QTimeEdit;

namespace Kel {

class TSpeedButton;

namespace KelCalPopupTypes {
Q_NAMESPACE_EXPORT(KEL_EXPORT)
enum TKelCalendarPopupKind { cpkDate, cpkTime, cpkDateTime };
Q_ENUM_NS(TKelCalendarPopupKind)
}  // namespace KelCalPopupTypes
using namespace KelCalPopupTypes;

// ---- month list -----------------------------------------------------------------------------

class KEL_EXPORT TKelMonthListBox : public TListBox {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TKelMonthListBox(QWidget* parent = nullptr);

  static constexpr int LineCount = 7;
  // The month in the middle line; the lines run from three months before to three after.
  TDateTime MonthListBase() const { return monthListBase_; }
  void SetMonthListBase(TDateTime value);
  TDateTime MonthOfLine(int line) const;
  // The highlighted line, -1 for none (while auto-scrolling, or the pointer outside).
  int Highlighted() const { return highlighted_; }
  int LineHeight() const;
  // The width that the longest month name needs in the list's font.
  int NeededWidth() const;
  // Auto-scroll: the current step (0: still) and its timer.
  int ScrollStep() const { return scrollStep_; }
  QTimer* ScrollTimer() const { return scrollTimer_.get(); }
  static int IntervalOfStep(int step);
  // Reacts to the pointer at a viewport point (highlight inside, auto-scroll outside).
  void TrackPointer(const QPoint& point);
  // One step of the auto-scroll (the timer's tick).
  void ScrollTick();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Refill();
  void SetScrollStep(int step);

  TDateTime monthListBase_ = 0;
  int highlighted_ = -1;
  int scrollStep_ = 0;
  std::unique_ptr<QTimer> scrollTimer_;
};

class KEL_EXPORT TKelPopupMonthListBox : public TKelPopupListBox {
  Q_OBJECT

 public:
  explicit TKelPopupMonthListBox(TKelCustomCalendar* calendar);

  TKelMonthListBox* MonthList() { return static_cast<TKelMonthListBox*>(ListBox()); }
  // Opens the list over the header of the month in cell (col, row).
  void OpenFor(int col, int row);
  // The month chosen on closing, when a line was highlighted: it takes the same cell.
  void ApplyChoice();

 protected:
  const QMetaObject& ListBoxClass() const override { return TKelMonthListBox::staticMetaObject; }
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  QPointer<TKelCustomCalendar> calendar_;
  int col_ = 0;
  int row_ = 0;
};

// ---- popup calendar -------------------------------------------------------------------------

class KEL_EXPORT TKelPopupCalendar : public TKelPopupForm {
  Q_OBJECT
  Q_PROPERTY(Kel::KelCalPopupTypes::TKelCalendarPopupKind PopupKind READ PopupKind WRITE SetPopupKind)
  Q_CLASSINFO("default:PopupKind", "cpkDate")
  Q_PROPERTY(bool TodayButton READ TodayButton WRITE SetTodayButton)
  Q_CLASSINFO("default:TodayButton", "True")
  Q_PROPERTY(bool NoneButton READ NoneButton WRITE SetNoneButton)
  Q_CLASSINFO("default:NoneButton", "False")
  Q_PROPERTY(bool IntegralSize READ IntegralSize WRITE SetIntegralSize)
  Q_CLASSINFO("default:IntegralSize", "False")

 public:
  explicit TKelPopupCalendar(QWidget* owner = nullptr, int option = 0);
  ~TKelPopupCalendar() override;

  TKelCalendarPopupKind PopupKind() const { return popupKind_; }
  void SetPopupKind(TKelCalendarPopupKind value);
  bool TodayButton() const { return todayButton_; }
  void SetTodayButton(bool value);
  bool NoneButton() const { return noneButton_; }
  void SetNoneButton(bool value);
  bool IntegralSize() const { return integralSize_; }
  void SetIntegralSize(bool value) { integralSize_ = value; }

  TDateTime PopupDate() const;
  void SetPopupDate(TDateTime value);
  TDateTime PopupTime() const;
  void SetPopupTime(TDateTime value);
  TDateTime PopupDateTime() const { return PopupDate() + PopupTime(); }
  void SetPopupDateTime(TDateTime value);

  // The embedded calendar (made on first use by CreateCalendar).
  TKelCustomCalendar* Calendar();
  TEdit* DateEdit() const { return edit_; }
  QTimeEdit* TimeEdit() const { return timeEdit_; }
  TSpeedButton* TodaySpeedButton() const { return today_; }
  TSpeedButton* NoneSpeedButton() const { return none_; }
  QFrame* Bevel() const { return bevel_; }
  QWidget* Client() const { return client_; }

  // Sizes the form for its kind and places its parts.
  virtual void LayoutByKind();
  void PlaceParts();

 protected:
  virtual std::unique_ptr<TKelCustomCalendar> CreateCalendar();
  void BeforePopup() override;
  void AdjustSizing(QSize& size) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool ButtonsVisible() const;
  int LabelWidth() const;
  int ButtonBlock() const;
  void UpdateEdit();
  void TodayClick();
  void NoneClick();

  TKelCalendarPopupKind popupKind_ = cpkDate;
  bool todayButton_ = true;
  bool noneButton_ = false;
  bool integralSize_ = false;
  QWidget* client_ = nullptr;
  TKelCustomCalendar* calendar_ = nullptr;
  TEdit* edit_ = nullptr;
  QTimeEdit* timeEdit_ = nullptr;
  TSpeedButton* today_ = nullptr;
  TSpeedButton* none_ = nullptr;
  QLabel* dateLabel_ = nullptr;
  QLabel* timeLabel_ = nullptr;
  QFrame* bevel_ = nullptr;
  QPoint dragStart_;
  bool dragging_ = false;
};

}  // namespace Kel
