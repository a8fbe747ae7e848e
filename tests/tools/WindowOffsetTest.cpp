// The offset texts the hex editor and the memory viewer share, at the edges.

#include <gtest/gtest.h>

#include "tools/WindowOffset.h"

TEST(WindowOffset, TextsAtTheEdgesAndEntry)
{
    EXPECT_EQ((tWindowOffset{0, 0xFF00}.Text(true)), "0000");
    EXPECT_EQ((tWindowOffset{0, 0xFF00}.Caption("window offset: (")), "window offset: (000%)");
    EXPECT_EQ((tWindowOffset{0xFF00, 0xFF00}.Text(false)), "65280");
    EXPECT_EQ((tWindowOffset{0xFF00, 0xFF00}.PercentText()), "100");
    EXPECT_EQ((tWindowOffset{0xFEFF, 0xFF00}.PercentText()), "099");
    // An empty block, a window as large as its block or larger, a start not
    // yet held inside the block: never a wider field, never a division by 0.
    for (const tWindowOffset Still : {tWindowOffset{0, 0}, tWindowOffset{0, -16384}, tWindowOffset{9, 0}}) {
        EXPECT_EQ(Still.Text(true), "0");
        EXPECT_EQ(Still.PercentText(), "100");
    }
    EXPECT_EQ(ParseWindowOffset("7fffffff", true), 0x7FFFFFFF);
    for (const char* Bad : {"", "80000000", "12x", "-1", "2147483648"})
        EXPECT_FALSE(ParseWindowOffset(Bad, Bad[0] == '8')) << Bad;
}
