// The event queue: delivery order (equal times included), the exact tree the
// merge builds, depth without recursion, and the debug dump.
#include <gtest/gtest.h>

#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "core/SkewHeap.h"

namespace {

// The merge rule written recursively, exactly as stated, as the reference the
// queue's own merge must match node for node.
Event *referenceMerge(Event *h1, Event *h2) {
    if (h1 == nullptr)
        return h2;
    if (h2 == nullptr)
        return h1;
    if (h2->time < h1->time)
        return referenceMerge(h2, h1);
    if (h1->lptr == nullptr) {
        h1->lptr = h2;
    } else {
        Event *formerLeft = h1->lptr;
        h1->lptr = referenceMerge(h1->rptr, h2);
        h1->rptr = formerLeft;
    }
    return h1;
}

// A heap of plain new'd nodes driven by the reference merge.
struct ReferenceHeap {
    Event *root = nullptr;
    std::vector<Event *> nodes; // for deletion

    ~ReferenceHeap() {
        for (Event *e : nodes)
            delete e;
    }
    void add(const Event &qe) {
        nodes.push_back(new Event(qe));
        root = referenceMerge(root, nodes.back());
    }
    void removeMin() { root = referenceMerge(root->rptr, root->lptr); }
};

// The tree as text: "(serial left right)", "." for an empty subtree.
std::string shape(const Event *p) {
    if (p == nullptr)
        return ".";
    return "(" + std::to_string(p->signalSerialNumber) + "@" + std::to_string(p->time) + " " +
           shape(p->lptr) + " " + shape(p->rptr) + ")";
}

Event event(unsigned long time, int serial, SignalValue v = ONE) {
    return Event(time, signalChange, serial, v);
}

// Serial numbers in the order the heap delivers them.
std::vector<int> drain(SkewHeap &heap) {
    std::vector<int> order;
    while (!heap.isEmpty()) {
        order.push_back(heap.min().signalSerialNumber);
        heap.removeMin();
    }
    return order;
}

struct DeliveryCase {
    const char *what;
    std::vector<unsigned long> times; // event k gets serial number k
    std::vector<int> delivered;       // serial numbers in delivery order
};

void PrintTo(const DeliveryCase &c, std::ostream *os) {
    *os << c.what;
}

class Delivery : public testing::TestWithParam<DeliveryCase> {};

TEST_P(Delivery, FollowsTheMergeTieBreaks) {
    SkewHeap heap;
    const DeliveryCase &c = GetParam();
    for (size_t k = 0; k < c.times.size(); ++k)
        heap.add(event(c.times[k], static_cast<int>(k)));
    EXPECT_EQ(drain(heap), c.delivered);
}

INSTANTIATE_TEST_SUITE_P(
    Queue, Delivery,
    testing::Values(DeliveryCase{"DistinctTimesLeaveSorted", {5, 3, 9, 1}, {3, 1, 0, 2}},
                    DeliveryCase{"TheEarliestLeavesFirstAndEqualTimesInArrivalOrder", {5, 3, 5}, {1, 0, 2}},
                    // With equal times the order is the tree's, not arrival order.
                    DeliveryCase{"TwoEqualTimesLeaveInArrivalOrder", {7, 7}, {0, 1}},
                    DeliveryCase{"ThreeEqualTimesLeaveInArrivalOrder", {7, 7, 7}, {0, 1, 2}},
                    DeliveryCase{"FourEqualTimesLeaveInTreeOrder", {7, 7, 7, 7}, {0, 2, 1, 3}},
                    DeliveryCase{"FiveEqualTimesLeaveInTreeOrder", {7, 7, 7, 7, 7}, {0, 1, 3, 2, 4}},
                    DeliveryCase{"AnEarlierSecondEventReshapesTheTies", {7, 2, 7, 7}, {1, 2, 0, 3}},
                    DeliveryCase{"AnEarlierLastEventLeavesTheTiesInOrder", {7, 7, 7, 2}, {3, 0, 1, 2}},
                    DeliveryCase{"TheLargestTimeLeavesLast", {~0UL, 0, ~0UL}, {1, 0, 2}}),
    [](const testing::TestParamInfo<DeliveryCase> &info) { return std::string(info.param.what); });

TEST(SkewHeap, LengthAndEmptinessFollowAddsAndRemovals) {
    SkewHeap heap;
    EXPECT_TRUE(heap.isEmpty());
    for (unsigned long t : {5UL, 3UL, 5UL})
        heap.add(event(t, 0));
    EXPECT_FALSE(heap.isEmpty());
    std::vector<unsigned long> times;
    std::vector<int> lengths{heap.getLength()};
    while (!heap.isEmpty()) {
        times.push_back(heap.min().time);
        heap.removeMin();
        lengths.push_back(heap.getLength());
    }
    EXPECT_EQ(times, (std::vector<unsigned long>{3, 5, 5}));
    EXPECT_EQ(lengths, (std::vector<int>{3, 2, 1, 0}));
}

TEST(SkewHeap, AnEqualTimeNeverDisplacesTheRoot) {
    SkewHeap heap;
    heap.add(event(4, 1));
    Event *const root = heap.root;
    heap.add(event(4, 2));
    heap.add(event(9, 3));
    heap.add(event(4, 4));
    EXPECT_EQ(heap.root, root);
}

// Random adds and removals with few distinct times: after every operation the
// queue's tree must be the reference's, so ties resolve identically.
TEST(SkewHeap, BuildsTheSameTreeAsTheRecursiveMerge) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 40; ++round) {
        SkewHeap heap;
        ReferenceHeap reference;
        const unsigned distinctTimes = 1 + round % 6;
        for (int op = 0; op < 400; ++op) {
            if (heap.isEmpty() || random() % 3 != 0) {
                const Event e = event(random() % distinctTimes, op);
                heap.add(e);
                reference.add(e);
            } else {
                ASSERT_EQ(heap.min().signalSerialNumber, reference.root->signalSerialNumber);
                heap.removeMin();
                reference.removeMin();
            }
            ASSERT_EQ(shape(heap.root), shape(reference.root)) << "round " << round << " op " << op;
        }
    }
}

// A right spine of a million nodes (each with a leaf on its left) would need
// a million nested calls of a recursive merge; the queue's merge walks it
// without any.
TEST(SkewHeap, MergesALongRightSpineWithoutRecursion) {
    const int n = 1000000;
    std::vector<Event> spine(n), leaf(n);
    for (int k = 0; k < n; ++k) {
        leaf[k] = event(k, -k);
        spine[k] = event(k, k);
        spine[k].lptr = &leaf[k];
        spine[k].rptr = k + 1 < n ? &spine[k + 1] : nullptr;
    }
    Event late = event(n, n);
    SkewHeap heap;
    Event *root = heap.merge(&spine[0], &late);
    ASSERT_EQ(root, &spine[0]);
    // Each spine node took the rest of the merge on its left and moved its
    // leaf to the right, so the spine now runs down the left to the new node.
    const Event *p = root;
    for (int k = 0; k < n; ++k, p = p->lptr) {
        ASSERT_EQ(p, &spine[k]);
        ASSERT_EQ(p->rptr, &leaf[k]);
    }
    EXPECT_EQ(p, &late);
}

TEST(SkewHeap, ClearEmptiesTheQueueAndReusesItsNodes) {
    SkewHeap heap;
    for (int k = 0; k < 5000; ++k)
        heap.add(event(k % 17, k));
    heap.clear();
    EXPECT_TRUE(heap.isEmpty());
    EXPECT_EQ(heap.getLength(), 0);
    for (unsigned long t : {8UL, 2UL, 8UL})
        heap.add(event(t, static_cast<int>(t)));
    EXPECT_EQ(drain(heap), (std::vector<int>{2, 8, 8}));
}

// With the address space limited to what the process uses now plus a few
// megabytes, the queue's pool soon cannot grow.
[[noreturn]] void addEventsUntilMemoryRunsOut() {
    long pages = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    const rlim_t used = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
    const rlimit limit{used + (rlim_t{64} << 20), used + (rlim_t{64} << 20)};
    setrlimit(RLIMIT_AS, &limit);
    SkewHeap *heap = new SkewHeap;
    for (unsigned long t = 0;; ++t)
        heap->add(event(t % 1000, 0));
}

TEST(SkewHeapDeathTest, RunningOutOfMemoryEndsTheProgramWithAMessage) {
    EXPECT_EXIT(addEventsUntilMemoryRunsOut(), testing::ExitedWithCode(1),
                "^Out of memory: the event queue cannot grow\\.\n$");
}

struct DumpCase {
    const char *what;
    std::vector<Event> events;
    std::string text;
};

void PrintTo(const DumpCase &c, std::ostream *os) {
    *os << c.what;
}

class Dump : public testing::TestWithParam<DumpCase> {};

TEST_P(Dump, WritesTheTreeToStandardError) {
    SkewHeap heap;
    for (const Event &e : GetParam().events)
        heap.add(e);
    testing::internal::CaptureStderr();
    heap.print();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Queue, Dump,
    testing::Values(
        DumpCase{"AnEmptyHeapWritesOnlyANewline", {}, "\n"},
        DumpCase{"OneEventWritesItsLineAndTwoEmptySubtrees",
                 {Event(3, signalChange, 7, XXX)},
                 " printEvent()--Time: 3 EventType = 0 signalSerialNumber = 7 sigValue = XXX\n"
                 " down-left up down-right up\n"},
        DumpCase{"ARootWithBothChildrenWritesLeftBeforeRight",
                 {Event(1, signalChange, 2, ZERO), Event(4, signalChange, 5, ONE),
                  Event(6, signalChange, 8, UNINITIALIZED)},
                 " printEvent()--Time: 1 EventType = 0 signalSerialNumber = 2 sigValue = ZERO\n"
                 " down-left printEvent()--Time: 6 EventType = 0 signalSerialNumber = 8 sigValue = "
                 "UNINITIALIZED\n"
                 " down-left up down-right up up down-right"
                 " printEvent()--Time: 4 EventType = 0 signalSerialNumber = 5 sigValue = ONE\n"
                 " down-left up down-right up up\n"},
        DumpCase{"AValueOutsideTheFiveIsNamedAsNoSignal",
                 {Event(0, signalChange, 1, static_cast<SignalValue>(7))},
                 " printEvent()--Time: 0 EventType = 0 signalSerialNumber = 1 sigValue = NOT A SIGNAL\n"
                 " down-left up down-right up\n"}),
    [](const testing::TestParamInfo<DumpCase> &info) { return std::string(info.param.what); });

} // namespace
