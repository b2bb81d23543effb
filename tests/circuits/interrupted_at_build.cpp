// A free-running clock whose build is interrupted: the signal arrives before
// the first step, so the run ends at time 0 with the values of the reset.
// The environment chooses the signal: SIGINT, or RAISE=TERM or RAISE=HUP
// raises that one.  With WAIT the build raises nothing and waits for signals
// from outside instead, after saying so on standard error: WAIT=ONE returns
// after the first, WAIT=EVER never returns (only a second signal ends it).
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>

#include "components/ssiPh1.h"

namespace {

bool given(const char *variable, const char *value) {
    const char *const text = std::getenv(variable);
    return text && std::strcmp(text, value) == 0;
}

void waitForSignals() {
    const char said[] = "The build function waits for a signal.\n";
    if (write(STDERR_FILENO, said, sizeof said - 1) < 0)
        return;
    do
        pause();
    while (given("WAIT", "EVER"));
}

} // namespace

void simnet() {
    const Signal clk(1, "Clk");
    Clock(SD("aa", nullptr), clk, 5, 0, 20, Zero);
    Probe(SD("ab", nullptr), clk, "clk");
    if (std::getenv("WAIT"))
        waitForSignals();
    else
        std::raise(given("RAISE", "TERM") ? SIGTERM : given("RAISE", "HUP") ? SIGHUP : SIGINT);
}
