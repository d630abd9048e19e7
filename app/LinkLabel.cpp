#include "LinkLabel.h"

#include <QMouseEvent>

namespace Kel {

TLinkLabel::TLinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setCursor(Qt::PointingHandCursor);
  setTextFormat(Qt::PlainText);
}

void TLinkLabel::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  event->accept();
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  // Like a button: releasing outside the label after pressing on it cancels the click.
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  event->accept();
  if (click && OnClick) OnClick(this);
}

}  // namespace Kel
