#pragma once
// Snes9x movie files (".smv"), read only: the 32-byte header, the UTF-16
// metadata, the optional ROM information, and the movie's starting point,
// which is either an embedded quicksave (a Snes9x savestate) or the
// cartridge's SRAM to start from with a reset.
//
// Layout (little-endian): "SMV" $1A, version, movie identifier, rerecord
// count, frame count (u32 each), controller mask, movie options, sync
// options, one unused byte, the offset of the embedded quicksave or SRAM and
// the offset of the controller data (u32 each); then the metadata up to the
// first of those offsets, less 30 bytes of ROM information when sync bit 6
// says there is some. The embedded data runs up to the controller data and is
// gzip-compressed.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/LittleEndian.h"

// The unpacked starting point: a Snes9x savestate is well under 1 MiB, SRAM
// at most a few hundred KiB; anything claiming more than this is not one.
inline constexpr size_t MaxEmbeddedSize = 16u << 20;

class tSMV
{
  public:
    std::array<uint8_t, 32> MovieHeader{}; // zeroed before each load
    std::array<uint8_t, 30> ROMInfo{};     // zeroed before each load
    bool Valid = false;                    // signature accepted
    bool HasROMInfo = false;               // sync bit 6
    uint32_t MetadataEnd = 0;
    std::string Metadata;                // the UTF-16 metadata as UTF-8
    std::vector<uint8_t> Embedded;       // the starting point, unpacked
    std::vector<uint8_t> ControllerData; // kept, not interpreted
    std::string EmbeddedError;           // why Embedded is empty, if it is

    // Header fields.
    std::string Signature() const; // the first three characters
    uint32_t Version() const { return GetLE<4, 4>(MovieHeader); }
    uint32_t UID() const { return GetLE<8, 4>(MovieHeader); }
    uint32_t RerecordCount() const { return GetLE<12, 4>(MovieHeader); }
    uint32_t FrameCount() const { return GetLE<16, 4>(MovieHeader); }
    uint8_t ControllerMask() const { return MovieHeader[20]; }
    bool UsesController(int N) const { return N >= 0 && N < 5 && (MovieHeader[20] >> N & 1); }
    // Movie options bit 0: starts from the embedded SRAM with a reset,
    // else from the embedded quicksave.
    bool StartsFromSRAM() const { return MovieHeader[21] & 1; }
    bool PALTiming() const { return MovieHeader[21] & 2; }
    uint8_t SyncOptions() const { return MovieHeader[22]; }
    // Sync option N (0-6) as shown: bits 1-6 count only when bit 0 (the
    // options exist at all) is set.
    bool SyncShown(int N) const;
    uint32_t EmbeddedOffset() const { return GetLE<24, 4>(MovieHeader); }
    uint32_t ControllerDataOffset() const { return GetLE<28, 4>(MovieHeader); }
    // ROM information (zero without it).
    uint32_t ROMCRC32() const;
    std::string ROMName() const;

    // Parses a whole movie file image. False (with Valid false) for a file
    // shorter than 32 bytes or without the signature. Offsets beyond the end
    // give as many bytes as the file has. The embedded data is unpacked here;
    // when that fails Embedded is empty and EmbeddedError says why.
    bool Parse(std::span<const uint8_t> File);

    // Starting a movie (its SRAM into the cartridge, its quicksave into the
    // machine state) is the program's business: app/MovieStart.h.

    // The names of the sync option bits, "MOVIE_SYNC_DATA_EXISTS" .. "MOVIE_SYNC_HASROMINFO".
    static const std::array<const char*, 7> SyncNames;

  private:
};

// UTF-16 little-endian text as UTF-8, up to the first NUL character. An odd
// last byte is dropped; unpaired surrogates become U+FFFD.
std::string UTF16LEToUTF8(std::span<const uint8_t> Bytes);
