// The per-pixel fetch of a background layer: scrolling, the hires column
// split, offset-per-tile, mosaic and the tile grid lookup.

#include "render/PPU.h"

namespace {
// Offset-per-tile entries: bits 0-9 the offset, bit 13 applies to BG1, bit
// 14 to BG2, and in mode 4 bit 15 chooses vertical over horizontal.
constexpr uint16_t OptEnable[2] = {0x2000, 0x4000};
}

bool tPPU::FetchBG(int N, int P, int Screen, int X, int Line, bool IgnoreMosaic, tPixelResult& Out)
{
    tBGLayer& L = Layers[N];
    if (!L.BitDepth || L.Mask[X])
        return false;

    // A mosaic block shows the pixel at its top left corner. The block's
    // origin comes from the counters, so the sample is right even when an
    // earlier fetch in the block was never made (a pixel in front hid it).
    const bool Mosaic = L.Mosaic && !IgnoreMosaic;
    if (Mosaic) {
        if (MosaicCountX)
            X -= MosaicSize + 1 - MosaicCountX;
        if (MosaicCountY)
            Line -= MosaicSize + 1 - MosaicCountY;
    }

    // Layer coordinates before scrolling. A hires picture has two rows per
    // line: the same layer line twice, or with screen interlace the two
    // fields' lines. Other screens have two rows per line with sprite
    // interlace, and their layers have no interlaced lines.
    // The 512 pass numbers its rows from line 2, so that an interlaced
    // frame's first row is field line 1.
    const bool HalfLines = Hires ? !ScreenInterlace : (L.HalveY || Interlace);
    const int32_t BaseY = HalfLines ? Line >> 1 : Hires ? Line - 1 : Line;
    // Hires: the main screen shows the odd columns of the 512, the sub screen the even.
    const int32_t BaseU = Hires ? (Screen == 0 ? 2 * X + 1 : 2 * X) : X;
    int32_t u = BaseU + L.HScroll;
    int32_t y = BaseY + L.VScroll;

    if ((BGMode == 2 || BGMode == 4 || BGMode == 6) && N < 2) {
        const int32_t c = (L.HScroll & 7) + X;
        // The first tile column on screen is never offset. An offset entry
        // replaces the layer's scroll for its column (keeping the fine
        // horizontal scroll), in hires too.
        if (c >= 8) {
            const tBGLayer& BG3 = Layers[2];
            const uint32_t i = static_cast<uint32_t>(((c - 8) + (BG3.HScroll & 0xFFF8)) >> 3);
            const uint32_t j = static_cast<uint32_t>(BG3.VScroll >> 4);
            const uint32_t Table = OptTable[BGMode == 4 ? 1 : 0];
            auto Entry = [&](uint32_t Index) {
                const uint32_t A = (Table + 2 * Index) & 0xFFFF;
                return static_cast<uint16_t>(OptVRAM[A] | OptVRAM[(A + 1) & 0xFFFF] << 8);
            };
            const uint16_t Enable = OptEnable[N];
            const int32_t FineU = BaseU + (L.HScroll & 7);
            if (BGMode == 4) {
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
    }

    u &= L.PixelWidth - 1;
    y &= L.PixelHeight - 1;
    if (Mosaic) {
        L.MosaicX = u;
        L.MosaicY = y;
    }

    const tTileRecord& T =
        L.Tiles[(y >> (L.TileHeight == 16 ? 4 : 3)) * 64 + (u >> (L.TileWidth == 16 ? 4 : 3))];
    if (T.Priority != P)
        return false;
    const uint8_t Pixel = T.Pixels[(y & (L.TileHeight - 1)) * 32 + (u & (L.TileWidth - 1))];
    if ((Pixel & (L.Colours - 1)) == 0)
        return false;
    Out = {T.Palette, Pixel, static_cast<uint8_t>(N)};
    return true;
}
