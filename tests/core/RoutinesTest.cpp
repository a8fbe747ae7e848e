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
    const struct {
        const char* Text;
        bool Hex, Want;
    } Cases[] = {{"0000000012", false, true},
                 {"2147483647", false, true},
                 {"2147483648", false, false},
                 {"9999999999", false, false},
                 {"12345678901", false, false},
                 {"12A", false, false},
                 {"", false, false},
                 {"", true, false},
                 {"7FFFFFFF", true, true},
                 {"000007FFFFFFF", true, true},
                 {"80000000", true, false},
                 {"FFFFFFFFF", true, false},
                 {"7G", true, false},
                 {"-1", false, false}};
    for (const auto& C : Cases)
        EXPECT_EQ(IsNumberText(C.Text, C.Hex), C.Want) << C.Text << (C.Hex ? " hex" : "");
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
    // Start, step, window size, result.
    const struct {
        uint16_t A;
        int Step;
        uint32_t Size;
        uint16_t Want;
    } Cases[] = {{0xFFFF, 2, 65536, 1}, {0x7FE, 4, 0x800, 2}, {1, -2, 65536, 0xFFFF}, {0x10, 0x12345, 0x100, 0x55}};
    for (const auto& C : Cases) {
        uint16_t A = C.A;
        WrapAdd(A, C.Step, C.Size);
        EXPECT_EQ(A, C.Want) << C.A << " + " << C.Step;
    }
}

} // namespace
