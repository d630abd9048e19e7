#pragma once
// A label that behaves like a web link.

#include <QLabel>
#include <functional>

namespace Kel {

// A label drawn as a link (hand cursor) that fires OnClick when the left button is pressed and
// released over it, as a button would. Its colour and font are the caller's.
class TLinkLabel : public QLabel {
  Q_OBJECT
 public:
  explicit TLinkLabel(const QString& text, QWidget* parent = nullptr);

  std::function<void(TLinkLabel* sender)> OnClick;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};

}  // namespace Kel
