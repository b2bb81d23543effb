// ca N [cycles]: a ring of N cells of the rule-30 cellular automaton, each a
// D flip-flop fed by an Or and an Xor (next q[i] = q[i-1] XOR (q[i] OR
// q[i+1]), indices around the ring), all clocked by one clock of period 100.
// Each cell starts at bit ((i + 1) * 2654435761 >> 16) & 1 of a fixed
// pseudo-random pattern, given through its flip-flop's set or reset input by
// a power-on pulse at the start.  Runs headless through the main loop for the
// given number of clock cycles (1000 by default) and reports the events the
// kernel applied, the component evaluations, the wall seconds and a hash of
// the final state.  The final state is checked against the automaton computed
// directly; a mismatch is reported on standard error and fails the scenario.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "Bench.h"
#include "components/msiPh1.h"
#include "components/ssiPh1.h"
#include "core/Ph3.h"
#include "core/Ph4.h"
#include "core/Ph4Run.h"
#include "core/RunTime.h"
#include "core/Sim.h"
#include "core/cmdLine.h"
#include "display/Display.h"

namespace {

// The clock: ZERO until the first rising edge, then ONE for half of each period.
constexpr int clockPeriod = 100;
constexpr int clockOffset = 100;
// The start pulse on the set and reset inputs ends well before the first edge.
constexpr int startPulse = 20;
// Time between rising edges: the period plus the kernel's additions of 9 to
// each of the two half periods.
constexpr unsigned long edgeSpacing = clockPeriod + 2 * 9;
// The first rising edge: the clock is ZERO at 10, ONE offset + 9 later.
constexpr unsigned long firstEdge = 10 + clockOffset + 9;
// An edge's changes have passed the flip-flops (17) and both gates (10 each).
constexpr unsigned long settleTime = 60;

bool startBit(long i) {
    return ((static_cast<uint64_t>(i) + 1) * 2654435761u >> 16) & 1;
}

// The automaton computed directly: the state after the given number of steps.
std::vector<bool> referenceState(long n, long steps) {
    std::vector<bool> q(n), next(n);
    for (long i = 0; i < n; ++i)
        q[i] = startBit(i);
    for (long s = 0; s < steps; ++s) {
        for (long i = 0; i < n; ++i)
            next[i] = q[(i + n - 1) % n] != (q[i] || q[(i + 1) % n]);
        q.swap(next);
    }
    return q;
}

// FNV-1a over the cells' values, one byte per cell.
uint64_t stateHash(const Signal &q) {
    uint64_t h = 14695981039346656037ull;
    for (const int s : q.serialNumber) {
        h ^= static_cast<uint64_t>(phaseThree->currentSignals[s]);
        h *= 1099511628211ull;
    }
    return h;
}

int runAutomaton(const bench::Arguments &args) {
    const char *usage = "ca N [cycles]";
    const long n = bench::countArgument(args, 0, 1000, usage);
    const long cycles = bench::countArgument(args, 1, 1000, usage);
    const auto width = static_cast<unsigned>(n);
    const Signal q(width, "q"), either(width, "or"), d(width, "d"), clk(1, "clk"), start(1, "start");
    const SD sd("aa", nullptr);
    Clock(sd, clk, clockPeriod / 2, clockOffset, clockPeriod, Zero);
    PowerOn(sd, start, startPulse, One);
    for (long i = 0; i < n; ++i) {
        const int left = static_cast<int>((i + n - 1) % n), right = static_cast<int>((i + 1) % n);
        const int k = static_cast<int>(i);
        Or(sd, (q[k], q[right]), either[k]);
        Xor(sd, (q[left], either[k]), d[k]);
        // in = (S, D, clock, R): the start pulse sets or resets the cell.
        if (startBit(i))
            Dff(sd, (start, d[k], clk, Zero), q[k]);
        else
            Dff(sd, (Zero, d[k], clk, start), q[k]);
    }
    useXDisplay = 0;
    convertCapturedNetlist();

    drawFirstTime();
    restartAtTimeZero();
    done = 0;
    stopTime = firstEdge + static_cast<unsigned long>(cycles - 1) * edgeSpacing + settleTime;
    const double begin = bench::seconds();
    simulate();
    const double elapsed = bench::seconds() - begin;

    const std::vector<bool> expected = referenceState(n, cycles);
    for (long i = 0; i < n; ++i) {
        const SignalValue v = phaseThree->currentSignals[q.serialNumber[static_cast<size_t>(i)]];
        if (v != (expected[i] ? ONE : ZERO)) {
            std::fprintf(stderr, "ca: cell %ld is %s after %ld cycles, the automaton says %d\n", i,
                         signalValueName(v), cycles, static_cast<int>(expected[i]));
            return 1;
        }
    }
    const uint64_t events = phaseFour->eventsApplied;
    const uint64_t evaluations = phaseFour->componentEvaluations;
    std::printf("events=%llu evaluations=%llu seconds=%.3f hash=%016llx events_per_s=%.0f\n",
                static_cast<unsigned long long>(events), static_cast<unsigned long long>(evaluations),
                elapsed, static_cast<unsigned long long>(stateHash(q)),
                static_cast<double>(events) / elapsed);
    return 0;
}

const bench::Registrar automaton("ca", "ca N [cycles]", runAutomaton);

} // namespace
