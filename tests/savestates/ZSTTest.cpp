#include "app/Loader.h"
#include "savestates/StateFixtures.h"

#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <tuple>

#include "core/Broadcast.h"
#include "core/LittleEndian.h"
#include "core/Options.h"
#include "core/SNES.h"
#include "render/PPU.h"
#include "savestates/ZST.h"
#include "savestates/ZSTImage.h"

using namespace ZSTLayout;

namespace
{

uint16_t LE16(const std::vector<uint8_t>& B, size_t O)
{
    return static_cast<uint16_t>(ReadLE<2>(&B[O]));
}

// The registers the ZSNES image carries whole, with distinct values.
constexpr std::pair<uint16_t, uint8_t> Values[] = {
    {0x2100, 0x8C}, {0x2101, 0x63}, {0x2102, 0x45}, {0x2103, 0x81}, {0x2105, 0x59}, {0x2106, 0x3A}, {0x2107, 0x7D},
    {0x2108, 0x42}, {0x2109, 0x0A}, {0x210A, 0x33}, {0x210B, 0x53}, {0x210C, 0x71}, {0x2115, 0x8D}, {0x2116, 0x34},
    {0x2117, 0x52}, {0x211A, 0xC1}, {0x2121, 0x9F}, {0x2123, 0xA5}, {0x2124, 0x3C}, {0x2125, 0x96}, {0x2126, 0x10},
    {0x2127, 0xE0}, {0x2128, 0x20}, {0x2129, 0xF0}, {0x212A, 0x1B}, {0x212B, 0x0E}, {0x212C, 0x17}, {0x212D, 0x02},
    {0x212E, 0x11}, {0x212F, 0x04}, {0x2130, 0x32}, {0x2131, 0xA1}, {0x2133, 0x45}, {0x2134, 0x11}, {0x2135, 0x22},
    {0x2136, 0x33}, {0x213F, 0xC0}, {0x2140, 0xAA}, {0x2141, 0xBB}, {0x2142, 0xCC}, {0x2143, 0xDD}, {0x2181, 0x56},
    {0x2182, 0x34}, {0x2183, 0x01}, {0x4200, 0xB1}, {0x4201, 0xC3}, {0x4202, 0x77}, {0x4204, 0x01}, {0x4205, 0x02},
    {0x4207, 0x45}, {0x4208, 0x01}, {0x4209, 0x67}, {0x420A, 0x01}, {0x420C, 0x0F}, {0x420D, 0x01}, {0x4210, 0x82},
    {0x4211, 0x80}, {0x4214, 0x12}, {0x4215, 0x34}, {0x4216, 0x56}, {0x4217, 0x78}};

// A machine state with a distinct value in every field the ZSNES image
// carries, so that a save and a load show any field that does not return.
void FillMachine(tSNES& S)
{
    auto Ramp = [](auto& A, size_t Step, size_t From, size_t Mask = 0xFF) {
        for (size_t i = 0; i < A.size(); ++i)
            A[i] = static_cast<std::remove_reference_t<decltype(A[i])>>((i * Step + From) & Mask);
    };
    Ramp(S.WRAM, 7, 3);
    Ramp(S.VRAM, 5, 1);
    Ramp(S.APU_RAM, 3, 11);
    Ramp(S.OAM, 1, 9);
    Ramp(S.CGRAM, 131, 0, 0x7FFF);
    Ramp(S.DSP, 255, 255); // 255 - i
    Ramp(S.APU_ExtraRAM, 1, 0x40);
    S.CPU_A = 0x1234;
    S.CPU_X = 0x5678;
    S.CPU_Y = 0x9ABC;
    S.CPU_S = 0x1FF0;
    S.CPU_D = 0x2100;
    S.CPU_DB = 0x7E0000;
    S.CPU_PC = 0x808123;
    S.CPU_P = 0x0135; // emulation mode
    S.CPU_VCounter = 200;
    S.CPU_NMIActive = 1;
    S.CPU_ZTiming = {45, 180, 17};
    S.SPC_PC = 0x0456;
    S.SPC_PSW = 0xA1; // N, direct page $0100, C
    S.SPC_SP = 0xE0;
    S.SPC_X = 0x12;
    S.SPC_Y = 0x34;
    S.SPC_YA = 0x3456;
    S.SPC_DirectPage = 1;
    for (auto [A, V] : Values)
        S.Regs[A] = V;
    for (int i = 0; i < 128; ++i)
        S.Regs[0x4300 + i] = static_cast<uint8_t>(i * 13 + 1);
    for (int n = 0; n < 4; ++n) {
        S.BGHScroll[n] = 0xF1 * (n + 1);
        S.BGVScroll[n] = 0x0F0 + n;
    }
    S.M7.A = -256;
    S.M7.B = 0x0123;
    S.M7.C = -2;
    S.M7.D = 0x7FFF;
    S.M7.X = 0x0080;
    S.M7.Y = -16;
    S.FixedColour = {248, 16, 80, 0};
    S.FirstSprite = 0x22;
    S.LatchPos = {123, 45};
    S.CGRAMLatch = 1;
    S.CPU_WaitingForInterrupt = 1;
    S.M7VOffset = 0x1CF0; // BG1's 0x0F0, with the three bits only mode 7 sees
    S.M7HOffset = 0xF1;
}

} // namespace

class ZSTTest : public tModelTest
{
};

TEST_F(ZSTTest, EveryRealFileLoadsWithItsMemoriesAndRegisters)
{
    REQUIRE_FIXTURES();
    const auto Files = FixtureFiles("zsnes", ".zst");
    ASSERT_GE(Files.size(), 20u);
    for (const std::string& Name : Files) {
        SCOPED_TRACE(Name);
        const std::vector<uint8_t> B = ReadBytes(Name);
        ASSERT_TRUE(LoadSavestate(Name));
        EXPECT_EQ(StateSlot, "0");

        EXPECT_TRUE(std::equal(SNES->WRAM.begin(), SNES->WRAM.end(), B.begin() + WRAM));
        EXPECT_TRUE(std::equal(SNES->VRAM.begin(), SNES->VRAM.end(), B.begin() + VRAM));
        EXPECT_TRUE(std::equal(SNES->OAM.begin(), SNES->OAM.end(), B.begin() + ZSTLayout::OAM));
        for (int c = 0; c < 256; ++c)
            ASSERT_EQ(SNES->CGRAM[c], LE16(B, ZSTLayout::CGRAM + 2 * c));
        const bool Sound = B[SPCOn] != 0;
        EXPECT_EQ(B.size(),
                  (Sound ? ImageSize : ImageSizeNoSound) + ZST->Rest.size() + (ZST->HasPreview ? PreviewSize : 0));
        if (Sound) {
            // The timer registers are those ZSNES runs: all three off but in
            // twinkle, whatever its RAM copy of $F1 says.
            EXPECT_TRUE(std::equal(SNES->APU_RAM.begin(), SNES->APU_RAM.begin() + 0xF1, B.begin() + SPCRAM));
            EXPECT_TRUE(std::equal(SNES->APU_RAM.begin() + 0xFD, SNES->APU_RAM.end(), B.begin() + SPCRAM + 0xFD));
            EXPECT_EQ(SNES->APU_RAM[0xF1] & 7, Name.find("twinkle") != std::string::npos ? 1 : 0);
            EXPECT_TRUE(std::equal(SNES->DSP.begin(), SNES->DSP.end(), B.begin() + DSPMem));
            EXPECT_EQ(SNES->SPC_PC, LE16(B, SPCPC));
            EXPECT_EQ(SNES->SPC_SP, B[SPCS]);
        } else {
            EXPECT_TRUE(std::all_of(SNES->APU_RAM.begin(), SNES->APU_RAM.end(), [](uint8_t V) { return V == 0; }));
        }
        // Registers the image holds one to one.
        EXPECT_EQ(*SNES->Reg8(0x2105), B[BGMode] | B[BG3HighSt] << 3 | B[BGTileSz] << 4);
        EXPECT_EQ(SNES->Reg16(0x212C), LE16(B, ScrnOn));
        EXPECT_EQ(*SNES->Reg8(0x2130), B[ScAddSet]);
        EXPECT_EQ(*SNES->Reg8(0x4200), B[IntEnab]);
        EXPECT_TRUE(std::equal(&SNES->Regs[0x4300], &SNES->Regs[0x4381], B.begin() + DMAData));
        EXPECT_EQ(SNES->CPU_A, LE16(B, ZSTLayout::A));
        EXPECT_EQ(SNES->CPU_PC, static_cast<uint32_t>(B[PB]) << 16 | LE16(B, ZSTLayout::PC));
        EXPECT_EQ(SNES->CPU_VCounter, LE16(B, CurYPos));
        EXPECT_EQ(SNES->M7.X & 0x1FFF, LE16(B, Mode7X0) & 0x1FFF);
        EXPECT_EQ(*SNES->Reg8(0x213E), 1);
    }
}

TEST_F(ZSTTest, RealFilesShowWhatTheEmulatorShowed)
{
    REQUIRE_FIXTURES();
    // zsnes151_hello: mode 0 text on BG1, map at word $7C00, brightness 15.
    ASSERT_TRUE(LoadSavestate(FixturePath("zsnes/zsnes151_hello.zst")));
    EXPECT_EQ(*SNES->Reg8(0x2100), 0x0F);
    EXPECT_EQ(*SNES->Reg8(0x2105), 0x08);
    EXPECT_EQ(*SNES->Reg8(0x2107), 0x7C); // bit 7 is not kept (the hardware ignores it)
    EXPECT_EQ(SNES->CPU_PC, 0x008255u);
    EXPECT_EQ(SNES->CPU_P, 0x27);
    EXPECT_EQ(SNES->Reg16(0x2116), 0x7CAF); // byte address 0xF95E
    EXPECT_EQ(*SNES->Reg8(0x2140), 0xAA);
    EXPECT_EQ(*SNES->Reg8(0x4212), 0x80); // saved at the first V-blank line

    ASSERT_TRUE(LoadSavestate(FixturePath("zsnes/zsnes151_nesdoug05_sprites.zst")));
    EXPECT_EQ(*SNES->Reg8(0x2101), 0x02);
    EXPECT_EQ(*SNES->Reg8(0x420D), 1);
    EXPECT_EQ(SNES->CPU_PC, 0x808240u);
    EXPECT_EQ(SNES->CPU_DB, 0x800000u);

    ASSERT_TRUE(LoadSavestate(FixturePath("zsnes/zsnes151_m7rotzoom.zst")));
    EXPECT_EQ(*SNES->Reg8(0x2105) & 7, 7);
    EXPECT_EQ(SNES->M7.A, 0x7F);
    EXPECT_EQ(SNES->M7.Y, 0x80);

    ASSERT_TRUE(LoadSavestate(FixturePath("zsnes/zsnes151_twinkle.zst")));
    EXPECT_EQ(*SNES->Reg8(0x2100), 0x8F);
    EXPECT_EQ(SNES->SPC_PSW, 0x09); // N and Z from the result byte 0x7C: both clear
    EXPECT_EQ(SNES->SPC_YA & 0xFF, 0x7C);
    EXPECT_EQ(SNES->DSP[0x0C], 0x3F);

    ASSERT_TRUE(LoadSavestate(FixturePath("zsnes/zsnes151_windowhdma.zst")));
    EXPECT_EQ(*SNES->Reg8(0x2123), 0x03);
    EXPECT_EQ(SNES->CGRAM[0], 0x03E0);
}

TEST_F(ZSTTest, SavingALoadedFileReproducesItByteForByte)
{
    REQUIRE_FIXTURES();
    const std::string Out = TempDir() + "/copy.zst";
    for (const std::string& Name : FixtureFiles("zsnes", ".zst")) {
        SCOPED_TRACE(Name);
        ASSERT_TRUE(LoadSavestate(Name));
        ASSERT_TRUE(SaveState(*ZST, Out));
        EXPECT_EQ(ReadBytes(Out), ReadBytes(Name));
    }
}

// zsnes151_twinkle was saved while seven notes were keyed on: a save keeps
// them playing; Snes9x gets them silent at their samples' start.
TEST_F(ZSTTest, NotesInFlightPlayOnInZSNESAndGoSilentInSnes9x)
{
    REQUIRE_FIXTURES();
    const std::string Name = FixturePath("zsnes/zsnes151_twinkle.zst"), Dir = TempDir();
    ASSERT_TRUE(LoadSavestate(Name));
    for (size_t v = 0; v < 8; ++v) {
        EXPECT_EQ(SNES->Voices[v].Phase, v < 7 ? VoiceKeyOn : VoiceSilent);
        EXPECT_EQ(SNES->Voices[v].Level, v < 7 ? 127 : 0);
        EXPECT_EQ(SNES->Voices[v].Block, v < 7 ? 0xB00 : 0);
    }
    ASSERT_TRUE(SaveState(*ZST, Dir + "/again.zst"));
    const auto A = ReadBytes(Name), B = ReadBytes(Dir + "/again.zst");
    EXPECT_TRUE(std::equal(&A[VoiceWork], &A[VoiceWork + VoiceWorkSize], &B[VoiceWork]));
    ASSERT_TRUE(SaveState(*S9X, Dir + "/via.000") && LoadSavestate(Dir + "/via.000"));
    EXPECT_TRUE(std::all_of(SNES->Voices.begin(), SNES->Voices.begin() + 7,
                            [](const tVoice& V) { return V.Phase == VoiceSilent && V.Block == 0xB00; }));
}

// Every variable ZSNES saves, compared between a fixture and its copy
// through Snes9x: only what a Snes9x file has no place for may change.
TEST_F(ZSTTest, ARoundTripThroughSnes9xKeepsEveryFieldSnes9xCanHold)
{
    REQUIRE_FIXTURES();
    std::ifstream Table(FixturesDir() + "/../reference/zst-fields.tsv");
    if (!Table)
        GTEST_SKIP() << "no field table beside the fixtures";
    // The file version (a 1.42 file comes back in 1.51's layout); ZSNES's
    // own timing units, renderer caches and HDMA set-up copies it rebuilds
    // at the next frame; the HDMA channels ZSNES itself zeroes on loading;
    // the line of a state saved while paused (moved into the frame); scroll
    // bits no mode reads; the VRAM read latch, which Snes9x does not keep;
    // the SPC700's last result byte (Snes9x keeps the flags), its timers'
    // tick phase and call parity; the voices' places in ZSNES's own sample
    // buffer and their pitch steps, which it recomputes on loading; the
    // envelope of a voice in flight (playing, phase, level, steps), which
    // Snes9x keeps with rates in units of its own that no file pins down,
    // so that voice is written silent; and an SPC700 saved switched off,
    // which Snes9x always runs.
    const std::vector<std::string> Lost = {"versn",           "curcyc",    "curypos",        "ccud",
                                           "cgmod",           "cycpl",     "cycpbl",         "hdmadata[",
                                           "nexthdma",        "bg1scrolx", "vramread",       "spcNZ",
                                           "timinl",          "timrcall",  "AdsrBlocksLeft", "AdsrNextTimeDepth",
                                           "GainDecBendData", "TimeTemp",  "IncNTemp",       "EnvITemp",
                                           "StatTemp",        "spcon"};
    auto IsLost = [&](const std::string& Name) {
        static const std::regex Voice("Voice[0-7](BufPtr|Freq|Status|State|Time|EnvInc|IncNumber)");
        return std::regex_match(Name, Voice) ||
               std::any_of(Lost.begin(), Lost.end(), [&](const std::string& L) { return Name.rfind(L, 0) == 0; });
    };
    struct tField {
        std::string Name;
        size_t Offset, Width, Count;
    };
    std::vector<tField> Fields;
    for (std::string Line; std::getline(Table, Line);) {
        std::istringstream L(Line);
        tField F;
        std::string Block;
        if (L >> F.Offset >> F.Width >> F.Count >> Block && std::getline(L >> std::ws, F.Name, '\t'))
            Fields.push_back(F);
    }
    ASSERT_GT(Fields.size(), 500u);
    const std::string Dir = TempDir();
    std::map<std::string, int> Changed;
    for (const std::string& Name : FixtureFiles("zsnes", ".zst")) {
        SCOPED_TRACE(Name);
        ASSERT_TRUE(LoadSavestate(Name));
        ASSERT_TRUE(SaveState(*S9X, Dir + "/via.000"));
        ASSERT_TRUE(LoadSavestate(Dir + "/via.000"));
        ASSERT_TRUE(SaveState(*ZST, Dir + "/back.zst"));
        const auto A = ReadBytes(Name), B = ReadBytes(Dir + "/back.zst");
        for (const tField& F : Fields) {
            const size_t End = F.Offset + F.Width * F.Count;
            // The byte after the DMA channels is $00 in 1.42's layout, $FF in 1.51's.
            if (End > A.size() || End > B.size() || IsLost(F.Name) || (F.Name == "dmadata[128]" && A[27] != B[27]))
                continue;
            // ZSNES runs the SPC700 timers on variables of its own: its RAM
            // copies of $F1 and $FA-$FC are not what they run on.
            auto Same = [&](size_t i) {
                const size_t Spc = i - F.Offset;
                return A[i] == B[i] || (F.Name == "SPCRAM" && (Spc == 0xF1 || (Spc >= 0xFA && Spc <= 0xFC)));
            };
            for (size_t i = F.Offset; i < End; ++i)
                if (!Same(i)) {
                    ++Changed[F.Name];
                    break;
                }
        }
    }
    for (const auto& [N, C] : Changed)
        ADD_FAILURE() << N << " changed in " << C << " files";
}

TEST_F(ZSTTest, RebuildingTheImageFromTheMachineChangesOnlyBitsTheHardwareIgnores)
{
    REQUIRE_FIXTURES();
    for (const std::string& Name : FixtureFiles("zsnes", ".zst")) {
        SCOPED_TRACE(Name);
        ASSERT_TRUE(LoadSavestate(Name));
        const auto Before = ZST->StateImage;
        Broadcast(nullptr, Note::NewSNES); // an editor's change of the machine state
        size_t Diffs = 0;
        for (size_t i = 0; i < ImageSize; ++i)
            Diffs += Before[i] != ZST->StateImage[i];
        EXPECT_EQ(Diffs, 0u);
    }
}

TEST_F(ZSTTest, ConvertedImageCarriesTheMachineStateAndWhatZSNESNeeds)
{
    FillMachine(*SNES);
    const auto WantPtr = std::make_unique<tSNES>(*SNES);
    const tSNES& Want = *WantPtr;
    ZST->ClearImage();
    ZST->MachineToImage();
    const auto& I = ZST->StateImage;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(I.data()), 26), "ZSNES Save State File V143");
    EXPECT_EQ(I[Eof], 0x1A);
    EXPECT_EQ(I[VersionByte], 0x8F);
    ASSERT_GE(ZST->Rest.size(), ExtraSize);
    EXPECT_EQ(ZST->Rest[ExtraOBSEL], Want.Regs[0x2101]);
    EXPECT_EQ(I[CGAddr] | I[CGAddr + 1] << 8, Want.Regs[0x2121] * 2 + Want.CGRAMLatch);
    EXPECT_EQ(I[SPCOn], 1);
    EXPECT_EQ(I[StackAnd] | I[StackAnd + 1] << 8, 0x01FF); // emulation mode
    EXPECT_EQ(I[CycPBLT], 127);                            // FastROM
    EXPECT_EQ(I[VRAMIncr], 0);                             // $2115 bit 7 set
    EXPECT_EQ(I[AddrIncr] | I[AddrIncr + 1] << 8, 64);
    EXPECT_EQ(I[VRAMIncBy8On], 1);
    EXPECT_EQ(I[SPCS] | I[SPCS + 1] << 8, 0x1E0);
    EXPECT_EQ(I[SPCRamDP + 1], 1);
    EXPECT_EQ(I[SPCNZ], 0x80); // N set, Z clear
    EXPECT_EQ(I[PPUStatus], 0x80);
    EXPECT_EQ(I[ExtLatch], 0x40);
    EXPECT_EQ(I[InterlVal], 0x41);
    EXPECT_EQ(I[HDMAData + 16], 2); // $4300 = 1: two bytes per unit
    EXPECT_EQ(I[HDMAData + 17], Want.Regs[0x4302]);
    EXPECT_EQ(I[ObjSize1], 4);
    EXPECT_EQ(I[ObjSize2], 16);

    // Memories, CPU, sound and PPU fields through ZSNES and back are the
    // format suite's (converted fixtures); here, what only this test fills.
    SNES->Clear();
    ZST->ImageToMachine();
    const tSNES& S = *SNES;
    EXPECT_EQ(std::tie(S.APU_ExtraRAM, S.DSP, S.CPU_ZTiming, S.LatchPos[0]),
              std::tie(Want.APU_ExtraRAM, Want.DSP, Want.CPU_ZTiming, Want.LatchPos[0]));
    EXPECT_EQ(std::tie(S.CPU_P, S.CPU_NMIActive, S.SPC_PSW, S.SPC_DirectPage), // emulation mode, direct page $0100
              std::tie(Want.CPU_P, Want.CPU_NMIActive, Want.SPC_PSW, Want.SPC_DirectPage));
    EXPECT_EQ(std::tie(S.CPU_WaitingForInterrupt, S.CGRAMLatch, S.M7HOffset, S.M7VOffset),
              std::tie(Want.CPU_WaitingForInterrupt, Want.CGRAMLatch, Want.M7HOffset, Want.M7VOffset));
    for (auto [A, V] : Values) {
        if (A != 0x2141 && A != 0x2142 && A != 0x4210) {
            EXPECT_EQ(SNES->Regs[A], V) << std::hex << A;
        }
    }
    EXPECT_EQ(SNES->Regs[0x4213], Want.Regs[0x4201]);
    EXPECT_EQ(std::tie(S.BGHScroll, S.BGVScroll, S.FixedColour, S.M7.A, S.M7.D, S.M7.X, S.M7.Y),
              std::tie(Want.BGHScroll, Want.BGVScroll, Want.FixedColour, Want.M7.A, Want.M7.D, Want.M7.X, Want.M7.Y));
}

TEST_F(ZSTTest, SpriteSizeCodesAndBGModeSurviveTheImage)
{
    EXPECT_EQ(ZSTSpriteSizeCode(4, 16), 3);
    EXPECT_EQ(ZSTSpriteSizeCode(1, 4), 0); // codes 6 and 7 are stored like 0
    EXPECT_EQ(ZSTSpriteSizeCode(9, 9), 0);
    for (auto [In, Out] : {std::pair<uint8_t, uint8_t>{0x63, 0x63}, {0xC3, 0xC3}, {0xE2, 0xE2}, {0xBA, 0xBA}}) {
        SNES->Regs[0x2101] = In;
        SNES->Regs[0x2105] = 0x09;
        ZST->ClearImage();
        ZST->MachineToImage();
        SNES->Regs.fill(0);
        ZST->ImageToMachine();
        EXPECT_EQ(SNES->Regs[0x2101], Out);
        EXPECT_EQ(SNES->Regs[0x2105], 0x09);
    }
}

TEST_F(ZSTTest, OverscanAndVBlankFollowTheLineAndLastLine)
{
    SNES->Regs[0x2133] = 0x04;
    SNES->CPU_VCounter = 230;
    ZST->ClearImage();
    ZST->MachineToImage();
    EXPECT_EQ(ZST->StateImage[Resolutn], 239);
    ZST->ImageToMachine();
    EXPECT_EQ(SNES->Regs[0x2133], 0x04);
    EXPECT_EQ(SNES->Regs[0x4212], 0); // line 230 is still on screen with 239 lines
    SNES->Regs[0x2133] = 0;
    ZST->ClearImage();
    ZST->MachineToImage();
    ZST->ImageToMachine();
    EXPECT_EQ(SNES->Regs[0x4212], 0x80);
}

TEST_F(ZSTTest, DamagedAndForeignFilesAreRefusedOrReadAsFarAsTheyGo)
{
    // A later fork's version is the format suite's hostile file.
    const std::string Dir = TempDir();
    // Truncated by one byte: the loader refuses it (the format suite); the
    // image's own reader still reads what is there, and says why it failed.
    std::vector<uint8_t> Short(Signature, Signature + SignatureLength);
    Short.insert(Short.end(), {'0', '.', '6', 0x1A, 0x3C});
    Short.resize(ImageSize - 1, 0);
    Short[SPCOn] = 1;
    Short[ZSTLayout::A] = 0x42;
    {
        const auto S = std::make_unique<tSNES>();
        tZSTImage Image;
        tError Error;
        EXPECT_FALSE(ParseZST(Short, false, *S, Image, Error));
        EXPECT_EQ(S->CPU_A, 0x42);
        EXPECT_NE(Error.Reason.find("too short"), std::string::npos) << Error.Reason;
    }

    // Empty and garbage files: not ZSNES with the header check, read as far
    // as they go without it.
    WriteBytes(Dir + "/empty.zst", {});
    WriteBytes(Dir + "/garbage.zst", std::vector<uint8_t>(1000, 0xFF));
    EXPECT_EQ(DetectFormat(Dir + "/empty.zst"), FormatNone);
    Options().CBox_OptionsCheckZST = false;
    Recorder.Log.clear();
    EXPECT_FALSE(LoadSavestate(Dir + "/empty.zst"));
    EXPECT_FALSE(LoadSavestate(Dir + "/garbage.zst"));
    EXPECT_EQ(Errors(Recorder).size(), 2u);
    EXPECT_FALSE(ZST->HasPreview);
    EXPECT_FALSE(LoadSavestate(Dir + "/missing.zst"));
    EXPECT_NE(Errors(Recorder).back().find("cannot read the file"), std::string::npos);
}

TEST_F(ZSTTest, MoviesHaveNoPreviewButTheBrowserStillFindsOne)
{
    std::vector<uint8_t> File(Signature, Signature + SignatureLength);
    File.insert(File.end(), {'0', '.', '6', 0x1A, 0x3C});
    File.resize(ImageSize + 100 + PreviewSize, 0);
    File[SPCOn] = 1;
    for (size_t i = 0; i < PreviewSize; ++i)
        File[File.size() - PreviewSize + i] = static_cast<uint8_t>(i);
    const std::string Dir = TempDir();
    WriteBytes(Dir + "/run.zmv", File);
    WriteBytes(Dir + "/run.zs3", File);

    ASSERT_TRUE(LoadSavestate(Dir + "/run.zmv"));
    EXPECT_EQ(StateKind, KindMovie);
    EXPECT_FALSE(ZST->HasPreview);
    EXPECT_EQ(ZST->Rest.size(), 100u + PreviewSize);
    std::array<uint16_t, 64 * 56> Pixels{};
    ASSERT_TRUE(tZST::LoadPreview(Dir + "/run.zmv", Pixels));
    EXPECT_EQ(Pixels[0], 0x0100);

    ASSERT_TRUE(LoadSavestate(Dir + "/run.zs3"));
    EXPECT_TRUE(ZST->HasPreview);
    EXPECT_EQ(ZST->Rest.size(), 100u);
    ASSERT_TRUE(SaveState(*ZST, Dir + "/again.zs3"));
    EXPECT_EQ(ReadBytes(Dir + "/again.zs3"), File);

    File.resize(ImageSize + 10);
    WriteBytes(Dir + "/tiny.zm1", File);
    EXPECT_FALSE(tZST::LoadPreview(Dir + "/tiny.zm1", Pixels));
    EXPECT_FALSE(tZST::LoadPreview(Dir + "/none.zst", Pixels));
}

TEST_F(ZSTTest, EditorNotificationsRebuildTheFileAndTheMachine)
{
    REQUIRE_FIXTURES();
    ASSERT_TRUE(LoadSavestate(FixturePath("zsnes/zsnes151_hello.zst")));
    const int Editor = 0;
    ZST->StateImage[ZSTLayout::A] = 0x99;
    Broadcast(&Editor, Note::NewZSTData);
    EXPECT_EQ(SNES->CPU_A & 0xFF, 0x99);
    EXPECT_EQ(ZST->FileStream[ZSTLayout::A], 0x99);

    ZST->FileStream[BGMode] = 3;
    Broadcast(&Editor, Note::NewZSTStream);
    EXPECT_EQ(SNES->Regs[0x2105] & 7, 3);
    EXPECT_TRUE(ZST->HasPreview);

    ZST->Preview[0] = 0x12;
    Broadcast(&Editor, Note::NewZSTPreview);
    EXPECT_EQ(ZST->FileStream[ZST->FileStream.size() - PreviewSize], 0x12);
}
