// The event queue: a skew heap ordered by time.
#pragma once

#include "core/Event.h"

class SkewHeap {
public:
    Event *root = nullptr;
    int length = 0;

    void add(Event qe);
    Event min() const;
    void removeMin();
    int isEmpty() const { return root == nullptr; }
    int getLength() const { return length; }
    void print() const;
    void traverse(Event *p) const;
    Event *merge(Event *h1, Event *h2);
};
