// The assembler and the microprogram tables: every instruction against its
// encoding, every error with its exact message, the decoding the summary
// uses, and the shipped microprogram read back from a table of its fields.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "model/Assembler.h"
#include "model/MicroControl.h"
#include "model/MicroFields.h"
#include "model/MicroTable.h"

namespace {

constexpr RomShape programRomShape{64, 16}, controlStoreShape{128, 32};

RomContents assemble(const std::string &source, RomShape shape = programRomShape) {
    std::istringstream in(source);
    return assembleProgram("p.asm", in, shape);
}

TEST(Assembler, EveryInstructionAndDirectiveEncodes) {
    const struct {
        const char *source;
        uint16_t word; // at address 0
    } cases[] = {
        {"LODD 10", 0x000A},
        {"STOD 0x48", 0x1048},
        {"ADDD 4095", 0x2FFF},
        {"JPOS 0", 0x4000},
        {"JUMP 0x3F", 0x603F},
        {"LODL 3", 0x8003},
        {"LODR", 0xA000},
        {"CALL 63", 0x903F},
        {"RETN", 0x5000},
        {"lodd 1 ; lower case", 0x0001},
        {".word -1", 0xFFFF},
        {".word 65535", 0xFFFF},
        {".word -32768", 0x8000},
        {"x: JUMP x", 0x6000},
        {"JUMP end\nend:", 0x6001},
        {".equ ram 0x40\nSTOD ram", 0x1040},
        {"  # only a comment\n\nLODD 2", 0x0002},
    };
    for (const auto &k : cases) {
        const RomContents c = assemble(k.source);
        ASSERT_TRUE(c.errors.empty()) << k.source << ": " << c.errors[0];
        EXPECT_EQ(c.words[0], k.word) << k.source;
    }
    const RomContents placed = assemble("LODD a\n.org 10\na: .word 7\nJUMP a\n");
    std::vector<uint64_t> expected(64, 0);
    expected[0] = 0x000A, expected[10] = 7, expected[11] = 0x600A;
    EXPECT_EQ(placed.words, expected);
}

TEST(Assembler, EveryErrorNamesTheFileAndLine) {
    const struct {
        const char *source;
        const char *message;
    } cases[] = {
        {"LOAD 1", "p.asm:1: unknown mnemonic LOAD"},
        {".byte 1", "p.asm:1: unknown directive .byte"},
        {"LODD 4096", "p.asm:1: operand 4096 out of range 0..4095"},
        {"LODD -1", "p.asm:1: operand -1 out of range 0..4095"},
        {"JUMP nowhere", "p.asm:1: undefined label nowhere"},
        {"a: LODD 1\na: LODD 2", "p.asm:2: label a defined twice (first on line 1)"},
        {"1a: LODD 1", "p.asm:1: '1a' is not a label"},
        {"LODD 12x", "p.asm:1: '12x' is neither a number nor a label"},
        {"LODD", "p.asm:1: LODD needs an operand"},
        {"RETN 1", "p.asm:1: RETN takes no operand"},
        {"LODD 1 2", "p.asm:1: more than one operand"},
        {".word", "p.asm:1: .word needs a value"},
        {".word 65536", "p.asm:1: value 65536 out of range -32768..65535"},
        {".org", "p.asm:1: .org needs an address, a number from 0"},
        {".equ x", "p.asm:1: .equ needs a name and a number from 0"},
        {".org 63\nLODD 1\nLODD 2\nLODD 3", "p.asm:3: program too long for 64 words"},
        {"LODD 1\n.org 0\nLODD 2", "p.asm:3: address 0 was given a value on line 1"},
    };
    for (const auto &k : cases)
        EXPECT_EQ(assemble(k.source).errors, std::vector<std::string>{k.message}) << k.source;
    EXPECT_EQ(assemble("LODD 1", controlStoreShape).errors,
              std::vector<std::string>{"p.asm: assembly is for a ROM of 16-bit words, this one has 32"});
}

TEST(Assembler, DirectivesInAnyCaseTakeJustTheirOperands) {
    const struct {
        const char *source;
        std::vector<std::string> errors;
    } cases[] = {
        {".equ a 1 2", {"p.asm:1: .equ needs a name and a number from 0"}},
        {".equ a", {"p.asm:1: .equ needs a name and a number from 0"}},
        {".equ a b", {"p.asm:1: .equ needs a name and a number from 0"}},
        {".equ a -1", {"p.asm:1: .equ needs a name and a number from 0"}},
        {".equ 1a 5", {"p.asm:1: '1a' is not a label"}},
        {".org 1 2", {"p.asm:1: more than one operand"}},
        {".org -1", {"p.asm:1: .org needs an address, a number from 0"}},
        {"a: .org a", {"p.asm:1: .org needs an address, a number from 0"}},
        {".word 1 2", {"p.asm:1: more than one operand"}},
        {".byte 1 2", {"p.asm:1: more than one operand"}},
        // Errors in line order, those of one line in the order found.
        {"LODD x\nLOAD", {"p.asm:1: undefined label x", "p.asm:2: unknown mnemonic LOAD"}},
        {"1a: LODD 1 2", {"p.asm:1: '1a' is not a label", "p.asm:1: more than one operand"}},
        {"LODD 1\n1a: LODD y", {"p.asm:2: '1a' is not a label", "p.asm:2: undefined label y"}},
        // A data word takes its address first, and reads its value when placed.
        {".org 63\nLODD 1\n.word", {"p.asm:3: program too long for 64 words"}},
        {".org 63\n.word\nLODD 1",
         {"p.asm:2: .word needs a value", "p.asm:3: program too long for 64 words"}},
    };
    for (const auto &k : cases)
        EXPECT_EQ(assemble(k.source).errors, k.errors) << k.source;
    const RomContents c = assemble(".EQU y 0x41\n.WORD y\n.Org 5\nz: JUMP z");
    ASSERT_TRUE(c.errors.empty()) << c.errors[0];
    std::vector<uint64_t> expected(64, 0);
    expected[0] = 0x0041, expected[5] = 0x6005;
    EXPECT_EQ(c.words, expected);
}

TEST(Assembler, AnOriginBeyondTheLastWordIsBlamedAndNotTheStatementsAfterIt) {
    const struct {
        const char *source;
        std::vector<std::string> errors;
    } cases[] = {
        {".org 99999999999999\nLODD 1", {"p.asm:1: address 99999999999999 is beyond the last word 63"}},
        {".org 99999999999999999999999\nLODD 1",
         {"p.asm:1: address 99999999999999999999999 is beyond the last word 63"}},
        {".org 0x40\nLODD 1", {"p.asm:1: address 0x40 is beyond the last word 63"}},
        {".org 64\nLODD 1\nLODD 2", {"p.asm:1: address 64 is beyond the last word 63"}},
        // The statements after it are still checked, and its labels defined.
        {".org 64\n.word\nx: LODD x\nLODD y",
         {"p.asm:1: address 64 is beyond the last word 63", "p.asm:2: .word needs a value",
          "p.asm:4: undefined label y"}},
        // Until an origin within the ROM.
        {".org 100\nLODD 1\n.org 0\nLODD 2\n.org 0\nLODD 3",
         {"p.asm:1: address 100 is beyond the last word 63",
          "p.asm:6: address 0 was given a value on line 4"}},
    };
    for (const auto &k : cases)
        EXPECT_EQ(assemble(k.source).errors, k.errors) << k.source;
    const RomContents c = assemble(".org 63\n.word 5\n.org 62\nJUMP end\nend:");
    ASSERT_TRUE(c.errors.empty()) << c.errors[0];
    EXPECT_EQ(c.words[62], 0x603Fu);
    EXPECT_EQ(c.words[63], 5u);
}

TEST(Assembler, DecodesWhatTheControlStoreRunsForEachTopFourBits) {
    const char *const expected[16] = {"LODD 291", "STOD 291", "ADDD 291", "ADDD 291", "JPOS 291", "RETN",
                                      "JUMP 291", "JUMP 291", "LODL 291", "CALL 291", "LODR",     "LODR",
                                      "ADDD 291", "ADDD 291", "ADDD 291", "ADDD 291"};
    for (unsigned top = 0; top < 16; ++top)
        EXPECT_EQ(disassemble(static_cast<uint16_t>(top << 12 | 0x123)), expected[top]) << top;
    for (const Instruction &i : instructionSet)
        EXPECT_EQ(disassemble(i.opcode), i.takesOperand ? std::string(i.mnemonic) + " 0" : i.mnemonic);
    const std::vector<uint64_t> words = {0x6001, 0x000A};
    EXPECT_EQ(describeProgramCounter(words, 1), "LODD 10");
    EXPECT_EQ(describeProgramCounter(words, 0x80), "JUMP 1"); // the map repeats every 128 addresses
    EXPECT_EQ(describeProgramCounter(words, 0x45), "in RAM word 5");
    EXPECT_EQ(describeProgramCounter(words, 2), "beyond the program");
}

RomContents readTable(const std::string &text) {
    std::istringstream in(text);
    return readMicroprogram("m.mic", in, controlStoreShape);
}

TEST(MicroTable, TheShippedMicroprogramWrittenByItsFieldsReadsBackWordForWord) {
    std::string table;
    for (const uint32_t word : controlStore()) {
        for (const MicroFieldLayout &f : microFields)
            table += std::string(f.name) + "=" + std::to_string(word >> f.low & fieldMaximum(f.field)) + " ";
        table += "# a row\n";
    }
    const RomContents c = readTable(table);
    ASSERT_TRUE(c.errors.empty()) << c.errors[0];
    EXPECT_EQ(c.words, std::vector<uint64_t>(controlStore().begin(), controlStore().end()));
}

TEST(MicroTable, FieldsByNameOrProbeLabelAndWordsInHexadecimal) {
    const RomContents c = readTable("AMUX=1 CD=3 AL=2 SH=1 MB=1 MA=1 RD=1 WR=1 ENC=1 C=15 B=14 A=13 NA=0xFF\n"
                                    "5: 10C00000\n"
                                    "cond=1 addr=31\n");
    ASSERT_TRUE(c.errors.empty()) << c.errors[0];
    EXPECT_EQ(c.words[0], 0xF3FFEDFFu);
    EXPECT_EQ(c.words[5], 0x10C00000u);
    EXPECT_EQ(c.words[6], 0x2000001Fu);
}

TEST(MicroTable, EveryFieldRefusesAValueBeyondItsBits) {
    for (const MicroFieldLayout &f : microFields) {
        const std::string name = f.name, max = std::to_string(fieldMaximum(f.field));
        const std::string tooLarge = std::to_string(fieldMaximum(f.field) + 1);
        EXPECT_EQ(readTable(name + "=" + tooLarge).errors,
                  std::vector<std::string>{"m.mic:1: field " + name + " value " + tooLarge +
                                           " out of range 0.." + max});
        EXPECT_EQ(readTable(name + "=" + max).words[0], uint64_t{fieldMaximum(f.field)} << f.low) << name;
    }
    const struct {
        const char *line;
        const char *message;
    } cases[] = {
        {"SHIFT=1", "m.mic:1: unknown field SHIFT"},
        {"SH=1 SH=2", "m.mic:1: field SH given twice"},
        {"C=x", "m.mic:1: 'x' is not a number"},
        {"RD", "m.mic:1: field RD needs a value: RD=VALUE"},
        {"RD=1 WR", "m.mic:1: 'WR' is not NAME=VALUE"},
        {"1FFFFFFFF", "m.mic:1: word 0x1FFFFFFFF is wider than 32 bits"},
        {"128: 0", "m.mic:1: address 128 is beyond the last word 127"},
        {"x: 0", "m.mic:1: 'x' is not an address"},
        // Numbers as written, the largest of 64 bits and the smallest beyond.
        {"99999999999999: 0", "m.mic:1: address 99999999999999 is beyond the last word 127"},
        {"18446744073709551615: 0", "m.mic:1: address 18446744073709551615 is beyond the last word 127"},
        {"18446744073709551616: 0", "m.mic:1: '18446744073709551616' has more than 64 bits"},
        {"0x10000000000000000: 0", "m.mic:1: '0x10000000000000000' has more than 64 bits"},
        {"0xg: 0", "m.mic:1: '0xg' is not an address"},
        {"C=99999999999999999999", "m.mic:1: '99999999999999999999' has more than 64 bits"},
        {"C=0xFFFFFFFFFFFFFFFF", "m.mic:1: field C value 0xFFFFFFFFFFFFFFFF out of range 0..15"},
        {"C=0x", "m.mic:1: '0x' is not a number"},
        // The lines after an address beyond the last word are not blamed.
        {"99999999999999: 0\n1\n2", "m.mic:1: address 99999999999999 is beyond the last word 127"},
        {"127: 0\n1\n2", "m.mic:2: address 128 is beyond the last word 127"},
    };
    for (const auto &k : cases)
        EXPECT_EQ(readTable(k.line).errors, std::vector<std::string>{k.message}) << k.line;
}

} // namespace
