#include <gtest/gtest.h>

#include <memory>

#include "core/RegisterTab.h"
#include "core/SNES.h"

namespace
{
tRegisterTab Built(std::initializer_list<const char*> Lines)
{
    std::vector<tSectionLine> Section;
    int N = 10;
    for (const char* L : Lines)
        Section.push_back({L, N++});
    tRegisterTab Tab;
    Tab.Build(Section, "SNES.txt");
    return Tab;
}

template <class T> uint8_t* Bytes(T& V)
{
    return reinterpret_cast<uint8_t*>(&V);
}
} // namespace

TEST(RegisterTabTest, FieldsAlignToTheRight)
{
    const struct {
        const char* Line;
        tRowFields Want;
    } Cases[] = {
        {"\t$2100 R_W 8 INIDISP  extra words ; brightness ;and more",
         {"$2100", "R W", "8", "INIDISP", "brightness ;and more"}},
        {"  reg 16   C", {"", "reg", "16", "C", ""}},
        {"8 A ; low byte", {"", "", "8", "A", "low byte"}},
        {"12", {"", "", "12", "", ""}}, // a lone field is a width, never a name
    };
    for (const auto& C : Cases) {
        const tRowFields F = ParseRowLine(C.Line);
        EXPECT_EQ(F.Address, C.Want.Address) << C.Line;
        EXPECT_EQ(F.Type, C.Want.Type) << C.Line;
        EXPECT_EQ(F.Bits, C.Want.Bits) << C.Line;
        EXPECT_EQ(F.Name, C.Want.Name) << C.Line;
        EXPECT_EQ(F.Comment, C.Want.Comment) << C.Line;
    }
}

TEST(RegisterTabTest, CommentLinesAreTextRows)
{
    tRegisterTab Tab = Built({"; --- header ---", "", "8 A ; accumulator", "16"});
    ASSERT_EQ(Tab.Rows.size(), 4u);
    EXPECT_TRUE(Tab.Rows[0].IsText);
    EXPECT_EQ(Tab.Rows[0].Comment, "--- header ---");
    EXPECT_TRUE(Tab.Rows[1].IsText);
    EXPECT_FALSE(Tab.Rows[2].IsText);
    EXPECT_EQ(Tab.DataRowCount(), 2u);
}

TEST(RegisterTabTest, ABitsFieldThatIsNotANumberNamesTheLine)
{
    try {
        Built({"; fine", "$2100 W x8 INIDISP ; oops"});
        FAIL() << "no error";
    } catch (const tRegisterFileError& E) {
        EXPECT_STREQ(E.what(), "SNES.txt, line 11: the bits field \"x8\" is not a number from 1 to 64");
    }
    EXPECT_THROW(Built({"W 0 ZERO"}), tRegisterFileError);
    EXPECT_THROW(Built({"W 65 WIDE"}), tRegisterFileError);
    EXPECT_NO_THROW(Built({"W 64 WIDE"}));
}

TEST(RegisterTabTest, FlagsAndBytesOfWiderRegisters)
{
    auto S = std::make_unique<tSNES>();
    S->CPU_P = 0x0181; // E set, N and C set
    S->CPU_A = 0xBEEF;
    tRegisterTab Tab = Built({"1 N", "1 E", "16 C", "8 B", "8 A"});
    Tab.Rewind();
    Tab.ShowValue(Bytes(S->CPU_P), 2, 7, false);
    Tab.ShowValue(Bytes(S->CPU_P), 2, 8, false);
    Tab.ShowValue(Bytes(S->CPU_A), 2, 0, false);
    Tab.ShowValue(Bytes(S->CPU_A), 2, 8, false);
    Tab.ShowValue(Bytes(S->CPU_A), 2, 0, false);
    EXPECT_EQ(Tab.Rows[0].Bin, "1");
    EXPECT_EQ(Tab.Rows[1].Block.Value, 1u);
    EXPECT_EQ(Tab.Rows[2].Hex, "BEEF");
    EXPECT_EQ(Tab.Rows[3].Hex, "BE");
    EXPECT_EQ(Tab.Rows[4].Hex, "EF");

    // The flag row writes back into bit 7 only.
    WriteBlock(Tab.Rows[0].Block, 0);
    EXPECT_EQ(S->CPU_P, 0x0101);
}

TEST(RegisterTabTest, WideAndDoubledValues)
{
    uint64_t Wide = 0x8000000000000001ull;
    uint16_t Word = 0x7FFF;
    tRegisterTab Tab = Built({"64 SUM", "16 VMADD*2", "12 ODD"});
    Tab.Rewind();
    Tab.ShowValue(Bytes(Wide), 8, 0, false);
    Tab.ShowValue(Bytes(Word), 2, -1, false);
    Tab.ShowValue(Bytes(Word), 2, 0, false);
    EXPECT_EQ(Tab.Rows[0].Dec, "9223372036854775809");
    EXPECT_EQ(Tab.Rows[1].Hex, "FFFE");
    EXPECT_EQ(Tab.Rows[1].Block.ShiftLeft, 1);
    // 12 bits are shown in 16-bit digits, binary in 12.
    EXPECT_EQ(Tab.Rows[2].Hex, "0FFF");
    EXPECT_EQ(Tab.Rows[2].Bin, "111111111111");
}

TEST(RegisterTabTest, MissingValuesShowQuestionMarks)
{
    uint8_t Byte = 5;
    tRegisterTab Tab = Built({"8 MDMAEN", "9 HTIME", "4 LOW"});
    Tab.Rewind();
    Tab.ShowMissing(false);
    Tab.ShowMissing(false);
    // A shift beyond the value's field shows nothing either.
    Tab.ShowValue(&Byte, 1, 8, false);
    EXPECT_EQ(Tab.Rows[0].Bin, "????????");
    EXPECT_EQ(Tab.Rows[1].Hex, "????");
    EXPECT_EQ(Tab.Rows[2].Dec, "?");
    EXPECT_EQ(Tab.Rows[2].Block.Address, nullptr);
}

TEST(RegisterTabTest, SurplusValuesAreDroppedWithoutWrappingAround)
{
    uint8_t A = 1, B = 2, C = 3;
    tRegisterTab Tab = Built({"; title", "8 FIRST", "; between", "8 SECOND"});
    Tab.Rewind();
    Tab.ShowValue(&A, 1, 0, false);
    Tab.ShowValue(&B, 1, 0, false);
    Tab.ShowValue(&C, 1, 0, false);
    Tab.ShowValue(&C, 1, 0, false);
    EXPECT_EQ(Tab.Rows[1].Dec, "1");
    EXPECT_EQ(Tab.Rows[3].Dec, "2");
    EXPECT_EQ(Tab.ValueCount, 4u);
    EXPECT_EQ(Tab.DataRowCount(), 2u);
}

TEST(RegisterTabTest, OldValueFollowsRefreshesButNotWriteBacks)
{
    uint8_t V = 10;
    tRegisterTab Tab = Built({"8 V"});
    Tab.Rewind();
    Tab.ShowValue(&V, 1, 0, false);
    V = 20;
    Tab.Rewind();
    Tab.ShowValue(&V, 1, 0, false);
    EXPECT_EQ(Tab.Rows[0].Block.OldValue, 20u);
    EXPECT_EQ(Tab.Rows[0].Block.Value, 20u);
    // The list editor writes 30 with Busy set; the refill keeps OldValue.
    WriteBlock(Tab.Rows[0].Block, 30);
    Tab.Rewind();
    Tab.ShowValue(&V, 1, 0, true);
    EXPECT_EQ(V, 30);
    EXPECT_EQ(Tab.Rows[0].Block.OldValue, 20u);
    EXPECT_EQ(Tab.Rows[0].Block.Value, 30u);
}
