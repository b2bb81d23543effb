// A RAM written once and read back, and a ROM, both addressed by a clock:
// word 1 of the RAM is written when the power-on strobe rises, while the
// clock alternates the read address between the empty word 0 and word 1.
#include "components/ssiPh1.h"
#include "components/vlsiPh1.h"

namespace {
// Word 0 is 0x2AA; word 1 is 0x155, the high bits of its first byte ignored.
const unsigned char romContents[] = {0x02, 0xAA, 0xFD, 0x55};
} // namespace

void simnet() {
    const Signal clk(1, "Clk"), strobe(1, "Strobe"), ramOut(4, "RamOut"), romOut(10, "RomOut");
    Clock(SD("aa", nullptr), clk, 20, 0, 40, Zero);
    PowerOn(SD("ab", nullptr), strobe, 30, Zero);
    // Read address (Zero, clk); write port: address 1, strobe, enable One.
    const Signal control = (One, strobe, (Zero, One), (Zero, clk));
    // Write data 0xB.
    Ram(SD("ba", nullptr), control, (One, Zero, One, One), ramOut, 4, 4, 2, 1, 1);
    Rom(SD("ca", nullptr), clk, romOut, 2, 10, romContents);
    ProbeH(SD("bb", nullptr), ramOut, "ram");
    ProbeH(SD("cb", nullptr), romOut, "rom");
}
