#include "core/Tiles.h"

#include <cstring>

namespace {
void ShiftLeft2(uint8_t* Dst)
{
    for (int i = 0; i < 64; ++i)
        Dst[i] = static_cast<uint8_t>(Dst[i] << 2);
}
}

void Decode1bpp(const uint8_t* Src, uint8_t* Dst)
{
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            Dst[8 * r + c] = (Src[r] >> (7 - c)) & 1;
}

void Decode2bpp(const uint8_t* Src, uint8_t* Dst)
{
    for (int r = 0; r < 8; ++r) {
        const uint8_t P0 = Src[2 * r], P1 = Src[2 * r + 1];
        for (int c = 0; c < 8; ++c)
            Dst[8 * r + c] = static_cast<uint8_t>(Dst[8 * r + c] + ((P0 >> (7 - c)) & 1) + 2 * ((P1 >> (7 - c)) & 1));
    }
}

void Decode3bpp(const uint8_t* Src, uint8_t* Dst)
{
    Decode1bpp(Src + 16, Dst);
    ShiftLeft2(Dst);
    Decode2bpp(Src, Dst);
}

void Decode4bpp(const uint8_t* Src, uint8_t* Dst)
{
    Decode2bpp(Src + 16, Dst);
    ShiftLeft2(Dst);
    Decode2bpp(Src, Dst);
}

void Decode8bpp(const uint8_t* Src, uint8_t* Dst)
{
    Decode2bpp(Src + 48, Dst);
    ShiftLeft2(Dst);
    Decode2bpp(Src + 32, Dst);
    ShiftLeft2(Dst);
    Decode2bpp(Src + 16, Dst);
    ShiftLeft2(Dst);
    Decode2bpp(Src, Dst);
}

void DecodeMode7(const uint8_t* Src, uint8_t* Dst)
{
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            Dst[8 * r + c] = Src[1 + 16 * r + 2 * c];
}

void DecodeLinear8(const uint8_t* Src, uint8_t* Dst) { std::memcpy(Dst, Src, 64); }
