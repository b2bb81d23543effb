// Keys pressed at given times on a circuit with a free-running clock, which
// never settles: the switch gates the clock, and the stop time ends the run.
#include "components/ssiPh1.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

void simnet() {
    Signal clk(1, "Clk");
    Signal enable(1, "Enable");
    Signal gated(1, "Gated");
    Clock(SD("aa", nullptr), clk, 10, 0, 20, Zero);
    Switch(SD("ab", nullptr), enable, 'e', Zero, "Enable");
    And(SD("ba", nullptr), (clk, enable), gated);
    Probe(SD("bb", nullptr), enable, "enable");
    Probe(SD("bc", nullptr), gated, "gated");
}
