// The circuit linked into the program, built in-process and run the way
// the program runs it without a window: its key bindings, its start, and what
// each key does to its probes.
#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/Ph2.h"
#include "core/Ph4.h"
#include "core/Ph4Run.h"
#include "core/Sim.h"
#include "core/cmdLine.h"
#include "display/Ph5.h"
#include "support/Fresh.h"
#include "DemoPanel.h"

namespace {

// What the program writes on standard error while it builds, checks and
// starts the circuit headless: the count lines, any connectivity warning and
// the probe lines of the settling start.
std::string startHeadless() {
    freshNetlist();
    useXDisplay = 0;
    testing::internal::CaptureStderr();
    demo::panel();
    convertCapturedNetlist();
    drawFirstTime();
    restartAtTimeZero();
    simulate();
    return testing::internal::GetCapturedStderr();
}

// Presses a key the way the window does: the first switch bound to it
// operates.  Returns the component index it reached, or -1 for none.
int press(char key) {
    for (int k = 0; k < phaseTwo->numberOfSwitches; ++k) {
        const auto &binding = phaseTwo->activationsFromWindow[k];
        if (binding[0] != key)
            continue;
        phaseTwo->xEventTriggered[binding[1]](binding[1]);
        return binding[1];
    }
    return -1;
}

// Presses the keys in order, letting the circuit settle after each, and
// returns the probe lines written meanwhile.
std::string pressAndSettle(const std::string &keys) {
    testing::internal::CaptureStderr();
    for (const char key : keys) {
        EXPECT_NE(press(key), -1) << "no switch is bound to " << key;
        simulate();
    }
    return testing::internal::GetCapturedStderr();
}

// The value each probe shows last in the given lines, by probe label.  A
// probe line reads "Time = T  Probe for LABEL at POSITION  Value = VALUE".
std::map<std::string, std::string> lastValues(const std::string &lines) {
    const std::string probeFor = "  Probe for ", at = " at ", value = "  Value = ";
    std::map<std::string, std::string> last;
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);) {
        const size_t labelStart = line.find(probeFor);
        const size_t valueStart = line.rfind(value);
        if (line.rfind("Time = ", 0) != 0 || labelStart == std::string::npos ||
            valueStart == std::string::npos)
            continue;
        const size_t labelEnd = line.rfind(at, valueStart);
        const size_t from = labelStart + probeFor.size();
        last[line.substr(from, labelEnd - from)] = line.substr(valueStart + value.size());
    }
    return last;
}

const std::map<std::string, std::string> settledStart = {
    {"a AND b", "ZERO"},      {"a OR b", "ZERO"}, {"a XOR b", "ZERO"},
    {"Clk OR pulse", "ZERO"}, {"not Rst", "ONE"},
};

TEST(PanelModel, StartsCleanAndSettles) {
    const std::string out = startHeadless();
    EXPECT_EQ(out.rfind("There are 16 components.\nThere are 12 signals.\n", 0), 0u) << out;
    EXPECT_EQ(out.find("arning"), std::string::npos) << "no connectivity warning expected:\n" << out;
    EXPECT_EQ(lastValues(out), settledStart);
    EXPECT_TRUE(phaseFour->skewHeap.isEmpty()) << "a headless start ends when nothing can change";
}

TEST(PanelModel, KeysAreBoundToTheirSwitchesInCaptureOrder) {
    startHeadless();
    const struct {
        char key;
        const char *wire;
    } expected[] = {{'a', "In[1]"}, {'b', "In[0]"}, {'0', "Tick[0]"}, {'1', "Reset[0]"}, {'p', "Pulse[0]"}};
    ASSERT_EQ(phaseTwo->numberOfSwitches, static_cast<int>(std::size(expected)));
    for (size_t k = 0; k < std::size(expected); ++k) {
        const auto &binding = phaseTwo->activationsFromWindow[k];
        EXPECT_EQ(binding[0], expected[k].key) << k;
        EXPECT_EQ(std::string(phaseTwo->signalNames[binding[2]]), expected[k].wire) << expected[k].key;
        const int cind = binding[1];
        ASSERT_EQ(phaseTwo->numberOfOutputs[cind], 1) << expected[k].key;
        EXPECT_EQ(phaseTwo->outputs[cind][0], binding[2]) << "key " << expected[k].key << " drives its wire";
    }
    EXPECT_EQ(press('q'), -1) << "no other key is bound";
}

TEST(PanelModel, KeysSetTheProbesTheyAreWiredTo) {
    const struct {
        const char *keys;
        std::map<std::string, std::string> changed; // probes that differ from the settled start
    } cases[] = {
        {"a", {{"a OR b", "ONE"}, {"a XOR b", "ONE"}}},
        {"b", {{"a OR b", "ONE"}, {"a XOR b", "ONE"}}},
        {"ab", {{"a AND b", "ONE"}, {"a OR b", "ONE"}}},
        {"aa", {}},
        {"0", {{"Clk OR pulse", "ONE"}}},
        {"1", {{"not Rst", "ZERO"}}},
        {"11", {}},
        {"01ab", {{"a AND b", "ONE"}, {"a OR b", "ONE"}, {"Clk OR pulse", "ONE"}, {"not Rst", "ZERO"}}},
        {"p", {}}, // the pulse has ended by the time the circuit settles
    };
    for (const auto &c : cases) {
        startHeadless();
        std::map<std::string, std::string> expected = settledStart;
        for (const auto &[probe, value] : c.changed)
            expected[probe] = value;
        std::map<std::string, std::string> shown = settledStart;
        for (const auto &[probe, value] : lastValues(pressAndSettle(c.keys)))
            shown[probe] = value;
        EXPECT_EQ(shown, expected) << "keys " << c.keys;
    }
}

// The lines themselves, as a user sees them: the start settles at time 20,
// 'a' reaches its two gates through the switch and gate delays, and the
// pulse of 'p' (40 units) passes through the OR gate and ends by itself.
TEST(PanelModel, KeyPressesWriteTheseProbeLines) {
    startHeadless();
    EXPECT_EQ(pressAndSettle("a"), "Time = 34  Probe for a OR b at bd  Value = XXX\n"
                                   "Time = 34  Probe for a XOR b at cd  Value = XXX\n"
                                   "Time = 40  Probe for a OR b at bd  Value = ONE\n"
                                   "Time = 40  Probe for a XOR b at cd  Value = ONE\n");
    EXPECT_EQ(pressAndSettle("p"), "Time = 54  Probe for Clk OR pulse at dd  Value = XXX\n"
                                   "Time = 60  Probe for Clk OR pulse at dd  Value = ONE\n"
                                   "Time = 94  Probe for Clk OR pulse at dd  Value = XXX\n"
                                   "Time = 99  Probe for Clk OR pulse at dd  Value = ZERO\n");
}

} // namespace
