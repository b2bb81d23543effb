// Why a bus is HIZ: two tri-state drivers, neither enabled (their enable
// switches stay ZERO), and an AND that passes the bus's HIZ on.
#include "components/ssiPh1.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

void simnet() {
    Signal enableA(1, "enableA"), enableB(1, "enableB"), bus(1, "bus"), out(1, "out");
    Switch(SD("aa", nullptr), enableA, 'a', Zero, "enableA");
    Switch(SD("ab", nullptr), enableB, 'b', Zero, "enableB");
    Tsb(SD("ba", nullptr), One, enableA, bus);
    Tsb(SD("bb", nullptr), Zero, enableB, bus);
    And(SD("ca", nullptr), (bus, One), out);
    Probe(SD("cb", nullptr), out, "out");
}
