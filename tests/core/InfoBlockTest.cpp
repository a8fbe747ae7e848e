#include <gtest/gtest.h>

#include <array>

#include "core/InfoBlock.h"

namespace
{
tInfoBlock Block(uint8_t* P, size_t Available, uint8_t Bits, int8_t BitOffset = 0, uint8_t ShiftLeft = 0)
{
    tInfoBlock B;
    B.Address = P;
    B.Available = Available;
    B.Bits = Bits;
    B.BitOffset = BitOffset;
    B.ShiftLeft = ShiftLeft;
    return B;
}
} // namespace

TEST(InfoBlockTest, FlagAtBitSevenTouchesOnlyThatBit)
{
    uint8_t P = 0x5A;
    tInfoBlock B = Block(&P, 1, 1, 7);
    WriteBlock(B, 1);
    EXPECT_EQ(P, 0xDA);
    EXPECT_EQ(ReadBlock(B), 1u);
    WriteBlock(B, 0);
    EXPECT_EQ(P, 0x5A);
    // Only the row's bit is stored, whatever else the value holds.
    WriteBlock(B, 0xFE);
    EXPECT_EQ(P, 0x5A);
}

TEST(InfoBlockTest, FieldAcrossBytesKeepsItsNeighbours)
{
    std::array<uint8_t, 4> M{0xFF, 0xFF, 0xFF, 0xFF};
    // 14 bits from bit 4 (bits 4-17): three bytes, read as a 32-bit unit.
    tInfoBlock B = Block(M.data(), M.size(), 14, 4);
    WriteBlock(B, 0);
    EXPECT_EQ(M[0], 0x0F);
    EXPECT_EQ(M[1], 0x00);
    EXPECT_EQ(M[2], 0xFC);
    EXPECT_EQ(M[3], 0xFF);
    WriteBlock(B, 0x2ABC);
    EXPECT_EQ(ReadBlock(B), 0x2ABCu);
}

TEST(InfoBlockTest, RowShownDoubledStoresOnlyItsOwnBits)
{
    // A 9-bit byte address of an 8-bit register ($2121 shown times 2): the
    // register after it ($2122) must not take the top bit.
    std::array<uint8_t, 2> Regs{0x12, 0x00};
    tInfoBlock B = Block(Regs.data(), Regs.size(), 9, 0, 1);
    EXPECT_EQ(ReadBlock(B), 0x24u);
    WriteBlock(B, 0x1FE);
    EXPECT_EQ(Regs[0], 0xFF);
    EXPECT_EQ(Regs[1], 0x00);
    EXPECT_EQ(B.Value, 0x1FEu);
}

TEST(InfoBlockTest, SixtyFourBitsAreNeitherMaskedNorCut)
{
    std::array<uint8_t, 8> M{};
    tInfoBlock B = Block(M.data(), M.size(), 64);
    WriteBlock(B, 0xFEDCBA9876543210ull);
    EXPECT_EQ(M[0], 0x10);
    EXPECT_EQ(M[7], 0xFE);
    EXPECT_EQ(ReadBlock(B), 0xFEDCBA9876543210ull);
}

TEST(InfoBlockTest, NeverReachesPastItsField)
{
    std::array<uint8_t, 4> M{0x34, 0x12, 0xAA, 0xBB};
    // A 32-bit row over a 2-byte field sees zeros beyond it and writes nothing there.
    tInfoBlock B = Block(M.data(), 2, 32);
    EXPECT_EQ(ReadBlock(B), 0x1234u);
    WriteBlock(B, 0xFFFFFFFF);
    EXPECT_EQ(M[1], 0xFF);
    EXPECT_EQ(M[2], 0xAA);
    EXPECT_EQ(M[3], 0xBB);
}

TEST(InfoBlockTest, MissingRowWritesNothing)
{
    tInfoBlock B;
    B.Bits = 8;
    B.Value = 7;
    WriteBlock(B, 9);
    EXPECT_EQ(B.Value, 7u);
    EXPECT_EQ(ReadBlock(B), 0u);
}
