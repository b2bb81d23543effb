// The computer's data path: sixteen registers, the A and B buses and
// latches, the A multiplexer, the ALU, the shifter and the write-back of the
// shifter output (the C bus) into the register the microinstruction names.
#pragma once

#include "core/Schmtc.h"
#include "core/Signal.h"

// A 16-bit register of D flip-flops: out takes in at each rising edge of clk
// and is held at zero while reset is ONE.
void BASEREG16(const SD &coord, const Signal &in, const Signal &clk, const Signal &reset, const Signal &out);

// The data path under the microinstruction mir (32 bits) and the four clock
// phases; mbr is the memory buffer register, the A multiplexer's other input.
// Every register, bus, latch, the ALU result, the C bus and the flags N and Z
// are outputs, so that the top level can show them.
void DataPath(const SD &coord, const Signal &mir, const Signal &mbr, const Signal &Phase, const Signal &reset,
              const Signal &R0, const Signal &R1, const Signal &R2, const Signal &R3, const Signal &R4,
              const Signal &R5, const Signal &R6, const Signal &R7, const Signal &R8, const Signal &R9,
              const Signal &R10, const Signal &R11, const Signal &R12, const Signal &R13, const Signal &R14,
              const Signal &R15, const Signal &ABus, const Signal &BBus, const Signal &ALatch,
              const Signal &BLatch, const Signal &AMUX, const Signal &ALUOut, const Signal &C,
              const Signal &N, const Signal &Z);
