// Word files and the checks every ROM file kind shares.
#include "components/WordFile.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <sstream>

namespace {

std::string hexText(uint64_t value) {
    std::ostringstream text;
    text << "0x" << std::uppercase << std::hex << value;
    return text.str();
}

} // namespace

std::string lineWithoutComment(const std::string &line, bool semicolons) {
    const std::string::size_type end = line.find_first_of(semicolons ? "#;" : "#");
    const std::string text = line.substr(0, end);
    const std::string::size_type first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> wordsOf(const std::string &text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

std::optional<uint64_t> hexNumber(const std::string &text, std::string &reason) {
    const bool prefixed = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = prefixed ? text.substr(2) : text;
    if (digits.empty()) {
        reason = "a number is missing";
        return std::nullopt;
    }
    uint64_t value = 0;
    for (const char c : digits) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            reason = std::string("'") + c + "' is not a hexadecimal digit";
            return std::nullopt;
        }
        const uint64_t digit = std::isdigit(static_cast<unsigned char>(c))
                                   ? c - '0'
                                   : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
        const uint64_t largest = std::numeric_limits<uint64_t>::max();
        value = value > (largest >> 4) ? largest : value << 4 | digit;
    }
    return value;
}

RomImageBuilder::RomImageBuilder(std::string fileName, RomShape shape, bool hexAddresses)
    : file(std::move(fileName)), romShape(shape), hex(hexAddresses),
      givenOnLine(shape.words > 0 ? shape.words : 0, 0) {
    contents.words.assign(givenOnLine.size(), 0);
}

void RomImageBuilder::error(int line, const std::string &reason) {
    errors.emplace_back(line, file + ":" + std::to_string(line) + ": " + reason);
}

void RomImageBuilder::fileError(const std::string &reason) {
    errors.emplace_back(0, file + ": " + reason);
}

void RomImageBuilder::place(int line, uint64_t address, uint64_t value) {
    const auto addressText = [&](uint64_t a) { return hex ? hexText(a) : std::to_string(a); };
    if (address >= givenOnLine.size()) {
        error(line, "address " + addressText(address) + " is beyond the last word " +
                        addressText(givenOnLine.size() - 1));
        return;
    }
    if (givenOnLine[address] != 0) {
        error(line, "address " + addressText(address) + " was given a value on line " +
                        std::to_string(givenOnLine[address]));
        return;
    }
    if (romShape.bitsPerWord < 64 && value >> romShape.bitsPerWord != 0) {
        error(line,
              "word " + hexText(value) + " is wider than " + std::to_string(romShape.bitsPerWord) + " bits");
        return;
    }
    givenOnLine[address] = line;
    contents.words[address] = value;
}

RomContents RomImageBuilder::take() {
    std::stable_sort(errors.begin(), errors.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (auto &e : errors)
        contents.errors.push_back(std::move(e.second));
    errors.clear();
    return std::move(contents);
}

void readWordLines(RomImageBuilder &image, std::istream &in, const LineReader &address,
                   const LineReader &word) {
    uint64_t next = 0;
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        std::string text = lineWithoutComment(line);
        if (text.empty())
            continue;
        std::optional<uint64_t> at = next;
        const std::string::size_type colon = text.find(':');
        if (colon != std::string::npos) {
            at = address(lineNumber, lineWithoutComment(text.substr(0, colon)));
            text = text.substr(colon + 1);
        }
        const std::optional<uint64_t> value = at ? word(lineNumber, lineWithoutComment(text)) : std::nullopt;
        if (!value)
            continue;
        image.place(lineNumber, *at, *value);
        next = *at + 1;
    }
}

RomContents readWordFile(const std::string &fileName, std::istream &in, RomShape shape) {
    RomImageBuilder image(fileName, shape);
    const auto hex = [&](int line, const std::string &text) {
        std::string reason;
        const std::optional<uint64_t> value = hexNumber(text, reason);
        if (!value)
            image.error(line, reason);
        return value;
    };
    const auto oneWord = [&](int line, const std::string &text) -> std::optional<uint64_t> {
        const std::vector<std::string> words = wordsOf(text);
        if (words.size() == 1)
            return hex(line, words[0]);
        image.error(line, words.empty() ? "a word is missing" : "more than one word on a line");
        return std::nullopt;
    };
    readWordLines(image, in, hex, oneWord);
    return image.take();
}
