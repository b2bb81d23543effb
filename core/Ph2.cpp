// Conversion of the capture lists into flat arrays.
#include "core/Ph2.h"

#include <algorithm>
#include <iostream>

#include "core/Ph1.h"

namespace {

// The number of elements a count asks for: counts below 1 ask for none.
size_t wanted(int count) {
    return count < 1 ? 0 : static_cast<size_t>(count);
}

// Appends count elements to pool, copied from source as far as it reaches
// and zero after that, and returns where they start (null for none).  The
// pool's capacity was reserved beforehand, so earlier pointers stay valid.
template <typename T> T *appendTo(std::vector<T> &pool, const std::vector<T> &source, int count) {
    const size_t n = wanted(count);
    if (n == 0)
        return nullptr;
    const size_t at = pool.size();
    const size_t copied = std::min(n, source.size());
    pool.insert(pool.end(), source.begin(), source.begin() + copied);
    pool.resize(at + n);
    return pool.data() + at;
}

// Appends count zeroed elements to pool (null for none).
template <typename T> T *appendZeros(std::vector<T> &pool, int count) {
    const size_t n = wanted(count);
    if (n == 0)
        return nullptr;
    const size_t at = pool.size();
    pool.resize(at + n);
    return pool.data() + at;
}

} // namespace

PhaseTwo::PhaseTwo() : maxGraphicDisplayLevel(1) {}

void PhaseTwo::listsToArrays() {
    numberOfComponents = phaseOne->componentList.numberOfComponents;
    numberOfSignals = phaseOne->signalList.numberOfSignals;
    numberOfSwitches = phaseOne->switchList.numberOfSwitches;
    allocateComponentArrays();
    allocatePools();
    int cind = 0;
    for (const ComponentNode *node = phaseOne->componentList.start;
         node != nullptr && cind < numberOfComponents; node = node->ptr)
        copyComponent(cind++, *node);
    copySignals();
    copySwitches();
}

void PhaseTwo::allocateComponentArrays() {
    const size_t n = wanted(numberOfComponents);
    logicEvaluate.assign(n, nullptr);
    secondaryEvaluate.assign(n, SecondaryEvaluatePointer{});
    drawDynamic.assign(n, nullptr);
    xEventTriggered.assign(n, nullptr);
    heapQueueEventTriggered.assign(n, nullptr);
    iconArrays.assign(n, nullptr);
    state.assign(n, 0);
    tile.assign(n, ScreenTile{});
    outputOverloadable.assign(n, 0);
    selfActivating.assign(n, 0);
    graphicLevel.assign(n, 1);
    rcpos.assign(n, std::string());
    decal.assign(n, std::string());
    for (auto *counts :
         {&numberOfDataInputs, &numberOfControlInputs, &numberOfOutputs, &numberOfPointerParameters,
          &numberOfNameParameters, &numberOfIntegerParameters, &numberOfByteParameters,
          &numberOfInternal32BitVariables, &numberOfInternal16BitVariables, &numberOfInternal8BitVariables})
        counts->assign(n, 0);
    for (auto *pins : {&dataInputs, &controlInputs, &outputs, &integerParameters})
        pins->assign(n, nullptr);
    pointerParameters.assign(n, nullptr);
    nameParameters.assign(n, nullptr);
    byteParameters.assign(n, nullptr);
    internal32BitVariables.assign(n, nullptr);
    internal16BitVariables.assign(n, nullptr);
    internal8BitVariables.assign(n, nullptr);
}

void PhaseTwo::allocatePools() {
    // A first walk sizes each pool exactly, so filling it never moves it.
    size_t ints = 0, bytes = 0, words32 = 0, words16 = 0, words8 = 0;
    for (const ComponentNode *node = phaseOne->componentList.start; node != nullptr; node = node->ptr) {
        ints += wanted(node->numberOfDataInputs) + wanted(node->numberOfControlInputs) +
                wanted(node->numberOfOutputs) + wanted(node->numberOfIntegerParameters);
        bytes += wanted(node->numberOfByteParameters);
        words32 += wanted(node->numberOfInternal32BitVariables);
        words16 += wanted(node->numberOfInternal16BitVariables);
        words8 += wanted(node->numberOfInternal8BitVariables);
    }
    intPool.clear();
    intPool.reserve(ints);
    bytePool.clear();
    bytePool.reserve(bytes);
    internal32BitPool.clear();
    internal32BitPool.reserve(words32);
    internal16BitPool.clear();
    internal16BitPool.reserve(words16);
    internal8BitPool.clear();
    internal8BitPool.reserve(words8);
}

void PhaseTwo::copyComponent(int cind, const ComponentNode &node) {
    logicEvaluate[cind] = node.logicEvaluate;
    secondaryEvaluate[cind] = node.secondaryEvaluate;
    drawDynamic[cind] = node.drawDynamic;
    xEventTriggered[cind] = node.xEventTriggered;
    heapQueueEventTriggered[cind] = node.heapQueueEventTriggered;
    iconArrays[cind] = node.iconArray;
    outputOverloadable[cind] = node.outputOverloadable;
    selfActivating[cind] = node.selfActivating;
    graphicLevel[cind] = node.graphicLevel;
    maxGraphicDisplayLevel = std::max(maxGraphicDisplayLevel, node.graphicLevel);
    rcpos[cind] = node.graphicPosition;
    decal[cind] = node.decal;

    numberOfDataInputs[cind] = node.numberOfDataInputs;
    dataInputs[cind] = appendTo(intPool, node.dataInputs, node.numberOfDataInputs);
    numberOfControlInputs[cind] = node.numberOfControlInputs;
    controlInputs[cind] = appendTo(intPool, node.controlInputs, node.numberOfControlInputs);
    numberOfOutputs[cind] = node.numberOfOutputs;
    outputs[cind] = appendTo(intPool, node.outputs, node.numberOfOutputs);
    numberOfIntegerParameters[cind] = node.numberOfIntegerParameters;
    integerParameters[cind] = appendTo(intPool, node.integerParameters, node.numberOfIntegerParameters);
    numberOfByteParameters[cind] = node.numberOfByteParameters;
    byteParameters[cind] = appendTo(bytePool, node.byteParameters, node.numberOfByteParameters);

    numberOfInternal32BitVariables[cind] = node.numberOfInternal32BitVariables;
    internal32BitVariables[cind] = appendZeros(internal32BitPool, node.numberOfInternal32BitVariables);
    numberOfInternal16BitVariables[cind] = node.numberOfInternal16BitVariables;
    internal16BitVariables[cind] = appendZeros(internal16BitPool, node.numberOfInternal16BitVariables);
    numberOfInternal8BitVariables[cind] = node.numberOfInternal8BitVariables;
    internal8BitVariables[cind] = appendZeros(internal8BitPool, node.numberOfInternal8BitVariables);
}

void PhaseTwo::copySignals() {
    const size_t n = wanted(numberOfSignals);
    signalInitializations.assign(n, UNINITIALIZED);
    signalNames.assign(n, std::string());
    constSignals.assign(n, 0);
    for (const SignalNode *node = phaseOne->signalList.start; node != nullptr; node = node->ptr) {
        const int s = node->signalSerialNumber;
        if (s < 0 || s >= numberOfSignals)
            continue; // serial numbers are dense, but never write outside the arrays
        signalInitializations[s] = node->value;
        constSignals[s] = node->constSignal;
        signalNames[s] = node->name;
    }
}

void PhaseTwo::copySwitches() {
    activationsFromWindow.assign(wanted(numberOfSwitches), {0, 0, 0});
    int j = 0;
    for (const SwitchNode *node = phaseOne->switchList.start; node != nullptr && j < numberOfSwitches;
         node = node->ptr)
        activationsFromWindow[j++] = {static_cast<int>(node->keyChar), node->componentNumber,
                                      node->signalSerialNumber};
}

void PhaseTwo::dumpFromArrays() const {
    std::ostream &out = std::cerr;
    out << "dumpFromArrays():\n";
    for (int i = 0; i < numberOfSignals; ++i)
        out << "Signal " << i << "  Init = " << static_cast<int>(signalInitializations[i])
            << " constSignal = " << constSignals[i] << "  Name = " << signalNames[i] << '\n';
    for (int i = 0; i < numberOfSwitches; ++i)
        out << "Switch " << i << "  keyChar = " << static_cast<char>(activationsFromWindow[i][0])
            << "  CompNumber = " << activationsFromWindow[i][1]
            << "  SignalSerialNumber = " << activationsFromWindow[i][2] << '\n';
    for (int i = 0; i < numberOfComponents; ++i) {
        out << "Comp " << i << " eval() at " << reinterpret_cast<const void *>(logicEvaluate[i])
            << "  iconArray at " << static_cast<const void *>(iconArrays[i])
            << "  overLoadable = " << outputOverloadable[i] << '\n'
            << "   rcpos =  " << rcpos[i] << "  decal = " << decal[i] << " \n"
            << "   Inputs[" << numberOfDataInputs[i] << "]:";
        for (int k = 0; k < numberOfDataInputs[i]; ++k)
            out << ' ' << dataInputs[i][k];
        out << "  Outputs[" << numberOfOutputs[i] << "]:";
        for (int k = 0; k < numberOfOutputs[i]; ++k)
            out << ' ' << outputs[i][k];
        out << '\n';
    }
}
