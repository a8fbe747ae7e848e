// The fetch of a background layer's output line: scrolling, the hires column
// split, offset-per-tile, mosaic and the tile grid lookup, done once per
// line so that the compositor reads every layer's pixel from a buffer.

#include "render/PPU.h"

#include <cstring>

namespace
{
// Offset-per-tile entries: bits 0-9 the offset, bit 13 applies to BG1, bit
// 14 to BG2, and in mode 4 bit 15 chooses vertical over horizontal.
constexpr uint16_t OptEnable[2] = {0x2000, 0x4000};

// The layer coordinates u, y of column X after the offset table of BG3 has
// had its say; BaseU and BaseY are the column's coordinates before scrolling.
void OffsetPerTile(const tPPU& P, int N, int X, int32_t BaseU, int32_t BaseY, int32_t& u, int32_t& y)
{
    const tBGLayer& L = P.Layers[N];
    const int32_t c = (L.HScroll & 7) + X;
    // The first tile column on screen is never offset. An offset entry
    // replaces the layer's scroll for its column (keeping the fine
    // horizontal scroll), in hires too.
    if (c < 8)
        return;
    const tBGLayer& BG3 = P.Layers[2];
    const uint32_t i = static_cast<uint32_t>(((c - 8) + (BG3.HScroll & 0xFFF8)) >> 3);
    const uint32_t j = static_cast<uint32_t>(BG3.VScroll >> 4);
    const uint32_t Table = P.OptTable[P.BGMode == 4 ? 1 : 0];
    auto Entry = [&](uint32_t Index) {
        const uint32_t A = (Table + 2 * Index) & 0xFFFF;
        return static_cast<uint16_t>(P.OptVRAM[A] | P.OptVRAM[(A + 1) & 0xFFFF] << 8);
    };
    const uint16_t Enable = OptEnable[N];
    const int32_t FineU = BaseU + (L.HScroll & 7);
    if (P.BGMode == 4) {
        const uint16_t E = Entry(j * 64 + i);
        if (E & Enable) {
            if (E & 0x8000)
                y = BaseY + E;
            else
                u = FineU + (E & 0xFFF8);
        }
    } else {
        const uint16_t H = Entry(j * 64 + i), V = Entry(j * 64 + i + 32);
        if (H & Enable)
            u = FineU + (H & 0xFFF8);
        if (V & Enable)
            y = BaseY + V;
    }
}
} // namespace

void tPPU::FetchBGLine(int N, int Screen, int Line, bool IgnoreMosaic, tBGLine& Out)
{
    tBGLayer& L = Layers[N];
    if (!L.BitDepth) {
        Out.Visible.fill(0);
        return;
    }

    // A mosaic block shows the pixel at its top left corner: the line comes
    // from the row counter (the block started MosaicSize + 1 - MosaicCountY
    // rows ago), the column is the first of its block.
    const bool Mosaic = L.Mosaic && !IgnoreMosaic;
    const int32_t Block = MosaicSize + 1;
    if (Mosaic && MosaicCountY)
        Line -= Block - MosaicCountY;

    // Layer coordinates before scrolling. A hires picture has two rows per
    // line: the same layer line twice, or with screen interlace the two
    // fields' lines. Other screens have two rows per line with sprite
    // interlace, and their layers have no interlaced lines.
    // The 512 pass numbers its rows from line 2, so that an interlaced
    // frame's first row is field line 1.
    const bool HalfLines = Hires ? !ScreenInterlace : (L.HalveY || Interlace);
    const int32_t BaseY = HalfLines ? Line >> 1 : Hires ? Line - 1 : Line;
    // Hires: the main screen shows the odd columns of the 512, the sub screen the even.
    const int32_t Step = Hires ? 2 : 1;
    const int32_t First = Hires && Screen == 0 ? 1 : 0;
    const bool Opt = (BGMode == 2 || BGMode == 4 || BGMode == 6) && N < 2;

    const int32_t WidthMask = L.PixelWidth - 1, HeightMask = L.PixelHeight - 1;
    const int ShiftX = L.TileWidth == 16 ? 4 : 3, ShiftY = L.TileHeight == 16 ? 4 : 3;
    const int32_t InTileX = static_cast<int32_t>(L.TileWidth) - 1, InTileY = static_cast<int32_t>(L.TileHeight) - 1;
    const uint8_t ColourMask = static_cast<uint8_t>(L.Colours - 1);
    // The line is built in buffers with room for a whole tile past the end,
    // so that every tile is copied whole.
    constexpr int Slack = 16;
    uint8_t Index[256 + Slack], PaletteOf[256 + Slack], Visible[256 + Slack];

    if (!Opt && !(Mosaic && Block > 1)) {
        // One layer line: walk it a tile at a time.
        const int32_t y = (BaseY + L.VScroll) & HeightMask;
        const size_t Row = static_cast<size_t>(y >> ShiftY) * 64;
        const int32_t TileWidth = InTileX + 1;
        const int32_t PixelRow = (y & InTileY) * TileWidth;
        int32_t u = (First + L.HScroll) & WidthMask;
        for (int X = 0; X < 256;) {
            const size_t Record = Row + static_cast<size_t>(u >> ShiftX);
            const tTileRecord& T = L.Tiles[Record];
            // Sixteen bytes from any pixel stay inside the layer's pixels
            // (TileSlack); those past the tile's row are overwritten by the
            // next tile or fall into the line's slack.
            const uint8_t* Src = L.TilePixels(Record) + PixelRow + (u & InTileX);
            if (Step == 1)
                std::memcpy(Index + X, Src, Slack);
            else
                for (int k = 0; k < Slack / 2; ++k)
                    Index[X + k] = Src[2 * k];
            std::memset(PaletteOf + X, T.Palette, Slack);
            std::memset(Visible + X, T.Priority + 1, Slack);
            // The rest of the tile; tiles end where the plane wraps.
            const int32_t Count = (TileWidth - (u & InTileX) + Step - 1) / Step;
            X += Count;
            u = (u + Count * Step) & WidthMask;
        }
    } else {
        for (int X = 0; X < 256; ++X) {
            const int Column = Mosaic ? X - X % Block : X;
            const int32_t BaseU = First + Step * Column;
            int32_t u = BaseU + L.HScroll;
            int32_t y = BaseY + L.VScroll;
            if (Opt)
                OffsetPerTile(*this, N, Column, BaseU, BaseY, u, y);
            u &= WidthMask;
            y &= HeightMask;
            if (Mosaic) {
                L.MosaicX = u;
                L.MosaicY = y;
            }
            const size_t Record = static_cast<size_t>((y >> ShiftY) * 64 + (u >> ShiftX));
            const tTileRecord& T = L.Tiles[Record];
            Index[X] = L.TilePixels(Record)[(y & InTileY) * (InTileX + 1) + (u & InTileX)];
            PaletteOf[X] = T.Palette;
            Visible[X] = static_cast<uint8_t>(T.Priority + 1);
        }
    }

    // Colour 0 of every palette is transparent; the window hides the rest.
    const uint8_t* Hidden = L.Mask.data();
    for (int X = 0; X < 256; ++X) {
        const uint8_t Shows = static_cast<uint8_t>(-(((Index[X] & ColourMask) != 0) & (Hidden[X] == 0)));
        Out.Visible[X] = Visible[X] & Shows;
    }
    std::memcpy(Out.Index.data(), Index, 256);
    std::memcpy(Out.Palette.data(), PaletteOf, 256);
}
