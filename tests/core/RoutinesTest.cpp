#include <gtest/gtest.h>

#include "core/ByteRoutines.h"
#include "core/Routines.h"

namespace
{

TEST(NumberText, DigitsArePaddedToWholeGroups)
{
    EXPECT_EQ(BinText(0, 1), "0");
    EXPECT_EQ(BinText(0x1FF, 8), "0000000111111111");
    EXPECT_EQ(BinText(~0ull, 1).size(), 64u);
    EXPECT_EQ(HexText(0xABCDE, 0), "ABCDE"); // a group below 1 counts as 1
    EXPECT_EQ(HexText(~0ull, 3), "00FFFFFFFFFFFFFFFF");
    EXPECT_EQ(DecText(42, 5), "00042");
    EXPECT_EQ(DecText(123456, 3), "123456"); // never cut
}

TEST(NumberText, ParsersGiveNoValueForBadTextAndOverlongNumbers)
{
    EXPECT_EQ(ParseHex("FFFFFFFFFFFFFFFF"), ~0ull);
    EXPECT_EQ(ParseHex("ab"), 0xABu);
    EXPECT_EQ(ParseHex("10000000000000000"), std::nullopt); // 17 digits
    EXPECT_EQ(ParseHex(""), std::nullopt);
    EXPECT_EQ(ParseHex("12G"), std::nullopt);

    EXPECT_EQ(ParseBin("0102"), std::nullopt);
    EXPECT_EQ(ParseBin(std::string(64, '1')), ~0ull);
    EXPECT_EQ(ParseBin(std::string(65, '0')), std::nullopt);
    // Zero is a value, not a failure.
    EXPECT_EQ(ParseBin("0"), 0u);

    EXPECT_EQ(ParseDec("-1"), ~0ull);
    EXPECT_EQ(ParseDec("9223372036854775807"), 0x7FFFFFFFFFFFFFFFull);
    EXPECT_EQ(ParseDec("-9223372036854775808"), 0x8000000000000000ull);
    for (const char* Bad : {"9223372036854775808", "12a", "", "-", " 1", "99999999999999999999999"})
        EXPECT_EQ(ParseDec(Bad), std::nullopt) << Bad;
}

TEST(NumberText, IsNumberTextAcceptsExactlyZeroTo7FFFFFFF)
{
    EXPECT_TRUE(IsNumberText("0000000012", false));
    EXPECT_TRUE(IsNumberText("2147483647", false));
    EXPECT_FALSE(IsNumberText("2147483648", false));
    EXPECT_FALSE(IsNumberText("9999999999", false));
    EXPECT_FALSE(IsNumberText("12345678901", false));
    EXPECT_FALSE(IsNumberText("12A", false));
    EXPECT_FALSE(IsNumberText("", false));
    EXPECT_FALSE(IsNumberText("", true));
    EXPECT_TRUE(IsNumberText("7FFFFFFF", true));
    EXPECT_TRUE(IsNumberText("000007FFFFFFF", true));
    EXPECT_FALSE(IsNumberText("80000000", true));
    EXPECT_FALSE(IsNumberText("FFFFFFFFF", true));
    EXPECT_FALSE(IsNumberText("7G", true));
    EXPECT_FALSE(IsNumberText("-1", false));
}

TEST(TextChecks, EmptyTextIsNeitherInASetNorAllDigits)
{
    EXPECT_FALSE(AllInSet("", "01"));
    EXPECT_FALSE(AllInSet("012", "01"));
    EXPECT_TRUE(NotAllDigits(""));
    EXPECT_EQ(NulToSpace(std::string("AB\0\0C", 5)), "AB  C");
}

TEST(TextChecks, ZoomCaptionKeepsTheTextBeforeTheRatio)
{
    EXPECT_EQ(ZoomCaption("Zoom (1:1)", 0), "Zoom (1:1)");
    EXPECT_EQ(ZoomCaption("Zoom (1:1)", 2), "Zoom (4:1)");
    EXPECT_EQ(ZoomCaption("Zoom (4:1)", -1), "Zoom (1:2)");
    EXPECT_EQ(ZoomCaption("a (b) (1:8)", 3), "a (8:1)");
    EXPECT_EQ(ZoomCaption("No ratio", 1), "2:1)");
    EXPECT_EQ(ZoomCaption("(", 100), "(4611686018427387904:1)"); // bounded, no overflow
}

TEST(ByteRoutines, PartialSwapsAndShiftsBeyondTheWord)
{
    EXPECT_EQ(Swap16(0xAABB1234u), 0xAABB3412u);
    EXPECT_EQ(BigEndian24(0xFF123456u), 0x563412u);
    EXPECT_EQ(SwapRB(0xAA112233u), 0xAA332211u);
    EXPECT_EQ(ShiftBy(0x80, -7), 1u);
    EXPECT_EQ(ShiftBy(1, 64), 0u);
    EXPECT_EQ(ShiftBy(~0ull, -200), 0u);
}

TEST(ByteRoutines, WrapAddStaysInsideThePowerOfTwoWindow)
{
    uint16_t A = 0xFFFF;
    WrapAdd(A, 2, 65536);
    EXPECT_EQ(A, 1);
    A = 0x7FE;
    WrapAdd(A, 4, 0x800);
    EXPECT_EQ(A, 2);
    A = 1;
    WrapAdd(A, -2, 65536);
    EXPECT_EQ(A, 0xFFFF);
    A = 0x10;
    WrapAdd(A, 0x12345, 0x100);
    EXPECT_EQ(A, 0x55);
}

} // namespace
