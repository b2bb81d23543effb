// Option -R: a ROM's contents loaded from a file before the run, in place of
// what its circuit gave it.  A ROM is named by its full position string
// (e.g. eo-hr.aa.aa), which the circuit's author chooses.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "components/RunFeatures.h"
#include "components/WordFile.h"
#include "core/Signal.h"

// A kind of file a circuit adds to the word files every ROM accepts: a file
// whose name ends in extension is read by read.  describe, when not null,
// names the instruction at address pc of the words read, for the summary.
struct RomFileKind {
    std::string extension;
    RomContents (*read)(const std::string &fileName, std::istream &in, RomShape shape) = nullptr;
    std::string (*describe)(const std::vector<uint64_t> &words, uint64_t pc) = nullptr;
};

// Adds a kind (a later kind with the same extension replaces the earlier).
// Called from a circuit's build function.
void addRomFileKind(const RomFileKind &kind);

// The signal holding the address of the next instruction (its bit 0 least
// significant), for the summary of a program loaded from a file of a kind
// that describes instructions.  Called from a circuit's build function.
void setProgramCounter(const Signal &pc);

// (resetRomFiles, loadRomFiles and writeRomSummary: components/RunFeatures.h.)
