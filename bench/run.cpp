// run N [edges] [vcd]: a ripple-carry adder of N full adders (two Xor, two And and
// one Or each) with every a bit ONE, every b bit ZERO and the carry-in driven
// by a clock whose half period lets a ripple finish, so that every clock edge
// ripples through all N stages.  Runs headless through the main loop for the
// given number of clock edges (200 by default) and reports the events the
// kernel applied, the component evaluations and the wall seconds of the
// simulation of those edges.  With vcd, the run also writes a Value Change
// Dump of every signal (as -V FILE -A does) to a temporary file, and reports
// its size; the file is removed afterwards.
//
// The adder starts settled (carries ZERO, every sum ONE) instead of settling
// from the reset: from UNINITIALIZED every stage passes through HIZ and XXX
// once for each stage before it, which costs work quadratic in N and says
// nothing about the rate of the edges measured here.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "Bench.h"
#include "components/ssiPh1.h"
#include "core/Ph1.h"
#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/Ph4.h"
#include "core/Ph4Run.h"
#include "core/RunTime.h"
#include "core/Sim.h"
#include "core/Vcd.h"
#include "core/cmdLine.h"
#include "display/Display.h"
#include "display/Ph5.h"

namespace {

// Converts the captured circuit as the program's start-up does and opens the
// display without a window.
void convertHeadless() {
    useXDisplay = 0;
    convertCapturedNetlist();
}

// One stage: Sum = a ^ b ^ CarryIn, CarryOut = a & b | CarryIn & (a ^ b).
void fullAdder(const SD &sd, const Signal &carryIn, const Signal &a, const Signal &b, const Signal &carryOut,
               const Signal &sum, const Signal &x, const Signal &y, const Signal &z) {
    Xor(sd, (a, b), x);
    Xor(sd, (x, carryIn), sum);
    And(sd, (a, b), y);
    And(sd, (carryIn, x), z);
    Or(sd, (y, z), carryOut);
}

// Gives the adder's signals the values they settle to with the carry-in at
// ZERO: the state the adder would reach from the reset before its first
// edge.  The reset's first step evaluates every gate once, and each finds
// its output already where it would drive it.
void presetSettled(unsigned width, const Signal &carry, const Signal &sum, const Signal &x, const Signal &y,
                   const Signal &z) {
    auto set = [](const Signal &bus, unsigned k, SignalValue v) {
        const int s = bus.serialNumber[k];
        phaseThree->currentSignals[s] = v;
        phaseThree->scheduledSignals[s] = v;
    };
    set(carry, 0, ZERO);
    for (unsigned k = 0; k < width; ++k) {
        set(x, k, ONE);
        set(y, k, ZERO);
        set(z, k, ZERO);
        set(carry, k + 1, ZERO);
        set(sum, k, ONE);
    }
}

// A fresh temporary file for the dump; its name is returned.
std::string temporaryDumpFile() {
    const char *directory = std::getenv("TMPDIR");
    std::string name = std::string(directory && *directory ? directory : "/tmp") + "/norvale-bench-XXXXXX";
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        std::perror("norvale-bench: temporary file");
        std::exit(2);
    }
    close(fd);
    return name;
}

double megabytes(const std::string &file) {
    struct stat s {};
    return stat(file.c_str(), &s) == 0 ? static_cast<double>(s.st_size) / (1024.0 * 1024.0) : 0.0;
}

int runAdder(const bench::Arguments &args) {
    const char *usage = "run N [edges] [vcd]";
    const long n = bench::countArgument(args, 0, 200, usage);
    const long edges = bench::countArgument(args, 1, 200, usage);
    const bool dump = args.size() > 2 && args[2] == "vcd";
    if (args.size() > 3 || (args.size() > 2 && !dump)) {
        std::fprintf(stderr, "usage: norvale-bench %s\n", usage);
        return 2;
    }
    const auto width = static_cast<unsigned>(n);
    const Signal carry(width + 1, "c"), sum(width, "s"), x(width, "x"), y(width, "y"), z(width, "z");
    const SD sd("aa", nullptr);
    // A level needs 20 time units per stage (two gates of lazy delay 10).
    const long halfPeriod = 25 * n + 100;
    Clock(sd, carry[0], static_cast<int>(halfPeriod), 0, static_cast<int>(2 * halfPeriod), Zero);
    for (unsigned k = 0; k < width; ++k)
        fullAdder(sd, carry[k], One, Zero, carry[k + 1], sum[k], x[k], y[k], z[k]);
    convertHeadless();

    drawFirstTime();
    restartAtTimeZero();
    presetSettled(width, carry, sum, x, y, z);
    std::string dumpFile;
    if (dump) {
        // Opened after the preset, so that the initial values are the settled ones.
        dumpFile = temporaryDumpFile();
        vcdFileName = dumpFile;
        vcdAllSignals = 1;
        openValueChangeDump();
        valueChangeDump->startSection(0);
    }
    done = 0;
    // The clock finds its output at its low level at time 0: the first
    // rising edge comes at 9 and each half period lasts halfPeriod + 9.  Stop
    // once the ripple of the last edge asked for is over.
    stopTime = static_cast<unsigned long>(edges * (halfPeriod + 9));
    const double start = bench::seconds();
    simulate();
    closeValueChangeDump(); // the dump is complete only once flushed
    const double elapsed = bench::seconds() - start;

    const uint64_t events = phaseFour->eventsApplied;
    const uint64_t evaluations = phaseFour->componentEvaluations;
    if (dump) {
        std::printf("vcd_megabytes=%.1f ", megabytes(dumpFile));
        std::remove(dumpFile.c_str());
    }
    std::printf("events=%llu evaluations=%llu seconds=%.3f events_per_s=%.0f\n",
                static_cast<unsigned long long>(events), static_cast<unsigned long long>(evaluations),
                elapsed, static_cast<double>(events) / elapsed);
    return 0;
}

int runConnect(const bench::Arguments &args) {
    const long n = bench::countArgument(args, 0, 100000, "connect N");
    const Signal chain(static_cast<unsigned>(n) + 1, "w");
    for (long k = 0; k < n; ++k) {
        // Ten gates per row of a grid, so that every tile has its own place.
        char position[3] = {static_cast<char>('a' + k / 10 % 26), static_cast<char>('a' + k % 10), '\0'};
        const SD sd(position, nullptr);
        Not(sd, chain[static_cast<int>(k)], chain[static_cast<int>(k + 1)]);
    }
    convertHeadless();
    drawFirstTime(); // tiles, and draws and connects once
    phaseFive->drawSchematic();
    long tabs = 0;
    for (const Tab *t = phaseFive->inTab.start; t; t = t->link)
        ++tabs;
    const double start = bench::seconds();
    phaseFive->connect();
    const double elapsed = bench::seconds() - start;
    std::printf("input_tabs=%ld seconds=%.3f\n", tabs, elapsed);
    return 0;
}

const bench::Registrar adder("run", "run N [edges] [vcd]", runAdder);
const bench::Registrar connection("connect", "connect N", runConnect);

} // namespace
