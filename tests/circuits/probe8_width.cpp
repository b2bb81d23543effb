// An eight-bit probe given three bits stops the run at its first drawing.
#include "components/ssiPh1.h"

void simnet() {
    const Signal b(3, "B");
    ProbeByteH(SD("ab", nullptr), b, "byte");
}
