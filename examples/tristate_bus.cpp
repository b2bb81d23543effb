// A 4-bit bus with two tri-state drivers.
//
// Driver A puts 0101 on the bus while its enable is ONE, driver B puts 0011
// while its own is ONE; a released bus floats (HIZ, yellow).  Key 1 toggles
// A's enable, key 2 B's.  With only A or only B enabled the bus shows its
// number.  With both enabled the two fight over the bus: the one that held it
// first keeps it, and every driven bit the other tries to put on it is
// reported on standard output as "Another Tsb at ... is trying to drive it
// to ...".  Disable the holder then, and the bus floats although the other
// driver is still enabled: a tri-state driver acts only when its own inputs
// change, so toggle its enable off and on to make it drive.
//
//     ./run.sh --circuit examples/tristate_bus.cpp
//     ./run.sh --circuit examples/tristate_bus.cpp -X -k '1,2,1,2,2' -s
#include <string>

#include "norvale.h"

namespace {

// A driver of the whole bus: one tri-state buffer per bit, stacked in a
// column at place (bit 3 on top), all enabled by enable, each labelled with
// its driver's name, bit and the constant level it drives ("A2=1").
void driver(const char *place, char name, unsigned value, const Signal &enable, const Signal &bus) {
    const Signal data(4, value, "Data");
    for (int bit = 3; bit >= 0; --bit) {
        const std::string label = name + std::to_string(bit) + "=" + std::to_string((value >> bit) & 1);
        Tsb(SD(place, label.c_str()), data[bit], enable, bus[bit]);
    }
}

} // namespace

void simnet() {
    const Signal bus(4, "Bus"), enableA(1, "EnableA"), enableB(1, "EnableB");

    Switch(SD("aa"), enableA, '1', Zero, "Enable A");
    Switch(SD("ca"), enableB, '2', Zero, "Enable B");
    driver("ab", 'A', 0x5, enableA, bus); // 0101
    driver("cb", 'B', 0x3, enableB, bus); // 0011
    ProbeH(SD("bc-bd"), bus, "Bus");
}
