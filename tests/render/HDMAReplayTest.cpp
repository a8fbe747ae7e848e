// HDMA replayed line by line, mode 7 and direct colour on the composed screen.

#include "RenderTestSupport.h"

#include "render/HDMAReplay.h"

namespace
{

struct HDMAReplayTest : tRenderTest {
    void Table(uint32_t At, std::initializer_list<uint8_t> Bytes)
    {
        std::copy(Bytes.begin(), Bytes.end(), &S->WRAM[At]);
    }
};

TEST_F(HDMAReplayTest, TablesBecomeOrderedWritesAndLatchedRegisters)
{
    // Channel 3, mode 3 into BG1's scrolls, repeat for 2 lines, the table
    // running over the end of bank $7E into its start again.
    HDMAChannel(*S, 3, true, 3, 0x0D, 0x7E, 0xFFFC);
    Table(0xFFFC, {0x82, 0x10, 0x01, 0x20});
    Table(0x0000, {0x03, 0x11, 0x02, 0x21, 0x00, 0x00});
    // Channel 1, indirect, mode 2 (two bytes to $2132), count $80 then end.
    HDMAChannel(*S, 1, true, 2, 0x32, 0x7E, 0x2000, true, 0x7F);
    Table(0x2000, {0x80, 0x00, 0x40, 0x00});
    Table(0x14000, {0x3F, 0x9F});
    // Channel 6 reads from cartridge ROM, and none is loaded.
    HDMAChannel(*S, 6, true, 0, 0x00, 0xC0, 0x0000);
    const tHDMAReplay H = ReplayHDMA(*S, {});
    EXPECT_EQ(H.SkippedROM, 1 << 6);
    ASSERT_EQ(H.Writes.size(), 2u + 8u);
    // Line 0: channel 1 before channel 3, whatever order the tables were read.
    EXPECT_EQ(H.Writes[0].Channel, 1);
    EXPECT_EQ(H.Writes[5].Value, 0x03); // from $7E:0000, past the bank end
    EXPECT_EQ(H.Writes[6].Line, 1);
    EXPECT_TRUE(H.Touched[1][0] && !H.Touched[1][1] && H.Touched[3][1] && !H.Touched[3][2]);

    tLineRegisters L;
    L.From(*S);
    for (const tHDMAWrite& W : H.Writes)
        if (W.Line == 0)
            L.Write(W.Reg, W.Value);
    EXPECT_EQ(L.HScroll[0], 0x110);
    EXPECT_EQ(L.VScroll[0], 0x320);
    EXPECT_EQ(L.M7HOffset, 0x110);
    EXPECT_EQ(L.FixedColour, (std::array<uint8_t, 4>{248, 0, 248, 0})); // $3F red, $9F blue
    // The horizontal scroll keeps bits 0-2 of its own old value's high byte.
    L.HScroll[1] = 0x300;
    L.Write(0x0F, 0xFF);
    L.Write(0x0F, 0x01);
    EXPECT_EQ(L.HScroll[1], 0x1FB);
    // Mode 7 registers are written low byte first; the centre is 13-bit signed.
    L.Write(0x1B, 0x80);
    L.Write(0x1B, 0xFF);
    L.Write(0x20, 0x00);
    L.Write(0x20, 0x1F);
    EXPECT_EQ(L.M7.A, -128);
    EXPECT_EQ(L.M7.Y, -256);
    // CGRAM through $2121/$2122: the low byte waits for the high.
    L.Write(0x21, 0x05);
    EXPECT_EQ(L.Write(0x22, 0x1F), 0);
    EXPECT_EQ(L.Write(0x22, 0xFC), tLineRegisters::ChangedPalette);
    EXPECT_EQ(L.CGRAM[5], 0x7C1F);
}

TEST_F(HDMAReplayTest, EveryLineIsComposedWithItsOwnRegisters)
{
    // Backdrop only; fixed colour addition through COLDATA from HDMA, and
    // brightness 7 from line 4 on.
    Reg(0x2131, 0x20);
    HDMAChannel(*S, 0, true, 0, 0x32, 0x7E, 0x1000);
    Table(0x1000, {0x03, 0x3F, 0x02, 0x5F, 0x00});
    HDMAChannel(*S, 2, true, 0, 0x00, 0x7E, 0x1100);
    Table(0x1100, {0x04, 0x0F, 0x01, 0x07, 0x00});
    Compose();
    // The first table entry holds from the first picture row.
    EXPECT_EQ(Pixel(10, 0), RGB(248, 0, 0));
    EXPECT_EQ(Pixel(10, 3), RGB(248, 248, 0));
    EXPECT_EQ(Pixel(10, 200), RGB(124, 124, 0));
    EXPECT_EQ(P->Brightness, 15); // the viewers keep the saved registers
    O.CBox_SceneHDMA = false;
    Compose();
    EXPECT_EQ(Pixel(10, 4), RGB(0, 0, 0));
}

TEST_F(HDMAReplayTest, Mode7PlaneAndDirectColourOnTheScreen)
{
    Reg(0x2105, 0x07);
    Reg(0x212C, 0x01);
    // Identity matrix; the plane's tile 1 at map (2, 1), tile pixels $49.
    S->M7.A = S->M7.D = 0x100;
    S->VRAM[1 * 256 + 2 * 2] = 1;
    for (int k = 0; k < 64; ++k)
        S->VRAM[128 + 2 * k + 1] = 0x49;
    Colour(0x49, 1, 2, 3);
    HideSprites();
    // Plane pixel (16..23, 8..15) shows at row y - 1 of the picture.
    Compose();
    EXPECT_EQ(Pixel(16, 7), RGB(8, 16, 24));
    EXPECT_EQ(Pixel(16, 6), 0u);
    // Scrolled by (8, 4), in direct colour: $49 is red 1, green 1, blue 1.
    S->M7HOffset = 8;
    S->M7VOffset = 4;
    Reg(0x2130, 0x01);
    Compose();
    EXPECT_EQ(Pixel(8, 3), RGB(1 << 5, 1 << 5, 1 << 6));
    // Flipped horizontally, the tile moves to the other side.
    Reg(0x211A, 0x01);
    Compose();
    EXPECT_EQ(Pixel(255 - 8 - 7, 3), RGB(1 << 5, 1 << 5, 1 << 6));
    O.CBox_SceneMode7 = false;
    Compose();
    EXPECT_EQ(Pixel(8, 3), 0u);
}

} // namespace
