// The one-line debug form of an event.
#include "core/Event.h"

#include <iostream>

void Event::printEvent() const {
    std::cerr << " printEvent()--Time: " << time << " EventType = " << eventType
              << " signalSerialNumber = " << signalSerialNumber << " sigValue = " << signalValueName(sigValue)
              << '\n';
}
