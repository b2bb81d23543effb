// Explanations in whole runs: circuits deeper than any stack would hold one
// call per gate, names checked before the run, and an output that cannot be
// written.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Harness.h"
#include "components/Explain.h"
#include "components/ssiPh1.h"
#include "core/Sim.h"
#include "core/cmdLine.h"
#include "support/Fresh.h"

namespace {

// Far more gates than the stack would take frames, one per gate.
constexpr int chainLength = 60000;

// A chain of inverters from a wire nothing drives, its last output probed
// as "end": every gate's output is XXX, for a reason that lies at the far end.
void longChain() {
    const Signal first(1, "first"), chain(chainLength, "chain");
    Not(SD("aa", nullptr), first, chain[0]);
    for (int k = 1; k < chainLength; ++k)
        Not(SD("aa", nullptr), chain[k - 1], chain[k]);
    Probe(SD("ab", nullptr), chain[chainLength - 1], "end");
}

// Runs Sim with "norvale" and words on build on a fresh netlist, with its
// standard output going to the file out, and ends the process with status 0 when the run returns
// (as the program's entry does).  For death tests: the run is the child's.
[[noreturn]] void runSimToTheEnd(std::vector<std::string> words, void (*build)(), const std::string &out) {
    alarm(120);
    freshNetlist();
    std::fflush(stdout);
    const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || dup2(fd, STDOUT_FILENO) < 0)
        std::_Exit(99);
    close(fd);
    runSimWith(std::move(words), build);
    std::exit(0);
}

// A file name of its own in the temporary folder, removed at the end.
struct TemporaryFile {
    std::string path;
    TemporaryFile() {
        char name[] = "/tmp/norvale-explain-XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0)
            close(fd);
        path = name;
    }
    ~TemporaryFile() { std::remove(path.c_str()); }
};

// The last line of text (without its newline).
std::string lastLine(const std::string &text) {
    const size_t end = text.size() > 0 && text.back() == '\n' ? text.size() - 1 : text.size();
    const size_t start = text.rfind('\n', end == 0 ? 0 : end - 1);
    return text.substr(start == std::string::npos ? 0 : start + 1,
                       end - (start == std::string::npos ? 0 : start + 1));
}

// The end of the long chain is explained down to the depth limit and every
// cause below it counted; the run ends normally and its waveform is whole.
TEST(ExplainRun, ALongChainIsCountedAndTheRunEndsNormally) {
    const TemporaryFile out, dump;
    EXPECT_EXIT(runSimToTheEnd({"-X", "-w", "end", "-V", dump.path}, longChain, out.path),
                testing::ExitedWithCode(0), "");
    const std::string text = fileText(out.path);
    EXPECT_EQ(text.rfind("end at ab = XXX at time ", 0), 0u) << text.substr(0, 200);
    EXPECT_EQ(lastLine(text), std::string(2 * 8 + 2, ' ') + "... " + std::to_string(chainLength - 7) +
                                  " more causes left out (depth limit 8)");
    const std::string waveform = fileText(dump.path);
    EXPECT_NE(waveform.find("$enddefinitions $end\n"), std::string::npos) << waveform;
    // The last time applied: the end of the chain turned XXX.
    const std::string end = "\n#7\nx!\n";
    EXPECT_TRUE(waveform.size() > end.size() &&
                waveform.compare(waveform.size() - end.size(), end.size(), end) == 0)
        << waveform;
}

// An inverter of a wire nothing drives, probed as "out".
void openInverter() {
    const Signal open(1, "open"), out(1, "out");
    Not(SD("aa", nullptr), open, out);
    Probe(SD("ab", nullptr), out, "out");
}

// Explanations that cannot be written end the run as a summary that cannot:
// with status 1 and a line saying why.
TEST(ExplainRunDeath, ExplanationsThatCannotBeWrittenEndTheRunWithStatus1) {
    EXPECT_EXIT(
        runSimToTheEnd({"-X", "-w", "out"}, openInverter, "/dev/full"), testing::ExitedWithCode(1),
        "\nCannot write the explanations to standard output, /dev/full \\(No space left on device\\); "
        "the run ended at simulated time 7\\.\n$");
}

// Freshly converted and run: the long chain at the time its XXX has settled.
void runLongChain() {
    freshHeadlessNetlist();
    explainNames = {"end"}; // keeps the value history
    longChain();
    convertNetlist();
    testing::internal::CaptureStderr(); // the probe's lines
    resetCircuit();
    runUntil(100);
    testing::internal::GetCapturedStderr();
}

// Past the line limit the rest of the long chain is counted, not followed
// call by call.
TEST(ExplainRun, ALongChainPastTheLineLimitIsCounted) {
    runLongChain();
    std::ostringstream out;
    std::vector<int> roots;
    explainGroup(out, bitsNamed("end").at(0), roots, chainLength + 10);
    EXPECT_EQ(lastLine(out.str()), "  ... " + std::to_string(chainLength + 1 - explanationLineLimit) +
                                       " more causes left out (at most 40 lines per name)");
}

} // namespace
