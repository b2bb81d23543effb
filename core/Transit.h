// The two-delay transition model and the per-signal ordering of queued
// events, inline: every gate evaluation ends in a transition request, and the
// call and its time arithmetic would otherwise cost as much as the work.
// Included by Ph4.h after the class; the cold paths stay in Transit.cpp.
// The hot functions are forced inline ([[gnu::always_inline]]): left to its
// own judgement the compiler splits the chain into calls whose register saves
// cost more than the bodies.
#pragma once

#include "core/Ph3.h"
#include "core/Ph4.h"

namespace transit {

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
inline constexpr Plan transitionTable[5][5] = {
    //                    ZERO          UNINITIALIZED        XXX         HIZ        ONE
    /* ZERO          */ {nothing,      lazy(HIZ),           quick(XXX), lazy(HIZ), viaXxx(ONE)},
    /* UNINITIALIZED */ {viaXxx(ZERO), nothing,             quick(XXX), lazy(HIZ), viaXxx(ONE)},
    /* XXX           */ {lazy(ZERO),   lazy(HIZ),           nothing,    lazy(HIZ), lazy(ONE)},
    /* HIZ           */ {viaXxx(ZERO), quick(XXX),          quick(XXX), nothing,   viaXxx(ONE)},
    /* ONE           */ {viaXxx(ZERO), lazy(UNINITIALIZED), lazy(XXX),  lazy(HIZ), nothing},
};
// clang-format on

} // namespace transit

[[gnu::always_inline]] inline void PhaseFour::enqueue(unsigned long at, int eventType, int s,
                                                      SignalValue value) {
    PhaseThree &p3 = *phaseThree;
    const unsigned long last = p3.scheduledTimes[s];
    if (at < last)
        at = queueBehind(at, eventType, s, value, last); // rare: out of the hot path
    p3.scheduledSignals[s] = value;
    p3.scheduledTimes[s] = at;
    p3.whenScheduled[s] = time;
    skewHeap.add(at, eventType, s, value);
}

[[gnu::always_inline]] inline unsigned long PhaseFour::after(long long delay) const {
    if (delay <= 0)
        return time; // a transition is never queued in the past
    const auto d = static_cast<unsigned long>(delay);
    return d > latestTime - time ? latestTime : time + d;
}

[[gnu::always_inline]] inline void PhaseFour::changeSignal(int signalSerialNumber, SignalValue newSignalValue,
                                                           int quickTime, int lazyTime) {
    scheduleTransition(signalSerialNumber, newSignalValue, after(quickTime), after(lazyTime));
}

[[gnu::always_inline]] inline void PhaseFour::scheduleTransition(int signalSerialNumber, SignalValue value,
                                                                 unsigned long quickAt,
                                                                 unsigned long lazyAt) {
    using namespace transit;
    if (!isSignalValue(value))
        return;
    const Plan &plan = transitionTable[phaseThree->scheduledSignals[signalSerialNumber]][value];
    for (int k = 0; k < plan.legs; ++k) {
        const Leg &leg = plan.leg[k];
        enqueue(leg.delay == Delay::quick ? quickAt : lazyAt, signalChange, signalSerialNumber, leg.value);
    }
}
