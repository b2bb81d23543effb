// The simulation kernel: time, the event queue and the transition operations.
#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <vector>

#include "core/CompList.h"
#include "core/Event.h"
#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/Signal.h"
#include "core/SkewHeap.h"

namespace transit {
struct Plan;
}

class PhaseFour {
public:
    // The latest simulated time; a time past it saturates there.
    static constexpr unsigned long latestTime = std::numeric_limits<unsigned long>::max();

    unsigned long time = 0; // never wraps: times past latestTime saturate
    SkewHeap skewHeap;

    // Work done since construction, counted by the step for the benchmark
    // figures: events taken from the queue, and logicEvaluate calls.
    uint64_t eventsApplied = 0;
    uint64_t componentEvaluations = 0;

    static constexpr int defaultQuickTimeDelta = 4;
    static constexpr int defaultLazyTimeDelta = 9;

    // Schedules a new value for one signal under the two-delay model: nothing
    // when it equals the value the signal is already headed for, otherwise
    // one or two events (XXX first) at time + quickTime and time + lazyTime.
    // A negative delay counts as 0; a time past the largest one saturates.
    void signalTransition(int signalSerialNumber, SignalValue newSignalValue, int quickTime, int lazyTime);
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

    // An empty queue at time 0.
    PhaseFour();

    // Reset to time zero: empty queue, signals as initialised, every
    // component activated and its state word 0.
    void runInitialize();
    // The main loop.
    void run();

    // One step of the run: evaluates every activated component in ascending
    // index (drawing its panes where the display level shows it) and clears
    // its mark; draws the super probes when they are shown; then moves time
    // to the earliest queued event and applies every event of that time,
    // activating the components of each signal that changed.  Returns false,
    // time unchanged, when no event is queued for until or earlier.  At the
    // latest time with events still queued, time can advance no further: the
    // step says so on standard error, sets done and returns false.
    bool step(unsigned long until = latestTime);
    // Steps a run without a window while it needs nothing but steps (no
    // halt, restart, status line or super probes), done is clear and the
    // stop time has not passed.  Returns true when it stopped because the
    // run is quiescent.
    bool stepUnattended();
    // Whether a stop time was given and time has passed it: the run ends at
    // the first step that starts later than the stop time.
    bool pastStopTime() const;
    // Nothing queued and nothing activated: only a key can change anything.
    bool quiescent() const;

private:
    // The arrays the step works on, taken from the phases once for a stretch
    // of steps and held in locals, instead of reloaded through the phase
    // objects at each use.  None of them moves once the netlist is converted.
    struct StepArrays {
        SignalSlot *slots;
        int *marks;   // componentsActivated
        int *pending; // activatedComponents
        const int *starts;
        const int *entries;
        const ComponentRecord *records;
        const int *pins;
        int bitmapWords; // of a bitmap with a bit for every component
    };
    StepArrays stepArrays() const;
    // Evaluates component c (and draws it where shown), clearing its mark.
    void evaluateOne(const StepArrays &a, int c, unsigned long quickAt, unsigned long lazyAt);
    // Calls component c's evaluate function, or counts it in idleEvaluations
    // when it has none.
    void callEvaluate(int c);
    // Draws component c when the display level shows it.
    void drawIfShown(int c);
    // Set when a step called a component's function (evaluate or draw),
    // which may have set a run-control flag; cleared by whoever reads it.
    bool calledOut = false;
    // Listed components without an evaluate function since the counts were
    // last settled: they do not count as evaluations.
    uint64_t idleEvaluations = 0;
    // Takes idleEvaluations off a count of listed components.
    void countIdleEvaluations(uint64_t &listed);
    // Puts a long list of n activated components in order, or, when a
    // bitmap of every component is small beside the list, evaluates them
    // straight from it in ascending index (leaving it all zero).  Returns
    // whether it evaluated them.
    bool orderOrEvaluateMany(int n, unsigned long quickAt, unsigned long lazyAt);

    // The first half of a step: evaluation of the first `activated` entries
    // of the activation list in ascending index, each mark cleared just
    // before its component's evaluation; adds their number to listed.
    // Leaves none activated.  With busy, long lists may be evaluated through
    // orderOrEvaluateMany.  inOrder says the list is ascending already; it is
    // left true.  The one entry of the activation order: its paths and the
    // benchmarks behind them are listed in Ph4.cpp.
    template <bool busy>
    void evaluateActivated(const StepArrays &a, int &activated, bool &inOrder, uint64_t &listed);
    // The second half: the time advance (see step), adding the components
    // it activates to the list's `activated` entries and the events it
    // takes from the queue to applied; when recording, the changes of the
    // dumped signals go to the value change dump.  inOrder is left true only
    // when the list is known to be ascending.
    template <bool recording>
    bool advance(const StepArrays &a, int &activated, bool &inOrder, uint64_t &applied, unsigned long until);
    // Whether the activation list is known to be in ascending order, as a
    // list made by a single change is: then it needs no sorting.
    bool activatedInOrder = true;
    // stepUnattended, with or without recording (chosen once per run) and
    // busy evaluation (chosen per stretch).
    template <bool recording, bool busy> bool stepUnattendedAs();
    // Whether the last unattended stretch evaluated many components per
    // event: the next one is stepped with busy evaluation.
    bool busyStretches = false;
    // Ends a run whose time can advance no further.
    void endAtTheLatestTime();

    std::vector<uint64_t> orderBits; // scratch for putting activations in order
    // signalTransition of a built-in gate's output (always a signal value),
    // with the absolute quick and lazy times, for the signal's slot.
    void requestGateTransition(SignalSlot &slot, int signalSerialNumber, SignalValue value,
                               unsigned long quickAt, unsigned long lazyAt);
    // Queues the events of a plan from the transition table.
    void schedulePlan(SignalSlot &slot, int signalSerialNumber, transit::Plan plan, unsigned long quickAt,
                      unsigned long lazyAt);
    // Queues the events the transition table gives for a change of one signal
    // from its scheduled value to value, at the absolute quick and lazy times.
    void scheduleTransition(SignalSlot &slot, int signalSerialNumber, SignalValue value,
                            unsigned long quickAt, unsigned long lazyAt);
    // Queues every event of a plan, in order (out of line: most plans have one).
    void scheduleEveryLeg(SignalSlot &slot, int signalSerialNumber, const transit::Plan &plan,
                          unsigned long quickAt, unsigned long lazyAt);
    // recordEventQueueInput's work, inline on the transitions' path.
    void enqueue(SignalSlot &slot, unsigned long at, int eventType, int signalSerialNumber,
                 SignalValue value);
    // The time an event for signal s at `at` is queued at when the signal's
    // last transition is queued later, at `last`: one unit after it, with the
    // time-warp report when the event's value is driven.
    unsigned long queueBehind(unsigned long at, int eventType, int s, SignalValue value,
                              unsigned long last) const;
    // The current time plus a delay, clamped to [time, largest time].
    unsigned long after(long long delay) const;
    // The current time plus a delay of at least 1, clamped to the largest time.
    template <int delay> unsigned long afterPositive() const;
    // Writes the three time-warp lines for ev, which is earlier than its
    // signal's last queued transition.
    void reportTimeWarp(const Event &ev) const;
};

// The fourth phase: the kernel, its queue, time and step.
extern PhaseFour *phaseFour;

// The tri-state holder map: which tri-state driver holds each bus (by serial
// number).  A bus never taken counts as held by
// component 0 (looking it up creates that entry); a restart keeps the map.
extern std::map<int, int> m;

// The transition operations' inline definitions.
#include "core/Transit.h"
