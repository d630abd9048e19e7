#pragma once
// Unit KelClasses: the core types of the library. Include this header to get all of them; each
// piece has a header of its own.

#include "KelBinTree.h"
#include "KelDateTimeFormat.h"
#include "KelFields.h"
#include "KelNamedItems.h"
#include "KelPersHolder.h"
#include "KelPublishedProps.h"
#include "KelRegisterClasses.h"
#include "KelRegistryStream.h"
#include "KelSortedList.h"
#include "KelStrHelpers.h"
