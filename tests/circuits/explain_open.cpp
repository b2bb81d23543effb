// An input nothing drives: an OR of it and ZERO stays UNINITIALIZED.
#include "components/ssiPh1.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

void simnet() {
    Signal open(1, "open"), out(1, "out");
    Or(SD("aa", nullptr), (open, Zero), out);
    Probe(SD("ab", nullptr), out, "out");
}
