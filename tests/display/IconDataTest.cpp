// The icon outlines, decoded from their arrays and compared with the
// drawings they are meant to be, written point by point.
#include <gtest/gtest.h>

#include <string>

#include "display/iconData.h"

namespace {

// Writes an icon the way its drawing is described: parts as "N: (x,y) ...",
// separated by "; ".  A single part goes without its number.
std::string describe(const int *icon) {
    const int parts = icon[0];
    const int *point = icon + 1 + parts;
    std::string text;
    for (int p = 0; p < parts; ++p) {
        if (p > 0)
            text += "; ";
        if (parts > 1)
            text += std::to_string(p + 1) + ":";
        for (int k = 0; k < icon[1 + p]; ++k, point += 2) {
            if (!text.empty() && text.back() != ' ')
                text += ' ';
            text += "(" + std::to_string(point[0]) + "," + std::to_string(point[1]) + ")";
        }
    }
    return text;
}

const std::string orOutline = "(0,0) (750,0) (1000,500) (750,1000) (0,1000) (120,667) (120,333) (0,0)";
const std::string norOutline = "(0,0) (600,0) (900,500) (600,1000) (0,1000) (120,667) (120,333) (0,0)";
const std::string bubble = "(900,425) (1000,425) (1000,575) (900,575) (900,425)";
const std::string box =
    "1: (0,0) (960,0) (960,960) (0,960) (0,0); 2: (960,0) (1000,40) (1000,1000) (40,1000) "
    "(0,960); 3: (960,960) (1000,1000)";

struct IconCase {
    const char *name;
    const int *icon;
    std::string drawing;
};

TEST(IconData, EveryIconHasItsPoints) {
    const IconCase cases[] = {
        {"and", andIcon, "(0,0) (667,0) (1000,333) (1000,667) (667,1000) (0,1000) (0,0)"},
        {"nand", nandIcon,
         "1: (0,0) (600,0) (900,333) (900,667) (600,1000) (0,1000) (0,0); 2: (900,425) (1000,425) (1000,575) "
         "(900,575)"},
        {"or", orIcon, orOutline},
        {"nor", norIcon, "1: " + norOutline + "; 2: " + bubble},
        {"xor", xorIcon,
         "1: (120,0) (750,0) (1000,500) (750,1000) (120,1000) (240,667) (240,333) (120,0); 2: (0,0) "
         "(120,333) "
         "(120,667) (0,1000)"},
        {"xnor", xnorIcon,
         "1: (120,0) (600,0) (900,500) (600,1000) (120,1000) (240,667) (240,333) (120,0); 2: (0,0) (120,333) "
         "(120,667) (0,1000); 3: " +
             bubble},
        {"not", notIcon, "1: (0,0) (900,500) (0,1000) (0,0); 2: " + bubble},
        {"iAnd", iAndIcon,
         "(120,1000) (667,1000) (1000,667) (1000,333) (667,0) (0,0) (0,500) (120,500) (120,1000) (0,1000) "
         "(0,500)"},
        {"iNand", iNandIcon,
         "1: (120,900) (667,900) (900,667) (900,333) (667,0) (0,0) (0,500) (120,500) (120,900) (0,900) "
         "(0,500); "
         "2: (900,425) (1000,425) (1000,575) (900,575)"},
        {"CiOr", CiOrIcon, "1: " + orOutline + "; 2: (120,500) (240,500) (240,1000)"},
        {"CiNor", CiNorIcon, "1: " + norOutline + "; 2: " + bubble + "; 3: (120,500) (240,500) (240,1000)"},
        {"tsb", tsbIcon, "1: (0,0) (1000,500) (0,1000) (0,0); 2: (0,0) (0,0) (0,0) (0,0) (0,0)"},
        {"rect", rectIcon, box},
        {"circle", circleIcon, box},
        {"space", spaceIcon, ""},
    };
    for (const IconCase &c : cases)
        EXPECT_EQ(describe(c.icon), c.drawing) << c.name;
}

} // namespace
