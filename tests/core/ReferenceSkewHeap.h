// The event queue as it was before its nodes moved into contiguous storage:
// pointer-linked nodes from a pool of blocks, merged along the right spine.
// Kept unchanged in behaviour as the reference that the queue's delivery
// order (equal times included) is checked against.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <utility>

#include "core/Event.h"

// A queued event with its two child links.
struct ReferenceEvent {
    ReferenceEvent *lptr;
    ReferenceEvent *rptr;
    unsigned long time;
    int eventType;
    int signalSerialNumber;
    SignalValue sigValue;
};

class ReferenceSkewHeap {
public:
    ReferenceEvent *root = nullptr;
    int length = 0;

    ReferenceSkewHeap() = default;
    ReferenceSkewHeap(const ReferenceSkewHeap &) = delete;
    ReferenceSkewHeap &operator=(const ReferenceSkewHeap &) = delete;
    ~ReferenceSkewHeap() {
        while (blocks != nullptr) {
            ReferenceEvent *before = blocks->lptr;
            std::free(blocks);
            blocks = before;
        }
    }

    void add(const Event &e) {
        ReferenceEvent *node = allocateNode();
        *node = {nullptr, nullptr, e.time, e.eventType, e.signalSerialNumber, e.sigValue};
        root = merge(root, node);
        ++length;
    }
    Event min() const { return Event(root->time, root->eventType, root->signalSerialNumber, root->sigValue); }
    void removeMin() {
        ReferenceEvent *old = root;
        root = merge(old->rptr, old->lptr);
        old->lptr = freeList;
        freeList = old;
        --length;
    }
    bool isEmpty() const { return root == nullptr; }

    // The first argument wins ties; a root without a left child takes the
    // other heap as its left child; otherwise its left child becomes
    // merge(its right child, the other heap) and its former left child moves
    // to the right.
    static ReferenceEvent *merge(ReferenceEvent *h1, ReferenceEvent *h2) {
        if (h1 == nullptr)
            return h2;
        if (h2 == nullptr)
            return h1;
        if (h2->time < h1->time)
            std::swap(h1, h2);
        ReferenceEvent *const result = h1;
        for (;;) {
            ReferenceEvent *const left = h1->lptr;
            if (left == nullptr) {
                h1->lptr = h2;
                return result;
            }
            ReferenceEvent *const right = h1->rptr;
            h1->rptr = left;
            if (right == nullptr) {
                h1->lptr = h2;
                return result;
            }
            if (h2->time < right->time) {
                h1->lptr = h2;
                h1 = h2;
                h2 = right;
            } else {
                h1->lptr = right;
                h1 = right;
            }
        }
    }

private:
    ReferenceEvent *freeList = nullptr; // linked through lptr
    ReferenceEvent *blocks = nullptr;   // each block's first node links to the block before
    ReferenceEvent *blockCursor = nullptr;
    ReferenceEvent *blockEnd = nullptr;
    size_t nextBlockSize = 256;

    ReferenceEvent *allocateNode() {
        if (freeList != nullptr) {
            ReferenceEvent *node = freeList;
            freeList = node->lptr;
            return node;
        }
        if (blockCursor == blockEnd) {
            auto *first = static_cast<ReferenceEvent *>(std::malloc(nextBlockSize * sizeof(ReferenceEvent)));
            if (first == nullptr)
                std::abort(); // a test machine without a few megabytes has other problems
            first->lptr = blocks;
            blocks = first;
            blockCursor = first + 1;
            blockEnd = first + nextBlockSize;
            nextBlockSize = nextBlockSize < (size_t{1} << 20) ? 2 * nextBlockSize : nextBlockSize;
        }
        return blockCursor++;
    }
};
