// Captured components, in capture order.
#pragma once

#include <algorithm>
#include <ostream>
#include <vector>

#include "core/CompKind.h"
#include "core/Signal.h"

using signalBlockEvaluatePointer = void (*)(int &, int, const SignalValue *, int, SignalValue *);
using logicBlockEvaluatePointer = void (*)(int &, int, const int *, int, int *);

// Kept because the registration interface names it: stored and copied for every
// component, never called.
union SecondaryEvaluatePointer {
    signalBlockEvaluatePointer s;
    logicBlockEvaluatePointer l;
};

// A run of consecutive values stored elsewhere: the pins and parameters of a
// captured component (in its list's storage), or the values a caller passes
// to addStandardComponent.  Empty when it holds nothing.
template <typename T> class ValueSpan {
public:
    using value_type = T;
    using iterator = const T *;
    using const_iterator = const T *;

    ValueSpan() = default;
    // count values from values; counts below 1 (and null values) give none.
    ValueSpan(const T *values, int count)
        : first(values && count > 0 ? values : nullptr), last(first ? first + count : nullptr) {}
    template <size_t N> ValueSpan(const T (&values)[N]) : ValueSpan(values, static_cast<int>(N)) {}
    ValueSpan(const std::vector<T> &values) : ValueSpan(values.data(), static_cast<int>(values.size())) {}

    const T *data() const { return first; }
    const T *begin() const { return first; }
    const T *end() const { return last; }
    int size() const { return static_cast<int>(last - first); }
    bool empty() const { return first == last; }
    const T &operator[](int k) const { return first[k]; }
    operator std::vector<T>() const { return std::vector<T>(first, last); }

private:
    const T *first = nullptr;
    const T *last = nullptr;
};

template <typename T> bool operator==(const ValueSpan<T> &a, const std::vector<T> &b) {
    return std::vector<T>(a) == b;
}
template <typename T> std::ostream &operator<<(std::ostream &out, const ValueSpan<T> &values) {
    out << "{";
    for (const T &v : values)
        out << " " << +v;
    return out << " }";
}

// One captured component: its runtime functions, placement, pins and the
// sizes of its parameters and private state.
struct ComponentNode {
    ComponentNode *ptr = nullptr;
    int componentIndex = 0;
    int graphicLevel = 1;
    ComponentFunction logicEvaluate = nullptr;
    // Kept because the registration interface names it (as is
    // heapQueueEventTriggered below): the kernel never calls either.
    SecondaryEvaluatePointer secondaryEvaluate{};
    const int *iconArray = nullptr;
    ComponentFunction drawDynamic = nullptr;
    ComponentFunction xEventTriggered = nullptr;
    ComponentFunction heapQueueEventTriggered = nullptr;
    int outputOverloadable = 0;
    int selfActivating = 0;
    ComponentKind kind = ComponentKind::other; // as its capture registered it
    InPlaceForm form = InPlaceForm::called;    // how the step evaluates it
    StoredText graphicPosition;
    StoredText decal;
    // The counts are kept together and apart from the pins and parameters
    // (which live in the list's storage), so a node has no padding.
    int numberOfDataInputs = 0;
    int numberOfControlInputs = 0;
    int numberOfOutputs = 0;
    int numberOfIntegerParameters = 0;
    int numberOfByteParameters = 0;
    int numberOfInternal32BitVariables = 0;
    int numberOfInternal16BitVariables = 0;
    int numberOfInternal8BitVariables = 0;
    ValueSpan<int> dataInputs;
    ValueSpan<int> controlInputs;
    ValueSpan<int> outputs;
    ValueSpan<int> integerParameters;
    ValueSpan<unsigned char> byteParameters;

    // One line to standard error: index and label.
    void print() const;
};

// The numbers of pool elements the captured components ask for (counts below
// 1 ask for none), summed as they are added so that conversion sizes its
// pools without a walk over the list.
struct CapturedTotals {
    size_t ints = 0; // pins and integer parameters
    size_t bytes = 0;
    size_t words32 = 0;
    size_t words16 = 0;
    size_t words8 = 0;
};

class ComponentList {
public:
    int numberOfComponents = 0;
    ComponentNode *start = nullptr;
    ComponentNode *end = nullptr;

    ComponentList() = default;
    ComponentList(const ComponentList &) = delete;
    ComponentList &operator=(const ComponentList &) = delete;

    // A blank node in the list's storage, for the component captured next.
    ComponentNode *newNode();
    // A copy of values in the list's storage, for the component captured next.
    template <typename T> ValueSpan<T> keep(const ValueSpan<T> &values) {
        T *copy = storage.allocate<T>(static_cast<size_t>(values.size()), numberOfComponents);
        std::copy(values.begin(), values.end(), copy);
        return ValueSpan<T>(copy, values.size());
    }
    // Appends node, giving it the next component index.
    void add(ComponentNode *node);
    // The pool sizes of every component added so far.
    const CapturedTotals &totals() const { return summed; }
    // Prints every node in capture order.
    void print() const;
    // Conversion has copied every node before next (null: all of them): the
    // list now starts at next, and the storage they alone used is freed.
    void releaseBefore(const ComponentNode *next);
    // Writes the "There are N components." count line; the nodes go with it.
    ~ComponentList();

private:
    CaptureArena storage; // nodes, pins and parameters, in capture order
    CapturedTotals summed;
};
