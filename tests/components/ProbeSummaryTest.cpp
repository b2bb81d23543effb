// The value summary's lines: one-bit probes by value name, eight-bit probes
// as bits with the byte in hexadecimal when all are binary, nothing for other
// components.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "Harness.h"
#include "components/ProbeSummary.h"
#include "components/ssiPh1.h"
#include "core/Ph3.h"

namespace {

// Sets a bus's present values, entry 0 first.
void setValues(const Signal &bus, const std::vector<SignalValue> &values) {
    const std::vector<int> s = serials(bus);
    for (std::size_t k = 0; k < values.size(); ++k)
        phaseThree->currentSignals[s[k]] = values[k];
}

TEST(ProbeSummary, OneBitProbesShowTheValuesName) {
    const SignalValue values[] = {ZERO, UNINITIALIZED, XXX, HIZ, ONE};
    const char *names[] = {"ZERO", "UNINITIALIZED", "XXX", "HIZ", "ONE"};
    for (int k = 0; k < 5; ++k) {
        freshHeadlessNetlist();
        const Signal w(1, "W");
        Probe(SD("ba", nullptr), w, "bit zero");
        convertNetlist();
        setValues(w, {values[k]});
        EXPECT_EQ(probeSummaryLine(0), std::string("bit zero at ba = ") + names[k]);
    }
}

struct ByteCase {
    std::vector<SignalValue> entries; // entry 0 (least significant) first
    std::string value;
};

TEST(ProbeSummary, ByteProbesShowBitsMostSignificantFirstAndHexWhenBinary) {
    const SignalValue O = ZERO, I = ONE, U = UNINITIALIZED, X = XXX, Z = HIZ;
    const ByteCase cases[] = {
        {{O, I, O, I, O, I, O, I}, "10101010 AA"}, {{O, O, O, O, O, O, O, O}, "00000000 00"},
        {{I, I, I, I, I, I, I, I}, "11111111 FF"}, {{I, O, O, O, O, O, O, O}, "00000001 01"},
        {{O, O, O, O, O, O, O, I}, "10000000 80"}, {{I, O, I, I, U, Z, X, I}, "1XZU1101"},
        {{U, U, U, U, U, U, U, U}, "UUUUUUUU"},    {{O, O, O, O, O, O, O, Z}, "Z0000000"},
    };
    for (const ByteCase &c : cases) {
        freshHeadlessNetlist();
        const Signal b(8, "B");
        ProbeByte(SD("aa", nullptr), b, "AC high");
        ProbeByteH(SD("ab", nullptr), b, "");
        convertNetlist();
        setValues(b, c.entries);
        EXPECT_EQ(probeSummaryLine(0), "AC high at aa = " + c.value);
        EXPECT_EQ(probeSummaryLine(1), "B at ab = " + c.value);
    }
}

TEST(ProbeSummary, WritesEveryProbeInComponentOrderAndNothingElse) {
    freshHeadlessNetlist();
    const Signal in(1, "In");
    const Signal out(1, "Out");
    const Signal row(3, "Row");
    Probe(SD("aa", nullptr), out, "out");
    Not(SD("ab", nullptr), in, out);
    ProbeH(SD("ac", nullptr), row, "r");
    Probe(SD("ad", nullptr), in, "in");
    convertNetlist();
    setValues(in, {ONE});
    setValues(out, {ZERO});
    setValues(row, {ONE, HIZ, ZERO});
    EXPECT_EQ(probeSummaryLine(1), "");
    std::ostringstream written;
    writeProbeSummary(written);
    EXPECT_EQ(written.str(), "out at aa = ZERO\n"
                             "r[0] at ac.1z = ONE\n"
                             "r[1] at ac.1y = HIZ\n"
                             "r[2] at ac.1x = ZERO\n"
                             "in at ad = ONE\n");
}

} // namespace
