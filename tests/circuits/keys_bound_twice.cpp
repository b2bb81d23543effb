// Key a bound three times: a one-bit switch at aa, a pulser at ab, and the
// low bit of a two-bit switch at ba (its high bit is on `).  One warning per
// later binding names the key and both positions; pressing a operates only
// the first switch, as it always did, and ` still reaches the two-bit switch.
#include "norvale.h"

void simnet() {
    const Signal first(1, "First"), pulse(1, "Pulse"), pair(2, "Pair");
    Switch(SD("aa"), first, 'a', Zero, "First");
    Pulser(SD("ab"), pulse, 'a', 5, Zero);
    Switch(SD("ba"), pair, '`', Zero, "Pair");
    Probe(SD("ca"), first, "first");
    Probe(SD("cb"), pulse, "pulse");
    Probe(SD("cc"), pair, "pair");
}
