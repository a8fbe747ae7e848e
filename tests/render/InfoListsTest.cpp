#include <gtest/gtest.h>

#include <memory>

#include "render/InfoLists.h"

namespace
{

// The value of the row with this caption (first column).
std::string Value(const tInfoList& L, const std::string& Caption, size_t Column = 0)
{
    for (const auto& R : L.Rows)
        if (R.Caption == Caption)
            return Column < R.Values.size() ? R.Values[Column] : "<no column>";
    return "<no row " + Caption + ">";
}

class InfoListsTest : public ::testing::Test
{
  protected:
    std::unique_ptr<tPPU> P = std::make_unique<tPPU>();
};

TEST_F(InfoListsTest, ScreenValuesAndTheirTexts)
{
    P->Brightness = 6;
    P->FixedColour = {16, 8, 248, 0}; // blue, green, red
    P->NoMathRegion = 3;
    P->MosaicSize = 3;
    const tInfoList L = InfoScreen(*P, false);
    EXPECT_EQ(Value(L, "brightness"), "6/15 (40%)");
    EXPECT_EQ(Value(L, "fixed colour"), "248, 8, 16");
    EXPECT_EQ(Value(L, "colour window math"), "prevent math = all");
    EXPECT_EQ(Value(L, "mosaic block"), "4 x 4");
    EXPECT_EQ(L.Rows.size(), 20u);
}

TEST_F(InfoListsTest, ResolutionCountsInterlacedLinesOnce)
{
    EXPECT_EQ(Value(InfoScreen(*P, false), "resolution"), "256 x 224");
    // Sprite interlace: the decoded height is already doubled.
    P->Interlace = 1;
    P->ScreenHeight = 448;
    EXPECT_EQ(Value(InfoScreen(*P, false), "resolution"), "256 x 448");
    // Hires with screen interlace shows twice the lines.
    P->Interlace = 0;
    P->ScreenHeight = 239;
    P->ScreenWidth = 512;
    P->Hires = 1;
    P->ScreenInterlace = 1;
    EXPECT_EQ(Value(InfoScreen(*P, false), "resolution"), "512 x 478");
    P->Hires = 0;
    EXPECT_EQ(Value(InfoScreen(*P, false), "resolution"), "512 x 239");
}

TEST_F(InfoListsTest, SpacesBlankOnlyNoAndDisabled)
{
    P->ObjOnMain = 1;
    P->ExtBG = 1;
    P->ColourWindow.Enable = {1, 0};
    for (bool Spaces : {false, true}) {
        const auto Lists = BuildInfoLists(*P, Spaces);
        EXPECT_EQ(Value(Lists[1], "on main screen"), "yes");
        EXPECT_EQ(Value(Lists[1], "on sub screen"), Spaces ? "" : "no");
        EXPECT_EQ(Value(Lists[0], "EXTBG"), "enabled");
        EXPECT_EQ(Value(Lists[0], "overscan"), Spaces ? "" : "disabled");
        EXPECT_EQ(Value(Lists[3], "enable (window 1, 2)", 5), Spaces ? "yes, " : "yes, no");
        EXPECT_EQ(Value(Lists[4], "flip"), Spaces ? "" : "disabled");
        // Words that are not flags stay.
        EXPECT_EQ(Value(Lists[3], "logic"), "OR");
        EXPECT_EQ(Value(Lists[3], "main screen", 5), "-");
    }
}

TEST_F(InfoListsTest, BackgroundColumnsAndTheMode7Depths)
{
    P->BGMode = 1;
    P->Layers[2].BitDepth = 2;
    P->Layers[1].HScroll = -3;
    tInfoList L = InfoBGs(*P, false);
    ASSERT_EQ(L.Columns.size(), 4u);
    EXPECT_EQ(Value(L, "bit depth", 2), "2");
    EXPECT_EQ(Value(L, "horizontal scroll", 1), "-3");

    P->BGMode = 7;
    P->Layers[0].BitDepth = 0;
    EXPECT_EQ(Value(InfoBGs(*P, false), "bit depth", 0), "8");
    EXPECT_EQ(Value(InfoBGs(*P, false), "bit depth", 1), "0");
    P->ExtBG = 1;
    EXPECT_EQ(Value(InfoBGs(*P, false), "bit depth", 1), "7");
}

} // namespace

TEST_F(InfoListsTest, SpriteNameBaseShowsTheSame16BitAddressInBothForms)
{
    P->ObjNameBase = {0x1C000, 0x0E000};
    const tInfoList L = InfoOBJ(*P, false);
    EXPECT_EQ(Value(L, "name base 1"), "C000h (49152)");
    EXPECT_EQ(Value(L, "name base 2"), "E000h (57344)");
}
