// The kernel's scheduling: the transition table, per-signal ordering with its
// time-warp report, tri-state arbitration and the limits of time.
#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <ostream>
#include <string>

#include "KernelHarness.h"
#include "support/Fresh.h"

using namespace kernel_harness;

namespace {

constexpr unsigned long latest = std::numeric_limits<unsigned long>::max();

// A netlist of one free wire w[0] (serial number 2) and six components that
// stand for tri-state drivers at positions t0 ... t5.
class Kernel : public testing::Test {
protected:
    static constexpr int wire = 2;

    void SetUp() override {
        freshNetlist();
        Signal w(1, "w");
        for (int k = 0; k < 6; ++k) {
            Part tsb;
            tsb.position = "t" + std::to_string(k);
            tsb.overloadable = 1;
            capture(tsb, none(), none(), w);
        }
        convert();
    }
    // Puts the wire where an earlier request would have left it.
    static void headFor(SignalValue v, unsigned long at = 0, unsigned long queuedAt = 0) {
        phaseThree->scheduledSignals[wire] = v;
        phaseThree->scheduledTimes[wire] = at;
        phaseThree->whenScheduled[wire] = queuedAt;
    }
};

struct TableCase {
    SignalValue scheduled;
    SignalValue requested;
    Queued queued; // at time 100 with quick 2 and lazy 5
};

void PrintTo(const TableCase &c, std::ostream *os) {
    *os << signalValueName(c.scheduled) << " -> " << signalValueName(c.requested);
}

constexpr unsigned long q = 102, l = 105;

class TransitionTable : public Kernel, public testing::WithParamInterface<TableCase> {};

TEST_P(TransitionTable, QueuesTheEventsOfItsCell) {
    const TableCase &c = GetParam();
    phaseFour->time = 100;
    headFor(c.scheduled);
    phaseFour->signalTransition(wire, c.requested, 2, 5);
    const SignalValue headedFor = c.queued.empty() ? c.scheduled : c.queued.back().second;
    EXPECT_EQ(phaseThree->scheduledSignals[wire], headedFor);
    EXPECT_EQ(phaseThree->scheduledTimes[wire], c.queued.empty() ? 0 : c.queued.back().first);
    EXPECT_EQ(phaseThree->whenScheduled[wire], c.queued.empty() ? 0UL : 100UL);
    EXPECT_EQ(drainQueue(), c.queued);
    // A request never touches the value the signal has now.
    EXPECT_EQ(phaseThree->currentSignals[wire], UNINITIALIZED);
}

INSTANTIATE_TEST_SUITE_P(
    Kernel, TransitionTable,
    testing::Values(
        TableCase{ZERO, ZERO, {}}, TableCase{ZERO, UNINITIALIZED, {{l, HIZ}}},
        TableCase{ZERO, XXX, {{q, XXX}}}, TableCase{ZERO, HIZ, {{l, HIZ}}},
        TableCase{ZERO, ONE, {{q, XXX}, {l, ONE}}}, TableCase{UNINITIALIZED, ZERO, {{q, XXX}, {l, ZERO}}},
        TableCase{UNINITIALIZED, UNINITIALIZED, {}}, TableCase{UNINITIALIZED, XXX, {{q, XXX}}},
        TableCase{UNINITIALIZED, HIZ, {{l, HIZ}}}, TableCase{UNINITIALIZED, ONE, {{q, XXX}, {l, ONE}}},
        TableCase{XXX, ZERO, {{l, ZERO}}}, TableCase{XXX, UNINITIALIZED, {{l, HIZ}}}, TableCase{XXX, XXX, {}},
        TableCase{XXX, HIZ, {{l, HIZ}}}, TableCase{XXX, ONE, {{l, ONE}}},
        TableCase{HIZ, ZERO, {{q, XXX}, {l, ZERO}}}, TableCase{HIZ, UNINITIALIZED, {{q, XXX}}},
        TableCase{HIZ, XXX, {{q, XXX}}}, TableCase{HIZ, HIZ, {}}, TableCase{HIZ, ONE, {{q, XXX}, {l, ONE}}},
        TableCase{ONE, ZERO, {{q, XXX}, {l, ZERO}}}, TableCase{ONE, UNINITIALIZED, {{l, UNINITIALIZED}}},
        TableCase{ONE, XXX, {{l, XXX}}}, TableCase{ONE, HIZ, {{l, HIZ}}}, TableCase{ONE, ONE, {}},
        // Values outside the five are ignored.
        TableCase{ZERO, static_cast<SignalValue>(5), {}}, TableCase{ONE, static_cast<SignalValue>(7), {}}),
    [](const testing::TestParamInfo<TableCase> &info) {
        return caseName(std::string(signalValueName(info.param.scheduled)) + " to " +
                        signalValueName(info.param.requested));
    });

TEST_F(Kernel, ARequestForTheScheduledValueQueuesNothingWhateverTheCurrentValue) {
    phaseThree->currentSignals[wire] = ZERO;
    headFor(ONE, 40);
    phaseFour->signalTransition(wire, ONE, 7, 10);
    EXPECT_TRUE(phaseFour->skewHeap.isEmpty());
}

TEST_F(Kernel, AltTransitionAddsFourAndNineToItsDelay) {
    phaseFour->time = 30;
    phaseFour->altSignalTransition(wire, ONE, 3);
    EXPECT_EQ(drainQueue(), (Queued{{37, XXX}, {42, ONE}}));
}

// A signal headed for ONE at 30 gets, at 21, a request for ZERO with delays 2
// and 4: XXX (asked for 23) moves silently behind it, ZERO (asked for 25)
// warps and moves behind the XXX.
TEST_F(Kernel, TimeWarpMovesTheEventAndReportsIt) {
    phaseFour->time = 20;
    phaseFour->signalTransition(wire, ONE, 5, 10);
    phaseFour->time = 21;
    testing::internal::CaptureStderr();
    phaseFour->signalTransition(wire, ZERO, 2, 4);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "TIME WARP  sigNr = 2 sigName = w[0]\n"
              " already sked to become XXX at time = 31, which was queued at time = 21\n"
              "  Now scheduling to become ZERO at time = 25.  Now Queueing-time = 21\n");
    EXPECT_EQ(drainQueue(), (Queued{{25, XXX}, {30, ONE}, {31, XXX}, {32, ZERO}}));
    EXPECT_EQ(phaseThree->scheduledTimes[wire], 32UL);
    EXPECT_EQ(phaseThree->whenScheduled[wire], 21UL);
}

struct WarpCase {
    const char *what;
    SignalValue value;
    unsigned long requested;
    unsigned long queued;
    bool reported;
};

void PrintTo(const WarpCase &c, std::ostream *os) {
    *os << c.what;
}

class Warp : public Kernel, public testing::WithParamInterface<WarpCase> {};

// The signal's last transition is queued for 50 (at time 12); the kernel is
// at time 40 and an event for the given time arrives.
TEST_P(Warp, KeepsEachSignalInOrder) {
    const WarpCase &c = GetParam();
    phaseFour->time = 40;
    headFor(ONE, 50, 12);
    testing::internal::CaptureStderr();
    phaseFour->recordEventQueueInput(Event(c.requested, signalChange, wire, c.value));
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_EQ(drainQueue(), (Queued{{c.queued, c.value}}));
    if (c.reported)
        EXPECT_EQ(report, "TIME WARP  sigNr = 2 sigName = w[0]\n"
                          " already sked to become ONE at time = 50, which was queued at time = 12\n"
                          "  Now scheduling to become " +
                              std::string(signalValueName(c.value)) +
                              " at time = " + std::to_string(c.requested) + ".  Now Queueing-time = 40\n");
    else
        EXPECT_EQ(report, "");
}

INSTANTIATE_TEST_SUITE_P(Kernel, Warp,
                         testing::Values(WarpCase{"XXX earlier moves silently", XXX, 45, 51, false},
                                         WarpCase{"UNINITIALIZED earlier moves silently", UNINITIALIZED, 41,
                                                  51, false},
                                         WarpCase{"ZERO earlier is reported", ZERO, 45, 51, true},
                                         WarpCase{"HIZ earlier is reported", HIZ, 49, 51, true},
                                         WarpCase{"the same time stays", ZERO, 50, 50, false},
                                         WarpCase{"a later time stays", ZERO, 60, 60, false}),
                         NamedByWhat());

TEST_F(Kernel, AWarpBehindTheLatestTimeStaysAtTheLatestTime) {
    headFor(HIZ, latest, 3);
    phaseFour->recordEventQueueInput(Event(5, signalChange, wire, XXX));
    EXPECT_EQ(drainQueue(), (Queued{{latest, XXX}}));
}

struct DelayCase {
    const char *what;
    unsigned long now;
    bool alt;
    int quick; // the delta for altSignalTransition
    int lazy;
    Queued queued; // from UNINITIALIZED to ONE
};

void PrintTo(const DelayCase &c, std::ostream *os) {
    *os << c.what;
}

class Delays : public Kernel, public testing::WithParamInterface<DelayCase> {};

TEST_P(Delays, NeverWrapOrGoBackInTime) {
    const DelayCase &c = GetParam();
    phaseFour->time = c.now;
    if (c.alt)
        phaseFour->altSignalTransition(wire, ONE, c.quick);
    else
        phaseFour->signalTransition(wire, ONE, c.quick, c.lazy);
    EXPECT_EQ(drainQueue(), c.queued);
}

INSTANTIATE_TEST_SUITE_P(
    Kernel, Delays,
    testing::Values(
        DelayCase{
            "saturates at the latest time", latest - 8, false, 7, 10, {{latest - 1, XXX}, {latest, ONE}}},
        DelayCase{"both saturate", latest - 3, false, 7, 10, {{latest, XXX}, {latest, ONE}}},
        DelayCase{
            "huge delays saturate", latest - 1, false, INT_MAX, INT_MAX, {{latest, XXX}, {latest, ONE}}},
        DelayCase{"negative delays queue now", 50, false, -5, -1, {{50, XXX}, {50, ONE}}},
        DelayCase{"one negative delay", 50, false, -5, 3, {{50, XXX}, {53, ONE}}},
        DelayCase{
            "alt with the largest delta",
            0,
            true,
            INT_MAX,
            0,
            {{static_cast<unsigned long>(INT_MAX) + 4, XXX}, {static_cast<unsigned long>(INT_MAX) + 9, ONE}}},
        DelayCase{"alt with a negative delta", 50, true, -6, 0, {{50, XXX}, {53, ONE}}},
        DelayCase{"alt far below zero", 50, true, INT_MIN, 0, {{50, XXX}, {50, ONE}}}),
    NamedByWhat());

struct TsbCase {
    const char *what;
    SignalValue scheduled;
    int holder; // -1: the bus has no entry yet
    int driver;
    SignalValue requested;
    std::string message;
    int holderAfter; // -1: still no entry
    Queued queued;   // at time 0 with quick 7 and lazy 10
};

void PrintTo(const TsbCase &c, std::ostream *os) {
    *os << c.what;
}

class TriState : public Kernel, public testing::WithParamInterface<TsbCase> {};

TEST_P(TriState, LetsOnlyTheHolderDriveTheBus) {
    const TsbCase &c = GetParam();
    headFor(c.scheduled);
    if (c.holder >= 0)
        m[wire] = c.holder;
    testing::internal::CaptureStdout();
    phaseFour->tsbSignalTransition(c.driver, wire, c.requested, 7, 10);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.message);
    if (c.holderAfter < 0)
        EXPECT_EQ(m.count(wire), 0U);
    else
        EXPECT_EQ(m[wire], c.holderAfter);
    EXPECT_EQ(drainQueue(), c.queued);
}

const std::string refusedZero = "Another Tsb at t4 is trying to drive it to ZERO, this is not allowed\n";
const std::string refusedOne = "Another Tsb at t4 is trying to drive it to ONE, this is not allowed\n";

INSTANTIATE_TEST_SUITE_P(
    Kernel, TriState,
    testing::Values(
        TsbCase{"a released bus goes to the first driver", HIZ, 2, 4, ONE, "", 4, {{7, XXX}, {10, ONE}}},
        TsbCase{"HIZ onto a released bus takes it silently", HIZ, -1, 4, HIZ, "", 4, {}},
        TsbCase{"the holder changes its level", ZERO, 4, 4, ONE, "", 4, {{7, XXX}, {10, ONE}}},
        TsbCase{"the holder releases the bus", ONE, 4, 4, HIZ, "", 4, {{10, HIZ}}},
        TsbCase{"another driver's ONE is refused", ZERO, 3, 4, ONE, refusedOne, 3, {}},
        TsbCase{"another driver's ZERO is refused", ONE, 3, 4, ZERO, refusedZero, 3, {}},
        TsbCase{"another driver's HIZ is ignored", ZERO, 3, 4, HIZ, "", 3, {}},
        TsbCase{"another driver's XXX is ignored", ONE, 3, 4, XXX, "", 3, {}},
        TsbCase{"another driver's UNINITIALIZED is ignored", ONE, 3, 4, UNINITIALIZED, "", 3, {}},
        TsbCase{"an unheld XXX bus takes any driver", XXX, 3, 4, ZERO, "", 3, {{10, ZERO}}},
        TsbCase{"an uninitialised bus records no holder",
                UNINITIALIZED,
                -1,
                4,
                ONE,
                "",
                -1,
                {{7, XXX}, {10, ONE}}},
        // A driven bus never taken counts as held by component 0.
        TsbCase{"component 0 holds an unrecorded bus", ONE, -1, 0, ZERO, "", 0, {{7, XXX}, {10, ZERO}}},
        TsbCase{"others are refused on an unrecorded bus", ONE, -1, 4, ZERO, refusedZero, 0, {}}),
    NamedByWhat());

} // namespace
