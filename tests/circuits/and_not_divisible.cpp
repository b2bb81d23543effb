// A grouped AND whose inputs do not divide over its outputs stops the
// capture at once.
#include "components/ssiPh1.h"

void simnet() {
    const Signal in(7, "In"), out(3, "Out");
    And(SD("ab", nullptr), in, out);
}
