// The key path of the program on a small panel, run in-process the way the
// program runs a circuit without a window: its key bindings, its start, and
// what each key does to its probes.
#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <string>

#include "DemoPanel.h"
#include "ModelHarness.h"
#include "core/Ph2.h"
#include "core/Ph4.h"

namespace {

const std::map<std::string, std::string> settledStart = {
    {"a AND b", "ZERO"},      {"a OR b", "ZERO"}, {"a XOR b", "ZERO"},
    {"Clk OR pulse", "ZERO"}, {"not Rst", "ONE"},
};

TEST(PanelModel, StartsCleanAndSettles) {
    const std::string out = startHeadless(demo::panel);
    EXPECT_EQ(out.rfind("There are 16 components.\nThere are 12 signals.\n", 0), 0u) << out;
    EXPECT_EQ(out.find("arning"), std::string::npos) << "no connectivity warning expected:\n" << out;
    EXPECT_EQ(lastValues(out), settledStart);
    EXPECT_TRUE(settled()) << "a headless start ends when nothing can change";
}

TEST(PanelModel, KeysAreBoundToTheirSwitchesInCaptureOrder) {
    startHeadless(demo::panel);
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
        startHeadless(demo::panel);
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
    startHeadless(demo::panel);
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
