// Runtimes of the medium-scale and console components.  Each takes only the
// component index, reads its pins through the netlist arrays and requests its
// outputs with the medium-scale delays; the clocked ones keep their edge
// detection in the component's state word, which every reset sets to 0.
// (The file name: msi, the medium-scale family; RT, run time.)
#pragma once

#include "core/Signal.h"

// Integer parameter of the adder: its width in bits.
enum AdderParameter { adderWidth = 0 };

// ---- Medium-scale components (evaluate functions) ----
void adder(int cind);                  // sum of two words, carry out discarded
void counter(int cind);                // counts falling clock edges, clear at ZERO
void gate(int cind);                   // passes clock pulses that rose with enable ONE
void dff(int cind);                    // D flip-flop with set and reset
void jkff(int cind);                   // master-slave JK flip-flop with set and reset
void increment(int cind);              // value + 1; a carry passes an unknown bit
void mux(int cind);                    // the selected word, XXX for an unknown select
void decoder(int cind);                // one-hot code with enable
void encoder(int cind);                // position of the highest request, and valid
void enabledRegister(int cind);        // loads its data at an enabled strobe edge
void bitAddressibleRegister(int cind); // single-bit writes, one bit read out

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
