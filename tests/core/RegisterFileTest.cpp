#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/RegisterFile.h"
#include "core/SharedData.h"

namespace
{
tRegisterFile Parsed(const std::string& Text)
{
    tRegisterFile F;
    F.Parse(Text, "SNES.txt");
    return F;
}
} // namespace

TEST(RegisterFileTest, SplitsTenSectionsAndTrimsTheirEnds)
{
    std::string Text = "; before the first section\r\nignored\r\n";
    for (int S = 0; S < 10; ++S)
        Text += "[section " + std::to_string(S) + "]\r\nline " + std::to_string(S) + "\r\n\r\n   \r\n";
    Text += "[an eleventh]\r\nnever read\r\n";
    tRegisterFile F = Parsed(Text);
    for (int S = 0; S < 10; ++S) {
        ASSERT_EQ(F.Sections[S].size(), 1u) << S;
        EXPECT_EQ(F.Sections[S][0].Text, "line " + std::to_string(S));
    }
    // Line numbers count every line of the file.
    EXPECT_EQ(F.Sections[0][0].Line, 4);
    EXPECT_EQ(F.Sections[1][0].Line, 8);

    // Empty lines inside a section are kept.
    F = Parsed("[CPU]\nA\n\nB\n[DMA]\n");
    ASSERT_EQ(F.Sections[SectionCPU].size(), 3u);
    EXPECT_EQ(F.Sections[SectionCPU][1].Text, "");
}

TEST(RegisterFileTest, SceneListsComeInNamedBlocks)
{
    tRegisterFile F = Parsed("[0]\n[1]\n[2]\n[3]\n[4]\n[5]\n[6]\n[7]\nHDMA enabled\ndirection\n"
                             "[8]\nstray\n{LV_InfoOBJ}\non main screen\n{LV_InfoM7}\nmatrix A\nmatrix B\n[9]\n");
    EXPECT_EQ(F.ChannelInfoCaptions(), (std::vector<std::string>{"HDMA enabled", "direction"}));
    auto Lists = F.SceneListCaptions();
    ASSERT_EQ(Lists.size(), 2u);
    EXPECT_EQ(Lists[0].Name, "LV_InfoOBJ");
    EXPECT_EQ(Lists[0].Items, std::vector<std::string>{"on main screen"});
    EXPECT_EQ(Lists[1].Items, (std::vector<std::string>{"matrix A", "matrix B"}));
}

TEST(RegisterFileTest, CartridgeTextsReplaceTheDefaultItemsByIndex)
{
    tRegisterFile F = Parsed("[0]\n[1]\n[2]\n[3]\n[4]\n[5]\n[6]\n[7]\n[8]\n[9]\n"
                             "{ComboBox_MapMode}\n20 LoROM\n3a HiROM with SPC7110\nno index\n"
                             "{ComboBox_CoCPU}\n03 SA-1\n20 out of range\n");
    auto Map = F.CartComboItems("ComboBox_MapMode");
    ASSERT_EQ(Map.size(), 256u);
    EXPECT_EQ(Map[0x00], "00h");
    EXPECT_EQ(Map[0x20], "20 LoROM");
    EXPECT_EQ(Map[0x3A], "3a HiROM with SPC7110");
    EXPECT_EQ(Map[0xFF], "FFh");
    auto Co = F.CartComboItems("ComboBox_CoCPU");
    ASSERT_EQ(Co.size(), 16u);
    EXPECT_EQ(Co[3], "03 SA-1");
    EXPECT_EQ(Co[15], "0Fh");
    // A box without a block keeps its defaults.
    EXPECT_EQ(F.CartComboItems("ComboBox_Region")[0x01], "01h");
}

TEST(RegisterFileTest, AMissingFileFailsAndIsNamedByItsPath)
{
    tRegisterFile F;
    tError Error;
    const std::string Name = TempDir() + "/SNES.txt";
    EXPECT_FALSE(LoadRegisterDescriptions(F, Error, Name));
    EXPECT_FALSE(Error.Empty());
    EXPECT_EQ(RegisterFilePath(Name), Name);
    EXPECT_EQ(RegisterFilePath(), ProgramDir + RegisterFileName);
}
