// Why is this bit XXX, HIZ or UNINITIALIZED?  Follows a bit that is not
// binary back through the components that drive it to the roots of its
// value, one line per step, for the -w option and for a click on a pane.
//
// Each line names a signal, its value and since when it holds it, then the
// component that drives it (kind, position and label) and the inputs that
// decide the value; only inputs that are not binary themselves are followed.
// A chain ends at a root, marked ROOT and named by its kind ("undriven",
// "contention", ...): the kinds, their texts and what each means are listed
// once, in explain::RootKind and explain::rootKindTexts (components/ExplainRules.h).
// A bit met a second time with the same value is not explained again
// ("explained above"), which also cuts feedback loops; below the depth
// limit, and past a number of lines, the causes are only counted.
//
// Values at earlier times (a register's data when it loaded) come from the
// value history (core/ValueHistory.h), which the run keeps only when an
// explanation may be asked for.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "components/RunFeatures.h"

// How many levels of causes are written below a named bit.
constexpr int explanationDepthLimit = 8;
// How many lines a named group's chains take at most; further causes are
// only counted.
constexpr int explanationLineLimit = 40;

// The bits a name stands for: a probe label (the probe's bits, most
// significant first; a name that is no label but begins the labels of
// several probes, MBR for MBR[1] and MBR[2], stands for all of them), else a
// signal name (mbr[3]), else the bits of the buses of that name.  Each group
// is one probe or one signal name, with the heading it is written under.
struct ExplainedGroup {
    std::string heading; // "R10 at ch-dk", or the signal name
    std::vector<int> bits;
};
std::vector<ExplainedGroup> bitsNamed(const std::string &name);

// The explanation of the bits of one group, written to out: a heading line
// with the group's present value and the time, then the chain of every bit
// that is not binary.  The components found at roots are added to roots.
void explainGroup(std::ostream &out, const ExplainedGroup &group, std::vector<int> &roots,
                  int depthLimit = explanationDepthLimit);

// The groups of a component with a pane (probe, switch, clock ...): the bits
// it shows; empty for any other component.
ExplainedGroup paneGroup(int cind);

// (writeExplanations, for the end of the run: components/RunFeatures.h.)
