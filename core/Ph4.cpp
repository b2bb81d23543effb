// The kernel's step: evaluation of the activated components, the time advance
// that applies the next events, and the reset to time zero.
#include "core/Ph4.h"

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <numeric>

#include "core/InPlace.h"
#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/RunEnd.h"
#include "core/RunTime.h"
#include "core/ValueHistory.h"
#include "core/Vcd.h"
#include "core/cmdLine.h"
#include "display/Display.h"

std::map<int, int> m;

namespace {

// The activation order's tuned constants; the scenario each one serves is
// listed above evaluateActivated.
// Lists up to this long are sorted by insertion; up to the longer limit too
// unless a bitmap of every component has fewer words than the list has entries.
constexpr int insertionAlwaysLimit = 8;
constexpr int insertionSortLimit = 32;
// A longer list is put in order through a bitmap of its index range when
// that range spans at most this many 64-bit words per listed component;
// otherwise by the general sort.
constexpr long wordsPerComponentForBitmap = 8;
// A list longer than the insertion limit is evaluated straight from a
// bitmap of every component when the bitmap has at most this many words per
// listed component.
constexpr int wordsPerListedForScan = 2;
// A stretch of steps counts as busy when it evaluated more than this many
// components per event applied: its steps activate many components each.
constexpr uint64_t busyEvaluationsPerEvent = 2;

// Sets component c's bit in a bitmap of every component.
[[gnu::always_inline]] inline void setOrderBit(uint64_t *bits, int c) {
    const auto u = static_cast<unsigned>(c);
    bits[u / 64] |= uint64_t{1} << (u % 64);
}

// Whether insertion is the cheapest way to order a list of n activated
// components of a circuit whose bitmap has componentWords words.
[[gnu::always_inline]] inline bool insertionSuits(int n, int componentWords) {
    return n <= insertionSortLimit && (n <= insertionAlwaysLimit || n < componentWords);
}

[[gnu::always_inline]] inline void insertionSort(int *list, int n) {
    for (int i = 1; i < n; ++i) {
        const int c = list[i];
        int j = i;
        for (; j > 0 && list[j - 1] > c; --j)
            list[j] = list[j - 1];
        list[j] = c;
    }
}

// Orders distinct indices by setting their bits in a bitmap over
// [lowest, highest] and reading the bits back in order.  The bitmap is all
// zero before and after.
void bitmapSort(int *list, int n, int lowest, int highest, std::vector<uint64_t> &bits) {
    const size_t words = static_cast<size_t>(highest - lowest) / 64 + 1;
    if (bits.size() < words)
        bits.resize(words, 0);
    for (int k = 0; k < n; ++k) {
        const unsigned offset = static_cast<unsigned>(list[k] - lowest);
        bits[offset / 64] |= uint64_t{1} << (offset % 64);
    }
    int *out = list;
    for (size_t w = 0; w < words; ++w)
        for (uint64_t word = bits[w]; word != 0; word &= word - 1)
            *out++ = lowest + static_cast<int>(w * 64) + __builtin_ctzll(word);
    std::fill(bits.begin(), bits.begin() + static_cast<long>(words), 0);
}

// Sorts a long list of activated components (distinct indices): a busy step
// of a large circuit activates hundreds scattered over a range a bitmap
// covers cheaply.  With at least one per word of a bitmap of all of them
// (componentWords words), that bitmap is cheaper than finding the range.
void sortMany(int *list, int n, std::vector<uint64_t> &bits, int componentWords) {
    if (n >= componentWords) {
        bitmapSort(list, n, 0, componentWords * 64 - 1, bits);
        return;
    }
    const auto [lowest, highest] = std::minmax_element(list, list + n);
    const long span = static_cast<long>(*highest) - *lowest + 1;
    if (span / 64 <= wordsPerComponentForBitmap * n)
        bitmapSort(list, n, *lowest, *highest, bits);
    else
        std::sort(list, list + n);
}

// Sorts the activated components.  A step usually activates a handful, often
// nearly in order, where an insertion sort in place is cheapest.
[[gnu::always_inline]] inline void sortAscending(int *list, int n, std::vector<uint64_t> &bits,
                                                 int componentWords) {
    if (insertionSuits(n, componentWords))
        insertionSort(list, n);
    else
        sortMany(list, n, bits, componentWords);
}

// Whether the steps record changes for a value change dump.
bool dumping() {
    return valueChangeDump != nullptr && valueChangeDump->recording();
}

// Whether the steps record changes: for a dump, or for a history kept for
// explanations.
bool recordingChanges() {
    return dumping() || valueHistory != nullptr;
}

// Whether the run must do more than step: a halt, a restart, the status line
// or the super probes ask for the main loop.  (Without a window the slow-down
// waits for nothing.)
// superProbes: whether they are shown, which only a window's key changes.
[[gnu::always_inline]] inline bool attentionNeeded(bool superProbes) {
    return haltFlag || reStart || displayTimeFlag || superProbes;
}

} // namespace

PhaseFour::PhaseFour() = default;

void PhaseFour::runInitialize() {
    skewHeap.clear();
    time = 0;
    phaseThree->resetSignals();
    // Every component is evaluated once at time 0; listed in ascending order.
    const auto components = static_cast<int>(phaseThree->componentsActivated.size());
    std::iota(phaseThree->activatedComponents.begin(), phaseThree->activatedComponents.begin() + components,
              0);
    phaseThree->numberOfActivatedComponents = components;
    std::fill(phaseThree->componentsActivated.begin(), phaseThree->componentsActivated.end(), 1);
    activatedInOrder = true;
    std::fill(phaseTwo->state.begin(), phaseTwo->state.end(), 0);
}

bool PhaseFour::pastStopTime() const {
    return stopTime != 0 && time > stopTime;
}

bool PhaseFour::quiescent() const {
    return skewHeap.isEmpty() && phaseThree->numberOfActivatedComponents == 0;
}

PhaseFour::StepArrays PhaseFour::stepArrays() const {
    PhaseThree &p3 = *phaseThree;
    const int components = static_cast<int>(p3.componentsActivated.size());
    return {p3.signalSlots.data(),     p3.componentsActivated.data(), p3.activatedComponents.data(),
            p3.activationStart.data(), p3.activationEntries(),        phaseTwo->records.data(),
            phaseTwo->pinPool(),       (components + 63) / 64};
}

[[gnu::always_inline]] inline void PhaseFour::evaluateOne(const StepArrays &a, int c, unsigned long quickAt,
                                                          unsigned long lazyAt) {
    a.marks[c] = 0;
    const ComponentRecord &r = a.records[c];
    if (isBuiltInGate(r.form)) {
        const SignalValue out = gateOutput(r.form, {a.slots, a.pins, r});
        const int s = a.pins[r.outputFrom];
        requestGateTransition(a.slots[s], s, out, quickAt, lazyAt);
    } else if (r.form != InPlaceForm::flipFlop ||
               !flipFlopSettlesQuietly(phaseTwo->state[c], a.slots, a.pins + r.dataFrom)) {
        // Most evaluations of a flip-flop only wait for the clock or arm it:
        // those are settled in place, without the call of its function.
        callEvaluate(c);
    }
    if (r.draws)
        drawIfShown(c);
}

// The components that are not built-in gates, out of line: what they do
// costs far more than the call, and the gates' loop keeps its registers.
[[gnu::noinline]] void PhaseFour::callEvaluate(int c) {
    if (const ComponentFunction f = phaseTwo->logicEvaluate[c]) {
        f(c);
        calledOut = true;
    } else {
        ++idleEvaluations;
    }
}

[[gnu::noinline]] void PhaseFour::drawIfShown(int c) {
    if (drawComponentPanes(c))
        calledOut = true;
}

// Out of line, so that the usual short list's loop keeps its registers.
[[gnu::noinline]] bool PhaseFour::orderOrEvaluateMany(int n, unsigned long quickAt, unsigned long lazyAt) {
    // The arrays are fetched again rather than passed: the caller's copy
    // stays in registers only while its address is never taken.
    const StepArrays a = stepArrays();
    if (a.bitmapWords > wordsPerListedForScan * n) {
        sortMany(a.pending, n, orderBits, a.bitmapWords);
        return false;
    }
    if (orderBits.size() < static_cast<size_t>(a.bitmapWords))
        orderBits.resize(static_cast<size_t>(a.bitmapWords), 0);
    uint64_t *const bits = orderBits.data();
    for (int k = 0; k < n; ++k)
        setOrderBit(bits, a.pending[k]);
    for (int w = 0; w < a.bitmapWords; ++w) {
        uint64_t word = bits[w];
        bits[w] = 0; // all zero again once read
        for (; word != 0; word &= word - 1)
            evaluateOne(a, w * 64 + __builtin_ctzll(word), quickAt, lazyAt);
    }
    return true;
}

// ---- The activation order -----------------------------------------------------
//
// evaluateActivated is the one entry for "evaluate the activated components
// in ascending index".  The list holds them in marking order.  The ways it is
// put in order, cheapest first, and the bench/compare.sh scenario each one is
// there for:
//
// - A list of one entry, or made by a single change (inOrder), is ascending
//   already, as every signal's fan-out is: no sorting.  run 200 2000 and
//   run 20000 40 (a ripple activates one or two components a step) and the
//   clock edges of ca 1000 500 (one clock, a thousand flip-flops).
// - Up to insertionAlwaysLimit entries, or up to insertionSortLimit while the
//   list is shorter than a bitmap of every component has words: insertion
//   sort in place (insertionSuits).  computer 8000, whose phases activate a
//   handful at a time.
// - A longer list (sortMany): through a bitmap of every component when it has
//   at least one entry per word of it, as the computer's longer lists of tens
//   to hundreds among 866 components do (computer 8000); else through a
//   bitmap of its own range while that range is dense enough
//   (wordsPerComponentForBitmap); else std::sort, which no scenario reaches:
//   it bounds the cost of a few entries scattered over a huge circuit.
// - In a busy stretch (the stretch before evaluated more than
//   busyEvaluationsPerEvent components per event), a long list dense in the
//   bitmap of every component (wordsPerListedForScan) is not sorted at all but
//   evaluated straight from that bitmap (orderOrEvaluateMany): ca 1000 500,
//   whose steps after each clock edge activate thousands of gates.
//
// busy is a template parameter, chosen per stretch by stepUnattended, because
// the benchmark shows it pays: as a plain value read in the loop it cost
// run 200 2000 and run 20000 40 one percent more instructions per event.
//
// Built-in gates are evaluated in place and a D flip-flop's quiet
// evaluations settled in place (core/InPlace.h): every scenario's gates, and
// the thousand flip-flops of ca 1000 500 at each clock edge.
template <bool busy>
[[gnu::always_inline]] inline void PhaseFour::evaluateActivated(const StepArrays &a, int &activated,
                                                                bool &inOrder, uint64_t &listed) {
    // Every gate requests its output with the same delays from the same
    // time, so the absolute times are worked out once per step.
    const unsigned long quickAt = afterPositive<ssiDelays.quickTime>();
    const unsigned long lazyAt = afterPositive<ssiDelays.lazyTime>();
    // The list holds the marked components in marking order; evaluation goes
    // by ascending index, and sorting the few that changed is cheaper than
    // scanning every mark.  Evaluation only queues transitions, so nothing
    // is marked while the list is walked.
    const int n = activated;
    // One signal's fan-out, such as a clock's, is listed in order already.
    const bool sorted = inOrder || n < 2;
    activated = 0;
    inOrder = true; // as the empty list is
    listed += static_cast<uint64_t>(n);
    if (!sorted) {
        if constexpr (busy) {
            // A long list may instead be read back through a bitmap of every
            // component, in order by its nature.
            if (insertionSuits(n, a.bitmapWords))
                insertionSort(a.pending, n);
            else if (orderOrEvaluateMany(n, quickAt, lazyAt))
                return;
        } else {
            sortAscending(a.pending, n, orderBits, a.bitmapWords);
        }
    }
    for (const int *c = a.pending, *end = a.pending + n; c != end; ++c)
        evaluateOne(a, *c, quickAt, lazyAt);
}

template <bool recording>
[[gnu::always_inline]] inline bool PhaseFour::advance(const StepArrays &a, int &activated, bool &inOrder,
                                                      uint64_t &applied, unsigned long until) {
    if (skewHeap.isEmpty() || skewHeap.root->time > until)
        return false;
    if (time == latestTime) {
        // Everything queued is due now, and would be due now again after it.
        endAtTheLatestTime();
        return false;
    }
    // The dump's change log, held in locals like the arrays; nothing of it
    // exists in the instantiation that does not record.
    SignalChangeLog *const log = recording && dumping() ? &valueChangeDump->changes : nullptr;
    ValueHistory *const history = recording ? valueHistory : nullptr;
    unsigned char *const noted = log ? log->noted.data() : nullptr;
    int *const changed = log ? log->changed.data() : nullptr;
    int numberChanged = log ? log->numberChanged : 0;
    const unsigned long now = skewHeap.root->time;
    time = now;
    int *tail = a.pending + activated; // where the next activated component is listed
    int changes = 0;
    do {
        const int s = skewHeap.root->signalSerialNumber;
        const SignalValue value = skewHeap.root->sigValue;
        skewHeap.removeMin();
        ++applied;
        SignalSlot &slot = a.slots[s];
        if (slot.currentValue() == value)
            continue; // an event that changes nothing activates nothing
        slot.current = stored(value);
        ++changes;
        if constexpr (recording) {
            if (noted && !noted[s]) {
                noted[s] = 1;
                changed[numberChanged++] = s;
            }
            if (history)
                history->note(s, value, now);
        }
        for (const int *e = a.entries + a.starts[s], *end = a.entries + a.starts[s + 1]; e != end; ++e) {
            const int c = *e;
            if (!a.marks[c]) {
                a.marks[c] = 1;
                *tail++ = c;
            }
        }
    } while (!skewHeap.isEmpty() && skewHeap.root->time == now);
    // Activation lists are ascending, so what one change adds to an empty
    // list is in order.  (A signal that changes twice adds nothing the
    // second time but counts as two changes, which only costs a sort.)
    inOrder = changes == 0 ? inOrder : activated == 0 && changes == 1;
    activated = static_cast<int>(tail - a.pending);
    if constexpr (recording) {
        if (log) {
            log->numberChanged = numberChanged;
            valueChangeDump->writeChanges(time);
        }
    }
    return true;
}

void PhaseFour::countIdleEvaluations(uint64_t &listed) {
    listed -= idleEvaluations;
    idleEvaluations = 0;
}

void PhaseFour::endAtTheLatestTime() {
    std::cerr << "Simulated time can advance no further: the run ends at time " << time << ".\n";
    done = 1;
}

bool PhaseFour::step(unsigned long until) {
    const StepArrays a = stepArrays();
    int &activated = phaseThree->numberOfActivatedComponents;
    evaluateActivated<false>(a, activated, activatedInOrder, componentEvaluations);
    countIdleEvaluations(componentEvaluations);
    // Drawn from the values of this step, before the advance changes them.
    if (superProbesShown())
        displaySuperProbes();
    if (recordingChanges())
        return advance<true>(a, activated, activatedInOrder, eventsApplied, until);
    return advance<false>(a, activated, activatedInOrder, eventsApplied, until);
}

bool PhaseFour::stepUnattended() {
    // Steps that activate many components at once are evaluated the way
    // that suits them, chosen by how the stretch before went.
    if (busyStretches)
        return recordingChanges() ? stepUnattendedAs<true, true>() : stepUnattendedAs<false, true>();
    return recordingChanges() ? stepUnattendedAs<true, false>() : stepUnattendedAs<false, false>();
}

template <bool recording, bool busy> bool PhaseFour::stepUnattendedAs() {
    // The run-control flags and the stop time are set by keys, the command
    // line and the odd component (a Stop, a restart request), never by a
    // built-in gate: they are read at the start and again only after a step
    // that called a component's own function.  done is also set by the end
    // of time, when the advance fails.
    // A stop request (a signal, a failed write) lowers the limit on step
    // starts: the stretch ends at the next step boundary.
    const auto stopAfter = [] { limitStepStarts(stopTime != 0 ? stopTime : latestTime); };
    // No key is read during a stretch: whether super probes are shown is
    // settled for all of it.
    const bool superProbes = superProbesShown();
    if (done || attentionNeeded(superProbes) || stopRequested)
        return false;
    stopAfter();
    const StepArrays a = stepArrays();
    // The number of activated components lives in a local for the stretch
    // (the evaluate functions never read it) and is stored when it ends.
    // So do the counts of the work done.
    int &kept = phaseThree->numberOfActivatedComponents;
    int activated = kept;
    bool inOrder = activatedInOrder;
    uint64_t evaluations = 0, applied = 0;
    bool quiet = false;
    calledOut = false;
    while (time <= stepStartLimit.load(std::memory_order_relaxed)) {
        evaluateActivated<busy>(a, activated, inOrder, evaluations);
        const bool advanced = advance<recording>(a, activated, inOrder, applied, latestTime);
        if (activated == 0 && skewHeap.isEmpty()) {
            quiet = true;
            break;
        }
        if (calledOut || !advanced) {
            calledOut = false;
            if (done || attentionNeeded(superProbes))
                break;
            stopAfter();
        }
    }
    kept = activated;
    activatedInOrder = inOrder;
    countIdleEvaluations(evaluations);
    componentEvaluations += evaluations;
    eventsApplied += applied;
    busyStretches = evaluations > busyEvaluationsPerEvent * applied;
    return quiet;
}
