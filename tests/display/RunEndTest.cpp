// Runs ended from outside, as users end them: SIGINT, SIGTERM and SIGHUP at
// several moments (while the circuit is built, while its ROM files are read,
// during the run), outputs that cannot be written, a lost X server, and F10
// during a long key script.  Each end of a run must leave the exit status,
// one line saying why and when, the summary, and a waveform that holds the
// run exactly up to the time it reached: the same text as an uninterrupted
// run's, cut there.
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
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

// How the run's messages name a signal, and how RAISE names it for the
// circuit that raises it itself.
std::string signalName(int signal) {
    return signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : signal == SIGHUP ? "SIGHUP" : "?";
}

// Waits up to ten seconds for text to appear on the program's standard
// error; whether it did.
bool waitForError(ChildProgram &run, const std::string &text) {
    for (int waited = 0; waited < 10000; waited += 10) {
        if (run.err().find(text) != std::string::npos)
            return true;
        if (!run.running())
            return run.err().find(text) != std::string::npos;
        pause(10);
    }
    return false;
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
        setenv("RAISE", signalName(c.signal).substr(3).c_str(), 1);
    ChildProgram run(programOf(c), args);
    unsetenv("RAISE");
    if (c.afterMs >= 0) {
        // The count lines come after the handlers are in place: a signal
        // before them would find the process without its handlers.
        waitForError(run, "There are ");
        pause(c.afterMs);
        ASSERT_TRUE(run.running()) << "ended before the signal: " << run.err();
        kill(run.pid(), c.signal);
    }
    ASSERT_EQ(run.waitForExit(10000), 128 + c.signal) << run.err();
    const std::string err = run.err();
    EXPECT_NE(err.find("\nInterrupted by " + signalName(c.signal) + ": the run ended at simulated time "),
              std::string::npos)
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
                    Interruption{"SigtermDuringAKeyScript", "", computerKeys, SIGTERM, 500, "AC at bd-cg = "},
                    // A closed terminal ends the run as SIGTERM does.
                    Interruption{"SighupBeforeTheFirstStep",
                                 "interrupted_at_build",
                                 {"-X"},
                                 SIGHUP,
                                 -1,
                                 "clk at ab = UNINITIALIZED"},
                    Interruption{"SighupMidRun", "clock_probe", {"-X"}, SIGHUP, 300, "clk at ab = "},
                    Interruption{"SighupDuringAKeyScript", "", computerKeys, SIGHUP, 500, "AC at bd-cg = "}),
    [](const testing::TestParamInfo<Interruption> &info) { return std::string(info.param.name); });

// Signals while the circuit's build function runs, which may never return:
// the first says at once that the run ends when it returns (and then it
// does, at time 0), a second ends the program at once.
struct BuildInterruption {
    const char *name;
    const char *wait;      // WAIT for the circuit: ONE returns after a signal, EVER never
    std::vector<int> sent; // in this order, each once the program has answered the one before
    int status;            // 128 + the signal that ended the program
    bool runEnds;          // the run ends at time 0 with the summary
};

void PrintTo(const BuildInterruption &c, std::ostream *os) {
    *os << c.name;
}

std::string buildNote(int signal) {
    return "Interrupted by " + signalName(signal) +
           " while the circuit's build function runs: the run ends when it returns; a second " +
           (signal == SIGINT ? std::string("Ctrl-C") : signalName(signal)) + " ends it now.\n";
}

class InterruptedBuild : public testing::TestWithParam<BuildInterruption> {};

TEST_P(InterruptedBuild, SaysAtOnceWhenItEndsAndASecondSignalEndsItNow) {
    const BuildInterruption &c = GetParam();
    setenv("WAIT", c.wait, 1);
    ChildProgram run(circuitProgram("interrupted_at_build"), {"-X", "-s"});
    unsetenv("WAIT");
    ASSERT_TRUE(waitForError(run, "The build function waits for a signal.\n")) << run.err();
    kill(run.pid(), c.sent[0]);
    ASSERT_TRUE(waitForError(run, buildNote(c.sent[0]))) << run.err();
    for (size_t k = 1; k < c.sent.size(); ++k) {
        ASSERT_TRUE(run.running()) << "the first signal ended the build function: " << run.err();
        kill(run.pid(), c.sent[k]);
    }
    ASSERT_EQ(run.waitForExit(10000), c.status) << run.err();
    const std::string ended =
        "Interrupted by " + signalName(c.sent[0]) + ": the run ended at simulated time 0.\n";
    const std::string err = run.err();
    if (c.runEnds) {
        EXPECT_EQ(err.substr(err.size() - std::min(err.size(), ended.size())), ended) << err;
        EXPECT_NE(run.out().find("\nclk at ab = UNINITIALIZED\n"), std::string::npos) << run.out();
    } else {
        EXPECT_EQ(err.find("There are "), std::string::npos) << "the build function returned: " << err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Signals, InterruptedBuild,
    testing::Values(
        BuildInterruption{"OneCtrlCEndsTheRunWhenTheBuildReturns", "ONE", {SIGINT}, 130, true},
        BuildInterruption{"OneSigtermEndsTheRunWhenTheBuildReturns", "ONE", {SIGTERM}, 143, true},
        BuildInterruption{"ASecondCtrlCEndsAnEndlessBuildNow", "EVER", {SIGINT, SIGINT}, 130, false},
        BuildInterruption{"ASecondSigtermEndsAnEndlessBuildNow", "EVER", {SIGTERM, SIGTERM}, 143, false},
        BuildInterruption{"SigtermAfterCtrlCEndsAnEndlessBuildNow", "EVER", {SIGINT, SIGTERM}, 143, false}),
    [](const testing::TestParamInfo<BuildInterruption> &info) { return std::string(info.param.name); });

// A ROM file may never finish reading (a file on a server that stopped
// answering; the test circuit's own kind of file reads forever): a signal
// then ends the program at once, with the signal's status.
class InterruptedRomLoading : public testing::TestWithParam<int> {};

TEST_P(InterruptedRomLoading, EndsTheProgramAtOnce) {
    const int signal = GetParam();
    TemporaryFile rom;
    const std::string file = rom.path + ".wait";
    { std::ofstream(file) << "0\n"; }
    ChildProgram run(circuitProgram("slow_rom_file"), {"-X", "-s", "-R", "aa=" + file});
    // The counts come just before the ROM files are read.
    const bool counted = waitForError(run, "There are ");
    pause(200);
    kill(run.pid(), signal);
    const int status = run.waitForExit(10000);
    std::remove(file.c_str());
    ASSERT_TRUE(counted) << run.err();
    ASSERT_EQ(status, 128 + signal) << run.err();
    const std::string said =
        "\nInterrupted by " + signalName(signal) + " while the ROM files were read: the run did not start.\n";
    EXPECT_NE(run.err().find(said), std::string::npos) << run.err();
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptedRomLoading, testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const testing::TestParamInfo<int> &info) { return signalName(info.param); });

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
        Refusal{
            "SummaryToAClosedOutput", "exec \"$P\" -X -s -k '1,1,0*50' >&-",
            "\nCannot write the summary to standard output (Bad file descriptor); the run ended at simulated "
            "time "},
        // The waveform must not take the closed output's place.
        Refusal{
            "SummaryToAClosedOutputBesideAWaveform",
            "f=$(mktemp); \"$P\" -X -s -V \"$f\" -k '1,1,0*50' >&-; s=$?; head -n 1 \"$f\" | grep -q '^\\$' "
            "|| s=9; rm -f \"$f\"; exit $s",
            "\nCannot write the summary to standard output (Bad file descriptor); the run ended at simulated "
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
