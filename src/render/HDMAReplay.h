#pragma once
// HDMA as the console runs it over a frame: every channel enabled in $420C
// walks its table from the start address, and the register writes that reach
// each picture line are collected, so that the compositor can draw every line
// with the registers as they stand on it.
//
// The writes of HDMA line k happen in the horizontal blank after line k and
// so reach picture line k + 1: the first entry of every table already holds
// for the first visible line (line 1).

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

#include "core/SNES.h"
#include "render/HDMATable.h"

// One byte that an HDMA transfer writes to B-bus register $2100 + Reg.
struct tHDMAWrite {
    uint16_t Line = 0; // HDMA line 0..HDMALastLine
    uint8_t Channel = 0;
    uint8_t Reg = 0;
    uint8_t Value = 0;
};

struct tHDMAReplay {
    std::vector<tHDMAWrite> Writes; // by line; within a line by channel, as the console orders them
    uint8_t Skipped = 0;            // bit n: channel n's table or data lie where nothing could be read
    uint8_t SkippedROM = 0;         // bit n: ... because they lie in cartridge ROM and none is loaded
    std::array<std::bitset<HDMALastLine + 1>, 8> Touched{}; // lines on which each channel transferred
};

// Runs every enabled channel's table (see WalkHDMA).
tHDMAReplay ReplayHDMA(const tSNES& S, const tROMView& ROM);
// The lines on which the replay saw the channel transfer, as ranges
// ("0-15, 32"), or why it was left out.
std::string HDMALinesReplayed(const tHDMAReplay& H, int Channel);

// The PPU registers that HDMA can change, as they stand on one line: the
// register image $2100-$213F, the values that take two writes (scrolls,
// mode 7 matrix and centre), the fixed colour and CGRAM, and the latches
// those writes go through.
struct tLineRegisters {
    std::array<uint8_t, 0x40> R{}; // $2100 + i
    std::array<int32_t, 4> HScroll{}, VScroll{};
    int32_t M7HOffset = 0, M7VOffset = 0;
    tMode7Matrix M7;
    std::array<uint8_t, 4> FixedColour{}; // blue, green, red (0..248), 0
    std::array<uint16_t, 256> CGRAM{};
    uint8_t ScrollLatch = 0; // the previous byte written to any scroll register
    uint8_t Mode7Latch = 0;  // the previous byte written to a mode 7 register
    uint8_t CGAddress = 0;   // $2121 CGADD
    uint8_t CGLow = 0;       // the low byte held by $2122 until the high byte comes
    bool CGHigh = false;     // the next $2122 write is the high byte

    // What a set of writes changed, so that the compositor redoes only that:
    // register bytes, CGRAM, or only the scrolls, the mode 7 matrix and
    // centre and the fixed colour.
    enum : uint8_t { ChangedRegisters = 1, ChangedPalette = 2, ChangedValues = 4 };

    void From(const tSNES& S);
    // One write to $2100 + Reg; answers what it changed.
    uint8_t Write(uint8_t Reg, uint8_t Value);
};
