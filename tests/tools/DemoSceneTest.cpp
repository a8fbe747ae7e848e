// The bundled demo savestates: what the scene holds, that both files hold
// the same state, and that they and their cartridge are what the generator
// writes today.

#include "TestSupport.h"

#include <algorithm>
#include <memory>
#include <set>
#include <sys/wait.h>

#include "app/Loader.h"
#include "cart/CartHeader.h"
#include "core/Gzip.h"
#include "core/SNES.h"
#include "render/PPU.h"

namespace
{
const std::string Demo = std::string(ORLIK_SOURCE_DIR) + "/resources/demo/demo";

std::vector<uint8_t> Inflated(const std::string& Name)
{
    std::vector<uint8_t> Data = ReadBytes(Name);
    std::string Error;
    EXPECT_TRUE(GunzipStream(Data, Error)) << Error;
    return Data;
}
} // namespace

class DemoSceneTest : public tModelTest
{
};

TEST_F(DemoSceneTest, TheSceneHoldsWhatTheDemoIsFor)
{
    ASSERT_TRUE(LoadSavestate(Demo + ".zst"));
    const auto& R = SNES->Regs;
    EXPECT_EQ(R[0x2105], 0x09);        // mode 1, BG3 in front
    EXPECT_EQ(R[0x212C] & 0x17, 0x17); // BG1-BG3 and sprites on the main screen
    EXPECT_EQ(R[0x2123], 0x20);        // one window, on BG2
    EXPECT_LT(R[0x2126], R[0x2127]);
    EXPECT_EQ(R[0x212E], 0x02);
    EXPECT_NE(R[0x2131] & 0x0F, 0);    // colour math on a layer
    EXPECT_NE(PPU->FixedColour[0], 0); // with a blue fixed colour
    // Sprites of both sizes and more than one priority on the screen.
    std::set<int> Sizes, Priorities;
    for (int s = 0; s < 128; ++s)
        if (SNES->OAM[4 * s + 1] < 224) {
            Sizes.insert((SNES->OAM[512 + s / 4] >> (2 * (s % 4) + 1)) & 1);
            Priorities.insert((SNES->OAM[4 * s + 3] >> 4) & 3);
        }
    EXPECT_EQ(Sizes.size(), 2u);
    EXPECT_GE(Priorities.size(), 3u);
    // Text tiles on BG3's map, graphic tiles on BG1's.
    const unsigned BG3Map = (R[0x2109] >> 2) << 11, BG1Map = (R[0x2107] >> 2) << 11;
    EXPECT_NE(SNES->VRAM[BG3Map + 2 * (32 * 2 + 2)], 0);
    EXPECT_NE(SNES->VRAM[BG1Map], 0);
}

TEST_F(DemoSceneTest, BothFormsHoldTheSameState)
{
    ASSERT_TRUE(LoadSavestate(Demo + ".zst"));
    const auto FromZST = std::make_unique<tSNES>(*SNES);
    ASSERT_TRUE(LoadSavestate(Demo + ".000"));
    EXPECT_EQ(SNES->VRAM, FromZST->VRAM);
    EXPECT_EQ(SNES->WRAM, FromZST->WRAM);
    EXPECT_EQ(SNES->CGRAM, FromZST->CGRAM);
    EXPECT_EQ(SNES->OAM, FromZST->OAM);
    EXPECT_EQ(SNES->APU_RAM, FromZST->APU_RAM);
    EXPECT_EQ(SNES->CPU_PC, FromZST->CPU_PC);
    for (uint16_t A : std::initializer_list<uint16_t>{0x2100, 0x2101, 0x2105, 0x2107, 0x2108, 0x2109, 0x210B, 0x210C,
                                                      0x2123, 0x2126, 0x2127, 0x212C, 0x212E, 0x2130, 0x2131, 0x4200})
        EXPECT_EQ(SNES->Regs[A], FromZST->Regs[A]) << std::hex << A;
}

TEST_F(DemoSceneTest, TheCommittedFilesAreWhatTheGeneratorWrites)
{
    const std::string Dir = TempDir();
    const int Status = std::system((std::string(ORLIK_MAKE_DEMO) + " " + Dir + " 2>/dev/null").c_str());
    ASSERT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0);
    EXPECT_EQ(ReadBytes(Dir + "/demo.zst"), ReadBytes(Demo + ".zst"));
    // Compare the Snes9x form inflated: another zlib may pack it differently.
    EXPECT_EQ(Inflated(Dir + "/demo.000"), Inflated(Demo + ".000"));
    // The cartridge beside them, with a header that names it and sums right.
    const std::vector<uint8_t> ROM = ReadBytes(Demo + ".sfc");
    EXPECT_EQ(ReadBytes(Dir + "/demo.sfc"), ROM);
    const tCartHeader H = ReadCartHeader(ROM, FindMapMode(ROM));
    EXPECT_EQ(H.ROMName, "ORLIK DEMO" + std::string(11, ' '));
    EXPECT_TRUE(H.ChecksumMatches());
    EXPECT_EQ(H.Checksum, ComputeChecksum(ROM));
    EXPECT_EQ(size_t(1024) << H.ROMSizeByte, ROM.size());
}
