// Replayed keys that name no operation are reported; ":" (exit) in the
// replay does not stop the run before it starts, "1" restarts it at once.
#include "components/ssiPh1.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

void simnet() {
    Signal in(1, "in");
    Signal out(1, "out");
    Switch(SD("aa", nullptr), in, 'a', One, "in");
    Not(SD("ab", nullptr), in, out);
    Probe(SD("ac", nullptr), out, "out");
}
