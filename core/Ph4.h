// The simulation kernel: time, the event queue and the transition operations.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "core/CompList.h"
#include "core/Event.h"
#include "core/Ph3.h"
#include "core/Signal.h"
#include "core/SkewHeap.h"

class PhaseFour {
public:
    unsigned long time = 0; // never wraps: times past the largest one saturate
    SkewHeap skewHeap;

    // Work done since construction, for benchmarks: events taken from the
    // queue by advanceTime, and logicEvaluate calls made by evaluateActivated.
    uint64_t eventsApplied = 0;
    uint64_t componentEvaluations = 0;

    static constexpr int defaultQuickTimeDelta = 4;
    static constexpr int defaultLazyTimeDelta = 9;

    // Schedules a new value for one signal under the two-delay model: nothing
    // when it equals the value the signal is already headed for, otherwise
    // one or two events (XXX first) at time + quickTime and time + lazyTime.
    // A negative delay counts as 0; a time past the largest one saturates.
    [[gnu::always_inline]] void signalTransition(int signalSerialNumber, SignalValue newSignalValue,
                                                 int quickTime, int lazyTime) {
        // Most requests change nothing: answered here, without a call or any time arithmetic.
        if (newSignalValue != phaseThree->scheduledSignals[signalSerialNumber])
            changeSignal(signalSerialNumber, newSignalValue, quickTime, lazyTime);
    }
    // signalTransition with delays deltaTime + 4 and deltaTime + 9.
    void altSignalTransition(int signalSerialNumber, SignalValue newSignalValue, int deltaTime);
    // The tri-state variant: only the driver holding a bus (recorded in m when
    // it takes the bus from HIZ) may change it; another driver's ZERO or ONE
    // is refused with a message on standard output.
    void tsbSignalTransition(int cind, int signalSerialNumber, SignalValue newSignalValue, int quickTime,
                             int lazyTime);
    // Queues an event, keeping each signal's transitions in order: an event
    // earlier than the signal's last queued one moves to one unit after it,
    // with a "TIME WARP" report on standard error when its value is driven.
    void recordEventQueueInput(Event ev);

    // Reset to time zero: empty queue, signals as initialised, every
    // component activated and its state word 0.
    void runInitialize();
    // The main loop.
    void run();

    // The parts of one simulation step that need no window, in step order.
    // Activation must go through activate (or advanceTime and runInitialize),
    // which keep the list of marked components that these steps walk.
    //
    // Evaluates every activated component in ascending index and calls its
    // drawDynamic under the display-level rule.
    void evaluateActivated();
    // Clears every activation mark.
    void clearActivations();
    // Moves time to the earliest queued event and applies every event of that
    // time, activating the components of each signal that changed.  Returns
    // false (time unchanged) when the queue is empty.
    bool advanceTime();
    // evaluateActivated, clearActivations, advanceTime: a headless step.
    bool simulationStep();
    // The same step in one pass, each mark cleared as its component is
    // evaluated: the main loop's step when nothing needs the marks between
    // evaluation and the time advance.
    bool step();
    // Steps while the run needs nothing but steps (no halt, restart, status
    // line, super probes or slow-down), done is clear and the stop time has
    // not passed.  Returns true when it
    // stopped because nothing can change any more: the queue is empty and no
    // component is activated.
    bool stepUnattended();
    // Marks cind for evaluation in the next step.
    void activate(int cind);
    // True when some component waits for evaluation.
    bool anyActivated() const;

private:
    enum class MarkHandling { keep, clear };
    // Evaluates the listed components in ascending index and draws the
    // visible ones; with clear, each mark is cleared just before its
    // component's evaluation.  Returns how many were listed at the start.
    template <MarkHandling marks> int evaluatePending();
    // advanceTime's body, shared inline with step.
    bool advanceToNextEvents();
    // step's body, shared inline with stepUnattended.
    bool stepOnce();

    std::vector<uint64_t> orderBits; // scratch for putting activations in order
    // Whether each component has a draw function, one byte each: the step
    // reads it for every activated component, and a byte array stays in the
    // caches where the pointer array does not.  Gathered from phaseTwo (whose
    // tables are fixed once converted) at the reset, or at the first step
    // when there was none.
    std::vector<unsigned char> draws;
    void gatherDrawFlags();
    // signalTransition for a value other than the scheduled one.
    void changeSignal(int signalSerialNumber, SignalValue newSignalValue, int quickTime, int lazyTime);
    // Queues the events the transition table gives for a change of one signal
    // from its scheduled value to value, at the absolute quick and lazy times.
    void scheduleTransition(int signalSerialNumber, SignalValue value, unsigned long quickAt,
                            unsigned long lazyAt);
    // recordEventQueueInput's work, inline on the transitions' path.
    void enqueue(unsigned long at, int eventType, int signalSerialNumber, SignalValue value);
    // The time an event for signal s at `at` is queued at when the signal's
    // last transition is queued later, at `last`: one unit after it, with the
    // time-warp report when the event's value is driven.
    unsigned long queueBehind(unsigned long at, int eventType, int s, SignalValue value,
                              unsigned long last) const;
    // The current time plus a delay, clamped to [time, largest time].
    unsigned long after(long long delay) const;
    // Writes the three time-warp lines for ev, which is earlier than its
    // signal's last queued transition.
    void reportTimeWarp(const Event &ev) const;
};

extern PhaseFour *phaseFour;

// Which tri-state driver holds each bus.  A bus never taken counts as held by
// component 0 (looking it up creates that entry); a restart keeps the map.
extern std::map<int, int> m;

// The transition operations' inline definitions.
#include "core/Transit.h"
