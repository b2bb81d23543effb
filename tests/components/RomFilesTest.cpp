// ROM contents from files: word files read into words (and their errors),
// the loader writing a ROM's bytes in its own layout, and the loader's
// refusals, which end the program before the run.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Harness.h"
#include "components/RomFiles.h"
#include "components/WordFile.h"
#include "components/vlsiPh1.h"
#include "core/Ph2.h"

namespace {

RomContents readWords(const std::string &text, RomShape shape) {
    std::istringstream in(text);
    return readWordFile("w.hex", in, shape);
}

TEST(WordFile, AddressesCommentsAndBlankLinesAndZeroesForWordsNotGiven) {
    const RomContents c = readWords("# header\n"
                                    "\n"
                                    "12          # word 0\n"
                                    "0xabcd\n"
                                    "5: FFFF\n"
                                    "  7\n"
                                    "0x2:0X0003\n",
                                    {8, 16});
    EXPECT_TRUE(c.errors.empty());
    EXPECT_EQ(c.words, (std::vector<uint64_t>{0x12, 0xABCD, 3, 0, 0, 0xFFFF, 7, 0}));
    // A ROM of 64-bit words takes every word of 64 bits.
    const RomContents wide = readWords("FFFFFFFFFFFFFFFF\n8000000000000000\n", {2, 64});
    EXPECT_TRUE(wide.errors.empty());
    EXPECT_EQ(wide.words, (std::vector<uint64_t>{0xFFFFFFFFFFFFFFFF, 0x8000000000000000}));
}

TEST(WordFile, EachErrorNamesFileLineAndReasonAndTheOthersAreStillReported) {
    const struct {
        std::string line;
        std::string message;
    } cases[] = {
        {"10000", "w.hex:1: word 0x10000 is wider than 16 bits"},
        {"4: 1", "w.hex:1: address 0x4 is beyond the last word 0x3"},
        {"12G4", "w.hex:1: 'G' is not a hexadecimal digit"},
        {"-1", "w.hex:1: '-' is not a hexadecimal digit"},
        {"x: 1", "w.hex:1: 'x' is not a hexadecimal digit"},
        {"0x", "w.hex:1: 'x' is not a hexadecimal digit"},
        {"3:", "w.hex:1: a word is missing"},
        {"1 2", "w.hex:1: more than one word on a line"},
        // Numbers as written, the largest of 64 bits and the smallest beyond.
        {"FFFFFFFFFFFFFFFF", "w.hex:1: word 0xFFFFFFFFFFFFFFFF is wider than 16 bits"},
        {"10000000000000000", "w.hex:1: '10000000000000000' has more than 64 bits"},
        {"FFFFFFFFFFFFFFFFFFFF", "w.hex:1: 'FFFFFFFFFFFFFFFFFFFF' has more than 64 bits"},
        {"0000000000000000000012345", "w.hex:1: word 0x12345 is wider than 16 bits"},
        {"10000000000000000: 1", "w.hex:1: '10000000000000000' has more than 64 bits"},
        // A character that is no digit is quoted whole, a byte of none alone.
        {"12\xC3\xA9"
         "4",
         "w.hex:1: '\xC3\xA9' is not a hexadecimal digit"},
        {"0x\xE2\x82\xAC", "w.hex:1: '\xE2\x82\xAC' is not a hexadecimal digit"},
        {"\xF0\x9F\x98\x80", "w.hex:1: '\xF0\x9F\x98\x80' is not a hexadecimal digit"},
        {"1\xC3", "w.hex:1: '\xC3' is not a hexadecimal digit"},
        {"1\xE2\x82", "w.hex:1: '\xE2' is not a hexadecimal digit"},
        {std::string("1\0", 2), std::string("w.hex:1: '") + '\0' + "' is not a hexadecimal digit"},
    };
    for (const auto &k : cases) {
        const RomContents c = readWords(k.line, {4, 16});
        EXPECT_EQ(c.errors, std::vector<std::string>{k.message}) << k.line;
    }
    const RomContents twice = readWords("1\n0: 2\nzz\n", {4, 16});
    EXPECT_EQ(twice.errors, (std::vector<std::string>{"w.hex:2: address 0x0 was given a value on line 1",
                                                      "w.hex:3: 'z' is not a hexadecimal digit"}));
}

TEST(WordFile, LinesAfterAnAddressOutsideTheRomAreCheckedButPlacedNowhere) {
    const struct {
        const char *text;
        std::vector<std::string> errors;
        std::vector<uint64_t> words;
    } cases[] = {
        {"9: 1\n2\nzz\n1: 5\n6\n",
         {"w.hex:1: address 0x9 is beyond the last word 0x3", "w.hex:3: 'z' is not a hexadecimal digit"},
         {0, 5, 6, 0}},
        {"x: 1\n2\n", {"w.hex:1: 'x' is not a hexadecimal digit"}, {0, 0, 0, 0}},
        {"10000000000000000: 1\n2\n", {"w.hex:1: '10000000000000000' has more than 64 bits"}, {0, 0, 0, 0}},
        // A file with more words than the ROM: the first beyond it is blamed.
        {"3: 1\n2\n3\n", {"w.hex:2: address 0x4 is beyond the last word 0x3"}, {0, 0, 0, 1}},
        // A word that is none still takes its address.
        {"0: zz\n5\n", {"w.hex:1: 'z' is not a hexadecimal digit"}, {0, 5, 0, 0}},
        {"1: 10000\n5\n", {"w.hex:1: word 0x10000 is wider than 16 bits"}, {0, 0, 5, 0}},
    };
    for (const auto &k : cases) {
        const RomContents c = readWords(k.text, {4, 16});
        EXPECT_EQ(c.errors, k.errors) << k.text;
        EXPECT_EQ(c.words, k.words) << k.text;
    }
}

TEST(WordFile, PrintableKeepsCharactersWholeAndWritesOtherBytesInHexadecimal) {
    const struct {
        std::string text;
        std::string shown;
    } cases[] = {
        {"plain text ~!", "plain text ~!"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"\t\x1B[31m\x7F", "\\x09\\x1B[31m\\x7F"},
        {"\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80",
         "\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},                     // e-acute, euro, emoji
        {"\xC2\xA0\xEF\xBF\xBD", "\xC2\xA0\xEF\xBF\xBD"},               // a no-break space, U+FFFD
        {"\xE9t\xE9", "\\xE9t\\xE9"},                                   // Latin-1
        {"\xC3", "\\xC3"},                                              // cut short at the end
        {"\xE2\x82x", "\\xE2\\x82x"},                                   // cut short by another character
        {"\x80\xBF", "\\x80\\xBF"},                                     // continuation bytes alone
        {"\xC0\xAF\xE0\x80\xAF", "\\xC0\\xAF\\xE0\\x80\\xAF"},          // overlong forms
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"},                            // a surrogate
        {"\xF4\x90\x80\x80\xF8\x88", "\\xF4\\x90\\x80\\x80\\xF8\\x88"}, // beyond U+10FFFF
        {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},                       // U+10FFFF itself
        {"\xE0\xA4\x85\xEF\xBF\xBF", "\xE0\xA4\x85\xEF\xBF\xBF"}, // three bytes, the first and last leads
        {"\xF8\x90\x80\x80", "\\xF8\\x90\\x80\\x80"},             // no lead of five bytes or more
        {"\xC2\x85", "\\xC2\\x85"},                               // a C1 control
        {"\xC2\x9F\xC2\xA1", "\\xC2\\x9F\xC2\xA1"},               // the last C1 control, then not
        {"a\xE2\x80\xAE"
         "b\xE2\x81\xA9",
         "a\\xE2\\x80\\xAEb\\xE2\\x81\\xA9"}, // reordering the text
        {"\xE2\x80\xA8\xE2\x80\xA9\xE2\x80\xA7",
         "\\xE2\\x80\\xA8\\xE2\\x80\\xA9\xE2\x80\xA7"}, // breaking the line
    };
    for (const auto &k : cases)
        EXPECT_EQ(printable(k.text), k.shown) << k.shown;
}

// A file in the temporary directory, removed at the end of the test.
struct TemporaryFile {
    std::string name;
    TemporaryFile(const std::string &base, const std::string &text) : name(testing::TempDir() + base) {
        std::ofstream(name) << text;
    }
    ~TemporaryFile() { std::remove(name.c_str()); }
};

TEST(RomFiles, LoadsEveryWordInTheRomsByteLayoutAndClearsTheRest) {
    freshHeadlessNetlist();
    const Signal address(2, "A"), word(17, "W");
    const unsigned char contents[12] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    Rom(SD("rom", nullptr), address, word, 4, 17, contents);
    convertNetlist();
    const TemporaryFile file("rom17.hex", "1: 18001\n3: 0ABCD\n");
    loadRomFiles({"rom=" + file.name});
    const int cind = phaseTwo->numberOfComponents - 1; // the ROM, the only component
    const std::vector<unsigned char> bytes(phaseTwo->byteParameters[cind],
                                           phaseTwo->byteParameters[cind] + 12);
    EXPECT_EQ(bytes, (std::vector<unsigned char>{0, 0, 0, 0x01, 0x80, 0x01, 0, 0, 0, 0x00, 0xAB, 0xCD}));
    resetRomFiles();
}

// A circuit of one ROM of 2^addressBits words of 8 bits at "big".
void oneRom(int addressBits) {
    freshHeadlessNetlist();
    const Signal a(addressBits, "A"), d(8, "D");
    static const std::vector<unsigned char> contents(1 << 12);
    Rom(SD("big", nullptr), a, d, 1 << addressBits, 8, contents.data());
    convertNetlist();
}

// A file kind whose reader says that it was used.
RomContents readByTheKind(const std::string &, std::istream &, RomShape) {
    return {{}, {"read by the kind"}};
}

TEST(RomFilesDeathTest, AKindReadsItsFilesUntilTheReset) {
    const TemporaryFile file("word.odd", "1: 5A\n");
    EXPECT_EXIT((oneRom(1), addRomFileKind({".odd", readByTheKind}), loadRomFiles({"big=" + file.name})),
                testing::ExitedWithCode(1), exactly("read by the kind\n"));
    EXPECT_EXIT((oneRom(1), addRomFileKind({".odd", readByTheKind}), resetRomFiles(),
                 loadRomFiles({"big=" + file.name}),
                 std::exit(phaseTwo->byteParameters[0][1] == 0x5A ? 0 : 2)),
                testing::ExitedWithCode(0), "");
}

TEST(RomFiles, TheSummaryNamesTheProgramsOfTheLastLoadOnly) {
    freshHeadlessNetlist();
    const Signal address(1, "A"), word(8, "D");
    const unsigned char contents[2] = {};
    Rom(SD("prog", nullptr), address, word, 2, 8, contents);
    convertNetlist();
    setProgramCounter(address);
    const RomFileKind kind{".prg",
                           [](const std::string &name, std::istream &in, RomShape shape) {
                               return readWordFile(name, in, shape);
                           },
                           [](const std::vector<uint64_t> &, uint64_t) { return std::string("LODD 0"); }};
    addRomFileKind(kind);
    const TemporaryFile file("summary.prg", "1: 5A\n");
    loadRomFiles({"prog=" + file.name});
    loadRomFiles({"prog=" + file.name});
    std::ostringstream summary;
    writeRomSummary(summary);
    EXPECT_EQ(summary.str(), "Program at prog: PC = not a number\n");
    // After the reset no program counter is known: no summary line.
    resetRomFiles();
    addRomFileKind(kind);
    loadRomFiles({"prog=" + file.name});
    std::ostringstream afterReset;
    writeRomSummary(afterReset);
    EXPECT_EQ(afterReset.str(), "");
    resetRomFiles();
}

// A circuit of two ROMs at "twin" and one at "one".
void twinRoms() {
    freshHeadlessNetlist();
    const Signal a(1, "A"), d(8, "D");
    const unsigned char contents[2] = {};
    Rom(SD("twin", nullptr), a, d, 2, 8, contents);
    Rom(SD("twin", nullptr), a, d, 2, 8, contents);
    Rom(SD("one", nullptr), a, d, 2, 8, contents);
    convertNetlist();
}

TEST(RomFilesDeathTest, RefusalsListTheRomsAndEndWithStatusOne) {
    const TemporaryFile file("three.hex", "1\n2\n3\n"), two("two.hex", "1\n2\n");
    const std::string list = "The ROMs are:\n  twin  2 words of 8 bits\n  twin  2 words of 8 bits\n"
                             "  one  2 words of 8 bits\n";
    const struct {
        std::vector<std::string> requests;
        std::string message;
    } cases[] = {
        {{"nowhere=x"}, "Option -R rejected: no ROM at nowhere.\n" + list},
        {{"twin=x"}, "Option -R rejected: 2 ROMs at twin.\n" + list},
        {{"one"}, "Option -R rejected: it takes ROM=FILE, not \"one\".\n"},
        {{"one="}, "Option -R rejected: it takes ROM=FILE, not \"one=\".\n"},
        {{"one=/nonexistent/x.hex"}, "Option -R rejected: cannot read /nonexistent/x.hex.\n"},
        {{"one=" + file.name}, file.name + ":3: address 0x2 is beyond the last word 0x1\n"},
        {{"one=" + two.name, "one=" + two.name}, "Option -R rejected: the ROM at one is named twice.\n"},
    };
    for (const auto &k : cases)
        EXPECT_EXIT((twinRoms(), loadRomFiles(k.requests)), testing::ExitedWithCode(1), exactly(k.message))
            << k.requests[0];
}

// A directory, a FIFO and a file in the temporary directory, removed at the
// end of the test.
struct SpecialFiles {
    const std::string directory = testing::TempDir() + "rom.d", fifo = testing::TempDir() + "rom.fifo";
    SpecialFiles() {
        mkdir(directory.c_str(), 0700);
        mkfifo(fifo.c_str(), 0600);
    }
    ~SpecialFiles() {
        rmdir(directory.c_str());
        std::remove(fifo.c_str());
    }
};

// Lines of n bytes (comments) and their newlines, count of them.
std::string commentLines(std::size_t n, std::size_t count) {
    std::string line(n, '#');
    std::string text;
    for (std::size_t k = 0; k < count; ++k)
        text += line + "\n";
    return text;
}

// The longest line a ROM file may have, in bytes without its newline.  A
// file for a ROM of 256 words or fewer (the ROM at "one" is 2) may have 256
// such lines, 1048576 bytes.
constexpr std::size_t longest = 4096;

TEST(RomFilesDeathTest, OnlyARegularFileOfBoundedLinesAndSizeIsRead) {
    const SpecialFiles special;
    const TemporaryFile longLines("long.hex",
                                  std::string(longest + 1, '#') + "\n1\n" + std::string(longest + 1, '#')),
        tooLarge("large.hex", commentLines(longest - 1, 256) + "\n");
    const struct {
        std::string file;
        std::string message;
    } cases[] = {
        {special.directory, "Option -R rejected: " + special.directory + " is a directory.\n"},
        {special.fifo, "Option -R rejected: " + special.fifo + " is not a regular file.\n"},
        {"/dev/null", "Option -R rejected: /dev/null is not a regular file.\n"},
        // A regular file that cannot be read (its first page is no memory).
        {"/proc/self/mem", "Option -R rejected: cannot read /proc/self/mem.\n"},
        {longLines.name, longLines.name + ":1: line longer than 4096 bytes\n" + longLines.name +
                             ":3: line longer than 4096 bytes\n"},
        {tooLarge.name, "Option -R rejected: " + tooLarge.name +
                            " is larger than 1048576 bytes, the most for a ROM of 2 words.\n"},
    };
    for (const auto &k : cases)
        EXPECT_EXIT((twinRoms(), loadRomFiles({"one=" + k.file})), testing::ExitedWithCode(1),
                    exactly(k.message))
            << k.file;
}

// Whether loading file into the ROM at "one" gives its word 1 the value 0x5A.
bool loadsWordOne(const std::string &file) {
    twinRoms();
    loadRomFiles({"one=" + file});
    return phaseTwo->byteParameters[2][1] == 0x5A; // the third ROM, 8-bit words
}

TEST(RomFilesDeathTest, TheLongestLinesTheLargestFileAndStandardInputFromAFileAreRead) {
    const TemporaryFile longestLines("longest.hex", "1: 5A" + std::string(longest - 5, ' ') + "\n" +
                                                        std::string(longest, '#')),
        largestFile("largest.hex",
                    "1: 5A\n" + commentLines(longest - 1, 255) + std::string(longest - 6, '#'));
    for (const TemporaryFile *f : {&longestLines, &largestFile})
        EXPECT_EXIT(std::exit(loadsWordOne(f->name) ? 0 : 2), testing::ExitedWithCode(0), "") << f->name;
    // Standard input redirected from a file is a regular file.
    EXPECT_EXIT(
        (std::freopen(largestFile.name.c_str(), "r", stdin), std::exit(loadsWordOne("/dev/stdin") ? 0 : 2)),
        testing::ExitedWithCode(0), "");
}

TEST(RomFilesDeathTest, TheLargestFileGrowsWithTheRom) {
    // 512 words: 512 lines of 4096 bytes.
    const TemporaryFile file("big.hex", commentLines(longest - 1, 512)),
        more("more.hex", commentLines(longest - 1, 512) + "#");
    EXPECT_EXIT((oneRom(9), loadRomFiles({"big=" + file.name}), std::exit(0)), testing::ExitedWithCode(0),
                "");
    EXPECT_EXIT((oneRom(9), loadRomFiles({"big=" + more.name})), testing::ExitedWithCode(1),
                exactly("Option -R rejected: " + more.name +
                        " is larger than 2097152 bytes, the most for a ROM of 512 words.\n"));
}

// A file of n lines that are each an error.
std::string errorLines(int n) {
    std::string text;
    for (int k = 0; k < n; ++k)
        text += "g\n";
    return text;
}

TEST(RomFilesDeathTest, TwentyErrorsAreShownAndTheRestCounted) {
    const struct {
        int errors;
        const char *last; // after the twentieth error, if any
    } cases[] = {{20, ""}, {21, ": 1 more error not shown\n"}, {1000, ": 980 more errors not shown\n"}};
    for (const auto &k : cases) {
        const TemporaryFile file("flood.hex", errorLines(k.errors));
        std::string message;
        for (int line = 1; line <= 20; ++line)
            message += file.name + ":" + std::to_string(line) + ": 'g' is not a hexadecimal digit\n";
        if (*k.last)
            message += file.name + k.last;
        EXPECT_EXIT((oneRom(6), loadRomFiles({"big=" + file.name})), testing::ExitedWithCode(1),
                    exactly(message))
            << k.errors;
    }
}

TEST(RomFilesDeathTest, MessagesQuoteBytesThatDoNotPrintInHexadecimal) {
    const TemporaryFile file("bytes.hex", "\x01\n\xC3\xA9\n\xE9\n");
    const struct {
        std::string request;
        std::string message;
    } cases[] = {
        {"big=" + file.name, file.name + ":1: '\\x01' is not a hexadecimal digit\n" + file.name +
                                 ":2: '\xC3\xA9' is not a hexadecimal digit\n" + file.name +
                                 ":3: '\\xE9' is not a hexadecimal digit\n"},
        {"big=/nonexistent/a\nb", "Option -R rejected: cannot read /nonexistent/a\\x0Ab.\n"},
        {"b\x1B[2Jig=x",
         "Option -R rejected: no ROM at b\\x1B[2Jig.\nThe ROMs are:\n  big  4 words of 8 bits\n"},
        {"\x7F", "Option -R rejected: it takes ROM=FILE, not \"\\x7F\".\n"},
    };
    for (const auto &k : cases)
        EXPECT_EXIT((oneRom(2), loadRomFiles({k.request})), testing::ExitedWithCode(1), exactly(k.message))
            << k.message;
}

} // namespace
