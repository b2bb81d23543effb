// The event queue against the pointer-linked queue it replaced: on long random
// schedules with many equal times, every event must come out in the same
// order with the same fields.
#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>

#include "core/SkewHeap.h"
#include "tests/core/ReferenceSkewHeap.h"

namespace {

struct Schedule {
    const char *what;
    unsigned seed;
    long events;           // events added, all of them removed by the end
    unsigned long spread;  // new events fall within this many units of the clock
    unsigned addPercent;   // chance that a step adds rather than removes, while both are possible
    bool followsTheClock;  // times from the last removed time on, as the kernel queues them
    unsigned latestPerMil; // share of events at the largest time
};

void PrintTo(const Schedule &s, std::ostream *os) {
    *os << s.what;
}

class SameOrderAsTheLinkedQueue : public testing::TestWithParam<Schedule> {};

TEST_P(SameOrderAsTheLinkedQueue, EveryRemovedEventMatches) {
    const Schedule &c = GetParam();
    std::mt19937_64 random(c.seed);
    SkewHeap queue;
    ReferenceSkewHeap reference;
    long added = 0, removed = 0;
    unsigned long clock = 0;
    while (removed < c.events) {
        const bool canAdd = added < c.events, canRemove = !reference.isEmpty();
        if (canAdd && (!canRemove || random() % 100 < c.addPercent)) {
            unsigned long time = (c.followsTheClock ? clock : 0) + random() % c.spread;
            if (random() % 1000 < c.latestPerMil)
                time = ~0UL;
            const Event e(time, static_cast<int>(random() % 4), static_cast<int>(added),
                          static_cast<SignalValue>(random() % 5));
            queue.add(e);
            reference.add(e);
            ++added;
        } else {
            ASSERT_FALSE(queue.isEmpty()) << "after " << removed << " removals";
            const Event got = queue.min(), want = reference.min();
            ASSERT_EQ(got.signalSerialNumber, want.signalSerialNumber) << "removal " << removed;
            ASSERT_EQ(got.time, want.time) << "removal " << removed;
            ASSERT_EQ(got.eventType, want.eventType) << "removal " << removed;
            ASSERT_EQ(got.sigValue, want.sigValue) << "removal " << removed;
            // The kernel reads the root in place; it must agree with min().
            ASSERT_EQ(queue.root->signalSerialNumber, want.signalSerialNumber) << "removal " << removed;
            queue.removeMin();
            reference.removeMin();
            ++removed;
            clock = want.time;
            ASSERT_EQ(queue.getLength(), reference.length) << "removal " << removed;
        }
    }
    EXPECT_TRUE(queue.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Queue, SameOrderAsTheLinkedQueue,
                         testing::Values(
                             // A few thousand events pending, times from a handful of values.
                             Schedule{"ManyPendingFewDistinctTimes", 20261209, 1000000, 8, 55, false, 0},
                             // The kernel's pattern: each event is due at or shortly after the
                             // one just applied, so nearly every time is shared.
                             Schedule{"FollowingTheClockWithShortDelays", 7, 1000000, 4, 50, true, 0},
                             // Mostly adds: the queue grows to most of the events, then drains.
                             Schedule{"GrowingLargeThenDraining", 99, 1000000, 32, 90, true, 0},
                             // Events at the largest time tie with each other and never pass
                             // anything earlier.
                             Schedule{"SomeAtTheLargestTime", 314159, 1000000, 16, 50, true, 20},
                             // Every event at one time: the order is the tree's shape alone.
                             Schedule{"AllAtOneTime", 1, 1000000, 1, 52, false, 0}),
                         [](const testing::TestParamInfo<Schedule> &info) {
                             return std::string(info.param.what);
                         });

} // namespace
