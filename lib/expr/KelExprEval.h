#pragma once
// Unit KelExprEval: the expression evaluator with its record search (KelEvaluator.h), the
// emulated dataset that carries fields for the filter parser (KelEmulDataSet.h) and the grid
// colours that evaluate one condition per colour rule (KelGridColors.h).

#include "KelEmulDataSet.h"
#include "KelEvaluator.h"
#include "KelGridColors.h"
