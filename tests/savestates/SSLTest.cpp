#include "app/Loader.h"
#include "savestates/StateFixtures.h"

#include <cstring>
#include <memory>
#include <random>

#include "cart/SNESCart.h"
#include "core/Broadcast.h"
#include "core/LittleEndian.h"
#include "core/SNES.h"
#include "render/PPU.h"
#include "savestates/SSL.h"

namespace
{

uint32_t U32(const Bytes& F, size_t At)
{
    return ReadLE<4>(&F[At]);
}

// Offset of a chunk's data in a file, or 0 when it is not there.
size_t FindChunk(const Bytes& F, const char* ID, uint32_t* Length = nullptr)
{
    size_t Pos = 0;
    while (F.size() - Pos >= 8) {
        const uint32_t L = U32(F, Pos + 4);
        if (std::memcmp(&F[Pos], ID, 4) == 0) {
            if (Length)
                *Length = L;
            return Pos + 8;
        }
        Pos += 8 + L;
    }
    return 0;
}

// A state as another tool writes it: its own name, a 64 x 56 picture, the
// required chunks with recognisable contents, optional SRAM and SAS1.
Bytes SleuthFile(const Bytes& SRAM = {}, const Bytes* SBMP = nullptr)
{
    Bytes F;
    Bytes Head(SSLSize::BPS2, 0);
    Head[0] = 4;
    Head[1] = 1;
    std::memcpy(&Head[2], "Super Sleuth", 12);
    Head[100] = 0x55;
    AddChunk(F, "BPS2", Head);
    if (SBMP)
        AddChunk(F, "SBMP", *SBMP);
    AddChunk(F, "SCPU", Bytes(SSLSize::SCPU, 0x11));
    AddChunk(F, "SDMA", Bytes(SSLSize::SDMA, 0x22));
    Bytes W(SSLSize::WRAM, 0x33);
    W[3] = 0xAB;
    AddChunk(F, "WRAM", W);
    AddChunk(F, "SPPU", Bytes(SSLSize::SPPU, 0x44));
    Bytes V(SSLSize::VRAM, 0);
    V[0] = 0x34;
    V[32768] = 0x12;
    AddChunk(F, "VRAM", V);
    AddChunk(F, "SAPU", Bytes(SSLSize::SAPU, 0x66));
    AddChunk(F, "SDSP", Bytes(SSLSize::SDSP, 0x77));
    if (!SRAM.empty())
        AddChunk(F, "SRAM", SRAM);
    AddChunk(F, "SAS1", Bytes(SSLSize::SAS1, 0x88));
    AddChunk(F, "SRST", {});
    return F;
}

Bytes Picture(uint32_t W, uint32_t H)
{
    Bytes B;
    for (uint32_t V : {W, H})
        for (int i = 0; i < 4; ++i)
            B.push_back(static_cast<uint8_t>(V >> (8 * i)));
    for (uint32_t i = 0; i < W * H; ++i) {
        B.push_back(0xF8); // blue
        B.push_back(static_cast<uint8_t>(i));
        B.push_back(0x08); // red
    }
    return B;
}

// A machine state where every memory and register holds something distinct.
void FillMachine(tSNES& S, uint32_t Seed)
{
    std::mt19937 Rng(Seed);
    auto Fill = [&Rng](auto& A) {
        for (auto& X : A)
            X = static_cast<std::remove_reference_t<decltype(X)>>(Rng());
    };
    Fill(S.WRAM);
    Fill(S.VRAM);
    Fill(S.OAM);
    Fill(S.Regs);
    Fill(S.APU_RAM);
    Fill(S.DSP);
    for (auto& C : S.CGRAM)
        C = static_cast<uint16_t>(Rng() & 0x7FFF);
    std::copy_n(S.APU_RAM.end() - 64, 64, S.APU_ExtraRAM.begin());
    S.CPU_PC = 0x7E8123;
    S.CPU_P = 0x0130;
    S.BGHScroll[0] = 100;
    S.M7.Y = -16;
    S.LatchPos = {33, 44};
}

// Stands for another format's reader as the sender of the load messages.
struct tOtherSender {
    int Dummy = 0;
} Other;

class SSLTest : public tModelTest
{
  protected:
    void ConvertFromOtherFormat()
    {
        Broadcast(&Other, Note::NewSavestate);
        Broadcast(&Other, Note::NewSNES);
    }
    bool Load(const Bytes& F) { return LoadBytes(F, ".s01"); }
    Bytes Saved()
    {
        Bytes Out;
        SSL->SaveToStream(Out);
        return Out;
    }
};

TEST_F(SSLTest, ConvertedStateCarriesTheProgramsHeaderAndIsAccepted)
{
    const uint32_t Before = CurrentDosDateTime();
    ConvertFromOtherFormat();
    const Bytes F = Saved();

    ASSERT_GE(F.size(), 8u + 166);
    EXPECT_EQ(std::memcmp(F.data(), "BPS2", 4), 0);
    EXPECT_EQ(U32(F, 4), 166u);
    EXPECT_EQ(F[8], 4);
    EXPECT_EQ(F[9], 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&F[10])), "Orlik");
    for (size_t i = 8 + 66; i < 8 + 162; ++i)
        ASSERT_EQ(F[i], 0) << "a converted state leaves bytes 66-161 zero";
    const uint32_t Stamp = U32(F, 8 + 162);
    EXPECT_GE(Stamp, Before);
    EXPECT_LE(Stamp, CurrentDosDateTime());

    EXPECT_EQ(F.size(), MinSSLFileSize) << "no picture, no SAS1, no SRAM";
    EXPECT_TRUE(tSSL::IsSSLData(F)); // detection and loading of such files: the format suite
}

// Memories and stored registers through the own format are the format
// suite's (real fixtures); here, what the format leaves out or fills in.
TEST_F(SSLTest, ConvertedStateReadsBackWithWhatTheFormatAdds)
{
    FillMachine(*SNES, 2);
    ConvertFromOtherFormat();
    const std::string File = TempDir() + "/round.s12";
    ASSERT_TRUE(SaveState(*SSL, File));
    ASSERT_TRUE(LoadSavestate(File)) << (Recorder.Log.empty() ? "" : Recorder.Log[0].Text);
    EXPECT_EQ(SNES->DSP[200], 0) << "the upper DSP half is ZSNES's alone";
    EXPECT_EQ(*SNES->Reg8(0x2104), 0) << "registers the format does not hold are cleared";
    EXPECT_EQ(*SNES->Reg8(0x4017), 0x1C);
    EXPECT_EQ(SNES->M7HOffset, 100);
    EXPECT_EQ(SNES->M7.Y, -16);
    EXPECT_EQ(SNES->LatchPos, (std::array<int32_t, 2>{33, 44}));
}

TEST_F(SSLTest, VRAMIsStoredAsLowBytesThenHighBytes)
{
    SNES->VRAM[0] = 0x34; // word 0 = 0x1234
    SNES->VRAM[1] = 0x12;
    SNES->VRAM[0xFFFF] = 0x99; // high byte of the last word
    ConvertFromOtherFormat();
    EXPECT_EQ(SSL->VRAM[0], 0x34);
    EXPECT_EQ(SSL->VRAM[32768], 0x12);
    EXPECT_EQ(SSL->VRAM[65535], 0x99);

    ASSERT_TRUE(Load(SleuthFile()));
    EXPECT_EQ(SNES->VRAM[0], 0x34);
    EXPECT_EQ(SNES->VRAM[1], 0x12);
}

TEST_F(SSLTest, SaveRAMOf8KiBGoesToTheCartridgeAndBackAndEmptyWritesNone)
{
    Bytes SRAM(8192);
    for (size_t i = 0; i < SRAM.size(); ++i)
        SRAM[i] = static_cast<uint8_t>(i * 3);
    ASSERT_TRUE(Load(SleuthFile(SRAM)));
    EXPECT_EQ(Cart->SRAM, SRAM);

    uint32_t Length = 0;
    Bytes F = Saved();
    const size_t At = FindChunk(F, "SRAM", &Length);
    ASSERT_NE(At, 0u);
    EXPECT_EQ(Length, 8192u);
    EXPECT_TRUE(std::equal(SRAM.begin(), SRAM.end(), F.begin() + At));

    Cart->SRAM.clear();
    Broadcast(Cart, Note::NewCart);
    EXPECT_EQ(FindChunk(Saved(), "SRAM"), 0u);
}

TEST_F(SSLTest, LoadedFileIsKeptExactlyAndSavedInTheProgramsOrder)
{
    ASSERT_TRUE(Load(SleuthFile()));
    EXPECT_EQ(SNES->WRAM[0], 0xAB);
    const Bytes F = Saved();
    EXPECT_EQ(F, SleuthFile()) << "another tool's state is written back as it was";
}

TEST_F(SSLTest, PreviewPictureIsKeptSavedAndScaled)
{
    const Bytes Pic = Picture(64, 56);
    const Bytes File = SleuthFile({}, &Pic);
    ASSERT_TRUE(Load(File));
    EXPECT_EQ(SSL->PreviewBitmap.Width, 64u);
    EXPECT_EQ(SSL->PreviewBitmap.Height, 56u);
    uint32_t Length = 0;
    ASSERT_NE(FindChunk(Saved(), "SBMP", &Length), 0u);
    EXPECT_EQ(Length, 10760u);

    const std::string Name = TempDir() + "/pic.s03";
    WriteBytes(Name, File);
    auto Small = tSSL::LoadPreview(" " + Name + " ", 32, 28);
    ASSERT_TRUE(Small.has_value());
    EXPECT_EQ(Small->Width, 32u);
    EXPECT_EQ(Small->Height, 28u);
    // Pixel (1, 0) of the small picture is pixel (2, 0) of the stored one:
    // red 8, green 2, blue 248 in 5-6-5.
    EXPECT_EQ(Small->Pixels[1], (1 << 11) | (0 << 5) | 31);
    EXPECT_FALSE(tSSL::LoadPreview(SleuthFile(), 64, 56).has_value()) << "no picture, no preview";
}

TEST_F(SSLTest, HostilePictureSizesGiveNoPreviewAndLoseNothingElse)
{
    Bytes Mismatch = Picture(64, 56);
    Mismatch[4] = 57; // height no longer agrees with the length
    Bytes Huge = Picture(1, 1);
    Huge[0] = Huge[1] = 0; // 2048 x 2048 would be 12 MiB
    Huge[1] = 8;
    Huge[5] = 8;
    Huge[4] = 0;
    for (const Bytes& Pic : {Mismatch, Huge}) {
        const Bytes File = SleuthFile(Bytes(16, 1), &Pic);
        EXPECT_TRUE(Load(File));
        EXPECT_EQ(SSL->PreviewBitmap.Height, 0u);
        EXPECT_EQ(SNES->WRAM[0], 0xAB);
        EXPECT_EQ(Cart->SRAM.size(), 16u);
        EXPECT_TRUE(SSL->HasSAS1);
        EXPECT_FALSE(tSSL::LoadPreview(File, 64, 56).has_value());
        EXPECT_EQ(FindChunk(Saved(), "SBMP"), 0u);
    }
}

TEST_F(SSLTest, ChunksRunningPastTheEndStopReadingCleanly)
{
    // Identification: a chunk that runs past the end ends the walk, so the
    // chunks behind it are never seen.
    Bytes F = SleuthFile();
    Bytes Broken = F;
    const size_t Spp = FindChunk(Broken, "SPPU");
    Broken[Spp - 2] = 0x10; // SPPU now claims about a megabyte
    std::string Why;
    EXPECT_FALSE(tSSL::IsSSLData(Broken, &Why));
    EXPECT_NE(Why.find("chunk is missing"), std::string::npos) << Why;

    // Loading: a chunk cut short after the required ones is reported; what
    // came before it is kept.
    Bytes Cut = F;
    AddChunk(Cut, "XTRA", Bytes(1000, 1));
    Cut.resize(Cut.size() - 900);
    ASSERT_TRUE(tSSL::IsSSLData(Cut)) << "the required chunks were all seen";
    const auto P = Parsed<tSSLImage>(Cut, ParseSSL);
    EXPECT_FALSE(P.Ok);
    EXPECT_NE(P.Error.find("chunk \"XTRA\""), std::string::npos) << P.Error;
    EXPECT_NE(P.Error.find("only 100 remain"), std::string::npos) << P.Error;
    EXPECT_TRUE(P.Image.HasSAS1);
    EXPECT_EQ(P.State->WRAM[0], 0xAB);
}

// Cut and empty files in general are the format suite's and the loader
// test's; here, the reasons.
TEST_F(SSLTest, TruncatedAndGarbageFilesAreRefusedWithAReason)
{
    const Bytes F = SleuthFile();
    const struct {
        Bytes F;
        const char* Reason;
    } Cases[] = {{{}, "too short"},
                 {Bytes(F.begin(), F.end() - 9 - 8 - SSLSize::SAS1), "too short (263833 bytes"},
                 {Bytes(F.size(), 0xC3), "\"BPS2\""}};
    for (const auto& C : Cases) {
        const auto P = Parsed<tSSLImage>(C.F, ParseSSL);
        EXPECT_FALSE(P.Ok);
        EXPECT_NE(P.Error.find(C.Reason), std::string::npos) << P.Error;
    }
}

TEST_F(SSLTest, NotificationsFollowTheSender)
{
    ASSERT_TRUE(Load(SleuthFile()));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&SSL->BPS2[2])), "Super Sleuth");
    // Own versus other senders in general are the format suite's. An edit elsewhere converts again and stamps the
    // program's name.
    Broadcast(nullptr, Note::NewSNES);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&SSL->BPS2[2])), "Orlik");
    EXPECT_TRUE(SSL->HasSAS1) << "the SAS1 chunk survives a conversion";
    EXPECT_EQ(SSL->BPS2[100], 0x55);
    // Another format's state drops the image.
    Broadcast(&Other, Note::NewSavestate);
    EXPECT_FALSE(SSL->HasSAS1);
    EXPECT_EQ(SSL->BPS2[100], 0);
}

} // namespace
