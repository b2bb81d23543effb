// A small panel on a three-by-three grid: a switch (key 'a') and two probes
// of its level, and a module box along the bottom row holding an inverter
// and a probe one level deeper.  The window tests run this program and look
// at its pixels; headless it settles and ends.
#include "components/ssiPh1.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

void simnet() {
    Signal a(1, "A");
    Signal b(1, "B");
    Switch(SD("aa", nullptr), a, 'a', Zero, "A");
    Probe(SD("ac", nullptr), a, "top");
    Probe(SD("bb", nullptr), a, "centre");
    const SD box("ca-cc", nullptr);
    Module(box, "box", a, b);
    Not(SD(box, "aa", nullptr), a, b);
    Probe(SD(box, "ab", nullptr), b, "inner");
}
