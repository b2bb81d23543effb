// Option -R: finding the named ROM, reading its file and writing its bytes.
#include "components/RomFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
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

// The bounds on what a ROM file may hold, so that a file given by mistake
// (a log, a program, an image) is refused at once rather than read for long.
// A file may have as many lines of the longest length as its ROM has words,
// and at least smallestLineBudget of them, for the comments of a small ROM's
// file.
constexpr std::size_t longestLine = 4096; // bytes, without the newline
constexpr std::size_t smallestLineBudget = 256;
// A file's errors shown before the rest are only counted.
constexpr std::size_t errorsShown = 20;

std::size_t largestFile(RomShape shape) {
    return longestLine *
           std::max<std::size_t>(static_cast<std::size_t>(std::max(shape.words, 0)), smallestLineBudget);
}

[[noreturn]] void reject(const std::string &reason) {
    std::cerr << "Option -R rejected: " << reason << "\n";
    std::exit(1);
}

// Ends the program unless status is a regular file's: a directory, a device
// or a FIFO is no ROM file, and reading one could block or never end.
void refuseUnlessRegular(const std::string &fileName, const struct stat &status) {
    if (S_ISDIR(status.st_mode))
        reject(printable(fileName) + " is a directory.");
    if (!S_ISREG(status.st_mode))
        reject(printable(fileName) + " is not a regular file.");
}

[[noreturn]] void rejectTooLarge(const std::string &fileName, std::size_t limit, RomShape shape) {
    reject(printable(fileName) + " is larger than " + std::to_string(limit) +
           " bytes, the most for a ROM of " + std::to_string(shape.words) + " words.");
}

// The bytes of a ROM file: a regular file (a symbolic link is followed) of
// at most largestFile(shape) bytes; anything else ends the program.  The file
// is looked at before it is opened, and opened without waiting, so that a
// FIFO without a writer cannot hang the start.
std::string bytesOf(const std::string &fileName, RomShape shape) {
    const std::string cannotRead = "cannot read " + printable(fileName) + ".";
    struct stat status {};
    if (stat(fileName.c_str(), &status) != 0)
        reject(cannotRead);
    refuseUnlessRegular(fileName, status);
    const int fd = open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        reject(cannotRead);
    // What was opened, which may no longer be what was looked at.
    if (fstat(fd, &status) != 0)
        reject(cannotRead);
    refuseUnlessRegular(fileName, status);
    // A file beyond the limit is read only to just past it.
    const std::size_t limit = largestFile(shape);
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            reject(cannotRead);
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > limit)
            rejectTooLarge(fileName, limit, shape);
    }
    close(fd);
    return bytes;
}

// "FILE:LINE: line longer than N bytes" for each line of bytes beyond the
// longest a ROM file may have.
std::vector<std::string> overlongLines(const std::string &fileName, const std::string &bytes) {
    std::vector<std::string> errors;
    int lineNumber = 1;
    for (std::string::size_type start = 0; start < bytes.size(); ++lineNumber) {
        const std::string::size_type newline = std::min(bytes.find('\n', start), bytes.size());
        if (newline - start > longestLine)
            errors.push_back(fileName + ":" + std::to_string(lineNumber) + ": line longer than " +
                             std::to_string(longestLine) + " bytes");
        start = newline + 1;
    }
    return errors;
}

// Writes a file's errors, the first errorsShown of them and then their
// number, and ends the program.
[[noreturn]] void reportErrors(const std::string &fileName, const std::vector<std::string> &errors) {
    for (std::size_t k = 0; k < errors.size() && k < errorsShown; ++k)
        std::cerr << printable(errors[k]) << "\n";
    if (errors.size() > errorsShown) {
        const std::size_t more = errors.size() - errorsShown;
        std::cerr << printable(fileName) << ": " << more << " more error" << (more == 1 ? "" : "s")
                  << " not shown\n";
    }
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
        reject((found.empty() ? "no ROM at " : std::to_string(found.size()) + " ROMs at ") +
               printable(position) + ".\n" + romList());
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
            reject("it takes ROM=FILE, not \"" + printable(request) + "\".");
        const std::string position = request.substr(0, equals), fileName = request.substr(equals + 1);
        const int cind = romAt(position);
        if (std::find(loaded.begin(), loaded.end(), cind) != loaded.end())
            reject("the ROM at " + printable(position) + " is named twice.");
        loaded.push_back(cind);
        const std::string bytes = bytesOf(fileName, shapeOf(cind));
        if (const std::vector<std::string> overlong = overlongLines(fileName, bytes); !overlong.empty())
            reportErrors(fileName, overlong);
        std::istringstream in(bytes);
        const RomFileKind *kind = kindOf(fileName);
        const RomContents contents =
            kind ? kind->read(fileName, in, shapeOf(cind)) : readWordFile(fileName, in, shapeOf(cind));
        if (!contents.errors.empty())
            reportErrors(fileName, contents.errors);
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
