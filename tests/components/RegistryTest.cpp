// The component registry: every kind has a complete row, and every component
// function of the catalogue registers what its row says, so that capture,
// the summary, the dump and the explanations agree on what a component is.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "Harness.h"
#include "components/Registry.h"
#include "components/SecEvTyp.h"
#include "components/msiPh1.h"
#include "components/ssiPh1.h"
#include "components/vlsiPh1.h"
#include "core/Ph2.h"

namespace {

using K = ComponentKind;

// Every kind has its row, with a name, a label, an icon and an explanation
// rule; a row left out or half filled in would leave a component unnamed,
// undrawn or silently "not followed" by -w.
TEST(Registry, EveryKindHasACompleteRow) {
    std::set<std::string> names;
    for (int k = 0; k < numberOfComponentKinds; ++k) {
        const ComponentRow &row = componentRow(static_cast<K>(k));
        EXPECT_EQ(static_cast<int>(row.kind), k);
        ASSERT_NE(row.name, nullptr) << "kind " << k;
        EXPECT_TRUE(names.insert(row.name).second) << row.name << " named twice";
        EXPECT_NE(row.label, nullptr) << row.name;
        EXPECT_NE(row.icon, nullptr) << row.name << " has no icon";
        EXPECT_NE(row.explain, ExplainRule::unset) << row.name << " has no explanation rule";
        // A row that drives outputs through a function must say how an
        // explanation follows it; only a circuit's own component may not.
        if (row.kind != K::other && (row.key != nullptr || row.evaluate != nullptr) &&
            row.explain == ExplainRule::notFollowed)
            ADD_FAILURE() << row.name << " is not followed by explanations";
    }
}

// The check the table is compiled with refuses a row without an explanation
// rule, or at another kind's index.
TEST(Registry, TheTablesCheckRefusesEveryIncompleteRow) {
    const ComponentRow good[2] = {componentRows[0], componentRows[1]};
    ASSERT_TRUE(rowsInKindOrderWithRules(good, 2));
    const struct {
        const char *what;
        void (*spoil)(ComponentRow &);
    } faults[] = {
        {"no explanation rule", [](ComponentRow &r) { r.explain = ExplainRule::unset; }},
        {"another kind's index", [](ComponentRow &r) { r.kind = K::andGate; }},
    };
    for (const auto &f : faults) {
        ComponentRow rows[2] = {good[0], good[1]};
        f.spoil(rows[1]);
        EXPECT_FALSE(rowsInKindOrderWithRules(rows, 2)) << f.what;
    }
}

// A probe is read as a probe by the summary, the dump and the explanations
// exactly when it draws the probe's pane; nothing else is.
TEST(Registry, OnlyTheProbesAreReadAsProbes) {
    for (const ComponentRow &row : componentRows) {
        const bool probe = row.kind == K::probe || row.kind == K::probeByte || row.kind == K::probeByteH;
        EXPECT_EQ(row.probe != ProbeReading::none, probe) << row.name;
        if (probe) {
            EXPECT_EQ(row.explain, ExplainRule::drivesNothing) << row.name;
        }
    }
    EXPECT_EQ(componentRow(K::probe).probe, ProbeReading::oneBit);
    EXPECT_EQ(componentRow(K::probeByteH).probe, ProbeReading::eightBits);
}

// One capture of each component function of the catalogue, with the kind it
// must register.
struct Capture {
    const char *function;
    std::function<void(const SD &)> capture;
    K kind;
};

const Signal &bus(int width, const char *name) {
    static std::vector<std::unique_ptr<Signal>> kept;
    kept.push_back(std::make_unique<Signal>(width, name));
    return *kept.back();
}

std::vector<Capture> catalogue() {
    const unsigned char romWords[4] = {1, 2, 3, 4};
    return {
        {"And", [](const SD &sd) { And(sd, bus(3, "a"), bus(1, "y")); }, K::andGate},
        {"Or", [](const SD &sd) { Or(sd, bus(2, "a"), bus(1, "y")); }, K::orGate},
        {"Nand", [](const SD &sd) { Nand(sd, bus(2, "a"), bus(1, "y")); }, K::nand},
        {"Nor", [](const SD &sd) { Nor(sd, bus(2, "a"), bus(1, "y")); }, K::nor},
        {"Not", [](const SD &sd) { Not(sd, bus(1, "a"), bus(1, "y")); }, K::notGate},
        {"Xor", [](const SD &sd) { Xor(sd, bus(2, "a"), bus(1, "y")); }, K::xorGate},
        {"Xnor", [](const SD &sd) { Xnor(sd, bus(2, "a"), bus(1, "y")); }, K::xnor},
        {"Iand", [](const SD &sd) { Iand(sd, bus(1, "a"), bus(1, "b"), bus(1, "y")); }, K::iand},
        {"Inand", [](const SD &sd) { Inand(sd, bus(1, "a"), bus(1, "b"), bus(1, "y")); }, K::inand},
        {"CiOr", [](const SD &sd) { CiOr(sd, bus(1, "a"), bus(1, "b"), bus(1, "y")); }, K::cior},
        {"CiNor", [](const SD &sd) { CiNor(sd, bus(1, "a"), bus(1, "b"), bus(1, "y")); }, K::cinor},
        {"MultiLevelCompare", [](const SD &sd) { MultiLevelCompare(sd, bus(2, "a"), bus(1, "y")); },
         K::compare},
        {"Tsb", [](const SD &sd) { Tsb(sd, bus(1, "a"), bus(1, "e"), bus(1, "y")); }, K::tsb},
        {"Probe", [](const SD &sd) { Probe(sd, bus(1, "a"), "p"); }, K::probe},
        {"ProbeH", [](const SD &sd) { ProbeH(sd, bus(1, "a"), "p"); }, K::probe},
        {"ProbeByte", [](const SD &sd) { ProbeByte(sd, bus(8, "a"), "p"); }, K::probeByte},
        {"ProbeByteH", [](const SD &sd) { ProbeByteH(sd, bus(8, "a"), "p"); }, K::probeByteH},
        {"Switch", [](const SD &sd) { Switch(sd, bus(1, "y"), 'a', Zero, "s"); }, K::switchSource},
        {"Pulser", [](const SD &sd) { Pulser(sd, bus(1, "y"), 'a', 5, Zero); }, K::pulser},
        {"PowerOn", [](const SD &sd) { PowerOn(sd, bus(1, "y"), 5, Zero); }, K::powerOn},
        {"Clock", [](const SD &sd) { Clock(sd, bus(1, "y"), 5, 0, 20, Zero); }, K::clock},
        {"Stop", [](const SD &sd) { Stop(sd, bus(1, "a")); }, K::stop},
        {"Module", [](const SD &sd) { Module(sd, bus(1, "a"), bus(1, "y")); }, K::module},
        {"Space", [](const SD &sd) { Space(sd); }, K::space},
        {"Adder", [](const SD &sd) { Adder(sd, bus(4, "a"), bus(2, "y")); }, K::adder},
        {"Counter", [](const SD &sd) { Counter(sd, bus(2, "a"), bus(2, "y")); }, K::counter},
        {"Gate", [](const SD &sd) { Gate(sd, bus(2, "a"), bus(1, "y")); }, K::clockGate},
        {"Dff", [](const SD &sd) { Dff(sd, bus(4, "a"), bus(1, "y")); }, K::dff},
        {"Jkff", [](const SD &sd) { Jkff(sd, bus(5, "a"), bus(2, "y")); }, K::jkff},
        {"Increment", [](const SD &sd) { Increment(sd, bus(2, "a"), bus(2, "y")); }, K::increment},
        {"Mux", [](const SD &sd) { Mux(sd, bus(1, "s"), bus(2, "a"), bus(1, "y")); }, K::mux},
        {"Decoder", [](const SD &sd) { Decoder(sd, bus(1, "e"), bus(1, "a"), bus(2, "y")); }, K::decoder},
        {"Encoder", [](const SD &sd) { Encoder(sd, bus(2, "a"), bus(1, "y"), bus(1, "v")); }, K::encoder},
        {"Register", [](const SD &sd) { Register(sd, bus(1, "e"), bus(1, "w"), bus(2, "a"), bus(2, "y")); },
         K::enabledRegister},
        {"BitAddressibleRegister",
         [](const SD &sd) {
             BitAddressibleRegister(sd, bus(1, "c"), bus(1, "s"), bus(1, "e"), bus(1, "w"), bus(1, "b"),
                                    bus(1, "wa"), bus(1, "ra"), bus(1, "bo"), bus(2, "ro"));
         },
         K::bitAddressibleRegister},
        {"Stderr", [](const SD &sd) { Stderr(sd, bus(10, "a")); }, K::stderrOutput},
        {"IntOut", [](const SD &sd) { IntOut(sd, bus(2, "c"), bus(4, "a")); }, K::intOut},
        {"HexOut", [](const SD &sd) { HexOut(sd, bus(2, "c"), bus(4, "a")); }, K::hexOut},
        {"RegisterFile",
         [](const SD &sd) {
             RegisterFile(sd, bus(1 * (1 + 2) + 1, "c"), bus(2, "d"), bus(2, "y"), 2, 2, 1, 1, 1);
         },
         K::registerFile},
        {"Ram",
         [](const SD &sd) { Ram(sd, bus(1 * (1 + 2) + 1, "c"), bus(2, "d"), bus(2, "y"), 2, 2, 1, 1, 1); },
         K::ram},
        {"Rom", [romWords](const SD &sd) { Rom(sd, bus(2, "a"), bus(8, "y"), 4, 8, romWords); }, K::rom},
    };
}

// Every component function registers its row's kind, label, icon and
// functions, and no two functions share a kind but the probes' row forms.
TEST(Registry, EveryComponentFunctionRegistersItsRow) {
    std::set<K> seen;
    for (const Capture &c : catalogue()) {
        freshHeadlessNetlist();
        c.capture(SD("aa", nullptr));
        convertNetlist();
        ASSERT_GE(phaseTwo->numberOfComponents, 1) << c.function;
        const ComponentRow &row = componentRow(c.kind);
        EXPECT_EQ(phaseTwo->records[0].kind, c.kind) << c.function;
        EXPECT_EQ(&rowOf(0), &row) << c.function;
        EXPECT_EQ(phaseTwo->iconArrays[0], row.icon) << c.function;
        EXPECT_EQ(phaseTwo->logicEvaluate[0], row.evaluate) << c.function;
        EXPECT_EQ(phaseTwo->drawDynamic[0], row.draw) << c.function;
        EXPECT_EQ(phaseTwo->xEventTriggered[0], row.key) << c.function;
        const PhaseTwo &p2 = *phaseTwo;
        EXPECT_EQ(p2.records[0].form, inPlaceFormFor(row.inPlace, p2.numberOfDataInputs[0],
                                                     p2.numberOfControlInputs[0], p2.numberOfOutputs[0]))
            << c.function << " is evaluated in its row's form";
        EXPECT_EQ(isProbe(0), row.probe != ProbeReading::none) << c.function;
        seen.insert(c.kind);
    }
    // The catalogue walk reaches every kind but a circuit's own.
    EXPECT_EQ(static_cast<int>(seen.size()), numberOfComponentKinds - 1);
}

// A component a circuit registers itself is "other", whatever function it
// uses: its rule is not known, so explanations do not pretend to follow it.
TEST(Registry, ACircuitsOwnComponentIsOther) {
    freshHeadlessNetlist();
    const Signal a(2, "a"), y(1, "y");
    StandardComponent c = componentOn("Mine", nullptr, componentRow(K::andGate).evaluate, a, noSignals(), y);
    addStandardComponent(c, SD("aa", nullptr));
    convertNetlist();
    EXPECT_EQ(phaseTwo->records[0].kind, K::other);
    EXPECT_EQ(phaseTwo->records[0].form, InPlaceForm::called);
    EXPECT_EQ(rowOf(0).explain, ExplainRule::notFollowed);
}

} // namespace
