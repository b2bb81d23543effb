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

// Serial numbers 0 and 1 are Zero and One, which need no driver.
constexpr int firstOrdinarySignal = 2;

} // namespace

PhaseThree::PhaseThree() {
    const size_t signals = static_cast<size_t>(std::max(phaseTwo->numberOfSignals, 0));
    const size_t components = static_cast<size_t>(std::max(phaseTwo->numberOfComponents, 0));
    currentSignals.assign(signals, UNINITIALIZED);
    signalChangeMarks.assign(signals, 0);
    lengthOfActivationList.assign(signals, 0);
    activationList.assign(signals, nullptr);
    activationStart.assign(signals + 1, 0);
    componentsActivated.assign(components, 0);
    scheduledSignals.assign(signals, UNINITIALIZED);
    scheduledTimes.assign(signals, 0);
    whenScheduled.assign(signals, 0);
    activatedComponents.assign(2 * components, 0);
    resetSignals();
}

void PhaseThree::resetSignals() {
    const int n = static_cast<int>(currentSignals.size());
    for (int s = 0; s < n; ++s) {
        const SignalValue v = phaseTwo->constSignals[s] ? phaseTwo->signalInitializations[s] : UNINITIALIZED;
        currentSignals[s] = v;
        scheduledSignals[s] = v;
        scheduledTimes[s] = 0;
        whenScheduled[s] = 0;
    }
}

void PhaseThree::checkConnectivity() {
    const PhaseTwo &p2 = *phaseTwo;
    // A signal is driven when it is constant or some component outputs it;
    // overloadable drivers are counted, but only driven or not matters here.
    std::vector<int> driven(p2.constSignals);
    for (int c = 0; c < p2.numberOfComponents; ++c)
        for (int k = 0; k < p2.numberOfOutputs[c]; ++k) {
            int &mark = driven[p2.outputs[c][k]];
            if (p2.outputOverloadable[c])
                ++mark;
            else if (mark == 0)
                mark = 1;
        }

    int warnings = 0;
    auto warn = [&](const std::string &line) {
        std::cerr << line;
        ++warnings;
    };
    for (int c = 0; c < p2.numberOfComponents; ++c) {
        for (int p = 0; p < p2.numberOfDataInputs[c]; ++p) {
            const int s = p2.dataInputs[c][p];
            if (s < firstOrdinarySignal || driven[s] || p2.constSignals[s])
                continue;
            std::ostringstream line;
            line << "Warning -- signal[" << s << "] " << p2.signalNames[s] << " has no driver, cmp = " << c
                 << ' ' << p2.decal[c] << " at " << p2.rcpos[c]
                 << " has unconnected DATA input, position = " << p << '\n';
            warn(line.str());
        }
        for (int p = 0; p < p2.numberOfControlInputs[c]; ++p) {
            const int s = p2.controlInputs[c][p];
            if (s < firstOrdinarySignal || driven[s])
                continue;
            std::ostringstream line;
            line << "Warning -- signal[" << s << "] has no driver, cmp = " << c << ' ' << p2.decal[c]
                 << " at " << p2.rcpos[c] << " has unconnected CONTROL input, position = " << p << '\n';
            warn(line.str());
        }
    }
    if (warnings > 0)
        std::cerr << "There are " << warnings << " inputUnconnectedWarnings\n";
}

void PhaseThree::formActivationLists() {
    const int signals = static_cast<int>(lengthOfActivationList.size());
    const int components = phaseTwo->numberOfComponents;
    // lastListed[s] is the last component put on s's list; components are
    // visited in ascending order, so this keeps each list ascending and free
    // of repeats without searching it.
    std::vector<int> lastListed(signals, -1);
    auto listOnce = [&](auto &&record) {
        for (int c = 0; c < components; ++c)
            forEachActivatingSignal(c, [&](int s) {
                if (s < 0 || s >= signals || lastListed[s] == c)
                    return;
                lastListed[s] = c;
                record(s, c);
            });
    };

    // First pass: the length of every list.
    std::fill(lengthOfActivationList.begin(), lengthOfActivationList.end(), 0);
    listOnce([&](int s, int) { ++lengthOfActivationList[s]; });

    // Each list gets exactly its length in one shared pool.
    size_t total = 0;
    for (int s = 0; s < signals; ++s)
        total += static_cast<size_t>(lengthOfActivationList[s]);
    activationPool.assign(total, 0);
    std::vector<int> filled(signals, 0);
    size_t offset = 0;
    for (int s = 0; s < signals; ++s) {
        activationStart[s] = static_cast<int>(offset);
        activationList[s] = lengthOfActivationList[s] ? activationPool.data() + offset : nullptr;
        offset += static_cast<size_t>(lengthOfActivationList[s]);
    }
    activationStart[signals] = static_cast<int>(offset);

    // Second pass: the same rule fills them.
    std::fill(lastListed.begin(), lastListed.end(), -1);
    listOnce([&](int s, int c) { activationList[s][filled[s]++] = c; });
}
