// Sprite decoding and the per-line sliver list with the hardware's limits.

#include "RenderTestSupport.h"

#include <algorithm>
#include <tuple>
#include <vector>

namespace
{

class SpritesTest : public tRenderTest
{
  protected:
    void SetUp() override
    {
        tRenderTest::SetUp();
        HideSprites();
    }
    // Sprite numbers that own slivers on the line, in list order.
    std::vector<int> SliverOwners(int Line)
    {
        R->BuildSpriteLine(*P, Line, false);
        std::vector<int> Owners;
        for (int s = 0; s <= R->SliverLast; ++s)
            for (int i = 0; i < 128; ++i) {
                const uint8_t* Base = P->Sprites[i].Pixels.data();
                if (R->Slivers[s].Row >= Base && R->Slivers[s].Row < Base + P->Sprites[i].Pixels.size()) {
                    Owners.push_back(i);
                    break;
                }
            }
        return Owners;
    }
};

TEST_F(SpritesTest, OnlyThirtyTwoSpritesInRangeFromTheRotationStart)
{
    for (int i = 0; i < 33; ++i)
        Sprite(i, 4 * i, 100, 0, 0);
    Decode();
    P->FirstSprite = 1;
    auto Owners = SliverOwners(101); // sprites at Y show from line Y + 1
    ASSERT_EQ(Owners.size(), 32u);
    EXPECT_EQ(Owners.front(), 1);
    EXPECT_EQ(Owners.back(), 32);
    P->FirstSprite = 0;
    Owners = SliverOwners(101);
    EXPECT_EQ(Owners.front(), 0);
    EXPECT_EQ(Owners.back(), 31);
}

TEST_F(SpritesTest, ThirtyFourSliversDropThoseOfTheFirstSprite)
{
    Reg(0x2101, 0xA0); // sizes 32x32 / 64x64
    for (int i = 0; i < 9; ++i)
        Sprite(i, 20 * i, 50, 0, 0);
    Decode();
    const auto Owners = SliverOwners(51);
    ASSERT_EQ(Owners.size(), 34u);
    // Sprite 0 keeps two of its four slivers: its rightmost ones.
    EXPECT_EQ(std::count(Owners.begin(), Owners.end(), 0), 2);
    EXPECT_EQ(R->Slivers[0].X, 16);
    EXPECT_EQ(R->Slivers[1].X, 24);
    EXPECT_EQ(std::count(Owners.begin(), Owners.end(), 8), 4);
}

TEST_F(SpritesTest, SpriteNearX512WrapsToTheLeftEdge)
{
    Reg(0x2101, 0x60);     // small 16x16
    SolidTile4(0 * 32, 0); // tile 0 empty, tile 1 solid colour 5
    SolidTile4(1 * 32, 5);
    Sprite(0, 500, 10, 0, 0x30); // columns 500..515: tiles 0 and 1
    Decode();
    R->BuildSpriteLine(*P, 11, false);
    ASSERT_EQ(R->SliverLast, 0); // the sliver at 500 lies wholly off screen
    EXPECT_EQ(R->Slivers[0].X, 508);
    tPixelResult Out;
    for (int x = 0; x < 4; ++x) {
        ASSERT_TRUE(R->FetchOBJ(*P, 3, x, Out)) << x;
        EXPECT_EQ(Out.Index, 128 + 5);
    }
    EXPECT_FALSE(R->FetchOBJ(*P, 3, 4, Out));
}

TEST_F(SpritesTest, YWrapsPastLine255)
{
    Reg(0x2101, 0x00);
    Sprite(0, 0, 250, 0, 0, true); // 16x16
    Decode();
    // Its rows show on lines 251..256 and 1..10 (screen rows 250..255, 0..9).
    for (int Line : {251, 256, 1, 10})
        EXPECT_TRUE(P->SpriteOnLine(0, Line, false)) << Line;
    for (int Line : {250, 11})
        EXPECT_FALSE(P->SpriteOnLine(0, Line, false)) << Line;
    // With two picture rows per line the line number is halved first.
    EXPECT_TRUE(P->SpriteOnLine(0, 502, true));
    EXPECT_FALSE(P->SpriteOnLine(0, 500, true));
}

TEST_F(SpritesTest, RectangularSpriteFlipsAsTwoSquares)
{
    Reg(0x2101, 0xC0); // 16x32
    // Row r of the sprite gets colour (r % 15) + 1 in its first pixel.
    for (int r = 0; r < 32; ++r) {
        const int Tile = (r / 8) * 16;
        PixelTile4(static_cast<uint32_t>(Tile * 32), 0, r % 8, r % 15 + 1);
    }
    Sprite(0, 0, 0, 0, 0x80); // FlipY
    Decode();
    const tSpriteRec& Spr = P->Sprites[0];
    ASSERT_EQ(Spr.Height, 32);
    for (int r = 0; r < 32; ++r) {
        const int Source = r < 16 ? 15 - r : 47 - r;
        EXPECT_EQ(Spr.Pixels[r * 64], 128 + Source % 15 + 1) << r;
    }
}

TEST_F(SpritesTest, EarlierSpriteHidesLaterOneWhateverItsPriority)
{
    SolidTile4(32, 1);
    SolidTile4(64, 2);
    Sprite(0, 40, 60, 1, 0x10); // priority 1
    Sprite(1, 40, 60, 2, 0x30); // priority 3, behind sprite 0 in OAM order
    Decode();
    R->BuildSpriteLine(*P, 61, false);
    tPixelResult Out;
    EXPECT_FALSE(R->FetchOBJ(*P, 3, 42, Out));
    ASSERT_TRUE(R->FetchOBJ(*P, 1, 42, Out));
    EXPECT_EQ(Out.Index, 128 + 1);
}

TEST_F(SpritesTest, SpriteTileBaseOption)
{
    Reg(0x2101, 0x0A);                   // first table at $8000, second at $A000 (+ 8 KB for tiles 256-511)
    SolidTile4(0x8000 + 32, 1);          // first table, tile 1
    SolidTile4(0xA000 + 32, 3);          // $8000 + tile 257, or second table + tile 1
    SolidTile4(0xA000 + 0x2000 + 32, 2); // second table, tile 257
    Sprite(0, 0, 0, 1, 0x01);            // tile 257
    Sprite(1, 0, 0, 1, 0x00);            // tile 1
    Decode();
    // Option, then the colours of sprites 0 and 1: 1 is "base 0 for all
    // tiles", 2 "base 1 for all tiles".
    for (auto [Base, Colour0, Colour1] : {std::tuple{0, 2, 1}, {1, 3, 1}, {2, 2, 3}}) {
        O.SceneBase = Base;
        P->BuildSpritePictures(*S, O);
        EXPECT_EQ(P->Sprites[0].Pixels[0], 128 + Colour0) << Base;
        EXPECT_EQ(P->Sprites[1].Pixels[0], 128 + Colour1) << Base;
    }
}

} // namespace
