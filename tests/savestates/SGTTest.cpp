#include "savestates/SGTFiles.h"

#include <cstring>
#include <memory>

#include "app/Loader.h"
#include "cart/SNESCart.h"
#include "core/Broadcast.h"
#include "core/SNES.h"
#include "savestates/SGT.h"
#include "sound/SPC.h"

namespace
{

class SGTTest : public tModelTest
{
  protected:
    bool Load(const Bytes& F) { return LoadBytes(F, ".sv1"); }
};

TEST_F(SGTTest, CPURFieldsGiveTheCPURegisters)
{
    Bytes F = Header();
    AddChunk(F, "CPUR", CPURChunk());
    ASSERT_TRUE(Load(F));
    EXPECT_EQ(SNES->CPU_A, 0x1234);
    EXPECT_EQ(SNES->CPU_PC, 0xC08000u) << "program bank in bits 16-23";
    EXPECT_EQ(SNES->CPU_DB, 0x7E0000u);
    EXPECT_EQ(SNES->CPU_P, 0x35) << "no emulation bit";
    EXPECT_EQ(SNES->CPU_D, 0) << "SNESGT keeps no direct page";
    EXPECT_EQ(SNES->CPU_NMIActive, 0);

    // A new machine state is written back to the same offsets; the bytes
    // the program does not use stay as the file had them.
    SNES->CPU_PC = 0x018123;
    SNES->CPU_P = 0x1FF;
    Broadcast(nullptr, Note::NewSNES);
    EXPECT_EQ(SGT->CPUR[11], 0x23);
    EXPECT_EQ(SGT->CPUR[12], 0x81);
    EXPECT_EQ(SGT->CPUR[19], 0x01);
    EXPECT_EQ(SGT->CPUR[21], 0xFF);
    EXPECT_EQ(SGT->CPUR[6], 0xEE);
}

TEST_F(SGTTest, ZeroLengthChunksAreSkippedWithoutTouchingTheirBuffer)
{
    const auto S = std::make_unique<tSNES>();
    tSGTImage Image;
    Image.PPUR[0] = 0x0F; // PPUR survives ClearChunks
    Bytes F = Header();
    AddChunk(F, "PPUR", {});
    AddChunk(F, "PAL ", {0x1F, 0x00, 0xE0, 0x03});
    std::string Error;
    ASSERT_TRUE(ParseSGT(F, *S, Image, Error)) << Error;
    EXPECT_EQ(Image.PPUR[0], 0x0F);
    EXPECT_EQ(S->Regs[0x2100], 0x0F);
    EXPECT_EQ(S->CGRAM[0], 0x001F) << "the chunk after the empty one is read in full";
    EXPECT_EQ(S->CGRAM[1], 0x03E0);
    EXPECT_EQ(S->CGRAM[2], 0) << "a short chunk fills the front of its buffer";
}

TEST_F(SGTTest, MemoriesAndSaveRAM)
{
    Bytes F = Header();
    Bytes W(SGTSize::WRAM + 10, 0x21); // longer than the buffer: the rest is skipped
    AddChunk(F, "WRAM", W);
    AddChunk(F, "VRAM", Bytes(SGTSize::VRAM, 0x42));
    AddChunk(F, "OAM ", Bytes(SGTSize::OAM, 0x63));
    AddChunk(F, "PPUR", Bytes(SGTSize::PPUR, 0x84));
    AddChunk(F, "SRAM", Bytes(8192, 0xA5));
    ASSERT_TRUE(Load(F));
    EXPECT_EQ(SNES->WRAM[SGTSize::WRAM - 1], 0x21);
    EXPECT_EQ(*SNES->Reg8(0x213F), 0x84);
    EXPECT_EQ(*SNES->Reg8(0x2140), 0) << "only $2100-$213F come from PPUR";
    EXPECT_EQ(Cart->SRAM.size(), 8192u);

    Bytes G = Header();
    AddChunk(G, "WRAM", Bytes(16, 1));
    ASSERT_TRUE(Load(G));
    EXPECT_TRUE(Cart->SRAM.empty()) << "a state without SRAM leaves the cartridge without";
    EXPECT_EQ(SNES->WRAM[16], 0) << "the buffers were cleared before reading";
}

TEST_F(SGTTest, EmbeddedSPCGivesTheSoundAndKeepsWhatWasReadBefore)
{
    Bytes F = Header();
    AddChunk(F, "WRAM", Bytes(SGTSize::WRAM, 0x21));
    AddChunk(F, "SPCF", SoundFile());
    AddChunk(F, "CPUR", CPURChunk());
    ASSERT_TRUE(Load(F));
    EXPECT_EQ(SNES->APU_RAM[0x1234], 0x5A);
    EXPECT_EQ(SNES->DSP[0x0C], 0x7F);
    EXPECT_EQ(SNES->SPC_PC, 0x0400);
    EXPECT_EQ(SPC->TagText(ID666::Song), "Theme");
    EXPECT_EQ(SGT->WRAM[5], 0x21) << "the sound reader's broadcast must not rebuild the chunks mid-read";
    EXPECT_EQ(SNES->CPU_A, 0x1234);
}

// A cut, a stray byte and an empty file in general are the format suite's
// and the loader test's; here, the reasons and what the reader keeps of
// the chunks before the damage.
TEST_F(SGTTest, DamagedFilesGiveTheirReasonAndKeepTheChunksBefore)
{
    Bytes Cut = Header();
    AddChunk(Cut, "PAL ", Bytes(512, 0x1F));
    AddChunk(Cut, "VRAM", Bytes(SGTSize::VRAM, 1));
    Cut.resize(Cut.size() - 1000);
    Bytes Stray = Header();
    Stray.push_back(1);
    Bytes BadSound = Header();
    AddChunk(BadSound, "SPCF", Bytes(100, 0));
    AddChunk(BadSound, "CPUR", CPURChunk());
    const struct {
        Bytes F;
        const char* Reason;
    } Cases[] = {{{}, "not an SNESGT savestate"}, {Cut, "chunk \"VRAM\""}, {Stray, "stray"}, {BadSound, "\"SPCF\""}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Reason);
        const auto P = Parsed<tSGTImage>(C.F, ParseSGT);
        EXPECT_FALSE(P.Ok);
        EXPECT_NE(P.Error.find(C.Reason), std::string::npos) << P.Error;
        if (&C == &Cases[1]) {
            EXPECT_EQ(P.State->CGRAM[0], 0x1F1F) << "the chunks before the cut are kept";
        }
        if (&C == &Cases[3]) {
            EXPECT_EQ(P.State->CPU_A, 0x1234) << "a damaged sound snapshot costs the sound only";
        }
    }
    const std::string NotSGT = TempDir() + "/other.sv1";
    WriteBytes(NotSGT, {'G', 'T', 'S'});
    EXPECT_EQ(DetectFormat(NotSGT), FormatNone);
}

// Own versus other senders in general are the format suite's; here, what
// the chunks take from the machine state and what a new state drops.
TEST_F(SGTTest, ConvertedChunksAndWhatANewStateDrops)
{
    SNES->CGRAM[1] = 0x7FFF;
    *SNES->Reg8(0x2105) = 7;
    int Dummy = 0;
    Broadcast(&Dummy, Note::NewSNES);
    EXPECT_EQ(SGT->PAL[2], 0xFF);
    EXPECT_EQ(SGT->PPUR[5], 7);
    Broadcast(&Dummy, Note::NewSavestate);
    EXPECT_EQ(SGT->PAL[2], 0);
    EXPECT_EQ(SGT->PPUR[5], 7) << "only the memories are dropped";
}

} // namespace
