// Runtimes of the small-scale components.
#include "components/ssiRT.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <iostream>
#include <string>

#include "components/RTPins.h"
#include "components/RTSigSup.h"
#include "components/SecEvTyp.h"
#include "core/Ph2.h"
#include "core/Ph4.h"
#include "core/RunTime.h"
#include "core/cmdLine.h"
#include "display/Pane.h"

namespace {

constexpr float paneShrink = 0.25f;

// ---- Five-valued rules shared by the gates -------------------------------

// The driven levels swap, every other value becomes XXX: the output of an
// inverting gate.  Unlike complement, which keeps HIZ and swaps the two
// unknowns, no undriven or unknown value survives it.
constexpr SignalValue invertedLevelOf[] = {ONE, XXX, XXX, XXX, ZERO};

SignalValue asIs(SignalValue v) {
    return v;
}
SignalValue invertLevelOrXxx(SignalValue v) {
    return isSignalValue(v) ? invertedLevelOf[v] : XXX;
}

enum Combine { byMin, byMax }; // in the value order ZERO < UNINITIALIZED < XXX < HIZ < ONE
enum DataInputs { plainData, complementedData };

// A gate that folds all its inputs with min (starting from ONE) or max
// (starting from ZERO) and then finishes the result.  The mixed gates take
// their complemented inputs as data inputs and their true ones as control
// inputs; the plain gates have no control inputs.
struct FoldingGate {
    Combine combine;
    DataInputs dataInputs;
    SignalValue (*finish)(SignalValue);
};

// clang-format off
//                             combine  data inputs       result
constexpr FoldingGate andRule  {byMin,  plainData,        asIs};
constexpr FoldingGate orRule   {byMax,  plainData,        asIs};
constexpr FoldingGate nandRule {byMin,  plainData,        invertLevelOrXxx};
constexpr FoldingGate norRule  {byMax,  plainData,        invertLevelOrXxx};
constexpr FoldingGate iandRule {byMin,  complementedData, asIs};
constexpr FoldingGate inandRule{byMin,  complementedData, complement};
constexpr FoldingGate ciorRule {byMax,  complementedData, asIs};
constexpr FoldingGate cinorRule{byMax,  complementedData, complement};
// clang-format on

// The tri-state buffer's output, rows by control, columns by data.
constexpr SignalValue tsbOutput[5][5] = {
    /* ZERO          */ {HIZ, HIZ, HIZ, HIZ, HIZ},
    /* UNINITIALIZED */ {HIZ, HIZ, HIZ, HIZ, HIZ},
    /* XXX           */ {HIZ, HIZ, HIZ, HIZ, HIZ},
    /* HIZ           */ {HIZ, HIZ, HIZ, HIZ, HIZ},
    /* ONE           */ {ZERO, HIZ, HIZ, HIZ, ONE},
};

// The gate's rule is a template argument so that each gate gets its own loop
// with the combine, the input complement and the finish decided at compile
// time: a gate evaluation is the simulator's most frequent call.
template <const FoldingGate &gate> SignalValue foldInputs(int cind) {
    const SignalValue *const current = phaseThree->currentSignals.data();
    SignalValue acc = gate.combine == byMin ? ONE : ZERO;
    const auto fold = [&acc](SignalValue v) {
        acc = gate.combine == byMin ? std::min(acc, v) : std::max(acc, v);
    };
    const int *const data = phaseTwo->dataInputs[cind];
    const int dataCount = phaseTwo->numberOfDataInputs[cind];
    for (int k = 0; k < dataCount; ++k) {
        const SignalValue v = current[data[k]];
        fold(gate.dataInputs == complementedData ? complement(v) : v);
    }
    // Only the mixed gates read control inputs (their true inputs); a plain
    // gate is defined over its data inputs alone, so its control pins are
    // not even looked up.
    if constexpr (gate.dataInputs == complementedData) {
        const int *const control = phaseTwo->controlInputs[cind];
        const int controlCount = phaseTwo->numberOfControlInputs[cind];
        for (int k = 0; k < controlCount; ++k)
            fold(current[control[k]]);
    }
    return gate.finish(acc);
}

template <const FoldingGate &gate> void evaluateFolding(int cind) {
    drive(cind, 0, foldInputs<gate>(cind), ssiDelays);
}

// Parity of the data inputs; XXX as soon as one of them is not binary.
SignalValue parity(int cind) {
    const SignalValue *const current = phaseThree->currentSignals.data();
    const int *const data = phaseTwo->dataInputs[cind];
    const int count = phaseTwo->numberOfDataInputs[cind];
    bool odd = false;
    for (int k = 0; k < count; ++k) {
        const SignalValue v = current[data[k]];
        if (!isBinary(v))
            return XXX;
        odd ^= v == ONE;
    }
    return odd ? ONE : ZERO;
}

// ---- Sources --------------------------------------------------------------

// The sources' state words, 0 after every reset.
// A switch: which level the next call drives.
enum SwitchState : int {
    switchToInitial = 0, // reset, or at the other level: drive the initial level
    switchToOther = 1,   // at the initial level: drive the other one
};

// A pulser: the first call after a reset drives the initial level, every later
// one (a key press) gives one pulse of the other level.
enum PulserState : int {
    pulserFresh = 0, // reset: drive the initial level
    pulserReady = 1, // at the initial level: a press gives a pulse
};

// A power-on source acts once per reset.
enum PowerOnState : int {
    powerOnFresh = 0, // reset: drive the initial level and schedule the other
    powerOnDone = 1,  // both levels requested: nothing more to do
};

// A clock: the level it last requested, and so which delay follows once the
// output has reached it.
enum ClockState : int {
    clockFresh = 0,            // reset: drive the off level
    clockAwaitingFirstOff = 1, // off requested: on follows after the offset
    clockAwaitingOn = 2,       // on requested: off follows after the duration
    clockAwaitingOff = 3,      // off requested: on follows after the rest of the period
};

// The initial level: the present value of the init signal whose serial number
// is parameter k.
SignalValue initialLevel(int cind, int k) {
    return currentValue(integerParameter(cind, k));
}

// ---- Probes ---------------------------------------------------------------

// Without a display a probe writes one line per drawing.  The line is built in
// one reused buffer and written at once, so that lines stay whole and no
// allocation happens once the buffer has grown.
void writeProbeLine(int cind, SignalValue v) {
    static std::string line;
    char number[24];
    const auto end = std::to_chars(number, number + sizeof number, phaseFour->time).ptr;
    line.assign("Time = ");
    line.append(number, end);
    line.append("  Probe for ").append(phaseTwo->decal[cind]);
    line.append(" at ").append(phaseTwo->rcpos[cind]);
    line.append("  Value = ").append(signalValueName(v)).append("\n");
    std::cerr.write(line.data(), static_cast<std::streamsize>(line.size()));
}

constexpr int byteProbeWidth = 8;

// The eight values of an eight-bit probe, most significant first; ends the
// program when the probe does not have exactly eight inputs.
void byteValues(int cind, SignalValue (&values)[byteProbeWidth]) {
    const int n = phaseTwo->numberOfDataInputs[cind];
    if (n != byteProbeWidth) {
        std::cerr << "ERROR -- Probe8 at " << phaseTwo->rcpos[cind]
                  << " length error: cannot has more than 8 inputs"
                  << " ,you have " << n << " inputs " << std::endl;
        std::exit(1);
    }
    for (int i = 0; i < byteProbeWidth; ++i)
        values[byteProbeWidth - 1 - i] = dataInput(cind, i);
}

} // namespace

// ---- Gates ------------------------------------------------------------------

void andGate(int cind) {
    evaluateFolding<andRule>(cind);
}
void orGate(int cind) {
    evaluateFolding<orRule>(cind);
}
void nand(int cind) {
    evaluateFolding<nandRule>(cind);
}
void nor(int cind) {
    evaluateFolding<norRule>(cind);
}
void iand(int cind) {
    evaluateFolding<iandRule>(cind);
}
void inand(int cind) {
    evaluateFolding<inandRule>(cind);
}
void cior(int cind) {
    evaluateFolding<ciorRule>(cind);
}
void cinor(int cind) {
    evaluateFolding<cinorRule>(cind);
}
void notGate(int cind) {
    drive(cind, 0, invertLevelOrXxx(dataInput(cind, 0)), ssiDelays);
}
void xorGate(int cind) {
    drive(cind, 0, parity(cind), ssiDelays);
}
void xnor(int cind) {
    drive(cind, 0, invertLevelOrXxx(parity(cind)), ssiDelays);
}

void multiLevelCompare(int cind) {
    drive(cind, 0, dataInput(cind, 0) == dataInput(cind, 1) ? ONE : ZERO, ssiDelays);
}

void tsb(int cind) {
    const SignalValue out = tsbOutput[controlInput(cind, 0)][dataInput(cind, 0)];
    driveTriState(cind, 0, out, ssiDelays);
}

// ---- Sources ------------------------------------------------------------------

void toggleSwitch(int cind) {
    int &state = phaseTwo->state[cind];
    const SignalValue init = initialLevel(cind, switchInit);
    if (state == switchToInitial) {
        drive(cind, 0, init, ssiDelays);
        state = switchToOther;
    } else {
        drive(cind, 0, complement(init), ssiDelays);
        state = switchToInitial;
    }
}

void togglePulser(int cind) {
    int &state = phaseTwo->state[cind];
    const SignalValue init = initialLevel(cind, pulserInit);
    if (state == pulserFresh) {
        drive(cind, 0, init, ssiDelays);
        state = pulserReady;
        return;
    }
    drive(cind, 0, complement(init), ssiDelays);
    driveAfter(cind, 0, init, integerParameter(cind, pulserDuration));
}

void powerOn(int cind) {
    int &state = phaseTwo->state[cind];
    if (state != powerOnFresh)
        return;
    const SignalValue init = initialLevel(cind, powerOnInit);
    drive(cind, 0, init, ssiDelays);
    driveAfter(cind, 0, complement(init), integerParameter(cind, powerOnTime));
    state = powerOnDone;
}

void clock(int cind) {
    int &state = phaseTwo->state[cind];
    const SignalValue off = initialLevel(cind, clockInit);
    const SignalValue on = complement(off);
    const SignalValue now = outputValue(cind, 0);
    const int highTime = integerParameter(cind, clockDuration);
    // Each waiting state acts once the output has reached the level its last
    // request asked for; the intermediate XXX matches neither level.
    switch (state) {
    case clockFresh:
        drive(cind, 0, off, ssiDelays);
        state = clockAwaitingFirstOff;
        [[fallthrough]];
    case clockAwaitingFirstOff:
        if (now == off) {
            driveAfter(cind, 0, on, integerParameter(cind, clockOffset));
            state = clockAwaitingOn;
        }
        break;
    case clockAwaitingOn:
        if (now == on) {
            driveAfter(cind, 0, off, highTime);
            state = clockAwaitingOff;
        }
        break;
    case clockAwaitingOff:
        if (now == off) {
            driveAfter(cind, 0, on, integerParameter(cind, clockPeriod) - highTime);
            state = clockAwaitingOn;
        }
        break;
    default: // a state word nobody set: wait for the next reset
        break;
    }
}

void stop(int cind) {
    if (dataInput(cind, 0) == ONE)
        done = 1;
}

// ---- Drawing --------------------------------------------------------------------

void switchPane(int cind) {
    const ScreenTile &t = phaseTwo->tile[cind];
    drawPane(t.x, t.y, t.w, t.h, outputValue(cind, 0), false, paneShrink);
}

void probe(int cind) {
    const SignalValue v = dataInput(cind, 0);
    if (!useXDisplay) {
        writeProbeLine(cind, v);
        return;
    }
    const ScreenTile &t = phaseTwo->tile[cind];
    drawPane(t.x, t.y, t.w, t.h, v, true, paneShrink);
}

void probebyte(int cind) {
    SignalValue values[byteProbeWidth];
    byteValues(cind, values);
    const ScreenTile &t = phaseTwo->tile[cind];
    drawPane_byte(t.x, t.y, t.w, t.h, values, true, paneShrink);
}

void probebyteh(int cind) {
    SignalValue values[byteProbeWidth];
    byteValues(cind, values);
    const ScreenTile &t = phaseTwo->tile[cind];
    drawPane_byte_h(t.x, t.y, t.w, t.h, values, true, paneShrink);
}
