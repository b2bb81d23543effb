// Components are created, and signals declared, in a fixed order: the order
// gives the serial numbers and component indices that the probes, the
// schematic and the gold runs see.
#include "model/Memory.h"

#include <vector>

#include "components/msiPh1.h"
#include "components/ssiPh1.h"
#include "components/vlsiPh1.h"
#include "model/DataPath.h"
#include "model/Wiring.h"

using model::at;
using model::wire;

namespace {

struct RomWord {
    int address;
    uint16_t value;
};

// The program; every other word is zero.  Under the microprogram an
// instruction 0x0nnn loads AC from address nnn and 0x1nnn stores AC there.
constexpr RomWord program[] = {
    {0, 0x000A},  // AC := word 10 (0xAAAA)
    {1, 0x1048},  // word 0x048 (RAM word 8) := AC
    {2, 0x000B},  // AC := word 11 (0xFFFF)
    {3, 0x0048},  // AC := word 0x048, 0xAAAA again
    {10, 0xAAAA}, // data
    {11, 0xFFFF}, // data
};

// Two bytes a word, the high byte first, as the ROM reads them.
std::vector<unsigned char> programBytes() {
    std::vector<unsigned char> bytes;
    bytes.reserve(2 * memoryWords);
    for (const uint16_t word : programRom()) {
        bytes.push_back(static_cast<unsigned char>(word >> 8));
        bytes.push_back(static_cast<unsigned char>(word));
    }
    return bytes;
}

} // namespace

const std::array<uint16_t, memoryWords> &programRom() {
    static const std::array<uint16_t, memoryWords> words = [] {
        std::array<uint16_t, memoryWords> all{};
        for (const RomWord &w : program)
            all[w.address] = w.value;
        return all;
    }();
    return words;
}

void Comm(const SD &coord, const Signal &Phase, const Signal &RD, const Signal &WR, const Signal &MAR,
          const Signal &MBR, const Signal &MARData, const Signal &DataBusIn, const Signal &C,
          const Signal &MReq, const Signal &READ, const Signal &AddrBus, const Signal &MBROutput,
          const Signal &DataBusOut) {
    Module(coord, "Comm", (Phase, RD, WR, MAR, MBR, MARData, DataBusIn, C),
           (MReq, READ, AddrBus, MBROutput, DataBusOut));
    const Signal MuxOutput(16, "MuxOutput");
    const Signal marIn = wire("marIn"), triIn = wire("triIn"), MBRClock = wire("MBRClock"), or1 = wire("or1"),
                 notWR = wire("notWR"), and2 = wire("and2"), and1 = wire("and1"), notRD = wire("notRD");

    // MBR, from the data bus on a read, from C on a write.
    Mux(at(coord, "aa"), RD, (DataBusIn, C), MuxOutput);
    BASEREG16(at(coord, "aa"), MuxOutput, MBRClock, Zero, MBROutput);
    for (int i = 0; i < 16; ++i)
        Tsb(at(coord, "aa"), MBROutput[i], triIn, DataBusOut[i]);
    // MBR loads at Ph4 only when exactly one of RD and WR is set.
    Not(at(coord, "aa"), WR, notWR);
    Not(at(coord, "aa"), RD, notRD);
    And(at(coord, "aa"), (RD, notWR), and1);
    And(at(coord, "aa"), (WR, notRD), and2);
    Or(at(coord, "aa"), (and1, and2), or1);
    And(at(coord, "aa"), (or1, MBR, Phase[0]), MBRClock);
    Or(at(coord, "aa"), (RD, WR), MReq);
    And(at(coord, "aa"), (RD, notWR), READ);
    // The write-data drivers follow WR as it was when Ph2 began.
    Dff(at(coord, "aa"), (Zero, WR, Phase[2], Zero), triIn);
    // MAR loads from the B latch at Ph3.
    And(at(coord, "aa"), (MAR, Phase[1]), marIn);
    Register(at(coord, "aa"), One, marIn, MARData, AddrBus);
}

void Memory(const SD &coord, const Signal &Mreq, const Signal &Read, const Signal &Addr, const Signal &DataIn,
            const Signal &DataOut, const Signal &enTriROM, const Signal &enRAM, const Signal &RW,
            const Signal &enTriRAM) {
    Module(coord, "Memory", (Mreq, Read, Addr, DataIn), (DataOut, enTriROM, enRAM, RW, enTriRAM));
    const Signal _enTriROM = wire("_enTriROM"), notRead = wire("notRead"),
                 pre_enTriRAM = wire("pre_enTriRAM");
    const Signal romOut(16, "romOut");
    const Signal Ram1Out(8, "Ram1Out");
    const Signal nota6 = wire("nota6");
    const Signal Ram2Out(8, "Ram2Out");
    const Signal word = Addr.sub(5, 0);

    // The ROM answers a read of an address with bit 6 clear.
    Not(at(coord, "aa"), notRead, RW);
    Not(at(coord, "aa"), Addr[6], nota6);
    And(at(coord, "aa"), (Mreq, Read, nota6), enTriROM);
    for (int i = 0; i < 16; ++i)
        Tsb(at(coord, "ab"), romOut[i], enTriROM, DataOut[i]);
    const std::vector<unsigned char> bytes = programBytes();
    Rom(at(coord, "aa"), word, romOut, memoryWords, 16, bytes.data());
    // The RAM answers addresses with bit 6 set, its high byte in the first
    // chip; it stores as Read rises with the enable ONE.
    Not(at(coord, "aa"), Read, notRead);
    And(at(coord, "aa"), (Mreq, Addr[6]), enRAM);
    And(at(coord, "aa"), (Mreq, Addr[6], Read), pre_enTriRAM);
    Not(at(coord, "aa"), enTriROM, _enTriROM);
    And(at(coord, "aa"), (_enTriROM, pre_enTriRAM), enTriRAM);
    // Control from the top: write enable, write strobe, write address, read address.
    const Signal ramControl = (enRAM, Read, word, word);
    Ram(at(coord, "aa"), ramControl, DataIn.sub(15, 8), Ram1Out, memoryWords, 8, 6, 1, 1);
    Ram(at(coord, "aa"), ramControl, DataIn.sub(7, 0), Ram2Out, memoryWords, 8, 6, 1, 1);
    for (int i = 0; i < 8; ++i)
        Tsb(at(coord, "ac"), Ram1Out[i], enTriRAM, DataOut[8 + i]);
    for (int i = 0; i < 8; ++i)
        Tsb(at(coord, "ac"), Ram2Out[i], enTriRAM, DataOut[i]);
}
