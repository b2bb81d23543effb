// A free-running clock watched by a probe, cut off by a stop time that falls
// exactly on one of its transitions: the step at that time still runs, the
// next transition is applied but nothing it activates is evaluated.
#include "components/ssiPh1.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

void simnet() {
    Signal clock(1, "clk");
    Clock(SD("aa", nullptr), clock, 5, 0, 20, Zero);
    Probe(SD("ab", nullptr), clock, "clock");
}
