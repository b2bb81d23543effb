// The event queue's array, clearing and debug dump.
#include "core/SkewHeap.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sys/mman.h>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

static_assert(sizeof(QueueNode) == 24 && sizeof(QueueNode) % 8 == 0, "a slot is a node's offset in words");
static_assert(std::is_trivially_copyable_v<QueueNode>, "the array is moved with memcpy");

constexpr size_t firstCapacity = 256;
// Slots are 32-bit word offsets, so the array holds at most this many nodes.
constexpr size_t largestCapacity = (size_t{UINT32_MAX} + 1) / (sizeof(QueueNode) / 8);
// A large queue is walked at random; an array of whole 2 MB pages that the
// system may back with huge pages spares most of the address-translation
// misses of that walk.
constexpr size_t hugePageBytes = size_t{2} << 20;

[[noreturn]] void cannotGrow() {
    // Events cannot be dropped without changing the run: it ends here.
    std::cerr << "Out of memory: the event queue cannot grow.\n";
    std::exit(1);
}

// An array for n nodes, or null.
char *allocateArray(size_t n) {
    size_t bytes = n * sizeof(QueueNode);
    size_t alignment = alignof(QueueNode) < 16 ? 16 : alignof(QueueNode);
    if (bytes >= hugePageBytes) {
        bytes = (bytes + hugePageBytes - 1) / hugePageBytes * hugePageBytes;
        alignment = hugePageBytes;
    }
    void *array = std::aligned_alloc(alignment, bytes);
    if (array == nullptr)
        return nullptr;
    if (alignment == hugePageBytes)
        madvise(array, bytes, MADV_HUGEPAGE); // only a hint: failure costs speed, not correctness
    return static_cast<char *>(array);
}

} // namespace

SkewHeap::SkewHeap() : root(nullptr), bytes(nullptr), capacity(0) {
    grow();
}

SkewHeap::~SkewHeap() {
    std::free(bytes);
}

void SkewHeap::grow() {
    const Slot rootSlot = capacity == 0 ? 0 : slotOf(bytes, root);
    const size_t newCapacity = capacity == 0 ? firstCapacity : std::min(2 * capacity, largestCapacity);
    if (newCapacity == capacity)
        cannotGrow();
    char *const array = allocateArray(newCapacity);
    if (array == nullptr)
        cannotGrow();
    if (capacity != 0)
        std::memcpy(array, bytes, capacity * sizeof(QueueNode));
    else
        std::memset(array, 0, sizeof(QueueNode)); // the blank node
    std::free(bytes);
    bytes = array;
    // The new nodes join the free list in array order; slot 0 stays the blank
    // node the root shows while the heap is empty.
    const Slot words = sizeof(QueueNode) / 8;
    const size_t firstNew = capacity == 0 ? 1 : capacity;
    for (size_t k = newCapacity - 1; k >= firstNew; --k) {
        at(bytes, static_cast<Slot>(k * words)).left = freeList;
        freeList = static_cast<Slot>(k * words);
    }
    capacity = newCapacity;
    root = &at(bytes, rootSlot);
}

void SkewHeap::clear() {
    // Rotating left children up flattens the tree into a right chain as it
    // goes, so every node is visited once without a stack.
    Slot p = slotOf(bytes, root);
    while (p != 0) {
        QueueNode &n = at(bytes, p);
        if (const Slot left = n.left) {
            n.left = at(bytes, left).right;
            at(bytes, left).right = p;
            p = left;
        } else {
            const Slot next = n.right;
            n.left = freeList;
            freeList = p;
            p = next;
        }
    }
    root = &at(bytes, 0);
    length = 0;
}

void SkewHeap::print() const {
    traverse(slotOf(bytes, root));
    std::cerr << '\n';
}

void SkewHeap::traverse(Slot p) const {
    // Each frame is a node and how far its dump has got: 0 = not started,
    // 1 = left subtree written, 2 = right subtree written.
    std::vector<std::pair<Slot, int>> stack;
    if (p != 0)
        stack.emplace_back(p, 0);
    while (!stack.empty()) {
        auto &[s, stage] = stack.back();
        const QueueNode &n = at(bytes, s);
        if (stage == 0) {
            Event(n.time, n.eventType, n.signalSerialNumber, n.sigValue).printEvent();
            std::cerr << " down-left";
            stage = 1;
            if (n.left != 0)
                stack.emplace_back(n.left, 0);
        } else if (stage == 1) {
            std::cerr << " up"
                      << " down-right";
            stage = 2;
            if (n.right != 0)
                stack.emplace_back(n.right, 0);
        } else {
            std::cerr << " up";
            stack.pop_back();
        }
    }
}
