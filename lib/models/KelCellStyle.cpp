#include "KelCellStyle_p.h"

#include "Font.h"

namespace Kel {

TKelCellStyle CellStyleOfRule(TColor background, const TFont* font, const QWidget* widget) {
  TKelCellStyle style;
  style.Background = ColorToQColor(background, widget);
  const TColor text = font ? font->Color() : clWindowText;
  if (text == clWindowText || text == clDefault)
    style.Text = style.Background.lightness() >= 128 ? QColor(Qt::black) : QColor(Qt::white);
  else
    style.Text = ColorToQColor(text, widget);
  if (font) {
    const QFont rule = font->ToQFont();
    style.Font.setBold(rule.bold());
    style.Font.setItalic(rule.italic());
    style.Font.setUnderline(rule.underline());
    style.Font.setStrikeOut(rule.strikeOut());
  }
  return style;
}

}  // namespace Kel
