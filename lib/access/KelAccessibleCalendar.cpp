#include "KelAccessibleCalendar_p.h"

#include <QWindow>

#include "DateTimeFormat.h"
#include "FormatSettings.h"
#include "KelCalendar.h"
#include "KelCalendarConsts.h"
#include "KelTranslate.h"

namespace Kel {

namespace {

constexpr int kGridDays = 42;

enum class TPart : quint64 { Nav = 1, Month, Header, Table, Day };

quint64 KeyOf(TPart part, int month, int index) {
  return (quint64(part) << 40) | (quint64(quint32(month)) << 16) | quint64(quint16(index));
}

// What a grid position of a month shows.
enum class TDayKind { Own, Neighbour, Blank };

// The base of the calendar's parts: the calendar, the window, no object of their own.
class TKelCalendarPart : public QAccessibleInterface {
 public:
  explicit TKelCalendarPart(TKelCustomCalendar* calendar) : calendar_(calendar) {}

  QObject* object() const override { return nullptr; }
  QWindow* window() const override {
    return calendar_ ? calendar_->window()->windowHandle() : nullptr;
  }
  void setText(QAccessible::Text, const QString&) override {}
  int childCount() const override { return 0; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (int i = 0, count = childCount(); i < count; ++i) {
      QAccessibleInterface* part = child(i);
      if (part && part->rect().contains(x, y)) return part;
    }
    return nullptr;
  }

 protected:
  TKelAccessibleCalendar* Root() const {
    return static_cast<TKelAccessibleCalendar*>(QAccessible::queryAccessibleInterface(calendar_.data()));
  }
  // A rectangle of the calendar's client area on the screen.
  QRect ScreenRect(const TRect& r) const {
    return QRect(calendar_->mapToGlobal(calendar_->ClientRect().topLeft() + QPoint(r.Left, r.Top)),
                 QSize(r.Width(), r.Height()));
  }
  QAccessible::State BaseState() const {
    QAccessible::State s;
    s.disabled = !calendar_->isEnabled();
    s.invisible = !calendar_->isVisible();
    return s;
  }

  QPointer<TKelCustomCalendar> calendar_;
};

// A part that belongs to month m.
class TKelMonthPart : public TKelCalendarPart {
 public:
  TKelMonthPart(TKelCustomCalendar* calendar, int month) : TKelCalendarPart(calendar), month_(month) {}
  bool isValid() const override { return calendar_ && month_ < calendar_->MonthCount(); }
  int MonthIndex() const { return month_; }

 protected:
  int Col() const { return month_ % calendar_->MonthCols(); }
  int Row() const { return month_ / calendar_->MonthCols(); }
  TDateTime MonthStart() const { return calendar_->MonthOfCell(Col(), Row()); }
  QString Title() const { return MonthYearText(MonthStart()); }

  int month_;
};

class TKelCalendarNavButton : public TKelPressablePart<TKelCalendarPart> {
 public:
  TKelCalendarNavButton(TKelCustomCalendar* calendar, int direction)
      : TKelPressablePart(calendar), direction_(direction) {}

  bool isValid() const override { return calendar_; }
  QAccessibleInterface* parent() const override { return Root(); }
  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name) return QString();
    return TranslateText(direction_ < 0 ? KelCalendarText::PreviousMonth : KelCalendarText::NextMonth);
  }
  QRect rect() const override {
    return ScreenRect(direction_ < 0 ? calendar_->PrevButtonRect() : calendar_->NextButtonRect());
  }
  QAccessible::Role role() const override { return QAccessible::Button; }
  QAccessible::State state() const override {
    QAccessible::State s = BaseState();
    s.invisible = s.invisible || !calendar_->ShowNavButtons();
    s.disabled = s.disabled || !calendar_->ShowNavButtons() || AtLimit();
    return s;
  }
  void doAction(const QString& action) override {
    if (action == pressAction() && !state().disabled) calendar_->Scroll(direction_);
  }

 private:
  // The limits leave no month that way.
  bool AtLimit() const {
    if (direction_ < 0)
      return calendar_->MinDateLimit() && calendar_->MinDate() > calendar_->GridStart(0, 0);
    return calendar_->MaxDateLimit() &&
           TKelCustomCalendar::IncMonthSafe(calendar_->StartDate(), calendar_->MonthCount()) >
               calendar_->MaxDate();
  }

  int direction_;
};

class TKelCalendarMonth : public TKelMonthPart {
 public:
  using TKelMonthPart::TKelMonthPart;

  QAccessibleInterface* parent() const override { return Root(); }
  int childCount() const override { return 2; }
  QAccessibleInterface* child(int index) const override {
    if (index == 0) return Root()->Header(month_);
    return index == 1 ? Root()->Table(month_) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (!child) return -1;
    if (child == Root()->Header(month_)) return 0;
    return child == Root()->Table(month_) ? 1 : -1;
  }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? Title() : QString();
  }
  QRect rect() const override { return ScreenRect(calendar_->MonthCellRect(Col(), Row())); }
  QAccessible::Role role() const override { return QAccessible::Grouping; }
  QAccessible::State state() const override { return BaseState(); }
};

class TKelCalendarHeader : public TKelPressablePart<TKelMonthPart> {
 public:
  using TKelPressablePart::TKelPressablePart;

  QAccessibleInterface* parent() const override { return Root()->Month(month_); }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return Title();
    return t == QAccessible::Description ? TranslateText(KelCalendarText::ChooseMonth) : QString();
  }
  QRect rect() const override { return ScreenRect(calendar_->HeaderRect(Col(), Row())); }
  QAccessible::Role role() const override { return QAccessible::Button; }
  QAccessible::State state() const override {
    QAccessible::State s = BaseState();
    s.hasPopup = true;
    s.disabled = s.disabled || !calendar_->ShowMonthPopup();
    return s;
  }
  void doAction(const QString& action) override {
    if (action == pressAction() && !state().disabled) calendar_->ShowMonthList(Col(), Row());
  }
};

class TKelCalendarDay;

class TKelCalendarTable : public TKelMonthPart, public QAccessibleTableInterface {
 public:
  using TKelMonthPart::TKelMonthPart;

  QAccessibleInterface* parent() const override { return Root()->Month(month_); }
  int childCount() const override { return kGridDays; }
  QAccessibleInterface* child(int index) const override { return Root()->Day(month_, index); }
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint p = calendar_->mapFromGlobal(QPoint(x, y)) - calendar_->ClientRect().topLeft();
    const TRect first = DayRectAt(0);
    if (p.x() < first.Left || p.y() < first.Top) return nullptr;
    const int column = (p.x() - first.Left) / calendar_->DayWidth();
    const int week = (p.y() - first.Top) / calendar_->DayHeight();
    return column < 7 && week < 6 ? child(week * 7 + column) : nullptr;
  }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? Title() : QString();
  }
  QRect rect() const override {
    return ScreenRect(DayRectAt(0)) | ScreenRect(DayRectAt(kGridDays - 1));
  }
  QAccessible::Role role() const override { return QAccessible::Table; }
  QAccessible::State state() const override { return BaseState(); }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this)
                                               : nullptr;
  }

  // The rectangle of grid day i, in client coordinates.
  TRect DayRectAt(int i) const {
    const int left = Col() * calendar_->MonthWidth() + calendar_->DayColumnsLeft() +
                     (i % 7) * calendar_->DayWidth();
    const int top = Row() * calendar_->MonthHeight() + calendar_->HeaderHeight() +
                    calendar_->DayNamesHeight() + 2 + (i / 7) * calendar_->DayHeight();
    return TRect{left, top, left + calendar_->DayWidth(), top + calendar_->DayHeight()};
  }
  TDateTime DateAt(int i) const { return calendar_->GridStart(Col(), Row()) + i; }
  TDayKind KindAt(int i) const {
    const TDateTime date = DateAt(i);
    const TDateTime start = MonthStart();
    if (FirstDayOfMonth(date) == start) return TDayKind::Own;
    if (month_ == 0 && date < start) return TDayKind::Neighbour;
    if (month_ == calendar_->MonthCount() - 1 && date > start) return TDayKind::Neighbour;
    return TDayKind::Blank;
  }

  // ---- table
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    return row >= 0 && row < 6 && column >= 0 && column < 7 ? child(row * 7 + column) : nullptr;
  }
  int selectedCellCount() const override { return int(selectedCells().size()); }
  QList<QAccessibleInterface*> selectedCells() const override {
    QList<QAccessibleInterface*> cells;
    for (int i = 0; i < kGridDays; ++i)
      if (KindAt(i) != TDayKind::Blank && calendar_->IsDateSelected(DateAt(i))) cells.append(child(i));
    return cells;
  }
  QString columnDescription(int column) const override {
    const int weekday = (calendar_->EffectiveFirstDayOfWeek() - 1 + column) % 7 + 1;
    return column >= 0 && column < 7 ? FormatSettings().LongDayNames[weekday - 1] : QString();
  }
  QString rowDescription(int row) const override {
    if (row < 0 || row >= 6) return QString();
    return TranslateText(KelCalendarText::Week).arg(calendar_->WeekNumber(DateAt(row * 7)));
  }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  int columnCount() const override { return 7; }
  int rowCount() const override { return 6; }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int) const override { return false; }
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override {}
};

class TKelCalendarDay : public TKelMonthPart,
                        public QAccessibleTableCellInterface,
                        public QAccessibleActionInterface {
 public:
  TKelCalendarDay(TKelCustomCalendar* calendar, int month, int cell)
      : TKelMonthPart(calendar, month), cell_(cell) {}

  int Cell() const { return cell_; }
  TKelCalendarTable* Grid() const { return static_cast<TKelCalendarTable*>(Root()->Table(month_)); }
  TDateTime DayDate() const { return Grid()->DateAt(cell_); }
  TDayKind Kind() const { return Grid()->KindAt(cell_); }

  QAccessibleInterface* parent() const override { return Grid(); }
  QString text(QAccessible::Text t) const override {
    const TDayKind kind = Kind();
    if (kind == TDayKind::Blank) return QString();
    if (t == QAccessible::Name) return FormatDateTime(QStringLiteral("dddddd"), DayDate());
    if (t != QAccessible::Description) return QString();
    QStringList notes;
    if (DayDate() == ::Kel::Date()) notes << TranslateText(KelCalendarText::Today);
    if (kind == TDayKind::Neighbour) notes << TranslateText(KelCalendarText::OtherMonth);
    return notes.join(QStringLiteral(", "));
  }
  QRect rect() const override { return ScreenRect(Grid()->DayRectAt(cell_)); }
  QAccessible::Role role() const override { return QAccessible::Cell; }
  QAccessible::State state() const override {
    QAccessible::State s = BaseState();
    if (Kind() == TDayKind::Blank) {
      s.invisible = true;
      return s;
    }
    const TDateTime date = DayDate();
    s.selectable = true;
    s.focusable = true;
    s.selected = calendar_->IsDateSelected(date);
    s.focused = calendar_->hasFocus() && calendar_->CursorDate() == date;
    s.disabled = s.disabled || !calendar_->InsideLimits(date);
    s.readOnly = calendar_->ReadOnly();
    s.multiSelectable = calendar_->MultiSelect();
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
    if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
  }

  // ---- table cell
  bool isSelected() const override { return state().selected; }
  QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return cell_ % 7; }
  int rowIndex() const override { return cell_ / 7; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return Grid(); }

  // ---- actions: press selects the day as a click does; toggle adds or removes it.
  QStringList actionNames() const override {
    const QAccessible::State s = state();
    if (s.invisible || s.disabled || s.readOnly) return {};
    if (calendar_->MultiSelect()) return {pressAction(), toggleAction()};
    return {pressAction()};
  }
  void doAction(const QString& action) override {
    if (!actionNames().contains(action)) return;
    const TDateTime date = DayDate();
    if (action == pressAction())
      calendar_->SetDate(date);
    else
      calendar_->SelectDate(!calendar_->IsDateSelected(date), date);
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  int cell_;
};

int TKelCalendarTable::indexOfChild(const QAccessibleInterface* child) const {
  auto* day = dynamic_cast<const TKelCalendarDay*>(child);
  return day && day->MonthIndex() == month_ ? day->Cell() : -1;
}

}  // namespace

TKelAccessibleCalendar::TKelAccessibleCalendar(QWidget* widget)
    : QAccessibleWidget(widget, QAccessible::Grouping) {}

TKelCustomCalendar* TKelAccessibleCalendar::Calendar() const {
  return static_cast<TKelCustomCalendar*>(widget());
}

int TKelAccessibleCalendar::childCount() const { return 2 + Calendar()->MonthCount(); }

QAccessibleInterface* TKelAccessibleCalendar::child(int index) const {
  if (index == 0 || index == 1) return NavButton(index == 0 ? -1 : 1);
  return Month(index - 2);
}

int TKelAccessibleCalendar::indexOfChild(const QAccessibleInterface* child) const {
  if (!child) return -1;
  if (child == NavButton(-1)) return 0;
  if (child == NavButton(1)) return 1;
  if (auto* month = dynamic_cast<const TKelCalendarMonth*>(child))
    return month->isValid() && child == Month(month->MonthIndex()) ? 2 + month->MonthIndex() : -1;
  return -1;
}

QAccessibleInterface* TKelAccessibleCalendar::childAt(int x, int y) const {
  for (int i = 0, count = childCount(); i < count; ++i) {
    QAccessibleInterface* part = child(i);
    if (part && !part->state().invisible && part->rect().contains(x, y)) return part;
  }
  return nullptr;
}

QAccessibleInterface* TKelAccessibleCalendar::NavButton(int direction) const {
  return parts_.Get(KeyOf(TPart::Nav, 0, direction < 0 ? 0 : 1), [this, direction] {
    return new TKelCalendarNavButton(Calendar(), direction);
  });
}

QAccessibleInterface* TKelAccessibleCalendar::Month(int month) const {
  if (month < 0 || month >= Calendar()->MonthCount()) return nullptr;
  return parts_.Get(KeyOf(TPart::Month, month, 0),
                    [this, month] { return new TKelCalendarMonth(Calendar(), month); });
}

QAccessibleInterface* TKelAccessibleCalendar::Header(int month) const {
  if (month < 0 || month >= Calendar()->MonthCount()) return nullptr;
  return parts_.Get(KeyOf(TPart::Header, month, 0),
                    [this, month] { return new TKelCalendarHeader(Calendar(), month); });
}

QAccessibleInterface* TKelAccessibleCalendar::Table(int month) const {
  if (month < 0 || month >= Calendar()->MonthCount()) return nullptr;
  return parts_.Get(KeyOf(TPart::Table, month, 0),
                    [this, month] { return new TKelCalendarTable(Calendar(), month); });
}

QAccessibleInterface* TKelAccessibleCalendar::Day(int month, int cell) const {
  if (month < 0 || month >= Calendar()->MonthCount() || cell < 0 || cell >= kGridDays) return nullptr;
  return parts_.Get(KeyOf(TPart::Day, month, cell),
                    [this, month, cell] { return new TKelCalendarDay(Calendar(), month, cell); });
}

QAccessibleInterface* TKelAccessibleCalendar::DayOfDate(TDateTime date) const {
  const TKelCustomCalendar* calendar = Calendar();
  int col = 0, row = 0;
  date = DateOnly(date);
  if (!calendar->CellOfDate(date, col, row)) return nullptr;
  const int cell = int(date - calendar->GridStart(col, row));
  return Day(row * calendar->MonthCols() + col, cell);
}

}  // namespace Kel
