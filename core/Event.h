// One pending signal transition, also a node of the event queue.
#pragma once

#include "core/Signal.h"

enum EventType { signalChange = 0 };

class Event {
public:
    Event *lptr;
    Event *rptr;
    unsigned long time;
    int eventType;
    int signalSerialNumber;
    SignalValue sigValue;

    Event() = default;
    Event(unsigned long time, int eventType, int signalSerialNumber, SignalValue sigValue)
        : lptr(nullptr), rptr(nullptr), time(time), eventType(eventType),
          signalSerialNumber(signalSerialNumber), sigValue(sigValue) {}

    Event *getLeft() const { return lptr; }
    Event *getRight() const { return rptr; }
    void putLeft(Event *e) { lptr = e; }
    void putRight(Event *e) { rptr = e; }
    unsigned long getValue() const { return time; }
    // One line to standard error.
    void printEvent() const;
};
