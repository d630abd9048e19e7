#pragma once
// Unit KelCalc: the pocket calculator (engine and control), its display and its popup.
#include "KelCalcDisplay.h"
#include "KelCalcEngine.h"
#include "KelCalcTypes.h"
#include "KelCalculator.h"
#include "KelPopupCalc.h"
