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
    StoredValue value;
    Delay delay;
};

// The events one requested change creates, in queueing order.  Eight bytes,
// so that finding a plan in the table is a shift.
struct alignas(8) Plan {
    uint8_t legs;
    Leg leg[2];
};

constexpr Plan nothing{0, {}};
constexpr Plan quick(SignalValue v) {
    return {1, {{stored(v), Delay::quick}}};
}
constexpr Plan lazy(SignalValue v) {
    return {1, {{stored(v), Delay::lazy}}};
}
// A change to a driven level passes through XXX first.
constexpr Plan viaXxx(SignalValue v) {
    return {2, {{stored(XXX), Delay::quick}, {stored(v), Delay::lazy}}};
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

[[gnu::always_inline]] inline void PhaseFour::enqueue(SignalSlot &slot, unsigned long at, int eventType,
                                                      int s, SignalValue value) {
    const unsigned long last = slot.scheduledTime;
    if (at < last)
        at = queueBehind(at, eventType, s, value, last); // rare: out of the hot path
    slot.scheduled = stored(value);
    slot.scheduledTime = at;
    slot.whenScheduled = time;
    skewHeap.add(at, eventType, s, value);
}

[[gnu::always_inline]] inline unsigned long PhaseFour::after(long long delay) const {
    if (delay <= 0)
        return time; // a transition is never queued in the past
    const auto d = static_cast<unsigned long>(delay);
    return d > latestTime - time ? latestTime : time + d;
}

template <int delay> [[gnu::always_inline]] inline unsigned long PhaseFour::afterPositive() const {
    static_assert(delay > 0, "a zero or negative delay is not after now");
    unsigned long at;
    return __builtin_add_overflow(time, static_cast<unsigned long>(delay), &at) ? latestTime : at;
}

[[gnu::always_inline]] inline void
PhaseFour::signalTransition(int signalSerialNumber, SignalValue newSignalValue, int quickTime, int lazyTime) {
    SignalSlot &slot = phaseThree->signalSlots[signalSerialNumber];
    // Most requests change nothing: answered here, without any time arithmetic.
    if (newSignalValue != slot.scheduledValue())
        scheduleTransition(slot, signalSerialNumber, newSignalValue, after(quickTime), after(lazyTime));
}

[[gnu::always_inline]] inline void PhaseFour::requestGateTransition(SignalSlot &slot, int signalSerialNumber,
                                                                    SignalValue value, unsigned long quickAt,
                                                                    unsigned long lazyAt) {
    // A gate's output is always one of the five values: no check.
    if (value != slot.scheduledValue())
        schedulePlan(slot, signalSerialNumber, transit::transitionTable[slot.scheduledValue()][value],
                     quickAt, lazyAt);
}

[[gnu::always_inline]] inline void PhaseFour::scheduleTransition(SignalSlot &slot, int signalSerialNumber,
                                                                 SignalValue value, unsigned long quickAt,
                                                                 unsigned long lazyAt) {
    if (isSignalValue(value))
        schedulePlan(slot, signalSerialNumber, transit::transitionTable[slot.scheduledValue()][value],
                     quickAt, lazyAt);
}

[[gnu::always_inline]] inline void PhaseFour::schedulePlan(SignalSlot &slot, int signalSerialNumber,
                                                           const transit::Plan plan, unsigned long quickAt,
                                                           unsigned long lazyAt) {
    using namespace transit;
    // A single event is the common case and is queued here; the passage
    // through XXX is queued by a call, so that this path keeps nothing alive
    // across the queue's code.
    if (plan.legs != 1) {
        if (plan.legs != 0)
            scheduleEveryLeg(slot, signalSerialNumber, plan, quickAt, lazyAt);
        return;
    }
    const Leg only = plan.leg[0];
    enqueue(slot, only.delay == Delay::quick ? quickAt : lazyAt, signalChange, signalSerialNumber,
            loaded(only.value));
}
