#pragma once
// The width a button needs to show its caption whole: the text ("&" marks the next letter and
// takes no room of its own) in the button's font, with the style's margin on both sides. Used
// where translated captions may be longer than the width chosen for the English ones.

#include <QFontMetrics>
#include <QString>
#include <QStyle>
#include <QWidget>

namespace Kel {

inline int CaptionFitWidth(const QWidget* button, QString caption) {
  caption.remove(u'&');
  if (caption.isEmpty()) return 0;
  const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
  return button->fontMetrics().horizontalAdvance(caption) + 2 * margin + 4;
}

}  // namespace Kel
