// The kernel's scheduling operations off the hot path: tri-state arbitration,
// the time-warp report and the entry points taking whole events.
#include "core/Transit.h"

#include <iostream>
#include <sstream>

#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/Ph4.h"

unsigned long PhaseFour::queueBehind(unsigned long at, int eventType, int s, SignalValue value,
                                     unsigned long last) const {
    // Keep the signal's transitions in order: queue behind the last one.
    if (value != UNINITIALIZED && value != XXX)
        reportTimeWarp(Event(at, eventType, s, value));
    return last == latestTime ? latestTime : last + 1;
}

void PhaseFour::scheduleEveryLeg(SignalSlot &slot, int signalSerialNumber, const transit::Plan &plan,
                                 unsigned long quickAt, unsigned long lazyAt) {
    for (int k = 0; k < plan.legs; ++k) {
        const transit::Leg &leg = plan.leg[k];
        enqueue(slot, leg.delay == transit::Delay::quick ? quickAt : lazyAt, signalChange, signalSerialNumber,
                loaded(leg.value));
    }
}

void PhaseFour::altSignalTransition(int signalSerialNumber, SignalValue newSignalValue, int deltaTime) {
    // Widened first, so a delta near the int limit cannot overflow.
    const long long delta = deltaTime;
    scheduleTransition(phaseThree->signalSlots[signalSerialNumber], signalSerialNumber, newSignalValue,
                       after(delta + defaultQuickTimeDelta), after(delta + defaultLazyTimeDelta));
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
        if (isBinary(newSignalValue))
            std::cout << "Another Tsb at " << phaseTwo->rcpos[cind] << " is trying to drive it to "
                      << (newSignalValue == ZERO ? "ZERO" : "ONE") << ", this is not allowed\n";
        return;
    default: // UNINITIALIZED or XXX: nobody holds it
        break;
    }
    signalTransition(signalSerialNumber, newSignalValue, quickTime, lazyTime);
}

void PhaseFour::recordEventQueueInput(Event ev) {
    enqueue(phaseThree->signalSlots[ev.signalSerialNumber], ev.time, ev.eventType, ev.signalSerialNumber,
            ev.sigValue);
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
