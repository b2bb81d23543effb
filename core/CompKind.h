// What the kernel and the display know about a component beside its
// functions: its kind and where its pins lie.
//
// A component's kind is decided once, by its capture function in components/
// when it registers (StandardComponent::kind), and stored in its record;
// nothing later compares function pointers to find out what a component is.
// The dependency runs one way: components/ includes core/ to register and to
// reuse the rules the step runs in place (core/InPlace.h); core/ includes no
// header of components/ to learn them.
#pragma once

#include <cstdint>

// The built-in gates come first, so that telling one is a single comparison
// in the step's hot path.
enum class ComponentKind : uint8_t {
    // The built-in gates, evaluated in place by the step (core/InPlace.h):
    // a gate evaluation is the simulator's most frequent work, and the call
    // would cost as much as the gate.
    andGate = 0,
    orGate,
    nand,
    nor,
    notGate,
    xorGate,
    xnor,
    iand,
    inand,
    cior,
    cinor,
    compare,
    // The plain gates with exactly two data inputs and no control inputs,
    // the most common gates of all: read without counting their inputs.
    andPair,
    orPair,
    nandPair,
    norPair,
    xorPair,
    xnorPair,
    // A D flip-flop (four data inputs, one output) whose quiet evaluations the
    // step settles in place; the others still call its function.
    flipFlop,
    // A multiplexer: the display's "lines for multiplexers only" mode draws
    // only the lines that end at one.
    multiplexer,
    // Evaluated through its evaluate function, if it has one.
    other,
};

// Whether the step evaluates a component of this kind as a built-in gate.
constexpr bool isBuiltInGate(ComponentKind kind) {
    return kind <= ComponentKind::xnorPair;
}

// One component as the step reads it, in 16 bytes: where its pins lie and
// how it is evaluated.  The pins of all components lie one after the other in
// one pool: component c's data inputs are pool[dataFrom, controlFrom), its
// control inputs pool[controlFrom, outputFrom) and its outputs
// pool[outputFrom, dataFrom of c + 1).  One more record after the last
// component closes the pool.
struct ComponentRecord {
    int dataFrom = 0;
    int controlFrom = 0;
    int outputFrom = 0;
    ComponentKind kind = ComponentKind::other;
    bool draws = false; // it has a draw function
};
