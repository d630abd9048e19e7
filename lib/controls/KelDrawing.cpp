#include "KelDrawing.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <cstdlib>

namespace Kel {

QString ColorTag(TColor color) {
  QString ident;
  const QString name = ColorToIdent(color, ident) ? ident.mid(2) : ColorToString(color);
  return QStringLiteral("<c:") + name + QLatin1Char('>');
}

bool ColorOfTagName(const QString& name, TColor& color) {
  if (!name.isEmpty() && !name.startsWith(QLatin1Char('$')))
    return IdentToColor(QStringLiteral("cl") + name, color);
  return TryStringToColor(name, color);
}

// --- markup text

namespace {

constexpr int kMarkupMargin = 2;

enum class TTagKind { None, Style, Color };

struct TTag {
  TTagKind Kind = TTagKind::None;
  TFontStyle Style = fsBold;
  bool On = false;
  int Length = 0;  // characters of the tag, "<" and ">" included
  QString ColorName;
};

// The tag that starts at text[pos] (a "<"), or Kind None when the "<" is an ordinary character.
TTag TagAt(const QString& text, qsizetype pos) {
  TTag tag;
  const QStringView rest = QStringView(text).mid(pos + 1);
  if (rest.startsWith(u"c:", Qt::CaseInsensitive)) {
    const qsizetype close = rest.indexOf(QLatin1Char('>'), 2);
    const qsizetype end = close < 0 ? rest.size() : close;
    tag.Kind = TTagKind::Color;
    tag.ColorName = rest.mid(2, end - 2).toString();
    tag.Length = static_cast<int>(1 + (close < 0 ? rest.size() : close + 1));
    return tag;
  }
  const bool closing = rest.startsWith(QLatin1Char('/'));
  const QStringView name = rest.mid(closing ? 1 : 0);
  if (name.size() < 2 || name[1] != QLatin1Char('>')) return tag;
  switch (name[0].toLower().unicode()) {
    case 'b': tag.Style = fsBold; break;
    case 'i': tag.Style = fsItalic; break;
    case 'u': tag.Style = fsUnderline; break;
    default: return tag;
  }
  tag.Kind = TTagKind::Style;
  tag.On = !closing;
  tag.Length = closing ? 4 : 3;
  return tag;
}

void ApplyTag(TFont& font, const TTag& tag) {
  if (tag.Kind == TTagKind::Style) {
    TFontStyles style = font.Style();
    if (tag.On)
      style.Include(tag.Style);
    else
      style.Exclude(tag.Style);
    font.SetStyle(style);
  } else if (tag.Kind == TTagKind::Color) {
    TColor color = font.Color();
    if (ColorOfTagName(tag.ColorName, color)) font.SetColor(color);
  }
}

}  // namespace

void DrawMarkupText(TCanvas& canvas, const TRect& rect, const QString& text, bool measureOnly,
                    int& width, QString& plainText) {
  TFont& font = canvas.Font();
  const TFontStyles savedStyle = font.Style();
  const TColor savedColor = font.Color();
  plainText.clear();
  int x = rect.Left;
  if (!measureOnly) canvas.FillRect(TRect{rect.Left, rect.Top, rect.Left + kMarkupMargin, rect.Bottom});
  x += kMarkupMargin;

  QString run;
  const auto flush = [&] {
    if (run.isEmpty()) return;
    const int runWidth = canvas.TextWidth(run);
    if (!measureOnly) {
      const TRect runRect{std::max(x, rect.Left), rect.Top, std::min(x + runWidth, rect.Right),
                          rect.Bottom};
      if (!runRect.IsEmpty()) canvas.TextRect(runRect, x, rect.Top, run);
    }
    x += runWidth;
    plainText += run;
    run.clear();
  };

  for (qsizetype pos = 0; pos < text.size();) {
    const TTag tag = text[pos] == QLatin1Char('<') ? TagAt(text, pos) : TTag{};
    if (tag.Kind == TTagKind::None) {
      run += text[pos++];
      continue;
    }
    flush();
    ApplyTag(font, tag);
    pos += tag.Length;
  }
  flush();

  font.SetStyle(savedStyle);
  font.SetColor(savedColor);
  width = x - rect.Left;
}

int ColorLuminance(const QColor& c) {
  return (c.red() * 299 + c.green() * 587 + c.blue() * 114) / 1000;
}

QColor MixColors(const QColor& a, const QColor& b, int percentB) {
  return QColor((a.red() * (100 - percentB) + b.red() * percentB) / 100,
                (a.green() * (100 - percentB) + b.green() * percentB) / 100,
                (a.blue() * (100 - percentB) + b.blue() * percentB) / 100);
}

QString MarkupPlainText(const QString& text) {
  QString plain;
  plain.reserve(text.size());
  for (qsizetype pos = 0; pos < text.size();) {
    const TTag tag = text[pos] == QLatin1Char('<') ? TagAt(text, pos) : TTag{};
    if (tag.Kind == TTagKind::None)
      plain += text[pos++];
    else
      pos += tag.Length;
  }
  return plain;
}

int MarkupTextWidth(TCanvas& canvas, const QString& text) {
  int width = 0;
  QString plain;
  DrawMarkupText(canvas, TRect{}, text, true, width, plain);
  return width;
}

// --- measuring

int CharIndexAtX(const QString& text, const QFont& font, int x) {
  if (x < 0) return 0;
  const QFontMetrics metrics(font);
  int before = 0;
  for (qsizetype i = 1; i <= text.size(); ++i) {
    // Each prefix measured on its own, as it is drawn when the text is cut there.
    const int through = metrics.horizontalAdvance(text.left(i));
    if (before <= x && x <= through) return static_cast<int>(i);
    before = through;
  }
  return 0;
}

int CharIndexAtX(const QString& text, const TFont& font, int x) {
  return CharIndexAtX(text, font.ToQFont(), x);
}

int TextWidthOf(const QString& text, const QFont& font) {
  return QFontMetrics(font).horizontalAdvance(text);
}

int TextWidthOf(const QString& text, const TFont& font) { return TextWidthOf(text, font.ToQFont()); }

int TextHeightOf(const QFont& font) { return QFontMetrics(font).height(); }

int TextHeightOf(const TFont& font) { return TextHeightOf(font.ToQFont()); }

// --- check boxes

int CheckGlyphWidth() { return QApplication::style()->pixelMetric(QStyle::PM_IndicatorWidth); }

int CheckGlyphHeight() { return QApplication::style()->pixelMetric(QStyle::PM_IndicatorHeight); }

TCheckBoxState BoolToCheckState(bool checked) { return checked ? cbChecked : cbUnchecked; }

QColor ShadowLineColor(const TCanvas& canvas, TColor background) {
  const QColor shadow = canvas.ToQColor(clBtnShadow);
  const QColor back = canvas.ToQColor(background);
  if (std::abs(shadow.lightness() - back.lightness()) >= 48) return shadow;
  const QColor text = canvas.ToQColor(clWindowText);
  const auto mix = [](int a, int b) { return (a * 45 + b * 55) / 100; };
  return QColor(mix(text.red(), back.red()), mix(text.green(), back.green()),
                mix(text.blue(), back.blue()));
}

void DrawCheckBox(TCanvas& canvas, const TRect& rect, TCheckBoxState state, bool flat) {
  const int width = CheckGlyphWidth();
  const int height = CheckGlyphHeight();
  const TRect box = Bounds(rect.Left + (rect.Width() - width) / 2,
                           rect.Top + (rect.Height() - height) / 2, width, height);
  if (flat) {
    const TBrush savedBrush = canvas.Brush();
    const TPen savedPen = canvas.Pen();
    // The ring the flat frame leaves free gets the background like the rest of rect.
    canvas.FrameRect(box);
    {
      TCanvasClipScope clip(canvas);
      canvas.IntersectClipRect(box.Inset(2, 2));
      canvas.DrawCheckBoxGlyph(box, state);
    }
    canvas.Brush().Style = bsClear;
    canvas.Pen() = TPen{QColorToColor(ShadowLineColor(canvas, savedBrush.Color)), 1, psSolid};
    canvas.Rectangle(box.Inset(1, 1));
    canvas.Brush() = savedBrush;
    canvas.Pen() = savedPen;
  } else {
    canvas.DrawCheckBoxGlyph(box, state);
  }
  FillAround(canvas, rect, box.Inset(1, 1));
}

void FillAround(TCanvas& canvas, const TRect& outer, const TRect& inner) {
  const TRect hole = inner.Inset(-1, -1);
  const int holeTop = std::clamp(hole.Top, outer.Top, outer.Bottom);
  const int holeBottom = std::clamp(hole.Bottom, outer.Top, outer.Bottom);
  canvas.FillRect(TRect{outer.Left, outer.Top, outer.Right, holeTop});
  canvas.FillRect(TRect{outer.Left, holeBottom, outer.Right, outer.Bottom});
  canvas.FillRect(TRect{outer.Left, holeTop, std::min(hole.Left, outer.Right), holeBottom});
  canvas.FillRect(TRect{std::max(hole.Right, outer.Left), holeTop, outer.Right, holeBottom});
}

// --- borders and heights

int EditHeightForFont(const QFont& font, bool border) {
  // What QLineEdit asks of its style for this font: the text line, one pixel above and below,
  // and the style's frame.
  const QFontMetrics metrics(font);
  QStyle* style = QApplication::style();
  QStyleOptionFrame option;
  option.lineWidth = border ? style->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
  option.midLineWidth = 0;
  option.state = QStyle::State_Sunken | QStyle::State_Enabled;
  option.fontMetrics = metrics;
  const QSize contents(metrics.averageCharWidth() * 17, std::max(metrics.height(), 14) + 2);
  return style->sizeFromContents(QStyle::CT_LineEdit, &option, contents, nullptr).height();
}

int EditHeightForFont(const TFont& font, bool border) {
  return EditHeightForFont(font.ToQFont(), border);
}

void ApplyBorderStyle(QFrame* frame, TBorderStyle borderStyle, bool ctl3D) {
  if (!frame) return;
  if (borderStyle != bsSingle) {
    frame->setFrameStyle(QFrame::NoFrame);
  } else if (ctl3D) {
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  } else {
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(1);
  }
}

int BorderWidth(TBorderStyle borderStyle, bool ctl3D) {
  if (borderStyle != bsSingle) return 0;
  return ctl3D ? 2 : 1;
}

TRect DrawBorder(TCanvas& canvas, const TRect& rect, TBorderStyle borderStyle, bool ctl3D) {
  const int width = BorderWidth(borderStyle, ctl3D);
  if (width == 2) {
    canvas.DrawEdge(rect, ekSunken);
  } else if (width == 1) {
    const TBrush saved = canvas.Brush();
    canvas.Brush() = TBrush{QColorToColor(ShadowLineColor(canvas, saved.Color)), bsSolid};
    canvas.FrameRect(rect);
    canvas.Brush() = saved;
  }
  return rect.Inset(width, width);
}

// --- text pieces

QString ExtractField(const QString& text, int index, QChar delimiter) {
  if (index < 0) return QString();
  qsizetype start = 0;
  for (int piece = 0; piece < index; ++piece) {
    const qsizetype next = text.indexOf(delimiter, start);
    if (next < 0) return QString();
    start = next + 1;
  }
  const qsizetype end = text.indexOf(delimiter, start);
  return text.mid(start, end < 0 ? -1 : end - start);
}

}  // namespace Kel
