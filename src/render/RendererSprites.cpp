// The sprite slivers of one line, with the hardware's limits: the first 32
// sprites in range in rotation order from FirstSprite, and 34 slivers of 8
// pixels, fetched from the last sprite in range backwards so that the slivers
// lost past the limit are those of the first sprites.

#include "render/Renderer.h"

#include <algorithm>

void tRenderer::BuildSpriteLine(const tPPU& P, int Line, bool HalfLines)
{
    PrepareSprites(P);
    SpriteLine(P, Line, HalfLines);
}

// The same test as tPPU::SpriteOnLine, split into what stays for the frame
// and the one comparison per line.
void tRenderer::PrepareSprites(const tPPU& P)
{
    for (int n = 0; n < 128; ++n) {
        const tSpriteRec& R = P.Sprites[n];
        // Wholly right of the screen: neither end reaches columns 0..255.
        const bool Off = R.X > 256 && R.X + R.Width < 512;
        const int Rows = Off ? 0 : P.Interlace ? R.Height / 2 : R.Height;
        SpriteBoxes_[n] = {static_cast<int16_t>(R.Y), static_cast<int16_t>(Rows)};
    }
}

void tRenderer::SpriteLine(const tPPU& P, int Line, bool HalfLines)
{
    const int y = tPPU::SpriteY(Line, HalfLines);
    int InRange[MaxSpritesOnLine];
    int Count = 0;
    for (int k = 0; k < 128 && Count < MaxSpritesOnLine; ++k) {
        const int n = (P.FirstSprite + k) & 127;
        const tSpriteBox& B = SpriteBoxes_[n];
        int d = y - B.Y;
        d += d < 0 ? 256 : 0;
        if (d < B.Rows)
            InRange[Count++] = n;
    }

    int Total = 0;
    for (int k = Count - 1; k >= 0 && Total < MaxSliversOnLine; --k) {
        const tSpriteRec& R = P.Sprites[InRange[k]];
        int d = y - R.Y;
        if (d < 0)
            d += 256;
        if (P.Interlace)
            d *= 2;
        for (int Offset = R.Width - 8; Offset >= 0 && Total < MaxSliversOnLine; Offset -= 8) {
            int px = R.X + Offset;
            if (px > 256 && px + 8 < 512)
                continue;
            if (px >= 512)
                px -= 512;
            Slivers[Total++] = {R.Palette, R.Priority, &R.Pixels[static_cast<size_t>(d) * 64 + Offset], px};
        }
    }
    std::reverse(Slivers.begin(), Slivers.begin() + Total);
    SliverLast = Total - 1;

    // The earliest sliver with an opaque pixel wins a column, whatever its
    // priority: paint the list from its end so earlier slivers overwrite.
    ObjLine.Visible.fill(0);
    for (int s = SliverLast; s >= 0; --s) {
        const tSliver& V = Slivers[s];
        for (int dx = 0; dx < 8; ++dx) {
            const uint8_t Pixel = V.Row[dx];
            if ((Pixel & 15) == 0)
                continue;
            // Columns left of 0 are the right end of the 512-wide sprite space.
            const int x = (V.X + dx) & 511;
            if (x < 256) {
                ObjLine.Index[x] = Pixel;
                ObjLine.Palette[x] = V.Palette;
                ObjLine.Visible[x] = static_cast<uint8_t>(V.Priority + 1);
            }
        }
    }
}

bool tRenderer::FetchOBJ(const tPPU& P, int Pri, int X, tPixelResult& Out) const
{
    if (P.ObjMask[X])
        return false;
    if (ObjLine.Visible[X] != Pri + 1)
        return false;
    Out = {ObjLine.Palette[X], ObjLine.Index[X], LayerOBJ};
    return true;
}
