// Every capture length error of the medium-scale, console and memory
// components in one circuit: each is reported and counted, capture goes on,
// and the run stops after conversion with the number of errors.
#include "components/msiPh1.h"
#include "components/vlsiPh1.h"

namespace {

void mediumScaleErrors() {
    const Signal a(3, "a"), b(2, "b"), q(1, "q"), w(4, "w");
    Adder(SD("aa", "Sum"), a, b);
    Counter(SD("ab"), q, w);
    Gate(SD("ac"), a, q);
    Dff(SD("ad"), a, q);
    Jkff(SD("ae"), w, b);
    Increment(SD("af"), b, w);
    Mux(SD("ba", "Sel"), b, a, q);
    Decoder(SD("bb"), b, b, w);
    Encoder(SD("bc", "Prio"), a, b, q);
    Register(SD("bd", "Acc"), q, b, w, a);
    BitAddressibleRegister(SD("be", "Flags"), q, q, b, q, q, b, a, q, w);
    // Lengths that fit count nothing.
    Dff(SD("ca"), w, q);
}

void consoleErrors() {
    const Signal strobe(1, "W"), enable(1, "E"), data(8, "D");
    Stderr(SD("da"), (strobe, data));
    IntOut(SD("db"), strobe, data);
    HexOut(SD("dc"), (enable, strobe, strobe), data);
    Stderr(SD("dd"), (enable, strobe, data)); // fits: no message
    HexOut(SD("de"), (enable, strobe), data); // fits: no message
}

void memoryErrors() {
    const Signal c13(13, "C"), d15(15, "D"), q31(31, "Q"), c14(14, "C14"), d16(16, "D16"), q16(16, "Q16");
    // Two read ports and one write port of 4-bit addresses over 16-bit words
    // need 14 control, 16 data and 32 output positions.
    RegisterFile(SD("ea", "Regs"), c13, d15, q31, 16, 16, 4, 2, 1);
    Ram(SD("eb"), c14, d16, q16, 16, 16, 4, 2, 1);
    const Signal a2(2, "A"), w12(12, "W"), w9(9, "W9");
    const unsigned char contents[16] = {};
    Rom(SD("ec"), a2, w12, 8, 12, contents);
    Rom(SD("ed", "Boot"), Signal(3, "A3"), w9, 8, 8, contents);
}

} // namespace

void simnet() {
    mediumScaleErrors();
    consoleErrors();
    memoryErrors();
}
