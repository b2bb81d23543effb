// The captured component list.
#include "core/CompList.h"

#include <iostream>

void ComponentNode::print() const {
    std::cerr << "  componentIndex = " << componentIndex << " decal = " << decal << "\n";
}

void ComponentList::add(ComponentNode *node) {
    node->componentIndex = numberOfComponents;
    node->ptr = nullptr;
    (end ? end->ptr : start) = node;
    end = node;
    ++numberOfComponents;
}

void ComponentList::print() const {
    for (const ComponentNode *n = start; n; n = n->ptr)
        n->print();
}

ComponentList::~ComponentList() {
    std::cerr << "There are " << numberOfComponents << " components.\n";
    // The arrays built from the list hold their own copies.
    while (start) {
        ComponentNode *next = start->ptr;
        delete start;
        start = next;
    }
}
