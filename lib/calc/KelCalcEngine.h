#pragma once
// TKelCalcEngine: the arithmetic of the pocket calculator, apart from any widget, so that the
// calculator control, its popup and the tests drive the same rules.
//
// The display text is the single source of the current value: typing edits it, results replace
// it. Arithmetic is left to right with one pending operator: an operator key applies the
// operator pressed before it to the accumulator (left operand) and the number on display (right
// operand), shows the result and becomes the pending one itself.
//
// Entry states: result shown (the next digit starts a new number), error (only C and CE do
// anything), entering (digits are appended). A calculation without a finite result (division
// by zero, the root of a negative number, the reciprocal of zero, overflow) is the error state:
// the display shows "ERROR", never "inf" or "nan".
//
// Numbers are shown in the general float format with max(2, Precision) significant digits and
// the current decimal separator; typing stops at the same number of characters (a minus sign
// allows one more).

#include <QString>
#include <functional>

#include "KelCalcTypes.h"
#include "KelExport.h"

namespace Kel {

class KEL_EXPORT TKelCalcEngine {
 public:
  TKelCalcEngine();

  // --- state
  QString Text() const { return text_; }
  TKelCalcEntryState EntryState() const { return state_; }
  TKelCalcButtonKind PendingOperator() const { return pending_; }
  double Accumulator() const { return accumulator_; }
  double MemoryValue() const { return memory_; }
  int Precision() const { return precision_; }
  // Values below 2 act as 2.
  void SetPrecision(int value) { precision_ = value; }
  int EffectivePrecision() const;

  // The display text as a number (0 in the error state or for a text that is no number).
  double Value() const;
  // Shows value formatted (result shown); a value that is not finite is the error state.
  void SetValue(double value);
  // The text that value shows as.
  QString FormatValue(double value) const;

  // Whether the button reacts: the memory clear and recall buttons only while memory is not 0.
  bool ButtonEnabled(TKelCalcButtonKind kind) const;
  // Executes the button (nothing for ckNone). The caller checks ButtonEnabled first.
  void Execute(TKelCalcButtonKind kind);

  // --- notifications
  // The display text really changed.
  std::function<void(const QString& text)> OnTextChange;
  // The memory register changed (its buttons change their look).
  std::function<void()> OnMemoryChange;
  // "=" or "%" produced a result.
  std::function<void()> OnResult;
  // The error state was entered (again).
  std::function<void()> OnError;
  // A digit was refused because the display is full.
  std::function<void()> OnRefused;

 private:
  void ShowText(const QString& text);
  // Shows value, or enters the error state when it is not finite.
  void ShowValue(double value);
  void EnterError();
  void StartEntry();
  void SetMemory(double value);
  void Back();
  void Digit(int digit);
  void Decimal();
  void UnaryFunction(TKelCalcButtonKind kind);
  void Memory(TKelCalcButtonKind kind);
  void Operator(TKelCalcButtonKind kind);

  QString text_;
  TKelCalcEntryState state_ = esResult;
  TKelCalcButtonKind pending_ = ckNone;
  double accumulator_ = 0;
  double memory_ = 0;
  int precision_ = 13;
};

}  // namespace Kel
