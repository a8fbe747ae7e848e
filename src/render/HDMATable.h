#pragma once
// What an HDMA channel's table would write on each line of a frame, as plain
// rows for the scene viewer's HDMA page and the command-line tool.
//
// A table is a list of entries, each starting with a line-count byte c:
// c = 0 ends the table; c < $80 covers c lines with one transfer on the first;
// c > $80 covers (c and $7F) lines with a transfer on every line; c = $80
// covers 128 lines with a single transfer, because the counter's decrement
// clears the repeat bit after the first line. In indirect mode two bytes of
// data address (within the channel's indirect bank) follow the count.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/SNES.h"

// HDMA runs on the visible lines 0..238 at most.
inline constexpr int HDMALastLine = 238;

extern const char* const HDMATableNotMapped;
extern const char* const HDMAIndirectNotMappedPrefix; // followed by "BB:AAAA)"

// One byte that a transfer moves, and where it came from.
struct tHDMAByte {
    int Line = 0;  // 0..HDMALastLine
    int Index = 0; // byte of the unit, 0..3
    uint8_t Bank = 0;
    uint16_t Address = 0;
    uint8_t Reg = 0; // B-bus register $2100 + Reg
    uint8_t Value = 0;
};

enum class tHDMAWalk { Done, TableNotMapped, IndirectNotMapped };

// Walks channel Channel's table from its start address, enabled or not, for
// lines 0..HDMALastLine: Transfer is called for every byte moved, Idle for
// every line without a transfer. Tables and indirect data are read through
// MapAddress; when a bank cannot be read the walk stops there, and for
// indirect data FailBank:FailAddress say where.
tHDMAWalk WalkHDMA(const tSNES& S, const tROMView& ROM, int Channel,
                   const std::function<void(const tHDMAByte&)>& Transfer, const std::function<void(int)>& Idle,
                   uint8_t* FailBank = nullptr, uint16_t* FailAddress = nullptr);

struct tHDMARow {
    std::string Line;   // "#": the line number, on a unit's first byte and on lines without transfer
    std::string Source; // bank ":" address
    std::string Dest;   // the B-bus register, "21xxh"
    std::string Bin, Hex, Dec;
    std::string Comment;
};

struct tHDMAListing {
    std::string Message; // instead of rows: the bank could not be read
    std::vector<tHDMARow> Rows;
};

struct tNameValue {
    std::string Name, Value;
};

// "chn &0".."chn &7", in upper case while the channel's HDMA is enabled.
std::string HDMATabCaption(const tSNES& S, int Channel);
// The channel list: enabled, direction, table address, addressing, indirect
// bank, B-bus register (the A address for B-to-A channels). With Spaces,
// "no" shows as empty text.
std::vector<tNameValue> HDMAChannelInfo(const tSNES& S, int Channel, bool Spaces);
// The line list of a channel, filled for an enabled channel when ShowActive
// is set and for a disabled one when ShowInactive is set. Tables are read
// through MapAddress (work RAM, registers or the cartridge ROM given).
tHDMAListing HDMALines(const tSNES& S, const tROMView& ROM, int Channel, bool ShowActive = true,
                       bool ShowInactive = true);
