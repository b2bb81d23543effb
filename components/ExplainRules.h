// The steps of an explanation (components/Explain.h), one signal at a time:
// what drives a signal and which of the driver's inputs decide the value it
// held at a time, or the root that ends the chain there.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Signal.h"
#include "core/ValueHistory.h"

namespace explain {

// An input to follow: a signal at a time.
struct Cause {
    int signal;
    uint64_t time;
};

// What one line says about a signal, and where the chain goes next.
struct Finding {
    std::string driver; // "Register at aa", or what stands in for a driver
    std::string detail; // the deciding inputs, or "ROOT " and the root's kind
    std::vector<Cause> causes;
    std::vector<int> rootComponents; // components to mark in the window
};

// The step for signal s, which holds span at time t.
Finding findingFor(int s, uint64_t t, const HeldValue &span);

// The present simulated time.
uint64_t now();
// Signal s over the interval holding time t: from the value history, or,
// without one, the present only.
HeldValue spanOf(int s, uint64_t t);
std::string valueName(SignalValue v);
std::string nameOf(int s);
// The serial numbers of component c's data inputs, in order.
std::vector<int> dataPins(int c);

} // namespace explain
