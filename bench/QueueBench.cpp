// queue N: adds N events with random times, many of them equal, to an empty
// event queue and drains it, checking that times come out in order.
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

const bench::Registrar queue("queue", "queue N", runQueue);

} // namespace
