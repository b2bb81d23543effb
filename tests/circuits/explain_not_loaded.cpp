// Storage nothing has written since the reset: a register whose write
// strobe (switch 'w') never rises and a flip-flop whose clock (switch 'c')
// never rises; an AND of their outputs and a one-word RAM read at its only
// address.
#include "components/msiPh1.h"
#include "components/ssiPh1.h"
#include "components/vlsiPh1.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

void simnet() {
    Signal write(1, "write"), clock(1, "clock"), stored(1, "stored"), flop(1, "flop"), both(1, "both");
    Signal word(1, "word");
    Switch(SD("aa", nullptr), write, 'w', Zero, "write");
    Switch(SD("ab", nullptr), clock, 'c', Zero, "clock");
    Register(SD("ba", nullptr), One, write, One, stored);
    Dff(SD("bb", nullptr), (Zero, One, clock, Zero), flop);
    And(SD("ca", nullptr), (stored, flop), both);
    // Control from the top: write enable, write strobe, write address, read address.
    Ram(SD("cb", nullptr), (Zero, Zero, Zero, Zero), One, word, 1, 1, 1, 1, 1);
    Probe(SD("da", nullptr), both, "both");
    Probe(SD("db", nullptr), word, "word");
}
