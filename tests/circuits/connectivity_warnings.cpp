// Undriven inputs are reported once per input at start-up, data inputs with
// the signal's name and control inputs without; constants, tri-state outputs
// and Zero and One count as driven.  -E ends the program after the checks.
#include "components/ssiPh1.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

void simnet() {
    Signal a(2, "a");
    Signal y(1, "y");
    Signal z(1, "z");
    Signal bus(1, "bus");
    Signal k(1, 0x1u, "k");
    And(SD("aa", nullptr), (a, Zero, One), y);
    Tsb(SD("ab", nullptr), One, k, bus);
    Not(SD("ba", nullptr), bus, z);
    Tsb(SD("bb", nullptr), y, a[1], bus);
}
