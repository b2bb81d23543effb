// The computer linked into the program, built through simnet and run in-process
// the way the program runs it without a window: its structure, the clock and
// reset, the control unit's sequencing and the first instructions' results.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ModelHarness.h"
#include "core/Ph2.h"
#include "core/Sim.h"
#include "model/MicroControl.h"

namespace {

// The phase lines from Phase[3] (Ph1) down to Phase[0] (Ph4) as four bits.
uint32_t phase() {
    return wordOf(busNamed("Phase")).value_or(0xFF);
}

// Starts the computer and presses the keys, each followed by the settling.
void startAndPress(const std::string &keys) {
    startHeadless(simnet);
    pressAndSettle(keys);
}

TEST(ComputerStructure, CountsAndNoWarnings) {
    const std::string out = startHeadless(simnet);
    EXPECT_EQ(out.rfind("There are 866 components.\nThere are 1162 signals.\n", 0), 0u) << out.substr(0, 200);
    EXPECT_EQ(out.find("arning"), std::string::npos) << "no connectivity warning expected";
}

TEST(ComputerStructure, ComponentsByGraphicLevel) {
    startHeadless(simnet);
    std::map<int, int> byLevel;
    for (const int level : phaseTwo->graphicLevel)
        ++byLevel[level];
    EXPECT_EQ(byLevel, (std::map<int, int>{{1, 106}, {2, 5}, {3, 216}, {4, 187}, {5, 272}, {6, 80}}));
}

TEST(ComputerStructure, ModuleBoxesByTag) {
    startHeadless(simnet);
    const std::map<std::string, int> expected = {{"Computer", 1},
                                                 {"Four_Phase_Clock", 1},
                                                 {"DataPath", 1},
                                                 {"BASEREG16", 6},
                                                 {"ALU16", 1},
                                                 {"One_Bit_ALU", 16},
                                                 {"Full_Adder", 24},
                                                 {"SHIFTER16", 1},
                                                 {"One_Bit_Shifter", 16},
                                                 {"MIC_Comp", 1},
                                                 {"MIC2", 1},
                                                 {"Comm", 1},
                                                 {"Memory", 1}};
    std::map<std::string, int> boxes;
    for (const auto &decal : phaseTwo->decal)
        if (expected.count(decal))
            ++boxes[decal];
    EXPECT_EQ(boxes, expected);
}

// Creation order fixes component indices and serial numbers; these are the
// first of each block and the last of all.
TEST(ComputerStructure, IndicesAndSerialsAtModuleBoundaries) {
    startHeadless(simnet);
    const struct {
        int cind;
        const char *decal, *position;
    } components[] = {
        {0, "0:Clk", "hw-hx"},
        {1, "1:Rst", "hy-hz"},
        {2, "Computer", "eo-hr"},
        {3, "Four_Phase_Clock", "eo-hr.aa"},
        {13, "DataPath", "eo-hr.aa"},
        {14, "BASEREG16", "eo-hr.aa.aa"},
        {200, "ALU16", "eo-hr.aa.aa"},
        {201, "One_Bit_ALU", "eo-hr.aa.aa.1a"},
        {205, "Full_Adder", "eo-hr.aa.aa.1a.1a"},
        {491, "SHIFTER16", "eo-hr.aa.aa"},
        {604, "MIC_Comp", "eo-hr.aa"},
        {605, "MIC2", "eo-hr.aa.aa"},
        {673, "Comm", "eo-hr.aa"},
        {719, "Memory", "eo-hr.aa"},
    };
    for (const auto &c : components) {
        EXPECT_EQ(std::string(phaseTwo->decal[c.cind]), c.decal) << c.cind;
        EXPECT_EQ(std::string(phaseTwo->rcpos[c.cind]), c.position) << c.cind;
    }
    const struct {
        int serial;
        const char *name;
    } signals[] = {
        {2, "MReq[0]"},       {4, "mir[0]"},      {174, "Tick[0]"},          {484, "R11[15]"},
        {485, "ROMTri[0]"},   {489, "D1[0]"},     {494, "enableDecoder[0]"}, {519, "temp1[0]"},
        {599, "c_out12[0]"},  {1015, "cOut5[0]"}, {1102, "MuxOutput[0]"},    {1126, "_enTriROM[0]"},
        {1161, "Ram2Out[7]"},
    };
    for (const auto &s : signals)
        EXPECT_EQ(std::string(phaseTwo->signalNames[s.serial]), s.name) << s.serial;
}

TEST(ComputerClock, ResetHoldsThePhaseCounterAtPh1) {
    startAndPress("1");
    for (int press = 1; press <= 6; ++press) {
        pressAndSettle("0");
        EXPECT_EQ(valueOf(busNamed("Tick")[0]), press % 2 ? ONE : ZERO) << press;
        EXPECT_EQ(phase(), 0b1000u) << "press " << press;
    }
}

// After the reset, odd presses (Tick rising) advance the phase Ph1, Ph2,
// Ph3, Ph4, Ph1 ...; even ones change nothing; one line is ONE at a time.
TEST(ComputerClock, ExactlyOnePhaseLineWhenSettled) {
    startAndPress("11");
    EXPECT_EQ(phase(), 0b1000u);
    const uint32_t next[] = {0b0100, 0b0010, 0b0001, 0b1000};
    for (int press = 1; press <= 64; ++press) {
        const uint32_t before = phase();
        pressAndSettle("0");
        ASSERT_TRUE(settled());
        const uint32_t expected = press % 2 ? next[(press / 2) % 4] : before;
        EXPECT_EQ(phase(), expected) << "press " << press;
    }
}

TEST(ComputerControl, FlipFlopsAreXxxUntilTheFirstReset) {
    startHeadless(simnet);
    EXPECT_FALSE(wordOf(busNamed("MPC")).has_value());
    EXPECT_FALSE(wordOf(busNamed("R0")).has_value());
}

TEST(ComputerControl, ResetSequenceLoadsWordZeroAtAddressZero) {
    startAndPress("11");
    EXPECT_EQ(wordOf(busNamed("mir")), controlStore()[0]);
    EXPECT_EQ(wordOf(busNamed("MPC")), 0u);
}

// Right after '1' '1': the resettable registers cleared, the constants valid,
// registers 10-15 holding the undefined C bus they took as the reset lowered
// their write lines, and the latches and MAR not yet loaded at all.
TEST(ComputerDataPath, RegistersRightAfterTheReset) {
    startAndPress("11");
    const struct {
        const char *bus;
        std::optional<uint32_t> word; // none: every bit holds value
        SignalValue value;
    } expected[] = {
        {"R0", 0x0000, ONE},
        {"R1", 0x0000, ONE},
        {"R2", 0x0000, ONE},
        {"R3", 0x0000, ONE},
        {"R4", 0x0000, ONE},
        {"R5", 0x0000, ONE},
        {"R6", 0x0001, ONE},
        {"R7", 0xFFFF, ONE},
        {"R8", 0x0FFF, ONE},
        {"R9", 0x00FF, ONE},
        {"R10", {}, XXX},
        {"R15", {}, XXX},
        {"ALat", {}, UNINITIALIZED},
        {"BLat", {}, UNINITIALIZED},
        {"AddrBus", {}, UNINITIALIZED},
        {"mbr", {}, XXX},
    };
    for (const auto &e : expected) {
        const std::vector<int> bus = busNamed(e.bus);
        ASSERT_EQ(bus.size(), 16u) << e.bus;
        if (e.word) {
            EXPECT_EQ(wordOf(bus), e.word) << e.bus;
            continue;
        }
        for (const int serial : bus)
            EXPECT_EQ(valueOf(serial), e.value) << e.bus;
    }
}

// One microinstruction is eight presses: MPC steps at Ph4, MIR loads at Ph1.
TEST(ComputerControl, EightPressesRunOneMicroinstruction) {
    startAndPress("11");
    pressAndSettle(std::string(8, '0'));
    EXPECT_EQ(wordOf(busNamed("MPC")), 1u);
    EXPECT_EQ(wordOf(busNamed("mir")), controlStore()[1]);
    EXPECT_EQ(phase(), 0b1000u);
}

// The program: load 0xAAAA, store it at RAM word 8, load 0xFFFF, load word 8.
TEST(ComputerProgram, AccumulatorAfterTheFirstInstructions) {
    startAndPress("11");
    const struct {
        int presses;
        uint32_t ac;
    } checkpoints[] = {{72, 0xAAAA}, {216, 0xFFFF}, {288, 0xAAAA}};
    int done = 0;
    for (const auto &c : checkpoints) {
        pressAndSettle(std::string(c.presses - done, '0'));
        done = c.presses;
        EXPECT_EQ(wordOf(busNamed("R1")), c.ac) << "after " << c.presses << " presses";
    }
}

// Presses '0' until the phase is the given one, Tick high (just after its edge).
void pressUntilPhase(uint32_t wanted) {
    for (int press = 0; press < 8 && !(phase() == wanted && valueOf(busNamed("Tick")[0]) == ONE); ++press)
        pressAndSettle("0");
    ASSERT_EQ(phase(), wanted);
}

// The control store sees seven address bits and the incrementer wraps at 256:
// MPC 127 runs into 128, which reads word 0; 255 runs into 0.
TEST(ComputerControl, MicroAddressesWrap) {
    startAndPress("11");
    const struct { uint32_t forced, following; } cases[] = {{127, 128}, {255, 0}};
    for (const auto &c : cases) {
        pressUntilPhase(0b0001); // Ph4: MPC has just taken its next address
        forceAndSettle(busNamed("MPC"), c.forced);
        pressAndSettle("0");
        pressUntilPhase(0b1000);
        EXPECT_EQ(wordOf(busNamed("mir")), controlStore()[c.forced % 128]) << c.forced;
        pressUntilPhase(0b0001);
        EXPECT_EQ(wordOf(busNamed("MPC")), c.following) << c.forced;
        pressAndSettle("0");
        pressUntilPhase(0b1000);
        EXPECT_EQ(wordOf(busNamed("mir")), controlStore()[c.following % 128]) << c.forced;
    }
}

} // namespace
