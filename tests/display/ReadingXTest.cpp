// What the window writes so that values can be read: the readout beside
// eight-value panes, the legend and the status line in the band above the
// schematic, the high-contrast palette, labels cut to their tile, and the
// mouse wheel's zoom.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <cmath>
#include <vector>

#include "LiveDisplay.h"
#include "XHarness.h"
#include "components/ssiPh1.h"
#include "core/Ph2.h"
#include "core/Schmtc.h"
#include "core/Signal.h"
#include "core/cmdLine.h"
#include "display/Legend.h"
#include "display/Pane.h"
#include "display/Ph5.h"
#include "display/Window.h"

namespace {

const uint32_t black = 0x000000;

// Two eight-bit probes, side by side (0xAA) and stacked (undriven: "UU"),
// and a probe whose label is far longer than its tile, beside a neighbour.
void readingCircuit() {
    const Signal open(8, "open"), a(1, "a");
    ProbeByteH(SD("aa", nullptr), (One, Zero, One, Zero, One, Zero, One, Zero), "word");
    ProbeByte(SD("ab", nullptr), open, "stacked");
    Probe(SD("ba", nullptr), a, "A_LABEL_FAR_LONGER_THAN_ITS_TILE");
    Probe(SD("bb", nullptr), a, "next");
    Probe(SD("bf", nullptr), a, "far"); // six columns: tiles narrower than the long label
}

struct Rect {
    int x, y, w, h;
    bool overlaps(const Rect &o) const {
        return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h;
    }
};

struct ReadingWindow : ::testing::Test {
    xtest::Connection x;
    Window window = 0;

    void open(bool highContrast = false, bool statusLine = false) {
        REQUIRE_X_DISPLAY();
        ASSERT_NE(x.get(), nullptr);
        captureCircuit(readingCircuit);
        highContrastFlag = highContrast ? 1 : 0;
        displayTimeFlag = statusLine ? 1 : 0; // as -t sets it
        openDisplay(true, "reading");
        window = win().window;
        startRun();
        xtest::movePointer(x, window, 5, 5);
    }
    void TearDown() override {
        highContrastFlag = 0;
        displayTimeFlag = 0;
        if (window != 0)
            closeDisplay();
    }
    static Windex &win() { return *phaseFive->windexPointer; }
    xtest::Image image(const Rect &r) { return xtest::capture(x, window, r.x, r.y, r.w, r.h, win().display); }
    int count(const Rect &r, uint32_t colour) {
        const xtest::Image i = image(r);
        return static_cast<int>(std::count(i.rgb.begin(), i.rgb.end(), colour));
    }
    void key(KeySym keysym, const std::vector<KeySym> &modifiers = {}) {
        xtest::pressKey(x, keysym, modifiers);
        ASSERT_TRUE(handleNextEvent()) << "key " << keysym;
        settleCircuit();
    }
    void wheel(int button, int px, int py) {
        xtest::click(x, window, button, px, py);
        ASSERT_TRUE(handleNextEvent()); // press
        ASSERT_TRUE(handleNextEvent()); // release
    }
    // The pane of component c in window pixels, as drawPane_bytes places it.
    static Rect pane(int c) {
        const ScreenTile &t = phaseTwo->tile[c];
        int xs, ys, ws, hs;
        shrink(0.25f, t.x, t.y, t.w, t.h, xs, ys, ws, hs);
        return {win().xScale(xs), win().yScale(ys), win().wScale(ws), win().hScale(hs)};
    }
    static Rect readout(int c, bool wide) {
        const Rect p = pane(c);
        const ReadoutPlace r = readoutPlace(p.x, p.y, p.w, p.h, wide, 2, win().charWidth(),
                                            win().fontAscent(), win().fontDescent());
        return {r.x, r.y - win().fontAscent(), r.w, r.h};
    }
};

TEST_F(ReadingWindow, TheReadoutComesAndGoesWithItsKeyBesideThePane) {
    open();
    const struct {
        int component;
        bool wide;
    } panes[] = {{0, true}, {1, false}};
    std::vector<xtest::Image> before;
    for (const auto &p : panes) {
        EXPECT_FALSE(readout(p.component, p.wide).overlaps(pane(p.component)));
        EXPECT_EQ(count(readout(p.component, p.wide), black), 0) << "off by default";
        before.push_back(image(pane(p.component)));
    }
    key(XK_v, {XK_Control_L});
    for (size_t k = 0; k < 2; ++k) {
        EXPECT_GT(count(readout(panes[k].component, panes[k].wide), black), 10) << "digits drawn";
        EXPECT_TRUE(image(pane(panes[k].component)) == before[k]) << "the pane itself unchanged";
    }
    key(XK_v, {XK_Control_L});
    for (const auto &p : panes)
        EXPECT_EQ(count(readout(p.component, p.wide), black), 0) << "gone again";
}

TEST_F(ReadingWindow, TheLegendAndTheStatusLineHaveABandAboveTheSchematic) {
    open(true);
    EXPECT_EQ(win().bandPixels, 0);
    EXPECT_EQ(win().yScale(0), 0);
    key(XK_k, {XK_Control_L});
    const int band = win().bandPixels;
    ASSERT_GT(band, 0);
    EXPECT_EQ(win().yScale(0), band) << "the schematic starts below the band";
    // The legend shows every colour of the palette in use.
    const Rect strip{0, 0, win().xPixels, band};
    for (const char *colour : highContrastPalette)
        EXPECT_GT(count(strip, static_cast<uint32_t>(std::stoul(colour + 1, nullptr, 16))), 20) << colour;
    key(XK_k, {XK_Control_L});
    EXPECT_EQ(win().bandPixels, 0);
    // F6 keeps the band for the status line, which then covers no label.
    key(XK_F6);
    EXPECT_EQ(win().bandPixels, band);
    win().drawTimeAndQueue(1234, 7, 0);
    EXPECT_GT(count({0, 0, 200, band}, black), 0);
    key(XK_F6);
    EXPECT_EQ(win().bandPixels, 0);
}

// The legend reads left to right as the two levels, then the other three,
// each named as the values are everywhere else, and ends at the window's
// right edge without one entry running into the next.
TEST(Legend, ListsTheLevelsFirstAndNamesEveryValue) {
    const std::vector<LegendEntry> entries = legendLayout(800, 6, 11);
    const struct {
        SignalValue value;
        const char *name;
    } expected[] = {
        {ZERO, "ZERO"}, {ONE, "ONE"}, {UNINITIALIZED, "UNINITIALIZED"}, {XXX, "XXX"}, {HIZ, "HIZ"}};
    ASSERT_EQ(entries.size(), std::size(expected));
    for (size_t k = 0; k < entries.size(); ++k) {
        EXPECT_EQ(entries[k].value, expected[k].value) << "entry " << k;
        EXPECT_EQ(entries[k].name, expected[k].name) << "entry " << k;
        EXPECT_GE(entries[k].textX, entries[k].swatchX + entries[k].swatchSize) << "swatch before its name";
        if (k > 0) {
            EXPECT_GT(entries[k].swatchX,
                      entries[k - 1].textX + 6 * static_cast<int>(entries[k - 1].name.size()))
                << "entry " << k << " starts after the name before it";
        }
    }
    EXPECT_LE(entries.back().textX + 6 * static_cast<int>(entries.back().name.size()), 800);
    EXPECT_GT(entries.back().textX + 6 * static_cast<int>(entries.back().name.size()), 800 - 20)
        << "at the right edge";
}

// On the screen, each swatch of the legend has its own value's colour.
TEST_F(ReadingWindow, TheLegendsSwatchesHaveTheirValuesColours) {
    open(true);
    key(XK_k, {XK_Control_L});
    for (const LegendEntry &e : legendLayout(win().xPixels, win().charWidth(), win().fontAscent())) {
        const int cx = e.swatchX + e.swatchSize / 2, cy = e.swatchY + e.swatchSize / 2 - 1;
        EXPECT_EQ(xtest::hex(xtest::pixelAt(x, window, cx, cy, win().display)), highContrastPalette[e.value])
            << e.name;
    }
}

// With -t the band is there before the first drawing, so the status line
// never covers the top of the schematic.
TEST_F(ReadingWindow, WithTheStatusLineFromTheStartTheBandComesFirst) {
    open(false, true);
    EXPECT_GT(win().bandPixels, 0);
    EXPECT_EQ(win().yScale(0), win().bandPixels);
}

TEST_F(ReadingWindow, TheHighContrastPaletteFillsThePanes) {
    open(true);
    win().drawFilledRectangle_ONE(0, 0, 2000000, 2000000);
    EXPECT_EQ(xtest::hex(xtest::pixelAt(x, window, 20, 20, win().display)), "#006400");
    const Rect p = pane(0);
    // The first bar of 0xAA is ONE, the second ZERO.
    EXPECT_EQ(xtest::hex(xtest::pixelAt(x, window, p.x + p.w / 32, p.y + p.h / 2, win().display)), "#006400");
    EXPECT_EQ(xtest::hex(xtest::pixelAt(x, window, p.x + p.w / 8 + p.w / 32, p.y + p.h / 2, win().display)),
              "#56B4E9");
}

TEST_F(ReadingWindow, ALongLabelStopsAtItsTilesEdge) {
    open();
    const ScreenTile &neighbour = phaseTwo->tile[3];
    const int edge = win().xScale(neighbour.x);
    // Between the neighbour's tile edge and its own outline nothing is drawn
    // but the neighbour's input lead, below the label row.
    const int labelRow = win().yScale(neighbour.y + neighbour.h / 4);
    EXPECT_EQ(count({edge, labelRow - 12, win().wScale(neighbour.w / 10), 14}, black), 0);
}

TEST_F(ReadingWindow, TheWheelZoomsAroundThePointerInBothModes) {
    open();
    for (const int mode : {1, 0}) {
        phaseFive->newWindowingMode = mode;
        win().resetView();
        const int px = 300, py = 200;
        const double before = win().viewXs + double(win().viewXe - win().viewXs) * px / win().xPixels;
        wheel(4, px, py);
        const double span = win().viewXe - win().viewXs;
        EXPECT_NEAR(span, 0.8 * 16777215, 2) << "mode " << mode;
        const double after = win().viewXs + span * px / win().xPixels;
        EXPECT_NEAR(after, before, 2) << "the point under the pointer stays, mode " << mode;
        wheel(5, px, py);
        wheel(5, px, py);
        EXPECT_EQ((std::vector<int>{win().viewXs, win().viewYs, win().viewXe, win().viewYe}),
                  (std::vector<int>{0, 0, 16777215, 16777215}))
            << "zooming out stops at the whole schematic, mode " << mode;
    }
}

} // namespace

// The readout's text for every kind of nibble.
TEST(Readout, DigitsPerNibbleAndTheMostTellingLetterOtherwise) {
    const struct {
        std::vector<SignalValue> bits;
        const char *text;
    } cases[] = {
        {{ONE, ZERO, ONE, ZERO, ONE, ZERO, ONE, ZERO}, "AA"},
        {{ZERO, ZERO, ZERO, ZERO, ONE, ONE, ONE, ONE}, "0F"},
        {{UNINITIALIZED, ZERO, ZERO, ZERO, ZERO, ZERO, ZERO, ONE}, "U1"},
        {{ONE, HIZ, ONE, ONE, ZERO, ZERO, XXX, ZERO}, "ZX"},
        {{UNINITIALIZED, XXX, HIZ, ONE, HIZ, UNINITIALIZED, ZERO, ZERO}, "XU"},
        {{ONE, ONE, ONE, ONE, ONE, ONE, ONE, ONE, ZERO, ZERO, ZERO, ONE, ONE, ZERO, ZERO, ZERO}, "FF18"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(hexReadout(c.bits.data(), static_cast<int>(c.bits.size())), c.text) << c.text;
}

// On a projector the five values must be told apart at a glance: every two
// colours of the high-contrast palette lie far apart, and none is near the
// white background.
TEST(Palette, HighContrastColoursArePairwiseFarApart) {
    const auto rgb = [](const char *colour) {
        const unsigned long v = std::stoul(colour + 1, nullptr, 16);
        return std::vector<double>{double(v >> 16), double((v >> 8) & 0xFF), double(v & 0xFF)};
    };
    const auto distance = [](const std::vector<double> &a, const std::vector<double> &b) {
        return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
                         (a[2] - b[2]) * (a[2] - b[2]));
    };
    const double apart = 140, fromBackground = 150;
    for (int a = 0; a < numberOfSignalValues; ++a) {
        EXPECT_GE(distance(rgb(highContrastPalette[a]), rgb("#FFFFFF")), fromBackground)
            << valueSpellings[a].name;
        for (int b = a + 1; b < numberOfSignalValues; ++b)
            EXPECT_GE(distance(rgb(highContrastPalette[a]), rgb(highContrastPalette[b])), apart)
                << valueSpellings[a].name << " and " << valueSpellings[b].name;
    }
    // The default palette stays as it was.
    EXPECT_STREQ(defaultPalette[ONE], "#008000");
    EXPECT_STREQ(defaultPalette[ZERO], "#F0FFF0");
}
