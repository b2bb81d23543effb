// Started halted without a window: no key can ever resume it, so the run
// ends after the first drawing.
#include "components/ssiPh1.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

void simnet() {
    Signal clock(1, "clk");
    Clock(SD("aa", nullptr), clock, 5, 0, 20, Zero);
    Probe(SD("ab", nullptr), clock, "clock");
}
