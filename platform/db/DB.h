#pragma once
// The dataset layer in one include: datasets and fields, data sources, the filter-expression
// parser and evaluator, the in-memory dataset, tables and queries over Qt SQL, the session.

#include "CannedExpr.h"
#include "DBConsts.h"
#include "DBTables.h"
#include "DBTypes.h"
#include "DataSet.h"
#include "DataSource.h"
#include "ExprEvaluator.h"
#include "ExprParser.h"
#include "Fields.h"
#include "LikeMask.h"
#include "MemDataSet.h"
