// Test support for the kernel: capture components with chosen flags and
// convert the netlist into the simulation phases the way the driver does.
#pragma once

#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "core/Ph1.h"
#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/Ph4.h"
#include "core/Schmtc.h"
#include "core/Sim.h"
#include "core/addStCmp.h"

namespace kernel_harness {

// What a captured component is made of, beyond its three buses.
struct Part {
    std::string position = "a";
    std::string decal = "Part";
    int level = 1; // nested this deep under position
    ComponentFunction evaluate = nullptr;
    ComponentFunction draw = nullptr;
    ComponentFunction key = nullptr;
    int overloadable = 0;
    int selfActivating = 0;
    std::vector<int> integers;
    std::vector<unsigned char> bytes;
    int words32 = 0;
    int words16 = 0;
    int words8 = 0;
};

// An empty bus, as the component functions pass for buses they do not use.
inline Signal none() {
    return Signal(0, "UnNamed");
}

// Captures one component and returns its index.
inline int capture(const Part &p, const Signal &data, const Signal &control, const Signal &out) {
    SD sd(p.position.c_str(), nullptr);
    for (int l = 2; l <= p.level; ++l)
        sd = SD(sd, "in", nullptr);
    StandardComponent c = componentOn(p.decal.c_str(), nullptr, p.evaluate, data, control, out);
    c.draw = p.draw;
    c.key = p.key;
    c.outputOverloadable = p.overloadable;
    c.selfActivating = p.selfActivating;
    c.integerParameters = p.integers;
    c.byteParameters = p.bytes;
    c.numberOfInternal32BitVariables = p.words32;
    c.numberOfInternal16BitVariables = p.words16;
    c.numberOfInternal8BitVariables = p.words8;
    addStandardComponent(c, sd);
    return phaseOne->componentList.numberOfComponents - 1;
}

// Converts the captured lists into arrays, per-signal state, activation lists
// and a kernel, silently: the capture stays (deleting it writes count lines),
// open inputs are not reported, and no display is created.
inline void convert() {
    ConversionOptions options;
    options.keepCapture = true;
    options.checkConnectivity = false;
    options.openDisplay = false;
    convertCapturedNetlist(options);
}

// A test name from a case's description: its words run together, each begun
// with a capital, without anything but letters and digits ("a released bus"
// gives "AReleasedBus").
inline std::string caseName(const std::string &what) {
    std::string name;
    bool wordStart = true;
    for (const char c : what) {
        const auto u = static_cast<unsigned char>(c);
        if (!std::isalnum(u)) {
            wordStart = true;
            continue;
        }
        name += wordStart ? static_cast<char>(std::toupper(u)) : c;
        wordStart = false;
    }
    return name;
}

// Names each case of a parameter table by its what.
struct NamedByWhat {
    template <typename Info> std::string operator()(const Info &info) const {
        return caseName(info.param.what);
    }
};

// Every entry of a per-signal field of the kernel's slots (currentSignals,
// scheduledTimes, ...) as a plain vector, for comparing them whole.
template <typename Value, typename Stored, Stored SignalSlot::*field>
std::vector<Value> valuesOf(const SignalField<Value, Stored, field> &view) {
    std::vector<Value> values;
    for (size_t s = 0; s < view.size(); ++s)
        values.push_back(view[static_cast<int>(s)]);
    return values;
}

using Queued = std::vector<std::pair<unsigned long, SignalValue>>;

// Empties the kernel's queue, returning (time, value) in delivery order.
inline Queued drainQueue() {
    Queued out;
    while (!phaseFour->skewHeap.isEmpty()) {
        out.emplace_back(phaseFour->skewHeap.min().time, phaseFour->skewHeap.min().sigValue);
        phaseFour->skewHeap.removeMin();
    }
    return out;
}

} // namespace kernel_harness
