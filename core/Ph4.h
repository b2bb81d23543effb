// The simulation kernel: time, the event queue and the transition operations.
#pragma once

#include <cstdint>
#include <map>

#include "core/Event.h"
#include "core/Signal.h"
#include "core/SkewHeap.h"

class PhaseFour {
public:
    unsigned long time = 0;
    SkewHeap skewHeap;

    static constexpr int defaultQuickTimeDelta = 4;
    static constexpr int defaultLazyTimeDelta = 9;

    // Schedules a new value under the two-delay model.
    void signalTransition(int signalSerialNumber, SignalValue newSignalValue, int quickTime, int lazyTime);
    // signalTransition with delays deltaTime + 4 and deltaTime + 9.
    void altSignalTransition(int signalSerialNumber, SignalValue newSignalValue, int deltaTime);
    // The tri-state variant: only the driver holding a bus may change it.
    void tsbSignalTransition(int cind, int signalSerialNumber, SignalValue newSignalValue, int quickTime,
                             int lazyTime);
    // Queues an event, keeping each signal's transitions in order.
    void recordEventQueueInput(Event ev);

    // Reset to time zero: empty queue, signals as initialised, all components activated.
    void runInitialize();
    // The main loop.
    void run();

    // The parts of one simulation step that need no window, in step order.
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
    // Marks cind for evaluation in the next step.
    void activate(int cind);
    // True when some component waits for evaluation.
    bool anyActivated() const;
};

extern PhaseFour *phaseFour;

// Which tri-state driver holds each bus.
extern std::map<int, int> m;
