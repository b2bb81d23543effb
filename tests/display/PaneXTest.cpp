// Value panes painted on a real window and read back pixel by pixel.
#include "display/Pane.h"

#include "display/WindowFixture.h"

namespace {

const uint32_t fg = 0x000000;
const uint32_t bg = 0x0A141E; // unlike every value colour, white included
const uint32_t valueColour[] = {0xF0FFF0, 0xFFFFFF, 0xFF8C00, 0xFFEBCD, 0x008000}; // ZERO .. ONE

class Panes : public OnScreen {
protected:
    void SetUp() override {
        OnScreen::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        WindowOptions o;
        o.bg[0] = 10, o.bg[1] = 20, o.bg[2] = 30;
        openOneToOne(o);
        useXDisplay = 0; // the display object itself without a window of its own
        phaseFive = new PhaseFive;
        delete phaseFive->windexPointer; // the window-less one it made for itself
        phaseFive->windexPointer = window.get();
        window->clear();
    }
    void TearDown() override {
        if (phaseFive)
            phaseFive->windexPointer = nullptr; // owned by the fixture
    }
};

// Sample points of the pane that a 200 x 200 tile at (100, 100) gets with the
// factor 0.25: the square 175 .. 225.
struct Points {
    uint32_t inside, rising, falling, middle, rightEdge;
};
const int insideAt[2] = {210, 192}, risingAt[2] = {185, 215}, fallingAt[2] = {185, 185},
          middleAt[2] = {190, 200}, rightEdgeAt[2] = {225, 205};

struct PaneCase {
    SignalValue value;
    bool probe;
    Points expected;
};

std::string describe(const PaneCase &c) {
    return std::string(signalValueName(c.value)) + (c.probe ? " probe" : " pane");
}

TEST_F(Panes, SingleValuePanes) {
    const auto filled = [](SignalValue v) {
        const uint32_t c = valueColour[v];
        return Points{c, c, c, c, fg};
    };
    const PaneCase cases[] = {
        {ZERO, true, filled(ZERO)},
        {UNINITIALIZED, true, filled(UNINITIALIZED)},
        {XXX, true, filled(XXX)},
        {HIZ, true, filled(HIZ)},
        {ONE, true, filled(ONE)},
        {ZERO, false, {bg, bg, bg, bg, fg}},
        {UNINITIALIZED, false, {bg, fg, bg, bg, fg}},
        {XXX, false, {bg, fg, fg, bg, fg}},
        {HIZ, false, {bg, bg, bg, fg, fg}},
        {ONE, false, {fg, fg, fg, fg, bg}},
    };
    for (const PaneCase &c : cases) {
        window->clear();
        // Whatever the pane showed before must go.
        window->drawFilledRectangle(180, 180, 40, 40);
        drawPane(100, 100, 200, 200, c.value, c.probe, 0.25f);
        const Points seen{pixel(insideAt[0], insideAt[1]), pixel(risingAt[0], risingAt[1]),
                          pixel(fallingAt[0], fallingAt[1]), pixel(middleAt[0], middleAt[1]),
                          pixel(rightEdgeAt[0], rightEdgeAt[1])};
        EXPECT_EQ(xtest::hex(seen.inside), xtest::hex(c.expected.inside)) << describe(c) << " inside";
        EXPECT_EQ(xtest::hex(seen.rising), xtest::hex(c.expected.rising))
            << describe(c) << " rising diagonal";
        EXPECT_EQ(xtest::hex(seen.falling), xtest::hex(c.expected.falling))
            << describe(c) << " falling diagonal";
        EXPECT_EQ(xtest::hex(seen.middle), xtest::hex(c.expected.middle)) << describe(c) << " middle line";
        EXPECT_EQ(xtest::hex(seen.rightEdge), xtest::hex(c.expected.rightEdge)) << describe(c) << " outline";
        EXPECT_EQ(pixel(170, 170), bg) << describe(c) << ": nothing outside the pane";
    }
}

TEST_F(Panes, AnUnknownValueLeavesThePaneAlone) {
    window->drawFilledRectangle(180, 180, 40, 40);
    const xtest::Image before = image(150, 150, 100, 100);
    for (bool probe : {true, false})
        drawPane(100, 100, 200, 200, static_cast<SignalValue>(7), probe, 0.25f);
    EXPECT_TRUE(image(150, 150, 100, 100) == before);
}

// Pure arithmetic: runs with or without an X server.
TEST(PaneGeometry, ShrinkCentresThePane) {
    const struct {
        float sf;
        int rect[4], expected[4];
    } cases[] = {
        {0.25f, {100, 100, 200, 200}, {175, 175, 50, 50}},
        {0.66f, {0, 0, 1000, 500}, {170, 85, 660, 330}},
        {0.25f, {10, 20, 30, 41}, {21, 35, 7, 10}},
        {1.0f, {5, 6, 7, 8}, {5, 6, 7, 8}},
    };
    for (const auto &c : cases) {
        int xs, ys, ws, hs;
        shrink(c.sf, c.rect[0], c.rect[1], c.rect[2], c.rect[3], xs, ys, ws, hs);
        EXPECT_EQ((std::vector<int>{xs, ys, ws, hs}), std::vector<int>(c.expected, c.expected + 4)) << c.sf;
    }
}

// The runs of equal pixels along a line, as (colour, length) pairs.
std::vector<std::pair<uint32_t, int>> runs(const xtest::Image &line) {
    std::vector<std::pair<uint32_t, int>> result;
    for (uint32_t p : line.rgb)
        if (!result.empty() && result.back().first == p)
            ++result.back().second;
        else
            result.push_back({p, 1});
    return result;
}

// Eight values on a 512 x 512 tile: the pane is 128 pixels square at (192,
// 192), each cell 16 pixels and each bar trunc(16 * 0.7) = 11 (its outline
// spans 12 pixels), leaving a gap of 4.  The last value is not a value: its
// cell keeps what was there.
SignalValue eightValues[8] = {ZERO, UNINITIALIZED, XXX, HIZ, ONE, ONE, ZERO, static_cast<SignalValue>(7)};

// The pixels along the bars: outline, fill, outline, then the gap, which
// holds gapColour; the untouched last cell holds untouched.
std::vector<std::pair<uint32_t, int>> expectedBars(uint32_t gapColour, uint32_t untouched) {
    xtest::Image line;
    for (int i = 0; i < 7; ++i) {
        line.rgb.push_back(fg);
        line.rgb.insert(line.rgb.end(), 10, valueColour[eightValues[i]]);
        line.rgb.push_back(fg);
        line.rgb.insert(line.rgb.end(), 4, gapColour);
    }
    line.rgb.insert(line.rgb.end(), 16, untouched);
    return runs(line);
}

TEST_F(Panes, EightValuesSideBySide) {
    window->drawFilledRectangle(192, 192, 128, 128);
    drawPane_byte_h(0, 0, 512, 512, eightValues, false, 0.25f);
    // Each cell is cleared whole, so the gaps show the background.
    EXPECT_EQ(runs(image(192, 256, 128, 1)), expectedBars(bg, fg));
    EXPECT_EQ(runs(image(192 + 5, 192, 1, 128)),
              (std::vector<std::pair<uint32_t, int>>{{fg, 1}, {valueColour[ZERO], 127}}))
        << "the bars take the pane's full height";
}

TEST_F(Panes, EightValuesStacked) {
    drawPane_byte(0, 0, 512, 512, eightValues, true, 0.25f);
    EXPECT_EQ(runs(image(256, 192, 1, 128)), expectedBars(bg, bg));
    EXPECT_EQ(runs(image(192, 192 + 5, 128, 1)),
              (std::vector<std::pair<uint32_t, int>>{{fg, 1}, {valueColour[ZERO], 127}}))
        << "the bars take the pane's full width";
}

TEST_F(Panes, EightValuesAllOneShowEightGreenBarsWithGaps) {
    SignalValue ones[8] = {ONE, ONE, ONE, ONE, ONE, ONE, ONE, ONE};
    drawPane_byte_h(0, 0, 512, 512, ones, false, 0.25f);
    const auto seen = runs(image(192, 256, 128, 1));
    const int bars =
        static_cast<int>(std::count(seen.begin(), seen.end(), std::make_pair(valueColour[ONE], 10)));
    const int gaps = static_cast<int>(std::count(seen.begin(), seen.end(), std::make_pair(bg, 4)));
    EXPECT_EQ(bars, 8);
    EXPECT_EQ(gaps, 8);
}

// Painting needs a window to paint on: before the display object exists, and
// with one that has no window (-X), the painters return without touching
// anything.
TEST(PanesWithoutWindow, ReturnWithoutADisplayObjectOrAWindow) {
    freshNetlist();
    useXDisplay = 0;
    SignalValue eight[8] = {};
    const auto paintAll = [&eight] {
        drawPane(0, 0, 100, 100, ONE, true, 0.25f);
        drawPane(0, 0, 100, 100, XXX, false, 0.25f);
        drawPane_byte(0, 0, 100, 100, eight, true, 0.25f);
        drawPane_byte_h(0, 0, 100, 100, eight, true, 0.25f);
    };
    phaseFive = nullptr;
    paintAll();
    phaseFive = new PhaseFive;
    ASSERT_EQ(phaseFive->windexPointer->display, nullptr);
    paintAll();
}

} // namespace
