// Frame composition: windows, clipping, colour math, priorities, brightness,
// the hires passes and the picture sizes.

#include "RenderTestSupport.h"

#include <initializer_list>
#include <utility>

#include "render/LayerPictures.h"

namespace
{

// Mode 1: BG1 (map $0000, tiles $2000) filled with a colour-1 tile of
// palette 0 (CGRAM 1), BG2 (map $1000, tiles $4000) with palette 1 (CGRAM
// 17), BG3 (map $3000, tiles $6000), sprites at $C000.
class RendererTest : public tRenderTest
{
  protected:
    void SetUp() override
    {
        tRenderTest::SetUp();
        HideSprites();
        Reg(0x2105, 0x01);
        Reg(0x2107, 0x00);
        Reg(0x2108, 0x08);
        Reg(0x2109, 0x18);
        Reg(0x210B, 0x21);
        Reg(0x210C, 0x03);
        Reg(0x2101, 0x03);
        SolidTile4(0x2000 + 32, 1);
        SolidTile4(0x4000 + 32, 1);
        SolidTile2(0x6000 + 16, 1);
        SolidTile4(0xC000 + 32, 1);
        FillMap(0x0000, 0x0001);
        FillMap(0x1000, 0x0401);
        FillMap(0x3000, 0x0001);
        Reg(0x212C, 0x01); // main: BG1
    }
    // Composes with the fixed colour's red given (the state keeps it beside $2132).
    void ComposeWithFixed(int R8)
    {
        S->FixedColour = {0, 0, static_cast<uint8_t>(R8), 0};
        Compose();
    }
    int Red(int X, int Y = 0) const { return static_cast<int>(Pixel(X, Y) >> 16); }
    // The red of row 0 at each column given.
    void ExpectRed(std::initializer_list<std::pair<int, int>> Want) const
    {
        for (auto [X, Red8] : Want)
            EXPECT_EQ(Red(X), Red8) << "column " << X;
    }
};

TEST_F(RendererTest, AllBackdropFrameWithBackdropMath)
{
    Reg(0x212C, 0x00);
    Reg(0x2131, 0x20); // add on the backdrop
    Colour(0, 10, 0, 0);
    ComposeWithFixed(16);
    ASSERT_EQ(Pic32.Width, 256);
    ASSERT_EQ(Pic32.Height, 224);
    for (int y : {0, 100, 223})
        for (int x : {0, 128, 255}) {
            EXPECT_EQ(Pixel(x, y), RGB(96, 0, 0));
            EXPECT_EQ(Pic8.At(x, y), 0);
        }
}

TEST_F(RendererTest, ClippingFollowsTheColourWindowOnlyWithMasks)
{
    Colour(1, 31, 31, 31);
    Reg(0x2130, 0xC0); // clip always
    Sw.CBox_ScreenMasks = false;
    Compose();
    EXPECT_EQ(Pixel(0, 0), RGB(248, 248, 248));
    EXPECT_EQ(Pixel(255, 223), RGB(248, 248, 248));

    Sw = {};
    Reg(0x2130, 0x40); // clip outside the colour window
    Reg(0x2125, 0x20); // colour window: window 1
    Reg(0x2126, 16);
    Reg(0x2127, 31);
    Compose();
    for (int x = 0; x < 256; ++x) {
        const bool Inside = x >= 16 && x <= 31;
        ASSERT_EQ(Pixel(x, 5), Inside ? RGB(248, 248, 248) : 0u) << x;
        ASSERT_EQ(Pic8.At(x, 5), Inside ? 1 : 0) << x;
    }
}

TEST_F(RendererTest, LayerWindowsHideOnBothScreens)
{
    Colour(0, 1, 0, 0);
    Colour(1, 31, 0, 0);
    Reg(0x2123, 0x02); // BG1: window 1
    Reg(0x2126, 100);
    Reg(0x2127, 109);
    Compose();
    ExpectRed({{99, 248}, {100, 8}, {109, 8}, {110, 248}});

    // An inverted window covers everything outside its range.
    Reg(0x2123, 0x03);
    Compose();
    ExpectRed({{99, 8}, {105, 248}, {110, 8}});

    // Inverted and empty: the whole line.
    Reg(0x2126, 50);
    Reg(0x2127, 10);
    Compose();
    ExpectRed({{0, 8}, {255, 8}});

    // Two windows, AND logic: hidden only where both cover.
    Reg(0x2123, 0x0A);
    Reg(0x2126, 10);
    Reg(0x2127, 20);
    Reg(0x2128, 15);
    Reg(0x2129, 30);
    Reg(0x212A, 0x01);
    Compose();
    ExpectRed({{12, 248}, {17, 8}, {25, 248}});
}

TEST_F(RendererTest, SubtractAndAddWithHalvingAndClamping)
{
    // $2131 on BG1 ($80 subtract, $40 half), BG1's red in 5 bits, the fixed red.
    const struct {
        uint8_t CGADSUB;
        int Red5, Fixed, Want;
    } Cases[] = {{0xC1, 5, 100, 0}, {0xC1, 13, 40, 32}, {0x41, 25, 100, 150}, {0x01, 25, 100, 255}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(int(C.CGADSUB));
        Reg(0x2131, C.CGADSUB);
        Colour(1, C.Red5, 0, 0);
        ComposeWithFixed(C.Fixed);
        EXPECT_EQ(Red(0), C.Want);
    }
}

TEST_F(RendererTest, SubScreenAddend)
{
    Reg(0x2130, 0x02);    // math with the sub screen
    Reg(0x2131, 0x41);    // add, half, BG1
    Colour(1, 5, 0, 0);   // main red 40
    Colour(17, 10, 0, 0); // BG2 red 80
    // Empty sub screen: the fixed colour at full strength despite the half flag.
    ComposeWithFixed(64);
    EXPECT_EQ(Red(7), 104);
    // BG2 on the sub screen: (40 + 80) / 2.
    Reg(0x212D, 0x02);
    ComposeWithFixed(64);
    EXPECT_EQ(Red(7), 60);
}

TEST_F(RendererTest, SpritePalettesZeroToThreeNeverTakePartInMath)
{
    Reg(0x212C, 0x10);                 // main: sprites
    Reg(0x2131, 0x10);                 // add on sprites
    Colour(128 + 1, 8, 0, 0);          // palette 0 colour 1
    Colour(128 + 4 * 16 + 1, 8, 0, 0); // palette 4 colour 1
    Sprite(0, 0, 0, 1, 0x30);          // palette 0
    Sprite(1, 16, 0, 1, 0x38);         // palette 4
    ComposeWithFixed(32);
    EXPECT_EQ(Red(2, 0), 64);
    EXPECT_EQ(Red(18, 0), 96);
}

TEST_F(RendererTest, ModeOneBG3PriorityInFrontOfSprites)
{
    Reg(0x212C, 0x14);       // main: BG3 and sprites
    FillMap(0x3000, 0x2001); // BG3 tiles with the priority bit
    Colour(1, 3, 0, 0);
    Colour(129, 31, 0, 0);
    Sprite(0, 0, 0, 1, 0x30); // priority 3, covers row 0 columns 0-7
    Compose();
    EXPECT_EQ(Red(0), 248); // sprite 3 over BG3 without the switch
    Reg(0x2105, 0x09);
    Compose();
    EXPECT_EQ(Red(0), 24);
    Sw.Reload(*P, O);
    P->BG3OnTop = 0; // the viewer's check box overrides the register
    R->ComposeFrame(*P, Sw, O, Pic8, Pic32);
    EXPECT_EQ(Red(0), 248);
}

TEST_F(RendererTest, BrightnessScalesEveryComponent)
{
    Colour(1, 31, 16, 1);
    Reg(0x2100, 0x0F);
    Compose();
    EXPECT_EQ(Pixel(0, 0), RGB(248, 128, 8));
    Reg(0x2100, 0x00);
    Compose();
    EXPECT_EQ(Pixel(0, 0), RGB(15, 8, 0));
    EXPECT_EQ(Pic8.ColourTable[1], RGB(15, 8, 0));
    Sw.CBox_ScreenBrightness = false;
    R->ComposeFrame(*P, Sw, O, Pic8, Pic32);
    EXPECT_EQ(Pixel(0, 0), RGB(248, 128, 8));
}

TEST_F(RendererTest, VisibilityAndTheEightBitSubScreen)
{
    Colour(1, 31, 0, 0);
    Colour(17, 0, 31, 0);
    Reg(0x212D, 0x02); // sub: BG2
    Compose();
    EXPECT_EQ(Sw.Visibility[1][2], 1);
    EXPECT_EQ(Sw.Visibility[0][8], 0);
    EXPECT_EQ(Pic8.At(0, 0), 1);
    Sw.LayeringTab = 1; // the sub tab shows the sub screen in the 8-bit picture
    R->ComposeFrame(*P, Sw, O, Pic8, Pic32);
    EXPECT_EQ(Pic8.At(0, 0), 17);
    EXPECT_EQ(Pixel(0, 0), RGB(248, 0, 0));
    Sw.LayeringTab = 0;
    Sw.CBox_ScreenBoth = true; // the sub screen only where the main one is empty
    Sw.Visibility[0][0] = Sw.Visibility[0][1] = 0;
    R->ComposeFrame(*P, Sw, O, Pic8, Pic32);
    EXPECT_EQ(Pic8.At(0, 0), 17);
    EXPECT_EQ(Pixel(0, 0), 0u);
}

TEST_F(RendererTest, HiresColumnsAlternateSubAndMain)
{
    // Mode 5: BG1 4bpp, 16-wide tiles of tiles 1 (colour 1) and 2 (colour 2).
    Reg(0x2105, 0x05);
    SolidTile4(0x2000 + 64, 2);
    Reg(0x212C, 0x01);
    Reg(0x212D, 0x01);
    Colour(1, 31, 0, 0);
    Colour(2, 0, 31, 0);
    Compose();
    ASSERT_EQ(Pic32.Width, 512);
    ASSERT_EQ(Pic32.Height, 448);
    // Column 2x is the sub screen's even pixel, 2x + 1 the main screen's odd one.
    EXPECT_EQ(Pic8.At(1, 0), 1);
    EXPECT_EQ(Pic8.At(8, 0), 2);
    EXPECT_EQ(Pic8.At(15, 0), 2);
    EXPECT_EQ(Pic8.At(16, 0), 1);
    O.CBox_SceneBlur = true;
    O.CBox_SceneBlurSoft = false;
    Compose();
    // At the border between red and green columns the blur mixes them.
    const uint32_t Mixed = Pixel(8, 10);
    EXPECT_EQ(Mixed >> 16, 248u / 3);
    EXPECT_EQ((Mixed >> 8) & 255, 248u * 2 / 3);
}

TEST_F(RendererTest, PseudoHiresAveragesSubAndMain)
{
    Reg(0x2133, 0x08);
    Reg(0x212D, 0x02); // sub: BG2
    Colour(1, 31, 0, 0);
    Colour(17, 0, 31, 0);
    Compose();
    EXPECT_EQ(Pixel(10, 10), RGB(124, 124, 0));
}

TEST_F(RendererTest, NothingToComposeWithoutScreenSize)
{
    Decode();
    P->ScreenWidth = 0;
    Pic32.Resize(3, 3);
    R->ComposeFrame(*P, Sw, O, Pic8, Pic32);
    EXPECT_EQ(Pic32.Width, 3);
}

TEST_F(RendererTest, SpriteAtYShowsFromRowY)
{
    Reg(0x212C, 0x10);
    Colour(129, 31, 0, 0);
    Sprite(0, 0, 5, 1, 0x30);
    Compose();
    for (auto [Y, Red8] : {std::pair{4, 0}, {5, 248}, {12, 248}, {13, 0}})
        EXPECT_EQ(Red(0, Y), Red8) << "row " << Y;
}

TEST_F(RendererTest, HiresLayerLinesAreDoubledUnlessInterlaced)
{
    // Mode 5 with 16x16 tiles: map row 0 tile 1 (colour 1), row 1 tile 2 (colour 2).
    Reg(0x2105, 0x15);
    SolidTile4(0x2000 + 64, 2);
    SolidTile4(0x2000 + 17 * 32, 1);
    SolidTile4(0x2000 + 18 * 32, 1);
    FillMap(0, 0x0001);
    for (int c = 0; c < 32; ++c)
        MapEntry(0, c, 1, 0x0002);
    Reg(0x212C, 0x01);
    Reg(0x212D, 0x01);
    Compose();
    // Line 1 (rows 0 and 1) to line 15 (rows 28, 29) show map row 0, line 16 row 1.
    EXPECT_EQ(Pic8.At(1, 29), 1);
    EXPECT_EQ(Pic8.At(1, 30), 2);
    Reg(0x2133, 0x01); // screen interlace: the two rows are two layer lines
    Compose();
    EXPECT_EQ(Pic8.At(1, 14), 1);
    EXPECT_EQ(Pic8.At(1, 15), 2);
}

} // namespace
