// Runtimes of the medium-scale and console components.
#include "components/msiRT.h"

#include <iostream>
#include <optional>

#include "components/RTPins.h"
#include "components/RTSigSup.h"
#include "components/SecEvTyp.h"
#include "core/InPlace.h"
#include "core/Ph2.h"

namespace {

// ---- Pins ---------------------------------------------------------------------

// Requests v for output k with the medium-scale delays.
[[gnu::always_inline]] inline void driveMsi(const ComponentPins &pins, int k, SignalValue v) {
    pins.drive(k, v, msiDelays);
}

// Requests v on every output.
void driveAll(const ComponentPins &pins, SignalValue v) {
    const int n = pins.outputCount();
    for (int k = 0; k < n; ++k)
        driveMsi(pins, k, v);
}

// The bits data inputs from position first on as an unsigned number, the
// first the least significant; negative when one of them is not binary.
int dataNumber(const ComponentPins &pins, int first, int bits) {
    return integerFromSignals(bits, pins.dataSerials() + first);
}

// ---- Arithmetic -----------------------------------------------------------------

// One column of a binary addition over the five values.
struct ColumnSum {
    SignalValue sum;
    SignalValue carry;
};

// The sum is known only when all three bits are; the carry is known as soon as
// two of them agree, so that two ZEROs stop an unknown from rippling upward.
ColumnSum addColumn(SignalValue a, SignalValue b, SignalValue carry) {
    const int ones = (a == ONE) + (b == ONE) + (carry == ONE);
    const int zeros = (a == ZERO) + (b == ZERO) + (carry == ZERO);
    const SignalValue sum = ones + zeros < 3 ? XXX : ones % 2 ? ONE : ZERO;
    const SignalValue carryOut = ones >= 2 ? ONE : zeros >= 2 ? ZERO : XXX;
    return {sum, carryOut};
}

// ---- Set and reset of the flip-flops -------------------------------------------

// What the asynchronous inputs R and S ask of a flip-flop.
enum class Forcing {
    clocked, // both ZERO: the clock rules
    setOne,  // S alone ONE
    setZero, // R alone ONE
    hold,    // both ONE, or either unknown: nothing changes
};

// clang-format off
// Rows by R, columns by S, each over ZERO, UNINITIALIZED, XXX, HIZ, ONE.
constexpr Forcing forcingOf[5][5] = {
    /* R ZERO */ {Forcing::clocked, Forcing::hold, Forcing::hold, Forcing::hold, Forcing::setOne},
    /* R U    */ {Forcing::hold,    Forcing::hold, Forcing::hold, Forcing::hold, Forcing::hold},
    /* R XXX  */ {Forcing::hold,    Forcing::hold, Forcing::hold, Forcing::hold, Forcing::hold},
    /* R HIZ  */ {Forcing::hold,    Forcing::hold, Forcing::hold, Forcing::hold, Forcing::hold},
    /* R ONE  */ {Forcing::setZero, Forcing::hold, Forcing::hold, Forcing::hold, Forcing::hold},
};
// clang-format on

Forcing forcing(SignalValue reset, SignalValue set) {
    if (!isSignalValue(reset) || !isSignalValue(set))
        return Forcing::hold;
    return forcingOf[reset][set];
}

// ---- State words ------------------------------------------------------------------

// Pins of the JK flip-flop; its outputs are QP at 0 and Q at 1.
enum JkffPin { jkffReset = 0, jkffK = 1, jkffClock = 2, jkffJ = 3, jkffSet = 4 };
enum JkffOutput { jkffQP = 0, jkffQ = 1 };
enum JkffState : int {
    jkffFresh = 0,       // reset: drive XXX first
    jkffAwaitingLow = 1, // the clock must be ZERO before an edge counts
    jkffArmed = 2,       // clock seen ZERO: the next ONE judges J and K
    jkffWillClear = 3,   // clock high: Q goes ZERO when it falls
    jkffWillSet = 4,     // clock high: Q goes ONE when it falls
    jkffWillUnknown = 5, // clock high: both outputs go XXX when it falls
};

// Pins of the counter; its clear is active at ZERO.
enum CounterPin { counterClock = 0, counterClear = 1 };
enum CounterState : int {
    counterFresh = 0,     // reset, or a count in transition was clocked: wait for a clear
    counterCleared = 1,   // cleared: wait for clear to go ONE
    counterCounting = 2,  // the next ONE of the clock starts an edge
    counterClockHigh = 3, // the next ZERO of the clock counts
};

// Pins of the clock gate.
enum GatePin { gateClock = 0, gateEnable = 1 };
enum GateState : int {
    gateFresh = 0,          // reset: drive UNINITIALIZED
    gateAwaitingEnable = 1, // enable not yet binary since the reset
    gateArmed = 2,          // clock low (or unknown): the next ONE may pass
    gateBlocked = 3,        // clock high, risen with enable not ONE
    gatePassing = 4,        // clock high and passed on: ZERO follows its fall
};

// Control pins of the register.
enum RegisterPin { registerWrite = 0, registerEnable = 1 };

// Control pins of the bit-addressable register.
enum BitRegisterPin { bitRegWrite = 0, bitRegEnable = 1, bitRegSet = 2, bitRegClear = 3 };
enum BitRegisterState : int {
    bitRegFresh = 0,     // reset: drive XXX everywhere
    bitRegUnknown = 1,   // only clear or set can give the bits a value
    bitRegForced = 2,    // after clear or set: writes wait until clear, set and W are ZERO
    bitRegArmed = 3,     // the next rise of W writes
    bitRegWriteHigh = 4, // W is ONE: wait for it to fall
};

// The level clear and set force on every bit, if they force one: clear alone
// ONE gives ZERO, set alone ONE gives ONE.
std::optional<SignalValue> clearSetLevel(SignalValue clear, SignalValue set) {
    if (clear == ONE && set == ZERO)
        return ZERO;
    if (clear == ZERO && set == ONE)
        return ONE;
    return std::nullopt;
}

// Counts up the outputs from position 0; false when a bit of the count is not
// binary (the bits below it have been requested already).
bool countUp(const ComponentPins &pins) {
    const int n = pins.outputCount();
    for (int k = 0; k < n; ++k) {
        const SignalValue v = pins.output(k);
        if (v == ONE) {
            driveMsi(pins, k, ZERO);
        } else if (v == ZERO) {
            driveMsi(pins, k, ONE);
            return true;
        } else {
            std::cerr << "Counter clocked when the count is in transition" << std::endl;
            return false;
        }
    }
    return true; // all ONE wraps to all ZERO
}

// The JK flip-flop's judgement at a rising clock edge.
JkffState jkJudgement(SignalValue j, SignalValue k, SignalValue q) {
    if (!isBinary(j) || !isBinary(k))
        return jkffWillUnknown;
    if (j == ZERO)
        return k == ONE ? jkffWillClear : jkffAwaitingLow; // ZERO, ZERO: hold
    if (k == ZERO)
        return jkffWillSet;
    // Both ONE: toggle, which needs a known Q.
    return q == ZERO ? jkffWillSet : q == ONE ? jkffWillClear : jkffWillUnknown;
}

// Requests Q and its complement, QP first; an unknown Q gives XXX on both.
void driveJk(const ComponentPins &pins, SignalValue q) {
    driveMsi(pins, jkffQP, q == ONE ? ZERO : q == ZERO ? ONE : XXX);
    driveMsi(pins, jkffQ, q);
}

} // namespace

// ---- Combinational components ---------------------------------------------------

void adder(int cind) {
    const ComponentPins pins(cind);
    const int w = integerParameter(cind, adderWidth);
    SignalValue carry = ZERO;
    for (int b = 0; b < w; ++b) {
        const ColumnSum column = addColumn(pins.data(b), pins.data(w + b), carry);
        driveMsi(pins, b, column.sum);
        carry = column.carry;
    }
}

void increment(int cind) {
    const ComponentPins pins(cind);
    const int n = pins.outputCount();
    bool carry = true;
    for (int b = 0; b < n; ++b) {
        const SignalValue v = pins.data(b);
        if (!carry) {
            driveMsi(pins, b, v);
        } else if (v == ONE) {
            driveMsi(pins, b, ZERO);
        } else if (v == ZERO) {
            driveMsi(pins, b, ONE);
            carry = false;
        } else {
            driveMsi(pins, b, XXX); // the carry goes on past an unknown bit
        }
    }
}

void mux(int cind) {
    const ComponentPins pins(cind);
    const int w = pins.outputCount();
    const int select = integerFromSignals(pins.controlCount(), pins.controlSerials());
    for (int b = 0; b < w; ++b)
        driveMsi(pins, b, select < 0 ? XXX : pins.data(b + w * select));
}

void decoder(int cind) {
    const ComponentPins pins(cind);
    const SignalValue enable = pins.control(0);
    const int code = enable == ONE ? integerFromSignals(pins.dataCount(), pins.dataSerials()) : -1;
    const int n = pins.outputCount();
    for (int k = 0; k < n; ++k) {
        SignalValue v = XXX; // enable unknown, or an unknown code
        if (enable == ZERO)
            v = ZERO;
        else if (code >= 0)
            v = k == code ? ONE : ZERO;
        driveMsi(pins, k, v);
    }
}

void encoder(int cind) {
    const ComponentPins pins(cind);
    const int n = pins.outputCount() - 1; // valid is output n
    int found = -1;
    bool valid = true;
    for (int k = pins.dataCount() - 1; k >= 0; --k) {
        const SignalValue v = pins.data(k);
        if (v == ONE && found < 0)
            found = k;
        // Any unknown request line makes the answer unknown, even below the highest ONE.
        valid = valid && isBinary(v);
    }
    if (!valid) {
        driveAll(pins, XXX);
        return;
    }
    for (int i = 0; i < n; ++i)
        driveMsi(pins, i, found >= 0 && (found >> i & 1) ? ONE : ZERO);
    driveMsi(pins, n, found >= 0 ? ONE : ZERO);
}

// ---- Clocked components --------------------------------------------------------------

void counter(int cind) {
    const ComponentPins pins(cind);
    int &state = phaseTwo->state[cind];
    const SignalValue clock = pins.data(counterClock);
    const SignalValue clear = pins.data(counterClear);
    if (clear == ZERO && state != counterCleared) {
        driveAll(pins, ZERO);
        state = counterCleared;
        return;
    }
    switch (state) {
    case counterCleared:
        if (clear == ONE)
            state = counterCounting;
        break;
    case counterCounting:
        if (clock == ONE)
            state = counterClockHigh;
        break;
    case counterClockHigh:
        if (clock == ZERO)
            state = countUp(pins) ? counterCounting : counterFresh;
        break;
    default: // fresh: only a clear starts the counter
        break;
    }
}

void gate(int cind) {
    const ComponentPins pins(cind);
    int &state = phaseTwo->state[cind];
    const SignalValue clock = pins.data(gateClock);
    const SignalValue enable = pins.data(gateEnable);
    bool request = false;
    SignalValue g = UNINITIALIZED;
    if (state == gateFresh) {
        request = true;
        state = gateAwaitingEnable;
    }
    if (state == gateAwaitingEnable && isBinary(enable)) {
        g = ZERO;
        request = true;
        state = gateArmed;
    }
    switch (state) {
    case gateArmed:
        if (clock == ONE && enable == ONE) {
            g = ONE;
            request = true;
            state = gatePassing;
        } else if (clock == ONE) {
            state = gateBlocked;
        }
        break;
    case gateBlocked:
        if (clock == ZERO)
            state = gateArmed;
        break;
    case gatePassing:
        if (clock == ZERO) {
            g = ZERO;
            request = true;
            state = gateArmed;
        }
        break;
    default:
        break;
    }
    if (request)
        driveMsi(pins, 0, g);
}

void dff(int cind) {
    const ComponentPins pins(cind);
    int &state = phaseTwo->state[cind];
    if (state == dffFresh) {
        state = dffAwaitingLow;
        driveMsi(pins, 0, XXX);
        return;
    }
    const SignalValue reset = pins.data(dffReset);
    const SignalValue set = pins.data(dffSet);
    if (dffSettlesQuietly(state, pins.data(dffClock), reset, set))
        return;
    switch (forcing(reset, set)) {
    case Forcing::clocked: // a rising edge: take D
        state = dffAwaitingLow;
        driveMsi(pins, 0, pins.data(dffData));
        break;
    case Forcing::setOne:
        state = dffAwaitingLow;
        driveMsi(pins, 0, ONE);
        break;
    case Forcing::setZero:
        state = dffAwaitingLow;
        driveMsi(pins, 0, ZERO);
        break;
    case Forcing::hold:
        break;
    }
}

void jkff(int cind) {
    const ComponentPins pins(cind);
    int &state = phaseTwo->state[cind];
    if (state == jkffFresh) {
        driveJk(pins, XXX);
        state = jkffAwaitingLow;
        return;
    }
    const SignalValue clock = pins.data(jkffClock);
    switch (forcing(pins.data(jkffReset), pins.data(jkffSet))) {
    case Forcing::setOne:
        driveJk(pins, ONE);
        state = jkffAwaitingLow;
        return;
    case Forcing::setZero:
        driveJk(pins, ZERO);
        state = jkffAwaitingLow;
        return;
    case Forcing::hold:
        return;
    case Forcing::clocked:
        break;
    }
    switch (state) {
    case jkffAwaitingLow:
        if (clock == ZERO)
            state = jkffArmed;
        break;
    case jkffArmed:
        if (clock == ONE)
            state = jkJudgement(pins.data(jkffJ), pins.data(jkffK), pins.output(jkffQ));
        break;
    case jkffWillClear:
    case jkffWillSet:
    case jkffWillUnknown:
        if (clock == ZERO) {
            driveJk(pins, state == jkffWillClear ? ZERO : state == jkffWillSet ? ONE : XXX);
            state = jkffArmed;
        }
        break;
    default:
        break;
    }
}

void enabledRegister(int cind) {
    const ComponentPins pins(cind);
    if (!strobeFires(phaseTwo->state[cind], pins.control(registerEnable), pins.control(registerWrite)))
        return;
    const int n = pins.outputCount();
    for (int b = 0; b < n; ++b)
        driveMsi(pins, b, pins.data(b));
}

void bitAddressibleRegister(int cind) {
    const ComponentPins pins(cind);
    int &state = phaseTwo->state[cind];
    const int k = (pins.dataCount() - 1) / 2;
    const int bitOut = pins.outputCount() - 1; // the register bits lie below it
    const int readAddress = dataNumber(pins, 0, k);
    const int writeAddress = dataNumber(pins, k, k);
    const SignalValue bit = pins.data(2 * k);
    const SignalValue clear = pins.control(bitRegClear);
    const SignalValue set = pins.control(bitRegSet);
    const SignalValue enable = pins.control(bitRegEnable);
    const SignalValue write = pins.control(bitRegWrite);
    const std::optional<SignalValue> forced = clearSetLevel(clear, set);
    const bool allZero = clear == ZERO && set == ZERO && write == ZERO;

    // What this evaluation requested, for bit out.
    bool setAll = false;
    SignalValue setTo = XXX;
    bool wroteRead = false;
    const auto setAllTo = [&](SignalValue v) {
        driveAll(pins, v);
        setAll = true;
        setTo = v;
    };

    switch (state) {
    case bitRegFresh:
        setAllTo(XXX);
        state = bitRegUnknown;
        break;
    case bitRegUnknown:
        if (forced) {
            setAllTo(*forced);
            state = bitRegForced;
        } else if (allZero) {
            state = bitRegArmed;
        }
        break;
    case bitRegForced:
        if (allZero)
            state = bitRegArmed;
        break;
    case bitRegArmed:
        if (forced) {
            setAllTo(*forced);
            state = bitRegForced;
        } else if (write == ONE) {
            // A write to an unknown address is dropped.
            if (enable == ONE && writeAddress >= 0) {
                driveMsi(pins, writeAddress, bit);
                wroteRead = writeAddress == readAddress;
            }
            state = bitRegWriteHigh;
        }
        break;
    case bitRegWriteHigh:
        if (write == ZERO)
            state = bitRegArmed;
        else if (forced)
            setAllTo(*forced);
        break;
    default:
        break;
    }

    SignalValue shown = XXX;
    if (readAddress >= 0)
        shown = setAll ? setTo : wroteRead ? bit : pins.output(readAddress);
    driveMsi(pins, bitOut, shown);
}

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
    const ComponentPins pins(cind);
    return consoleActs(cind, pins.control(consoleEnable), pins.control(consoleStrobe));
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
    const ComponentPins pins(cind);
    if (!consoleActs(cind, pins.data(stderrEnable), pins.data(stderrStrobe)))
        return;
    const int code = integerFromSignals(stderrCodeBits, pins.dataSerials());
    if (code < 0)
        reportConsoleIndeterminate(cind, "Stderr");
    else
        writeCharacterCode(code);
}

void intOut(int cind) {
    const ComponentPins pins(cind);
    if (!controlledConsoleActs(cind))
        return;
    const int value = integerFromSignals(pins.dataCount(), pins.dataSerials());
    if (value < 0)
        reportConsoleIndeterminate(cind, "IntOut");
    else
        std::cerr << value << std::endl;
}

void hexOut(int cind) {
    const ComponentPins pins(cind);
    if (controlledConsoleActs(cind)) {
        const int n = pins.dataCount();
        const int *data = pins.dataSerials();
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
