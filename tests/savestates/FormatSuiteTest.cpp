// One suite every savestate format runs through (GoogleTest typed tests):
// its files load through the loader, a written file reloads to the same
// state, a state converted from another format reloads, a file cut by one
// byte and one with a hostile length are refused and change nothing, and
// the format object keeps its image on its own broadcasts and follows the
// machine state on everyone else's. What only one format has stays in its
// own test file.

#include "savestates/SGTFiles.h"
#include "savestates/StateFixtures.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <tuple>

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

namespace
{

// Registers the ZSNES image holds (with the bits it keeps) and Snes9x holds whole.
constexpr std::pair<uint16_t, uint8_t> MappedRegisters[] = {
    {0x2100, 0x8F}, {0x2101, 0xFF}, {0x2102, 0xFF}, {0x2103, 0x81}, {0x2105, 0xFF}, {0x2106, 0xFF}, {0x2107, 0x7F},
    {0x2108, 0x7F}, {0x2109, 0x7F}, {0x210A, 0x7F}, {0x210B, 0x77}, {0x210C, 0x77}, {0x2115, 0xFF}, {0x2116, 0xFF},
    {0x2117, 0x7F}, {0x211A, 0xFF}, {0x2121, 0xFF}, {0x2123, 0xFF}, {0x2124, 0xFF}, {0x2125, 0xFF}, {0x2126, 0xFF},
    {0x2127, 0xFF}, {0x2128, 0xFF}, {0x2129, 0xFF}, {0x212A, 0xFF}, {0x212B, 0xFF}, {0x212C, 0xFF}, {0x212D, 0xFF},
    {0x212E, 0xFF}, {0x212F, 0xFF}, {0x2130, 0xFF}, {0x2131, 0xFF}, {0x2133, 0x45}, {0x2134, 0xFF}, {0x2135, 0xFF},
    {0x2136, 0xFF}, {0x2140, 0xFF}, {0x2141, 0xFF}, {0x2142, 0xFF}, {0x2143, 0xFF}, {0x2181, 0xFF}, {0x2182, 0xFF},
    {0x2183, 0x01}, {0x4200, 0xFF}, {0x4201, 0xFF}, {0x4202, 0xFF}, {0x4204, 0xFF}, {0x4205, 0xFF}, {0x4207, 0xFF},
    {0x4208, 0x01}, {0x4209, 0xFF}, {0x420A, 0x01}, {0x420C, 0xFF}, {0x420D, 0x01}, {0x4211, 0xFF}, {0x4214, 0xFF},
    {0x4215, 0xFF}, {0x4216, 0xFF}, {0x4217, 0xFF}};

// Through the own format (Own) every stored register returns whole; through
// ZSNES and Snes9x, the bits the ZSNES image keeps.
void ExpectKept(const tSNES& A, const tSNES& B, bool Own = false)
{
    if (Own) {
        for (uint32_t R = 0x2100; R < 0x4380; ++R) {
            if (SSLStored(R)) {
                ASSERT_EQ(A.Regs[R], B.Regs[R]) << "register $" << std::hex << R;
            }
        }
    }
    EXPECT_TRUE(std::tie(A.WRAM, A.VRAM, A.CGRAM, A.OAM) == std::tie(B.WRAM, B.VRAM, B.CGRAM, B.OAM));
    // A state without sound reaches Snes9x with the SPC700 powering on.
    const bool Sound = A.SPC_PC != 0 || std::any_of(A.APU_RAM.begin(), A.APU_RAM.end(), [](uint8_t V) { return V; });
    if (Sound) {
        EXPECT_TRUE(A.APU_RAM == B.APU_RAM && std::equal(A.DSP.begin(), A.DSP.begin() + 128, B.DSP.begin()));
        EXPECT_EQ(std::tie(A.SPC_PC, A.SPC_PSW, A.SPC_SP, A.SPC_X, A.SPC_YA),
                  std::tie(B.SPC_PC, B.SPC_PSW, B.SPC_SP, B.SPC_X, B.SPC_YA));
    }
    for (auto [Address, Mask] : MappedRegisters) {
        if (!Own) {
            EXPECT_EQ(A.Regs[Address] & Mask, B.Regs[Address] & Mask) << std::hex << Address;
        }
    }
    EXPECT_EQ(A.Regs[0x2101] & 0x1F, B.Regs[0x2101] & 0x1F);
    EXPECT_TRUE(std::equal(&A.Regs[0x4300], &A.Regs[0x4380], &B.Regs[0x4300]));
    EXPECT_EQ(std::tie(A.CPU_A, A.CPU_X, A.CPU_Y, A.CPU_S, A.CPU_D, A.CPU_DB, A.CPU_PC, A.CPU_P),
              std::tie(B.CPU_A, B.CPU_X, B.CPU_Y, B.CPU_S, B.CPU_D, B.CPU_DB, B.CPU_PC, B.CPU_P));
    EXPECT_EQ(std::tie(A.BGHScroll, A.BGVScroll, A.FixedColour, A.M7.A, A.M7.D),
              std::tie(B.BGHScroll, B.BGVScroll, B.FixedColour, B.M7.A, B.M7.D));
    if (Own)
        return;
    EXPECT_TRUE(!Sound || A.APU_ExtraRAM == B.APU_ExtraRAM);
    // A line counter past the frame (a state saved while paused) comes back
    // within it.
    const unsigned Lines = (A.Regs[0x213F] & 0x10) ? 312 : 262;
    EXPECT_EQ(A.CPU_VCounter % Lines, B.CPU_VCounter % Lines);
    EXPECT_EQ(std::tie(A.CPU_WaitingForInterrupt, A.CGRAMLatch, A.M7.B, A.M7.C, A.M7.X, A.M7.Y, A.FirstSprite),
              std::tie(B.CPU_WaitingForInterrupt, B.CGRAMLatch, B.M7.B, B.M7.C, B.M7.X, B.M7.Y, B.FirstSprite));
}

// The battery SRAM, where a format keeps it in blocks of fixed size and
// another trims it to the bytes in use.
bool SameSRAM(const std::vector<uint8_t>& A, const std::vector<uint8_t>& B)
{
    const size_t N = std::min(A.size(), B.size());
    auto Zero = [](auto From, auto To) { return std::all_of(From, To, [](uint8_t V) { return V == 0; }); };
    return std::equal(A.begin(), A.begin() + static_cast<std::ptrdiff_t>(N), B.begin()) &&
           Zero(A.begin() + static_cast<std::ptrdiff_t>(N), A.end()) &&
           Zero(B.begin() + static_cast<std::ptrdiff_t>(N), B.end());
}

std::vector<uint8_t> Cut(const std::vector<uint8_t>& F, size_t Size)
{
    return std::vector<uint8_t>(F.begin(), F.begin() + static_cast<std::ptrdiff_t>(std::min(Size, F.size())));
}

struct tZSTFormat {
    static constexpr uint8_t Format = FormatZST;
    static constexpr const char* Ext = ".zst";
    static tSavestateFormat* Object() { return ZST; }
    static std::vector<std::string> GoodFiles(const std::string&) { return FixtureFiles("zsnes", ".zst"); }
    static bool Save(const std::string& Name) { return SaveState(*ZST, Name); }
    // Whatever follows the fixed image is optional: one byte short of the image.
    static std::vector<uint8_t> CutByOne(const std::vector<uint8_t>& F)
    {
        return Cut(F, (F[ZSTLayout::SPCOn] ? ZSTLayout::ImageSize : ZSTLayout::ImageSizeNoSound) - 1);
    }
    // The format has no length fields; a later fork's version text claims a
    // layout of other lengths.
    static std::vector<uint8_t> Hostile(std::vector<uint8_t> F)
    {
        std::copy_n("144", 3, F.begin() + ZSTLayout::VersionText);
        return F;
    }
    static constexpr const char* HostileReason = "\"V144\", which has another layout";
    static std::vector<uint8_t> Image() { return {ZST->StateImage.begin(), ZST->StateImage.end()}; }
};

struct tS9XFormat {
    static constexpr uint8_t Format = FormatS9X;
    static constexpr const char* Ext = ".000";
    static tSavestateFormat* Object() { return S9X; }
    static std::vector<std::string> GoodFiles(const std::string&) { return FixtureFiles("snes9x", ".000"); }
    static bool Save(const std::string& Name) { return SaveState(*S9X, Name); }
    static std::vector<uint8_t> CutByOne(const std::vector<uint8_t>& F) { return Cut(F, F.size() - 1); }
    // The PPU block claims more bytes than the whole file holds.
    static std::vector<uint8_t> Hostile(std::vector<uint8_t> F)
    {
        std::string Error;
        EXPECT_TRUE(GunzipStream(F, Error));
        const std::string Head = "PPU:";
        auto At = std::search(F.begin(), F.end(), Head.begin(), Head.end());
        EXPECT_NE(At, F.end());
        const std::string Big = "PPU:999999:";
        if (At != F.end())
            std::copy(Big.begin(), Big.end(), At);
        return F;
    }
    static constexpr const char* HostileReason = "block \"PPU\" is missing or cut short";
    static std::vector<uint8_t> Image() { return S9X->Blocks[S9XLayout::BlockRAM]; }
};

struct tSSLFormat {
    static constexpr uint8_t Format = FormatSSL;
    static constexpr const char* Ext = ".s01";
    static tSavestateFormat* Object() { return SSL; }
    // No Super Sleuth state is among the fixtures: the program's own files,
    // converted from every ZSNES fixture.
    static std::vector<std::string> GoodFiles(const std::string& Dir)
    {
        std::vector<std::string> Out;
        for (const std::string& Z : FixtureFiles("zsnes", ".zst")) {
            EXPECT_TRUE(LoadSavestate(Z));
            const std::string Name = Dir + "/" + std::filesystem::path(Z).stem().string() + ".s01";
            SaveState(*SSL, Name);
            Out.push_back(Name);
        }
        return Out;
    }
    static bool Save(const std::string& Name) { return SaveState(*SSL, Name); }
    static std::vector<uint8_t> CutByOne(const std::vector<uint8_t>& F) { return Cut(F, F.size() - 1); }
    // The "WRAM" chunk claims 4 GiB.
    static std::vector<uint8_t> Hostile(std::vector<uint8_t> F)
    {
        const std::string Id = "WRAM";
        auto At = std::search(F.begin(), F.end(), Id.begin(), Id.end());
        EXPECT_NE(At, F.end());
        if (At != F.end())
            std::fill(At + 4, At + 8, 0xFF);
        return F;
    }
    static constexpr const char* HostileReason = nullptr; // the signature test already refuses it
    static std::vector<uint8_t> Image() { return {SSL->WRAM.begin(), SSL->WRAM.end()}; }
};

struct tSGTFormat {
    static constexpr uint8_t Format = FormatSGT;
    static constexpr const char* Ext = ".sv1";
    static tSavestateFormat* Object() { return SGT; }
    // No SNESGT state is among the fixtures: files built the way SNESGT
    // writes them.
    static std::vector<std::string> GoodFiles(const std::string& Dir)
    {
        Bytes F = Header();
        AddChunk(F, "CPUR", CPURChunk());
        AddChunk(F, "WRAM", Bytes(SGTSize::WRAM, 0x11));
        AddChunk(F, "PAL ", Bytes(SGTSize::PAL, 0x1F));
        AddChunk(F, "SPCF", SoundFile());
        WriteBytes(Dir + "/game.sv1", F);
        return {Dir + "/game.sv1"};
    }
    static std::vector<uint8_t> CutByOne(const std::vector<uint8_t>& F) { return Cut(F, F.size() - 1); }
    // The "CPUR" chunk claims 4 GiB.
    static std::vector<uint8_t> Hostile(std::vector<uint8_t> F)
    {
        std::fill(F.begin() + 12, F.begin() + 16, 0xFF);
        return F;
    }
    static constexpr const char* HostileReason = "chunk \"CPUR\" at offset 8 claims 4294967295 bytes";
    static std::vector<uint8_t> Image() { return {SGT->WRAM.begin(), SGT->WRAM.end()}; }
};

template <class tFormat> class FormatSuite : public tStateTest
{
  protected:
    std::vector<std::string> Good()
    {
        auto Files = tFormat::GoodFiles(Dir);
        EXPECT_FALSE(Files.empty());
        return Files;
    }
    // A bad copy of File is refused with one message naming it, and
    // everything a load may change stays as it was.
    void ExpectRefused(const std::string& File, const std::vector<uint8_t>& Bad, const char* What,
                       const char* Reason = nullptr)
    {
        SCOPED_TRACE(What);
        ASSERT_TRUE(LoadSavestate(File));
        const tSnapshot Before;
        const std::string BadName = Dir + "/bad" + tFormat::Ext;
        WriteBytes(BadName, Bad);
        Recorder.Log.clear();
        EXPECT_FALSE(LoadSavestate(BadName));
        EXPECT_LE(Errors(Recorder).size(), 1u);
        for (const std::string& E : Errors(Recorder))
            EXPECT_EQ(E.rfind(BadName + ": ", 0), 0u) << E;
        if (Reason) {
            ASSERT_EQ(Errors(Recorder).size(), 1u);
            EXPECT_NE(Errors(Recorder)[0].find(Reason), std::string::npos) << Errors(Recorder)[0];
        }
        Before.ExpectNow();
    }
};

using tFormats = ::testing::Types<tZSTFormat, tS9XFormat, tSSLFormat, tSGTFormat>;
TYPED_TEST_SUITE(FormatSuite, tFormats);

// The formats the program writes (SNESGT states are read only).
template <class tFormat> class WritableFormatSuite : public FormatSuite<tFormat>
{
};
using tWritableFormats = ::testing::Types<tZSTFormat, tS9XFormat, tSSLFormat>;
TYPED_TEST_SUITE(WritableFormatSuite, tWritableFormats);

TYPED_TEST(FormatSuite, EveryFileLoadsThroughTheLoader)
{
    REQUIRE_FIXTURES();
    for (const std::string& F : this->Good()) {
        SCOPED_TRACE(F);
        this->Recorder.Log.clear();
        ASSERT_TRUE(LoadSavestate(F));
        EXPECT_EQ(StateFormat, TypeParam::Format);
        EXPECT_EQ(SavestateFormat(StateFormat), TypeParam::Object());
        EXPECT_TRUE(Errors(this->Recorder).empty());
    }
}

TYPED_TEST(WritableFormatSuite, AWrittenFileReloadsToTheSameState)
{
    REQUIRE_FIXTURES();
    for (const std::string& F : this->Good()) {
        SCOPED_TRACE(F);
        ASSERT_TRUE(LoadSavestate(F));
        const auto First = std::make_unique<tSNES>(*SNES);
        const std::string Again = this->Dir + "/again" + TypeParam::Ext;
        ASSERT_TRUE(TypeParam::Save(Again));
        ASSERT_TRUE(LoadSavestate(Again));
        EXPECT_TRUE(*SNES == *First);
    }
}

// ZSNES and Snes9x into each other and back, both into the own format.
TYPED_TEST(WritableFormatSuite, AStateConvertedFromAnotherFormatReloads)
{
    REQUIRE_FIXTURES();
    const bool Own = TypeParam::Format == FormatSSL;
    std::vector<std::string> From;
    if (TypeParam::Format != FormatS9X)
        From = FixtureFiles("snes9x", ".000");
    if (TypeParam::Format != FormatZST)
        for (const std::string& F : FixtureFiles("zsnes", ".zst"))
            From.push_back(F);
    ASSERT_FALSE(From.empty());
    for (const std::string& F : From) {
        SCOPED_TRACE(F);
        ASSERT_TRUE(LoadSavestate(F));
        const uint8_t Source = StateFormat;
        const auto First = std::make_unique<tSNES>(*SNES);
        const std::vector<uint8_t> SRAM = Cart->SRAM;
        if (F.find("_sram") != std::string::npos) {
            EXPECT_NE(std::count(SRAM.begin(), SRAM.end(), 0), static_cast<std::ptrdiff_t>(SRAM.size()));
        }
        const std::string Out = this->Dir + "/converted" + TypeParam::Ext;
        ASSERT_TRUE(TypeParam::Save(Out));
        ASSERT_TRUE(LoadSavestate(Out));
        ASSERT_EQ(StateFormat, TypeParam::Format);
        ExpectKept(*First, *SNES, Own);
        EXPECT_TRUE(SameSRAM(SRAM, Cart->SRAM));
        if (Own)
            continue;
        // And back into the format it came from.
        const std::string Back = this->Dir + (Source == FormatZST ? "/back.zst" : "/back.000");
        ASSERT_TRUE(Source == FormatZST ? SaveState(*ZST, Back) : SaveState(*S9X, Back));
        ASSERT_TRUE(LoadSavestate(Back));
        ExpectKept(*First, *SNES);
        EXPECT_TRUE(SameSRAM(SRAM, Cart->SRAM));
    }
}

TYPED_TEST(FormatSuite, AFileCutByOneByteIsRefusedAndChangesNothing)
{
    REQUIRE_FIXTURES();
    for (const std::string& F : this->Good())
        this->ExpectRefused(F, TypeParam::CutByOne(ReadBytes(F)), "cut by one");
}

TYPED_TEST(FormatSuite, AHostileLengthIsRefusedAndChangesNothing)
{
    REQUIRE_FIXTURES();
    for (const std::string& F : this->Good())
        this->ExpectRefused(F, TypeParam::Hostile(ReadBytes(F)), "hostile length", TypeParam::HostileReason);
}

TYPED_TEST(FormatSuite, ItsOwnBroadcastsKeepTheImageOtherSendersRebuildOrDropIt)
{
    REQUIRE_FIXTURES();
    const auto Files = this->Good();
    ASSERT_FALSE(Files.empty());
    ASSERT_TRUE(LoadSavestate(Files.front()));
    const auto Loaded = TypeParam::Image();
    SNES->WRAM[0x10] ^= 0x5A;
    const void* Own = dynamic_cast<const void*>(TypeParam::Object());
    Broadcast(Own, Note::NewSNES);
    EXPECT_EQ(TypeParam::Image(), Loaded) << "its own \"new SNES\" keeps the image";
    Broadcast(nullptr, Note::NewSNES);
    EXPECT_NE(TypeParam::Image(), Loaded) << "an edit elsewhere rebuilds it from the machine state";
    const auto Rebuilt = TypeParam::Image();
    Broadcast(Own, Note::NewSavestate);
    EXPECT_EQ(TypeParam::Image(), Rebuilt) << "its own \"new savestate\" keeps it";
    int Other = 0;
    Broadcast(&Other, Note::NewSavestate);
    EXPECT_NE(TypeParam::Image(), Rebuilt) << "another format's state drops it";
}

} // namespace
