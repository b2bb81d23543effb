// The Value Change Dump: its structure read back by a small parser of its own,
// and its values compared with the probe lines of the same headless run.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "components/ssiPh1.h"
#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/RunTime.h"
#include "core/Sim.h"
#include "core/addStCmp.h"
#include "support/Fresh.h"

namespace {

// ---- A reader for the dumps ---------------------------------------------------

struct Variable {
    std::string scope; // the scope path, names joined by "."
    std::string reference;
    int width = 0;
    std::string code;
};

struct Change {
    unsigned long time;
    std::string code;
    std::string value; // one character per bit, most significant first
    bool initial;      // inside $dumpvars or $dumpall
};

struct Dump {
    std::string timescale;
    std::vector<std::string> headerComments;
    std::vector<std::string> scopes;
    std::vector<Variable> variables;
    std::vector<unsigned long> stamps;
    std::vector<Change> changes;
    std::vector<std::string> vectorChanges;   // the code of every change written in the vector form
    std::vector<unsigned long> sectionStarts; // the dump time of each section's full dump
    std::vector<std::string> sectionKeywords; // $dumpvars, then $dumpall per restart
    std::vector<std::string> bodyComments;
    std::string error; // empty when the file read as a dump

    const Variable *find(const std::string &scope, const std::string &reference) const {
        for (const Variable &v : variables)
            if (v.scope == scope && v.reference == reference)
                return &v;
        return nullptr;
    }
    // The value of a variable at a dump time: its last change at or before it.
    std::string valueAt(const std::string &code, unsigned long time) const {
        std::string value;
        for (const Change &c : changes) {
            if (c.time > time)
                break;
            if (c.code == code)
                value = c.value;
        }
        return value;
    }
};

// The text up to the next $end.
std::string untilEnd(std::istream &in) {
    std::string word, text;
    while (in >> word && word != "$end")
        text += (text.empty() ? "" : " ") + word;
    return text;
}

// Reads a dump; the first problem found is kept in error.
Dump parseDump(const std::string &text) {
    Dump d;
    std::istringstream in(text);
    std::vector<std::string> path;
    std::string word;
    bool definitions = true, initial = false, stamped = false;
    unsigned long time = 0;
    auto fail = [&d](const std::string &why) {
        if (d.error.empty())
            d.error = why;
    };
    auto joined = [&path] {
        std::string s;
        for (const std::string &p : path)
            s += (s.empty() ? "" : ".") + p;
        return s;
    };
    while (in >> word) {
        if (word == "$comment") {
            (definitions ? d.headerComments : d.bodyComments).push_back(untilEnd(in));
        } else if (definitions) {
            if (word == "$timescale") {
                d.timescale = untilEnd(in);
            } else if (word == "$scope") {
                std::string type, name;
                in >> type >> name;
                path.push_back(name);
                d.scopes.push_back(joined());
                if (untilEnd(in) != "")
                    fail("scope " + name);
            } else if (word == "$upscope") {
                if (path.empty())
                    fail("upscope without scope");
                else
                    path.pop_back();
                untilEnd(in);
            } else if (word == "$var") {
                Variable v;
                std::string type;
                in >> type >> v.width >> v.code;
                v.reference = untilEnd(in);
                v.scope = joined();
                d.variables.push_back(v);
            } else if (word == "$enddefinitions") {
                untilEnd(in);
                definitions = false;
                if (!path.empty())
                    fail("scopes left open");
            } else if (word == "$version" || word == "$date") {
                untilEnd(in);
            } else {
                fail("unexpected in the header: " + word);
            }
        } else if (word[0] == '#') {
            const unsigned long t = std::stoul(word.substr(1));
            if (stamped && t <= time)
                fail("time " + word + " does not follow " + std::to_string(time));
            time = t;
            stamped = true;
            d.stamps.push_back(t);
        } else if (word == "$dumpvars" || word == "$dumpall") {
            initial = true;
            d.sectionStarts.push_back(time);
            d.sectionKeywords.push_back(word);
        } else if (word == "$end") {
            initial = false;
        } else if (!stamped) {
            fail("a value before the first time");
        } else if (word[0] == 'b') {
            std::string code;
            in >> code;
            d.vectorChanges.push_back(code);
            d.changes.push_back({time, code, word.substr(1), initial});
        } else {
            // A scalar: viewers take an uninitialised one only as "u", read here as U.
            std::string value = word.substr(0, 1);
            if (value == "U")
                fail("an uninitialised scalar in upper case: " + word);
            if (value == "u")
                value = "U";
            if (word.size() > 1 && word[1] == ' ')
                fail("a blank in a scalar change");
            d.changes.push_back({time, word.substr(1), value, initial});
        }
    }
    return d;
}

std::string readFile(const std::string &path) {
    return fileText(path);
}

// A probe line of a headless run.
struct ProbeLine {
    int section; // restarts seen before it
    unsigned long time;
    std::string probe; // "decal@position"
    char value;        // as the dump writes it
};

char dumpCharacter(const std::string &name) {
    static const std::map<std::string, char> characters{
        {"ZERO", '0'}, {"ONE", '1'}, {"XXX", 'x'}, {"HIZ", 'z'}, {"UNINITIALIZED", 'U'}};
    return characters.at(name);
}

const char *const restartMarker = "restart requested";

std::vector<ProbeLine> probeLines(const std::string &err) {
    std::vector<ProbeLine> lines;
    const std::regex line("^Time = (\\d+)  Probe for (.*) at (\\S+)  Value = (\\w+)$");
    std::istringstream in(err);
    int section = 0;
    for (std::string text; std::getline(in, text);) {
        std::smatch m;
        if (text == restartMarker)
            ++section;
        else if (std::regex_match(text, m, line))
            lines.push_back({section, std::stoul(m[1]), m[2].str() + "@" + m[3].str(), dumpCharacter(m[4])});
    }
    return lines;
}

// ---- Running circuits -----------------------------------------------------------

std::string temporaryPath(const std::string &suffix) {
    char name[] = "/tmp/norvale-vcd-XXXXXX";
    const int fd = mkstemp(name);
    close(fd);
    const std::string path = std::string(name) + suffix;
    std::rename(name, path.c_str());
    return path;
}

// What a headless run left: its dump and what it wrote to standard error.
struct DumpedRun {
    Dump dump;
    std::string text;
    std::string err;
};

// Runs build headless with -X -V and words in a child process; standard error
// goes to a file, so that the probe lines can be read beside the dump.
DumpedRun runHeadless(void (*build)(), std::vector<std::string> words) {
    const std::string dumpPath = temporaryPath(".vcd"), errPath = temporaryPath(".err");
    words.insert(words.begin(), {"-X", "-V", dumpPath});
    EXPECT_EXIT(
        {
            alarm(60);
            const int fd = open(errPath.c_str(), O_WRONLY | O_TRUNC);
            dup2(fd, 2);
            runSimWith(words, build);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    DumpedRun r{{}, readFile(dumpPath), readFile(errPath)};
    r.dump = parseDump(r.text);
    std::remove(dumpPath.c_str());
    std::remove(errPath.c_str());
    return r;
}

// Three power-on sources switch p on one after the other; inside a module
// box, three inverters make q from them, and a nested box holds two gates
// that make r.  A tri-state buffer that is never enabled leaves h at HIZ.
// The probes are one of each kind.
void probedSources() {
    const Signal p(3, "p"), q(3, "q"), r(2, "r"), h(1, "h");
    PowerOn(SD("aa", nullptr), p[0], 5, Zero);
    PowerOn(SD("ab", nullptr), p[1], 30, Zero);
    PowerOn(SD("ac", nullptr), p[2], 60, Zero);
    const SD unit("ba", nullptr);
    Module(unit, "Unit", p, q);
    Not(SD(unit, "aa", nullptr), p, q);
    const SD core(unit, "bb", nullptr);
    Module(core, "Core", p, r);
    And(SD(core, "aa", nullptr), p.sub(1, 0), r[0]);
    Or(SD(core, "ab", nullptr), p.sub(2, 1), r[1]);
    Tsb(SD("bc", nullptr), p[0], Zero, h);
    Probe(SD("ca", nullptr), q, "");                     // q [2:0] from q[2], q[1], q[0]
    Probe(SD("cb", nullptr), q, "Q");                    // Q [2:0]
    Probe(SD("ba.bb.ba", nullptr), r[1], "inner");       // in the nested scope, shown at level 1
    Probe(SD("cc", nullptr), h, "hiz");                  // HIZ
    ProbeByte(SD("da", nullptr), (p, q, One, Zero), ""); // an eight-bit vector
    Probe(SD("ea", nullptr), p[2], "dup");
    Probe(SD("eb", nullptr), p[0], "dup");
}

// Requests one restart when its input first becomes ONE, and says so after
// every probe line of that step (it is the last component).
void restartOnce(int cind) {
    static bool requested = false;
    if (!requested && phaseThree->currentSignals[phaseTwo->dataInputs[cind][0]] == ONE) {
        requested = true;
        reStart = 1;
        std::cerr << restartMarker << "\n";
    }
}

void probedSourcesWithARestart() {
    probedSources();
    const Signal trigger(1, "trigger");
    // The trigger comes on while p[2] is still to come: a run that has
    // settled ends before the main loop would see a request.
    PowerOn(SD("fa", nullptr), trigger, 40, Zero);
    Probe(SD("fb", nullptr), trigger, "trigger");
    StandardComponent restart;
    restart.decal = "Restart";
    restart.evaluate = restartOnce;
    restart.dataIn = &trigger;
    addStandardComponent(restart, SD("fc", nullptr));
}

// Where each probe line's value sits in the dump: scope, reference and the
// bit counted from the most significant.
struct Place {
    std::string scope, reference;
    int bit;
};

// Checks every probe line against the dump at the same time, and every
// change of those variables against a probe line: every change but those at
// a section's last time, whose values were applied but never evaluated.
void expectProbeLinesMatch(const DumpedRun &run, const std::map<std::string, Place> &places) {
    const Dump &d = run.dump;
    const std::vector<ProbeLine> lines = probeLines(run.err);
    ASSERT_FALSE(lines.empty());
    std::vector<unsigned long> offsets{0};
    const std::regex restart("Restart (\\d+): simulated time 0 is dump time (\\d+)\\.");
    for (const std::string &c : d.bodyComments) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(c, m, restart)) << c;
        EXPECT_EQ(std::stoul(m[1]), offsets.size());
        offsets.push_back(std::stoul(m[2]));
    }
    std::set<std::pair<unsigned long, std::string>> seen; // dump time, code and bit
    for (const ProbeLine &l : lines) {
        ASSERT_LT(static_cast<size_t>(l.section), offsets.size());
        const auto place = places.find(l.probe);
        if (place == places.end())
            continue; // the bits of a labelled probe over a bus share one line text

        const Variable *v = d.find(place->second.scope, place->second.reference);
        ASSERT_NE(v, nullptr) << place->second.reference;
        const unsigned long t = offsets[static_cast<size_t>(l.section)] + l.time;
        const std::string value = d.valueAt(v->code, t);
        ASSERT_EQ(static_cast<int>(value.size()), v->width) << v->reference;
        EXPECT_EQ(value[static_cast<size_t>(place->second.bit)], l.value)
            << l.probe << " at simulated time " << l.time << " in section " << l.section;
        seen.insert({t, v->code + "/" + std::to_string(place->second.bit) + l.value});
    }
    // The last dump time of each section.
    std::set<unsigned long> sectionEnds;
    for (size_t k = 0; k < d.sectionStarts.size(); ++k) {
        const unsigned long next = k + 1 < d.sectionStarts.size() ? d.sectionStarts[k + 1] : ~0UL;
        unsigned long last = d.sectionStarts[k];
        for (const unsigned long s : d.stamps)
            if (s < next)
                last = std::max(last, s);
        sectionEnds.insert(last);
    }
    std::map<std::string, std::string> previous;
    for (const Change &c : d.changes) {
        for (const auto &[probe, place] : places) {
            const Variable *v = d.find(place.scope, place.reference);
            if (!v || v->code != c.code || c.initial || sectionEnds.count(c.time))
                continue;
            const std::string key = c.code + "/" + std::to_string(place.bit);
            const char bit = c.value[static_cast<size_t>(place.bit)];
            if (previous[key].size() && previous[key][0] == bit)
                continue; // another bit of the vector changed
            EXPECT_TRUE(seen.count({c.time, key + bit})) << probe << " changed at dump time " << c.time;
        }
        for (const auto &[probe, place] : places) {
            const Variable *v = d.find(place.scope, place.reference);
            if (v && v->code == c.code)
                previous[c.code + "/" + std::to_string(place.bit)] =
                    std::string(1, c.value[static_cast<size_t>(place.bit)]);
        }
    }
}

// Checks what every dump must be: its header, unique printable codes,
// increasing times, a full dump per section and changes only of values.
void expectWellFormed(const Dump &d) {
    EXPECT_EQ(d.error, "");
    EXPECT_EQ(d.timescale, "1 ns");
    EXPECT_TRUE(std::any_of(d.headerComments.begin(), d.headerComments.end(), [](const std::string &c) {
        return c.find("U UNINITIALIZED") != std::string::npos;
    }));
    ASSERT_FALSE(d.scopes.empty());
    EXPECT_EQ(d.scopes[0], "circuit");
    std::set<std::string> codes;
    for (const Variable &v : d.variables) {
        EXPECT_TRUE(codes.insert(v.code).second) << "code " << v.code << " twice";
        for (const char c : v.code)
            EXPECT_TRUE(c >= '!' && c <= '~') << v.code;
        EXPECT_EQ(v.reference.find(' '), v.reference.find(" [")) << "a blank in " << v.reference;
    }
    ASSERT_FALSE(d.sectionStarts.empty());
    EXPECT_EQ(d.sectionStarts[0], 0u);
    EXPECT_EQ(d.sectionKeywords[0], "$dumpvars");
    std::map<std::string, std::string> last;
    std::map<std::string, int> widths;
    for (const Variable &v : d.variables)
        widths[v.code] = v.width;
    size_t section = 0;
    std::set<std::string> inFullDump;
    for (const std::string &code : d.vectorChanges)
        EXPECT_GT(widths[code], 1) << "a one-bit variable written as a vector: " << code;
    for (const Change &c : d.changes) {
        ASSERT_TRUE(widths.count(c.code)) << "undeclared code " << c.code;
        EXPECT_EQ(static_cast<int>(c.value.size()), widths[c.code]) << c.code;
        EXPECT_EQ(c.value.find_first_not_of("01xzU"), std::string::npos) << c.value;
        if (c.initial) {
            if (section < d.sectionStarts.size() && c.time == d.sectionStarts[section] && inFullDump.empty())
                ++section;
            inFullDump.insert(c.code);
        } else {
            if (!inFullDump.empty()) {
                EXPECT_EQ(inFullDump.size(), d.variables.size()) << "a full dump lacks variables";
            }
            inFullDump.clear();
            EXPECT_NE(last[c.code], c.value) << c.code << " written unchanged at " << c.time;
        }
        last[c.code] = c.value;
    }
}

const std::map<std::string, Place> probePlaces{
    {"q[2]@ca", {"circuit", "q [2:0]", 0}}, {"q[1]@ca", {"circuit", "q [2:0]", 1}},
    {"q[0]@ca", {"circuit", "q [2:0]", 2}}, {"inner@ba.bb.ba", {"circuit.Unit_ba.Core_ba_bb", "inner", 0}},
    {"hiz@cc", {"circuit", "hiz", 0}},      {"dup@ea", {"circuit", "dup", 0}},
    {"dup@eb", {"circuit", "dup_2", 0}},    {"trigger@fb", {"circuit", "trigger", 0}},
};

TEST(ValueChangeDump, ProbedSignalsByScopeWithTheValuesOfTheProbeLines) {
    freshNetlist();
    const DumpedRun run = runHeadless(probedSources, {});
    const Dump &d = run.dump;
    expectWellFormed(d);
    EXPECT_EQ(d.scopes,
              (std::vector<std::string>{"circuit", "circuit.Unit_ba", "circuit.Unit_ba.Core_ba_bb"}));
    std::vector<std::string> declared;
    for (const Variable &v : d.variables)
        declared.push_back(v.scope + " " + std::to_string(v.width) + " " + v.reference);
    EXPECT_EQ(declared, (std::vector<std::string>{"circuit 3 q [2:0]", "circuit 3 Q [2:0]", "circuit 1 hiz",
                                                  "circuit 8 p,q,One,Zero [7:0]", "circuit 1 dup",
                                                  "circuit 1 dup_2", "circuit.Unit_ba.Core_ba_bb 1 inner"}));
    expectProbeLinesMatch(run, probePlaces);
    // The labelled probe over q and the eight-bit probe agree with q at every time.
    const std::string q = d.find("circuit", "q [2:0]")->code, Q = d.find("circuit", "Q [2:0]")->code,
                      byte = d.find("circuit", "p,q,One,Zero [7:0]")->code;
    for (const unsigned long t : d.stamps) {
        EXPECT_EQ(d.valueAt(Q, t), d.valueAt(q, t)) << t;
        EXPECT_EQ(d.valueAt(byte, t).substr(3, 5), d.valueAt(q, t) + "10") << t;
    }
    EXPECT_EQ(d.valueAt(q, d.stamps.back()), "000");
    EXPECT_EQ(d.valueAt(byte, d.stamps.back()), "11100010");
    EXPECT_EQ(d.valueAt(d.find("circuit", "hiz")->code, d.stamps.back()), "z");
}

TEST(ValueChangeDump, ARestartStartsACommentedSectionWithAFullDump) {
    freshNetlist();
    const DumpedRun run = runHeadless(probedSourcesWithARestart, {});
    const Dump &d = run.dump;
    expectWellFormed(d);
    ASSERT_EQ(d.sectionKeywords, (std::vector<std::string>{"$dumpvars", "$dumpall"}));
    ASSERT_EQ(d.bodyComments.size(), 1u);
    // The restart comes one unit after the time the first pass had reached.
    EXPECT_EQ(d.bodyComments[0],
              "Restart 1: simulated time 0 is dump time " + std::to_string(d.sectionStarts[1]) + ".");
    EXPECT_GT(d.sectionStarts[1], 40u);
    for (const Change &c : d.changes)
        if (c.initial && c.time == d.sectionStarts[1]) {
            EXPECT_EQ(c.value.find_first_not_of("U10"), std::string::npos)
                << "after a reset only U and constants";
        }
    expectProbeLinesMatch(run, probePlaces);
}

TEST(ValueChangeDump, EveryBusInTheScopeOfItsDriversWideOnesBitByBit) {
    freshNetlist();
    const DumpedRun run = runHeadless(
        [] {
            probedSources();
            const Signal wide(70, "wide"); // undriven, wider than a vector is written
            Probe(SD("fa", nullptr), wide[69], "");
        },
        {"-A"});
    const Dump &d = run.dump;
    expectWellFormed(d);
    std::map<std::string, std::string> where;
    for (const Variable &v : d.variables)
        where[v.reference] = v.scope + " " + std::to_string(v.width);
    EXPECT_EQ(where["Zero"], "circuit 1");
    EXPECT_EQ(where["p [2:0]"], "circuit 3");
    // The module box lists q among its outputs, but the inverters inside drive it.
    EXPECT_EQ(where["q [2:0]"], "circuit.Unit_ba 3");
    EXPECT_EQ(where["r [1:0]"], "circuit.Unit_ba.Core_ba_bb 2");
    EXPECT_EQ(where["h"], "circuit 1");
    EXPECT_EQ(where["wide [0]"], "circuit 1");
    EXPECT_EQ(where["wide [69]"], "circuit 1");
    EXPECT_EQ(where.count("wide [69:0]"), 0u);
    const std::map<std::string, Place> busPlaces{
        {"q[2]@ca", {"circuit.Unit_ba", "q [2:0]", 0}},
        {"q[1]@ca", {"circuit.Unit_ba", "q [2:0]", 1}},
        {"q[0]@ca", {"circuit.Unit_ba", "q [2:0]", 2}},
        {"inner@ba.bb.ba", {"circuit.Unit_ba.Core_ba_bb", "r [1:0]", 0}},
        {"hiz@cc", {"circuit", "h", 0}},
        {"dup@ea", {"circuit", "p [2:0]", 0}},
        {"dup@eb", {"circuit", "p [2:0]", 2}},
        {"wide[69]@fa", {"circuit", "wide [69]", 0}},
    };
    expectProbeLinesMatch(run, busPlaces);
}

// A run that ends before it simulates still leaves the declarations.
TEST(ValueChangeDump, AnEarlyExitWritesTheDeclarations) {
    freshNetlist();
    const DumpedRun run = runHeadless(probedSources, {"-E"});
    EXPECT_EQ(run.dump.error, "");
    EXPECT_EQ(run.dump.variables.size(), 7u);
    EXPECT_TRUE(run.dump.changes.empty());
}

void announceBuild() {
    std::cerr << "built\n";
}

struct UnwritableCase {
    const char *name;
    const char *path;
    const char *reason;
};

class UnwritableDump : public testing::TestWithParam<UnwritableCase> {};

TEST_P(UnwritableDump, EndsWithStatusOneBeforeTheCircuitIsBuilt) {
    freshNetlist();
    const UnwritableCase &c = GetParam();
    std::string words[] = {"norvale", "-X", "-V", c.path};
    char *argv[] = {words[0].data(), words[1].data(), words[2].data(), words[3].data(), nullptr};
    EXPECT_EXIT(Sim(4, argv, announceBuild), ::testing::ExitedWithCode(1),
                "^Option -V rejected: cannot write " + std::string(c.path) + " \\(" + c.reason + "\\)\\.\n$");
}

INSTANTIATE_TEST_SUITE_P(ValueChangeDump, UnwritableDump,
                         testing::Values(UnwritableCase{"MissingDirectory", "/nonexistent-norvale-dir/w.vcd",
                                                        "No such file or directory"},
                                         UnwritableCase{"ADirectory", "/tmp", "Is a directory"}),
                         [](const testing::TestParamInfo<UnwritableCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(ValueChangeDumpDeath, AllSignalsWithoutAFileAreReportedAndTheRunGoesOn) {
    freshNetlist();
    std::string words[] = {"norvale", "-X", "-E", "-A"};
    char *argv[] = {words[0].data(), words[1].data(), words[2].data(), words[3].data(), nullptr};
    EXPECT_EXIT(
        {
            Sim(4, argv, announceBuild);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "^Option -A ignored: it needs -V\\.\nbuilt\n");
}

// Converts the dump to the viewer's own format and back (vcd2fst, fst2vcd)
// and checks that every variable (one-bit ones always) keeps its values at
// every time of the dump.  False when the converters are not installed.
bool expectRoundTrip(const DumpedRun &run, bool oneBitOnly) {
    if (std::system("command -v vcd2fst >/dev/null 2>&1 && command -v fst2vcd >/dev/null 2>&1") != 0)
        return false;
    const std::string vcd = temporaryPath(".vcd"), fst = temporaryPath(".fst"), back = temporaryPath(".vcd"),
                      log = temporaryPath(".log");
    std::ofstream(vcd) << run.text;
    EXPECT_EQ(std::system(("vcd2fst " + vcd + " " + fst + " >" + log + " 2>&1").c_str()), 0);
    EXPECT_EQ(readFile(log), "");
    EXPECT_EQ(std::system(("fst2vcd " + fst + " >" + back + " 2>" + log).c_str()), 0);
    const Dump again = parseDump(readFile(back));
    EXPECT_EQ(again.error, "");
    EXPECT_EQ(again.variables.size(), run.dump.variables.size());
    int checked = 0;
    for (size_t k = 0; k < std::min(again.variables.size(), run.dump.variables.size()); ++k) {
        const Variable &a = again.variables[k], &b = run.dump.variables[k];
        EXPECT_EQ(a.scope + " " + a.reference, b.scope + " " + b.reference);
        if (oneBitOnly && b.width != 1)
            continue;
        ++checked;
        for (const unsigned long t : run.dump.stamps) {
            std::string value = again.valueAt(a.code, t);
            std::replace(value.begin(), value.end(), 'u', 'U'); // vectors come back with U in lower case
            EXPECT_EQ(value, run.dump.valueAt(b.code, t)) << b.scope << " " << b.reference << " at " << t;
        }
    }
    EXPECT_GT(checked, 0);
    for (const std::string &f : {vcd, fst, back, log})
        std::remove(f.c_str());
    return true;
}

// gtkwave's converter reads the dump (restart section and U values included)
// and writes back the same values at the same times.
TEST(ValueChangeDump, TheWaveformConverterReadsItBackUnchanged) {
    freshNetlist();
    if (!expectRoundTrip(runHeadless(probedSourcesWithARestart, {"-A"}), false))
        GTEST_SKIP() << "vcd2fst (Debian's gtkwave) is not installed";
}

// One-bit variables are scalar changes, "u" for UNINITIALIZED; vectors keep
// the vector form with U.
TEST(ValueChangeDump, OneBitChangesAreScalars) {
    freshNetlist();
    const DumpedRun run = runHeadless(probedSources, {});
    const std::string dup = run.dump.find("circuit", "dup")->code,
                      hiz = run.dump.find("circuit", "hiz")->code,
                      q = run.dump.find("circuit", "q [2:0]")->code;
    const std::string dumpvars = run.text.substr(run.text.find("$dumpvars\n"));
    for (const std::string &line : {"u" + dup, "z" + hiz, "bUUU " + q})
        EXPECT_NE(dumpvars.find("\n" + line + "\n"), std::string::npos) << line;
    // p[2] is switched on later: a scalar change, never the vector form of one bit.
    const size_t body = run.text.find("$end\n", run.text.find("$dumpvars\n"));
    EXPECT_TRUE(run.text.find("\n0" + dup + "\n", body) != std::string::npos ||
                run.text.find("\n1" + dup + "\n", body) != std::string::npos);
    EXPECT_EQ(run.text.find("\nb0 "), std::string::npos);
    EXPECT_EQ(run.text.find("\nbU "), std::string::npos);
}

} // namespace

void simnet();

namespace {

// The computer linked into the program, as a student dumps it: through reset
// and nine microinstructions (AC becomes 0xAAAA).
TEST(ComputerDump, ProbesWithTheRegistersAsWholeWordsAndTheViewerReadsThemBack) {
    freshNetlist();
    const DumpedRun run = runHeadless(simnet, {"-k", "1,1,0*72"});
    const Dump &d = run.dump;
    expectWellFormed(d);
    const Variable *word = d.find("circuit.words", "R1 [15:0]");
    ASSERT_NE(word, nullptr);
    const std::string high = d.find("circuit", "R1 [7:0]")->code, low = d.find("circuit", "AC [7:0]")->code;
    for (const unsigned long t : d.stamps)
        EXPECT_EQ(d.valueAt(word->code, t), d.valueAt(high, t) + d.valueAt(low, t)) << t;
    EXPECT_EQ(d.valueAt(word->code, d.stamps.back()), "1010101010101010");
    int words = 0;
    for (const Variable &v : d.variables)
        words += v.scope == "circuit.words";
    EXPECT_EQ(words, 27) << "the 16 registers and the 11 buses shown as two panes";
    // The phases are scalars that viewers draw as steps.
    EXPECT_EQ(d.find("circuit", "Ph1")->width, 1);
    expectRoundTrip(run, true);
}

// With -A the scopes are the module boxes, nested as the build functions
// nest them, each scope named by its box's tag and position.
TEST(ComputerDump, EverySignalInScopesNestedAsTheBoxes) {
    freshNetlist();
    const DumpedRun run = runHeadless(simnet, {"-A", "-k", "1,1,0*8"});
    const Dump &d = run.dump;
    expectWellFormed(d);
    // Each scope's path by the boxes' tags alone.
    std::map<std::string, int> tagged;
    for (const std::string &scope : d.scopes) {
        std::string path;
        std::istringstream parts(scope);
        for (std::string part; std::getline(parts, part, '.');)
            path += (path.empty() ? "" : ".") + part.substr(0, part.find("_eo-hr"));
        ++tagged[path];
    }
    const std::map<std::string, int> expected{
        {"circuit", 1},
        {"circuit.Computer", 1},
        {"circuit.Computer.Four_Phase_Clock", 1},
        {"circuit.Computer.DataPath", 1},
        {"circuit.Computer.DataPath.ALU16", 1},
        {"circuit.Computer.DataPath.ALU16.One_Bit_ALU", 16},
        {"circuit.Computer.DataPath.ALU16.One_Bit_ALU.Full_Adder", 16},
        {"circuit.Computer.DataPath.SHIFTER16", 1},
        {"circuit.Computer.DataPath.SHIFTER16.One_Bit_Shifter", 16},
        {"circuit.Computer.MIC_Comp", 1},
        {"circuit.Computer.Comm", 1},
        {"circuit.Computer.Memory", 1},
    };
    for (const auto &[path, n] : expected)
        EXPECT_EQ(tagged[path], n) << path;
    for (const auto &[path, n] : tagged)
        EXPECT_TRUE(path.rfind("circuit.Computer", 0) == 0 || path == "circuit") << path;
    // The clock's scope holds the clock's own signals and nothing of the data path.
    for (const Variable &v : d.variables)
        if (v.scope.find("Four_Phase_Clock") != std::string::npos) {
            EXPECT_EQ(v.scope.find("Four_Phase_Clock_eo-hr_aa."), std::string::npos) << "nested: " << v.scope;
            EXPECT_EQ(v.reference.rfind("R", 0), std::string::npos) << v.reference;
        }
    expectRoundTrip(run, true);
}

} // namespace
