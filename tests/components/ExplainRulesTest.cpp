// The explanation's rules, one tiny circuit for each rule and each kind of
// root, with the exact explanation it must give; every component function of
// the catalogue explained as its own kind; the root kinds as the README
// lists them.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Harness.h"
#include "components/Explain.h"
#include "components/ExplainRules.h"
#include "components/Registry.h"
#include "components/SecEvTyp.h"
#include "components/msiPh1.h"
#include "components/ssiPh1.h"
#include "components/vlsiPh1.h"
#include "core/Ph2.h"
#include "core/addStCmp.h"
#include "core/cmdLine.h"

namespace {

using explain::rootKindTexts;

// One row: a circuit, how long it runs after its reset, the name explained
// at the end, the exact explanation, and the positions of the components
// found at its roots (the ones the window frames), in the order found.
struct RuleCase {
    const char *what;
    std::function<void()> build;
    unsigned long until;
    const char *name;
    const char *explanation;
    std::vector<std::string> roots;
};

void PrintTo(const RuleCase &c, std::ostream *os) {
    *os << c.what;
}

SD at(const char *position) {
    return SD(position, nullptr);
}

// The explanation of name after the circuit's run, with the positions of
// its roots.  The run keeps its value history, as with -w.
std::string explanationAfterRun(const std::function<void()> &build, unsigned long until,
                                const std::string &name, std::vector<std::string> &rootPositions) {
    freshHeadlessNetlist();
    explainNames = {name};
    build();
    convertNetlist();
    testing::internal::CaptureStderr(); // probe lines, memory messages
    resetCircuit();
    runUntil(until);
    testing::internal::GetCapturedStderr();
    std::ostringstream out;
    std::vector<int> roots;
    for (const ExplainedGroup &group : bitsNamed(name))
        explainGroup(out, group, roots);
    for (const int c : roots)
        rootPositions.push_back(std::string(phaseTwo->rcpos[c]));
    return out.str();
}

// ---- The circuits -------------------------------------------------------------------

// A three-bit adder of the words (ZERO, late, ONE) and (wide, ZERO, ZERO),
// joined as buses are, bit 0 last: sum[0] is ONE; sum[1] depends on late
// (bits 0 and 1 of both words), sum[2] on late and on bit 2 of the second
// word.  sum is the last bus made.
void adderBits() {
    const Signal late(1, "late"), wide(1, "wide"), sum(3, "sum");
    Adder(at("aa"), ((wide, Zero, Zero), (Zero, late, One)), sum);
}

// An incrementer of (ZERO, late, ONE), bit 0 last: count[0] ZERO, count[1]
// XXX, and count[2] ONE (the carry goes on past the unknown bit).
void incrementerBits() {
    const Signal late(1, "late"), count(3, "count");
    Increment(at("aa"), (Zero, late, One), count);
}

// A priority encoder with one request line open.
void encoderLine() {
    const Signal request(1, "request"), code(1, "code"), valid(1, "valid");
    Encoder(at("aa"), (request, Zero), code, valid);
}

// A counter whose clear stays ONE: it never starts.
void counterNeverCleared() {
    const Signal clock(1, "clock"), count(2, "count");
    Clock(at("aa"), clock, 5, 0, 20, Zero);
    Counter(at("ab"), (One, clock), count);
}

// A clock gate whose enable is open.
void clockGateOpenEnable() {
    const Signal clock(1, "clock"), enable(1, "enable"), gated(1, "gated");
    Clock(at("aa"), clock, 5, 0, 20, Zero);
    Gate(at("ab"), (enable, clock), gated);
}

// A JK flip-flop set to ONE by its S until time 30, then clocked with J ONE
// and K open: its Q turns XXX at the clock's fall.
void jkffKOpen() {
    const Signal set(1, "set"), clock(1, "clock"), k(1, "k"), q(1, "q"), qp(1, "qp");
    PowerOn(at("aa"), set, 30, One);
    Clock(at("ab"), clock, 10, 50, 40, Zero);
    Jkff(at("ac"), (set, One, clock, k, Zero), (q, qp));
}

// The same flip-flop reset to ZERO by its R until time 30: Q leaves ZERO
// for XXX, with its quick delay.
void jkffKOpenFromZero() {
    const Signal reset(1, "reset"), clock(1, "clock"), k(1, "k"), q(1, "q"), qp(1, "qp");
    PowerOn(at("aa"), reset, 30, One);
    Clock(at("ab"), clock, 10, 50, 40, Zero);
    Jkff(at("ac"), (Zero, One, clock, k, reset), (q, qp));
}

// A bit-addressable register nothing clears, sets or writes.
void bitRegisterNeverWritten() {
    const Signal clear(1, "clear"), set(1, "set"), write(1, "write"), bit(1, "bit");
    const Signal bitOut(1, "bitOut"), registers(2, "registers");
    BitAddressibleRegister(at("aa"), clear, set, One, write, bit, Zero, Zero, bitOut, registers);
}

// A bit-addressable register set to ONE until time 20, then written at
// register 1 with the XXX of an inverter of an open wire.
void bitRegisterWrittenXxx() {
    const Signal wire(1, "wire"), bit(1, "bit"), set(1, "set"), write(1, "write"), bitOut(1, "bitOut"),
        registers(2, "registers");
    Not(at("aa"), wire, bit);
    PowerOn(at("ab"), set, 20, One);
    Clock(at("ac"), write, 10, 30, 40, Zero);
    BitAddressibleRegister(at("ad"), Zero, set, One, write, bit, One, One, bitOut, registers);
}

// A register file read at an open address.
void registerFileOpenAddress() {
    const Signal address(1, "address"), word(1, "word");
    // Control: the read address, then the write port's address, strobe, enable.
    RegisterFile(at("aa"), (Zero, Zero, Zero, address), Zero, word, 2, 1, 1, 1, 1);
}

// A ROM whose address is the XXX of an inverter of an open wire.
void romXxxAddress() {
    const Signal wire(1, "wire"), address(1, "address"), word(8, "word");
    static const unsigned char contents[] = {0x0f, 0xf0};
    Not(at("aa"), wire, address);
    Rom(at("ab"), address, word, 2, 8, contents);
}

// A RAM of three words read at address 3.
void ramBeyondTheLastWord() {
    const Signal word(1, "word");
    // Control: the read address (2 bits), then the write port's address (2),
    // strobe, enable.
    Ram(at("aa"), (Zero, Zero, Zero, Zero, One, One), Zero, word, 3, 1, 2, 1, 1);
}

// A RAM whose word 1 is written, at time 29, with the XXX of an inverter of
// an open wire, and read.
void ramStoredXxx() {
    const Signal wire(1, "wire"), data(1, "data"), strobe(1, "strobe"), word(1, "word");
    Not(at("aa"), wire, data);
    PowerOn(at("ab"), strobe, 20, Zero);
    Ram(at("ac"), (One, strobe, One, One), data, word, 2, 1, 1, 1, 1);
}

// A switch whose initial level is an open wire.
void switchOpenLevel() {
    const Signal level(1, "level"), out(1, "out");
    Switch(at("aa"), out, 's', level, "s");
}

// A circuit's own component: an AND under a name of its own.
void ownComponent() {
    const Signal a(1, "a"), y(1, "y");
    addStandardComponent(
        componentOn("Mine", nullptr, componentRow(ComponentKind::andGate).evaluate, (a, One), noSignals(), y),
        at("aa"));
}

// An inverter of ZERO, seen at time 0: UNINITIALIZED, on its way to ONE.
void inverterOfZero() {
    const Signal y(1, "y");
    Not(at("aa"), Zero, y);
}

// A clock on its way from ZERO to ONE when the run stops at time 7.
void clockEdge() {
    const Signal clock(1, "clock");
    Clock(at("aa"), clock, 5, 0, 20, Zero);
}

// Two tri-state drivers, neither enabled.
void busUndriven() {
    const Signal bus(1, "bus");
    Tsb(at("aa"), One, Zero, bus);
    Tsb(at("ab"), Zero, Zero, bus);
}

// Two tri-state drivers, the first's enable open.
void busOpenEnable() {
    const Signal enable(1, "enable"), bus(1, "bus");
    Tsb(at("aa"), One, enable, bus);
    Tsb(at("ab"), Zero, Zero, bus);
}

// One tri-state driver, not enabled; one enabled with open data.
void tsbAlone() {
    const Signal off(1, "off"), data(1, "data"), on(1, "on");
    Tsb(at("aa"), One, Zero, off);
    Tsb(at("ab"), data, One, on);
}

// An AND of an open wire and ONE, and of it and ZERO (binary); an Iand whose
// complemented input is open, and one whose input taken as it is is open.
void foldingGates() {
    const Signal wire(1, "wire"), both(1, "both"), none(1, "none"), inhibited(1, "inhibited"),
        passedOn(1, "passedOn");
    And(at("aa"), (wire, One), both);
    And(at("ab"), (wire, Zero), none);
    Iand(at("ac"), One, wire, inhibited);
    Iand(at("ad"), wire, Zero, passedOn);
}

// A multiplexer selecting word 1 (open) of (open, ZERO), and one whose select is open.
void muxes() {
    const Signal wire(1, "wire"), select(1, "select"), passed(1, "passed"), unselected(1, "unselected");
    Mux(at("aa"), One, (wire, Zero), passed);
    Mux(at("ab"), select, (One, Zero), unselected);
}

// A decoder whose enable is open, and one whose code is open.
void decoders() {
    const Signal enable(1, "enable"), code(1, "code"), lines(2, "lines"), coded(2, "coded");
    Decoder(at("aa"), enable, Zero, lines);
    Decoder(at("ab"), One, code, coded);
}

// A clock that keeps a run going until its end.
void ticks() {
    const Signal tick(1, "tick");
    Clock(at("zz"), tick, 5, 0, 20, Zero);
}

// A D flip-flop clocked at time 29 while its data is the XXX of an inverter
// of an open wire, and one never clocked.
void dffs() {
    const Signal wire(1, "wire"), d(1, "d"), clock(1, "clock"), q(1, "q"), idle(1, "idle");
    Not(at("aa"), wire, d);
    PowerOn(at("ab"), clock, 20, Zero);
    Dff(at("ac"), (Zero, d, clock, Zero), q);
    Dff(at("ad"), (Zero, One, Zero, Zero), idle);
    // A clock that rises to ONE from the reset's UNINITIALIZED, not from ZERO.
    const Signal high(1, "high"), unclocked(1, "unclocked");
    PowerOn(at("ae"), high, 1000, One);
    Dff(at("af"), (Zero, d, high, Zero), unclocked);
    ticks();
}

// A register loaded at time 29 from an open wire, and one never loaded.
void registers() {
    const Signal wire(1, "wire"), write(1, "write"), loaded(1, "loaded"), idle(1, "idle");
    PowerOn(at("aa"), write, 20, Zero);
    Register(at("ab"), One, write, wire, loaded);
    Register(at("ac"), One, Zero, One, idle);
    // A write that rises to ONE from the reset's UNINITIALIZED: it loads.
    const Signal early(1, "early"), loadedEarly(1, "loadedEarly");
    PowerOn(at("ad"), early, 1000, One);
    Register(at("ae"), One, early, wire, loadedEarly);
    ticks();
}

// A register that loads a clock at the rise of its write at 14, while the
// clock passes through XXX to ONE.
void clockEdgeLoaded() {
    const Signal clock(1, "clock"), write(1, "write"), loaded(1, "loaded");
    Clock(at("aa"), clock, 5, 0, 20, Zero);
    PowerOn(at("ab"), write, 5, Zero);
    Register(at("ac"), One, write, clock, loaded);
}

// A bus of two drivers, the one enabled passing data that rises at about
// 24..29, and a register that loads the bus at a write's rise: at 35, when
// the driver had let the bus go for the XXX of its data, or at 37, when the
// bus was passing through XXX to ONE.
void busLoadedAt(int writeAt) {
    const Signal data(1, "data"), write(1, "write"), bus(1, "bus"), loaded(1, "loaded");
    PowerOn(at("aa"), data, 20, Zero);
    PowerOn(at("ab"), write, writeAt, Zero);
    Tsb(at("ba"), data, One, bus);
    Tsb(at("bb"), One, Zero, bus);
    Register(at("ca"), One, write, bus, loaded);
}

// A bus held by a driver of ONE while a second, enabled at time 29, is
// refused with ZERO; when the first's enable falls after 40 it lets go and
// the bus is left HIZ.
void busRefused() {
    const Signal first(1, "first"), second(1, "second"), bus(1, "bus");
    PowerOn(at("aa"), first, 40, One);
    PowerOn(at("ab"), second, 20, Zero);
    Tsb(at("ba"), One, first, bus);
    Tsb(at("bb"), Zero, second, bus);
}

const RuleCase ruleCases[] = {
    {"AdderBitK",
     adderBits,
     100,
     "sum",
     "sum = XX1 at time 17, why:\n"
     "  sum[2] is XXX since 13: Adder at aa: operand bits late[0] = UNINITIALIZED, wide[0] = UNINITIALIZED\n"
     "    late[0] is UNINITIALIZED since 0: no driver: ROOT input left open: nothing drives it\n"
     "    wide[0] is UNINITIALIZED since 0: no driver: ROOT input left open: nothing drives it\n"
     "  sum[1] is XXX since 13: Adder at aa: operand bits late[0] = UNINITIALIZED\n"
     "    late[0] is UNINITIALIZED since 0: explained above\n",
     {}},
    {"Incrementer",
     incrementerBits,
     100,
     "count",
     "count = 1X0 at time 17, why:\n"
     "  count[1] is XXX since 13: Increment at aa: operand bits late[0] = UNINITIALIZED\n"
     "    late[0] is UNINITIALIZED since 0: no driver: ROOT input left open: nothing drives it\n",
     {}},
    {"Encoder",
     encoderLine,
     100,
     "code",
     "code = XXX at time 13, why:\n"
     "  code[0] is XXX since 13: Encoder at aa: request lines request[0] = UNINITIALIZED\n"
     "    request[0] is UNINITIALIZED since 0: no driver: ROOT input left open: nothing drives it\n",
     {}},
    {"CounterBeforeItsFirstClear",
     counterNeverCleared,
     100,
     "count",
     "count = UU at time 95, why:\n"
     "  count[1] is UNINITIALIZED since 0: Counter at ab: ROOT not loaded since the reset: its clear has not "
     "been ZERO since the reset\n"
     "  count[0] is UNINITIALIZED since 0: Counter at ab: ROOT not loaded since the reset: its clear has not "
     "been ZERO since the reset\n",
     {"ab"}},
    {"ClockGate",
     clockGateOpenEnable,
     100,
     "gated",
     "gated = UNINITIALIZED at time 95, why:\n"
     "  gated[0] is UNINITIALIZED since 0: Gate at ab: enable enable[0] = UNINITIALIZED\n"
     "    enable[0] is UNINITIALIZED since 0: no driver: ROOT input left open: nothing drives it\n",
     {}},
    {"JkffWithKUnknownFromZero",
     jkffKOpenFromZero,
     150,
     "q",
     "q = XXX at time 146, why:\n"
     "  q[0] is XXX since 101: Jkff at ac: clocked at 88 with k[0] = UNINITIALIZED\n"
     "    k[0] was UNINITIALIZED at 88 (since 0): no driver: ROOT input left open: nothing drives it\n",
     {}},
    {"JkffWithKUnknown",
     jkffKOpen,
     150,
     "q",
     "q = XXX at time 146, why:\n"
     "  q[0] is XXX since 105: Jkff at ac: clocked at 88 with k[0] = UNINITIALIZED\n"
     "    k[0] was UNINITIALIZED at 88 (since 0): no driver: ROOT input left open: nothing drives it\n",
     {}},
    {"BitAddressableRegisterNeverWritten",
     bitRegisterNeverWritten,
     100,
     "registers",
     "registers = XX at time 13, why:\n"
     "  registers[1] is XXX since 13: BitAddrReg at aa: ROOT not loaded since the reset: not cleared, set or "
     "written since the reset\n"
     "  registers[0] is XXX since 13: BitAddrReg at aa: ROOT not loaded since the reset: not cleared, set or "
     "written since the reset\n",
     {"aa"}},
    {"BitAddressableRegisterWrittenXxx",
     bitRegisterWrittenXxx,
     100,
     "registers",
     "registers = X1 at time 85, why:\n"
     "  registers[1] is XXX since 66: BitAddrReg at ad: inputs bit[0] = XXX\n"
     "    bit[0] is XXX since 7: Not at aa: inputs wire[0] = UNINITIALIZED\n"
     "      wire[0] is UNINITIALIZED since 0: no driver: ROOT input left open: nothing drives it\n",
     {}},
    {"RegisterFileAtAnOpenAddress",
     registerFileOpenAddress,
     100,
     "word",
     "word = XXX at time 10, why:\n"
     "  word[0] is XXX since 10: RegFile at aa: read address address[0] = UNINITIALIZED\n"
     "    address[0] was UNINITIALIZED at 0 (since 0): no driver: ROOT input left open: nothing drives it\n",
     {}},
    {"RomAtAnXxxAddress",
     romXxxAddress,
     100,
     "word[0]",
     "word[0] = XXX at time 17, why:\n"
     "  word[0] is XXX since 17: Rom at ab: address address[0] = XXX\n"
     "    address[0] is XXX since 7: Not at aa: inputs wire[0] = UNINITIALIZED\n"
     "      wire[0] is UNINITIALIZED since 0: no driver: ROOT input left open: nothing drives it\n",
     {}},
    {"RamReadBeyondTheLastWord",
     ramBeyondTheLastWord,
     100,
     "word",
     "word = XXX at time 10, why:\n"
     "  word[0] is XXX since 10: Ram at aa: ROOT read beyond the last word: address 3\n",
     {}},
    {"RamWordStoredAsXxx",
     ramStoredXxx,
     100,
     "word",
     "word = XXX at time 39, why:\n"
     "  word[0] is XXX since 39: Ram at ac: ROOT stored: word 1 was written with XXX\n",
     {}},
    {"SwitchWhoseLevelIsNotBinary",
     switchOpenLevel,
     100,
     "out",
     "out = UNINITIALIZED at time 0, why:\n"
     "  out[0] is UNINITIALIZED since 0: Switch \"s:s\" at aa: ROOT input left open: its initial level is "
     "not ZERO or ONE\n",
     {"aa"}},
    {"OwnComponentNotFollowed",
     ownComponent,
     100,
     "y",
     "y = UNINITIALIZED at time 0, why:\n"
     "  y[0] is UNINITIALIZED since 0: Component \"Mine\" at aa: ROOT not followed: this kind of component "
     "is not explained\n",
     {}},
    {"InTransition",
     inverterOfZero,
     0,
     "y",
     "y = UNINITIALIZED at time 0, why:\n"
     "  y[0] is UNINITIALIZED since 0: Not at aa: ROOT in transition: settles to ONE at 10\n",
     {}},
    {"PassingThroughXxx",
     clockEdge,
     7,
     "clock",
     "clock = XXX at time 7, why:\n"
     "  clock[0] is XXX since 7: Clock at aa: ROOT passing through XXX: settles to ZERO at 10\n",
     {}},
    {"BusUndriven",
     busUndriven,
     100,
     "bus",
     "bus = HIZ at time 10, why:\n"
     "  bus[0] is HIZ since 10: bus of 2 drivers: ROOT undriven: no driver is enabled (Tsb at aa enable "
     "Zero[0] = ZERO; Tsb at ab enable Zero[0] = ZERO)\n",
     {"aa", "ab"}},
    {"BusContention",
     busRefused,
     100,
     "bus",
     "bus = HIZ at time 54, why:\n"
     "  bus[0] is HIZ since 54: bus of 2 drivers: ROOT contention: Tsb at bb drives ZERO but Tsb at ba held "
     "the bus (the other was refused)\n",
     {"bb", "ba"}},
    {"BusWithAnOpenEnable",
     busOpenEnable,
     100,
     "bus",
     "bus = HIZ at time 10, why:\n"
     "  bus[0] is HIZ since 10: bus of 2 drivers: no driver is enabled (Tsb at aa enable enable[0] = "
     "UNINITIALIZED; Tsb at ab enable Zero[0] = ZERO)\n"
     "    enable[0] is UNINITIALIZED since 0: no driver: ROOT input left open: nothing drives it\n",
     {}},
    {"TsbNotEnabled",
     tsbAlone,
     100,
     "off",
     "off = HIZ at time 10, why:\n"
     "  off[0] is HIZ since 10: Tsb at aa: ROOT undriven: its only driver is not enabled (Zero[0] = ZERO)\n",
     {"aa"}},
    {"TsbWithOpenData",
     tsbAlone,
     100,
     "on",
     "on = HIZ at time 10, why:\n"
     "  on[0] is HIZ since 10: Tsb at ab: enabled, data data[0] = UNINITIALIZED\n"
     "    data[0] is UNINITIALIZED since 0: no driver: ROOT input left open: nothing drives it\n",
     {}},
    {"AndGate",
     foldingGates,
     100,
     "both",
     "both = UNINITIALIZED at time 10, why:\n"
     "  both[0] is UNINITIALIZED since 0: And at aa: inputs wire[0] = UNINITIALIZED\n"
     "    wire[0] is UNINITIALIZED since 0: no driver: ROOT input left open: nothing drives it\n",
     {}},
    {"IandTakenAsItIs",
     foldingGates,
     100,
     "passedOn",
     "passedOn = UNINITIALIZED at time 10, why:\n"
     "  passedOn[0] is UNINITIALIZED since 0: Iand at ad: inputs wire[0] = UNINITIALIZED\n"
     "    wire[0] is UNINITIALIZED since 0: no driver: ROOT input left open: nothing drives it\n",
     {}},
    {"IandComplemented",
     foldingGates,
     100,
     "inhibited",
     "inhibited = XXX at time 10, why:\n"
     "  inhibited[0] is XXX since 7: Iand at ac: inputs wire[0] = UNINITIALIZED\n"
     "    wire[0] is UNINITIALIZED since 0: no driver: ROOT input left open: nothing drives it\n",
     {}},
    {"MuxPassingAnOpenWord",
     muxes,
     100,
     "passed",
     "passed = UNINITIALIZED at time 13, why:\n"
     "  passed[0] is UNINITIALIZED since 0: Mux at aa: select 1 passes wire[0] = UNINITIALIZED\n"
     "    wire[0] is UNINITIALIZED since 0: no driver: ROOT input left open: nothing drives it\n",
     {}},
    {"MuxWithAnOpenSelect",
     muxes,
     100,
     "unselected",
     "unselected = XXX at time 13, why:\n"
     "  unselected[0] is XXX since 13: Mux at ab: select select[0] = UNINITIALIZED\n"
     "    select[0] is UNINITIALIZED since 0: no driver: ROOT input left open: nothing drives it\n",
     {}},
    {"DecoderWithAnOpenEnable",
     decoders,
     100,
     "lines",
     "lines = XX at time 13, why:\n"
     "  lines[1] is XXX since 13: Decoder at aa: enable enable[0] = UNINITIALIZED\n"
     "    enable[0] is UNINITIALIZED since 0: no driver: ROOT input left open: nothing drives it\n"
     "  lines[0] is XXX since 13: Decoder at aa: enable enable[0] = UNINITIALIZED\n"
     "    enable[0] is UNINITIALIZED since 0: explained above\n",
     {}},
    {"DecoderWithAnOpenCode",
     decoders,
     100,
     "coded",
     "coded = XX at time 13, why:\n"
     "  coded[1] is XXX since 13: Decoder at ab: code code[0] = UNINITIALIZED\n"
     "    code[0] is UNINITIALIZED since 0: no driver: ROOT input left open: nothing drives it\n"
     "  coded[0] is XXX since 13: Decoder at ab: code code[0] = UNINITIALIZED\n"
     "    code[0] is UNINITIALIZED since 0: explained above\n",
     {}},
    {"DffClockedWithXxx",
     dffs,
     100,
     "q",
     "q = XXX at time 95, why:\n"
     "  q[0] is XXX since 13: Dff at ac: took its data at the rise of its clock clock[0] at 29: d[0] = XXX\n"
     "    d[0] was XXX at 29 (since 7): Not at aa: inputs wire[0] = UNINITIALIZED\n"
     "      wire[0] was UNINITIALIZED at 29 (since 0): no driver: ROOT input left open: nothing drives it\n",
     {}},
    {"DffClockRisenFromUninitialized",
     dffs,
     100,
     "unclocked",
     "unclocked = XXX at time 95, why:\n"
     "  unclocked[0] is XXX since 13: Dff at af: ROOT not loaded since the reset: its clock high[0] has not "
     "risen from ZERO\n",
     {"af"}},
    {"DffNeverClocked",
     dffs,
     100,
     "idle",
     "idle = XXX at time 95, why:\n"
     "  idle[0] is XXX since 13: Dff at ad: ROOT not loaded since the reset: its clock Zero[0] has not risen "
     "from ZERO\n",
     {"ad"}},
    {"RegisterLoadedFromAnOpenWire",
     registers,
     100,
     "loaded",
     "loaded = UNINITIALIZED at time 95, why:\n"
     "  loaded[0] is UNINITIALIZED since 0: Register at ab: loaded at 29 (write write[0] rose) from wire[0] "
     "= UNINITIALIZED\n"
     "    wire[0] was UNINITIALIZED at 29 (since 0): no driver: ROOT input left open: nothing drives it\n",
     {}},
    {"RegisterLoadedAtARiseFromUninitialized",
     registers,
     100,
     "loadedEarly",
     "loadedEarly = UNINITIALIZED at time 95, why:\n"
     "  loadedEarly[0] is UNINITIALIZED since 0: Register at ae: loaded at 10 (write early[0] rose) from "
     "wire[0] = UNINITIALIZED\n"
     "    wire[0] was UNINITIALIZED at 10 (since 0): no driver: ROOT input left open: nothing drives it\n",
     {}},
    // Stopped at 30, while the clock passes through XXX again, to ZERO.
    {"RegisterLoadedFromAClockEdge",
     clockEdgeLoaded,
     30,
     "loaded",
     "loaded = XXX at time 28, why:\n"
     "  loaded[0] is XXX since 27: Register at ac: loaded at 14 (write write[0] rose) from clock[0] = XXX\n"
     "    clock[0] was XXX at 14 (since 14): Clock at aa: ROOT passing through XXX: settles to ONE at 19\n",
     {}},
    {"BusLetGoForXxxData",
     [] { busLoadedAt(26); },
     100,
     "loaded",
     "loaded = HIZ at time 52, why:\n"
     "  loaded[0] is HIZ since 52: Register at ca: loaded at 35 (write write[0] rose) from bus[0] = HIZ\n"
     "    bus[0] was HIZ at 35 (since 34): Tsb at ba: enabled, data data[0] = XXX (at 24)\n"
     "      data[0] was XXX at 24 (since 24): PowerOn at aa: ROOT passing through XXX: settles to ONE at "
     "29\n",
     {}},
    {"BusPassingThroughXxxWhenLoaded",
     [] { busLoadedAt(28); },
     100,
     "loaded",
     "loaded = XXX at time 50, why:\n"
     "  loaded[0] is XXX since 50: Register at ca: loaded at 37 (write write[0] rose) from bus[0] = XXX\n"
     "    bus[0] was XXX at 37 (since 36): Tsb at ba: ROOT passing through XXX: settles to ONE at 39\n",
     {}},
    {"RegisterNeverLoaded",
     registers,
     100,
     "idle",
     "idle = UNINITIALIZED at time 95, why:\n"
     "  idle[0] is UNINITIALIZED since 0: Register at ac: ROOT not loaded since the reset: its write Zero[0] "
     "has not risen while its enable One[0] was ONE\n",
     {"ac"}},
};

class ExplainRules : public testing::TestWithParam<RuleCase> {};

TEST_P(ExplainRules, GivesItsExactExplanation) {
    const RuleCase &c = GetParam();
    std::vector<std::string> roots;
    EXPECT_EQ(explanationAfterRun(c.build, c.until, c.name, roots), c.explanation);
    EXPECT_EQ(roots, c.roots);
}

INSTANTIATE_TEST_SUITE_P(Explain, ExplainRules, testing::ValuesIn(ruleCases),
                         [](const testing::TestParamInfo<RuleCase> &info) {
                             return std::string(info.param.what);
                         });

// Every root kind ends the chain of some row of the table above, so that a
// kind renamed, merged or no longer reached shows there.
TEST(ExplainRootKinds, EachEndsAChainOfTheTable) {
    for (const char *root : rootKindTexts) {
        const std::string marker = std::string("ROOT ") + root;
        bool found = false;
        for (const RuleCase &c : ruleCases)
            found = found || std::string(c.explanation).find(marker) != std::string::npos;
        EXPECT_TRUE(found) << "no row of the table ends at a root that is " << root;
    }
}

// The README's list of the root kinds, in its order: the items "- `KIND`:"
// of the section that explains the explanations.
std::vector<std::string> rootKindsTheReadmeLists() {
    const std::string file = std::string(__FILE__);
    std::ifstream readme(file.substr(0, file.rfind("/tests/")) + "/README.md");
    std::vector<std::string> kinds;
    bool inSection = false;
    for (std::string line; std::getline(readme, line);) {
        if (line.rfind("#", 0) == 0)
            inSection = line == "### Why is a bit not ZERO or ONE?";
        else if (inSection && line.rfind("- `", 0) == 0 && line.find("`:") != std::string::npos)
            kinds.push_back(line.substr(3, line.find("`:") - 3));
    }
    return kinds;
}

// The README names every root kind as the lines do, in the same order, and
// no other.
TEST(ExplainRootKinds, TheReadmeListsEachAsTheLinesNameIt) {
    EXPECT_EQ(rootKindsTheReadmeLists(),
              std::vector<std::string>(std::begin(rootKindTexts), std::end(rootKindTexts)));
}

// ---- Every component function explained as its own kind ---------------------------

const Signal &bus(int width, const char *name) {
    static std::vector<std::unique_ptr<Signal>> kept;
    kept.push_back(std::make_unique<Signal>(width, name));
    return *kept.back();
}

using K = ComponentKind;

// A capture of a kind, and how long it runs before y is explained.
struct OpenCapture {
    K kind;
    std::function<void()> capture;
    unsigned long until = 100;
};

// A capture of each kind whose row has a rule, at aa, driving y from inputs
// nothing drives (a source from an initial level nothing drives).
const std::vector<OpenCapture> &openCaptures() {
    static const unsigned char words[4] = {1, 2, 3, 4};
    const SD sd = at("aa");
    static const std::vector<OpenCapture> captures = {
        {K::andGate, [=] { And(sd, bus(2, "a"), bus(1, "y")); }},
        {K::orGate, [=] { Or(sd, bus(2, "a"), bus(1, "y")); }},
        {K::nand, [=] { Nand(sd, bus(2, "a"), bus(1, "y")); }},
        {K::nor, [=] { Nor(sd, bus(2, "a"), bus(1, "y")); }},
        {K::notGate, [=] { Not(sd, bus(1, "a"), bus(1, "y")); }},
        {K::xorGate, [=] { Xor(sd, bus(2, "a"), bus(1, "y")); }},
        {K::xnor, [=] { Xnor(sd, bus(2, "a"), bus(1, "y")); }},
        {K::iand, [=] { Iand(sd, bus(1, "a"), bus(1, "b"), bus(1, "y")); }},
        {K::inand, [=] { Inand(sd, bus(1, "a"), bus(1, "b"), bus(1, "y")); }},
        {K::cior, [=] { CiOr(sd, bus(1, "a"), bus(1, "b"), bus(1, "y")); }},
        {K::cinor, [=] { CiNor(sd, bus(1, "a"), bus(1, "b"), bus(1, "y")); }},
        // Its output is binary once it has been evaluated: seen at the reset.
        {K::compare, [=] { MultiLevelCompare(sd, bus(2, "a"), bus(1, "y")); }, 0},
        {K::tsb, [=] { Tsb(sd, bus(1, "a"), bus(1, "e"), bus(1, "y")); }},
        {K::switchSource, [=] { Switch(sd, bus(1, "y"), 'a', bus(1, "level"), "s"); }},
        {K::pulser, [=] { Pulser(sd, bus(1, "y"), 'a', 5, bus(1, "level")); }},
        {K::powerOn, [=] { PowerOn(sd, bus(1, "y"), 5, bus(1, "level")); }},
        {K::clock, [=] { Clock(sd, bus(1, "y"), 5, 0, 20, bus(1, "level")); }},
        {K::adder, [=] { Adder(sd, bus(4, "a"), bus(2, "y")); }},
        {K::counter, [=] { Counter(sd, bus(2, "a"), bus(2, "y")); }},
        {K::clockGate, [=] { Gate(sd, bus(2, "a"), bus(1, "y")); }},
        {K::dff, [=] { Dff(sd, bus(4, "a"), bus(1, "y")); }},
        {K::jkff, [=] { Jkff(sd, bus(5, "a"), bus(2, "y")); }},
        {K::increment, [=] { Increment(sd, bus(2, "a"), bus(2, "y")); }},
        {K::mux, [=] { Mux(sd, bus(1, "s"), bus(2, "a"), bus(1, "y")); }},
        {K::decoder, [=] { Decoder(sd, bus(1, "e"), bus(1, "a"), bus(2, "y")); }},
        {K::encoder, [=] { Encoder(sd, bus(2, "a"), bus(1, "y"), bus(1, "v")); }},
        {K::enabledRegister, [=] { Register(sd, bus(1, "e"), bus(1, "w"), bus(2, "a"), bus(2, "y")); }},
        {K::bitAddressibleRegister,
         [=] {
             BitAddressibleRegister(sd, bus(1, "c"), bus(1, "s"), bus(1, "e"), bus(1, "w"), bus(1, "b"),
                                    bus(1, "wa"), bus(1, "ra"), bus(1, "bo"), bus(2, "y"));
         }},
        {K::registerFile, [=] { RegisterFile(sd, bus(4, "c"), bus(2, "d"), bus(2, "y"), 2, 2, 1, 1, 1); }},
        {K::ram, [=] { Ram(sd, bus(4, "c"), bus(2, "d"), bus(2, "y"), 2, 2, 1, 1, 1); }},
        {K::rom, [=] { Rom(sd, bus(2, "a"), bus(8, "y"), 4, 8, words); }},
    };
    return captures;
}

// Whether a row's rule follows a component (rather than standing for none).
bool hasARule(const ComponentRow &row) {
    return row.explain != ::ExplainRule::unset && row.explain != ::ExplainRule::drivesNothing &&
           row.explain != ::ExplainRule::notFollowed;
}

// The first step of the explanation of y names the component by its row's
// label, and follows it by its own rule, for every component function with
// one.  A new row with a rule needs its capture above.
TEST(ExplainCatalogue, EveryComponentFunctionIsExplainedAsItsOwnKind) {
    for (const ComponentRow &row : componentRows) {
        if (!hasARule(row))
            continue;
        const auto capture = std::find_if(openCaptures().begin(), openCaptures().end(),
                                          [&](const OpenCapture &c) { return c.kind == row.kind; });
        if (capture == openCaptures().end()) {
            ADD_FAILURE() << row.name << " has no capture to explain here";
            continue;
        }
        std::vector<std::string> roots;
        const std::string text = explanationAfterRun(capture->capture, capture->until, "y", roots);
        std::istringstream lines(text);
        std::string heading, first;
        std::getline(lines, heading);
        std::getline(lines, first);
        const std::string driver = std::string(": ") + row.label + " ";
        EXPECT_NE(first.find(driver), std::string::npos) << row.name << ": " << text;
        EXPECT_EQ(first.find("not followed"), std::string::npos) << row.name << ": " << text;
    }
}

// Without a value history (no -w, no window) only the present is known: a
// value's start is what the kernel still has queued, and older changes are
// said to be forgotten.
TEST(ExplainWithoutAHistory, SaysOlderChangesAreForgotten) {
    freshHeadlessNetlist();
    const Signal wire(1, "wire"), y(1, "y");
    Not(at("aa"), wire, y);
    convertNetlist();
    resetCircuit();
    runUntil(100);
    std::ostringstream out;
    std::vector<int> roots;
    explainGroup(out, bitsNamed("y").at(0), roots);
    EXPECT_EQ(out.str(),
              "y = XXX at time 7, why:\n"
              "  y[0] is XXX since 7 [older changes forgotten]: Not at aa: inputs wire[0] = UNINITIALIZED\n"
              "    wire[0] is UNINITIALIZED since 0 [older changes forgotten]: no driver: ROOT input left "
              "open: nothing drives it\n");
}

// Below the depth limit the causes are counted, one or more.
TEST(ExplainDepthLimit, CountsTheCausesBelowIt) {
    std::vector<std::string> roots;
    explanationAfterRun(romXxxAddress, 100, "word[0]", roots);
    for (const auto &[limit, expected] :
         std::vector<std::pair<int, std::string>>{{1, "    ... 2 more causes left out (depth limit 1)\n"},
                                                  {2, "      ... 1 more cause left out (depth limit 2)\n"}}) {
        std::ostringstream out;
        std::vector<int> found;
        explainGroup(out, bitsNamed("word[0]").at(0), found, limit);
        const std::string text = out.str();
        EXPECT_EQ(text.substr(text.size() - std::min(text.size(), expected.size())), expected) << text;
    }
}

} // namespace
