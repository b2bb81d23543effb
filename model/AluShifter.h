// The computer's arithmetic: a one-bit full adder, the ALU slice and the
// 16-bit ripple-carry ALU built from it, and the 16-bit shifter.  Each
// function only captures netlist; the behaviour comes from the gates.
#pragma once

#include "core/Schmtc.h"
#include "core/Signal.h"

// Sum = a XOR b XOR CarryIn, CarryOut = (a AND b) OR (CarryIn AND (a XOR b)).
// All ports one bit.
void Full_Adder(const SD &coord, const Signal &CarryIn, const Signal &a, const Signal &b,
                const Signal &CarryOut, const Signal &Sum);

// One bit of the ALU: z is a + b + c_in (code 0, carry out on c_out), a AND b
// (1), a (2) or NOT a (3) under the two-bit code s; c_out is ZERO but for code 0.
void One_Bit_ALU(const SD &coord, const Signal &a, const Signal &b, const Signal &c_in, const Signal &s,
                 const Signal &z, const Signal &c_out);

// The 16-bit ALU: s = a + b, a AND b, a or NOT a under the code c; N is s[15]
// and Z is ONE when s is zero.  The carry out of bit 15 is lost.
void ALU16(const SD &coord, const Signal &a, const Signal &b, const Signal &c, const Signal &s,
           const Signal &N, const Signal &Z);

// One bit of the shifter: o is a (code 0), l, the bit above (1), r, the bit
// below (2), or ZERO (3) under the two-bit code c.
void One_Bit_Shifter(const SD &coord, const Signal &l, const Signal &a, const Signal &r, const Signal &c,
                     const Signal &o);

// The 16-bit shifter: s is a unshifted, shifted right or left by one place
// filling with ZERO, or zero, under the code c.
void SHIFTER16(const SD &coord, const Signal &a, const Signal &c, const Signal &s);
