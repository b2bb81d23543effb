// Every length error of the memories in one circuit: each is reported, and
// the run stops after the build because of their count.
#include "components/vlsiPh1.h"

void simnet() {
    const Signal c13(13, "C"), d15(15, "D"), q31(31, "Q"), c14(14, "C14"), d16(16, "D16"), q16(16, "Q16");
    // Two read ports and one write port of 4-bit addresses over 16-bit words
    // need 14 control, 16 data and 32 output positions.
    RegisterFile(SD("aa", "Regs"), c13, d15, q31, 16, 16, 4, 2, 1);
    Ram(SD("ab", nullptr), c14, d16, q16, 16, 16, 4, 2, 1);
    const Signal a2(2, "A"), w12(12, "W"), w9(9, "W9");
    const unsigned char contents[16] = {};
    Rom(SD("ac", nullptr), a2, w12, 8, 12, contents);
    Rom(SD("ad", "Boot"), Signal(3, "A3"), w9, 8, 8, contents);
}
