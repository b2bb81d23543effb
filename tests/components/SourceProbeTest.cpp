// Stimulus and observation components: their registration, key bindings,
// timelines through the kernel, probe lines without a display and the
// capture and drawing errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Harness.h"
#include "components/ssiPh1.h"
#include "components/ssiRT.h"
#include "core/Ph1.h"
#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/Ph4.h"
#include "core/RunTime.h"
#include "core/cmdLine.h"
#include "display/iconData.h"

namespace {

constexpr SignalValue Z = ZERO, U = UNINITIALIZED, X = XXX, H = HIZ, O = ONE;

std::vector<std::string> decals() {
    std::vector<std::string> result;
    for (const ComponentNode *n : captured())
        result.push_back(n->decal);
    return result;
}

// Presses the key bound to component cind at the present time.
void press(int cind) {
    phaseTwo->xEventTriggered[cind](cind);
}

// ---- Registration ----

TEST(SourceCapture, RegistrationTable) {
    freshHeadlessNetlist();
    const Signal s(1, "S"), p(1, "P"), w(1, "W"), c(1, "C"), in(2, "In"), out(3, "Out");
    const SD sd("aa", nullptr);
    Switch(sd, s, 'k', One, "Run");
    PowerOn(sd, w, 25, Zero);
    Pulser(sd, p, 'q', 20, One);
    Module(sd, in, out);
    Module(sd, "Alu", in, out);
    Stop(sd, s);
    Clock(sd, c, 5, 3, 20, Zero);
    Space(sd);
    const struct {
        const char *decal;
        ComponentFunction evaluate, draw, key;
        int overloadable, selfActivating;
        const int *icon;
        std::vector<int> data, out, parameters;
    } expected[] = {
        {"k:Run", nullptr, switchPane, toggleSwitch, 0, 1, rectIcon, {}, serials(s), {1}},
        {"PowerOn", powerOn, switchPane, nullptr, 0, 1, rectIcon, {}, serials(w), {25, 0}},
        {"q", nullptr, switchPane, togglePulser, 0, 1, rectIcon, {}, serials(p), {20, 1}},
        {"Module", nullptr, nullptr, nullptr, 1, 0, rectIcon, serials(in), serials(out), {}},
        {"Alu", nullptr, nullptr, nullptr, 1, 0, rectIcon, serials(in), serials(out), {}},
        {"Stop", stop, nullptr, nullptr, 0, 0, rectIcon, serials(s), {}, {}},
        {"Clock", clock, switchPane, nullptr, 0, 1, rectIcon, {}, serials(c), {5, 3, 20, 0}},
        {"", nullptr, nullptr, nullptr, 0, 0, spaceIcon, {}, {}, {}},
    };
    const auto nodes = captured();
    ASSERT_EQ(nodes.size(), std::size(expected));
    for (size_t i = 0; i < nodes.size(); ++i) {
        const auto &e = expected[i];
        const ComponentNode *n = nodes[i];
        EXPECT_EQ(n->decal, e.decal) << i;
        EXPECT_EQ(n->logicEvaluate, e.evaluate) << e.decal;
        EXPECT_EQ(n->drawDynamic, e.draw) << e.decal;
        EXPECT_EQ(n->xEventTriggered, e.key) << e.decal;
        EXPECT_EQ(n->outputOverloadable, e.overloadable) << e.decal;
        EXPECT_EQ(n->selfActivating, e.selfActivating) << e.decal;
        EXPECT_EQ(n->iconArray, e.icon) << e.decal;
        EXPECT_EQ(n->dataInputs, e.data) << e.decal;
        EXPECT_TRUE(n->controlInputs.empty()) << e.decal;
        EXPECT_EQ(n->outputs, e.out) << e.decal;
        EXPECT_EQ(n->integerParameters, e.parameters) << e.decal;
    }
}

TEST(SourceCapture, SwitchBindsConsecutiveKeysFromTheHighestBit) {
    freshHeadlessNetlist();
    const Signal before(1, "Before"), bus(4, "Bus");
    Stop(SD("aa", nullptr), before); // so that the switches do not start at index 0
    Switch(SD("ab", nullptr), bus, 'a', Zero, "");
    const auto nodes = captured();
    ASSERT_EQ(nodes.size(), 5u);
    const struct {
        char key;
        int bit;
    } bindings[] = {{'a', 3}, {'b', 2}, {'c', 1}, {'d', 0}};
    const SwitchNode *entry = phaseOne->switchList.start;
    for (int k = 0; k < 4; ++k, entry = entry->ptr) {
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->keyChar, bindings[k].key);
        EXPECT_EQ(entry->componentNumber, k + 1) << "the entry names the switch registered right after it";
        EXPECT_EQ(entry->signalSerialNumber, bus.serialNumber[bindings[k].bit]);
        EXPECT_EQ(nodes[k + 1]->outputs, serials(bus[bindings[k].bit]));
        EXPECT_EQ(nodes[k + 1]->decal, "a:Bus[0]") << "every bit shows the name of bit 0";
    }
    EXPECT_EQ(entry, nullptr);
    EXPECT_EQ(phaseOne->switchList.numberOfSwitches, 4);
}

TEST(SourceCapture, PulserBindsItsKeyToItself) {
    freshHeadlessNetlist();
    const Signal p(1, "P");
    Space(SD("aa", nullptr));
    Pulser(SD("ab", nullptr), p, 'x', 3, Zero);
    const SwitchNode *entry = phaseOne->switchList.start;
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->keyChar, 'x');
    EXPECT_EQ(entry->componentNumber, 1);
    EXPECT_EQ(entry->signalSerialNumber, p.serialNumber[0]);
}

// ---- Probes ----

TEST(ProbeCapture, PartitionsPutASpaceBeforeEachNewGroupFromTheTop) {
    const int four[] = {4};
    const int twoThree[] = {2, 3};
    const int three[] = {3};
    const struct {
        int partitions;
        const int *sizes;
        std::vector<std::string> decals;
    } cases[] = {
        {0, nullptr, {"B[7]", "B[6]", "B[5]", "B[4]", "B[3]", "B[2]", "B[1]", "B[0]"}},
        {1, four, {"B[7]", "B[6]", "B[5]", "B[4]", "", "B[3]", "B[2]", "B[1]", "B[0]"}},
        {2, twoThree, {"B[7]", "B[6]", "", "B[5]", "B[4]", "B[3]", "", "B[2]", "B[1]", "B[0]"}},
        {1, three, {"B[7]", "B[6]", "B[5]", "", "B[4]", "B[3]", "B[2]", "", "B[1]", "B[0]"}},
    };
    for (const auto &k : cases) {
        freshHeadlessNetlist();
        const Signal b(8, "B");
        Probe(SD("ca", nullptr), b, "", k.partitions, k.sizes);
        EXPECT_EQ(decals(), k.decals) << k.partitions << " partitions";
        for (const ComponentNode *n : captured()) {
            EXPECT_EQ(n->graphicPosition, "ca");
            if (n->decal.empty()) {
                EXPECT_EQ(n->iconArray, spaceIcon);
                continue;
            }
            EXPECT_EQ(n->iconArray, circleIcon);
            EXPECT_EQ(n->drawDynamic, probe);
            EXPECT_EQ(n->dataInputs, serials(b[n->decal[2] - '0']));
            EXPECT_TRUE(n->outputs.empty());
        }
    }
}

TEST(ProbeCapture, LabelReplacesBitNames) {
    freshHeadlessNetlist();
    const Signal one(1, "Solo"), two(2, "Pair");
    Probe(SD("aa", nullptr), one, "");
    Probe(SD("ab", nullptr), two, "L");
    ProbeByte(SD("ac", nullptr), two, "");
    ProbeByteH(SD("ad", nullptr), two, "Byte");
    EXPECT_EQ(decals(), (std::vector<std::string>{"Solo", "L", "L", "Pair", "Byte"}));
    const auto nodes = captured();
    EXPECT_EQ(nodes[3]->drawDynamic, probebyte);
    EXPECT_EQ(nodes[3]->dataInputs, serials(two));
    EXPECT_EQ(nodes[4]->drawDynamic, probebyteh);
}

TEST(ProbeCapture, RowProbesTakeSubPositionsAtTheParentsLevel) {
    const struct {
        int bits;
        const char *label;
        std::vector<std::string> decals, positions;
    } cases[] = {
        {3, "A", {"A[0]", "A[1]", "A[2]"}, {"ge.1z", "ge.1y", "ge.1x"}},
        {1, "A", {"A"}, {"ge.1z"}},
        {2, "", {"W[0]", "W[1]"}, {"ge.1z", "ge.1y"}},
    };
    for (const auto &k : cases) {
        freshHeadlessNetlist();
        const Signal w(k.bits, "W");
        const SD parent("ab", nullptr);
        ProbeH(SD(parent, "ge", nullptr), w, k.label);
        const auto nodes = captured();
        ASSERT_EQ(nodes.size(), static_cast<size_t>(k.bits));
        for (int bit = 0; bit < k.bits; ++bit) {
            EXPECT_EQ(nodes[bit]->decal, k.decals[bit]);
            EXPECT_EQ(nodes[bit]->graphicPosition, "ab." + k.positions[bit]);
            EXPECT_EQ(nodes[bit]->graphicLevel, 2);
            EXPECT_EQ(nodes[bit]->dataInputs, serials(w[bit]));
        }
    }
}

TEST(ProbeCapture, WideRowsContinueInTheNextRowOfTwentySix) {
    freshHeadlessNetlist();
    const Signal w(60, "W");
    ProbeH(SD("aa", nullptr), w, "");
    const auto nodes = captured();
    ASSERT_EQ(nodes.size(), 60u);
    const struct {
        int bit;
        const char *position;
    } cases[] = {{0, "aa.1z"}, {25, "aa.1a"}, {26, "aa.2z"}, {51, "aa.2a"}, {52, "aa.3z"}, {59, "aa.3s"}};
    for (const auto &k : cases)
        EXPECT_EQ(nodes[k.bit]->graphicPosition, k.position) << k.bit;
}

// A headless circuit: probes write lines to standard error.
class HeadlessRun : public ::testing::Test {
protected:
    void SetUp() override { freshHeadlessNetlist(); }
    std::string runCaptured(unsigned long until) {
        testing::internal::CaptureStderr();
        resetCircuit();
        runUntil(until);
        return testing::internal::GetCapturedStderr();
    }
};

TEST_F(HeadlessRun, ProbeWritesOneLinePerActivation) {
    const Signal a(1, "A");
    PowerOn(SD("aa", nullptr), a, 20, One);
    Probe(SD("ab", nullptr), a, "");
    Probe(SD("ac", nullptr), Zero, "Low");
    convertNetlist();
    EXPECT_EQ(runCaptured(1000), "Time = 0  Probe for A at ab  Value = UNINITIALIZED\n"
                                 "Time = 0  Probe for Low at ac  Value = ZERO\n"
                                 "Time = 7  Probe for A at ab  Value = XXX\n"
                                 "Time = 10  Probe for A at ab  Value = ONE\n"
                                 "Time = 24  Probe for A at ab  Value = XXX\n"
                                 "Time = 29  Probe for A at ab  Value = ZERO\n");
    // A restart replays the same sequence; the constant probe shows again only because of the reset.
    EXPECT_EQ(runCaptured(8), "Time = 0  Probe for A at ab  Value = UNINITIALIZED\n"
                              "Time = 0  Probe for Low at ac  Value = ZERO\n"
                              "Time = 7  Probe for A at ab  Value = XXX\n");
}

TEST_F(HeadlessRun, ProbeWithADisplayDrawsInsteadOfWriting) {
    const Signal a(1, "A");
    PowerOn(SD("aa", nullptr), a, 5, One);
    Probe(SD("ab", nullptr), a, "");
    convertNetlist();
    useXDisplay = 1; // but no window is open: the pane painters draw nothing
    EXPECT_EQ(runCaptured(100), "");
}

// ---- Timelines through the kernel ----

TEST_F(HeadlessRun, ClockFollowsItsDurationOffsetAndPeriod) {
    const Signal clk(1, "Clk");
    Clock(SD("aa", nullptr), clk, 5, 0, 20, Zero);
    convertNetlist();
    resetCircuit();
    const std::vector<Change> expected = {{7, X},  {10, Z}, {14, X}, {19, O}, {28, X}, {33, Z},
                                          {52, X}, {57, O}, {66, X}, {71, Z}, {90, X}, {95, O}};
    EXPECT_EQ(runAndTrace(clk.serialNumber[0], 95), expected);
}

TEST_F(HeadlessRun, ClockWithOffsetAndOneInit) {
    const Signal clk(1, "Clk");
    Clock(SD("aa", nullptr), clk, 10, 30, 10, One);
    convertNetlist();
    resetCircuit();
    // Off is ONE; the first ZERO comes offset + 9 after ONE is reached.  With
    // the duration equal to the period the off level lasts only the kernel's
    // 9 units (4 of them at ONE, then XXX).
    const std::vector<Change> expected = {{7, X},  {10, O}, {44, X}, {49, Z}, {63, X},
                                          {68, O}, {72, X}, {77, Z}, {91, X}, {96, O}};
    EXPECT_EQ(runAndTrace(clk.serialNumber[0], 96), expected);
}

TEST_F(HeadlessRun, PulserGivesOnePulsePerPress) {
    const Signal p(1, "P");
    Pulser(SD("aa", nullptr), p, 'p', 20, Zero);
    convertNetlist();
    resetCircuit();
    EXPECT_EQ(runAndTrace(p.serialNumber[0], 1000), (std::vector<Change>{{7, X}, {10, Z}}));
    const unsigned long t = phaseFour->time;
    press(0);
    EXPECT_EQ(runAndTrace(p.serialNumber[0], 1000),
              (std::vector<Change>{{t + 7, X}, {t + 10, O}, {t + 24, X}, {t + 29, Z}}));
    const unsigned long t2 = phaseFour->time;
    press(0);
    EXPECT_EQ(runAndTrace(p.serialNumber[0], 1000),
              (std::vector<Change>{{t2 + 7, X}, {t2 + 10, O}, {t2 + 24, X}, {t2 + 29, Z}}));
}

TEST_F(HeadlessRun, SwitchTogglesPerPressAndReturnsToItsLevelAfterReset) {
    const Signal s(1, "S");
    Switch(SD("aa", nullptr), s, 's', One, "");
    convertNetlist();
    resetCircuit();
    const int wire = s.serialNumber[0];
    EXPECT_EQ(runAndTrace(wire, 1000), (std::vector<Change>{{7, X}, {10, O}}));
    press(0);
    EXPECT_EQ(runAndTrace(wire, 1000), (std::vector<Change>{{17, X}, {20, Z}}));
    press(0);
    EXPECT_EQ(runAndTrace(wire, 1000), (std::vector<Change>{{27, X}, {30, O}}));
    press(0);
    runUntil(1000);
    EXPECT_EQ(phaseThree->currentSignals[wire], Z);
    resetCircuit();
    EXPECT_EQ(runAndTrace(wire, 1000), (std::vector<Change>{{7, X}, {10, O}}));
}

TEST_F(HeadlessRun, PowerOnChangesOnceAfterEveryReset) {
    const Signal w(1, "W");
    PowerOn(SD("aa", nullptr), w, 40, Zero);
    convertNetlist();
    for (int run = 0; run < 2; ++run) {
        resetCircuit();
        EXPECT_EQ(runAndTrace(w.serialNumber[0], 10000),
                  (std::vector<Change>{{7, X}, {10, Z}, {44, X}, {49, O}}))
            << "run " << run;
    }
}

TEST_F(HeadlessRun, StopEndsTheRunOnOneOnly) {
    const Signal w(1, "W");
    PowerOn(SD("aa", nullptr), w, 40, Zero);
    Stop(SD("ab", nullptr), w);
    convertNetlist();
    resetCircuit();
    runUntil(44); // evaluated over UNINITIALIZED, XXX, ZERO and XXX again
    EXPECT_EQ(phaseThree->currentSignals[w.serialNumber[0]], X);
    EXPECT_EQ(done, 0);
    runUntil(49);
    EXPECT_EQ(done, 1);
}

TEST_F(HeadlessRun, StopOverEveryValue) {
    const Signal w(1, "W");
    Stop(SD("ab", nullptr), w);
    convertNetlist();
    for (const SignalValue v : {Z, U, X, H, O}) {
        done = 0;
        phaseThree->currentSignals[w.serialNumber[0]] = v;
        stop(0);
        EXPECT_EQ(done, v == O ? 1 : 0) << signalValueName(v);
    }
}

TEST_F(HeadlessRun, GatesBetweenSourcesSettleThroughTheKernel) {
    // A clock into an inverter and a tri-state buffer enabled by a power-on
    // signal; a multi-level comparator sees clock and inverted clock differ.
    const Signal clk(1, "Clk"), nclk(1, "NClk"), en(1, "En"), bus(1, "Bus"), same(1, "Same");
    Clock(SD("aa", nullptr), clk, 20, 0, 40, Zero);
    PowerOn(SD("ab", nullptr), en, 100, Zero);
    Not(SD("ba", nullptr), clk, nclk);
    Tsb(SD("bb", nullptr), nclk, en, bus);
    MultiLevelCompare(SD("bc", nullptr), (clk, nclk), same);
    convertNetlist();
    resetCircuit();
    runUntil(100);
    EXPECT_EQ(phaseThree->currentSignals[bus.serialNumber[0]], H) << "disabled buffer floats";
    EXPECT_EQ(phaseThree->currentSignals[en.serialNumber[0]], Z);
    // The clock is ONE from 135 to 159; the inverter follows by 145, the
    // enabled buffer and the comparator by 155.
    runUntil(156);
    EXPECT_EQ(phaseThree->currentSignals[clk.serialNumber[0]], O);
    EXPECT_EQ(phaseThree->currentSignals[en.serialNumber[0]], O);
    EXPECT_EQ(phaseThree->currentSignals[nclk.serialNumber[0]], Z);
    EXPECT_EQ(phaseThree->currentSignals[bus.serialNumber[0]], Z);
    EXPECT_EQ(phaseThree->currentSignals[same.serialNumber[0]], Z);
}

// ---- Errors ----

TEST(SourceCaptureDeathTest, ParameterAndLengthErrorsEndTheProgram) {
    const SD sd("dc", nullptr);
    expectEachEndsTheProgram({
        {"partition list", [&] { Probe(sd, Signal(8, "B"), "", 2, nullptr); },
         "ERROR--Partitioned Probe at dc with no partitionSize list, in.length = 8 -- can't continue.\n"},
        {"clock duration", [&] { Clock(sd, Signal(1, "C"), -1, 0, 20, Zero); },
         "ERROR -- Clock at dc parameter error:  duration = -1 offset = 0 period = 20 (none may be negative "
         "and "
         "duration may not exceed period)\n"},
        {"clock offset", [&] { Clock(sd, Signal(1, "C"), 5, -3, 20, Zero); },
         "ERROR -- Clock at dc parameter error:  duration = 5 offset = -3 period = 20 (none may be negative "
         "and "
         "duration may not exceed period)\n"},
        {"clock period", [&] { Clock(sd, Signal(1, "C"), 0, 0, -20, Zero); },
         "ERROR -- Clock at dc parameter error:  duration = 0 offset = 0 period = -20 (none may be negative "
         "and "
         "duration may not exceed period)\n"},
        {"clock duration above period", [&] { Clock(sd, Signal(1, "C"), 21, 0, 20, Zero); },
         "ERROR -- Clock at dc parameter error:  duration = 21 offset = 0 period = 20 (none may be negative "
         "and "
         "duration may not exceed period)\n"},
        {"pulser", [&] { Pulser(sd, Signal(1, "P"), 'p', -5, Zero); },
         "ERROR -- Pulser at dc parameter error:  duration = -5 (duration may not be negative)\n"},
        {"power-on", [&] { PowerOn(sd, Signal(1, "P"), -1, One); },
         "ERROR -- PowerOn at dc parameter error:  time = -1 (time may not be negative)\n"},
        {"switch init", [&] { Switch(sd, Signal(2, "S"), 'a', Signal(0, "I"), ""); },
         "ERROR -- Switch at dc length error:  out.length = 2 init.length = 0\n"},
        {"clock out", [&] { Clock(sd, Signal(0, "C"), 5, 0, 20, Zero); },
         "ERROR -- Clock at dc length error:  out.length = 0 init.length = 1\n"},
        {"stop", [&] { Stop(sd, Signal(0, "S")); }, "ERROR -- Stop at dc length error:  in.length = 0\n"},
    });
}

TEST(SourceCapture, ParametersAtTheirLimitsAreAccepted) {
    freshHeadlessNetlist();
    const Signal c(1, "C");
    Clock(SD("aa", nullptr), c, 0, 0, 0, Zero);
    Clock(SD("aa", nullptr), c, 20, 0, 20, Zero);
    Pulser(SD("aa", nullptr), c, 'p', 0, Zero);
    PowerOn(SD("aa", nullptr), c, 0, Zero);
    EXPECT_EQ(captured().size(), 4u);
}

TEST(ProbeByteDeathTest, AnyOtherWidthThanEightEndsTheRunAtTheFirstDrawing) {
    for (const bool horizontal : {false, true}) {
        freshHeadlessNetlist();
        const Signal b(3, "B");
        const SD sd("ee", nullptr);
        horizontal ? ProbeByteH(sd, b, "") : ProbeByte(sd, b, "");
        convertNetlist();
        EXPECT_EXIT(phaseTwo->drawDynamic[0](0), ::testing::ExitedWithCode(1),
                    exactly("ERROR -- Probe8 at ee length error: cannot has more than 8 inputs ,you have 3 "
                            "inputs \n"));
    }
}

TEST(ProbeByte, EightBitsDrawWithoutComplaint) {
    freshHeadlessNetlist();
    const Signal b(8, "B");
    ProbeByte(SD("ee", nullptr), b, "");
    ProbeByteH(SD("ef", nullptr), b, "");
    convertNetlist();
    testing::internal::CaptureStderr();
    resetCircuit();
    runUntil(100);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

} // namespace
