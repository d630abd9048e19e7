#pragma once
// TRect and TPoint: rectangles and points as the classic toolkit keeps them. Right and Bottom are
// exclusive (a rectangle from 0 to 10 is 10 pixels wide), so widths are Right - Left. QRect's
// right() and bottom() are inclusive; convert only at the Qt boundary with ToQRect/FromQRect.

#include <QPoint>
#include <QRect>

namespace Kel {

struct TPoint {
  int X = 0;
  int Y = 0;

  constexpr bool operator==(const TPoint&) const = default;
  QPoint ToQPoint() const { return QPoint(X, Y); }
  static TPoint FromQPoint(const QPoint& p) { return TPoint{p.x(), p.y()}; }
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;   // exclusive
  int Bottom = 0;  // exclusive

  constexpr bool operator==(const TRect&) const = default;

  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  constexpr TPoint TopLeft() const { return TPoint{Left, Top}; }
  constexpr TPoint BottomRight() const { return TPoint{Right, Bottom}; }
  // Whether the point lies inside: Left <= X < Right and Top <= Y < Bottom.
  constexpr bool Contains(TPoint p) const {
    return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
  }
  constexpr TRect Offset(int dx, int dy) const {
    return TRect{Left + dx, Top + dy, Right + dx, Bottom + dy};
  }
  // Moved inwards by dx on the left and right and by dy on the top and bottom (outwards when
  // negative), like the classic InflateRect with negated amounts.
  constexpr TRect Inset(int dx, int dy) const {
    return TRect{Left + dx, Top + dy, Right - dx, Bottom - dy};
  }

  QRect ToQRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
  static TRect FromQRect(const QRect& r) {
    return TRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
  }
};

// The classic constructors.
constexpr TRect Rect(int left, int top, int right, int bottom) {
  return TRect{left, top, right, bottom};
}
constexpr TRect Bounds(int left, int top, int width, int height) {
  return TRect{left, top, left + width, top + height};
}
constexpr TPoint Point(int x, int y) { return TPoint{x, y}; }

}  // namespace Kel
