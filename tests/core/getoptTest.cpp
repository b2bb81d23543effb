// The option scanner: what it returns, where it leaves optind, what it says.
#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

#include "core/getopt.h"
#include "support/Fresh.h"

namespace {

// An argv the scanner may point into, as the program receives one.
struct Argv {
    std::vector<std::string> words;
    std::vector<char *> pointers;

    explicit Argv(std::vector<std::string> w) : words(std::move(w)) {
        for (auto &word : words)
            pointers.push_back(word.data());
        pointers.push_back(nullptr);
    }
    int argc() const { return static_cast<int>(words.size()); }
    char **argv() { return pointers.data(); }
};

// Scans argv to the end and writes what came back: "c" for an option, "c=arg"
// for one with an argument, "?" for an error, each followed by ";".
std::string scanAll(Argv &args, const char *optionString) {
    std::string trace;
    int c;
    while ((c = norvale::getopt(args.argc(), args.argv(), optionString)) != -1) {
        trace += static_cast<char>(c);
        if (c != '?' && norvale::optarg)
            trace += std::string("=") + norvale::optarg;
        trace += ";";
    }
    return trace;
}

struct ScanCase {
    const char *what;
    std::vector<std::string> words;
    const char *optionString;
    const char *trace;
    int finalOptind;
    const char *stderrText;
};

// Names the case in test listings by what it shows.
void PrintTo(const ScanCase &c, std::ostream *os) {
    *os << c.what;
}

const ScanCase scanCases[] = {
    {"no options", {"prog"}, "tE", "", 1, ""},
    {"flags grouped in one word", {"prog", "-tE"}, "tE", "t;E;", 2, ""},
    {"argument in the same word", {"prog", "-T100", "-t"}, "T:t", "T=100;t;", 3, ""},
    {"argument in the next word", {"prog", "-T", "100", "-t"}, "T:t", "T=100;t;", 4, ""},
    {"flag then option with argument in one word", {"prog", "-tT5"}, "tT:", "t;T=5;", 2, ""},
    {"an argument may begin with a dash", {"prog", "-T", "-t"}, "T:t", "T=-t;", 3, ""},
    {"missing argument at the end",
     {"prog", "-t", "-T"},
     "T:t",
     "t;?;",
     3,
     "prog: option requires an argument -- T\n"},
    {"unknown letter, scanning goes on",
     {"prog", "-Q", "-t"},
     "T:t",
     "?;t;",
     3,
     "prog: illegal option -- Q\n"},
    {"unknown letter inside a group", {"prog", "-tQt"}, "t", "t;?;t;", 2, "prog: illegal option -- Q\n"},
    {"colon is never an option", {"prog", "-:"}, "T:", "?;", 2, "prog: illegal option -- :\n"},
    {"a word without a dash stops scanning", {"prog", "file", "-t"}, "t", "", 1, ""},
    {"options before a plain word count", {"prog", "-t", "file", "-E"}, "tE", "t;", 2, ""},
    {"a lone dash stops scanning", {"prog", "-", "-t"}, "t", "", 1, ""},
    {"a double dash ends the options and is used up", {"prog", "--", "-t"}, "t", "", 2, ""},
};

class ScanTable : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScanTable, ReturnsOptionsInOrderAndStopsWhereItShould) {
    const ScanCase &c = GetParam();
    freshNetlist();
    Argv args(c.words);
    testing::internal::CaptureStderr();
    const std::string trace = scanAll(args, c.optionString);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.stderrText) << c.what;
    EXPECT_EQ(trace, c.trace) << c.what;
    EXPECT_EQ(norvale::optind, c.finalOptind) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Getopt, ScanTable, ::testing::ValuesIn(scanCases));

TEST(Getopt, ReportsTheOptionCharacterOfAnError) {
    freshNetlist();
    Argv args({"prog", "-Q"});
    testing::internal::CaptureStderr();
    EXPECT_EQ(norvale::getopt(args.argc(), args.argv(), "t"), '?');
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(norvale::optopt, 'Q');
}

TEST(Getopt, StaysSilentWhenReportingIsOff) {
    freshNetlist();
    norvale::opterr = 0;
    Argv args({"prog", "-Q", "-T"});
    testing::internal::CaptureStderr();
    EXPECT_EQ(scanAll(args, "T:"), "?;?;");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(Getopt, IndexFindsTheFirstOccurrenceOrTheTerminator) {
    static const char text[] = "C:c:S:E";
    struct Case {
        char c;
        const char *expected;
    };
    const Case cases[] = {{'C', text},     {'c', text + 2}, {':', text + 1},
                          {'E', text + 6}, {'x', nullptr},  {'\0', text + 7}};
    for (const Case &c : cases)
        EXPECT_EQ(norvale::index(text, c.c), c.expected) << "searching for '" << c.c << "'";
}

} // namespace
