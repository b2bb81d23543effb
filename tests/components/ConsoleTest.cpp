// Console output components: their registration and counted capture errors,
// the exact bytes each writes for a value over the five values, the
// write-strobe protocol that decides when they write, and a run through the
// kernel.
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "Harness.h"
#include "components/SecEvTyp.h"
#include "components/msiPh1.h"
#include "components/msiRT.h"
#include "components/ssiPh1.h"
#include "core/Ph1.h"
#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/Ph4.h"
#include "display/iconData.h"

namespace {

constexpr SignalValue Z = ZERO, U = UNINITIALIZED, X = XXX, H = HIZ, O = ONE;

enum class Kind { stderrChars, intOut, hexOut };

// Captures one console component of the kind over a data bus, a strobe and an
// enable, joined as a circuit joins them.
void captureConsole(Kind kind, const SD &sd, const Signal &enable, const Signal &strobe, const Signal &data) {
    switch (kind) {
    case Kind::stderrChars:
        Stderr(sd, (enable, strobe, data));
        break;
    case Kind::intOut:
        IntOut(sd, (enable, strobe), data);
        break;
    case Kind::hexOut:
        HexOut(sd, (enable, strobe), data);
        break;
    }
}

// One console component alone in a converted netlist, reset, its pins set by
// hand and evaluated as the kernel evaluates it.
struct Console {
    std::vector<int> data;
    int strobe;
    int enable;

    Console(Kind kind, int dataBits) {
        freshHeadlessNetlist();
        const Signal d(dataBits, "D"), w(1, "W"), e(1, "E");
        captureConsole(kind, SD("aa", nullptr), e, w, d);
        convertNetlist();
        phaseFour->runInitialize();
        data = serials(d);
        strobe = w.serialNumber[0];
        enable = e.serialNumber[0];
    }

    // The data bits, entry 0 the least significant.
    void setData(const std::vector<SignalValue> &bits) const {
        for (size_t i = 0; i < bits.size(); ++i)
            phaseThree->currentSignals[data[i]] = bits[i];
    }
    void setNumber(unsigned value) const {
        for (size_t i = 0; i < data.size(); ++i)
            phaseThree->currentSignals[data[i]] = (value >> i) & 1 ? ONE : ZERO;
    }

    // Sets enable and strobe, evaluates once and returns what was written.
    std::string evaluate(SignalValue e, SignalValue w) const {
        phaseThree->currentSignals[enable] = e;
        phaseThree->currentSignals[strobe] = w;
        testing::internal::CaptureStderr();
        phaseTwo->logicEvaluate[0](0);
        return testing::internal::GetCapturedStderr();
    }

    // Enable ONE, strobe ZERO and then ONE: what the rising edge writes.
    std::string strobeOut() const {
        evaluate(ONE, ZERO);
        return evaluate(ONE, ONE);
    }
};

// Bits from a string written most significant first, as the cases read.
std::vector<SignalValue> bits(const std::string &msbFirst) {
    std::vector<SignalValue> result;
    for (auto c = msbFirst.rbegin(); c != msbFirst.rend(); ++c)
        result.push_back(*c == '1' ? O : *c == '0' ? Z : *c == 'U' ? U : *c == 'X' ? X : H);
    return result;
}

std::string indeterminate(const char *component) {
    return std::string("\nERROR -- ") + component +
           " component trying to output uninitialized bits \n or bits in transition. state = 4\n";
}

// ---- Capture ----

TEST(ConsoleCapture, RegistrationTable) {
    freshHeadlessNetlist();
    const Signal in(10, "In"), control(2, "Ctl"), data(12, "Data");
    const SD sd("aa", nullptr);
    Stderr(sd, in);
    IntOut(sd, control, data);
    HexOut(sd, control, data);
    HexOut(SD("ab", "Hex16"), control, data);
    const struct {
        const char *decal;
        ComponentFunction evaluate;
        std::vector<int> data, control;
    } expected[] = {
        {"Stderr", _stderr, serials(in), {}},
        {"IntOut", intOut, serials(data), serials(control)},
        {"HexOut", hexOut, serials(data), serials(control)},
        {"Hex16", hexOut, serials(data), serials(control)},
    };
    expectPlainCaptures(expected, [](const ComponentNode &n, const auto &e) {
        EXPECT_EQ(n.dataInputs, e.data) << e.decal;
        EXPECT_EQ(n.controlInputs, e.control) << e.decal;
        EXPECT_TRUE(n.outputs.empty()) << e.decal;
    });
    EXPECT_EQ(phaseOne->fatalDiagnosticCount, 0);
}

// Each wrong length writes its message and is counted; the component is
// registered all the same, so that the capture reports the circuit's other
// errors too.
TEST(ConsoleCapture, LengthErrorsAreCountedAndTheComponentIsStillRegistered) {
    const std::vector<CountedCapture> cases = {
        {"Stderr short", [] { Stderr(SD("ab-cd", nullptr), Signal(9, "In")); },
         "I/O length error--Stderr() at ab-cd in.length = 9 should be 10.\n"},
        {"Stderr long", [] { Stderr(SD("aa", nullptr), Signal(11, "In")); },
         "I/O length error--Stderr() at aa in.length = 11 should be 10.\n"},
        {"Stderr empty", [] { Stderr(SD("aa", nullptr), noSignals()); },
         "I/O length error--Stderr() at aa in.length = 0 should be 10.\n"},
        {"IntOut", [] { IntOut(SD("b", nullptr), Signal(1, "C"), Signal(8, "D")); },
         "I/O length error--IntOut() at b control.length = 1 should be 2.\n"},
        {"HexOut", [] { HexOut(SD("c", nullptr), Signal(3, "C"), Signal(8, "D")); },
         "I/O length error--HexOut() at c control.length = 3 should be 2.\n"},
        {"no position", [] { HexOut(SD(), Signal(1, "C"), Signal(8, "D")); },
         "I/O length error--HexOut() at  control.length = 1 should be 2.\n"},
    };
    expectEachCounted(cases);
}

// ---- What each writes ----

TEST(ConsoleOutput, StderrCharacterForms) {
    const struct {
        int code;
        const char *written;
    } cases[] = {
        {65, "A"},    {'z', "z"},   {32, " "},   {126, "~"},  {127, "\x7f"},  {10, "\n"},   {13, "^M"},
        {1, "^A"},    {0, "^@"},    {27, "^["},  {31, "^_"},  {9, "^I"},      {128, "|^@"}, {138, "|^J"},
        {141, "|^M"}, {159, "|^_"}, {160, "| "}, {193, "|A"}, {255, "|\x7f"},
    };
    Console console(Kind::stderrChars, 8);
    for (const auto &k : cases) {
        console.setNumber(static_cast<unsigned>(k.code));
        EXPECT_EQ(console.strobeOut(), k.written) << "code " << k.code;
    }
}

TEST(ConsoleOutput, StderrWithABitThatIsNotBinaryWritesTheMessage) {
    Console console(Kind::stderrChars, 8);
    for (const char *code : {"0100000U", "X1000001", "0100H001", "UUUUUUUU"}) {
        console.setData(bits(code));
        EXPECT_EQ(console.strobeOut(), indeterminate("Stderr")) << code;
    }
}

TEST(ConsoleOutput, IntOutDecimal) {
    const struct {
        const char *value; // most significant bit first
        std::string written;
    } cases[] = {
        {"1111111111111111", "65535\n"},
        {"0000000000000000", "0\n"},
        {"1", "1\n"},
        {"1010", "10\n"},
        {"1111111111111111111111111111111", "2147483647\n"},
        {"01111111111111111111111111111111", "2147483647\n"},
        {"10000000000000000000000000000000", indeterminate("IntOut")},
        {"1111111111111111111111111111111X", indeterminate("IntOut")},
        {"H000", indeterminate("IntOut")},
        {"0U00", indeterminate("IntOut")},
    };
    for (const auto &k : cases) {
        const std::vector<SignalValue> value = bits(k.value);
        Console console(Kind::intOut, static_cast<int>(value.size()));
        console.setData(value);
        EXPECT_EQ(console.strobeOut(), k.written) << k.value;
    }
}

TEST(ConsoleOutput, HexOutDigitsFromTheMostSignificantGroup) {
    const struct {
        const char *value; // most significant bit first
        std::string written;
    } cases[] = {
        {"1011110011", "2f3"}, // 755 over 10 bits: the two top bits make a digit of their own
        {"00001010", "0a"},
        {"1111", "f"},
        {"1", "1"},
        {"10000", "10"},
        {"111111111111111111111111111111111111", "fffffffff"}, // wider than an int
        {"1010000X", "a" + indeterminate("HexOut")},
        {"H00101010", indeterminate("HexOut") + "2a"}, // the partial leading group fails alone
        {"0001X0000010", "1" + indeterminate("HexOut") + "2"},
        {"UUUUUUUU", indeterminate("HexOut") + indeterminate("HexOut")},
    };
    for (const auto &k : cases) {
        const std::vector<SignalValue> value = bits(k.value);
        Console console(Kind::hexOut, static_cast<int>(value.size()));
        console.setData(value);
        EXPECT_EQ(console.strobeOut(), k.written) << k.value;
    }
}

bool decimal() {
    return (std::cerr.flags() & std::ios::basefield) == std::ios::dec;
}

// Every evaluation of HexOut leaves the stream in decimal, whether it wrote
// or not, so numbers written later by anything else are decimal.
TEST(ConsoleOutput, HexOutLeavesTheStreamInDecimal) {
    Console console(Kind::hexOut, 8);
    console.setNumber(0xff);
    EXPECT_EQ(console.strobeOut(), "ff");
    EXPECT_TRUE(decimal());
    std::cerr << std::hex;
    EXPECT_EQ(console.evaluate(O, O), ""); // no action: the strobe is still high
    EXPECT_TRUE(decimal());
    testing::internal::CaptureStderr();
    std::cerr << 255;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "255");
}

// ---- When they write ----

struct ProtocolStep {
    SignalValue enable, strobe;
    bool writes;
};

struct ProtocolCase {
    const char *what;
    std::vector<ProtocolStep> steps;
};

const ProtocolCase protocolCases[] = {
    {"once per rising strobe",
     {{O, Z, false}, {O, O, true}, {O, O, false}, {O, Z, false}, {O, O, true}, {O, Z, false}}},
    {"nothing before the enable has been binary",
     {{U, Z, false}, {U, O, false}, {X, Z, false}, {H, O, false}, {O, Z, false}, {O, O, true}}},
    {"a rise with the enable XXX is ignored until the strobe has fallen",
     {{O, Z, false}, {X, O, false}, {O, O, false}, {O, Z, false}, {O, O, true}}},
    {"an XXX strobe is no edge and does not disarm",
     {{O, Z, false}, {O, X, false}, {O, H, false}, {O, O, true}}},
    {"the enable counts only at the rise",
     {{O, Z, false}, {O, O, true}, {Z, O, false}, {X, Z, false}, {O, Z, false}, {O, O, true}}},
};

// The protocol for each kind: the write of each step that acts is the
// component's whole output for its value, and every other step writes nothing.
TEST(ConsoleProtocol, OneWritePerRisingStrobeWithTheEnableOne) {
    const struct {
        Kind kind;
        int bits;
        unsigned value;
        const char *written;
    } kinds[] = {
        {Kind::stderrChars, 8, 'A', "A"}, {Kind::intOut, 8, 42, "42\n"}, {Kind::hexOut, 8, 42, "2a"}};
    for (const auto &k : kinds)
        for (const ProtocolCase &c : protocolCases) {
            Console console(k.kind, k.bits);
            console.setNumber(k.value);
            for (size_t i = 0; i < c.steps.size(); ++i) {
                const ProtocolStep &s = c.steps[i];
                EXPECT_EQ(console.evaluate(s.enable, s.strobe), s.writes ? k.written : "")
                    << k.written << ": " << c.what << ", step " << i;
            }
        }
}

// A clock as the strobe and a power-on signal as the enable, through the
// kernel: one character for each rising clock edge after the enable has
// become ONE, none for the edges before.
TEST(ConsoleProtocol, ThroughTheKernelOneCharacterPerRisingEdgeOnceEnabled) {
    freshHeadlessNetlist();
    const Signal clk(1, "Clk"), enable(1, "En");
    // The clock reaches ONE at 19, 57, 95, 133 and 171; the enable is ZERO at 19
    // and XXX at 57 (ONE from 59 on).
    Clock(SD("aa", nullptr), clk, 5, 0, 20, Zero);
    PowerOn(SD("ab", nullptr), enable, 50, Zero);
    Stderr(SD("ba", nullptr), (enable, clk, Zero, One, Zero, Zero, Zero, Zero, One, Zero)); // 'B'
    convertNetlist();
    resetCircuit();
    testing::internal::CaptureStderr();
    runUntil(60);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    testing::internal::CaptureStderr();
    runUntil(180);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "BBB");
}

} // namespace
