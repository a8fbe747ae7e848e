// Real emulator states converted to the own format and read back.

#include "TestSupport.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include "core/Options.h"
#include "core/SNES.h"
#include "render/PPU.h"
#include "savestates/SSL.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> FixtureStates()
{
    std::vector<std::string> Files;
    for (const char* Sub : {"zsnes", "snes9x"}) {
        const std::string Dir = FixturePath(Sub);
        std::error_code Ec;
        if (Dir.empty() || !fs::is_directory(Dir, Ec))
            continue;
        for (const auto& E : fs::directory_iterator(Dir)) {
            const std::string Ext = E.path().extension().string();
            if (Ext == ".zst" || Ext == ".000")
                Files.push_back(E.path().string());
        }
    }
    std::sort(Files.begin(), Files.end());
    return Files;
}

// The registers the own format stores, at their bus addresses.
bool StoredRegister(uint32_t A)
{
    return (A >= 0x2100 && A <= 0x2103) || (A >= 0x2105 && A <= 0x210C) || (A >= 0x2115 && A <= 0x2117) ||
           A == 0x211A || A == 0x2121 || (A >= 0x2123 && A <= 0x2131) || (A >= 0x2133 && A <= 0x2136) ||
           (A >= 0x213E && A <= 0x2143) || (A >= 0x2181 && A <= 0x2183) || (A >= 0x4200 && A <= 0x4209) ||
           (A >= 0x420B && A <= 0x420D) || (A >= 0x4210 && A <= 0x421F) || (A >= 0x4300 && A <= 0x437F);
}

class SSLConversionTest : public tModelTest {};

TEST_F(SSLConversionTest, EveryFixtureKeepsMemoriesAndRegistersThroughTheOwnFormat)
{
    REQUIRE_FIXTURES();
    const auto States = FixtureStates();
    ASSERT_FALSE(States.empty());
    const std::string Dir = TempDir();
    for (const std::string& Name : States) {
        SCOPED_TRACE(Name);
        Options().CBox_OpenCart = false;
        ASSERT_TRUE(LoadSavestate(Name));
        ASSERT_NE(StateFormat, FormatSSL);
        const auto Original = std::make_unique<tSNES>(*SNES);
        std::array<int32_t, 4> HScroll{}, VScroll{};
        for (int n = 0; n < 4; ++n) {
            HScroll[n] = PPU->Layers[n].HScroll & 0xFFFF;
            VScroll[n] = PPU->Layers[n].VScroll & 0xFFFF;
        }
        const auto Fixed = PPU->FixedColour;
        const int16_t M7A = PPU->M7A, M7D = PPU->M7D;

        const std::string Own = Dir + "/" + fs::path(Name).stem().string() + ".s01";
        std::string Error;
        ASSERT_TRUE(SSL->SaveToFile(Own, Error)) << Error;
        ASSERT_TRUE(LoadSavestate(Own));
        ASSERT_EQ(StateFormat, FormatSSL);

        const tSNES& O = *Original;
        EXPECT_TRUE(SNES->WRAM == O.WRAM);
        EXPECT_TRUE(SNES->VRAM == O.VRAM);
        EXPECT_TRUE(SNES->CGRAM == O.CGRAM);
        EXPECT_TRUE(SNES->OAM == O.OAM);
        EXPECT_TRUE(SNES->APU_RAM == O.APU_RAM);
        EXPECT_TRUE(std::equal(O.DSP.begin(), O.DSP.begin() + 128, SNES->DSP.begin()));
        for (uint32_t A = 0x2100; A < 0x4380; ++A) {
            if (StoredRegister(A)) {
                ASSERT_EQ(*SNES->Reg8(static_cast<uint16_t>(A)), *O.Reg8(static_cast<uint16_t>(A)))
                    << "register $" << std::hex << A;
            }
        }
        EXPECT_EQ(SNES->CPU_A, O.CPU_A);
        EXPECT_EQ(SNES->CPU_X, O.CPU_X);
        EXPECT_EQ(SNES->CPU_Y, O.CPU_Y);
        EXPECT_EQ(SNES->CPU_D, O.CPU_D);
        EXPECT_EQ(SNES->CPU_S, O.CPU_S);
        EXPECT_EQ(SNES->CPU_PC, O.CPU_PC);
        EXPECT_EQ(SNES->CPU_DB, O.CPU_DB);
        EXPECT_EQ(SNES->CPU_P, O.CPU_P);
        EXPECT_EQ(SNES->SPC_PC, O.SPC_PC);
        EXPECT_EQ(SNES->SPC_YA, O.SPC_YA);
        EXPECT_EQ(SNES->SPC_X, O.SPC_X);
        EXPECT_EQ(SNES->SPC_SP, O.SPC_SP);
        EXPECT_EQ(SNES->SPC_PSW, O.SPC_PSW);
        for (int n = 0; n < 4; ++n) {
            EXPECT_EQ(PPU->Layers[n].HScroll, HScroll[n]) << "BG" << n + 1;
            EXPECT_EQ(PPU->Layers[n].VScroll, VScroll[n]) << "BG" << n + 1;
        }
        EXPECT_EQ(PPU->FixedColour, Fixed);
        EXPECT_EQ(PPU->M7A, M7A);
        EXPECT_EQ(PPU->M7D, M7D);
    }
}

} // namespace
