// A load commits or changes nothing: every real fixture loads, and damaged
// copies of it (half a file, random bytes, a folder, a foreign extension;
// the format suite cuts each format by one byte and gives it a hostile
// length) leave the machine state, the format images, the cartridge's
// save RAM and the remembered names byte for byte as they were.

#include "savestates/StateFixtures.h"

#include <random>

#include "app/Model.h"
#include "render/PPU.h"
#include "render/Renderer.h"
#include "sound/SPC.h"

namespace fs = std::filesystem;

namespace
{

class LoaderTest : public tStateTest
{
  protected:
    // Copies of Good that no reader may accept, each under a name the loader
    // sends to a reader or refuses outright.
    std::vector<std::string> DamagedCopies(const std::string& Good)
    {
        const std::vector<uint8_t> Bytes = ReadBytes(Good);
        const std::string Ext = fs::path(Good).extension().string();
        std::vector<std::string> Out;
        auto Put = [&](const std::string& Name, const std::vector<uint8_t>& Data) {
            WriteBytes(Dir + "/" + Name, Data);
            Out.push_back(Dir + "/" + Name);
        };
        Put("half" + Ext, std::vector<uint8_t>(Bytes.begin(), Bytes.begin() + static_cast<long>(Bytes.size() / 2)));
        std::mt19937 Random(7);
        std::vector<uint8_t> Noise(Bytes.size());
        for (uint8_t& B : Noise)
            B = static_cast<uint8_t>(Random());
        Put("noise" + Ext, Noise);
        Put("empty" + Ext, {});
        Put("copy.txt", Bytes);
        fs::create_directories(Dir + "/folder" + Ext);
        Out.push_back(Dir + "/folder" + Ext);
        Out.push_back(Dir + "/missing" + Ext);
        // A real file no reader takes: ZSNES 1.51 movies hold a packed image.
        for (const std::string& Movie : FixtureFiles("zsnes", ".zmv"))
            Out.push_back(Movie);
        return Out;
    }

    void RefusedCopiesChangeNothing(const std::string& Good)
    {
        SCOPED_TRACE(Good);
        ASSERT_TRUE(LoadSavestate(Good));
        const tSnapshot Before;
        for (const std::string& Bad : DamagedCopies(Good)) {
            SCOPED_TRACE(Bad);
            tError Error;
            EXPECT_FALSE(LoadSavestate(Bad, &Error));
            Before.ExpectNow();
        }
    }
};

TEST_F(LoaderTest, DamagedCopiesOfEveryFixtureLeaveTheLoadedStateAsItWas)
{
    REQUIRE_FIXTURES();
    std::vector<std::string> Files = FixtureFiles("snes9x", ".000");
    for (const std::string& F : FixtureFiles("zsnes", ".zst"))
        Files.push_back(F);
    ASSERT_FALSE(Files.empty());
    // And the own format, written from a ZSNES fixture.
    ASSERT_TRUE(LoadSavestate(Files.back()));
    ASSERT_TRUE(SaveState(*SSL, Dir + "/own.s01"));
    Files.push_back(Dir + "/own.s01");
    for (const std::string& F : Files)
        RefusedCopiesChangeNothing(F);
}

TEST_F(LoaderTest, ARefusedFileIsReportedOnceNamingTheFile)
{
    REQUIRE_FIXTURES();
    const auto Files = FixtureFiles("snes9x", ".000");
    ASSERT_FALSE(Files.empty());
    ASSERT_TRUE(LoadSavestate(Files.front()));
    const auto Bytes = ReadBytes(Files.front());
    WriteBytes(Dir + "/cut.000", std::vector<uint8_t>(Bytes.begin(), Bytes.end() - 1));
    Recorder.Log.clear();
    tError Error;
    EXPECT_FALSE(LoadSavestate(Dir + "/cut.000", &Error));
    ASSERT_EQ(Errors(Recorder).size(), 1u);
    EXPECT_EQ(Errors(Recorder)[0], Error.Describe(Dir + "/cut.000"));
    // A file no format takes is the caller's to explain: no message.
    Recorder.Log.clear();
    EXPECT_FALSE(LoadSavestate(Dir + "/nothing.txt"));
    EXPECT_TRUE(Recorder.Log.empty());
}

// Detection reads a bounded head: a packed Snes9x state whose end is cut
// off is still taken for one (its head inflates to the header), and it is
// the reader that refuses it, naming the file.
TEST_F(LoaderTest, DetectionInflatesOnlyTheHead)
{
    REQUIRE_FIXTURES();
    const auto Files = FixtureFiles("snes9x", ".000");
    ASSERT_FALSE(Files.empty());
    const auto Bytes = ReadBytes(Files.front());
    ASSERT_GT(Bytes.size(), tS9X::SignatureHeadSize * 2);
    WriteBytes(Dir + "/cut.000", std::vector<uint8_t>(Bytes.begin(), Bytes.begin() + tS9X::SignatureHeadSize * 2));
    EXPECT_EQ(DetectFormat(Dir + "/cut.000"), FormatS9X);
    Recorder.Log.clear();
    EXPECT_FALSE(LoadSavestate(Dir + "/cut.000"));
    ASSERT_EQ(Errors(Recorder).size(), 1u);
    EXPECT_EQ(Errors(Recorder)[0].rfind(Dir + "/cut.000: gzclose error", 0), 0u);
}

} // namespace

// A command may ask for a part of the model: the format of a file it loads
// is made on the way (not for a mere read), the other formats are not, and
// the state it loads is the one the whole model loads.
TEST_F(LoaderTest, APartOfTheModelMakesTheFormatsItLoads)
{
    const auto S9x = FixtureFiles("snes9x", ".000"), Zst = FixtureFiles("zsnes", ".zst");
    if (S9x.empty() || Zst.empty())
        GTEST_SKIP() << "fixtures not found";
    ASSERT_TRUE(LoadSavestate(S9x[0]));
    const std::vector<uint8_t> WRAM(SNES->WRAM.begin(), SNES->WRAM.end());
    const auto Palette = PPU->Palette;
    FreeModelObjects();
    CreateModelObjects(ModelSNES | ModelPPU);
    EXPECT_TRUE(!S9X && !ZST && !SPC && !Cart && !Renderer);
    tError Error;
    EXPECT_EQ(ReadSavestate(S9x[0], Error), FormatS9X);
    EXPECT_FALSE(S9X); // a read that loads nothing makes no format object
    ASSERT_TRUE(LoadSavestate(S9x[0]));
    EXPECT_TRUE(S9X && !ZST && !SSL && !SGT);
    EXPECT_TRUE(std::equal(WRAM.begin(), WRAM.end(), SNES->WRAM.begin()));
    EXPECT_EQ(PPU->Palette, Palette);
    ASSERT_TRUE(LoadSavestate(Zst[0]));
    EXPECT_TRUE(ZST && !SSL);

    // A view-only run reads into the program's state and makes no format
    // object; a file it cannot read leaves the state blank, not half read.
    FreeModelObjects();
    CreateModelObjects(ModelSNES | ModelPPU);
    SetViewOnlyLoads(true);
    ASSERT_TRUE(LoadSavestate(S9x[0]));
    EXPECT_FALSE(S9X);
    EXPECT_TRUE(std::equal(WRAM.begin(), WRAM.end(), SNES->WRAM.begin()));
    EXPECT_EQ(PPU->Palette, Palette);
    const std::vector<uint8_t> File = ReadBytes(S9x[0]);
    WriteBytes(Dir + "/half.000",
               std::vector<uint8_t>(File.begin(), File.begin() + static_cast<long>(File.size() / 2)));
    EXPECT_FALSE(LoadSavestate(Dir + "/half.000"));
    SetViewOnlyLoads(false);
    EXPECT_TRUE(*SNES == *std::make_unique<tSNES>());
}
