// A run stopped while a clock edge passes through XXX: at time 14 the clock
// is on its way from ZERO to ONE, and its inverter on its way to ONE.
#include "components/ssiPh1.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

void simnet() {
    Signal clk(1, "clk"), inverted(1, "inverted");
    Clock(SD("aa", nullptr), clk, 5, 0, 20, Zero);
    Not(SD("ab", nullptr), clk, inverted);
    Probe(SD("ba", nullptr), clk, "clk");
    Probe(SD("bb", nullptr), inverted, "inverted");
}
