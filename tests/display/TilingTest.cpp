// Tiling: component tiles from their position strings, through the display
// object, over netlist arrays filled in directly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/Ph2.h"
#include "core/cmdLine.h"
#include "display/Ph5.h"
#include "display/SchCell.h"
#include "support/Fresh.h"

namespace {

struct Tile {
    int x, y, w, h;
    bool operator==(const Tile &o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
};

std::ostream &operator<<(std::ostream &out, const Tile &t) {
    return out << "(" << t.x << ", " << t.y << ", " << t.w << ", " << t.h << ")";
}

// Tiles components at the given positions (in component order), with the
// messages written meanwhile.
struct Tiled {
    std::vector<Tile> tiles;
    std::string messages;
};

// Tiles components at the given positions; messages go to standard error.
std::vector<Tile> tilesOf(const std::vector<std::string> &positions) {
    freshNetlist();
    useXDisplay = 0;
    phaseTwo = new PhaseTwo;
    phaseTwo->numberOfComponents = static_cast<int>(positions.size());
    phaseTwo->rcpos.assign(positions.begin(), positions.end());
    phaseTwo->tile.assign(positions.size(), ScreenTile{});
    phaseFive = new PhaseFive;
    SchematicCell root;
    phaseFive->componentTiling(&root);
    std::vector<Tile> tiles;
    for (const ScreenTile &t : phaseTwo->tile)
        tiles.push_back({t.x, t.y, t.w, t.h});
    return tiles;
}

Tiled tile(const std::vector<std::string> &positions) {
    testing::internal::CaptureStderr();
    Tiled result;
    result.tiles = tilesOf(positions);
    result.messages = testing::internal::GetCapturedStderr();
    return result;
}

const int whole = 16777215;

TEST(Tiling, WorkedExample) {
    const Tiled t = tile({"aa", "ab", "ba-bb", "ab.aa", "ab.ab", "ab.bb", "ab.cb", "ab.bc-cc", "ab.aa"});
    const std::vector<Tile> expected = {
        {0, 0, 8388607, 8388607},
        {8388607, 0, 8388607, 8388607},
        {0, 8388607, 16777215, 8388607},
        {8388607, 0, 2796202, 1398101},
        {11184809, 0, 2796202, 2796202},
        {11184809, 2796202, 2796202, 2796202},
        {11184809, 5592404, 2796202, 2796202},
        {13981012, 2796202, 2796202, 5592404},
        {8388607, 1398101, 2796202, 1398101},
    };
    EXPECT_EQ(t.tiles, expected);
    EXPECT_EQ(t.messages, "");
}

struct TilingCase {
    const char *what;
    std::vector<std::string> positions;
    std::vector<Tile> expected;
};

TEST(Tiling, LayoutRules) {
    const int third = whole / 3; // 5592405
    const TilingCase cases[] = {
        {"a single component gets the whole square", {"aa"}, {{0, 0, whole, whole}}},
        {"sharers are stacked in index order",
         {"aa", "aa", "aa"},
         {{0, 0, whole, third}, {0, third, whole, third}, {0, 2 * third, whole, third}}},
        {"sharers interleaved with others keep their index order",
         {"aa", "ab", "aa"},
         {{0, 0, 8388607, 8388607}, {8388607, 0, 8388607, 16777215}, {0, 8388607, 8388607, 8388607}}},
        {"an unused row between used ones keeps its share",
         {"aa", "ca"},
         {{0, 0, whole, third}, {0, 11184810, whole, third}}},
        {"a two-row field spans the right column",
         {"bb", "cb", "bc-cc"},
         {{0, 0, 8388607, 8388607}, {0, 8388607, 8388607, 8388607}, {8388607, 0, 8388607, 16777215}}},
        {"a nested grid of one row fills the parent's height",
         {"aa", "ba", "aa.aa", "aa.ab"},
         {{0, 0, whole, 8388607},
          {0, 8388607, whole, 8388607},
          {0, 0, 8388607, 8388607},
          {8388607, 0, 8388607, 8388607}}},
        {"digits are labels too", {"1a", "2a"}, {{0, 0, whole, 8388607}, {0, 8388607, whole, 8388607}}},
    };
    for (const TilingCase &c : cases) {
        const Tiled t = tile(c.positions);
        EXPECT_EQ(t.tiles, c.expected) << c.what;
        EXPECT_EQ(t.messages, "") << c.what;
    }
}

TEST(Tiling, MalformedFieldsAreMendedWithOneWarningPerComponent) {
    const Tiled bad = tile({"aa", "bb", "ab.cc-bb.x", "abc", "ab.aa"});
    EXPECT_EQ(bad.messages,
              "Malformed field in schematic cell designation: ab.cc-bb.x (placed as ab.bb-cc.xx)\n"
              "Malformed field in schematic cell designation: abc (placed as ab)\n");
    const Tiled good = tile({"aa", "bb", "ab.bb-cc.xx", "ab", "ab.aa"});
    EXPECT_EQ(bad.tiles, good.tiles);
    EXPECT_EQ(good.messages, "");
}

TEST(Tiling, EmptyPositionsAreReportedOnceAndShareTheWholeSquare) {
    const Tiled t = tile({"", "aa", ""});
    EXPECT_EQ(t.messages, "Screen_cell string has zero length.\nScreen_cell string has zero length.\n");
    EXPECT_EQ(t.tiles[0], (Tile{0, 0, whole, whole / 2}));
    EXPECT_EQ(t.tiles[1], (Tile{0, 0, whole, whole}));
    EXPECT_EQ(t.tiles[2], (Tile{0, whole / 2, whole, whole / 2}));
}

TEST(Tiling, EmptyFieldsAreReportedOnceAndSkipped) {
    const Tiled t = tile({"ab..aa", "ab.bb", "aa"});
    EXPECT_EQ(t.messages, "Length zero field in schematic cell designation: ab..aa\n");
    const Tiled same = tile({"ab.aa", "ab.bb", "aa"});
    EXPECT_EQ(t.tiles, same.tiles);
}

TEST(Tiling, ManySharersSliceTheFullHeightWithoutOverflow) {
    // Beyond 128 sharers of a full-height cell a 32-bit product would overflow.
    const int n = 1000;
    const Tiled t = tile(std::vector<std::string>(n, "aa"));
    ASSERT_EQ(static_cast<int>(t.tiles.size()), n);
    const int slice = whole / n;
    for (int i = 0; i < n; ++i) {
        ASSERT_EQ(t.tiles[i].h, slice) << i;
        ASSERT_EQ(t.tiles[i].y, static_cast<int>(static_cast<long long>(i) * whole / n)) << i;
    }
    EXPECT_LE(t.tiles[n - 1].y + t.tiles[n - 1].h, whole);
}

// A position nested 300,000 grids deep, each grid a single cell, in a
// child process: registering, placing and freeing it must not exhaust the
// stack, and the tile is still the whole square.  The second string has a
// malformed last field and so also goes through mending.
TEST(TilingDeath, APositionNestedThreeHundredThousandDeepIsPlacedAndFreed) {
    std::string deep = "aa";
    for (int level = 1; level < 300000; ++level)
        deep += ".aa";
    const struct {
        std::string position;
        const char *messages;
    } cases[] = {{deep, "^$"}, {deep + ".a", "^Malformed field in schematic cell designation: aa\\.aa"}};
    for (const auto &[position, messages] : cases) {
        EXPECT_EXIT(
            {
                const std::vector<Tile> tiles = tilesOf({position});
                std::exit(tiles.at(0) == Tile{0, 0, whole, whole} ? 0 : 2);
            },
            ::testing::ExitedWithCode(0), messages)
            << position.size() << " characters";
    }
}

} // namespace
