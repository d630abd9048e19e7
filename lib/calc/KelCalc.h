#pragma once
// Unit KelCalc: the pocket calculator (engine and control), its display, its popup and the number
// field that opens it.
#include "KelCalcDisplay.h"
#include "KelCalcEdit.h"
#include "KelCalcEngine.h"
#include "KelCalcTypes.h"
#include "KelCalculator.h"
#include "KelPopupCalc.h"
