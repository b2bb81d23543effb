// Console output on a clock's rising edges once a power-on enable is ONE:
// characters in their plain, ^ and | forms, a hexadecimal number followed by
// the same number in decimal, and a value with a floating bit.  The clock
// rises at 19 with the enable ZERO and at 57 while the enable is still in
// transition, so the first line is written at the rise after that.
#include "components/msiPh1.h"
#include "components/ssiPh1.h"

void simnet() {
    const Signal clk(1, "Clk"), en(1, "En"), floating(1, "Float");
    Clock(SD("aa", nullptr), clk, 5, 0, 20, Zero);
    PowerOn(SD("ab", nullptr), en, 50, Zero);
    Tsb(SD("ac", nullptr), One, Zero, floating);
    Probe(SD("ba", nullptr), clk, "clk");
    Probe(SD("bb", nullptr), en, "en");

    // Written in component order at each rise: "Hi^M|^J ", "2f3", " ", "755"
    // and a newline, then the two values with a floating bit (the hexadecimal
    // one still writes its low digit) and a newline.
    const char line[] = {'H', 'i', 13, static_cast<char>(138), ' '};
    for (const char c : line)
        Stderr(SD("ca", nullptr), (en, clk, Signal(8, static_cast<unsigned char>(c), "Code")));
    const Signal number(10, 755u, "Number");
    HexOut(SD("cb", nullptr), (en, clk), number);
    Stderr(SD("cc", nullptr), (en, clk, Signal(8, unsigned{' '}, "Space")));
    IntOut(SD("cd", nullptr), (en, clk), number);
    IntOut(SD("ce", nullptr), (en, clk), (Signal(3, 5u, "High"), floating));
    HexOut(SD("cf", nullptr), (en, clk), (floating, Signal(4, 0xau, "Low")));
    Stderr(SD("cg", nullptr), (en, clk, Signal(8, unsigned{'\n'}, "Newline")));
}
