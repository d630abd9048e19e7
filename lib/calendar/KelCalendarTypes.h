#pragma once
// The enumerations and event types that the calendar, its colours and its popups share.

#include <QObject>
#include <functional>

#include "Color.h"
#include "DateUtils.h"
#include "GuiTypes.h"
#include "KelExport.h"
#include "Rect.h"
#include "Set.h"

namespace Kel {
// A namespace of their own so that the meta system knows the names (see KelUtils.h); published
// properties spell the full scope.
namespace KelCalendarTypes {
Q_NAMESPACE_EXPORT(KEL_EXPORT)

// What a point of the calendar lies on.
enum TKelCalendarHitTest {
  htNowhere,
  htPrevButton,
  htNextButton,
  htMonthHeader,
  htDayNames,
  htWeekLeft,
  htWeekRight,
  htDay,          // a day of the cell's own month
  htLeadingDay,   // a day before the month, in the first cell (drawn grayed)
  htTrailingDay,  // a day after the month, in the last cell (drawn grayed)
  htHiddenDay,    // a blank cell: a day of a neighbouring month inside the grid
};
Q_ENUM_NS(TKelCalendarHitTest)

enum TKelCalendarDateType { dtGrayed, dtNormal, dtSelected, dtHidden, dtWeekSide, dtWeekSideSelected };
Q_ENUM_NS(TKelCalendarDateType)

// Free: any dates; progressive: a drag grows into whole weeks once it spans one; week: whole weeks.
enum TKelCalSelectKind { skFree, skProgressive, skWeekSel };
Q_ENUM_NS(TKelCalSelectKind)

// How the day names are written: one or two letters of the short name, three of the long
// name, the short name, the long name.
enum TKelWeekDaysLength { wdlOne, wdlTwo, wdlThree, wdlShort, wdlWhole };
Q_ENUM_NS(TKelWeekDaysLength)

enum TBevelEdge { beLeft, beTop, beRight, beBottom };
Q_ENUM_NS(TBevelEdge)

}  // namespace KelCalendarTypes

using namespace KelCalendarTypes;

}  // namespace Kel

KEL_DECLARE_SET(Kel::KelCalendarTypes::TBevelEdge, Kel_KelCalendarTypes_TBevelEdge)

namespace Kel {

using TBevelEdges = TSet<TBevelEdge>;
inline constexpr TBevelEdges AllBevelEdges{beLeft, beTop, beRight, beBottom};

// The cursor index under which the calendar's week-strip arrow is registered.
inline constexpr int crKelLeftArrow = 13500;

class TKelCustomCalendar;

using TKelCalendCanSelectDateEvent =
    std::function<void(TKelCustomCalendar* calendar, TDateTime date, bool& canChange)>;
using TKelCalendGetPaintParamsEvent =
    std::function<void(TKelCustomCalendar* calendar, TDateTime date, TColor& color, TColor& bkColor,
                       TFontStyles& fontStyle, TKelCalendarDateType dateType)>;
using TKelCalendMeasureItemEvent = std::function<void(
    TKelCustomCalendar* calendar, TKelCalendarHitTest area, int& width, int& height)>;
using TKelCalendDrawItemEvent =
    std::function<void(TKelCustomCalendar* calendar, TDateTime date, TKelCalendarHitTest area,
                       TKelCalendarDateType dateType, const TRect& rect, bool& defaultDrawing)>;
using TKelCalendNotifyEvent = std::function<void(QObject* sender)>;

}  // namespace Kel
