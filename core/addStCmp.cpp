// Registration of one captured component.
#include "core/addStCmp.h"

#include "core/InPlace.h"
#include "core/Ph1.h"

namespace {

// The pins of a bus in bus order, kept in the list's storage (none for a
// missing or empty bus).
ValueSpan<int> keepPins(ComponentList &list, const Signal *bus, int &count) {
    if (!bus) {
        count = 0;
        return {};
    }
    count = bus->length;
    return list.keep(ValueSpan<int>(bus->serialNumber.data(), static_cast<int>(bus->serialNumber.size())));
}

} // namespace

StandardComponent componentOn(const char *decal, const int *icon, ComponentFunction evaluate,
                              const Signal &dataIn, const Signal &controlIn, const Signal &out) {
    StandardComponent c;
    c.decal = decal;
    c.icon = icon;
    c.evaluate = evaluate;
    c.dataIn = &dataIn;
    c.controlIn = &controlIn;
    c.out = &out;
    return c;
}

void addStandardComponent(const StandardComponent &component, const SD &sd) {
    ensurePhaseOne();
    ComponentList &list = phaseOne->componentList;
    ComponentNode *node = list.newNode();
    node->logicEvaluate = component.evaluate;
    node->kind = component.kind;
    node->secondaryEvaluate = component.secondaryEvaluate;
    node->iconArray = visibleFlag ? component.icon : nullptr;
    node->drawDynamic = component.draw;
    node->xEventTriggered = component.key;
    node->heapQueueEventTriggered = component.heapQueueEventTriggered;
    node->outputOverloadable = component.outputOverloadable;
    node->selfActivating = component.selfActivating;
    // A label given through the descriptor overrides the component's default.
    node->decal = sd.decal ? sd.decal : component.decal;
    node->graphicPosition = sd.graphicPosition;
    node->graphicLevel = sd.graphicLevel;
    node->dataInputs = keepPins(list, component.dataIn, node->numberOfDataInputs);
    node->controlInputs = keepPins(list, component.controlIn, node->numberOfControlInputs);
    node->outputs = keepPins(list, component.out, node->numberOfOutputs);
    node->form = inPlaceFormFor(component.inPlace, node->numberOfDataInputs, node->numberOfControlInputs,
                                node->numberOfOutputs);
    node->integerParameters = list.keep(component.integerParameters);
    node->numberOfIntegerParameters = node->integerParameters.size();
    node->byteParameters = list.keep(component.byteParameters);
    node->numberOfByteParameters = node->byteParameters.size();
    node->numberOfInternal32BitVariables = component.numberOfInternal32BitVariables;
    node->numberOfInternal16BitVariables = component.numberOfInternal16BitVariables;
    node->numberOfInternal8BitVariables = component.numberOfInternal8BitVariables;
    list.add(node);
}
