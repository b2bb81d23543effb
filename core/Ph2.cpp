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
template <typename T> T *appendTo(std::vector<T> &pool, const ValueSpan<T> &source, int count) {
    const size_t n = wanted(count);
    if (n == 0)
        return nullptr;
    const size_t at = pool.size();
    const size_t copied = std::min(n, static_cast<size_t>(source.size()));
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

// The capture's nodes are given back in steps of this many components.
constexpr int releaseStep = 4096;

} // namespace

PhaseTwo::PhaseTwo() : maxGraphicDisplayLevel(1) {}

void PhaseTwo::listsToArrays() {
    numberOfComponents = phaseOne->componentList.numberOfComponents;
    numberOfSignals = phaseOne->signalList.numberOfSignals;
    numberOfSwitches = phaseOne->switchList.numberOfSwitches;
    copySignals();
    phaseOne->signalList.releaseNodes();
    copySwitches();
    // The arrays are reserved, not filled, up front: their memory is touched
    // only as the nodes whose memory is given back are copied into them.
    reserveComponentArrays();
    reservePools();
    ComponentList &list = phaseOne->componentList;
    int copied = 0;
    for (const ComponentNode *node = list.start; node != nullptr && copied < numberOfComponents;) {
        appendComponent(*node);
        node = node->ptr;
        if (++copied % releaseStep == 0)
            list.releaseBefore(node);
    }
    list.releaseBefore(nullptr);
    closeRecords();
}

void PhaseTwo::closeRecords() {
    ComponentRecord end;
    end.dataFrom = end.controlFrom = end.outputFrom = static_cast<int>(pins.size());
    records.push_back(end);
    const ComponentRecord *const r = records.data();
    numberOfDataInputs.records = numberOfControlInputs.records = numberOfOutputs.records = r;
    dataInputs.records = controlInputs.records = outputs.records = r;
    dataInputs.pool = controlInputs.pool = outputs.pool = pins.data();
}

void PhaseTwo::reserveComponentArrays() {
    const size_t n = wanted(numberOfComponents);
    logicEvaluate.reserve(n);
    secondaryEvaluate.reserve(n);
    drawDynamic.reserve(n);
    xEventTriggered.reserve(n);
    heapQueueEventTriggered.reserve(n);
    iconArrays.reserve(n);
    state.reserve(n);
    tile.reserve(n);
    rcpos.reserve(n);
    decal.reserve(n);
    for (auto *ints : {&outputOverloadable, &selfActivating, &graphicLevel, &numberOfIntegerParameters,
                       &numberOfByteParameters, &numberOfInternal32BitVariables,
                       &numberOfInternal16BitVariables, &numberOfInternal8BitVariables})
        ints->reserve(n);
    records.reserve(n + 1);
    integerParameters.reserve(n);
    byteParameters.reserve(n);
    internal32BitVariables.reserve(n);
    internal16BitVariables.reserve(n);
    internal8BitVariables.reserve(n);
}

void PhaseTwo::reservePools() {
    // Reserved exactly once, so filling a pool never moves it.
    const CapturedTotals &totals = phaseOne->componentList.totals();
    // Pins and integer parameters are counted together: each pool reserves
    // room for both, which costs address space but no memory until used.
    pins.reserve(totals.ints);
    intPool.reserve(totals.ints);
    bytePool.reserve(totals.bytes);
    internal32BitPool.reserve(totals.words32);
    internal16BitPool.reserve(totals.words16);
    internal8BitPool.reserve(totals.words8);
}

void PhaseTwo::appendComponent(const ComponentNode &node) {
    logicEvaluate.push_back(node.logicEvaluate);
    secondaryEvaluate.push_back(node.secondaryEvaluate);
    drawDynamic.push_back(node.drawDynamic);
    xEventTriggered.push_back(node.xEventTriggered);
    heapQueueEventTriggered.push_back(node.heapQueueEventTriggered);
    iconArrays.push_back(node.iconArray);
    state.push_back(0);
    tile.emplace_back();
    outputOverloadable.push_back(node.outputOverloadable);
    selfActivating.push_back(node.selfActivating);
    graphicLevel.push_back(node.graphicLevel);
    maxGraphicDisplayLevel = std::max(maxGraphicDisplayLevel, node.graphicLevel);
    rcpos.push_back(node.graphicPosition);
    decal.push_back(node.decal);

    // The three groups one after the other; a count below 1 takes no pins.
    ComponentRecord r;
    r.dataFrom = static_cast<int>(pins.size());
    appendTo(pins, node.dataInputs, node.numberOfDataInputs);
    r.controlFrom = static_cast<int>(pins.size());
    appendTo(pins, node.controlInputs, node.numberOfControlInputs);
    r.outputFrom = static_cast<int>(pins.size());
    appendTo(pins, node.outputs, node.numberOfOutputs);
    r.form = node.form;
    r.kind = node.kind;
    r.draws = node.drawDynamic != nullptr;
    records.push_back(r);
    numberOfIntegerParameters.push_back(node.numberOfIntegerParameters);
    integerParameters.push_back(appendTo(intPool, node.integerParameters, node.numberOfIntegerParameters));
    numberOfByteParameters.push_back(node.numberOfByteParameters);
    byteParameters.push_back(appendTo(bytePool, node.byteParameters, node.numberOfByteParameters));

    numberOfInternal32BitVariables.push_back(node.numberOfInternal32BitVariables);
    internal32BitVariables.push_back(appendZeros(internal32BitPool, node.numberOfInternal32BitVariables));
    numberOfInternal16BitVariables.push_back(node.numberOfInternal16BitVariables);
    internal16BitVariables.push_back(appendZeros(internal16BitPool, node.numberOfInternal16BitVariables));
    numberOfInternal8BitVariables.push_back(node.numberOfInternal8BitVariables);
    internal8BitVariables.push_back(appendZeros(internal8BitPool, node.numberOfInternal8BitVariables));
}

void PhaseTwo::copySignals() {
    const size_t n = wanted(numberOfSignals);
    signalInitializations.assign(n, UNINITIALIZED);
    signalNames.assign(n, StoredText());
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
