#pragma once
// The user-visible texts of the calculator and the button panel, with their resource numbers.
// They reach the user through TranslateText.

namespace Kel::KelCalcText {

// Captions of the calculator buttons that have words rather than symbols.
inline constexpr const char* Back = "Back";      // 65400
inline constexpr const char* ClearEntry = "CE";  // 65401
inline constexpr const char* Clear = "C";        // 65402
inline constexpr const char* MemClear = "MC";    // 65403
inline constexpr const char* Sqrt = "sqrt";      // 65404
inline constexpr const char* MemRecall = "MR";   // 65405
inline constexpr const char* MemStore = "MS";    // 65406
inline constexpr const char* MemAdd = "M+";      // 65407
// What the display shows after a calculation that has no result.
inline constexpr const char* Error = "ERROR";  // 65408
// Accessible names.
inline constexpr const char* Calculator = "Calculator";             // 65409
inline constexpr const char* CalcDisplay = "Calculator display";    // 65410
inline constexpr const char* PopupCalculator = "Popup calculator";  // 65411
inline constexpr const char* ButtonPanel = "Button panel";          // 65412
// What a screen reader calls the calculator buttons that are not digits.
inline constexpr const char* NameBack = "backspace";              // 65450
inline constexpr const char* NameClearEntry = "clear entry";      // 65451
inline constexpr const char* NameClear = "clear";                 // 65452
inline constexpr const char* NameMemClear = "memory clear";       // 65453
inline constexpr const char* NameDiv = "divide";                  // 65454
inline constexpr const char* NameSqrt = "square root";            // 65455
inline constexpr const char* NameMemRecall = "memory recall";     // 65456
inline constexpr const char* NameMul = "multiply";                // 65457
inline constexpr const char* NamePercent = "percent";             // 65458
inline constexpr const char* NameMemStore = "memory store";       // 65459
inline constexpr const char* NameSub = "minus";                   // 65460
inline constexpr const char* NameRecip = "reciprocal";            // 65461
inline constexpr const char* NameMemAdd = "memory add";           // 65462
inline constexpr const char* NameSign = "change sign";            // 65463
inline constexpr const char* NameDecimal = "decimal separator";   // 65464
inline constexpr const char* NameAdd = "plus";                    // 65465
inline constexpr const char* NameEquals = "equals";               // 65466

// Captions of the standard buttons of the button panel.
inline constexpr const char* BtnYes = "&Yes";           // 65420
inline constexpr const char* BtnNo = "&No";             // 65421
inline constexpr const char* BtnOk = "OK";              // 65422
inline constexpr const char* BtnCancel = "Cancel";      // 65423
inline constexpr const char* BtnApply = "&Apply";       // 65424
inline constexpr const char* BtnClose = "&Close";       // 65425
inline constexpr const char* BtnHelp = "&Help";         // 65426
inline constexpr const char* BtnAbort = "Abort";        // 65427
inline constexpr const char* BtnRetry = "&Retry";       // 65428
inline constexpr const char* BtnIgnore = "&Ignore";     // 65429
inline constexpr const char* BtnDelete = "Delete";      // 65430
inline constexpr const char* BtnRemove = "Remove";      // 65431
inline constexpr const char* BtnInsert = "&Insert";     // 65432
inline constexpr const char* BtnNew = "&New";           // 65433
inline constexpr const char* BtnBrowse = "&Browse...";  // 65434
inline constexpr const char* BtnOpen = "&Open";         // 65435
inline constexpr const char* BtnSave = "&Save";         // 65436

}  // namespace Kel::KelCalcText
