#include "KelWidgetCatalog.h"

#include "KelBtPan.h"
#include "KelCalc.h"
#include "KelCalendar.h"
#include "KelCalendarEdit.h"
#include "KelDBListBox.h"
#include "KelFltBox.h"
#include "KelListBox.h"
#include "KelWidgetIcons.h"

namespace Kel::Designer {

namespace {

template <typename T>
std::function<QWidget*(QWidget*)> Maker() {
  return [](QWidget* parent) -> QWidget* { return new T(parent); };
}

}  // namespace

const QList<TKelWidgetEntry>& WidgetCatalog() {
  static const QList<TKelWidgetEntry> catalog = {
      {QStringLiteral("Kel::TKelFltBox"), QStringLiteral("KelFltBox.h"), QStringLiteral("fltBox"),
       QStringLiteral("Filter box: conditions that read like sentences"),
       QStringLiteral("A list of filter conditions whose fields, operations and values are "
                      "clickable; it writes them into the Filter or SQL of the dataset it is "
                      "bound to. Its conditions and memory slots are edited from its context "
                      "menu."),
       QSize(320, 120), Maker<TKelFltBox>(), FilterBoxIcon},
      {QStringLiteral("Kel::TKelPrmListBox"), QStringLiteral("KelListBox.h"),
       QStringLiteral("prmListBox"), QStringLiteral("Parameter list box"),
       QStringLiteral("A list of lines with clickable parameters that are edited in popups "
                      "chosen by their kind: a list, a calendar, a calculator or a text."),
       QSize(240, 97), Maker<TKelPrmListBox>(), ListBoxIcon},
      {QStringLiteral("Kel::TKelCalendar"), QStringLiteral("KelCalendar.h"),
       QStringLiteral("calendar"), QStringLiteral("Calendar: one or more months"),
       QStringLiteral("A calendar of as many months as fit, with free, progressive or week "
                      "selection, week numbers and work days."),
       QSize(360, 170), Maker<TKelCalendar>(), CalendarIcon},
      {QStringLiteral("Kel::TKelCalendarEdit"), QStringLiteral("KelCalendarEdit.h"),
       QStringLiteral("calendarEdit"), QStringLiteral("Date field with a popup calendar"),
       QStringLiteral("A date, time or date-and-time field whose button opens the popup "
                      "calendar."),
       QSize(140, 24), Maker<TKelCalendarEdit>(), CalendarEditIcon},
      {QStringLiteral("Kel::TKelCalculator"), QStringLiteral("KelCalc.h"),
       QStringLiteral("calculator"), QStringLiteral("Calculator"),
       QStringLiteral("A pocket calculator; its result goes to the control named by its "
                      "Associate, normally a calculator display."),
       QSize(), Maker<TKelCalculator>(), CalculatorIcon},
      {QStringLiteral("Kel::TKelCalcDisplay"), QStringLiteral("KelCalc.h"),
       QStringLiteral("calcDisplay"), QStringLiteral("Calculator display"),
       QStringLiteral("The one-line display of a calculator."), QSize(180, 24),
       Maker<TKelCalcDisplay>(), CalcDisplayIcon},
      {QStringLiteral("Kel::TKelCalcEdit"), QStringLiteral("KelCalc.h"), QStringLiteral("calcEdit"),
       QStringLiteral("Number field with a popup calculator"),
       QStringLiteral("A number field whose button opens the popup calculator."), QSize(120, 24),
       Maker<TKelCalcEdit>(), CalcEditIcon},
      {QStringLiteral("Kel::TKelBtnPanel"), QStringLiteral("KelBtPan.h"),
       QStringLiteral("btnPanel"), QStringLiteral("Button panel: standard dialog buttons"),
       QStringLiteral("A panel that makes and lines up standard dialog buttons (OK, Cancel, "
                      "Help, ...) or buttons of your own captions. Its button sets are "
                      "edited from its context menu."),
       QSize(280, 40), Maker<TKelBtnPanel>(), ButtonPanelIcon},
      {QStringLiteral("Kel::TKelLookupListBox"), QStringLiteral("KelDBListBox.h"),
       QStringLiteral("lookupListBox"), QStringLiteral("Lookup list box"),
       QStringLiteral("A list of the records of a dataset to pick a key value from, with a "
                      "scroll bar that tells where the list stands in the whole dataset."),
       QSize(160, 120), Maker<TKelLookupListBox>(), LookupListIcon},
  };
  return catalog;
}

}  // namespace Kel::Designer
