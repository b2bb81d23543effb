// A four-bit accumulator that adds 3 at every rising clock edge: a register
// loads the adder's sum through a multiplexer that passes ZERO while a
// power-on signal holds it in reset.  A JK flip-flop with J and K ONE, reset
// by the same signal, halves the clock; a D flip-flop samples the
// accumulator's top bit on the rising edges of the halved clock.
#include "components/msiPh1.h"
#include "components/ssiPh1.h"

void simnet() {
    const Signal clk(1, "clk"), run(1, "run"), stopped(1, "stopped");
    const Signal acc(4, "acc"), sum(4, "sum"), next(4, "next"), half(2, "half"), top(1, "top");
    const Signal three(4, 0x3u, "three"), zeros(4, 0x0u, "zeros");
    Clock(SD("aa", nullptr), clk, 50, 0, 100, Zero);
    PowerOn(SD("ab", nullptr), run, 300, Zero);
    Not(SD("ac", nullptr), run, stopped);
    Adder(SD("ba", nullptr), (three, acc), sum);
    Mux(SD("bb", nullptr), run, (sum, zeros), next);
    Register(SD("bc", nullptr), One, clk, next, acc);
    // in = (S, J, clock, K, R); out = (Q, QP)
    Jkff(SD("ca", nullptr), (Zero, One, clk, One, stopped), half);
    // in = (S, D, clock, R)
    Dff(SD("cb", nullptr), (Zero, acc[3], half[1], stopped), top);
    Probe(SD("da", nullptr), acc, "");
    Probe(SD("db", nullptr), half[1], "half");
    Probe(SD("dc", nullptr), top, "top");
}
