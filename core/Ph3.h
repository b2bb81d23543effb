// Per-signal simulation state, connectivity check and activation lists.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Signal.h"

class PhaseThree;

// A signal value as the kernel stores it: one byte, of a type of its own, so
// that storing one does not make the compiler assume any other memory changed
// (a plain byte type may alias anything, and would force the step to reload
// every pointer it holds after each store).
enum class StoredValue : uint8_t {};

constexpr StoredValue stored(SignalValue v) {
    return static_cast<StoredValue>(v);
}
constexpr SignalValue loaded(StoredValue v) {
    return static_cast<SignalValue>(v);
}

// Everything the kernel keeps per signal, side by side: the time advance
// writes the present value, a transition reads and writes the scheduled value
// and its times, and a gate reads the present values of its inputs, so that
// one signal's state is one place in memory instead of four arrays.
struct SignalSlot {
    uint64_t scheduledTime = 0; // when the last queued transition takes effect
    uint64_t whenScheduled = 0; // the time that transition was queued at (for the time-warp report)
    StoredValue current = stored(UNINITIALIZED);
    StoredValue scheduled = stored(UNINITIALIZED); // the value the signal is headed for

    SignalValue currentValue() const { return loaded(current); }
    SignalValue scheduledValue() const { return loaded(scheduled); }
};

// One field of every signal's slot, read and written by serial number as if
// it were an array of its own: phaseThree->currentSignals[s] = ONE.  A small
// copyable view (the slots' address and count), so a loop can hold it in a
// register like a plain pointer.
template <typename Value, typename Stored, Stored SignalSlot::*field> class SignalField {
public:
    // What indexing gives: reads as a Value, assigns as one.
    class Reference {
    public:
        explicit Reference(Stored &place) : place(place) {}
        operator Value() const { return static_cast<Value>(place); }
        Reference &operator=(Value v) {
            place = static_cast<Stored>(v);
            return *this;
        }
        // Assigns the value, not the place: a[s] = b[t] copies a value.
        Reference &operator=(const Reference &other) { return *this = static_cast<Value>(other); }

    private:
        Stored &place;
    };

    Reference operator[](int s) const { return Reference(slots[s].*field); }
    size_t size() const { return count; }

private:
    friend class PhaseThree;
    SignalSlot *slots = nullptr;
    size_t count = 0;
};

using SignalValues = SignalField<SignalValue, StoredValue, &SignalSlot::current>;
using ScheduledValues = SignalField<SignalValue, StoredValue, &SignalSlot::scheduled>;
using SignalTimes = SignalField<uint64_t, uint64_t, &SignalSlot::scheduledTime>;
using QueueingTimes = SignalField<uint64_t, uint64_t, &SignalSlot::whenScheduled>;

class PhaseThree {
public:
    // Per signal, by serial number: the state the kernel works on.
    std::vector<SignalSlot> signalSlots;
    // The slots' fields, each indexed by serial number like an array.
    SignalValues currentSignals;
    ScheduledValues scheduledSignals;
    SignalTimes scheduledTimes;
    QueueingTimes whenScheduled;

    std::vector<int> componentsActivated; // 1 when the component waits for evaluation

    // The components whose activation mark is set, in the order they were
    // marked: the first numberOfActivatedComponents entries.  The kernel
    // keeps it beside the marks (the reset and the time advance mark) so that
    // a step visits only the components that changed, never the whole
    // circuit.  A component is listed only while unmarked, so room for every
    // component once is enough.
    std::vector<int> activatedComponents;
    int numberOfActivatedComponents = 0;

    PhaseThree(const PhaseThree &) = delete; // the field views point into its slots
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

// The third phase: signal values, connectivity and activation lists.
extern PhaseThree *phaseThree;
