// Medium-scale captures: the bus layouts each component registers and the
// counted length errors, which let the capture go on.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Harness.h"
#include "components/msiPh1.h"
#include "components/msiRT.h"
#include "core/Ph1.h"
#include "core/Ph2.h"
#include "display/iconData.h"

namespace {

// Serial numbers of several buses, the first bus lowest (as the runtime sees them).
std::vector<int> lowFirst(std::initializer_list<const Signal *> buses) {
    std::vector<int> result;
    for (const Signal *bus : buses)
        for (const int s : bus->serialNumber)
            result.push_back(s);
    return result;
}

TEST(MsiCapture, EveryComponentRegistersItsBusLayout) {
    freshHeadlessNetlist();
    const Signal a(8, "A"), sum(4, "Sum"), in2(2, "In2"), in4(4, "In4"), in5(5, "In5"), q(1, "Q"),
        qq(2, "QQ");
    const Signal sel(2, "Sel"), words(8, "Words"), code(2, "Code"), en(1, "En"), lines(4, "Lines");
    const Signal req(4, "Req"), enc(2, "Enc"), valid(1, "Valid"), wr(1, "Wr"), data(3, "Data"), reg(3, "Reg");
    const Signal clr(1, "Clr"), set(1, "Set"), bit(1, "Bit"), wa(2, "Wa"), ra(2, "Ra"), bitOut(1, "BitOut");
    const Signal bits(4, "Bits");
    const SD sd("aa", nullptr);
    Adder(sd, a, sum);
    Counter(sd, in2, sum);
    Gate(sd, in2, q);
    Dff(sd, in4, q);
    Jkff(sd, in5, qq);
    Increment(sd, in4, sum);
    Mux(sd, sel, words, in2);
    Decoder(sd, en, code, lines);
    Encoder(sd, req, enc, valid);
    Register(sd, en, wr, data, reg);
    BitAddressibleRegister(sd, clr, set, en, wr, bit, wa, ra, bitOut, bits);
    const struct {
        const char *decal;
        ComponentFunction evaluate;
        std::vector<int> data, control, out, parameters;
    } expected[] = {
        {"Adder", adder, serials(a), {}, serials(sum), {4}},
        {"Counter", counter, serials(in2), {}, serials(sum), {}},
        {"Gate", gate, serials(in2), {}, serials(q), {}},
        {"Dff", dff, serials(in4), {}, serials(q), {}},
        {"Jkff", jkff, serials(in5), {}, serials(qq), {}},
        {"Increment", increment, serials(in4), {}, serials(sum), {}},
        {"Mux", mux, serials(words), serials(sel), serials(in2), {}},
        {"Decoder", decoder, serials(code), serials(en), serials(lines), {}},
        // Output n of the encoder is valid.
        {"Encoder", encoder, serials(req), {}, lowFirst({&enc, &valid}), {}},
        // Control 0 is the write strobe, 1 the enable.
        {"Register", enabledRegister, serials(data), lowFirst({&wr, &en}), serials(reg), {}},
        // Read address lowest, then write address and bit in; controls W, E, S, clear;
        // the register bits below bit out.
        {"BitAddrReg",
         bitAddressibleRegister,
         lowFirst({&ra, &wa, &bit}),
         lowFirst({&wr, &en, &set, &clr}),
         lowFirst({&bits, &bitOut}),
         {}},
    };
    expectPlainCaptures(expected, [](const ComponentNode &n, const auto &e) {
        EXPECT_EQ(n.dataInputs, e.data) << e.decal;
        EXPECT_EQ(n.controlInputs, e.control) << e.decal;
        EXPECT_EQ(n.outputs, e.out) << e.decal;
        EXPECT_EQ(n.integerParameters, e.parameters) << e.decal;
    });
    EXPECT_EQ(phaseOne->fatalDiagnosticCount, 0);
}

TEST(MsiCapture, MuxMakesItselfKnownToTheDisplay) {
    freshHeadlessNetlist();
    Mux(SD("aa", nullptr), Signal(1, "S"), Signal(2, "D"), Signal(1, "O"));
    convertNetlist();
    EXPECT_EQ(phaseTwo->records[0].kind, ComponentKind::mux);
}

TEST(MsiCapture, LengthErrorsAreCountedAndTheComponentIsStillRegistered) {
    const SD at("bc", nullptr);
    const SD named("bc", "Alu");
    const Signal o1(1, "O1"), o2(2, "O2"), o3(3, "O3"), o4(4, "O4");
    const Signal i1(1, "I1"), i2(2, "I2"), i3(3, "I3"), i4(4, "I4"), i5(5, "I5"), i7(7, "I7"), i8(8, "I8");
    const CountedCapture cases[] = {
        {"adder", [&] { Adder(named, i7, o4); },
         "I/O length error--Adder Alu at bc dataIn.length = 7 out.length = 4\n", 1},
        {"adder without decal", [&] { Adder(at, i2, o2); },
         "I/O length error--Adder  at bc dataIn.length = 2 out.length = 2\n", 1},
        {"gate", [&] { Gate(at, i3, o1); },
         "I/O length error--Gate() at bc in.length = 3 out.length = 1 should be 2 & 1.\n", 1},
        {"gate output", [&] { Gate(at, i2, o2); },
         "I/O length error--Gate() at bc in.length = 2 out.length = 2 should be 2 & 1.\n", 1},
        {"dff", [&] { Dff(at, i3, o1); },
         "I/O length error--Dff() at bc in.length = 3 out.length = 1 should be 4 & 1.\n", 1},
        {"jkff", [&] { Jkff(at, i5, o1); },
         "I/O length error--Jkff() at bc in.length = 5 out.length = 1 should be 5 & 2.\n", 1},
        {"mux", [&] { Mux(named, i2, i7, o2); },
         "I/O length error--Mux Alu at bc dataIn.length = 7 controlIn.length = 2 out.length = 2\n", 1},
        {"decoder outputs", [&] { Decoder(named, i1, i2, o3); },
         "I/O length error--Decoder Alu at bc dataIn.length = 2 controlIn.length = 1 out.length = 3\n", 1},
        {"decoder enable", [&] { Decoder(at, i2, i2, o4); },
         "I/O length error--Decoder  at bc dataIn.length = 2 controlIn.length = 2 out.length = 4\n", 1},
        {"encoder requests", [&] { Encoder(named, i7, o3, o1); },
         "I/O length error--Encoder Alu at bc dataIn.length = 7 out.length = 3 valid.length = 1\n", 1},
        {"encoder valid", [&] { Encoder(named, i4, o2, o2); },
         "I/O length error--Encoder Alu at bc dataIn.length = 4 out.length = 2 valid.length = 2\n", 1},
        {"register", [&] { Register(named, i1, i2, i3, o3); },
         "I/O lengths mismatch for Register Alu at bc dataIn.length = 3 write.length = 2 enable.length = 1 "
         "out.length = 3\n",
         1},
        {"register data", [&] { Register(at, i1, i1, i3, o4); },
         "I/O lengths mismatch for Register  at bc dataIn.length = 3 write.length = 1 enable.length = 1 "
         "out.length = 4\n",
         1},
        {"bit register single bits",
         [&] { BitAddressibleRegister(named, i1, i1, i1, i1, i2, i2, i2, o1, o4); },
         "Signal length error for AddressibleRegister Alu at bc clear, set, enable, write, bitIn or bitOut "
         "more "
         "than a single bit.\n",
         1},
        {"bit register addresses", [&] { BitAddressibleRegister(named, i1, i1, i1, i1, i1, i3, i2, o1, o4); },
         "Signal length error for AddressibleRegister Alu at bc Read/Write Address or Output lengths do not "
         "agree.\n",
         1},
        {"bit register outputs", [&] { BitAddressibleRegister(at, i1, i1, i1, i1, i1, i2, i2, o1, o3); },
         "Signal length error for AddressibleRegister  at bc Read/Write Address or Output lengths do not "
         "agree.\n",
         1},
        {"bit register both", [&] { BitAddressibleRegister(at, i2, i1, i1, i1, i1, i2, i2, o2, o3); },
         "Signal length error for AddressibleRegister  at bc clear, set, enable, write, bitIn or bitOut more "
         "than a single bit.\n"
         "Signal length error for AddressibleRegister  at bc Read/Write Address or Output lengths do not "
         "agree.\n",
         2},
        {"counter", [&] { Counter(at, i1, o4); },
         "I/O length error--Counter() at bc in.length = 1 out.length = 4 in.length should be at least 2.\n",
         1},
        {"increment", [&] { Increment(at, i3, o4); },
         "I/O length error--Increment() at bc in.length = 3 out.length = 4 in.length should be at least "
         "out.length.\n",
         1},
        // Lengths that fit: nothing written, nothing counted.
        {"wider counter input", [&] { Counter(at, i3, o4); }, "", 0},
        {"wider increment input", [&] { Increment(at, i5, o4); }, "", 0},
        {"one-word mux", [&] { Mux(at, Signal(0, "None"), i3, o3); }, "", 0},
        {"one-line decoder", [&] { Decoder(at, i1, Signal(0, "None"), o1); }, "", 0},
    };
    expectEachCounted({std::begin(cases), std::end(cases)});
}

TEST(MsiCapture, ErrorsOfSeveralComponentsAddUp) {
    freshHeadlessNetlist();
    testing::internal::CaptureStderr();
    const SD sd("ca", nullptr);
    Dff(sd, Signal(1, "A"), Signal(1, "B"));
    Adder(sd, Signal(8, "C"), Signal(4, "D")); // fits
    Jkff(sd, Signal(1, "E"), Signal(1, "F"));
    Gate(sd, Signal(1, "G"), Signal(1, "H"));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(phaseOne->fatalDiagnosticCount, 3);
    EXPECT_EQ(captured().size(), 4u);
}

} // namespace
