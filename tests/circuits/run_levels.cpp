// A probe inside a module box, shown only one level deeper: the replayed
// "more detail" key makes it report.  The replay's other keys ask for
// redraws before anything is placed; those draw nothing, so every probe
// reports once at the first drawing.
#include "components/ssiPh1.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

void simnet() {
    Signal in(1, "in");
    Signal out(1, "out");
    Switch(SD("aa", nullptr), in, 'a', Zero, "in");
    const SD box("ab", nullptr);
    Module(box, "inverter", in, out);
    Not(SD(box, "aa", nullptr), in, out);
    Probe(SD(box, "ab", nullptr), out, "inner");
    Probe(SD("ac", nullptr), out, "outer");
}
