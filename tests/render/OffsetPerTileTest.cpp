#include "TestSupport.h"

#include "core/SNES.h"
#include "render/OffsetPerTile.h"
#include "render/PPU.h"

namespace
{

class OffsetGridTest : public tModelTest
{
  protected:
    void Entry(uint32_t Base, uint32_t Index, uint16_t V)
    {
        const uint32_t At = (Base + 2 * Index) & 0xFFFF;
        SNES->VRAM[At] = static_cast<uint8_t>(V);
        SNES->VRAM[(At + 1) & 0xFFFF] = static_cast<uint8_t>(V >> 8);
    }
    static bool AllEmpty(const tOffsetGrid& G)
    {
        for (const auto& Row : G.Cells)
            for (const auto& C : Row)
                if (!C.empty())
                    return false;
        return true;
    }
};

TEST_F(OffsetGridTest, ModesWithoutOffsetPerTileShowNothing)
{
    PPU->Layers[2].MapBase = 0x1000;
    for (uint32_t i = 0; i < 64 * 32; ++i)
        Entry(0x1000, i, 0xFFFF);
    PPU->Layers[2].VScroll = 32;
    for (uint8_t Mode : std::initializer_list<uint8_t>{0, 1, 3, 5, 7}) {
        PPU->BGMode = Mode;
        for (bool BG2 : {false, true})
            for (bool Y : {false, true}) {
                const tOffsetGrid G = BuildOffsetGrid(*SNES, *PPU, BG2, Y);
                EXPECT_TRUE(AllEmpty(G)) << int(Mode);
                EXPECT_EQ(G.SelectedRow, 0) << int(Mode);
            }
    }
}

TEST_F(OffsetGridTest, Modes2And6SplitEachRowIntoXAndYHalves)
{
    PPU->Layers[2].MapBase = 0x2000;
    Entry(0x2000, 3 * 64 + 5, 0x2000 | 0x0123 | 0x0007); // row 3, column 5, X, BG1
    Entry(0x2000, 3 * 64 + 32 + 5, 0x4000 | 0x0042);     // same cell, Y, BG2 only
    PPU->Layers[2].VScroll = 40;
    for (uint8_t Mode : std::initializer_list<uint8_t>{2, 6}) {
        PPU->BGMode = Mode;
        tOffsetGrid X1 = BuildOffsetGrid(*SNES, *PPU, false, false);
        EXPECT_EQ(X1.Cells[3][5], "0288"); // $123 with the low three bits masked: 288
        EXPECT_EQ(X1.SelectedRow, 3);      // 40 div 16 = 2, shown as grid row 3
        EXPECT_EQ(BuildOffsetGrid(*SNES, *PPU, true, false).Cells[3][5], "");
        EXPECT_EQ(BuildOffsetGrid(*SNES, *PPU, true, true).Cells[3][5], "0066");
        EXPECT_EQ(BuildOffsetGrid(*SNES, *PPU, false, true).Cells[3][5], "");
    }
}

TEST_F(OffsetGridTest, Mode4UsesBit15ToChooseTheTab)
{
    PPU->BGMode = 4;
    PPU->Layers[2].MapBase = 0x0000;
    Entry(0, 0 * 64 + 0, 0x2000 | 0x0009);          // horizontal
    Entry(0, 1 * 64 + 1, 0x8000 | 0x2000 | 0x0009); // vertical
    PPU->Layers[2].VScroll = 40;
    tOffsetGrid X = BuildOffsetGrid(*SNES, *PPU, false, false);
    EXPECT_EQ(X.Cells[0][0], "0008");
    EXPECT_EQ(X.Cells[1][1], "");
    EXPECT_EQ(X.SelectedRow, 3); // the row the fetch reads: 40 div 16 = 2
    tOffsetGrid Y = BuildOffsetGrid(*SNES, *PPU, false, true);
    EXPECT_EQ(Y.Cells[0][0], "");
    EXPECT_EQ(Y.Cells[1][1], "0009");
}

TEST_F(OffsetGridTest, TableHighInVRAMWrapsAndFarScrollSelectsNoRow)
{
    PPU->BGMode = 2;
    PPU->Layers[2].MapBase = 0xF800;
    Entry(0xF800, 31 * 64 + 31 + 32, 0x6000 | 0x03FF); // past $FFFF: wraps to the start
    PPU->Layers[2].VScroll = 0x3F0;
    tOffsetGrid G = BuildOffsetGrid(*SNES, *PPU, true, true);
    EXPECT_EQ(G.Cells[31][31], "1023");
    EXPECT_EQ(G.SelectedRow, 0);
}

} // namespace
