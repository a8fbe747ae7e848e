// The mode 7 plane: VRAM words hold the map in their low bytes (128 x 128
// tiles, row-major) and the 8-bit tile pixels in their high bytes. On the
// screen the plane is turned and scaled by the matrix about the centre, one
// line at a time.

#include "render/PPU.h"

#include <cstring>

#include "core/SNES.h"

void tPPU::DecodeMode7Plane(const tSNES& S)
{
    for (int t = 0; t < 256; ++t)
        DecodeMode7(S.VRAM.data() + t * 128, M7Tiles.data() + t * 64);
    for (int r = 0; r < 128; ++r)
        for (int c = 0; c < 128; ++c)
            M7Map[r * 128 + c] = S.VRAM[r * 256 + 2 * c];
}

namespace
{
// The mode 7 registers hold 13-bit two's complement numbers.
int32_t Signed13(int32_t V)
{
    V &= 0x1FFF;
    return V & 0x1000 ? V - 0x2000 : V;
}

// The scroll less the centre, kept to the ten bits (and sign) the console
// multiplies with.
int32_t Clip10(int32_t V)
{
    return V & 0x2000 ? (V | ~0x3FF) : (V & 0x3FF);
}
} // namespace

void tPPU::FetchMode7Line(int N, int Line, bool IgnoreMosaic, tBGLine& Out)
{
    const tBGLayer& L = Layers[N];
    const bool Mosaic = L.Mosaic && !IgnoreMosaic;
    const int32_t Block = MosaicSize + 1;
    if (Mosaic && MosaicCountY)
        Line -= Block - MosaicCountY;
    if (Interlace)
        Line >>= 1;

    const int32_t A = M7.A, B = M7.B, C = M7.C, D = M7.D;
    const int32_t CX = Signed13(M7.X), CY = Signed13(M7.Y);
    const int32_t H = Clip10(Signed13(M7HOffset) - CX), V = Clip10(Signed13(M7VOffset) - CY);
    const int32_t y = M7FlipY ? 255 - (Line & 255) : (Line & 255);
    // Plane coordinates of the line's first column, in 1/256 pixels; the
    // products drop their six lowest bits as the console's do.
    const int32_t StartX = ((A * H) & ~63) + ((B * V) & ~63) + ((B * y) & ~63) + (CX << 8);
    const int32_t StartY = ((C * H) & ~63) + ((D * V) & ~63) + ((D * y) & ~63) + (CY << 8);

    const uint8_t* Hidden = L.Mask.data();
    uint8_t Last = 0;
    for (int X = 0; X < 256; ++X) {
        uint8_t Pixel;
        if (Mosaic && X % Block != 0) {
            Pixel = Last;
        } else {
            const int32_t x = M7FlipX ? 255 - X : X;
            int32_t u = (StartX + A * x) >> 8, v = (StartY + C * x) >> 8;
            const bool Outside = (u | v) & ~1023;
            if (Outside && !M7Wrap) {
                // Past the 1024 x 1024 plane: transparent, or tile 0 repeated.
                Pixel = M7Fill ? M7Tiles[(v & 7) * 8 + (u & 7)] : 0;
            } else {
                u &= 1023;
                v &= 1023;
                const uint8_t Tile = M7Map[(v >> 3) * 128 + (u >> 3)];
                Pixel = M7Tiles[Tile * 64 + (v & 7) * 8 + (u & 7)];
            }
            Last = Pixel;
        }
        uint8_t Visible;
        if (N == 0) {
            Visible = Pixel ? 1 : 0;
        } else {
            // EXTBG: bit 7 is the pixel's priority, bits 0-6 its colour.
            Visible = static_cast<uint8_t>(Pixel & 0x7F ? 1 + (Pixel >> 7) : 0);
            Pixel &= 0x7F;
        }
        Out.Index[X] = Pixel;
        Out.Palette[X] = 0;
        Out.Visible[X] = Hidden[X] ? 0 : Visible;
    }
}
