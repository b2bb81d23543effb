// A power-on source reaching ONE stops a run that a free-running clock would
// otherwise keep going for ever.
#include "components/ssiPh1.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

void simnet() {
    Signal clock(1, "clk");
    Signal power(1, "power");
    Clock(SD("aa", nullptr), clock, 5, 0, 20, Zero);
    PowerOn(SD("ba", nullptr), power, 30, Zero);
    Stop(SD("bb", nullptr), power);
    Probe(SD("ab", nullptr), clock, "clock");
}
