// The blur of 512-wide screens: a 3 x 3 filter over an unfiltered copy whose
// edges repeat the outermost rows and columns.
//
// The filter is separable: each row's three-pixel sums are made once and
// three of them added per output pixel (three rows of sums are held at a
// time), with the three colour channels side by side in 16-bit lanes of one
// word (nine sums of 255 and seven more centres stay below 4096, so no lane
// overflows into the next).

#include "core/Picture32.h"
#include "render/Renderer.h"

#include <algorithm>
#include <vector>

namespace
{
// 0x00RRGGBB as blue, green and red in lanes 0, 1 and 2.
uint64_t Lanes(uint32_t C)
{
    return (C & 0xFF) | static_cast<uint64_t>((C >> 8) & 0xFF) << 16 | static_cast<uint64_t>((C >> 16) & 0xFF) << 32;
}

uint32_t Lane(uint64_t V, int K)
{
    return static_cast<uint32_t>(V >> (16 * K)) & 0xFFFF;
}

// The three-pixel sums of one row, its ends repeated.
void RowSums(const uint32_t* Src, int32_t W, uint64_t* Out)
{
    uint64_t Left = Lanes(Src[0]), Here = Left;
    for (int32_t x = 0; x < W; ++x) {
        const uint64_t Right = Lanes(Src[x + 1 < W ? x + 1 : W - 1]);
        Out[x] = Left + Here + Right;
        Left = Here;
        Here = Right;
    }
}
} // namespace

void BlurPicture(tPicture32& Picture, bool Soft)
{
    const int32_t W = Picture.Width, H = Picture.Height;
    if (W <= 0 || H <= 0)
        return;
    // The row sums of the rows above, at and below the one being written,
    // made from the unfiltered rows: a row's sums are taken before the row
    // is overwritten (the rows past the edges repeat the edge rows).
    const size_t Width = static_cast<size_t>(W);
    std::vector<uint64_t> Sums(3 * Width);
    uint64_t* Above = Sums.data();
    uint64_t* Here = Above + Width;
    uint64_t* Below = Here + Width;
    RowSums(Picture.Row(0), W, Here);
    std::copy_n(Here, Width, Above);
    for (int32_t y = 0; y < H; ++y) {
        if (y + 1 < H)
            RowSums(Picture.Row(y + 1), W, Below);
        else
            std::copy_n(Here, Width, Below);
        uint32_t* Out = Picture.Row(y);
        for (int32_t x = 0; x < W; ++x) {
            uint64_t Sum = Above[x] + Here[x] + Below[x];
            uint32_t B, G, R;
            if (Soft) {
                // Sum holds the centre once: soft adds it seven more times.
                Sum += 7 * Lanes(Out[x]);
                B = Lane(Sum, 0) >> 4, G = Lane(Sum, 1) >> 4, R = Lane(Sum, 2) >> 4;
            } else {
                B = Lane(Sum, 0) / 9, G = Lane(Sum, 1) / 9, R = Lane(Sum, 2) / 9;
            }
            Out[x] = R << 16 | G << 8 | B;
        }
        // The rows move up by one: the old row above takes the next sums.
        std::swap(Above, Here);
        std::swap(Here, Below);
    }
}
