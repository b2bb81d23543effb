// Signals but no components: the run says so, and the loop does not run at all.
#include "core/Signal.h"

void simnet() {
    Signal unused(4, "unused");
}
