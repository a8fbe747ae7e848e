#include <gtest/gtest.h>

#include <memory>

#include "render/InfoLists.h"

namespace {

// The value of the row with this caption (first column).
std::string Value(const tInfoList& L, const std::string& Caption, size_t Column = 0)
{
    for (const auto& R : L.Rows)
        if (R.Caption == Caption)
            return Column < R.Values.size() ? R.Values[Column] : "<no column>";
    return "<no row " + Caption + ">";
}

class InfoListsTest : public ::testing::Test {
protected:
    std::unique_ptr<tPPU> P = std::make_unique<tPPU>();
};

TEST_F(InfoListsTest, ScreenValuesAndTheirTexts)
{
    P->BGMode = 1;
    P->Brightness = 6;
    P->FixedColour = {16, 8, 248, 0}; // blue, green, red
    P->ClipRegion = 2;
    P->NoMathRegion = 3;
    P->BeamPos = {12, 34};
    P->MosaicSize = 3;
    P->Windows[1].Left = 10;
    P->Windows[1].Right = 200;
    P->PALMode = 1;
    const tInfoList L = InfoScreen(*P, false);
    EXPECT_EQ(Value(L, "BG mode"), "1");
    EXPECT_EQ(Value(L, "brightness"), "6/15 (40%)");
    EXPECT_EQ(Value(L, "fixed colour"), "248, 8, 16");
    EXPECT_EQ(Value(L, "colour window clip"), "clip to black = in");
    EXPECT_EQ(Value(L, "colour window math"), "prevent math = all");
    EXPECT_EQ(Value(L, "beam position"), "12, 34");
    EXPECT_EQ(Value(L, "mosaic block"), "4 x 4");
    EXPECT_EQ(Value(L, "window 2"), "left=10, right=200");
    EXPECT_EQ(Value(L, "PAL mode"), "yes");
    EXPECT_EQ(Value(L, "time over"), "no");
    EXPECT_EQ(Value(L, "forced blank"), "disabled");
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
    P->Layers[0].BitDepth = 4;
    P->Layers[2].BitDepth = 2;
    P->Layers[2].MapBase = 0x5800;
    P->Layers[1].HScroll = -3;
    P->Layers[3].MapWidth = 64;
    tInfoList L = InfoBGs(*P, false);
    ASSERT_EQ(L.Columns.size(), 4u);
    EXPECT_EQ(Value(L, "bit depth", 0), "4");
    EXPECT_EQ(Value(L, "bit depth", 2), "2");
    EXPECT_EQ(Value(L, "map base", 2), "5800h");
    EXPECT_EQ(Value(L, "horizontal scroll", 1), "-3");
    EXPECT_EQ(Value(L, "map size in tiles", 3), "64 x 32");

    P->BGMode = 7;
    P->Layers[0].BitDepth = 0;
    EXPECT_EQ(Value(InfoBGs(*P, false), "bit depth", 0), "8");
    EXPECT_EQ(Value(InfoBGs(*P, false), "bit depth", 1), "0");
    P->ExtBG = 1;
    EXPECT_EQ(Value(InfoBGs(*P, false), "bit depth", 1), "7");
}

TEST_F(InfoListsTest, Mode7FlipsAndMathOperation)
{
    P->M7FlipX = 1;
    EXPECT_EQ(Value(InfoMode7(*P, false), "flip"), "x");
    P->M7FlipY = 1;
    EXPECT_EQ(Value(InfoMode7(*P, false), "flip"), "x, y");
    P->M7FlipX = 0;
    EXPECT_EQ(Value(InfoMode7(*P, false), "flip"), "y");

    P->AddSubscreen = 1;
    P->SubtractMath = 1;
    EXPECT_EQ(Value(InfoMath(*P, false), "operation"), "subscreen minus");
    P->AddSubscreen = 0;
    P->SubtractMath = 0;
    EXPECT_EQ(Value(InfoMath(*P, false), "operation"), "col. const. plus");
}

} // namespace
