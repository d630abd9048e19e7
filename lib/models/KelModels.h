#pragma once
// Unit KelModels: the library on Qt's model/view. A dataset in item views
// (KelDataSetModel.h), any item model's columns as fields (KelModelFields.h), a filter proxy
// driven by the filter language or a filter box (KelFilterProxyModel.h), server-side filtering
// with bound values for Qt's SQL models (KelSqlTableModel.h), grid colours for any view
// (KelColorDelegate.h) and record search over any view (KelViewSearch.h).

#include "KelColorDelegate.h"
#include "KelDataSetModel.h"
#include "KelFilterProxyModel.h"
#include "KelModelFields.h"
#include "KelSqlTableModel.h"
#include "KelViewSearch.h"
