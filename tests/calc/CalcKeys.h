#pragma once
// Button sequences written as text, so that a test reads like the keys a user presses:
// digits and + - * / % = . as on the keypad, s sqrt, r 1/x, n +/-, b Back, e CE, c C,
// L MC, R MR, S MS, P M+. Blanks are ignored.
#include <QString>

#include "KelCalcTypes.h"

namespace Kel::Testing {

inline TKelCalcButtonKind CalcButtonOfLetter(QChar c) {
  if (c.isDigit()) return CalcDigitButton(c.digitValue());
  switch (c.unicode()) {
    case '+':
      return ckAdd;
    case '-':
      return ckSub;
    case '*':
      return ckMul;
    case '/':
      return ckDiv;
    case '%':
      return ckPercent;
    case '=':
      return ckEquals;
    case '.':
      return ckDecimal;
    case 's':
      return ckSqrt;
    case 'r':
      return ckRecip;
    case 'n':
      return ckSign;
    case 'b':
      return ckBack;
    case 'e':
      return ckClearEntry;
    case 'c':
      return ckClear;
    case 'L':
      return ckMemClear;
    case 'R':
      return ckMemRecall;
    case 'S':
      return ckMemStore;
    case 'P':
      return ckMemAdd;
    default:
      return ckNone;
  }
}

}  // namespace Kel::Testing
