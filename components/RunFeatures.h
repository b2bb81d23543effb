// What a run's start and end ask of the component library, and all they
// ask: loading ROM files and checking the names to explain before the run,
// the value summary and the explanations after it.  core/Sim and core/RunEnd
// include no other header of components/; RomFiles, ProbeSummary and Explain
// implement these.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Forgets the ROM file kinds, the program counter and what was loaded, before
// a circuit's build function adds its own.
void resetRomFiles();

// Loads the file of every request "ROM=FILE" into the ROM at that position,
// once the netlist is converted and before the run.  Any error (no such ROM
// or several, a ROM named twice, a file that cannot be read, a malformed
// file) is written to standard error and ends the process with status 1.
void loadRomFiles(const std::vector<std::string> &requests);

// Writes the line of every probe, in component order, to out.
void writeProbeSummary(std::ostream &out);

// After the probes' lines of -s: for each ROM loaded from a file whose kind
// describes instructions, the instruction at the program counter.
void writeRomSummary(std::ostream &out);

// Once the netlist is converted and before the run: every name given with -w
// must stand for a probe or signals.  Each one that does not is written to
// standard error with the nearest names the circuit has, and then the
// process ends with status 1.
void checkExplainNames(const std::vector<std::string> &names);

// The end of the run: for every name given with -w, its explanation on out
// (checkExplainNames has made sure each stands for something).  Does nothing
// without -w.
void writeExplanations(std::ostream &out);
