#include "RenderTestSupport.h"
#include "TestSupport.h"

#include <initializer_list>

#include "cart/SNESCart.h"
#include "core/SNES.h"
#include "render/HDMATable.h"

namespace
{

class HDMATest : public tModelTest
{
  protected:
    void Table(uint32_t WRAMOffset, std::initializer_list<uint8_t> Bytes)
    {
        for (uint8_t B : Bytes)
            SNES->WRAM[WRAMOffset++] = B;
    }
    // The listing of channel N with the cartridge loaded, if any.
    tHDMAListing Lines(int N, bool Active = true, bool Inactive = true)
    {
        return HDMALines(*SNES, Cart ? Cart->ROMView() : tROMView{}, N, Active, Inactive);
    }
    static int TransferLines(const tHDMAListing& L)
    {
        int N = 0;
        for (const auto& R : L.Rows)
            N += !R.Line.empty() && !R.Dest.empty();
        return N;
    }
};

TEST_F(HDMATest, CountBytes)
{
    // $00 ends the table at once.
    HDMAChannel(*SNES, 0, true, 0, 0x32, 0x7E, 0x1000);
    Table(0x1000, {0x00, 0x05, 0x11});
    auto L = Lines(0);
    EXPECT_TRUE(L.Message.empty());
    EXPECT_TRUE(L.Rows.empty());

    // $80: one transfer, then 127 lines without one.
    Table(0x1000, {0x80, 0xAB, 0x00});
    L = Lines(0);
    ASSERT_EQ(L.Rows.size(), 128u);
    EXPECT_EQ(L.Rows[0].Source, "7E:1001");
    EXPECT_EQ(L.Rows[0].Dest, "2132h");
    EXPECT_EQ(L.Rows[0].Bin, "10101011");
    EXPECT_EQ(L.Rows[127].Line, "127");
    EXPECT_EQ(TransferLines(L), 1);

    // $81: one line with a transfer, then the next entry.
    Table(0x1000, {0x81, 0x0F, 0x02, 0x05, 0x00});
    L = Lines(0);
    ASSERT_EQ(L.Rows.size(), 3u);
    EXPECT_EQ(L.Rows[1].Line, "1");
    EXPECT_EQ(L.Rows[1].Source, "7E:1003");
    EXPECT_TRUE(L.Rows[2].Hex.empty());
}

TEST_F(HDMATest, RepeatModeTransfersAUnitOnEveryLineToThePatternRegisters)
{
    // Mode 3: four bytes to B, B, B+1, B+1.
    HDMAChannel(*SNES, 3, true, 3, 0x0D, 0x7E, 0x2000);
    Table(0x2000, {0x82, 1, 2, 3, 4, 5, 6, 7, 8, 0});
    const auto L = Lines(3);
    ASSERT_EQ(L.Rows.size(), 8u);
    const char* Dest[] = {"210Dh", "210Dh", "210Eh", "210Eh"};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(L.Rows[i].Dest, Dest[i % 4]) << i;
        EXPECT_EQ(L.Rows[i].Dec, std::to_string(i + 1)) << i;
        EXPECT_EQ(L.Rows[i].Line, i % 4 == 0 ? std::to_string(i / 4) : "") << i;
    }
    // B-bus numbers stay within $21xx.
    HDMAChannel(*SNES, 3, true, 4, 0xFF, 0x7E, 0x2000);
    EXPECT_EQ(Lines(3).Rows[1].Dest, "2100h");
}

TEST_F(HDMATest, WalkStopsAfterLine238)
{
    HDMAChannel(*SNES, 0, true, 0, 0, 0x7E, 0x0000);
    for (int i = 0; i < 4; ++i)
        Table(0x0000 + 2 * i, {0x7F, 0x11});
    const auto L = Lines(0);
    ASSERT_EQ(L.Rows.size(), 239u);
    EXPECT_EQ(L.Rows.back().Line, "238");
    EXPECT_EQ(TransferLines(L), 2);
}

TEST_F(HDMATest, IndirectDataIsReadFromTheIndirectBank)
{
    HDMAChannel(*SNES, 5, true, 1, 0x26, 0x7E, 0x3000, true, 0x7F);
    Table(0x3000, {0x02, 0x34, 0x12, 0x00});
    SNES->WRAM[0x10000 + 0x1234] = 0xA1;
    SNES->WRAM[0x10000 + 0x1235] = 0xA2;
    const auto L = Lines(5);
    ASSERT_EQ(L.Rows.size(), 3u);
    EXPECT_EQ(L.Rows[0].Hex, "A1");
    EXPECT_EQ(L.Rows[1].Source, "7F:1235");
    EXPECT_EQ(L.Rows[1].Dest, "2127h");
    EXPECT_TRUE(L.Rows[2].Source.empty());
}

TEST_F(HDMATest, UnmappedTableOrIndirectBankShowsOnlyTheMessage)
{
    // $00:2100 is not readable ($2000-$3FFF); $C0 is ROM without a cartridge.
    for (auto [Bank, Address] : {std::pair<uint8_t, uint16_t>{0x00, 0x2100}, {0xC0, 0x0000}}) {
        HDMAChannel(*SNES, 0, true, 0, 0, Bank, Address);
        EXPECT_EQ(Lines(0).Message, HDMATableNotMapped) << int(Bank);
        EXPECT_TRUE(Lines(0).Rows.empty()) << int(Bank);
    }

    HDMAChannel(*SNES, 6, true, 0, 0x26, 0x7E, 0x3000, true, 0x40);
    Table(0x3000, {0x81, 0x00, 0x00, 0x01, 0xCD, 0xAB, 0x00});
    // Bank $40 is cartridge ROM and none is loaded: the first entry fails.
    auto L = Lines(6);
    EXPECT_EQ(L.Message, "HDMA bank not accessible - unsupported address range or ROM not loaded. "
                         "(indirect data at 40:0000)");
    EXPECT_TRUE(L.Rows.empty());

    // A later entry failing drops the rows listed before it.
    HDMAChannel(*SNES, 6, true, 0, 0x26, 0x7E, 0x3000, true, 0x00);
    Table(0x3000, {0x81, 0x00, 0x01, 0x81, 0x00, 0x30, 0x00});
    L = Lines(6);
    EXPECT_EQ(L.Message, std::string(HDMAIndirectNotMappedPrefix) + "00:3000)");
    EXPECT_TRUE(L.Rows.empty());
}

TEST_F(HDMATest, ActiveAndInactiveBoxesFilterTheList)
{
    HDMAChannel(*SNES, 0, false, 0, 0, 0x7E, 0x1000);
    Table(0x1000, {0x01, 0x55, 0x00});
    EXPECT_TRUE(Lines(0, true, false).Rows.empty());
    EXPECT_EQ(Lines(0, false, true).Rows.size(), 1u);
    HDMAChannel(*SNES, 0, true, 0, 0, 0x7E, 0x1000);
    EXPECT_TRUE(Lines(0, false, true).Rows.empty());
    EXPECT_EQ(Lines(0, true, false).Rows.size(), 1u);
    // The captions and the channel list show which channels are on.
    HDMAChannel(*SNES, 2, true, 0, 0x31, 0x7E, 0x1000, true, 0x12);
    EXPECT_EQ(HDMATabCaption(*SNES, 2), "CHN &2");
    EXPECT_EQ(HDMATabCaption(*SNES, 3), "chn &3");
    EXPECT_EQ(HDMAChannelInfo(*SNES, 2, false)[0].Value, "yes");
    EXPECT_EQ(HDMAChannelInfo(*SNES, 3, true)[0].Value, "");
}

TEST_F(HDMATest, TableInCartridgeROMStaysInsideAnOddROM)
{
    // 96 KiB HiROM: bank $C1 starts at $10000 with only 32 KiB left, so the
    // table wraps within those 32 KiB instead of running past the image.
    Cart->ROM.assign(0x18000, 0);
    Cart->HiROM = true;
    Cart->ROM[0x10000 + 0x7FFE] = 0x01;
    Cart->ROM[0x10000 + 0x7FFF] = 0x99;
    Cart->ROM[0x10000] = 0x01;
    Cart->ROM[0x10001] = 0x42;
    HDMAChannel(*SNES, 0, true, 0, 0, 0xC1, 0x7FFE);
    const auto L = Lines(0);
    ASSERT_EQ(L.Rows.size(), 2u);
    EXPECT_EQ(L.Rows[0].Hex, "99");
    EXPECT_EQ(L.Rows[1].Hex, "42");
    EXPECT_EQ(L.Rows[1].Source, "C1:8001");

    // LoROM bank $80 reads the first 32 KiB.
    Cart->HiROM = false;
    Cart->ROM[0x0123] = 0x01;
    Cart->ROM[0x0124] = 0x77;
    HDMAChannel(*SNES, 0, true, 0, 0, 0x80, 0x8123);
    EXPECT_EQ(Lines(0).Rows[0].Hex, "77");
}

} // namespace
