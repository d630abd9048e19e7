#pragma once
// A user's click on a check box: on its box, since a check box stretched by a layout reacts only
// to its box and caption, not to the empty space that a click at its centre may hit.
#include <QCheckBox>
#include <QTest>

namespace Kel::Testing {

inline void ClickCheckBox(QCheckBox* box) {
  const int middle = box->height() / 2;
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(middle, middle));
}

}  // namespace Kel::Testing
