#include "DemoFormParts.h"

#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "Color.h"
#include "KelPrmListBox.h"

namespace Kel {

namespace {

// The information panels' colour value, 0x00BBGGRR: a pale yellow.
constexpr TColor kInfoColor = 13434879;

TDemoMessageHook& MessageHook() {
  static TDemoMessageHook hook;
  return hook;
}

}  // namespace

void SetFormFont(QWidget* form, int pixelSize) {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(pixelSize);
  form->setFont(font);
}

void CenterOnScreen(QWidget* form) {
  const QScreen* target = form->screen();
  if (!target) return;
  QRect frame = form->frameGeometry();
  frame.moveCenter(target->availableGeometry().center());
  form->move(frame.topLeft());
}

QFrame* MakeInfoPanel(QWidget* parent, const QString& name, const QString& text, int width) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFixedWidth(width);
  panel->setAutoFillBackground(true);
  // The panel keeps its light colour in a dark theme too, so its text stays black on it.
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, ColorToQColor(kInfoColor));
  palette.setColor(QPalette::WindowText, Qt::black);
  panel->setPalette(palette);

  auto* label = new QLabel(text, panel);
  label->setObjectName(name + QStringLiteral("Label"));
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->addWidget(label);
  layout->addStretch(1);
  return panel;
}

QPushButton* MakeNamedButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(QLatin1String(caption), parent);
  button->setObjectName(QLatin1String(name));
  return button;
}

void ShowDemoMessage(QWidget* parent, const QString& text) {
  if (MessageHook()) {
    MessageHook()(parent, text);
    return;
  }
  QMessageBox::information(parent, QString(), text);
}

TDemoMessageHook SetDemoMessageHook(TDemoMessageHook hook) {
  TDemoMessageHook previous = std::move(MessageHook());
  MessageHook() = std::move(hook);
  return previous;
}

void UseReadableLinkColor(TKelPrmListBox* box, const QPalette& palette) {
  const TColor lightLink = QColorToColor(QColor(110, 180, 255));
  const bool dark = palette.color(QPalette::Base).lightness() < 128;
  if (dark && box->LinkColor() == clNavy)
    box->SetLinkColor(lightLink);
  else if (!dark && box->LinkColor() == lightLink)
    box->SetLinkColor(clNavy);
}

}  // namespace Kel
