#include "core/Tiles.h"

#include <cstring>

#include <array>

namespace
{
// One row of a bit plane spread over eight byte lanes: lane c of Spread[b]
// (bits 8c to 8c + 7) holds bit 7 - c of b, the pixel c of the row. A row of
// up to eight planes is then a few shifts and ORs instead of 64 bit tests.
constexpr std::array<uint64_t, 256> MakeSpread()
{
    std::array<uint64_t, 256> T{};
    for (int b = 0; b < 256; ++b)
        for (int c = 0; c < 8; ++c)
            T[b] |= static_cast<uint64_t>((b >> (7 - c)) & 1) << (8 * c);
    return T;
}
constexpr std::array<uint64_t, 256> Spread = MakeSpread();

constexpr uint64_t Low7 = 0x7F7F7F7F7F7F7F7Full, High1 = 0x8080808080808080ull;

uint64_t LoadRow(const uint8_t* Row)
{
    uint64_t V = 0;
    for (int c = 0; c < 8; ++c)
        V |= static_cast<uint64_t>(Row[c]) << (8 * c);
    return V;
}

void StoreRow(uint8_t* Row, uint64_t V)
{
    for (int c = 0; c < 8; ++c)
        Row[c] = static_cast<uint8_t>(V >> (8 * c));
}

// Eight byte additions modulo 256 at once, no carry crossing lanes.
uint64_t AddLanes(uint64_t A, uint64_t B)
{
    return ((A & Low7) + (B & Low7)) ^ ((A ^ B) & High1);
}

// Eight byte shifts left by N (N < 8) at once.
uint64_t ShiftLanes(uint64_t A, int N)
{
    const uint64_t Keep = (0xFFull >> N) * 0x0101010101010101ull;
    return (A & Keep) << N;
}

// Pixel values of row r from plane pairs starting at Src: planes 2k and
// 2k + 1 of the row are Src[16k + 2r] and Src[16k + 2r + 1].
uint64_t Planes(const uint8_t* Src, int r, int Pairs)
{
    uint64_t V = 0;
    for (int k = 0; k < Pairs; ++k)
        V |= (Spread[Src[16 * k + 2 * r]] | Spread[Src[16 * k + 2 * r + 1]] << 1) << (2 * k);
    return V;
}
} // namespace

void Decode1bpp(const uint8_t* Src, uint8_t* Dst)
{
    for (int r = 0; r < 8; ++r)
        StoreRow(Dst + 8 * r, Spread[Src[r]]);
}

void Decode2bpp(const uint8_t* Src, uint8_t* Dst)
{
    for (int r = 0; r < 8; ++r)
        StoreRow(Dst + 8 * r, AddLanes(LoadRow(Dst + 8 * r), Planes(Src, r, 1)));
}

void Decode3bpp(const uint8_t* Src, uint8_t* Dst)
{
    // The third plane is one byte per row after the first two.
    for (int r = 0; r < 8; ++r)
        StoreRow(Dst + 8 * r, Spread[Src[16 + r]] << 2 | Planes(Src, r, 1));
}

// The deeper formats are the earlier ones' shift-and-add built up plane pair
// by plane pair; on a cleared Dst this is the plain pixel value, and on any
// other Dst it gives the same bytes as the build-up would.
void Decode4bpp(const uint8_t* Src, uint8_t* Dst)
{
    for (int r = 0; r < 8; ++r)
        StoreRow(Dst + 8 * r, AddLanes(ShiftLanes(LoadRow(Dst + 8 * r), 2), Planes(Src, r, 2)));
}

void Decode8bpp(const uint8_t* Src, uint8_t* Dst)
{
    for (int r = 0; r < 8; ++r)
        StoreRow(Dst + 8 * r, AddLanes(ShiftLanes(LoadRow(Dst + 8 * r), 6), Planes(Src, r, 4)));
}

void DecodeMode7(const uint8_t* Src, uint8_t* Dst)
{
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            Dst[8 * r + c] = Src[1 + 16 * r + 2 * c];
}

void DecodeLinear8(const uint8_t* Src, uint8_t* Dst)
{
    std::memcpy(Dst, Src, 64);
}
