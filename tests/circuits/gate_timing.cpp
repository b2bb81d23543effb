// A clock and a power-on signal through an AND gate, an XOR gate and a
// tri-state buffer: the outputs pass through XXX and HIZ with the gate delays.
#include "components/ssiPh1.h"

void simnet() {
    const Signal c(1, "C"), p(1, "P"), a(1, "A"), x(1, "X"), t(1, "T");
    Clock(SD("aa", nullptr), c, 10, 0, 30, Zero);
    PowerOn(SD("ab", nullptr), p, 40, One);
    And(SD("ba", nullptr), (c, p), a);
    Xor(SD("bb", nullptr), (c, p), x);
    Tsb(SD("bc", nullptr), c, p, t);
    Probe(SD("ca", nullptr), a, "and");
    Probe(SD("cb", nullptr), x, "xor");
    Probe(SD("cc", nullptr), t, "tsb");
}
