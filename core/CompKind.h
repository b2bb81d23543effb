// What a component is, as the netlist arrays store it, and how the step
// evaluates it.
//
// A component's kind names its row in the component registry
// (components/Registry.h), which says everything else about it: its name,
// label, icon, family, functions, how it is read as a probe and how an
// explanation follows it.  Its capture function in components/ takes the
// kind from that row when it registers; nothing later compares function
// pointers to find out what a component is.
//
// The dependency runs one way: components/ includes core/ to register and to
// reuse the rules the step runs in place (core/InPlace.h); the kernel reads
// only the kind and the in-place form stored in each component's record.
#pragma once

#include <cstdint>

// Every runtime function of a component takes only its component index.
using ComponentFunction = void (*)(int cind);

// The quick and lazy delays one family passes to every transition it requests.
struct FamilyDelays {
    int quickTime;
    int lazyTime;
};

// One kind per component function of the netlist interface (the vector forms
// of And, Or and Not and the rows of ProbeH register these same kinds), and
// one for a circuit's own component, registered without a component function.
// The registry has one row per kind, in this order (checked when it
// compiles); other stays last, for numberOfComponentKinds.
enum class ComponentKind : uint8_t {
    // clang-format off
    // Gates (MultiLevelCompare: compare)
    andGate, orGate, nand, nor, notGate, xorGate, xnor, iand, inand, cior, cinor, compare,
    // Stimulus, observation and layout (Switch: switchSource)
    tsb, probe, probeByte, probeByteH, switchSource, pulser, powerOn, clock, stop, module, space,
    // Sequential and medium-scale parts (Gate: clockGate; Register: enabledRegister)
    adder, counter, clockGate, dff, jkff, increment, mux, decoder, encoder, enabledRegister,
    bitAddressibleRegister,
    // Console output (Stderr: stderrOutput) and memories
    stderrOutput, intOut, hexOut, registerFile, ram, rom,
    // A circuit's own component
    other,
    // clang-format on
};

// The number of kinds, and so of registry rows.
constexpr int numberOfComponentKinds = static_cast<int>(ComponentKind::other) + 1;

// How the step evaluates a component.  The built-in gates come first, so that
// telling one is a single comparison in the step's hot path (isBuiltInGate).
enum class InPlaceForm : uint8_t {
    // clang-format off
    // The built-in gates, evaluated in place by the step (core/InPlace.h):
    // a gate evaluation is the simulator's most frequent work, and the call
    // would cost as much as the gate.
    andGate = 0, orGate, nand, nor, notGate, xorGate, xnor, iand, inand, cior, cinor, compare,
    // The plain gates with exactly two data inputs and no control inputs,
    // the most common gates of all: read without counting their inputs.
    andPair, orPair, nandPair, norPair, xorPair, xnorPair,
    // A D flip-flop (four data inputs, one output) whose quiet evaluations the
    // step settles in place; the others still call its function.
    flipFlop,
    // Evaluated through its evaluate function, if it has one.
    called,
    // clang-format on
};

// Whether the step evaluates a component of this form as a built-in gate.
constexpr bool isBuiltInGate(InPlaceForm form) {
    return form <= InPlaceForm::xnorPair;
}

// One component as the step reads it, in 16 bytes: where its pins lie, how
// it is evaluated and what it is.  The pins of all components lie one after
// the other in one pool: component c's data inputs are pool[dataFrom,
// controlFrom), its control inputs pool[controlFrom, outputFrom) and its
// outputs pool[outputFrom, dataFrom of c + 1).  One more record after the
// last component closes the pool.
struct ComponentRecord {
    int dataFrom = 0;
    int controlFrom = 0;
    int outputFrom = 0;
    InPlaceForm form = InPlaceForm::called;
    ComponentKind kind = ComponentKind::other;
    bool draws = false; // it has a draw function
};
