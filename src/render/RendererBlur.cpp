// The blur of 512-wide screens: a 3 x 3 filter over an unfiltered copy whose
// edges repeat the outermost rows and columns.

#include "core/Picture32.h"
#include "render/Renderer.h"

#include <vector>

void BlurPicture(tPicture32& Picture, bool Soft)
{
    const int32_t W = Picture.Width, H = Picture.Height;
    if (W <= 0 || H <= 0)
        return;
    // One padded copy of every row: one pixel more on each side.
    const int32_t PW = W + 2;
    std::vector<uint32_t> Copy(static_cast<size_t>(PW) * static_cast<size_t>(H + 2));
    for (int32_t y = -1; y <= H; ++y) {
        const uint32_t* Src = Picture.Row(y < 0 ? 0 : y >= H ? H - 1 : y);
        uint32_t* Dst = Copy.data() + static_cast<size_t>(y + 1) * static_cast<size_t>(PW);
        Dst[0] = Src[0];
        for (int32_t x = 0; x < W; ++x)
            Dst[x + 1] = Src[x];
        Dst[W + 1] = Src[W - 1];
    }
    for (int32_t y = 0; y < H; ++y) {
        uint32_t* Out = Picture.Row(y);
        const uint32_t* Rows[3];
        for (int k = 0; k < 3; ++k)
            Rows[k] = Copy.data() + static_cast<size_t>(y + k) * static_cast<size_t>(PW);
        for (int32_t x = 0; x < W; ++x) {
            uint32_t Result = 0;
            for (int Shift = 0; Shift <= 16; Shift += 8) {
                uint32_t Sum = 0;
                for (int k = 0; k < 3; ++k)
                    for (int i = 0; i < 3; ++i)
                        Sum += (Rows[k][x + i] >> Shift) & 255;
                const uint32_t Centre = (Rows[1][x + 1] >> Shift) & 255;
                // Sum holds the centre once: soft adds it seven more times.
                const uint32_t V = Soft ? (Sum + 7 * Centre) >> 4 : Sum / 9;
                Result |= V << Shift;
            }
            Out[x] = Result;
        }
    }
}
