// Microprogram tables: each line's fields checked against their ranges and
// packed by the layout the control unit reads.
#include "model/MicroTable.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "model/MicroFields.h"

std::optional<MicroField> microFieldNamed(const std::string &name) {
    std::string key;
    for (const char c : name)
        key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const MicroFieldLayout &f : microFields)
        if (key == f.name || key == f.probe)
            return f.field;
    return std::nullopt;
}

namespace {

// A decimal or 0x-hexadecimal value, or none with the reason: "'TEXT' is not
// NOUN" or "'TEXT' has more than 64 bits".
std::optional<uint64_t> fieldValue(const std::string &text, const char *noun, std::string &reason) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    const auto isDigit = [&](unsigned char c) { return hex ? std::isxdigit(c) : std::isdigit(c); };
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), isDigit)) {
        reason = "'" + text + "' is not " + noun;
        return std::nullopt;
    }
    return valueOfDigits(digits, hex ? 16 : 10, text, reason);
}

// The word a line's NAME=VALUE fields make, or none after an error.
std::optional<uint64_t> wordOfFields(RomImageBuilder &image, int line,
                                     const std::vector<std::string> &fields) {
    uint64_t word = 0;
    bool given[std::size(microFields)] = {};
    for (const std::string &text : fields) {
        const std::string::size_type equals = text.find('=');
        if (equals == std::string::npos) {
            image.error(line, "'" + text + "' is not NAME=VALUE");
            return std::nullopt;
        }
        const std::string name = text.substr(0, equals), valueText = text.substr(equals + 1);
        const std::optional<MicroField> field = microFieldNamed(name);
        if (!field) {
            image.error(line, "unknown field " + name);
            return std::nullopt;
        }
        const MicroFieldLayout &layout = layoutOf(*field);
        if (given[static_cast<int>(*field)]) {
            image.error(line, std::string("field ") + layout.name + " given twice");
            return std::nullopt;
        }
        given[static_cast<int>(*field)] = true;
        std::string reason;
        const std::optional<uint64_t> value = fieldValue(valueText, "a number", reason);
        if (!value) {
            image.error(line, reason);
            return std::nullopt;
        }
        if (*value > fieldMaximum(*field)) {
            image.error(line, std::string("field ") + layout.name + " value " + valueText +
                                  " out of range 0.." + std::to_string(fieldMaximum(*field)));
            return std::nullopt;
        }
        word |= fieldBits(*field, static_cast<uint32_t>(*value));
    }
    return word;
}

} // namespace

RomContents readMicroprogram(const std::string &fileName, std::istream &in, RomShape shape) {
    RomImageBuilder image(fileName, shape, false);
    if (shape.bitsPerWord != 32) {
        image.fileError("a microprogram is for a ROM of 32-bit words, this one has " +
                        std::to_string(shape.bitsPerWord));
        return image.take();
    }
    const auto address = [&](int line, const std::string &text) {
        std::string reason;
        const std::optional<uint64_t> value = fieldValue(text, "an address", reason);
        if (!value)
            image.error(line, reason);
        return value;
    };
    const auto microinstruction = [&](int line, const std::string &text) -> std::optional<uint64_t> {
        const std::vector<std::string> words = wordsOf(text);
        std::string reason;
        if (words.empty())
            image.error(line, "a microinstruction is missing");
        else if (words.size() == 1 && microFieldNamed(words[0]))
            image.error(line, "field " + words[0] + " needs a value: " + words[0] + "=VALUE");
        else if (words.size() > 1 || words[0].find('=') != std::string::npos)
            return wordOfFields(image, line, words);
        else if (const std::optional<uint64_t> word = hexNumber(words[0], reason))
            return word;
        else
            image.error(line, reason);
        return std::nullopt;
    };
    readWordLines(image, in, address, microinstruction);
    return image.take();
}
