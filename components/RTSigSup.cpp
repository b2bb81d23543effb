// Signal helpers shared by the component runtimes.
#include "components/RTSigSup.h"

#include <climits>

namespace {

// Indexed by value: ZERO, UNINITIALIZED, XXX, HIZ, ONE.
constexpr SignalValue complementOf[] = {ONE, XXX, UNINITIALIZED, HIZ, ZERO};
constexpr unsigned codeOf[] = {1, 0, 3, 3, 2};
// Indexed by two-bit code.
constexpr SignalValue valueOfCode[] = {UNINITIALIZED, ZERO, ONE, XXX};

constexpr unsigned xxxCode = 3;

} // namespace

SignalValue complement(SignalValue sv) {
    return isSignalValue(sv) ? complementOf[sv] : HIZ;
}

int integerFromSignals(int numberOfBits, const int *inputs) {
    unsigned result = 0;
    for (int i = 0; i < numberOfBits; ++i) {
        const SignalValue v = currentValue(inputs[i]);
        if (v == ONE) {
            // A ONE beyond bit 30 makes a number no caller can tell from "indeterminate".
            if (i >= 31)
                return -1;
            result |= 1u << i;
        } else if (v != ZERO) {
            return -1;
        }
    }
    return static_cast<int>(result);
}

unsigned packedCode(SignalValue sv) {
    return isSignalValue(sv) ? codeOf[sv] : xxxCode;
}

SignalValue packedValue(unsigned code) {
    return valueOfCode[code & 3u];
}

void packSignals(int numberOfSignals, const int *inputs, unsigned int *packed32BitFileWordStart) {
    const int words = packedWordCount(numberOfSignals);
    for (int w = 0; w < words; ++w)
        packed32BitFileWordStart[w] = 0;
    for (int i = 0; i < numberOfSignals; ++i)
        packed32BitFileWordStart[i / 16] |= packedCode(currentValue(inputs[i])) << (2 * (i % 16));
}

void unpackSignals(int numberOfSignals, const unsigned int *packed32BitFileWordStart, SignalValue *sigVals) {
    for (int i = 0; i < numberOfSignals; ++i)
        sigVals[i] = packedValue(packed32BitFileWordStart[i / 16] >> (2 * (i % 16)));
}

bool strobeFires(uint8_t &state, SignalValue enable, SignalValue strobe) {
    int wide = state;
    const bool fires = strobeFires(wide, enable, strobe);
    state = static_cast<uint8_t>(wide);
    return fires;
}
