// The per-signal change history kept for explanations.
#include "core/ValueHistory.h"

#include <algorithm>

#include "core/Ph2.h"
#include "core/cmdLine.h"
#include "display/Display.h"

ValueHistory *valueHistory = nullptr;

ValueHistory::ValueHistory()
    : changes(static_cast<size_t>(phaseTwo->numberOfSignals)),
      forgottenUpTo(static_cast<size_t>(phaseTwo->numberOfSignals), 0),
      resetValue(static_cast<size_t>(phaseTwo->numberOfSignals), UNINITIALIZED), made(phaseTwo) {
    for (size_t s = 0; s < resetValue.size(); ++s)
        if (phaseTwo->constSignals[s])
            resetValue[s] = phaseTwo->signalInitializations[s];
}

bool ValueHistory::madeFor(const PhaseTwo &netlist) const {
    return &netlist == made && changes.size() == static_cast<size_t>(netlist.numberOfSignals);
}

void ValueHistory::restart() {
    for (std::vector<Change> &h : changes)
        h.clear();
    std::fill(forgottenUpTo.begin(), forgottenUpTo.end(), 0);
}

void ValueHistory::forgetOlderHalf(int s) {
    std::vector<Change> &h = changes[static_cast<size_t>(s)];
    const auto half = static_cast<long>(h.size() / 2);
    forgottenUpTo[static_cast<size_t>(s)] = h[static_cast<size_t>(half)].time;
    h.erase(h.begin(), h.begin() + half);
}

HeldValue ValueHistory::heldAt(int s, uint64_t t) const {
    const std::vector<Change> &h = changes[static_cast<size_t>(s)];
    const uint64_t forgotten = forgottenUpTo[static_cast<size_t>(s)];
    HeldValue span;
    // The first change after t; the one before it is the change that made
    // the value at t.
    const auto later =
        std::upper_bound(h.begin(), h.end(), t, [](uint64_t time, const Change &c) { return time < c.time; });
    if (later != h.end()) {
        span.changedAfter = true;
        span.until = later->time;
        span.next = later->value;
    }
    if (later == h.begin()) {
        span.value = resetValue[static_cast<size_t>(s)];
        span.before = span.value;
        span.known = forgotten == 0;
        return span;
    }
    const auto made = later - 1;
    span.value = made->value;
    span.since = made->time;
    span.before = made == h.begin() ? resetValue[static_cast<size_t>(s)] : (made - 1)->value;
    span.known = made != h.begin() || forgotten == 0 || made->time >= forgotten;
    return span;
}

std::vector<uint64_t> ValueHistory::risesUpTo(int s, uint64_t t, bool fromZero) const {
    const std::vector<Change> &h = changes[static_cast<size_t>(s)];
    std::vector<uint64_t> rises;
    for (size_t k = h.size(); k-- > 0;) {
        if (h[k].time > t || h[k].value != ONE)
            continue;
        size_t before = k;
        while (before > 0 && h[before - 1].value == XXX)
            --before;
        const SignalValue level = before > 0 ? h[before - 1].value : resetValue[static_cast<size_t>(s)];
        if (!fromZero || level == ZERO)
            rises.push_back(h[k].time);
    }
    return rises;
}

void restartValueHistory() {
    // A history made for another netlist (a test building several in one
    // process) is dropped: its tables have another size.
    if (valueHistory != nullptr && !valueHistory->madeFor(*phaseTwo)) {
        delete valueHistory;
        valueHistory = nullptr;
    }
    if (valueHistory == nullptr && (!explainNames.empty() || windowOpen()))
        valueHistory = new ValueHistory;
    if (valueHistory != nullptr)
        valueHistory->restart();
}
