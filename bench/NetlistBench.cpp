// netlist N: captures a random netlist of N two-input gates, each reading two
// earlier signals, then converts it, checks its connectivity and forms its
// activation lists, timing each stage as the program's start-up runs it and
// reporting the peak resident memory per component.
#include <cstdio>
#include <random>
#include <string>

#include "Bench.h"
#include "core/Ph1.h"
#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/Schmtc.h"
#include "core/addStCmp.h"

namespace {

void gate(int) {}

// A position string of two letter pairs, different for nearby gates.
std::string positionOf(long k) {
    std::string p = "aa-aa";
    p[0] = static_cast<char>('a' + k % 26);
    p[1] = static_cast<char>('a' + k / 26 % 26);
    p[3] = static_cast<char>('a' + k / 676 % 26);
    p[4] = static_cast<char>('a' + k / 17576 % 26);
    return p;
}

void captureGates(long n) {
    std::mt19937_64 random(777);
    const Signal unused(0, "UnNamed");
    const Signal net(static_cast<unsigned>(n), "net");
    // Signal k of the choice is Zero, One or gate k - 2's output.
    auto earlier = [&](long gates) {
        const long k = static_cast<long>(random() % static_cast<unsigned long>(gates + 2));
        return k == 0 ? Zero : k == 1 ? One : net[static_cast<int>(k - 2)];
    };
    for (long k = 0; k < n; ++k) {
        const SD sd(positionOf(k).c_str(), nullptr);
        const Signal in = (earlier(k), earlier(k));
        const Signal out = net[static_cast<int>(k)];
        addStandardComponent(componentOn("And", nullptr, gate, in, unused, out), sd);
    }
}

int runNetlist(const bench::Arguments &args) {
    const long n = bench::countArgument(args, 0, 1000000, "netlist N");
    double t = bench::seconds();
    auto lap = [&t] {
        const double now = bench::seconds();
        const double elapsed = now - t;
        t = now;
        return elapsed;
    };
    captureGates(n);
    const double capture = lap();
    phaseTwo = new PhaseTwo;
    phaseTwo->listsToArrays();
    delete phaseOne; // writes the two count lines, as at start-up
    phaseOne = nullptr;
    const double convert = lap();
    phaseThree = new PhaseThree;
    phaseThree->checkConnectivity();
    const double connectivity = lap();
    phaseThree->formActivationLists();
    const double activation = lap();
    // Peak resident memory over the components: the whole process, capture
    // and conversion together, as the program's start-up holds it.
    const double peakMb = bench::peakMegabytes();
    const double bytesPerComponent = peakMb * 1024.0 * 1024.0 / static_cast<double>(n);
    std::printf(
        "capture_s=%.3f convert_s=%.3f connectivity_s=%.3f activation_s=%.3f start_s=%.3f peak_mb=%.1f "
        "bytes_per_component=%.0f\n",
        capture, convert, connectivity, activation, capture + convert + connectivity + activation, peakMb,
        bytesPerComponent);
    return 0;
}

const bench::Registrar netlist("netlist", "netlist N", runNetlist);

} // namespace
