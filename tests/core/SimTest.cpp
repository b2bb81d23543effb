// The phase driver on small circuits: what a run writes and where it stops.
#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <vector>

#include "core/Ph1.h"
#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/Ph4.h"
#include "core/Sim.h"
#include "core/addStCmp.h"
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

// Marks that capture happened.
void announceBuild() {
    std::cerr << "built\n";
}

// Runs Sim with "norvale" and words on build.
void runSim(std::vector<std::string> words, void (*build)()) {
    words.insert(words.begin(), "norvale");
    std::vector<char *> argv;
    for (auto &w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    Sim(static_cast<int>(words.size()), argv.data(), build);
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

} // namespace
