#pragma once
// Writing "#!s9xsnp:0012" streams as Snes9x 1.55-1.63 and RetroArch's snes9x
// core load them, and RetroArch's wrappings: the "RASTATE" container and
// rzip compression.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "savestates/S9XSnp.h"

class tSNES;

// The picture of the "SHO" block: 0x00RRGGBB pixels, at most 512 x 478 used.
struct tS9XSnpPicture {
    unsigned Width = 0, Height = 0;
    bool Interlaced = false;
    std::vector<uint32_t> Pixels;
};

// The text of the "NAM" block: the file name without any folder, or
// "Removed" when there is none.
std::string S9XSnpName(const std::string& Name);
// The whole stream, uncompressed, every mandatory block filled from the
// machine state and with what Snes9x needs to run on from it; "SHO" when
// Shot is given.
std::vector<uint8_t> BuildS9XSnp(const tSNES& S, std::span<const uint8_t> SRAM, const std::string& Name,
                                 const tS9XSnpPicture* Shot);
// The stream in a "RASTATE" container ("MEM " and "END ").
std::vector<uint8_t> WrapRAState(std::span<const uint8_t> Stream);
// rzip in chunks of 128 KiB; false when zlib fails.
bool PackRZip(std::span<const uint8_t> Data, std::vector<uint8_t>& Out);
