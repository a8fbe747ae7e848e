// The mode 7 plane: VRAM words hold the map in their low bytes (128 x 128
// tiles, row-major) and the 8-bit tile pixels in their high bytes.

#include "render/PPU.h"

#include "core/SNES.h"

void tPPU::DecodeMode7Plane(const tSNES& S)
{
    for (int t = 0; t < 256; ++t)
        DecodeMode7(S.VRAM.data() + t * 128, M7Tiles.data() + t * 64);
    for (int r = 0; r < 128; ++r)
        for (int c = 0; c < 128; ++c)
            M7Map[r * 128 + c] = S.VRAM[r * 256 + 2 * c];
}
