// Every length error of the console components in one circuit: each is
// reported, and the run stops after conversion with their count.
#include "components/msiPh1.h"

void simnet() {
    const Signal strobe(1, "W"), enable(1, "E"), data(8, "D");
    Stderr(SD("aa", nullptr), (strobe, data));
    IntOut(SD("ab", nullptr), strobe, data);
    HexOut(SD("ac", nullptr), (enable, strobe, strobe), data);
    Stderr(SD("ad", nullptr), (enable, strobe, data)); // correct: no message
    HexOut(SD("ae", nullptr), (enable, strobe), data); // correct: no message
}
