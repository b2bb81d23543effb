// Declarations shared by every component family: the families' delays, the
// empty secondary-evaluate value and the empty bus that stands for an unused
// component bus.
#pragma once

#include "core/CompList.h"
#include "core/InPlace.h"
#include "core/Signal.h"

// (FamilyDelays and the gates', sources' and probes' ssiDelays: core/InPlace.h,
// since the step requests the built-in gates' outputs itself.)
// Sequential, medium-scale and console components.
constexpr FamilyDelays msiDelays{13, 17};
// Memories.
constexpr FamilyDelays vlsiDelays{17, 23};

// The secondary evaluate every component registers: stored, never called.
inline constexpr SecondaryEvaluatePointer sep{};

// The bus passed for a component bus that a component does not use: no wires,
// named "UnNamed".
inline const Signal &noSignals() {
    static const Signal none(0, "UnNamed");
    return none;
}
