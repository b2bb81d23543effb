// The circuit linked with the program: the computer, its two keyboard
// switches ('0' the clock, '1' the reset) and the probes that show its
// registers, buses, microinstruction and memory lines.
#include "components/RomFiles.h"
#include "components/ssiPh1.h"
#include "core/Schmtc.h"
#include "core/Signal.h"
#include "core/Sim.h"
#include "model/Assembler.h"
#include "model/Computer.h"
#include "model/MicroFields.h"
#include "model/MicroTable.h"

namespace {

// A top-level place of the schematic.
SD top(const char *position) {
    return SD(position, nullptr);
}

// Eight bits of a bus, the highest first, as one row of value bars.
void showByte(const char *position, const Signal &bus, int highBit, const char *label) {
    ProbeByteH(top(position), bus.sub(highBit, highBit - 7), label);
}

// A 16-bit register or bus as two rows of bars, the high byte first.
struct WordPanes {
    const Signal &word;
    const char *highPosition, *highLabel, *lowPosition, *lowLabel;
};

void showWord(const WordPanes &panes) {
    showByte(panes.highPosition, panes.word, 15, panes.highLabel);
    showByte(panes.lowPosition, panes.word, 7, panes.lowLabel);
}

// The places of the microinstruction's probes, from bit 31 down; each probe
// is labelled by its field.
constexpr const char *microinstructionProbePlaces[32] = {
    "ao",    "ap.aa", "ap.ab", "aq.aa", "aq.ab", "ar.aa", "ar.ab", "as.aa", "as.ab", "at.aa", "at.ab",
    "au.aa", "av.aa", "av.ab", "aw.aa", "aw.ab", "bs.aa", "bs.ab", "bt.aa", "bt.ab", "bu.aa", "bu.ab",
    "bv.aa", "bv.ab", "bw.aa", "bw.ab", "bx.aa", "bx.ab", "by.aa", "by.ab", "bz.aa", "bz.ab",
};

// One probe per bit of a bus.
struct BitProbe {
    int bit;
    const char *position, *label;
};

// clang-format off
// The micro program counter's bits, labelled so that the three letters read "MPC".
constexpr BitProbe mpcProbes[] = {
    {7, "dw.aa", "M"}, {6, "dw.ab", "P"}, {5, "dx.aa", "C"}, {4, "dx.ab", ""},
    {3, "dy.aa", ""},  {2, "dy.ab", ""},  {1, "dz.aa", ""},  {0, "dz.ab", ""},
};
// clang-format on

void showBits(const Signal &bus, const BitProbe *first, const BitProbe *last) {
    for (const BitProbe *p = first; p != last; ++p)
        Probe(top(p->position), bus[p->bit], p->label);
}

// The microinstruction's bits, the most significant first.
void showMicroinstruction(const Signal &mir) {
    for (const MicroFieldLayout &f : microFields)
        for (int bit = f.high; bit >= f.low; --bit)
            Probe(top(microinstructionProbePlaces[31 - bit]), mir[bit], f.probe);
}

} // namespace

void simnet() {
    // Declared in this order: it fixes the serial numbers.
    const Signal MReq(1, "MReq"), N(1, "N"), mir(32, "mir"), R2(16, "R2"), BBus(16, "BBus"), Z(1, "Z"),
        branch(1, "branch"), ALUOut(16, "ALUOut"), C(16, "C"), MPC(8, "MPC"), R5(16, "R5"), mbr(16, "mbr"),
        R12(16, "R12"), R1(16, "R1"), Tick(1, "Tick"), R7(16, "R7"), AddrBus(16, "AddrBus"), R9(16, "R9"),
        READ(1, "READ"), R4(16, "R4"), BLat(16, "BLat"), R6(16, "R6"), ABus(16, "ABus"), R10(16, "R10"),
        Reset(1, "Reset"), R13(16, "R13"), Phase(4, "Phase"), DataBus(16, "DataBus"), R3(16, "R3"),
        ALat(16, "ALat"), R14(16, "R14"), AMUX(16, "AMUX"), CommOut(16, "CommOut"), R15(16, "R15"),
        R0(16, "R0"), R8(16, "R8"), R11(16, "R11");

    Switch(top("hw-hx"), Tick, '0', Zero, "Clk");
    Switch(top("hy-hz"), Reset, '1', Zero, "Rst");
    Computer(top("eo-hr"), Tick, Reset, Phase, R0, R1, R2, R3, R4, R5, R6, R7, R8, R9, R10, R11, R12, R13,
             R14, R15, ABus, BBus, ALat, BLat, AMUX, ALUOut, C, N, Z, branch, mir, MPC, MReq, READ, AddrBus,
             CommOut, mbr, DataBus);

    Probe(top("gw"), Phase[3], "Ph1");
    Probe(top("gx"), Phase[2], "Ph2");
    Probe(top("gy"), Phase[1], "Ph3");
    Probe(top("gz"), Phase[0], "Ph4");

    const WordPanes registers[] = {
        {R0, "aa-bd", "R0", "ad-bg", "PC"},           {R1, "ba-cd", "R1", "bd-cg", "AC"},
        {R2, "ca-dd", "R2", "cd-dg", "SP"},           {R3, "da-ed", "R3", "dd-eg", "IR"},
        {R4, "ea-fd", "R4", "ed-fg", "TIR"},          {R5, "fa-gd", "R5", "fd-gg", "0"},
        {R6, "ga-hd", "R6", "gd-hg", "+1"},           {R7, "ha-id", "R7", "hd-ig", "-1"},
        {R8, "ah-bk", "R8", "ak-bn", "AddrMASK"},     {R9, "bh-ck", "R9", "bk-cn", "DataMASK"},
        {R10, "ch-dk", "R10", "ck-dn", "A-GenReg"},   {R11, "dh-ek", "R11", "dk-en", "B-GenReg"},
        {R12, "eh-fk", "R12", "ek-fn", "C-GenReg"},   {R13, "fh-gk", "R13", "fk-gn", "R13-GenReg"},
        {R14, "gh-hk", "R14", "gk-hn", "R14-GenReg"}, {R15, "hh-ik", "R15", "hk-in", "R15-GenReg"},
    };
    for (const WordPanes &panes : registers)
        showWord(panes);

    showWord({ABus, "jh-km", "A-Bus[1]", "jl-kq", "A-Bus[2]"});
    showWord({ALat, "kh-lm", "A-Latch[1]", "kl-lq", "A-Latch[2]"});
    showWord({BBus, "jq-kv", "B-Bus[1]", "ju-kz", "B-Bus[2]"});
    showWord({BLat, "kq-lv", "B-Latch[1]", "ku-lz", "B-Latch[2]"});
    showWord({AMUX, "lh-mm", "A-Mux[1]", "ll-mq", "A-Mux[2]"});
    Probe(top("nk-ol"), N, "N");
    Probe(top("ok-pl"), Z, "Z");
    showWord({ALUOut, "nm-os", "ALU[1]", "nr-ox", "ALU[2]"});
    showWord({C, "om-ps", "SHF[1]", "or-px", "SHF[2]"});

    showMicroinstruction(mir);
    Probe(top("dt-du"), branch, "BRA?");
    showBits(MPC, std::begin(mpcProbes), std::end(mpcProbes));

    showWord({AddrBus, "ja-ke", "MAR[1]", "jd-kh", "MAR[2]"});
    showWord({mbr, "ka-le", "MBR[1]", "kd-lh", "MBR[2]"});
    Probe(top("ma-mb"), MReq, "MReq");
    Probe(top("mc-md"), READ, "RD");
    showWord({CommOut, "na-oe", "CPUWrData[1]", "nd-oh", "CPUWrData[2]"});
    showWord({DataBus, "qa-re", "DataBus[1]", "qd-rh", "DataBus[2]"});

    // Option -R: assembly for the program ROM, microprogram tables for the
    // control store; the summary names the instruction at PC (R0).
    addRomFileKind({".asm", assembleProgram, describeProgramCounter});
    addRomFileKind({".mic", readMicroprogram, nullptr});
    setProgramCounter(R0);
}
