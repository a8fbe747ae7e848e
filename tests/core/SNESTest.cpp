#include "TestSupport.h"

#include <memory>

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

// Which extension means what is StateNamesTest's; here, that a load takes
// them from the name.
TEST_F(DetectionTest, ExtensionsInAnyCaseGiveFormatSlotAndKind)
{
    const struct {
        const char* Name;
        uint8_t Format, Kind;
        const char* Slot;
    } Cases[] = {{"Game.ZST", FormatZST, KindSavestate, "0"},
                 {"game.zm3", FormatZST, KindMovie, "3"},
                 {"game.012", FormatS9X, KindSavestate, "12"},
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
