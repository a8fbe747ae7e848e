#include "TestSupport.h"

#include <array>
#include <memory>

#include "cart/SNESCart.h"
#include "core/Broadcast.h"
#include "core/Options.h"
#include "core/SNES.h"
#include "core/Tiles.h"

namespace {

// A format that accepts every file, so detection by extension can be tested
// apart from any real reader.
class tAcceptAll : public tSavestateFormat {
public:
    int Loads = 0;
    bool IsFormatFile(const std::string&) override { return true; }
    bool LoadFromFile(const std::string&) override
    {
        ++Loads;
        return true;
    }
};

class DetectionTest : public tModelTest {
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

TEST_F(DetectionTest, ZSNESExtensionsInAnyCaseWithSlotsAndKinds)
{
    Load("Game.ZST");
    EXPECT_EQ(StateFormat, FormatZST);
    EXPECT_EQ(StateSlot, "0");
    EXPECT_EQ(StateKind, KindSavestate);
    Load("game.zm3");
    EXPECT_EQ(StateFormat, FormatZST);
    EXPECT_EQ(StateKind, KindMovie);
    EXPECT_EQ(StateSlot, "3");
    Load("game.zs9");
    EXPECT_EQ(StateSlot, "9");
    EXPECT_EQ(DetectFormat("x.zs0"), FormatNone); // digits 1-9 only
    EXPECT_EQ(DetectFormat("x.zsa"), FormatNone);
}

TEST_F(DetectionTest, Snes9xSuperSleuthAndSNESGTExtensions)
{
    Load("game.000");
    EXPECT_EQ(StateFormat, FormatS9X);
    EXPECT_EQ(StateSlot, "0");
    Load("game.012");
    EXPECT_EQ(StateSlot, "12");
    EXPECT_EQ(DetectFormat("game.0a1"), FormatNone);
    Load("game.S01");
    EXPECT_EQ(StateFormat, FormatSSL);
    EXPECT_EQ(StateSlot, "1");
    Load("game.sv4");
    EXPECT_EQ(StateFormat, FormatSGT);
    EXPECT_EQ(StateSlot, "4");
    EXPECT_EQ(StateKind, KindSavestate);
    EXPECT_EQ(StateFileExt, "sv4");
    EXPECT_EQ(StateFileTitle, "game");
    EXPECT_EQ(StateFileBase, "/nowhere/game");
    EXPECT_EQ(StateFileDir, "/nowhere/");
}

TEST_F(DetectionTest, SignatureTestDecidesUnlessZSTChecksAreOff)
{
    class tRejectAll : public tSavestateFormat {
        bool IsFormatFile(const std::string&) override { return false; }
        bool LoadFromFile(const std::string&) override { return false; }
    } Reject;
    RegisterSavestateFormat(FormatZST, &Reject);
    RegisterSavestateFormat(FormatS9X, &Reject);
    EXPECT_EQ(DetectFormat("a.zst"), FormatNone);
    EXPECT_EQ(DetectFormat("a.000"), FormatNone);
    Options().CBox_OptionsCheckZST = false;
    EXPECT_EQ(DetectFormat("a.zst"), FormatZST);
    EXPECT_EQ(DetectFormat("a.000"), FormatNone);
}

TEST_F(DetectionTest, UnknownFileClearsStateKeepsKindAndStillNotifies)
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
    Counter.Seen.clear();
    EXPECT_FALSE(LoadSavestate("/nowhere/readme.txt"));
    EXPECT_EQ(StateFormat, FormatNone);
    EXPECT_EQ(StateKind, KindMovie);
    EXPECT_EQ(SNES->WRAM[5], 0);
    EXPECT_EQ(SNES->CPU_A, 0);
    EXPECT_EQ(Counter.Seen, (std::vector<std::string>{"new savestate", "new SNES"}));
    RegisterReceiver(WindowSlot(3), nullptr);
}

class MapAddressTest : public tModelTest {
protected:
    uint16_t Address = 0;
    uint32_t Size = 0;
    const uint8_t* Ptr = nullptr;
    bool Map(uint8_t Bank, uint16_t A)
    {
        Address = A;
        return SNES->MapAddress(Bank, Address, Size, Ptr);
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

TEST(TileDecoders, TwoBppAddsIntoTheBufferAndMode7IsChunky)
{
    // Decode2bpp adds to what is there; callers rely on it.
    std::array<uint8_t, 64> Dst{};
    Dst.fill(1);
    std::array<uint8_t, 16> Two{};
    Two[0] = 0x80; // row 0, pixel 0, plane 0
    Two[1] = 0x40; // row 0, pixel 1, plane 1
    Decode2bpp(Two.data(), Dst.data());
    EXPECT_EQ(Dst[0], 2);
    EXPECT_EQ(Dst[1], 3);
    EXPECT_EQ(Dst[2], 1);

    std::array<uint8_t, 128> M7{};
    for (int i = 0; i < 128; ++i)
        M7[i] = static_cast<uint8_t>(i);
    DecodeMode7(M7.data(), Dst.data());
    EXPECT_EQ(Dst[8 + 1], 1 + 16 + 2);
    EXPECT_EQ(Dst[63], 127);
}

TEST(MachineState, CopyKeepsItsOwnOAMPointer)
{
    auto A = std::make_unique<tSNES>();
    A->OAM[3] = 9;
    auto B = std::make_unique<tSNES>(*A);
    EXPECT_EQ(B->OAM_Ptr, B->OAM.data());
    EXPECT_EQ(B->OAM_Ptr[3], 9);
}

} // namespace
