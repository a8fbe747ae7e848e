// A load commits or changes nothing: every real fixture loads, and damaged
// copies of it (cut, hostile lengths, random bytes, a folder, a foreign
// extension) leave the machine state, the format images, the cartridge's
// save RAM and the remembered names byte for byte as they were.

#include "savestates/StateFixtures.h"

#include <memory>
#include <random>

#include "app/Loader.h"
#include "cart/SNESCart.h"
#include "core/Broadcast.h"
#include "core/Gzip.h"
#include "core/Options.h"
#include "core/SNES.h"
#include "savestates/S9X.h"
#include "savestates/SGT.h"
#include "savestates/SSL.h"
#include "savestates/ZST.h"

namespace fs = std::filesystem;

namespace
{

// Everything a load may change.
struct tSnapshot {
    std::unique_ptr<tSNES> State = std::make_unique<tSNES>();
    std::unique_ptr<tZSTImage> ZSTPart = std::make_unique<tZSTImage>();
    std::unique_ptr<tS9XImage> S9XPart = std::make_unique<tS9XImage>();
    std::unique_ptr<tSSLImage> SSLPart = std::make_unique<tSSLImage>();
    std::vector<uint8_t> SGTWRAM, SRAM;
    std::vector<std::string> Names;
    uint8_t Format = 0, Kind = 0;

    tSnapshot()
    {
        *State = *SNES;
        *ZSTPart = static_cast<const tZSTImage&>(*ZST);
        *S9XPart = static_cast<const tS9XImage&>(*S9X);
        *SSLPart = static_cast<const tSSLImage&>(*SSL);
        SGTWRAM.assign(SGT->WRAM.begin(), SGT->WRAM.end());
        SRAM = Cart->SRAM;
        Names = {StateFileName, StateFileBase, StateFileDir, StateFileTitle, StateFileExt, StateSlot};
        Format = StateFormat;
        Kind = StateKind;
    }

    void ExpectNow() const
    {
        EXPECT_TRUE(*SNES == *State);
        const tZSTImage& Z = *ZST;
        EXPECT_EQ(Z.StateImage, ZSTPart->StateImage);
        EXPECT_EQ(Z.FileStream, ZSTPart->FileStream);
        EXPECT_EQ(Z.Rest, ZSTPart->Rest);
        EXPECT_EQ(Z.Preview, ZSTPart->Preview);
        EXPECT_EQ(Z.HasPreview, ZSTPart->HasPreview);
        EXPECT_EQ(S9X->Blocks.Data, S9XPart->Blocks.Data);
        EXPECT_EQ(S9X->Blocks.Name, S9XPart->Blocks.Name);
        EXPECT_EQ(S9X->FileBlocks, S9XPart->FileBlocks);
        EXPECT_EQ(S9X->FromFile(), S9XPart->ReadFromFile);
        EXPECT_EQ(SSL->WRAM, SSLPart->WRAM);
        EXPECT_EQ(SSL->SPPU, SSLPart->SPPU);
        EXPECT_EQ(SSL->SRAMStream, SSLPart->SRAMStream);
        EXPECT_TRUE(std::equal(SGT->WRAM.begin(), SGT->WRAM.end(), SGTWRAM.begin()));
        EXPECT_EQ(Cart->SRAM, SRAM);
        EXPECT_EQ((std::vector<std::string>{StateFileName, StateFileBase, StateFileDir, StateFileTitle, StateFileExt,
                                            StateSlot}),
                  Names);
        EXPECT_EQ(StateFormat, Format);
        EXPECT_EQ(StateKind, Kind);
    }
};

class LoaderTest : public tModelTest
{
  protected:
    std::string Dir;
    void SetUp() override
    {
        tModelTest::SetUp();
        Dir = TempDir();
        // The cartridge lookup would only add notices about a missing ROM.
        Options().CBox_OpenCart = false;
    }

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
        if (Ext == ".000") {
            // Cut by one byte inside the gzip stream, and a block length far
            // past the end of the plain content.
            Put("cut" + Ext, std::vector<uint8_t>(Bytes.begin(), Bytes.end() - 1));
            std::vector<uint8_t> Plain = Bytes;
            std::string Error;
            EXPECT_TRUE(GunzipStream(Plain, Error));
            const std::string Head = "PPU:";
            auto At = std::search(Plain.begin(), Plain.end(), Head.begin(), Head.end());
            EXPECT_NE(At, Plain.end());
            if (At != Plain.end()) {
                const std::string Hostile = "PPU:999999:";
                std::copy(Hostile.begin(), Hostile.end(), At);
            }
            Put("hostile" + Ext, Plain);
        } else if (Ext == ".s01") {
            Put("cut" + Ext, std::vector<uint8_t>(Bytes.begin(), Bytes.end() - 1));
            // The first chunk's length, as large as it gets.
            std::vector<uint8_t> Hostile = Bytes;
            std::fill(Hostile.begin() + 4, Hostile.begin() + 8, 0xFF);
            Put("hostile" + Ext, Hostile);
        } else {
            // A ZSNES image cut one byte short of its fixed part.
            const size_t Image = Bytes[ZSTLayout::SPCOn] ? ZSTLayout::ImageSize : ZSTLayout::ImageSizeNoSound;
            if (Bytes.size() >= Image)
                Put("cut" + Ext, std::vector<uint8_t>(Bytes.begin(), Bytes.begin() + static_cast<long>(Image - 1)));
        }
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
    for (const std::string& F : Files)
        RefusedCopiesChangeNothing(F);
}

TEST_F(LoaderTest, DamagedCopiesOfTheOwnFormatLeaveTheLoadedStateAsItWas)
{
    REQUIRE_FIXTURES();
    const auto Files = FixtureFiles("zsnes", ".zst");
    ASSERT_FALSE(Files.empty());
    ASSERT_TRUE(LoadSavestate(Files.front()));
    std::vector<uint8_t> Out;
    SSL->SaveToStream(Out);
    WriteBytes(Dir + "/own.s01", Out);
    RefusedCopiesChangeNothing(Dir + "/own.s01");
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
