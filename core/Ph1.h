// Capture phase: the lists the circuit's build function fills.
#pragma once

#include "core/CompList.h"
#include "core/Signal.h"
#include "core/SwList.h"

// The three capture lists and the count of capture errors that stop the
// program once the whole circuit has been captured.
class PhaseOne {
public:
    SignalList signalList;
    SwitchList switchList;
    ComponentList componentList;
    int fatalDiagnosticCount = 0;

    // Ends the process (status 1) when capture errors were counted; otherwise
    // destroys the lists, which write the two count lines.
    ~PhaseOne();
};

// Capture, the first phase: the lists from the first Signal to the conversion.
extern PhaseOne *phaseOne;

// While 0, components are captured without an icon.
extern int visibleFlag;

// Creates phaseOne if it does not exist yet (the first Signal does this),
// registering the constant wires Zero[0] and One[0] as serial numbers 0 and 1.
void ensurePhaseOne();
