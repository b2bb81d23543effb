// What the kernel's step runs in place instead of calling a component's
// function: the built-in gates' rules and the D flip-flop's quiet
// evaluation.  The kernel owns them because its step runs them; the gates'
// and the flip-flop's own functions in components/ call the same rules, so
// each is written once.  Which components get them is decided by their
// captures, from the component registry (core/CompKind.h).
#pragma once

#include <algorithm>
#include <cstdint>

#include "core/CompKind.h"
#include "core/Ph3.h"
#include "core/Signal.h"

// Gates, sources and probes; the step requests the built-in gates' outputs
// with them.  (The other families' delays: components/SecEvTyp.h.)
constexpr FamilyDelays ssiDelays{7, 10};

// ---- Gates --------------------------------------------------------------------

// The form a component is evaluated in, given the form its registry row names
// and its numbers of data inputs, control inputs and outputs: a plain gate's
// two-input form where it has one and the counts fit; a D flip-flop settled in
// place only when its pins are the four and one its rule reads, else called;
// otherwise the row's form itself.
constexpr InPlaceForm inPlaceFormFor(InPlaceForm form, int dataInputs, int controlInputs, int outputs) {
    if (form == InPlaceForm::flipFlop)
        return dataInputs == 4 && controlInputs == 0 && outputs == 1 ? form : InPlaceForm::called;
    if (dataInputs != 2 || controlInputs != 0)
        return form;
    switch (form) {
    case InPlaceForm::andGate:
        return InPlaceForm::andPair;
    case InPlaceForm::orGate:
        return InPlaceForm::orPair;
    case InPlaceForm::nand:
        return InPlaceForm::nandPair;
    case InPlaceForm::nor:
        return InPlaceForm::norPair;
    case InPlaceForm::xorGate:
        return InPlaceForm::xorPair;
    case InPlaceForm::xnor:
        return InPlaceForm::xnorPair;
    default:
        return form;
    }
}

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

// The output value of a built-in gate of the given form over its inputs.
[[gnu::always_inline]] inline SignalValue gateOutput(InPlaceForm form, const gate_rules::GateInputs &in) {
    using namespace gate_rules;
    switch (form) {
    case InPlaceForm::andGate:
        return fold<andRule>(in);
    case InPlaceForm::orGate:
        return fold<orRule>(in);
    case InPlaceForm::nand:
        return fold<nandRule>(in);
    case InPlaceForm::nor:
        return fold<norRule>(in);
    case InPlaceForm::notGate:
        return invertLevelOrXxx(in.valueAt(in.data()));
    case InPlaceForm::xorGate:
        return parity(in);
    case InPlaceForm::xnor:
        return invertLevelOrXxx(parity(in));
    case InPlaceForm::iand:
        return fold<iandRule>(in);
    case InPlaceForm::inand:
        return fold<inandRule>(in);
    case InPlaceForm::cior:
        return fold<ciorRule>(in);
    case InPlaceForm::cinor:
        return fold<cinorRule>(in);
    case InPlaceForm::compare:
        return in.valueAt(in.data()) == in.valueAt(in.data() + 1) ? ONE : ZERO;
    case InPlaceForm::andPair:
        return foldPair<andRule>(in);
    case InPlaceForm::orPair:
        return foldPair<orRule>(in);
    case InPlaceForm::nandPair:
        return foldPair<nandRule>(in);
    case InPlaceForm::norPair:
        return foldPair<norRule>(in);
    case InPlaceForm::xorPair:
        return parityPair(in);
    case InPlaceForm::xnorPair:
        return invertLevelOrXxx(parityPair(in));
    default: // not a built-in gate: the caller evaluates it through its function instead
        __builtin_unreachable();
    }
}

// ---- The D flip-flop ----------------------------------------------------------

// Pins of the D flip-flop, and its state word.
enum DffPin { dffReset = 0, dffClock = 1, dffData = 2, dffSet = 3 };
enum DffState : int {
    dffFresh = 0,       // reset: drive XXX first
    dffAwaitingLow = 1, // the clock must be ZERO before an edge counts
    dffArmed = 2,       // clock seen ZERO: the next ONE takes D
};

// The D flip-flop's usual evaluation, which requests nothing: R and S ZERO
// and no rising edge to take.  Arms the flip-flop at a ZERO clock and returns
// true; returns false, the state untouched, when the evaluation has more to
// do.
[[gnu::always_inline]] inline bool dffSettlesQuietly(int &state, SignalValue clock, SignalValue reset,
                                                     SignalValue set) {
    if (reset != ZERO || set != ZERO || state == dffFresh || (state == dffArmed && clock == ONE))
        return false;
    if (state == dffAwaitingLow && clock == ZERO)
        state = dffArmed;
    return true;
}

// dffSettlesQuietly for a flip-flop whose data inputs' serial numbers start at
// dataPins, read from the signals' slots: what the step asks before it calls
// the flip-flop's function.
[[gnu::always_inline]] inline bool flipFlopSettlesQuietly(int &state, const SignalSlot *slots,
                                                          const int *dataPins) {
    const auto value = [&](DffPin k) { return slots[dataPins[k]].currentValue(); };
    return dffSettlesQuietly(state, value(dffClock), value(dffReset), value(dffSet));
}
