// The offset field and caption texts the hex editor and the memory viewer
// share: the first byte, the last start, a window that cannot move, entry.

#include <gtest/gtest.h>

#include "tools/WindowOffset.h"

TEST(WindowOffset, TextsAtTheEdgesAndEntry)
{
    const tWindowOffset First{0, 0xFF00};
    EXPECT_EQ(First.Text(true), "0000");
    EXPECT_EQ(First.Text(false), "00000");
    EXPECT_EQ(First.Caption("window offset: ("), "window offset: (000%)");
    const tWindowOffset Last{0xFF00, 0xFF00};
    EXPECT_EQ(Last.Text(true), "FF00");
    EXPECT_EQ(Last.Caption("window &offset ("), "window &offset (100%)");
    EXPECT_EQ((tWindowOffset{0xFEFF, 0xFF00}.PercentText()), "099");
    // An empty block, or a window as large as its block or larger.
    for (int64_t Max : {0, -16384}) {
        const tWindowOffset Still{0, Max};
        EXPECT_EQ(Still.Text(true), "0");
        EXPECT_EQ(Still.Text(false), "0");
        EXPECT_EQ(Still.PercentText(), "100");
    }
    // A start not yet held inside the block never widens the field.
    EXPECT_EQ((tWindowOffset{0x12345, 0xFF}.Text(true)), "FF");

    EXPECT_EQ(ParseWindowOffset("7fffffff", true), 0x7FFFFFFF);
    EXPECT_EQ(ParseWindowOffset("0042", false), 42);
    for (const char* Bad : {"", "80000000", "12x", "-1", "2147483648"})
        EXPECT_FALSE(ParseWindowOffset(Bad, Bad[0] == '8')) << Bad;
}
