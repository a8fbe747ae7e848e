#pragma once
// The internal header a SNES cartridge carries in its ROM, and the search for
// where it lies. LoROM boards put it at $7FB0, HiROM boards at $FFB0, the
// extended HiROM boards at $3FFFB0 (the top of the first 4 MiB, which the
// console sees at $40FFB0). Offsets below count from the start of that area.

#include <array>
#include <cstdint>
#include <span>
#include <string>

enum class tMapMode : uint8_t { LoROM = 0, HiROM = 1, ExHiROM = 2 };

// The header area is 80 bytes: $xFB0..$xFFF, the last 32 being the vectors.
inline constexpr uint32_t CartHeaderAreaSize = 0x50;

// Start of the header area in the ROM image for a map mode: (m shl 15) + $7FB0
// with m = 0, 1, 127.
uint32_t HeaderOffsetOf(tMapMode Mode);
// The caption of a map mode: "LoROM", "HiROM", "extended HiROM".
const char* MapModeName(tMapMode Mode);

// Whether a ROM of this size can hold the header of that map mode: LoROM
// always, the others only when their whole header area lies inside the ROM.
bool MapModeFits(uint32_t ROMSize, tMapMode Mode);

struct tCartHeader {
    bool Present = false;       // the header area lies inside the ROM
    std::string ROMName;        // $FFC0, 21 characters
    uint8_t MapModeByte = 0;    // $FFD5
    uint8_t CartType = 0;       // $FFD6: high nibble co-processor, low nibble RAM/battery
    uint8_t ROMSizeByte = 0;    // $FFD7: 1 KiB shl n
    uint8_t SRAMSizeByte = 0;   // $FFD8: 1 KiB shl n, 0 none
    uint8_t Region = 0;         // $FFD9
    uint8_t License = 0;        // $FFDA, $33 means the extended header is valid
    uint8_t Version = 0;        // $FFDB
    uint16_t InvChecksum = 0;   // $FFDC
    uint16_t Checksum = 0;      // $FFDE
    std::string Maker;          // $FFB0, 2 characters
    std::string GameCode;       // $FFB2, 4 characters
    uint8_t ExpRAM = 0;         // $FFBD
    uint8_t SpecialVersion = 0; // $FFBE
    uint8_t CartSub = 0;        // $FFBF
    uint16_t NMIVector = 0;     // $FFEA, native mode
    uint16_t ResetVector = 0;   // $FFFC

    bool HasRAM() const;         // low nibble of the type 1, 2, 4 or 5
    bool HasBattery() const;     // low nibble 2, 5 or 6
    bool HasCoProcessor() const; // low nibble 3 or more, or any high nibble
    // The checksum is the bitwise complement of the inverse checksum. Only the
    // pair is compared; the ROM's real byte sum is ComputeChecksum's business.
    bool ChecksumMatches() const { return Present && static_cast<uint16_t>(~InvChecksum) == Checksum; }
    // SRAM size in bytes from $FFD8 (0 when none or out of range).
    uint32_t SRAMBytes() const;
    // "1." followed by the version in decimal.
    std::string VersionText() const;
};

// Reads the header of the given map mode; Present is false (and every field
// empty) when the area does not lie inside the ROM.
tCartHeader ReadCartHeader(std::span<const uint8_t> ROM, tMapMode Mode);

// Where the header lies: LoROM first, then HiROM and extended HiROM in turn,
// each only if the ROM is large enough; the first whose checksum pair matches
// wins. When none matches the ROM is taken as LoROM, the common case for
// unfinished and homebrew images that leave the checksum blank.
tMapMode FindMapMode(std::span<const uint8_t> ROM);

// The checksum the console's header should hold: the 16-bit sum of every
// byte, with an image whose size is not a power of two counted as its largest
// power-of-two part followed by the rest repeated to the same length (the way
// such boards mirror the upper chips).
uint16_t ComputeChecksum(std::span<const uint8_t> ROM);
