// Names to explain that stand for nothing in the circuit: a misspelt probe
// label and a bit beyond its bus.  Each is reported with the nearest names
// the circuit has before the run starts, and the program ends with status 1.
#include "components/msiPh1.h"
#include "components/ssiPh1.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

void simnet() {
    Signal request(1, "request"), grant(1, "grant"), count(3, "count");
    Switch(SD("aa", nullptr), request, 'r', Zero, "request");
    And(SD("ab", nullptr), (request, One), grant);
    Probe(SD("ba", nullptr), grant, "grant");
    Increment(SD("bb", nullptr), (request, request, request), count);
    Probe(SD("bc", nullptr), count[0], "counted");
}
