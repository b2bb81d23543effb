// Asking the window why a pane is not binary: the computer runs in its
// window through its reset ('1' twice, from -k), then Control-e over the
// pane of MBR's low byte and a click with Control held on it each write the
// same explanation that -w MBR[2] writes at the end of a run without a
// window, and mark the roots until the next key.
#include <gtest/gtest.h>

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "ChildProgram.h"
#include "ComputerLayout.h"
#include "XHarness.h"
#include "components/ProbeSummary.h"
#include "core/Ph2.h"
#include "display/Window.h"

namespace {

const char *const banner = "Norvale v20190205";
const std::string probeLabel = "MBR[2]";

// The window pixel at the middle of the labelled probe's tile in a window of
// the given size showing the whole schematic, laid out by the display's own
// code on the circuit built here.
bool probeCentre(const std::string &label, int width, int height, int &x, int &y) {
    const Windex &view = layOutComputer(width, height);
    const std::string start = label + " at ";
    for (int c = 0; c < phaseTwo->numberOfComponents; ++c)
        if (probeSummaryLine(c).compare(0, start.size(), start) == 0) {
            const ScreenTile &t = phaseTwo->tile[c];
            x = view.xScale(t.x + t.w / 2);
            y = view.yScale(t.y + t.h / 2);
            return true;
        }
    return false;
}

// The explanation block of the probe in a program's standard output: from
// its heading to the next line that does not begin with a blank.
std::string explanationIn(const std::string &out, size_t from = 0) {
    const size_t start = out.find(probeLabel + " at ", from);
    if (start == std::string::npos)
        return "";
    size_t end = out.find('\n', start);
    while (end != std::string::npos && end + 1 < out.size() && out[end + 1] == ' ')
        end = out.find('\n', end + 1);
    return out.substr(start, end == std::string::npos ? std::string::npos : end + 1 - start);
}

// Waits until the program sleeps and has used no processor time over a few
// looks in a row; false after 10 s.
bool settles(const ChildProgram &program) {
    const auto cpu = [&program] {
        std::ifstream schedstat("/proc/" + std::to_string(program.pid()) + "/schedstat");
        unsigned long long ns = 0;
        schedstat >> ns;
        return ns;
    };
    const auto sleeping = [&program] {
        std::ifstream stat("/proc/" + std::to_string(program.pid()) + "/stat");
        std::string pid, name, state;
        stat >> pid >> name >> state;
        return state == "S";
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    unsigned long long last = cpu();
    for (int same = 0; same < 5;) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const unsigned long long next = cpu();
        same = next == last && sleeping() ? same + 1 : 0;
        last = next;
    }
    return true;
}

// The window's pixels, for comparisons.
std::vector<char> snapshot(Display *display, Window window, const xtest::Geometry &size) {
    std::vector<char> bytes;
    if (XImage *image = XGetImage(display, window, 0, 0, size.width, size.height, AllPlanes, ZPixmap)) {
        bytes.assign(image->data, image->data + static_cast<size_t>(image->bytes_per_line) * image->height);
        XDestroyImage(image);
    }
    return bytes;
}

// Waits until the window's pixels are (or, with equal false, are not) the
// given ones; false after 5 s.
bool windowBecomes(Display *display, Window window, const xtest::Geometry &size,
                   const std::vector<char> &pixels, bool equal) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while ((snapshot(display, window, size) == pixels) != equal) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Waits until the program's standard output holds at least n explanations.
bool explanationsWritten(const ChildProgram &program, size_t n) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        size_t found = 0;
        for (size_t at = program.out().find(probeLabel + " at "); at != std::string::npos;
             at = program.out().find(probeLabel + " at ", at + 1))
            ++found;
        if (found >= n)
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

TEST(ExplainWindow, ControlEAndControlClickWriteWhatTheOptionWrites) {
    REQUIRE_X_DISPLAY();
    xtest::Connection x;
    ASSERT_NE(x.get(), nullptr);

    ChildProgram headless(NORVALE_PROGRAM, {"-X", "-k", "1,1", "-w", probeLabel});
    ASSERT_EQ(headless.waitForExit(20000), 0);
    const std::string expected = explanationIn(headless.out());
    ASSERT_NE(expected.find("ROOT not loaded since the reset"), std::string::npos) << headless.out();

    const std::string label = uniqueLabel();
    ChildProgram program(NORVALE_PROGRAM, {"-k", "1,1", "-W", label});
    const Window window = xtest::findWindowByName(x, banner + label);
    ASSERT_NE(window, 0u) << "no window; stderr: " << program.err();
    const xtest::Geometry size = xtest::geometryOf(x, window);
    int px = 0, py = 0;
    ASSERT_TRUE(probeCentre(probeLabel, static_cast<int>(size.width), static_cast<int>(size.height), px, py));
    ASSERT_TRUE(settles(program)) << "the reset does not settle";

    // Control-e with the pointer over the pane; the roots (inside the
    // Computer box) are marked until the next key, here one bound to nothing.
    // (A redraw first, so that the window shows what a redraw shows.)
    xtest::movePointer(x, window, px, py);
    xtest::pressKey(x, XK_l, {XK_Control_L});
    ASSERT_TRUE(settles(program));
    const std::vector<char> unmarked = snapshot(x, window, size);
    xtest::pressKey(x, XK_e, {XK_Control_L});
    ASSERT_TRUE(explanationsWritten(program, 1)) << program.out();
    EXPECT_EQ(explanationIn(program.out()), expected);
    EXPECT_TRUE(windowBecomes(x, window, size, unmarked, false)) << "no root is marked";
    xtest::pressKey(x, XK_x);
    EXPECT_TRUE(windowBecomes(x, window, size, unmarked, true)) << "the marks stay after a key";

    // A click with Control held.
    XTestFakeKeyEvent(x, XKeysymToKeycode(x, XK_Control_L), True, CurrentTime);
    xtest::click(x, window, 1, px, py);
    XTestFakeKeyEvent(x, XKeysymToKeycode(x, XK_Control_L), False, CurrentTime);
    XSync(x, False);
    ASSERT_TRUE(explanationsWritten(program, 2)) << program.out();
    const std::string out = program.out();
    EXPECT_EQ(explanationIn(out, out.find(probeLabel + " at ") + 1), expected);

    xtest::pressKey(x, XK_F10);
    EXPECT_EQ(program.waitForExit(5000), 0);
}

} // namespace
