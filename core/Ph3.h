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
    std::vector<int *> activationList;    // ascending component indices, into a pool
    std::vector<int> componentsActivated; // 1 when the component waits for evaluation
    std::vector<SignalValue> scheduledSignals;
    std::vector<uint64_t> scheduledTimes;
    std::vector<uint64_t> whenScheduled;

    // The components whose activation mark is set, in the order they were
    // marked: the first numberOfActivatedComponents entries.  The kernel
    // keeps it beside the marks (PhaseFour::activate) so that a step visits
    // only the components that changed, never the whole circuit.  It has room
    // for every component twice: PhaseFour::step clears each mark as it
    // evaluates, so a component activated again during its step's
    // evaluations is listed a second time, behind the step's own list.
    std::vector<int> activatedComponents;
    int numberOfActivatedComponents = 0;

    // Sizes the arrays from phaseTwo's counts.  The per-signal values start as
    // a reset leaves them (constants at their initial values, every other
    // signal UNINITIALIZED, scheduled equal to current, times 0), so anything
    // that reads them before the first reset reads defined values.  No
    // component is marked and every activation list is empty.
    PhaseThree();
    // Sets every signal as a reset leaves it: constants at their initial
    // values, the others UNINITIALIZED, nothing scheduled, times 0.
    void resetSignals();
    // Writes a warning line to standard error for every data or control input
    // (other than Zero and One) whose signal has no driver and is not
    // constant, then the number of warnings if there were any.  Never stops
    // the program.
    void checkConnectivity();
    // Builds, per signal, the ascending list of components to evaluate when it
    // changes: those reading it as a data or control input, and self-activating
    // components driving it; each at most once.  Linear in the number of pins.
    void formActivationLists();

    // The same lists for the kernel: signal s's list is entries
    // [activationStart[s], activationStart[s + 1]) of activationEntries(), so
    // a changed signal costs one 4-byte read where the pointer and the
    // length cost two reads in two arrays.  Kept by formActivationLists.
    std::vector<int> activationStart;
    const int *activationEntries() const { return activationPool.data(); }

private:
    std::vector<int> activationPool; // the storage the activation lists point into
};

extern PhaseThree *phaseThree;
