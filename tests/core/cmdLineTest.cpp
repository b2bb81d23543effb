// Command-line parsing: every option's effect on the globals, the rejected
// forms and -h.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/cmdLine.h"
#include "support/Fresh.h"

namespace {

// Every option global in one comparable value.
struct Options {
    std::string functionKeys, cursorKeys, windowLabel, geometry;
    int fg[3] = {0, 0, 0}, bg[3] = {0, 0, 0}, sw[3] = {0, 0, 0};
    unsigned long stop = 0;
    int displayTime = 0, muxOnly = 0, useX = 1, earlyExit = 0;
    std::vector<int> user = std::vector<int>(16, -1), prof = std::vector<int>(16, -1);
    int userCount = 0, profCount = 0;
    int zSet = 0, z[4] = {0, 0, 0, 0};

    static Options current() {
        Options o;
        o.functionKeys = FunctionKeyString;
        o.cursorKeys = CursorKeyString;
        o.windowLabel = WindowLabelString;
        o.geometry = XW_geometry;
        const int fgNow[] = {red_fg, green_fg, blue_fg}, bgNow[] = {red_bg, green_bg, blue_bg},
                  swNow[] = {red_sw, green_sw, blue_sw}, zNow[] = {zSetXa, zSetYa, zSetXb, zSetYb};
        std::copy(fgNow, fgNow + 3, o.fg);
        std::copy(bgNow, bgNow + 3, o.bg);
        std::copy(swNow, swNow + 3, o.sw);
        std::copy(zNow, zNow + 4, o.z);
        o.stop = stopTime;
        o.displayTime = displayTimeFlag;
        o.muxOnly = connectMuxOnlyFlag;
        o.useX = useXDisplay;
        o.earlyExit = earlyExitFlag;
        o.user.assign(userRunTimeFlag, userRunTimeFlag + 16);
        o.prof.assign(profRunTimeFlag, profRunTimeFlag + 16);
        o.userCount = numberOfUserRunTimeFlags;
        o.profCount = numberOfProfRunTimeFlags;
        o.zSet = zFlagSet;
        return o;
    }

    std::string describe() const {
        std::ostringstream s;
        const auto list = [&s](const int *v, int n) {
            for (int k = 0; k < n; ++k)
                s << v[k] << (k + 1 < n ? "," : "");
        };
        s << "F='" << functionKeys << "' K='" << cursorKeys << "' W='" << windowLabel << "' g='" << geometry
          << "' C=";
        list(fg, 3);
        s << " c=";
        list(bg, 3);
        s << " S=";
        list(sw, 3);
        s << " T=" << stop << " t=" << displayTime << " m=" << muxOnly << " X=" << useX << " E=" << earlyExit
          << " u=";
        list(user.data(), 16);
        s << " (" << userCount << ") p=";
        list(prof.data(), 16);
        s << " (" << profCount << ") z" << zSet << "=";
        list(z, 4);
        return s.str();
    }
    bool operator==(const Options &o) const { return describe() == o.describe(); }
};

void PrintTo(const Options &o, std::ostream *os) {
    *os << o.describe();
}

// Runs commandLine on "norvale" followed by words; returns what it wrote to
// standard error.
std::string parse(const std::vector<std::string> &words) {
    std::vector<std::string> all{"norvale"};
    all.insert(all.end(), words.begin(), words.end());
    std::vector<char *> argv;
    for (auto &w : all)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    testing::internal::CaptureStderr();
    commandLine(static_cast<int>(all.size()), argv.data());
    return testing::internal::GetCapturedStderr();
}

struct OptionCase {
    const char *what;
    std::vector<std::string> words;
    std::function<void(Options &)> expect; // applied to the defaults
    const char *stderrText;
};

// Names the case in test listings by what it shows.
void PrintTo(const OptionCase &c, std::ostream *os) {
    *os << c.what;
}

const std::string chars24(24, 'D'), chars25(25, 'D');

const OptionCase optionCases[] = {
    {"no options", {}, [](Options &) {}, ""},
    {"-T 0 is no stop time", {"-T", "0"}, [](Options &) {}, ""},
    {"-T in the next word", {"-T", "1234"}, [](Options &o) { o.stop = 1234; }, ""},
    {"-T in the same word", {"-T12"}, [](Options &o) { o.stop = 12; }, ""},
    // The numbers are read as strtol reads them; a word that is not wholly a
    // number, or that looks like the next option, is said.
    {"-T not a number",
     {"-T", "abc"},
     [](Options &) {},
     "Warning -- -T: 'abc' is not a number; 0 is used.\n"},
    {"-T with a tail",
     {"-T", "12x"},
     [](Options &o) { o.stop = 12; },
     "Warning -- -T: '12x' is not a number; 12 is used.\n"},
    {"-T empty", {"-T", ""}, [](Options &) {}, "Warning -- -T: '' is not a number; 0 is used.\n"},
    {"-T between blanks", {"-T", " 12 "}, [](Options &o) { o.stop = 12; }, ""},
    {"-T takes the next option",
     {"-T", "-t"},
     [](Options &) {},
     "Warning -- -T takes a number; '-t' looks like an option.\n"},
    {"-u flag not a number",
     {"-u", "3", "zz"},
     [](Options &o) { o.user[3] = 0, o.userCount = 1; },
     "Warning -- -u: 'zz' is not a number; 0 is used.\n"},
    {"-p flag number not a number",
     {"-p", "nan", "5"},
     [](Options &o) { o.prof[0] = 5, o.profCount = 1; },
     "Warning -- -p: 'nan' is not a number; 0 is used.\n"},
    {"-p octal flag with a decimal digit",
     {"-p", "1", "09"},
     [](Options &o) { o.prof[1] = 0, o.profCount = 1; },
     "Warning -- -p: '09' is not a number; 0 is used.\n"},
    {"-p hexadecimal flag is a number",
     {"-p", "2", "0x1F"},
     [](Options &o) { o.prof[2] = 31, o.profCount = 1; },
     ""},
    {"-c takes the next option as its third number",
     {"-c", "1", "2", "-R", "eo-hr.aa.aa=sum.asm"},
     [](Options &o) { o.bg[0] = 1, o.bg[1] = 2; },
     "Warning -- -c takes three numbers; '-R' looks like an option.\n"},
    {"-z corner with a unit",
     {"-z", "1", "2", "3", "4px"},
     [](Options &o) { o.zSet = 1, o.z[0] = 1, o.z[1] = 2, o.z[2] = 3, o.z[3] = 4; },
     "Warning -- -z: '4px' is not a number; 4 is used.\n"},
    {"the last -T wins", {"-T", "5", "-T", "7"}, [](Options &o) { o.stop = 7; }, ""},
    {"-t toggles on", {"-t"}, [](Options &o) { o.displayTime = 1; }, ""},
    {"-t twice toggles off", {"-t", "-t"}, [](Options &) {}, ""},
    {"grouped flags", {"-tE"}, [](Options &o) { o.displayTime = o.earlyExit = 1; }, ""},
    {"-X and -m", {"-X", "-m"}, [](Options &o) { o.useX = 0, o.muxOnly = 1; }, ""},
    {"-u with a hexadecimal flag",
     {"-u", "3", "0x10"},
     [](Options &o) { o.user[3] = 16, o.userCount = 1; },
     ""},
    {"-p with an octal flag", {"-p", "15", "017"}, [](Options &o) { o.prof[15] = 15, o.profCount = 1; }, ""},
    {"-p number in the same word", {"-p0", "-9"}, [](Options &o) { o.prof[0] = -9, o.profCount = 1; }, ""},
    {"-u twice on one entry counts twice",
     {"-u", "0", "12", "-u", "0", "7"},
     [](Options &o) { o.user[0] = 7, o.userCount = 2; },
     ""},
    {"-C in separate words",
     {"-C", "10", "20", "30"},
     [](Options &o) { o.fg[0] = 10, o.fg[1] = 20, o.fg[2] = 30; },
     ""},
    {"-C with the first value attached",
     {"-C10", "20", "30"},
     [](Options &o) { o.fg[0] = 10, o.fg[1] = 20, o.fg[2] = 30; },
     ""},
    {"-c and -S",
     {"-c", "1", "2", "3", "-S", "4", "5", "6"},
     [](Options &o) { o.bg[0] = 1, o.bg[1] = 2, o.bg[2] = 3, o.sw[0] = 4, o.sw[1] = 5, o.sw[2] = 6; },
     ""},
    {"-z and the option after it",
     {"-z", "10", "20", "300", "400", "-t"},
     [](Options &o) { o.zSet = 1, o.z[0] = 10, o.z[1] = 20, o.z[2] = 300, o.z[3] = 400, o.displayTime = 1; },
     ""},
    {"string options",
     {"-F", "23589DD", "-K", "0003", "-W", "Lab", "-g", "1000x900+100+50"},
     [](Options &o) {
         o.functionKeys = "23589DD", o.cursorKeys = "0003", o.windowLabel = "Lab",
         o.geometry = "1000x900+100+50";
     },
     ""},
    {"strings of exactly the longest length",
     {"-F", chars24, "-K", chars24, "-W", chars24, "-g", std::string(19, 'g')},
     [](Options &o) {
         o.functionKeys = o.cursorKeys = o.windowLabel = chars24, o.geometry = std::string(19, 'g');
     },
     ""},
    {"a first word without a dash stops scanning", {"file", "-t", "-X"}, [](Options &) {}, ""},
    {"unknown option is reported and skipped",
     {"-Q", "-t"},
     [](Options &o) { o.displayTime = 1; },
     "norvale: illegal option -- Q\n"},
    {"-T without its argument leaves the stop time",
     {"-T", "9", "-T"},
     [](Options &o) { o.stop = 9; },
     "norvale: option requires an argument -- T\n"},
    {"-F one character too long",
     {"-F", chars25, "-t"},
     [](Options &o) { o.displayTime = 1; },
     "Option -F ignored: its argument is longer than 24 characters.\n"},
    {"-K one character too long keeps the previous value",
     {"-K", "01", "-K", chars25},
     [](Options &o) { o.cursorKeys = "01"; },
     "Option -K ignored: its argument is longer than 24 characters.\n"},
    {"-W one character too long",
     {"-W", chars25},
     [](Options &) {},
     "Option -W ignored: its argument is longer than 24 characters.\n"},
    {"-g one character too long",
     {"-g", std::string(20, 'g')},
     [](Options &) {},
     "Option -g ignored: its argument is longer than 19 characters.\n"},
    {"-u flag number 16",
     {"-u", "16", "1", "-t"},
     [](Options &o) { o.displayTime = 1; },
     "Option -u ignored: flag number 16 is outside 0..15.\n"},
    {"-p negative flag number",
     {"-p", "-1", "1"},
     [](Options &) {},
     "Option -p ignored: flag number -1 is outside 0..15.\n"},
    {"-C short of one value",
     {"-C", "10", "20"},
     [](Options &) {},
     "Option -C ignored: it needs 3 values.\n"},
    {"-c with its first value only", {"-c5"}, [](Options &) {}, "Option -c ignored: it needs 3 values.\n"},
    {"-S short of values", {"-S", "9"}, [](Options &) {}, "Option -S ignored: it needs 3 values.\n"},
    {"-z short of one value",
     {"-z", "1", "2", "3"},
     [](Options &) {},
     "Option -z ignored: it needs 4 values.\n"},
    {"-u without the flag", {"-u", "3"}, [](Options &) {}, "Option -u ignored: it needs 2 values.\n"},
    {"-p without the flag", {"-p5"}, [](Options &) {}, "Option -p ignored: it needs 2 values.\n"},
    {"the widest values each number option takes",
     {"-C", "255", "0", "255", "-T", "18446744073709551615", "-u", "1", "0x7fffffff", "-p", "2",
      "-2147483648", "-z", "-2147483648", "0", "2147483647", "1"},
     [](Options &o) {
         o.fg[0] = o.fg[2] = 255, o.stop = 18446744073709551615UL, o.user[1] = 2147483647, o.userCount = 1,
         o.prof[2] = -2147483648, o.profCount = 1, o.zSet = 1, o.z[0] = -2147483648, o.z[2] = 2147483647,
         o.z[3] = 1;
     },
     ""},
    {"-T -0 is time 0", {"-T", "-0"}, [](Options &) {}, ""},
    {"the largest window", {"-g", "32767x32767"}, [](Options &o) { o.geometry = "32767x32767"; }, ""},
    {"a window off the screen",
     {"-g", "1x1+2000-2000"},
     [](Options &o) { o.geometry = "1x1+2000-2000"; },
     ""},
    {"a geometry that is no geometry is kept for the window to ignore",
     {"-g", "0x0junk"},
     [](Options &o) { o.geometry = "0x0junk"; },
     ""},
    {"a geometry of position only", {"-g", "+0+0"}, [](Options &o) { o.geometry = "+0+0"; }, ""},
    {"further values are taken whatever they look like, with a warning",
     {"-C", "7", "8", "-t"},
     [](Options &o) { o.fg[0] = 7, o.fg[1] = 8; },
     "Warning -- -C takes three numbers; '-t' looks like an option.\n"},
};

class OptionTable : public ::testing::TestWithParam<OptionCase> {};

TEST_P(OptionTable, SetsExactlyTheGlobalsItNames) {
    const OptionCase &c = GetParam();
    freshNetlist();
    Options expected;
    c.expect(expected);
    EXPECT_EQ(parse(c.words), c.stderrText) << c.what;
    EXPECT_EQ(Options::current(), expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(CommandLine, OptionTable, ::testing::ValuesIn(optionCases));

TEST(CommandLine, HelpEndsTheProcessWithStatusZero) {
    freshNetlist();
    char name[] = "norvale", t[] = "-t", h[] = "-h";
    char *argv[] = {name, t, h, nullptr};
    EXPECT_EXIT(
        commandLine(3, argv), ::testing::ExitedWithCode(0),
        "^Command line options:\n(.|\n)*  -h\n   \\(-K without a window: the slow-down does not wait\\)\n"
        " Scripted and headless runs\n(.|\n)*  -A          with -V: every signal of the circuit\n"
        "  -w <name>   when the run ends, why(.|\n)*; repeatable\\)\n"
        "  -P          high-contrast value colours \\(for projectors\\)\n"
        " ROM contents from files\n"
        "  -R <rom>=<file>  load the ROM at that position from file \\(may be repeated\\)\n"
        "   for example:  -R eo-hr.aa.aa=examples/sum.asm\n$");
}

// Runs commandLine on "norvale" followed by words, its messages left on
// standard error for a death test to read.
void parseUncaptured(std::vector<std::string> words) {
    words.insert(words.begin(), "norvale");
    std::vector<char *> argv;
    for (auto &w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    commandLine(static_cast<int>(words.size()), argv.data());
}

struct RejectedCase {
    std::vector<std::string> words;
    std::string message;
};

void PrintTo(const RejectedCase &c, std::ostream *os) {
    for (const std::string &w : c.words)
        *os << w << ' ';
}

const std::string intRange = "-2147483648..2147483647";

// Numbers an option cannot take, and window sizes no window can have.
const RejectedCase rejectedCases[] = {
    {{"-C", "256", "0", "0"}, "Option -C rejected: value 256 is outside 0..255."},
    {{"-C", "0", "-1", "0"}, "Option -C rejected: value -1 is outside 0..255."},
    {{"-c", "0", "0", "99999999999999999999"},
     "Option -c rejected: value 99999999999999999999 is outside 0..255."},
    {{"-S1000", "0", "0"}, "Option -S rejected: value 1000 is outside 0..255."},
    {{"-T", "-1"}, "Option -T rejected: time -1 is outside 0..18446744073709551615."},
    {{"-T", "18446744073709551616"},
     "Option -T rejected: time 18446744073709551616 is outside 0..18446744073709551615."},
    {{"-T", "-99999999999999999999"},
     "Option -T rejected: time -99999999999999999999 is outside 0..18446744073709551615."},
    {{"-u", "4294967296", "1"}, "Option -u rejected: flag number 4294967296 is outside " + intRange + "."},
    {{"-p", "0", "2147483648"}, "Option -p rejected: flag 2147483648 is outside " + intRange + "."},
    {{"-u", "1", "0x100000000"}, "Option -u rejected: flag 0x100000000 is outside " + intRange + "."},
    {{"-p", "2", "-2147483649"}, "Option -p rejected: flag -2147483649 is outside " + intRange + "."},
    {{"-z", "0", "0", "3000000000", "1"},
     "Option -z rejected: corner 3000000000 is outside " + intRange + "."},
    {{"-g", "0x0"}, "Option -g rejected: width 0 is outside 1..32767."},
    {{"-g", "65536x65536"}, "Option -g rejected: width 65536 is outside 1..32767."},
    {{"-g", "=100x32768+5+5"}, "Option -g rejected: height 32768 is outside 1..32767."},
    {{"-g", "100x-5"}, "Option -g rejected: height -5 is outside 1..32767."},
    {{"-g", "9999999999999999999"}, "Option -g rejected: width 9999999999999999999 is outside 1..32767."},
};

class RejectedNumber : public ::testing::TestWithParam<RejectedCase> {};

TEST_P(RejectedNumber, EndsTheProcessWithItsMessage) {
    const RejectedCase &c = GetParam();
    freshNetlist();
    EXPECT_EXIT(parseUncaptured(c.words), ::testing::ExitedWithCode(1), "^" + c.message + "\n$");
}

INSTANTIATE_TEST_SUITE_P(CommandLine, RejectedNumber, ::testing::ValuesIn(rejectedCases));

TEST(CommandLine, ResetOptionsRestoresTheDefaults) {
    freshNetlist();
    parse({"-tXmE", "-F", "1", "-u", "1", "1", "-z", "1", "2", "3", "4", "-C", "1", "2", "3"});
    resetOptions();
    EXPECT_EQ(Options::current(), Options());
}

TEST(CommandLine, EveryRomFileRequestIsKeptInOrderUntilReset) {
    freshNetlist();
    EXPECT_EQ(parse({"-R", "eo-hr.aa.aa=p.asm", "-X", "-R", "x=y.hex"}), "");
    EXPECT_EQ(romFileOptions, (std::vector<std::string>{"eo-hr.aa.aa=p.asm", "x=y.hex"}));
    resetOptions();
    EXPECT_TRUE(romFileOptions.empty());
}

TEST(CommandLine, EveryNameToExplainIsKeptInOrderUntilTheReset) {
    freshNetlist();
    EXPECT_EQ(parse({"-w", "R10", "-wmbr[3]", "-X", "-w", "R10"}), "");
    EXPECT_EQ(explainNames, (std::vector<std::string>{"R10", "mbr[3]", "R10"}));
    resetOptions();
    EXPECT_TRUE(explainNames.empty());
}

} // namespace
