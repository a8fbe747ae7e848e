// The list editor's value rules: ranges, texts, stepping and typing over.

#include <gtest/gtest.h>

#include "tools/ListEditModel.h"

namespace
{
tInfoBlock Row(uint8_t* Byte, uint8_t Bits, int8_t BitOffset, uint64_t Value)
{
    tInfoBlock B;
    B.Address = Byte;
    B.Available = 8;
    B.Bits = Bits;
    B.BitOffset = BitOffset;
    B.Value = Value;
    return B;
}
} // namespace

TEST(ListEditModel, RangesTextsAndSteps)
{
    uint8_t Mem[8] = {};
    tListEditModel M;
    M.SetBlock(Row(Mem, 3, 0, 5));
    EXPECT_TRUE(M.SetDecText("7"));
    EXPECT_FALSE(M.SetDecText("8"));
    EXPECT_FALSE(M.SetDecText("x1"));
    EXPECT_EQ(M.Value(), 7);
    EXPECT_FALSE(M.Step(true));
    M.SetBlock(Row(Mem, 40, 0, 0));
    EXPECT_EQ(M.Min(), -(int64_t{1} << 39));
    EXPECT_TRUE(M.SetDecText("-549755813888"));
    EXPECT_FALSE(M.Step(false));
    // A stored 40-bit value with its top bit set is the negative number.
    M.SetBlock(Row(Mem, 40, 0, 0xFFFFFFFFFFull));
    EXPECT_EQ(M.Value(), -1);
    M.SetBlock(Row(Mem, 64, 0, 0x8000000000000000ull));
    EXPECT_FALSE(M.Step(false)); // no signed overflow at the bottom
    M.SetBlock(Row(Mem, 16, 0, 0x1234));
    EXPECT_EQ(M.Text(tListField::Hex), "1234");
    EXPECT_EQ(M.Text(tListField::Bin), "0001001000110100");
    // A text row has nothing to edit.
    M.SetBlock(tInfoBlock{});
    EXPECT_FALSE(M.Editable());
    EXPECT_EQ(M.Text(tListField::Dec), "");

    // The 1-bit flag at bit 7 changes only that bit.
    Mem[0] = 0x55;
    tInfoBlock Flag = Row(Mem, 1, 7, 0);
    M.SetBlock(Flag);
    M.SetDecText("1");
    WriteBlock(Flag, M.Stored());
    EXPECT_EQ(Mem[0], 0xD5);
}

TEST(ListEditModel, TypeOverKeepsLengthAndRefusesJunk)
{
    uint8_t Mem[8] = {};
    tListEditModel M;
    M.SetBlock(Row(Mem, 16, 0, 0x1234));
    int Caret = 1;
    EXPECT_TRUE(M.TypeOver(tListField::Hex, "ab", true, Caret));
    EXPECT_EQ(M.Text(tListField::Hex), "1AB4");
    EXPECT_EQ(Caret, 3);
    EXPECT_FALSE(M.TypeOver(tListField::Hex, "1Z", true, Caret)); // pasted junk
    EXPECT_EQ(M.Value(), 0x1AB4);
    EXPECT_TRUE(M.TypeOver(tListField::Hex, "999", true, Caret)); // cut at the end
    EXPECT_EQ(M.Text(tListField::Hex), "1AB9");
    Caret = 1;
    EXPECT_TRUE(M.TypeOver(tListField::Hex, "00", false, Caret)); // loses what lies before the start
    EXPECT_EQ(M.Text(tListField::Hex), "0AB9");
    EXPECT_EQ(Caret, 0);
    M.SetBlock(Row(Mem, 3, 0, 0));
    Caret = 0;
    EXPECT_TRUE(M.TypeOver(tListField::Bin, "1", true, Caret));
    EXPECT_EQ(M.Value(), 4);
    EXPECT_EQ(tListEditModel::CommitNote(ListZST), Note::NewZSTData);
    EXPECT_EQ(tListEditModel::CommitNote(ListSSL), Note::NewSSL);
    EXPECT_EQ(tListEditModel::CommitNote(ListPPU), Note::NewSNES);
}
