// Position strings: splitting, decoding fields, and the grid tree.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/SchCell.h"

namespace {

struct BreakOutCase {
    const char *position;
    std::vector<std::string> fields;
    std::string messages;
};

TEST(BreakOut, SplitsAtDotsAndReportsEmptyFields) {
    const std::string zeroField = "Length zero field in schematic cell designation: ";
    const BreakOutCase cases[] = {
        {"aa", {"aa"}, ""},
        {"bc-cc", {"bc-cc"}, ""},
        {"ab.aa", {"ab", "aa"}, ""},
        {"cd.ab.aa-bb", {"cd", "ab", "aa-bb"}, ""},
        {"", {}, "Screen_cell string has zero length.\n"},
        {".aa", {"aa"}, zeroField + ".aa\n"},
        {"aa.", {"aa"}, zeroField + "aa.\n"},
        {"aa..bb", {"aa", "bb"}, zeroField + "aa..bb\n"},
        {".", {}, zeroField + ".\n" + zeroField + ".\n"},
        {"x", {"x"}, ""}, // malformed fields are split as they are
    };
    for (const BreakOutCase &c : cases) {
        testing::internal::CaptureStderr();
        const BreakOutDesc desc = breakOut(c.position);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.messages) << c.position;
        EXPECT_EQ(desc.nr, static_cast<int>(c.fields.size())) << c.position;
        EXPECT_EQ(desc.ptr, c.fields) << c.position;
    }
}

struct BreakCellCase {
    const char *field;
    const char rows[3];
    const char columns[3];
    bool wellFormed;
};

TEST(BreakCell, DecodesCornersAndNormalisesTheRest) {
    const BreakCellCase cases[] = {
        {"ab", "aa", "bb", true},
        {"bc-cc", "bc", "cc", true},
        {"aa-bd", "ab", "ad", true},
        {"1a", "11", "aa", true},
        {"aa/cc", "ac", "ac", true}, // the separator is not examined
        {"cc-bb", "bc", "bc", false},
        {"ca-ac", "ac", "ac", false},
        {"ab-ba", "ab", "ab", false},
        {"x", "xx", "xx", false},
        {"abc", "aa", "bb", false},
        {"ab-c", "aa", "bb", false},
        {"ab-cde", "aa", "bb", false},
        // Labels compare as signed characters: 0xE9 is below 'a'.
        {"\xE9"
         "a-ab",
         "\xE9"
         "a",
         "ab", true},
        {"aa-\xE9"
         "b",
         "\xE9"
         "a",
         "ab", false},
    };
    for (const BreakCellCase &c : cases) {
        char r[2], col[2];
        EXPECT_EQ(breakCell(c.field, r, col), c.wellFormed) << c.field;
        EXPECT_EQ(std::string(r, 2), std::string(c.rows, 2)) << c.field;
        EXPECT_EQ(std::string(col, 2), std::string(c.columns, 2)) << c.field;
    }
}

struct FirstCellCase {
    const char *position;
    const char *first;
    int length;
};

TEST(FirstCell, CopiesTheFirstFieldWithoutOverrunningItsBuffer) {
    const FirstCellCase cases[] = {
        {"ab.cd", "ab", 2}, {"bc-cc.aa", "bc-cc", 5}, {"aa", "aa", 2},
        {"", "", 0},        {".aa", "", 0},           {"abcdefghij.aa", "ab", 10},
    };
    for (const FirstCellCase &c : cases) {
        char f[maxFieldLength + 1] = "#####";
        EXPECT_EQ(firstCell(c.position, f), c.length) << c.position;
        EXPECT_STREQ(f, c.first) << c.position;
    }
}

struct NormaliseCase {
    const char *position;
    const char *normalised;
    bool malformed;
};

TEST(NormalisedPosition, KeepsWellFormedStringsAndMendsTheOthers) {
    const NormaliseCase cases[] = {
        {"aa", "aa", false},
        {"ab.bc-cc", "ab.bc-cc", false},
        {"ab.cc-bb", "ab.bb-cc", true},
        {"abc.aa", "ab.aa", true},
        {"a.b", "aa.bb", true},
        {"ab..aa", "ab.aa", false}, // empty fields are reported by the split itself
        {"", "", false},
    };
    for (const NormaliseCase &c : cases) {
        bool malformed = !c.malformed;
        testing::internal::CaptureStderr();
        EXPECT_EQ(normalisedPosition(c.position, &malformed), c.normalised) << c.position;
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(malformed, c.malformed) << c.position;
    }
}

// The labels and cell counts of one grid, as one comparable string.
std::string extent(const SchematicCell &g) {
    return std::string{g.min_v_label, '-', g.max_v_label, ' ', g.min_h_label, '-', g.max_h_label, ' '} +
           std::to_string(g.nr_v_cells) + "x" + std::to_string(g.nr_h_cells);
}

TEST(GridTree, EachGridSpansTheLabelsItsFieldsUse) {
    SchematicCell root;
    for (const char *p : {"bb", "aa-ab", "dc", "ab.aa", "ab.cb", "ab.bc-cc"})
        enterSchematicCell(&root, p);
    EXPECT_EQ(extent(root), "a-d a-c 4x3") << "row c is unused but still counts";
    ASSERT_EQ(root.nr_of_subspaces, 1);
    EXPECT_EQ(root.ptr[0].name, "ab");
    EXPECT_EQ(extent(root.ptr[0]), "a-c a-c 3x3");
}

TEST(GridTree, NestedGridsAreNamedByTheWholeFieldAndTheirParent) {
    SchematicCell root;
    for (const char *p : {"ab.aa", "ab-ac.ab", "cd.ab.aa", "ab.bb", "cd.ab.cc"})
        enterSchematicCell(&root, p);
    ASSERT_EQ(root.nr_of_subspaces, 3);
    EXPECT_EQ(root.ptr[0].name, "ab");
    EXPECT_EQ(root.ptr[1].name, "ab-ac");
    EXPECT_EQ(root.ptr[2].name, "cd");
    EXPECT_EQ(extent(root.ptr[0]), "a-b a-b 2x2");
    EXPECT_EQ(extent(root.ptr[1]), "a-a b-b 1x1");
    ASSERT_EQ(root.ptr[2].nr_of_subspaces, 1);
    EXPECT_EQ(root.ptr[2].ptr[0].name, "ab");
    EXPECT_EQ(extent(root.ptr[2].ptr[0]), "a-c a-c 3x3") << "cd.ab is not the root's ab";
}

TEST(GridTree, StaysFindableWhileManyNestedGridsAreAdded) {
    SchematicCell root;
    std::vector<std::string> names;
    for (char r = 'a'; r <= 'z'; ++r)
        for (char c = 'a'; c <= 'z'; ++c)
            names.push_back(std::string{r, c});
    for (const std::string &n : names)
        enterSchematicCell(&root, (n + ".aa").c_str());
    ASSERT_EQ(root.nr_of_subspaces, 26 * 26);
    for (size_t i = 0; i < names.size(); ++i) {
        ASSERT_EQ(root.ptr[i].name, names[i]) << "order of first appearance";
        ASSERT_EQ(root.findSubspace(names[i].c_str()), &root.ptr[i]);
    }
    EXPECT_EQ(root.findSubspace("zz-zz"), nullptr);
}

struct PlaceCase {
    const char *position;
    int rect[4];
};

TEST(SchematicSubSpace, NarrowsStepByStepAndStopsAtUnknownGrids) {
    SchematicCell root;
    for (const char *p : {"aa", "bd", "ab.aa-ab", "ab.ba"})
        enterSchematicCell(&root, p);
    // Root: rows a-b, columns a-d of a 4000 x 2000 rectangle; ab: 2 x 2.
    const PlaceCase cases[] = {
        {"", {0, 0, 4000, 2000}},         {"aa", {0, 0, 1000, 1000}},
        {"bd", {3000, 1000, 1000, 1000}}, {"ab", {1000, 0, 1000, 1000}},
        {"ab.ba", {1000, 500, 500, 500}}, {"ab.aa-ab", {1000, 0, 1000, 500}},
        {"ac.aa", {2000, 0, 1000, 1000}}, // no grid named ac: the cell of the first field
    };
    for (const PlaceCase &c : cases) {
        int r[4] = {0, 0, 4000, 2000};
        schematicSubSpace(&root, c.position, &r[0], &r[1], &r[2], &r[3]);
        EXPECT_EQ(std::vector<int>(r, r + 4), std::vector<int>(c.rect, c.rect + 4)) << c.position;
    }
}

TEST(SchematicSubSpace, LeavesTheRectangleOfAnEmptyTreeAlone) {
    SchematicCell root;
    int r[4] = {1, 2, 3, 4};
    schematicSubSpace(&root, "aa", &r[0], &r[1], &r[2], &r[3]);
    EXPECT_EQ(std::vector<int>(r, r + 4), (std::vector<int>{1, 2, 3, 4}));
}

} // namespace
