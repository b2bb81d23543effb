// Keyboard bindings captured from switches and pulsers.
#include "core/SwList.h"

#include "core/Ph1.h"

void SwitchNode::print() const {}

void SwitchList::add(int serialNumber, char keyChar) {
    auto *node = new SwitchNode;
    // The owning component is registered right after this call, so it gets
    // the index equal to the present count.
    node->componentNumber = phaseOne->componentList.numberOfComponents;
    node->signalSerialNumber = serialNumber;
    node->keyChar = keyChar;
    (end ? end->ptr : start) = node;
    end = node;
    ++numberOfSwitches;
}

void SwitchList::print() const {
    for (const SwitchNode *n = start; n; n = n->ptr)
        n->print();
}

SwitchList::~SwitchList() {
    while (start) {
        SwitchNode *next = start->ptr;
        delete start;
        start = next;
    }
}
