// Five-valued logic signals and the buses a circuit is written with.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// The five logic values.  Their numbers order them: many gates take the
// minimum or maximum in this order, so the numbers are part of the logic.
enum SignalValue { ZERO = 0, UNINITIALIZED = 1, XXX = 2, HIZ = 3, ONE = 4 };

// Writes the name of a value ("ZERO" ... "ONE", or "NOT A SIGNAL") to standard error.
void saySignalValue(SignalValue sv);

// The name saySignalValue writes, for callers that build a line in a stream.
const char *signalValueName(SignalValue sv);

// A named, ordered view on single-bit wires, entry 0 the least significant
// bit.  Only the three value constructors create wires; every operator makes a
// new view on existing ones.
class Signal {
public:
    int length = 0;
    std::vector<int> serialNumber; // serial numbers; empty when length is 0
    int constSignal = 0;
    std::string nameTag;

    // A bus of nr fresh UNINITIALIZED wires named name[0] ... name[nr-1].
    Signal(unsigned nr, const char *name);
    // A bus of nr fresh wires with the given initial value and constness.
    Signal(unsigned nr, SignalValue initValue, int constValue, const char *name);
    // A constant bus whose bit i is ONE where bit i (mod 32) of setMask is set.
    Signal(unsigned nr, unsigned setMask, const char *name);
    Signal(const Signal &sig);
    ~Signal();

    // The one-bit view of bit sub; ends the process (status 1) when out of range.
    Signal operator[](int sub) const;
    // A slice whose entry 0 is bit end; ends the process (status 1) when out of range.
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
    friend Signal operator*(int reps, const Signal &s);
};
using Signals = Signal;

// Replication: reps copies of s, s in the low bits of each copy.
Signal operator*(int reps, const Signal &s);

// One registered single-bit wire.
struct SignalNode {
    SignalNode *ptr = nullptr;
    int signalSerialNumber = 0;
    std::string name;
    int constSignal = 0;
    SignalValue value = UNINITIALIZED;

    void print() const;
};

// Every wire ever created, in serial-number order.
class SignalList {
public:
    int numberOfSignals = 0; // running count, also the next serial number
    SignalNode *start = nullptr;
    SignalNode *end = nullptr;

    // Appends a node; does not change numberOfSignals (the constructors do).
    void add(int number, SignalValue sv, const char *name, int constSpec);
    void print() const;
    // Writes the "There are N signals." count line.
    ~SignalList();
};

// The constants, serial numbers 0 and 1.
extern Signal Zero;
extern Signal One;
