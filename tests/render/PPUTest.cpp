// Register decoding, tile grids and the background fetch.

#include "RenderTestSupport.h"

namespace
{

class PPUTest : public tRenderTest
{
};

TEST_F(PPUTest, WindowRangesEmptyAndSinglePixel)
{
    Reg(0x2126, 10); // WH0 > WH1: no range
    Reg(0x2127, 5);
    Reg(0x2128, 7);
    Reg(0x2129, 7);
    Decode();
    EXPECT_EQ(P->Windows[0].Valid, 0);
    EXPECT_EQ(P->Windows[1].Valid, 1);
    for (int x = 0; x < 256; ++x) {
        ASSERT_EQ(P->Windows[0].Inside[x], 0) << x;
        ASSERT_EQ(P->Windows[1].Inside[x], x == 7 ? 1 : 0) << x;
    }
}

TEST_F(PPUTest, RegisterFlagsAndPalette)
{
    Reg(0x2105, 0x09); // mode 1, BG3 priority
    Reg(0x2101, 0xA3); // OBSEL
    Reg(0x2123, 0x5A); // BG1: W2 enable, W1 enable + invert... nibble A = 1010
    Reg(0x212A, 0x0C); // BG2 logic XNOR
    S->CGRAM[7] = 0x7FFF;
    S->CGRAM[8] = 0x001F;
    Decode();
    EXPECT_EQ(P->BG3OnTop, 1);
    EXPECT_EQ(P->ObjSize[0][1], 32u);
    EXPECT_EQ(P->ObjSize[1][0], 64u);
    // Low nibble $A: window 1 enabled, window 2 enabled, no inversion.
    EXPECT_EQ(P->Layers[0].Window.Enable[0], 1);
    EXPECT_EQ(P->Layers[0].Window.Invert[0], 0);
    EXPECT_EQ(P->Layers[0].Window.Enable[1], 1);
    // High nibble $5: both inverted, neither enabled.
    EXPECT_EQ(P->Layers[1].Window.Invert[0], 1);
    EXPECT_EQ(P->Layers[1].Window.Enable[0], 0);
    EXPECT_EQ(P->Layers[1].Window.Logic, 3);
    EXPECT_EQ(P->Palette[7], RGB(248, 248, 248));
    EXPECT_EQ(P->Palette[8], RGB(248, 0, 0));
    EXPECT_EQ(P->PriorityOrder, "3AB2ab1C0c");

    Reg(0x2101, 0x1A); // base 2 x 16 KB, gap 3 x 8 KB
    Decode();
    EXPECT_EQ(P->ObjNameBase[0], 0x8000u);
    EXPECT_EQ(P->ObjNameBase[1], 0xE000u);
}

TEST_F(PPUTest, HiresTilesAndScreenSizes)
{
    Reg(0x2105, 0x05);
    Decode();
    EXPECT_EQ(P->Layers[0].TileWidth, 16u);
    EXPECT_EQ(P->Layers[0].TileHeight, 8u);
    EXPECT_EQ(P->Layers[0].HalveY, 1);
    EXPECT_EQ(P->ScreenWidth, 512);

    Reg(0x2133, 0x07); // screen interlace, sprite interlace, overscan
    Decode();
    EXPECT_EQ(P->Layers[0].HalveY, 0);
    EXPECT_EQ(P->ScreenHeight, 478);
}

TEST_F(PPUTest, FlippedTwoBitEntryWithPaletteOffset)
{
    // Mode 0 BG1: map at 0, tiles at $2000; tile 5 has colour 2 at (7, 7) only.
    Reg(0x210B, 0x01);
    S->VRAM[0x2000 + 5 * 16 + 2 * 7 + 1] = 0x01;
    MapEntry(0, 0, 0, 0xEC05);
    Decode();
    const tTileRecord& T = P->Layers[0].Tiles[0];
    EXPECT_EQ(T.Priority, 1);
    const uint8_t* Px = P->Layers[0].TilePixels(0);
    EXPECT_EQ(Px[0], 14); // flipped both ways: (7, 7) lands on (0, 0)
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            if (x || y) {
                ASSERT_EQ(Px[y * 8 + x], 12) << x << "," << y;
            }
        }
}

TEST_F(PPUTest, ModeZeroLayersUseTheirOwnPaletteQuartersAndEightBitLayersNone)
{
    Reg(0x2109, 0x04); // BG3 map at $800
    SolidTile2(16, 1);
    MapEntry(0x800, 0, 0, 0x0001);
    Decode();
    EXPECT_EQ(P->Layers[2].TilePixels(0)[0], 65);

    Reg(0x2105, 0x03);
    Reg(0x210B, 0x01);
    S->VRAM[0x2000 + 64] = 0x80; // tile 1, plane 0, pixel 0: colour 1
    MapEntry(0, 0, 0, 0x1401);   // palette 5
    Decode();
    EXPECT_EQ(P->Layers[0].TilePixels(0)[0], 1);
}

TEST_F(PPUTest, SixteenPixelTilesWrapAt512)
{
    Reg(0x2105, 0x11); // mode 1, BG1 16x16 tiles
    Reg(0x210B, 0x01);
    SolidTile4(0x2000 + 32, 3); // tile 1 (upper left of a 16x16 tile 1)
    MapEntry(0, 0, 0, 0x0001);
    Decode();
    EXPECT_EQ(P->Layers[0].PixelWidth, 512);
    tBGLine Out;
    P->Layers[0].HScroll = 512 - 3; // column 3 shows map column 0 again
    P->FetchBGLine(0, 0, 0, false, Out);
    EXPECT_EQ(Out.Visible[3], 1); // priority 0
    EXPECT_EQ(Out.Index[3], 3);
    // Column 511 is the right half of map column 31, whose tile 0 takes tile 1 as its right half.
    EXPECT_EQ(Out.Visible[2], 1);
    EXPECT_EQ(Out.Index[2], 3);
    EXPECT_EQ(Out.Visible[19], 0); // map column 1: tile 0's left half is empty
}

TEST_F(PPUTest, OffsetPerTileSparesTheFirstColumn)
{
    // Mode 2: BG1 map at 0, tiles at $2000, BG3 (the offset table) at $1000.
    Reg(0x2105, 0x02);
    Reg(0x210B, 0x01);
    Reg(0x2109, 0x08);
    SolidTile4(0x2000 + 32, 1); // tile 1 colour 1
    SolidTile4(0x2000 + 64, 2); // tile 2 colour 2
    for (int c = 0; c < 32; ++c) {
        MapEntry(0, c, 0, 0x0001);
        MapEntry(0, c, 1, 0x0002);
    }
    // Every column's vertical offset: 8 lines down, for BG1.
    for (int i = 0; i < 32; ++i)
        MapEntry(0x1000, i, 1, 0x2000 | 8);
    Decode();
    P->Layers[0].HScroll = 3;
    tBGLine Out;
    P->FetchBGLine(0, 0, 0, false, Out);
    for (int x = 0; x < 5; ++x) { // c = 3 + x < 8: never offset
        ASSERT_TRUE(Out.Visible[x]) << x;
        EXPECT_EQ(Out.Index[x] & 15, 1) << x;
    }
    for (int x = 5; x < 12; ++x) {
        ASSERT_TRUE(Out.Visible[x]) << x;
        EXPECT_EQ(Out.Index[x] & 15, 2) << x;
    }
}

TEST_F(PPUTest, MosaicRepeatsTheBlocksFirstColumn)
{
    Reg(0x2105, 0x01);
    Reg(0x2106, 0x31); // size 3 (blocks of 4), BG1
    Reg(0x210B, 0x01);
    for (int t = 0; t < 8; ++t)
        for (int x = 0; x < 8; ++x)
            PixelTile4(0x2000 + 32 * (t + 1), x, 1, (x & 7) + 1);
    for (int c = 0; c < 32; ++c)
        MapEntry(0, c, 0, static_cast<uint16_t>(1 + (c & 7)));
    Decode();
    tBGLine Out;
    P->MosaicCountY = 0;
    P->FetchBGLine(0, 0, 1, false, Out);
    EXPECT_EQ(Out.Index[0], 1);
    EXPECT_EQ(Out.Index[3], 1);
    EXPECT_EQ(Out.Index[4], 5);
    EXPECT_EQ(Out.Index[7], 5);
    EXPECT_EQ(Out.Index[252], 5);       // 252 = 63 blocks of 4: map column 31, tile 8, pixel 4
    P->FetchBGLine(0, 0, 1, true, Out); // mosaic ignored
    EXPECT_EQ(Out.Index[6], 7);
}

TEST_F(PPUTest, Mode7PlaneFromInterleavedWords)
{
    S->VRAM[0] = 3;            // map (0, 0) = tile 3
    S->VRAM[256 + 2 * 5] = 9;  // map row 1, column 5 = tile 9
    S->VRAM[3 * 128 + 1] = 77; // tile 3, pixel 0
    Decode();
    EXPECT_EQ(P->M7Map[0], 3);
    EXPECT_EQ(P->M7Map[128 + 5], 9);
    EXPECT_EQ(P->M7Tiles[3 * 64], 77);
}

TEST_F(PPUTest, MapReadsNearTheEndOfVRAMWrap)
{
    Reg(0x2107, 0xFF); // map at $F800, 64 x 64: runs past the end
    Reg(0x210B, 0x0F); // tiles at $E000
    Decode();          // must stay inside VRAM
    EXPECT_EQ(P->Layers[0].PixelHeight, 512);
}

} // namespace
