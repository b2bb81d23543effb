// The window's view transform and its behaviour without a display: no X
// server is needed for any of these.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/RunTime.h"
#include "core/cmdLine.h"
#include "display/Window.h"
#include "support/Fresh.h"

namespace {

// Options as with -X, set before the window object below is built.
int headlessOptions() {
    freshNetlist();
    useXDisplay = 0;
    return 0;
}

// A window object without a connection.
struct Headless : ::testing::Test {
    int options = headlessOptions();
    Windex window{"Norvale v20190205"};
    Windex &sized(int x, int y) {
        window.xPixels = x;
        window.yPixels = y;
        return window;
    }
};

struct ScaleCase {
    const char *what;
    int coordinate;
    int pixels;
    int expected;
};

TEST_F(Headless, ScalesTheFullViewInSinglePrecision) {
    const ScaleCase cases[] = {
        {"right edge", 16777215, 1025, 1025}, {"middle rounds down", 8388608, 1025, 512},
        {"quarter", 4194304, 1025, 256},      {"origin", 0, 1025, 0},
        {"bottom edge", 16777215, 825, 825},
    };
    for (const ScaleCase &c : cases) {
        sized(c.pixels, c.pixels);
        EXPECT_EQ(window.xScale(c.coordinate), c.expected) << c.what;
        EXPECT_EQ(window.yScale(c.coordinate), c.expected) << c.what;
        EXPECT_EQ(window.wScale(c.coordinate), c.expected) << c.what;
        EXPECT_EQ(window.hScale(c.coordinate), c.expected) << c.what;
    }
}

TEST_F(Headless, ScalesRelativeToTheViewStart) {
    sized(1000, 500);
    window.setView(1000, 2000, 3000, 2500);
    EXPECT_EQ(window.xScale(1000), 0);
    EXPECT_EQ(window.xScale(2000), 500);
    EXPECT_EQ(window.yScale(2250), 250);
    EXPECT_EQ(window.xScale(0), -500); // left of the view: off the window
    EXPECT_EQ(window.wScale(2000), 1000);
    EXPECT_EQ(window.hScale(100), 100);
}

TEST_F(Headless, ViewOfZeroWidthOrHeightScalesToZero) {
    sized(1025, 825);
    window.setView(500, 600, 500, 600);
    for (int v : {0, 500, 600, 16777215}) {
        EXPECT_EQ(window.xScale(v), 0);
        EXPECT_EQ(window.yScale(v), 0);
        EXPECT_EQ(window.wScale(v), 0);
        EXPECT_EQ(window.hScale(v), 0);
    }
}

TEST_F(Headless, DeepZoomSaturatesInsteadOfOverflowing) {
    sized(1025, 825);
    window.setView(0, 0, 1, 1);
    EXPECT_EQ(window.xScale(16777215), 2147483647);
    EXPECT_EQ(window.xScale(-16777215), -2147483647 - 1);
}

struct ReviseCase {
    const char *what;
    int start[4];  // view before
    int pixels[4]; // xa, ya, xb, yb
    int expected[4];
};

TEST_F(Headless, ReviseViewZoomsToAPixelRectangle) {
    // Expected views computed separately with every step rounded to single precision.
    const ReviseCase cases[] = {
        {"whole window", {0, 0, 16777215, 16777215}, {0, 0, 1025, 825}, {0, 0, 16777214, 16777215}},
        {"top-left quarter", {0, 0, 16777215, 16777215}, {0, 0, 512, 412}, {0, 0, 8380423, 8378439}},
        {"middle half",
         {0, 0, 16777215, 16777215},
         {256, 206, 768, 618},
         {4190211, 4189219, 12570635, 12567659}},
        {"twice the middle half",
         {4190211, 4189219, 12570635, 12567659},
         {256, 206, 768, 618},
         {6283273, 6281290, 10469397, 10465432}},
        {"reversed corners mirror",
         {0, 0, 16777215, 16777215},
         {1025, 825, 0, 0},
         {16777214, 16777215, 0, 0}},
        {"equal corners flatten",
         {0, 0, 16777215, 16777215},
         {512, 412, 512, 412},
         {8380423, 8378439, 8380423, 8378439}},
    };
    for (const ReviseCase &c : cases) {
        sized(1025, 825);
        window.setView(c.start[0], c.start[1], c.start[2], c.start[3]);
        window.reviseView(c.pixels[0], c.pixels[1], c.pixels[2], c.pixels[3]);
        int v[4];
        window.getView(&v[0], &v[1], &v[2], &v[3]);
        EXPECT_EQ(std::vector<int>(v, v + 4), std::vector<int>(c.expected, c.expected + 4)) << c.what;
    }
}

TEST_F(Headless, ReviseViewWithoutPixelsKeepsTheView) {
    sized(0, 0);
    window.reviseView(0, 0, 512, 412);
    int v[4];
    window.getView(&v[0], &v[1], &v[2], &v[3]);
    EXPECT_EQ(std::vector<int>(v, v + 4), (std::vector<int>{0, 0, 16777215, 16777215}));
}

TEST_F(Headless, ResetViewShowsTheWholeSquare) {
    window.setView(1, 2, 3, 4);
    window.resetView();
    testing::internal::CaptureStderr();
    window.showView();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "View: 0 0 16777215 16777215\n");
}

TEST_F(Headless, WithoutADisplayNothingIsConnectedAndEveryPrimitiveIsANoOp) {
    EXPECT_EQ(window.display, nullptr);
    EXPECT_EQ(useXDisplay, 0);
    sized(1025, 825);
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    window.clear();
    window.clearArea(0, 0, 100, 100);
    window.drawLine(0, 0, 100, 100);
    window.drawLine_BOLD(0, 0, 100, 100);
    window.drawRectangle(0, 0, 100, 100);
    window.drawCircle(0, 0, 100, 100, 0, 360 * 64);
    window.drawFilledRectangle(0, 0, 100, 100);
    window.drawFilledRectangle_ONE(0, 0, 100, 100);
    window.drawFilledRectangle_ZERO(0, 0, 100, 100);
    window.drawFilledRectangle_UNINITIALIZED(0, 0, 100, 100);
    window.drawFilledRectangle_XXX(0, 0, 100, 100);
    window.drawFilledRectangle_HIZ(0, 0, 100, 100);
    window.drawFilledCircle(0, 0, 100, 100, 0, 360 * 64);
    window.drawText(0, 0, "text");
    window.buttonPoint(10, 10);
    window.drawTimeAndQueue(1234, 7, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(WindowWithoutServer, UnreachableDisplayFallsBackToRunningWithoutWindow) {
    freshNetlist();
    const char *saved = std::getenv("DISPLAY");
    const std::string previous = saved ? saved : "";
    // No server listens on this display number.
    setenv("DISPLAY", ":4999", 1);
    testing::internal::CaptureStderr();
    {
        Windex window("Norvale v20190205");
        EXPECT_EQ(window.display, nullptr);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unable to open X Window\n");
    EXPECT_EQ(useXDisplay, 0) << "the run must continue as without a display";
    if (saved)
        setenv("DISPLAY", previous.c_str(), 1);
    else
        unsetenv("DISPLAY");
}

// A protocol error ends the run quietly; a lost connection says so and ends
// the process with status 1.
TEST(WindowErrorHandlers, EndTheRunQuietlyOrSayTheConnectionWasLost) {
    freshNetlist();
    done = 0;
    EXPECT_EQ(catchError(nullptr, nullptr), 0);
    EXPECT_EQ(done, 1);
    EXPECT_EXIT(catchIOError(nullptr), ::testing::ExitedWithCode(1),
                "^The X connection was lost: the run ended at simulated time [0-9]+\\.\n$");
}

} // namespace
