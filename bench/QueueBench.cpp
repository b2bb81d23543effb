// queue N: adds N events with random times, many of them equal, to an empty
// event queue and drains it, checking that times come out in order.
//
// hold N [operations]: keeps N events queued; each operation removes the
// earliest and queues one due a short random delay after it, as a running
// circuit does (a million operations by default).  About eight events share
// each time.  Checks that times come out in order.
#include <cstdio>
#include <random>
#include <vector>

#include "Bench.h"
#include "core/SkewHeap.h"

namespace {

int runQueue(const bench::Arguments &args) {
    const long n = bench::countArgument(args, 0, 1000000, "queue N");
    // About eight events share each time, as a busy circuit queues many
    // transitions for the same instant.
    std::mt19937_64 random(12345);
    const unsigned long distinctTimes = static_cast<unsigned long>(n) / 8 + 1;
    std::vector<Event> events;
    events.reserve(static_cast<size_t>(n));
    for (long k = 0; k < n; ++k)
        events.emplace_back(random() % distinctTimes, signalChange, static_cast<int>(k), ONE);

    SkewHeap heap;
    const double start = bench::seconds();
    for (const Event &e : events)
        heap.add(e);
    unsigned long last = 0;
    long outOfOrder = 0;
    while (!heap.isEmpty()) {
        const unsigned long t = heap.min().time;
        outOfOrder += t < last;
        last = t;
        heap.removeMin();
    }
    const double elapsed = bench::seconds() - start;
    if (outOfOrder != 0) {
        std::fprintf(stderr, "queue: %ld events out of order\n", outOfOrder);
        return 1;
    }
    std::printf("seconds=%.3f events_per_s=%.0f\n", elapsed, static_cast<double>(n) / elapsed);
    return 0;
}

int runHold(const bench::Arguments &args) {
    const char *usage = "hold N [operations]";
    const long n = bench::countArgument(args, 0, 1000, usage);
    const long operations = bench::countArgument(args, 1, 1000000, usage);
    // Delays below n / 4 keep about eight events per time among the n queued.
    const unsigned long spread = static_cast<unsigned long>(n) / 4 + 1;
    std::mt19937_64 random(12345);
    // The delays are drawn beforehand, so the timed loop is the queue's alone.
    std::vector<unsigned long> delays(static_cast<size_t>(operations));
    for (unsigned long &d : delays)
        d = random() % spread;
    SkewHeap heap;
    for (long k = 0; k < n; ++k)
        heap.add(random() % spread, signalChange, static_cast<int>(k), ONE);

    const double start = bench::seconds();
    unsigned long last = 0;
    long outOfOrder = 0;
    for (long k = 0; k < operations; ++k) {
        const unsigned long t = heap.root->time;
        const int serial = heap.root->signalSerialNumber;
        outOfOrder += t < last;
        last = t;
        heap.removeMin();
        heap.add(t + delays[static_cast<size_t>(k)], signalChange, serial, ONE);
    }
    const double elapsed = bench::seconds() - start;
    if (outOfOrder != 0) {
        std::fprintf(stderr, "hold: %ld events out of order\n", outOfOrder);
        return 1;
    }
    std::printf("seconds=%.3f operations_per_s=%.0f\n", elapsed, static_cast<double>(operations) / elapsed);
    return 0;
}

const bench::Registrar queue("queue", "queue N", runQueue);
const bench::Registrar hold("hold", "hold N [operations]", runHold);

} // namespace
