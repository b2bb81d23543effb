// A 4-bit counter driven by hand.
//
// Press c to move the clock switch: the counter counts each fall of the clock
// (ONE back to ZERO), so two presses of c add one.  A power-on pulse holds the
// counter's clear at ZERO for the first moments of the run, which sets the
// count to 0; without it the count would stay UNINITIALIZED.  After 15 the
// count wraps to 0.
//
//     ./run.sh --circuit examples/counter.cpp
//     ./run.sh --circuit examples/counter.cpp -X -k 'c*10' -s
#include "norvale.h"

void simnet() {
    const Signal clock(1, "Clock"), clear(1, "Clear"), count(4, "Q");

    // The grid: row a holds the inputs, row b the counter and its output.
    Switch(SD("aa"), clock, 'c', Zero, "Clock");
    PowerOn(SD("ab"), clear, 20, Zero);
    Probe(SD("ac"), clear, "Clear");
    Counter(SD("ba-bb"), (clear, clock), count);
    ProbeH(SD("bc-bd"), count, "Q"); // Q[3] leftmost, Q[0] rightmost
}
