// Components are created, and signals declared, in a fixed order: the order
// gives the serial numbers and component indices that the probes, the
// schematic and the gold runs see.
#include "model/Computer.h"

#include "components/msiPh1.h"
#include "components/ssiPh1.h"
#include "model/DataPath.h"
#include "model/Memory.h"
#include "model/MicroControl.h"
#include "model/MicroFields.h"
#include "model/Wiring.h"

using model::at;
using model::wire;

void Four_Phase_Clock(const SD &coord, const Signal &Reset, const Signal &Tick, const Signal &Phase) {
    Module(coord, "Four_Phase_Clock", (Reset, Tick), Phase);
    const Signal D1 = wire("D1"), Q1 = wire("Q1"), NQ0 = wire("NQ0"), NQ1 = wire("NQ1"), Q0 = wire("Q0");

    // Q1 Q0 count 00, 01, 10, 11 on the rising edges of Tick.
    Dff(at(coord, "aa"), (Zero, D1, Tick, Reset), Q1);
    Dff(at(coord, "ab"), (Zero, NQ0, Tick, Reset), Q0);
    Not(at(coord, "aa"), Q1, NQ1);
    Not(at(coord, "aa"), Q0, NQ0);
    Xor(at(coord, "ac"), (Q1, Q0), D1);
    // One phase line for each count.
    And(at(coord, "ba"), (NQ1, NQ0), Phase[3]);
    And(at(coord, "bb"), (NQ1, Q0), Phase[2]);
    And(at(coord, "bc"), (Q1, NQ0), Phase[1]);
    And(at(coord, "bd"), (Q1, Q0), Phase[0]);
}

void Computer(const SD &coord, const Signal &Tick, const Signal &Reset, const Signal &Phase, const Signal &R0,
              const Signal &R1, const Signal &R2, const Signal &R3, const Signal &R4, const Signal &R5,
              const Signal &R6, const Signal &R7, const Signal &R8, const Signal &R9, const Signal &R10,
              const Signal &R11, const Signal &R12, const Signal &R13, const Signal &R14, const Signal &R15,
              const Signal &ABus, const Signal &BBus, const Signal &ALatch, const Signal &BLatch,
              const Signal &AMUX, const Signal &ALUOut, const Signal &C, const Signal &N, const Signal &Z,
              const Signal &branch, const Signal &mir, const Signal &MPC, const Signal &MReq,
              const Signal &READ, const Signal &AddrBus, const Signal &CommOut, const Signal &mbr,
              const Signal &DataBus) {
    Module(coord, "Computer", (Tick, Reset),
           (Phase, R0, R1, R2, R3, R4, R5, R6, R7, R8, R9, R10, R11, R12, R13, R14, R15, ABus, BBus, ALatch,
            BLatch, AMUX, ALUOut, C, N, Z, branch, mir, MPC, MReq, READ, AddrBus, CommOut, mbr, DataBus));
    // The memory's enables, shown inside the memory only.
    const Signal ROMTri = wire("ROMTri"), RAMTri = wire("RAMTri"), RAMEn = wire("RAMEn"),
                 RAMRW = wire("RAMRW");

    Four_Phase_Clock(at(coord, "aa"), Reset, Tick, Phase);
    DataPath(at(coord, "aa"), mir, mbr, Phase, Reset, R0, R1, R2, R3, R4, R5, R6, R7, R8, R9, R10, R11, R12,
             R13, R14, R15, ABus, BBus, ALatch, BLatch, AMUX, ALUOut, C, N, Z);
    MIC_Comp(at(coord, "aa"), Reset, N, Z, Phase, branch, mir, MPC);
    Comm(at(coord, "aa"), Phase, fieldOf(mir, MicroField::RD), fieldOf(mir, MicroField::WR),
         fieldOf(mir, MicroField::MAR), fieldOf(mir, MicroField::MBR), BLatch, DataBus, C, MReq, READ,
         AddrBus, mbr, CommOut);
    Memory(at(coord, "aa"), MReq, READ, AddrBus, CommOut, DataBus, ROMTri, RAMEn, RAMRW, RAMTri);
}
