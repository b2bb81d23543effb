// A 4-bit ripple-carry adder made of gates, with switches for the two numbers
// and the sum written to the console.
//
// Keys q w e r set the bits A3 A2 A1 A0 of the first number, a s d f the
// bits B3 B2 B1 B0 of the second (each press toggles the bit; all start at
// ZERO).  The probes show the sum S3..S0 and the carry out.  Press p twice
// (up, then down) to print the five-bit sum, carry included, as a decimal
// number on standard error.
//
// Each full adder is a module: at the top level it is a box labelled FA0 ...
// FA3; Control-m (more detail) opens the boxes to show the five gates of
// each.  The carry ripples from FA0 to FA3, so the sum settles one full
// adder's delay after the other.
//
//     ./run.sh --circuit examples/ripple_adder.cpp
//     ./run.sh --circuit examples/ripple_adder.cpp -X -k 'w,e,r,s,f,p,p' -s
#include "norvale.h"

namespace {

// A full adder drawn inside the box at place: sum = a xor b xor carryIn,
// carryOut = (a and b) or (carryIn and (a xor b)).
void fullAdder(const SD &place, const Signal &a, const Signal &b, const Signal &carryIn, const Signal &sum,
               const Signal &carryOut) {
    const Signal half(1, "HalfSum"), both(1, "Both"), carried(1, "Carried");
    // Inside the box, a grid of two rows and three columns.
    Xor(SD(place, "aa"), (a, b), half);
    Xor(SD(place, "ab"), (half, carryIn), sum);
    And(SD(place, "ba"), (a, b), both);
    And(SD(place, "bb"), (half, carryIn), carried);
    Or(SD(place, "bc"), (both, carried), carryOut);
}

// Where each bit's switches and full adder go, and their keys: bit 3 leftmost.
struct BitColumn {
    const char *aSwitch, *bSwitch, *adder;
    char aKey, bKey;
    const char *aLabel, *bLabel, *adderLabel;
};
constexpr BitColumn columns[4] = {
    {"ad", "bd", "cd", 'r', 'f', "A0", "B0", "FA0"},
    {"ac", "bc", "cc", 'e', 'd', "A1", "B1", "FA1"},
    {"ab", "bb", "cb", 'w', 's', "A2", "B2", "FA2"},
    {"aa", "ba", "ca", 'q', 'a', "A3", "B3", "FA3"},
};

} // namespace

void simnet() {
    const Signal a(4, "A"), b(4, "B"), sum(4, "S"), carry(4, "C"), print(1, "Print");

    // C[k] is the carry out of bit k; nothing carries into bit 0.
    for (int bit = 0; bit < 4; ++bit) {
        const BitColumn &c = columns[bit];
        const Signal carryIn = bit == 0 ? Zero : carry[bit - 1];
        Switch(SD(c.aSwitch), a[bit], c.aKey, Zero, c.aLabel);
        Switch(SD(c.bSwitch), b[bit], c.bKey, Zero, c.bLabel);
        const SD box(c.adder);
        Module(box, c.adderLabel, (a[bit], b[bit], carryIn), (carry[bit], sum[bit]));
        fullAdder(box, a[bit], b[bit], carryIn, sum[bit], carry[bit]);
    }

    ProbeH(SD("da-dd"), sum, "S");
    Probe(SD("de"), carry[3], "Carry");

    // The console output: IntOut writes (carry out, S) as a decimal number at
    // each rise of its strobe, the print switch, while its enable is ONE.
    Switch(SD("ae"), print, 'p', Zero, "Print");
    IntOut(SD("be"), (One, print), (carry[3], sum));
}
