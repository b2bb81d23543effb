// Captured components, in capture order.
#pragma once

#include <string>
#include <vector>

#include "core/Signal.h"

// Every runtime function of a component takes only its component index.
using ComponentFunction = void (*)(int cind);

using signalBlockEvaluatePointer = void (*)(int &, int, const SignalValue *, int, SignalValue *);
using logicBlockEvaluatePointer = void (*)(int &, int, const int *, int, int *);

// Stored and copied for every component, never called.
union SecondaryEvaluatePointer {
    signalBlockEvaluatePointer s;
    logicBlockEvaluatePointer l;
};

// One captured component: its runtime functions, placement, pins and the
// sizes of its parameters and private state.
struct ComponentNode {
    ComponentNode *ptr = nullptr;
    int componentIndex = 0;
    ComponentFunction logicEvaluate = nullptr;
    SecondaryEvaluatePointer secondaryEvaluate{};
    const int *iconArray = nullptr;
    ComponentFunction drawDynamic = nullptr;
    ComponentFunction xEventTriggered = nullptr;
    ComponentFunction heapQueueEventTriggered = nullptr;
    int outputOverloadable = 0;
    int selfActivating = 0;
    int graphicLevel = 1;
    std::string graphicPosition;
    std::string decal;
    int numberOfDataInputs = 0;
    std::vector<int> dataInputs;
    int numberOfControlInputs = 0;
    std::vector<int> controlInputs;
    int numberOfOutputs = 0;
    std::vector<int> outputs;
    int numberOfIntegerParameters = 0;
    std::vector<int> integerParameters;
    int numberOfByteParameters = 0;
    std::vector<unsigned char> byteParameters;
    int numberOfInternal32BitVariables = 0;
    int numberOfInternal16BitVariables = 0;
    int numberOfInternal8BitVariables = 0;

    // One line to standard error: index and label.
    void print() const;
};

class ComponentList {
public:
    int numberOfComponents = 0;
    ComponentNode *start = nullptr;
    ComponentNode *end = nullptr;

    ComponentList() = default;
    ComponentList(const ComponentList &) = delete;
    ComponentList &operator=(const ComponentList &) = delete;

    // Appends node, giving it the next component index.
    void add(ComponentNode *node);
    // Prints every node in capture order.
    void print() const;
    // Writes the "There are N components." count line and frees the nodes.
    ~ComponentList();
};
