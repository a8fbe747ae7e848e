// The blur works on row sums with the channels in lanes of one word; this
// pins it to the plain 3 x 3 filter over a padded copy, channel by channel,
// on random pictures of every awkward size.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/Picture32.h"
#include "render/Renderer.h"

namespace
{
tPicture32 ReferenceBlur(const tPicture32& In, bool Soft)
{
    tPicture32 Out = In;
    const int32_t W = In.Width, H = In.Height;
    auto At = [&](int32_t x, int32_t y) {
        x = x < 0 ? 0 : x >= W ? W - 1 : x;
        y = y < 0 ? 0 : y >= H ? H - 1 : y;
        return In.At(x, y);
    };
    for (int32_t y = 0; y < H; ++y)
        for (int32_t x = 0; x < W; ++x) {
            uint32_t Result = 0;
            for (int Shift = 0; Shift <= 16; Shift += 8) {
                uint32_t Sum = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        Sum += (At(x + dx, y + dy) >> Shift) & 255;
                const uint32_t Centre = (At(x, y) >> Shift) & 255;
                Result |= (Soft ? (Sum + 7 * Centre) >> 4 : Sum / 9) << Shift;
            }
            Out.Row(y)[x] = Result;
        }
    return Out;
}

TEST(BlurTest, MatchesThePlainFilterOnRandomPictures)
{
    std::mt19937 Random(11);
    const int32_t Sizes[][2] = {{1, 1}, {2, 1}, {1, 3}, {3, 2}, {17, 5}, {512, 4}};
    for (const auto& Size : Sizes)
        for (const bool Soft : {false, true})
            for (const bool Saturated : {false, true}) {
                tPicture32 P;
                P.Resize(Size[0], Size[1]);
                // The top byte is not part of the colour and must not leak in.
                for (uint32_t& C : P.Pixels)
                    C = Saturated ? (Random() & 1 ? 0xFFFFFFFFu : 0xFF000000u) : static_cast<uint32_t>(Random());
                const tPicture32 Want = ReferenceBlur(P, Soft);
                BlurPicture(P, Soft);
                EXPECT_EQ(P.Pixels, Want.Pixels) << Size[0] << "x" << Size[1] << (Soft ? " soft" : " hard");
            }
}
} // namespace
