// The pin readers and output requests every component family shares: each
// reader reads its own bus at the given position, and each request reaches the
// kernel on the given output with the family's delays.
#include <gtest/gtest.h>

#include <vector>

#include "Harness.h"
#include "components/RTPins.h"
#include "core/Ph3.h"
#include "core/addStCmp.h"
#include "display/iconData.h"

namespace {

constexpr SignalValue Z = ZERO, U = UNINITIALIZED, X = XXX, O = ONE;

void doNothing(int) {}

// A rectangle that evaluates to nothing, on the given buses.
StandardComponent box(const char *decal, const Signal &data, const Signal &control, const Signal &out,
                      ValueSpan<int> parameters = {}) {
    StandardComponent c = componentOn(decal, rectIcon, doNothing, data, control, out);
    c.integerParameters = parameters;
    return c;
}

TEST(ComponentPins, EachReaderReadsItsOwnBusAtTheGivenPosition) {
    freshHeadlessNetlist();
    const Signal data(3, "D"), control(2, "C"), out(3, "Q");
    const int parameters[] = {11, 22, 33};
    addStandardComponent(box("Pins", data, control, out, parameters), SD("aa", nullptr));
    convertNetlist();

    const struct {
        const char *bus;
        const Signal &pins;
        SignalValue (*read)(int cind, int k);
    } buses[] = {{"data", data, dataInput}, {"control", control, controlInput}, {"output", out, outputValue}};
    // Exactly one pin of all three buses is ONE, the others ZERO.
    for (const auto &lit : buses)
        for (int k = 0; k < lit.pins.length; ++k) {
            for (const auto &b : buses)
                for (const int s : serials(b.pins))
                    phaseThree->currentSignals[s] = Z;
            phaseThree->currentSignals[lit.pins.serialNumber[k]] = O;
            for (const auto &b : buses)
                for (int j = 0; j < b.pins.length; ++j)
                    EXPECT_EQ(b.read(0, j), &b == &lit && j == k ? O : Z)
                        << b.bus << " " << j << " with " << lit.bus << " " << k << " at ONE";
        }
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(integerParameter(0, k), parameters[k]);
}

// The pins fetched once per evaluation read the same serial numbers, counts
// and values as the per-pin readers, for a component between two others.
TEST(ComponentPins, FetchedPinsAgreeWithThePerPinReaders) {
    freshHeadlessNetlist();
    const Signal before(2, "B"), data(3, "D"), control(2, "C"), out(4, "Q"), after(1, "A");
    addStandardComponent(box("Before", before, noSignals(), noSignals()), SD("aa", nullptr));
    addStandardComponent(box("Pins", data, control, out), SD("ab", nullptr));
    addStandardComponent(box("After", after, noSignals(), after), SD("ac", nullptr));
    convertNetlist();
    const int cind = 1;
    const SignalValue values[] = {Z, U, X, HIZ, O};
    int next = 0;
    for (const Signal *bus : {&data, &control, &out})
        for (const int s : serials(*bus))
            phaseThree->currentSignals[s] = values[next++ % 5];

    const ComponentPins pins(cind);
    EXPECT_EQ(pins.dataCount(), 3);
    EXPECT_EQ(pins.controlCount(), 2);
    EXPECT_EQ(pins.outputCount(), 4);
    const struct {
        const char *group;
        int count;
        int (ComponentPins::*serial)(int) const;
        SignalValue (ComponentPins::*value)(int) const;
        int (*serialOf)(int, int);
        SignalValue (*valueOf)(int, int);
    } groups[] = {
        {"data", 3, &ComponentPins::dataSerial, &ComponentPins::data, dataPin, dataInput},
        {"control", 2, &ComponentPins::controlSerial, &ComponentPins::control, controlPin, controlInput},
        {"output", 4, &ComponentPins::outputSerial, &ComponentPins::output, outputPin, outputValue},
    };
    for (const auto &g : groups)
        for (int k = 0; k < g.count; ++k) {
            EXPECT_EQ((pins.*g.serial)(k), g.serialOf(cind, k)) << g.group << " " << k;
            EXPECT_EQ((pins.*g.value)(k), g.valueOf(cind, k)) << g.group << " " << k;
        }
    EXPECT_EQ(pins.dataSerials()[2], data.serialNumber[2]);
    EXPECT_EQ(pins.controlSerials()[1], control.serialNumber[1]);

    // A request changes an output only when it differs from where the
    // output is headed, which a transition moves.
    EXPECT_FALSE(pins.changesOutput(0, U));
    EXPECT_TRUE(pins.changesOutput(0, O));
    pins.drive(0, O, msiDelays);
    EXPECT_FALSE(pins.changesOutput(0, O));
    EXPECT_TRUE(pins.changesOutput(0, U));
    EXPECT_TRUE(pins.changesOutput(1, O)) << "output 1 untouched";
}

// What the test component does when it is evaluated: request ONE on output 2.
enum class Request { drive, driveTriState, driveAfter };
struct {
    Request how;
    FamilyDelays delays;
    int deltaTime;
} requested;

void requestOne(int cind) {
    const ComponentPins pins(cind);
    switch (requested.how) {
    case Request::drive:
        pins.drive(2, O, requested.delays);
        break;
    case Request::driveTriState:
        pins.driveTriState(2, O, requested.delays);
        break;
    case Request::driveAfter:
        pins.driveAfter(2, O, requested.deltaTime);
        break;
    }
}

TEST(ComponentPins, RequestsReachTheirOutputWithTheFamilysDelays) {
    const struct {
        const char *family;
        Request how;
        FamilyDelays delays;
        int deltaTime;
        unsigned long quick, lazy; // when the output passes XXX and reaches ONE
    } cases[] = {
        {"small-scale", Request::drive, ssiDelays, 0, 7, 10},
        {"medium-scale", Request::drive, msiDelays, 0, 13, 17},
        {"memory", Request::drive, vlsiDelays, 0, 17, 23},
        {"small-scale tri-state", Request::driveTriState, ssiDelays, 0, 7, 10},
        {"medium-scale tri-state", Request::driveTriState, msiDelays, 0, 13, 17},
        {"memory tri-state", Request::driveTriState, vlsiDelays, 0, 17, 23},
        // Relative requests take the kernel's own additions, whatever the family.
        {"20 later", Request::driveAfter, {}, 20, 24, 29},
    };
    for (const auto &c : cases) {
        freshHeadlessNetlist();
        const Signal out(3, "Q");
        StandardComponent request = box("Request", noSignals(), noSignals(), out);
        request.evaluate = requestOne;
        addStandardComponent(request, SD("aa", nullptr));
        convertNetlist();
        requested = {c.how, c.delays, c.deltaTime};
        resetCircuit(); // activates the component: it requests at time 0

        const std::vector<Change> expected = {{c.quick, X}, {c.lazy, O}};
        EXPECT_EQ(runAndTrace(out.serialNumber[2], 100), expected) << c.family;
        EXPECT_EQ(phaseThree->scheduledSignals[out.serialNumber[0]], U) << c.family << ": output 0 untouched";
        EXPECT_EQ(phaseThree->scheduledSignals[out.serialNumber[1]], U) << c.family << ": output 1 untouched";
    }
}

} // namespace
