// Switches and gates without a free-running source: after the reset the
// circuit settles and the headless run ends by itself.  The probe inside the
// module box sits one level deeper than the display shows, so it never
// reports.
#include "components/ssiPh1.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

void simnet() {
    Signal in(2, "in");
    Signal both(1, "both");
    Signal either(1, "either");
    Switch(SD("aa", nullptr), in, 'a', One, "in");
    const SD box("ab", nullptr);
    Module(box, "gates", in, (both, either));
    And(SD(box, "aa", nullptr), in, both);
    Or(SD(box, "ba", nullptr), in, either);
    Probe(SD(box, "ab", nullptr), both, "inner");
    Probe(SD("ac", nullptr), both, "both");
    Probe(SD("bc", nullptr), either, "either");
}
