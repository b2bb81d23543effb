// Where a component's leads, tabs and super probes go, which components are
// drawn at which level of detail, and what a connection pass leaves behind.
// No window: the tab and super-probe lists record what the drawing placed.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "LiveDisplay.h"
#include "components/SecEvTyp.h"
#include "components/ssiPh1.h"
#include "core/Ph2.h"
#include "core/addStCmp.h"
#include "display/IconDraw.h"
#include "display/Ph5.h"
#include "display/iconData.h"

namespace {

struct FrameCase {
    int x, y, w, h;
    int xs, ys, ws, hs;
};

TEST(IconFrame, BodyIsTheMiddleHalfOfTheTile) {
    const FrameCase cases[] = {
        {0, 0, 1000, 1000, 250, 250, 500, 500},
        {2000, 3000, 1000, 1000, 2250, 3250, 500, 500},
        {0, 0, 1000, 400, 250, 100, 500, 200},
        {10, 20, 7, 9, 11, 22, 3, 4}, // single-precision sums truncated
        {0, 0, 16777215, 16777215, 4194303, 4194303, 8388607, 8388607},
    };
    for (const FrameCase &c : cases) {
        const IconFrame f = iconFrame(c.x, c.y, c.w, c.h);
        EXPECT_EQ(std::make_tuple(f.xs, f.ys, f.ws, f.hs), std::make_tuple(c.xs, c.ys, c.ws, c.hs))
            << c.x << "," << c.y << "," << c.w << "," << c.h;
    }
}

TEST(IconFrame, IconPointsScaleOntoTheBody) {
    const IconFrame f = iconFrame(0, 0, 1000, 1000);
    EXPECT_EQ(iconX(f, 0), 250);
    EXPECT_EQ(iconX(f, 1000), 750);
    EXPECT_EQ(iconX(f, 667), 583);
    EXPECT_EQ(iconY(f, 333), 416);
    EXPECT_EQ(iconY(f, 1000), 750);
}

TEST(IconFrame, LeadRowsDivideTheBodyHeight) {
    const IconFrame f = iconFrame(0, 0, 1000, 1000);
    // Three leads on a body of 500: 166 each, centred in their share.
    const int expected[] = {333, 499, 665};
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(leadRow(f, 3, k).yl, expected[k]);
    EXPECT_FLOAT_EQ(leadRow(f, 3, 0).tabHigh, 33.2f);
    EXPECT_EQ(leadRow(f, 1, 0).yl, 500);
    EXPECT_EQ(leadRow(f, 2, 1).yl, 625);
}

// ---- Tabs and super probes of a drawn component ----

// One component with two data inputs, one control input and two outputs.
void threeInTwoOut() {
    const Signal data(2, "d"), control(1, "c"), out(2, "q");
    addStandardComponent(componentOn("box", rectIcon, nullptr, data, control, out), SD("aa", nullptr));
}

using TabRecord = std::tuple<int, int, int, int>;      // component, signal, x, y
using BoxRecord = std::tuple<int, int, int, int, int>; // signal, x, y, w, h

std::vector<TabRecord> tabs(const TabList &list) {
    std::vector<TabRecord> result;
    for (const Tab *t = list.start; t; t = t->link)
        result.emplace_back(t->cmp, t->signalIndex, t->xc, t->yc);
    return result;
}

std::vector<BoxRecord> superProbes() {
    std::vector<BoxRecord> result;
    for (const SuperProbe *p = phaseFive->superProbeList.start; p; p = p->link)
        result.emplace_back(p->signalIndex, p->x, p->y, p->w, p->h);
    return result;
}

struct DrawnComponent : ::testing::Test {
    int d0 = 0, d1 = 0, c0 = 0, q0 = 0, q1 = 0;
    void SetUp() override {
        captureCircuit(threeInTwoOut);
        openDisplay(false);
        const int *in = phaseTwo->dataInputs[0];
        d0 = in[0], d1 = in[1], c0 = phaseTwo->controlInputs[0][0];
        q0 = phaseTwo->outputs[0][0], q1 = phaseTwo->outputs[0][1];
        phaseTwo->tile[0] = ScreenTile{2000, 3000, 1000, 1000};
    }
    void TearDown() override { closeDisplay(); }
};

TEST_F(DrawnComponent, InputsFromTheTopAreControlThenDataFromTheLast) {
    phaseFive->drawSchematic();
    // Lists are newest first: the bottom lead (data input 0) leads.
    EXPECT_EQ(tabs(phaseFive->inTab),
              (std::vector<TabRecord>{{0, d0, 2125, 3665}, {0, d1, 2125, 3499}, {0, c0, 2125, 3333}}));
    EXPECT_EQ(tabs(phaseFive->outTab), (std::vector<TabRecord>{{0, q0, 2875, 3625}, {0, q1, 2875, 3375}}));
}

TEST_F(DrawnComponent, SuperProbesAreTheTabBoxesOfTheFirstDrawingOnly) {
    phaseFive->drawSchematic();
    EXPECT_EQ(superProbes(), (std::vector<BoxRecord>{{q0, 2850, 3600, 50, 50},
                                                     {q1, 2850, 3350, 50, 50},
                                                     {d0, 2100, 3648, 50, 33},
                                                     {d1, 2100, 3482, 50, 33},
                                                     {c0, 2100, 3316, 50, 33}}));
    phaseFive->superProbeCollect = 0;
    phaseFive->drawSchematic();
    EXPECT_EQ(superProbes().size(), 5u);
    EXPECT_EQ(tabs(phaseFive->inTab).size(), 6u); // tabs pile up until the next connect
}

TEST_F(DrawnComponent, WithoutLeadsNothingIsRegistered) {
    phaseFive->drawComponentLeadsFlag = 0;
    phaseFive->drawSchematic();
    EXPECT_EQ(phaseFive->inTab.start, nullptr);
    EXPECT_EQ(phaseFive->outTab.start, nullptr);
    EXPECT_EQ(phaseFive->superProbeList.start, nullptr);
}

TEST_F(DrawnComponent, AComponentWithoutIconIsNotDrawnAtAll) {
    phaseTwo->iconArrays[0] = nullptr;
    phaseFive->drawSchematic();
    EXPECT_EQ(phaseFive->inTab.start, nullptr);
    EXPECT_EQ(phaseFive->superProbeList.start, nullptr);
}

TEST_F(DrawnComponent, ConnectForgetsEveryTab) {
    phaseFive->drawSchematic();
    phaseFive->drawSchematic();
    phaseFive->connect();
    EXPECT_EQ(phaseFive->inTab.start, nullptr);
    EXPECT_EQ(phaseFive->outTab.start, nullptr);
}

// ---- Visibility ----

// One component per row of the table below, all with an icon and a pane.
struct VisibilityCase {
    int overloadable, level, displayLevel;
    bool visible;
};
const VisibilityCase visibilityCases[] = {
    {0, 1, 1, true}, {0, 1, 3, true},  {0, 2, 1, false}, {0, 3, 3, true},
    {1, 1, 1, true}, {1, 1, 2, false}, {1, 2, 2, true},  {1, 3, 2, false},
};

int drawnPanes = 0;
void countPane(int) {
    ++drawnPanes;
}

void oneComponentPerCase() {
    const Signal s(1, "s");
    SD sd("aa", nullptr);
    for (const VisibilityCase &c : visibilityCases) {
        sd.graphicLevel = c.level;
        StandardComponent shown;
        shown.decal = "c";
        shown.icon = rectIcon;
        shown.draw = countPane;
        shown.outputOverloadable = c.overloadable;
        shown.dataIn = &s;
        addStandardComponent(shown, sd);
    }
}

TEST(Visibility, OverloadableComponentsShowOnlyAtTheirOwnLevel) {
    captureCircuit(oneComponentPerCase);
    openDisplay(false);
    int c = 0;
    for (const VisibilityCase &v : visibilityCases) {
        EXPECT_EQ(componentVisible(c, v.displayLevel), v.visible) << "case " << c;
        // The drawing passes follow the same rule.
        phaseFive->currentGraphicDisplayLevel = v.displayLevel;
        drawnPanes = 0;
        phaseFive->drawPanes();
        int visibleHere = 0;
        for (const VisibilityCase &w : visibilityCases)
            visibleHere += w.overloadable ? v.displayLevel == w.level : v.displayLevel >= w.level;
        EXPECT_EQ(drawnPanes, visibleHere) << "level " << v.displayLevel;
        phaseFive->drawSchematic();
        int tabCount = 0;
        for (const Tab *t = phaseFive->inTab.start; t; t = t->link)
            tabCount += t->cmp == c;
        EXPECT_EQ(tabCount, v.visible ? 1 : 0) << "case " << c;
        phaseFive->connect();
        ++c;
    }
    closeDisplay();
}

} // namespace
