#include "KelWidgetIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace Kel::Designer {

namespace {

// Drawn on a 32 x 32 grid; the pixmaps carry more pixels so that large and high-density boxes
// stay sharp.
constexpr int kGrid = 32;
const QColor kOutline(60, 70, 80);
const QColor kAccent(47, 111, 208);
const QColor kWarm(232, 163, 61);
const QColor kPaper(255, 255, 255);
const QColor kShade(214, 220, 228);

QIcon Painted(const std::function<void(QPainter&)>& draw) {
  QIcon icon;
  for (const int side : {32, 64}) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(qreal(side) / kGrid, qreal(side) / kGrid);
    draw(painter);
    icon.addPixmap(pixmap);
  }
  return icon;
}

void Box(QPainter& p, const QRectF& r, const QColor& fill, const QColor& line = kOutline) {
  p.setPen(QPen(line, 1.2));
  p.setBrush(fill);
  p.drawRoundedRect(r, 1.5, 1.5);
}

void Line(QPainter& p, qreal x1, qreal y, qreal x2, const QColor& color, qreal width = 1.6) {
  p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(x1, y), QPointF(x2, y));
}

// A text line with an underlined (clickable) part, as the list boxes draw their conditions.
void ParamLine(QPainter& p, qreal y, qreal linkFrom, qreal linkTo, qreal end) {
  Line(p, 6, y, linkFrom - 1.5, kOutline);
  Line(p, linkFrom, y, linkTo, kAccent);
  Line(p, linkFrom, y + 2, linkTo, kAccent, 0.8);
  if (end > linkTo + 2) Line(p, linkTo + 2, y, end, kOutline);
}

// A one-line field with a drop-down button at its right end.
void DropDownField(QPainter& p) {
  Box(p, QRectF(1.5, 9.5, 29, 13), kPaper);
  p.setPen(Qt::NoPen);
  p.setBrush(kShade);
  p.drawRect(QRectF(22, 10.2, 8, 11.6));
  p.setBrush(kOutline);
  p.drawPolygon(QPolygonF({QPointF(23.5, 14.5), QPointF(28.5, 14.5), QPointF(26, 18)}));
}

}  // namespace

QIcon FilterBoxIcon() {
  return Painted([](QPainter& p) {
    Box(p, QRectF(1.5, 6.5, 29, 24), kPaper);
    ParamLine(p, 13, 11, 19, 26);
    ParamLine(p, 19, 8, 15, 22);
    ParamLine(p, 25, 13, 22, 26);
    // The funnel.
    QPainterPath funnel;
    funnel.moveTo(19, 1);
    funnel.lineTo(31, 1);
    funnel.lineTo(26.5, 6);
    funnel.lineTo(26.5, 10);
    funnel.lineTo(23.5, 11);
    funnel.lineTo(23.5, 6);
    funnel.closeSubpath();
    p.setPen(QPen(kOutline, 1));
    p.setBrush(kWarm);
    p.drawPath(funnel);
  });
}

QIcon ListBoxIcon() {
  return Painted([](QPainter& p) {
    Box(p, QRectF(1.5, 3.5, 29, 25), kPaper);
    p.setPen(QPen(kOutline, 1));
    p.setBrush(kPaper);
    for (int row = 0; row < 3; ++row) p.drawRect(QRectF(4.5, 7.5 + row * 7, 4, 4));
    ParamLine(p, 9.5, 14, 21, 27);
    ParamLine(p, 16.5, 16, 24, 27);
    ParamLine(p, 23.5, 12, 18, 24);
  });
}

QIcon CalendarIcon() {
  return Painted([](QPainter& p) {
    Box(p, QRectF(1.5, 3.5, 29, 26), kPaper);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawRect(QRectF(2.2, 4.2, 27.6, 6));
    p.setBrush(kOutline);
    for (int row = 0; row < 4; ++row)
      for (int col = 0; col < 6; ++col)
        p.drawEllipse(QPointF(6 + col * 4.2, 14 + row * 4.2), 1.1, 1.1);
    p.setBrush(kWarm);
    p.drawEllipse(QPointF(6 + 3 * 4.2, 14 + 2 * 4.2), 1.9, 1.9);
  });
}

QIcon CalendarEditIcon() {
  return Painted([](QPainter& p) {
    DropDownField(p);
    Line(p, 4.5, 16, 9, kOutline);
    Line(p, 11, 16, 13, kOutline);
    Line(p, 15, 16, 19, kOutline);
    // A small calendar page above the button.
    Box(p, QRectF(19.5, 1.5, 11, 9), kPaper);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawRect(QRectF(20.2, 2.2, 9.6, 2.5));
  });
}

QIcon CalculatorIcon() {
  return Painted([](QPainter& p) {
    Box(p, QRectF(3.5, 1.5, 25, 29), kShade);
    for (int row = 0; row < 4; ++row)
      for (int col = 0; col < 4; ++col)
        Box(p, QRectF(6 + col * 5.5, 8 + row * 5.5, 4, 4), col == 3 ? kWarm : kPaper);
    Box(p, QRectF(6, 3.5, 20.5, 3), kPaper);
  });
}

QIcon CalcDisplayIcon() {
  return Painted([](QPainter& p) {
    Box(p, QRectF(1.5, 9.5, 29, 13), kPaper);
    QFont font = p.font();
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kOutline);
    p.drawText(QRectF(3, 9.5, 25, 13), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("123"));
  });
}

QIcon CalcEditIcon() {
  return Painted([](QPainter& p) {
    DropDownField(p);
    Line(p, 8, 16, 19, kOutline);
    // A small keypad above the button.
    Box(p, QRectF(19.5, 0.5, 11, 9), kShade);
    for (int col = 0; col < 3; ++col) {
      Box(p, QRectF(21 + col * 3.2, 2.3, 2, 2), kPaper, kOutline);
      Box(p, QRectF(21 + col * 3.2, 5.6, 2, 2), col == 2 ? kWarm : kPaper, kOutline);
    }
  });
}

QIcon ButtonPanelIcon() {
  return Painted([](QPainter& p) {
    Box(p, QRectF(1.5, 4.5, 29, 23), kShade);
    Box(p, QRectF(5.5, 19.5, 10, 5), kPaper);
    Box(p, QRectF(17.5, 19.5, 10, 5), kPaper);
    Line(p, 8, 22, 13, kAccent, 1.2);
    Line(p, 20, 22, 25, kOutline, 1.2);
  });
}

QIcon LookupListIcon() {
  return Painted([](QPainter& p) {
    Box(p, QRectF(1.5, 2.5, 29, 27), kPaper);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawRect(QRectF(2.2, 12, 21.5, 6));
    p.setBrush(kShade);
    p.drawRect(QRectF(24, 3.2, 5.8, 25.6));
    p.setBrush(kOutline);
    p.drawRect(QRectF(25, 9, 3.8, 7));
    Line(p, 5, 7.5, 19, kOutline);
    Line(p, 5, 15, 17, kPaper);
    Line(p, 5, 22.5, 20, kOutline);
  });
}

}  // namespace Kel::Designer
