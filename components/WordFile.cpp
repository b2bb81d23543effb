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

// A UTF-8 character: its length in bytes and its code point.
struct Utf8Character {
    std::string::size_type length = 0; // 0 where the bytes are none
    uint32_t code = 0;
};

// The UTF-8 character that starts at byte at, refusing overlong forms,
// surrogates and code points beyond U+10FFFF.
Utf8Character utf8CharacterAt(const std::string &text, std::string::size_type at) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80)
        return {1, lead};
    const std::string::size_type length = lead < 0xC0   ? 0
                                          : lead < 0xE0 ? 2
                                          : lead < 0xF0 ? 3
                                          : lead < 0xF8 ? 4
                                                        : 0;
    if (length == 0 || text.size() - at < length)
        return {};
    uint32_t code = lead & (0x7F >> length);
    for (std::string::size_type k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80)
            return {};
        code = code << 6 | (next & 0x3F);
    }
    constexpr uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000}; // by length
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return {};
    return {length, code};
}

// The characters a message writes as bytes: controls, and those that break
// the line or reorder the text around them.
// clang-format off
constexpr struct {
    uint32_t first, last;
} unprintableRanges[] = {
    {0x0000, 0x001F}, // C0 controls, NUL to the unit separator
    {0x007F, 0x009F}, // DEL and the C1 controls
    {0x2028, 0x2029}, // line and paragraph separators
    {0x202A, 0x202E}, // bidirectional embeddings and overrides
    {0x2066, 0x2069}, // bidirectional isolates
};
// clang-format on

bool printsAsItself(uint32_t code) {
    return std::none_of(std::begin(unprintableRanges), std::end(unprintableRanges),
                        [&](const auto &r) { return code >= r.first && code <= r.last; });
}

void appendEscaped(std::string &out, unsigned char byte) {
    constexpr char digits[] = "0123456789ABCDEF";
    out += "\\x";
    out += digits[byte >> 4];
    out += digits[byte & 0xF];
}

} // namespace

std::string characterAt(const std::string &text, std::string::size_type at) {
    return text.substr(at, std::max<std::string::size_type>(utf8CharacterAt(text, at).length, 1));
}

std::string printable(const std::string &text) {
    std::string out;
    for (std::string::size_type at = 0; at < text.size();) {
        const Utf8Character c = utf8CharacterAt(text, at);
        const std::string::size_type length = std::max<std::string::size_type>(c.length, 1);
        const bool whole = c.length > 0 && printsAsItself(c.code);
        for (std::string::size_type k = at; k < at + length; ++k)
            if (whole)
                out += text[k];
            else
                appendEscaped(out, static_cast<unsigned char>(text[k]));
        at += length;
    }
    return out;
}

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

std::optional<uint64_t> valueOfDigits(const std::string &digits, unsigned base, const std::string &text,
                                      std::string &reason) {
    uint64_t value = 0;
    for (const char c : digits) {
        const unsigned digit = std::isdigit(static_cast<unsigned char>(c))
                                   ? c - '0'
                                   : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
        if (value > (std::numeric_limits<uint64_t>::max() - digit) / base) {
            reason = "'" + text + "' has more than 64 bits";
            return std::nullopt;
        }
        value = value * base + digit;
    }
    return value;
}

std::optional<uint64_t> hexNumber(const std::string &text, std::string &reason) {
    const bool prefixed = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = prefixed ? text.substr(2) : text;
    if (digits.empty()) {
        reason = "a number is missing";
        return std::nullopt;
    }
    const auto notDigit =
        std::find_if_not(digits.begin(), digits.end(), [](unsigned char c) { return std::isxdigit(c); });
    if (notDigit != digits.end()) {
        reason = "'" + characterAt(digits, notDigit - digits.begin()) + "' is not a hexadecimal digit";
        return std::nullopt;
    }
    return valueOfDigits(digits, 16, text, reason);
}

RomImageBuilder::RomImageBuilder(std::string fileName, RomShape shape, bool hexAddresses)
    : file(std::move(fileName)), romShape(shape), hex(hexAddresses),
      givenOnLine(std::max(shape.words, 0), 0) {
    contents.words.assign(givenOnLine.size(), 0);
}

void RomImageBuilder::error(int line, const std::string &reason) {
    errors.emplace_back(line, file + ":" + std::to_string(line) + ": " + reason);
}

void RomImageBuilder::fileError(const std::string &reason) {
    errors.emplace_back(0, file + ": " + reason);
}

std::string RomImageBuilder::addressText(uint64_t address) const {
    return hex ? hexText(address) : std::to_string(address);
}

bool RomImageBuilder::holds(int line, uint64_t address) {
    return holds(line, address, addressText(address));
}

bool RomImageBuilder::holds(int line, uint64_t address, const std::string &written) {
    if (address < givenOnLine.size())
        return true;
    error(line, "address " + written + " is beyond the last word " + addressText(givenOnLine.size() - 1));
    return false;
}

void RomImageBuilder::place(int line, uint64_t address, uint64_t value) {
    if (!holds(line, address))
        return;
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
    std::optional<uint64_t> next = 0; // none after an address that is none or beyond the last word
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
            if (!at) {
                next = std::nullopt;
                continue;
            }
        }
        text = lineWithoutComment(text);
        if (!at) {
            word(lineNumber, text); // for its errors only
            continue;
        }
        if (!image.holds(lineNumber, *at)) {
            next = std::nullopt;
            continue;
        }
        next = *at + 1;
        if (const std::optional<uint64_t> value = word(lineNumber, text))
            image.place(lineNumber, *at, *value);
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
