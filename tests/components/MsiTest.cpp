// Medium-scale runtimes over the five values: the combinational parts as
// tables of input words, the clocked parts as sequences of evaluations, and a
// few runs through the kernel for their delays and edges.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Harness.h"
#include "components/msiPh1.h"
#include "components/msiRT.h"
#include "components/ssiPh1.h"
#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/Ph4.h"

namespace {

// Words are written most significant bit first, one letter per value:
// 0 ZERO, U UNINITIALIZED, X XXX, H HIZ, 1 ONE.
SignalValue valueOf(char letter) {
    switch (letter) {
    case '0':
        return ZERO;
    case '1':
        return ONE;
    case 'U':
        return UNINITIALIZED;
    case 'H':
        return HIZ;
    default:
        return XXX;
    }
}

char letterOf(SignalValue v) {
    return "0UXH1"[v];
}

// Gives the bus's wires the values of word by hand.
void setBus(const Signal &bus, const std::string &word) {
    ASSERT_EQ(word.size(), static_cast<size_t>(bus.length)) << word;
    for (int i = 0; i < bus.length; ++i)
        phaseThree->currentSignals[bus.serialNumber[i]] = valueOf(word[bus.length - 1 - i]);
}

// The present values of the bus as a word.
std::string word(const Signal &bus) {
    std::string w;
    for (int i = bus.length - 1; i >= 0; --i)
        w += letterOf(phaseThree->currentSignals[bus.serialNumber[i]]);
    return w;
}

// The component under test is the only one, index 0, and its inputs are set
// by hand.  Converts and resets it.
void startAlone() {
    convertNetlist();
    phaseFour->runInitialize();
}

// Evaluates the component once and lets its requests take effect at once:
// every output takes the value it is headed for.  Time moves on between
// evaluations so that each request comes after the previous ones.
std::string evaluate(const Signal &out) {
    phaseFour->time += 100;
    phaseTwo->logicEvaluate[0](0);
    for (const int s : out.serialNumber)
        phaseThree->currentSignals[s] = phaseThree->scheduledSignals[s];
    return word(out);
}

const SD sd("aa", nullptr);

// ---- Combinational parts ----

TEST(MsiEvaluation, AdderCarriesOverTheFiveValues) {
    const struct {
        const char *a, *b, *sum;
    } cases[] = {
        {"0111", "0001", "1000"}, {"1111", "0001", "0000"}, // the carry out of the top is dropped
        {"1111", "1111", "1110"}, {"0X01", "0001", "0X10"}, // two ZEROs give carry ZERO beside an XXX
        {"0X11", "0001", "XX00"}, // the unknown carry reaches one bit, then meets two ZEROs
        {"X111", "0001", "X000"}, {"000H", "0000", "000X"},
        {"0011", "001X", "01XX"}, // ONE, ONE and XXX: carry ONE whatever the third
        {"1X00", "1X00", "XX00"},
    };
    for (const auto &k : cases) {
        freshHeadlessNetlist();
        const Signal a(4, "A"), b(4, "B"), sum(4, "Sum");
        Adder(sd, (b, a), sum);
        startAlone();
        setBus(a, k.a);
        setBus(b, k.b);
        EXPECT_EQ(evaluate(sum), k.sum) << k.a << " + " << k.b;
    }
}

TEST(MsiEvaluation, IncrementCarriesPastUnknownBits) {
    const struct {
        const char *in, *out;
    } cases[] = {
        {"0111", "1000"}, {"1111", "0000"}, {"11X1", "00X0"}, {"0HU0", "0HU1"},
        {"X111", "X000"}, {"UUU1", "XXX0"}, {"H000", "H001"},
    };
    for (const auto &k : cases) {
        freshHeadlessNetlist();
        const Signal in(4, "In"), out(4, "Out");
        Increment(sd, in, out);
        startAlone();
        setBus(in, k.in);
        EXPECT_EQ(evaluate(out), k.out) << k.in;
    }
}

TEST(MsiEvaluation, IncrementReadsOnlyAsManyBitsAsItDrives) {
    freshHeadlessNetlist();
    const Signal in(6, "In"), out(3, "Out");
    Increment(sd, in, out);
    startAlone();
    setBus(in, "XX0011");
    EXPECT_EQ(evaluate(out), "100");
}

TEST(MsiEvaluation, MuxPassesTheSelectedWord) {
    // Four words of eight bits: word 0 lowest.
    const std::string words[] = {"00000001", "0000001U", "1H0X0110", "11111111"};
    const struct {
        const char *select, *out;
    } cases[] = {
        {"00", "00000001"}, {"01", "0000001U"}, {"10", "1H0X0110"}, {"11", "11111111"},
        {"X0", "XXXXXXXX"}, {"1H", "XXXXXXXX"}, {"U1", "XXXXXXXX"},
    };
    for (const auto &k : cases) {
        freshHeadlessNetlist();
        const Signal select(2, "S"), data(32, "D"), out(8, "Out");
        Mux(sd, select, data, out);
        startAlone();
        setBus(data, words[3] + words[2] + words[1] + words[0]);
        setBus(select, k.select);
        EXPECT_EQ(evaluate(out), k.out) << "select " << k.select;
    }
}

TEST(MsiEvaluation, DecoderFollowsItsEnable) {
    const struct {
        const char *enable, *code, *out;
    } cases[] = {
        {"1", "00", "0001"}, {"1", "10", "0100"}, {"1", "11", "1000"},
        {"1", "1H", "XXXX"}, {"0", "10", "0000"}, {"0", "XX", "0000"},
        {"X", "01", "XXXX"}, {"U", "01", "XXXX"}, {"H", "01", "XXXX"},
    };
    for (const auto &k : cases) {
        freshHeadlessNetlist();
        const Signal enable(1, "E"), code(2, "C"), out(4, "Out");
        Decoder(sd, enable, code, out);
        startAlone();
        setBus(enable, k.enable);
        setBus(code, k.code);
        EXPECT_EQ(evaluate(out), k.out) << "enable " << k.enable << " code " << k.code;
    }
}

TEST(MsiEvaluation, EncoderGivesTheHighestRequest) {
    // Outputs as the component drives them: valid, then the three code bits.
    const struct {
        const char *requests, *validAndCode;
    } cases[] = {
        {"00100100", "1101"}, {"00000001", "1000"}, {"10000000", "1111"}, {"00000000", "0000"},
        {"0000H000", "XXXX"}, {"10000X00", "XXXX"}, {"1000000U", "XXXX"},
    };
    for (const auto &k : cases) {
        freshHeadlessNetlist();
        const Signal requests(8, "R"), code(3, "C"), valid(1, "V");
        Encoder(sd, requests, code, valid);
        startAlone();
        setBus(requests, k.requests);
        EXPECT_EQ(evaluate((valid, code)), k.validAndCode) << k.requests;
    }
}

// ---- Clocked parts ----

// One evaluation of a sequence: the inputs given, the outputs expected after it.
struct Step {
    const char *in;
    const char *out;
};

// Evaluates the component once per step with in given and expects out.
void runSteps(const Signal &in, const Signal &out, const std::vector<Step> &steps) {
    for (size_t i = 0; i < steps.size(); ++i) {
        setBus(in, steps[i].in);
        EXPECT_EQ(evaluate(out), steps[i].out) << "step " << i + 1 << " in " << steps[i].in;
    }
}

TEST(MsiEvaluation, DffTakesDAtTheRisingEdge) {
    freshHeadlessNetlist();
    const Signal in(4, "In"), q(1, "Q");
    Dff(sd, in, q);
    startAlone();
    // in = S D clock R
    runSteps(
        in, q,
        {
            {"0110", "X"},                               // the first evaluation only drives XXX
            {"0110", "X"},                               // clock already ONE: no edge
            {"0H00", "X"}, {"0H10", "H"},                // D is taken whatever it is
            {"0010", "H"}, {"0000", "H"}, {"00X0", "H"}, // an unknown clock is no edge...
            {"0010", "0"},                               // ...and does not disarm
            {"1010", "1"},                               // set while the clock is ONE
            {"0010", "1"}, {"0110", "1"}, {"0000", "1"}, // the clock must fall before the next edge counts
            {"0010", "0"}, {"0001", "0"},                // reset
            {"1001", "0"},                               // both: nothing changes
            {"100X", "0"},                               // S with R unknown: nothing
            {"X000", "0"}, {"1000", "1"}, {"0100", "1"},
            {"0000", "1"}, {"0110", "1"}, // after set, the clock must be ZERO again first
            {"0000", "1"}, {"0010", "0"},
        });
}

TEST(MsiEvaluation, JkffChangesAtTheFallingEdge) {
    freshHeadlessNetlist();
    const Signal in(5, "In"), out(2, "Out");
    Jkff(sd, in, out);
    startAlone();
    // in = S J clock K R; out = Q QP
    runSteps(in, out,
             {
                 {"10000", "XX"},                                   // the first evaluation only drives XXX
                 {"00000", "XX"}, {"00100", "XX"},                  // J and K ZERO: hold
                 {"10000", "10"},                                   // set
                 {"00000", "10"}, {"01110", "10"},                  // toggle judged at the rise...
                 {"01010", "01"},                                   // ...done at the fall
                 {"01110", "01"}, {"01010", "10"}, {"00110", "10"}, // K: clear
                 {"00000", "01"}, {"01100", "01"},                  // J: set
                 {"00000", "10"}, {"0X100", "10"},                  // unknown J
                 {"00000", "XX"}, {"01110", "XX"},                  // toggling an unknown Q
                 {"01010", "XX"}, {"00001", "01"},                  // reset
                 {"10001", "01"},                                   // both: nothing
                 {"00000", "01"}, {"01110", "01"}, {"H1010", "01"}, // an unknown S holds the pending change
                 {"01010", "10"},
             });
}

TEST(MsiEvaluation, GatePassesPulsesThatRoseWithTheEnable) {
    freshHeadlessNetlist();
    const Signal in(2, "In"), out(1, "Out");
    Gate(sd, in, out);
    startAlone();
    // in = enable clock
    runSteps(in, out,
             {
                 {"X1", "U"}, // UNINITIALIZED until the enable is binary
                 {"01", "0"},
                 {"11", "0"}, // the clock was ONE before the enable rose
                 {"10", "0"},
                 {"11", "1"},
                 {"01", "1"}, // the enable may fall while the pulse lasts
                 {"00", "0"},
                 {"1X", "0"}, // an unknown clock is no edge
                 {"11", "1"},
                 {"1X", "1"},
                 {"10", "0"},
             });
}

TEST(MsiEvaluation, CounterCountsFallingEdgesAfterAClear) {
    freshHeadlessNetlist();
    const Signal in(2, "In"), count(3, "Count");
    Counter(sd, in, count);
    startAlone();
    // in = clear clock
    runSteps(in, count,
             {
                 {"11", "UUU"}, // clocked before its first clear
                 {"10", "UUU"}, {"11", "UUU"}, {"10", "UUU"}, {"00", "000"},
                 {"01", "000"}, {"11", "000"}, // clear released: the clock must rise again
                 {"10", "000"}, {"11", "000"}, {"10", "001"}, {"11", "001"},
                 {"1X", "001"}, {"10", "010"}, {"11", "010"}, {"10", "011"},
                 {"11", "011"}, {"10", "100"}, {"11", "100"}, {"01", "000"}, // clear while the clock is ONE
                 {"11", "000"}, {"10", "000"},
             });
}

TEST(MsiEvaluation, CounterWrapsAfterItsHighestCount) {
    freshHeadlessNetlist();
    const Signal in(2, "In"), count(2, "Count");
    Counter(sd, in, count);
    startAlone();
    runSteps(in, count, {{"00", "00"}, {"10", "00"}});
    for (const char *expected : {"01", "10", "11", "00", "01"})
        runSteps(in, count, {{"11", word(count).c_str()}, {"10", expected}});
}

TEST(MsiEvaluation, CounterClockedInTransitionWaitsForAClear) {
    freshHeadlessNetlist();
    const Signal in(2, "In"), count(3, "Count");
    Counter(sd, in, count);
    startAlone();
    runSteps(in, count, {{"00", "000"}, {"10", "000"}, {"11", "000"}, {"10", "001"}, {"11", "001"}});
    // Bit 1 still changing: present and headed-for values XXX.
    setBus(count, "0X1");
    phaseThree->scheduledSignals[count.serialNumber[1]] = XXX;
    setBus(in, "10");
    testing::internal::CaptureStderr();
    // Bit 0 has been counted already when bit 1 is found unknown.
    EXPECT_EQ(evaluate(count), "0X0");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Counter clocked when the count is in transition\n");
    runSteps(in, count,
             {{"11", "0X0"}, {"10", "0X0"}, {"00", "000"}, {"10", "000"}, {"11", "000"}, {"10", "001"}});
}

TEST(MsiEvaluation, RegisterLoadsAtAnEnabledRisingStrobe) {
    freshHeadlessNetlist();
    const Signal enable(1, "E"), write(1, "W"), data(4, "D"), out(4, "Out");
    Register(sd, enable, write, data, out);
    startAlone();
    // in = enable write data
    runSteps((enable, write, data), out,
             {
                 {"U00101", "UUUU"}, // waits for a binary enable
                 {"110101", "UUUU"}, // enable binary: armed, the strobe not yet looked at
                 {"100101", "UUUU"},
                 {"1X0101", "UUUU"}, // XXX is no edge and does not disarm
                 {"110101", "0101"},
                 {"111111", "0101"}, // loaded once per edge
                 {"001111", "0101"},
                 {"X10011", "0101"}, // a rise with the enable unknown is ignored...
                 {"110011", "0101"}, // ...even when the enable comes while the strobe is ONE
                 {"1000H1", "0101"},
                 {"1100H1", "00H1"},
                 {"0000H1", "00H1"},
                 {"0111X0", "00H1"}, // enable ZERO
             });
}

TEST(MsiEvaluation, BitAddressibleRegisterWritesOneBitAndReadsOne) {
    freshHeadlessNetlist();
    const Signal clear(1, "Clr"), set(1, "Set"), enable(1, "E"), write(1, "W"), bit(1, "B");
    const Signal writeAddress(2, "Wa"), readAddress(2, "Ra"), bitOut(1, "Bo"), bits(4, "Bits");
    BitAddressibleRegister(sd, clear, set, enable, write, bit, writeAddress, readAddress, bitOut, bits);
    startAlone();
    // in = clear set enable write bit writeAddress readAddress; out = bitOut register3 .. register0
    runSteps((clear, set, enable, write, bit, writeAddress, readAddress), (bitOut, bits),
             {
                 {"000000000", "XXXXX"},                         // the first evaluation drives XXX everywhere
                 {"000000000", "XXXXX"}, {"001111010", "1X1XX"}, // written at the address read: seen at once
                 {"001100110", "1X1XX"},                         // W still ONE: no second write
                 {"001000101", "XX1XX"}, {"000110101", "XX1XX"}, // enable ZERO at the rise
                 {"001000101", "XX1XX"}, {"001110X01", "XX1XX"}, // an unknown write address: no write
                 {"1000000XX", "XX1XX"},                         // W falls; an unknown read address shows XXX
                 {"100000000", "00000"},                         // clear
                 {"001111111", "00000"}, // no write before clear, set and W were all ZERO
                 {"000000011", "00000"}, {"010000011", "11111"}, // set
                 {"000000000", "11111"}, {"001100000", "01110"},
                 {"101100001", "00000"}, // clear acts while W is ONE
                 {"011100001", "11111"}, {"000000001", "11111"},
                 {"000000001", "11111"},
             });
}

// ---- Through the kernel ----

TEST(MsiRun, OutputsChangeWithTheMediumScaleDelays) {
    freshHeadlessNetlist();
    const Signal a(1, "A"), sum(1, "Sum");
    PowerOn(SD("aa", nullptr), a, 50, Zero);
    Adder(SD("ab", nullptr), (Zero, a), sum);
    convertNetlist();
    resetCircuit();
    // A reaches ZERO at 10 and ONE at 59; the sum follows 13 (XXX) and 17 later.
    // The first request (XXX, for an UNINITIALIZED input) takes effect at the
    // quick delay; ZERO at 10 keeps the XXX to 23 and reaches ZERO at 27; the
    // XXX on the way to ONE (54) is passed on at 67 and ONE (59) reaches the
    // sum at 76.
    const std::vector<Change> expected = {{13, XXX}, {27, ZERO}, {67, XXX}, {76, ONE}};
    EXPECT_EQ(runAndTrace(sum.serialNumber[0], 1000), expected);
}

TEST(MsiRun, ClockedCounterAndGate) {
    freshHeadlessNetlist();
    const Signal clk(1, "Clk"), clear(1, "Clear"), enable(1, "En"), gated(1, "Gated"), count(3, "Count");
    Clock(SD("aa", nullptr), clk, 50, 0, 100, Zero);
    PowerOn(SD("ab", nullptr), clear, 30, Zero);
    PowerOn(SD("ac", nullptr), enable, 170, Zero);
    Counter(SD("ba", nullptr), (clear, clk), count);
    Gate(SD("bb", nullptr), (enable, clk), gated);
    convertNetlist();
    resetCircuit();
    // The clock is ONE from 137 to 191; the enable reaches ONE at 179, during
    // that pulse, so the first pulse passed is the one from 255 to 314, each
    // edge 13 (XXX) and 17 later on the output.
    const std::vector<Change> gatedTrace = {{23, XXX},  {27, ZERO},  {268, XXX}, {272, ONE},
                                            {327, XXX}, {331, ZERO}, {386, XXX}, {390, ONE}};
    EXPECT_EQ(runAndTrace(gated.serialNumber[0], 400), gatedTrace);
    // Clear ONE from 39; falling clock edges at 196, 314, 432, 550 and 668.
    runUntil(700);
    EXPECT_EQ(word(count), "101");
}

} // namespace
