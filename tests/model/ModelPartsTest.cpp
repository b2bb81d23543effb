// The computer's blocks, each built by its own build function inside a small
// test circuit and run in-process: the ALU and shifter function tables, the
// control unit's branch conditions, the memory map and the memory interface's
// request lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "ModelHarness.h"
#include "components/ssiPh1.h"
#include "model/AluShifter.h"
#include "model/Memory.h"
#include "model/MicroControl.h"

namespace {

// The serial numbers of a bus of the circuit under test, entry 0 its bit 0.
// Buses are made inside the build, once the test's netlist exists.
using Bus = std::vector<int>;

// A constant bus of width bits holding value.
Signal constant(unsigned width, uint32_t value, const char *name) {
    return Signal(width, value, name);
}

struct AluCase {
    uint32_t a, b, code;
    uint32_t s;
    SignalValue n, z;
};

TEST(ModelAlu, FunctionTableAndFlags) {
    const AluCase cases[] = {
        {0xFFFF, 0x0001, 0, 0x0000, ZERO, ONE}, // the carry out of bit 15 is lost
        {0x7FFF, 0x0001, 0, 0x8000, ONE, ZERO},  {0x1234, 0x4321, 0, 0x5555, ZERO, ZERO},
        {0x00FF, 0x0001, 0, 0x0100, ZERO, ZERO}, // a carry rippling through eight slices
        {0xF0F0, 0xFF00, 1, 0xF000, ONE, ZERO},  {0x0F0F, 0xF0F0, 1, 0x0000, ZERO, ONE},
        {0x8421, 0xFFFF, 2, 0x8421, ONE, ZERO}, // b is ignored
        {0x0000, 0x1234, 2, 0x0000, ZERO, ONE},  {0xFFFF, 0x0000, 3, 0x0000, ZERO, ONE},
        {0x00FF, 0x1234, 3, 0xFF00, ONE, ZERO},
    };
    for (const AluCase &c : cases) {
        Bus s, n, z;
        startHeadless([&] {
            const Signal sum(16, "s"), negative(1, "N"), zero(1, "Z");
            ALU16(SD("aa", nullptr), constant(16, c.a, "a"), constant(16, c.b, "b"), constant(2, c.code, "c"),
                  sum, negative, zero);
            s = sum.serialNumber, n = negative.serialNumber, z = zero.serialNumber;
        });
        SCOPED_TRACE(testing::Message() << std::hex << "a " << c.a << " b " << c.b << " code " << c.code);
        EXPECT_EQ(wordOf(s), c.s);
        EXPECT_EQ(valueOf(n[0]), c.n);
        EXPECT_EQ(valueOf(z[0]), c.z);
    }
}

TEST(ModelShifter, FunctionTable) {
    const struct {
        uint32_t a, code, s;
    } cases[] = {
        {0x8001, 0, 0x8001}, {0x8001, 1, 0x4000}, {0x8001, 2, 0x0002},
        {0xFFFF, 1, 0x7FFF}, {0xFFFF, 2, 0xFFFE}, {0xFFFF, 3, 0x0000},
    };
    for (const auto &c : cases) {
        Bus s;
        startHeadless([&] {
            const Signal shifted(16, "s");
            SHIFTER16(SD("aa", nullptr), constant(16, c.a, "a"), constant(2, c.code, "c"), shifted);
            s = shifted.serialNumber;
        });
        EXPECT_EQ(wordOf(s), c.s) << std::hex << c.a << " code " << c.code;
    }
}

// An undriven code keeps the decoders, and so every result bit, at XXX.
TEST(ModelAlu, IndeterminateCodeGivesXxx) {
    Bus s, z, shifted;
    startHeadless([&] {
        const Signal sum(16, "s"), negative(1, "N"), zero(1, "Z"), shifterOut(16, "shifted"), code(2, "code");
        ALU16(SD("aa", nullptr), constant(16, 0, "a"), constant(16, 0, "b"), code, sum, negative, zero);
        SHIFTER16(SD("ab", nullptr), constant(16, 0xFFFF, "a2"), code, shifterOut);
        s = sum.serialNumber, z = zero.serialNumber, shifted = shifterOut.serialNumber;
    });
    for (int bit = 0; bit < 16; ++bit) {
        EXPECT_EQ(valueOf(s[bit]), XXX) << bit;
        EXPECT_EQ(valueOf(shifted[bit]), XXX) << bit;
    }
    EXPECT_EQ(valueOf(z[0]), XXX);
}

// The control unit with its inputs on switches: 'r' Reset, 'n' N, 'z' Z,
// '1' the Ph1 line and '4' the Ph4 line.
struct ControlUnit {
    Bus n, z, branch, mir, mpc;

    void build() {
        const Signal reset(1, "Reset"), negative(1, "N"), zero(1, "Z"), ph1(1, "Ph1"), ph4(1, "Ph4");
        const Signal branchOut(1, "branch"), mirOut(32, "MIR"), mpcOut(8, "MPC");
        Switch(SD("aa", nullptr), reset, 'r', Zero, "");
        Switch(SD("ab", nullptr), negative, 'n', Zero, "");
        Switch(SD("ac", nullptr), zero, 'z', Zero, "");
        Switch(SD("ad", nullptr), ph1, '1', Zero, "");
        Switch(SD("ae", nullptr), ph4, '4', Zero, "");
        MIC_Comp(SD("ba", nullptr), reset, negative, zero, (ph1, Zero, Zero, ph4), branchOut, mirOut, mpcOut);
        n = negative.serialNumber, z = zero.serialNumber, branch = branchOut.serialNumber;
        mir = mirOut.serialNumber, mpc = mpcOut.serialNumber;
    }
    // MIR takes the word at address, with the flags set as given.
    void load(uint32_t address, SignalValue nValue, SignalValue zValue) {
        forceAndSettle(mpc, address);
        pressAndSettle("11");
        if (valueOf(n[0]) != nValue)
            pressAndSettle("n");
        if (valueOf(z[0]) != zValue)
            pressAndSettle("z");
    }
};

TEST(ModelControl, BranchConditionsAndNextAddress) {
    const struct {
        uint32_t address; // the word's condition and NA in the comment
        SignalValue n, z, branch;
        uint32_t next;
    } cases[] = {
        {0, ONE, ONE, ZERO, 1},                               // none: never, whatever NA holds
        {2, ONE, ZERO, ONE, 31},                              // if N goto 31
        {2, ZERO, ONE, ZERO, 3},    {26, ZERO, ONE, ONE, 22}, // if Z goto 22
        {26, ONE, ZERO, ZERO, 27},  {8, ZERO, ZERO, ONE, 0},  // goto 0
        {81, ONE, ONE, ONE, 75},                              // goto 75
        {100, ONE, ONE, ZERO, 101},                           // beyond the program: no operation
    };
    ControlUnit unit;
    startHeadless([&] { unit.build(); });
    for (const auto &c : cases) {
        unit.load(c.address, c.n, c.z);
        EXPECT_EQ(wordOf(unit.mir), controlStore()[c.address]) << c.address;
        EXPECT_EQ(valueOf(unit.branch[0]), c.branch) << c.address;
        pressAndSettle("44");
        EXPECT_EQ(wordOf(unit.mpc), c.next) << c.address;
    }
}

TEST(ModelControl, ResetHoldsMpcAtZeroAndXxxPropagates) {
    ControlUnit unit;
    startHeadless([&] { unit.build(); });
    pressAndSettle("1"); // MIR takes the word at an indeterminate address
    EXPECT_EQ(valueOf(unit.mir[31]), XXX);
    EXPECT_EQ(valueOf(unit.branch[0]), XXX);
    pressAndSettle("r44");
    EXPECT_EQ(wordOf(unit.mpc), 0u);
    pressAndSettle("44");
    EXPECT_EQ(wordOf(unit.mpc), 0u) << "held while Reset is ONE";
}

// The memory with its inputs on switches: 'm' Mreq, 'r' Read, 'A'...'P' the
// address from bit 15 down, 'a'...'p' the write data.
struct MemoryUnit {
    Bus mreq, read, addr, dataIn, dataOut;

    void build() {
        const Signal request(1, "Mreq"), strobe(1, "Read"), address(16, "Addr"), data(16, "DataIn");
        const Signal out(16, "DataOut"), enTriRom(1, "enTriROM"), enRam(1, "enRAM"), rw(1, "RW"),
            enTriRam(1, "enTriRAM");
        Switch(SD("aa", nullptr), request, 'm', Zero, "");
        Switch(SD("ab", nullptr), strobe, 'r', Zero, "");
        Switch(SD("ac", nullptr), address, 'A', Zero, "");
        Switch(SD("ad", nullptr), data, 'a', Zero, "");
        Memory(SD("ba", nullptr), request, strobe, address, data, out, enTriRom, enRam, rw, enTriRam);
        mreq = request.serialNumber, read = strobe.serialNumber, addr = address.serialNumber;
        dataIn = data.serialNumber, dataOut = out.serialNumber;
    }
    // A read request of address, made from idle as the computer makes one:
    // the strobe Read rises before the request, so the enable comes too late
    // for a store.  Returns what the memory drives onto its data bus.
    std::optional<uint32_t> readWord(uint32_t address) {
        setSwitches('m', mreq, 0);
        setSwitches('r', read, 0);
        setSwitches('A', addr, address);
        setSwitches('r', read, 1);
        setSwitches('m', mreq, 1);
        return wordOf(dataOut);
    }
    // A store as the computer makes one: the strobe Read rises while the
    // request and the address are already there.
    void store(uint32_t address, uint32_t data) {
        setSwitches('r', read, 0);
        setSwitches('A', addr, address);
        setSwitches('a', dataIn, data);
        setSwitches('m', mreq, 1);
        setSwitches('r', read, 1);
    }
};

TEST(ModelMemory, MapAndStores) {
    MemoryUnit memory;
    startHeadless([&] { memory.build(); });
    for (int bit = 0; bit < 16; ++bit)
        EXPECT_EQ(valueOf(memory.dataOut[bit]), HIZ) << "no request: undriven, bit " << bit;

    EXPECT_EQ(memory.readWord(0x000A), 0xAAAAu) << "ROM word 10";
    EXPECT_EQ(memory.readWord(0x008B), 0xFFFFu) << "ROM word 11 through address bit 7";
    EXPECT_EQ(memory.readWord(0x003F), 0x0000u) << "ROM word 63";
    EXPECT_EQ(memory.readWord(0x0048), std::nullopt) << "RAM word 8 before any store";

    memory.store(0x0048, 0x1234);
    EXPECT_EQ(memory.readWord(0x00C8), 0x1234u) << "0x00C8 is RAM word 8 too";
    EXPECT_EQ(memory.readWord(0x0040), std::nullopt) << "RAM word 0, never stored";

    memory.store(0x000B, 0x5555);
    EXPECT_EQ(memory.readWord(0x000B), 0xFFFFu) << "a ROM address stores nothing";
    EXPECT_EQ(memory.readWord(0x004B), std::nullopt) << "... and nothing in RAM";
    EXPECT_EQ(memory.readWord(0x0048), 0x1234u);
}

// The memory interface with its inputs on switches: '1'...'4' the phase
// lines Ph1 (Phase[3]) to Ph4 (Phase[0]), 'r' RD, 'w' WR, 'a' MA and 'b' MB;
// constant data on the B latch, the data bus and the C bus.
struct InterfaceUnit {
    static constexpr uint32_t bLatch = 0x0048, dataBus = 0x1234, cBus = 0x5678;
    Bus mreq, read, addrBus, mbr, commOut;

    void build() {
        const Signal phase(4, "Phase"), rd(1, "RD"), wr(1, "WR"), ma(1, "MA"), mb(1, "MB");
        const Signal request(1, "MReq"), readLine(1, "READ"), mar(16, "AddrBus"), buffer(16, "mbr"),
            out(16, "CommOut");
        Switch(SD("aa", nullptr), phase, '1', Zero, "");
        Switch(SD("ab", nullptr), rd, 'r', Zero, "");
        Switch(SD("ac", nullptr), wr, 'w', Zero, "");
        Switch(SD("ad", nullptr), ma, 'a', Zero, "");
        Switch(SD("ae", nullptr), mb, 'b', Zero, "");
        Comm(SD("ba", nullptr), phase, rd, wr, ma, mb, constant(16, bLatch, "BLatch"),
             constant(16, dataBus, "DataBus"), constant(16, cBus, "C"), request, readLine, mar, buffer, out);
        mreq = request.serialNumber, read = readLine.serialNumber, addrBus = mar.serialNumber;
        mbr = buffer.serialNumber, commOut = out.serialNumber;
    }
    bool commOutUndriven() const {
        return std::all_of(commOut.begin(), commOut.end(), [](int s) { return valueOf(s) == HIZ; });
    }
};

TEST(ModelInterface, RequestsAndLoads) {
    InterfaceUnit unit;
    startHeadless([&] { unit.build(); });
    EXPECT_EQ(wordOf(unit.commOut), std::nullopt) << "the drivers are undecided before the first Ph2";

    pressAndSettle("rwb44"); // both requests: a request, no read, no load
    EXPECT_EQ(valueOf(unit.mreq[0]), ONE);
    EXPECT_EQ(valueOf(unit.read[0]), ZERO);
    EXPECT_EQ(wordOf(unit.mbr), std::nullopt) << "MBR has never loaded";

    pressAndSettle("w44"); // a read: MBR takes the data bus at Ph4
    EXPECT_EQ(valueOf(unit.read[0]), ONE);
    EXPECT_EQ(wordOf(unit.mbr), InterfaceUnit::dataBus);

    pressAndSettle("rw44"); // a write: MBR takes C, driven out from the next Ph2
    EXPECT_EQ(wordOf(unit.mbr), InterfaceUnit::cBus);
    EXPECT_TRUE(unit.commOutUndriven());
    pressAndSettle("22");
    EXPECT_EQ(wordOf(unit.commOut), InterfaceUnit::cBus);
    pressAndSettle("w");
    EXPECT_EQ(wordOf(unit.commOut), InterfaceUnit::cBus) << "held until the next Ph2";
    pressAndSettle("22");
    EXPECT_TRUE(unit.commOutUndriven());

    pressAndSettle("44"); // MB without a request loads nothing
    EXPECT_EQ(wordOf(unit.mbr), InterfaceUnit::cBus);

    EXPECT_EQ(wordOf(unit.addrBus), std::nullopt) << "MAR has never loaded";
    pressAndSettle("33");
    EXPECT_EQ(wordOf(unit.addrBus), std::nullopt) << "Ph3 without MA";
    pressAndSettle("a33");
    EXPECT_EQ(wordOf(unit.addrBus), InterfaceUnit::bLatch);
}

} // namespace
