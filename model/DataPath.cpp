// Components are created, and signals declared, in a fixed order: the order
// gives the serial numbers and component indices that the probes, the
// schematic and the gold runs see.
#include "model/DataPath.h"

#include "components/msiPh1.h"
#include "components/ssiPh1.h"
#include "model/AluShifter.h"
#include "model/MicroFields.h"
#include "model/Wiring.h"

using model::at;
using model::wire;

void BASEREG16(const SD &coord, const Signal &in, const Signal &clk, const Signal &reset, const Signal &out) {
    Module(coord, "BASEREG16", (in, clk, reset), out);
    // The flip-flop's inputs from the top: set, data, clock, reset.
    for (int i = 0; i < 16; ++i)
        Dff(at(coord, "aa"), (Zero, in[i], clk, reset), out[i]);
}

void DataPath(const SD &coord, const Signal &mir, const Signal &mbr, const Signal &Phase, const Signal &reset,
              const Signal &R0, const Signal &R1, const Signal &R2, const Signal &R3, const Signal &R4,
              const Signal &R5, const Signal &R6, const Signal &R7, const Signal &R8, const Signal &R9,
              const Signal &R10, const Signal &R11, const Signal &R12, const Signal &R13, const Signal &R14,
              const Signal &R15, const Signal &ABus, const Signal &BBus, const Signal &ALatch,
              const Signal &BLatch, const Signal &AMUX, const Signal &ALUOut, const Signal &C,
              const Signal &N, const Signal &Z) {
    const Signal registers = (R15, R14, R13, R12, R11, R10, R9, R8, R7, R6, R5, R4, R3, R2, R1, R0);
    Module(coord, "DataPath", (mir, mbr, Phase, reset),
           (R0, R1, R2, R3, R4, R5, R6, R7, R8, R9, R10, R11, R12, R13, R14, R15, ABus, BBus, ALatch, BLatch,
            AMUX, ALUOut, C, N, Z));
    const Signal enableDecoder = wire("enableDecoder");
    const Signal decOut(16, "decOut");
    const Signal notDecOut15 = wire("notDecOut15"), notPhase2 = wire("notPhase2"),
                 notDecOut12 = wire("notDecOut12"), notDecOut14 = wire("notDecOut14"),
                 notDecOut10 = wire("notDecOut10"), notnotPhase2 = wire("notnotPhase2"),
                 notDecOut13 = wire("notDecOut13"), notDecOut11 = wire("notDecOut11");

    // Registers 0-4 (PC, AC, SP, IR, TIR) take C as their decoder line rises.
    const Signal *const resettable[] = {&R0, &R1, &R2, &R3, &R4};
    for (int k = 0; k < 5; ++k)
        BASEREG16(at(coord, "aa"), C, decOut[k], reset, *resettable[k]);

    // Registers 5-9 are constants: inverted masks, each mask made just before its inverter.
    const struct {
        unsigned mask;
        const char *name;
        const Signal &out;
    } constants[] = {{0xFF00, "temp1", R9},
                     {0xF000, "temp2", R8},
                     {0x0000, "temp3", R7},
                     {0xFFFE, "temp4", R6},
                     {0xFFFF, "temp5", R5}};
    for (const auto &constant : constants) {
        const Signal mask(16, constant.mask, constant.name);
        Not(at(coord, "bb"), mask, constant.out);
    }

    // Registers 10-15 take C as their decoder line falls, at the end of Ph4.
    const Signal *const plain[] = {&R10, &R11, &R12, &R13, &R14, &R15};
    const Signal *const inverted[] = {&notDecOut10, &notDecOut11, &notDecOut12,
                                      &notDecOut13, &notDecOut14, &notDecOut15};
    for (int k = 0; k < 6; ++k)
        Not(at(coord, "aa"), decOut[10 + k], *inverted[k]);
    for (int k = 0; k < 6; ++k)
        Register(at(coord, "aa"), One, *inverted[k], C, *plain[k]);

    // Write-back: the C field's register while Phase[0] (Ph4) and ENC are ONE.
    And(at(coord, "aa"), (Phase[0], fieldOf(mir, MicroField::ENC)), enableDecoder);
    Decoder(at(coord, "aa"), enableDecoder, fieldOf(mir, MicroField::C), decOut);
    // The A and B fields pick the registers on the buses.
    Mux(at(coord, "aa"), fieldOf(mir, MicroField::A), registers, ABus);
    Mux(at(coord, "aa"), fieldOf(mir, MicroField::B), registers, BBus);
    // The latches take the buses as Phase[2] (Ph2) rises, two inverters later.
    Not(at(coord, "aa"), Phase[2], notPhase2);
    Not(at(coord, "aa"), notPhase2, notnotPhase2);
    Register(at(coord, "aa"), One, notnotPhase2, ABus, ALatch);
    Register(at(coord, "aa"), One, notnotPhase2, BBus, BLatch);
    // AMUX picks the A latch or the memory buffer register.
    Mux(at(coord, "aa"), fieldOf(mir, MicroField::AMUX), (mbr, ALatch), AMUX);
    ALU16(at(coord, "aa"), AMUX, BLatch, fieldOf(mir, MicroField::ALU), ALUOut, N, Z);
    SHIFTER16(at(coord, "aa"), ALUOut, fieldOf(mir, MicroField::SH), C);
}
