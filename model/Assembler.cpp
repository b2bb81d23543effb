// The assembler: a first pass places statements and labels, a second
// resolves operands and writes the words.  Instructions come from the
// instruction set's table, directives from the directives' table below.
#include "model/Assembler.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>

namespace {

struct Statement;
struct Assembly;

// What a directive's operands are, which says when it acts.
enum class OperandKind {
    number, // numbers (and the name .equ defines), known as the line is read: the directive acts
            // then and places no word
    value,  // a number or a label, known once every line is read: the directive takes an address
            // and places its word there in the second pass
};

// A directive, such as ".org 10": a statement for the assembler rather than
// an instruction for the computer.
struct Directive {
    const char *name;  // as documented; any case is accepted
    unsigned operands; // how many it takes
    OperandKind kind;  // what they are
    const char *needs; // what it needs, for the error when its operands are missing or wrong
    void (*act)(Assembly &, const Statement &); // what it does, once it has its operands
};

// One statement of the source, as the first pass leaves it.
struct Statement {
    int line;
    std::optional<uint64_t> address;   // the word it places, if it places one: none after an
                                       // origin beyond the last word
    const Instruction *instruction;    // the instruction it is, or
    const Directive *directive;        // the directive it is
    std::vector<std::string> operands; // as written
};

// What the assembler has gathered so far.
struct Assembly {
    Assembly(const std::string &fileName, RomShape shape) : image(fileName, shape, false) {}

    RomImageBuilder image;
    std::vector<Statement> statements;
    std::map<std::string, std::pair<uint64_t, int>> labels; // address and line
    std::optional<uint64_t> next = 0; // the address of the next word: none after an origin beyond
                                      // the last word, whose statements are checked but placed nowhere
    bool tooLong = false;             // said once
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

void defineLabel(Assembly &a, int line, const std::string &name, uint64_t address) {
    if (!isLabel(name)) {
        a.image.error(line, "'" + name + "' is not a label");
        return;
    }
    const auto [it, fresh] = a.labels.emplace(name, std::make_pair(address, line));
    if (!fresh)
        a.image.error(line, "label " + name + " defined twice (first on line " +
                                std::to_string(it->second.second) + ")");
}

// The operand's value: a number or a label's address.
std::optional<long long> valueOf(Assembly &a, int line, const std::string &operand) {
    if (const std::optional<long long> n = numberOf(operand))
        return n;
    const auto label = a.labels.find(operand);
    if (label != a.labels.end())
        return static_cast<long long>(label->second.first);
    a.image.error(line, isLabel(operand) ? "undefined label " + operand
                                         : "'" + operand + "' is neither a number nor a label");
    return std::nullopt;
}

// The directive's error when its operands are missing or not what it needs.
void needsError(Assembly &a, const Statement &s) {
    a.image.error(s.line, std::string(s.directive->name) + " needs " + s.directive->needs);
}

// ".equ NAME number": a label for a number, such as a RAM address.
void equate(Assembly &a, const Statement &s) {
    const std::optional<long long> value = numberOf(s.operands[1]);
    if (!value || *value < 0)
        needsError(a, s);
    else
        defineLabel(a, s.line, s.operands[0], static_cast<uint64_t>(*value));
}

// ".org address": the following statements from that address, which must be
// one of the ROM's words (the error is the origin's, not the statements').
void origin(Assembly &a, const Statement &s) {
    const std::optional<long long> address = numberOf(s.operands[0]);
    if (!address || *address < 0)
        needsError(a, s);
    else if (a.image.holds(s.line, static_cast<uint64_t>(*address), s.operands[0]))
        a.next = static_cast<uint64_t>(*address);
    else
        a.next = std::nullopt;
}

// Places a statement's word at its address, when it has one.
void placeWord(Assembly &a, const Statement &s, uint64_t word) {
    if (s.address)
        a.image.place(s.line, *s.address, word);
}

// ".word value": a data word, negative values in two's complement.
void placeData(Assembly &a, const Statement &s) {
    const std::optional<long long> value = valueOf(a, s.line, s.operands[0]);
    if (!value)
        return;
    if (*value < -32768 || *value > 65535) {
        a.image.error(s.line, "value " + s.operands[0] + " out of range -32768..65535");
        return;
    }
    placeWord(a, s, static_cast<uint64_t>(*value) & 0xFFFF);
}

// The directives the assembler knows; "needs" ends the error "NAME needs ...".
// clang-format off
constexpr Directive directives[] = {
    // name   operands kind                 needs                          act          what it does
    {".equ",  2,       OperandKind::number, "a name and a number from 0",  equate},    // labels a number
    {".org",  1,       OperandKind::number, "an address, a number from 0", origin},    // places what follows
    {".word", 1,       OperandKind::value,  "a value",                     placeData}, // places a data word
};
// clang-format on

// The directive named, in any case.
const Directive *directiveNamed(const std::string &name) {
    for (const Directive &d : directives)
        if (upper(name) == upper(d.name))
            return &d;
    return nullptr;
}

// Carries out a directive that has all its operands; says what one without
// them needs.
void carryOut(Assembly &a, const Statement &s) {
    if (s.operands.size() < s.directive->operands)
        needsError(a, s);
    else
        s.directive->act(a, s);
}

// Places a line's label and statement: a directive whose operands are
// numbers acts now, and an instruction or a data word takes the next address.
void firstPass(Assembly &a, int line, std::string text) {
    const std::string::size_type colon = text.find(':');
    if (colon != std::string::npos) {
        // After an origin beyond the last word a label stands for 0: the
        // file is refused for the origin, and its uses are not blamed.
        defineLabel(a, line, lineWithoutComment(text.substr(0, colon)), a.next.value_or(0));
        text = text.substr(colon + 1);
    }
    const std::vector<std::string> words = wordsOf(text);
    if (words.empty())
        return;
    Statement s{line, a.next, instructionNamed(upper(words[0])), directiveNamed(words[0]),
                std::vector<std::string>(words.begin() + 1, words.end())};
    // Too many operands: an instruction takes at most one, as does anything
    // unknown; a directive of more says what it needs.
    const unsigned most = s.directive ? s.directive->operands : 1;
    if (s.operands.size() > most) {
        if (most == 1)
            a.image.error(line, "more than one operand");
        else
            needsError(a, s);
        return;
    }
    if (s.instruction || (s.directive && s.directive->kind == OperandKind::value)) {
        a.statements.push_back(s);
        if (a.next)
            ++*a.next;
    } else if (s.directive) {
        carryOut(a, s);
    } else {
        a.image.error(line, (words[0][0] == '.' ? "unknown directive " : "unknown mnemonic ") + words[0]);
    }
}

// Writes a statement's word, every label now known.
void secondPass(Assembly &a, const Statement &s) {
    if (s.address && *s.address >= static_cast<uint64_t>(a.image.shape().words)) {
        if (!a.tooLong)
            a.image.error(s.line, "program too long for " + std::to_string(a.image.shape().words) + " words");
        a.tooLong = true;
        return;
    }
    if (s.directive) {
        carryOut(a, s);
        return;
    }
    const Instruction &i = *s.instruction;
    if (i.takesOperand == s.operands.empty()) {
        a.image.error(s.line,
                      i.mnemonic + std::string(i.takesOperand ? " needs an operand" : " takes no operand"));
        return;
    }
    long long operand = 0;
    if (i.takesOperand) {
        const std::optional<long long> value = valueOf(a, s.line, s.operands[0]);
        if (!value)
            return;
        if (*value < 0 || *value > operandMaximum) {
            a.image.error(s.line,
                          "operand " + s.operands[0] + " out of range 0.." + std::to_string(operandMaximum));
            return;
        }
        operand = *value;
    }
    placeWord(a, s, i.opcode | static_cast<uint64_t>(operand));
}

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
    Assembly a(fileName, shape);
    if (shape.bitsPerWord != 16) {
        a.image.fileError("assembly is for a ROM of 16-bit words, this one has " +
                          std::to_string(shape.bitsPerWord));
        return a.image.take();
    }
    int lineNumber = 0;
    for (std::string line; std::getline(source, line);)
        firstPass(a, ++lineNumber, lineWithoutComment(line, true));
    for (const Statement &s : a.statements)
        secondPass(a, s);
    return a.image.take();
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
