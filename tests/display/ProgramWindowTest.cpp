// The whole program with its window: a built circuit program runs as a child
// process under the test X server, the test presses its keys through XTest,
// reads its window's pixels and checks how and with what status it ends.
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "ChildProgram.h"
#include "Panel.h"
#include "XHarness.h"

namespace {

using namespace panelView;

const char *const banner = "Norvale v20190205";
const std::string panelCounts = "There are 6 components.\nThere are 4 signals.\n";

// The panel program, started with the given options and a title of its own.
struct ProgramWindow : ::testing::Test {
    xtest::Connection x;
    std::unique_ptr<ChildProgram> program;
    Window window = 0;

    void SetUp() override {
        REQUIRE_X_DISPLAY();
        ASSERT_NE(x.get(), nullptr);
    }
    void start(std::vector<std::string> options, const std::string &circuit = "run_panel") {
        const std::string label = uniqueLabel();
        options.insert(options.end(), {"-W", label});
        program = std::make_unique<ChildProgram>(circuitProgram(circuit), options);
        window = xtest::findWindowByName(x, banner + label);
        ASSERT_NE(window, 0u) << "no window; stderr: " << program->err();
        xtest::movePointer(x, window, 5, 5);
    }
    uint32_t pixel(Point p) { return xtest::pixelAt(x, window, p.x, p.y); }
    // Waits until the pixel has the colour; false after timeoutMs.
    bool becomes(Point p, uint32_t colour, int timeoutMs = 5000) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (pixel(p) != colour) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }
    // True when the pixel keeps its colour for ms milliseconds.
    bool stays(Point p, uint32_t colour, int ms) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < until) {
            if (pixel(p) != colour)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }
    int count(Area a, uint32_t colour) {
        const xtest::Image image = xtest::capture(x, window, a.x, a.y, a.width, a.height);
        int n = 0;
        for (const uint32_t p : image.rgb)
            n += p == colour;
        return n;
    }
    void press(KeySym key) { xtest::pressKey(x, key); }
    // F10, then the exit status.
    int exitByF10() {
        press(XK_F10);
        return program->waitForExit(5000);
    }
};

TEST_F(ProgramWindow, F10EndsTheRunWithStatusZero) {
    start({});
    ASSERT_TRUE(becomes(topProbePane(), zeroColour));
    EXPECT_EQ(exitByF10(), 0);
    EXPECT_EQ(program->out().rfind("F1 Reset Simulation to Time Zero (restart)\n", 0), 0u);
    EXPECT_EQ(program->err(), panelCounts); // with a window, probes draw instead of writing
}

TEST_F(ProgramWindow, KeysReachTheSwitchAndUnboundOnesAreReported) {
    start({});
    ASSERT_TRUE(becomes(topProbePane(), zeroColour));
    press('a');
    EXPECT_TRUE(becomes(topProbePane(), oneColour));
    EXPECT_TRUE(becomes(switchPane(), black));
    press('q');
    press('a');
    EXPECT_TRUE(becomes(topProbePane(), zeroColour));
    EXPECT_EQ(exitByF10(), 0);
    EXPECT_EQ(program->err(), panelCounts + "Keyboard input:  Character (char=q,int=113) with no "
                                            "corresponding component activation defined.\n");
}

TEST_F(ProgramWindow, F1RestartsAtTimeZero) {
    start({});
    ASSERT_TRUE(becomes(topProbePane(), zeroColour));
    press('a');
    ASSERT_TRUE(becomes(topProbePane(), oneColour));
    press(XK_F1); // the switch goes back to its initial level
    EXPECT_TRUE(becomes(topProbePane(), zeroColour));
    EXPECT_TRUE(becomes(switchPane(), white));
    EXPECT_EQ(exitByF10(), 0);
}

TEST_F(ProgramWindow, DownHaltsAndResumes) {
    start({});
    ASSERT_TRUE(becomes(topProbePane(), zeroColour));
    press(XK_Down);
    press('a'); // taken while halted, but time stands still
    EXPECT_TRUE(stays(topProbePane(), zeroColour, 300));
    press(XK_Down);
    EXPECT_TRUE(becomes(topProbePane(), oneColour));
    EXPECT_EQ(exitByF10(), 0);
}

TEST_F(ProgramWindow, LeftSlowsEachStepDownAndUpRestoresFullSpeed) {
    // Ten slower steps: each step waits 2^10 ms, and a toggle takes two steps.
    start({"-K", "0000000000"});
    ASSERT_TRUE(becomes(topProbePane(), zeroColour, 20000));
    press('a');
    EXPECT_TRUE(stays(topProbePane(), zeroColour, 300));
    press(XK_Up); // takes effect during the wait
    EXPECT_TRUE(becomes(topProbePane(), oneColour, 1500));
    press(XK_Left);
    press(XK_Left);
    press(XK_Right); // one level left: a step of 2 ms
    press('a');
    EXPECT_TRUE(becomes(topProbePane(), zeroColour, 1500));
    EXPECT_EQ(exitByF10(), 0);
}

TEST_F(ProgramWindow, ReplayedFunctionKeysSetTheStartingDisplay) {
    start({"-F", "23589DD"});
    // Level two steps deeper (at most the deepest): the box gives way.
    ASSERT_TRUE(becomes(inverterLeftEdge(), black));
    EXPECT_EQ(pixel(boxTopEdge()), white);
    EXPECT_EQ(pixel(lineToTopProbe()), white);           // F2: no connection lines
    EXPECT_EQ(count(switchLabel(), black), 0);           // F3: no labels
    EXPECT_GT(count(switchLeadName(), black), 0);        // F5: signal names on the leads
    EXPECT_TRUE(becomes(switchOutputTab(), zeroColour)); // F8: super probes
    // F9: two clicks mark the corners of the new view.
    press('a');
    ASSERT_TRUE(becomes(centreProbePane(), oneColour));
    xtest::click(x, window, 1, 0, 0);
    xtest::click(x, window, 3, 341, 275);
    EXPECT_TRUE(becomes({513, 412}, black)); // the switch's pane fills the middle
    EXPECT_EQ(exitByF10(), 0);
}

TEST_F(ProgramWindow, ReplayedCursorKeysStartSlowAndHalted) {
    start({"-K", "0003"});
    // Halted before the first step: the panes keep the values of the first drawing.
    ASSERT_TRUE(becomes(topProbePane(), white));
    EXPECT_TRUE(stays(topProbePane(), white, 300));
    press(XK_Down);
    EXPECT_TRUE(becomes(topProbePane(), zeroColour));
    EXPECT_EQ(exitByF10(), 0);
}

TEST_F(ProgramWindow, AnIdleRunSleeps) {
    start({});
    ASSERT_TRUE(becomes(topProbePane(), zeroColour));
    const long before = program->cpuTicks();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    // A spinning loop would use about a second of processor time here.
    EXPECT_LT(program->cpuTicks() - before, sysconf(_SC_CLK_TCK) / 4);
    EXPECT_EQ(exitByF10(), 0);
}

// ---- Losing the X server ----

// An X server of the test's own, on the first free display number from 70.
struct PrivateServer {
    pid_t pid = -1;
    std::string name;
    PrivateServer() {
        for (int n = 70; n < 200 && name.empty(); ++n) {
            const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
            const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
            if (access(lock.c_str(), F_OK) == 0 || access(socket.c_str(), F_OK) == 0)
                continue;
            name = ":" + std::to_string(n);
        }
        pid = fork();
        if (pid == 0) {
            execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                   static_cast<char *>(nullptr));
            _exit(127);
        }
        const std::string socket = "/tmp/.X11-unix/X" + name.substr(1);
        for (int tries = 0; tries < 500 && access(socket.c_str(), F_OK) != 0; ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    void stop() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
            pid = -1;
        }
    }
    ~PrivateServer() { stop(); }
};

struct ServerLossCase {
    const char *circuit;
    std::vector<std::string> options;
    const char *state;
};

TEST(ServerLoss, EndsTheProgramWithStatusOneAndItsOutputWritten) {
    REQUIRE_X_DISPLAY();
    const ServerLossCase cases[] = {
        {"run_panel", {}, "idle"},
        {"run_panel", {"-K", "03"}, "halted"},
        {"run_panel", {"-K", "000000"}, "slowed down"},
        {"run_stop_time", {}, "simulating and drawing"},
    };
    for (const ServerLossCase &c : cases) {
        PrivateServer server;
        const std::string label = uniqueLabel();
        std::vector<std::string> options = c.options;
        options.insert(options.end(), {"-W", label});
        ChildProgram program(circuitProgram(c.circuit), options, server.name);
        Display *check = XOpenDisplay(server.name.c_str());
        ASSERT_NE(check, nullptr) << c.state;
        EXPECT_NE(xtest::findWindowByName(check, banner + label), 0u) << c.state;
        XCloseDisplay(check);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ASSERT_TRUE(program.running()) << c.state << ": " << program.err();
        server.stop();
        EXPECT_EQ(program.waitForExit(5000), 1) << c.state;
        // Everything written before the loss reached the files.
        EXPECT_NE(program.out().find("UNINITIALIZED signal"), std::string::npos) << c.state;
        EXPECT_EQ(program.err().rfind("There are ", 0), 0u) << c.state;
    }
}

// A window placed off the screen is never exposed; the start waits for it a
// bounded time only, so -E still ends the program (the first Expose used to
// be awaited for ever).
TEST(EarlyExit, AWindowNeverShownDoesNotHoldUpTheStart) {
    REQUIRE_X_DISPLAY();
    for (const char *geometry : {"100x100+2000+2000", "100x100-3000-3000"}) {
        ChildProgram program(circuitProgram("run_panel"), {"-E", "-g", geometry, "-W", uniqueLabel()});
        EXPECT_EQ(program.waitForExit(15000), 0) << geometry;
        EXPECT_EQ(program.err(), panelCounts) << geometry;
    }
}

} // namespace
