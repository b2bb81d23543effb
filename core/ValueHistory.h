// What every signal held at earlier times, kept only on request: an
// explanation of a value (-w, or a click in the window) follows a register
// back to the data it loaded, which may have changed since.  Without a
// request nothing is kept and the kernel's steps do no work for it.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Signal.h"

class PhaseTwo;

// One signal's value over an interval of time: what it held at the time
// asked for, since when, and what came next (if anything has yet).
struct HeldValue {
    SignalValue value = UNINITIALIZED;
    uint64_t since = 0; // when it took the value (0: at the reset)
    bool known = true;  // false: the time lies before the oldest change kept
    bool changedAfter = false;
    uint64_t until = 0; // with changedAfter: when the next change came
    SignalValue next = UNINITIALIZED;
    SignalValue before = UNINITIALIZED; // the value before since (the reset value at 0)
};

class ValueHistory {
public:
    // Room for every signal of the converted netlist, as after a reset.
    ValueHistory();
    // Whether it was made for this netlist.
    bool madeFor(const PhaseTwo &netlist) const;
    // Time zero: every signal at its reset value, nothing changed yet.
    void restart();
    // Signal s took value at time t (the kernel's time advance calls it).
    void note(int s, SignalValue value, uint64_t t) {
        std::vector<Change> &h = changes[static_cast<size_t>(s)];
        if (h.size() == keptPerSignal)
            forgetOlderHalf(s);
        h.push_back({t, value});
    }
    // The span of signal s that holds time t.  Changes at t itself count as
    // made (a component evaluated at t saw them).
    HeldValue heldAt(int s, uint64_t t) const;

    // The times at or before t at which s rose to ONE, latest first: with
    // fromZero only rises from ZERO (through XXX), else from any value.
    std::vector<uint64_t> risesUpTo(int s, uint64_t t, bool fromZero) const;

    // The most changes kept per signal; the older half goes when it is reached.
    static constexpr size_t keptPerSignal = 1024;

private:
    struct Change {
        uint64_t time;
        SignalValue value;
    };
    std::vector<std::vector<Change>> changes; // per signal, in time order
    std::vector<uint64_t> forgottenUpTo;      // per signal: nothing known before it (0: all kept)
    std::vector<SignalValue> resetValue;      // per signal
    const PhaseTwo *made;                     // the netlist it was made for
    void forgetOlderHalf(int s);
};

// The history of this run, or null when no explanation can be asked for.
extern ValueHistory *valueHistory;

// The start of a run and every restart: makes the history when an
// explanation may be asked for (names given with -w, or a window open) and
// sets it back to time zero.
void restartValueHistory();
