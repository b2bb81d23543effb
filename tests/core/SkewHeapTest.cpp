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
#include "tests/core/ReferenceSkewHeap.h"

namespace {

// The merge rule written recursively, exactly as stated, as the reference the
// queue's own merge must match node for node.
ReferenceEvent *referenceMerge(ReferenceEvent *h1, ReferenceEvent *h2) {
    if (h1 == nullptr)
        return h2;
    if (h2 == nullptr)
        return h1;
    if (h2->time < h1->time)
        return referenceMerge(h2, h1);
    if (h1->lptr == nullptr) {
        h1->lptr = h2;
    } else {
        ReferenceEvent *formerLeft = h1->lptr;
        h1->lptr = referenceMerge(h1->rptr, h2);
        h1->rptr = formerLeft;
    }
    return h1;
}

// A heap of plain new'd nodes driven by the reference merge.
struct ReferenceHeap {
    ReferenceEvent *root = nullptr;
    std::vector<ReferenceEvent *> nodes; // for deletion

    ~ReferenceHeap() {
        for (ReferenceEvent *e : nodes)
            delete e;
    }
    void add(const Event &qe) {
        nodes.push_back(
            new ReferenceEvent{nullptr, nullptr, qe.time, qe.eventType, qe.signalSerialNumber, qe.sigValue});
        root = referenceMerge(root, nodes.back());
    }
    void removeMin() { root = referenceMerge(root->rptr, root->lptr); }
};

// The tree as text: "(serial@time left right)", "." for an empty subtree.
std::string shape(const ReferenceEvent *p) {
    if (p == nullptr)
        return ".";
    return "(" + std::to_string(p->signalSerialNumber) + "@" + std::to_string(p->time) + " " +
           shape(p->lptr) + " " + shape(p->rptr) + ")";
}

// The same text for the subtree at slot s of the queue.
std::string shape(const SkewHeap &heap, SkewHeap::Slot s) {
    if (s == 0)
        return ".";
    const QueueNode &n = heap.node(s);
    return "(" + std::to_string(n.signalSerialNumber) + "@" + std::to_string(n.time) + " " +
           shape(heap, n.left) + " " + shape(heap, n.right) + ")";
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
    const SkewHeap::Slot root = heap.rootIndex();
    heap.add(event(4, 2));
    heap.add(event(9, 3));
    heap.add(event(4, 4));
    EXPECT_EQ(heap.rootIndex(), root);
    EXPECT_EQ(heap.root, &heap.node(root));
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
            ASSERT_EQ(shape(heap, heap.rootIndex()), shape(reference.root))
                << "round " << round << " op " << op;
        }
    }
}

// A right spine of a million nodes (each with a leaf on its left) would need
// a million nested calls of a recursive merge; the queue's merge walks it
// without any.
TEST(SkewHeap, MergesALongRightSpineWithoutRecursion) {
    const int n = 1000000;
    // 2n + 1 nodes from the queue's own array: strictly decreasing times make
    // each new event the root with the old tree on its left, a path that
    // lists every slot.
    SkewHeap heap;
    for (int k = 0; k <= 2 * n; ++k)
        heap.add(event(static_cast<unsigned long>(2 * n - k), k));
    std::vector<SkewHeap::Slot> slots;
    for (SkewHeap::Slot s = heap.rootIndex(); s != 0; s = heap.node(s).left)
        slots.push_back(s);
    ASSERT_EQ(slots.size(), static_cast<size_t>(2 * n + 1));
    // Rebuilt by hand: spine k has time k, leaf k on its left and spine k + 1
    // on its right; the late node stands alone.
    const SkewHeap::Slot *const spine = slots.data(), *const leaf = slots.data() + n;
    const SkewHeap::Slot late = slots[2 * n];
    for (int k = 0; k < n; ++k) {
        heap.node(leaf[k]) = QueueNode{static_cast<unsigned long>(k), 0, 0, -k, signalChange, ONE};
        heap.node(spine[k]) = QueueNode{
            static_cast<unsigned long>(k), leaf[k], k + 1 < n ? spine[k + 1] : 0, k, signalChange, ONE};
    }
    heap.node(late) = QueueNode{static_cast<unsigned long>(n), 0, 0, n, signalChange, ONE};
    const SkewHeap::Slot root = heap.merge(spine[0], late);
    ASSERT_EQ(root, spine[0]);
    // Each spine node took the rest of the merge on its left and moved its
    // leaf to the right, so the spine now runs down the left to the new node.
    SkewHeap::Slot p = root;
    for (int k = 0; k < n; ++k, p = heap.node(p).left) {
        ASSERT_EQ(p, spine[k]);
        ASSERT_EQ(heap.node(p).right, leaf[k]);
    }
    EXPECT_EQ(p, late);
}

// A path a million deep (each event earlier than all before it) is drained
// and cleared without a call per level.
TEST(SkewHeap, ADeepTreeIsDrainedAndClearedWithoutRecursion) {
    const int n = 1000000;
    SkewHeap drained, cleared;
    for (int k = 0; k < n; ++k) {
        drained.add(event(static_cast<unsigned long>(n - k), k));
        cleared.add(event(static_cast<unsigned long>(n - k), k));
    }
    std::vector<int> order = drain(drained);
    ASSERT_EQ(order.size(), static_cast<size_t>(n));
    for (int k = 0; k < n; ++k)
        ASSERT_EQ(order[static_cast<size_t>(k)], n - 1 - k);
    cleared.clear();
    EXPECT_TRUE(cleared.isEmpty());
    cleared.add(event(3, 9));
    EXPECT_EQ(drain(cleared), std::vector<int>{9});
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
