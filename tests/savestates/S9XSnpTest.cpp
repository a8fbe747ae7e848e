#include "savestates/StateFixtures.h"

#include "core/Gzip.h"
#include "savestates/S9XSnp.h"

namespace fs = std::filesystem;

namespace
{
// The payload of a block of an inflated stream, found by walking the headers.
std::span<const uint8_t> Block(const Bytes& C, const std::string& Name)
{
    for (size_t P = S9XSnp::HeaderSize; P + 11 <= C.size();) {
        const size_t Len = std::stoul(std::string(C.begin() + long(P) + 4, C.begin() + long(P) + 10));
        if (std::string(C.begin() + long(P), C.begin() + long(P) + 3) == Name)
            return std::span<const uint8_t>(C).subspan(P + 11, Len);
        P += 11 + Len;
    }
    return {};
}
} // namespace

class S9XSnpTest : public tStateTest
{
};

TEST_F(S9XSnpTest, ModernFilesLoadWithTheFieldsOfTheirBlocks)
{
    const std::string Dir143 = FixturePath("snes9x"), Modern = FixturePath("snes9x-modern");
    if (Modern.empty() || !fs::is_directory(Modern))
        GTEST_SKIP() << "no modern Snes9x fixtures";
    for (const auto& E : fs::directory_iterator(Modern)) {
        if (E.path().extension() != ".000")
            continue;
        const std::string F = E.path().string();
        Bytes C = ReadBytes(F);
        std::string Why;
        ASSERT_TRUE(GunzipStream(C, Why)) << Why;
        ASSERT_TRUE(LoadSavestate(F)) << F;
        // The picture kept on loading is the file's.
        tPicture32 Kept, FromFile;
        EXPECT_TRUE(S9X->ShotPicture(Kept) && tS9X::LoadPreview(F, FromFile) && Kept.Pixels == FromFile.Pixels) << F;
        const auto Reg = Block(C, "REG"), Snd = Block(C, "SND");
        EXPECT_TRUE(std::ranges::equal(Block(C, "RAM"), SNES->WRAM)) << F;
        EXPECT_EQ(SNES->CPU_PC & 0xFFFF, unsigned(Reg[14] << 8 | Reg[15])) << F;
        EXPECT_EQ(SNES->SPC_PC, Snd[65548] | Snd[65549] << 8) << F;
        EXPECT_TRUE(std::equal(SNES->DSP.begin(), SNES->DSP.begin() + 128, Snd.begin() + 65700)) << F;
        // The registers Snes9x's PPU fields misreport come from the mirror.
        for (unsigned A : {0x2105u, 0x212Cu, 0x2131u, 0x420Cu})
            EXPECT_EQ(SNES->Regs[A], Block(C, "FIL")[A]) << F;
        // The same scene saved by Snes9x 1.43: the same VRAM, sprites and
        // colours (unless HDMA or the hi-colour scene rewrite them per line).
        const std::string Twin = Dir143.empty() ? "" : Dir143 + "/" + E.path().filename().string();
        if (Twin.empty() || !fs::exists(Twin) || SNES->Regs[0x420C] || (SNES->Regs[0x2133] & 8))
            continue;
        const auto Memories = std::tuple(SNES->VRAM, SNES->CGRAM, SNES->OAM);
        ASSERT_TRUE(LoadSavestate(Twin));
        EXPECT_TRUE(Memories == std::tuple(SNES->VRAM, SNES->CGRAM, SNES->OAM)) << F;
    }
}

// Cut streams, lengths past the end, unknown versions and rzip claiming
// gigabytes or cut short are refused with the block named, and the loaded
// state stays as it was.
TEST_F(S9XSnpTest, DamagedStreamsAreRefusedAndChangeNothing)
{
    const std::string Good = FixturePath("snes9x-modern/m0_helloworld.000");
    if (Good.empty() || !fs::exists(Good))
        GTEST_SKIP() << "m0_helloworld fixture absent";
    Bytes C = ReadBytes(Good), Rzip = ReadBytes(FixturePath("snes9x-modern/retroarch/m1_hdma_gradient_rzip.state"));
    std::string Why;
    ASSERT_TRUE(GunzipStream(C, Why));
    ASSERT_TRUE(LoadSavestate(Good));
    const auto Before = *SNES;
    auto At = [&C](const char* Header) {
        return size_t(std::search(C.begin(), C.end(), Header, Header + 11) - C.begin());
    };
    auto Patched = [&C](size_t Pos, std::string_view Text, size_t Keep = 0) {
        Bytes D(C.begin(), Keep ? C.begin() + long(Keep) : C.end());
        std::copy(Text.begin(), Text.end(), D.begin() + long(Pos));
        return D;
    };
    const std::pair<Bytes, const char*> Cases[] = {
        {Patched(0, "#!s9xsnp:0012", At("VRA:065536:") + 5000), "\"VRA\" is cut short"},
        {Patched(At("SND:066560:"), "SND:999999:"), "\"SND\" is cut short"},
        {Patched(At("FIL:032768:"), "FIL:------:"), "\"FIL\" is cut short"},
        {Patched(At("PPU:002652:"), "PPU:000100:"), "\"PPU\" is too short"},
        {Patched(At("CPU:000048:"), "CPU:00x048:"), "\"CPU\" has a damaged length"},
        {Patched(At("CPU:000048:"), "XYZ"), "block \"CPU\" is missing"},
        {Patched(0, "#!s9xsnp:0015"), "version 15"},
        {Bytes(Rzip.begin(), Rzip.begin() + 5000), "rzip chunk 0 is cut short"},
        {(Rzip[1000] ^= 0x55, Rzip), "rzip chunk 0 is damaged"},
        {(Rzip[19] = 0x40, Rzip), "the rzip header claims"},
    };
    for (const auto& [Data, Expect] : Cases) {
        const std::string F = Dir + "/bad.000";
        WriteBytes(F, Data);
        tError Error;
        EXPECT_FALSE(LoadSavestate(F, &Error)) << Expect;
        EXPECT_NE(Error.Reason.find(Expect), std::string::npos) << Error.Reason;
        EXPECT_TRUE(*SNES == Before) << Expect;
        EXPECT_EQ(StateFileName, Good);
    }
    // A file cut in its picture, the last block, still gives the state.
    Bytes Packed = ReadBytes(Good);
    Packed.resize(Packed.size() - 8);
    WriteBytes(Dir + "/cut.000", Packed);
    ASSERT_TRUE(LoadSavestate(Dir + "/cut.000"));
    EXPECT_TRUE(*SNES == Before);
}

// RetroArch's four forms hold the stream of the standalone file of the same
// scene.
TEST_F(S9XSnpTest, RetroArchFilesLoadInEachForm)
{
    const std::string RA = FixturePath("snes9x-modern/retroarch");
    if (RA.empty() || !fs::is_directory(RA))
        GTEST_SKIP() << "no RetroArch fixtures";
    for (const auto& [File, Scene] : {std::pair{"m0_helloworld_raw", "m0_helloworld"},
                                      {"m1_hdma_gradient", "m1_hdma_gradient"},
                                      {"m1_hdma_gradient_rzip", "m1_hdma_gradient"},
                                      {"m7_perspective_hdma_v14", "m7_perspective_hdma"}}) {
        ASSERT_TRUE(LoadSavestate(RA + "/" + File + ".state")) << File;
        const tSNES Loaded = *SNES;
        ASSERT_TRUE(LoadSavestate(RA + "/../" + Scene + ".000")) << Scene;
        EXPECT_TRUE(Loaded == *SNES) << File;
    }
}

// Versions 8-10 lack two PPU fields and version 11 and older a copy of the
// DSP registers: the same state in that layout loads the same.
TEST_F(S9XSnpTest, OlderLayoutsLoadTheSameState)
{
    const std::string Good = FixturePath("snes9x-modern/m7_perspective_hdma.000");
    if (Good.empty() || !fs::exists(Good))
        GTEST_SKIP() << "m7_perspective_hdma fixture absent";
    Bytes C = ReadBytes(Good), Old = {'#', '!', 's', '9', 'x', 's', 'n', 'p', ':', '0', '0', '1', '0', '\n'};
    std::string Why;
    ASSERT_TRUE(GunzipStream(C, Why));
    for (const char* Name : {"NAM", "CPU", "REG", "PPU", "DMA", "VRA", "RAM", "SRA", "FIL", "SND", "CTL", "TIM"}) {
        const auto B = Block(C, Name);
        Bytes D(B.begin(), B.end());
        if (D.size() == 2652) { // CGSavedByte, VRAMReadBuffer
            D.erase(D.begin() + 63);
            D.resize(2649);
        }
        if (D.size() == 66560) // the registers at $F2/$F3, moved to the zero tail
            std::rotate(D.begin() + 66213, D.begin() + 66341, D.end());
        char H[32];
        std::snprintf(H, sizeof H, "%s:%06zu:", Name, D.size());
        Old.insert(Old.end(), H, H + 11);
        Old.insert(Old.end(), D.begin(), D.end());
    }
    WriteBytes(Dir + "/old.000", Old);
    ASSERT_TRUE(LoadSavestate(Good));
    const tSNES New = *SNES;
    ASSERT_TRUE(LoadSavestate(Dir + "/old.000"));
    EXPECT_TRUE(New == *SNES);
}
