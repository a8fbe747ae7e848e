#include "TestSupport.h"

#include <algorithm>
#include <cstring>

#include "app/Cartridge.h"
#include "app/Loader.h"
#include "cart/CartTestROM.h"
#include "cart/IPS.h"
#include "cart/SNESCart.h"
#include "cart/ZipWriter.h"
#include "core/Broadcast.h"
#include "core/Options.h"
#include "core/SNES.h"
#include "savestates/ZSTLayout.h"

namespace
{

// Counts the cartridge messages as a window in the browser's slot would.
class tCartWatcher : public tReceiver
{
  public:
    int NewCart = 0, NewCartROM = 0;
    void Notify(const void*, tNote Msg) override
    {
        NewCart += Msg == Note::NewCart;
        NewCartROM += Msg == Note::NewCartROM;
    }
};

class CartTest : public tModelTest
{
  protected:
    std::string Dir;
    tCartWatcher Watcher;
    void SetUp() override
    {
        tModelTest::SetUp();
        Dir = TempDir();
        LastMissingBase.clear();
        RegisterReceiver(WindowSlot(0), &Watcher);
    }
    void TearDown() override
    {
        RegisterReceiver(WindowSlot(0), nullptr);
        tModelTest::TearDown();
    }
    std::string Path(const std::string& Name) const { return Dir + "/" + Name; }
    // Messages whose first line is Text (a second line may name the file).
    int Count(const std::string& Text) const
    {
        return static_cast<int>(std::count_if(Recorder.Log.begin(), Recorder.Log.end(), [&](const tRecordedMessage& M) {
            return M.Text.substr(0, M.Text.find('\n')) == Text;
        }));
    }
};

std::vector<uint8_t> WithCopierHeader(const std::vector<uint8_t>& ROM, size_t HeaderSize)
{
    std::vector<uint8_t> File(HeaderSize + ROM.size(), 0xCC);
    std::copy(ROM.begin(), ROM.end(), File.begin() + static_cast<std::ptrdiff_t>(HeaderSize));
    return File;
}

TEST_F(CartTest, CopierHeaderIsTheSizeModulo32KiB)
{
    const auto ROM = MakeTestROM(1 << 20, tMapMode::LoROM);
    WriteBytes(Path("a.smc"), WithCopierHeader(ROM, 512));
    ASSERT_TRUE(OpenCartridge(Path("a.smc")));
    EXPECT_EQ(Cart->CopierHeaderSize(), 512u);
    EXPECT_EQ(Cart->FileData, std::vector<uint8_t>(512, 0xCC));
    EXPECT_EQ(Cart->ROM, ROM);
    EXPECT_EQ(Watcher.NewCart, 1);
    EXPECT_EQ(Watcher.NewCartROM, 1);

    std::vector<uint8_t> Exact(32768, 0x5A);
    WriteBytes(Path("b.sfc"), Exact);
    ASSERT_TRUE(OpenCartridge(Path("b.sfc")));
    EXPECT_EQ(Cart->CopierHeaderSize(), 0u);
    EXPECT_EQ(Cart->ROMSize(), 32768u);
    EXPECT_TRUE(Recorder.Log.empty());
}

// Which header the search finds is the header tests' business, and that a
// loaded cartridge follows it (HiROM, header at $FFB0) the IPS tests'.
TEST_F(CartTest, AMapModeWhoseHeaderDoesNotFitIsRefused)
{
    WriteBytes(Path("hi.sfc"), MakeTestROM(1 << 20, tMapMode::HiROM));
    ASSERT_TRUE(OpenCartridge(Path("hi.sfc")));
    ASSERT_TRUE(Cart->HiROM);
    // A 32 KiB image has no room for a HiROM header: the tab springs back, and
    // nothing of the HiROM cartridge before it stays.
    WriteBytes(Path("small.sfc"), std::vector<uint8_t>(32 * 1024, 0));
    ASSERT_TRUE(OpenCartridge(Path("small.sfc")));
    EXPECT_FALSE(Cart->SelectMapMode(tMapMode::HiROM));
    EXPECT_EQ(Cart->MapMode, tMapMode::LoROM);
    EXPECT_FALSE(Cart->HiROM);
    EXPECT_EQ(Cart->Header() - Cart->ROMData(), 0x7FB0);
}

TEST_F(CartTest, ZipArchiveGivesItsFirstEntryOnlyAndUpperCaseZipIsPlain)
{
    const auto ROM = MakeTestROM(65536, tMapMode::LoROM);
    ASSERT_TRUE(WriteZip(Path("z.zip"), {{"readme.txt", WithCopierHeader(ROM, 512)}, {"other.sfc", {1, 2, 3}}}));
    ASSERT_TRUE(OpenCartridge(Path("z.zip")));
    EXPECT_EQ(Cart->CopierHeaderSize(), 512u);
    EXPECT_EQ(Cart->ROM, ROM);
    EXPECT_EQ(Cart->FileName, Path("z.zip"));
    // Only a lower-case ".zip" is an archive.
    std::vector<uint8_t> Bytes(65536, 0x77);
    WriteBytes(Path("plain.ZIP"), Bytes);
    ASSERT_TRUE(OpenCartridge(Path("plain.ZIP")));
    EXPECT_EQ(Cart->ROM, Bytes);
    EXPECT_TRUE(Recorder.Log.empty());
}

TEST_F(CartTest, SRAMComesFromTheSrmFileBesideTheROMAndAnUnreadableOneIsShown)
{
    WriteBytes(Path("s.sfc"), std::vector<uint8_t>(32768, 1));
    ASSERT_TRUE(OpenCartridge(Path("s.sfc")));
    EXPECT_TRUE(Cart->SRAM.empty());
    EXPECT_TRUE(Recorder.Log.empty());
    // Too large: the cartridge loads without it.
    WriteBytes(Path("s.srm"), std::vector<uint8_t>(MaxSRAMFileSize + 1, 2));
    ASSERT_TRUE(OpenCartridge(Path("s.sfc")));
    EXPECT_TRUE(Cart->SRAM.empty());
    ASSERT_EQ(Recorder.Log.size(), 1u);
    EXPECT_EQ(Recorder.Log[0].Text.rfind(Path("s.srm") + ": SRAM not loaded: file too large", 0), 0u)
        << Recorder.Log[0].Text;
    // A readable one is taken and clears the problem.
    WriteBytes(Path("s.srm"), std::vector<uint8_t>(8192, 2));
    ASSERT_TRUE(OpenCartridge(Path("s.sfc")));
    EXPECT_EQ(Cart->SRAM, std::vector<uint8_t>(8192, 2));
    EXPECT_TRUE(Cart->SRAMError.Empty());
    EXPECT_EQ(Recorder.Log.size(), 1u);
}

// Rewrites the declared uncompressed size of the only entry, in its local
// header and in the central directory.
void DeclareSize(std::vector<uint8_t>& Zip, uint32_t Size)
{
    auto Put = [&](size_t At) {
        for (int i = 0; i < 4; ++i)
            Zip[At + i] = static_cast<uint8_t>(Size >> (8 * i));
    };
    for (size_t i = 0; i + 4 <= Zip.size(); ++i) {
        if (Zip[i] == 'P' && Zip[i + 1] == 'K' && Zip[i + 2] == 3 && Zip[i + 3] == 4)
            Put(i + 22);
        if (Zip[i] == 'P' && Zip[i + 1] == 'K' && Zip[i + 2] == 1 && Zip[i + 3] == 2)
            Put(i + 24);
    }
}

TEST_F(CartTest, ABadFileIsNamedWithItsReasonAndKeepsThePreviousCartridge)
{
    WriteBytes(Path("keep.smc"), WithCopierHeader(std::vector<uint8_t>(65536, 9), 512));
    ASSERT_TRUE(OpenCartridge(Path("keep.smc")));
    const auto Header = Cart->FileData;

    WriteBytes(Path("tiny.sfc"), std::vector<uint8_t>(CopierHeaderUnit - 1, 1));
    WriteBytes(Path("bad.zip"), {'P', 'K', 3, 4, 0, 0, 0});
    // Declared (and real) size just over the bound: compresses to a few KiB.
    ASSERT_TRUE(WriteZip(Path("huge.zip"), {{"huge.sfc", std::vector<uint8_t>(MaxCartFileSize + 1, 0)}}));
    // An entry holding more data than its header declares.
    ASSERT_TRUE(WriteZip(Path("lie.zip"), {{"lie.sfc", std::vector<uint8_t>(200000, 3)}}));
    auto Zip = ReadBytes(Path("lie.zip"));
    DeclareSize(Zip, 1000);
    WriteBytes(Path("lie.zip"), Zip);

    const std::string Unzip = "Could not load zipped file.\n";
    const struct {
        const char* Name;
        std::string Says;
    } Cases[] = {
        {"missing.sfc", Path("missing.sfc") + ": "},
        {"tiny.sfc", Path("tiny.sfc") + ": cannot load the cartridge: 32767 bytes hold no ROM"},
        {"bad.zip", Unzip + Path("bad.zip") + ": "},
        {"absent.zip", Unzip + Path("absent.zip") + ": "},
        {"huge.zip", Unzip + Path("huge.zip") + ": "},
        {"lie.zip", Unzip + Path("lie.zip") + ": "},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Recorder.Log.clear();
        EXPECT_FALSE(OpenCartridge(Path(C.Name)));
        ASSERT_EQ(Recorder.Log.size(), 1u);
        EXPECT_EQ(Recorder.Log[0].Kind, "error");
        EXPECT_NE(Recorder.Log[0].Text.find(C.Says), std::string::npos) << Recorder.Log[0].Text;
        EXPECT_EQ(Cart->FileName, Path("keep.smc"));
        EXPECT_EQ(Cart->FileData, Header);
        EXPECT_EQ(Cart->ROM, std::vector<uint8_t>(65536, 9));
    }
    // The reader itself shows nothing: the reason is its result.
    Recorder.Log.clear();
    tError Error;
    EXPECT_FALSE(Cart->LoadFromFile(Path("tiny.sfc"), Error));
    EXPECT_TRUE(Recorder.Log.empty());
    EXPECT_EQ(Error.Reason.rfind("cannot load the cartridge: 32767 bytes hold no ROM", 0), 0u) << Error.Reason;
}

TEST_F(CartTest, SavestateFindsItsCartridgeInExtensionOrder)
{
    WriteBytes(Path("x.smc"), std::vector<uint8_t>(32768, 2));
    WriteBytes(Path("x.sfc"), std::vector<uint8_t>(32768, 1));
    WriteBytes(Path("x.usa"), std::vector<uint8_t>(32768, 3));
    ASSERT_TRUE(Cart->FindForSavestate(Path("x.zst")));
    EXPECT_EQ(Cart->FileName, Path("x.sfc"));
    EXPECT_EQ(Watcher.NewCart, 1);
    // The same cartridge is not loaded twice.
    ASSERT_TRUE(Cart->FindForSavestate(Path("x.zs1")));
    EXPECT_EQ(Watcher.NewCart, 1);

    // The option's list decides the order.
    Options().Memo_CartExts = {"usa", " smc sfc"};
    ASSERT_TRUE(Cart->FindForSavestate(Path("x.000")));
    EXPECT_EQ(Cart->FileName, Path("x.usa"));
    EXPECT_TRUE(Recorder.Log.empty());

    // A zip archive is tried after the listed extensions.
    ASSERT_TRUE(WriteZip(Path("y.zip"), {{"y.sfc", std::vector<uint8_t>(32768, 4)}}));
    ASSERT_TRUE(Cart->FindForSavestate(Path("y.zst")));
    EXPECT_EQ(Cart->FileName, Path("y.zip"));
    EXPECT_EQ(Cart->ROM, std::vector<uint8_t>(32768, 4));
}

TEST_F(CartTest, CartridgeNotFoundIsShownOncePerBaseName)
{
    WriteBytes(Path("have.sfc"), std::vector<uint8_t>(32768, 1));
    ASSERT_TRUE(OpenCartridge(Path("have.sfc")));

    EXPECT_FALSE(Cart->FindForSavestate(Path("none.zst")));
    ASSERT_EQ(Recorder.Log.size(), 1u);
    EXPECT_EQ(Recorder.Log[0].Kind, "notice");
    EXPECT_EQ(Recorder.Log[0].Text, "Cartridge not found.");
    EXPECT_EQ(Recorder.Log[0].Button, "Ignore");
    // The cartridge of another game does not stay beside the state.
    EXPECT_TRUE(Cart->ROM.empty());
    EXPECT_TRUE(Cart->FileName.empty());

    EXPECT_FALSE(Cart->FindForSavestate(Path("none.zs3")));
    EXPECT_EQ(Count("Cartridge not found."), 1);
    EXPECT_FALSE(Cart->FindForSavestate(Path("other.zst")));
    EXPECT_EQ(Count("Cartridge not found."), 2);
    EXPECT_FALSE(Cart->FindForSavestate(Path("none.zst")));
    EXPECT_EQ(Count("Cartridge not found."), 3);
}

TEST_F(CartTest, NewSavestateLoadsTheCartridgeOnlyWithTheOption)
{
    WriteBytes(Path("s.sfc"), std::vector<uint8_t>(32768, 1));
    // A whole ZSNES image without the sound part: only a load that succeeds
    // announces a new savestate.
    const std::string Head = std::string(ZSTLayout::Signature) + "0.6\x1A\x3C";
    std::vector<uint8_t> State(Head.begin(), Head.end());
    State.resize(ZSTLayout::ImageSizeNoSound, 0);
    WriteBytes(Path("s.zst"), State);
    Options().CBox_OpenCart = false;
    LoadSavestate(Path("s.zst"));
    EXPECT_TRUE(Cart->FileName.empty());
    Options().CBox_OpenCart = true;
    LoadSavestate(Path("s.zst"));
    EXPECT_EQ(Cart->FileName, Path("s.sfc"));
}

TEST_F(CartTest, ExtensionHelpersLookAtTheLastPathPartOnly)
{
    EXPECT_EQ(ReplaceExtension("/a.b/game.sfc", ".srm"), "/a.b/game.srm");
    EXPECT_EQ(ReplaceExtension("/a.b/game", ".srm"), "/a.b/game.srm");
    EXPECT_EQ(ExtensionOf("/a.b/game"), "");
    EXPECT_EQ(ExtensionOf("x.tar.zip"), ".zip");
}

} // namespace
