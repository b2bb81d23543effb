// The zoom rectangle's placement, grab zones and drag arithmetic, and the
// packing of window events into event codes.  No X server needed.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "core/cmdLine.h"
#include "display/Window.h"
#include "display/WindowEv.h"
#include "display/WindowIn.h"
#include "support/Fresh.h"

namespace {

// A window object without a connection, sized like the default window.
struct ZoomRectangle : ::testing::Test {
    int options = (freshNetlist(), useXDisplay = 0);
    Windex window{"Norvale v20190205"};
    void SetUp() override {
        window.xPixels = 1025;
        window.yPixels = 825;
        window.resetView();
        window.setSubWin();
    }
    std::tuple<int, int, int, int> rectangle() const {
        return {window.subWinXs, window.subWinYs, window.subWinXe, window.subWinYe};
    }
};

TEST_F(ZoomRectangle, StartsAsACentredQuarterOfTheView) {
    EXPECT_EQ(rectangle(), std::make_tuple(6291453, 6291453, 10485755, 10485755));
    window.setView(1000, 2000, 9000, 4000);
    window.setSubWin();
    EXPECT_EQ(rectangle(), std::make_tuple(4000, 2750, 6000, 3250));
}

TEST_F(ZoomRectangle, ZoomingMakesItTheView) {
    window.subWinToViewWin();
    int xs, ys, xe, ye;
    window.getView(&xs, &ys, &xe, &ye);
    EXPECT_EQ(std::make_tuple(xs, ys, xe, ye), rectangle());
}

TEST_F(ZoomRectangle, DraggingTheInteriorMovesBothEdgesBy1636801Per100Pixels) {
    window.adjustSubWindow(1, 612, 400, 512, 400);
    EXPECT_EQ(rectangle(), std::make_tuple(6291453 + 1636801, 6291453, 10485755 + 1636801, 10485755));
    // Each edge is truncated on its own, so the way back need not restore both.
    window.adjustSubWindow(1, 512, 400, 612, 400);
    EXPECT_EQ(rectangle(), std::make_tuple(6291452, 6291453, 10485755, 10485755));
}

TEST_F(ZoomRectangle, EachGrabZoneMovesItsOwnEdges) {
    const int dx = 16777215 * 10 / 1025; // 10 pixels across
    const int dy = 16777215 * 10 / 825;  // 10 pixels down
    const int xs = 6291453, ys = 6291453, xe = 10485755, ye = 10485755;
    const struct {
        int zone;
        int xs, ys, xe, ye;
    } cases[] = {
        {0, xs, ys, xe, ye},           {1, xs + dx, ys + dy, xe + dx, ye + dy},
        {2, xs + dx, ys + dy, xe, ye}, {3, xs, ys + dy, xe, ye},
        {4, xs, ys + dy, xe + dx, ye}, {5, xs + dx, ys, xe, ye},
        {6, xs, ys, xe + dx, ye},      {7, xs + dx, ys, xe, ye + dy},
        {8, xs, ys, xe, ye + dy},      {9, xs, ys, xe + dx, ye + dy},
        {10, xs, ys, xe, ye},          {-1, xs, ys, xe, ye},
    };
    for (const auto &c : cases) {
        SetUp();
        window.adjustSubWindow(c.zone, 110, 110, 100, 100);
        // Single-precision rounding may differ by one unit from the integer quotient.
        EXPECT_NEAR(window.subWinXs, c.xs, 1) << "zone " << c.zone;
        EXPECT_NEAR(window.subWinYs, c.ys, 1) << "zone " << c.zone;
        EXPECT_NEAR(window.subWinXe, c.xe, 1) << "zone " << c.zone;
        EXPECT_NEAR(window.subWinYe, c.ye, 1) << "zone " << c.zone;
    }
}

TEST_F(ZoomRectangle, NothingKeepsTheCornersInOrder) {
    // Dragging the left edge 300 pixels right puts it past the right edge.
    window.adjustSubWindow(5, 400, 0, 100, 0);
    EXPECT_GT(window.subWinXs, window.subWinXe);
}

TEST(GrabZone, BandsAreAnEighthOfTheRectangle) {
    // Rectangle 100..180 by 200..280: bands 10 pixels wide.
    const struct {
        int x, y, zone;
    } cases[] = {
        {99, 240, 0},  {181, 240, 0}, {140, 199, 0}, {140, 281, 0}, // outside
        {140, 240, 1},                                              // interior
        {100, 200, 2}, {109, 209, 2}, {140, 200, 3}, {180, 200, 4},
        {171, 209, 4}, {100, 240, 5}, {180, 240, 6}, {170, 240, 1}, // 170 is not past 180 - 10
        {100, 280, 7}, {140, 271, 8}, {180, 280, 9}, {140, 270, 8}, // 270 is not above 280 - 10
    };
    for (const auto &c : cases)
        EXPECT_EQ(grabZone(c.x, c.y, 100, 200, 180, 280), c.zone) << c.x << "," << c.y;
}

TEST(MovedEdge, ProductFirstInSinglePrecisionThenTruncated) {
    EXPECT_EQ(movedEdge(6291453, 16777215, 100, 1025), 7928254);
    EXPECT_EQ(movedEdge(10485755, 16777215, 100, 1025), 12122556);
    EXPECT_EQ(movedEdge(7928254, 16777215, -100, 1025), 6291452); // not back where it was
    EXPECT_EQ(movedEdge(500, 1000, 3, 0), 500);                   // no pixels: no movement
}

// ---- Event codes ----

TEST(EventCodes, KeysAreClassifiedByKeysymThenByWhatTheyType) {
    const struct {
        unsigned long keysym;
        const char *typed;
        int eventType, keyChar;
    } cases[] = {
        {0xFFBE, "", functionKey, 1},                                       // F1
        {0xFFC7, "", functionKey, 10},                                      // F10
        {0xFFE0, "", functionKey, 35},                                      // F35
        {0xFF50, "", cursorKey, -1},                                        // Home
        {0xFF51, "", cursorKey, 0},                                         // Left
        {0xFF54, "", cursorKey, 3},                                         // Down
        {0xFF5F, "", cursorKey, 14},                                        // last cursor-control keysym
        {'a', "a", characterKey, 'a'},      {'a', "\x01", characterKey, 1}, // Control-a
        {0xFF0D, "\r", characterKey, 13},                                   // Return
        {0xFF1B, "\x1b", characterKey, 27},                                 // Escape
        {0xE9, "\xE9", characterKey, -23}, // Latin-1 e-acute, as a signed char
        {0xFFE1, "", noWindowEvent, 0},    // Shift types nothing
        {0xFFBD, "", noWindowEvent, 0},    // just below F1
        {0xFFE1, "ab", noWindowEvent, 0},  // two characters
    };
    for (const auto &c : cases) {
        int eventType = -1, keyChar = 0;
        classifyKey(c.keysym, c.typed, static_cast<int>(std::strlen(c.typed)), eventType, keyChar);
        EXPECT_EQ(eventType, c.eventType) << std::hex << c.keysym;
        if (c.eventType != noWindowEvent) {
            EXPECT_EQ(keyChar, c.keyChar) << std::hex << c.keysym;
        }
    }
}

TEST(EventCodes, PointerEventsPackButtonAndPosition) {
    const int code = pointerCode(3, 1024, 824);
    EXPECT_EQ(pointerButton(code), 3);
    EXPECT_EQ(pointerX(code), 1024);
    EXPECT_EQ(pointerY(code), 824);
    // Coordinates are taken modulo 4096, and a pointer above the window
    // turns x into 4095 as well.
    EXPECT_EQ(pointerX(pointerCode(1, 4096 + 7, 0)), 7);
    const int above = pointerCode(0, 100, -5);
    EXPECT_EQ(pointerX(above), 4095);
    EXPECT_EQ(pointerY(above), 4091);
}

} // namespace
