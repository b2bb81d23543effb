// The helpers every runtime shares: complement, buses read as numbers, packed
// storage of signal words and the write-strobe protocol.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "Harness.h"
#include "components/RTSigSup.h"
#include "core/Ph3.h"

namespace {

constexpr SignalValue Z = ZERO, U = UNINITIALIZED, X = XXX, H = HIZ, O = ONE;
constexpr SignalValue allValues[] = {Z, U, X, H, O};

TEST(Complement, SwapsLevelsAndTheTwoUnknownsAndKeepsHiz) {
    const SignalValue expected[] = {O, X, U, H, Z};
    for (const SignalValue v : allValues)
        EXPECT_EQ(complement(v), expected[v]) << signalValueName(v);
    EXPECT_EQ(complement(static_cast<SignalValue>(7)), H) << "anything else stays floating";
}

// A bus of n fresh wires in a converted netlist, whose values the test sets.
class BusValues : public ::testing::Test {
protected:
    std::vector<int> wires;

    void SetUp() override {
        freshHeadlessNetlist();
        const Signal bus(40, "Bus");
        wires = serials(bus);
        convertNetlist();
    }
    void set(const std::vector<SignalValue> &values) {
        for (size_t i = 0; i < values.size(); ++i)
            phaseThree->currentSignals[wires[i]] = values[i];
    }
};

TEST_F(BusValues, IntegerFromSignalsReadsBitZeroFirstAndRefusesUnknowns) {
    const struct {
        std::vector<SignalValue> bits; // entry 0 = bit 0
        int expected;
    } cases[] = {
        {{}, 0},
        {{O, Z, O}, 5},
        {{Z, Z, Z, O}, 8},
        {{O, Z, H}, -1},
        {{H, O, O}, -1},
        {{O, X}, -1},
        {{U}, -1},
        {std::vector<SignalValue>(31, O), 0x7fffffff},
        {std::vector<SignalValue>(32, O), -1},
    };
    for (const auto &k : cases) {
        set(k.bits);
        EXPECT_EQ(integerFromSignals(static_cast<int>(k.bits.size()), wires.data()), k.expected)
            << k.bits.size() << " bits";
    }
    // A ONE too high to fit, and high ZEROs that do not matter.
    std::vector<SignalValue> wide(40, Z);
    wide[0] = O;
    set(wide);
    EXPECT_EQ(integerFromSignals(40, wires.data()), 1);
    wide[35] = O;
    set(wide);
    EXPECT_EQ(integerFromSignals(40, wires.data()), -1);
}

TEST_F(BusValues, PackingSeventeenValuesUsesTwoWords) {
    EXPECT_EQ(packedWordCount(16), 1);
    EXPECT_EQ(packedWordCount(17), 2);
    EXPECT_EQ(packedWordCount(32), 2);
    EXPECT_EQ(packedWordCount(33), 3);

    set(std::vector<SignalValue>(17, Z));
    unsigned packed[3] = {0xdeadbeef, 0xdeadbeef, 0xdeadbeef};
    packSignals(17, wires.data(), packed);
    EXPECT_EQ(packed[0], 0x55555555u);
    EXPECT_EQ(packed[1], 0x1u) << "value 16 lands in bits 0-1 of the second word, the rest cleared";
    EXPECT_EQ(packed[2], 0xdeadbeefu) << "nothing written past the last word";

    set({O, U, X, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, O, X});
    packSignals(17, wires.data(), packed);
    EXPECT_EQ(packed[0], 0x80000000u | 0x15555540u | 0x30u | 0x2u);
    EXPECT_EQ(packed[1], 0x3u);
}

TEST_F(BusValues, UnpackingGivesBackEveryValueAndHizAsUnknown) {
    const std::vector<SignalValue> values = {O, Z, U, X, H, O, O, Z, X, U, Z, O, H, Z, O, O, X, Z, O};
    const std::vector<SignalValue> expected = {O, Z, U, X, X, O, O, Z, X, U, Z, O, X, Z, O, O, X, Z, O};
    set(values);
    unsigned packed[2];
    packSignals(static_cast<int>(values.size()), wires.data(), packed);
    std::vector<SignalValue> back(values.size(), H);
    unpackSignals(static_cast<int>(values.size()), packed, back.data());
    EXPECT_EQ(back, expected);
}

TEST(PackedStorage, NeverWrittenReadsAsUninitialized) {
    const unsigned blank[2] = {0, 0};
    std::vector<SignalValue> values(20, O);
    unpackSignals(20, blank, values.data());
    EXPECT_EQ(values, std::vector<SignalValue>(20, U));
}

TEST(StrobeProtocol, TransitionsOfEveryState) {
    const struct {
        int state;
        SignalValue enable, strobe;
        StrobeState next;
        bool fires;
    } cases[] = {
        // Fresh: handled at once as waiting for a binary enable.
        {strobeFresh, X, O, strobeAwaitingEnable, false},
        {strobeFresh, Z, Z, strobeArmed, false},
        {strobeFresh, O, O, strobeArmed, false},
        {strobeAwaitingEnable, U, O, strobeAwaitingEnable, false},
        {strobeAwaitingEnable, H, Z, strobeAwaitingEnable, false},
        {strobeAwaitingEnable, O, Z, strobeArmed, false},
        {strobeAwaitingEnable, Z, O, strobeArmed, false},
        // Armed: only a rising strobe counts; the enable is sampled at that moment.
        {strobeArmed, O, O, strobeHeldActed, true},
        {strobeArmed, Z, O, strobeHeldIgnored, false},
        {strobeArmed, X, O, strobeHeldIgnored, false},
        {strobeArmed, O, X, strobeArmed, false},
        {strobeArmed, O, Z, strobeArmed, false},
        // Held: wait for the strobe to return to ZERO.
        {strobeHeldIgnored, O, O, strobeHeldIgnored, false},
        {strobeHeldIgnored, O, X, strobeHeldIgnored, false},
        {strobeHeldIgnored, X, Z, strobeArmed, false},
        {strobeHeldActed, O, O, strobeHeldActed, false},
        {strobeHeldActed, O, H, strobeHeldActed, false},
        {strobeHeldActed, O, Z, strobeArmed, false},
        // A state word nobody set counts as fresh.
        {99, O, O, strobeArmed, false},
    };
    for (const auto &k : cases) {
        int state = k.state;
        EXPECT_EQ(strobeFires(state, k.enable, k.strobe), k.fires)
            << k.state << " " << signalValueName(k.enable) << " " << signalValueName(k.strobe);
        EXPECT_EQ(state, k.next) << k.state << " " << signalValueName(k.enable) << " "
                                 << signalValueName(k.strobe);
        uint8_t narrow = static_cast<uint8_t>(k.state);
        EXPECT_EQ(strobeFires(narrow, k.enable, k.strobe), k.fires);
        EXPECT_EQ(narrow, k.next);
    }
}

// A register's view over time: (enable, strobe) per evaluation, and whether it acted.
TEST(StrobeProtocol, ActsOncePerRisingEdgeWithTheEnableAtOne) {
    const struct {
        SignalValue enable, strobe;
        bool acts;
    } timeline[] = {
        {X, O, false},               // enable never binary since reset: ignored
        {O, O, false},               // enable becomes binary: armed, but not an edge yet
        {O, O, true},                // strobe seen at ONE while armed: acts
        {O, O, false},               // still high: no second action
        {O, Z, false},               // back to ZERO: armed
        {X, O, false},               // rises with the enable unknown: ignored
        {O, O, false},               // enable turning ONE while high does nothing
        {O, X, false},               // an unknown strobe changes nothing
        {O, Z, false}, {O, O, true}, // next clean rising edge acts
    };
    int state = strobeFresh;
    int step = 0;
    for (const auto &t : timeline)
        EXPECT_EQ(strobeFires(state, t.enable, t.strobe), t.acts) << "step " << step++;
}

} // namespace
