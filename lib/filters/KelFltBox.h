#pragma once
// Unit KelFltBox: the filter builder, its templates, date macros and field catalogue.

#include "KelFltBld.h"
#include "KelFltBoxControl.h"
#include "KelFltFields.h"
#include "KelFltTemplates.h"
