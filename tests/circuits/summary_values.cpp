// Probes in all five values, one-bit and eight-bit, for the value summary
// (-s): an undriven wire stays UNINITIALIZED, an inverter of it gives XXX, a
// disabled tri-state driver HIZ, and the switch on key 'a' (pressed by -k)
// drives the byte that is all ones and zeros.
#include "components/ssiPh1.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

void simnet() {
    Signal u(1, "U");
    Signal x(1, "X");
    Signal z(1, "Z");
    Signal zero(1, "Zero");
    Signal one(1, "One");
    Signal key(1, "Key");

    Switch(SD("aa", nullptr), key, 'a', Zero, "Key");
    Not(SD("ab", nullptr), u, x);
    Tsb(SD("ac", nullptr), One, Zero, z);
    Not(SD("ad", nullptr), key, zero);
    Not(SD("ae", nullptr), zero, one);

    Probe(SD("ba", nullptr), zero, "zero");
    Probe(SD("bb", nullptr), one, "one");
    Probe(SD("bc", nullptr), u, "uninitialized");
    Probe(SD("bd", nullptr), x, "unknown");
    Probe(SD("be", nullptr), z, "floating");
    ProbeByte(SD("ca", nullptr), (one, zero, x, z, u, one, zero, one), "mixed");
    ProbeByte(SD("cb", nullptr), (one, zero, one, zero, one, zero, one, zero), "AC high");
    ProbeByteH(SD("cc", nullptr), (zero, zero, zero, zero, one, one, one, one), "AC low");
}
