// Memories: registration and bus layout, the capture errors, the read-only
// memory's byte layout, and the multi-port memory through the kernel (reads
// queued 10 units after each evaluation, writes by the strobe protocol, the
// store cleared by every reset, and its run-time messages).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Harness.h"
#include "components/RTSigSup.h"
#include "components/vlsiPh1.h"
#include "components/vlsiRT.h"
#include "core/Event.h"
#include "core/Ph1.h"
#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/Ph4.h"
#include "core/Sim.h"
#include "display/iconData.h"

namespace {

constexpr SignalValue Z = ZERO, U = UNINITIALIZED, X = XXX, H = HIZ, O = ONE;

using Values = std::vector<SignalValue>;

// The bits of number, lowest first.
Values bitsOf(unsigned number, int width) {
    Values bits;
    for (int b = 0; b < width; ++b)
        bits.push_back((number >> b) & 1u ? O : Z);
    return bits;
}

// width copies of v.
Values all(SignalValue v, int width) {
    return Values(width, v);
}

// The present values of bus positions from .. from + width - 1.
Values presentValues(const Signal &bus, int from, int width) {
    Values values;
    for (int b = 0; b < width; ++b)
        values.push_back(phaseThree->currentSignals[bus.serialNumber[from + b]]);
    return values;
}

// Queues values for bus positions from onward to take effect at time at, as a
// driver outside the circuit would.
void setAt(const Signal &bus, int from, const Values &values, unsigned long at) {
    for (size_t b = 0; b < values.size(); ++b)
        phaseFour->skewHeap.add(at, signalChange, bus.serialNumber[from + static_cast<int>(b)], values[b]);
}

// ---- Registration ----

TEST(MemoryCapture, RegistrationTable) {
    freshHeadlessNetlist();
    // The documented layout: two read ports and one write port with 4-bit
    // addresses over 16-bit words take 14 control positions.
    const Signal control(14, "C"), data(16, "D"), out(32, "Q");
    const Signal address(3, "A"), word(12, "W");
    const unsigned char contents[16] = {0x0A, 0xBC};
    RegisterFile(SD("aa", nullptr), control, data, out, 16, 16, 4, 2, 1);
    Ram(SD("ab", nullptr), control, data, out, 10, 16, 4, 2, 1);
    Ram(SD("ac", "Mem"), Signal(10, "C10"), Signal(34, "D34"), Signal(17, "Q17"), 4, 17, 2, 1, 2);
    Rom(SD("ad", nullptr), address, word, 8, 12, contents);
    EXPECT_EQ(phaseOne->fatalDiagnosticCount, 0);
    const struct {
        const char *decal;
        ComponentFunction evaluate;
        std::vector<int> parameters;
        int internal32, internal8;
        size_t dataInputs, controlInputs, outputs, bytes;
    } expected[] = {
        // words, width, P, R, W, store words per word, store size, word 0 ZERO;
        // 32-bit variables: the store and one unpacked word
        {"RegFile", multiPortRam, {16, 16, 4, 2, 1, 1, 16, 1}, 16 + 16, 1, 16, 14, 32, 0},
        {"Ram", multiPortRam, {10, 16, 4, 2, 1, 1, 10, 0}, 10 + 16, 1, 16, 14, 32, 0},
        {"Mem", multiPortRam, {4, 17, 2, 1, 2, 2, 8, 0}, 8 + 17, 2, 34, 10, 17, 0},
        {"Rom", rom, {8, 12, 2}, 0, 0, 3, 0, 12, 16},
    };
    expectPlainCaptures(expected, [](const ComponentNode &n, const auto &e) {
        EXPECT_EQ(n.integerParameters, e.parameters) << e.decal;
        EXPECT_EQ(n.numberOfInternal32BitVariables, e.internal32) << e.decal;
        EXPECT_EQ(n.numberOfInternal16BitVariables, 0) << e.decal;
        EXPECT_EQ(n.numberOfInternal8BitVariables, e.internal8) << e.decal;
        EXPECT_EQ(n.dataInputs.size(), e.dataInputs) << e.decal;
        EXPECT_EQ(n.controlInputs.size(), e.controlInputs) << e.decal;
        EXPECT_EQ(n.outputs.size(), e.outputs) << e.decal;
        EXPECT_EQ(n.byteParameters.size(), e.bytes) << e.decal;
    });
    const auto nodes = captured();
    ASSERT_GT(nodes.size(), 3u);
    EXPECT_EQ(nodes[3]->byteParameters[0], 0x0A);
    EXPECT_EQ(nodes[3]->byteParameters[1], 0xBC);
}

// ---- Capture errors ----

const CountedCapture captureErrors[] = {
    {"register file, every bus wrong",
     [] {
         RegisterFile(SD("aa", "Regs"), Signal(13, "C"), Signal(15, "D"), Signal(31, "Q"), 16, 16, 4, 2, 1);
     },
     "Error--RegisterFile Regs at aa: I/O length error\n"
     " dataIn.length = 15 should match: 16\n"
     " controlIn.length = 13 should match: 14\n"
     " out.length = 31 should match: 32\n"},
    {"ram without a decal, only out wrong",
     [] { Ram(SD("ab", nullptr), Signal(14, "C"), Signal(16, "D"), Signal(16, "Q"), 16, 16, 4, 2, 1); },
     "Error--Ram  at ab: I/O length error\n"
     " dataIn.length = 16 should match: 16\n"
     " controlIn.length = 14 should match: 14\n"
     " out.length = 16 should match: 32\n"},
    {"rom with too few address bits",
     [] { Rom(SD("ac", nullptr), Signal(2, "A"), Signal(12, "W"), 8, 12, nullptr); },
     "I/O length error--Rom  at ac in.length = 2 words = 8 out.length = 12 bitsPerWord = 12 "
     "allocatedBytesPerWord = 2\n"},
    {"rom with a decal and a wrong word width",
     [] { Rom(SD("ad", "Boot"), Signal(3, "A"), Signal(9, "W"), 8, 8, nullptr); },
     "I/O length error--Rom Boot at ad in.length = 3 words = 8 out.length = 9 bitsPerWord = 8 "
     "allocatedBytesPerWord = 1\n"},
    {"rom with a 40-bit address",
     [] { Rom(SD("ae", nullptr), Signal(40, "A"), Signal(1, "W"), 0, 1, nullptr); },
     "I/O length error--Rom  at ae in.length = 40 words = 0 out.length = 1 bitsPerWord = 1 "
     "allocatedBytesPerWord = 1\n"},
};

TEST(MemoryCapture, LengthErrorsAreCountedAndTheComponentIsStillRegistered) {
    expectEachCounted({std::begin(captureErrors), std::end(captureErrors)});
}

TEST(MemoryCapture, CountedErrorsStopTheProgramAfterTheBuild) {
    freshHeadlessNetlist();
    std::string expected;
    for (const CountedCapture &k : captureErrors)
        expected += k.message;
    expected += std::to_string(std::size(captureErrors)) + " Fatal Diagnostic(s)--Can't Continue.\n";
    EXPECT_EXIT(
        {
            for (const CountedCapture &k : captureErrors)
                k.capture();
            ConversionOptions options;
            options.checkConnectivity = false;
            options.openDisplay = false;
            convertCapturedNetlist(options);
        },
        testing::ExitedWithCode(1), exactly(expected));
}

// ---- Read-only memory ----

struct RomCase {
    const char *what;
    int bitsPerWord;
    std::vector<unsigned char> contents; // two words
    Values address;                      // one bit: word 0 or 1
    Values expected;
};

TEST(RomRuntime, ByteLayoutAndIndeterminateAddresses) {
    const RomCase cases[] = {
        {"12 bits from 0x0A 0xBC", 12, {0x0A, 0xBC, 0, 0}, {Z}, bitsOf(0xABC, 12)},
        {"second word, high bits of the first byte ignored", 12, {0, 0, 0xF5, 0x01}, {O}, bitsOf(0x501, 12)},
        {"one byte per word", 8, {0x5A, 0xC3}, {O}, bitsOf(0xC3, 8)},
        {"3 bits of 0xFE", 3, {0x00, 0xFE}, {O}, bitsOf(6, 3)},
        {"17 bits over three bytes", 17, {0x01, 0x80, 0x01, 0, 0, 0}, {Z}, bitsOf(0x18001, 17)},
        {"HIZ address bit", 12, {0x0A, 0xBC, 0, 0}, {H}, all(X, 12)},
        {"UNINITIALIZED address bit", 8, {0x5A, 0xC3}, {U}, all(X, 8)},
        {"XXX address bit", 8, {0x5A, 0xC3}, {X}, all(X, 8)},
    };
    for (const RomCase &k : cases) {
        freshHeadlessNetlist();
        const Signal address(1, "A"), word(k.bitsPerWord, "W");
        Rom(SD("aa", nullptr), address, word, 2, k.bitsPerWord, k.contents.data());
        convertNetlist();
        resetCircuit();
        setAt(address, 0, k.address, 1);
        runUntil(1 + 23);
        EXPECT_EQ(presentValues(word, 0, k.bitsPerWord), k.expected) << k.what;
    }
}

TEST(RomRuntime, DrivesWithTheMemoryDelays) {
    freshHeadlessNetlist();
    const Signal address(1, "A"), word(8, "W");
    const unsigned char contents[] = {0x00, 0x01};
    Rom(SD("aa", nullptr), address, word, 2, 8, contents);
    convertNetlist();
    resetCircuit();
    runUntil(50); // the address is UNINITIALIZED: all XXX
    setAt(address, 0, {O}, 100);
    EXPECT_EQ(runAndTrace(word.serialNumber[0], 200), (std::vector<Change>{{123, O}}));
    setAt(address, 0, {Z}, 300);
    EXPECT_EQ(runAndTrace(word.serialNumber[0], 400), (std::vector<Change>{{317, X}, {323, Z}}));
}

// ---- Multi-port memory ----

// A multi-port memory with R read ports and W write ports over P-bit
// addresses, its buses named, and the protocol of a write as helpers.
struct MemoryRig {
    // The netlist is fresh before the buses are made.
    const bool fresh = (freshHeadlessNetlist(), true);
    int words, width, P, R, W;
    Signal control, data, out;

    MemoryRig(bool registerFile, int words, int width, int P, int R, int W, const char *decal = nullptr)
        : words(words), width(width), P(P), R(R), W(W), control(W * (P + 2) + R * P, "C"),
          data(W * width, "D"), out(R * width, "Q") {
        (registerFile ? RegisterFile : Ram)(SD("aa", decal), control, data, out, words, width, P, R, W);
        convertNetlist();
        resetCircuit();
        // Every port addresses word 0 with its strobe and enable ZERO.
        setAt(control, 0, all(Z, control.length), 1);
        runUntil(20);
    }
    int writeBase(int w) const { return R * P + w * (P + 2); }

    void readAddress(int r, unsigned address, unsigned long at) {
        setAt(control, r * P, bitsOf(address, P), at);
    }
    void writeAddress(int w, const Values &address, unsigned long at) {
        setAt(control, writeBase(w), address, at);
    }
    void strobe(int w, SignalValue v, unsigned long at) { setAt(control, writeBase(w) + P, {v}, at); }
    void enable(int w, SignalValue v, unsigned long at) { setAt(control, writeBase(w) + P + 1, {v}, at); }
    void writeData(int w, const Values &bits, unsigned long at) { setAt(data, w * width, bits, at); }

    // Port w writes bits at address: address, data and enable at `at`, the
    // strobe up at at + 1 and down at at + 2; runs to at + 20.
    void write(int w, const Values &address, const Values &bits, unsigned long at) {
        writeAddress(w, address, at);
        writeData(w, bits, at);
        enable(w, O, at);
        strobe(w, O, at + 1);
        strobe(w, Z, at + 2);
        runUntil(at + 20);
    }
    void write(int w, unsigned address, const Values &bits, unsigned long at) {
        write(w, bitsOf(address, P), bits, at);
    }
    // What read port r shows at `at` + 20 for address.
    Values read(int r, unsigned address, unsigned long at) {
        readAddress(r, address, at);
        runUntil(at + 20);
        return presentValues(out, r * width, width);
    }
};

TEST(MultiPortRam, ReadsUninitializedTenUnitsAfterTheEvaluation) {
    MemoryRig m(false, 4, 3, 2, 1, 0);
    // An indeterminate address reads XXX, then word 2, never written:
    // each straight to its value, no XXX phase, exactly 10 units later.
    setAt(m.control, 0, {X, O}, 30);
    m.readAddress(0, 2, 50);
    EXPECT_EQ(runAndTrace(m.out.serialNumber[0], 100), (std::vector<Change>{{40, X}, {60, U}}));
    EXPECT_EQ(presentValues(m.out, 0, 3), all(U, 3));
}

TEST(MultiPortRam, WordZeroOfARegisterFileReadsZero) {
    const struct {
        bool registerFile;
        Values word0, word1;
    } cases[] = {
        {true, all(Z, 4), all(O, 4)},
        {false, all(O, 4), all(O, 4)},
    };
    for (const auto &k : cases) {
        MemoryRig m(k.registerFile, 4, 4, 2, 1, 1);
        m.write(0, 0u, all(O, 4), 100);
        m.write(0, 1u, all(O, 4), 200);
        EXPECT_EQ(m.read(0, 0, 300), k.word0) << k.registerFile;
        EXPECT_EQ(m.read(0, 1, 400), k.word1) << k.registerFile;
    }
}

TEST(MultiPortRam, TheControlLayoutOfTwoReadPortsAndOneWritePort) {
    // Read addresses at 0-3 and 4-7, write address 8-11, strobe 12, enable 13.
    MemoryRig m(false, 16, 16, 4, 2, 1);
    m.readAddress(0, 5, 50);
    m.readAddress(1, 9, 50);
    runUntil(70);
    setAt(m.control, 8, bitsOf(9, 4), 100);
    setAt(m.data, 0, bitsOf(0xBEEF, 16), 100);
    setAt(m.control, 13, {O}, 100);
    setAt(m.control, 12, {O}, 101);
    runUntil(120);
    EXPECT_EQ(presentValues(m.out, 0, 16), all(U, 16));
    EXPECT_EQ(presentValues(m.out, 16, 16), bitsOf(0xBEEF, 16));
    m.readAddress(0, 9, 200);
    runUntil(220);
    EXPECT_EQ(presentValues(m.out, 0, 16), bitsOf(0xBEEF, 16));
}

TEST(MultiPortRam, DataBitsAreStoredAsTheirValuesWithHizAsXxx) {
    MemoryRig m(false, 4, 5, 2, 1, 1);
    m.write(0, 3u, {O, Z, O, Z, O}, 100);
    m.write(0, 3u, {O, H, X, U, Z}, 200);
    EXPECT_EQ(m.read(0, 3, 300), (Values{O, X, X, U, Z}));
    // A wide word spans two packed words; both halves keep their bits.
    MemoryRig wide(false, 2, 20, 1, 1, 1);
    Values bits = bitsOf(0xA5A5A, 20);
    bits[16] = H;
    wide.write(0, 1u, bits, 100);
    bits[16] = X;
    EXPECT_EQ(wide.read(0, 1, 200), bits);
}

TEST(MultiPortRam, AddressesBeyondTheLastWordReadXxxAndWriteNothing) {
    MemoryRig m(false, 3, 4, 2, 1, 1, "Scratch");
    m.write(0, 2u, bitsOf(0x9, 4), 100);
    testing::internal::CaptureStderr();
    m.write(0, 3u, bitsOf(0x6, 4), 200);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR-- Scratch at aa componentNumber = 0 write address 3 is beyond the last word "
              "(numberOfWords = 3); nothing is stored.\n");
    EXPECT_EQ(m.read(0, 3, 300), all(X, 4));
    EXPECT_EQ(m.read(0, 2, 400), bitsOf(0x9, 4));
}

TEST(MultiPortRam, AnIndeterminateWriteAddressIsReportedAndStoresNothing) {
    MemoryRig m(false, 4, 4, 2, 1, 1);
    m.write(0, 1u, bitsOf(0x3, 4), 100);
    m.readAddress(0, 1, 150);
    testing::internal::CaptureStderr();
    m.write(0, Values{O, X}, bitsOf(0xC, 4), 200);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR-- Ram at aa componentNumber = 0\n"
              "     Attempt to write with indeterminate write-port address.\n"
              "     The component is probably enabled when it shouldn't be.\n");
    EXPECT_EQ(presentValues(m.out, 0, 4), bitsOf(0x3, 4));
    // The port goes on with the protocol: the next strobe writes.
    m.write(0, 1u, bitsOf(0xC, 4), 300);
    EXPECT_EQ(presentValues(m.out, 0, 4), bitsOf(0xC, 4));
}

TEST(MultiPortRam, WritesFollowTheStrobeProtocol) {
    MemoryRig m(false, 4, 2, 2, 1, 1);
    m.readAddress(0, 2, 50);
    m.writeAddress(0, bitsOf(2, 2), 50);
    m.writeData(0, {O, O}, 50);
    // The strobe rises while the enable is XXX: nothing; the enable becomes ONE
    // while the strobe stays up: still nothing.
    m.enable(0, X, 100);
    m.strobe(0, O, 101);
    m.enable(0, O, 102);
    runUntil(150);
    EXPECT_EQ(presentValues(m.out, 0, 2), all(U, 2));
    // Held strobe after a write: one state for both outcomes.
    m.strobe(0, Z, 200);
    m.strobe(0, O, 201);
    runUntil(250);
    EXPECT_EQ(presentValues(m.out, 0, 2), all(O, 2));
    EXPECT_EQ(phaseTwo->internal8BitVariables[0][0], static_cast<uint8_t>(strobeHeldIgnored));
}

TEST(MultiPortRam, TheHigherWritePortWinsAWordWrittenByBoth) {
    MemoryRig m(false, 4, 3, 2, 1, 2);
    for (int w = 0; w < 2; ++w) {
        m.writeAddress(w, bitsOf(1, 2), 100);
        m.writeData(w, bitsOf(w == 0 ? 0x5 : 0x2, 3), 100);
        m.enable(w, O, 100);
        m.strobe(w, O, 101);
    }
    runUntil(120);
    EXPECT_EQ(m.read(0, 1, 200), bitsOf(0x2, 3));
}

TEST(MultiPortRam, ARestartEmptiesTheStore) {
    for (const bool registerFile : {false, true}) {
        MemoryRig m(registerFile, 4, 4, 2, 1, 1);
        m.write(0, 2u, bitsOf(0xF, 4), 100);
        EXPECT_EQ(m.read(0, 2, 200), bitsOf(0xF, 4));
        resetCircuit(); // as F1 does
        setAt(m.control, 0, all(Z, m.control.length), 1);
        runUntil(20);
        EXPECT_EQ(m.read(0, 2, 100), all(U, 4)) << registerFile;
        // And it stores again after the restart.
        m.write(0, 2u, bitsOf(0x6, 4), 200);
        EXPECT_EQ(presentValues(m.out, 0, 4), bitsOf(0x6, 4)) << registerFile;
    }
}

TEST(MultiPortRam, ReadsAtTheEndOfTimeAreQueuedAtTheLatestTime) {
    MemoryRig m(false, 4, 3, 2, 1, 0);
    runUntil(PhaseFour::latestTime); // drains the queue
    ASSERT_EQ(phaseFour->skewHeap.getLength(), 0);
    phaseFour->time = PhaseFour::latestTime - 4;
    phaseTwo->logicEvaluate[0](0);
    ASSERT_EQ(phaseFour->skewHeap.getLength(), 3);
    EXPECT_EQ(phaseFour->skewHeap.root->time, PhaseFour::latestTime);
}

} // namespace
