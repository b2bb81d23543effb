// Running circuits of the model in-process the way the program runs them
// without a window: build, check and start headless, then key presses, each
// followed by the settling of the circuit.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/Signal.h"

// Builds the circuit with build on a fresh netlist, converts it and runs the
// settling start headless; returns what was written on standard error (the
// count lines, any connectivity warning and the probe lines).
std::string startHeadless(const std::function<void()> &build);

// Presses a key the way the window does: the first switch bound to it
// operates.  Returns the component index it reached, or -1 for none.
int press(char key);

// Presses the keys in order, letting the circuit settle after each, and
// returns the probe lines written meanwhile.
std::string pressAndSettle(const std::string &keys);

// The value each probe shows last in the given probe lines, by probe label.
std::map<std::string, std::string> lastValues(const std::string &lines);

// The serial numbers of the first bus of the netlist named name, entry 0 its
// bit 0 ("R1" finds R1[0] ... R1[15]); empty when there is none.
std::vector<int> busNamed(const std::string &name);

// A bus's current value as a number, when every bit is ZERO or ONE.
std::optional<uint32_t> wordOf(const std::vector<int> &serials);
std::optional<uint32_t> wordOf(const Signal &bus);

// The current value of one wire.
SignalValue valueOf(int serial);

// Whether the kernel has nothing left to do.
bool settled();

// Drives the wires to value from outside the circuit, as if a probe tip
// forced them, and lets the circuit settle.  A component that drives them
// takes them back at its next evaluation.
void forceAndSettle(const std::vector<int> &serials, uint32_t value);

// The switch bus whose highest bit is toggled by firstKey (the lower bits by
// the following characters) is set to value through key presses, letting the
// circuit settle after each.
void setSwitches(char firstKey, const std::vector<int> &bus, uint32_t value);
