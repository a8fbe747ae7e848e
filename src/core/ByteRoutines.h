#pragma once
// Byte-order and colour-order swaps, address wrapping and buffer fills.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>

// Exchanges the two low bytes; the upper 16 bits stay.
constexpr uint32_t Swap16(uint32_t V)
{
    return (V & 0xFFFF0000u) | (V & 0xFF) << 8 | (V >> 8 & 0xFF);
}
constexpr uint32_t Swap32(uint32_t V)
{
    return V << 24 | (V & 0xFF00) << 8 | (V >> 8 & 0xFF00) | V >> 24;
}
constexpr uint64_t Swap64(uint64_t V)
{
    return static_cast<uint64_t>(Swap32(static_cast<uint32_t>(V))) << 32 | Swap32(static_cast<uint32_t>(V >> 32));
}
// The 24-bit value whose bytes are the three low bytes of V in reverse order.
constexpr uint32_t BigEndian24(uint32_t V)
{
    return (V & 0xFF) << 16 | (V & 0xFF00) | (V >> 16 & 0xFF);
}

// 0x00RRGGBB <-> 0x00BBGGRR (the program's colours against the platform's).
constexpr uint32_t SwapRB(uint32_t Colour)
{
    return (Colour & 0xFF00FF00u) | (Colour & 0xFF) << 16 | (Colour >> 16 & 0xFF);
}
// A colour that stands out on Colour (a cursor or grid over a picture).
constexpr uint32_t Contrast(uint32_t Colour)
{
    return Colour ^ 0x808080u;
}

// V shifted left by N when N >= 0, right by -N otherwise; shifts of 64 and
// more give 0.
constexpr uint64_t ShiftBy(uint64_t V, int N)
{
    if (N >= 64 || N <= -64)
        return 0;
    return N >= 0 ? V << N : V >> -N;
}

// Moves Address by N (negative moves back) inside a window of Size bytes,
// Size a power of two up to 65536: the memory viewers wrap around their block.
constexpr void WrapAdd(uint16_t& Address, int64_t N, uint32_t Size)
{
    uint32_t Mask = Size - 1;
    Address = static_cast<uint16_t>((Address + (static_cast<uint32_t>(static_cast<uint64_t>(N)) & Mask)) & Mask);
}

inline void FillZero(std::span<uint8_t> Buffer)
{
    std::fill(Buffer.begin(), Buffer.end(), uint8_t{0});
}
inline void FillFF(std::span<uint8_t> Buffer)
{
    std::fill(Buffer.begin(), Buffer.end(), uint8_t{0xFF});
}
// Copies min(Src.size(), Dst.size()) bytes; the two may overlap.
inline void CopyBytes(std::span<const uint8_t> Src, std::span<uint8_t> Dst)
{
    size_t N = std::min(Src.size(), Dst.size());
    if (N)
        std::memmove(Dst.data(), Src.data(), N);
}
inline void InvertBytes(std::span<uint8_t> Buffer)
{
    for (uint8_t& B : Buffer)
        B = static_cast<uint8_t>(~B);
}
