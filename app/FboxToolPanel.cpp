#include "FboxToolPanel.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

#include "Buttons.h"

namespace Kel {

namespace {

constexpr int kGlyphSize = 20;
constexpr int kButtonSize = 28;

using TGlyphPainter = std::function<void(QPainter& painter)>;

// A glyph painted on a transparent 20 x 20 square at two scales, so it stays sharp on a
// high-density screen.
QIcon DrawGlyph(const TGlyphPainter& paint) {
  QIcon icon;
  for (const int scale : {1, 2}) {
    QPixmap pixmap(kGlyphSize * scale, kGlyphSize * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    icon.addPixmap(pixmap);
  }
  return icon;
}

// A database: a stack of two discs with a table grid beside it.
void PaintDatabase(QPainter& p) {
  p.setPen(QPen(QColor(0, 64, 128), 1.2));
  p.setBrush(QColor(255, 214, 102));
  p.drawRect(QRectF(2.5, 5, 9, 11));
  p.drawEllipse(QRectF(2.5, 14, 9, 4));
  p.drawEllipse(QRectF(2.5, 3, 9, 4));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(12.5, 7.5, 6, 9));
  p.drawLine(QPointF(12.5, 10.5), QPointF(18.5, 10.5));
  p.drawLine(QPointF(12.5, 13.5), QPointF(18.5, 13.5));
  p.drawLine(QPointF(15.5, 7.5), QPointF(15.5, 16.5));
}

// A funnel, the sign of filtering.
QPainterPath Funnel() {
  QPainterPath path;
  path.moveTo(2.5, 3.5);
  path.lineTo(17.5, 3.5);
  path.lineTo(11.5, 10.5);
  path.lineTo(11.5, 17);
  path.lineTo(8.5, 15.5);
  path.lineTo(8.5, 10.5);
  path.closeSubpath();
  return path;
}

void PaintRun(QPainter& p) {
  p.setPen(QPen(QColor(0, 64, 128), 1.2));
  p.setBrush(QColor(160, 200, 255));
  p.drawPath(Funnel());
  // A green arrow: apply.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 150, 0));
  QPainterPath arrow;
  arrow.moveTo(12, 11);
  arrow.lineTo(19, 15);
  arrow.lineTo(12, 19);
  arrow.closeSubpath();
  p.drawPath(arrow);
}

void PaintFilterState(QPainter& p) {
  p.setPen(QPen(QColor(0, 64, 128), 1.2));
  p.setBrush(QColor(255, 214, 102));
  p.drawPath(Funnel());
}

// A magnifying glass with an arrow pointing the way of the search: -2 first, -1 prior, 1 next,
// 2 last (an arrow against a bar).
// Rim, handle and arrow are mid tones, so the glyph reads on a light and on a dark tool panel.
void PaintFind(QPainter& p, int direction) {
  p.setPen(QPen(QColor(110, 120, 140), 1.8));
  p.setBrush(QColor(220, 240, 255));
  p.drawEllipse(QRectF(2, 2, 9, 9));
  p.setPen(QPen(QColor(110, 120, 140), 2.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(10, 10), QPointF(13, 13));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 110, 220));
  const bool forward = direction > 0;
  QPainterPath arrow;
  const double tip = forward ? 18 : 9;
  const double back = forward ? 12 : 15;
  arrow.moveTo(back, 12);
  arrow.lineTo(tip, 15.5);
  arrow.lineTo(back, 19);
  arrow.closeSubpath();
  p.drawPath(arrow);
  if (direction == 2 || direction == -2) {
    const double bar = forward ? 18.5 : 7.5;
    p.drawRect(QRectF(bar - 1, 12, 2, 7));
  }
}

// Three colour swatches, with a plus (add) or a cross (clear).
void PaintColors(QPainter& p, bool add) {
  p.setPen(QPen(Qt::black, 0.8));
  p.setBrush(QColor(230, 60, 60));
  p.drawRect(QRectF(2.5, 2.5, 6, 6));
  p.setBrush(QColor(60, 170, 60));
  p.drawRect(QRectF(9.5, 2.5, 6, 6));
  p.setBrush(QColor(60, 90, 220));
  p.drawRect(QRectF(2.5, 9.5, 6, 6));
  p.setPen(QPen(add ? QColor(0, 130, 0) : QColor(200, 0, 0), 2.2, Qt::SolidLine, Qt::RoundCap));
  if (add) {
    p.drawLine(QPointF(14.5, 10), QPointF(14.5, 18));
    p.drawLine(QPointF(10.5, 14), QPointF(18.5, 14));
  } else {
    p.drawLine(QPointF(11, 11), QPointF(18, 18));
    p.drawLine(QPointF(18, 11), QPointF(11, 18));
  }
}

TSpeedButton* MakeToolButton(QWidget* parent, QHBoxLayout* layout, const char* name,
                         const char* hint, const TGlyphPainter& glyph) {
  auto* button = new TSpeedButton(parent);
  button->setObjectName(QLatin1String(name));
  button->setToolTip(QLatin1String(hint));
  // A glyph says nothing to a screen reader: the hint is the button's name. Speed buttons take
  // no focus of their own; these take it with Tab, so the keyboard reaches every tool.
  QString spoken = QLatin1String(hint);
  if (spoken.endsWith(u'.')) spoken.chop(1);
  button->setAccessibleName(spoken);
  button->setFocusPolicy(Qt::TabFocus);
  button->SetGlyph(DrawGlyph(glyph));
  button->setIconSize(QSize(kGlyphSize, kGlyphSize));
  button->setFixedSize(kButtonSize, kButtonSize);
  button->SetFlat(true);
  layout->addWidget(button);
  return button;
}

}  // namespace

TFboxToolPanel::TFboxToolPanel(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("ToolPanel"));
  setFrameShape(QFrame::StyledPanel);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(1);
  ChangeDBBtn = MakeToolButton(this, layout, "ChangeDBBtn", "Change using database and table.",
                           PaintDatabase);
  layout->addSpacing(8);
  RunFilterBtn = MakeToolButton(this, layout, "RunFilterBtn",
                            "Apply all filter condition changes to the dataset.", PaintRun);
  layout->addSpacing(8);
  FindFirstBtn = MakeToolButton(this, layout, "FindFirstBtn", "Find first matching record.",
                            [](QPainter& p) { PaintFind(p, -2); });
  FindPriorBtn = MakeToolButton(this, layout, "FindPriorBtn", "Find previous matching record.",
                            [](QPainter& p) { PaintFind(p, -1); });
  FindNextBtn = MakeToolButton(this, layout, "FindNextBtn", "Find next matching record.",
                           [](QPainter& p) { PaintFind(p, 1); });
  FindLastBtn = MakeToolButton(this, layout, "FindLastBtn", "Find last matching record.",
                           [](QPainter& p) { PaintFind(p, 2); });
  layout->addSpacing(8);
  AddColorBtn = MakeToolButton(this, layout, "AddColorBtn",
                           "Color indicated cell(s) in accordance with entered condition.",
                           [](QPainter& p) { PaintColors(p, true); });
  ClearColorsBtn = MakeToolButton(this, layout, "ClearColorsBtn", "Remove all coloring.",
                              [](QPainter& p) { PaintColors(p, false); });
  layout->addSpacing(8);
  FilterStateBtn = MakeToolButton(this, layout, "FilterStateBtn", "Run/Stop filtering of the table.",
                              PaintFilterState);
  FilterStateBtn->SetGroupIndex(1);
  FilterStateBtn->SetAllowAllUp(true);
  layout->addStretch(1);
}

}  // namespace Kel
