// A counter clocked by a free-running clock, cleared by a power-on pulse; its
// count goes through a decoder into a priority encoder, which gives it back
// with valid ONE.  The decoder is disabled until the clear is over, so the
// encoder first sees no request (valid ZERO).
#include "components/msiPh1.h"
#include "components/ssiPh1.h"

void simnet() {
    const Signal clk(1, "clk"), clear(1, "clear"), count(3, "count"), lines(8, "lines");
    const Signal code(3, "code"), valid(1, "valid");
    Clock(SD("aa", nullptr), clk, 50, 0, 100, Zero);
    PowerOn(SD("ab", nullptr), clear, 30, Zero);
    Counter(SD("ba", nullptr), (clear, clk), count);
    Decoder(SD("bb", nullptr), clear, count, lines);
    Encoder(SD("bc", nullptr), lines, code, valid);
    Probe(SD("ca", nullptr), valid, "valid");
    Probe(SD("cb", nullptr), code, "");
}
