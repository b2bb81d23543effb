// Capture functions of the medium-scale and console components.
#pragma once

#include "core/Schmtc.h"
#include "core/Signal.h"

// ---- Console output components ----

// Console output: each writes to standard error once per rising edge of its
// write strobe while its enable is ONE (nothing before the enable has been
// ZERO or ONE once after a reset).  None has outputs.  A length error writes
// its message, is counted, and the component is still registered: the run
// stops after conversion.

// One character per strobe.  in = (enable, strobe, code): the character code
// at 0 .. 7 (0 least significant), the strobe at 8, the enable at 9.
// Control codes are written as ^ and a letter, codes above 127 behind a |.
void Stderr(const SD &sd, const Signals &in);
// data as an unsigned decimal number and a newline.  control = (enable, strobe).
void IntOut(const SD &sd, const Signals &control, const Signals &data);
// data as lower-case hexadecimal digits, most significant first, no newline.
// control = (enable, strobe).
void HexOut(const SD &sd, const Signals &control, const Signals &data);
