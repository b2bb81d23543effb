// Declarations shared by every component family: the families' delays, the
// empty secondary-evaluate value and the empty bus that stands for an unused
// component bus.
#pragma once

#include "core/CompList.h"
#include "core/Signal.h"

// The quick and lazy delays one family passes to every transition it requests.
struct FamilyDelays {
    int quickTime;
    int lazyTime;
};

// Gates, sources and probes.
constexpr FamilyDelays ssiDelays{7, 10};
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
