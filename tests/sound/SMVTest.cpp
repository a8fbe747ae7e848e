#include "cli/CliRun.h"

#include <cstring>

#include "app/MovieStart.h"
#include "cart/SNESCart.h"
#include "core/Broadcast.h"
#include "core/FileIO.h"
#include "core/Gzip.h"
#include "core/Options.h"
#include "core/SNES.h"
#include "savestates/S9X.h"
#include "sound/SMV.h"

namespace
{

void Put32(std::vector<uint8_t>& B, size_t At, uint32_t V)
{
    for (int i = 0; i < 4; ++i)
        B[At + i] = static_cast<uint8_t>(V >> (8 * i));
}

std::vector<uint8_t> UTF16(const std::u16string& S)
{
    std::vector<uint8_t> B;
    for (char16_t C : S) {
        B.push_back(static_cast<uint8_t>(C));
        B.push_back(static_cast<uint8_t>(C >> 8));
    }
    return B;
}

// A movie built piece by piece: header, metadata, ROM information when the
// sync byte asks for it, the gzip-packed start data, the controller data.
std::vector<uint8_t> MakeMovie(uint8_t Options, uint8_t Sync, const std::u16string& Meta, std::vector<uint8_t> Start,
                               const std::vector<uint8_t>& Input = {1, 2, 3, 4})
{
    std::vector<uint8_t> M(32, 0);
    std::memcpy(M.data(), "SMV\x1A", 4);
    Put32(M, 4, 4);          // version
    Put32(M, 8, 0x5F3A9C01); // identifier
    Put32(M, 12, 17);        // rerecords
    Put32(M, 16, 3600);      // frames
    M[20] = 0x05;            // controllers 1 and 3
    M[21] = Options;
    M[22] = Sync;
    const auto MetaBytes = UTF16(Meta);
    M.insert(M.end(), MetaBytes.begin(), MetaBytes.end());
    if (Sync & 0x40) {
        std::vector<uint8_t> Info(30, 0);
        Put32(Info, 3, 0xDEADBEEF);
        std::memcpy(Info.data() + 7, "SUPER TEST GAME", 15);
        M.insert(M.end(), Info.begin(), Info.end());
    }
    Put32(M, 24, static_cast<uint32_t>(M.size()));
    std::string Error;
    EXPECT_TRUE(GzipStream(Start, Error));
    M.insert(M.end(), Start.begin(), Start.end());
    Put32(M, 28, static_cast<uint32_t>(M.size()));
    M.insert(M.end(), Input.begin(), Input.end());
    return M;
}

TEST(SMV, SignatureTestNeedsAllFourBytesAndAFullHeader)
{
    tSMV S;
    auto Good = MakeMovie(0, 0, u"x", {1});
    EXPECT_TRUE(S.Parse(Good));

    auto Wrong = Good;
    Wrong[3] = 0x1B;
    EXPECT_FALSE(S.Parse(Wrong));
    EXPECT_FALSE(S.Valid);
    EXPECT_EQ(S.Signature(), "");
    EXPECT_EQ(S.FrameCount(), 0u); // the header is cleared, not left from before

    EXPECT_FALSE(S.Parse(std::span<const uint8_t>(Good).first(31)));
    EXPECT_FALSE(S.Parse({}));
}

TEST(SMV, HeaderFieldsAndROMInformation)
{
    tSMV S;
    ASSERT_TRUE(S.Parse(MakeMovie(0x02, 0x41, u"author: me", {9, 9})));
    EXPECT_EQ(S.FrameCount(), 3600u);
    EXPECT_TRUE(S.UsesController(0));
    EXPECT_FALSE(S.UsesController(1));
    EXPECT_TRUE(S.UsesController(2));
    EXPECT_FALSE(S.StartsFromSRAM());
    EXPECT_TRUE(S.PALTiming());
    EXPECT_TRUE(S.HasROMInfo);
    EXPECT_EQ(S.Metadata, "author: me");
    EXPECT_EQ(S.MetadataEnd, 32u + 20u);
    EXPECT_EQ(S.ROMCRC32(), 0xDEADBEEFu);
    EXPECT_EQ(S.ROMName(), "SUPER TEST GAME");
    EXPECT_EQ(S.Embedded, (std::vector<uint8_t>{9, 9}));
    EXPECT_EQ(S.ControllerData, (std::vector<uint8_t>{1, 2, 3, 4}));

    // Without ROM information the metadata runs to the quicksave.
    ASSERT_TRUE(S.Parse(MakeMovie(0, 0x01, u"no rom info here", {5})));
    EXPECT_FALSE(S.HasROMInfo);
    EXPECT_EQ(S.MetadataEnd, S.EmbeddedOffset());
}

TEST(SMV, SyncBitsCountOnlyWhenTheFirstIsSet)
{
    tSMV S;
    ASSERT_TRUE(S.Parse(MakeMovie(0, 0x7E, u"", {1})));
    for (int N = 0; N < 7; ++N)
        EXPECT_FALSE(S.SyncShown(N)) << N;
    ASSERT_TRUE(S.Parse(MakeMovie(0, 0x05, u"", {1})));
    EXPECT_TRUE(S.SyncShown(0));
    EXPECT_FALSE(S.SyncShown(1));
    EXPECT_TRUE(S.SyncShown(2));
}

TEST(SMV, HostileOffsetsAreClampedToTheFile)
{
    auto M = MakeMovie(0, 0x40, u"abc", {1});
    Put32(M, 24, 40); // ROM information would start before the metadata
    Put32(M, 28, 0xFFFFFFF0);
    tSMV S;
    ASSERT_TRUE(S.Parse(M));
    EXPECT_EQ(S.MetadataEnd, 10u);
    EXPECT_TRUE(S.Metadata.empty());
    EXPECT_TRUE(S.ControllerData.empty());
    // Bytes without a gzip header are taken as they are, up to the file's end.
    EXPECT_EQ(S.Embedded, std::vector<uint8_t>(M.begin() + 40, M.end()));

    Put32(M, 24, 0xFFFFFFFF); // metadata to the end of the file, nothing embedded
    ASSERT_TRUE(S.Parse(M));
    EXPECT_TRUE(S.Embedded.empty());
    EXPECT_NE(S.EmbeddedError.find("no embedded"), std::string::npos);
}

TEST(SMV, UTF16MetadataBecomesUTF8)
{
    EXPECT_EQ(UTF16LEToUTF8(UTF16(u"T\u00e9st \u65e5")), "T\xC3\xA9st \xE6\x97\xA5");
    EXPECT_EQ(UTF16LEToUTF8(UTF16(u"\U0001F600")), "\xF0\x9F\x98\x80");
    EXPECT_EQ(UTF16LEToUTF8(UTF16(u"ab\0cd")), "ab");
    std::vector<uint8_t> Lone = {0x00, 0xD8, 'x', 0};
    EXPECT_EQ(UTF16LEToUTF8(Lone), "\xEF\xBF\xBDx");
    EXPECT_EQ(UTF16LEToUTF8(std::vector<uint8_t>{'a', 0, 'b'}), "a");
}

class tMsgLog : public tReceiver
{
  public:
    std::vector<std::pair<const void*, std::string>> Seen;
    void Notify(const void* Sender, tNote Msg) override { Seen.emplace_back(Sender, std::string(Msg.Text())); }
};

class SMVLoadTest : public tModelTest
{
  protected:
    tMsgLog Log;
    std::string Dir;
    void SetUp() override
    {
        tModelTest::SetUp();
        RegisterReceiver(WindowSlot(1), &Log);
        Dir = TempDir();
    }
    void TearDown() override
    {
        RegisterReceiver(WindowSlot(1), nullptr);
        tModelTest::TearDown();
    }
};

TEST_F(SMVLoadTest, QuicksaveGoesToTheSnes9xReaderAndEveryViewFollows)
{
    Options().CBox_OpenCart = false;
    SNES->WRAM[1] = 0x77;
    SNES->CPU_A = 0x1234;
    S9X->MachineToBlocks();
    std::vector<uint8_t> State;
    std::string Error;
    ASSERT_TRUE(S9X->SaveToStream(State, Error)) << Error;
    WriteBytes(Dir + "/m.smv", MakeMovie(0, 0, u"", State));

    SNES->WRAM[0] = 0x55;
    SNES->WRAM[1] = 0;
    SNES->CPU_A = 0;
    Log.Seen.clear();
    tSMV S;
    ASSERT_TRUE(LoadMovie(S, Dir + "/m.smv"));
    EXPECT_EQ(SNES->WRAM[0], 0); // the state is the quicksave's, not a mix
    EXPECT_EQ(SNES->WRAM[1], 0x77);
    EXPECT_EQ(SNES->CPU_A, 0x1234);
    // The road of an opened savestate: "new savestate", then "new SNES",
    // both from the Snes9x object (followers may broadcast in between).
    std::vector<std::string> Ours;
    for (const auto& [Sender, Text] : Log.Seen)
        if (Sender == static_cast<const void*>(S9X))
            Ours.push_back(Text);
    EXPECT_EQ(Ours, (std::vector<std::string>{"new savestate", "new SNES"}));
    EXPECT_TRUE(Recorder.Log.empty());
}

TEST_F(SMVLoadTest, SRAMStartReplacesTheCartridgeSRAM)
{
    Cart->SRAM = {1, 2};
    WriteBytes(Dir + "/m.smv", MakeMovie(0x01, 0, u"", std::vector<uint8_t>(8192, 0xA5)));
    tSMV S;
    ASSERT_TRUE(LoadMovie(S, Dir + "/m.smv"));
    EXPECT_EQ(Cart->SRAM, std::vector<uint8_t>(8192, 0xA5));
    ASSERT_GE(Log.Seen.size(), 1u);
    EXPECT_EQ(Log.Seen[0].second, "new SRAM");
    EXPECT_EQ(Log.Seen[0].first, static_cast<const void*>(&S));
}

TEST_F(SMVLoadTest, ABadMovieChangesNothingAndOnlyADamagedOneIsReported)
{
    auto Damaged = MakeMovie(0x01, 0, u"", std::vector<uint8_t>(100, 1));
    Damaged[Damaged.size() - 10] ^= 0xFF; // inside the gzip trailer: CRC mismatch
    const struct {
        const char* What;
        std::vector<uint8_t> Movie;
        size_t Messages;
    } Cases[] = {
        {"refused quicksave", MakeMovie(0, 0, u"", std::vector<uint8_t>(300, 0x21)), 1},
        {"damaged SRAM start", Damaged, 1},
        {"no signature", std::vector<uint8_t>(64, 'S'), 0},
    };
    SNES->WRAM[7] = 0x99;
    Cart->SRAM = {1, 2};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.What);
        Recorder.Log.clear();
        WriteBytes(Dir + "/m.smv", C.Movie);
        tSMV S;
        EXPECT_FALSE(LoadMovie(S, Dir + "/m.smv"));
        EXPECT_EQ(SNES->WRAM[7], 0x99);
        EXPECT_EQ(Cart->SRAM, (std::vector<uint8_t>{1, 2}));
        EXPECT_TRUE(Log.Seen.empty());
        ASSERT_EQ(Recorder.Log.size(), C.Messages);
        if (C.Messages) {
            EXPECT_NE(Recorder.Log[0].Text.find("m.smv"), std::string::npos);
        }
    }
}

} // namespace

namespace
{

TEST(SMVCli, PrintsTheHeaderAndExtractsTheQuicksave)
{
    const std::string Dir = TempDir();
    std::vector<uint8_t> State(3000, 0x3C);
    WriteBytes(Dir + "/m.smv", MakeMovie(0, 0x41, u"by someone", State));
    const tCliRun R = RunCli("smv " + Dir + "/m.smv --extract-state " + Dir + "/out.000");
    ASSERT_EQ(R.Exit, 0) << R.Err;
    EXPECT_EQ(ReadBytes(Dir + "/out.000"), State);
    const std::string& S = R.Out;
    EXPECT_NE(S.find("\"by someone\""), std::string::npos);
    EXPECT_NE(S.find("SUPER TEST GAME"), std::string::npos);
    EXPECT_NE(S.find("DEADBEEF"), std::string::npos);
    EXPECT_NE(S.find("MOVIE_SYNC_DATA_EXISTS MOVIE_SYNC_HASROMINFO"), std::string::npos);

    // A movie that starts from SRAM has no quicksave to extract, and nothing is written.
    WriteBytes(Dir + "/s.smv", MakeMovie(1, 0, u"", {1, 2}));
    EXPECT_EQ(RunCli("smv " + Dir + "/s.smv --extract-state " + Dir + "/s.000").Exit, 1);
    EXPECT_FALSE(FileExists(Dir + "/s.000"));
}

} // namespace
