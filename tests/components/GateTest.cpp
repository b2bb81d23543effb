// Logic gates: every runtime over the five values, the registration of the
// single and vector forms, and the capture errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Harness.h"
#include "components/ssiPh1.h"
#include "components/ssiRT.h"
#include "core/Ph1.h"
#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/Ph4.h"
#include "core/addStCmp.h"
#include "display/iconData.h"

namespace {

constexpr SignalValue Z = ZERO, U = UNINITIALIZED, X = XXX, H = HIZ, O = ONE;
constexpr SignalValue allValues[] = {Z, U, X, H, O};

// Captures a gate over a "true" and a "complemented" input bus (plain gates
// take the concatenation of both as their inputs).
using GateBuilder = void (*)(const SD &sd, const Signal &first, const Signal &second, const Signal &out);

// Builds the gate alone in a fresh netlist, resets, gives its inputs the
// values and evaluates it once; returns the value it requested.
SignalValue evaluateOnce(GateBuilder build, const std::vector<SignalValue> &first,
                         const std::vector<SignalValue> &second) {
    freshHeadlessNetlist();
    const Signal a(static_cast<unsigned>(first.size()), "A");
    const Signal b(static_cast<unsigned>(second.size()), "B");
    const Signal out(1, "Out");
    build(SD("aa", nullptr), a, b, out);
    convertNetlist();
    phaseFour->runInitialize();
    for (size_t i = 0; i < first.size(); ++i)
        phaseThree->currentSignals[a.serialNumber[i]] = first[i];
    for (size_t i = 0; i < second.size(); ++i)
        phaseThree->currentSignals[b.serialNumber[i]] = second[i];
    phaseTwo->logicEvaluate[0](0);
    // Starting from UNINITIALIZED every request leaves its own value as the
    // scheduled one (a request for UNINITIALIZED queues nothing).
    return phaseThree->scheduledSignals[out.serialNumber[0]];
}

// A gate with one input bus, captured over both buses joined.
using OneBusGate = void (*)(const SD &sd, const Signals &in, const Signal &out);
template <OneBusGate gate> void joined(const SD &sd, const Signal &a, const Signal &b, const Signal &out) {
    gate(sd, (a, b), out);
}
constexpr GateBuilder plainAnd = joined<And>, plainOr = joined<Or>, plainNand = joined<Nand>,
                      plainNor = joined<Nor>, plainXor = joined<Xor>, plainXnor = joined<Xnor>,
                      compare = joined<MultiLevelCompare>;

void buffer(const SD &sd, const Signal &control, const Signal &data, const Signal &out) {
    Tsb(sd, data, control, out);
}
// The bitwise forms take the two buses as they are.
constexpr GateBuilder bitwiseAnd = And, bitwiseOr = Or;

struct TwoInputTable {
    const char *gate;
    GateBuilder build;
    SignalValue expected[5][5]; // rows: first input (true / control), columns: second
};

const TwoInputTable twoInputTables[] = {
    {"And", plainAnd, {{Z, Z, Z, Z, Z}, {Z, U, U, U, U}, {Z, U, X, X, X}, {Z, U, X, H, H}, {Z, U, X, H, O}}},
    {"And bitwise",
     bitwiseAnd,
     {{Z, Z, Z, Z, Z}, {Z, U, U, U, U}, {Z, U, X, X, X}, {Z, U, X, H, H}, {Z, U, X, H, O}}},
    {"Or", plainOr, {{Z, U, X, H, O}, {U, U, X, H, O}, {X, X, X, H, O}, {H, H, H, H, O}, {O, O, O, O, O}}},
    {"Or bitwise",
     bitwiseOr,
     {{Z, U, X, H, O}, {U, U, X, H, O}, {X, X, X, H, O}, {H, H, H, H, O}, {O, O, O, O, O}}},
    {"Nand",
     plainNand,
     {{O, O, O, O, O}, {O, X, X, X, X}, {O, X, X, X, X}, {O, X, X, X, X}, {O, X, X, X, Z}}},
    {"Nor", plainNor, {{O, X, X, X, Z}, {X, X, X, X, Z}, {X, X, X, X, Z}, {X, X, X, X, Z}, {Z, Z, Z, Z, Z}}},
    {"Xor", plainXor, {{Z, X, X, X, O}, {X, X, X, X, X}, {X, X, X, X, X}, {X, X, X, X, X}, {O, X, X, X, Z}}},
    {"Xnor",
     plainXnor,
     {{O, X, X, X, Z}, {X, X, X, X, X}, {X, X, X, X, X}, {X, X, X, X, X}, {Z, X, X, X, O}}},
    {"Iand", Iand, {{Z, Z, Z, Z, Z}, {U, U, U, U, Z}, {X, X, U, X, Z}, {H, X, U, H, Z}, {O, X, U, H, Z}}},
    {"Inand", Inand, {{O, O, O, O, O}, {X, X, X, X, O}, {U, U, X, U, O}, {H, U, X, H, O}, {Z, U, X, H, O}}},
    {"CiOr", CiOr, {{O, X, U, H, Z}, {O, X, U, H, U}, {O, X, X, H, X}, {O, H, H, H, H}, {O, O, O, O, O}}},
    {"CiNor", CiNor, {{Z, U, X, H, O}, {Z, U, X, H, X}, {Z, U, U, H, U}, {Z, H, H, H, H}, {Z, Z, Z, Z, Z}}},
    {"MultiLevelCompare",
     compare,
     {{O, Z, Z, Z, Z}, {Z, O, Z, Z, Z}, {Z, Z, O, Z, Z}, {Z, Z, Z, O, Z}, {Z, Z, Z, Z, O}}},
    {"Tsb", buffer, {{H, H, H, H, H}, {H, H, H, H, H}, {H, H, H, H, H}, {H, H, H, H, H}, {Z, H, H, H, O}}},
};

TEST(GateEvaluation, EveryTwoInputGateOverAllValuePairs) {
    for (const TwoInputTable &t : twoInputTables)
        for (const SignalValue a : allValues)
            for (const SignalValue b : allValues)
                EXPECT_EQ(evaluateOnce(t.build, {a}, {b}), t.expected[a][b])
                    << t.gate << "(" << signalValueName(a) << ", " << signalValueName(b) << ")";
}

// A plain gate registered by hand with the second bus as control inputs.
template <ComponentFunction runtime>
void withControlInputs(const SD &sd, const Signal &data, const Signal &control, const Signal &out) {
    addStandardComponent(componentOn("Direct", rectIcon, runtime, data, control, out), sd);
}

// The plain gates are defined over their data inputs alone: control inputs
// given to them by hand change nothing.
TEST(GateEvaluation, PlainGatesIgnoreControlInputs) {
    const struct {
        const char *gate;
        GateBuilder withControl;
        GateBuilder plain;
    } cases[] = {{"And", withControlInputs<andGate>, plainAnd},
                 {"Or", withControlInputs<orGate>, plainOr},
                 {"Nand", withControlInputs<nand>, plainNand},
                 {"Nor", withControlInputs<nor>, plainNor}};
    for (const auto &c : cases)
        for (const SignalValue data : allValues)
            for (const SignalValue control : allValues)
                EXPECT_EQ(evaluateOnce(c.withControl, {data}, {control}), evaluateOnce(c.plain, {data}, {}))
                    << c.gate << " data " << signalValueName(data) << " control " << signalValueName(control);
}

void inverter(const SD &sd, const Signal &a, const Signal &, const Signal &out) {
    Not(sd, a, out);
}

TEST(GateEvaluation, NotInvertsLevelsAndTurnsTheRestIntoXxx) {
    const SignalValue expected[] = {O, X, X, X, Z};
    for (const SignalValue v : allValues)
        EXPECT_EQ(evaluateOnce(inverter, {v}, {}), expected[v]) << signalValueName(v);
}

TEST(GateEvaluation, WideAndEmptyInputLists) {
    const struct {
        const char *gate;
        GateBuilder build;
        std::vector<SignalValue> first, second;
        SignalValue expected;
    } cases[] = {
        {"Xor", plainXor, {}, {}, Z},
        {"Xnor", plainXnor, {}, {}, O},
        {"Xor", plainXor, {O, O, O}, {}, O},
        {"Xor", plainXor, {O, X, O}, {}, X},
        {"Xor", plainXor, {X, O, O}, {}, X},
        {"Xor", plainXor, {O, Z, O, O}, {}, O},
        {"Xnor", plainXnor, {O, O, O}, {}, Z},
        {"Xnor", plainXnor, {O, Z, O}, {}, O},
        {"And", plainAnd, {}, {}, O},
        {"And", plainAnd, {O, H}, {}, H},
        {"And", plainAnd, {O, H, U, O}, {}, U},
        {"Or", plainOr, {}, {}, Z},
        {"Or", plainOr, {Z, X, U}, {}, X},
        {"Nand", plainNand, {}, {}, Z},
        {"Nand", plainNand, {O, H}, {}, X},
        {"Nand", plainNand, {O, O, O}, {}, Z},
        {"Nor", plainNor, {}, {}, O},
        {"Nor", plainNor, {Z, Z, Z}, {}, O},
        {"Iand", Iand, {}, {}, O},
        {"Iand", Iand, {O, O}, {Z, Z}, O},
        {"Iand", Iand, {O, O}, {Z, O}, Z},
        {"Inand", Inand, {O}, {H}, H},
        {"Inand", Inand, {O, O}, {Z, Z}, Z},
        {"CiOr", CiOr, {}, {}, Z},
        {"CiOr", CiOr, {Z, Z}, {O, O}, Z},
        {"CiOr", CiOr, {Z}, {O, Z}, O},
        {"CiNor", CiNor, {}, {}, O},
        {"MultiLevelCompare", compare, {}, {X, X, O}, O},
        {"MultiLevelCompare", compare, {}, {U, U}, O},
        {"MultiLevelCompare", compare, {}, {Z, H}, Z},
    };
    for (const auto &k : cases)
        EXPECT_EQ(evaluateOnce(k.build, k.first, k.second), k.expected) << k.gate << " case " << (&k - cases);
}

// ---- Registration ----

std::vector<int> sorted(std::vector<int> v) {
    std::sort(v.begin(), v.end());
    return v;
}

TEST(GateCapture, EachGateRegistersItsBusesDecalIconAndRuntime) {
    const struct {
        const char *gate;
        GateBuilder build;
        const char *decal;
        const int *icon;
        ComponentFunction evaluate;
        bool mixed; // complemented inputs are data inputs, true inputs control inputs
    } cases[] = {
        {"Nand", plainNand, "Nand", nandIcon, nand, false},
        {"Nor", plainNor, "Nor", norIcon, nor, false},
        {"Xor", plainXor, "Xor", xorIcon, xorGate, false},
        {"Xnor", plainXnor, "Xnor", xnorIcon, xnor, false},
        {"And", plainAnd, "And", andIcon, andGate, false},
        {"Or", plainOr, "Or", orIcon, orGate, false},
        {"MultiLevelCompare", compare, "mLevCmp", rectIcon, multiLevelCompare, false},
        {"Iand", Iand, "Iand", iAndIcon, iand, true},
        {"Inand", Inand, "Inand", iNandIcon, inand, true},
        {"CiOr", CiOr, "CiOr", CiOrIcon, cior, true},
        {"CiNor", CiNor, "CiNor", CiNorIcon, cinor, true},
    };
    for (const auto &k : cases) {
        freshHeadlessNetlist();
        const Signal a(2, "A"), b(3, "B"), out(1, "Out");
        k.build(SD("ab", nullptr), a, b, out);
        const auto nodes = captured();
        ASSERT_EQ(nodes.size(), 1u) << k.gate;
        const ComponentNode *n = nodes[0];
        EXPECT_EQ(n->decal, k.decal) << k.gate;
        EXPECT_EQ(n->iconArray, k.icon) << k.gate;
        EXPECT_EQ(n->logicEvaluate, k.evaluate) << k.gate;
        EXPECT_EQ(n->drawDynamic, nullptr) << k.gate;
        EXPECT_EQ(n->xEventTriggered, nullptr) << k.gate;
        EXPECT_EQ(n->outputOverloadable, 0) << k.gate;
        EXPECT_EQ(n->selfActivating, 0) << k.gate;
        EXPECT_EQ(n->graphicPosition, "ab") << k.gate;
        EXPECT_EQ(n->outputs, serials(out)) << k.gate;
        if (k.mixed) {
            EXPECT_EQ(n->dataInputs, serials(b)) << k.gate;
            EXPECT_EQ(n->controlInputs, serials(a)) << k.gate;
        } else {
            EXPECT_EQ(n->dataInputs, serials((a, b))) << k.gate;
            EXPECT_TRUE(n->controlInputs.empty()) << k.gate;
        }
    }
}

TEST(GateCapture, TriStateBufferMayShareItsBus) {
    freshHeadlessNetlist();
    const Signal in(1, "In"), enable(1, "En"), bus(1, "Bus");
    Tsb(SD("aa", nullptr), in, enable, bus);
    Tsb(SD("ab", "Second"), One, enable, bus);
    const auto nodes = captured();
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(nodes[0]->decal, "Tsb");
    EXPECT_EQ(nodes[1]->decal, "Second");
    EXPECT_EQ(nodes[0]->iconArray, tsbIcon);
    EXPECT_EQ(nodes[0]->logicEvaluate, tsb);
    EXPECT_EQ(nodes[0]->outputOverloadable, 1);
    EXPECT_EQ(nodes[0]->dataInputs, serials(in));
    EXPECT_EQ(nodes[0]->controlInputs, serials(enable));
    EXPECT_EQ(nodes[1]->outputs, serials(bus));
}

using GroupedForm = void (*)(const SD &, const Signals &, const Signal &);
using BitwiseForm = void (*)(const SD &, const Signals &, const Signals &, const Signal &);

const struct {
    const char *gate;
    GroupedForm grouped;
    BitwiseForm bitwise;
    ComponentFunction evaluate;
} vectorGates[] = {{"And", And, And, andGate}, {"Or", Or, Or, orGate}};

TEST(GateCapture, GroupedFormsGiveEachOutputBitItsShareFromTheTopDown) {
    for (const auto &g : vectorGates) {
        freshHeadlessNetlist();
        const Signal in(6, "In"), out(3, "Out");
        g.grouped(SD("aa", nullptr), in, out);
        const auto nodes = captured();
        ASSERT_EQ(nodes.size(), 3u) << g.gate;
        for (int k = 0; k < 3; ++k) {
            const int bit = 2 - k; // registered from the highest output position down
            EXPECT_EQ(nodes[k]->logicEvaluate, g.evaluate);
            EXPECT_EQ(nodes[k]->outputs, serials(out[bit])) << g.gate << " component " << k;
            EXPECT_EQ(sorted(nodes[k]->dataInputs), serials(in.sub(2 * bit + 1, 2 * bit)))
                << g.gate << " component " << k;
            EXPECT_EQ(nodes[k]->graphicPosition, "aa");
        }
    }
}

TEST(GateCapture, GroupedFormWithoutInputsGivesGatesOverNothing) {
    freshHeadlessNetlist();
    const Signal none(0, "None"), out(2, "Out");
    And(SD("aa", nullptr), none, out);
    const auto nodes = captured();
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(nodes[0]->outputs, serials(out[1]));
    EXPECT_TRUE(nodes[0]->dataInputs.empty());
}

TEST(GateCapture, BitwiseFormsPairBitsOrShareAOneBitOperand) {
    const struct { int len1, len2; } shapes[] = {{4, 4}, {1, 4}, {4, 1}, {1, 1}};
    for (const auto &g : vectorGates)
        for (const auto &s : shapes) {
            freshHeadlessNetlist();
            const Signal a(s.len1, "A"), b(s.len2, "B"), out(std::max(s.len1, s.len2), "Out");
            g.bitwise(SD("aa", nullptr), a, b, out);
            const auto nodes = captured();
            ASSERT_EQ(nodes.size(), static_cast<size_t>(out.length)) << g.gate;
            for (int k = 0; k < out.length; ++k) {
                const int bit = out.length - 1 - k;
                const int x = a.serialNumber[s.len1 == 1 ? 0 : bit];
                const int y = b.serialNumber[s.len2 == 1 ? 0 : bit];
                EXPECT_EQ(nodes[k]->dataInputs, (std::vector<int>{y, x}))
                    << g.gate << " " << s.len1 << "x" << s.len2 << " component " << k;
                EXPECT_EQ(nodes[k]->outputs, serials(out[bit]));
            }
        }
}

TEST(GateCapture, VectorNotInvertsEachBitFromTheTopDown) {
    freshHeadlessNetlist();
    const Signal in(3, "In"), out(3, "Out");
    Not(SD("aa", nullptr), in, out);
    const auto nodes = captured();
    ASSERT_EQ(nodes.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(nodes[k]->logicEvaluate, notGate);
        EXPECT_EQ(nodes[k]->iconArray, notIcon);
        EXPECT_EQ(nodes[k]->dataInputs, serials(in[2 - k]));
        EXPECT_EQ(nodes[k]->outputs, serials(out[2 - k]));
    }
}

// ---- Capture errors ----

TEST(GateCaptureDeathTest, LengthErrorsEndTheProgramWithTheirMessage) {
    const SD sd("bq", nullptr);
    expectEachEndsTheProgram({
        {"Tsb", [&] { Tsb(sd, Signal(2, "I"), Signal(1, "C"), Signal(1, "O")); },
         "ERROR -- Tsb (Tri-state-buffer) at bq length error:  control.length = 1 in.length = 2 out.length = "
         "1\n"},
        {"Tsb control", [&] { Tsb(sd, Signal(1, "I"), Signal(0, "C"), Signal(1, "O")); },
         "ERROR -- Tsb (Tri-state-buffer) at bq length error:  control.length = 0 in.length = 1 out.length = "
         "1\n"},
        {"And divisible", [&] { And(sd, Signal(7, "I"), Signal(3, "O")); },
         "ERROR -- And (vector) with inputs not divisible over outputs at bq length error:  in.length = 7 "
         "out.length = 3\n"},
        {"Or divisible", [&] { Or(sd, Signal(5, "I"), Signal(2, "O")); },
         "ERROR -- Or (vector) with inputs not divisible over outputs at bq length error:  in.length = 5 "
         "out.length = 2\n"},
        {"And no output", [&] { And(sd, Signal(3, "I"), Signal(0, "O")); },
         "ERROR -- And with out.length == 0 at bq  length error:  in.length = 3 out.length = 0\n"},
        {"Or no output", [&] { Or(sd, Signal(2, "I"), Signal(0, "O")); },
         "ERROR -- Or with out.length == 0 at bq  length error:  in.length = 2 out.length = 0\n"},
        {"And bitwise", [&] { And(sd, Signal(3, "A"), Signal(2, "B"), Signal(3, "O")); },
         "ERROR -- And (vector) component at bq length error:  in1.length = 3 in2.length = 2 out.length = "
         "3\n"},
        {"And bitwise equal", [&] { And(sd, Signal(3, "A"), Signal(3, "B"), Signal(2, "O")); },
         "ERROR -- And (vector) component at bq length error:  in1.length = 3 in2.length = 3 out.length = "
         "2\n"},
        {"Or bitwise shared", [&] { Or(sd, Signal(1, "A"), Signal(4, "B"), Signal(3, "O")); },
         "ERROR -- Or (vector) component at bq length error:  in1.length = 1 in2.length = 4 out.length = "
         "3\n"},
        {"Or bitwise shared second", [&] { Or(sd, Signal(4, "A"), Signal(1, "B"), Signal(1, "O")); },
         "ERROR -- Or (vector) component at bq length error:  in1.length = 4 in2.length = 1 out.length = "
         "1\n"},
        {"Not", [&] { Not(sd, Signal(1, "I"), Signal(2, "O")); },
         "ERROR -- Not (vector) at bq length error:  in.length = 1 out.length = 2\n"},
        {"Not unequal", [&] { Not(sd, Signal(3, "I"), Signal(2, "O")); },
         "ERROR -- Not (vector) at bq length error:  in.length = 3 out.length = 2\n"},
        {"Not empty", [&] { Not(sd, Signal(0, "I"), Signal(0, "O")); },
         "ERROR -- Not (vector) at bq length error:  in.length = 0 out.length = 0\n"},
        {"Compare", [&] { MultiLevelCompare(sd, Signal(1, "I"), Signal(1, "O")); },
         "ERROR -- MultiLevelCompare at bq length error:  in.length = 1 (two inputs are compared)\n"},
        {"Nand output", [&] { Nand(sd, Signal(2, "I"), Signal(0, "O")); },
         "ERROR -- Nand at bq length error:  out.length = 0\n"},
        {"CiNor output", [&] { CiNor(sd, Signal(1, "T"), Signal(1, "C"), Signal(0, "O")); },
         "ERROR -- CiNor at bq length error:  out.length = 0\n"},
    });
}

TEST(GateCapture, AcceptedShapesDoNotStopTheProgram) {
    freshHeadlessNetlist();
    const Signal one(1, "One1"), three(3, "Three"), six(6, "Six");
    const SD sd("aa", nullptr);
    MultiLevelCompare(sd, (one, one), one);
    And(sd, Signal(0, "None"), one);
    Or(sd, six, three);
    Not(sd, one, one);
    And(sd, one, one, one);
    EXPECT_EQ(captured().size(), 1u + 1u + 3u + 1u + 1u);
}

} // namespace
