// Runtimes of the medium-scale and console components.
#pragma once

// ---- Console output components ----

// Console output (evaluate functions).  Each follows the write-strobe protocol
// in its state word and, when the strobe has just risen with the enable ONE,
// writes its value to standard error; a value with a bit that is not ZERO or
// ONE writes an error message instead.  None requests a transition.

// Data inputs 0 .. 7 the character code, 8 the strobe, 9 the enable.  Codes
// 0 .. 31 except 10 are written as ^ and the character 64 above; 10 ends the
// line; codes 128 .. 255 as | and the form of the code 128 below.
void _stderr(int cind);
// Control inputs 0 strobe, 1 enable: the data inputs as a decimal number and
// a newline.
void intOut(int cind);
// Control inputs 0 strobe, 1 enable: the data inputs as hexadecimal digits,
// a leading digit for the bits above the last whole group of four.  The
// stream is left in decimal after every evaluation.
void hexOut(int cind);
