// Registration of one captured component.
#include "core/addStCmp.h"

#include "core/Ph1.h"

namespace {

// A pin array: the bus's serial numbers in bus order (empty for an empty bus).
void copyPins(const Signal &bus, int &count, std::vector<int> &pins) {
    count = bus.length;
    pins = bus.serialNumber;
}

// A parameter array: count entries of values, or none when count < 1.
template <typename T>
void copyParameters(int count, const T *values, int &storedCount, std::vector<T> &stored) {
    storedCount = count;
    stored.clear();
    if (count > 0 && values)
        stored.assign(values, values + count);
}

} // namespace

void addStandardComponent(ComponentFunction evaluate, SecondaryEvaluatePointer secondaryEvaluate,
                          const int *iconArray, ComponentFunction drawDynamic,
                          ComponentFunction xEventTriggered, ComponentFunction heapQueueEventTriggered,
                          int outputOverloadable, int selfActivating, const char *decal, const SD &sd,
                          const Signal &dataIn, const Signal &controlIn, const Signal &out,
                          int numberOfIntegerParameters, const int *integerParameters,
                          int numberOfByteParameters, const unsigned char *byteParameters,
                          int numberOfInternal32BitVariables, int numberOfInternal16BitVariables,
                          int numberOfInternal8BitVariables) {
    auto *node = new ComponentNode;
    node->logicEvaluate = evaluate;
    node->secondaryEvaluate = secondaryEvaluate;
    node->iconArray = visibleFlag ? iconArray : nullptr;
    node->drawDynamic = drawDynamic;
    node->xEventTriggered = xEventTriggered;
    node->heapQueueEventTriggered = heapQueueEventTriggered;
    node->outputOverloadable = outputOverloadable;
    node->selfActivating = selfActivating;
    // A label given through the descriptor overrides the component's default.
    const char *label = sd.decal ? sd.decal : decal;
    node->decal = label ? label : "";
    node->graphicPosition = sd.graphicPosition ? sd.graphicPosition : "";
    node->graphicLevel = sd.graphicLevel;
    copyPins(dataIn, node->numberOfDataInputs, node->dataInputs);
    copyPins(controlIn, node->numberOfControlInputs, node->controlInputs);
    copyPins(out, node->numberOfOutputs, node->outputs);
    copyParameters(numberOfIntegerParameters, integerParameters, node->numberOfIntegerParameters,
                   node->integerParameters);
    copyParameters(numberOfByteParameters, byteParameters, node->numberOfByteParameters,
                   node->byteParameters);
    node->numberOfInternal32BitVariables = numberOfInternal32BitVariables;
    node->numberOfInternal16BitVariables = numberOfInternal16BitVariables;
    node->numberOfInternal8BitVariables = numberOfInternal8BitVariables;
    ensurePhaseOne();
    phaseOne->componentList.add(node);
}

void addStandardComponent(ComponentFunction evaluate, const int *iconArray, const char *decal, const SD &sd,
                          const Signal &dataIn, const Signal &controlIn, const Signal &out) {
    addStandardComponent(evaluate, SecondaryEvaluatePointer{}, iconArray, nullptr, nullptr, nullptr, 0, 0,
                         decal, sd, dataIn, controlIn, out, 0, nullptr, 0, nullptr, 0, 0, 0);
}
