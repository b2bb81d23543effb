// The steps of an explanation (components/Explain.h), one signal at a time:
// what drives a signal and which of the driver's inputs decide the value it
// held at a time, or the root that ends the chain there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "core/Signal.h"
#include "core/ValueHistory.h"

namespace explain {

// The kinds of root at which a chain ends, each written after "ROOT" by its
// text in rootKindTexts.
enum class RootKind : uint8_t {
    undriven,              // a bus with no driver enabled
    contention,            // drivers that disagree, or one refused while another held the bus
    notLoaded,             // a register, flip-flop, counter or memory word nothing has written
    inputLeftOpen,         // nothing drives the signal, or a source's initial level is not binary
    passingThroughXxx,     // between two levels at that very time, with the time it settles
    inTransition,          // a level its inputs no longer ask for, or one on its way to another
    readBeyondTheLastWord, // a memory read at an address past its last word
    stored,                // a memory word written with a value that is not binary
    notFollowed,           // a component whose rule is not known (a circuit's own)
};

constexpr size_t numberOfRootKinds = static_cast<size_t>(RootKind::notFollowed) + 1;

// What a line says of each root kind, the text of kind k at index k: what
// the lines, the -w documentation and the tests name the roots by.
inline constexpr const char *rootKindTexts[] = {
    "undriven",
    "contention",
    "not loaded since the reset",
    "input left open",
    "passing through XXX",
    "in transition",
    "read beyond the last word",
    "stored",
    "not followed",
};
static_assert(std::size(rootKindTexts) == numberOfRootKinds, "every root kind has its text");

// The text of a root kind.
const char *rootText(RootKind kind);

// An input to follow: a signal at a time.
struct Cause {
    int signal;
    uint64_t time;
};

// What one line says about a signal, and where the chain goes next.
struct Finding {
    std::string driver; // "Register at aa", or what stands in for a driver
    std::string detail; // the deciding inputs, or "ROOT " and the root's kind
    std::vector<Cause> causes;
    std::vector<int> rootComponents; // components to mark in the window
};

// A component driving a signal, and the output position the signal has there.
struct Drive {
    int component;
    int output;
};

// The components driving each signal of the converted netlist: every
// component listing it as an output, but module boxes, which only stand
// for their contents.
class Drivers {
public:
    Drivers();
    // The drivers of signal s.
    const std::vector<Drive> &of(int s) const { return table[static_cast<size_t>(s)]; }

private:
    std::vector<std::vector<Drive>> table; // per signal
};

// The step for signal s, which holds span at time t; drivers are the
// netlist's.
Finding findingFor(const Drivers &drivers, int s, uint64_t t, const HeldValue &span);

// The present simulated time.
uint64_t now();
// Signal s over the interval holding time t: from the value history, or,
// without one, the present only.
HeldValue spanOf(int s, uint64_t t);
std::string valueName(SignalValue v);
std::string nameOf(int s);
// The serial numbers of component c's data inputs, in order.
std::vector<int> dataPins(int c);

} // namespace explain
