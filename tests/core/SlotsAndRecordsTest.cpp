// The kernel's compact storage: one slot per signal read through the
// per-field views, and one record per component laying out its pins in one
// pool.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "KernelHarness.h"
#include "support/Fresh.h"

using namespace kernel_harness;

namespace {

constexpr SignalValue allValues[] = {ZERO, UNINITIALIZED, XXX, HIZ, ONE};

// Three wires a, b, c (serial numbers 2, 3, 4) read by one component.
class Slots : public testing::Test {
protected:
    void SetUp() override {
        freshNetlist();
        const Signal w(3, "w");
        capture(Part(), w, none(), none());
        convert();
    }
};

TEST_F(Slots, EveryViewCoversEverySignal) {
    const PhaseThree &p3 = *phaseThree;
    EXPECT_EQ(p3.currentSignals.size(), 5U);
    EXPECT_EQ(p3.scheduledSignals.size(), 5U);
    EXPECT_EQ(p3.scheduledTimes.size(), 5U);
    EXPECT_EQ(p3.whenScheduled.size(), 5U);
    EXPECT_EQ(p3.signalSlots.size(), 5U);
}

// Each view writes its own field of its own signal's slot and nothing else.
TEST_F(Slots, EachViewWritesOnlyItsFieldOfItsSignal) {
    PhaseThree &p3 = *phaseThree;
    p3.currentSignals[3] = ONE;
    p3.scheduledSignals[3] = HIZ;
    p3.scheduledTimes[3] = 1234567890123ULL;
    p3.whenScheduled[3] = PhaseFour::latestTime;
    const SignalSlot &slot = p3.signalSlots[3];
    EXPECT_EQ(slot.currentValue(), ONE);
    EXPECT_EQ(slot.scheduledValue(), HIZ);
    EXPECT_EQ(slot.scheduledTime, 1234567890123ULL);
    EXPECT_EQ(slot.whenScheduled, PhaseFour::latestTime);
    for (const int s : {2, 4}) {
        EXPECT_EQ(p3.currentSignals[s], UNINITIALIZED) << s;
        EXPECT_EQ(p3.scheduledSignals[s], UNINITIALIZED) << s;
        EXPECT_EQ(p3.scheduledTimes[s], 0U) << s;
        EXPECT_EQ(p3.whenScheduled[s], 0U) << s;
    }
}

TEST_F(Slots, EveryValueIsKeptInItsByte) {
    PhaseThree &p3 = *phaseThree;
    for (const SignalValue v : allValues) {
        p3.currentSignals[2] = v;
        p3.scheduledSignals[2] = v;
        EXPECT_EQ(p3.currentSignals[2], v) << signalValueName(v);
        EXPECT_EQ(p3.scheduledSignals[2], v) << signalValueName(v);
    }
}

// a[s] = b[t] copies the value: a later change of b[t] leaves a[s] alone.
TEST_F(Slots, AssigningOneEntryToAnotherCopiesTheValue) {
    PhaseThree &p3 = *phaseThree;
    p3.scheduledSignals[4] = XXX;
    p3.currentSignals[2] = p3.scheduledSignals[4];
    p3.scheduledSignals[4] = ZERO;
    EXPECT_EQ(p3.currentSignals[2], XXX);
    EXPECT_EQ(p3.scheduledSignals[4], ZERO);
    p3.scheduledTimes[2] = p3.scheduledTimes[3] = 7;
    p3.scheduledTimes[3] = 8;
    EXPECT_EQ(p3.scheduledTimes[2], 7U);
}

// A copy of a view (as a loop holds one) reads and writes the same slots.
TEST_F(Slots, ACopyOfAViewSeesTheSameSlots) {
    const SignalValues copy = phaseThree->currentSignals;
    phaseThree->currentSignals[4] = ONE;
    EXPECT_EQ(copy[4], ONE);
    copy[3] = ZERO;
    EXPECT_EQ(phaseThree->currentSignals[3], ZERO);
}

// ---- Component records ----

TEST(Records, LayEveryComponentsPinsOneAfterTheOtherAndCloseThePool) {
    freshNetlist();
    const Signal a(3, "a"), y(2, "y");
    capture(Part(), a, (y[1], a[0]), y);     // 3 data, 2 control, 2 outputs
    capture(Part(), none(), none(), none()); // no pins at all
    capture(Part(), none(), a[2], y[0]);     // control and output only
    Part withParameters;
    withParameters.integers = {11, 12}; // kept apart from the pins
    capture(withParameters, y[1], none(), none());
    convert();
    const PhaseTwo &p2 = *phaseTwo;
    ASSERT_EQ(p2.records.size(), 5U) << "one record per component and the closing one";
    const int expectedFrom[][3] = {{0, 3, 5}, {7, 7, 7}, {7, 7, 8}, {9, 10, 10}, {10, 10, 10}};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(p2.records[c].dataFrom, expectedFrom[c][0]) << c;
        EXPECT_EQ(p2.records[c].controlFrom, expectedFrom[c][1]) << c;
        EXPECT_EQ(p2.records[c].outputFrom, expectedFrom[c][2]) << c;
    }
    const std::vector<int> pool(p2.pinPool(), p2.pinPool() + 10);
    EXPECT_EQ(pool, (std::vector<int>{2, 3, 4, 2, 6, 5, 6, 4, 5, 6}));
    EXPECT_EQ(p2.integerParameters[3][0], 11);
    EXPECT_EQ(p2.integerParameters[3][1], 12);
}

TEST(Records, GroupsWithoutPinsReadAsNullAndZero) {
    freshNetlist();
    const Signal a(1, "a");
    capture(Part(), none(), none(), none());
    capture(Part(), none(), a, none());
    convert();
    const PhaseTwo &p2 = *phaseTwo;
    for (int c = 0; c < 2; ++c) {
        EXPECT_EQ(p2.numberOfDataInputs[c], 0) << c;
        EXPECT_EQ(p2.dataInputs[c], nullptr) << c;
        EXPECT_EQ(p2.numberOfOutputs[c], 0) << c;
        EXPECT_EQ(p2.outputs[c], nullptr) << c;
    }
    EXPECT_EQ(p2.controlInputs[0], nullptr);
    EXPECT_EQ(p2.numberOfControlInputs[1], 1);
    ASSERT_NE(p2.controlInputs[1], nullptr);
    EXPECT_EQ(p2.controlInputs[1][0], 2);
}

// The step and the runtimes read the pins through the records; the views
// other code uses read the same pool.
TEST(Records, ThePinViewsPointIntoThePool) {
    freshNetlist();
    const Signal a(2, "a"), y(1, "y");
    capture(Part(), a, a[1], y);
    convert();
    const PhaseTwo &p2 = *phaseTwo;
    EXPECT_EQ(p2.dataInputs[0], p2.pinPool() + p2.records[0].dataFrom);
    EXPECT_EQ(p2.controlInputs[0], p2.pinPool() + p2.records[0].controlFrom);
    EXPECT_EQ(p2.outputs[0], p2.pinPool() + p2.records[0].outputFrom);
    EXPECT_EQ(p2.outputs[0][0], 4);
}

} // namespace
