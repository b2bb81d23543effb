// A circuit's build function that crashes: the program says so, with how far
// the capture got, and still ends by the signal, as the crash would have
// ended it.  A crash after the build function is not blamed on it.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

#include "components/ssiPh1.h"
#include "core/Sim.h"
#include "support/Fresh.h"

namespace {

// Under the sanitizers a null pointer, a division by zero or a stack used up
// is the sanitizer's to report, before any signal.
#if defined(__SANITIZE_ADDRESS__) // set with the undefined-behaviour one
constexpr bool sanitized = true;
#else
constexpr bool sanitized = false;
#endif

// Runs Sim with "norvale -X" on build and ends the process with status 0.
[[noreturn]] void runSim(void (*build)()) {
    runSimWith({"-X"}, build);
    std::exit(0);
}

// A clock and its probe, the capture the crashes below come after.
void clockAndProbe() {
    const Signal clk(1, "Clk");
    Clock(SD("aa", nullptr), clk, 5, 0, 20, Zero);
    Probe(SD("ab", nullptr), clk, "clk");
}

// Read through a volatile pointer so that the compiler can assume nothing.
volatile int *volatile nowhere = nullptr;
volatile int divisor = 0;
volatile long depthLimit = 1L << 40;

void writeThroughANullPointer() {
    clockAndProbe();
    *nowhere = 1;
}

long descend(long depth) {
    volatile char frame[256];
    frame[0] = static_cast<char>(depth);
    return depth < depthLimit ? descend(depth + 1) + frame[0] : depth;
}

void recurseWithoutEnd() {
    clockAndProbe();
    std::exit(static_cast<int>(descend(0)));
}

void divideByZero() {
    clockAndProbe();
    std::exit(10 / divisor);
}

// What a failed assertion does.
void abortTheProgram() {
    clockAndProbe();
    std::abort();
}

void crashBeforeAnyComponent() {
    const Signal clk(1, "Clk");
    *nowhere = 1;
}

void oneComponentThenCrash() {
    const Signal clk(1, "Clk");
    Clock(SD("ac", nullptr), clk, 5, 0, 20, Zero);
    *nowhere = 1;
}

// A position far longer than the line may be: the line is cut, not overrun.
void crashAfterALongPosition() {
    static const std::string position(3000, 'a');
    const Signal clk(1, "Clk");
    Clock(SD(position.c_str(), nullptr), clk, 5, 0, 20, Zero);
    *nowhere = 1;
}

struct Crash {
    const char *name;
    void (*build)();
    int signal;
    const char *signalName;
    const char *said; // the line, after "The circuit's build function crashed (SIGNAME) "
};

// What a crash after the clock and its probe says.
constexpr const char *afterTheClock = "after declaring 2 components, the last one at ab\\.";

void PrintTo(const Crash &c, std::ostream *os) {
    *os << c.name;
}

class BuildCrash : public testing::TestWithParam<Crash> {};

TEST_P(BuildCrash, SaysHowFarTheCaptureGotAndEndsByTheSignal) {
    const Crash &c = GetParam();
    if (sanitized)
        GTEST_SKIP() << "the sanitizers report this crash themselves";
    freshNetlist();
    EXPECT_EXIT(runSim(c.build), testing::KilledBySignal(c.signal),
                "^(.|\n)*The circuit's build function crashed \\(" + std::string(c.signalName) + "\\) " +
                    c.said + "\n$");
}

INSTANTIATE_TEST_SUITE_P(
    Capture, BuildCrash,
    testing::Values(Crash{"NullPointer", writeThroughANullPointer, SIGSEGV, "SIGSEGV", afterTheClock},
                    // The stack is used up: the line is written on a stack of its own.
                    Crash{"EndlessRecursion", recurseWithoutEnd, SIGSEGV, "SIGSEGV", afterTheClock},
                    Crash{"DivisionByZero", divideByZero, SIGFPE, "SIGFPE", afterTheClock},
                    Crash{"Abort", abortTheProgram, SIGABRT, "SIGABRT", afterTheClock},
                    Crash{"BeforeAnyComponent", crashBeforeAnyComponent, SIGSEGV, "SIGSEGV",
                          "before declaring any component\\."},
                    Crash{"AfterOneComponent", oneComponentThenCrash, SIGSEGV, "SIGSEGV",
                          "after declaring 1 component, at ac\\."},
                    Crash{"ALongPosition", crashAfterALongPosition, SIGSEGV, "SIGSEGV",
                          "after declaring 1 component, at a+"}),
    [](const testing::TestParamInfo<Crash> &info) { return std::string(info.param.name); });

// Builds the clock and its probe without running it (-E), then crashes.
void buildThenCrash() {
    std::vector<std::string> words{"norvale", "-X", "-E"};
    std::vector<char *> argv{words[0].data(), words[1].data(), words[2].data(), nullptr};
    Sim(3, argv.data(), clockAndProbe);
    std::raise(SIGILL);
}

// Once the build function has returned, the program's own crash handling
// (none, or a sanitizer's) is back.
TEST(BuildCrash, ACrashAfterTheBuildIsNotTheBuildFunctions) {
    freshNetlist();
    EXPECT_EXIT(buildThenCrash(), testing::KilledBySignal(SIGILL),
                "^There are 2 components\\.\nThere are 3 signals\\.\n$");
}

} // namespace
