#include "calendunit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "DateTimeFormat.h"
#include "DemoFormParts.h"
#include "Exceptions.h"
#include "KelCalPopup.h"
#include "KelCalendar.h"
#include "KelDateTimeFormat.h"
#include "KelStrHelpers.h"
#include "NumberFormat.h"

namespace Kel {

namespace {

constexpr int kCalendClientWidth = 780;
constexpr int kCalendClientHeight = 470;
constexpr int kCalendarInfoWidth = 150;
constexpr int kOptionsWidth = 270;
constexpr TDateTime kStoredStartDate = 36434;  // 1 October 1999
constexpr int kStoredMaxSelDates = 42;
constexpr int kLimitDays = 15;                 // "pick limit dates": today to today + 15

const char* const kCalendarInfo =
    "The calendar shows as many months as fit its size. Click, drag, Shift+click and "
    "Ctrl+click to select dates; a click on the side of a week selects the whole week.\n\n"
    "The tabs on the right switch nearly every property, colour and font.\n\nBelow the "
    "calendar the selection is shown as a filter condition on a field \"Date\", as a query "
    "would use it.";

QGroupBox* MakeGroup(const char* name, const char* caption, QWidget* parent) {
  auto* group = new QGroupBox(QLatin1String(caption), parent);
  group->setObjectName(QLatin1String(name));
  return group;
}

QLabel* MakeValueLabel(const char* name, QWidget* parent) {
  auto* label = new QLabel(QStringLiteral("<>"), parent);
  label->setObjectName(QLatin1String(name));
  label->setTextFormat(Qt::PlainText);
  return label;
}

QLineEdit* MakeEdit(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QLatin1String(name));
  return edit;
}

}  // namespace

TCalendForm::TCalendForm(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("CalendForm"));
  setWindowTitle(QStringLiteral("Calendar Demo"));
  SetFormFont(this, 11);

  auto* pages = new QTabWidget(this);
  pages->setAccessibleName(QStringLiteral("Pages"));
  pages->setObjectName(QStringLiteral("PageControl1"));
  pages->addTab(BuildCalendarSheet(), QStringLiteral("Calendar"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(pages);

  pages->setCurrentIndex(0);
  PageControl2->setCurrentIndex(0);
  rangeCalendar_ = std::make_unique<TKelPopupCalendar>(this);
  rangeCalendar_->setObjectName(QStringLiteral("RangeCalendar"));
  // The handlers come last: setting up the options already changes the selection, before the
  // labels and the memo that the handlers fill exist.
  Calendar->OnDateChanged = [this](QObject*) { CalendarDateChanged(); };
  Calendar->OnCanSelectDate = [this](TKelCustomCalendar*, TDateTime date, bool& canChange) {
    CalendarCanSelectDate(date, canChange);
  };

  resize(kCalendClientWidth, kCalendClientHeight);
  CenterOnScreen(this);
}

TCalendForm::~TCalendForm() {
  // The popup goes first: its calendar must not call back into a half-destroyed window.
  rangeCalendar_.reset();
}

QWidget* TCalendForm::BuildCalendarSheet() {
  auto* sheet = new QWidget;
  sheet->setObjectName(QStringLiteral("CalendarTabSheet"));
  CreateCalendar(sheet);

  StatusMemo = new QPlainTextEdit(sheet);
  StatusMemo->setObjectName(QStringLiteral("StatusMemo"));
  StatusMemo->setAccessibleName(QStringLiteral("Selection as a filter condition"));
  StatusMemo->setReadOnly(true);
  StatusMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  StatusMemo->setFixedHeight(64);

  PageControl2 = new QTabWidget(sheet);
  PageControl2->setAccessibleName(QStringLiteral("Calendar options"));
  PageControl2->setObjectName(QStringLiteral("PageControl2"));
  PageControl2->setFixedWidth(kOptionsWidth);
  PageControl2->addTab(BuildOptions1(), QStringLiteral("O1"));
  PageControl2->addTab(BuildOptions2(), QStringLiteral("O2"));
  PageControl2->addTab(BuildOptions3(), QStringLiteral("O3"));
  PageControl2->addTab(BuildColors(), QStringLiteral("Colors"));

  auto* middle = new QVBoxLayout;
  middle->addWidget(Calendar, 1);
  middle->addWidget(StatusMemo);
  auto* layout = new QHBoxLayout(sheet);
  layout->addWidget(MakeInfoPanel(sheet, QStringLiteral("InfoPanel"),
                                  QLatin1String(kCalendarInfo), kCalendarInfoWidth));
  layout->addLayout(middle, 1);
  layout->addWidget(PageControl2);
  return sheet;
}

void TCalendForm::CreateCalendar(QWidget* sheet) {
  Calendar = new TKelCalendar(sheet);
  Calendar->setObjectName(QStringLiteral("Calendar"));
  Calendar->SetMultiSelect(false);
  Calendar->SetStartDate(kStoredStartDate);
  Calendar->Colors()->SetWeekEndText(clMaroon);
  for (TFont* font : {Calendar->Colors()->WeekNumbersFont(), Calendar->Colors()->WeekDaysFont()}) {
    font->SetName(QStringLiteral("Tahoma"));
    font->SetHeight(-9);
    font->SetColor(clWindowText);
  }
}

QCheckBox* TCalendForm::AddCheck(QVBoxLayout* layout, const char* name, const char* caption,
                                 bool checked, std::function<void(bool)> action) {
  auto* box = new QCheckBox(QLatin1String(caption));
  box->setObjectName(QLatin1String(name));
  box->setChecked(checked);
  connect(box, &QCheckBox::clicked, this, [action = std::move(action)](bool on) { action(on); });
  layout->addWidget(box);
  return box;
}

QButtonGroup* TCalendForm::AddRadioGroup(QVBoxLayout* layout, const char* name,
                                         const char* caption, const QStringList& items,
                                         int checked, std::function<void(int)> action) {
  QGroupBox* box = MakeGroup(name, caption, nullptr);
  auto* boxLayout = new QGridLayout(box);
  auto* group = new QButtonGroup(box);
  const int rows = items.size() > 4 ? (items.size() + 1) / 2 : items.size();
  for (int index = 0; index < items.size(); ++index) {
    auto* item = new QRadioButton(items[index], box);
    group->addButton(item, index);
    boxLayout->addWidget(item, index % rows, index / rows);
  }
  if (QAbstractButton* initial = group->button(checked)) initial->setChecked(true);
  connect(group, &QButtonGroup::idClicked, this, [action = std::move(action)](int id) { action(id); });
  layout->addWidget(box);
  return group;
}

QWidget* TCalendForm::BuildOptions1() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("O1TabSheet"));
  auto* checks = new QVBoxLayout;
  checks->setSpacing(2);
  TKelCalendar* c = Calendar;
  QCheckBox* multi = AddCheck(checks, "MultiSelectCheck", "Multiselect", true,
                              [c](bool on) { c->SetMultiSelect(on); });
  AddCheck(checks, "MonthPopupCheck", "Show month popup", true, [c](bool on) { c->SetShowMonthPopup(on); });
  AddCheck(checks, "NavButtonsCheck", "Navigation buttons", true, [c](bool on) { c->SetShowNavButtons(on); });
  AddCheck(checks, "DividersCheck", "Months dividers", false, [c](bool on) { c->SetShowMonthDividers(on); });
  AddCheck(checks, "TodayCheck", "Square around today", true, [c](bool on) { c->SetShowToday(on); });
  AddCheck(checks, "SideWeekCheck", "Side click selects week", true, [c](bool on) { c->SetSideWeekSelect(on); });
  AddCheck(checks, "FlatCheck", "Flat", true, [c](bool on) { c->SetFlat(on); });
  AddCheck(checks, "WeekNumbersCheck", "Week numbers", false, [c](bool on) { c->SetShowWeekNumbers(on); });
  AddCheck(checks, "LongDayNamesCheck", "Long day names", false,
           [c](bool on) { c->SetWeekDayNames(on ? wdlTwo : wdlOne); });
  AddCheck(checks, "ExtendedSelectCheck", "Extended Select", true, [c](bool on) { c->SetExtendedSelect(on); });
  auto* lines = new QHBoxLayout;
  auto* lineChecks = new QVBoxLayout;
  AddCheck(lineChecks, "VertLinesCheck", "Vertical", false, [c](bool on) { c->SetShowVertLines(on); });
  AddCheck(lineChecks, "HorzLinesCheck", "Horiz lines", false, [c](bool on) { c->SetShowHorzLines(on); });
  lines->addLayout(lineChecks);
  checks->addLayout(lines);
  AddCheck(checks, "ReadOnlyCheck", "ReadOnly", false, [c](bool on) { c->SetReadOnly(on); });
  AddCheck(checks, "CanSelectRangeCheck", "Can Select Range", true,
           [this](bool on) { CanSelectRangeClick(on); });

  Calendar->SetMultiSelect(multi->isChecked());
  Calendar->SetMaxSelDates(kStoredMaxSelDates);
  Calendar->SetFlat(true);

  MaxSelEdit = MakeEdit("MaxSelEdit", page);
  MaxSelEdit->setText(QString::number(Calendar->MaxSelDates()));
  MaxSelEdit->setFixedWidth(50);
  connect(MaxSelEdit, &QLineEdit::editingFinished, this, &TCalendForm::MaxSelEditExit);
  auto* maxSel = new QHBoxLayout;
  auto* maxSelLabel = new QLabel(QStringLiteral("Max selection length"), page);
  maxSelLabel->setBuddy(MaxSelEdit);
  maxSel->addWidget(maxSelLabel);
  maxSel->addWidget(MaxSelEdit);
  checks->addLayout(maxSel);

  SpecifyRangeButton = MakeNamedButton(page, "SpecifyRangeButton", "Specify range");
  connect(SpecifyRangeButton, &QPushButton::clicked, this, &TCalendForm::SpecifyRangeClick);
  checks->addWidget(SpecifyRangeButton);
  DateLabel = MakeValueLabel("DateLabel", page);
  ShiftLabel = MakeValueLabel("ShiftLabel", page);
  checks->addWidget(DateLabel);
  checks->addWidget(ShiftLabel);
  checks->addStretch(1);
  page->setLayout(checks);
  return page;
}

QWidget* TCalendForm::BuildOptions2() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("O2TabSheet"));
  auto* layout = new QVBoxLayout(page);
  TKelCalendar* c = Calendar;
  AddRadioGroup(layout, "SelectKindGroup", "Select Kind",
                {QStringLiteral("Free"), QStringLiteral("Progressive"), QStringLiteral("Week")},
                skProgressive, [c](int index) { c->SetSelectKind(static_cast<TKelCalSelectKind>(index)); });

  MinDateEdit = MakeEdit("MinDateEdit", page);
  MaxDateEdit = MakeEdit("MaxDateEdit", page);
  connect(MinDateEdit, &QLineEdit::editingFinished, this, [this] { LimitEditExit(MinDateEdit, false); });
  connect(MaxDateEdit, &QLineEdit::editingFinished, this, [this] { LimitEditExit(MaxDateEdit, true); });
  auto* limits = new QGridLayout;
  auto* minLabel = new QLabel(QStringLiteral("Min Date"), page);
  auto* maxLabel = new QLabel(QStringLiteral("Max Date"), page);
  minLabel->setBuddy(MinDateEdit);
  maxLabel->setBuddy(MaxDateEdit);
  limits->addWidget(minLabel, 0, 0);
  limits->addWidget(MinDateEdit, 0, 1);
  limits->addWidget(MakeNamedButton(page, "ApplyMinButton", "apply"), 0, 2);
  limits->addWidget(maxLabel, 1, 0);
  limits->addWidget(MaxDateEdit, 1, 1);
  limits->addWidget(MakeNamedButton(page, "ApplyMaxButton", "apply"), 1, 2);
  // The two "apply" buttons do nothing themselves: leaving an edit applies it, which a click
  // on either button does.
  auto* pick = MakeNamedButton(page, "PickLimitsButton", "pick limit dates");
  connect(pick, &QPushButton::clicked, this, &TCalendForm::PickLimitDatesClick);
  limits->addWidget(pick, 2, 0, 1, 3);
  layout->addLayout(limits);

  FirstWeekGroup = AddRadioGroup(
      layout, "FirstWeekGroup", "1st Week of Year",
      {QStringLiteral("Starts on Jan 1"), QStringLiteral("First 4 day Week"), QStringLiteral("First Full Week")},
      Calendar->FirstWeekOfYear(),
      [c](int index) { c->SetFirstWeekOfYear(static_cast<TKelFirstWeekOfYear>(index)); });
  AddCheck(layout, "ClearOnKeyMovingCheck", "Clear on key moving", Calendar->ClearOnKeyMoving(),
           [c](bool on) { c->SetClearOnKeyMoving(on); });
  layout->addStretch(1);
  return page;
}

QWidget* TCalendForm::BuildOptions3() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("O3TabSheet"));
  auto* layout = new QVBoxLayout(page);
  CountLabel = MakeValueLabel("CountLabel", page);
  layout->addWidget(CountLabel);
  TKelCalendar* c = Calendar;

  QGroupBox* edges = MakeGroup("BorderEdgesGroup", "Border Edges", page);
  auto* edgesLayout = new QVBoxLayout(edges);
  const std::pair<const char*, TBevelEdge> edgeItems[] = {
      {"Left", beLeft}, {"Top", beTop}, {"Right", beRight}, {"Bottom", beBottom}};
  for (const auto& [caption, edge] : edgeItems) {
    const QByteArray name = QByteArray("Edge") + caption;
    AddCheck(edgesLayout, name.constData(), caption, Calendar->BorderEdges().Contains(edge),
             [c, edge = edge](bool on) {
               TBevelEdges value = c->BorderEdges();
               c->SetBorderEdges(on ? value.Include(edge) : value.Exclude(edge));
             });
  }
  layout->addWidget(edges);

  AddRadioGroup(layout, "FirstDayGroup", "1st WeekDay",
                {QStringLiteral("Default"), QStringLiteral("Sun"), QStringLiteral("Mon"),
                 QStringLiteral("Tue"), QStringLiteral("Wed"), QStringLiteral("Thu"),
                 QStringLiteral("Fri"), QStringLiteral("Sat")},
                dwLocaleDefault,
                [c](int index) { c->SetFirstDayOfWeek(static_cast<TKelFirstDayOfWeek>(index)); });

  QGroupBox* workDays = MakeGroup("WorkDaysGroup", "WorkDays", page);
  auto* workLayout = new QVBoxLayout(workDays);
  workLayout->setSpacing(1);
  const char* const dayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  for (int index = 0; index < 7; ++index) {
    const auto day = static_cast<TKelFirstDayOfWeek>(dwSunday + index);
    const QByteArray name = QByteArray("WorkDay") + dayNames[index];
    AddCheck(workLayout, name.constData(), dayNames[index], Calendar->WorkDays().Contains(day),
             [c, day](bool on) {
               TKelWeekDays value = c->WorkDays();
               c->SetWorkDays(on ? value.Include(day) : value.Exclude(day));
             });
  }
  layout->addWidget(workDays);
  layout->addStretch(1);
  return page;
}

void TCalendForm::AddColorButton(QGridLayout* grid, const char* caption,
                                 std::function<TColor()> read, std::function<void(TColor)> store) {
  auto* button = new QPushButton(QLatin1String(caption));
  const int index = grid->count();
  grid->addWidget(button, index / 2, index % 2);
  connect(button, &QPushButton::clicked, this, [this, read = std::move(read), store = std::move(store)] {
    const QColor chosen = QColorDialog::getColor(ColorToQColor(read(), Calendar), this);
    if (chosen.isValid()) store(QColorToColor(chosen));  // cancel keeps the old colour
  });
}

void TCalendForm::AddFontButton(QGridLayout* grid, const char* caption, std::function<QFont()> read,
                                std::function<void(const QFont&)> store) {
  auto* button = new QPushButton(QLatin1String(caption));
  const int index = grid->count();
  grid->addWidget(button, index / 2, index % 2);
  connect(button, &QPushButton::clicked, this, [this, read = std::move(read), store = std::move(store)] {
    bool accepted = false;
    const QFont chosen = QFontDialog::getFont(&accepted, read(), this);
    if (accepted) store(chosen);
  });
}

QWidget* TCalendForm::BuildColors() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("ColorsTabSheet"));
  auto* outer = new QVBoxLayout(page);
  auto* grid = new QGridLayout;
  outer->addLayout(grid);
  outer->addStretch(1);
  TKelCalendarColors* colors = Calendar->Colors();
  TKelCalendar* c = Calendar;
  using Colors = TKelCalendarColors;
  auto colorOf = [colors](TColor (Colors::*get)() const) { return [colors, get] { return (colors->*get)(); }; };
  auto storeTo = [colors](void (Colors::*set)(TColor)) {
    return [colors, set](TColor value) { (colors->*set)(value); };
  };
  auto fontOf = [](TFont* font) { return [font] { return font->ToQFont(); }; };
  auto fontTo = [](TFont* font) { return [font](const QFont& value) { font->Assign(value); }; };

  AddColorButton(grid, "Border", colorOf(&Colors::Border), storeTo(&Colors::SetBorder));
  AddColorButton(grid, "Selected text", colorOf(&Colors::SelectedText), storeTo(&Colors::SetSelectedText));
  AddColorButton(grid, "Selected", colorOf(&Colors::Selected), storeTo(&Colors::SetSelected));
  AddColorButton(grid, "Days", colorOf(&Colors::Days), storeTo(&Colors::SetDays));
  AddFontButton(grid, "Header Font", fontOf(colors->HeaderFont()), fontTo(colors->HeaderFont()));
  AddColorButton(grid, "Now Rect", colorOf(&Colors::NowRect), storeTo(&Colors::SetNowRect));
  AddColorButton(grid, "Grayed", colorOf(&Colors::Grayed), storeTo(&Colors::SetGrayed));
  AddColorButton(grid, "Mon head", colorOf(&Colors::MonthHeader), storeTo(&Colors::SetMonthHeader));
  AddFontButton(grid, "Long days", fontOf(colors->WeekDaysFont()), fontTo(colors->WeekDaysFont()));
  AddFontButton(grid, "Week numb", fontOf(colors->WeekNumbersFont()), fontTo(colors->WeekNumbersFont()));
  AddColorButton(grid, "WeekSide", colorOf(&Colors::WeekSide), storeTo(&Colors::SetWeekSide));
  AddColorButton(grid, "WeekHeader", colorOf(&Colors::WeekHeader), storeTo(&Colors::SetWeekHeader));
  AddColorButton(grid, "WeekEnds", colorOf(&Colors::WeekEndText), storeTo(&Colors::SetWeekEndText));
  AddFontButton(grid, "Font", [c] { return c->font(); }, [c](const QFont& value) { c->setFont(value); });
  AddColorButton(grid, "Color", [c] { return c->Color(); }, [c](TColor value) { c->SetColor(value); });
  return page;
}

void TCalendForm::CalendarDateChanged() {
  DateLabel->setText(DateToStr(Calendar->SelStart()));
  ShiftLabel->setText(ShiftStateText(Calendar->PressShiftState()));
  CountLabel->setText(QStringLiteral("OnChange called %1 times").arg(changeCount_));
  ++changeCount_;
  QString condition;
  TKelCalendar* calendar = Calendar;
  DateRangeCondition(
      QStringLiteral("Date"), QString(), QString(), condition, nullptr,
      [calendar](void*, TDateTime day) { return calendar->IsDateSelected(day); }, nullptr,
      Calendar->SelFinish(), Calendar->SelStart());
  StatusMemo->setPlainText(condition);
}

void TCalendForm::CalendarCanSelectDate(TDateTime date, bool& canChange) {
  if (rangeRestricted_ && rangeCalendar_ && rangeCalendar_->Calendar()->IsDateSelected(date))
    canChange = false;
}

void TCalendForm::MaxSelEditExit() {
  try {
    Calendar->SetMaxSelDates(StrToInt(MaxSelEdit->text().trimmed()));
  } catch (const Exception& error) {
    // The calendar keeps its value; the edit shows it again so the two never disagree.
    MaxSelEdit->setText(QString::number(Calendar->MaxSelDates()));
    ShowDemoMessage(this, error.Message());
  }
}

void TCalendForm::LimitEditExit(QLineEdit* edit, bool maximum) {
  const QString text = edit->text().trimmed();
  if (text.isEmpty()) {
    maximum ? Calendar->SetMaxDateLimit(false) : Calendar->SetMinDateLimit(false);
    return;
  }
  TDateTime date = 0;
  if (!TryStrToDate(text, date)) return;  // not a date: the limit stays as it was
  if (maximum) {
    Calendar->SetMaxDate(date);
    Calendar->SetMaxDateLimit(true);
  } else {
    Calendar->SetMinDate(date);
    Calendar->SetMinDateLimit(true);
  }
}

void TCalendForm::PickLimitDatesClick() {
  const TDateTime today = Date();
  MinDateEdit->setText(DateToStr(today));
  MaxDateEdit->setText(DateToStr(today + kLimitDays));
  // The maximum first, so the minimum never lies beyond a maximum left from before.
  LimitEditExit(MaxDateEdit, true);
  LimitEditExit(MinDateEdit, false);
}

void TCalendForm::SpecifyRangeClick() {
  TKelCustomCalendar* range = rangeCalendar_->Calendar();
  // Without a selection of its own the popup opens where the main calendar stands, not at the
  // calendar's day zero.
  range->SetStartDate(range->SelCount() > 0 ? range->SelStart() : Calendar->StartDate());
  range->SetMultiSelect(true);
  rangeCalendar_->SetPopupKind(cpkDate);
  rangeCalendar_->SetTodayButton(true);
  rangeCalendar_->SetIntegralSize(true);
  const QRect below(0, 0, SpecifyRangeButton->width(), SpecifyRangeButton->height());
  rangeCalendar_->PopupAtRect(SpecifyRangeButton, TRect::FromQRect(below),
                              [this](TKelPopupForm*, bool) { Calendar->ClearSelection(); });
}

void TCalendForm::CanSelectRangeClick(bool checked) {
  rangeRestricted_ = false;
  Calendar->ClearSelection();
  rangeRestricted_ = !checked;
}

}  // namespace Kel
