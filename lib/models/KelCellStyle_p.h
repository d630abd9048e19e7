#pragma once
// Inside unit KelModels: how a cell looks when a colour rule holds for it, shared by the dataset
// model's roles and the colour delegate.

#include <QColor>
#include <QFont>

#include "Color.h"

class QWidget;

namespace Kel {

class TFont;

struct TKelCellStyle {
  QColor Background;
  QColor Text;
  // Only the style attributes are set: the view's own font gives family and size.
  QFont Font;
};

// The rule's background colour and font. Text in the system's window-text colour (a rule's
// default) becomes black or white, whichever reads on the background: a light rule colour under
// a dark palette's white text would be unreadable.
TKelCellStyle CellStyleOfRule(TColor background, const TFont* font, const QWidget* widget);

}  // namespace Kel
