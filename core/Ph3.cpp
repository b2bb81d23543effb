// Per-signal simulation state, connectivity check and activation lists.
#include "core/Ph3.h"

#include <algorithm>
#include <iostream>
#include <sstream>

#include "core/Ph2.h"

namespace {

// Calls visit(s) for every signal whose change must re-evaluate component c:
// its data and control inputs, and its outputs when it is self-activating.
template <typename Visit> void forEachActivatingSignal(int c, Visit &&visit) {
    const PhaseTwo &p2 = *phaseTwo;
    for (int k = 0; k < p2.numberOfDataInputs[c]; ++k)
        visit(p2.dataInputs[c][k]);
    for (int k = 0; k < p2.numberOfControlInputs[c]; ++k)
        visit(p2.controlInputs[c][k]);
    if (p2.selfActivating[c])
        for (int k = 0; k < p2.numberOfOutputs[c]; ++k)
            visit(p2.outputs[c][k]);
}

} // namespace

PhaseThree::PhaseThree() {
    const size_t signals = static_cast<size_t>(std::max(phaseTwo->numberOfSignals, 0));
    const size_t components = static_cast<size_t>(std::max(phaseTwo->numberOfComponents, 0));
    signalSlots.assign(signals, SignalSlot{});
    // The slots never move after this, so the field views can hold their address.
    currentSignals.slots = scheduledSignals.slots = scheduledTimes.slots = whenScheduled.slots =
        signalSlots.data();
    currentSignals.count = scheduledSignals.count = scheduledTimes.count = whenScheduled.count = signals;
    activationStart.assign(signals + 1, 0);
    componentsActivated.assign(components, 0);
    activatedComponents.assign(components, 0);
    resetSignals();
}

void PhaseThree::resetSignals() {
    const int n = static_cast<int>(signalSlots.size());
    for (int s = 0; s < n; ++s) {
        const SignalValue v = phaseTwo->constSignals[s] ? phaseTwo->signalInitializations[s] : UNINITIALIZED;
        SignalSlot &slot = signalSlots[s];
        slot.current = slot.scheduled = stored(v);
        slot.scheduledTime = slot.whenScheduled = 0;
    }
}

void PhaseThree::checkConnectivity() {
    const PhaseTwo &p2 = *phaseTwo;
    // A signal is driven when it is constant (Zero and One, serial numbers 0
    // and 1, among them) or some component outputs it; several drivers only
    // matter elsewhere, so one mark is enough.
    std::vector<char> driven(p2.constSignals.size());
    for (size_t s = 0; s < driven.size(); ++s)
        driven[s] = p2.constSignals[s] != 0;
    for (int c = 0; c < p2.numberOfComponents; ++c)
        for (int k = 0; k < p2.numberOfOutputs[c]; ++k)
            driven[p2.outputs[c][k]] = 1;

    int warnings = 0;
    std::ostringstream line;
    auto warn = [&] {
        std::cerr << line.str();
        line.str("");
        ++warnings;
    };
    for (int c = 0; c < p2.numberOfComponents; ++c) {
        for (int p = 0; p < p2.numberOfDataInputs[c]; ++p) {
            const int s = p2.dataInputs[c][p];
            if (driven[s])
                continue;
            line << "Warning -- signal[" << s << "] " << p2.signalNames[s] << " has no driver, cmp = " << c
                 << ' ' << p2.decal[c] << " at " << p2.rcpos[c]
                 << " has unconnected DATA input, position = " << p << '\n';
            warn();
        }
        for (int p = 0; p < p2.numberOfControlInputs[c]; ++p) {
            const int s = p2.controlInputs[c][p];
            if (driven[s])
                continue;
            line << "Warning -- signal[" << s << "] has no driver, cmp = " << c << ' ' << p2.decal[c]
                 << " at " << p2.rcpos[c] << " has unconnected CONTROL input, position = " << p << '\n';
            warn();
        }
    }
    if (warnings > 0)
        std::cerr << "There are " << warnings << " inputUnconnectedWarnings\n";
}

void PhaseThree::formActivationLists() {
    const int signals = static_cast<int>(activationStart.size()) - 1;
    const int components = phaseTwo->numberOfComponents;
    const auto isSignal = [signals](int s) { return s >= 0 && s < signals; };

    // First pass: the length of each list, counted in the entry after its own
    // so that a running sum turns the lengths into start offsets.
    // lastListed[s] is the last component counted for s; components come in
    // ascending order, so this counts each one once without searching.
    std::vector<int> lastListed(signals, -1);
    std::fill(activationStart.begin(), activationStart.end(), 0);
    for (int c = 0; c < components; ++c)
        forEachActivatingSignal(c, [&](int s) {
            if (isSignal(s) && lastListed[s] != c) {
                lastListed[s] = c;
                ++activationStart[s + 1];
            }
        });
    for (int s = 0; s < signals; ++s)
        activationStart[s + 1] += activationStart[s];

    // Second pass: the same rule fills the lists into one shared pool; the
    // marks are done with, so their array holds each list's fill position.
    activationPool.assign(static_cast<size_t>(activationStart[signals]), 0);
    std::vector<int> &next = lastListed;
    std::copy(activationStart.begin(), activationStart.end() - 1, next.begin());
    for (int c = 0; c < components; ++c)
        forEachActivatingSignal(c, [&](int s) {
            // A repeat of c on s's list would follow the entry just written.
            if (!isSignal(s) || (next[s] > activationStart[s] && activationPool[next[s] - 1] == c))
                return;
            activationPool[next[s]++] = c;
        });
}
