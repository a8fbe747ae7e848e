#include "render/OffsetPerTile.h"

#include <cstdio>

tOffsetGrid BuildOffsetGrid(const tSNES& S, const tPPU& P, bool BG2, bool Vertical)
{
    tOffsetGrid G;
    const uint8_t Mode = P.BGMode;
    if (Mode != 2 && Mode != 4 && Mode != 6)
        return G;
    const uint32_t Base = P.Layers[2].MapBase;
    const uint16_t Enable = BG2 ? 0x4000 : 0x2000;
    for (int r = 0; r < 32; ++r)
        for (int c = 0; c < 32; ++c) {
            const uint32_t Index = r * 64 + c + (Mode != 4 && Vertical ? 32 : 0);
            // The table may start high in VRAM; addresses wrap within its 64 KiB.
            const uint32_t At = (Base + 2 * Index) & 0xFFFF;
            uint16_t Entry = static_cast<uint16_t>(S.VRAM[At] | S.VRAM[(At + 1) & 0xFFFF] << 8);
            if (Mode == 4 && ((Entry & 0x8000) != 0) != Vertical)
                continue;
            if (!Vertical)
                Entry &= 0xFFF8;
            if (!(Entry & Enable))
                continue;
            char B[8];
            std::snprintf(B, sizeof B, "%04u", Entry & 0x3FFu);
            G.Cells[r][c] = B;
        }
    // The row the pixel fetch reads (tPPU::FetchBGLine): one table row per
    // 16 lines of BG3 scroll in every mode, mode 4 included; a row beyond
    // the 32 shown selects nothing.
    const uint32_t Scroll = static_cast<uint32_t>(P.Layers[2].VScroll) & 0x3FF;
    const uint32_t Row = Scroll / 16;
    G.SelectedRow = Row < 32 ? static_cast<int>(Row) + 1 : 0;
    return G;
}
