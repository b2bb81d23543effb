// A traffic light: a state machine of two D flip-flops and three gates.
//
// Each press of t that raises the tick switch moves the light one step on:
// red, red and amber, green, amber, and red again.  The two flip-flops hold
// the state S1 S0 and count 00, 01, 11, 10 (each step changes one bit):
//
//     next S0 = not S1        red   = not S1
//     next S1 = S0            amber = S1 xor S0
//                             green = S1 and S0
//
// A power-on pulse holds both flip-flops' reset R at ONE for the first
// moments of the run, so the light starts at red; before that the
// flip-flops hold XXX.  Press t twice per step (up, then down).
//
//     ./run.sh --circuit examples/traffic_light.cpp
//     ./run.sh --circuit examples/traffic_light.cpp -X -k 't*8' -s
#include "norvale.h"

void simnet() {
    const Signal tick(1, "Tick"), reset(1, "Reset"), s0(1, "S0"), s1(1, "S1"), next0(1, "NotS1");
    const Signal red(1, "Red"), amber(1, "Amber"), green(1, "Green");

    // Column a: the inputs; b: the state; c: the lights' logic; d: the lights.
    Switch(SD("aa"), tick, 't', Zero, "Tick");
    PowerOn(SD("ca"), reset, 20, One);

    // Dff inputs, joined most significant first: (set, D, clock, reset).
    Not(SD("ab"), s1, next0);
    Dff(SD("bb", "S0"), (Zero, next0, tick, reset), s0);
    Dff(SD("cb", "S1"), (Zero, s0, tick, reset), s1);

    Not(SD("ac"), s1, red);
    Xor(SD("bc"), (s1, s0), amber);
    And(SD("cc"), (s1, s0), green);

    Probe(SD("ad"), red, "Red");
    Probe(SD("bd"), amber, "Amber");
    Probe(SD("cd"), green, "Green");
}
