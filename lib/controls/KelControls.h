#pragma once
// Unit KelControls: the base of the library's keyboard-driven controls and the window helpers
// they share. Include this header to get all of it; each piece has a header of its own.

#include "KelTranslate.h"
