// What the names given to -w stand for, and which bits a pane clicked in the
// window stands for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Harness.h"
#include "components/Explain.h"
#include "components/ssiPh1.h"
#include "core/Ph2.h"

namespace {

// A group as the tests read it: its heading and the names of its bits.
struct Group {
    std::string heading;
    std::vector<std::string> bits;
    bool operator==(const Group &o) const { return heading == o.heading && bits == o.bits; }
};

void PrintTo(const Group &g, std::ostream *os) {
    *os << "{" << g.heading << ":";
    for (const std::string &b : g.bits)
        *os << " " << b;
    *os << "}";
}

Group readable(const ExplainedGroup &group) {
    Group g{group.heading, {}};
    for (const int s : group.bits)
        g.bits.push_back(phaseTwo->signalNames[s].c_str());
    return g;
}

// Two eight-bit probes labelled B[1] and B[2], a one-bit probe, a switch,
// a clock, a gate and a four-bit bus.
void namedCircuit() {
    const Signal low(8, "low"), high(8, "high"), flag(1, "flag"), word(4, "word"), out(1, "out"),
        tick(1, "tick");
    ProbeByte(SD("aa", nullptr), low, "B[1]");
    ProbeByte(SD("ab", nullptr), high, "B[2]");
    Probe(SD("ba", nullptr), flag, "flag");
    Switch(SD("ca", nullptr), out, 's', Zero, "s");
    Clock(SD("cb", nullptr), tick, 5, 0, 20, Zero);
    And(SD("da", nullptr), (word[0], word[1]), flag);
}

void convertNamedCircuit() {
    freshHeadlessNetlist();
    namedCircuit();
    convertNetlist();
}

std::vector<std::string> bitsOf(const char *bus, std::vector<int> order) {
    std::vector<std::string> names;
    for (const int k : order)
        names.push_back(std::string(bus) + "[" + std::to_string(k) + "]");
    return names;
}

struct NameCase {
    const char *name;
    std::vector<Group> groups;
};

// A probe label, the start of several labels, a signal's name and a bus's
// name each stand for their bits, most significant first; a name that is
// none stands for nothing.
TEST(ExplainNames, StandForTheirBits) {
    convertNamedCircuit();
    const std::vector<NameCase> cases = {
        {"flag", {{"flag at ba", {"flag[0]"}}}},
        {"B[2]", {{"B[2] at ab", bitsOf("high", {7, 6, 5, 4, 3, 2, 1, 0})}}},
        {"B",
         {{"B[1] at aa", bitsOf("low", {7, 6, 5, 4, 3, 2, 1, 0})},
          {"B[2] at ab", bitsOf("high", {7, 6, 5, 4, 3, 2, 1, 0})}}},
        {"word[2]", {{"word[2]", {"word[2]"}}}},
        {"word", {{"word", bitsOf("word", {3, 2, 1, 0})}}},
        {"Zero", {{"Zero", {"Zero[0]"}}}},
        {"tick", {{"tick", {"tick[0]"}}}},
        {"wor", {}},
        {"B[3]", {}},
    };
    for (const NameCase &c : cases) {
        std::vector<Group> groups;
        for (const ExplainedGroup &g : bitsNamed(c.name))
            groups.push_back(readable(g));
        EXPECT_EQ(groups, c.groups) << c.name;
    }
}

// A probe's pane stands for its bits, a source's for its output; a
// component without a pane for nothing.
TEST(ExplainNames, APaneStandsForTheBitsItShows) {
    convertNamedCircuit();
    const std::vector<Group> expected = {
        {"B[1] at aa", bitsOf("low", {7, 6, 5, 4, 3, 2, 1, 0})},
        {"B[2] at ab", bitsOf("high", {7, 6, 5, 4, 3, 2, 1, 0})},
        {"flag at ba", {"flag[0]"}},
        {"s:s at ca", {"out[0]"}},
        {"Clock at cb", {"tick[0]"}},
        {"", {}},
    };
    ASSERT_EQ(phaseTwo->numberOfComponents, static_cast<int>(expected.size()));
    for (int c = 0; c < phaseTwo->numberOfComponents; ++c)
        EXPECT_EQ(readable(paneGroup(c)), expected[static_cast<size_t>(c)]) << phaseTwo->rcpos[c].c_str();
}

} // namespace
