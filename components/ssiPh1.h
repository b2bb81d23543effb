// Capture functions of the small-scale components, called from a circuit's
// build function.  Each checks its buses and registers its component(s); a
// length or parameter error writes its message to standard error and ends the
// program at once with exit status 1.
// (The file name: ssi, the small-scale family; Ph1, capture: the first phase of a run.)
#pragma once

#include <string>

#include "core/Schmtc.h"
#include "core/Signal.h"

// ---- Gates: one output each; the vector forms register one gate per output
// bit, from the highest output position down. ----

// Tri-state buffer: out follows in while control is ONE, else releases it
// (HIZ).  All three buses one bit long.  Several may drive one bus.
void Tsb(const SD &sd, const Signal &in, const Signal &control, const Signal &out);
void Nand(const SD &sd, const Signals &in, const Signal &out);
void Nor(const SD &sd, const Signals &in, const Signal &out);
void Xor(const SD &sd, const Signals &in, const Signal &out);
void Xnor(const SD &sd, const Signals &in, const Signal &out);
// Mixed gates: inTrue enter as they are, inComplement complemented.
void Iand(const SD &sd, const Signals &inTrue, const Signals &inComplement, const Signal &out);
void Inand(const SD &sd, const Signals &inTrue, const Signals &inComplement, const Signal &out);
void CiOr(const SD &sd, const Signals &inTrue, const Signals &inComplement, const Signal &out);
void CiNor(const SD &sd, const Signals &inTrue, const Signals &inComplement, const Signal &out);
// ONE when in[0] and in[1] hold the same one of the five values; needs at
// least two inputs.
void MultiLevelCompare(const SD &sd, const Signals &in, const Signal &out);
// One AND over all of in when out is one bit; otherwise out[i] is the AND of
// the i-th of out.length equal groups of in.
void And(const SD &sd, const Signals &in, const Signal &out);
// Bitwise two-input ANDs; a one-bit in1 or in2 is shared by every bit.
void And(const SD &sd, const Signals &in1, const Signals &in2, const Signal &out);
void Or(const SD &sd, const Signals &in, const Signal &out);
void Or(const SD &sd, const Signals &in1, const Signals &in2, const Signal &out);
// One inverter, or one per bit for buses of equal length of two or more.
void Not(const SD &sd, const Signals &in, const Signals &out);

// ---- Stimulus and observation ----

// One probe per bit, from the highest bit down, labelled label or the bit's
// name.  With partitions, groups of partitionSize[0], [1], ... bits (the last
// size repeating) counted from the top are separated by spaces.
void Probe(const SD &sd, const Signals &in, const std::string &label, const int numberOfPartitions = 0,
           const int *partitionSize = nullptr);
// A row of probes in sub-positions of sd at sd's level, bit 0 rightmost.
void ProbeH(const SD &sd, const Signals &in, const std::string &label);
// Eight-bit probes (exactly eight bits, checked when first drawn): bars
// stacked (ProbeByte) or side by side (ProbeByteH).
void ProbeByte(const SD &sd, const Signals &in, const std::string &label);
void ProbeByteH(const SD &sd, const Signals &in, const std::string &label);
// One keyboard switch per bit: keyChar toggles the highest bit, the following
// character codes the lower bits.  Starts at the level of init[0].
void Switch(const SD &sd, const Signal &out, const char keyChar, const Signal &init,
            const std::string &label);
// After each reset: init[0]'s level, then the other level time units later.
void PowerOn(const SD &sd, const Signal &out, const int time, const Signal &init);
// Each key press gives one pulse of the level opposite to init[0].
void Pulser(const SD &sd, const Signal &out, const char keyChar, const int duration, const Signal &init);
// A box standing for a sub-circuit, shown only at exactly its own level.
void Module(const SD &sd, const Signals &in, const Signal &out);
void Module(const SD &sd, const char *tag, const Signals &in, const Signal &out);
// Ends the run when in[0] becomes ONE.
void Stop(const SD &sd, const Signal &in);
// A free-running clock starting at init[0]'s level: first change after offset,
// the other level held for duration of every period (plus the kernel's delays).
void Clock(const SD &sd, const Signal &out, const int duration, const int offset, const int period,
           const Signal &init);
// An empty place in the schematic.
void Space(const SD &sd);
