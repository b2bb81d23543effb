// The function-key and cursor-key operations, as the keyboard and the -F and
// -K replay strings reach them.  No window: a repaint shows as the -X line
// of the probe, whose pane is drawn by every full redraw.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "LiveDisplay.h"
#include "components/ssiPh1.h"
#include "core/Ph2.h"
#include "core/Ph4Run.h"
#include "core/RunTime.h"
#include "core/cmdLine.h"
#include "display/Display.h"
#include "display/FandCOp.h"
#include "display/Ph5.h"

namespace {

// Three levels of detail: a module box holding a module box holding an
// inverter, and a probe at the top level.
void threeLevels() {
    const Signal a(1, "a"), b(1, "b");
    Switch(SD("aa", nullptr), a, 'a', Zero, "a");
    const SD outer("ab", nullptr);
    Module(outer, "outer", a, b);
    const SD inner(outer, "aa", nullptr);
    Module(inner, "inner", a, b);
    Not(SD(inner, "aa", nullptr), a, b);
    Probe(SD("ac", nullptr), b, "b");
}

const std::string probeLine = "Time = 0  Probe for b at ac  Value = UNINITIALIZED\n";

struct KeyOperations : ::testing::Test {
    void SetUp() override {
        captureCircuit(threeLevels);
        openDisplay(false);
    }
    void TearDown() override { closeDisplay(); }
    // Tiles and draws as the start of a run does (the probe's first line is dropped).
    void tile() { stderrOf(drawFirstTime); }
};

TEST_F(KeyOperations, ToggleKeysFlipTheirFlagAndBack) {
    const struct {
        int code;
        int *flag;
    } cases[] = {
        {2, &phaseFive->interconnectFlag},
        {3, &phaseFive->labelGateFlag},
        {4, &phaseFive->drawComponentLeadsFlag},
        {5, &phaseFive->labelLinesFlag},
        {6, &displayTimeFlag},
        {7, &connectMuxOnlyFlag},
        {8, &phaseFive->superProbeSelect},
        {9, &phaseFive->newWindowingMode},
    };
    for (const auto &c : cases) {
        const int before = *c.flag;
        FunctionKeyOperate(c.code);
        EXPECT_EQ(*c.flag, !before) << "F" << c.code;
        FunctionKeyOperate(c.code);
        EXPECT_EQ(*c.flag, before) << "F" << c.code;
    }
}

TEST_F(KeyOperations, LevelKeysStayBetweenOneAndTheDeepestLevel) {
    ASSERT_EQ(phaseTwo->maxGraphicDisplayLevel, 3);
    const struct {
        int from, code, to;
    } cases[] = {
        {1, 20, 2}, {2, 35, 3}, {3, 20, 3}, {3, 35, 3}, // one more, at most the deepest
        {1, 21, 3}, {2, 33, 3},                         // the deepest
        {3, 24, 1}, {2, 27, 1},                         // the least
        {3, 29, 2}, {2, 37, 1}, {1, 29, 1}, {1, 37, 1}, // one less, at least 1
    };
    for (const auto &c : cases) {
        phaseFive->currentGraphicDisplayLevel = c.from;
        FunctionKeyOperate(c.code);
        EXPECT_EQ(phaseFive->currentGraphicDisplayLevel, c.to) << "code " << c.code << " from " << c.from;
    }
}

TEST_F(KeyOperations, RestartAndExitOnlyRequest) {
    FunctionKeyOperate(1);
    EXPECT_EQ(reStart, 1);
    EXPECT_EQ(done, 0);
    FunctionKeyOperate(10);
    EXPECT_EQ(done, 1);
}

TEST_F(KeyOperations, UnusedFunctionCodesAreReportedAndChangeNothing) {
    for (const int code : {0, 11, 12, 19, 22, 23, 25, 26, 28, 30, 32, 34, 36, 38, 42, -1, -16}) {
        const std::string said = stderrOf([code] { FunctionKeyOperate(code); });
        EXPECT_EQ(said, "Unused Function key F" + std::to_string(code) + "\n");
    }
    EXPECT_EQ(reStart, 0);
    EXPECT_EQ(done, 0);
    EXPECT_EQ(phaseFive->currentGraphicDisplayLevel, 1);
}

TEST_F(KeyOperations, CursorCodesChangeSlowDownAndHalt) {
    const struct {
        int from, code, to;
    } cases[] = {
        {0, 0, 1}, {7, 0, 8}, {19, 0, 20}, {20, 0, 20}, // slower, capped
        {9, 1, 0}, {0, 1, 0},                           // full speed
        {5, 2, 4}, {1, 2, 0}, {0, 2, 0},                // faster, not below 0
    };
    for (const auto &c : cases) {
        stallLevel = c.from;
        CursorKeyOperate(c.code);
        EXPECT_EQ(stallLevel, c.to) << "code " << c.code << " from " << c.from;
    }
    CursorKeyOperate(3);
    EXPECT_EQ(haltFlag, 1);
    CursorKeyOperate(3);
    EXPECT_EQ(haltFlag, 0);
}

TEST_F(KeyOperations, UnusedCursorCodesAreReported) {
    for (const int code : {-1, 4, 5, 6, 7, 9, 14, 40}) {
        const std::string said = stderrOf([code] { CursorKeyOperate(code); });
        EXPECT_EQ(said, "Unused Cursor key = " + std::to_string(code) + "\n");
    }
    EXPECT_EQ(stallLevel, 0);
    EXPECT_EQ(haltFlag, 0);
}

TEST_F(KeyOperations, RedrawsBeforeTheTilesExistDrawNothingButStillToggle) {
    const std::string said = stderrOf([] {
        for (const int code : {2, 3, 4, 5, 8, 9, 20, 31})
            FunctionKeyOperate(code);
    });
    EXPECT_EQ(said, "");
    EXPECT_EQ(phaseFive->interconnectFlag, 0);
    EXPECT_EQ(phaseFive->superProbeSelect, 1);
    EXPECT_EQ(phaseFive->currentGraphicDisplayLevel, 2);
}

TEST_F(KeyOperations, EveryRepaintingKeyRedrawsThePanesOnceTiled) {
    tile();
    // Return at the deepest level and Control-n at level 1 change nothing but
    // still repaint.  F6 repaints: the status line's band comes or goes.
    for (const int code :
         {2, 3, 4, 5, 6, 8, 9, 31, 35, 35, 35, 29, 29, 29, 21, 24, readoutCode, legendCode}) {
        const std::string said = stderrOf([code] { FunctionKeyOperate(code); });
        EXPECT_EQ(said, probeLine) << "F" << code;
    }
    for (const int code : {1, 7, 10}) {
        const std::string said = stderrOf([code] { FunctionKeyOperate(code); });
        EXPECT_EQ(said, "") << "F" << code;
    }
}

TEST_F(KeyOperations, ReplayRunsFunctionCodesThenCursorCodes) {
    std::strcpy(FunctionKeyString, "23589DD");
    std::strcpy(CursorKeyString, "0003");
    replayKeyStrings();
    EXPECT_EQ(phaseFive->interconnectFlag, 0);
    EXPECT_EQ(phaseFive->labelGateFlag, 0);
    EXPECT_EQ(phaseFive->labelLinesFlag, 1);
    EXPECT_EQ(phaseFive->superProbeSelect, 1);
    EXPECT_EQ(phaseFive->newWindowingMode, 0);
    EXPECT_EQ(phaseFive->currentGraphicDisplayLevel, 3);
    EXPECT_EQ(stallLevel, 3);
    EXPECT_EQ(haltFlag, 1);
}

TEST_F(KeyOperations, ReplayReportsCharactersThatNameNoOperation) {
    std::strcpy(FunctionKeyString, "HUZ");
    std::strcpy(CursorKeyString, "3x");
    phaseFive->currentGraphicDisplayLevel = 3;
    const std::string said = stderrOf(replayKeyStrings);
    // H (24) is the least detail and U (37) one less; Z (42) and x (72) name nothing.
    EXPECT_EQ(said, "Unused Function key F42\nUnused Cursor key = 72\n");
    EXPECT_EQ(phaseFive->currentGraphicDisplayLevel, 1);
    EXPECT_EQ(haltFlag, 1);
}

} // namespace
