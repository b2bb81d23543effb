// Runtimes of the medium-scale and console components.
#include "components/msiRT.h"

#include <iostream>

#include "components/RTPins.h"
#include "components/RTSigSup.h"
#include "core/Ph2.h"

// ---- Console output components ----

namespace {

// Pins of Stderr: its character code, strobe and enable are all data inputs.
constexpr int stderrCodeBits = 8;
constexpr int stderrStrobe = 8;
constexpr int stderrEnable = 9;
// Control inputs of IntOut and HexOut.
constexpr int consoleStrobe = 0;
constexpr int consoleEnable = 1;

constexpr int hexDigitBits = 4;

// Advances the component's strobe protocol; true when it acts now.
bool consoleActs(int cind, SignalValue enable, SignalValue strobe) {
    return strobeFires(phaseTwo->state[cind], enable, strobe);
}

// IntOut and HexOut take their strobe and enable from the control inputs.
bool controlledConsoleActs(int cind) {
    return consoleActs(cind, controlInput(cind, consoleEnable), controlInput(cind, consoleStrobe));
}

// The message for a value with a bit that is not ZERO or ONE.  It names the
// protocol state, which is the "acted" state at that moment.
void reportConsoleIndeterminate(int cind, const char *component) {
    std::cerr << "\nERROR -- " << component << " component trying to output uninitialized bits \n"
              << " or bits in transition. state = " << phaseTwo->state[cind] << std::endl;
}

// A code of seven bits: control codes as ^ and the character 64 above
// (13 gives ^M), the others as themselves (127 included).
void writeSevenBitCode(int code) {
    constexpr int firstPrintable = 32;
    constexpr int controlOffset = 64;
    if (code < firstPrintable)
        std::cerr << '^' << static_cast<char>(code + controlOffset);
    else
        std::cerr << static_cast<char>(code);
}

// A character code of eight bits.  Only a plain 10 ends the line; a code with
// the top bit set is marked with | and written as its low seven bits, so 138
// gives |^J.
void writeCharacterCode(int code) {
    constexpr int topBit = 128;
    if (code == '\n') {
        std::cerr << std::endl;
    } else if (code >= topBit) {
        std::cerr << '|';
        writeSevenBitCode(code - topBit);
    } else {
        writeSevenBitCode(code);
    }
}

// One hexadecimal digit for the bits at group[0 .. bits-1], or the message
// when one of them is not binary.
void writeHexDigit(int cind, int bits, const int *group) {
    const int digit = integerFromSignals(bits, group);
    if (digit < 0)
        reportConsoleIndeterminate(cind, "HexOut");
    else
        std::cerr << digit;
}

} // namespace

void _stderr(int cind) {
    if (!consoleActs(cind, dataInput(cind, stderrEnable), dataInput(cind, stderrStrobe)))
        return;
    const int code = integerFromSignals(stderrCodeBits, phaseTwo->dataInputs[cind]);
    if (code < 0)
        reportConsoleIndeterminate(cind, "Stderr");
    else
        writeCharacterCode(code);
}

void intOut(int cind) {
    if (!controlledConsoleActs(cind))
        return;
    const int value = integerFromSignals(phaseTwo->numberOfDataInputs[cind], phaseTwo->dataInputs[cind]);
    if (value < 0)
        reportConsoleIndeterminate(cind, "IntOut");
    else
        std::cerr << value << std::endl;
}

void hexOut(int cind) {
    if (controlledConsoleActs(cind)) {
        const int n = phaseTwo->numberOfDataInputs[cind];
        const int *data = phaseTwo->dataInputs[cind];
        const int partial = n % hexDigitBits;
        std::cerr << std::hex;
        // The bits above the last whole group make one leading digit of their own.
        if (partial != 0)
            writeHexDigit(cind, partial, data + n - partial);
        for (int top = n - partial; top > 0; top -= hexDigitBits)
            writeHexDigit(cind, hexDigitBits, data + top - hexDigitBits);
    }
    // Whatever happened, numbers written after this one are decimal again.
    std::cerr << std::dec;
}
