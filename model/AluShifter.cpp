// Components are created, and signals declared, in a fixed order: the order
// gives the serial numbers and component indices that the probes, the
// schematic and the gold runs see.
#include "model/AluShifter.h"

#include <map>
#include <string>

#include "components/msiPh1.h"
#include "components/ssiPh1.h"
#include "model/Wiring.h"

using model::at;
using model::wire;

void Full_Adder(const SD &coord, const Signal &CarryIn, const Signal &a, const Signal &b,
                const Signal &CarryOut, const Signal &Sum) {
    Module(coord, "Full_Adder", (CarryIn, a, b), (CarryOut, Sum));
    const Signal z = wire("z"), x = wire("x"), y = wire("y");

    Xor(at(coord, "aa"), (a, b), x);
    Xor(at(coord, "ab"), (x, CarryIn), Sum);
    And(at(coord, "bb"), (a, b), y);
    And(at(coord, "cb"), (CarryIn, x), z);
    Or(at(coord, "bc-cc"), (y, z), CarryOut);
}

void One_Bit_ALU(const SD &coord, const Signal &a, const Signal &b, const Signal &c_in, const Signal &s,
                 const Signal &z, const Signal &c_out) {
    Module(coord, "One_Bit_ALU", (a, b, c_in, s), (z, c_out));
    const Signal l1 = wire("l1"), l2 = wire("l2"), l0 = wire("l0"), out_sum = wire("out_sum"),
                 out_or = wire("out_or"), out_not = wire("out_not"), out_and1 = wire("out_and1"),
                 out_or1 = wire("out_or1"), c_out1 = wire("c_out1"), out_not1 = wire("out_not1"),
                 out_and2 = wire("out_and2"), out_sum1 = wire("out_sum1"), l3 = wire("l3");

    // The four results; out_or has no load (code 2 passes a itself).
    And(at(coord, "1a"), (a, b), out_and2);
    Or(at(coord, "1a"), (a, b), out_or);
    Not(at(coord, "1a"), a, out_not);
    Full_Adder(at(coord, "1a"), a, b, c_in, c_out1, out_sum);
    // The code, one-hot, selects one of them.
    Decoder(at(coord, "2a"), One, (s[1], s[0]), (l3, l2, l1, l0));
    And(at(coord, "2c"), (l1, out_and2), out_and1);
    And(at(coord, "2c"), (l2, a), out_or1);
    And(at(coord, "2c"), (l3, out_not), out_not1);
    And(at(coord, "2c"), (l0, out_sum), out_sum1);
    And(at(coord, "2c"), (l0, c_out1), c_out);
    Or(at(coord, "2c"), (out_and1, out_or1, out_not1, out_sum1), z);
}

void ALU16(const SD &coord, const Signal &a, const Signal &b, const Signal &c, const Signal &s,
           const Signal &N, const Signal &Z) {
    Module(coord, "ALU16", (a, b, c), (s, N, Z));
    // Declared in this order, not bit by bit: the order fixes their serial numbers.
    const char *const names[] = {"c_out12", "c_out3", "not3",   "not12",    "c_out0", "c_out9",  "c_out13",
                                 "not5",    "not0",   "not9",   "c_out1",   "not10",  "c_out8",  "c_out10",
                                 "not14",   "c_out5", "not13",  "not6",     "c_out7", "not2",    "not15",
                                 "c_out2",  "not11",  "c_out6", "c_cout15", "c_out4", "c_out11", "not1",
                                 "not4",    "not8",   "not7",   "c_out14"};
    std::map<std::string, Signal> internal;
    for (const char *name : names)
        internal.emplace(name, wire(name));
    const auto carryOut = [&](int i) -> const Signal & {
        return internal.at(i == 15 ? "c_cout15" : "c_out" + std::to_string(i));
    };
    const auto inverted = [&](int i) -> const Signal & { return internal.at("not" + std::to_string(i)); };

    for (int i = 0; i < 16; ++i)
        One_Bit_ALU(at(coord, "1a"), a[i], b[i], i == 0 ? Zero : carryOut(i - 1), (c[1], c[0]), s[i],
                    carryOut(i));
    Or(at(coord, "1a"), (s[15], Zero), N);
    for (int i = 0; i < 16; ++i)
        Not(at(coord, "1a"), s[i], inverted(i));
    And(at(coord, "1a"),
        (inverted(0), inverted(1), inverted(2), inverted(3), inverted(4), inverted(5), inverted(6),
         inverted(7), inverted(8), inverted(9), inverted(10), inverted(11), inverted(12), inverted(13),
         inverted(14), inverted(15)),
        Z);
}

void One_Bit_Shifter(const SD &coord, const Signal &l, const Signal &a, const Signal &r, const Signal &c,
                     const Signal &o) {
    Module(coord, "One_Bit_Shifter", (l, a, r, c), o);
    const Signal l1 = wire("l1"), out3 = wire("out3"), out1 = wire("out1"), out2 = wire("out2"),
                 l2 = wire("l2"), l0 = wire("l0"), out4 = wire("out4"), l3 = wire("l3");

    Decoder(at(coord, "2a"), One, (c[1], c[0]), (l3, l2, l1, l0));
    And(at(coord, "1a"), (l0, a), out1);
    And(at(coord, "1a"), (l1, l), out2);
    And(at(coord, "1a"), (l2, r), out3);
    And(at(coord, "1a"), (l3, Zero), out4);
    Or(at(coord, "1a"), (out1, out2, out3, out4), o);
}

void SHIFTER16(const SD &coord, const Signal &a, const Signal &c, const Signal &s) {
    Module(coord, "SHIFTER16", (a, c), s);
    for (int i = 0; i < 16; ++i)
        One_Bit_Shifter(at(coord, "aa"), i == 15 ? Zero : a[i + 1], a[i], i == 0 ? Zero : a[i - 1],
                        (c[1], c[0]), s[i]);
}
