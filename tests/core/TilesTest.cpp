// The planar decoders work on whole rows at once; these pin them to the
// bit-by-bit build-up they replace, on every byte value and on destinations
// that were not cleared (Decode2bpp adds, the deeper ones shift and add).

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>

#include "core/Tiles.h"

namespace
{
void Reference2bpp(const uint8_t* Src, uint8_t* Dst)
{
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            Dst[8 * r + c] = static_cast<uint8_t>(Dst[8 * r + c] + ((Src[2 * r] >> (7 - c)) & 1) +
                                                  2 * ((Src[2 * r + 1] >> (7 - c)) & 1));
}

void ReferenceShift(uint8_t* Dst)
{
    for (int i = 0; i < 64; ++i)
        Dst[i] = static_cast<uint8_t>(Dst[i] << 2);
}

void Reference1bpp(const uint8_t* Src, uint8_t* Dst)
{
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            Dst[8 * r + c] = (Src[r] >> (7 - c)) & 1;
}

void Reference3bpp(const uint8_t* Src, uint8_t* Dst)
{
    Reference1bpp(Src + 16, Dst);
    ReferenceShift(Dst);
    Reference2bpp(Src, Dst);
}

void Reference4bpp(const uint8_t* Src, uint8_t* Dst)
{
    Reference2bpp(Src + 16, Dst);
    ReferenceShift(Dst);
    Reference2bpp(Src, Dst);
}

void Reference8bpp(const uint8_t* Src, uint8_t* Dst)
{
    for (int Pair = 3; Pair >= 0; --Pair) {
        Reference2bpp(Src + 16 * Pair, Dst);
        if (Pair)
            ReferenceShift(Dst);
    }
}

struct tCase {
    const char* Name;
    tTileDecoder Decoder;
    tTileDecoder Reference;
};

TEST(TileDecoders, MatchTheBitByBitBuildUp)
{
    const tCase Cases[] = {{"1bpp", Decode1bpp, Reference1bpp},
                           {"2bpp", Decode2bpp, Reference2bpp},
                           {"3bpp", Decode3bpp, Reference3bpp},
                           {"4bpp", Decode4bpp, Reference4bpp},
                           {"8bpp", Decode8bpp, Reference8bpp}};
    std::mt19937 Random(7);
    std::array<uint8_t, 64> Src{}, Got{}, Want{};
    for (const tCase& C : Cases) {
        for (int Round = 0; Round < 300; ++Round) {
            // Every byte value in every position of the source; cleared, full
            // and random destinations.
            for (size_t i = 0; i < Src.size(); ++i)
                Src[i] = Round < 256 ? static_cast<uint8_t>(Round + 37 * i) : static_cast<uint8_t>(Random());
            for (size_t i = 0; i < Got.size(); ++i)
                Got[i] = Round % 3 == 0 ? 0 : Round % 3 == 1 ? 0xFF : static_cast<uint8_t>(Random());
            Want = Got;
            C.Decoder(Src.data(), Got.data());
            C.Reference(Src.data(), Want.data());
            ASSERT_EQ(Got, Want) << C.Name << " round " << Round;
        }
    }
}

TEST(TileDecoders, Mode7IsChunky)
{
    std::array<uint8_t, 128> M7{};
    std::array<uint8_t, 64> Dst{};
    Dst.fill(1); // replaced, not added to
    for (int i = 0; i < 128; ++i)
        M7[i] = static_cast<uint8_t>(i);
    DecodeMode7(M7.data(), Dst.data());
    EXPECT_EQ(Dst[8 + 1], 1 + 16 + 2);
    EXPECT_EQ(Dst[63], 127);
}
} // namespace
