// The computer's instruction set and its assembler: assembly source for the
// program ROM, read like any ROM file (option -R with a file ending in .asm).
// The set is what the control store decodes from an instruction's top four
// bits; the instruction set's table in docs/programs.md gives each
// instruction's microinstructions.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "components/WordFile.h"

struct Instruction {
    const char *mnemonic;
    uint16_t opcode;   // the word with operand 0
    bool takesOperand; // a 12-bit address in the low bits
};

// The mnemonics the assembler knows.  CALL and RETN run only under a
// microprogram that adds them (examples/callret.mic): the shipped one stops
// on them, looping on one microinstruction.
// clang-format off
constexpr Instruction instructionSet[] = {
    // mnemonic  opcode  operand      what the shipped control store does
    {"LODD",     0x0000, true},  //   AC := M[x]
    {"STOD",     0x1000, true},  //   M[x] := AC
    {"ADDD",     0x2000, true},  //   AC := AC + M[x]
    {"JPOS",     0x4000, true},  //   if AC >= 0 then PC := x
    {"JUMP",     0x6000, true},  //   PC := x
    {"LODL",     0x8000, true},  //   AC := M[SP + x]
    {"LODR",     0xA000, false}, //   AC := M[R10], the address the last LODL read
    {"CALL",     0x9000, true},  //   SP := SP - 1; M[SP] := PC; PC := x   (examples/callret.mic)
    {"RETN",     0x5000, false}, //   PC := M[SP]; SP := SP + 1             (examples/callret.mic)
};
// clang-format on

// The largest operand an instruction takes.
constexpr unsigned operandMaximum = 0x0FFF;

// Assembles source into a ROM of the given shape (16-bit words): one
// statement a line, "[label:] [MNEMONIC [operand] | .word value | .org address]"
// or ".equ NAME number" (a label for a number, such as a RAM address),
// comments from ';' or '#'.  Operands are decimal or 0x-hexadecimal numbers
// or labels.  Errors name the file and line.
RomContents assembleProgram(const std::string &fileName, std::istream &source, RomShape shape);

// What the instruction word does, as "MNEMONIC operand": the mnemonic of the
// instruction the control store runs for the word's top four bits.
std::string disassemble(uint16_t word);

// The instruction at address pc of a program ROM's words, for the summary:
// the memory puts the ROM at addresses whose bit 6 is clear.
std::string describeProgramCounter(const std::vector<uint64_t> &words, uint64_t pc);
