// computer [PRESSES]: the circuit linked into the program, built through
// simnet and run without a window the way `norvale -X -k '1,1,0*PRESSES'`
// runs it: the key list goes through the program's own key script, so every
// press reaches the switch bound to its key once the circuit has settled
// from the one before.  Key '1' is pressed twice (reset and release), then
// '0' PRESSES times (8000 by default); only the presses of '0' are timed.
//
// Reports the presses per second, the events the kernel applied per press of
// '0', the peak resident memory and the accumulator: AC as four hexadecimal
// digits, read from the eight-bit probes labelled "R1" (its high byte) and
// "AC" (its low byte), or as its sixteen bits when some is not 0 or 1.  The
// scenario fails at the counts whose result is known when the accumulator
// differs from it, so that a broken circuit or kernel cannot pass for a fast
// one.  Elsewhere a bit of AC that is not 0 or 1 is reported, not rejected:
// past its last instruction the program runs on into memory never written,
// and loads undefined words into AC.  The probes' text lines, which a
// headless run writes on standard error, go to /dev/null while keys are
// pressed: they are written as in the program, but do not fill the output.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>

#include "Bench.h"
#include "components/ProbeSummary.h"
#include "core/KeyScript.h"
#include "core/Ph2.h"
#include "core/Ph4.h"
#include "core/Ph4Run.h"
#include "core/RunTime.h"
#include "core/Sim.h"
#include "core/cmdLine.h"
#include "display/Display.h"

namespace {

const char *const usage = "computer [PRESSES]";

// The accumulator after '1,1' and the given number of presses of '0', where
// the program in ROM is known to have brought it: the load of 0xAAAA, the
// load of 0xFFFF, and the load of the word stored before.
struct KnownResult {
    long presses;
    const char *accumulator;
};
const KnownResult knownResults[] = {{72, "AAAA"}, {216, "FFFF"}, {288, "AAAA"}};

// The bits an eight-bit probe shows, most significant first ("10XZU101"), by
// its label; empty when the circuit has no such probe.
std::string probeBits(const std::string &label) {
    const std::string start = label + " at ";
    for (int c = 0; c < phaseTwo->numberOfComponents; ++c) {
        const std::string line = probeSummaryLine(c);
        if (line.compare(0, start.size(), start) != 0)
            continue;
        const size_t value = line.rfind(" = ");
        return value == std::string::npos ? std::string() : line.substr(value + 3, 8);
    }
    return "";
}

// The sixteen bits as four upper-case hexadecimal digits, or the bits
// themselves when some is not 0 or 1.
std::string accumulatorText(const std::string &bits) {
    if (bits.size() != 16 || bits.find_first_not_of("01") != std::string::npos)
        return bits;
    char text[5];
    std::snprintf(text, sizeof text, "%04lX", std::stoul(bits, nullptr, 2));
    return text;
}

// The key list pressing key count times, in items the list accepts.
std::string repeatedKey(char key, long count) {
    std::string list;
    for (; count > 0; count -= maximumKeyCount) {
        if (!list.empty())
            list += ',';
        list += std::string(1, key) + "*" + std::to_string(count < maximumKeyCount ? count : maximumKeyCount);
    }
    return list;
}

// Standard error sent to /dev/null for the lifetime of the object.
class QuietStandardError {
public:
    QuietStandardError() : saved_(dup(2)) {
        std::cerr.flush();
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 2);
        close(null);
    }
    ~QuietStandardError() {
        std::cerr.flush();
        dup2(saved_, 2);
        close(saved_);
    }
    QuietStandardError(const QuietStandardError &) = delete;
    QuietStandardError &operator=(const QuietStandardError &) = delete;

private:
    int saved_;
};

// Presses the keys of the list through the program's key script and runs
// until the last press has settled.
void pressKeys(const std::string &list) {
    keyScriptOption = list;
    loadKeyScript();
    simulate();
}

int runComputer(const bench::Arguments &args) {
    const long presses = bench::countArgument(args, 0, 8000, usage);
    if (args.size() > 1) {
        std::fprintf(stderr, "usage: norvale-bench %s\n", usage);
        return 2;
    }
    useXDisplay = 0;
    simnet();
    convertCapturedNetlist();

    double elapsed = 0;
    uint64_t events = 0;
    {
        const QuietStandardError quiet;
        drawFirstTime();
        restartAtTimeZero();
        done = 0;
        simulate(); // the start settles
        pressKeys("1,1");
        const uint64_t before = phaseFour->eventsApplied;
        const double begin = bench::seconds();
        pressKeys(repeatedKey('0', presses));
        elapsed = bench::seconds() - begin;
        events = phaseFour->eventsApplied - before;
    }

    const std::string high = probeBits("R1"), low = probeBits("AC");
    if (high.size() != 8 || low.size() != 8) {
        std::fprintf(stderr, "computer: the circuit has no eight-bit probes R1 and AC\n");
        return 1;
    }
    const std::string accumulator = accumulatorText(high + low);
    for (const KnownResult &known : knownResults)
        if (known.presses == presses && accumulator != known.accumulator) {
            std::fprintf(stderr, "computer: AC is %s after %ld presses, the program leaves %s there\n",
                         accumulator.c_str(), presses, known.accumulator);
            return 1;
        }
    std::printf("presses=%ld seconds=%.3f events=%llu events_per_press=%.1f peak_mb=%.1f ac=%s "
                "presses_per_s=%.0f\n",
                presses, elapsed, static_cast<unsigned long long>(events),
                static_cast<double>(events) / static_cast<double>(presses), bench::peakMegabytes(),
                accumulator.c_str(), static_cast<double>(presses) / elapsed);
    return 0;
}

const bench::Registrar computer("computer", usage, runComputer);

} // namespace
