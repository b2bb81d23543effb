// The built-in gates evaluated in place by the kernel's step: which
// components the step recognises, and that in-place evaluation gives exactly
// the events the gate's own function gives, for every gate, every input
// count and every combination of values.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "Harness.h"
#include "components/msiPh1.h"
#include "components/ssiPh1.h"
#include "components/ssiRT.h"
#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/Ph4.h"
#include "core/addStCmp.h"
#include "display/iconData.h"

namespace {

constexpr SignalValue allValues[] = {ZERO, UNINITIALIZED, XXX, HIZ, ONE};

// ---- Which components the step evaluates in place ----

TEST(GateRules, EachGateFunctionHasItsRuleAndEveryOtherFunctionNone) {
    const std::pair<ComponentFunction, GateRule> cases[] = {
        {andGate, GateRule::andGate},
        {orGate, GateRule::orGate},
        {nand, GateRule::nand},
        {nor, GateRule::nor},
        {notGate, GateRule::notGate},
        {xorGate, GateRule::xorGate},
        {xnor, GateRule::xnor},
        {iand, GateRule::iand},
        {inand, GateRule::inand},
        {cior, GateRule::cior},
        {cinor, GateRule::cinor},
        {multiLevelCompare, GateRule::compare},
        // The tri-state buffer arbitrates its bus and keeps its call.
        {tsb, GateRule::none},
        {clock, GateRule::none},
        {stop, GateRule::none},
        {probe, GateRule::none},
        {nullptr, GateRule::none},
    };
    // Asked in order, in reverse, and each twice running: the answer does not
    // depend on what was asked before.
    for (size_t k = 0; k < std::size(cases); ++k)
        EXPECT_EQ(gateRuleOf(cases[k].first), cases[k].second) << "case " << k;
    for (size_t k = std::size(cases); k-- > 0;)
        for (int twice = 0; twice < 2; ++twice)
            EXPECT_EQ(gateRuleOf(cases[k].first), cases[k].second) << "case " << k << " again";
}

// Only the plain gates with exactly two data inputs and no control inputs
// take a two-input form; every other gate keeps its general rule.
TEST(GateRules, TwoInputFormsFitOnlyTwoDataInputsWithoutControls) {
    const struct {
        GateRule rule;
        int data, control;
        GateRule expected;
    } cases[] = {
        {GateRule::andGate, 2, 0, GateRule::andPair}, {GateRule::orGate, 2, 0, GateRule::orPair},
        {GateRule::nand, 2, 0, GateRule::nandPair},   {GateRule::nor, 2, 0, GateRule::norPair},
        {GateRule::xorGate, 2, 0, GateRule::xorPair}, {GateRule::xnor, 2, 0, GateRule::xnorPair},
        {GateRule::andGate, 3, 0, GateRule::andGate}, {GateRule::xorGate, 1, 0, GateRule::xorGate},
        {GateRule::orGate, 2, 1, GateRule::orGate},   {GateRule::iand, 2, 0, GateRule::iand},
        {GateRule::compare, 2, 0, GateRule::compare}, {GateRule::none, 2, 0, GateRule::none},
    };
    for (const auto &c : cases)
        EXPECT_EQ(gateRuleFor(c.rule, c.data, c.control), c.expected)
            << static_cast<int>(c.rule) << " with " << c.data << " data and " << c.control
            << " control inputs";
}

// The records of a small circuit carry each component's rule, whether it
// draws and whether it is a flip-flop the step may settle, beside its pins.
TEST(GateRules, TheRecordsNameTheGatesAndTheDrawingComponents) {
    freshHeadlessNetlist();
    const Signal a(2, "a"), y(1, "y"), z(1, "z"), q(1, "q");
    const SD sd("aa", nullptr);
    And(sd, a, y);                        // 0
    Probe(sd, y, "y");                    // 1
    Tsb(sd, a[0], a[1], z);               // 2
    Xnor(sd, (a, y), z);                  // 3
    Dff(sd, (Zero, y, a[0], Zero), q);    // 4
    Iand(sd, a[0], (a[1], y), q);         // 5
    Dff(sd, (Zero, y, a[0]), q);          // 6: a length error, still registered
    Jkff(sd, (Zero, a, y, Zero), (q, z)); // 7
    convertNetlist();
    const struct {
        GateRule gate;
        bool draws, flipFlop;
        int data, control, outputs;
    } expected[] = {
        {GateRule::andPair, false, false, 2, 0, 1}, {GateRule::none, true, false, 1, 0, 0},
        {GateRule::none, false, false, 1, 1, 1},    {GateRule::xnor, false, false, 3, 0, 1},
        {GateRule::none, false, true, 4, 0, 1},     {GateRule::iand, false, false, 2, 1, 1},
        {GateRule::none, false, false, 3, 0, 1},    {GateRule::none, false, false, 5, 0, 2},
    };
    const PhaseTwo &p2 = *phaseTwo;
    ASSERT_EQ(p2.numberOfComponents, static_cast<int>(std::size(expected)));
    for (int c = 0; c < p2.numberOfComponents; ++c) {
        EXPECT_EQ(p2.records[c].gate, expected[c].gate) << "component " << c;
        EXPECT_EQ(p2.records[c].draws, expected[c].draws) << "component " << c;
        EXPECT_EQ(p2.records[c].flipFlop, expected[c].flipFlop) << "component " << c;
        EXPECT_EQ(p2.numberOfDataInputs[c], expected[c].data) << "component " << c;
        EXPECT_EQ(p2.numberOfControlInputs[c], expected[c].control) << "component " << c;
        EXPECT_EQ(p2.numberOfOutputs[c], expected[c].outputs) << "component " << c;
    }
}

// ---- In place and through the function: the same events ----

// Captures a gate over a first and a second input bus.
using GateBuilder = void (*)(const SD &sd, const Signal &first, const Signal &second, const Signal &out);

using OneBusGate = void (*)(const SD &sd, const Signals &in, const Signal &out);
template <OneBusGate gate> void joined(const SD &sd, const Signal &a, const Signal &b, const Signal &out) {
    gate(sd, (a, b), out);
}
void inverter(const SD &sd, const Signal &a, const Signal &, const Signal &out) {
    Not(sd, a, out);
}
// A plain gate registered by hand with the second bus as control inputs,
// which it must ignore wherever it is evaluated.
template <ComponentFunction runtime>
void withControlInputs(const SD &sd, const Signal &data, const Signal &control, const Signal &out) {
    addStandardComponent(componentOn("Direct", rectIcon, runtime, data, control, out), sd);
}

struct GateCase {
    const char *gate;
    GateBuilder build;
    int minimumInputs; // over both buses
    int maximumInputs; // three, or what the capture allows
    bool mixed;        // both buses used (the mixed gates and the hand-registered ones)
};

const GateCase gateCases[] = {
    {"And", joined<And>, 0, 3, false},
    {"Or", joined<Or>, 0, 3, false},
    {"Nand", joined<Nand>, 0, 3, false},
    {"Nor", joined<Nor>, 0, 3, false},
    {"Xor", joined<Xor>, 0, 3, false},
    {"Xnor", joined<Xnor>, 0, 3, false},
    {"Not", inverter, 1, 1, false},
    {"MultiLevelCompare", joined<MultiLevelCompare>, 2, 3, false},
    {"Iand", Iand, 0, 3, true},
    {"Inand", Inand, 0, 3, true},
    {"CiOr", CiOr, 0, 3, true},
    {"CiNor", CiNor, 0, 3, true},
    {"And with control inputs", withControlInputs<andGate>, 0, 3, true},
    {"Xor with control inputs", withControlInputs<xorGate>, 0, 3, true},
};

using Timeline = std::vector<std::pair<unsigned long, SignalValue>>;

// Builds the gate alone, resets, gives its inputs the values and runs the
// steps until nothing is queued, the gate evaluated in place or, with
// throughFunction, through its evaluate function.  Returns every value its
// output takes with the time, and the output's scheduled time at the end.
std::pair<Timeline, unsigned long> run(const GateCase &g, const std::vector<SignalValue> &first,
                                       const std::vector<SignalValue> &second, bool throughFunction) {
    freshHeadlessNetlist();
    const Signal a(static_cast<unsigned>(first.size()), "A");
    const Signal b(static_cast<unsigned>(second.size()), "B");
    const Signal out(1, "Out");
    g.build(SD("aa", nullptr), a, b, out);
    convertNetlist();
    EXPECT_NE(phaseTwo->records[0].gate, GateRule::none) << g.gate << " is evaluated in place";
    if (throughFunction)
        phaseTwo->records[0].gate = GateRule::none;
    phaseFour->runInitialize();
    phaseFour->time = 100;
    for (size_t i = 0; i < first.size(); ++i)
        phaseThree->currentSignals[a.serialNumber[i]] = first[i];
    for (size_t i = 0; i < second.size(); ++i)
        phaseThree->currentSignals[b.serialNumber[i]] = second[i];
    const int o = out.serialNumber[0];
    Timeline timeline;
    while (phaseFour->step())
        timeline.emplace_back(phaseFour->time, phaseThree->currentSignals[o]);
    return {timeline, phaseThree->scheduledTimes[o]};
}

// Every combination of n values, each a vector.
std::vector<std::vector<SignalValue>> combinations(int n) {
    std::vector<std::vector<SignalValue>> all{{}};
    for (int k = 0; k < n; ++k) {
        std::vector<std::vector<SignalValue>> longer;
        for (const auto &c : all)
            for (const SignalValue v : allValues) {
                longer.push_back(c);
                longer.back().push_back(v);
            }
        all.swap(longer);
    }
    return all;
}

std::string describe(const std::vector<SignalValue> &first, const std::vector<SignalValue> &second) {
    std::string text;
    for (const auto *bus : {&first, &second}) {
        text += " (";
        for (const SignalValue v : *bus)
            text += std::string(" ") + signalValueName(v);
        text += " )";
    }
    return text;
}

// One to three inputs cover the two-input fast path and the loop on both
// sides of it; the mixed gates split them over their two buses every way.
TEST(GateInPlace, GivesTheEventsOfTheGateFunctionForEveryInputCombination) {
    for (const GateCase &g : gateCases)
        for (int inputs = std::max(g.minimumInputs, 1); inputs <= g.maximumInputs; ++inputs)
            for (int split = g.mixed ? 0 : inputs; split <= inputs; ++split)
                for (const auto &values : combinations(inputs)) {
                    const std::vector<SignalValue> first(values.begin(), values.begin() + split);
                    const std::vector<SignalValue> second(values.begin() + split, values.end());
                    const auto inPlace = run(g, first, second, false);
                    const auto called = run(g, first, second, true);
                    ASSERT_EQ(inPlace, called) << g.gate << describe(first, second);
                }
}

// Gates without inputs at all (the vector forms allow them) take their
// starting value.
TEST(GateInPlace, GatesWithoutInputsGiveTheirStartingValue) {
    const struct {
        const GateCase &g;
        SignalValue settled;
    } cases[] = {{gateCases[0], ONE}, {gateCases[1], ZERO}, {gateCases[4], ZERO},
                 {gateCases[5], ONE}, {gateCases[8], ONE},  {gateCases[10], ZERO}};
    for (const auto &c : cases) {
        const auto inPlace = run(c.g, {}, {}, false);
        ASSERT_FALSE(inPlace.first.empty()) << c.g.gate;
        EXPECT_EQ(inPlace.first.back().second, c.settled) << c.g.gate;
        EXPECT_EQ(inPlace, run(c.g, {}, {}, true)) << c.g.gate;
    }
}

// ---- Flip-flops settled in place and through dff: the same ----

// The state word's values: fresh, waiting for a ZERO clock, armed.
constexpr int flipFlopStates[] = {0, 1, 2};

struct FlipFlopOutcome {
    Timeline output;
    int state;
    uint64_t evaluations;
    bool operator==(const FlipFlopOutcome &o) const {
        return output == o.output && state == o.state && evaluations == o.evaluations;
    }
};

// A flip-flop alone, its state word set after the reset and its four inputs
// given; steps until nothing is
// queued, settled in place where it can be or, with throughFunction, always
// through dff.
FlipFlopOutcome runFlipFlop(int state, const std::vector<SignalValue> &inputs, bool throughFunction) {
    freshHeadlessNetlist();
    const Signal in(4, "In"), q(1, "Q");
    Dff(SD("aa", nullptr), in, q);
    convertNetlist();
    EXPECT_TRUE(phaseTwo->records[0].flipFlop);
    if (throughFunction)
        phaseTwo->records[0].flipFlop = false;
    phaseFour->runInitialize();
    phaseFour->time = 100;
    phaseTwo->state[0] = state;
    for (size_t i = 0; i < inputs.size(); ++i)
        phaseThree->currentSignals[in.serialNumber[i]] = inputs[i];
    FlipFlopOutcome outcome{{}, 0, 0};
    while (phaseFour->step())
        outcome.output.emplace_back(phaseFour->time, phaseThree->currentSignals[q.serialNumber[0]]);
    outcome.state = phaseTwo->state[0];
    outcome.evaluations = phaseFour->componentEvaluations;
    return outcome;
}

// Every state against every combination of the four inputs: the waits, the
// arming, the edges and the forced levels alike.
TEST(FlipFlopInPlace, GivesTheEventsAndStateOfDffForEveryStateAndInput) {
    for (const int state : flipFlopStates)
        for (const auto &inputs : combinations(4)) {
            const auto inPlace = runFlipFlop(state, inputs, false);
            const auto called = runFlipFlop(state, inputs, true);
            ASSERT_EQ(inPlace, called) << "state " << state << describe(inputs, {});
        }
}

} // namespace
