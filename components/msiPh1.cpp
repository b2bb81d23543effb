// Capture functions of the medium-scale and console components.
#include "components/msiPh1.h"

#include <initializer_list>
#include <sstream>

#include "components/CapErr.h"
#include "components/Registry.h"
#include "components/SecEvTyp.h"

namespace {

// The label a message names: the descriptor's decal, or "" when it has none
// (a null pointer must never reach the stream).
const char *decalOf(const SD &sd) {
    return sd.decal ? sd.decal : "";
}

// 2^bits as the length checks compare it; bus lengths far beyond any real
// bus give a number no length can equal instead of an overflow.
long long powerOfTwo(int bits) {
    return bits < 62 ? 1LL << bits : -1;
}

// Registers one medium-scale component: shown as a rectangle, no drawing or
// key functions, no internal variables.
void addMsiComponent(ComponentKind kind, const SD &sd, const Signal &dataIn, const Signal &controlIn,
                     const Signal &out, ValueSpan<int> parameters = {}) {
    StandardComponent c = registeredAs(kind, dataIn, controlIn, out);
    c.integerParameters = parameters;
    addStandardComponent(c, sd);
}

// The flip-flops' and the gate's message: "I/O length error--Name() at pos
// in.length = n out.length = n should be a & b."
void fixedLengthsError(const char *name, const SD &sd, const Signal &in, const Signal &out, int inLength,
                       int outLength) {
    std::ostringstream message;
    message << "I/O length error--" << name << "() at " << positionOf(sd);
    listLengths(message, {{"in", &in}, {"out", &out}});
    message << " should be " << inLength << " & " << outLength << ".";
    countedCaptureError(message);
}

// Counts the fixed-lengths error unless in and out have the given lengths.
void checkFixedLengths(const char *name, const SD &sd, const Signal &in, const Signal &out, int inLength,
                       int outLength) {
    if (in.length != inLength || out.length != outLength)
        fixedLengthsError(name, sd, in, out, inLength, outLength);
}

// The message of the decal-naming checks: "I/O length error--Name decal at
// pos" followed by the lengths.
void namedLengthError(const char *name, const SD &sd, std::initializer_list<NamedBus> buses) {
    std::ostringstream message;
    message << "I/O length error--" << name << " " << decalOf(sd) << " at " << positionOf(sd);
    listLengths(message, buses);
    countedCaptureError(message);
}

void addressibleRegisterError(const SD &sd, const char *what) {
    std::ostringstream message;
    message << "Signal length error for AddressibleRegister " << decalOf(sd) << " at " << positionOf(sd)
            << " " << what;
    countedCaptureError(message);
}

} // namespace

// ---- Medium-scale components ----------------------------------------------

void Adder(const SD &sd, const Signals &dataIn, const Signals &out) {
    if (dataIn.length != 2 * out.length)
        namedLengthError("Adder", sd, {{"dataIn", &dataIn}, {"out", &out}});
    const int parameters[] = {out.length};
    addMsiComponent(ComponentKind::adder, sd, dataIn, noSignals(), out, parameters);
}

void Counter(const SD &sd, const Signal &in, const Signal &out) {
    // The runtime reads the clock and the clear at positions 0 and 1.
    if (in.length < 2) {
        std::ostringstream message;
        message << "I/O length error--Counter() at " << positionOf(sd);
        listLengths(message, {{"in", &in}, {"out", &out}});
        message << " in.length should be at least 2.";
        countedCaptureError(message);
    }
    addMsiComponent(ComponentKind::counter, sd, in, noSignals(), out);
}

void Gate(const SD &sd, const Signal &in, const Signal &out) {
    checkFixedLengths("Gate", sd, in, out, 2, 1);
    addMsiComponent(ComponentKind::clockGate, sd, in, noSignals(), out);
}

void Dff(const SD &sd, const Signal &in, const Signal &out) {
    checkFixedLengths("Dff", sd, in, out, 4, 1);
    // With its pins in place the step settles its quiet evaluations itself.
    addMsiComponent(ComponentKind::dff, sd, in, noSignals(), out);
}

void Jkff(const SD &sd, const Signal &in, const Signal &out) {
    checkFixedLengths("Jkff", sd, in, out, 5, 2);
    addMsiComponent(ComponentKind::jkff, sd, in, noSignals(), out);
}

void Increment(const SD &sd, const Signal &in, const Signal &out) {
    // The runtime reads the input at every output position.
    if (in.length < out.length) {
        std::ostringstream message;
        message << "I/O length error--Increment() at " << positionOf(sd);
        listLengths(message, {{"in", &in}, {"out", &out}});
        message << " in.length should be at least out.length.";
        countedCaptureError(message);
    }
    addMsiComponent(ComponentKind::increment, sd, in, noSignals(), out);
}

void Mux(const SD &sd, const Signals &controlIn, const Signals &dataIn, const Signals &out) {
    if (dataIn.length != out.length * powerOfTwo(controlIn.length))
        namedLengthError("Mux", sd, {{"dataIn", &dataIn}, {"controlIn", &controlIn}, {"out", &out}});
    addMsiComponent(ComponentKind::mux, sd, dataIn, controlIn, out);
}

void Decoder(const SD &sd, const Signals &controlIn, const Signals &dataIn, const Signals &out) {
    if (out.length != powerOfTwo(dataIn.length) || controlIn.length != 1)
        namedLengthError("Decoder", sd, {{"dataIn", &dataIn}, {"controlIn", &controlIn}, {"out", &out}});
    addMsiComponent(ComponentKind::decoder, sd, dataIn, controlIn, out);
}

void Encoder(const SD &sd, const Signals &dataIn, const Signals &out, const Signal &valid) {
    if (dataIn.length != powerOfTwo(out.length) || valid.length != 1)
        namedLengthError("Encoder", sd, {{"dataIn", &dataIn}, {"out", &out}, {"valid", &valid}});
    addMsiComponent(ComponentKind::encoder, sd, dataIn, noSignals(), (valid, out));
}

void Register(const SD &sd, const Signal &enable, const Signal &write, const Signals &dataIn,
              const Signals &out) {
    if (dataIn.length != out.length || write.length != 1 || enable.length != 1) {
        std::ostringstream message;
        message << "I/O lengths mismatch for Register " << decalOf(sd) << " at " << positionOf(sd);
        listLengths(message, {{"dataIn", &dataIn}, {"write", &write}, {"enable", &enable}, {"out", &out}});
        countedCaptureError(message);
    }
    addMsiComponent(ComponentKind::enabledRegister, sd, dataIn, (enable, write), out);
}

void BitAddressibleRegister(const SD &sd, const Signal &clear, const Signal &set, const Signal &enable,
                            const Signal &write, const Signals &bitIn, const Signals &writeAddress,
                            const Signals &readAddress, const Signals &bitOut, const Signals &registerOut) {
    for (const Signal *single : {&clear, &set, &enable, &write, &bitIn, &bitOut})
        if (single->length != 1) {
            addressibleRegisterError(sd,
                                     "clear, set, enable, write, bitIn or bitOut more than a single bit.");
            break;
        }
    if (readAddress.length != writeAddress.length || registerOut.length != powerOfTwo(readAddress.length))
        addressibleRegisterError(sd, "Read/Write Address or Output lengths do not agree.");
    addMsiComponent(ComponentKind::bitAddressibleRegister, sd, ((bitIn, writeAddress), readAddress),
                    (((clear, set), enable), write), (bitOut, registerOut));
}

// ---- Console output components ----

namespace {

// What tells the three console components apart at capture: the name their
// length message gives, their decal and runtime, and the one bus whose length
// is checked.
// The bus whose length a console's capture checks.
struct ConsoleKind {
    ComponentKind kind;
    const char *checkedBus;
    int checkedLength;
};

// clang-format off
//                             kind                           checked bus  its length
const ConsoleKind stderrKind  {ComponentKind::stderrOutput,   "in",        10};
const ConsoleKind intOutKind  {ComponentKind::intOut,         "control",   2};
const ConsoleKind hexOutKind  {ComponentKind::hexOut,         "control",   2};
// clang-format on

// Checks the length of the checked bus (a counted error) and registers the
// component with the given data and control inputs and no outputs.
void captureConsole(const ConsoleKind &kind, const SD &sd, const Signal &checked, const Signal &dataIn,
                    const Signal &controlIn) {
    if (checked.length != kind.checkedLength) {
        std::ostringstream message;
        message << "I/O length error--" << componentRow(kind.kind).name << "() at " << positionOf(sd);
        listLengths(message, {{kind.checkedBus, &checked}});
        message << " should be " << kind.checkedLength << ".";
        countedCaptureError(message);
    }
    addMsiComponent(kind.kind, sd, dataIn, controlIn, noSignals());
}

} // namespace

void Stderr(const SD &sd, const Signals &in) {
    captureConsole(stderrKind, sd, in, in, noSignals());
}

void IntOut(const SD &sd, const Signals &control, const Signals &data) {
    captureConsole(intOutKind, sd, control, data, control);
}

void HexOut(const SD &sd, const Signals &control, const Signals &data) {
    captureConsole(hexOutKind, sd, control, data, control);
}
