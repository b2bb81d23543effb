// A free-running clock whose build is interrupted: the signal arrives before
// the first step, so the run ends at time 0 with the values of the reset.
// SIGINT, or SIGTERM when the environment has RAISE=TERM.
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "components/ssiPh1.h"

void simnet() {
    const Signal clk(1, "Clk");
    Clock(SD("aa", nullptr), clk, 5, 0, 20, Zero);
    Probe(SD("ab", nullptr), clk, "clk");
    const char *const which = std::getenv("RAISE");
    std::raise(which && std::strcmp(which, "TERM") == 0 ? SIGTERM : SIGINT);
}
