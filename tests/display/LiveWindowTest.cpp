// The window's events, handled in this process: keys and buttons are sent
// through XTest to a window the test opened with the display code, and what
// the window then shows is read back pixel by pixel.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "LiveDisplay.h"
#include "Panel.h"
#include "XHarness.h"
#include "core/Ph2.h"
#include "core/RunTime.h"
#include "core/Sim.h"
#include "display/Ph5.h"
#include "display/Window.h"
#include "display/WindowEv.h"

namespace {

using namespace panelView;

struct LiveWindow : ::testing::Test {
    xtest::Connection x;
    Window window = 0;

    void SetUp() override {
        REQUIRE_X_DISPLAY();
        ASSERT_NE(x.get(), nullptr);
        captureCircuit(panel);
        openDisplay(true, "live");
        window = win().window;
        ASSERT_TRUE(windowOpen());
        ASSERT_EQ(win().xPixels, width);
        ASSERT_EQ(win().yPixels, height);
        startRun();
        // Keys go to the window under the pointer.
        xtest::movePointer(x, window, 5, 5);
    }
    void TearDown() override {
        if (window != 0)
            closeDisplay();
    }

    static Windex &win() { return *phaseFive->windexPointer; }
    uint32_t pixel(Point p) { return xtest::pixelAt(x, window, p.x, p.y, win().display); }
    // How many pixels of an area have the colour.
    int count(Area a, uint32_t colour) {
        const xtest::Image image = xtest::capture(x, window, a.x, a.y, a.width, a.height, win().display);
        int n = 0;
        for (const uint32_t p : image.rgb)
            n += p == colour;
        return n;
    }
    int redInColumn(int column, int fromY, int toY) {
        return count({column, fromY, 1, toY - fromY + 1}, red);
    }
    // Sends a key, lets the window act on it and the circuit settle.
    void key(KeySym keysym, const std::vector<KeySym> &modifiers = {}) {
        xtest::pressKey(x, keysym, modifiers);
        ASSERT_TRUE(handleNextEvent()) << "key " << keysym;
        settleCircuit();
    }
    std::string messageOfKey(KeySym keysym) {
        xtest::pressKey(x, keysym);
        return stderrOf([] { EXPECT_TRUE(handleNextEvent()); });
    }
    void click(int button, int px, int py) {
        xtest::click(x, window, button, px, py);
        ASSERT_TRUE(handleNextEvent()); // press
        ASSERT_TRUE(handleNextEvent()); // release
    }
    void drag(int fromX, int fromY, int toX, int toY) {
        xtest::movePointer(x, window, fromX, fromY);
        xtest::buttonDown(x, 1);
        ASSERT_TRUE(handleNextEvent());
        xtest::movePointer(x, window, toX, toY);
        ASSERT_TRUE(handleNextEvent());
        xtest::buttonUp(x, 1);
        ASSERT_TRUE(handleNextEvent());
    }
};

TEST_F(LiveWindow, APrintableKeyTogglesItsSwitchAndThePanesFollow) {
    EXPECT_EQ(pixel(switchPane()), white);
    EXPECT_EQ(pixel(topProbePane()), zeroColour);
    key('a');
    EXPECT_EQ(pixel(switchPane()), black);
    EXPECT_EQ(pixel(topProbePane()), oneColour);
    EXPECT_EQ(pixel(centreProbePane()), oneColour);
    key('a');
    EXPECT_EQ(pixel(switchPane()), white);
    EXPECT_EQ(pixel(topProbePane()), zeroColour);
}

TEST_F(LiveWindow, KeysWithoutAnOperationAreReported) {
    const struct {
        KeySym key;
        const char *message;
    } cases[] = {
        {'q',
         "Keyboard input:  Character (char=q,int=113) with no corresponding component activation defined.\n"},
        {'5',
         "Keyboard input:  Character (char=5,int=53) with no corresponding component activation defined.\n"},
        {XK_Escape, "Keyboard input:  Control character (int=27) unmapped.\n"},
        {XK_Tab, "Keyboard input:  Control character (int=9) unmapped.\n"},
        {XK_F11, "Unused Function key F11\n"},
        {XK_Home, "Unused Cursor key = -1\n"},
        {XK_End, "Unused Cursor key = 6\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(messageOfKey(c.key), c.message);
    EXPECT_EQ(pixel(topProbePane()), zeroColour);
}

// The key help written at start names exactly the function keys and the
// control keys the window acts on: a key bound without a line in the help,
// or a line whose key does nothing, fails here.
TEST_F(LiveWindow, TheKeyHelpNamesExactlyTheKeysTheWindowActsOn) {
    testing::internal::CaptureStdout();
    printKeyHelp();
    std::istringstream help(testing::internal::GetCapturedStdout());
    std::set<int> helpFunctionKeys;
    std::set<char> helpControlKeys;
    for (std::string line; std::getline(help, line);) {
        int f = 0;
        char c = 0;
        if (std::sscanf(line.c_str(), "F%d ", &f) == 1)
            helpFunctionKeys.insert(f);
        else if (std::sscanf(line.c_str(), "Control-%c:", &c) == 1)
            helpControlKeys.insert(c);
    }
    ASSERT_FALSE(helpFunctionKeys.empty());
    ASSERT_FALSE(helpControlKeys.empty());
    // What the window does with each key of a keyboard: a key it has no
    // operation for is reported as such.
    std::set<int> boundFunctionKeys;
    for (int f = 1; f <= 12; ++f) {
        xtest::pressKey(x, XK_F1 + static_cast<KeySym>(f - 1));
        const std::string said = stderrOf([] { EXPECT_TRUE(handleNextEvent()); });
        if (said.find("Unused Function key") == std::string::npos)
            boundFunctionKeys.insert(f);
        reStart = done = 0;
    }
    std::set<char> boundControlKeys;
    for (char c = 'a'; c <= 'z'; ++c) {
        xtest::pressKey(x, static_cast<KeySym>(c), {XK_Control_L});
        const std::string said = stderrOf([] { EXPECT_TRUE(handleNextEvent()); });
        if (said.find("unmapped") == std::string::npos)
            boundControlKeys.insert(c);
    }
    EXPECT_EQ(boundFunctionKeys, helpFunctionKeys);
    EXPECT_EQ(boundControlKeys, helpControlKeys);
}

TEST_F(LiveWindow, CursorKeysSetSlowDownAndHalt) {
    const struct {
        KeySym key;
        int stall, halt;
    } steps[] = {
        {XK_Left, 1, 0},  {XK_Left, 2, 0}, {XK_Right, 1, 0}, {XK_Left, 2, 0}, {XK_Up, 0, 0},
        {XK_Right, 0, 0}, {XK_Down, 0, 1}, {XK_Left, 1, 1},  {XK_Down, 1, 0},
    };
    for (const auto &s : steps) {
        key(s.key);
        EXPECT_EQ(stallLevel, s.stall) << XKeysymToString(s.key);
        EXPECT_EQ(haltFlag, s.halt) << XKeysymToString(s.key);
    }
}

TEST_F(LiveWindow, RunControlKeysRequestRestartAndExit) {
    key(XK_F1);
    EXPECT_EQ(reStart, 1);
    key(XK_F10);
    EXPECT_EQ(done, 1);
}

TEST_F(LiveWindow, DisplayKeysRedrawWithoutWhatTheySwitchOff) {
    EXPECT_EQ(pixel(lineToTopProbe()), black);
    key(XK_F2);
    EXPECT_EQ(pixel(lineToTopProbe()), white);
    key(XK_F2);
    EXPECT_EQ(pixel(lineToTopProbe()), black);

    EXPECT_GT(count(switchLabel(), black), 0);
    key(XK_F3);
    EXPECT_EQ(count(switchLabel(), black), 0);
    EXPECT_EQ(pixel(switchPane()), white); // the pane is still drawn

    EXPECT_EQ(count(switchLeadName(), black), 0);
    key(XK_F5);
    EXPECT_GT(count(switchLeadName(), black), 0);

    // Without leads there are no tabs, so no lines either.
    key(XK_F4);
    EXPECT_EQ(pixel(lineToTopProbe()), white);
    EXPECT_EQ(count(switchLeadName(), black), 0);
}

TEST_F(LiveWindow, F7KeepsOnlyTheLinesToMultiplexersFromTheNextRedraw) {
    key(XK_F7);
    EXPECT_EQ(pixel(lineToTopProbe()), black); // no redraw of its own
    key(XK_l, {XK_Control_L});
    EXPECT_EQ(pixel(lineToTopProbe()), white); // the panel has no multiplexer

    // The lines to components registered as multiplexers come back: here
    // the probe "top" stands in for one.
    const int topProbe = 1;
    phaseTwo->records[topProbe].kind = ComponentKind::mux;
    key(XK_l, {XK_Control_L});
    EXPECT_EQ(pixel(lineToTopProbe()), black);
    EXPECT_EQ(count(lineToBoxMiddle(), black), 0); // the module is no multiplexer
    key(XK_F7);
    key(XK_l, {XK_Control_L});
    EXPECT_GT(count(lineToBoxMiddle(), black), 0);
}

TEST_F(LiveWindow, TabsRegisteredWhileLinesAreOffGetTheirLinesAtTheNextConnection) {
    ASSERT_GT(count(lineToBoxMiddle(), black), 0);
    key(XK_F2);
    EXPECT_EQ(count(lineToBoxMiddle(), black), 0);
    key(XK_m, {XK_Control_L}); // the box gives way, but its tabs stay registered
    key(XK_F2);
    EXPECT_GT(count(lineToBoxMiddle(), black), 0) << "the hidden box's input still gets its line";
    key(XK_l, {XK_Control_L});
    EXPECT_EQ(count(lineToBoxMiddle(), black), 0);
}

TEST_F(LiveWindow, SuperProbesShowOnTheTabsAfterEachStep) {
    EXPECT_EQ(pixel(switchOutputTab()), white);
    key(XK_F8);
    // The repaint does not paint them; the next step does.
    phaseFive->displaySuperProbes();
    EXPECT_EQ(pixel(switchOutputTab()), zeroColour);
    key('a');
    phaseFive->displaySuperProbes();
    EXPECT_EQ(pixel(switchOutputTab()), oneColour);
}

TEST_F(LiveWindow, LevelKeysLetAModuleBoxGiveWayToItsContents) {
    const struct {
        KeySym key;
        std::vector<KeySym> modifiers;
        int level;
    } steps[] = {
        {XK_m, {XK_Control_L}, 2}, {XK_m, {XK_Control_L}, 2}, // one more, at most the deepest
        {XK_a, {XK_Control_L}, 1},                            // least
        {XK_z, {XK_Control_L}, 2},                            // most
        {XK_n, {XK_Control_L}, 1}, {XK_n, {XK_Control_L}, 1}, // one less, at least 1
        {XK_Return, {}, 2},                                   // Return is Control-m
    };
    EXPECT_EQ(pixel(boxTopEdge()), black);
    EXPECT_EQ(pixel(inverterLeftEdge()), white);
    for (const auto &s : steps) {
        key(s.key, s.modifiers);
        EXPECT_EQ(phaseFive->currentGraphicDisplayLevel, s.level) << XKeysymToString(s.key);
        EXPECT_EQ(pixel(boxTopEdge()), s.level == 1 ? black : white) << XKeysymToString(s.key);
        EXPECT_EQ(pixel(inverterLeftEdge()), s.level == 1 ? white : black) << XKeysymToString(s.key);
    }
}

TEST_F(LiveWindow, DraggingTheZoomRectangleMovesItBy1636801UnitsPer100Pixels) {
    const int left = win().xScale(win().subWinXs), right = win().xScale(win().subWinXe);
    const int top = win().yScale(win().subWinYs), bottom = win().yScale(win().subWinYe);
    ASSERT_EQ(left, 384);
    EXPECT_GT(redInColumn(left, top, bottom), 0);
    drag(512, 412, 612, 412);
    EXPECT_EQ(win().subWinXs, 6291453 + 1636801);
    EXPECT_EQ(win().subWinXe, 10485755 + 1636801);
    EXPECT_EQ(win().subWinYs, 6291453);
    EXPECT_EQ(win().subWinYe, 10485755);
    // The rectangle is drawn at its new place only.
    EXPECT_EQ(redInColumn(left, top, bottom), 0);
    EXPECT_GT(redInColumn(left + 100, top, bottom), 0);
    EXPECT_GT(redInColumn(right + 100, top, bottom), 0);
}

TEST_F(LiveWindow, DraggingFromOutsideTheRectangleLeavesIt) {
    drag(60, 400, 160, 500);
    EXPECT_EQ(win().subWinXs, 6291453);
    EXPECT_EQ(win().subWinYe, 10485755);
    EXPECT_GT(redInColumn(384, 309, 515), 0);
}

TEST_F(LiveWindow, DraggingACornerResizesTheRectangle) {
    // The bottom-right band of the rectangle 384..640 x 309..515.
    drag(636, 511, 736, 611);
    EXPECT_EQ(win().subWinXs, 6291453);
    EXPECT_EQ(win().subWinYs, 6291453);
    EXPECT_EQ(win().subWinXe, 10485755 + 1636801);
    EXPECT_GT(win().subWinYe, 10485755);
}

TEST_F(LiveWindow, ButtonTwoZoomsIntoTheRectangleAndButtonThreeShowsTheWhole) {
    const Point insideCentrePane{400, 395}; // left of the pane before the zoom, within it after
    EXPECT_EQ(pixel(insideCentrePane), white);
    click(2, 512, 412);
    int xs, ys, xe, ye;
    win().getView(&xs, &ys, &xe, &ye);
    EXPECT_EQ(xs, 6291453);
    EXPECT_EQ(ye, 10485755);
    EXPECT_EQ(pixel(insideCentrePane), zeroColour);
    click(3, 100, 100);
    win().getView(&xs, &ys, &xe, &ye);
    EXPECT_EQ(xe, 16777215);
    EXPECT_EQ(win().subWinXs, 6291453);
    EXPECT_EQ(pixel(insideCentrePane), white);
    EXPECT_EQ(pixel(centreProbePane()), zeroColour);
}

TEST_F(LiveWindow, TheAlternativeModeZoomsToTwoClickedCorners) {
    key('a');
    key(XK_F9);
    EXPECT_EQ(phaseFive->newWindowingMode, 0);
    const Point middle{513, 412};
    EXPECT_EQ(pixel(middle), oneColour); // the centre probe
    click(1, 0, 0);
    click(3, 341, 275);              // the top-left cell fills the window
    EXPECT_EQ(pixel(middle), black); // the switch's pane
    click(2, 700, 700);              // the whole schematic again
    EXPECT_EQ(pixel(middle), oneColour);
}

TEST_F(LiveWindow, AnExposedPartIsRedrawn) {
    const xtest::Image before = xtest::capture(x, window, 0, 0, width, height, win().display);
    // Cover part of the window with a window of the test's own, then uncover it.
    const Window cover = XCreateSimpleWindow(x, DefaultRootWindow(x.get()), 300, 200, 400, 300, 0, 0, 0);
    XSetWindowAttributes noRedirect{};
    noRedirect.override_redirect = True;
    XChangeWindowAttributes(x, cover, CWOverrideRedirect, &noRedirect);
    XMapRaised(x, cover);
    XSync(x, False);
    XDestroyWindow(x, cover);
    XSync(x, False);
    const xtest::Image uncovered = xtest::capture(x, window, 0, 0, width, height, win().display);
    EXPECT_FALSE(uncovered == before) << "nothing was lost under the covering window";
    handleEventsFor(300);
    EXPECT_TRUE(xtest::capture(x, window, 0, 0, width, height, win().display) == before);
}

} // namespace

// The -z zoom reaches the window: the view becomes what reviseView makes of
// the same pixel corners.
TEST(StartZoom, ZoomToRevisesTheWindowsView) {
    REQUIRE_X_DISPLAY();
    captureCircuit(panel);
    openDisplay(true, "zoom");
    Windex &w = *phaseFive->windexPointer;
    int before[4], after[4], expected[4];
    w.getView(&before[0], &before[1], &before[2], &before[3]);
    w.reviseView(10, 20, 300, 400);
    w.getView(&expected[0], &expected[1], &expected[2], &expected[3]);
    w.setView(before[0], before[1], before[2], before[3]);
    phaseFive->zoomTo(10, 20, 300, 400);
    w.getView(&after[0], &after[1], &after[2], &after[3]);
    EXPECT_EQ(std::vector<int>(after, after + 4), std::vector<int>(expected, expected + 4));
    EXPECT_NE(std::vector<int>(after, after + 4), std::vector<int>(before, before + 4));
    closeDisplay();
}
