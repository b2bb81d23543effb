// Option -R: finding the named ROM, reading its file and writing its bytes.
#include "components/RomFiles.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "components/RTSigSup.h"
#include "components/vlsiRT.h"
#include "core/Ph2.h"

namespace {

std::vector<RomFileKind> kinds;
std::vector<int> programCounter; // serial numbers, bit 0 first

// A ROM loaded from a file of a kind that describes instructions.
struct LoadedProgram {
    std::string position;
    std::vector<uint64_t> words;
    std::string (*describe)(const std::vector<uint64_t> &words, uint64_t pc);
};
std::vector<LoadedProgram> programs;

[[noreturn]] void reject(const std::string &reason) {
    std::cerr << "Option -R rejected: " << reason << "\n";
    std::exit(1);
}

std::vector<int> romIndices() {
    std::vector<int> roms;
    for (int c = 0; c < phaseTwo->numberOfComponents; ++c)
        if (phaseTwo->logicEvaluate[c] == rom)
            roms.push_back(c);
    return roms;
}

RomShape shapeOf(int cind) {
    return {phaseTwo->integerParameters[cind][romWords], phaseTwo->integerParameters[cind][romBitsPerWord]};
}

// The ROMs there are, one a line, for the messages that name none or several.
std::string romList() {
    const std::vector<int> roms = romIndices();
    if (roms.empty())
        return "The circuit has no ROM.";
    std::ostringstream list;
    list << "The ROMs are:";
    for (const int c : roms)
        list << "\n  " << phaseTwo->rcpos[c] << "  " << shapeOf(c).words << " words of "
             << shapeOf(c).bitsPerWord << " bits";
    return list.str();
}

int romAt(const std::string &position) {
    std::vector<int> found;
    for (const int c : romIndices())
        if (phaseTwo->rcpos[c] == position)
            found.push_back(c);
    if (found.size() != 1)
        reject((found.empty() ? "no ROM at " : std::to_string(found.size()) + " ROMs at ") + position +
               ".\n" + romList());
    return found[0];
}

// Whether text ends in end, in upper or lower case alike (sum.ASM is assembly too).
bool endsWith(const std::string &text, const std::string &end) {
    return text.size() >= end.size() &&
           std::equal(end.begin(), end.end(), text.end() - end.size(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

// The kind the file name's extension selects; null for a word file.
const RomFileKind *kindOf(const std::string &fileName) {
    for (const RomFileKind &kind : kinds)
        if (endsWith(fileName, kind.extension))
            return &kind;
    return nullptr;
}

// The words as the ROM stores them: the most significant byte of a word first.
void writeWords(int cind, const std::vector<uint64_t> &words) {
    const int bytesPerWord = phaseTwo->integerParameters[cind][romAllocatedBytesPerWord];
    unsigned char *bytes = phaseTwo->byteParameters[cind];
    for (size_t a = 0; a < words.size(); ++a)
        for (int k = 0; k < bytesPerWord; ++k)
            bytes[a * bytesPerWord + bytesPerWord - 1 - k] = static_cast<unsigned char>(words[a] >> (8 * k));
}

} // namespace

void addRomFileKind(const RomFileKind &kind) {
    kinds.erase(std::remove_if(kinds.begin(), kinds.end(),
                               [&](const RomFileKind &k) { return k.extension == kind.extension; }),
                kinds.end());
    kinds.push_back(kind);
}

void setProgramCounter(const Signal &pc) {
    programCounter.assign(pc.serialNumber.begin(), pc.serialNumber.end());
}

void loadRomFiles(const std::vector<std::string> &requests) {
    programs.clear();
    std::vector<int> loaded;
    for (const std::string &request : requests) {
        const std::string::size_type equals = request.find('=');
        if (equals == std::string::npos || equals == 0 || equals + 1 == request.size())
            reject("it takes ROM=FILE, not \"" + request + "\".");
        const std::string position = request.substr(0, equals), fileName = request.substr(equals + 1);
        const int cind = romAt(position);
        if (std::find(loaded.begin(), loaded.end(), cind) != loaded.end())
            reject("the ROM at " + position + " is named twice.");
        loaded.push_back(cind);
        std::ifstream in(fileName);
        if (!in)
            reject("cannot read " + fileName + ".");
        const RomFileKind *kind = kindOf(fileName);
        const RomContents contents =
            kind ? kind->read(fileName, in, shapeOf(cind)) : readWordFile(fileName, in, shapeOf(cind));
        if (!contents.errors.empty()) {
            for (const std::string &e : contents.errors)
                std::cerr << e << "\n";
            std::exit(1);
        }
        writeWords(cind, contents.words);
        if (kind && kind->describe)
            programs.push_back({position, contents.words, kind->describe});
    }
}

void writeRomSummary(std::ostream &out) {
    if (programCounter.empty())
        return;
    // The program counter's value, or none while a bit is not binary.
    uint64_t pc = 0;
    bool binary = true;
    for (size_t k = programCounter.size(); k-- > 0;) {
        const SignalValue v = currentValue(programCounter[k]);
        binary = binary && (v == ZERO || v == ONE);
        pc = pc << 1 | (v == ONE ? 1 : 0);
    }
    for (const LoadedProgram &p : programs) {
        out << "Program at " << p.position << ": PC = ";
        if (!binary) {
            out << "not a number\n";
            continue;
        }
        std::ostringstream hex;
        hex << "0x" << std::uppercase << std::hex << pc;
        out << hex.str() << ", " << p.describe(p.words, pc) << "\n";
    }
    out.flush();
}

void resetRomFiles() {
    kinds.clear();
    programCounter.clear();
    programs.clear();
}
