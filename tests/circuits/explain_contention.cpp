// Two tri-state drivers that disagree: 'a' enables the driver of ONE, which
// takes the bus; 'b' enables the driver of ZERO, which is refused; 'a' again
// releases the bus, which stays HIZ though a driver is enabled.
#include "components/ssiPh1.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

void simnet() {
    Signal enableA(1, "enableA"), enableB(1, "enableB"), bus(1, "bus");
    Switch(SD("aa", nullptr), enableA, 'a', Zero, "enableA");
    Switch(SD("ab", nullptr), enableB, 'b', Zero, "enableB");
    Tsb(SD("ba", nullptr), One, enableA, bus);
    Tsb(SD("bb", nullptr), Zero, enableB, bus);
    Probe(SD("cb", nullptr), bus, "bus");
}
