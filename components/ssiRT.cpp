// Runtimes of the small-scale components.
#include "components/ssiRT.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "components/RTPins.h"
#include "components/RTSigSup.h"
#include "components/SecEvTyp.h"
#include "core/InPlace.h"
#include "core/Ph2.h"
#include "core/Ph4.h"
#include "core/RunTime.h"
#include "core/cmdLine.h"
#include "display/Pane.h"

namespace {

constexpr float paneShrink = 0.25f;

// The tri-state buffer's output, rows by control, columns by data.
constexpr SignalValue tsbOutput[5][5] = {
    /* ZERO          */ {HIZ, HIZ, HIZ, HIZ, HIZ},
    /* UNINITIALIZED */ {HIZ, HIZ, HIZ, HIZ, HIZ},
    /* XXX           */ {HIZ, HIZ, HIZ, HIZ, HIZ},
    /* HIZ           */ {HIZ, HIZ, HIZ, HIZ, HIZ},
    /* ONE           */ {ZERO, HIZ, HIZ, HIZ, ONE},
};

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

// Without a display a probe writes one line per drawing:
// "Time = T  Probe for LABEL at POSITION  Value = NAME".  Everything between
// the time and the value name is the same for every line of a probe, so it is
// put together once per probe and kept; stored texts never move or change, so
// the label's and position's addresses tell whether a kept middle still
// belongs to the component at that index.
struct ProbeLineMiddle {
    const char *label = nullptr;
    const char *position = nullptr;
    std::string text;
};

const std::string &probeLineMiddle(int cind) {
    static std::vector<ProbeLineMiddle> middles; // by component index
    if (middles.size() <= static_cast<size_t>(cind))
        middles.resize(static_cast<size_t>(cind) + 1);
    ProbeLineMiddle &middle = middles[static_cast<size_t>(cind)];
    const StoredText &label = phaseTwo->decal[cind];
    const StoredText &position = phaseTwo->rcpos[cind];
    if (middle.label != label.c_str() || middle.position != position.c_str()) {
        middle.label = label.c_str();
        middle.position = position.c_str();
        middle.text = std::string("  Probe for ") + label.c_str() + " at " + position.c_str() + "  Value = ";
    }
    return middle.text;
}

// Copies text to at as one block copy; returns the end of the copy.
char *appendText(char *at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

// Writes text to standard error's descriptor in one call (more only when the
// system takes part of it).  Standard error is unbuffered, and std::cerr is
// synchronised with it, so nothing written before is still held back and the
// order of lines and other messages is kept.
void writeToStandardError(const char *text, size_t length) {
    while (length > 0) {
        const ssize_t written = write(STDERR_FILENO, text, length);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return; // nowhere to report it: as a failed write to standard error
        text += written;
        length -= static_cast<size_t>(written);
    }
}

// The line is put together in one reused buffer and handed to standard error
// in one write, so that lines stay whole.
void writeProbeLine(int cind, SignalValue v) {
    static std::string line; // grows to the longest line once, keeping its text
    // The time text at the start of the last line: probes changing at the
    // same time reuse it.  timeEnd is 0 before the first line.
    static size_t timeEnd = 0;
    static unsigned long lineTime = 0;
    constexpr std::string_view timeWord = "Time = ";
    constexpr size_t longestTime = 20; // digits of the largest unsigned long
    const std::string &middle = probeLineMiddle(cind);
    const std::string_view name = signalValueText(v);
    const size_t longest = timeWord.size() + longestTime + middle.size() + name.size() + 1;
    if (line.size() < longest)
        line.resize(longest);
    char *at = line.data() + timeEnd;
    if (timeEnd == 0 || lineTime != phaseFour->time) {
        at = appendText(line.data(), timeWord);
        at = std::to_chars(at, at + longestTime, phaseFour->time).ptr;
        timeEnd = static_cast<size_t>(at - line.data());
        lineTime = phaseFour->time;
    }
    at = appendText(at, middle);
    at = appendText(at, name);
    *at++ = '\n';
    writeToStandardError(line.data(), static_cast<size_t>(at - line.data()));
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
    evaluateGate<InPlaceForm::andGate>(cind);
}
void orGate(int cind) {
    evaluateGate<InPlaceForm::orGate>(cind);
}
void nand(int cind) {
    evaluateGate<InPlaceForm::nand>(cind);
}
void nor(int cind) {
    evaluateGate<InPlaceForm::nor>(cind);
}
void iand(int cind) {
    evaluateGate<InPlaceForm::iand>(cind);
}
void inand(int cind) {
    evaluateGate<InPlaceForm::inand>(cind);
}
void cior(int cind) {
    evaluateGate<InPlaceForm::cior>(cind);
}
void cinor(int cind) {
    evaluateGate<InPlaceForm::cinor>(cind);
}
void notGate(int cind) {
    evaluateGate<InPlaceForm::notGate>(cind);
}
void xorGate(int cind) {
    evaluateGate<InPlaceForm::xorGate>(cind);
}
void xnor(int cind) {
    evaluateGate<InPlaceForm::xnor>(cind);
}
void multiLevelCompare(int cind) {
    evaluateGate<InPlaceForm::compare>(cind);
}

void tsb(int cind) {
    const ComponentPins pins(cind);
    const SignalValue out = tsbOutput[pins.control(0)][pins.data(0)];
    pins.driveTriState(0, out, ssiDelays);
}

// ---- Sources ------------------------------------------------------------------

void toggleSwitch(int cind) {
    const ComponentPins pins(cind);
    int &state = phaseTwo->state[cind];
    const SignalValue init = initialLevel(cind, switchInit);
    if (state == switchToInitial) {
        pins.drive(0, init, ssiDelays);
        state = switchToOther;
    } else {
        pins.drive(0, complement(init), ssiDelays);
        state = switchToInitial;
    }
}

void togglePulser(int cind) {
    const ComponentPins pins(cind);
    int &state = phaseTwo->state[cind];
    const SignalValue init = initialLevel(cind, pulserInit);
    if (state == pulserFresh) {
        pins.drive(0, init, ssiDelays);
        state = pulserReady;
        return;
    }
    pins.drive(0, complement(init), ssiDelays);
    pins.driveAfter(0, init, integerParameter(cind, pulserDuration));
}

void powerOn(int cind) {
    const ComponentPins pins(cind);
    int &state = phaseTwo->state[cind];
    if (state != powerOnFresh)
        return;
    const SignalValue init = initialLevel(cind, powerOnInit);
    pins.drive(0, init, ssiDelays);
    pins.driveAfter(0, complement(init), integerParameter(cind, powerOnTime));
    state = powerOnDone;
}

void clock(int cind) {
    const ComponentPins pins(cind);
    int &state = phaseTwo->state[cind];
    const SignalValue off = initialLevel(cind, clockInit);
    const SignalValue on = complement(off);
    const SignalValue now = pins.output(0);
    const int highTime = integerParameter(cind, clockDuration);
    // Each waiting state acts once the output has reached the level its last
    // request asked for; the intermediate XXX matches neither level.
    switch (state) {
    case clockFresh:
        pins.drive(0, off, ssiDelays);
        state = clockAwaitingFirstOff;
        [[fallthrough]];
    case clockAwaitingFirstOff:
        if (now == off) {
            pins.driveAfter(0, on, integerParameter(cind, clockOffset));
            state = clockAwaitingOn;
        }
        break;
    case clockAwaitingOn:
        if (now == on) {
            pins.driveAfter(0, off, highTime);
            state = clockAwaitingOff;
        }
        break;
    case clockAwaitingOff:
        if (now == off) {
            pins.driveAfter(0, on, integerParameter(cind, clockPeriod) - highTime);
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

namespace {

// The painter of both eight-bit probes: the pane in the given layout, or
// nothing without a window (eight-bit probes write no lines).
void paintByteProbe(int cind, PaneOrientation orientation) {
    SignalValue values[byteProbeWidth];
    byteValues(cind, values);
    if (!useXDisplay)
        return;
    const ScreenTile &t = phaseTwo->tile[cind];
    drawPane_bytes(t.x, t.y, t.w, t.h, values, orientation, paneShrink);
}

} // namespace

void probebyte(int cind) {
    paintByteProbe(cind, PaneOrientation::stacked);
}

void probebyteh(int cind) {
    paintByteProbe(cind, PaneOrientation::sideBySide);
}
