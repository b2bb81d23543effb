// The capture phase object and the deferred stop for counted capture errors.
#include "core/Ph1.h"

#include <cstdlib>
#include <iostream>

PhaseOne *phaseOne = nullptr;
int visibleFlag = 1;

namespace {

// Registers one constant one-bit wire at the next serial number.
void registerConstantWire(SignalList &list, const char *name, SignalValue value) {
    list.add(list.numberOfSignals, value, name, 1);
    ++list.numberOfSignals;
}

} // namespace

void ensurePhaseOne() {
    if (phaseOne)
        return;
    phaseOne = new PhaseOne;
    // Every later phase treats serial numbers 0 and 1 as the driven constants.
    registerConstantWire(phaseOne->signalList, "Zero[0]", ZERO);
    registerConstantWire(phaseOne->signalList, "One[0]", ONE);
}

PhaseOne::~PhaseOne() {
    if (fatalDiagnosticCount > 0) {
        std::cerr << fatalDiagnosticCount << " Fatal Diagnostic(s)--Can't Continue.\n";
        std::exit(1);
    }
    // The members now go in reverse order: components, switches, signals,
    // which writes the two count lines in that order.
}
