// The kernel step, the headless run, its stop-time and quiescence checks,
// the end of time and the reset to time zero.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <ostream>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

#include "KernelHarness.h"
#include "core/RunTime.h"
#include "core/cmdLine.h"
#include "display/FandCOp.h"
#include "display/Ph5.h"
#include "support/Fresh.h"

using namespace kernel_harness;

namespace {

std::vector<int> evaluated;
std::vector<int> drawn;
void recordEvaluation(int cind) {
    evaluated.push_back(cind);
}
void recordDrawing(int cind) {
    drawn.push_back(cind);
}

class Step : public testing::Test {
protected:
    void SetUp() override {
        freshNetlist();
        evaluated.clear();
        drawn.clear();
    }
    static Part recorder() {
        Part p;
        p.evaluate = recordEvaluation;
        p.draw = recordDrawing;
        return p;
    }
};

// Recorders, component k reading bit k of w (serial number 2 + k).
class Readers : public Step {
protected:
    static constexpr int first = 2;
    void captureReaders(int n) {
        const Signal w(static_cast<unsigned>(n), "w");
        for (int k = 0; k < n; ++k)
            capture(recorder(), w[k], none(), none());
        convert();
    }
    // Queues a change of the signal component c reads, at time at.
    static void change(int c, unsigned long at) {
        const int s = first + c;
        const SignalValue now = phaseThree->currentSignals[s];
        phaseFour->skewHeap.add(Event(at, signalChange, s, now == ONE ? ZERO : ONE));
    }
};

TEST_F(Readers, EvaluateTheComponentsActivatedByAnAdvanceInAscendingIndexOnce) {
    captureReaders(6);
    for (int c : {4, 1, 5, 0})
        change(c, 3);
    // A second change of the same signal at the same time marks nothing more.
    phaseFour->skewHeap.add(Event(3, signalChange, first + 1, ZERO));
    ASSERT_TRUE(phaseFour->step());
    EXPECT_TRUE(evaluated.empty());
    EXPECT_EQ(phaseThree->componentsActivated, (std::vector<int>{1, 1, 0, 0, 1, 1}));
    EXPECT_FALSE(phaseFour->quiescent());

    EXPECT_FALSE(phaseFour->step());
    EXPECT_EQ(evaluated, (std::vector<int>{0, 1, 4, 5}));
    EXPECT_EQ(drawn, (std::vector<int>{0, 1, 4, 5}));
    EXPECT_EQ(phaseThree->componentsActivated, std::vector<int>(6, 0));
    EXPECT_EQ(phaseFour->componentEvaluations, 4U);
    EXPECT_EQ(phaseFour->eventsApplied, 5U);
    EXPECT_TRUE(phaseFour->quiescent());

    EXPECT_FALSE(phaseFour->step());
    EXPECT_EQ(evaluated.size(), 4U);
}

// Many activations in scrambled order, dense or sparse over the circuit,
// still evaluate in ascending index.
TEST_F(Readers, EvaluateLargeScrambledActivationsInOrder) {
    const int components = 20000;
    captureReaders(components);
    std::mt19937 random(5);
    unsigned long at = 1;
    for (const int count : {3, 40, 700, 5000}) {
        for (const int spread : {1, 60, 600}) {
            std::vector<int> chosen;
            for (int c = 0; c < components && static_cast<int>(chosen.size()) < count; c += spread)
                chosen.push_back(c);
            std::vector<int> scrambled = chosen;
            std::shuffle(scrambled.begin(), scrambled.end(), random);
            for (int c : scrambled)
                change(c, at);
            ++at;
            evaluated.clear();
            ASSERT_TRUE(phaseFour->step());
            ASSERT_FALSE(phaseFour->step());
            ASSERT_EQ(evaluated, chosen) << count << " components " << spread << " apart";
        }
    }
}

TEST_F(Step, AStepWithAnEmptyQueueLeavesTimeAlone) {
    capture(recorder(), none(), none(), none());
    convert();
    phaseFour->time = 12;
    EXPECT_FALSE(phaseFour->step());
    EXPECT_EQ(phaseFour->time, 12UL);
    EXPECT_TRUE(evaluated.empty());
}

// Components 0, 1 and 2 read a, a and b, and b; the queue holds a change of
// a and a non-change of b at 5, and a change of b at 9.
TEST_F(Step, AdvanceAppliesEveryEventOfTheEarliestTimeAndActivatesItsReaders) {
    Signal a(1, "a"), b(1, "b");
    capture(recorder(), a, none(), none());
    capture(recorder(), (a, b), none(), none());
    capture(recorder(), none(), b, none());
    convert();
    phaseFour->skewHeap.add(Event(9, signalChange, 3, ZERO));
    phaseFour->skewHeap.add(Event(5, signalChange, 2, ONE));
    phaseFour->skewHeap.add(Event(5, signalChange, 3, UNINITIALIZED));

    ASSERT_TRUE(phaseFour->step());
    EXPECT_EQ(phaseFour->time, 5UL);
    EXPECT_EQ(phaseThree->currentSignals[2], ONE);
    EXPECT_EQ(phaseFour->skewHeap.getLength(), 1);
    EXPECT_EQ(phaseFour->eventsApplied, 2U);
    EXPECT_EQ(phaseThree->componentsActivated, (std::vector<int>{1, 1, 0}));

    ASSERT_TRUE(phaseFour->step());
    EXPECT_EQ(evaluated, (std::vector<int>{0, 1}));
    EXPECT_EQ(phaseFour->time, 9UL);
    EXPECT_EQ(phaseThree->currentSignals[3], ZERO);
    EXPECT_EQ(phaseThree->componentsActivated, (std::vector<int>{0, 1, 1}));

    EXPECT_FALSE(phaseFour->step());
    EXPECT_EQ(evaluated, (std::vector<int>{0, 1, 1, 2}));
    EXPECT_EQ(phaseFour->time, 9UL);
}

// A step bounded by until evaluates as any step does but applies no event
// later than until.
TEST_F(Step, ABoundedStepLeavesLaterEventsQueued) {
    Signal a(1, "a");
    capture(recorder(), a, none(), none());
    convert();
    phaseFour->skewHeap.add(Event(5, signalChange, 2, ONE));
    phaseFour->skewHeap.add(Event(9, signalChange, 2, ZERO));
    EXPECT_TRUE(phaseFour->step(5));
    EXPECT_EQ(phaseFour->time, 5UL);
    EXPECT_FALSE(phaseFour->step(8));
    EXPECT_EQ(evaluated, std::vector<int>{0}) << "the activated component is still evaluated";
    EXPECT_EQ(phaseFour->time, 5UL);
    EXPECT_EQ(phaseThree->currentSignals[2], ONE);
    EXPECT_EQ(phaseFour->skewHeap.getLength(), 1);
}

struct LevelCase {
    int displayLevel; // 0: no display object
    int overloadable;
    int componentLevel;
    bool drawn;
};

void PrintTo(const LevelCase &c, std::ostream *os) {
    *os << "display " << c.displayLevel << " overloadable " << c.overloadable << " level "
        << c.componentLevel;
}

class DrawLevel : public Step, public testing::WithParamInterface<LevelCase> {};

TEST_P(DrawLevel, DrawsPanesOnlyWhereTheComponentIsVisible) {
    const LevelCase &c = GetParam();
    Part p = recorder();
    p.overloadable = c.overloadable;
    p.level = c.componentLevel;
    capture(p, none(), none(), none());
    convert();
    if (c.displayLevel > 0) {
        useXDisplay = 0; // the display object without a window
        phaseFive = new PhaseFive;
        phaseFive->currentGraphicDisplayLevel = c.displayLevel;
    }
    phaseFour->runInitialize();
    phaseFour->step();
    EXPECT_EQ(evaluated, std::vector<int>{0});
    EXPECT_EQ(drawn.size(), c.drawn ? 1U : 0U);
}

INSTANTIATE_TEST_SUITE_P(Kernel, DrawLevel,
                         testing::Values(LevelCase{0, 0, 1, true}, LevelCase{0, 0, 2, false},
                                         LevelCase{0, 1, 1, true}, LevelCase{0, 1, 2, false},
                                         LevelCase{3, 0, 1, true}, LevelCase{3, 0, 3, true},
                                         LevelCase{3, 0, 4, false}, LevelCase{3, 1, 3, true},
                                         LevelCase{3, 1, 2, false}, LevelCase{3, 1, 4, false}),
                         [](const testing::TestParamInfo<LevelCase> &info) {
                             const LevelCase &c = info.param;
                             return "Display" + std::to_string(c.displayLevel) + "Overloadable" +
                                    std::to_string(c.overloadable) + "Level" +
                                    std::to_string(c.componentLevel);
                         });

TEST_F(Step, ResetReturnsToTimeZeroKeepingPrivateStorageAndHolders) {
    Signal w(2, "w");
    Signal k(1, 0x1u, "k");
    Part p = recorder();
    p.words8 = 1;
    capture(p, w, none(), none());
    capture(recorder(), k, none(), w);
    convert();
    phaseFour->time = 77;
    phaseFour->signalTransition(2, ONE, 3, 4);
    phaseThree->currentSignals[3] = ZERO;
    phaseThree->currentSignals[4] = ZERO;
    phaseTwo->state = {5, 6};
    phaseTwo->internal8BitVariables[0][0] = 9;
    m[3] = 1;

    phaseFour->runInitialize();
    EXPECT_TRUE(phaseFour->skewHeap.isEmpty());
    EXPECT_EQ(phaseFour->skewHeap.getLength(), 0);
    EXPECT_EQ(phaseFour->time, 0UL);
    const std::vector<SignalValue> reset{ZERO, ONE, UNINITIALIZED, UNINITIALIZED, ONE};
    EXPECT_EQ(valuesOf(phaseThree->currentSignals), reset);
    EXPECT_EQ(valuesOf(phaseThree->scheduledSignals), reset);
    EXPECT_EQ(valuesOf(phaseThree->scheduledTimes), std::vector<uint64_t>(5, 0));
    EXPECT_EQ(valuesOf(phaseThree->whenScheduled), std::vector<uint64_t>(5, 0));
    EXPECT_EQ(phaseTwo->state, (std::vector<int>{0, 0}));
    EXPECT_EQ(phaseTwo->internal8BitVariables[0][0], 9);
    EXPECT_EQ(m[3], 1);
    phaseFour->step();
    EXPECT_EQ(evaluated, (std::vector<int>{0, 1}));
}

// A source that drives its output to ONE, and two inverters behind it, all
// with delays 7 and 10.
void driveOne(int cind) {
    phaseFour->signalTransition(phaseTwo->outputs[cind][0], ONE, 7, 10);
}
void invert(int cind) {
    static const SignalValue inverse[] = {ONE, XXX, XXX, XXX, ZERO};
    const SignalValue in = phaseThree->currentSignals[phaseTwo->dataInputs[cind][0]];
    phaseFour->signalTransition(phaseTwo->outputs[cind][0], inverse[in], 7, 10);
}

TEST_F(Step, RunsASmallCircuitThroughTheTransitionModel) {
    Signal s(1, "s"), x(1, "x"), y(1, "y");
    Part source, inverter;
    source.evaluate = driveOne;
    inverter.evaluate = invert;
    capture(source, none(), none(), s);
    capture(inverter, s, none(), x);
    capture(inverter, x, none(), y);
    convert();
    phaseFour->runInitialize();
    using Row = std::tuple<unsigned long, SignalValue, SignalValue, SignalValue>;
    std::vector<Row> timeline;
    while (phaseFour->step())
        timeline.emplace_back(phaseFour->time, phaseThree->currentSignals[2], phaseThree->currentSignals[3],
                              phaseThree->currentSignals[4]);
    EXPECT_EQ(timeline,
              (std::vector<Row>{
                  {7, XXX, XXX, XXX}, {10, ONE, XXX, XXX}, {20, ONE, ZERO, XXX}, {30, ONE, ZERO, ONE}}));
    EXPECT_TRUE(phaseFour->quiescent());
}

// From UNINITIALIZED at time 0 with delays 2 and 5, ONE is reached through
// XXX: the signal reads XXX after the step to 2 and ONE after the step to 5.
void driveOneQuickly(int cind) {
    phaseFour->signalTransition(phaseTwo->outputs[cind][0], ONE, 2, 5);
}

// That source alone, driving signal 2, converted and reset.
void captureQuickSource() {
    const Signal s(1, "s");
    Part source;
    source.evaluate = driveOneQuickly;
    capture(source, none(), none(), s);
    convert();
    phaseFour->runInitialize();
}

TEST_F(Step, PassesThroughXxxOnTheWayToALevel) {
    captureQuickSource();
    ASSERT_TRUE(phaseFour->step());
    EXPECT_EQ(phaseFour->time, 2UL);
    EXPECT_EQ(phaseThree->currentSignals[2], XXX);
    ASSERT_TRUE(phaseFour->step());
    EXPECT_EQ(phaseFour->time, 5UL);
    EXPECT_EQ(phaseThree->currentSignals[2], ONE);
}

// An oscillator: the component reads its own output and drives the other
// level, so the queue never empties.
void toggleOwnOutput(int cind) {
    const bool high = phaseThree->currentSignals[phaseTwo->dataInputs[cind][0]] == ONE;
    phaseFour->signalTransition(phaseTwo->outputs[cind][0], high ? ZERO : ONE, 3, 5);
}
void toggleUntilThirty(int cind) {
    toggleOwnOutput(cind);
    if (phaseFour->time >= 30)
        done = 1;
}

class Unattended : public Step {
protected:
    void captureOscillator(ComponentFunction evaluate) {
        Signal w(1, "w");
        Part p;
        p.evaluate = evaluate;
        capture(p, w, none(), w);
        convert();
        phaseFour->runInitialize();
    }
};

TEST_F(Unattended, EndsWhenNothingCanChangeAnyMore) {
    captureQuickSource();
    EXPECT_TRUE(phaseFour->stepUnattended());
    EXPECT_EQ(phaseFour->time, 5UL);
    EXPECT_EQ(phaseThree->currentSignals[2], ONE);
}

TEST_F(Unattended, StopsAtTheFirstStepPastTheStopTime) {
    captureOscillator(toggleOwnOutput);
    stopTime = 100;
    EXPECT_FALSE(phaseFour->stepUnattended());
    EXPECT_GT(phaseFour->time, 100UL);
    EXPECT_LE(phaseFour->time, 105UL);
}

TEST_F(Unattended, StopsAfterTheStepThatSetsDone) {
    captureOscillator(toggleUntilThirty);
    EXPECT_FALSE(phaseFour->stepUnattended());
    EXPECT_GE(phaseFour->time, 30UL);
    EXPECT_LE(phaseFour->time, 35UL);
}

struct AttentionCase {
    const char *what;
    int *flag;
};

void PrintTo(const AttentionCase &c, std::ostream *os) {
    *os << c.what;
}

class UnattendedFlag : public Unattended, public testing::WithParamInterface<AttentionCase> {};

// Each of these needs the main loop, so not even one step is taken.
TEST_P(UnattendedFlag, LeavesEveryStepToTheMainLoop) {
    captureOscillator(toggleOwnOutput);
    *GetParam().flag = 1;
    EXPECT_FALSE(phaseFour->stepUnattended());
    EXPECT_EQ(phaseFour->time, 0UL);
    EXPECT_EQ(phaseFour->componentEvaluations, 0U);
}

INSTANTIATE_TEST_SUITE_P(Kernel, UnattendedFlag,
                         testing::Values(AttentionCase{"halt", &haltFlag}, AttentionCase{"restart", &reStart},
                                         AttentionCase{"status line", &displayTimeFlag}),
                         NamedByWhat());

// A component's own function may set a run-control flag in the middle of a
// stretch (a restart request, a Stop): the stretch ends after the step in
// which it was set, leaving the rest to the main loop, and not one step later.
int *flagToSet = nullptr;
unsigned long setAt = 0;
void toggleAndSetAFlagAtThirty(int cind) {
    toggleOwnOutput(cind);
    if (phaseFour->time >= 30 && setAt == 0) {
        setAt = phaseFour->time;
        *flagToSet = 1;
    }
}

struct SetByComponentCase {
    const char *what;
    int *flag;
};

void PrintTo(const SetByComponentCase &c, std::ostream *os) {
    *os << c.what;
}

class FlagSetByComponent : public Unattended, public testing::WithParamInterface<SetByComponentCase> {};

TEST_P(FlagSetByComponent, EndsTheStretchAfterTheStepThatSetIt) {
    flagToSet = GetParam().flag;
    setAt = 0;
    captureOscillator(toggleAndSetAFlagAtThirty);
    EXPECT_FALSE(phaseFour->stepUnattended());
    ASSERT_NE(setAt, 0UL);
    // That step's advance still happens: time moved to the next event, once.
    EXPECT_GT(phaseFour->time, setAt);
    EXPECT_LE(phaseFour->time, setAt + 5);
    EXPECT_FALSE(phaseFour->quiescent());
    EXPECT_EQ(phaseThree->numberOfActivatedComponents, 1) << "the reader of the last change waits";
}

INSTANTIATE_TEST_SUITE_P(Kernel, FlagSetByComponent,
                         testing::Values(SetByComponentCase{"done", &done},
                                         SetByComponentCase{"halt", &haltFlag},
                                         SetByComponentCase{"restart", &reStart},
                                         SetByComponentCase{"status line", &displayTimeFlag}),
                         NamedByWhat());

// A stop time given while the stretch runs (by a component's function) is
// taken from the next step on.
void toggleAndStopAtFifty(int cind) {
    toggleOwnOutput(cind);
    if (phaseFour->time >= 20)
        stopTime = 50;
}

TEST_F(Unattended, TakesAStopTimeGivenDuringTheStretch) {
    captureOscillator(toggleAndStopAtFifty);
    EXPECT_FALSE(phaseFour->stepUnattended());
    EXPECT_GT(phaseFour->time, 50UL);
    EXPECT_LE(phaseFour->time, 55UL);
}

// A stretch that ends counts its work as the steps did and leaves the list
// of activated components as it found it.
TEST_F(Unattended, KeepsTheCountsAndTheActivationsOfTheStepsItTook) {
    captureOscillator(toggleOwnOutput);
    stopTime = 100;
    EXPECT_FALSE(phaseFour->stepUnattended());
    const unsigned long reached = phaseFour->time;
    const uint64_t events = phaseFour->eventsApplied, evaluations = phaseFour->componentEvaluations;
    EXPECT_GT(events, 0U);
    EXPECT_GT(evaluations, 0U);

    // The same run step by step: the same time, counts and activation.
    freshNetlist();
    evaluated.clear();
    captureOscillator(toggleOwnOutput);
    while (phaseFour->time <= 100)
        ASSERT_TRUE(phaseFour->step());
    EXPECT_EQ(phaseFour->time, reached);
    EXPECT_EQ(phaseFour->eventsApplied, events);
    EXPECT_EQ(phaseFour->componentEvaluations, evaluations);
    EXPECT_EQ(phaseThree->numberOfActivatedComponents, 1);
}

// Without a window the slow-down waits for nothing, so it needs no attention.
TEST_F(Unattended, IgnoresTheSlowDown) {
    captureOscillator(toggleOwnOutput);
    stallLevel = maxStallLevel;
    stopTime = 100;
    EXPECT_FALSE(phaseFour->stepUnattended());
    EXPECT_GT(phaseFour->time, 100UL);
}

// Super probes selected without a window (-F 8 with -X) show nothing: painting
// them at every step would only cost time, so the kernel steps on alone.
TEST_F(Unattended, StepsOnWhenSuperProbesAreSelectedWithoutAWindow) {
    captureOscillator(toggleOwnOutput);
    useXDisplay = 0;
    phaseFive = new PhaseFive;
    phaseFive->superProbeSelect = 1;
    stopTime = 100;
    EXPECT_FALSE(phaseFour->stepUnattended());
    EXPECT_GT(phaseFour->time, 100UL);
}

} // namespace

namespace {

// Near the end of time the oscillator's transitions saturate at the latest
// time, where it would toggle for ever: the step ends the run instead.
TEST_F(Unattended, EndsTheRunWhenTimeCanAdvanceNoFurther) {
    captureOscillator(toggleOwnOutput);
    phaseFour->time = PhaseFour::latestTime - 20;
    testing::internal::CaptureStderr();
    // A bounded number of steps, so that a run that would not end fails here.
    for (int step = 0; step < 1000 && !done; ++step)
        phaseFour->step();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Simulated time can advance no further: the run ends at time 18446744073709551615.\n");
    EXPECT_EQ(done, 1);
    EXPECT_EQ(phaseFour->time, PhaseFour::latestTime);
    EXPECT_FALSE(phaseFour->skewHeap.isEmpty()) << "the events that cannot come later stay queued";
}

// Reaching the latest time is no fault: the events due then are applied, and
// a run that settles there ends as any quiescent run does.
TEST_F(Step, AppliesTheEventsOfTheLatestTime) {
    Signal a(1, "a");
    capture(recorder(), a, none(), none());
    convert();
    phaseFour->skewHeap.add(Event(PhaseFour::latestTime, signalChange, 2, ONE));
    testing::internal::CaptureStderr();
    EXPECT_TRUE(phaseFour->step());
    EXPECT_FALSE(phaseFour->step());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(phaseThree->currentSignals[2], ONE);
    EXPECT_EQ(evaluated, std::vector<int>{0});
    EXPECT_EQ(done, 0);
    EXPECT_TRUE(phaseFour->quiescent());
}

struct StopCase {
    const char *what;
    unsigned long stop;
    unsigned long now;
    bool past;
};

void PrintTo(const StopCase &c, std::ostream *os) {
    *os << c.what;
}

class StopTime : public Step, public testing::WithParamInterface<StopCase> {};

TEST_P(StopTime, HasPassedOnlyWhenGivenAndStrictlyExceeded) {
    capture(recorder(), none(), none(), none());
    convert();
    stopTime = GetParam().stop;
    phaseFour->time = GetParam().now;
    EXPECT_EQ(phaseFour->pastStopTime(), GetParam().past);
}

INSTANTIATE_TEST_SUITE_P(Kernel, StopTime,
                         testing::Values(StopCase{"no stop time", 0, PhaseFour::latestTime, false},
                                         StopCase{"before it", 100, 99, false},
                                         StopCase{"at it", 100, 100, false},
                                         StopCase{"one unit past it", 100, 101, true}),
                         NamedByWhat());

struct QuiescenceCase {
    const char *what;
    bool queued;
    bool activated;
    bool quiescent;
};

void PrintTo(const QuiescenceCase &c, std::ostream *os) {
    *os << c.what;
}

class Quiescence : public Step, public testing::WithParamInterface<QuiescenceCase> {};

TEST_P(Quiescence, NeedsAnEmptyQueueAndNothingActivated) {
    const QuiescenceCase &c = GetParam();
    Signal a(1, "a");
    capture(recorder(), a, none(), none());
    convert();
    if (c.activated) {
        phaseFour->skewHeap.add(Event(1, signalChange, 2, ONE));
        phaseFour->step(); // applies the change, activating the reader
    }
    if (c.queued)
        phaseFour->skewHeap.add(Event(5, signalChange, 2, ZERO));
    EXPECT_EQ(phaseFour->quiescent(), c.quiescent);
}

INSTANTIATE_TEST_SUITE_P(Kernel, Quiescence,
                         testing::Values(QuiescenceCase{"nothing at all", false, false, true},
                                         QuiescenceCase{"an event queued", true, false, false},
                                         QuiescenceCase{"a component activated", false, true, false},
                                         QuiescenceCase{"both", true, true, false}),
                         NamedByWhat());

} // namespace

namespace {

// When each evaluation happened, and of which component.
std::vector<std::pair<unsigned long, int>> timedEvaluations;
void recordTimedEvaluation(int cind) {
    timedEvaluations.emplace_back(phaseFour->time, cind);
}

// Components that each read their own bit of w and one shared signal: a
// change of the shared signal activates every one of them in one step, so
// that unattended stretches alternate between busy and quiet ones.
class SharedReaders : public Step {
protected:
    static constexpr int readers = 300;
    static constexpr int first = 2; // serial number of w[0]; the shared signal follows w
    void captureReaders() {
        const Signal w(readers, "w"), shared(1, "shared");
        Part p;
        p.evaluate = recordTimedEvaluation;
        for (int k = 0; k < readers; ++k)
            capture(p, (w[k], shared), none(), none());
        convert();
        timedEvaluations.clear();
    }
    static void toggle(int s, unsigned long at) {
        const SignalValue now = phaseThree->currentSignals[s];
        phaseFour->skewHeap.add(Event(at, signalChange, s, now == ONE ? ZERO : ONE));
    }
};

TEST_F(SharedReaders, UnattendedStretchesEvaluateEachActivationOnceInAscendingIndex) {
    captureReaders();
    // Each round changes, at one time, the shared signal (every reader) or
    // some readers' own bits, in scrambled order; rounds follow busy and
    // quiet stretches alike, with short and long lists.
    const struct {
        bool shared;
        int ownBits;
    } rounds[] = {{true, 0},    {false, 3}, {false, 200}, {true, 7},   {true, 0},
                  {false, 200}, {false, 1}, {false, 12},  {true, 250}, {false, 9}};
    std::mt19937 random(11);
    unsigned long at = 10;
    uint64_t expectedEvaluations = 0;
    for (const auto &round : rounds) {
        std::vector<int> readersChanged(readers);
        std::iota(readersChanged.begin(), readersChanged.end(), 0);
        std::shuffle(readersChanged.begin(), readersChanged.end(), random);
        readersChanged.resize(static_cast<size_t>(round.ownBits));
        for (const int c : readersChanged)
            toggle(first + c, at);
        if (round.shared)
            toggle(first + readers, at);

        std::vector<std::pair<unsigned long, int>> expected;
        for (int c = 0; c < readers; ++c)
            if (round.shared || std::count(readersChanged.begin(), readersChanged.end(), c) != 0)
                expected.emplace_back(at, c);
        expectedEvaluations += expected.size();
        timedEvaluations.clear();
        ASSERT_TRUE(phaseFour->stepUnattended());
        EXPECT_EQ(timedEvaluations, expected) << "round at " << at;
        EXPECT_EQ(phaseThree->componentsActivated, std::vector<int>(readers, 0)) << "round at " << at;
        EXPECT_EQ(phaseThree->numberOfActivatedComponents, 0);
        at += 10;
    }
    EXPECT_EQ(phaseFour->componentEvaluations, expectedEvaluations);
}

// Single steps after a busy stretch keep the same order and counts.
TEST_F(SharedReaders, StepsAfterABusyStretchEvaluateInAscendingIndex) {
    captureReaders();
    toggle(first + readers, 5);
    ASSERT_TRUE(phaseFour->stepUnattended()); // every reader: a busy stretch
    toggle(first + readers, 20);
    for (int c : {250, 3, 99})
        toggle(first + c, 20);
    timedEvaluations.clear();
    ASSERT_TRUE(phaseFour->step());
    ASSERT_FALSE(phaseFour->step());
    std::vector<std::pair<unsigned long, int>> expected;
    for (int c = 0; c < readers; ++c)
        expected.emplace_back(20, c);
    EXPECT_EQ(timedEvaluations, expected);
    EXPECT_EQ(phaseFour->componentEvaluations, 2U * readers);
}

} // namespace
