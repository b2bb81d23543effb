// The component registry: one row per component function, holding
// everything that says what a component is.  Capture takes a component's
// label, icon, functions and kind from its row; the step reads the kind and
// in-place form the capture stored in its record; the value summary (-s), the
// value change dump (-V) and the explanations (-w, Control-e) read the row of
// a component's kind.  A new component is a new kind (core/CompKind.h) and a
// new row here; a row left out, out of order or without an explanation rule
// does not build, and one without a name, label or icon fails its tests.
#pragma once

#include "core/CompKind.h"
#include "core/InPlace.h"
#include "core/Signal.h"
#include "core/addStCmp.h"

// How the value summary, the value change dump and the explanations read a
// component as a probe.
enum class ProbeReading : uint8_t {
    none,      // not a probe
    oneBit,    // Probe: one bit, shown by its value's name
    eightBits, // ProbeByte, ProbeByteH: eight bits, shown by letters and hex
};

// How an explanation follows a signal back through the component that
// drives it (components/ExplainRules.cpp).
enum class ExplainRule : uint8_t {
    unset,         // a row must say; the registry's checks refuse this
    drivesNothing, // a probe, a module box (it stands for its contents), a console
    notFollowed,   // a circuit's own component: its rule is not known
    gate,          // combinational gate: its inputs that are not binary
    tsb,           // tri-state driver: its enable, then its data
    source,        // switch, pulser, clock, power-on: driven from its initial level
    mux,           // the select, then the selected data input
    decoder,       // the enable, then the code
    adder,         // the operand bits of both words up to the output's
    incrementer,   // the operand bits up to the output's
    encoder,       // every request line
    counter,       // a count that has not been cleared
    clockGate,     // the clock gate: its enable
    dff,           // the data taken at the last edge, or nothing since the reset
    jkff,          // J and K at the last edge, or nothing since the reset
    reg,           // the data loaded at the last strobe, or nothing since the reset
    bitReg,        // the bit-addressable register
    ram,           // the address, then the stored word
    rom,           // the address
};

// One component function.
struct ComponentRow {
    ComponentKind kind;
    const char *name;    // the component function, as capture errors name it
    const char *label;   // its default label, and what explanations call it
    const int *icon;     // its outline (display/iconData.h)
    FamilyDelays delays; // with which its evaluation changes its outputs
    InPlaceForm inPlace; // how the step evaluates it, before its pins are fitted
    ComponentFunction evaluate;
    ComponentFunction draw; // draws its value panes
    ComponentFunction key;  // at start, at each restart and on its key
    ProbeReading probe;
    ExplainRule explain;
    // For the gates that fold their inputs by min or max: the rule, from which
    // an explanation finds the inputs that decided the value; null otherwise.
    const gate_rules::FoldingGate *folding;
};

// Every row, the row of kind k at index k.
extern const ComponentRow componentRows[numberOfComponentKinds];

// Whether the n rows sit each at the index of its kind and name an
// explanation rule.  The registry's table is checked with it when it
// compiles; that its rows have names and icons is checked by its tests
// (the sanitizer build cannot compare an object's address with null at
// compile time).
constexpr bool rowsInKindOrderWithRules(const ComponentRow *rows, int n) {
    for (int k = 0; k < n; ++k)
        if (static_cast<int>(rows[k].kind) != k || rows[k].explain == ExplainRule::unset)
            return false;
    return true;
}

// The row of a kind.
inline const ComponentRow &componentRow(ComponentKind kind) {
    return componentRows[static_cast<int>(kind)];
}

// The row of component cind of the netlist arrays.
const ComponentRow &rowOf(int cind);

// Whether component cind is a probe (one bit or eight).
bool isProbe(int cind);

// A registration of the kind's row: its label, icon, functions, kind and
// in-place form, without pins; every other field "none" for the capture to set.
StandardComponent registeredAs(ComponentKind kind);
// Likewise over the three buses (an empty bus for a
// group it has none of): its label, icon, functions, kind and in-place form,
// every other field "none" for the capture to set.  The buses must live
// until the registration.
StandardComponent registeredAs(ComponentKind kind, const Signal &dataIn, const Signal &controlIn,
                               const Signal &out);
