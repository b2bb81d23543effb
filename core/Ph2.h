// The captured netlist as flat arrays, indexed by component index or by
// signal serial number.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/CompKind.h"
#include "core/CompList.h"
#include "core/Signal.h"
#include "display/ScrnTile.h"

// Kept because the registration interface names it: a per-component table (pointer
// and name parameters) that no component fills or reads; every entry reads
// as T{}, and it takes no memory per component.
template <typename T> struct UnfilledTable {
    T operator[](int) const { return T{}; }
};

enum class PinGroup { dataInputs, controlInputs, outputs };

// Where group starts and ends among component cind's pins, by its record
// and the next one.
template <PinGroup group> int pinsFrom(const ComponentRecord *records, int cind) {
    const ComponentRecord &r = records[cind];
    return group == PinGroup::dataInputs      ? r.dataFrom
           : group == PinGroup::controlInputs ? r.controlFrom
                                              : r.outputFrom;
}
template <PinGroup group> int pinsTo(const ComponentRecord *records, int cind) {
    const ComponentRecord &r = records[cind];
    return group == PinGroup::dataInputs      ? r.controlFrom
           : group == PinGroup::controlInputs ? r.outputFrom
                                              : records[cind + 1].dataFrom;
}

// One group of every component's pins by component index, as the pointer to
// its first pin (null when it has none): dataInputs[cind][k].
template <PinGroup group> class PinLists {
public:
    int *operator[](int cind) const {
        const int from = pinsFrom<group>(records, cind);
        return pinsTo<group>(records, cind) > from ? pool + from : nullptr;
    }

private:
    friend class PhaseTwo;
    const ComponentRecord *records = nullptr;
    int *pool = nullptr;
};

// The number of pins in one group of every component, by component index.
template <PinGroup group> class PinCounts {
public:
    int operator[](int cind) const { return pinsTo<group>(records, cind) - pinsFrom<group>(records, cind); }

private:
    friend class PhaseTwo;
    const ComponentRecord *records = nullptr;
};

class PhaseTwo {
public:
    int numberOfSignals = 0;
    int numberOfComponents = 0;
    int numberOfSwitches = 0;
    int maxGraphicDisplayLevel = 1;

    // Per component.
    std::vector<ComponentFunction> logicEvaluate;
    // Kept because the registration interface names it (as is
    // heapQueueEventTriggered): copied as captured, never called.
    std::vector<SecondaryEvaluatePointer> secondaryEvaluate;
    std::vector<ComponentFunction> drawDynamic;
    std::vector<ComponentFunction> xEventTriggered;
    std::vector<ComponentFunction> heapQueueEventTriggered;
    std::vector<const int *> iconArrays;
    std::vector<int> state;
    std::vector<ScreenTile> tile;
    std::vector<int> outputOverloadable;
    std::vector<int> selfActivating;
    std::vector<int> graphicLevel;
    std::vector<StoredText> rcpos; // position strings, shared with the capture
    std::vector<StoredText> decal; // labels, shared with the capture
    // Each component's record (one more closes the pin pool).  The views
    // below read its pins as per-component arrays; the kernel reads the
    // records and the pool directly.
    std::vector<ComponentRecord> records;
    PinCounts<PinGroup::dataInputs> numberOfDataInputs;
    PinLists<PinGroup::dataInputs> dataInputs;
    PinCounts<PinGroup::controlInputs> numberOfControlInputs;
    PinLists<PinGroup::controlInputs> controlInputs;
    PinCounts<PinGroup::outputs> numberOfOutputs;
    PinLists<PinGroup::outputs> outputs;
    // Parameter and internal-variable arrays point into pools owned by this
    // object (null when the count is 0), so integerParameters[cind][k] is one
    // indirection.
    UnfilledTable<int> numberOfPointerParameters;
    UnfilledTable<void **> pointerParameters;
    UnfilledTable<int> numberOfNameParameters;
    UnfilledTable<char *> nameParameters;
    std::vector<int> numberOfIntegerParameters;
    std::vector<int *> integerParameters;
    std::vector<int> numberOfByteParameters;
    std::vector<unsigned char *> byteParameters;
    std::vector<int> numberOfInternal32BitVariables;
    std::vector<uint32_t *> internal32BitVariables;
    std::vector<int> numberOfInternal16BitVariables;
    std::vector<uint16_t *> internal16BitVariables;
    std::vector<int> numberOfInternal8BitVariables;
    std::vector<uint8_t *> internal8BitVariables;

    // Per switch: key code, component index, signal serial number.
    std::vector<std::array<int, 3>> activationsFromWindow;

    // Per signal.
    std::vector<SignalValue> signalInitializations;
    std::vector<StoredText> signalNames;
    std::vector<int> constSignals;

    // An empty netlist whose deepest level is 1.
    PhaseTwo();
    // Builds every array from phaseOne's lists: components in capture order,
    // signals by serial number, switches in capture order.  The lists' nodes
    // are freed as they are copied (the counts stay for the count lines), so
    // the capture and the arrays are never held in full at once.
    void listsToArrays();
    // Debug dump of signals, switches and components to standard error.
    void dumpFromArrays() const;
    // The pool the records point into: data input k of component c is
    // pinPool()[records[c].dataFrom + k].
    const int *pinPool() const { return pins.data(); }

private:
    // The storage the per-component pointers point into, one block per
    // element type, reserved once so the pointers stay valid for the whole run.
    std::vector<int> pins;    // every component's pins, in component order
    std::vector<int> intPool; // integer parameters
    std::vector<unsigned char> bytePool;
    std::vector<uint32_t> internal32BitPool;
    std::vector<uint16_t> internal16BitPool;
    std::vector<uint8_t> internal8BitPool;

    void reserveComponentArrays();
    void reservePools();
    void appendComponent(const ComponentNode &node);
    void copySignals();
    void copySwitches();
    // Closes the pin pool with the last record and points the pin views at
    // the records and the pool, once both are filled.
    void closeRecords();
};

// The second phase: the netlist as flat arrays, for the rest of the run.
extern PhaseTwo *phaseTwo;
