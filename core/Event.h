// One pending signal transition, as the kernel hands it to the event queue
// and reads it back.
#pragma once

#include "core/Signal.h"

enum EventType { signalChange = 0 };

class Event {
public:
    unsigned long time;
    int eventType;
    int signalSerialNumber;
    SignalValue sigValue;

    Event() = default;
    Event(unsigned long time, int eventType, int signalSerialNumber, SignalValue sigValue)
        : time(time), eventType(eventType), signalSerialNumber(signalSerialNumber), sigValue(sigValue) {}

    // One line to standard error.
    void printEvent() const;
};
