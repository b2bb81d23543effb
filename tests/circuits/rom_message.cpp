// The families together: a counter steps a ROM through the characters of a
// message, and a console component writes the character the ROM gives at
// every rising clock edge once the power-on clear is over, and the count of
// the newline on a line of its own after it.  The counter counts falling edges, so the
// ROM has settled on the next character well before the clock rises again.
#include "components/msiPh1.h"
#include "components/ssiPh1.h"
#include "components/vlsiPh1.h"

namespace {
const unsigned char message[] = {'N', 'o', 'r', 'v', 'a', 'l', 'e', '\n'};
} // namespace

void simnet() {
    const Signal clk(1, "clk"), clear(1, "clear"), count(3, "count"), character(8, "char");
    const Signal newline(1, "newline");
    Clock(SD("aa"), clk, 50, 0, 100, Zero);
    PowerOn(SD("ab"), clear, 30, Zero);
    Counter(SD("ba"), (clear, clk), count);
    Rom(SD("bb"), count, character, 8, 8, message);
    Stderr(SD("ca"), (clear, clk, character));
    // The count of the newline just written, on the line after it.
    And(SD("cb"), count, newline);
    IntOut(SD("cc"), (newline, clk), count);
}
