// Two enabled tri-state drivers on one bus: the first takes it, the second's
// opposite level is refused with a message on standard output, and the bus
// goes through XXX to the first driver's level.
#include "components/ssiPh1.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

void simnet() {
    Signal bus(1, "bus");
    Tsb(SD("aa", nullptr), One, One, bus);
    Tsb(SD("ab", nullptr), Zero, One, bus);
    Probe(SD("ba", nullptr), bus, "bus");
}
