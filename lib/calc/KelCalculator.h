#pragma once
// TKelCustomCalculator / TKelCalculator: a self-drawn pocket calculator of 27 buttons in a fixed
// grid over TKelCalcEngine. It has no display of its own: the display text goes to an
// associated control (Associate), normally a TKelCalcDisplay.
//
// Size: everything follows the font. A button is as wide as "00000" and 1.8 lines high; the
// control always keeps the size that the grid needs (plus its border), so it cannot be
// stretched by a layout.
//
// Input: a click executes the button under the pointer when the left button is released over
// it (it shows down while the pointer is over it). Keys and typed characters press buttons too
// (Enter "=", Esc "C", Delete "CE", C, R "1/x", F9 "+/-", Ctrl+L/M/P/R for the memory, and the
// characters 0-9 + - * / % = @ Backspace and the decimal separator); a key shows its button down
// for 70 ms. Only enabled buttons react: the memory clear and recall buttons are greyed while
// the memory holds 0.

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "GuiTypes.h"
#include "KelCalcEngine.h"
#include "KelExport.h"
#include "Rect.h"
#include "ShiftState.h"

namespace Kel {

class TCanvas;

class KEL_EXPORT TKelCustomCalculator : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int Precision READ Precision WRITE SetPrecision)
  Q_CLASSINFO("default:Precision", "13")
  // Declared with the value the control is created with, so that a form records what differs.
  Q_PROPERTY(Kel::Gui::TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
  Q_CLASSINFO("default:BorderStyle", "bsNone")
  Q_PROPERTY(bool BeepOnError READ BeepOnError WRITE SetBeepOnError)
  Q_CLASSINFO("default:BeepOnError", "False")

 public:
  using TNotifyEvent = std::function<void(QObject* sender)>;
  using TButtonClickEvent = std::function<void(QObject* sender, TKelCalcButtonKind& kind)>;

  explicit TKelCustomCalculator(QWidget* parent = nullptr);
  ~TKelCustomCalculator() override;

  // --- state (see TKelCalcEngine)
  const TKelCalcEngine& Engine() const { return engine_; }
  QString DisplayText() const { return engine_.Text(); }
  TKelCalcEntryState EntryState() const { return engine_.EntryState(); }
  TKelCalcButtonKind PendingOperator() const { return engine_.PendingOperator(); }
  double Accumulator() const { return engine_.Accumulator(); }
  double MemoryValue() const { return engine_.MemoryValue(); }
  // The number on display; 0 in the error state.
  double Value() const { return engine_.Value(); }
  // Shows value as a result (the preset of the popup).
  void SetValue(double value) { engine_.SetValue(value); }
  // Back to the state of a new calculator, the memory kept: "0", nothing pending, no error.
  void Reset();

  int Precision() const { return engine_.Precision(); }
  void SetPrecision(int value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  bool BeepOnError() const { return beepOnError_; }
  void SetBeepOnError(bool value) { beepOnError_ = value; }
  // The control that shows the display text (not owned; forgotten when it is destroyed). Its
  // "Text" property, or else its "text" property, takes the text.
  QWidget* Associate() const { return associate_; }
  void SetAssociate(QWidget* control);

  // --- buttons
  // Presses a button as a click does (nothing for a disabled one).
  void PressButton(TKelCalcButtonKind kind);
  // Presses a button as a key does: shown down for 70 ms.
  void PressButtonByKey(TKelCalcButtonKind kind);
  bool ButtonEnabled(TKelCalcButtonKind kind) const;
  // The button a key or a typed character stands for (ckNone when none).
  static TKelCalcButtonKind ButtonOfKey(int virtualKey, TShiftState shift);
  static TKelCalcButtonKind ButtonOfChar(QChar c);
  TKelCalcButtonKind PressedButton() const { return pressed_; }
  bool ButtonShownDown() const { return shownDown_; }

  // --- layout (client coordinates, inside the border)
  int ButtonWidth() const { return buttonWidth_; }
  int ButtonHeight() const { return buttonHeight_; }
  QSize ClientSize() const;
  TRect ButtonRect(TKelCalcButtonKind kind) const;
  // The first button, in kind order, whose rectangle holds the point; ckNone when none does.
  TKelCalcButtonKind ButtonAt(int x, int y) const;
  int BorderWidth() const;

  static constexpr int kMargin = 10;
  static constexpr int kSpacing = 5;
  static constexpr int kKeyReleaseMs = 70;

  // "=" or "%" produced a result.
  TNotifyEvent OnResult;
  // A button is about to be executed; the button pressed is executed whatever the handler
  // writes into kind.
  TButtonClickEvent OnButtonClick;
  // The error state was entered.
  TNotifyEvent OnCalcError;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void UpdateLayout();
  void Click(TKelCalcButtonKind kind);
  void ReleaseKeyButton();
  void ShowDown(TKelCalcButtonKind kind, bool down);
  void UpdateButton(TKelCalcButtonKind kind);
  void PushTextToAssociate();
  void PaintButton(TCanvas& canvas, TKelCalcButtonKind kind, bool darkFace);
  void ErrorBeep() const;

  TKelCalcEngine engine_;
  TBorderStyle borderStyle_ = bsNone;
  bool beepOnError_ = false;
  QPointer<QWidget> associate_;
  int buttonWidth_ = 0;
  int buttonHeight_ = 0;
  TKelCalcButtonKind pressed_ = ckNone;
  bool shownDown_ = false;
  bool mouseTracking_ = false;
  QTimer keyReleaseTimer_;
};

// The published calculator.
class KEL_EXPORT TKelCalculator : public TKelCustomCalculator {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TKelCalculator(QWidget* parent = nullptr) : TKelCustomCalculator(parent) {}
};

}  // namespace Kel
