// A toggle: a flip-flop whose data is its own output inverted, clocked once
// by switch 'c' while its output is still the XXX of the reset, so the XXX
// goes round the loop (explained once).  And a chain of twelve inverters
// behind a flip-flop never clocked, deeper than the depth limit.
#include "components/msiPh1.h"
#include "components/ssiPh1.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

void simnet() {
    Signal clock(1, "clock"), q(1, "q"), d(1, "d");
    Switch(SD("aa", nullptr), clock, 'c', Zero, "clock");
    Dff(SD("ab", nullptr), (Zero, d, clock, Zero), q);
    Not(SD("ac", nullptr), q, d);
    Probe(SD("ad", nullptr), q, "q");

    Signal start(1, "start"), chain(12, "chain");
    Dff(SD("ba", nullptr), (Zero, One, Zero, Zero), start);
    Not(SD("bb", nullptr), start, chain[0]);
    for (int k = 1; k < 12; ++k)
        Not(SD("bb", nullptr), chain[k - 1], chain[k]);
    Probe(SD("bc", nullptr), chain[11], "end");
}
