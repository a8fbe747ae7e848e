#pragma once
// Savestates of Snes9x 1.54 and later and of RetroArch's snes9x core
// ("#!s9xsnp:NNNN", versions 6-14): a header line, then blocks "NAM:%06d:"
// with their payloads. Struct blocks are big-endian, the sound block
// little-endian. Read only: the machine state is filled from the blocks.

#include <cstddef>
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
// Versions 6 and 7 are read without their sound block, which holds the
// state of an older sound core.
inline constexpr unsigned FirstVersion = 6, FirstSoundVersion = 8, LastVersion = 14;
inline constexpr std::ptrdiff_t MaxSRAMSize = 0x80000;
} // namespace S9XSnp

// The framing of every Snes9x stream, 1.43's "#!snes9x:0001" too: a header
// line of a nine-byte Magic ending in ':', four digits and '\n', then blocks
// "NAM:001234:" and their data. S9XBlockLength reads the length of the block
// header at Header, false when a colon or digit is damaged; with Long, "--"
// for the first two digits marks a length above 999,999 as a big-endian u32
// in bytes 6-9, as the newer versions write it.
bool IsS9XStreamHeader(std::span<const uint8_t> Content, const char* Magic);
bool S9XBlockLength(const uint8_t* Header, uint32_t& Length, bool Long);
// True when Content starts with a well-formed "#!s9xsnp:NNNN\n" line,
// whatever its version.
bool IsS9XSnpHeader(std::span<const uint8_t> Content);

// What a stream held besides the machine state.
struct tS9XSnpInfo {
    unsigned Version = 0;
    std::string Name;                                     // the NAM block: the ROM's file name, or "Removed"
    std::vector<std::pair<std::string, uint32_t>> Blocks; // names and lengths, file order
    std::string Note;                                     // what the program could not read, for the user
};

// Where the "SHO" block's header starts in the first part of a stream, its
// length in ShotLength; 0 while no "SHO" header was seen. The picture is the
// last block a loaded state needs, so a stream may be inflated only that far.
size_t S9XSnpShotStart(std::span<const uint8_t> Head, uint32_t& ShotLength);
// The part of an inflated stream's "SHO" block that holds its picture (the
// size fields and the pixels in use); empty when the stream has none or it is
// damaged.
std::span<const uint8_t> S9XSnpShotBlock(std::span<const uint8_t> Content);
// The picture of such a part as 0x00RRGGBB pixels; false when it is damaged.
bool S9XSnpShotPicture(std::span<const uint8_t> Shot, uint32_t& Width, uint32_t& Height, std::vector<uint32_t>& Pixels);

// Reads an inflated stream into S (cleared by the caller), the save RAM the
// file carries and Info. Every block's length is checked against the data
// before it is used; on failure Error names the block and S and SRAM may hold
// a partial read that the caller throws away.
bool ParseS9XSnp(std::span<const uint8_t> Content, tSNES& S, std::vector<uint8_t>& SRAM, tS9XSnpInfo& Info,
                 std::string& Error);
