// Signal helpers shared by the component runtimes: the complement over the
// five values, reading a bus as a number, the packed two-bit storage of signal
// words, and the write-strobe protocol of registers, memories and console
// components.
#pragma once

#include <cstdint>

#include "core/Ph3.h"
#include "core/Signal.h"

// The present value of a signal, as every runtime reads its inputs.
inline SignalValue currentValue(int serial) {
    return phaseThree->currentSignals[serial];
}

// ZERO <-> ONE, UNINITIALIZED <-> XXX, HIZ (and anything else) stays HIZ.
SignalValue complement(SignalValue sv);

// The present values of inputs[0 .. numberOfBits-1] as an unsigned binary
// number, inputs[0] the least significant bit; -1 when any of them is not
// binary or the number does not fit a non-negative int.
int integerFromSignals(int numberOfBits, const int *inputs);

// Packed storage: two bits per value, sixteen values per 32-bit word, value i
// in bits 2*(i%16) and 2*(i%16)+1 of word i/16.  Codes: 0 UNINITIALIZED,
// 1 ZERO, 2 ONE, 3 XXX, so storage that was never written reads as all
// UNINITIALIZED.  HIZ has no code of its own and is stored as XXX: a word
// written from a floating bus reads back indeterminate.

// Number of 32-bit words that hold numberOfSignals packed values.
inline int packedWordCount(int numberOfSignals) {
    return (numberOfSignals - 1) / 16 + 1;
}
// The two-bit code of a value.
unsigned packedCode(SignalValue sv);
// The value of a two-bit code (only the low two bits are used).
SignalValue packedValue(unsigned code);

// Packs the present values of inputs[0 .. numberOfSignals-1] into the
// packedWordCount(numberOfSignals) words at packed32BitFileWordStart.
void packSignals(int numberOfSignals, const int *inputs, unsigned int *packed32BitFileWordStart);
// Writes the numberOfSignals values stored at packed32BitFileWordStart to sigVals.
void unpackSignals(int numberOfSignals, const unsigned int *packed32BitFileWordStart, SignalValue *sigVals);

// The write-strobe protocol: a component acts once per rising edge of its
// strobe, and only if its enable is ONE when the strobe rises.  The state lives
// in the component's state word (0 after every reset) or, for a memory's write
// port, in one 8-bit internal variable.
enum StrobeState : int {
    strobeFresh = 0,          // reset: wait for the enable to be binary
    strobeAwaitingEnable = 1, // enable not yet binary since the reset
    strobeArmed = 2,          // strobe not seen at ONE: the next rise counts
    strobeHeldIgnored = 3,    // strobe ONE, risen without the enable: no action
    strobeHeldActed = 4,      // strobe ONE, the action was taken
};

// One evaluation of the protocol: returns the next state for the present
// enable and strobe values.  An unknown state counts as fresh.  Inline, as
// registers evaluate it at every change of their inputs.
inline StrobeState nextStrobeState(int state, SignalValue enable, SignalValue strobe) {
    switch (state) {
    case strobeArmed:
        if (strobe == ONE)
            return enable == ONE ? strobeHeldActed : strobeHeldIgnored;
        return strobeArmed;
    case strobeHeldIgnored:
    case strobeHeldActed:
        return strobe == ZERO ? strobeArmed : static_cast<StrobeState>(state);
    default: // fresh, waiting for the enable, or unknown: wait for a binary enable
        return isBinary(enable) ? strobeArmed : strobeAwaitingEnable;
    }
}

// Advances state and returns true exactly when the strobe has just risen with
// the enable at ONE: the caller performs its action now.
inline bool strobeFires(int &state, SignalValue enable, SignalValue strobe) {
    const StrobeState next = nextStrobeState(state, enable, strobe);
    const bool fires = state == strobeArmed && next == strobeHeldActed;
    state = next;
    return fires;
}
bool strobeFires(uint8_t &state, SignalValue enable, SignalValue strobe);
