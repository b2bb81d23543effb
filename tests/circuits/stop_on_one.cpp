// A power-on signal that passes through XXX twice before it rises; the stop
// component ends the run only when it sees ONE.
#include "components/ssiPh1.h"

void simnet() {
    const Signal w(1, "W");
    PowerOn(SD("aa", nullptr), w, 30, Zero);
    Stop(SD("ab", nullptr), w);
    Probe(SD("ac", nullptr), w, "w");
}
