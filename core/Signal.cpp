// Signals: wire registration and the bus operators that make new views.
#include "core/Signal.h"

#include <cstdlib>
#include <iostream>

#include "core/Ph1.h"

namespace {

const char *const anonymousName = "Annon";

// A null bus name stands for an anonymous bus.
const char *nameOrAnonymous(const char *name) {
    return name ? name : anonymousName;
}

} // namespace

const char *signalValueName(SignalValue sv) {
    static const char *const names[] = {"ZERO", "UNINITIALIZED", "XXX", "HIZ", "ONE"};
    return isSignalValue(sv) ? names[sv] : "NOT A SIGNAL";
}

void saySignalValue(SignalValue sv) {
    std::cerr << signalValueName(sv);
}

template <typename BitValue> void Signal::createWires(unsigned nr, int constValue, BitValue value) {
    ensurePhaseOne();
    length = static_cast<int>(nr);
    SignalList &list = phaseOne->signalList;
    serialNumber.resize(nr);
    for (int i = 0; i < length; ++i) {
        const std::string wireName = nameTag + "[" + std::to_string(i) + "]";
        serialNumber[i] = list.numberOfSignals;
        list.add(list.numberOfSignals, value(i), wireName.c_str(), constValue);
        ++list.numberOfSignals;
    }
}

Signal::Signal(unsigned nr, const char *name) : nameTag(nameOrAnonymous(name)) {
    createWires(nr, 0, [](int) { return UNINITIALIZED; });
}

Signal::Signal(unsigned nr, SignalValue initValue, int constValue, const char *name)
    : constSignal(constValue), nameTag(nameOrAnonymous(name)) {
    createWires(nr, constValue, [initValue](int) { return initValue; });
}

Signal::Signal(unsigned nr, unsigned setMask, const char *name)
    : constSignal(1), nameTag(nameOrAnonymous(name)) {
    createWires(nr, 1, [setMask](int i) { return (setMask >> (i % 32)) & 1u ? ONE : ZERO; });
}

Signal::Signal(const Signal &sig)
    : length(sig.length), serialNumber(sig.serialNumber), constSignal(sig.constSignal), nameTag(sig.nameTag) {
}

Signal::~Signal() {
    serialNumber.clear();
    nameTag = "DELETED";
}

Signal Signal::registeredConstant(int serial, const char *name) {
    ensurePhaseOne();
    Signal s;
    s.length = 1;
    s.serialNumber = {serial};
    s.constSignal = 1;
    s.nameTag = name;
    return s;
}

Signal Signal::operator[](int sub) const {
    if (sub < 0 || sub >= length) {
        std::cerr << "Signal :: operator[] subscript out of range--\n"
                  << "  -- Signal = " << nameTag << " sub = " << sub << "\n";
        std::exit(1);
    }
    Signal bit;
    bit.length = 1;
    bit.serialNumber = {serialNumber[sub]};
    bit.constSignal = constSignal;
    bit.nameTag = length > 1 ? nameTag + "[" + std::to_string(sub) + "]" : nameTag;
    return bit;
}

template <typename Entry> Signal Signal::viewOf(int n, Entry entry) const {
    Signal view;
    view.nameTag = nameTag;
    view.constSignal = constSignal;
    view.length = n;
    view.serialNumber.resize(n);
    for (int k = 0; k < n; ++k)
        view.serialNumber[k] = entry(k);
    return view;
}

Signal Signal::sub(int start, int end) const {
    const auto inside = [this](int bit) { return bit >= 0 && bit < length; };
    if (!inside(start) || !inside(end)) {
        std::cerr << "Signal member sub(int,int)--bad range: " << start << "," << end << "\n"
                  << "Source length = " << length << "\n";
        std::exit(1); // the missing bits do not exist: carrying on would wire nonsense
    }
    const int step = end < start ? 1 : -1; // entry 0 is always bit end
    return viewOf(std::abs(start - end) + 1, [&](int k) { return serialNumber[end + step * k]; });
}

Signal Signal::operator-(const Signal &sig) const {
    if (length != 1 || sig.length != 1) {
        std::cerr << "Error--operator - arguments are not length = 1.\n";
        std::exit(1);
    }
    const int s = serialNumber[0];
    const int e = sig.serialNumber[0];
    const int step = e < s ? 1 : -1; // entry 0 is always serial e
    return viewOf(std::abs(s - e) + 1, [&](int k) { return e + step * k; });
}

Signal &Signal::operator=(const Signal &sig) {
    std::cerr << "Assignment from SignalName = " << sig.nameTag << " to Signal Name = " << nameTag
              << " not implemented.\n"
              << "  Try to use initialization instead -- or talk to the Prof.\n";
    return *this;
}

Signal Signal::operator,(const Signal &b) const {
    Signal joined;
    joined.length = length + b.length;
    joined.serialNumber = b.serialNumber; // the right operand takes the low bits
    joined.serialNumber.insert(joined.serialNumber.end(), serialNumber.begin(), serialNumber.end());
    joined.constSignal = constSignal;
    joined.nameTag = nameTag + "," + b.nameTag;
    return joined;
}

Signal operator*(int reps, const Signal &s) {
    if (reps <= 0 || s.length == 0)
        return s.viewOf(0, [](int) { return 0; }); // nothing to repeat
    return s.viewOf(reps * s.length, [&](int p) { return s.serialNumber[p % s.length]; });
}

void Signal::print() const {
    std::cerr << "Signal.print() this=" << static_cast<const void *>(this) << " nameTag=" << nameTag
              << " constSignal=" << constSignal << " length=" << length << ", numbered:\n     ";
    for (auto k = serialNumber.rbegin(); k != serialNumber.rend(); ++k)
        std::cerr << *k << " ";
    std::cerr << "\n";
}

void SignalNode::print() const {
    std::cerr << "   Signal number " << signalSerialNumber << "   constSignal = " << constSignal
              << "  Name: " << name << "  Value: " << static_cast<int>(value) << "\n";
}

void SignalList::add(int number, SignalValue sv, const char *name, int constSpec) {
    auto *node = new SignalNode{nullptr, number, name ? name : "", constSpec, sv};
    (end ? end->ptr : start) = node;
    end = node;
}

void SignalList::print() const {
    for (const SignalNode *n = start; n; n = n->ptr)
        n->print();
}

SignalList::~SignalList() {
    std::cerr << "There are " << numberOfSignals << " signals.\n";
    // Later phases hold their own copies, so the nodes can go.
    while (start) {
        SignalNode *next = start->ptr;
        delete start;
        start = next;
    }
}

// The constants: the wires with serial numbers 0 and 1 are registered as the
// first two whenever a netlist is started (see ensurePhaseOne), so they stay
// first whatever order the program's global signals are constructed in.
Signal Zero = Signal::registeredConstant(0, "Zero");
Signal One = Signal::registeredConstant(1, "One");
