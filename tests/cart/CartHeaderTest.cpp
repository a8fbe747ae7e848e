#include <gtest/gtest.h>

#include <tuple>

#include "cart/CartHeader.h"
#include "cart/CartTestROM.h"

namespace
{

TEST(CartHeader, GeneratedROMsLandOnTheirMapModeWithAMatchingChecksum)
{
    // The extended HiROM header lies at the top of the first four MiB.
    EXPECT_EQ(HeaderOffsetOf(tMapMode::ExHiROM), 0x3FFFB0u);
    for (const auto& [Mode, Size] : {std::pair{tMapMode::LoROM, 1u << 20}, std::pair{tMapMode::HiROM, 1u << 20},
                                     std::pair{tMapMode::ExHiROM, 6u << 20}}) {
        const auto ROM = MakeTestROM(Size, Mode, "GENERATED GAME");
        EXPECT_EQ(FindMapMode(ROM), Mode);
        const tCartHeader H = ReadCartHeader(ROM, Mode);
        EXPECT_TRUE(H.ChecksumMatches());
        EXPECT_EQ(ComputeChecksum(ROM), H.Checksum);
        EXPECT_EQ(H.ROMName, "GENERATED GAME       ");
    }
}

TEST(CartHeader, FieldsAndFlagsComeFromTheirOffsets)
{
    const auto ROM = MakeTestROM(65536, tMapMode::LoROM);
    tCartHeader H = ReadCartHeader(ROM, tMapMode::LoROM);
    ASSERT_TRUE(H.Present);
    EXPECT_EQ(H.VersionText(), "1.4");
    EXPECT_EQ(H.SRAMBytes(), 8192u);
    EXPECT_TRUE(H.HasBattery());
    EXPECT_FALSE(H.HasCoProcessor());
    H.CartType = 0x13; // co-processor in both nibbles
    EXPECT_TRUE(H.HasCoProcessor());
    EXPECT_FALSE(H.HasBattery());
    H.CartType = 0x06; // battery without RAM
    EXPECT_FALSE(H.HasRAM());
    EXPECT_TRUE(H.HasBattery());
}

TEST(CartHeader, ModesAreAcceptedOnlyWhenTheirHeaderFitsInTheROM)
{
    for (const auto& [Size, Mode, Fits] : {std::tuple{0u, tMapMode::LoROM, true},
                                           {24u * 1024, tMapMode::HiROM, false},
                                           {65535u, tMapMode::HiROM, false},
                                           {65536u, tMapMode::HiROM, true},
                                           {0x3FFFFFu, tMapMode::ExHiROM, false},
                                           {0x400000u, tMapMode::ExHiROM, true}})
        EXPECT_EQ(MapModeFits(Size, Mode), Fits) << Size;

    // A small ROM has no LoROM header area at all: nothing is read past its end.
    std::vector<uint8_t> Small(0x7FB0 + CartHeaderAreaSize - 1, 0xFF);
    EXPECT_FALSE(ReadCartHeader(Small, tMapMode::LoROM).Present);
    EXPECT_FALSE(ReadCartHeader(Small, tMapMode::LoROM).ChecksumMatches());
    EXPECT_EQ(FindMapMode(Small), tMapMode::LoROM);
}

TEST(CartHeader, LoROMWinsWhenNoneOrBothHeadersMatch)
{
    // Blank checksum fields (0000/0000) are not a complement pair anywhere.
    EXPECT_EQ(FindMapMode(std::vector<uint8_t>(0x400000, 0)), tMapMode::LoROM);
    auto ROM = MakeTestROM(1 << 20, tMapMode::HiROM);
    const uint32_t L = HeaderOffsetOf(tMapMode::LoROM);
    ROM[L + 0x2C] = 0x00;
    ROM[L + 0x2D] = 0xFF;
    ROM[L + 0x2E] = 0xFF;
    ROM[L + 0x2F] = 0x00;
    EXPECT_EQ(FindMapMode(ROM), tMapMode::LoROM);
}

TEST(CartHeader, ChecksumMirrorsTheUpperPartOfOddSizes)
{
    // 3 MiB: 2 MiB counted once, the last 1 MiB twice.
    std::vector<uint8_t> ROM(3 << 20, 0);
    ROM[0] = 1;
    ROM[(2 << 20) + 5] = 3;
    EXPECT_EQ(ComputeChecksum(ROM), 1 + 2 * 3);
    // 1.5 MiB: the 512 KiB rest is repeated twice to fill 1 MiB.
    std::vector<uint8_t> Odd((1 << 20) + (1 << 19), 0);
    Odd.back() = 1;
    EXPECT_EQ(ComputeChecksum(Odd), 2);
    EXPECT_EQ(ComputeChecksum({}), 0);
}

} // namespace
