// KelUtils: window helpers over Qt.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QFontMetrics>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>

#include "KelUtils.h"

namespace Kel {

namespace {

QScrollBar* BarOf(QAbstractScrollArea* window, Qt::Orientation bar) {
  if (!window) return nullptr;
  return bar == Qt::Horizontal ? window->horizontalScrollBar() : window->verticalScrollBar();
}

QFont FontOf(const QWidget* widget) { return widget ? widget->font() : QApplication::font(); }

// The horizontal dialog base unit: the average width of the Latin letters, rounded.
int HorizontalBaseUnit(const QWidget* widget) {
  const QFontMetrics metrics(FontOf(widget));
  const int width = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return (width / 26 + 1) / 2;
}

int VerticalBaseUnit(const QWidget* widget) { return QFontMetrics(FontOf(widget)).height(); }

// n x numerator / denominator rounded half away from zero, without overflow.
int MulDiv(int n, int numerator, int denominator) {
  const double exact = static_cast<double>(n) * numerator / denominator;
  return static_cast<int>(exact >= 0 ? exact + 0.5 : exact - 0.5);
}

}  // namespace

void SetScrollPosIfChanged(QScrollBar* bar, int pos) {
  if (bar && bar->value() != pos) bar->setValue(pos);
}

void SetScrollPosIfChanged(QAbstractScrollArea* window, Qt::Orientation bar, int pos) {
  SetScrollPosIfChanged(BarOf(window, bar), pos);
}

void SetScrollRangePage(QScrollBar* bar, int min, int max, int page) {
  if (!bar) return;
  page = std::max(page, 0);
  // Qt's maximum is the largest position: the extent less the visible page.
  const long long largest = page > 0 ? static_cast<long long>(max) - page + 1 : max;
  bar->setRange(min, static_cast<int>(std::max<long long>(largest, min)));
  bar->setPageStep(page);
}

void SetScrollRangePage(QAbstractScrollArea* window, Qt::Orientation bar, int min, int max,
                        int page) {
  SetScrollRangePage(BarOf(window, bar), min, max, page);
}

int ScrollPosOf(QScrollBar* bar) { return bar ? bar->value() : 0; }

int ScrollPosOf(QAbstractScrollArea* window, Qt::Orientation bar) {
  return ScrollPosOf(BarOf(window, bar));
}

int DialogUnitsToPixelsX(int n, const QWidget* widget) {
  return MulDiv(n, HorizontalBaseUnit(widget), 4);
}

int DialogUnitsToPixelsY(int n, const QWidget* widget) {
  return MulDiv(n, VerticalBaseUnit(widget), 8);
}

TRect CenterRect(const TRect& inner, const TRect& outer) {
  const int width = inner.Width();
  const int height = inner.Height();
  const int left = outer.Left + (outer.Width() - width) / 2;
  const int top = outer.Top + (outer.Height() - height) / 2;
  return Bounds(left, top, width, height);
}

int RectWidth(const TRect& r) { return r.Width(); }

int RectHeight(const TRect& r) { return r.Height(); }

}  // namespace Kel
