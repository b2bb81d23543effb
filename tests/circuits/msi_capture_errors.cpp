// Every length error of the medium-scale components in one circuit: each is
// reported and counted, capture goes on, and the run stops after conversion
// with the number of errors.
#include "components/msiPh1.h"

void simnet() {
    const Signal a(3, "a"), b(2, "b"), q(1, "q"), w(4, "w");
    Adder(SD("aa", "Sum"), a, b);
    Counter(SD("ab", nullptr), q, w);
    Gate(SD("ac", nullptr), a, q);
    Dff(SD("ad", nullptr), a, q);
    Jkff(SD("ae", nullptr), w, b);
    Increment(SD("af", nullptr), b, w);
    Mux(SD("ba", "Sel"), b, a, q);
    Decoder(SD("bb", nullptr), b, b, w);
    Encoder(SD("bc", "Prio"), a, b, q);
    Register(SD("bd", "Acc"), q, b, w, a);
    BitAddressibleRegister(SD("be", "Flags"), q, q, b, q, q, b, a, q, w);
    // Lengths that fit count nothing.
    Dff(SD("ca", nullptr), w, q);
}
