#include "Font.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace Kel {

namespace {

int PointsToHeight(double points) {
  return -static_cast<int>(std::lround(points * TFont::PixelsPerInch() / 72.0));
}

}  // namespace

TFont::TFont(QObject* parent) : TPersistent(parent) {
  const QFont font = QGuiApplication::font();
  name_ = font.family();
  height_ = font.pixelSize() > 0 ? -font.pixelSize() : PointsToHeight(font.pointSizeF());
}

TFont::~TFont() = default;

int TFont::PixelsPerInch() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int dpi = screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchY())) : 96;
  return dpi > 0 ? dpi : 96;
}

void TFont::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Changed();
}

void TFont::SetHeight(int value) {
  if (value == height_) return;
  height_ = value;
  Changed();
}

void TFont::SetName(const QString& value) {
  if (value == name_ || value.isEmpty()) return;
  name_ = value;
  Changed();
}

int TFont::Size() const {
  return -static_cast<int>(std::lround(height_ * 72.0 / PixelsPerInch()));
}

void TFont::SetSize(int points) { SetHeight(PointsToHeight(points)); }

void TFont::SetStyle(TFontStyles value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}

void TFont::Assign(TPersistent* source) {
  auto* other = qobject_cast<TFont*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (SameAs(*other)) return;
  name_ = other->name_;
  height_ = other->height_;
  style_ = other->style_;
  color_ = other->color_;
  Changed();
}

void TFont::Assign(const QFont& font) {
  TFontStyles style;
  if (font.bold()) style.Include(fsBold);
  if (font.italic()) style.Include(fsItalic);
  if (font.underline()) style.Include(fsUnderline);
  if (font.strikeOut()) style.Include(fsStrikeOut);
  const int height = font.pixelSize() > 0 ? -font.pixelSize() : PointsToHeight(font.pointSizeF());
  const QString name = font.family().isEmpty() ? name_ : font.family();
  if (name == name_ && height == height_ && style == style_) return;
  name_ = name;
  height_ = height;
  style_ = style;
  Changed();
}

QFont TFont::ToQFont() const {
  QFont font(name_);
  if (height_ < 0) {
    font.setPixelSize(-height_);
  } else if (height_ > 0) {
    // A positive height is the whole cell: take the internal leading off, in the proportion
    // this family has at that size.
    font.setPixelSize(height_);
    const int cell = QFontMetrics(font).height();
    if (cell > height_) font.setPixelSize(std::max(1, height_ * height_ / cell));
  }
  font.setBold(style_.Contains(fsBold));
  font.setItalic(style_.Contains(fsItalic));
  font.setUnderline(style_.Contains(fsUnderline));
  font.setStrikeOut(style_.Contains(fsStrikeOut));
  return font;
}

bool TFont::SameAs(const TFont& other) const {
  return name_ == other.name_ && height_ == other.height_ && style_ == other.style_ &&
         color_ == other.color_;
}

void TFont::Changed() {
  ++revision_;
  if (OnChange) OnChange(this);
}

}  // namespace Kel
