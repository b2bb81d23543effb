// Five-valued logic signals and the buses a circuit is written with.
#pragma once

#include <algorithm>
#include <cstddef>
#include <deque>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// The five logic values.  Their numbers order them: many gates take the
// minimum or maximum in this order, so the numbers are part of the logic.
enum SignalValue { ZERO = 0, UNINITIALIZED = 1, XXX = 2, HIZ = 3, ONE = 4 };

// Whether v is one of the five values (a stored byte may hold anything).
constexpr bool isSignalValue(SignalValue v) {
    return static_cast<unsigned>(v) <= static_cast<unsigned>(ONE);
}

// Whether v is a driven level, ZERO or ONE.
constexpr bool isBinary(SignalValue v) {
    return v == ZERO || v == ONE;
}

// The number of values, and so of entries in every table indexed by value.
constexpr int numberOfSignalValues = ONE + 1;

// How the values are written, one row per value in value order: its name
// (messages, explanations, the legend, a one-bit probe's line), its letter
// (a multi-bit value shown bit by bit: the summary, explanations, the
// readout) and its letters in a value change dump (a vector's bits, and a
// one-bit variable's change, which readers take only in lower case for
// an uninitialised value).
struct ValueSpelling {
    std::string_view name; // a whole string literal, so name.data() ends it
    char letter;
    char dumpLetter;
    char dumpScalarLetter;
};
// clang-format off
inline constexpr ValueSpelling valueSpellings[numberOfSignalValues] = {
    //  name             letter  in a dump  one bit in a dump
    {"ZERO",             '0',    '0',       '0'},
    {"UNINITIALIZED",    'U',    'U',       'u'},
    {"XXX",              'X',    'x',       'x'},
    {"HIZ",              'Z',    'z',       'z'},
    {"ONE",              '1',    '1',       '1'},
};
// clang-format on

// The letter of v, as valueSpellings gives it; 'Z' for a stored byte that is
// no value (it drives nothing).
constexpr char valueLetter(SignalValue v) {
    return isSignalValue(v) ? valueSpellings[v].letter : 'Z';
}

// The digits of a hexadecimal number, in upper case as every readout writes them.
inline constexpr char hexDigits[] = "0123456789ABCDEF";

// Writes the name of a value ("ZERO" ... "ONE", or "NOT A SIGNAL") to standard error.
void saySignalValue(SignalValue sv);

// The name saySignalValue writes, for callers that build a line in a stream.
const char *signalValueName(SignalValue sv);
// The same name with its length, for callers that copy it.
std::string_view signalValueText(SignalValue sv);

// The serial numbers of a bus's wires, entry 0 the least significant bit.
// Capture makes a view for nearly every pin it wires, mostly one or two bits
// wide, and gives it up at once: up to four entries are kept inline, so
// those views cost no allocation.  Reads like a std::vector<int>.
class SerialNumbers {
public:
    using value_type = int;
    using iterator = int *;
    using const_iterator = const int *;

    SerialNumbers() = default;
    SerialNumbers(std::initializer_list<int> serials) { append(serials.begin(), serials.end()); }
    SerialNumbers(const SerialNumbers &other) { append(other.begin(), other.end()); }
    SerialNumbers &operator=(const SerialNumbers &other);
    ~SerialNumbers() { release(); }

    size_t size() const { return static_cast<size_t>(count); }
    bool empty() const { return count == 0; }
    int &operator[](size_t k) { return entries[k]; }
    const int &operator[](size_t k) const { return entries[k]; }
    int *data() { return entries; }
    const int *data() const { return entries; }
    int *begin() { return entries; }
    int *end() { return entries + count; }
    const int *begin() const { return entries; }
    const int *end() const { return entries + count; }

    // Makes room for n entries without changing the size.
    void reserve(size_t n) {
        if (n > static_cast<size_t>(capacity))
            grow(n);
    }
    // n entries; new ones are 0.
    void resize(size_t n);
    // Appends the entries [from, to), which must not lie in this list.
    void append(const int *from, const int *to) {
        const size_t n = static_cast<size_t>(to - from);
        reserve(size() + n);
        std::copy(from, to, entries + count);
        count += static_cast<int>(n);
    }
    void push_back(int serial) { append(&serial, &serial + 1); }

    // A copy as a vector, for code that keeps serial numbers apart from a bus.
    operator std::vector<int>() const { return std::vector<int>(begin(), end()); }
    friend bool operator==(const SerialNumbers &a, const std::vector<int> &b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    static constexpr int inlineCount = 4;
    int *entries = inlineEntries;
    int count = 0;
    int capacity = inlineCount;
    int inlineEntries[inlineCount] = {};

    void grow(size_t n);
    void release() {
        if (entries != inlineEntries)
            delete[] entries;
    }
};

// A named, ordered view on single-bit wires, entry 0 the least significant
// bit.  Only the three value constructors create wires; every operator makes a
// new view on existing ones.
class Signal {
public:
    int length = 0;
    SerialNumbers serialNumber; // empty when length is 0
    int constSignal = 0;
    std::string nameTag;

    // A bus of nr fresh UNINITIALIZED wires named name[0] ... name[nr-1]
    // (Annon[0] ... when name is null).
    Signal(unsigned nr, const char *name);
    // A bus of nr fresh wires with the given initial value and constness.
    Signal(unsigned nr, SignalValue initValue, int constValue, const char *name);
    // A constant bus whose bit i is ONE where bit i (mod 32) of setMask is set.
    Signal(unsigned nr, unsigned setMask, const char *name);
    // Another view on the same wires; creates none.
    Signal(const Signal &sig);
    // Drops this view; the wires stay registered.
    ~Signal();

    // A one-bit constant view on a wire registered when the netlist was
    // started (serial 0 for Zero, 1 for One); creates no wire.
    static Signal registeredConstant(int serial, const char *name);

    // The one-bit view of bit sub; ends the process (status 1) when out of range.
    Signal operator[](int sub) const;
    // A slice from bit end towards bit start, entry 0 being bit end; ends the
    // process (status 1) when a bound lies outside the bus.
    Signal sub(int start, int end) const;
    // The run of consecutive serial numbers between two one-bit signals.
    Signal operator-(const Signal &sig) const;
    // Not supported: writes its message and leaves the bus unchanged.
    Signal &operator=(const Signal &sig);
    // Concatenation, the right operand in the low bits.
    Signal operator,(const Signal &b) const;
    // Debug dump to standard error.
    void print() const;

private:
    Signal() = default; // for operator results, which create no wires
    // Registers nr fresh wires named after the bus; bit i gets value(i).
    template <typename BitValue> void createWires(unsigned nr, int constValue, BitValue value);
    // A view of n existing wires, named and flagged like this bus; entry k is entry(k).
    template <typename Entry> Signal viewOf(int n, Entry entry) const;
    friend Signal operator*(int reps, const Signal &s);
};
using Signals = Signal;

// Replication: reps copies of s, s in the low bits of each copy (empty when
// reps or s is empty).
Signal operator*(int reps, const Signal &s);

// An immutable text kept for the whole run.  Component labels, positions and
// wire names are stored once in a shared store and referred to by an 8-byte
// handle; equal texts stored close together share one copy (a netlist repeats
// the same labels and positions many times in a row).
class StoredText {
public:
    // The empty text.
    StoredText() = default;
    // Stores a copy of text (null stores the empty text).
    StoredText(const char *text);
    StoredText(const std::string &text);
    StoredText(std::string_view text);

    const char *c_str() const { return text; }
    bool empty() const { return *text == '\0'; }
    size_t size() const { return std::string_view(text).size(); }
    char operator[](size_t i) const { return text[i]; }
    operator std::string_view() const { return text; }
    operator std::string() const { return text; }

    // Found only for a StoredText operand, so they never turn other texts
    // into stored ones.
    friend bool operator==(const StoredText &a, std::string_view b) { return std::string_view(a.text) == b; }
    friend bool operator==(std::string_view a, const StoredText &b) { return a == std::string_view(b.text); }
    friend bool operator!=(const StoredText &a, std::string_view b) { return !(a == b); }
    friend std::ostream &operator<<(std::ostream &out, const StoredText &t) { return out << t.text; }

private:
    const char *text = "";
};

// Storage for the capture lists: large blocks filled in order.  Each
// allocation names the record (component index or serial number) it belongs
// to, so that conversion can give back every block whose records it has
// already copied while it goes on, instead of holding the whole capture and
// the whole set of arrays at once.
class CaptureArena {
public:
    CaptureArena() = default;
    CaptureArena(const CaptureArena &) = delete;
    CaptureArena &operator=(const CaptureArena &) = delete;

    // Uninitialised room for n objects of trivially destructible type T
    // belonging to record owner (null for n == 0).
    template <typename T> T *allocate(size_t n, long owner) {
        return n == 0 ? nullptr : static_cast<T *>(allocateBytes(n * sizeof(T), alignof(T), owner));
    }
    // Frees every block holding only records numbered below next.
    void releaseBefore(long next);
    // Frees every block.
    void releaseAll() { blocks.clear(); }

private:
    struct Block {
        std::unique_ptr<std::byte[]> bytes;
        size_t size = 0;
        size_t used = 0;
        long lastOwner = -1;
    };
    std::deque<Block> blocks;

    void *allocateBytes(size_t bytes, size_t alignment, long owner);
};

// One registered single-bit wire.
struct SignalNode {
    SignalNode *ptr = nullptr;
    int signalSerialNumber = 0;
    StoredText name;
    int constSignal = 0;
    SignalValue value = UNINITIALIZED;

    // One line to standard error: number, constness, name and value.
    void print() const;
};

// Every wire ever created, in serial-number order.
class SignalList {
public:
    int numberOfSignals = 0; // running count, also the next serial number
    SignalNode *start = nullptr;
    SignalNode *end = nullptr;

    SignalList() = default;
    SignalList(const SignalList &) = delete;
    SignalList &operator=(const SignalList &) = delete;

    // Appends a node; does not change numberOfSignals (the constructors do).
    void add(int number, SignalValue sv, std::string_view name, int constSpec);
    // Prints every node to standard error.
    void print() const;
    // Frees every node once conversion has copied them; the count stays.
    void releaseNodes();
    // Writes the "There are N signals." count line; the nodes go with it.
    ~SignalList();

private:
    CaptureArena nodes;
};

// The constants, serial numbers 0 and 1.
extern Signal Zero;
extern Signal One;
