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
#include "core/InPlace.h"
#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/Ph4.h"
#include "core/addStCmp.h"
#include "display/iconData.h"

namespace {

constexpr SignalValue allValues[] = {ZERO, UNINITIALIZED, XXX, HIZ, ONE};

// ---- Which components the step evaluates in place ----

// Each capture registers the kind of its registry row and the form the step
// evaluates it in: every gate its general rule (three inputs have no pair
// form), a fitting flip-flop settled in place, everything else called.
TEST(ComponentKinds, EachCaptureRegistersItsKindAndForm) {
    using Build = void (*)(const SD &, const Signal &in, const Signal &out);
    using K = ComponentKind;
    using F = InPlaceForm;
    const struct {
        const char *capture;
        Build build;
        K kind;
        F form;
    } cases[] = {
        {"And", [](const SD &sd, const Signal &in, const Signal &out) { And(sd, in, out); }, K::andGate,
         F::andGate},
        {"Or", [](const SD &sd, const Signal &in, const Signal &out) { Or(sd, in, out); }, K::orGate,
         F::orGate},
        {"Nand", [](const SD &sd, const Signal &in, const Signal &out) { Nand(sd, in, out); }, K::nand,
         F::nand},
        {"Nor", [](const SD &sd, const Signal &in, const Signal &out) { Nor(sd, in, out); }, K::nor, F::nor},
        {"Not", [](const SD &sd, const Signal &in, const Signal &out) { Not(sd, in[0], out); }, K::notGate,
         F::notGate},
        {"Xor", [](const SD &sd, const Signal &in, const Signal &out) { Xor(sd, in, out); }, K::xorGate,
         F::xorGate},
        {"Xnor", [](const SD &sd, const Signal &in, const Signal &out) { Xnor(sd, in, out); }, K::xnor,
         F::xnor},
        {"Iand",
         [](const SD &sd, const Signal &in, const Signal &out) { Iand(sd, in[0], in.sub(1, 2), out); },
         K::iand, F::iand},
        {"Inand",
         [](const SD &sd, const Signal &in, const Signal &out) { Inand(sd, in[0], in.sub(1, 2), out); },
         K::inand, F::inand},
        {"CiOr",
         [](const SD &sd, const Signal &in, const Signal &out) { CiOr(sd, in[0], in.sub(1, 2), out); },
         K::cior, F::cior},
        {"CiNor",
         [](const SD &sd, const Signal &in, const Signal &out) { CiNor(sd, in[0], in.sub(1, 2), out); },
         K::cinor, F::cinor},
        {"MultiLevelCompare",
         [](const SD &sd, const Signal &in, const Signal &out) { MultiLevelCompare(sd, in.sub(0, 1), out); },
         K::compare, F::compare},
        {"Dff", [](const SD &sd, const Signal &in, const Signal &out) { Dff(sd, (in, Zero), out); }, K::dff,
         F::flipFlop},
        {"Mux", [](const SD &sd, const Signal &in, const Signal &out) { Mux(sd, in[0], in.sub(1, 2), out); },
         K::mux, F::called},
        // The tri-state buffer arbitrates its bus and keeps its call.
        {"Tsb", [](const SD &sd, const Signal &in, const Signal &out) { Tsb(sd, in[0], in[1], out); }, K::tsb,
         F::called},
        {"Clock", [](const SD &sd, const Signal &, const Signal &out) { Clock(sd, out, 5, 0, 20, Zero); },
         K::clock, F::called},
        {"Stop", [](const SD &sd, const Signal &in, const Signal &) { Stop(sd, in[0]); }, K::stop, F::called},
        {"Probe", [](const SD &sd, const Signal &in, const Signal &) { Probe(sd, in[0], "p"); }, K::probe,
         F::called},
        {"Jkff",
         [](const SD &sd, const Signal &in, const Signal &out) { Jkff(sd, (in, Zero, Zero), (out, out)); },
         K::jkff, F::called},
    };
    for (const auto &c : cases) {
        freshHeadlessNetlist();
        const Signal in(3, "in"), out(1, "out");
        c.build(SD("aa", nullptr), in, out);
        convertNetlist();
        ASSERT_EQ(phaseTwo->numberOfComponents, 1) << c.capture;
        EXPECT_EQ(phaseTwo->records[0].kind, c.kind) << c.capture;
        EXPECT_EQ(phaseTwo->records[0].form, c.form) << c.capture;
    }
}

// Only the plain gates with exactly two data inputs and no control inputs
// take a two-input form, and only a flip-flop with the pins its rule reads is
// settled in place; every other component keeps its row's form.
TEST(ComponentKinds, FormsFitThePins) {
    using F = InPlaceForm;
    const struct {
        F form;
        int data, control, outputs;
        F expected;
    } cases[] = {
        {F::andGate, 2, 0, 1, F::andPair},   {F::orGate, 2, 0, 1, F::orPair},
        {F::nand, 2, 0, 1, F::nandPair},     {F::nor, 2, 0, 1, F::norPair},
        {F::xorGate, 2, 0, 1, F::xorPair},   {F::xnor, 2, 0, 1, F::xnorPair},
        {F::andGate, 3, 0, 1, F::andGate},   {F::xorGate, 1, 0, 1, F::xorGate},
        {F::orGate, 2, 1, 1, F::orGate},     {F::iand, 2, 0, 1, F::iand},
        {F::compare, 2, 0, 1, F::compare},   {F::called, 2, 0, 1, F::called},
        {F::flipFlop, 4, 0, 1, F::flipFlop}, {F::flipFlop, 3, 0, 1, F::called},
        {F::flipFlop, 4, 1, 1, F::called},   {F::flipFlop, 4, 0, 2, F::called},
        {F::flipFlop, 2, 0, 1, F::called},
    };
    for (const auto &c : cases)
        EXPECT_EQ(inPlaceFormFor(c.form, c.data, c.control, c.outputs), c.expected)
            << static_cast<int>(c.form) << " with " << c.data << " data, " << c.control
            << " control inputs and " << c.outputs << " outputs";
}

// The records of a small circuit carry each component's form (a gate's
// in-place rule, a flip-flop the step may settle), its kind and whether it
// draws, beside its pins.
TEST(ComponentKinds, TheRecordsNameTheGatesAndTheDrawingComponents) {
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
    using F = InPlaceForm;
    using K = ComponentKind;
    const struct {
        F form;
        K kind;
        bool draws;
        int data, control, outputs;
    } expected[] = {
        {F::andPair, K::andGate, false, 2, 0, 1}, {F::called, K::probe, true, 1, 0, 0},
        {F::called, K::tsb, false, 1, 1, 1},      {F::xnor, K::xnor, false, 3, 0, 1},
        {F::flipFlop, K::dff, false, 4, 0, 1},    {F::iand, K::iand, false, 2, 1, 1},
        {F::called, K::dff, false, 3, 0, 1},      {F::called, K::jkff, false, 5, 0, 2},
    };
    const PhaseTwo &p2 = *phaseTwo;
    ASSERT_EQ(p2.numberOfComponents, static_cast<int>(std::size(expected)));
    for (int c = 0; c < p2.numberOfComponents; ++c) {
        EXPECT_EQ(p2.records[c].form, expected[c].form) << "component " << c;
        EXPECT_EQ(p2.records[c].kind, expected[c].kind) << "component " << c;
        EXPECT_EQ(p2.records[c].draws, expected[c].draws) << "component " << c;
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
template <ComponentFunction runtime, InPlaceForm form>
void withControlInputs(const SD &sd, const Signal &data, const Signal &control, const Signal &out) {
    StandardComponent c = componentOn("Direct", rectIcon, runtime, data, control, out);
    c.inPlace = form;
    addStandardComponent(c, sd);
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
    {"And with control inputs", withControlInputs<andGate, InPlaceForm::andGate>, 0, 3, true},
    {"Xor with control inputs", withControlInputs<xorGate, InPlaceForm::xorGate>, 0, 3, true},
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
    EXPECT_TRUE(isBuiltInGate(phaseTwo->records[0].form)) << g.gate << " is evaluated in place";
    if (throughFunction)
        phaseTwo->records[0].form = InPlaceForm::called;
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
    EXPECT_EQ(phaseTwo->records[0].form, InPlaceForm::flipFlop);
    if (throughFunction)
        phaseTwo->records[0].form = InPlaceForm::called;
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
