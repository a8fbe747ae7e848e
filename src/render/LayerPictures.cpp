#include "render/LayerPictures.h"

#include <cstring>

#include "core/Picture8.h"
#include "render/PPU.h"

uint32_t TransparentColour(const tPPU& P, const tTransparency& T)
{
    switch (T.Kind) {
    case tTransparency::FixedColour:
        return static_cast<uint32_t>(P.FixedColour[2] << 16 | P.FixedColour[1] << 8 | P.FixedColour[0]);
    case tTransparency::Custom:
        return T.CustomColour & 0xFFFFFF;
    default:
        return P.Palette[0];
    }
}

void ApplyTransparency(const tPPU& P, const tTransparency& T, uint32_t PaletteSize, std::array<uint32_t, 256>& Table)
{
    if (T.Kind == tTransparency::None || PaletteSize == 0)
        return;
    const uint32_t C = TransparentColour(P, T);
    for (uint32_t i = 0; i < 256; i += PaletteSize)
        Table[i] = C;
}

void DrawBGPlane(const tPPU& P, int N, bool Priority0, bool Priority1, const tTransparency& T, tPicture8& Out)
{
    const tBGLayer& L = P.Layers[N & 3];
    Out.ColourTable = P.Palette;
    if (!L.BitDepth) {
        Out.Resize(0, 0);
        return;
    }
    Out.Resize(L.PixelWidth, L.PixelHeight);
    for (uint32_t r = 0; r < L.MapHeight; ++r)
        for (uint32_t c = 0; c < L.MapWidth; ++c) {
            const tTileRecord& Tile = L.Tiles[r * 64 + c];
            const uint8_t* Px = L.TilePixels(r * 64 + c);
            if (!(Tile.Priority ? Priority1 : Priority0))
                continue;
            for (uint32_t y = 0; y < L.TileHeight; ++y)
                std::memcpy(Out.Row(static_cast<int32_t>(r * L.TileHeight + y)) + c * L.TileWidth, Px + y * L.TileWidth,
                            L.TileWidth);
        }
    ApplyTransparency(P, T, L.Colours, Out.ColourTable);
}

void DrawSpriteSheet(const tPPU& P, const std::array<uint8_t, 128>& Active, const std::array<uint8_t, 4>& Priorities,
                     const tTransparency& T, tPicture8& Out)
{
    // X reaches 511 and Y 255, plus the largest sprite of 64 pixels.
    Out.Resize(576, 320);
    Out.ColourTable = P.Palette;
    const bool Opaque = T.Kind == tTransparency::None;
    for (int k = 127; k >= 0; --k) {
        const int n = (k + P.FirstSprite) & 127;
        const tSpriteRec& R = P.Sprites[n];
        if (!Active[n] || !Priorities[R.Priority & 3])
            continue;
        for (int y = 0; y < R.Height; ++y) {
            uint8_t* Dst = Out.Row(R.Y + y) + R.X;
            const uint8_t* Src = &R.Pixels[y * 64];
            for (int x = 0; x < R.Width; ++x)
                if (Opaque || (Src[x] & 15) != 0)
                    Dst[x] = Src[x];
        }
    }
    ApplyTransparency(P, T, 16, Out.ColourTable);
}

void DrawMode7Plane(const tPPU& P, bool ExtBG, bool DirectColour, bool Priority0, bool Priority1,
                    const tTransparency& T, tPicture8& Out)
{
    Out.Resize(1024, 1024);
    for (int r = 0; r < 128; ++r)
        for (int c = 0; c < 128; ++c) {
            const uint8_t* Tile = &P.M7Tiles[P.M7Map[r * 128 + c] * 64];
            for (int y = 0; y < 8; ++y)
                std::memcpy(Out.Row(8 * r + y) + 8 * c, Tile + 8 * y, 8);
        }
    auto& Table = Out.ColourTable;
    Table = !ExtBG && DirectColour ? DirectColourTable()[0] : P.Palette;
    const uint32_t Clear = TransparentColour(P, T);
    if (ExtBG) {
        // EXTBG: 7-bit colours, bit 7 is the pixel's priority.
        for (int i = 0; i < 128; ++i)
            Table[128 + i] = Table[i];
        if (!Priority1)
            for (int i = 128; i < 256; ++i)
                Table[i] = Clear;
        if (!Priority0)
            for (int i = 0; i < 128; ++i)
                Table[i] = Clear;
        ApplyTransparency(P, T, 128, Table);
    } else {
        if (!Priority0)
            Table.fill(Clear);
        ApplyTransparency(P, T, 256, Table);
    }
}
