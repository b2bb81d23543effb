// Runtimes of the small-scale components: gates, sources and probes.  Each
// takes only the component index and reads its pins and parameters through
// the netlist arrays.
#pragma once

#include <algorithm>
#include <cstdint>

#include "core/CompList.h"
#include "core/Ph2.h"
#include "core/Ph3.h"

// Positions of the sources' integer parameters, shared by their captures and
// runtimes.  The init entries hold the serial number of the init signal.
enum SwitchParameter { switchInit = 0 };
enum PulserParameter { pulserDuration = 0, pulserInit = 1 };
enum PowerOnParameter { powerOnTime = 0, powerOnInit = 1 };
enum ClockParameter { clockDuration = 0, clockOffset = 1, clockPeriod = 2, clockInit = 3 };

// Gates (evaluate functions).  They read the present input values, compute
// the output over the five values and request it with the small-scale delays.
// The names of the AND, OR, NOT and XOR runtimes carry a "Gate" suffix because
// the plain words are operator spellings in C++.
void tsb(int cind);               // tri-state buffer: data when control is ONE, else HIZ
void andGate(int cind);           // min over the data inputs, from ONE
void orGate(int cind);            // max over the data inputs, from ZERO
void nand(int cind);              // inverted AND
void nor(int cind);               // inverted OR
void notGate(int cind);           // inverted data input 0
void iand(int cind);              // AND of true inputs and complemented inputs
void inand(int cind);             // complemented IAND
void cior(int cind);              // OR of complemented inputs and true inputs
void cinor(int cind);             // complemented CIOR
void xorGate(int cind);           // parity of binary inputs, XXX on any other value
void xnor(int cind);              // inverted parity
void multiLevelCompare(int cind); // ONE when data inputs 0 and 1 hold the same value

// Sources.
// Key function: drives the initial level after a reset, then toggles per key press.
void toggleSwitch(int cind);
// Key function: drives the initial level after a reset, then one pulse of the
// other level per key press.
void togglePulser(int cind);
// Evaluate: after a reset, the initial level and then, once, the other level.
void powerOn(int cind);
// Evaluate: a free-running clock stepped by its own output changes.
void clock(int cind);
// Evaluate: ends the run when data input 0 is ONE.
void stop(int cind);

// Drawing.
// The pane of a source's output.
void switchPane(int cind);
// A probe's pane, or without a display its text line on standard error.
void probe(int cind);
// The eight bars of an eight-bit probe, stacked, most significant bit on top.
void probebyte(int cind);
// The eight bars of an eight-bit probe, side by side, most significant bit leftmost.
void probebyteh(int cind);

// ---- The gates' rules, for the kernel's step ---------------------------------

// The built-in gates the kernel's step evaluates in place instead of through
// their function pointer (a gate evaluation is the simulator's most frequent
// work, and the call would cost as much as the gate).  One byte per
// component; every other component is evaluated through its function.
enum class GateRule : uint8_t {
    none = 0, // not a built-in gate: the step calls the component's evaluate function
    andGate,
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
};

// The rule the step applies for a component whose evaluate function is
// evaluate: the gate it is, or none for any other function (and for null).
GateRule gateRuleOf(ComponentFunction evaluate);
// The rule for a gate of the given rule and numbers of inputs: its two-input
// form where it has one and the counts fit, otherwise the rule itself.
GateRule gateRuleFor(GateRule rule, int dataInputs, int controlInputs);

namespace gate_rules {

// Indexed by value: ZERO, UNINITIALIZED, XXX, HIZ, ONE.
constexpr SignalValue complementOf[] = {ONE, XXX, UNINITIALIZED, HIZ, ZERO};
// The driven levels swap, every other value becomes XXX: the output of an
// inverting gate.  Unlike complement, which keeps HIZ and swaps the two
// unknowns, no undriven or unknown value survives it.
constexpr SignalValue invertedLevelOf[] = {ONE, XXX, XXX, XXX, ZERO};

// ZERO <-> ONE, UNINITIALIZED <-> XXX, HIZ (and anything else) stays HIZ.
[[gnu::always_inline]] inline SignalValue complementValue(SignalValue v) {
    return isSignalValue(v) ? complementOf[v] : HIZ;
}
[[gnu::always_inline]] inline SignalValue invertLevelOrXxx(SignalValue v) {
    return isSignalValue(v) ? invertedLevelOf[v] : XXX;
}

enum Combine { byMin, byMax }; // in the value order ZERO < UNINITIALIZED < XXX < HIZ < ONE
enum Finish { asIs, inverted, complemented };
enum DataInputs { plainData, complementedData };

// A gate that folds all its inputs with min (starting from ONE) or max
// (starting from ZERO) and then finishes the result.  The mixed gates take
// their complemented inputs as data inputs and their true ones as control
// inputs; the plain gates have no control inputs.
struct FoldingGate {
    Combine combine;
    DataInputs dataInputs;
    Finish finish;
};

// clang-format off
//                                  combine  data inputs       result
inline constexpr FoldingGate andRule  {byMin,  plainData,        asIs};
inline constexpr FoldingGate orRule   {byMax,  plainData,        asIs};
inline constexpr FoldingGate nandRule {byMin,  plainData,        inverted};
inline constexpr FoldingGate norRule  {byMax,  plainData,        inverted};
inline constexpr FoldingGate iandRule {byMin,  complementedData, asIs};
inline constexpr FoldingGate inandRule{byMin,  complementedData, complemented};
inline constexpr FoldingGate ciorRule {byMax,  complementedData, asIs};
inline constexpr FoldingGate cinorRule{byMax,  complementedData, complemented};
// clang-format on

// A gate's inputs as the rules read them: the signals' slots and the
// component's pins, data inputs in [data(), control()), control inputs in
// [control(), end()).  Each rule works out only the bounds it uses.
struct GateInputs {
    const SignalSlot *slots;
    const int *pool;
    const ComponentRecord &record;

    // The inputs of component record r, whose pins lie in pool.
    GateInputs(const SignalSlot *slots, const int *pool, const ComponentRecord &r)
        : slots(slots), pool(pool), record(r) {}

    const int *data() const { return pool + record.dataFrom; }
    const int *control() const { return pool + record.controlFrom; }
    const int *end() const { return pool + record.outputFrom; }
    int dataCount() const { return record.controlFrom - record.dataFrom; }
    SignalValue valueAt(const int *pin) const { return slots[*pin].currentValue(); }
};

template <const FoldingGate &gate>
[[gnu::always_inline]] inline SignalValue combined(SignalValue acc, SignalValue v) {
    return gate.combine == byMin ? std::min(acc, v) : std::max(acc, v);
}
template <const FoldingGate &gate> [[gnu::always_inline]] inline SignalValue finished(SignalValue acc) {
    if constexpr (gate.finish == inverted)
        return invertLevelOrXxx(acc);
    else if constexpr (gate.finish == complemented)
        return complementValue(acc);
    else
        return acc;
}

// A plain gate of exactly two data inputs.
template <const FoldingGate &gate> [[gnu::always_inline]] inline SignalValue foldPair(const GateInputs &in) {
    static_assert(gate.dataInputs == plainData, "only the plain gates have two-input forms");
    const int *const data = in.data();
    return finished<gate>(combined<gate>(in.valueAt(data), in.valueAt(data + 1)));
}

// The gate's rule is a template argument so that each gate gets its own loop
// with the combine, the input complement and the finish decided at compile
// time.
template <const FoldingGate &gate> [[gnu::always_inline]] inline SignalValue fold(const GateInputs &in) {
    SignalValue acc = gate.combine == byMin ? ONE : ZERO;
    const auto input = [&in](const int *pin) {
        return gate.dataInputs == complementedData ? complementValue(in.valueAt(pin)) : in.valueAt(pin);
    };
    for (const int *pin = in.data(), *end = in.control(); pin != end; ++pin)
        acc = combined<gate>(acc, input(pin));
    // Only the mixed gates read control inputs (their true inputs); a plain
    // gate is defined over its data inputs alone.
    if constexpr (gate.dataInputs == complementedData)
        for (const int *pin = in.control(), *end = in.end(); pin != end; ++pin)
            acc = combined<gate>(acc, in.valueAt(pin));
    return finished<gate>(acc);
}

// Parity of two values; XXX unless both are binary.
[[gnu::always_inline]] inline SignalValue parityOf(SignalValue a, SignalValue b) {
    return !isBinary(a) || !isBinary(b) ? XXX : a == b ? ZERO : ONE;
}
[[gnu::always_inline]] inline SignalValue parityPair(const GateInputs &in) {
    return parityOf(in.valueAt(in.data()), in.valueAt(in.data() + 1));
}

// Parity of the data inputs; XXX as soon as one of them is not binary.
[[gnu::always_inline]] inline SignalValue parity(const GateInputs &in) {
    bool odd = false;
    for (const int *pin = in.data(), *end = in.control(); pin != end; ++pin) {
        const SignalValue v = in.valueAt(pin);
        if (!isBinary(v))
            return XXX;
        odd ^= v == ONE;
    }
    return odd ? ONE : ZERO;
}

} // namespace gate_rules

// The output value of a gate of the given rule (not none) over its inputs.
[[gnu::always_inline]] inline SignalValue gateOutput(GateRule rule, const gate_rules::GateInputs &in) {
    using namespace gate_rules;
    switch (rule) {
    case GateRule::andGate:
        return fold<andRule>(in);
    case GateRule::orGate:
        return fold<orRule>(in);
    case GateRule::nand:
        return fold<nandRule>(in);
    case GateRule::nor:
        return fold<norRule>(in);
    case GateRule::notGate:
        return invertLevelOrXxx(in.valueAt(in.data()));
    case GateRule::xorGate:
        return parity(in);
    case GateRule::xnor:
        return invertLevelOrXxx(parity(in));
    case GateRule::iand:
        return fold<iandRule>(in);
    case GateRule::inand:
        return fold<inandRule>(in);
    case GateRule::cior:
        return fold<ciorRule>(in);
    case GateRule::cinor:
        return fold<cinorRule>(in);
    case GateRule::compare:
        return in.valueAt(in.data()) == in.valueAt(in.data() + 1) ? ONE : ZERO;
    case GateRule::andPair:
        return foldPair<andRule>(in);
    case GateRule::orPair:
        return foldPair<orRule>(in);
    case GateRule::nandPair:
        return foldPair<nandRule>(in);
    case GateRule::norPair:
        return foldPair<norRule>(in);
    case GateRule::xorPair:
        return parityPair(in);
    case GateRule::xnorPair:
        return invertLevelOrXxx(parityPair(in));
    default: // none: the caller evaluates it through its function instead
        __builtin_unreachable();
    }
}
