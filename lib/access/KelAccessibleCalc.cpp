#include "KelAccessibleCalc_p.h"

#include <QWindow>

#include "KelCalcConsts.h"
#include "KelCalcDisplay.h"
#include "KelCalculator.h"
#include "KelTranslate.h"

namespace Kel {

namespace {

class TKelAccessibleCalcButton : public TKelPressablePart<QAccessibleInterface> {
 public:
  TKelAccessibleCalcButton(TKelCustomCalculator* calculator, TKelCalcButtonKind kind)
      : calculator_(calculator), kind_(kind) {}

  TKelCalcButtonKind Kind() const { return kind_; }

  bool isValid() const override { return calculator_; }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override {
    return calculator_ ? calculator_->window()->windowHandle() : nullptr;
  }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(calculator_.data());
  }
  int childCount() const override { return 0; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    const QString name = CalcButtonAccessibleName(kind_);
    if (t == QAccessible::Name) return name;
    if (t != QAccessible::Description) return QString();
    const QString caption = CalcButtonCaption(kind_);
    return caption == name ? QString() : caption;
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!calculator_) return QRect();
    const int border = calculator_->BorderWidth();
    const QRect r = calculator_->ButtonRect(kind_).ToQRect().translated(border, border);
    return QRect(calculator_->mapToGlobal(r.topLeft()), r.size());
  }
  QAccessible::Role role() const override { return QAccessible::Button; }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!calculator_) return s;
    s.disabled = !calculator_->ButtonEnabled(kind_);
    s.pressed = calculator_->PressedButton() == kind_ && calculator_->ButtonShownDown();
    s.invisible = !calculator_->isVisible();
    return s;
  }
  // Pressed as a key presses it, so the button is seen going down too.
  void doAction(const QString& action) override {
    if (action == pressAction() && calculator_) calculator_->PressButtonByKey(kind_);
  }

 private:
  QPointer<TKelCustomCalculator> calculator_;
  TKelCalcButtonKind kind_;
};

}  // namespace

QString CalcButtonAccessibleName(int kind) {
  using namespace KelCalcText;
  const auto k = static_cast<TKelCalcButtonKind>(kind);
  if (CalcDigitOf(k) >= 0) return QString::number(CalcDigitOf(k));
  switch (k) {
    case ckBack: return TranslateText(NameBack);
    case ckClearEntry: return TranslateText(NameClearEntry);
    case ckClear: return TranslateText(NameClear);
    case ckMemClear: return TranslateText(NameMemClear);
    case ckDiv: return TranslateText(NameDiv);
    case ckSqrt: return TranslateText(NameSqrt);
    case ckMemRecall: return TranslateText(NameMemRecall);
    case ckMul: return TranslateText(NameMul);
    case ckPercent: return TranslateText(NamePercent);
    case ckMemStore: return TranslateText(NameMemStore);
    case ckSub: return TranslateText(NameSub);
    case ckRecip: return TranslateText(NameRecip);
    case ckMemAdd: return TranslateText(NameMemAdd);
    case ckSign: return TranslateText(NameSign);
    case ckDecimal: return TranslateText(NameDecimal);
    case ckAdd: return TranslateText(NameAdd);
    case ckEquals: return TranslateText(NameEquals);
    default: return QString();
  }
}

// ---- the calculator

TKelAccessibleCalculator::TKelAccessibleCalculator(QWidget* widget)
    : QAccessibleWidget(widget, QAccessible::Grouping) {}

TKelCustomCalculator* TKelAccessibleCalculator::Calculator() const {
  return static_cast<TKelCustomCalculator*>(widget());
}

int TKelAccessibleCalculator::childCount() const { return kCalcButtonCount; }

QAccessibleInterface* TKelAccessibleCalculator::child(int index) const {
  if (index < 0 || index >= kCalcButtonCount) return nullptr;
  const auto kind = static_cast<TKelCalcButtonKind>(ckBack + index);
  return buttons_.Get(index, [this, kind] { return new TKelAccessibleCalcButton(Calculator(), kind); });
}

int TKelAccessibleCalculator::indexOfChild(const QAccessibleInterface* child) const {
  auto* button = dynamic_cast<const TKelAccessibleCalcButton*>(child);
  if (!button) return -1;
  const int index = button->Kind() - ckBack;
  return this->child(index) == child ? index : -1;
}

QAccessibleInterface* TKelAccessibleCalculator::childAt(int x, int y) const {
  const int border = Calculator()->BorderWidth();
  const QPoint p = Calculator()->mapFromGlobal(QPoint(x, y)) - QPoint(border, border);
  const TKelCalcButtonKind kind = Calculator()->ButtonAt(p.x(), p.y());
  return kind == ckNone ? nullptr : child(kind - ckBack);
}

QList<QPair<QAccessibleInterface*, QAccessible::Relation>> TKelAccessibleCalculator::relations(
    QAccessible::Relation match) const {
  auto result = QAccessibleWidget::relations(match);
  if ((match & QAccessible::Controller) && Calculator()->Associate()) {
    if (QAccessibleInterface* display = QAccessible::queryAccessibleInterface(Calculator()->Associate()))
      result.append({display, QAccessible::Controller});
  }
  return result;
}

// ---- the display

TKelAccessibleCalcDisplay::TKelAccessibleCalcDisplay(QWidget* widget)
    : QAccessibleWidget(widget, QAccessible::StaticText) {}

TKelCalcDisplay* TKelAccessibleCalcDisplay::Display() const {
  return static_cast<TKelCalcDisplay*>(widget());
}

QString TKelAccessibleCalcDisplay::text(QAccessible::Text t) const {
  if (t == QAccessible::Value) return Display()->Text();
  return QAccessibleWidget::text(t);
}

QAccessible::State TKelAccessibleCalcDisplay::state() const {
  QAccessible::State s = QAccessibleWidget::state();
  s.readOnly = true;
  return s;
}

void* TKelAccessibleCalcDisplay::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

void TKelAccessibleCalcDisplay::selection(int, int* startOffset, int* endOffset) const {
  *startOffset = *endOffset = 0;
}

QString TKelAccessibleCalcDisplay::text(int startOffset, int endOffset) const {
  const QString all = Display()->Text();
  if (startOffset < 0) startOffset = 0;
  if (endOffset < 0 || endOffset > all.size()) endOffset = int(all.size());
  return startOffset < endOffset ? all.mid(startOffset, endOffset - startOffset) : QString();
}

int TKelAccessibleCalcDisplay::characterCount() const { return int(Display()->Text().size()); }

QString TKelAccessibleCalcDisplay::attributes(int, int* startOffset, int* endOffset) const {
  *startOffset = 0;
  *endOffset = characterCount();
  return QString();
}

}  // namespace Kel
