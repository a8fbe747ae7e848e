#include "TestSupport.h"

#include <memory>
#include <type_traits>

#include "app/Loader.h"
#include "cart/SNESCart.h"
#include "core/Broadcast.h"
#include "core/Options.h"
#include "core/SNES.h"

namespace
{

// A format that accepts every file, so detection by extension can be tested
// apart from any real reader.
class tAcceptAll : public tSavestateFormat
{
  public:
    mutable int Loads = 0;
    bool IsFormatFile(const std::string&) override { return true; }
    bool Parse(const std::string&, tSNES&, tParsedFile&, tError&) const override
    {
        ++Loads;
        return true;
    }
    void Adopt(tSavestateImage&) override {}
};

class DetectionTest : public tModelTest
{
  protected:
    tAcceptAll Fake[5];
    void SetUp() override
    {
        tModelTest::SetUp();
        for (uint8_t F = FormatZST; F <= FormatSSL; ++F)
            RegisterSavestateFormat(F, &Fake[F]);
    }
    void Load(const std::string& Name) { LoadSavestate("/nowhere/" + Name); }
};

TEST_F(DetectionTest, ExtensionsInAnyCaseGiveFormatSlotAndKind)
{
    const struct {
        const char* Name;
        uint8_t Format, Kind;
        const char* Slot;
    } Cases[] = {{"Game.ZST", FormatZST, KindSavestate, "0"},  {"game.zm3", FormatZST, KindMovie, "3"},
                 {"game.zs9", FormatZST, KindSavestate, "9"},  {"game.000", FormatS9X, KindSavestate, "0"},
                 {"game.012", FormatS9X, KindSavestate, "12"}, {"game.S01", FormatSSL, KindSavestate, "1"},
                 {"game.sv4", FormatSGT, KindSavestate, "4"}};
    for (const auto& C : Cases) {
        Load(C.Name);
        EXPECT_EQ(StateFormat, C.Format) << C.Name;
        EXPECT_EQ(StateKind, C.Kind) << C.Name;
        EXPECT_EQ(StateSlot, C.Slot) << C.Name;
    }
    EXPECT_EQ(StateFileExt, "sv4");
    EXPECT_EQ(StateFileTitle, "game");
    EXPECT_EQ(StateFileBase, "/nowhere/game");
    EXPECT_EQ(StateFileDir, "/nowhere/");
    // ZSNES slots take digits 1-9 only.
    for (const char* Name : {"x.zs0", "x.zsa", "game.0a1"})
        EXPECT_EQ(DetectFormat(Name), FormatNone) << Name;
}

TEST_F(DetectionTest, SignatureTestDecidesUnlessZSTChecksAreOff)
{
    class tRejectAll : public tSavestateFormat
    {
        bool IsFormatFile(const std::string&) override { return false; }
        bool Parse(const std::string&, tSNES&, tParsedFile&, tError&) const override { return false; }
        void Adopt(tSavestateImage&) override {}
    } Reject;
    RegisterSavestateFormat(FormatZST, &Reject);
    RegisterSavestateFormat(FormatS9X, &Reject);
    EXPECT_EQ(DetectFormat("a.zst"), FormatNone);
    EXPECT_EQ(DetectFormat("a.000"), FormatNone);
    Options().CBox_OptionsCheckZST = false;
    EXPECT_EQ(DetectFormat("a.zst"), FormatZST);
    EXPECT_EQ(DetectFormat("a.000"), FormatNone);
}

TEST_F(DetectionTest, UnknownFileChangesNothingAndSendsNothing)
{
    struct tCounter : tReceiver {
        std::vector<std::string> Seen;
        // The format objects and the sound snapshot answer "new SNES" with
        // their own messages; only the loader's two matter here.
        void Notify(const void*, tNote Msg) override
        {
            if (Msg == Note::NewSavestate || Msg == Note::NewSNES)
                Seen.emplace_back(Msg.Text());
        }
    } Counter;
    RegisterReceiver(WindowSlot(3), &Counter);
    // The cartridge lookup on "new savestate" would add its own "new Cart".
    Options().CBox_OpenCart = false;
    Load("game.zm3");
    SNES->WRAM[5] = 1;
    SNES->CPU_A = 4;
    EXPECT_EQ(Counter.Seen, (std::vector<std::string>{"new savestate", "new SNES"}));
    Counter.Seen.clear();
    // A file no format takes leaves the loaded state, its names and the bus alone.
    EXPECT_FALSE(LoadSavestate("/nowhere/readme.txt"));
    EXPECT_EQ(StateFormat, FormatZST);
    EXPECT_EQ(StateKind, KindMovie);
    EXPECT_EQ(StateFileName, "/nowhere/game.zm3");
    EXPECT_EQ(SNES->WRAM[5], 1);
    EXPECT_EQ(SNES->CPU_A, 4);
    EXPECT_TRUE(Counter.Seen.empty());
    RegisterReceiver(WindowSlot(3), nullptr);
}

class MapAddressTest : public tModelTest
{
  protected:
    uint16_t Address = 0;
    uint32_t Size = 0;
    const uint8_t* Ptr = nullptr;
    bool Map(uint8_t Bank, uint16_t A)
    {
        Address = A;
        return SNES->MapAddress(Cart->ROMView(), Bank, Address, Size, Ptr);
    }
    void GiveROM(uint32_t Bytes, bool HiROM)
    {
        Cart->ROM.resize(Bytes);
        for (uint32_t i = 0; i < Bytes; ++i)
            Cart->ROM[i] = static_cast<uint8_t>(i >> 15);
        Cart->HiROM = HiROM;
    }
};

TEST_F(MapAddressTest, WorkRAMAndRegisters)
{
    ASSERT_TRUE(Map(0x00, 0x1FFF));
    EXPECT_EQ(Ptr, SNES->WRAM.data());
    EXPECT_EQ(Size, 65536u);
    EXPECT_FALSE(Map(0x00, 0x2100));
    ASSERT_TRUE(Map(0x7F, 0x0000));
    EXPECT_EQ(Ptr, SNES->WRAM.data() + 0x10000);
    ASSERT_TRUE(Map(0x80, 0x4300));
    EXPECT_EQ(Ptr, SNES->Regs.data());
    EXPECT_EQ(Size, 32768u);
    EXPECT_FALSE(Map(0x00, 0x4400));
    EXPECT_FALSE(Map(0x00, 0x8000)); // no ROM
    EXPECT_FALSE(Map(0xC0, 0x0000));
}

TEST_F(MapAddressTest, LoROMAndHiROMOffsets)
{
    GiveROM(4 * 32768, false);
    ASSERT_TRUE(Map(0x80, 0x8000));
    EXPECT_EQ(Ptr, Cart->ROM.data());
    EXPECT_EQ(Address, 0);
    EXPECT_EQ(Size, 32768u);
    ASSERT_TRUE(Map(0x01, 0x8123));
    EXPECT_EQ(Ptr - Cart->ROM.data(), 32768);
    EXPECT_EQ(Address, 0x123);
    ASSERT_TRUE(Map(0x05, 0x8000)); // wraps at the ROM size
    EXPECT_EQ(Ptr - Cart->ROM.data(), 32768);
    // Banks $40-$7D without HiROM sit 2 MiB in, modulo the ROM.
    GiveROM(0x300000, false);
    ASSERT_TRUE(Map(0x41, 0x0000));
    EXPECT_EQ(Ptr - Cart->ROM.data(), 0x210000);
    GiveROM(0x300000, true);
    ASSERT_TRUE(Map(0xC1, 0x0000));
    EXPECT_EQ(Ptr - Cart->ROM.data(), 0x10000);
    EXPECT_EQ(Size, 65536u);
}

TEST_F(MapAddressTest, WindowsNeverReachPastTheROM)
{
    // A 32 KiB ROM seen through a 64 KiB HiROM bank mirrors its 32 KiB.
    GiveROM(32768, true);
    ASSERT_TRUE(Map(0xC0, 0x9234));
    EXPECT_EQ(Ptr, Cart->ROM.data());
    EXPECT_EQ(Size, 32768u);
    EXPECT_EQ(Address, 0x1234);
    // A patched image of 96 KiB + 100 bytes: the last LoROM bank holds only
    // the 100 bytes, mirrored in their first 64.
    GiveROM(3 * 32768 + 100, false);
    ASSERT_TRUE(Map(0x03, 0xFFFF));
    EXPECT_EQ(Ptr - Cart->ROM.data(), 3 * 32768);
    EXPECT_EQ(Size, 64u);
    EXPECT_EQ(Address, 63);
    for (uint8_t Bank : std::initializer_list<uint8_t>{0x00, 0x03, 0x40, 0x7D, 0x80, 0xC3, 0xFF}) {
        for (uint32_t A : {0x8000u, 0xFFFFu, 0x0000u}) {
            if (!Map(Bank, static_cast<uint16_t>(A)) || Ptr == SNES->WRAM.data() || Ptr == SNES->Regs.data())
                continue;
            EXPECT_LE(Ptr - Cart->ROM.data() + Size, static_cast<ptrdiff_t>(Cart->ROM.size())) << int(Bank);
            EXPECT_LT(Address, Size);
        }
    }
}

// Every field of the state, each changed in a copy: the copy must differ, so
// the defaulted comparison reaches every field and a test built on it sees
// any of them.
template <typename F> void ForEachField(tSNES& S, F&& Change)
{
    Change(S.DSP[200]), Change(S.APU_ExtraRAM[63]), Change(S.APU_RAM[0xFFFF]);
    Change(S.SPC_Cycles), Change(S.SPC_DirectPage), Change(S.SPC_PC), Change(S.SPC_PSW), Change(S.SPC_SP);
    Change(S.SPC_X), Change(S.SPC_Y), Change(S.SPC_YA), Change(S.CGRAM[255]);
    Change(S.CPU_A), Change(S.CPU_VCounter), Change(S.CPU_Cycles), Change(S.CPU_ZTiming[2]), Change(S.CPU_D);
    Change(S.CPU_DB), Change(S.CPU_IRQActive), Change(S.CPU_NMIActive), Change(S.CPU_P), Change(S.CPU_PC);
    Change(S.CPU_S), Change(S.CPU_X), Change(S.CPU_Y);
    for (tDMAChannel& C : S.DMA) {
        Change(C.TableAddress), Change(C.ABank), Change(C.BAddress), Change(C.Direction), Change(C.ByteCount);
        Change(C.UnitSize), Change(C.TableAddress2), Change(C.DMAEnabled), Change(C.HDMAEnabled);
        Change(C.LineCounter), Change(C.Indirect), Change(C.IndirectAddress), Change(C.IndirectBank);
        Change(C.RegCount), Change(C.AAddress), Change(C.Decrement), Change(C.Fixed), Change(C.AAddress2);
        Change(C.Mode);
    }
    Change(S.OAM[543]), Change(S.Regs[0x7FFF]), Change(S.VRAM[0xFFFF]), Change(S.WRAM[0x1FFFF]);
    for (int n = 0; n < 4; ++n)
        Change(S.BGHScroll[n]), Change(S.BGVScroll[n]);
    Change(S.M7HOffset), Change(S.M7VOffset), Change(S.M7A), Change(S.M7B), Change(S.M7C), Change(S.M7D);
    Change(S.M7X), Change(S.M7Y), Change(S.FixedColour[3]), Change(S.FirstSprite);
    Change(S.CGRAMLatch), Change(S.OPHCTLatch), Change(S.OPVCTLatch), Change(S.OAMLatch), Change(S.VRAMReadLatch);
    Change(S.HDMAActive), Change(S.HDMANext), Change(S.HVLatched), Change(S.IOPort), Change(S.NoSpriteIncrement);
    Change(S.VRAMReadLatch2), Change(S.BeamPos[1]), Change(S.LatchPos[1]);
}

TEST(MachineState, ACopyEqualsItsSourceInEveryField)
{
    auto A = std::make_unique<tSNES>();
    int Next = 1;
    ForEachField(*A, [&](auto& Field) { Field = static_cast<std::remove_reference_t<decltype(Field)>>(Next++); });
    auto B = std::make_unique<tSNES>(*A);
    EXPECT_TRUE(*B == *A);
    auto C = std::make_unique<tSNES>();
    *C = *A;
    EXPECT_TRUE(*C == *A);

    // Each field on its own makes the copy differ.
    int Index = 0, Fields = 0;
    ForEachField(*B, [&](auto&) { ++Fields; });
    for (int k = 0; k < Fields; ++k) {
        Index = 0;
        ForEachField(*B, [&](auto& Field) {
            if (Index++ == k)
                Field = static_cast<std::remove_reference_t<decltype(Field)>>(Field + 1);
        });
        EXPECT_FALSE(*B == *A) << "field " << k;
        *B = *A;
    }
}

TEST(MapAddressPure, TheROMComesFromTheCallerNotTheCartridge)
{
    auto S = std::make_unique<tSNES>();
    std::vector<uint8_t> ROM(65536);
    ROM[0x8000] = 0x42; // LoROM bank $01, address $8000
    ROM[0x0123] = 0x24; // HiROM bank $C0, address $0123
    uint16_t Address = 0x8000;
    uint32_t Size = 0;
    const uint8_t* Ptr = nullptr;
    ASSERT_TRUE(S->MapAddress({ROM, false}, 0x01, Address, Size, Ptr));
    EXPECT_EQ(Ptr[Address], 0x42);
    Address = 0x0123;
    ASSERT_TRUE(S->MapAddress({ROM, true}, 0xC0, Address, Size, Ptr));
    EXPECT_EQ(Ptr[Address], 0x24);
    Address = 0x8000;
    EXPECT_FALSE(S->MapAddress({}, 0x01, Address, Size, Ptr));
    Address = 0x0010;
    ASSERT_TRUE(S->MapAddress({}, 0x7E, Address, Size, Ptr));
    EXPECT_EQ(Ptr, S->WRAM.data());
}

} // namespace
