// Scripted keys with a window: the panel program presses the -k list as the
// user would, the user goes on by hand afterwards, and -s writes the probes'
// values when F10 ends the run.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "ChildProgram.h"
#include "Panel.h"
#include "XHarness.h"

namespace {

using namespace panelView;

TEST(KeyScriptWindow, ScriptedKeysComeFirstThenTheUsersOwn) {
    REQUIRE_X_DISPLAY();
    xtest::Connection x;
    ASSERT_NE(x.get(), nullptr);
    const std::string label = uniqueLabel();
    ChildProgram program(circuitProgram("run_panel"), {"-k", "a*3,q", "-s", "-W", label});
    const Window window = xtest::findWindowByName(x, "Norvale v20190205" + label);
    ASSERT_NE(window, 0u) << "no window; stderr: " << program.err();
    xtest::movePointer(x, window, 5, 5);
    const auto becomes = [&](Point p, uint32_t colour) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (xtest::pixelAt(x, window, p.x, p.y) != colour) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    };
    // Three presses of 'a' leave the switch at the other level; the unbound
    // 'q' after them is reported as a typed one would be, once they have settled.
    const std::string unbound = "Keyboard input:  Character (char=q,int=113) with no "
                                "corresponding component activation defined.\n";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (program.err().find(unbound) == std::string::npos && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(becomes(switchPane(), black));
    ASSERT_TRUE(becomes(topProbePane(), oneColour));
    xtest::pressKey(x, 'a'); // the user's own press, after the script
    EXPECT_TRUE(becomes(topProbePane(), zeroColour));
    xtest::pressKey(x, XK_F10);
    EXPECT_EQ(program.waitForExit(5000), 0);
    EXPECT_EQ(program.err(), "There are 6 components.\nThere are 4 signals.\n" + unbound);
    const std::string out = program.out();
    const std::string summary = "top at ac = ZERO\ncentre at bb = ZERO\ninner at ca-cc.ab = ONE\n";
    ASSERT_GE(out.size(), summary.size());
    EXPECT_EQ(out.substr(out.size() - summary.size()), summary);
}

} // namespace
