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

// Two buffers from the constants and one bus.
void twoComponents() {
    const Signal y(2, "y");
    addStandardComponent(evaluateNothing, nullptr, "B", SD("a", nullptr), Zero, Signal(0, "none"), y[0]);
    addStandardComponent(evaluateNothing, nullptr, "B", SD("b", nullptr), One, Signal(0, "none"), y[1]);
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
    addStandardComponent(nullptr, SecondaryEvaluatePointer{}, nullptr, nullptr, leapNearTheEnd, nullptr, 0, 0,
                         "Leap", SD("ab", nullptr), Signal(0, "none"), Signal(0, "none"), Signal(0, "none"),
                         0, nullptr, 0, nullptr, 0, 0, 0);
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
    words.insert(words.begin(), "norvale");
    std::vector<char *> argv;
    for (auto &w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    Sim(static_cast<int>(words.size()), argv.data(), build);
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
                "^Command line options:\n(.|\n)*  -h\n$");
}

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
