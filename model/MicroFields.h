// The microinstruction's layout, named once: the control store's table, the
// data path and the memory interface pick their bits from it, and the
// microprogram files name them by it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/Signal.h"

enum class MicroField { AMUX, COND, ALU, SH, MBR, MAR, RD, WR, ENC, C, B, A, ADDR };

struct MicroFieldLayout {
    MicroField field;
    const char *name;  // as microprogram files write it
    const char *probe; // the label of its probes on the schematic
    int high, low;     // bits of the 32-bit word
};

// clang-format off
//  field              name    probe    bits      meaning
constexpr MicroFieldLayout microFields[] = {
    {MicroField::AMUX, "AMUX", "AMUX",  31, 31}, // ALU input a: 0 the A latch, 1 MBR
    {MicroField::COND, "COND", "CD",    30, 29}, // next address: 0 none, 1 if N, 2 if Z, 3 always
    {MicroField::ALU,  "ALU",  "AL",    28, 27}, // 0 a + b, 1 a AND b, 2 a, 3 NOT a
    {MicroField::SH,   "SH",   "SH",    26, 25}, // shifter: 0 none, 1 right, 2 left, 3 zero
    {MicroField::MBR,  "MBR",  "MB",    24, 24}, // load MBR (data bus with RD, C with WR)
    {MicroField::MAR,  "MAR",  "MA",    23, 23}, // load MAR from the B latch
    {MicroField::RD,   "RD",   "RD",    22, 22}, // read request
    {MicroField::WR,   "WR",   "WR",    21, 21}, // write request
    {MicroField::ENC,  "ENC",  "ENC",   20, 20}, // write C into register C
    {MicroField::C,    "C",    "C",     19, 16}, // destination register
    {MicroField::B,    "B",    "B",     15, 12}, // B bus register
    {MicroField::A,    "A",    "A",     11,  8}, // A bus register
    {MicroField::ADDR, "ADDR", "NA",     7,  0}, // next address when the condition holds
};
// clang-format on

constexpr const MicroFieldLayout &layoutOf(MicroField f) {
    return microFields[static_cast<int>(f)];
}

// The largest value a field holds.
constexpr uint32_t fieldMaximum(MicroField f) {
    return (1u << (layoutOf(f).high - layoutOf(f).low + 1)) - 1;
}

// value placed in the field's bits (value must fit the field).
constexpr uint32_t fieldBits(MicroField f, uint32_t value) {
    return value << layoutOf(f).low;
}

// The wires of a field of the microinstruction register mir, the field's
// most significant bit highest.
inline Signal fieldOf(const Signal &mir, MicroField f) {
    const MicroFieldLayout &l = layoutOf(f);
    return l.high == l.low ? mir[l.high] : mir.sub(l.high, l.low);
}

// The field a file names, by its name or its probe label; none for another word.
std::optional<MicroField> microFieldNamed(const std::string &name);
