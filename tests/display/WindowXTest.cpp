// The window on a real X server: geometry, names, colours, primitives.
#include "display/WindowFixture.h"

#include <X11/Xutil.h>

#include "core/RunTime.h"

namespace {

const uint32_t white = 0xFFFFFF, black = 0x000000;

struct GeometryCase {
    const char *geometry;
    xtest::Geometry expected;
    long flags;
};

TEST_F(OnScreen, GeometryAndSizeHints) {
    const GeometryCase cases[] = {
        {"", {100, 25, 1025, 825, 5}, PPosition | PSize},
        {"1000x900+100+50", {100, 50, 1000, 900, 5}, USPosition | USSize | PPosition | PSize},
        // Only a size: the default position, and the flags that the parsed mask gives.
        {"800x600", {100, 25, 800, 600, 5}, PPosition | PSize},
        // Offsets from the right and bottom screen edges leave no claim on minimum or maximum size.
        {"300x200-10-20",
         {1280 - 10 - 300 - 10, 1024 - 20 - 200 - 10, 300, 200, 5},
         USPosition | USSize | PPosition | PSize},
    };
    for (const GeometryCase &c : cases) {
        WindowOptions o;
        o.geometry = c.geometry;
        Windex &w = open(o);
        const xtest::Geometry g = xtest::geometryOf(x, w.window);
        EXPECT_EQ((std::vector<int>{g.x, g.y, int(g.width), int(g.height), int(g.border)}),
                  (std::vector<int>{c.expected.x, c.expected.y, int(c.expected.width), int(c.expected.height),
                                    int(c.expected.border)}))
            << c.geometry;
        EXPECT_EQ(xtest::sizeHintFlags(x, w.window), c.flags) << c.geometry;
        EXPECT_EQ(w.xPixels, int(c.expected.width)) << c.geometry;
        EXPECT_EQ(w.yPixels, int(c.expected.height)) << c.geometry;
    }
}

TEST_F(OnScreen, TitleIsBannerAndLabelIconNameTheBanner) {
    const struct {
        const char *label, *title;
    } cases[] = {{"", "Norvale v20190205"}, {"ABC", "Norvale v20190205ABC"}};
    for (const auto &c : cases) {
        WindowOptions o;
        o.label = c.label;
        Windex &w = open(o);
        EXPECT_EQ(xtest::windowTitle(x, w.window), c.title);
        EXPECT_EQ(xtest::iconName(x, w.window), "Norvale v20190205");
        EXPECT_EQ(xtest::findWindowByName(x, c.title, 1000), w.window);
    }
}

TEST_F(OnScreen, StartsWithTheWholeViewAndACentredZoomRectangle) {
    Windex &w = open({});
    EXPECT_EQ((std::vector<int>{w.viewXs, w.viewYs, w.viewXe, w.viewYe}),
              (std::vector<int>{0, 0, 16777215, 16777215}));
    EXPECT_EQ((std::vector<int>{w.subWinXs, w.subWinYs, w.subWinXe, w.subWinYe}),
              (std::vector<int>{6291453, 6291453, 10485755, 10485755}));
    EXPECT_EQ(w.numClips, 0);
    EXPECT_EQ(w.cursor_shape[0], 2) << "the arrow";
}

struct ColourCase {
    const char *what;
    WindowOptions options;
    uint32_t foreground, background, zoom;
};

// The colours other than the background on a row of pixels.
std::vector<uint32_t> coloursOn(const xtest::Image &row, uint32_t background) {
    std::vector<uint32_t> seen;
    for (uint32_t p : row.rgb)
        if (p != background && std::find(seen.begin(), seen.end(), p) == seen.end())
            seen.push_back(p);
    return seen;
}

TEST_F(OnScreen, ForegroundBackgroundAndZoomRectangle) {
    const ColourCase cases[] = {
        {"defaults", {}, black, white, 0xFF0000},
        {"chosen", {"", "", {200, 100, 50}, {10, 20, 30}, {0, 0, 255}}, 0xC86432, 0x0A141E, 0x0000FF},
        {"-c 255 255 255 asks for 0xFF00 per channel",
         {"", "", {0, 0, 0}, {255, 255, 255}, {0, 0, 0}},
         black,
         white,
         0xFF0000},
    };
    for (const ColourCase &c : cases) {
        WindowOptions o = c.options;
        o.geometry = "512x512+20+20";
        Windex &w = open(o);
        w.clear();
        EXPECT_EQ(xtest::hex(pixel(5, 5)), xtest::hex(c.background)) << c.what;
        w.drawFilledRectangle(0, 0, 1000000, 1000000);
        EXPECT_EQ(xtest::hex(pixel(5, 5)), xtest::hex(c.foreground)) << c.what;
        // The border, outside the window itself, has the foreground colour.
        EXPECT_EQ(xtest::hex(xtest::pixelAt(x, DefaultRootWindow(x.get()), 22, 22, w.display)),
                  xtest::hex(c.foreground))
            << c.what;

        w.clear();
        const int top = w.yScale(w.subWinYs);
        const xtest::Image before = image(0, top, 512, 1);
        w.drawSubWindow();
        const xtest::Image drawn = image(0, top, 512, 1);
        EXPECT_EQ(coloursOn(drawn, c.background), std::vector<uint32_t>{c.zoom}) << c.what;
        w.drawSubWindow();
        EXPECT_TRUE(image(0, top, 512, 1) == before) << c.what << ": drawing it twice restores the pixels";
    }
}

TEST_F(OnScreen, ZoomRectangleDrawnTwiceRestoresAnyPicture) {
    Windex &w = openOneToOne();
    w.clear();
    w.setView(0, 0, 16777215, 16777215);
    w.drawFilledRectangle_XXX(0, 0, 8388608, 16777215);
    w.drawLine(0, 0, 16777215, 16777215);
    const xtest::Image before = image(0, 0, 512, 512);
    w.drawSubWindow();
    EXPECT_FALSE(image(0, 0, 512, 512) == before);
    w.drawSubWindow();
    EXPECT_TRUE(image(0, 0, 512, 512) == before);
}

struct ValueColourCase {
    void (Windex::*fill)(int, int, int, int);
    uint32_t colour;
};

TEST_F(OnScreen, ValueFillsHaveTheirColours) {
    const ValueColourCase cases[] = {
        {&Windex::drawFilledRectangle_ONE, 0x008000},           {&Windex::drawFilledRectangle_ZERO, 0xF0FFF0},
        {&Windex::drawFilledRectangle_UNINITIALIZED, 0xFFFFFF}, {&Windex::drawFilledRectangle_XXX, 0xFF8C00},
        {&Windex::drawFilledRectangle_HIZ, 0xFFEBCD},
    };
    WindowOptions o;
    o.bg[0] = 10; // a background unlike any value colour
    Windex &w = openOneToOne(o);
    int left = 0;
    for (const ValueColourCase &c : cases) {
        (w.*c.fill)(left, 0, 50, 50);
        EXPECT_EQ(xtest::hex(pixel(left + 25, 25)), xtest::hex(c.colour));
        left += 60;
    }
    w.drawFilledCircle(100, 200, 100, 100, 0, 360 * 64);
    EXPECT_EQ(xtest::hex(pixel(150, 250)), xtest::hex(0xF0FFF0)) << "filled circles take the ZERO colour";
}

TEST_F(OnScreen, PrimitivesDrawWhereTheViewPutsThem) {
    Windex &w = openOneToOne();
    w.clear();
    w.drawLine(10, 100, 200, 100);
    w.drawLine_BOLD(10, 300, 200, 300);
    w.drawRectangle(300, 300, 100, 50);
    EXPECT_EQ(pixel(100, 100), black);
    EXPECT_EQ(pixel(100, 99), white);
    EXPECT_EQ(pixel(100, 300), black);
    EXPECT_TRUE(pixel(100, 299) == black || pixel(100, 301) == black) << "bold lines are two pixels wide";
    EXPECT_EQ(pixel(300, 320), black);
    EXPECT_EQ(pixel(400, 320), black);
    EXPECT_EQ(pixel(350, 320), white) << "an outline only";

    // Half the view: everything twice as large.
    w.setView(0, 0, 256, 256);
    w.drawFilledRectangle(10, 200, 20, 20);
    EXPECT_EQ(pixel(25, 405), black);
    EXPECT_EQ(pixel(61, 405), white);
}

TEST_F(OnScreen, StatusLineEndsInBlanksThatCoverALongerLine) {
    Windex &w = openOneToOne();
    w.resetView();
    w.clear();
    w.drawTimeAndQueue(1234, 7, 0);
    const xtest::Image alone = image(0, 0, 512, 40);
    EXPECT_NE(std::count(alone.rgb.begin(), alone.rgb.end(), black), 0)
        << "some text near the top-left corner";
    w.clear();
    w.drawTimeAndQueue(12345678, 70, 1); // five characters longer
    EXPECT_FALSE(image(0, 0, 512, 40) == alone);
    w.drawTimeAndQueue(1234, 7, 0);
    EXPECT_TRUE(image(0, 0, 512, 40) == alone);
}

TEST_F(OnScreen, TextPaintsItsCellBackground) {
    Windex &w = openOneToOne();
    w.clear();
    w.drawFilledRectangle(0, 0, 512, 100);
    w.drawText(20, 50, "                    ");
    EXPECT_EQ(pixel(40, 47), white) << "blanks drawn as image text clear their cells";
    w.buttonPoint(300, 200);
    const xtest::Image mark = image(300, 185, 10, 20);
    EXPECT_NE(std::count(mark.rgb.begin(), mark.rgb.end(), black), 0) << "an X drawn at the pixel";
}

TEST_F(OnScreen, DeepZoomDoesNotWrapDistantShapesIntoTheWindow) {
    Windex &w = openOneToOne();
    w.clear();
    // Five pixels per unit: the far ends lie some eighty million pixels away.
    w.setView(0, 0, 100, 100);
    w.drawLine(50, 0, 50, 16777215);
    w.drawFilledRectangle(80, 80, 16777215, 16777215);
    EXPECT_EQ(pixel(256, 300), black) << "the visible part of the line";
    EXPECT_EQ(pixel(256, 500), black);
    EXPECT_EQ(pixel(450, 450), black) << "the visible part of the rectangle";
    EXPECT_EQ(pixel(100, 100), white);
    EXPECT_EQ(pixel(300, 300), white);
}

TEST_F(OnScreen, EmptyAndMirroredRectangles) {
    Windex &w = openOneToOne();
    w.drawFilledRectangle(0, 0, 512, 512);
    // Less than a pixel wide: nothing is cleared (not a stripe to the window's edge).
    w.setView(0, 0, 16777215, 16777215);
    w.clearArea(8000000, 0, 1000, 16777215);
    EXPECT_EQ(pixel(400, 100), black);
    // An outline that narrow is still a line, as X draws it.
    w.clear();
    w.drawRectangle(8000000, 0, 1000, 16777215);
    EXPECT_EQ(pixel(w.xScale(8000000), 100), black);
    // A mirrored view mirrors the rectangle instead of losing it.
    w.clear();
    w.setView(512, 0, 0, 512);
    w.drawFilledRectangle(100, 100, 50, 50);
    EXPECT_EQ(pixel(380, 120), black);
    EXPECT_EQ(pixel(120, 120), white);
}

TEST_F(OnScreen, ProtocolErrorsEndTheRunQuietly) {
    Windex &w = open({});
    done = 0;
    testing::internal::CaptureStderr();
    XMapWindow(w.display, 0x1234567); // no such window
    XSync(w.display, False);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(done, 1);
}

TEST_F(OnScreen, TeardownRemovesTheWindow) {
    open({}, "Norvale teardown");
    ASSERT_NE(xtest::findWindowByName(x, "Norvale teardown", 1000), 0u);
    window.reset();
    EXPECT_EQ(xtest::findWindowByName(x, "Norvale teardown", 0), 0u);
}

struct AllocCase {
    const char *role;
    const char *message;
};

TEST(ColourAllocation, FailureEndsTheProcessWithStatus255) {
    REQUIRE_X_DISPLAY();
    const AllocCase cases[] = {
        {"background", "^Can't Alloc background Pixel\n\n$"},
        {"foreground", "^Can't Alloc foreground Pixel\n\n$"},
        {"subwindow", "^Can't Alloc subwindow Pixel\n\n$"},
    };
    for (const AllocCase &c : cases)
        EXPECT_EXIT(
            {
                Display *d = xtest::openDisplay();
                XSetErrorHandler(catchError);
                // A colour map that does not exist: the allocation is refused.
                allocPixelOrExit(d, 0x1FFFFFF, 0xFF00, 0, 0, c.role);
            },
            testing::ExitedWithCode(255), c.message)
            << c.role;
}

} // namespace
