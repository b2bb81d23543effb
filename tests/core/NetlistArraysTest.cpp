// Conversion of the capture lists into arrays, the connectivity warnings and
// the activation lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "KernelHarness.h"
#include "core/SwList.h"
#include "support/Fresh.h"

using namespace kernel_harness;

namespace {

void evaluateSomething(int) {}
void drawSomething(int) {}
void pressSomething(int) {}

std::vector<int> pins(const int *p, int n) {
    return p ? std::vector<int>(p, p + n) : std::vector<int>{};
}

TEST(Conversion, CopiesEachComponentIntoItsIndex) {
    freshNetlist();
    Signal a(3, "a"), y(2, "y");
    Part plain;
    plain.position = "aa-ab";
    plain.decal = "Nand";
    plain.evaluate = evaluateSomething;
    capture(plain, a, none(), y[0]);
    Part rich;
    rich.position = "bb";
    rich.level = 3;
    rich.evaluate = evaluateSomething;
    rich.draw = drawSomething;
    rich.key = pressSomething;
    rich.overloadable = 1;
    rich.selfActivating = 1;
    rich.integers = {5, -7};
    rich.bytes = {0x12, 0xff, 0};
    rich.words32 = 2;
    rich.words16 = 3;
    rich.words8 = 1;
    capture(rich, y[1], (a[2], a[0]), y);
    convert();

    const PhaseTwo &p2 = *phaseTwo;
    ASSERT_EQ(p2.numberOfComponents, 2);
    EXPECT_EQ(p2.numberOfSignals, 7);
    EXPECT_EQ(p2.maxGraphicDisplayLevel, 3);

    EXPECT_EQ(p2.rcpos[0], "aa-ab");
    EXPECT_EQ(p2.decal[0], "Nand");
    EXPECT_EQ(p2.logicEvaluate[0], evaluateSomething);
    EXPECT_EQ(p2.drawDynamic[0], nullptr);
    EXPECT_EQ(pins(p2.dataInputs[0], p2.numberOfDataInputs[0]), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(p2.numberOfControlInputs[0], 0);
    EXPECT_EQ(p2.controlInputs[0], nullptr);
    EXPECT_EQ(pins(p2.outputs[0], p2.numberOfOutputs[0]), (std::vector<int>{5}));
    EXPECT_EQ(p2.integerParameters[0], nullptr);
    EXPECT_EQ(p2.byteParameters[0], nullptr);
    EXPECT_EQ(p2.internal32BitVariables[0], nullptr);
    EXPECT_EQ(p2.internal8BitVariables[0], nullptr);

    EXPECT_EQ(p2.rcpos[1], "bb.in.in");
    EXPECT_EQ(p2.graphicLevel[1], 3);
    EXPECT_EQ(p2.drawDynamic[1], drawSomething);
    EXPECT_EQ(p2.xEventTriggered[1], pressSomething);
    EXPECT_EQ(p2.outputOverloadable[1], 1);
    EXPECT_EQ(p2.selfActivating[1], 1);
    EXPECT_EQ(pins(p2.dataInputs[1], p2.numberOfDataInputs[1]), (std::vector<int>{6}));
    EXPECT_EQ(pins(p2.controlInputs[1], p2.numberOfControlInputs[1]), (std::vector<int>{2, 4}));
    EXPECT_EQ(pins(p2.outputs[1], p2.numberOfOutputs[1]), (std::vector<int>{5, 6}));
    EXPECT_EQ(pins(p2.integerParameters[1], p2.numberOfIntegerParameters[1]), (std::vector<int>{5, -7}));
    ASSERT_EQ(p2.numberOfByteParameters[1], 3);
    EXPECT_EQ(std::vector<unsigned char>(p2.byteParameters[1], p2.byteParameters[1] + 3),
              (std::vector<unsigned char>{0x12, 0xff, 0}));
    // Private storage of the asked sizes, separate for each width: all of it
    // starts at zero, and writing one cell changes no other.
    ASSERT_EQ(p2.numberOfInternal32BitVariables[1], 2);
    ASSERT_EQ(p2.numberOfInternal16BitVariables[1], 3);
    ASSERT_EQ(p2.numberOfInternal8BitVariables[1], 1);
    auto cells = [&p2] {
        std::vector<unsigned> all;
        for (int k = 0; k < 2; ++k)
            all.push_back(p2.internal32BitVariables[1][k]);
        for (int k = 0; k < 3; ++k)
            all.push_back(p2.internal16BitVariables[1][k]);
        all.push_back(p2.internal8BitVariables[1][0]);
        return all;
    };
    EXPECT_EQ(cells(), std::vector<unsigned>(6, 0));
    p2.internal16BitVariables[1][1] = 0xbeef;
    EXPECT_EQ(cells(), (std::vector<unsigned>{0, 0, 0, 0xbeef, 0, 0}));
    p2.internal32BitVariables[1][1] = 0xdeadbeef;
    p2.internal8BitVariables[1][0] = 0xee;
    EXPECT_EQ(cells(), (std::vector<unsigned>{0, 0xdeadbeef, 0, 0xbeef, 0, 0xee}));
    EXPECT_EQ(p2.state, (std::vector<int>{0, 0}));
}

// Conversion gives the capture's storage back in steps while it copies: a
// netlist of several steps must arrive whole, each component with its own
// pins, parameters and label, and the count lines must still be right.
TEST(Conversion, LargeNetlistsArriveWholeWhileTheCaptureIsReleased) {
    freshNetlist();
    const int n = 20000;
    const Signal wires(n, "w");
    for (int k = 0; k < n; ++k) {
        Part p;
        p.position = "p" + std::to_string(k % 7);
        p.decal = k % 2 ? "Odd" : "Even";
        p.integers = {k, -k};
        p.bytes = {static_cast<unsigned char>(k)};
        p.words16 = k % 3;
        capture(p, wires[(k + 1) % n], none(), wires[k]);
    }
    convert();
    EXPECT_EQ(phaseOne->componentList.start, nullptr) << "every node was handed back";
    EXPECT_EQ(phaseOne->signalList.start, nullptr);
    const PhaseTwo &p2 = *phaseTwo;
    ASSERT_EQ(p2.numberOfComponents, n);
    int wrong = 0;
    for (int k = 0; k < n; ++k) {
        const bool right =
            p2.rcpos[k] == "p" + std::to_string(k % 7) && p2.decal[k] == (k % 2 ? "Odd" : "Even") &&
            pins(p2.integerParameters[k], p2.numberOfIntegerParameters[k]) == std::vector<int>{k, -k} &&
            p2.byteParameters[k][0] == static_cast<unsigned char>(k) &&
            p2.numberOfInternal16BitVariables[k] == k % 3 &&
            p2.dataInputs[k][0] == wires.serialNumber[(k + 1) % n] &&
            p2.outputs[k][0] == wires.serialNumber[k] &&
            p2.signalNames[wires.serialNumber[k]] == "w[" + std::to_string(k) + "]";
        wrong += !right;
    }
    EXPECT_EQ(wrong, 0);
    testing::internal::CaptureStderr();
    delete phaseOne;
    phaseOne = nullptr;
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "There are 20000 components.\nThere are 20002 signals.\n");
}

TEST(Conversion, TheDeepestLevelIsAtLeastOne) {
    for (const std::vector<int> &levels : {std::vector<int>{}, {1, 1}, {2, 1}, {1, 4, 2}}) {
        freshNetlist();
        int deepest = 1;
        for (int level : levels) {
            Part p;
            p.level = level;
            capture(p, none(), none(), none());
            deepest = std::max(deepest, level);
        }
        convert();
        EXPECT_EQ(phaseTwo->maxGraphicDisplayLevel, deepest) << levels.size() << " components";
    }
}

TEST(Conversion, CopiesSignalsByTheirSerialNumbers) {
    freshNetlist();
    Signal a(2, "a");
    Signal k(3, 0x5u, "k");
    Signal h(1, HIZ, 0, "h");
    convert();
    const PhaseTwo &p2 = *phaseTwo;
    ASSERT_EQ(p2.numberOfSignals, 8);
    const std::vector<std::string> names{"Zero[0]", "One[0]", "a[0]", "a[1]", "k[0]", "k[1]", "k[2]", "h[0]"};
    EXPECT_EQ(std::vector<std::string>(p2.signalNames.begin(), p2.signalNames.end()), names);
    EXPECT_EQ(p2.constSignals, (std::vector<int>{1, 1, 0, 0, 1, 1, 1, 0}));
    EXPECT_EQ(p2.signalInitializations,
              (std::vector<SignalValue>{ZERO, ONE, UNINITIALIZED, UNINITIALIZED, ONE, ZERO, ONE, HIZ}));
}

TEST(Conversion, RecordsEachKeyBindingInCaptureOrder) {
    freshNetlist();
    Signal s(2, "s");
    capture(Part{}, none(), none(), none());
    phaseOne->switchList.add(s.serialNumber[1], 'q');
    capture(Part{}, none(), none(), s[1]);
    phaseOne->switchList.add(s.serialNumber[0], '7');
    capture(Part{}, none(), none(), s[0]);
    convert();
    ASSERT_EQ(phaseTwo->numberOfSwitches, 2);
    EXPECT_EQ(phaseTwo->activationsFromWindow[0], (std::array<int, 3>{'q', 1, 3}));
    EXPECT_EQ(phaseTwo->activationsFromWindow[1], (std::array<int, 3>{'7', 2, 2}));
}

TEST(Conversion, DumpsTheArrays) {
    freshNetlist();
    Signal a(2, "a");
    phaseOne->switchList.add(a.serialNumber[0], 'x');
    Part p;
    p.position = "cc";
    p.decal = "Gate";
    capture(p, (a[1], Zero), none(), a[0]);
    convert();
    testing::internal::CaptureStderr();
    phaseTwo->dumpFromArrays();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "dumpFromArrays():\n"
              "Signal 0  Init = 0 constSignal = 1  Name = Zero[0]\n"
              "Signal 1  Init = 4 constSignal = 1  Name = One[0]\n"
              "Signal 2  Init = 1 constSignal = 0  Name = a[0]\n"
              "Signal 3  Init = 1 constSignal = 0  Name = a[1]\n"
              "Switch 0  keyChar = x  CompNumber = 0  SignalSerialNumber = 2\n"
              "Comp 0 eval() at 0  iconArray at 0  overLoadable = 0\n"
              "   rcpos =  cc  decal = Gate \n"
              "   Inputs[2]: 0 3  Outputs[1]: 2\n");
}

TEST(PhaseThreeStart, SignalsStartAsAResetLeavesThem) {
    freshNetlist();
    Signal a(2, "a");
    Signal k(2, 0x2u, "k");
    Signal h(1, HIZ, 0, "h");
    capture(Part{}, a, none(), h);
    convert();
    const PhaseThree &p3 = *phaseThree;
    const std::vector<SignalValue> expected{ZERO, ONE, UNINITIALIZED, UNINITIALIZED,
                                            ZERO, ONE, UNINITIALIZED};
    EXPECT_EQ(valuesOf(p3.currentSignals), expected);
    EXPECT_EQ(valuesOf(p3.scheduledSignals), expected);
    EXPECT_EQ(valuesOf(p3.scheduledTimes), std::vector<uint64_t>(7, 0));
    EXPECT_EQ(valuesOf(p3.whenScheduled), std::vector<uint64_t>(7, 0));
    EXPECT_EQ(p3.componentsActivated, std::vector<int>{0});
    EXPECT_EQ(p3.numberOfActivatedComponents, 0);
}

// Circuits for the connectivity check, each written by a function that
// captures it on a fresh netlist.
struct ConnectivityCase {
    const char *what;
    void (*build)();
    std::string warnings;
};

void PrintTo(const ConnectivityCase &c, std::ostream *os) {
    *os << c.what;
}

class Connectivity : public testing::TestWithParam<ConnectivityCase> {};

TEST_P(Connectivity, WarnsAboutEveryUndrivenInput) {
    freshNetlist();
    GetParam().build();
    convert();
    testing::internal::CaptureStderr();
    phaseThree->checkConnectivity();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), GetParam().warnings);
}

Part named(const char *position, const char *decal) {
    Part p;
    p.position = position;
    p.decal = decal;
    return p;
}

INSTANTIATE_TEST_SUITE_P(
    Kernel, Connectivity,
    testing::Values(
        ConnectivityCase{"constants and driven inputs need nothing",
                         [] {
                             Signal d(1, "d"), y(1, "y"), k(2, 0x1u, "k");
                             capture(named("a", "Src"), none(), none(), d);
                             capture(named("b", "And"), (Zero, One, d, k), (k[1], One), y);
                         },
                         ""},
        ConnectivityCase{"a tri-state or module output counts as driven",
                         [] {
                             Signal bus(1, "bus"), y(1, "y");
                             Part tsb = named("t", "Tsb");
                             tsb.overloadable = 1;
                             capture(tsb, One, One, bus);
                             capture(tsb, Zero, One, bus);
                             capture(named("g", "Not"), bus, bus, y);
                         },
                         ""},
        ConnectivityCase{"data and control warnings in component order",
                         [] {
                             Signal u(2, "u"), y(2, "y");
                             capture(named("aa-ab", "Nand"), (u[1], One, u[0]), none(), y[0]);
                             capture(named("p.q", "Reg"), y[0], (u[0], Zero, y[1]), none());
                         },
                         "Warning -- signal[2] u[0] has no driver, cmp = 0 Nand at aa-ab has unconnected "
                         "DATA input, position = 0\n"
                         "Warning -- signal[3] u[1] has no driver, cmp = 0 Nand at aa-ab has unconnected "
                         "DATA input, position = 2\n"
                         "Warning -- signal[5] has no driver, cmp = 1 Reg at p.q has unconnected CONTROL "
                         "input, position = 0\n"
                         "Warning -- signal[2] has no driver, cmp = 1 Reg at p.q has unconnected CONTROL "
                         "input, position = 2\n"
                         "There are 4 inputUnconnectedWarnings\n"},
        ConnectivityCase{
            "an input read twice warns twice",
            [] {
                Signal u(1, "u"), y(1, "y");
                capture(named("x", "Xor"), (u, u), none(), y);
            },
            "Warning -- signal[2] u[0] has no driver, cmp = 0 Xor at x has unconnected DATA input, "
            "position = 0\n"
            "Warning -- signal[2] u[0] has no driver, cmp = 0 Xor at x has unconnected DATA input, "
            "position = 1\n"
            "There are 2 inputUnconnectedWarnings\n"}));

// A quadratic transcription of the list rule, the reference for the linear
// construction.
std::vector<std::vector<int>> referenceLists() {
    const PhaseTwo &p2 = *phaseTwo;
    std::vector<std::vector<int>> lists(p2.numberOfSignals);
    for (int s = 0; s < p2.numberOfSignals; ++s)
        for (int c = 0; c < p2.numberOfComponents; ++c) {
            const std::vector<int> data = pins(p2.dataInputs[c], p2.numberOfDataInputs[c]);
            const std::vector<int> control = pins(p2.controlInputs[c], p2.numberOfControlInputs[c]);
            const std::vector<int> out = pins(p2.outputs[c], p2.numberOfOutputs[c]);
            auto has = [s](const std::vector<int> &v) { return std::find(v.begin(), v.end(), s) != v.end(); };
            if (has(data) || has(control) || (p2.selfActivating[c] && has(out)))
                lists[s].push_back(c);
        }
    return lists;
}

// The lists as the kernel reads them: offsets into one shared pool.
std::vector<std::vector<int>> builtLists() {
    const PhaseThree &p3 = *phaseThree;
    const int signals = phaseTwo->numberOfSignals;
    EXPECT_EQ(p3.activationStart.size(), static_cast<size_t>(signals) + 1);
    EXPECT_EQ(p3.activationStart.front(), 0);
    std::vector<std::vector<int>> lists;
    for (int s = 0; s < signals; ++s) {
        const int first = p3.activationStart[s], last = p3.activationStart[s + 1];
        EXPECT_LE(first, last) << "signal " << s;
        lists.emplace_back(p3.activationEntries() + first, p3.activationEntries() + last);
    }
    return lists;
}

TEST(ActivationLists, ListEachReaderOnceAndSelfActivatingDriversOfTheirOutputs) {
    freshNetlist();
    Signal d(1, "d"), c(1, "c"), y(1, "y"), z(1, "z");
    capture(Part{}, (d, d), (d, c), y); // 0: reads d three times
    Part clock;
    clock.selfActivating = 1;
    capture(clock, none(), none(), c); // 1: wakes on its own output
    capture(Part{}, c, none(), z);     // 2: an ordinary gate, not on z's list
    capture(Part{}, z, y, none());     // 3
    convert();
    EXPECT_EQ(builtLists(), (std::vector<std::vector<int>>{{}, {}, {0}, {0, 1, 2}, {3}, {3}}));
    EXPECT_EQ(phaseThree->activationStart[1], 0) << "an empty list takes no entries";
}

// The bits of wires at the given positions, bits[from] lowest.
Signal busOf(const Signal &wires, const std::vector<int> &bits, size_t from) {
    if (from + 1 == bits.size())
        return wires[bits[from]];
    return (busOf(wires, bits, from + 1), wires[bits[from]]);
}

TEST(ActivationLists, MatchTheRuleOnRandomNetlists) {
    std::mt19937 random(99);
    for (int round = 0; round < 20; ++round) {
        freshNetlist();
        Signal wires(40, "w");
        for (int k = 0; k < 60; ++k) {
            auto pick = [&](int n) {
                std::vector<int> bits(n);
                for (int &b : bits)
                    b = static_cast<int>(random() % 40);
                return busOf(wires, bits, 0);
            };
            Part p;
            p.selfActivating = random() % 4 == 0;
            capture(p, random() % 5 ? pick(1 + random() % 4) : none(),
                    random() % 3 ? pick(1 + random() % 3) : none(), pick(1 + random() % 2));
        }
        convert();
        ASSERT_EQ(builtLists(), referenceLists()) << "round " << round;
    }
}

} // namespace
