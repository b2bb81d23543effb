// A small panel operated by keys the way the computer is: '0' toggles the
// clock switch and '1' the reset switch, 'a' and 'b' the two data switches,
// and 'p' fires a pulse.  It has no free-running source, so after every key
// it settles.  The model tests use it to check the key path of the program
// on a circuit small enough to compare line by line.
#pragma once

#include "components/ssiPh1.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

namespace demo {

// The gates, shown as one box at the panel's level and as separate gates
// one level deeper (Control-m).
inline void Logic(const SD &sd, const Signal &in, const Signal &tick, const Signal &reset,
                  const Signal &pulse, const Signal &out) {
    Module(sd, "Logic", (in, tick, reset, pulse), out);
    And(SD(sd, "aa", nullptr), in, out[4]);
    Or(SD(sd, "ba", nullptr), in, out[3]);
    Xor(SD(sd, "ca", nullptr), in, out[2]);
    Or(SD(sd, "ab", nullptr), (pulse, tick), out[1]);
    Not(SD(sd, "bb", nullptr), reset, out[0]);
}

inline void panel() {
    Signal in(2, "In");
    Signal tick(1, "Tick");
    Signal reset(1, "Reset");
    Signal pulse(1, "Pulse");
    Signal out(5, "Out");

    Switch(SD("aa-ba", nullptr), in, 'a', Zero, "In");
    Switch(SD("ca", nullptr), tick, '0', Zero, "Clk");
    Switch(SD("da", nullptr), reset, '1', Zero, "Rst");
    Pulser(SD("ea", nullptr), pulse, 'p', 40, Zero);

    Logic(SD("ab-ec", nullptr), in, tick, reset, pulse, out);

    Probe(SD("ad", nullptr), out[4], "a AND b");
    Probe(SD("bd", nullptr), out[3], "a OR b");
    Probe(SD("cd", nullptr), out[2], "a XOR b");
    Probe(SD("dd", nullptr), out[1], "Clk OR pulse");
    Probe(SD("ed", nullptr), out[0], "not Rst");
}

} // namespace demo
