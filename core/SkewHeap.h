// The event queue: a skew heap ordered by time.
#pragma once

#include <cstddef>
#include <utility>

#include "core/Event.h"

// A skew heap of events.  Among events of equal time the delivery order is
// fixed by the exact shape merge builds (the first argument wins ties, and a
// root without a left child takes the other heap there without a swap), and
// the kernel applies same-time events in that order, so the shape is part of
// the behaviour.
//
// The heap owns its nodes.  They come from a pool of blocks kept by the heap
// and go back to a free list when removed, so adding and removing an event
// costs no heap allocation once the pool has grown to the queue's peak size.
// When the pool cannot grow, the program ends with status 1 and the message
// "Out of memory: the event queue cannot grow." on standard error.
class SkewHeap {
public:
    Event *root = nullptr;
    int length = 0;

    SkewHeap() = default;
    SkewHeap(const SkewHeap &) = delete;
    SkewHeap &operator=(const SkewHeap &) = delete;
    // Returns the pool's blocks; events still queued are dropped with them.
    ~SkewHeap();

    // Queues a copy of qe (all six fields; the kernel's events have null
    // children).  The existing tree is merge's first argument, so an older
    // event of equal time stays ahead of the new one.
    void add(Event qe) {
        Event *node = allocateNode();
        *node = qe;
        root = merge(root, node);
        ++length;
    }
    // add of a fresh event (null children) built in place, which spares the
    // kernel's hot path a copy.
    [[gnu::always_inline]] void add(unsigned long time, int eventType, int signalSerialNumber,
                                    SignalValue sigValue) {
        Event *node = allocateNode();
        node->lptr = nullptr;
        node->rptr = nullptr;
        node->time = time;
        node->eventType = eventType;
        node->signalSerialNumber = signalSerialNumber;
        node->sigValue = sigValue;
        root = merge(root, node);
        ++length;
    }
    // A copy of the earliest event; the heap must not be empty.
    Event min() const { return *root; }
    // Removes the earliest event; the heap must not be empty.  The old right
    // subtree is merge's first argument and so wins ties against the left.
    [[gnu::always_inline]] void removeMin() {
        Event *old = root;
        root = merge(old->rptr, old->lptr);
        releaseNode(old);
        --length;
    }
    int isEmpty() const { return root == nullptr; }
    int getLength() const { return length; }
    // Removes every event at once (same end state as removeMin until empty).
    void clear();
    // Debug dump of the tree to standard error, ended by a newline.
    void print() const;
    // Writes the subtree at p: each event, then " down-left", its left
    // subtree, " up", " down-right", its right subtree, " up".  Iterative, so
    // a degenerate tree cannot overflow the stack.
    void traverse(Event *p) const;
    // Merges two heaps and returns the new root.  Builds exactly the tree of
    // the recursive rule: the root is h1 unless h2 is strictly earlier; a root
    // without a left child takes the other heap as its left child; otherwise
    // its left child becomes merge(its right child, the other heap) and its
    // former left child moves to the right.  Walks down iteratively, so a long
    // right spine costs no stack.
    [[gnu::always_inline]] Event *merge(Event *h1, Event *h2) {
        if (h1 == nullptr)
            return h2;
        if (h2 == nullptr)
            return h1;
        if (h2->time < h1->time)
            std::swap(h1, h2);
        Event *const result = h1;
        // Invariant: h1 is the root of the merge at this depth and h2 is not
        // null; each turn settles h1's children and descends into its left.
        for (;;) {
            Event *const left = h1->lptr;
            if (left == nullptr) {
                h1->lptr = h2;
                return result;
            }
            // The left child becomes merge(right child, h2); the old left
            // child moves to the right.
            Event *const right = h1->rptr;
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
    Event *freeList = nullptr; // released nodes, linked through lptr
    // The newest block of the pool.  The first node of each block is not
    // handed out: its lptr links to the block before, so keeping the list
    // needs no allocation of its own.
    Event *blocks = nullptr;
    size_t nextBlockSize = 256;   // in nodes; doubles up to a cap as the queue grows
    Event *blockCursor = nullptr; // unused part of the newest block
    Event *blockEnd = nullptr;

    [[gnu::always_inline]] Event *allocateNode() {
        if (freeList != nullptr) {
            Event *node = freeList;
            freeList = node->lptr;
            return node;
        }
        if (blockCursor == blockEnd)
            growPool();
        return blockCursor++;
    }
    void releaseNode(Event *node) {
        node->lptr = freeList;
        freeList = node;
    }
    void growPool();
};
