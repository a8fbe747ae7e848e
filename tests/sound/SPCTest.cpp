#include "TestSupport.h"

#include <cstring>
#include <memory>

#include "core/Broadcast.h"
#include "core/SNES.h"
#include "sound/SPC.h"

namespace
{

using Bytes = std::vector<uint8_t>;

// A fixed part with the standard header and an empty tag area.
Bytes BlankSPC()
{
    Bytes F(SPCLayout::FixedSize, 0);
    std::memcpy(F.data(), SPCSignatureText, SPCLayout::SignatureSize);
    F[0x21] = F[0x22] = 26;
    F[0x23] = 26;
    F[0x24] = 30;
    return F;
}

void Put(Bytes& F, size_t Offset, std::string_view Text)
{
    std::memcpy(&F[Offset], Text.data(), Text.size());
}

// An image whose tag area uses the binary layout with 5 March 2004.
Bytes BinaryTagSPC()
{
    Bytes F = BlankSPC();
    Put(F, 0x2E, "Title");
    F[0x9E] = 0x05; // day
    F[0x9F] = 0x03; // month
    F[0xA0] = 0xD4; // year 2004
    F[0xA1] = 0x07;
    F[0xA9] = 0xE8; // 1000 seconds
    F[0xAA] = 0x03;
    F[0xAC] = 0x10; // 10000 ms
    F[0xAD] = 0x27;
    Put(F, 0xB0, "Composer");
    F[0xD0] = 0x81;
    F[0xD1] = 2;
    return F;
}

void AppendXID6(Bytes& F, const Bytes& Body)
{
    const char ID[4] = {'x', 'i', 'd', '6'};
    F.insert(F.end(), ID, ID + 4);
    for (int i = 0; i < 4; ++i)
        F.push_back(static_cast<uint8_t>(Body.size() >> (8 * i)));
    F.insert(F.end(), Body.begin(), Body.end());
}

class SPCTest : public tModelTest
{
  protected:
    bool Load(const Bytes& F)
    {
        tError Error;
        return SPC->LoadFromMemory(F, Error);
    }
};

TEST_F(SPCTest, TextAndBinaryTagDetection)
{
    Bytes F = BlankSPC();
    EXPECT_TRUE(tSPC::IsTextTag(std::span<const uint8_t, SPCLayout::FixedSize>(F.data(), F.size())))
        << "no length, fade or date at all is a text tag";

    Put(F, 0x9E, "03/05/2004");
    Put(F, 0xA9, "120");
    Put(F, 0xAC, "10000");
    F[0xD2] = '1';
    ASSERT_TRUE(Load(F));
    EXPECT_TRUE(SPC->TextTag);
    EXPECT_EQ(SPC->TagText(ID666::Date), "03/05/2004");
    EXPECT_EQ(SPC->TagText(ID666::Seconds), "120");

    // The text layout's emulator field must be a digit character.
    F[0xD2] = 2;
    EXPECT_FALSE(tSPC::IsTextTag(std::span<const uint8_t, SPCLayout::FixedSize>(F.data(), F.size())));

    ASSERT_TRUE(Load(BinaryTagSPC()));
    EXPECT_FALSE(SPC->TextTag);
}

TEST_F(SPCTest, BinaryTagDecodesAndEncodesBack)
{
    const Bytes F = BinaryTagSPC();
    ASSERT_TRUE(Load(F));
    EXPECT_EQ(SPC->TagText(ID666::Date), "03/05/2004");
    EXPECT_EQ(SPC->TagText(ID666::Seconds), "100") << "1000 seconds keep their first three digits";
    EXPECT_EQ(SPC->TagText(ID666::Fade), "10000");
    EXPECT_EQ(SPC->TagText(ID666::Song), "Title");
    EXPECT_EQ(SPC->TagText(ID666::Artist), "Composer");
    EXPECT_EQ(SPC->Tag[ID666::Muted.TagIndex()], 0x81);
    EXPECT_EQ(SPC->Tag[ID666::Emulator.TagIndex()], '2');

    SPC->Image[0x9E] = SPC->Image[0x9F] = SPC->Image[0xA0] = SPC->Image[0xA1] = 0;
    SPC->EncodeBinaryTag();
    // The artist moves back one byte; the decoded text 100 is what is stored again.
    for (const auto& [At, Want] : {std::pair<size_t, int>{0x9E, 0x05},
                                   {0x9F, 0x03},
                                   {0xA0, 0xD4},
                                   {0xA1, 0x07},
                                   {0xB0, 'C'},
                                   {0xD0, 0x81},
                                   {0xD1, 2},
                                   {0xA9, 100}})
        EXPECT_EQ(SPC->Image[At], Want) << "byte " << At;

    Bytes Unknown = F;
    Unknown[0xD1] = 12;
    ASSERT_TRUE(Load(Unknown));
    EXPECT_EQ(SPC->Tag[ID666::Emulator.TagIndex()], '0') << "an emulator byte above 9 is unknown";
}

TEST_F(SPCTest, NormalizeDateExamples)
{
    auto Norm = [](const char* In) {
        std::array<uint8_t, 11> D{};
        std::memcpy(D.data(), In, std::strlen(In));
        tSPC::NormalizeDate(D);
        return std::string(reinterpret_cast<const char*>(D.data()));
    };
    EXPECT_EQ(Norm("5/3/2004"), "05/03/2004");
    EXPECT_EQ(Norm("13/05/2004"), "05/13/2004");
    EXPECT_EQ(Norm("00/07/2004"), "07/00/2004");
    EXPECT_EQ(Norm(""), "");
    EXPECT_EQ(Norm("2004"), "00/20/00") << "a lone run is cut to two digits, then taken as the day";
}

TEST_F(SPCTest, OverlongExtendedTagIsCutAndTheNextStillRead)
{
    Bytes Body = {0x01, 1, 0x58, 0x02}; // a 600-byte song title
    Body.insert(Body.end(), 600, 'x');
    Body.insert(Body.end(), {0x02, 1, 3, 0, 'G', 'a', 'm', 0});
    Bytes F = BlankSPC();
    AppendXID6(F, Body);
    ASSERT_TRUE(Load(F));
    ASSERT_EQ(SPC->ExtTags.Count(), 2u);
    EXPECT_EQ(SPC->ExtTags[0].Length, tSPC_ExtTag::MaxData);
    EXPECT_EQ(SPC->ExtTags[1].ID, 0x02);
    EXPECT_EQ(SPC->ExtTags[1].Data[0], 'G');

    // Saved, the cut record agrees with its data and reads back the same.
    Bytes Out;
    SPC->WriteExtTags(Out);
    EXPECT_EQ(Out.size(), 8u + 4 + 512 + 4 + 4);
}

TEST_F(SPCTest, ExtendedBlockDamageGivesNoTagsOrWhatRemains)
{
    Bytes F = BlankSPC();
    AppendXID6(F, {0x01, 1, 20, 0, 'a', 'b'}); // data runs past the body
    ASSERT_TRUE(Load(F));
    ASSERT_EQ(SPC->ExtTags.Count(), 1u);
    EXPECT_EQ(SPC->ExtTags[0].Data[1], 'b');

    F.resize(F.size() - 3); // the chunk now claims more than the file holds
    ASSERT_TRUE(Load(F));
    EXPECT_TRUE(SPC->ExtTags.Empty());

    Bytes G = BlankSPC();
    AppendXID6(G, {0x01, 1, 1, 0, 'a', 0, 0, 0});
    std::memcpy(&G[SPCLayout::FixedSize], "RIFF", 4);
    ASSERT_TRUE(Load(G));
    EXPECT_TRUE(SPC->ExtTags.Empty()) << "a foreign chunk is not read as tags";
}

TEST_F(SPCTest, NoTagWritesMarker27AndZeroArea)
{
    ASSERT_TRUE(Load(BinaryTagSPC()));
    tSPC_EditorFields Fields = SPC->EditorFieldsFromTag();
    EXPECT_TRUE(Fields.Contains);

    Fields.Contains = false;
    const std::string File = TempDir() + "/untagged.spc";
    tError Error;
    ASSERT_TRUE(SPC->SaveToFile(File, Fields, Error)) << Error.Reason;
    const Bytes Saved = ReadBytes(File);
    ASSERT_EQ(Saved.size(), SPCLayout::FixedSize);
    EXPECT_EQ(Saved[0x23], 27);
    for (size_t i = 0x2E; i < 0x100; ++i)
        ASSERT_EQ(Saved[i], 0) << "tag byte at " << i;

    ASSERT_TRUE(SPC->LoadFromFile(File, Error)) << Error.Reason;
    const tSPC_EditorFields Shown = SPC->EditorFieldsFromTag();
    EXPECT_FALSE(Shown.Contains);
}

TEST_F(SPCTest, EditorFieldsFillTheTextTag)
{
    tSPC_EditorFields F;
    F.Song = std::string(40, 's'); // longer than the field
    F.Dumper = "me";
    F.Day = 5;
    F.Month = 3;
    F.Year = 2004;
    F.LengthMinutes = "2";
    F.LengthSeconds = "5";
    F.FadeSeconds = "10";
    F.FadeMilliseconds = "500";
    F.Muted[0] = F.Muted[7] = true;
    F.Emulator = 2;
    SPC->ApplyEditorFields(F);
    const auto& I = SPC->Image;
    EXPECT_EQ(I[0x23], 26);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&I[0x2E]), 32), std::string(32, 's'));
    EXPECT_EQ(I[0x4E], 0) << "the song stops at its 32 bytes";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&I[0x9E])), "03/05/2004");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&I[0xA9]), 3), "125");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&I[0xAC]), 5), "10500");
    EXPECT_EQ(I[0xD1], 0x81);
    EXPECT_EQ(I[0xD2], '2');

    F.LengthSeconds = "x";
    F.Binary = true;
    SPC->ApplyEditorFields(F);
    EXPECT_EQ(I[0xA9], 120) << "a text that is no number counts as 0";
    EXPECT_EQ(I[0x9E], 5);
    EXPECT_EQ(I[0xD1], 2);
    EXPECT_FALSE(SPC->TextTag);
}

// A machine state whose sound part is recognisable byte for byte.
void FillSound(tSNES& S)
{
    for (size_t i = 0; i < S.APU_RAM.size(); ++i)
        S.APU_RAM[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
    for (size_t i = 0; i < S.DSP.size(); ++i)
        S.DSP[i] = static_cast<uint8_t>(0x80 + i);
    for (size_t i = 0; i < S.APU_ExtraRAM.size(); ++i)
        S.APU_ExtraRAM[i] = static_cast<uint8_t>(0xC0 + i);
    S.SPC_PC = 0x1234;
    S.SPC_YA = 0x5678;
    S.SPC_Y = 0x56;
    S.SPC_X = 0x9A;
    S.SPC_PSW = 0x02;
    S.SPC_SP = 0xEF;
    S.SPC_Cycles = 77;
    S.SPC_DirectPage = 1;
}

TEST_F(SPCTest, SnapshotOfAStateHoldsItsSoundAtTheRightOffsetsAndReadsBack)
{
    FillSound(*SNES);
    Broadcast(SNES, Note::NewSNES); // as after any savestate load
    const std::string File = TempDir() + "/state.spc";
    tError Error;
    tSPC_EditorFields Fields = SPC->EditorFieldsFromTag();
    EXPECT_FALSE(Fields.Contains) << "nothing loaded, so no tag is held yet";
    Fields.Contains = true;
    Fields.Song = "Song";
    ASSERT_TRUE(SPC->SaveToFile(File, Fields, Error)) << Error.Reason;

    const Bytes B = ReadBytes(File);
    ASSERT_EQ(B.size(), SPCLayout::FixedSize);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(B.data()), 33), SPCSignatureText)
        << "a snapshot made without a loaded SPC still gets the signature";
    // PC, A, X, Y, PSW and SP of the sound CPU.
    for (const auto& [At, Want] : {std::pair<size_t, int>{0x21, 26},
                                   {0x22, 26},
                                   {0x25, 0x34},
                                   {0x26, 0x12},
                                   {0x27, 0x78},
                                   {0x28, 0x9A},
                                   {0x29, 0x56},
                                   {0x2A, 0x02},
                                   {0x2B, 0xEF}})
        EXPECT_EQ(B[At], Want) << "byte " << At;
    EXPECT_TRUE(std::equal(SNES->APU_RAM.begin(), SNES->APU_RAM.end(), B.begin() + 0x100));
    EXPECT_TRUE(std::equal(SNES->DSP.begin(), SNES->DSP.begin() + 128, B.begin() + 0x10100));
    EXPECT_TRUE(std::equal(SNES->APU_ExtraRAM.begin(), SNES->APU_ExtraRAM.end(), B.begin() + 0x101C0));

    // A whole machine is too big for the stack of a sanitizer build.
    const auto Copy = std::make_unique<tSNES>(*SNES);
    const tSNES& Before = *Copy;
    SNES->ClearSound();
    SNES->SPC_Cycles = 5;
    SNES->SPC_DirectPage = 0;
    ASSERT_TRUE(SPC->LoadFromFile(File, Error)) << Error.Reason;
    EXPECT_EQ(SNES->APU_RAM, Before.APU_RAM);
    EXPECT_EQ(SNES->APU_ExtraRAM, Before.APU_ExtraRAM);
    EXPECT_TRUE(std::equal(Before.DSP.begin(), Before.DSP.begin() + 128, SNES->DSP.begin()));
    for (size_t i = 128; i < 256; ++i)
        ASSERT_EQ(SNES->DSP[i], 0) << "upper DSP byte " << i;
    EXPECT_EQ(SNES->SPC_PC, Before.SPC_PC);
    EXPECT_EQ(SNES->SPC_YA, Before.SPC_YA);
    EXPECT_EQ(SNES->SPC_Cycles, 5u) << "an SPC carries no cycle counter";
    EXPECT_EQ(SNES->SPC_DirectPage, 0);
    EXPECT_EQ(SPC->TagText(ID666::Song), "Song");
}

// Counts the notifications a load sends and who sends them.
class tListener : public tReceiver
{
  public:
    std::vector<std::pair<const void*, std::string>> Seen;
    // The format objects answer "new SNES" with their own messages.
    void Notify(const void* Sender, tNote Msg) override
    {
        if (Msg == Note::NewSPC || Msg == Note::NewSNES)
            Seen.emplace_back(Sender, std::string(Msg.Text()));
    }
};

TEST_F(SPCTest, LoadingAnnouncesTheSPCThenTheMachineState)
{
    tListener L;
    RegisterReceiver(WindowSlot(13), &L);
    ASSERT_TRUE(Load(BlankSPC()));
    RegisterReceiver(WindowSlot(13), nullptr);
    ASSERT_EQ(L.Seen.size(), 2u);
    EXPECT_EQ(L.Seen[0].second, "new SPC");
    EXPECT_EQ(L.Seen[1].second, "new SNES");
    EXPECT_EQ(L.Seen[1].first, static_cast<const void*>(SPC));
}

TEST_F(SPCTest, TruncatedAndGarbageFilesAreRefusedAndChangeNothing)
{
    ASSERT_TRUE(Load(BinaryTagSPC()));
    const auto Held = SPC->Image;

    Bytes Short = BlankSPC();
    Short.pop_back();
    const std::string Dir = TempDir();
    WriteBytes(Dir + "/short.spc", Short);
    tError Error;
    EXPECT_FALSE(SPC->LoadFromFile(Dir + "/short.spc", Error));
    EXPECT_EQ(Error.Reason.rfind("truncated SPC file", 0), 0u) << Error.Reason;

    Bytes Garbage(SPCLayout::FixedSize + 100, 'G');
    WriteBytes(Dir + "/garbage.spc", Garbage);
    EXPECT_FALSE(SPC->LoadFromFile(Dir + "/garbage.spc", Error));
    EXPECT_NE(Error.Reason.find("not an SPC file"), std::string::npos) << Error.Reason;

    EXPECT_FALSE(SPC->LoadFromMemory({}, Error));
    // The reader shows nothing itself.
    EXPECT_TRUE(Recorder.Log.empty());
    EXPECT_EQ(SPC->Image, Held);
}

} // namespace
