// Per-signal simulation state, connectivity check and activation lists.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Signal.h"

class PhaseThree;

// Per-signal views of the activation lists, read through the offset table the
// kernel uses (PhaseThree::activationStart), so they cost no memory per signal:
// lengthOfActivationList[s] is the length of signal s's list and
// activationList[s] its first entry (null for an empty list).
class ActivationLengths {
public:
    explicit ActivationLengths(const PhaseThree &owner) : owner(owner) {}
    int operator[](int s) const;

private:
    const PhaseThree &owner;
};

class ActivationLists {
public:
    explicit ActivationLists(const PhaseThree &owner) : owner(owner) {}
    const int *operator[](int s) const;

private:
    const PhaseThree &owner;
};

class PhaseThree {
public:
    std::vector<SignalValue> currentSignals;
    std::vector<int> signalChangeMarks; // zero; no phase sets or reads it (a mark per signal for tools)
    const ActivationLengths lengthOfActivationList{*this};
    const ActivationLists activationList{*this}; // ascending component indices
    std::vector<int> componentsActivated;        // 1 when the component waits for evaluation
    std::vector<SignalValue> scheduledSignals;
    std::vector<uint64_t> scheduledTimes;
    std::vector<uint64_t> whenScheduled;

    // The components whose activation mark is set, in the order they were
    // marked: the first numberOfActivatedComponents entries.  The kernel
    // keeps it beside the marks (the reset and the time advance mark) so that
    // a step visits only the components that changed, never the whole
    // circuit.  A component is listed only while unmarked, so room for every
    // component once is enough.
    std::vector<int> activatedComponents;
    int numberOfActivatedComponents = 0;

    PhaseThree(const PhaseThree &) = delete; // the views refer to this object
    PhaseThree &operator=(const PhaseThree &) = delete;

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

    // The activation lists as the kernel reads them: signal s's list is
    // entries [activationStart[s], activationStart[s + 1]) of
    // activationEntries(), so a changed signal costs one 4-byte read.  Set by
    // formActivationLists; every list is empty before it runs.
    std::vector<int> activationStart;
    const int *activationEntries() const { return activationPool.data(); }

private:
    std::vector<int> activationPool; // the storage the activation lists point into
};

extern PhaseThree *phaseThree;
