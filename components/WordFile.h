// ROM contents read from text files: the word file every ROM accepts, and
// the pieces the other file kinds (assembly, microprogram tables) share with
// it.  Pure: nothing here touches the netlist.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <vector>

// The size of a ROM.
struct RomShape {
    int words = 0;
    int bitsPerWord = 0;
};

// A file's words, word 0 first and every word the file does not give zero,
// or the errors that stop the run, each "FILE:LINE: reason".
struct RomContents {
    std::vector<uint64_t> words;
    std::vector<std::string> errors;
};

// One line of a file without its comment (from '#'; from ';' too when
// semicolons is set) and its surrounding blanks.
std::string lineWithoutComment(const std::string &line, bool semicolons = false);

// The words of text split at blanks and tabs.
std::vector<std::string> wordsOf(const std::string &text);

// The character of text that starts at byte at: a whole UTF-8 character, or
// the one byte where the bytes there are none.
std::string characterAt(const std::string &text, std::string::size_type at);

// text as a message shows it: printable ASCII and UTF-8 characters stay
// whole; every other byte (NUL and the other controls, DEL, bytes of no UTF-8
// character, and the characters that are controls or reorder the text
// around them) is written as \xNN.
std::string printable(const std::string &text);

// The value of digits, each a digit of base (10 or 16), or none after setting
// reason to "'TEXT' has more than 64 bits", TEXT being the number as written.
std::optional<uint64_t> valueOfDigits(const std::string &digits, unsigned base, const std::string &text,
                                      std::string &reason);

// A hexadecimal number, "0x" optional, or the reason it is none: "'g' is
// not a hexadecimal digit" (the character whole), "'TEXT' has more than 64
// bits".
std::optional<uint64_t> hexNumber(const std::string &text, std::string &reason);

// Collects a file's words for a ROM of a given shape and its errors, so
// that every kind of file reports a misplaced word the same way.
class RomImageBuilder {
public:
    // Messages write addresses in hexadecimal, or in decimal for files
    // that write them so.
    RomImageBuilder(std::string fileName, RomShape shape, bool hexAddresses = true);

    // Records "FILE:LINE: reason".
    void error(int line, const std::string &reason);
    // Records "FILE: reason", for an error of the whole file.
    void fileError(const std::string &reason);
    // Whether address is one of the ROM's words; records "address A is beyond
    // the last word L" when not, A as written (in the file's notation when
    // not given).
    bool holds(int line, uint64_t address);
    bool holds(int line, uint64_t address, const std::string &written);
    // Puts value at address: an error when the address lies beyond the last
    // word, already holds a value, or the value has more bits than a word.
    void place(int line, uint64_t address, uint64_t value);
    const RomShape &shape() const { return romShape; }
    // The words, and the errors in the order of their lines.
    RomContents take();

private:
    std::string addressText(uint64_t address) const;

    std::string file;
    RomShape romShape;
    bool hex;
    RomContents contents;
    std::vector<std::pair<int, std::string>> errors; // by line, 0 for the whole file
    std::vector<int> givenOnLine;                    // 0 where the word was not given
};

// Reads a file of one word a line: comments and blank lines are skipped; an
// "ADDRESS:" prefix is read by address, the rest of the line by word (each
// returns none after reporting its error), and the word is placed at the
// address, or at the one after the previous line's (word 0 first).  After an
// address that is none or beyond the last word the lines without an address
// are read for their errors but placed nowhere, until the next address: they
// are not blamed for the one at fault.
using LineReader = std::function<std::optional<uint64_t>(int line, const std::string &text)>;
void readWordLines(RomImageBuilder &image, std::istream &in, const LineReader &address,
                   const LineReader &word);

// A word file: one hexadecimal word per line, optionally after a
// hexadecimal "ADDRESS:"; a line without an address takes the one after
// the previous line's (word 0 first).  '#' starts a comment; blank lines are
// skipped.
RomContents readWordFile(const std::string &fileName, std::istream &in, RomShape shape);
