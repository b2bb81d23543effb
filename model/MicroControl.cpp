// Components are created, and signals declared, in a fixed order: the order
// gives the serial numbers and component indices that the probes, the
// schematic and the gold runs see.
#include "model/MicroControl.h"

#include <vector>

#include "components/msiPh1.h"
#include "components/ssiPh1.h"
#include "components/vlsiPh1.h"
#include "model/AluShifter.h"
#include "model/MicroFields.h"
#include "model/Wiring.h"

using model::at;
using model::wire;

namespace {

constexpr int fieldCount = static_cast<int>(std::size(microFields));

// One microinstruction's word from its fields, given in the order of microFields.
constexpr uint32_t wordOf(const unsigned (&fields)[fieldCount]) {
    uint32_t w = 0;
    for (const MicroFieldLayout &f : microFields)
        w |= fieldBits(f.field, fields[static_cast<int>(f.field)]);
    return w;
}

// Registers by number: 0 PC, 1 AC, 2 SP, 3 IR, 4 TIR, 5 (0), 6 (+1), 7 (-1),
// 8 AddrMASK, 9 DataMASK, 10-15 R10-R15.
// clang-format off
constexpr unsigned microprogram[][fieldCount] = {
    // {AMUX, COND, ALU, SH, MBR, MAR, RD, WR, ENC, C, B, A, ADDR}, // address: what the word does
    {0, 0, 2, 0, 0, 1, 1, 0, 0,  0,  0,  0,  0}, //  0: MAR := PC; RD
    {0, 0, 0, 0, 1, 0, 1, 0, 1,  0,  6,  0,  0}, //  1: PC := PC + (+1); MBR := data bus; RD
    {1, 1, 2, 0, 0, 0, 0, 0, 1,  3,  0,  0, 31}, //  2: IR := MBR; if N goto 31
    {0, 1, 0, 2, 0, 0, 0, 0, 1,  4,  3,  3, 22}, //  3: TIR := lshift(IR + IR); if N goto 22
    {0, 1, 2, 2, 0, 0, 0, 0, 1,  4,  0,  4, 13}, //  4: TIR := lshift(TIR); if N goto 13
    {0, 1, 2, 0, 0, 0, 0, 0, 0,  0,  0,  4,  9}, //  5: test TIR; if N goto 9
    {0, 0, 2, 0, 0, 1, 1, 0, 0,  0,  3,  0,  0}, //  6: MAR := IR; RD
    {0, 0, 2, 0, 1, 0, 1, 0, 0,  0,  0,  0,  0}, //  7: MBR := data bus; RD
    {1, 3, 2, 0, 0, 0, 0, 0, 1,  1,  0,  0,  0}, //  8: AC := MBR; goto 0
    {0, 0, 1, 0, 0, 0, 0, 0, 1,  3,  8,  3,  0}, //  9: IR := IR AND AddrMASK
    {0, 0, 2, 0, 1, 1, 0, 1, 0,  0,  3,  1,  0}, // 10: MAR := IR; MBR := AC; WR
    {0, 3, 2, 0, 0, 0, 0, 1, 0,  0,  0,  0,  0}, // 11: WR; goto 0
    {0, 1, 2, 0, 0, 0, 0, 0, 0,  0,  0,  4, 17}, // 12: test TIR; if N goto 17
    {0, 0, 1, 0, 0, 0, 0, 0, 1,  3,  8,  3,  0}, // 13: IR := IR AND AddrMASK
    {0, 0, 2, 0, 0, 1, 1, 0, 0,  0,  3,  0,  0}, // 14: MAR := IR; RD
    {0, 0, 2, 0, 1, 0, 1, 0, 0,  0,  0,  0,  0}, // 15: MBR := data bus; RD
    {1, 3, 0, 0, 0, 0, 0, 0, 1,  1,  1,  0,  0}, // 16: AC := MBR + AC; goto 0
    {0, 0, 1, 0, 0, 0, 0, 0, 1,  3,  8,  3,  0}, // 17: IR := IR AND AddrMASK
    {0, 0, 2, 0, 0, 1, 1, 0, 0,  0,  3,  0,  0}, // 18: MAR := IR; RD
    {0, 0, 0, 0, 0, 0, 1, 0, 1,  1,  6,  1,  0}, // 19: AC := AC + (+1); RD
    {1, 0, 3, 0, 0, 0, 0, 0, 1, 10,  0,  0,  0}, // 20: R10 := NOT MBR
    {0, 3, 0, 0, 0, 0, 0, 0, 1,  1, 10,  1,  0}, // 21: AC := AC + R10; goto 0
    {0, 1, 2, 2, 0, 0, 0, 0, 1,  4,  0,  4, 25}, // 22: TIR := lshift(TIR); if N goto 25
    {0, 1, 2, 0, 0, 0, 0, 0, 0,  0,  0,  4, 23}, // 23: test TIR; if N goto 23
    {0, 1, 2, 0, 0, 0, 0, 0, 0,  0,  0,  1, 27}, // 24: test AC; if N goto 27
    {0, 3, 1, 0, 0, 0, 0, 0, 1,  0,  8,  3,  0}, // 25: PC := IR AND AddrMASK; goto 0
    {0, 2, 2, 0, 0, 0, 0, 0, 0,  0,  0,  1, 22}, // 26: test AC; if Z goto 22
    {0, 3, 2, 0, 0, 0, 0, 0, 0,  0,  0,  0,  0}, // 27: goto 0
    {0, 1, 2, 0, 0, 0, 0, 0, 0,  0,  0,  4, 27}, // 28: test TIR; if N goto 27
    {0, 3, 1, 0, 0, 0, 0, 0, 1,  0,  8,  3,  0}, // 29: PC := IR AND AddrMASK; goto 0
    {0, 3, 1, 0, 0, 0, 0, 0, 1,  1,  8,  3,  0}, // 30: AC := IR AND AddrMASK; goto 0
    {0, 1, 0, 2, 0, 0, 0, 0, 1,  4,  3,  3, 40}, // 31: TIR := lshift(IR + IR); if N goto 40
    {0, 1, 2, 2, 0, 0, 0, 0, 1,  4,  0,  4, 35}, // 32: TIR := lshift(TIR); if N goto 35
    {0, 1, 2, 0, 0, 0, 0, 0, 0,  0,  0,  4, 33}, // 33: test TIR; if N goto 33
    {0, 0, 0, 0, 0, 0, 0, 0, 1, 10,  2,  3,  0}, // 34: R10 := IR + SP
    {0, 3, 2, 0, 0, 1, 1, 0, 0,  0, 10,  0,  7}, // 35: MAR := R10; RD; goto 7
    {0, 0, 0, 0, 0, 0, 0, 0, 1, 10,  2,  3,  0}, // 36: R10 := IR + SP
    {0, 3, 2, 0, 1, 1, 0, 1, 0,  0, 10,  1, 10}, // 37: MAR := R10; MBR := AC; WR; goto 10
    {0, 1, 2, 0, 0, 0, 0, 0, 0,  0,  0,  4, 38}, // 38: test TIR; if N goto 38
    {0, 0, 0, 0, 0, 0, 0, 0, 1, 10,  2,  3,  0}, // 39: R10 := IR + SP
    {0, 3, 2, 0, 0, 1, 1, 0, 0,  0, 10,  0, 13}, // 40: MAR := R10; RD; goto 13
    {0, 0, 0, 0, 0, 0, 0, 0, 1, 10,  2,  3,  0}, // 41: R10 := IR + SP
    {0, 3, 2, 0, 0, 1, 1, 0, 0,  0, 10,  0, 16}, // 42: MAR := R10; RD; goto 16
    {0, 1, 2, 2, 0, 0, 0, 0, 1,  4,  0,  4, 46}, // 43: TIR := lshift(TIR); if N goto 46
    {0, 1, 2, 0, 0, 0, 0, 0, 0,  0,  0,  4, 44}, // 44: test TIR; if N goto 44
    {0, 1, 2, 0, 0, 0, 0, 0, 0,  0,  0,  1, 22}, // 45: test AC; if N goto 22
    {0, 3, 2, 0, 0, 0, 0, 0, 0,  0,  0,  0,  0}, // 46: goto 0
    {0, 2, 2, 0, 0, 0, 0, 0, 0,  0,  0,  1,  0}, // 47: test AC; if Z goto 0
    {0, 3, 1, 0, 0, 0, 0, 0, 1,  0,  8,  3,  0}, // 48: PC := IR AND AddrMASK; goto 0
    {0, 1, 2, 2, 0, 0, 0, 0, 1,  4,  0,  4, 50}, // 49: TIR := lshift(TIR); if N goto 50
    {0, 0, 0, 0, 0, 0, 0, 0, 1,  2,  7,  2,  0}, // 50: SP := SP + (-1)
    {0, 0, 2, 0, 1, 1, 0, 1, 0,  0,  2,  0,  0}, // 51: MAR := SP; MBR := PC; WR
    {0, 3, 1, 0, 0, 0, 0, 1, 1,  0,  8,  3,  0}, // 52: PC := IR AND AddrMASK; WR; goto 0
    {0, 1, 2, 2, 0, 0, 0, 0, 1,  4,  0,  4, 65}, // 53: TIR := lshift(TIR); if N goto 65
    {0, 1, 2, 2, 0, 0, 0, 0, 1,  4,  0,  4, 59}, // 54: TIR := lshift(TIR); if N goto 59
    {0, 1, 2, 0, 0, 0, 0, 0, 0,  0,  0,  4, 56}, // 55: test TIR; if N goto 56
    {0, 0, 2, 0, 0, 1, 1, 0, 0,  0,  1,  0,  0}, // 56: MAR := AC; RD
    {0, 0, 0, 0, 0, 0, 1, 0, 1,  2,  7,  2,  0}, // 57: SP := SP + (-1); RD
    {0, 3, 2, 0, 0, 1, 0, 1, 0,  0,  2,  0, 10}, // 58: MAR := SP; WR; goto 10
    {0, 0, 0, 0, 0, 1, 1, 0, 1,  2,  6,  2,  0}, // 59: MAR := (+1); SP := SP + (+1); RD
    {0, 0, 2, 0, 0, 0, 1, 0, 0,  0,  0,  0,  0}, // 60: RD
    {0, 3, 2, 0, 0, 1, 0, 1, 0,  0,  1,  0, 10}, // 61: MAR := AC; WR; goto 10
    {0, 1, 2, 0, 0, 0, 0, 0, 0,  0,  0,  4, 62}, // 62: test TIR; if N goto 62
    {0, 0, 0, 0, 0, 0, 0, 0, 1,  2,  7,  2,  0}, // 63: SP := SP + (-1)
    {0, 3, 2, 0, 1, 1, 0, 1, 0,  0,  2,  1, 10}, // 64: MAR := SP; MBR := AC; WR; goto 10
    {0, 0, 0, 0, 1, 1, 1, 0, 1,  2,  6,  2,  0}, // 65: MAR := (+1); SP := SP + (+1); MBR := data bus; RD
    {0, 0, 2, 0, 0, 0, 1, 0, 0,  0,  0,  0,  0}, // 66: RD
    {1, 3, 2, 0, 0, 0, 0, 0, 1,  1,  0,  0,  0}, // 67: AC := MBR; goto 0
    {0, 1, 2, 2, 0, 0, 0, 0, 1,  4,  0,  4, 73}, // 68: TIR := lshift(TIR); if N goto 73
    {0, 1, 2, 0, 0, 0, 0, 0, 0,  0,  0,  4, 70}, // 69: test TIR; if N goto 70
    {0, 0, 0, 0, 0, 1, 1, 0, 1,  2,  6,  2,  0}, // 70: MAR := (+1); SP := SP + (+1); RD
    {0, 0, 2, 0, 1, 0, 1, 0, 0,  0,  0,  0,  0}, // 71: MBR := data bus; RD
    {1, 3, 2, 0, 0, 0, 0, 0, 1,  0,  0,  0,  0}, // 72: PC := MBR; goto 0
    {0, 0, 2, 0, 0, 0, 0, 0, 1, 10,  0,  1,  0}, // 73: R10 := AC
    {0, 0, 2, 0, 0, 0, 0, 0, 1,  1,  0,  2,  0}, // 74: AC := SP
    {0, 3, 2, 0, 0, 0, 0, 0, 1,  2,  0, 10,  0}, // 75: SP := R10; goto 0
    {0, 1, 2, 0, 0, 0, 0, 0, 0,  0,  0,  4, 76}, // 76: test TIR; if N goto 76
    {0, 0, 1, 0, 0, 0, 0, 0, 1, 10,  9,  3,  0}, // 77: R10 := IR AND DataMASK
    {0, 3, 0, 0, 0, 0, 0, 0, 1,  2, 10,  2,  0}, // 78: SP := SP + R10; goto 0
    {0, 0, 1, 0, 0, 0, 0, 0, 1, 10,  9,  3,  0}, // 79: R10 := IR AND DataMASK
    {0, 0, 3, 0, 0, 0, 0, 0, 1, 10,  0, 10,  0}, // 80: R10 := NOT R10
    {0, 3, 0, 0, 0, 0, 0, 0, 1, 10,  6, 10, 75}, // 81: R10 := R10 + (+1); goto 75
};
// clang-format on

// Four bytes a word, the most significant first, as the ROM reads them.
std::vector<unsigned char> controlStoreBytes() {
    std::vector<unsigned char> bytes;
    bytes.reserve(4 * controlStoreWords);
    for (const uint32_t word : controlStore())
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.push_back(static_cast<unsigned char>(word >> shift));
    return bytes;
}

} // namespace

const std::array<uint32_t, controlStoreWords> &controlStore() {
    static const std::array<uint32_t, controlStoreWords> words = [] {
        std::array<uint32_t, controlStoreWords> all{};
        for (size_t k = 0; k < std::size(microprogram); ++k)
            all[k] = wordOf(microprogram[k]);
        return all;
    }();
    return words;
}

void MIC2(const SD &coord, const Signal &a, const Signal &d) {
    Module(coord, "MIC2", a, d);
    const std::vector<unsigned char> bytes = controlStoreBytes();
    Rom(at(coord, "aa"), a.sub(6, 0), d, controlStoreWords, 32, bytes.data());
}

void MIC_Comp(const SD &coord, const Signal &Reset, const Signal &N, const Signal &Z, const Signal &Phase,
              const Signal &branch, const Signal &MIR, const Signal &MPC) {
    Module(coord, "MIC_Comp", (Reset, N, Z, Phase), (branch, MIR, MPC));
    const Signal cOut5 = wire("cOut5"), not30 = wire("not30"), notPhase1 = wire("notPhase1"),
                 cOut7 = wire("cOut7"), cOut6 = wire("cOut6"), cOut2 = wire("cOut2");
    const Signal C(32, "C"); // the control store's output
    const Signal cOut0 = wire("cOut0"), jmpN = wire("jmpN"), not29 = wire("not29"),
                 jmpAlways = wire("jmpAlways");
    const Signal out(8, "out"); // MPC + 1
    const Signal jmpZ = wire("jmpZ"), notnotPhase1 = wire("notnotPhase1"), cOut4 = wire("cOut4"),
                 cOut3 = wire("cOut3"), cOut1 = wire("cOut1");
    const Signal MmuxOut(8, "MmuxOut"); // the next address
    const Signal *const carry[] = {&cOut0, &cOut1, &cOut2, &cOut3, &cOut4, &cOut5, &cOut6, &cOut7};

    MIC2(at(coord, "aa"), MPC, C);
    // MIR takes the word as Phase[3] (Ph1) rises, two inverters later.
    Not(at(coord, "aa"), Phase[3], notPhase1);
    Not(at(coord, "aa"), notPhase1, notnotPhase1);
    Register(at(coord, "aa"), One, notnotPhase1, C, MIR);
    // The condition field against the flags: cond1 is MIR[30], cond0 MIR[29].
    const Signal cond = fieldOf(MIR, MicroField::COND);
    const Signal cond1 = cond[1], cond0 = cond[0];
    Not(at(coord, "aa"), cond1, not30);
    Not(at(coord, "aa"), cond0, not29);
    And(at(coord, "aa"), (cond1, cond0), jmpAlways);
    And(at(coord, "aa"), (Z, cond1, not29), jmpZ);
    And(at(coord, "aa"), (N, not30, cond0), jmpN);
    Or(at(coord, "aa"), (jmpAlways, jmpZ, jmpN), branch);
    Mux(at(coord, "aa"), branch, (fieldOf(MIR, MicroField::ADDR), out), MmuxOut);
    // MPC + 1 by a ripple of full adders; the carry out of bit 7 is dropped.
    for (int i = 0; i < 8; ++i)
        Full_Adder(at(coord, "aa"), i == 0 ? Zero : *carry[i - 1], MPC[i], i == 0 ? One : Zero, *carry[i],
                   out[i]);
    // MPC takes the next address as Phase[0] (Ph4) rises; Reset holds it at zero.
    for (int i = 0; i < 8; ++i)
        Dff(at(coord, "aa"), (Zero, MmuxOut[i], Phase[0], Reset), MPC[i]);
}
