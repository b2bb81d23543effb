// Microprogram tables: each line's fields checked against their ranges and
// packed by the layout the control unit reads.
#include "model/MicroTable.h"

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

// A decimal or 0x-hexadecimal field value.
std::optional<uint64_t> fieldValue(const std::string &text) {
    std::string reason;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return hexNumber(text, reason);
    if (text.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        value = value > 1ULL << 40 ? value : value * 10 + (c - '0');
    }
    return value;
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
        const std::optional<uint64_t> value = fieldValue(valueText);
        if (!value) {
            image.error(line, "'" + valueText + "' is not a number");
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
    uint64_t next = 0;
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        std::string text = lineWithoutComment(line);
        if (text.empty())
            continue;
        uint64_t address = next;
        const std::string::size_type colon = text.find(':');
        if (colon != std::string::npos) {
            const std::string addressText = lineWithoutComment(text.substr(0, colon));
            const std::optional<uint64_t> given = fieldValue(addressText);
            if (!given) {
                image.error(lineNumber, "'" + addressText + "' is not an address");
                continue;
            }
            address = *given;
            text = text.substr(colon + 1);
        }
        const std::vector<std::string> words = wordsOf(text);
        std::optional<uint64_t> word;
        std::string reason;
        if (words.empty())
            image.error(lineNumber, "a microinstruction is missing");
        else if (words.size() == 1 && microFieldNamed(words[0]))
            image.error(lineNumber, "field " + words[0] + " needs a value: " + words[0] + "=VALUE");
        else if (words.size() == 1 && words[0].find('=') == std::string::npos) {
            word = hexNumber(words[0], reason);
            if (!word)
                image.error(lineNumber, reason);
        } else
            word = wordOfFields(image, lineNumber, words);
        if (!word)
            continue;
        image.place(lineNumber, address, *word);
        next = address + 1;
    }
    return image.take();
}
