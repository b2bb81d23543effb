// The assembler: a first pass places statements and labels, a second
// resolves operands and writes the words.
#include "model/Assembler.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>

namespace {

// One statement of the source, as the first pass leaves it.
struct Statement {
    int line;
    uint64_t address;
    std::string operation; // a mnemonic in upper case, or ".word"
    std::string operand;   // empty when none was written
};

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool isLabel(const std::string &text) {
    return !text.empty() && (std::isalpha(static_cast<unsigned char>(text[0])) || text[0] == '_') &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isalnum(c) || c == '_'; });
}

const Instruction *instructionNamed(const std::string &mnemonic) {
    for (const Instruction &i : instructionSet)
        if (mnemonic == i.mnemonic)
            return &i;
    return nullptr;
}

// A decimal or 0x-hexadecimal number, with an optional minus sign.
std::optional<long long> numberOf(const std::string &text) {
    const bool negative = !text.empty() && text[0] == '-';
    const std::string digits = negative ? text.substr(1) : text;
    if (digits.empty() || !std::isdigit(static_cast<unsigned char>(digits[0])))
        return std::nullopt;
    long long value = 0;
    if (digits.size() > 2 && (digits[1] == 'x' || digits[1] == 'X')) {
        std::string reason;
        const std::optional<uint64_t> hex = hexNumber(digits, reason);
        if (!hex)
            return std::nullopt;
        value = static_cast<long long>(std::min<uint64_t>(*hex, 1ULL << 40));
    } else {
        for (const char c : digits) {
            if (!std::isdigit(static_cast<unsigned char>(c)))
                return std::nullopt;
            value = std::min(value * 10 + (c - '0'), 1LL << 40);
        }
    }
    return negative ? -value : value;
}

class Assembler {
public:
    Assembler(const std::string &fileName, RomShape shape) : image(fileName, shape, false) {}

    RomContents run(std::istream &source) {
        if (image.shape().bitsPerWord != 16) {
            image.fileError("assembly is for a ROM of 16-bit words, this one has " +
                            std::to_string(image.shape().bitsPerWord));
            return image.take();
        }
        int lineNumber = 0;
        for (std::string line; std::getline(source, line);)
            firstPass(++lineNumber, lineWithoutComment(line, true));
        for (const Statement &s : statements)
            secondPass(s);
        return image.take();
    }

private:
    RomImageBuilder image;
    std::vector<Statement> statements;
    std::map<std::string, std::pair<uint64_t, int>> labels; // address and line
    uint64_t next = 0;
    bool tooLong = false; // said once

    void firstPass(int line, std::string text) {
        const std::string::size_type colon = text.find(':');
        if (colon != std::string::npos) {
            defineLabel(line, lineWithoutComment(text.substr(0, colon)));
            text = text.substr(colon + 1);
        }
        std::vector<std::string> words = wordsOf(text);
        if (words.empty())
            return;
        const std::string operation = upper(words[0]);
        if (operation == ".EQU") {
            equate(line, words);
            return;
        }
        if (words.size() > 2) {
            image.error(line, "more than one operand");
            return;
        }
        const std::string operand = words.size() == 2 ? words[1] : "";
        if (operation == ".ORG")
            origin(line, operand);
        else if (operation == ".WORD" || instructionNamed(operation))
            statements.push_back({line, next++, operation, operand});
        else
            image.error(line, (operation[0] == '.' ? "unknown directive " : "unknown mnemonic ") + words[0]);
    }

    void defineLabel(int line, const std::string &name) {
        if (!isLabel(name)) {
            image.error(line, "'" + name + "' is not a label");
            return;
        }
        const auto [it, fresh] = labels.emplace(name, std::make_pair(next, line));
        if (!fresh)
            image.error(line, "label " + name + " defined twice (first on line " +
                                  std::to_string(it->second.second) + ")");
    }

    // ".equ NAME VALUE": a label for a number, such as a RAM address.
    void equate(int line, const std::vector<std::string> &words) {
        const std::optional<long long> value = words.size() == 3 ? numberOf(words[2]) : std::nullopt;
        if (!value || *value < 0) {
            image.error(line, ".equ needs a name and a number from 0");
            return;
        }
        const uint64_t here = next;
        next = static_cast<uint64_t>(*value);
        defineLabel(line, words[1]);
        next = here;
    }

    void origin(int line, const std::string &operand) {
        const std::optional<long long> address = numberOf(operand);
        if (!address || *address < 0)
            image.error(line, ".org needs an address, a number from 0");
        else
            next = static_cast<uint64_t>(*address);
    }

    // The operand's value: a number or a label's address.
    std::optional<long long> valueOf(const Statement &s) {
        if (const std::optional<long long> n = numberOf(s.operand))
            return n;
        const auto label = labels.find(s.operand);
        if (label != labels.end())
            return static_cast<long long>(label->second.first);
        image.error(s.line, isLabel(s.operand) ? "undefined label " + s.operand
                                               : "'" + s.operand + "' is neither a number nor a label");
        return std::nullopt;
    }

    void secondPass(const Statement &s) {
        if (s.address >= static_cast<uint64_t>(image.shape().words)) {
            if (!tooLong)
                image.error(s.line, "program too long for " + std::to_string(image.shape().words) + " words");
            tooLong = true;
            return;
        }
        if (s.operation == ".WORD") {
            placeData(s);
            return;
        }
        const Instruction &i = *instructionNamed(s.operation);
        if (i.takesOperand == s.operand.empty()) {
            image.error(s.line, s.operation + (i.takesOperand ? " needs an operand" : " takes no operand"));
            return;
        }
        long long operand = 0;
        if (i.takesOperand) {
            const std::optional<long long> value = valueOf(s);
            if (!value)
                return;
            if (*value < 0 || *value > operandMaximum) {
                image.error(s.line,
                            "operand " + s.operand + " out of range 0.." + std::to_string(operandMaximum));
                return;
            }
            operand = *value;
        }
        image.place(s.line, s.address, i.opcode | static_cast<uint64_t>(operand));
    }

    void placeData(const Statement &s) {
        if (s.operand.empty()) {
            image.error(s.line, ".word needs a value");
            return;
        }
        const std::optional<long long> value = valueOf(s);
        if (!value)
            return;
        if (*value < -32768 || *value > 65535) {
            image.error(s.line, "value " + s.operand + " out of range -32768..65535");
            return;
        }
        image.place(s.line, s.address, static_cast<uint64_t>(*value) & 0xFFFF);
    }
};

// The mnemonic the control store runs for each value of an instruction's top
// four bits; 0x3, 0x7, 0xB and 0xC-0xF decode as their neighbours do.
// clang-format off
constexpr const char *mnemonicByTopBits[16] = {
    "LODD", "STOD", "ADDD", "ADDD", "JPOS", "RETN", "JUMP", "JUMP",
    "LODL", "CALL", "LODR", "LODR", "ADDD", "ADDD", "ADDD", "ADDD",
};
// clang-format on

} // namespace

RomContents assembleProgram(const std::string &fileName, std::istream &source, RomShape shape) {
    return Assembler(fileName, shape).run(source);
}

std::string disassemble(uint16_t word) {
    const Instruction &i = *instructionNamed(mnemonicByTopBits[word >> 12]);
    return i.takesOperand ? std::string(i.mnemonic) + " " + std::to_string(word & operandMaximum)
                          : i.mnemonic;
}

std::string describeProgramCounter(const std::vector<uint64_t> &words, uint64_t pc) {
    const uint64_t address = pc & 0x7F; // the memory decodes seven address bits
    if (address & 0x40)
        return "in RAM word " + std::to_string(address & 0x3F);
    if (address >= words.size())
        return "beyond the program";
    return disassemble(static_cast<uint16_t>(words[address]));
}
