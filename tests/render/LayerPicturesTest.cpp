// The background plane, sprite sheet and mode 7 pictures with their
// transparency rule.

#include "RenderTestSupport.h"

#include "render/LayerPictures.h"

namespace
{

class LayerPicturesTest : public tRenderTest
{
};

TEST_F(LayerPicturesTest, BackgroundPlaneByPriorityWithTransparentColours)
{
    Reg(0x2105, 0x01);
    Reg(0x210B, 0x01);
    SolidTile4(0x2000 + 32, 5);
    MapEntry(0, 0, 0, 0x2401); // priority 1, palette 1
    MapEntry(0, 1, 0, 0x0001); // priority 0
    Colour(0, 1, 2, 3);
    Decode();
    tPicture8 Out;
    tTransparency T;
    T.Kind = tTransparency::Colour0;
    DrawBGPlane(*P, 0, false, true, T, Out);
    ASSERT_EQ(Out.Width, 256);
    ASSERT_EQ(Out.Height, 256);
    EXPECT_EQ(Out.At(0, 0), 21);
    EXPECT_EQ(Out.At(8, 0), 0);
    for (int i = 0; i < 256; i += 16)
        EXPECT_EQ(Out.ColourTable[i], RGB(8, 16, 24));
    T.Kind = tTransparency::Custom;
    T.CustomColour = 0x123456;
    DrawBGPlane(*P, 0, true, true, T, Out);
    EXPECT_EQ(Out.At(8, 0), 5);
    EXPECT_EQ(Out.ColourTable[32], 0x123456u);
    DrawBGPlane(*P, 3, true, true, T, Out); // BG4 is absent in mode 1
    EXPECT_EQ(Out.Width, 0);
}

TEST_F(LayerPicturesTest, SpriteSheetPlacesSpritesWithoutWrapping)
{
    HideSprites();
    SolidTile4(32, 3);
    Sprite(0, 511, 255, 1, 0x02); // palette 1, at the far corner
    Sprite(1, 12, 10, 0, 0x00);   // empty, drawn over sprite 2 (earlier sprites end on top)
    Sprite(2, 10, 10, 1, 0x00);
    Decode();
    tPicture8 Out;
    std::array<uint8_t, 128> Active;
    Active.fill(1);
    tTransparency T;
    DrawSpriteSheet(*P, Active, {1, 1, 1, 1}, T, Out);
    ASSERT_EQ(Out.Width, 576);
    ASSERT_EQ(Out.Height, 320);
    EXPECT_EQ(Out.At(511, 255), 128 + 16 + 3);
    EXPECT_EQ(Out.At(518, 262), 128 + 16 + 3);
    EXPECT_EQ(Out.At(13, 10), 128 + 3); // sprite 1's transparent pixels let sprite 2 show
    T.Kind = tTransparency::None;
    DrawSpriteSheet(*P, Active, {1, 1, 1, 1}, T, Out);
    EXPECT_EQ(Out.At(13, 10), 128); // whole rows copied
    Active[2] = 0;
    T.Kind = tTransparency::FixedColour;
    DrawSpriteSheet(*P, Active, {1, 1, 1, 1}, T, Out);
    EXPECT_EQ(Out.At(11, 10), 0);
}

TEST_F(LayerPicturesTest, Mode7PlaneAndExtBGView)
{
    S->VRAM[2] = 1;          // map (1, 0) = tile 1
    S->VRAM[128 + 1] = 0x85; // tile 1, pixel 0
    Colour(5, 31, 0, 0);
    Decode();
    tPicture8 Out;
    tTransparency T;
    T.Kind = tTransparency::Colour0;
    DrawMode7Plane(*P, false, false, true, true, T, Out);
    ASSERT_EQ(Out.Width, 1024);
    EXPECT_EQ(Out.At(8, 0), 0x85);
    DrawMode7Plane(*P, true, false, true, true, T, Out);
    EXPECT_EQ(Out.ColourTable[0x85], RGB(248, 0, 0));
    DrawMode7Plane(*P, true, false, true, false, T, Out); // high-priority pixels hidden
    EXPECT_EQ(Out.ColourTable[0x85], P->Palette[0]);
    DrawMode7Plane(*P, false, true, true, true, T, Out);
    EXPECT_EQ(Out.ColourTable[0x85], DirectColourTable()[0][0x85]);
}

} // namespace
