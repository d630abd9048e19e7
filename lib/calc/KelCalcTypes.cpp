#include "KelCalcTypes.h"

#include "KelCalcConsts.h"
#include "KelTranslate.h"

namespace Kel {

int CalcDigitOf(TKelCalcButtonKind kind) {
  switch (kind) {
    case ck0:
      return 0;
    case ck1:
      return 1;
    case ck2:
      return 2;
    case ck3:
      return 3;
    case ck4:
      return 4;
    case ck5:
      return 5;
    case ck6:
      return 6;
    case ck7:
      return 7;
    case ck8:
      return 8;
    case ck9:
      return 9;
    default:
      return -1;
  }
}

TKelCalcButtonKind CalcDigitButton(int digit) {
  static constexpr TKelCalcButtonKind kDigits[] = {ck0, ck1, ck2, ck3, ck4,
                                                   ck5, ck6, ck7, ck8, ck9};
  return digit >= 0 && digit <= 9 ? kDigits[digit] : ckNone;
}

bool IsCalcOperator(TKelCalcButtonKind kind) {
  return kind == ckDiv || kind == ckMul || kind == ckSub || kind == ckAdd;
}

bool IsCalcRedButton(TKelCalcButtonKind kind) {
  switch (kind) {
    case ckBack:
    case ckClearEntry:
    case ckClear:
    case ckMemClear:
    case ckDiv:
    case ckMemRecall:
    case ckMul:
    case ckMemStore:
    case ckSub:
    case ckMemAdd:
    case ckAdd:
    case ckEquals:
      return true;
    default:
      return false;
  }
}

QString CalcButtonCaption(TKelCalcButtonKind kind) {
  using namespace KelCalcText;
  const int digit = CalcDigitOf(kind);
  if (digit >= 0) return QString::number(digit);
  switch (kind) {
    case ckBack:
      return TranslateText(Back);
    case ckClearEntry:
      return TranslateText(ClearEntry);
    case ckClear:
      return TranslateText(Clear);
    case ckMemClear:
      return TranslateText(MemClear);
    case ckSqrt:
      return TranslateText(Sqrt);
    case ckMemRecall:
      return TranslateText(MemRecall);
    case ckMemStore:
      return TranslateText(MemStore);
    case ckMemAdd:
      return TranslateText(MemAdd);
    case ckDiv:
      return QStringLiteral("/");
    case ckMul:
      return QStringLiteral("*");
    case ckPercent:
      return QStringLiteral("%");
    case ckSub:
      return QStringLiteral("-");
    case ckRecip:
      return QStringLiteral("1/x");
    case ckSign:
      return QStringLiteral("+/-");
    case ckDecimal:
      return QStringLiteral(".");
    case ckAdd:
      return QStringLiteral("+");
    case ckEquals:
      return QStringLiteral("=");
    default:
      return QString();
  }
}

TKelCalcCell CalcButtonCell(TKelCalcButtonKind kind) {
  if (kind >= ckBack && kind <= ckClear) return {kind - ckBack, 0};
  if (kind < ckMemClear || kind > ckEquals) return {-1, -1};
  const int index = kind - ckMemClear;  // six buttons per grid row
  return {index % 6, index / 6 + 1};
}

}  // namespace Kel
