// Runs ended from outside, as users end them: SIGINT and SIGTERM at several
// moments, outputs that cannot be written, a lost X server, and F10 during a
// long key script.  Each end must leave the exit status, one line saying why
// and when, the summary, and a waveform that holds the run exactly up to the
// time it reached: the same text as an uninterrupted run's, cut there.
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ChildProgram.h"
#include "XHarness.h"

namespace {

const char *const banner = "Norvale v20190205";

// A fresh name for a temporary file, removed at the end of the test.
class TemporaryFile {
public:
    TemporaryFile() {
        char name[] = "/tmp/norvale-runend-XXXXXX";
        close(mkstemp(name));
        path = name;
    }
    ~TemporaryFile() { std::remove(path.c_str()); }
    std::string path;
};

void pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// The time in the last "...: the run ended at simulated time T." line, or -1.
long endTime(const std::string &err) {
    static const std::regex line(R"(the run ended at simulated time (\d+)\.\n)");
    long time = -1;
    for (auto m = std::sregex_iterator(err.begin(), err.end(), line); m != std::sregex_iterator(); ++m)
        time = std::stol((*m)[1]);
    return time;
}

// Whether text is a well-formed dump: a header closed by $enddefinitions,
// then only stamps, value changes of declared codes and section keywords,
// every line whole.
::testing::AssertionResult parsesAsDump(const std::string &text) {
    const size_t body = text.find("$enddefinitions $end\n");
    if (body == std::string::npos)
        return ::testing::AssertionFailure() << "no complete header: " << text.substr(0, 200);
    if (text.back() != '\n')
        return ::testing::AssertionFailure() << "the last line is cut: ..." << text.substr(text.size() - 40);
    std::vector<std::string> codes;
    static const std::regex var(R"(\$var wire \d+ (\S+) .* \$end)");
    for (auto m = std::sregex_iterator(text.begin(), text.begin() + static_cast<long>(body), var);
         m != std::sregex_iterator(); ++m)
        codes.push_back((*m)[1]);
    static const std::regex change(
        R"(#\d+|[01xzuU](\S+)|b[01xzU]+ (\S+)|\$dumpvars|\$dumpall|\$end|\$comment|   .*)");
    std::istringstream lines(text.substr(body + 21));
    std::string l;
    while (std::getline(lines, l)) {
        std::smatch m;
        if (!std::regex_match(l, m, change))
            return ::testing::AssertionFailure() << "unexpected line \"" << l << "\"";
        const std::string code = m[1].matched ? m[1].str() : m[2].str();
        if (!code.empty() && std::find(codes.begin(), codes.end(), code) == codes.end())
            return ::testing::AssertionFailure() << "undeclared code in \"" << l << "\"";
    }
    return ::testing::AssertionSuccess();
}

// A dump cut before its first stamp later than time: what a run that ended
// at time has written.
std::string dumpUpTo(const std::string &dump, long time) {
    static const std::regex stamp(R"(\n#(\d+)\n)");
    for (auto m = std::sregex_iterator(dump.begin(), dump.end(), stamp); m != std::sregex_iterator(); ++m)
        if (std::stol((*m)[1]) > time)
            return dump.substr(0, static_cast<size_t>(m->position()) + 1);
    return dump;
}

// The same program and arguments without the interruption, stopped by -T at
// time (at least 1: -T 0 is no stop time), writing its dump to a file.
std::string uninterruptedDump(const std::string &program, std::vector<std::string> args, long time) {
    TemporaryFile reference;
    args.insert(args.end(), {"-V", reference.path, "-T", std::to_string(std::max(time, 1L))});
    ChildProgram run(program, args);
    EXPECT_EQ(run.waitForExit(60000), 0) << run.err();
    return fileText(reference.path);
}

struct Interruption {
    const char *name;
    const char *program; // a circuit of tests/circuits, or "" for the computer
    std::vector<std::string> args;
    int signal;
    int afterMs;             // sent after this long; -1: the circuit raises it while it is built
    const char *summaryLine; // the start of a line the summary must hold
};

void PrintTo(const Interruption &c, std::ostream *os) {
    *os << c.name;
}

std::string programOf(const Interruption &c) {
    return *c.program ? circuitProgram(c.program) : std::string(NORVALE_PROGRAM);
}

// The same circuit without the signal it raises itself.
std::string referenceOf(const Interruption &c) {
    return c.afterMs < 0 ? circuitProgram("clock_probe") : programOf(c);
}

class InterruptedRun : public testing::TestWithParam<Interruption> {};

TEST_P(InterruptedRun, EndsAtAStepBoundaryWithTheDumpWholeUpToThere) {
    const Interruption &c = GetParam();
    TemporaryFile dump;
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"-s", "-V", dump.path});
    if (c.afterMs < 0)
        setenv("RAISE", c.signal == SIGTERM ? "TERM" : "INT", 1);
    ChildProgram run(programOf(c), args);
    unsetenv("RAISE");
    if (c.afterMs >= 0) {
        // The count lines come after the handlers are in place: a signal
        // before them would find the process without its handlers.
        for (int waited = 0; waited < 10000 && run.err().find("There are ") == std::string::npos;
             waited += 10)
            pause(10);
        pause(c.afterMs);
        ASSERT_TRUE(run.running()) << "ended before the signal: " << run.err();
        kill(run.pid(), c.signal);
    }
    ASSERT_EQ(run.waitForExit(10000), 128 + c.signal) << run.err();
    const std::string err = run.err();
    const std::string said = c.signal == SIGINT ? "SIGINT" : "SIGTERM";
    EXPECT_NE(err.find("\nInterrupted by " + said + ": the run ended at simulated time "), std::string::npos)
        << err.substr(err.size() > 300 ? err.size() - 300 : 0);
    EXPECT_NE(run.out().find("\n" + std::string(c.summaryLine)), std::string::npos);
    const long reached = endTime(err);
    ASSERT_GE(reached, 0);
    if (c.afterMs < 0)
        EXPECT_EQ(reached, 0);
    else
        EXPECT_GT(reached, 0);

    const std::string text = fileText(dump.path);
    ASSERT_TRUE(parsesAsDump(text));
    EXPECT_EQ(text, dumpUpTo(uninterruptedDump(referenceOf(c), c.args, reached), reached));
}

const std::vector<std::string> computerKeys{"-X", "-k", "1,1,0*10000000"};

INSTANTIATE_TEST_SUITE_P(
    Signals, InterruptedRun,
    testing::Values(Interruption{"SigintBeforeTheFirstStep",
                                 "interrupted_at_build",
                                 {"-X"},
                                 SIGINT,
                                 -1,
                                 "clk at ab = UNINITIALIZED"},
                    Interruption{"SigtermBeforeTheFirstStep",
                                 "interrupted_at_build",
                                 {"-X"},
                                 SIGTERM,
                                 -1,
                                 "clk at ab = UNINITIALIZED"},
                    Interruption{"SigintMidRun", "clock_probe", {"-X"}, SIGINT, 300, "clk at ab = "},
                    Interruption{"SigtermMidRun", "clock_probe", {"-X"}, SIGTERM, 300, "clk at ab = "},
                    Interruption{"SigintDuringAKeyScript", "", computerKeys, SIGINT, 500, "AC at bd-cg = "},
                    Interruption{"SigtermDuringAKeyScript", "", computerKeys, SIGTERM, 500,
                                 "AC at bd-cg = "}),
    [](const testing::TestParamInfo<Interruption> &info) { return std::string(info.param.name); });

// With a window the signal also closes it; the run ends as F10 would end it.
TEST(InterruptedWindow, SigintEndsTheRunAndClosesTheWindow) {
    REQUIRE_X_DISPLAY();
    xtest::Connection x;
    ASSERT_NE(x.get(), nullptr);
    TemporaryFile dump;
    const std::string label = uniqueLabel();
    ChildProgram run(circuitProgram("clock_probe"), {"-s", "-V", dump.path, "-W", label});
    ASSERT_NE(xtest::findWindowByName(x, banner + label), 0u) << run.err();
    pause(300);
    kill(run.pid(), SIGINT);
    ASSERT_EQ(run.waitForExit(10000), 130) << run.err();
    EXPECT_EQ(xtest::findWindowByName(x, banner + label, 200), 0u);
    const long reached = endTime(run.err());
    ASSERT_GT(reached, 0) << run.err();
    EXPECT_NE(run.out().find("\nclk at ab = "), std::string::npos);
    const std::string text = fileText(dump.path);
    ASSERT_TRUE(parsesAsDump(text));
    EXPECT_EQ(text, dumpUpTo(uninterruptedDump(circuitProgram("clock_probe"), {"-X"}, reached), reached));
}

// Losing the X server says so, with the time, and writes the summary.
TEST(InterruptedWindow, LosingTheServerSaysSoWithTheSummary) {
    REQUIRE_X_DISPLAY();
    xtest::Connection x;
    ASSERT_NE(x.get(), nullptr);
    const std::string label = uniqueLabel();
    ChildProgram run(circuitProgram("clock_probe"), {"-s", "-W", label});
    const Window window = xtest::findWindowByName(x, banner + label);
    ASSERT_NE(window, 0u) << run.err();
    pause(200);
    XKillClient(x, window);
    XSync(x, False);
    ASSERT_EQ(run.waitForExit(5000), 1) << run.err();
    EXPECT_GE(endTime(run.err()), 0);
    EXPECT_NE(run.err().find("\nThe X connection was lost: the run ended at simulated time "),
              std::string::npos)
        << run.err();
    EXPECT_NE(run.out().find("\nclk at ab = "), std::string::npos);
}

// F10 is read between scripted presses, even of a key bound to nothing, which
// costs almost nothing to press.  (Before, the whole list was pressed first.)
TEST(InterruptedWindow, F10EndsALongUnboundKeyScriptPromptly) {
    REQUIRE_X_DISPLAY();
    xtest::Connection x;
    ASSERT_NE(x.get(), nullptr);
    const std::string label = uniqueLabel();
    ChildProgram run(NORVALE_PROGRAM, {"-k", "N*10000000", "-W", label});
    const Window window = xtest::findWindowByName(x, banner + label);
    ASSERT_NE(window, 0u) << run.err();
    pause(300);
    xtest::movePointer(x, window, 5, 5);
    xtest::pressKey(x, XK_F10);
    EXPECT_EQ(run.waitForExit(8000), 0) << "F10 was not read while the script ran";
}

// Outputs that refuse to be written: the run ends with status 1 and a line
// naming the output and the reason.
struct Refusal {
    const char *name;
    const char *shellLine; // run by sh -c with $P the computer
    const char *message;
};

void PrintTo(const Refusal &c, std::ostream *os) {
    *os << c.name;
}

class RefusedOutput : public testing::TestWithParam<Refusal> {};

TEST_P(RefusedOutput, EndsTheRunWithStatus1AndSaysWhy) {
    setenv("P", NORVALE_PROGRAM, 1);
    ChildProgram run("/bin/sh", {"-c", GetParam().shellLine});
    EXPECT_EQ(run.waitForExit(30000), 1);
    EXPECT_NE(run.err().find(GetParam().message), std::string::npos) << run.err();
}

INSTANTIATE_TEST_SUITE_P(
    Writes, RefusedOutput,
    testing::Values(
        Refusal{
            "WaveformOnAFullDevice", "exec \"$P\" -X -V /dev/full -k '1,1,0*5000'",
            "\nCannot write the waveform to /dev/full (No space left on device); the run ended at simulated "
            "time "},
        Refusal{"SummaryOnAFullDevice", "exec \"$P\" -X -s -k '1,1,0*50' >/dev/full",
                "\nCannot write the summary to standard output, /dev/full (No space left on device); the run "
                "ended at simulated time "},
        Refusal{"WaveformToAReaderThatWentAway",
                "s=$(mktemp); { \"$P\" -X -V /dev/fd/3 -k '1,1,0*5000' 3>&1 >/dev/null; echo $? >\"$s\"; } | "
                "true; r=$(cat \"$s\"); rm -f \"$s\"; exit $r",
                "\nCannot write the waveform to /dev/fd/3 (Broken pipe); the run ended at simulated time "},
        Refusal{"WaveformOverStandardOutput",
                "f=$(mktemp); \"$P\" -X -V \"$f\" -k 1 >\"$f\"; s=$?; grep -q '^F10 Exit' \"$f\" || s=9; "
                "rm -f \"$f\"; exit $s",
                "is where standard output goes.\n"}),
    [](const testing::TestParamInfo<Refusal> &info) { return std::string(info.param.name); });

// A full disk: a 64 KiB file system mounted in a mount namespace of its own.
// The dump is cut back to its last whole time step, a prefix of the full one.
TEST(RefusedOutput, AFullFileSystemLeavesTheDumpCutAtAStep) {
    if (system("unshare -rm true >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here (unshare -rm failed)";
    TemporaryFile copy;
    char directory[] = "/tmp/norvale-tmpfs-XXXXXX";
    ASSERT_NE(mkdtemp(directory), nullptr);
    const std::string d = directory;
    const std::string line = "mount -t tmpfs -o size=64k none " + d + " || exit 99; \"" +
                             std::string(NORVALE_PROGRAM) + "\" -X -V " + d +
                             "/f.vcd -k '1,1,0*5000'; s=$?; cp " + d + "/f.vcd " + copy.path + "; exit $s";
    setenv("L", line.c_str(), 1);
    ChildProgram run("/bin/sh", {"-c", "exec unshare -rm sh -c \"$L\""});
    const int status = run.waitForExit(60000);
    rmdir(directory);
    if (status == 99)
        GTEST_SKIP() << "cannot mount a small tmpfs here: " << run.err();
    ASSERT_EQ(status, 1) << run.err();
    EXPECT_NE(run.err().find("f.vcd (No space left on device); the run ended at simulated time "),
              std::string::npos)
        << run.err();
    const std::string text = fileText(copy.path);
    ASSERT_TRUE(parsesAsDump(text));
    EXPECT_LE(text.size(), 65536u);
    const std::string full = uninterruptedDump(NORVALE_PROGRAM, {"-X", "-k", "1,1,0*5000"}, 1L << 40);
    ASSERT_GT(full.size(), text.size());
    EXPECT_EQ(full.compare(0, text.size(), text), 0) << "not a prefix of the whole dump";
    EXPECT_EQ(full[text.size()], '#') << "not cut before a time stamp";
}

} // namespace
