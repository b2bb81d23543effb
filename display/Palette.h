// The value colours: the default palette and the high-contrast one that -P
// selects for projectors.  Plain data, free of X11, so that it can be checked
// without a window.
#pragma once

#include "core/Signal.h"

// Colour strings "#RRGGBB", indexed by SignalValue (ZERO, UNINITIALIZED,
// XXX, HIZ, ONE).
using Palette = const char *const[numberOfSignalValues];
extern Palette defaultPalette;
extern Palette highContrastPalette;

// The palette the command line chose: the high-contrast one with -P.
const Palette &chosenPalette();
