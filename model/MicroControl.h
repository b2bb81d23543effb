// The computer's control unit: the micro program counter, the control store,
// the microinstruction register, the branch conditions and the next-address
// logic.
#pragma once

#include <array>
#include <cstdint>

#include "core/Schmtc.h"
#include "core/Signal.h"

// Words in the control store; the micro program counter has one bit more,
// which the store does not see.
constexpr int controlStoreWords = 128;

// The microprogram as 32-bit words, word 0 first (the words beyond the
// program are zero: no operation).
const std::array<uint32_t, controlStoreWords> &controlStore();

// The control store: d is the word at address a[6..0]; a[7] is ignored.
void MIC2(const SD &coord, const Signal &a, const Signal &d);

// The control unit: MIR takes the word at MPC as Phase[3] rises; MPC takes
// the next address (MIR's NA field when branch is ONE, else MPC + 1) as
// Phase[0] rises, and is held at zero while Reset is ONE.  branch follows the
// condition field of MIR and the flags N and Z.
void MIC_Comp(const SD &coord, const Signal &Reset, const Signal &N, const Signal &Z, const Signal &Phase,
              const Signal &branch, const Signal &MIR, const Signal &MPC);
