// The processor's memory interface (MAR, MBR, the request lines and the
// write-data drivers) and the memory it talks to: 64 words of program ROM
// and 64 words of RAM, the map repeating every 128 addresses.
#pragma once

#include <array>
#include <cstdint>

#include "core/Schmtc.h"
#include "core/Signal.h"

// Words of each memory: ROM at addresses 0-63, RAM at 64-127.
constexpr int memoryWords = 64;

// The program the ROM holds, word 0 first.
const std::array<uint16_t, memoryWords> &programRom();

// The memory interface.  MAR (AddrBus) takes MARData as MAR AND Phase[1]
// rises; MBR (MBROutput) takes DataBusIn under RD, else C, as Phase[0] rises
// when MBR is set and exactly one of RD and WR is; DataBusOut carries MBR
// while WR was ONE at the last rise of Phase[2], and is HIZ otherwise.
// MReq = RD OR WR, READ = RD AND NOT WR.
void Comm(const SD &coord, const Signal &Phase, const Signal &RD, const Signal &WR, const Signal &MAR,
          const Signal &MBR, const Signal &MARData, const Signal &DataBusIn, const Signal &C,
          const Signal &MReq, const Signal &READ, const Signal &AddrBus, const Signal &MBROutput,
          const Signal &DataBusOut);

// The memory: Addr[6] picks ROM (0) or RAM (1), Addr[5..0] the word, higher
// bits are ignored.  A read request drives the word onto DataOut, which is
// HIZ otherwise.  The RAM stores DataIn when its strobe Read rises while its
// enable (Mreq AND Addr[6]) is ONE.  The enables leave as outputs to be shown.
void Memory(const SD &coord, const Signal &Mreq, const Signal &Read, const Signal &Addr, const Signal &DataIn,
            const Signal &DataOut, const Signal &enTriROM, const Signal &enRAM, const Signal &RW,
            const Signal &enTriRAM);
