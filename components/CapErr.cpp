// Capture errors shared by every component family.
#include "components/CapErr.h"

#include <cstdlib>
#include <iostream>

#include "core/Ph1.h"

const char *positionOf(const SD &sd) {
    return sd.graphicPosition ? sd.graphicPosition : "";
}

void listLengths(std::ostringstream &message, std::initializer_list<NamedBus> buses) {
    for (const NamedBus &bus : buses)
        message << " " << bus.first << ".length = " << bus.second->length;
}

void captureError(const std::ostringstream &message) {
    std::cerr << message.str() << std::endl;
    std::exit(1);
}

void countedCaptureError(const std::ostringstream &message) {
    std::cerr << message.str() << std::endl;
    ensurePhaseOne();
    ++phaseOne->fatalDiagnosticCount;
}
