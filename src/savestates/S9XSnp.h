#pragma once
// Savestates of Snes9x 1.54 and later and of RetroArch's snes9x core
// ("#!s9xsnp:NNNN", versions 8-14): a header line, then blocks "NAM:%06d:"
// with their payloads. Struct blocks are big-endian, the sound block
// little-endian. Read only: the machine state is filled from the blocks.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class tSNES;

namespace S9XSnp
{
inline constexpr char Magic[] = "#!s9xsnp:"; // header bytes 0-8
inline constexpr size_t HeaderSize = 14;     // "#!s9xsnp:0012\n"
inline constexpr size_t BlockHeaderSize = 11;
inline constexpr unsigned FirstVersion = 8, LastVersion = 14;
} // namespace S9XSnp

// True when Content starts with a well-formed "#!s9xsnp:NNNN\n" line,
// whatever its version.
bool IsS9XSnpHeader(std::span<const uint8_t> Content);

// What a stream held besides the machine state.
struct tS9XSnpInfo {
    unsigned Version = 0;
    std::string Name;                                     // the NAM block: the ROM's file name, or "Removed"
    std::vector<std::pair<std::string, uint32_t>> Blocks; // names and lengths, file order
};

// Reads an inflated stream into S (cleared by the caller), the save RAM the
// file carries and Info. Every block's length is checked against the data
// before it is used; on failure Error names the block and S and SRAM may hold
// a partial read that the caller throws away.
bool ParseS9XSnp(std::span<const uint8_t> Content, tSNES& S, std::vector<uint8_t>& SRAM, tS9XSnpInfo& Info,
                 std::string& Error);
