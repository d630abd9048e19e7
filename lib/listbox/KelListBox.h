#pragma once
// Unit KelListBox: the parameter list box. Include this header to get all of it.

#include "KelFltDateTimeFormat.h"
#include "KelListItems.h"
#include "KelPrmListBox.h"
