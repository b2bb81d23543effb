// The event queue: a skew heap ordered by time, its nodes in one array.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/Event.h"

// A queued event as the queue stores it, in 24 bytes.  Children are slots
// (see SkewHeap); slot 0 is no child.
struct QueueNode {
    unsigned long time;
    uint32_t left;
    uint32_t right;
    int signalSerialNumber;
    unsigned char eventType; // the kernel's event types are small numbers
    SignalValue sigValue : 8;
};

// A skew heap of events.  Among events of equal time the delivery order is
// fixed by the exact shape merge builds (the first argument wins ties, and a
// root without a left child takes the other heap there without a swap), and
// the kernel applies same-time events in that order, so the shape is part of
// the behaviour.
//
// The nodes live in one array that the heap owns and grows by doubling; a
// node is named by its slot, its byte offset in the array divided by eight,
// so that a 32-bit child link addresses it with no multiplication.  Removed
// nodes go back to a free list, so adding and removing an event costs no
// heap allocation once the array has grown to the queue's peak size.  When
// the array cannot grow, the program ends with status 1 and the message
// "Out of memory: the event queue cannot grow." on standard error.
class SkewHeap {
public:
    using Slot = uint32_t;

    // The earliest event, read in place by the kernel.  While the heap is
    // empty it is the blank node at slot 0, which is never delivered.
    QueueNode *root;

    SkewHeap();
    SkewHeap(const SkewHeap &) = delete;
    SkewHeap &operator=(const SkewHeap &) = delete;
    // Frees the array; events still queued are dropped with it.
    ~SkewHeap();

    // Queues a copy of qe.  The existing tree is merge's first argument, so
    // an older event of equal time stays ahead of the new one.
    void add(const Event &qe) { add(qe.time, qe.eventType, qe.signalSerialNumber, qe.sigValue); }
    // add of an event given field by field, built in place on the kernel's
    // hot path.  eventType must fit in a byte.
    [[gnu::always_inline]] void add(unsigned long time, int eventType, int signalSerialNumber,
                                    SignalValue sigValue) {
        if (freeList == 0)
            grow();
        // The fields are read into locals first: a store to a node may alias
        // them as far as the compiler knows.
        char *const base = bytes;
        const Slot s = freeList;
        QueueNode *const oldRoot = root;
        QueueNode &node = at(base, s);
        freeList = node.left;
        node.time = time;
        node.left = 0;
        node.right = 0;
        node.signalSerialNumber = signalSerialNumber;
        node.eventType = static_cast<unsigned char>(eventType);
        node.sigValue = sigValue;
        if (oldRoot == blank(base) || time < oldRoot->time) {
            // The new node has no left child: it takes the old tree there.
            node.left = slotOf(base, oldRoot);
            root = &node;
        } else {
            insertBelow(base, oldRoot, s, time);
        }
        ++length;
    }
    // A copy of the earliest event; the heap must not be empty.
    Event min() const { return Event(root->time, root->eventType, root->signalSerialNumber, root->sigValue); }
    // Removes the earliest event; the heap must not be empty.  The old right
    // subtree is merge's first argument and so wins ties against the left.
    [[gnu::always_inline]] void removeMin() {
        char *const base = bytes;
        QueueNode *const old = root;
        const Slot released = freeList;
        // Without a right child the left one (possibly none) is the rest.
        const Slot right = old->right;
        const Slot next = right == 0 ? old->left : mergeBoth(base, right, old->left);
        old->left = released;
        freeList = slotOf(base, old);
        root = &at(base, next);
        --length;
    }
    int isEmpty() const { return root == blank(bytes); }
    int getLength() const { return length; }
    // Removes every event at once (same end state as removeMin until empty).
    void clear();
    // Debug dump of the tree to standard error, ended by a newline.
    void print() const;
    // Writes the subtree at slot p: each event, then " down-left", its left
    // subtree, " up", " down-right", its right subtree, " up".  Iterative, so
    // a degenerate tree cannot overflow the stack.
    void traverse(Slot p) const;

    // The root's slot, 0 when empty, and the node at a slot: for walking the
    // tree (the dump, and tests of its shape and of merge on trees built by
    // hand).
    Slot rootIndex() const { return slotOf(bytes, root); }
    const QueueNode &node(Slot s) const { return at(bytes, s); }
    QueueNode &node(Slot s) { return at(bytes, s); }

    // Merges the heaps at slots h1 and h2 and returns the new root.  Builds
    // exactly the tree of the recursive rule: the root is h1 unless h2 is
    // strictly earlier; a root without a left child takes the other heap as
    // its left child; otherwise its left child becomes merge(its right
    // child, the other heap) and its former left child moves to the right.
    // Walks down iteratively, so a long right spine costs no stack.
    //
    // A node never has a right child without a left one (children are only
    // ever given to the left, and moved right when the left is replaced), so
    // a root without a left child has no right child either, and giving it
    // the other heap on the left and its (empty) left on the right is the
    // same as not swapping: one test serves both cases.  Trees built by hand
    // and given to merge must keep that rule too.
    Slot merge(Slot h1, Slot h2) {
        if (h1 == 0)
            return h2;
        if (h2 == 0)
            return h1;
        return mergeBoth(bytes, h1, h2);
    }

private:
    int length = 0;    // events queued, read through getLength
    char *bytes;       // the array of nodes; slot s is at bytes + 8 * s
    Slot freeList = 0; // released and never used nodes, linked through left
    size_t capacity;   // in nodes, the blank node at slot 0 included

    [[gnu::always_inline]] static QueueNode &at(char *base, Slot s) {
        return *reinterpret_cast<QueueNode *>(base + static_cast<size_t>(s) * 8);
    }
    [[gnu::always_inline]] static Slot slotOf(const char *base, const QueueNode *n) {
        return static_cast<Slot>(static_cast<size_t>(reinterpret_cast<const char *>(n) - base) / 8);
    }
    [[gnu::always_inline]] static const QueueNode *blank(const char *base) {
        return reinterpret_cast<const QueueNode *>(base);
    }
    // merge of the heaps at h1 and h2, both not empty, in the array at base.
    [[gnu::always_inline]] static Slot mergeBoth(char *base, Slot h1, Slot h2) {
        unsigned long t2 = at(base, h2).time;
        if (t2 < at(base, h1).time) {
            t2 = at(base, h1).time;
            const Slot s = h1;
            h1 = h2;
            h2 = s;
        }
        const Slot result = h1;
        // Invariant: n is the root of the merge at this depth, h2 is not
        // empty and t2 is its time; each turn settles n's children and
        // descends into its new left child.
        for (QueueNode *n = &at(base, h1);;) {
            const Slot left = n->left;
            const Slot right = n->right;
            n->right = left;
            if (right == 0) {
                n->left = h2;
                return result;
            }
            const unsigned long tr = at(base, right).time;
            if (t2 < tr) {
                n->left = h2;
                n = &at(base, h2);
                h2 = right;
                t2 = tr;
            } else {
                n->left = right;
                n = &at(base, right);
            }
        }
    }
    // merge(top, s) for a fresh node s of the given time, without children,
    // and a tree whose root top is not later: the same tree, with the steps
    // that cannot happen left out.
    [[gnu::always_inline]] static void insertBelow(char *base, QueueNode *top, Slot s, unsigned long time) {
        for (QueueNode *n = top;;) {
            const Slot left = n->left;
            const Slot right = n->right;
            n->right = left;
            if (right == 0) {
                n->left = s;
                return;
            }
            QueueNode *const r = &at(base, right);
            if (time < r->time) {
                n->left = s;
                at(base, s).left = right;
                return;
            }
            n->left = right;
            n = r;
        }
    }
    // Doubles the array and links the new nodes into the free list.
    void grow();
};
