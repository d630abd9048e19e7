#pragma once
// The buttons and entry states of the calculator (unit KelCalc), with their fixed ordinals, and
// what each button looks like: caption, colour group and place in the grid.

#include <QObject>
#include <QString>

#include "KelExport.h"

namespace Kel {
namespace KelCalcTypes {
Q_NAMESPACE_EXPORT(KEL_EXPORT)

// The buttons in the order of the grid, row by row (the hit test tries them in this order).
enum TKelCalcButtonKind {
  ckNone = 0,
  ckBack,
  ckClearEntry,
  ckClear,
  ckMemClear,
  ck7,
  ck8,
  ck9,
  ckDiv,
  ckSqrt,
  ckMemRecall,
  ck4,
  ck5,
  ck6,
  ckMul,
  ckPercent,
  ckMemStore,
  ck1,
  ck2,
  ck3,
  ckSub,
  ckRecip,
  ckMemAdd,
  ck0,
  ckSign,
  ckDecimal,
  ckAdd,
  ckEquals,
};
Q_ENUM_NS(TKelCalcButtonKind)

// Result shown: the next digit starts a new number. Entering: digits are appended.
enum TKelCalcEntryState { esResult = 0, esError = 1, esEntering = 2 };
Q_ENUM_NS(TKelCalcEntryState)

}  // namespace KelCalcTypes
using namespace KelCalcTypes;

inline constexpr int kCalcButtonCount = 27;

// The digit of a digit button, -1 for the others.
KEL_EXPORT int CalcDigitOf(TKelCalcButtonKind kind);
KEL_EXPORT TKelCalcButtonKind CalcDigitButton(int digit);
KEL_EXPORT bool IsCalcOperator(TKelCalcButtonKind kind);  // "/", "*", "-", "+"
// Red buttons edit, clear, remember and operate; blue ones enter and transform the number.
KEL_EXPORT bool IsCalcRedButton(TKelCalcButtonKind kind);
// The caption as shown (the words through TranslateText).
KEL_EXPORT QString CalcButtonCaption(TKelCalcButtonKind kind);
// Column (0 is the memory column) and row (1-4) of the grid buttons; the three buttons of the
// top row have row 0 and columns 0, 1, 2 of their own right-aligned row.
struct TKelCalcCell {
  int Col;
  int Row;
};
KEL_EXPORT TKelCalcCell CalcButtonCell(TKelCalcButtonKind kind);

}  // namespace Kel
