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
    Load("game.zmv");
    EXPECT_EQ(StateSlot, "0");
    EXPECT_EQ(StateKind, KindMovie);
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
    Load("game.s01");
    EXPECT_EQ(StateFormat, FormatSSL);
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
        void Notify(const void*, std::string_view Msg) override
        {
            if (Msg == "new savestate" || Msg == "new SNES")
                Seen.emplace_back(Msg);
        }
    } Counter;
    RegisterReceiver(tBusSlot::Form_Main, &Counter);
    // The cartridge lookup on "new savestate" would add its own "new Cart".
    Options().CBox_OpenCart = false;
    Load("game.zm3");
    SNES->WRAM[5] = 1;
    SNES->VRAM[7] = 2;
    SNES->CGRAM[3] = 3;
    SNES->CPU_A = 4;
    Counter.Seen.clear();
    EXPECT_FALSE(LoadSavestate("/nowhere/readme.txt"));
    EXPECT_EQ(StateFormat, FormatNone);
    EXPECT_EQ(StateKind, KindMovie);
    EXPECT_EQ(SNES->WRAM[5], 0);
    EXPECT_EQ(SNES->VRAM[7], 0);
    EXPECT_EQ(SNES->CGRAM[3], 0);
    EXPECT_EQ(SNES->CPU_A, 0);
    EXPECT_EQ(Counter.Seen, (std::vector<std::string>{"new savestate", "new SNES"}));
    RegisterReceiver(tBusSlot::Form_Main, nullptr);
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
    for (uint8_t Bank : {0x00, 0x03, 0x40, 0x7D, 0x80, 0xC3, 0xFF}) {
        for (uint32_t A : {0x8000u, 0xFFFFu, 0x0000u}) {
            if (!Map(Bank, static_cast<uint16_t>(A)) || Ptr == SNES->WRAM.data() || Ptr == SNES->Regs.data())
                continue;
            EXPECT_LE(Ptr - Cart->ROM.data() + Size, static_cast<ptrdiff_t>(Cart->ROM.size())) << int(Bank);
            EXPECT_LT(Address, Size);
        }
    }
}

TEST(TileDecoders, PlanarFormats)
{
    std::array<uint8_t, 64> Src{}, Dst{};
    Src.fill(0xFF);
    Decode4bpp(Src.data(), Dst.data());
    for (uint8_t P : Dst)
        EXPECT_EQ(P, 15);

    // Decode2bpp adds to what is there; callers rely on it.
    Dst.fill(1);
    std::array<uint8_t, 16> Two{};
    Two[0] = 0x80; // row 0, pixel 0, plane 0
    Two[1] = 0x40; // row 0, pixel 1, plane 1
    Decode2bpp(Two.data(), Dst.data());
    EXPECT_EQ(Dst[0], 2);
    EXPECT_EQ(Dst[1], 3);
    EXPECT_EQ(Dst[2], 1);

    // 8 bpp: plane 7 is the high bit of the last plane pair.
    Src.fill(0);
    Dst.fill(0);
    Src[49] = 0x01; // row 0 plane 7, last pixel
    Src[0] = 0x01;  // row 0 plane 0, last pixel
    Decode8bpp(Src.data(), Dst.data());
    EXPECT_EQ(Dst[7], 0x81);

    // 3 bpp: the third plane's 8 bytes follow the first 16.
    Src.fill(0);
    Dst.fill(0);
    Src[16 + 2] = 0x80; // row 2 plane 2
    Src[4] = 0x80;      // row 2 plane 0
    Decode3bpp(Src.data(), Dst.data());
    EXPECT_EQ(Dst[16], 5);

    std::array<uint8_t, 128> M7{};
    for (int i = 0; i < 128; ++i)
        M7[i] = static_cast<uint8_t>(i);
    Decode1bpp(M7.data(), Dst.data());
    EXPECT_EQ(Dst[8 * 1 + 7], 1); // byte 1 = 0b00000001
    DecodeMode7(M7.data(), Dst.data());
    EXPECT_EQ(Dst[0], 1);
    EXPECT_EQ(Dst[8 + 1], 1 + 16 + 2);
    EXPECT_EQ(Dst[63], 127);
}

TEST_F(MapAddressTest, DefaultPaletteAndInversion)
{
    Broadcast(nullptr, "startup");
    EXPECT_EQ(SNES->CGRAM[0], 15 << 11);               // blue 30, red 0
    EXPECT_EQ(SNES->CGRAM[16 * 15 + 15], (15 << 6) + 30); // red 30, green 30
    auto Before = SNES->CGRAM;
    SNES->InvertPalette();
    EXPECT_EQ(SNES->CGRAM[0], (15 << 11) ^ 0x7FFF);
    SNES->InvertPalette();
    EXPECT_EQ(SNES->CGRAM, Before);
}

TEST_F(MapAddressTest, DecodeDMAReadsChannelRegisters)
{
    uint8_t* R = SNES->Regs.data();
    R[0x4320] = 0xC3; // B to A, indirect, mode 3
    R[0x4321] = 0x18;
    R[0x4322] = 0x34;
    R[0x4323] = 0x12;
    R[0x4324] = 0x7E;
    R[0x4325] = 0x00;
    R[0x4326] = 0x80;
    R[0x4327] = 0x7F;
    R[0x4328] = 0xCD;
    R[0x4329] = 0xAB;
    R[0x432A] = 0x85;
    R[0x420B] = 0x04;
    R[0x420C] = 0x06;
    Broadcast(nullptr, "new SNES");
    const tDMAChannel& C = SNES->DMA[2];
    EXPECT_EQ(C.Direction, 1);
    EXPECT_EQ(C.Indirect, 1);
    EXPECT_EQ(C.Mode, 3);
    EXPECT_EQ(C.UnitSize, 4);
    EXPECT_EQ(C.RegCount, 2);
    EXPECT_EQ(C.AAddress, 0x1234);
    EXPECT_EQ(C.ByteCount, 0x8000);
    EXPECT_EQ(C.IndirectAddress, 0x8000);
    EXPECT_EQ(C.IndirectBank, 0x7F);
    EXPECT_EQ(C.TableAddress, 0xABCD);
    EXPECT_EQ(C.LineCounter, 0x85);
    EXPECT_EQ(C.DMAEnabled, 1);
    EXPECT_EQ(C.HDMAEnabled, 1);
    EXPECT_EQ(SNES->DMA[1].HDMAEnabled, 1);
    EXPECT_EQ(SNES->DMA[1].DMAEnabled, 0);
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
