// A free-running clock watched by a probe, stopped by the stop time.
#include "components/ssiPh1.h"

void simnet() {
    const Signal clk(1, "Clk");
    Clock(SD("aa", nullptr), clk, 5, 0, 20, Zero);
    Probe(SD("ab", nullptr), clk, "clk");
}
