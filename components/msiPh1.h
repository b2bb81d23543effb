// Capture functions of the medium-scale and console components, called from a
// circuit's build function.  Each checks its buses and registers one
// component; a length error writes its message to standard error and is
// counted, and the component is registered all the same, so that one run
// reports every error of a circuit before the count stops it after conversion.
// (The file name: msi, the medium-scale family; Ph1, capture: the first phase of a run.)
#pragma once

#include "core/Schmtc.h"
#include "core/Signal.h"

// ---- Medium-scale components ----
// Buses joined with the comma operator put the right operand lowest; the
// positions below are those of the joined buses.

// out = the low out.length bits of the sum of two words: dataIn holds the
// first word at 0 .. w-1 and the second at w .. 2w-1 (w = out.length).
void Adder(const SD &sd, const Signals &dataIn, const Signals &out);
// Counts falling clock edges while clear is ONE; clear at ZERO clears the
// count.  in = (clear, clock).
void Counter(const SD &sd, const Signal &in, const Signal &out);
// A copy of each clock pulse whose rising edge found enable at ONE.
// in = (enable, clock), out one bit.
void Gate(const SD &sd, const Signal &in, const Signal &out);
// D flip-flop taking D at the rising clock edge; S and R force ONE and ZERO.
// in = (S, D, clock, R), out = Q.
void Dff(const SD &sd, const Signal &in, const Signal &out);
// Master-slave JK flip-flop: J and K judged at the rising clock edge, the
// outputs change at the falling one.  in = (S, J, clock, K, R), out = (Q, QP).
void Jkff(const SD &sd, const Signal &in, const Signal &out);
// out = in + 1 over out.length bits; in at least as long as out.
void Increment(const SD &sd, const Signal &in, const Signal &out);
// out = word number controlIn of dataIn, word k at k*w .. k*w+w-1 (w = out.length).
void Mux(const SD &sd, const Signals &controlIn, const Signals &dataIn, const Signals &out);
// One output line per code of dataIn, ONE at the code's line while the
// one-bit enable controlIn is ONE, all ZERO while it is ZERO.
void Decoder(const SD &sd, const Signals &controlIn, const Signals &dataIn, const Signals &out);
// Priority encoder: out = position of the highest ONE among the 2^out.length
// request lines, valid ONE when there is one.
void Encoder(const SD &sd, const Signals &dataIn, const Signals &out, const Signal &valid);
// Loads dataIn at each rising edge of write that finds enable at ONE.
void Register(const SD &sd, const Signal &enable, const Signal &write, const Signals &dataIn,
              const Signals &out);
// 2^k single-bit registers (registerOut) written one at a time: bitIn goes to
// the register at writeAddress on a rising edge of write with enable ONE;
// bitOut shows the register at readAddress; clear and set act on all of them
// as levels.
void BitAddressibleRegister(const SD &sd, const Signal &clear, const Signal &set, const Signal &enable,
                            const Signal &write, const Signals &bitIn, const Signals &writeAddress,
                            const Signals &readAddress, const Signals &bitOut, const Signals &registerOut);

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
