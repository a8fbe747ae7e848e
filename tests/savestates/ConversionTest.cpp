#include "app/Loader.h"
#include "savestates/StateFixtures.h"

#include <memory>

#include "core/Options.h"
#include "core/SNES.h"
#include "render/PPU.h"
#include "savestates/S9X.h"
#include "savestates/SSL.h"
#include "savestates/ZST.h"

namespace fs = std::filesystem;

namespace
{

// What both formats carry of a machine state.
struct tCarried {
    std::unique_ptr<tSNES> Machine;
    const tSNES& S() const { return *Machine; }
    std::array<int32_t, 4> HScroll{}, VScroll{};
    std::array<uint8_t, 4> FixedColour{};
    int16_t M7A = 0, M7B = 0, M7C = 0, M7D = 0;
    int32_t M7X = 0, M7Y = 0;
    uint8_t FirstSprite = 0;

    static tCarried Take()
    {
        tCarried C;
        C.Machine = std::make_unique<tSNES>(*SNES);
        for (int n = 0; n < 4; ++n) {
            C.HScroll[n] = SNES->BGHScroll[n] & 0xFFFF;
            C.VScroll[n] = SNES->BGVScroll[n] & 0xFFFF;
        }
        C.FixedColour = SNES->FixedColour;
        C.M7A = SNES->M7A, C.M7B = SNES->M7B, C.M7C = SNES->M7C, C.M7D = SNES->M7D;
        C.M7X = SNES->M7X, C.M7Y = SNES->M7Y;
        C.FirstSprite = SNES->FirstSprite;
        return C;
    }
};

// Registers the ZSNES image holds (with the bits it keeps) and Snes9x holds whole.
constexpr std::pair<uint16_t, uint8_t> MappedRegisters[] = {
    {0x2100, 0x8F}, {0x2101, 0xFF}, {0x2102, 0xFF}, {0x2103, 0x81}, {0x2105, 0xFF}, {0x2106, 0xFF}, {0x2107, 0x7F},
    {0x2108, 0x7F}, {0x2109, 0x7F}, {0x210A, 0x7F}, {0x210B, 0x77}, {0x210C, 0x77}, {0x2115, 0xFF}, {0x2116, 0xFF},
    {0x2117, 0x7F}, {0x211A, 0xFF}, {0x2121, 0xFF}, {0x2123, 0xFF}, {0x2124, 0xFF}, {0x2125, 0xFF}, {0x2126, 0xFF},
    {0x2127, 0xFF}, {0x2128, 0xFF}, {0x2129, 0xFF}, {0x212A, 0xFF}, {0x212B, 0xFF}, {0x212C, 0xFF}, {0x212D, 0xFF},
    {0x212E, 0xFF}, {0x212F, 0xFF}, {0x2130, 0xFF}, {0x2131, 0xFF}, {0x2133, 0x45}, {0x2134, 0xFF}, {0x2135, 0xFF},
    {0x2136, 0xFF}, {0x2140, 0xFF}, {0x2141, 0xFF}, {0x2142, 0xFF}, {0x2143, 0xFF}, {0x2181, 0xFF}, {0x2182, 0xFF},
    {0x2183, 0x01}, {0x4200, 0xFF}, {0x4201, 0xFF}, {0x4202, 0xFF}, {0x4204, 0xFF}, {0x4205, 0xFF}, {0x4207, 0xFF},
    {0x4208, 0x01}, {0x4209, 0xFF}, {0x420A, 0x01}, {0x420C, 0xFF}, {0x420D, 0x01}, {0x4211, 0xFF}, {0x4214, 0xFF},
    {0x4215, 0xFF}, {0x4216, 0xFF}, {0x4217, 0xFF}};

// Through the own format (Own) every stored register returns whole; through
// ZSNES and Snes9x, the bits the ZSNES image keeps.
void ExpectKept(const tCarried& A, const tCarried& B, bool Own = false)
{
    if (Own) {
        for (uint32_t R = 0x2100; R < 0x4380; ++R) {
            if (SSLStored(R)) {
                ASSERT_EQ(A.S().Regs[R], B.S().Regs[R]) << "register $" << std::hex << R;
            }
        }
    }
    EXPECT_EQ(A.S().WRAM, B.S().WRAM);
    EXPECT_EQ(A.S().VRAM, B.S().VRAM);
    EXPECT_EQ(A.S().CGRAM, B.S().CGRAM);
    EXPECT_EQ(A.S().OAM, B.S().OAM);
    EXPECT_EQ(A.S().APU_RAM, B.S().APU_RAM);
    EXPECT_TRUE(std::equal(A.S().DSP.begin(), A.S().DSP.begin() + 128, B.S().DSP.begin()));
    // Sprite size codes 6 and 7 have no place in a ZSNES image (it stores
    // the size pair, and their pairs are code 0's).
    const bool OddSize = (A.S().Regs[0x2101] >> 5) >= 6;
    for (auto [Address, Mask] : MappedRegisters) {
        if (!Own && !(Address == 0x2101 && OddSize)) {
            EXPECT_EQ(A.S().Regs[Address] & Mask, B.S().Regs[Address] & Mask) << std::hex << Address;
        }
    }
    EXPECT_EQ(A.S().Regs[0x2101] & 0x1F, B.S().Regs[0x2101] & 0x1F);
    EXPECT_TRUE(std::equal(&A.S().Regs[0x4300], &A.S().Regs[0x4380], &B.S().Regs[0x4300]));
    EXPECT_EQ(A.S().CPU_A, B.S().CPU_A);
    EXPECT_EQ(A.S().CPU_X, B.S().CPU_X);
    EXPECT_EQ(A.S().CPU_Y, B.S().CPU_Y);
    EXPECT_EQ(A.S().CPU_S, B.S().CPU_S);
    EXPECT_EQ(A.S().CPU_D, B.S().CPU_D);
    EXPECT_EQ(A.S().CPU_DB, B.S().CPU_DB);
    EXPECT_EQ(A.S().CPU_PC, B.S().CPU_PC);
    EXPECT_EQ(A.S().CPU_P, B.S().CPU_P);
    EXPECT_EQ(A.S().SPC_PC, B.S().SPC_PC);
    EXPECT_EQ(A.S().SPC_PSW, B.S().SPC_PSW);
    EXPECT_EQ(A.S().SPC_SP, B.S().SPC_SP);
    EXPECT_EQ(A.S().SPC_X, B.S().SPC_X);
    EXPECT_EQ(A.S().SPC_YA, B.S().SPC_YA);
    EXPECT_EQ(A.HScroll, B.HScroll);
    EXPECT_EQ(A.VScroll, B.VScroll);
    EXPECT_EQ(A.FixedColour, B.FixedColour);
    EXPECT_EQ(A.M7A, B.M7A);
    EXPECT_EQ(A.M7D, B.M7D);
    if (Own)
        return;
    EXPECT_EQ(A.S().APU_ExtraRAM, B.S().APU_ExtraRAM);
    EXPECT_EQ(A.S().CPU_VCounter, B.S().CPU_VCounter);
    EXPECT_EQ(A.M7B, B.M7B);
    EXPECT_EQ(A.M7C, B.M7C);
    EXPECT_EQ(A.M7X, B.M7X);
    EXPECT_EQ(A.M7Y, B.M7Y);
    EXPECT_EQ(A.FirstSprite, B.FirstSprite);
}

} // namespace

class ConversionTest : public tModelTest
{
};

TEST_F(ConversionTest, ZSNESToSnes9xAndBackKeepsTheState)
{
    REQUIRE_FIXTURES();
    const std::string Dir = TempDir();
    for (const std::string& Name : FixtureFiles("zsnes", ".zst")) {
        SCOPED_TRACE(Name);
        ASSERT_TRUE(LoadSavestate(Name));
        const tCarried First = tCarried::Take();
        ASSERT_TRUE(S9X->SaveToFile(Dir + "/conv.000"));
        ASSERT_TRUE(LoadSavestate(Dir + "/conv.000"));
        ExpectKept(First, tCarried::Take());
        ASSERT_TRUE(ZST->SaveToFile(Dir + "/back.zst"));
        ASSERT_TRUE(LoadSavestate(Dir + "/back.zst"));
        ExpectKept(First, tCarried::Take());
        EXPECT_EQ(fs::file_size(Dir + "/back.zst"), ZSTLayout::ImageSize);
    }
}

TEST_F(ConversionTest, Snes9xToZSNESAndBackKeepsTheState)
{
    REQUIRE_FIXTURES();
    const std::string Dir = TempDir();
    for (const std::string& Name : FixtureFiles("snes9x", ".000")) {
        SCOPED_TRACE(Name);
        ASSERT_TRUE(LoadSavestate(Name));
        const tCarried First = tCarried::Take();
        ASSERT_TRUE(ZST->SaveToFile(Dir + "/conv.zst"));
        ASSERT_TRUE(LoadSavestate(Dir + "/conv.zst"));
        ExpectKept(First, tCarried::Take());
        ASSERT_TRUE(S9X->SaveToFile(Dir + "/back.000"));
        ASSERT_TRUE(LoadSavestate(Dir + "/back.000"));
        ExpectKept(First, tCarried::Take());
    }
}

// Real emulator states converted to the own format and read back.
TEST_F(ConversionTest, EveryFixtureKeepsTheStateThroughTheOwnFormat)
{
    REQUIRE_FIXTURES();
    Options().CBox_OpenCart = false;
    const std::string Own = TempDir() + "/own.s01";
    for (const char* Sub : {"zsnes", "snes9x"}) {
        for (const std::string& Name : FixtureFiles(Sub, Sub[0] == 'z' ? ".zst" : ".000")) {
            SCOPED_TRACE(Name);
            ASSERT_TRUE(LoadSavestate(Name));
            const tCarried First = tCarried::Take();
            std::string Error;
            ASSERT_TRUE(SSL->SaveToFile(Own, Error)) << Error;
            ASSERT_TRUE(LoadSavestate(Own));
            ASSERT_EQ(StateFormat, FormatSSL);
            ExpectKept(First, tCarried::Take(), true);
        }
    }
}
