#include "TestSupport.h"

#include <string>

#include "app/Cartridge.h"
#include "cart/CartTestROM.h"
#include "cart/IPS.h"
#include "cart/SNESCart.h"
#include "core/Options.h"

namespace
{

// Patch bytes from pieces: text, 24-bit offsets, 16-bit sizes, raw bytes.
struct tPatch {
    std::vector<uint8_t> B;
    tPatch& Text(const std::string& S)
    {
        B.insert(B.end(), S.begin(), S.end());
        return *this;
    }
    tPatch& Off(uint32_t O)
    {
        B.push_back(static_cast<uint8_t>(O >> 16));
        B.push_back(static_cast<uint8_t>(O >> 8));
        B.push_back(static_cast<uint8_t>(O));
        return *this;
    }
    tPatch& W16(uint16_t V)
    {
        B.push_back(static_cast<uint8_t>(V >> 8));
        B.push_back(static_cast<uint8_t>(V));
        return *this;
    }
    tPatch& Bytes(std::initializer_list<uint8_t> L)
    {
        B.insert(B.end(), L);
        return *this;
    }
};

TEST(ApplyIPS, RecordsAndRunsWriteAtTheirOffsets)
{
    std::vector<uint8_t> ROM(16, 0);
    auto P = tPatch().Text("PATCH").Off(0).W16(1).Bytes({0xAB}).Off(4).W16(0).W16(3).Bytes({0x55}).Text("EOF");
    const tIPSResult R = ApplyIPS(P.B, ROM);
    EXPECT_TRUE(R.Signature);
    EXPECT_TRUE(R.EndMarker);
    EXPECT_FALSE(R.Truncated);
    EXPECT_EQ(R.Records, 2u);
    EXPECT_EQ(ROM, (std::vector<uint8_t>{0xAB, 0, 0, 0, 0x55, 0x55, 0x55, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(ApplyIPS, PatchesThatChangeNothing)
{
    std::vector<uint8_t> ROM(8, 1);
    const tIPSResult R = ApplyIPS(tPatch().Text("PATCHEOF").B, ROM);
    EXPECT_TRUE(R.Signature && R.EndMarker);
    EXPECT_EQ(R.Records, 0u);
    // Runs of length zero write nothing and do not grow the ROM.
    ApplyIPS(tPatch().Text("PATCH").Off(2).W16(0).W16(0).Bytes({9}).Off(100).W16(0).W16(0).Bytes({9}).Text("EOF").B,
             ROM);
    // Some patchers append a 3-byte truncation size after "EOF"; it is not read.
    ApplyIPS(tPatch().Text("PATCHEOF").Off(2).W16(1).Bytes({7}).B, ROM);
    EXPECT_EQ(ROM, std::vector<uint8_t>(8, 1));
    // A wrong or short signature applies nothing.
    for (const std::string& Head : {std::string("PATCX"), std::string("PATC"), std::string()}) {
        EXPECT_FALSE(ApplyIPS(tPatch().Text(Head).Off(0).W16(1).Bytes({7}).Text("EOF").B, ROM).Signature) << Head;
        EXPECT_EQ(ROM, std::vector<uint8_t>(8, 1)) << Head;
    }
}

TEST(ApplyIPS, RecordsPastTheEndGrowTheROMWithZeroGaps)
{
    std::vector<uint8_t> ROM(4, 1);
    const tIPSResult R =
        ApplyIPS(tPatch().Text("PATCH").Off(6).W16(2).Bytes({8, 9}).Off(8).W16(0).W16(2).Bytes({5}).Text("EOF").B, ROM);
    EXPECT_EQ(ROM, (std::vector<uint8_t>{1, 1, 1, 1, 0, 0, 8, 9, 5, 5}));
    EXPECT_EQ(R.GrownBy, 6u);
}

TEST(ApplyIPS, GrowthStopsAtTheLargestReachableOffset)
{
    std::vector<uint8_t> ROM;
    ApplyIPS(tPatch().Text("PATCH").Off(0xFFFFFF).W16(0).W16(0xFFFF).Bytes({1}).Text("EOF").B, ROM);
    EXPECT_EQ(ROM.size(), 0xFFFFFFu + 0xFFFFu);
    EXPECT_LE(ROM.size(), MaxPatchedROMSize);
    EXPECT_EQ(ROM.back(), 1);
}

TEST(ApplyIPS, TruncatedRecordsKeepWhatCameBefore)
{
    const auto Good = tPatch().Text("PATCH").Off(0).W16(1).Bytes({0xAA});
    struct tCase {
        const char* What;
        std::vector<uint8_t> Tail;
        std::vector<uint8_t> Expect;
    } Cases[] = {
        {"cut offset", {0x00, 0x01}, {0xAA, 0, 0, 0}},
        {"cut size", {0x00, 0x00, 0x02, 0x00}, {0xAA, 0, 0, 0}},
        {"cut data", {0x00, 0x00, 0x02, 0x00, 0x02, 0xBB}, {0xAA, 0, 0xBB, 0}},
        {"cut run", {0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02}, {0xAA, 0, 0, 0}},
    };
    for (const tCase& C : Cases) {
        std::vector<uint8_t> ROM(4, 0);
        auto P = Good.B;
        P.insert(P.end(), C.Tail.begin(), C.Tail.end());
        const tIPSResult R = ApplyIPS(P, ROM);
        EXPECT_TRUE(R.Truncated) << C.What;
        EXPECT_FALSE(R.EndMarker) << C.What;
        EXPECT_EQ(ROM, C.Expect) << C.What;
    }
}

class IPSTest : public tModelTest
{
  protected:
    std::string Dir;
    void SetUp() override
    {
        tModelTest::SetUp();
        Dir = TempDir();
    }
    size_t Notices() const
    {
        size_t N = 0;
        for (const auto& M : Recorder.Log)
            N += M.Kind == "notice" && M.Text == "An IPS file has been applied to the ROM." && M.Button == "OK";
        return N;
    }
};

TEST_F(IPSTest, PatchBesideTheCartridgeIsAppliedBelowTheCopierHeader)
{
    std::vector<uint8_t> File(512 + 32768, 0);
    WriteBytes(Dir + "/g.smc", File);
    WriteBytes(Dir + "/g.ips", tPatch().Text("PATCH").Off(0).W16(1).Bytes({0x99}).Text("EOF").B);
    ASSERT_TRUE(OpenCartridge(Dir + "/g.smc"));
    EXPECT_EQ(Cart->ROM[0], 0x99);
    EXPECT_EQ(Cart->FileData[0], 0);
    EXPECT_EQ(Notices(), 1u);
    EXPECT_EQ(IPS->LastPatchName, Dir + "/g.ips");
    // The file on disk stays as it was.
    EXPECT_EQ(ReadBytes(Dir + "/g.smc"), File);
}

TEST_F(IPSTest, EveryPatchFileIsAnnouncedUnlessTheOptionsSayNot)
{
    WriteBytes(Dir + "/g.sfc", std::vector<uint8_t>(32768, 3));
    // Even an empty or a wrong patch file gets the message.
    WriteBytes(Dir + "/g.ips", tPatch().Text("PATCHEOF").B);
    ASSERT_TRUE(OpenCartridge(Dir + "/g.sfc"));
    EXPECT_EQ(Notices(), 1u);
    WriteBytes(Dir + "/g.ips", tPatch().Text("NOPE!").B);
    ASSERT_TRUE(OpenCartridge(Dir + "/g.sfc"));
    EXPECT_EQ(Notices(), 2u);
    EXPECT_EQ(Cart->ROM, std::vector<uint8_t>(32768, 3));

    WriteBytes(Dir + "/g.ips", tPatch().Text("PATCH").Off(1).W16(1).Bytes({0x99}).Text("EOF").B);
    Options().CBox_OpenIPSMsg = false;
    ASSERT_TRUE(OpenCartridge(Dir + "/g.sfc"));
    EXPECT_EQ(Cart->ROM[1], 0x99);
    EXPECT_EQ(Notices(), 2u);
    Options().CBox_OpenIPS = false;
    ASSERT_TRUE(OpenCartridge(Dir + "/g.sfc"));
    EXPECT_EQ(Cart->ROM[1], 3);

    // No patch file: nothing at all.
    Options().CBox_OpenIPS = Options().CBox_OpenIPSMsg = true;
    WriteBytes(Dir + "/h.sfc", std::vector<uint8_t>(32768, 3));
    ASSERT_TRUE(OpenCartridge(Dir + "/h.sfc"));
    EXPECT_EQ(Notices(), 2u);
    EXPECT_TRUE(IPS->LastPatchName.empty());
}

TEST_F(IPSTest, GrownROMIsWhatTheHeaderAndMapModeSee)
{
    // A 32 KiB LoROM image patched into a 64 KiB HiROM one: the header the
    // patch adds at $FFB0 is found after the patch ran.
    const auto Hi = MakeTestROM(65536, tMapMode::HiROM);
    WriteBytes(Dir + "/g.sfc", std::vector<uint8_t>(Hi.begin(), Hi.begin() + 32768));
    tPatch P;
    P.Text("PATCH").Off(32768).W16(32768);
    P.B.insert(P.B.end(), Hi.begin() + 32768, Hi.end());
    WriteBytes(Dir + "/g.ips", P.Text("EOF").B);
    ASSERT_TRUE(OpenCartridge(Dir + "/g.sfc"));
    EXPECT_EQ(Cart->ROM, Hi);
    EXPECT_EQ(Cart->MapMode, tMapMode::HiROM);
    EXPECT_TRUE(Cart->HiROM);
    ASSERT_NE(Cart->Header(), nullptr);
    EXPECT_EQ(Cart->Header(), Cart->ROMData() + 0xFFB0);
}

} // namespace
