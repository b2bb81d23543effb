// The kernel's scheduling operations: the two-delay transition model, tri-state
// arbitration and the per-signal ordering of queued events.
#include <iostream>
#include <limits>
#include <sstream>

#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/Ph4.h"

namespace {

constexpr unsigned long latestTime = std::numeric_limits<unsigned long>::max();

enum class Delay : unsigned char { quick, lazy };

// One event of a transition: the value it brings and which delay it takes.
struct Leg {
    SignalValue value;
    Delay delay;
};

// The events one requested change creates, in queueing order.
struct Plan {
    int legs;
    Leg leg[2];
};

constexpr Plan nothing{0, {}};
constexpr Plan quick(SignalValue v) {
    return {1, {{v, Delay::quick}}};
}
constexpr Plan lazy(SignalValue v) {
    return {1, {{v, Delay::lazy}}};
}
// A change to a driven level passes through XXX first.
constexpr Plan viaXxx(SignalValue v) {
    return {2, {{XXX, Delay::quick}, {v, Delay::lazy}}};
}

// transitionTable[scheduled value][requested value].
// clang-format off
constexpr Plan transitionTable[5][5] = {
    //                    ZERO          UNINITIALIZED        XXX         HIZ        ONE
    /* ZERO          */ {nothing,      lazy(HIZ),           quick(XXX), lazy(HIZ), viaXxx(ONE)},
    /* UNINITIALIZED */ {viaXxx(ZERO), nothing,             quick(XXX), lazy(HIZ), viaXxx(ONE)},
    /* XXX           */ {lazy(ZERO),   lazy(HIZ),           nothing,    lazy(HIZ), lazy(ONE)},
    /* HIZ           */ {viaXxx(ZERO), quick(XXX),          quick(XXX), nothing,   viaXxx(ONE)},
    /* ONE           */ {viaXxx(ZERO), lazy(UNINITIALIZED), lazy(XXX),  lazy(HIZ), nothing},
};
// clang-format on

bool isSignalValue(SignalValue v) {
    return static_cast<unsigned>(v) <= static_cast<unsigned>(ONE);
}

} // namespace

// The body of recordEventQueueInput, kept inline for the transition
// operations, which pass the fields rather than a built event.
inline void PhaseFour::enqueue(unsigned long at, int eventType, int s, SignalValue value) {
    PhaseThree &p3 = *phaseThree;
    const unsigned long last = p3.scheduledTimes[s];
    if (at < last) {
        // Keep the signal's transitions in order: queue behind the last one.
        if (value != UNINITIALIZED && value != XXX)
            reportTimeWarp(Event(at, eventType, s, value));
        at = last == latestTime ? latestTime : last + 1;
    }
    p3.scheduledSignals[s] = value;
    p3.scheduledTimes[s] = at;
    p3.whenScheduled[s] = time;
    skewHeap.add(at, eventType, s, value);
}

unsigned long PhaseFour::after(long long delay) const {
    if (delay <= 0)
        return time; // a transition is never queued in the past
    const auto d = static_cast<unsigned long>(delay);
    return d > latestTime - time ? latestTime : time + d;
}

void PhaseFour::changeSignal(int signalSerialNumber, SignalValue newSignalValue, int quickTime,
                             int lazyTime) {
    scheduleTransition(signalSerialNumber, newSignalValue, after(quickTime), after(lazyTime));
}

void PhaseFour::altSignalTransition(int signalSerialNumber, SignalValue newSignalValue, int deltaTime) {
    // Widened first, so a delta near the int limit cannot overflow.
    const long long delta = deltaTime;
    scheduleTransition(signalSerialNumber, newSignalValue, after(delta + defaultQuickTimeDelta),
                       after(delta + defaultLazyTimeDelta));
}

inline void PhaseFour::scheduleTransition(int signalSerialNumber, SignalValue value, unsigned long quickAt,
                                          unsigned long lazyAt) {
    if (!isSignalValue(value))
        return;
    const Plan &plan = transitionTable[phaseThree->scheduledSignals[signalSerialNumber]][value];
    // A plan has at most two legs; written out, the compiler keeps the
    // signal's state in registers across them.
    const auto queue = [&](const Leg &leg) {
        enqueue(leg.delay == Delay::quick ? quickAt : lazyAt, signalChange, signalSerialNumber, leg.value);
    };
    if (plan.legs > 0)
        queue(plan.leg[0]);
    if (plan.legs > 1)
        queue(plan.leg[1]);
}

void PhaseFour::tsbSignalTransition(int cind, int signalSerialNumber, SignalValue newSignalValue,
                                    int quickTime, int lazyTime) {
    switch (phaseThree->scheduledSignals[signalSerialNumber]) {
    case HIZ:
        // A released bus goes to whichever driver speaks first.
        m[signalSerialNumber] = cind;
        break;
    case ZERO:
    case ONE:
        if (m[signalSerialNumber] == cind)
            break;
        // Another driver holds the bus: its value stays; only a driven level
        // from this one is worth a complaint.
        if (newSignalValue == ZERO || newSignalValue == ONE)
            std::cout << "Another Tsb at " << phaseTwo->rcpos[cind] << " is trying to drive it to "
                      << (newSignalValue == ZERO ? "ZERO" : "ONE") << ", this is not allowed\n";
        return;
    default: // UNINITIALIZED or XXX: nobody holds it
        break;
    }
    signalTransition(signalSerialNumber, newSignalValue, quickTime, lazyTime);
}

void PhaseFour::recordEventQueueInput(Event ev) {
    enqueue(ev.time, ev.eventType, ev.signalSerialNumber, ev.sigValue);
}

void PhaseFour::reportTimeWarp(const Event &ev) const {
    const int s = ev.signalSerialNumber;
    std::ostringstream text;
    text << "TIME WARP  sigNr = " << s << " sigName = " << phaseTwo->signalNames[s]
         << "\n already sked to become " << signalValueName(phaseThree->scheduledSignals[s])
         << " at time = " << phaseThree->scheduledTimes[s]
         << ", which was queued at time = " << phaseThree->whenScheduled[s] << '\n'
         << "  Now scheduling to become " << signalValueName(ev.sigValue) << " at time = " << ev.time
         << ".  Now Queueing-time = " << time << '\n';
    std::cerr << text.str();
}
