// The event queue's pool, clearing and debug dump.
#include "core/SkewHeap.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <iostream>
#include <sys/mman.h>
#include <utility>
#include <vector>

namespace {

// Blocks grow geometrically up to this many nodes, so a small queue costs
// little memory and a queue of millions needs few allocations.
constexpr size_t largestBlockSize = size_t{1} << 20;
// A large queue is walked at random; blocks of whole 2 MB pages that the
// system may back with huge pages spare most of the address-translation
// misses of that walk.
constexpr size_t hugePageBytes = size_t{2} << 20;

} // namespace

SkewHeap::~SkewHeap() {
    while (blocks != nullptr) {
        Event *before = blocks->lptr;
        std::free(blocks);
        blocks = before;
    }
}

void SkewHeap::growPool() {
    size_t bytes = nextBlockSize * sizeof(Event);
    size_t alignment = alignof(std::max_align_t);
    if (bytes >= hugePageBytes) {
        bytes = (bytes + hugePageBytes - 1) / hugePageBytes * hugePageBytes;
        alignment = hugePageBytes;
    }
    void *block = std::aligned_alloc(alignment, bytes);
    if (block == nullptr) {
        // Events cannot be dropped without changing the run: it ends here.
        std::cerr << "Out of memory: the event queue cannot grow.\n";
        std::exit(1);
    }
    if (alignment == hugePageBytes)
        madvise(block, bytes, MADV_HUGEPAGE); // only a hint: failure costs speed, not correctness
    Event *const first = static_cast<Event *>(block);
    first->lptr = blocks;
    blocks = first;
    blockCursor = first + 1;
    blockEnd = first + bytes / sizeof(Event);
    nextBlockSize = std::min(2 * nextBlockSize, largestBlockSize);
}

void SkewHeap::clear() {
    // Rotating left children up flattens the tree into a right chain as it
    // goes, so every node is visited once without a stack.
    Event *p = root;
    while (p != nullptr) {
        if (Event *left = p->lptr) {
            p->lptr = left->rptr;
            left->rptr = p;
            p = left;
        } else {
            Event *next = p->rptr;
            releaseNode(p);
            p = next;
        }
    }
    root = nullptr;
    length = 0;
}

void SkewHeap::print() const {
    traverse(root);
    std::cerr << '\n';
}

void SkewHeap::traverse(Event *p) const {
    // Each frame is a node and how far its dump has got: 0 = not started,
    // 1 = left subtree written, 2 = right subtree written.
    std::vector<std::pair<Event *, int>> stack;
    if (p != nullptr)
        stack.emplace_back(p, 0);
    while (!stack.empty()) {
        auto &[node, stage] = stack.back();
        if (stage == 0) {
            node->printEvent();
            std::cerr << " down-left";
            stage = 1;
            if (node->lptr != nullptr)
                stack.emplace_back(node->lptr, 0);
        } else if (stage == 1) {
            std::cerr << " up"
                      << " down-right";
            stage = 2;
            if (node->rptr != nullptr)
                stack.emplace_back(node->rptr, 0);
        } else {
            std::cerr << " up";
            stack.pop_back();
        }
    }
}
