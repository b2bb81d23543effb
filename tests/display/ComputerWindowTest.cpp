// The computer in its window: the program norvale runs as a child process
// under the test X server, the test types its keys through XTest as a user
// would ('1' twice to reset, then '0' to step the clock) and reads the
// registers' value bars back from the window's pixels.
//
// Where a probe's bars are is worked out here with the display's own code:
// the circuit is built in this process too, tiled as the window tiles it,
// and its schematic coordinates are mapped to the window's size.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ChildProgram.h"
#include "ComputerLayout.h"
#include "XHarness.h"
#include "components/ProbeSummary.h"
#include "core/Ph2.h"
#include "core/Sim.h"
#include "core/cmdLine.h"
#include "display/Pane.h"
#include "display/Ph5.h"
#include "display/SchCell.h"
#include "display/Window.h"
#include "support/Fresh.h"

namespace {

const char *const banner = "Norvale v20190205";

// The share of its tile, across and down, that a probe's pane takes.
constexpr float paneShare = 0.25f;

// A rectangle of window pixels.
struct Box {
    int x, y, width, height;
};

// The eight bars of a ProbeByteH pane, most significant first.
using Bars = std::vector<Box>;

// The component index of the probe labelled label, or -1.
int probeLabelled(const std::string &label) {
    const std::string start = label + " at ";
    for (int c = 0; c < phaseTwo->numberOfComponents; ++c)
        if (probeSummaryLine(c).compare(0, start.size(), start) == 0)
            return c;
    return -1;
}

// The bars of each labelled eight-bit probe in a window of the given size
// showing the whole schematic, the way the display lays them out: the tile
// from the position strings, the pane centred in it, eight cells across the
// pane, each bar the first 0.7 of its cell.
std::map<std::string, Bars> barsOf(const std::vector<std::string> &labels, int width, int height) {
    const Windex &view = layOutComputer(width, height);
    std::map<std::string, Bars> found;
    for (const std::string &label : labels) {
        const int c = probeLabelled(label);
        if (c < 0)
            continue;
        const ScreenTile &t = phaseTwo->tile[c];
        int xs, ys, ws, hs;
        shrink(paneShare, t.x, t.y, t.w, t.h, xs, ys, ws, hs);
        const int cell = ws / 8;
        const int bar = static_cast<int>(cell * 0.7);
        for (int i = 0; i < 8; ++i)
            found[label].push_back(
                {view.xScale(xs + i * cell), view.yScale(ys), view.wScale(bar), view.hScale(hs)});
    }
    return found;
}

// The fill colour of each value, beside the value as the summary writes it.
// UNINITIALIZED fills with the background's white.
const struct {
    uint32_t rgb;
    char value;
} valueColours[] = {
    {0x008000, '1'}, {0xF0FFF0, '0'}, {0xFF8C00, 'X'}, {0xFFEBCD, 'Z'}, {0xFFFFFF, 'U'},
};

// The value a fill colour shows; '?' for any other colour.
char valueOfColour(uint32_t rgb) {
    for (const auto &c : valueColours)
        if (c.rgb == rgb)
            return c.value;
    return '?';
}

// The program with its window: presses keys and reads what the window shows.
struct ComputerWindow : ::testing::Test {
    xtest::Connection x;
    std::unique_ptr<ChildProgram> program;
    Window window = 0;
    xtest::Geometry size{};
    std::map<std::string, Bars> bars;

    void SetUp() override {
        REQUIRE_X_DISPLAY();
        ASSERT_NE(x.get(), nullptr);
        const std::string label = uniqueLabel();
        program =
            std::make_unique<ChildProgram>(NORVALE_PROGRAM, std::vector<std::string>{"-s", "-W", label});
        window = xtest::findWindowByName(x, banner + label);
        ASSERT_NE(window, 0u) << "no window; stderr: " << program->err();
        xtest::movePointer(x, window, 5, 5);
        size = xtest::geometryOf(x, window);
        bars = barsOf({"R1", "AC"}, static_cast<int>(size.width), static_cast<int>(size.height));
        ASSERT_EQ(bars.size(), 2u) << "the probes R1 and AC are missing";
        for (const auto &[label, row] : bars)
            for (const Box &b : row) {
                // The outline takes a bar's edge pixels; its middle must be fill.
                ASSERT_GE(b.width, 2) << label << ": bars too narrow to read";
                ASSERT_GE(b.height, 2) << label << ": bars too low to read";
            }
        ASSERT_TRUE(settles()) << "the start does not settle";
    }
    void TearDown() override {
        if (program && program->running()) {
            xtest::pressKey(x, XK_F10);
            program->waitForExit(5000);
        }
    }

    xtest::Image screen() { return xtest::capture(x, window, 0, 0, size.width, size.height); }

    // The window's pixels as the server holds them, for comparisons only.
    std::vector<char> snapshot() {
        std::vector<char> bytes;
        if (XImage *image = XGetImage(x, window, 0, 0, size.width, size.height, AllPlanes, ZPixmap)) {
            bytes.assign(image->data,
                         image->data + static_cast<size_t>(image->bytes_per_line) * image->height);
            XDestroyImage(image);
        }
        return bytes;
    }

    // What the program is doing as far as the test can see: its pixels, whether
    // it sleeps, and the processor time it has used.
    struct Look {
        std::vector<char> pixels;
        bool sleeping;
        unsigned long long cpuTime;
        bool operator==(const Look &o) const { return pixels == o.pixels && cpuTime == o.cpuTime; }
    };
    Look look() {
        const std::string proc = "/proc/" + std::to_string(program->pid());
        std::ifstream stat(proc + "/stat"), schedstat(proc + "/schedstat");
        std::string pid, name, state;
        stat >> pid >> name >> state; // the program's name has no blanks
        unsigned long long nanoseconds = 0;
        if (!(schedstat >> nanoseconds))
            nanoseconds = static_cast<unsigned long long>(program->cpuTicks());
        return {snapshot(), state == "S", nanoseconds};
    }

    // Waits until the program has settled: it sleeps, uses no processor
    // time and its window keeps its pixels over a few looks in a row.  The
    // window alone could look settled while the program is held up; a
    // program held up is not asleep, or gets the processor soon after.
    // False after 10 s.
    bool settles() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        Look last = look();
        for (int same = 0; same < 3;) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            Look next = look();
            same = next == last && next.sleeping ? same + 1 : 0;
            last = std::move(next);
        }
        return true;
    }

    // Presses the key, waits for the window to change (every press toggles a
    // switch, whose pane changes) and then for the program to settle, as a
    // user watching the window would before the next press.
    bool pressAndSettle(KeySym key) {
        const std::vector<char> before = snapshot();
        xtest::pressKey(x, key);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (snapshot() == before) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return settles();
    }

    // The values the probe's bars show, most significant first ("10XZU101").
    std::string shown(const std::string &label) {
        const xtest::Image image = screen();
        std::string values;
        for (const Box &b : bars[label])
            values += valueOfColour(image.at(b.x + b.width / 2, b.y + b.height / 2));
        return values;
    }

    // Ends the run by F10 and returns the summary line of the probe.
    std::string summaryAfterF10(const std::string &label) {
        xtest::pressKey(x, XK_F10);
        EXPECT_EQ(program->waitForExit(5000), 0);
        const std::string out = program->out();
        const size_t line = out.find("\n" + label + " at ");
        return line == std::string::npos ? "" : out.substr(line + 1, out.find('\n', line + 1) - line - 1);
    }
};

TEST_F(ComputerWindow, ResetTurnsTheRegistersFromUnknownToZero) {
    EXPECT_EQ(shown("R1"), "XXXXXXXX");
    EXPECT_EQ(shown("AC"), "XXXXXXXX");
    const xtest::Image before = screen();
    ASSERT_TRUE(pressAndSettle(XK_1));
    ASSERT_TRUE(pressAndSettle(XK_1));
    // The reset switch is back where it started: what differs is the circuit's.
    EXPECT_FALSE(screen() == before);
    EXPECT_EQ(shown("R1"), "00000000");
    EXPECT_EQ(shown("AC"), "00000000");
    EXPECT_EQ(summaryAfterF10("AC"), "AC at bd-cg = 00000000 00");
}

TEST_F(ComputerWindow, NineMicroinstructionsLoadAAAAIntoTheAccumulator) {
    ASSERT_TRUE(pressAndSettle(XK_1));
    ASSERT_TRUE(pressAndSettle(XK_1));
    for (int press = 1; press <= 72; ++press)
        ASSERT_TRUE(pressAndSettle(XK_0)) << "press " << press << " of '0'";
    // The high byte in R1's bars, the low byte in AC's.
    EXPECT_EQ(shown("R1"), "10101010");
    EXPECT_EQ(shown("AC"), "10101010");
    // The window's run and a headless one agree.
    EXPECT_EQ(summaryAfterF10("R1"), "R1 at ba-cd = 10101010 AA");
}

} // namespace
