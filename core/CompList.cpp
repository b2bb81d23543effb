// The captured component list.
#include "core/CompList.h"

#include <iostream>
#include <new>

void ComponentNode::print() const {
    std::cerr << "  componentIndex = " << componentIndex << " decal = " << decal << "\n";
}

ComponentNode *ComponentList::newNode() {
    return new (storage.allocate<ComponentNode>(1, numberOfComponents)) ComponentNode;
}

namespace {

size_t wanted(int count) {
    return count < 1 ? 0 : static_cast<size_t>(count);
}

} // namespace

void ComponentList::add(ComponentNode *node) {
    summed.ints += wanted(node->numberOfDataInputs) + wanted(node->numberOfControlInputs) +
                   wanted(node->numberOfOutputs) + wanted(node->numberOfIntegerParameters);
    summed.bytes += wanted(node->numberOfByteParameters);
    summed.words32 += wanted(node->numberOfInternal32BitVariables);
    summed.words16 += wanted(node->numberOfInternal16BitVariables);
    summed.words8 += wanted(node->numberOfInternal8BitVariables);
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

void ComponentList::releaseBefore(const ComponentNode *next) {
    start = const_cast<ComponentNode *>(next);
    if (!next)
        end = nullptr;
    storage.releaseBefore(next ? next->componentIndex : numberOfComponents);
}

ComponentList::~ComponentList() {
    // The arrays built from the list hold their own copies; the storage
    // frees the nodes.
    std::cerr << "There are " << numberOfComponents << " components.\n";
}
