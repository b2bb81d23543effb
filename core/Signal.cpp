// Signals: wire registration and the bus operators that make new views.
#include "core/Signal.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>

#include "core/Ph1.h"

namespace {

const char *const anonymousName = "Annon";

// A null bus name stands for an anonymous bus.
const char *nameOrAnonymous(const char *name) {
    return name ? name : anonymousName;
}

// What a subscript of a bus of the given length may be, for the message
// about one that is not.
std::string validSubscripts(int length) {
    if (length <= 0)
        return "no subscript is valid";
    if (length == 1)
        return "the only valid subscript is 0";
    return "valid subscripts are 0 to " + std::to_string(length - 1);
}

// The widest bus: lengths are ints.
constexpr long long widestBus = INT_MAX;

// ---- Stored texts ------------------------------------------------------------

// Every stored text, in blocks that are never freed or moved, so the handles
// stay valid for the whole run.
class TextStore {
public:
    const char *store(std::string_view text) {
        const size_t h = hash(text) % recent.size();
        const char *known = recent[h];
        if (known && text == std::string_view(known))
            return known;
        char *copy = room(text.size() + 1);
        std::memcpy(copy, text.data(), text.size());
        copy[text.size()] = '\0';
        recent[h] = copy;
        return copy;
    }

private:
    static constexpr size_t blockSize = 64 * 1024;
    std::vector<std::unique_ptr<char[]>> blocks;
    char *next = nullptr;
    size_t left = 0;
    // The last text stored for each hash value: a fixed-size cache rather
    // than a set of every text, so sharing costs no memory per text.
    std::array<const char *, 4096> recent{};

    // Eight bytes at a time: the texts are short, and a byte-wise hash
    // would cost more than the copy it spares.
    static size_t hash(std::string_view text) {
        const auto mix = [](uint64_t h, uint64_t word) {
            h = (h ^ word) * 0x9E3779B97F4A7C15ull;
            return h ^ (h >> 29);
        };
        uint64_t h = text.size();
        size_t at = 0;
        for (; at + 8 <= text.size(); at += 8) {
            uint64_t word;
            std::memcpy(&word, text.data() + at, 8);
            h = mix(h, word);
        }
        if (at < text.size()) {
            uint64_t word = 0;
            std::memcpy(&word, text.data() + at, text.size() - at);
            h = mix(h, word);
        }
        return h ^ (h >> 32);
    }

    char *room(size_t n) {
        if (n > left) {
            const size_t size = std::max(n, blockSize);
            blocks.emplace_back(new char[size]);
            next = blocks.back().get();
            left = size;
        }
        char *at = next;
        next += n;
        left -= n;
        return at;
    }
};

TextStore &textStore() {
    static auto *store = new TextStore; // kept to the end: handles may be read by exit-time code
    return *store;
}

// The names of one bus's bits, "bus[bit]", made in one reused buffer: capture
// names every wire it creates and every bit it wires this way, and the
// string operations would cost more than the rest of the work.
class BitNames {
public:
    explicit BitNames(std::string_view bus) {
        const size_t prefix = bus.size() + 1;
        if (prefix + digitsAndBracket > small.size()) {
            large.reset(new char[prefix + digitsAndBracket]);
            text = large.get();
        }
        std::memcpy(text, bus.data(), bus.size());
        text[bus.size()] = '[';
        digits = text + prefix;
    }
    // The name of bit `bit`, valid until the next call.
    std::string_view operator()(int bit) {
        char *end = std::to_chars(digits, digits + digitsAndBracket - 1, bit).ptr;
        *end++ = ']';
        return {text, static_cast<size_t>(end - text)};
    }

private:
    static constexpr size_t digitsAndBracket = 12; // an int's digits, sign included, and ']'
    std::array<char, 64> small;
    std::unique_ptr<char[]> large;
    char *text = small.data();
    char *digits = nullptr;
};

// Sets name to "a,b" in one string operation (a joined name is often too
// long to be kept inside the string, and each operation may allocate).
void joinNames(std::string &name, const std::string &a, const std::string &b) {
    std::array<char, 96> small;
    const size_t n = a.size() + 1 + b.size();
    if (n > small.size()) {
        name.reserve(n);
        name.append(a).append(1, ',').append(b);
        return;
    }
    std::memcpy(small.data(), a.data(), a.size());
    small[a.size()] = ',';
    std::memcpy(small.data() + a.size() + 1, b.data(), b.size());
    name.assign(small.data(), n);
}

// Writes a bus-operator error and ends the process: a bus wider than an int
// can count cannot be wired.
[[noreturn]] void busError(const std::string &message) {
    std::cerr << message << "\n";
    std::exit(1);
}

} // namespace

StoredText::StoredText(const char *text) : StoredText(std::string_view(text ? text : "")) {}

StoredText::StoredText(const std::string &text) : StoredText(std::string_view(text)) {}

StoredText::StoredText(std::string_view text) : text(text.empty() ? "" : textStore().store(text)) {}

// ---- Serial number lists ----------------------------------------------------

SerialNumbers &SerialNumbers::operator=(const SerialNumbers &other) {
    if (this != &other) {
        count = 0;
        append(other.begin(), other.end());
    }
    return *this;
}

void SerialNumbers::grow(size_t n) {
    if (n > static_cast<size_t>(INT_MAX))
        throw std::bad_alloc(); // a bus cannot be this wide; its constructors say so first
    const size_t wanted = std::max(n, 2 * static_cast<size_t>(capacity));
    const int newCapacity = static_cast<int>(std::min(wanted, static_cast<size_t>(INT_MAX)));
    int *const bigger = new int[static_cast<size_t>(newCapacity)];
    std::copy(begin(), end(), bigger);
    release();
    entries = bigger;
    capacity = newCapacity;
}

void SerialNumbers::resize(size_t n) {
    reserve(n);
    if (n > size())
        std::fill(entries + count, entries + n, 0);
    count = static_cast<int>(n);
}

// ---- Capture storage ---------------------------------------------------------

void *CaptureArena::allocateBytes(size_t bytes, size_t alignment, long owner) {
    // Blocks of 1 MB are mapped and unmapped as a whole by the allocator, so a
    // released block really leaves the process.
    constexpr size_t blockSize = 1 << 20;
    if (!blocks.empty()) {
        Block &last = blocks.back();
        const size_t at = (last.used + alignment - 1) / alignment * alignment;
        if (at + bytes <= last.size) {
            last.used = at + bytes;
            last.lastOwner = owner;
            return last.bytes.get() + at;
        }
    }
    Block block;
    block.size = std::max(bytes, blockSize);
    block.bytes.reset(new std::byte[block.size]);
    block.used = bytes;
    block.lastOwner = owner;
    blocks.push_back(std::move(block));
    return blocks.back().bytes.get();
}

void CaptureArena::releaseBefore(long next) {
    while (!blocks.empty() && blocks.front().lastOwner < next)
        blocks.pop_front();
}

// ---- Signals -------------------------------------------------------------------

std::string_view signalValueText(SignalValue sv) {
    return isSignalValue(sv) ? valueSpellings[sv].name : "NOT A SIGNAL";
}

const char *signalValueName(SignalValue sv) {
    return signalValueText(sv).data(); // every name is a whole string literal
}

void saySignalValue(SignalValue sv) {
    std::cerr << signalValueName(sv);
}

template <typename BitValue> void Signal::createWires(unsigned nr, int constValue, BitValue value) {
    ensurePhaseOne();
    SignalList &list = phaseOne->signalList;
    // Serial numbers are ints: the wires must fit below the largest one.
    if (nr > static_cast<unsigned long long>(widestBus - list.numberOfSignals))
        busError("Error--Signal " + nameTag + " of length " + std::to_string(nr) +
                 " is more wires than a netlist can hold.");
    length = static_cast<int>(nr);
    serialNumber.resize(nr);
    BitNames wireName(nameTag);
    for (int i = 0; i < length; ++i) {
        serialNumber[i] = list.numberOfSignals;
        list.add(list.numberOfSignals, value(i), wireName(i), constValue);
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

// Nothing of a destroyed view can be read any more, so there is nothing to
// mark: the wires stay registered in the signal list.
Signal::~Signal() = default;

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
                  << "  -- Signal = " << nameTag << " sub = " << sub << "\n"
                  << "  -- " << nameTag << " has length " << length << ": " << validSubscripts(length)
                  << "\n";
        std::exit(1);
    }
    Signal bit;
    bit.length = 1;
    bit.serialNumber.push_back(serialNumber[sub]);
    bit.constSignal = constSignal;
    if (length > 1)
        bit.nameTag.assign(BitNames(nameTag)(sub));
    else
        bit.nameTag = nameTag;
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
    if (static_cast<long long>(length) + b.length > widestBus)
        busError("Error--operator , result too long: lengths " + std::to_string(length) + " and " +
                 std::to_string(b.length) + ".");
    // Capture builds many of these: each buffer is sized once.
    Signal joined;
    joined.length = length + b.length;
    joined.serialNumber.reserve(static_cast<size_t>(joined.length));
    // The right operand takes the low bits.
    joined.serialNumber.append(b.serialNumber.begin(), b.serialNumber.end());
    joined.serialNumber.append(serialNumber.begin(), serialNumber.end());
    joined.constSignal = constSignal;
    joinNames(joined.nameTag, nameTag, b.nameTag);
    return joined;
}

Signal operator*(int reps, const Signal &s) {
    if (reps <= 0 || s.length == 0)
        return s.viewOf(0, [](int) { return 0; }); // nothing to repeat
    if (static_cast<long long>(reps) * s.length > widestBus)
        busError("Error--operator * result too long: " + std::to_string(reps) + " copies of length " +
                 std::to_string(s.length) + ".");
    return s.viewOf(reps * s.length, [&](int p) { return s.serialNumber[p % s.length]; });
}

void Signal::print() const {
    std::cerr << "Signal.print() this=" << static_cast<const void *>(this) << " nameTag=" << nameTag
              << " constSignal=" << constSignal << " length=" << length << ", numbered:\n     ";
    for (size_t k = serialNumber.size(); k-- > 0;)
        std::cerr << serialNumber[k] << " ";
    std::cerr << "\n";
}

void SignalNode::print() const {
    std::cerr << "   Signal number " << signalSerialNumber << "   constSignal = " << constSignal
              << "  Name: " << name << "  Value: " << static_cast<int>(value) << "\n";
}

void SignalList::add(int number, SignalValue sv, std::string_view name, int constSpec) {
    auto *node = new (nodes.allocate<SignalNode>(1, number)) SignalNode{nullptr, number, name, constSpec, sv};
    (end ? end->ptr : start) = node;
    end = node;
}

void SignalList::releaseNodes() {
    start = end = nullptr;
    nodes.releaseAll();
}

void SignalList::print() const {
    for (const SignalNode *n = start; n; n = n->ptr)
        n->print();
}

SignalList::~SignalList() {
    // Later phases hold their own copies; the arena frees the nodes.
    std::cerr << "There are " << numberOfSignals << " signals.\n";
}

// The constants: the wires with serial numbers 0 and 1 are registered as the
// first two whenever a netlist is started (see ensurePhaseOne), so they stay
// first whatever order the program's global signals are constructed in.
Signal Zero = Signal::registeredConstant(0, "Zero");
Signal One = Signal::registeredConstant(1, "One");
