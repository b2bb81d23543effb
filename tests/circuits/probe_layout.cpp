// Probes over constants in groups and in a row of sub-positions, and a
// two-bit switch driving its initial level, all shown as text lines.
#include "components/ssiPh1.h"

void simnet() {
    const Signal k(4, 0xAu, "K");
    const int pairs[] = {2};
    Probe(SD("aa", nullptr), k, "", 1, pairs);
    ProbeH(SD("ba", nullptr), k, "k");
    const Signal s(2, "S");
    Switch(SD("ca", nullptr), s, 'a', One, "sw");
    Probe(SD("cb", nullptr), s, "");
}
