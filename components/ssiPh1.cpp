// Capture functions of the small-scale components.
#include "components/ssiPh1.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <iostream>
#include <sstream>
#include <utility>

#include "components/CapErr.h"
#include "components/Registry.h"
#include "components/SecEvTyp.h"
#include "components/ssiRT.h"
#include "core/Ph1.h"
#include "core/addStCmp.h"

namespace {

// ---- Errors -----------------------------------------------------------------

[[noreturn]] void lengthError(const std::string &what, const SD &sd, std::initializer_list<NamedBus> buses) {
    std::ostringstream message;
    message << "ERROR -- " << what << " at " << positionOf(sd) << " length error: ";
    listLengths(message, buses);
    captureError(message);
}

// The runtimes read bit 0 of these buses: an empty one is rejected here rather
// than read out of bounds later.
void requireBits(const char *component, const SD &sd, std::initializer_list<NamedBus> buses) {
    for (const NamedBus &bus : buses)
        if (bus.second->length == 0)
            lengthError(component, sd, buses);
}

// Negative times would ask for transitions in the past.
[[noreturn]] void parameterError(const char *component, const SD &sd,
                                 std::initializer_list<std::pair<const char *, int>> parameters,
                                 const char *rule) {
    std::ostringstream message;
    message << "ERROR -- " << component << " at " << positionOf(sd) << " parameter error: ";
    for (const auto &p : parameters)
        message << " " << p.first << " = " << p.second;
    message << " (" << rule << ")";
    captureError(message);
}

// ---- Gates ------------------------------------------------------------------

using Kind = ComponentKind;

// One gate; its output is out[0], which must exist.
// The step evaluates every gate in place, a two-input one by its pair rule.
void captureGate(Kind kind, const SD &sd, const Signal &dataIn, const Signal &controlIn, const Signal &out) {
    requireBits(componentRow(kind).name, sd, {{"out", &out}});
    addStandardComponent(registeredAs(kind, dataIn, controlIn, out), sd);
}

// And(sd, in, out) and Or(sd, in, out): out[i] over the i-th group of in.
void captureGroupedGate(Kind kind, const SD &sd, const Signal &in, const Signal &out) {
    if (out.length == 1) {
        captureGate(kind, sd, in, noSignals(), out);
        return;
    }
    const std::string name = componentRow(kind).name;
    if (out.length == 0) {
        std::ostringstream message;
        message << "ERROR -- " << name << " with out.length == 0 at " << positionOf(sd) << "  length error: ";
        listLengths(message, {{"in", &in}, {"out", &out}});
        captureError(message);
    }
    if (in.length % out.length != 0)
        lengthError(name + " (vector) with inputs not divisible over outputs", sd,
                    {{"in", &in}, {"out", &out}});
    const int n = in.length / out.length;
    for (int i = out.length - 1; i >= 0; --i) {
        // With no inputs at all every gate is a gate over nothing.
        if (n == 0)
            captureGroupedGate(kind, sd, noSignals(), out[i]);
        else
            captureGroupedGate(kind, sd, in.sub(i * n, (i + 1) * n - 1), out[i]);
    }
}

// And(sd, in1, in2, out) and Or(sd, in1, in2, out): two-input gates per bit.
void captureBitwiseGate(Kind kind, const SD &sd, const Signal &in1, const Signal &in2, const Signal &out) {
    const bool shared1 = in1.length == 1 && in2.length != 1;
    const bool shared2 = in2.length == 1 && in1.length != 1;
    const bool fits = in1.length == in2.length ? in1.length == out.length
                      : shared1                ? in2.length == out.length
                      : shared2                ? in1.length == out.length
                                               : false;
    if (!fits)
        lengthError(std::string(componentRow(kind).name) + " (vector) component", sd,
                    {{"in1", &in1}, {"in2", &in2}, {"out", &out}});
    for (int i = out.length - 1; i >= 0; --i) {
        const Signal x = shared1 ? in1 : in1[i];
        const Signal y = shared2 ? in2 : in2[i];
        captureGroupedGate(kind, sd, (x, y), out[i]);
    }
}

// ---- Stimulus and observation -------------------------------------------------

// The kind's registration under another label than its row's, with no pins
// yet; the capture functions add what their component has.
StandardComponent shown(Kind kind, const char *decal) {
    StandardComponent c = registeredAs(kind);
    c.decal = decal;
    return c;
}

void captureProbe(const SD &sd, const Signal &wire, const std::string &decal) {
    StandardComponent c = shown(Kind::probe, decal.c_str());
    c.dataIn = &wire;
    addStandardComponent(c, sd);
}

// The two eight-bit probes differ only in how they draw.
void captureByteProbe(Kind kind, const SD &sd, const Signals &in, const std::string &label) {
    const std::string decal = label.empty() ? in.nameTag : label;
    StandardComponent c = shown(kind, decal.c_str());
    c.dataIn = &in;
    addStandardComponent(c, sd);
}

// The sub-position of bit b in a row of probes: bits 0 .. 25 at "1z" .. "1a";
// further bits continue in the rows below, 26 per row ("2z" .. "2a", and so
// on), so a wide bus wraps instead of leaving the letters.
std::string rowProbePosition(int bit) {
    const char row = static_cast<char>('1' + bit / 26);
    const char column = static_cast<char>('z' - bit % 26);
    return std::string{row, column};
}

int serialOf(const Signal &s) {
    return s.serialNumber[0];
}

} // namespace

// ---- Gates --------------------------------------------------------------------

void Tsb(const SD &sd, const Signal &in, const Signal &control, const Signal &out) {
    if (control.length != 1 || in.length != 1 || out.length != 1)
        lengthError("Tsb (Tri-state-buffer)", sd, {{"control", &control}, {"in", &in}, {"out", &out}});
    StandardComponent c = registeredAs(Kind::tsb);
    c.outputOverloadable = 1; // several buffers may drive one bus
    c.dataIn = &in;
    c.controlIn = &control;
    c.out = &out;
    addStandardComponent(c, sd);
}

void Nand(const SD &sd, const Signals &in, const Signal &out) {
    captureGate(Kind::nand, sd, in, noSignals(), out);
}
void Nor(const SD &sd, const Signals &in, const Signal &out) {
    captureGate(Kind::nor, sd, in, noSignals(), out);
}
void Xor(const SD &sd, const Signals &in, const Signal &out) {
    captureGate(Kind::xorGate, sd, in, noSignals(), out);
}
void Xnor(const SD &sd, const Signals &in, const Signal &out) {
    captureGate(Kind::xnor, sd, in, noSignals(), out);
}

void Iand(const SD &sd, const Signals &inTrue, const Signals &inComplement, const Signal &out) {
    captureGate(Kind::iand, sd, inComplement, inTrue, out);
}
void Inand(const SD &sd, const Signals &inTrue, const Signals &inComplement, const Signal &out) {
    captureGate(Kind::inand, sd, inComplement, inTrue, out);
}
void CiOr(const SD &sd, const Signals &inTrue, const Signals &inComplement, const Signal &out) {
    captureGate(Kind::cior, sd, inComplement, inTrue, out);
}
void CiNor(const SD &sd, const Signals &inTrue, const Signals &inComplement, const Signal &out) {
    captureGate(Kind::cinor, sd, inComplement, inTrue, out);
}

void MultiLevelCompare(const SD &sd, const Signals &in, const Signal &out) {
    // The comparator reads data inputs 0 and 1.
    if (in.length < 2) {
        std::ostringstream message;
        message << "ERROR -- MultiLevelCompare at " << positionOf(sd) << " length error: ";
        listLengths(message, {{"in", &in}});
        message << " (two inputs are compared)";
        captureError(message);
    }
    captureGate(Kind::compare, sd, in, noSignals(), out);
}

void And(const SD &sd, const Signals &in, const Signal &out) {
    captureGroupedGate(Kind::andGate, sd, in, out);
}
void Or(const SD &sd, const Signals &in, const Signal &out) {
    captureGroupedGate(Kind::orGate, sd, in, out);
}

void And(const SD &sd, const Signals &in1, const Signals &in2, const Signal &out) {
    captureBitwiseGate(Kind::andGate, sd, in1, in2, out);
}
void Or(const SD &sd, const Signals &in1, const Signals &in2, const Signal &out) {
    captureBitwiseGate(Kind::orGate, sd, in1, in2, out);
}

void Not(const SD &sd, const Signals &in, const Signals &out) {
    if (in.length == 1 && out.length == 1) {
        captureGate(Kind::notGate, sd, in, noSignals(), out);
        return;
    }
    if (out.length < 2 || in.length != out.length)
        lengthError("Not (vector)", sd, {{"in", &in}, {"out", &out}});
    for (int i = out.length - 1; i >= 0; --i)
        Not(sd, in[i], out[i]);
}

// ---- Stimulus and observation -------------------------------------------------

void Probe(const SD &sd, const Signals &in, const std::string &label, const int numberOfPartitions,
           const int *partitionSize) {
    if (numberOfPartitions > 0 && partitionSize == nullptr) {
        std::ostringstream message;
        message << "ERROR--Partitioned Probe at " << positionOf(sd) << " with no partitionSize list,"
                << " in.length = " << in.length << " -- can't continue.";
        captureError(message);
    }
    int partition = 0;
    int count = 0;
    for (int bit = in.length - 1; bit >= 0; --bit) {
        if (numberOfPartitions > 0) {
            // The last group size repeats for the remaining bits.
            const int size = partitionSize[std::min(partition, numberOfPartitions - 1)];
            if (count == size) {
                Space(sd);
                ++partition;
                count = 0;
            }
        }
        const Signal wire = in[bit];
        captureProbe(sd, wire, label.empty() ? wire.nameTag : label);
        ++count;
    }
}

void ProbeH(const SD &sd, const Signals &in, const std::string &label) {
    for (int bit = 0; bit < in.length; ++bit) {
        SD child(sd, rowProbePosition(bit).c_str(), nullptr);
        // The row stands in for sd itself, so it keeps sd's level.
        child.graphicLevel -= 1;
        const bool numbered = !label.empty() && in.length != 1;
        Probe(child, in[bit], numbered ? label + "[" + std::to_string(bit) + "]" : label, 0, nullptr);
    }
}

void ProbeByte(const SD &sd, const Signals &in, const std::string &label) {
    captureByteProbe(Kind::probeByte, sd, in, label);
}

void ProbeByteH(const SD &sd, const Signals &in, const std::string &label) {
    captureByteProbe(Kind::probeByteH, sd, in, label);
}

void Switch(const SD &sd, const Signal &out, const char keyChar, const Signal &init,
            const std::string &label) {
    requireBits("Switch", sd, {{"out", &out}, {"init", &init}});
    const std::string decal = std::string(1, keyChar) + ":" + (label.empty() ? out[0].nameTag : label);
    const int parameters[] = {serialOf(init)};
    StandardComponent c = shown(Kind::switchSource, decal.c_str());
    c.selfActivating = 1;
    c.integerParameters = parameters;
    for (int bit = out.length - 1; bit >= 0; --bit) {
        const Signal wire = out[bit];
        // The entry records the index of the switch registered next.
        phaseOne->switchList.add(serialOf(wire), static_cast<char>(keyChar + (out.length - 1 - bit)));
        c.out = &wire;
        addStandardComponent(c, sd);
    }
}

void PowerOn(const SD &sd, const Signal &out, const int time, const Signal &init) {
    requireBits("PowerOn", sd, {{"out", &out}, {"init", &init}});
    if (time < 0)
        parameterError("PowerOn", sd, {{"time", time}}, "time may not be negative");
    const int parameters[] = {time, serialOf(init)};
    StandardComponent c = registeredAs(Kind::powerOn);
    c.selfActivating = 1;
    c.out = &out;
    c.integerParameters = parameters;
    addStandardComponent(c, sd);
}

void Pulser(const SD &sd, const Signal &out, const char keyChar, const int duration, const Signal &init) {
    requireBits("Pulser", sd, {{"out", &out}, {"init", &init}});
    if (duration < 0)
        parameterError("Pulser", sd, {{"duration", duration}}, "duration may not be negative");
    const int parameters[] = {duration, serialOf(init)};
    const char decal[] = {keyChar, '\0'};
    StandardComponent c = shown(Kind::pulser, decal);
    c.selfActivating = 1;
    c.out = &out;
    c.integerParameters = parameters;
    phaseOne->switchList.add(serialOf(out), keyChar);
    addStandardComponent(c, sd);
}

void Module(const SD &sd, const Signals &in, const Signal &out) {
    Module(sd, "Module", in, out);
}

void Module(const SD &sd, const char *tag, const Signals &in, const Signal &out) {
    StandardComponent c = tag ? shown(Kind::module, tag) : registeredAs(Kind::module);
    // Output-overloadable: the box counts as a driver of out beside the real
    // drivers inside it, and shows only at exactly its own level.
    c.outputOverloadable = 1;
    c.dataIn = &in;
    c.out = &out;
    addStandardComponent(c, sd);
}

void Stop(const SD &sd, const Signal &in) {
    requireBits("Stop", sd, {{"in", &in}});
    StandardComponent c = registeredAs(Kind::stop);
    c.dataIn = &in;
    addStandardComponent(c, sd);
}

void Clock(const SD &sd, const Signal &out, const int duration, const int offset, const int period,
           const Signal &init) {
    requireBits("Clock", sd, {{"out", &out}, {"init", &init}});
    if (duration < 0 || offset < 0 || period < 0 || duration > period)
        parameterError("Clock", sd, {{"duration", duration}, {"offset", offset}, {"period", period}},
                       "none may be negative and duration may not exceed period");
    const int parameters[] = {duration, offset, period, serialOf(init)};
    StandardComponent c = registeredAs(Kind::clock);
    c.selfActivating = 1;
    c.out = &out;
    c.integerParameters = parameters;
    addStandardComponent(c, sd);
}

void Space(const SD &sd) {
    addStandardComponent(registeredAs(Kind::space), sd);
}
