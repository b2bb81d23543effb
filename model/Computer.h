// The whole computer: the four-phase clock and the blocks it drives.
#pragma once

#include "core/Schmtc.h"
#include "core/Signal.h"

// A two-bit counter advanced by each rising edge of Tick and cleared by
// Reset, decoded one-hot onto Phase: Phase[3] (Ph1), Phase[2] (Ph2),
// Phase[1] (Ph3), Phase[0] (Ph4), in that order.
void Four_Phase_Clock(const SD &coord, const Signal &Reset, const Signal &Tick, const Signal &Phase);

// The computer: clock, data path, control unit, memory interface and memory.
// Tick and Reset are its inputs; every other port shows an internal bus.
void Computer(const SD &coord, const Signal &Tick, const Signal &Reset, const Signal &Phase, const Signal &R0,
              const Signal &R1, const Signal &R2, const Signal &R3, const Signal &R4, const Signal &R5,
              const Signal &R6, const Signal &R7, const Signal &R8, const Signal &R9, const Signal &R10,
              const Signal &R11, const Signal &R12, const Signal &R13, const Signal &R14, const Signal &R15,
              const Signal &ABus, const Signal &BBus, const Signal &ALatch, const Signal &BLatch,
              const Signal &AMUX, const Signal &ALUOut, const Signal &C, const Signal &N, const Signal &Z,
              const Signal &branch, const Signal &mir, const Signal &MPC, const Signal &MReq,
              const Signal &READ, const Signal &AddrBus, const Signal &CommOut, const Signal &mbr,
              const Signal &DataBus);
