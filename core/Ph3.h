// Per-signal simulation state, connectivity check and activation lists.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Signal.h"

class PhaseThree {
public:
    std::vector<SignalValue> currentSignals;
    std::vector<int> signalChangeMarks;
    std::vector<int> lengthOfActivationList;
    std::vector<int *> activationList; // ascending component indices, into a pool
    std::vector<int> componentsActivated;
    std::vector<SignalValue> scheduledSignals;
    std::vector<uint64_t> scheduledTimes;
    std::vector<uint64_t> whenScheduled;

    // Sizes the arrays from phaseTwo's counts; signals start as a reset leaves them.
    PhaseThree();
    // Warns about inputs without a driver; never stops the program.
    void checkConnectivity();
    // Builds, per signal, the components to evaluate when it changes.
    void formActivationLists();
};

extern PhaseThree *phaseThree;
