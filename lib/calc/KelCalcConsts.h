#pragma once
// The user-visible texts of the calculator and the button panel, with their resource numbers.
// They reach the user through TranslateText.

#include <QtGlobal>

namespace Kel::KelCalcText {

// Captions of the calculator buttons that have words rather than symbols.
inline constexpr const char* Back = QT_TRANSLATE_NOOP("Kel", "Back");      // 65400
inline constexpr const char* ClearEntry = QT_TRANSLATE_NOOP("Kel", "CE");  // 65401
inline constexpr const char* Clear = QT_TRANSLATE_NOOP("Kel", "C");        // 65402
inline constexpr const char* MemClear = QT_TRANSLATE_NOOP("Kel", "MC");    // 65403
inline constexpr const char* Sqrt = QT_TRANSLATE_NOOP("Kel", "sqrt");      // 65404
inline constexpr const char* MemRecall = QT_TRANSLATE_NOOP("Kel", "MR");   // 65405
inline constexpr const char* MemStore = QT_TRANSLATE_NOOP("Kel", "MS");    // 65406
inline constexpr const char* MemAdd = QT_TRANSLATE_NOOP("Kel", "M+");      // 65407
// What the display shows after a calculation that has no result.
inline constexpr const char* Error = QT_TRANSLATE_NOOP("Kel", "ERROR");  // 65408
// Accessible names.
inline constexpr const char* Calculator = QT_TRANSLATE_NOOP("Kel", "Calculator");           // 65409
inline constexpr const char* CalcDisplay = QT_TRANSLATE_NOOP("Kel", "Calculator display");  // 65410
inline constexpr const char* PopupCalculator =
    QT_TRANSLATE_NOOP("Kel", "Popup calculator");                                     // 65411
inline constexpr const char* ButtonPanel = QT_TRANSLATE_NOOP("Kel", "Button panel");  // 65412
// What a screen reader calls the calculator buttons that are not digits.
inline constexpr const char* NameBack = QT_TRANSLATE_NOOP("Kel", "backspace");             // 65450
inline constexpr const char* NameClearEntry = QT_TRANSLATE_NOOP("Kel", "clear entry");     // 65451
inline constexpr const char* NameClear = QT_TRANSLATE_NOOP("Kel", "clear");                // 65452
inline constexpr const char* NameMemClear = QT_TRANSLATE_NOOP("Kel", "memory clear");      // 65453
inline constexpr const char* NameDiv = QT_TRANSLATE_NOOP("Kel", "divide");                 // 65454
inline constexpr const char* NameSqrt = QT_TRANSLATE_NOOP("Kel", "square root");           // 65455
inline constexpr const char* NameMemRecall = QT_TRANSLATE_NOOP("Kel", "memory recall");    // 65456
inline constexpr const char* NameMul = QT_TRANSLATE_NOOP("Kel", "multiply");               // 65457
inline constexpr const char* NamePercent = QT_TRANSLATE_NOOP("Kel", "percent");            // 65458
inline constexpr const char* NameMemStore = QT_TRANSLATE_NOOP("Kel", "memory store");      // 65459
inline constexpr const char* NameSub = QT_TRANSLATE_NOOP("Kel", "minus");                  // 65460
inline constexpr const char* NameRecip = QT_TRANSLATE_NOOP("Kel", "reciprocal");           // 65461
inline constexpr const char* NameMemAdd = QT_TRANSLATE_NOOP("Kel", "memory add");          // 65462
inline constexpr const char* NameSign = QT_TRANSLATE_NOOP("Kel", "change sign");           // 65463
inline constexpr const char* NameDecimal = QT_TRANSLATE_NOOP("Kel", "decimal separator");  // 65464
inline constexpr const char* NameAdd = QT_TRANSLATE_NOOP("Kel", "plus");                   // 65465
inline constexpr const char* NameEquals = QT_TRANSLATE_NOOP("Kel", "equals");              // 65466

// Captions of the standard buttons of the button panel.
inline constexpr const char* BtnYes = QT_TRANSLATE_NOOP("Kel", "&Yes");           // 65420
inline constexpr const char* BtnNo = QT_TRANSLATE_NOOP("Kel", "&No");             // 65421
inline constexpr const char* BtnOk = QT_TRANSLATE_NOOP("Kel", "OK");              // 65422
inline constexpr const char* BtnCancel = QT_TRANSLATE_NOOP("Kel", "Cancel");      // 65423
inline constexpr const char* BtnApply = QT_TRANSLATE_NOOP("Kel", "&Apply");       // 65424
inline constexpr const char* BtnClose = QT_TRANSLATE_NOOP("Kel", "&Close");       // 65425
inline constexpr const char* BtnHelp = QT_TRANSLATE_NOOP("Kel", "&Help");         // 65426
inline constexpr const char* BtnAbort = QT_TRANSLATE_NOOP("Kel", "Abort");        // 65427
inline constexpr const char* BtnRetry = QT_TRANSLATE_NOOP("Kel", "&Retry");       // 65428
inline constexpr const char* BtnIgnore = QT_TRANSLATE_NOOP("Kel", "&Ignore");     // 65429
inline constexpr const char* BtnDelete = QT_TRANSLATE_NOOP("Kel", "Delete");      // 65430
inline constexpr const char* BtnRemove = QT_TRANSLATE_NOOP("Kel", "Remove");      // 65431
inline constexpr const char* BtnInsert = QT_TRANSLATE_NOOP("Kel", "&Insert");     // 65432
inline constexpr const char* BtnNew = QT_TRANSLATE_NOOP("Kel", "&New");           // 65433
inline constexpr const char* BtnBrowse = QT_TRANSLATE_NOOP("Kel", "&Browse...");  // 65434
inline constexpr const char* BtnOpen = QT_TRANSLATE_NOOP("Kel", "&Open");         // 65435
inline constexpr const char* BtnSave = QT_TRANSLATE_NOOP("Kel", "&Save");         // 65436

}  // namespace Kel::KelCalcText
