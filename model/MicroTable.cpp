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
    const auto address = [&](int line, const std::string &text) {
        const std::optional<uint64_t> value = fieldValue(text);
        if (!value)
            image.error(line, "'" + text + "' is not an address");
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
