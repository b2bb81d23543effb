// The phase driver on small circuits: what a run writes and where it stops.
#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "components/ssiPh1.h"
#include "core/Ph1.h"
#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/Ph4.h"
#include "core/RunTime.h"
#include "core/Sim.h"
#include "core/addStCmp.h"
#include "core/cmdLine.h"
#include "display/Ph5.h"
#include "support/Fresh.h"

namespace {

void evaluateNothing(int) {}

// A buffer from in to out that evaluates to nothing.
void buffer(const char *position, const Signal &in, const Signal &out) {
    StandardComponent c;
    c.decal = "B";
    c.evaluate = evaluateNothing;
    c.dataIn = &in;
    c.out = &out;
    addStandardComponent(c, SD(position, nullptr));
}

// Two buffers from the constants and one bus.
void twoComponents() {
    const Signal y(2, "y");
    buffer("a", Zero, y[0]);
    buffer("b", One, y[1]);
}

// A circuit whose larger components rejected their arguments twice.
void twoCountedErrors() {
    twoComponents();
    phaseOne->fatalDiagnosticCount += 2;
}

// A clock watched by a probe.
void watchedClock() {
    const Signal clk(1, "Clk");
    Clock(SD("aa", nullptr), clk, 5, 0, 20, Zero);
    Probe(SD("ab", nullptr), clk, "clk");
}

// Moves the run close to the end of time when the reset drives the keyboard
// sources, so that the clock starts there.
void leapNearTheEnd(int) {
    phaseFour->time = PhaseFour::latestTime - 100;
}

// A clock beside a component whose key function moves time near its end.
void clockNearTheEnd() {
    const Signal clk(1, "Clk");
    Clock(SD("aa", nullptr), clk, 5, 0, 20, Zero);
    StandardComponent leap;
    leap.decal = "Leap";
    leap.key = leapNearTheEnd;
    addStandardComponent(leap, SD("ab", nullptr));
}

// Marks that capture happened.
void announceBuild() {
    std::cerr << "built\n";
}

// Runs Sim with "norvale" and words on build, as the program's entry does:
// a run that returns ends the process with status 0.  A run still going
// after a minute is killed by its alarm (death tests run in a child).
[[noreturn]] void runSimToTheEnd(std::vector<std::string> words, void (*build)());

// Runs Sim with "norvale" and words on build.
void runSim(std::vector<std::string> words, void (*build)()) {
    runSimWith(std::move(words), build);
}

void runSimToTheEnd(std::vector<std::string> words, void (*build)()) {
    alarm(60);
    runSim(std::move(words), build);
    std::exit(0);
}

TEST(Sim, HeadlessEarlyExitCapturesCountsAndTearsDown) {
    freshNetlist();
    testing::internal::CaptureStderr();
    runSim({"-X", "-E"}, twoComponents);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "There are 2 components.\nThere are 4 signals.\n");
    const bool allGone = !phaseOne && !phaseTwo && !phaseThree && !phaseFour && !phaseFive;
    EXPECT_TRUE(allGone);
}

TEST(SimDeath, CountedCaptureErrorsStopBeforeTheCounts) {
    freshNetlist();
    EXPECT_EXIT(runSim({"-X", "-E"}, twoCountedErrors), ::testing::ExitedWithCode(1),
                "^2 Fatal Diagnostic\\(s\\)--Can't Continue\\.\n$");
}

TEST(SimDeath, HelpStopsBeforeTheCircuitIsBuilt) {
    freshNetlist();
    EXPECT_EXIT(runSim({"-h"}, announceBuild), ::testing::ExitedWithCode(0),
                "^Command line options:\n(.|\n)*  -h\n(.|\n)*$");
}

// One buffer reading a signal nothing drives.
void openInput() {
    const Signal u(1, "u"), y(1, "y");
    buffer("a", u, y);
}

struct ConversionCase {
    const char *name;
    ConversionOptions options;
    bool counted;  // the count lines are written and the capture is gone
    bool warned;   // the open input is reported
    bool displays; // the display exists
};

void PrintTo(const ConversionCase &c, std::ostream *os) {
    *os << c.name;
}

class Conversion : public testing::TestWithParam<ConversionCase> {};

TEST_P(Conversion, LeavesOutOnlyTheStagesAskedFor) {
    const ConversionCase &c = GetParam();
    freshNetlist();
    useXDisplay = 0;
    openInput();
    testing::internal::CaptureStderr();
    convertCapturedNetlist(c.options);
    const std::string said = testing::internal::GetCapturedStderr();
    const std::string counts = "There are 1 components.\nThere are 4 signals.\n";
    EXPECT_EQ(said.compare(0, counts.size(), counts) == 0, c.counted) << said;
    EXPECT_EQ(phaseOne == nullptr, c.counted);
    EXPECT_EQ(said.find("has no driver") != std::string::npos, c.warned) << said;
    EXPECT_EQ(phaseFive != nullptr, c.displays);
    ASSERT_NE(phaseFour, nullptr);
    EXPECT_EQ(phaseThree->activationStart[3] - phaseThree->activationStart[2], 1)
        << "the activation lists are always built";
}

ConversionOptions without(bool ConversionOptions::*stage) {
    ConversionOptions o;
    o.*stage = !(o.*stage);
    return o;
}

INSTANTIATE_TEST_SUITE_P(
    Sim, Conversion,
    testing::Values(
        ConversionCase{"EveryStage", {}, true, true, true},
        ConversionCase{"KeepingTheCapture", without(&ConversionOptions::keepCapture), false, true, true},
        ConversionCase{"WithoutConnectivityWarnings", without(&ConversionOptions::checkConnectivity), true,
                       false, true},
        ConversionCase{"WithoutADisplay", without(&ConversionOptions::openDisplay), true, true, false}),
    [](const testing::TestParamInfo<ConversionCase> &info) { return std::string(info.param.name); });

const char *const clockUntilSixty = "^There are 2 components\\.\n"
                                    "There are 3 signals\\.\n"
                                    "Time = 0  Probe for clk at ab  Value = UNINITIALIZED\n"
                                    "Time = 0  Probe for clk at ab  Value = UNINITIALIZED\n"
                                    "Time = 7  Probe for clk at ab  Value = XXX\n"
                                    "Time = 10  Probe for clk at ab  Value = ZERO\n"
                                    "Time = 14  Probe for clk at ab  Value = XXX\n"
                                    "Time = 19  Probe for clk at ab  Value = ONE\n"
                                    "Time = 28  Probe for clk at ab  Value = XXX\n"
                                    "Time = 33  Probe for clk at ab  Value = ZERO\n"
                                    "Time = 52  Probe for clk at ab  Value = XXX\n"
                                    "Time = 57  Probe for clk at ab  Value = ONE\n$";

struct SlowDownCase {
    const char *name;
    std::vector<std::string> words; // after -X -T 60
};

void PrintTo(const SlowDownCase &c, std::ostream *os) {
    *os << c.name;
}

class HeadlessSlowDown : public testing::TestWithParam<SlowDownCase> {};

// Without a window the slow-down has nothing to wait for and no key could
// take it back: the run goes at full speed and writes what it writes without.
TEST_P(HeadlessSlowDown, NeitherWaitsNorChangesTheRun) {
    freshNetlist();
    std::vector<std::string> words{"-X", "-T", "60"};
    words.insert(words.end(), GetParam().words.begin(), GetParam().words.end());
    EXPECT_EXIT(runSimToTheEnd(words, watchedClock), ::testing::ExitedWithCode(0), clockUntilSixty);
}

INSTANTIATE_TEST_SUITE_P(Sim, HeadlessSlowDown,
                         testing::Values(SlowDownCase{"FullSpeed", {}},
                                         SlowDownCase{"OneLevelSlower", {"-K", "0"}},
                                         SlowDownCase{"TheSlowestLevel", {"-K", "000000000000000000000000"}},
                                         // The status line keeps the run in the main loop.
                                         SlowDownCase{"TheSlowestLevelWithTheStatusLine",
                                                      {"-t", "-K", "000000000000000000000000"}}),
                         [](const testing::TestParamInfo<SlowDownCase> &info) {
                             return std::string(info.param.name);
                         });

// Once time has saturated at its largest value, a clock would toggle there
// for ever and no stop time could end the run.
TEST(SimDeath, ARunWhoseTimeCanAdvanceNoFurtherEndsWithAMessage) {
    freshNetlist();
    EXPECT_EXIT(runSimToTheEnd({"-X"}, clockNearTheEnd), ::testing::ExitedWithCode(0),
                "^There are 2 components\\.\n"
                "There are 3 signals\\.\n"
                "Simulated time can advance no further: the run ends at time 18446744073709551615\\.\n$");
}

} // namespace
