#include "Forms.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPointer>
#include <QWidget>
#include <cmath>

namespace Kel {

namespace {

QPointer<QWidget>& MainForm() {
  static QPointer<QWidget> form;
  return form;
}

}  // namespace

QWidget* ApplicationMainForm() { return MainForm().data(); }

void SetApplicationMainForm(QWidget* form) { MainForm() = form; }

QWidget* ParentForm(const QWidget* widget) { return widget ? widget->window() : nullptr; }

int ScaleByFont(int pixels, const QFont& font) {
  const int lineHeight = QFontMetrics(font).height();
  return static_cast<int>(std::lround(static_cast<double>(pixels) * lineHeight / kReferenceLineHeight));
}

int ScaleByFont(int pixels, const QWidget* widget) {
  return ScaleByFont(pixels, widget ? widget->font() : QApplication::font());
}

}  // namespace Kel
