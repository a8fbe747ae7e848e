#include "TestSupport.h"

#include <filesystem>

#include "core/LongPath.h"

namespace
{

TEST(LongPath, EveryComponentTakesItsCaseOnDisk)
{
    std::string Dir = TempDir();
    std::filesystem::create_directories(Dir + "/Games/SNES");
    WriteBytes(Dir + "/Games/SNES/Mario.ZST", {1});
    EXPECT_EQ(LongPathName(Dir + "/games/snes/mario.zst"), Dir + "/Games/SNES/Mario.ZST");
    EXPECT_EQ(LongPathName(Dir + "/Games/SNES/Mario.ZST"), Dir + "/Games/SNES/Mario.ZST");
    EXPECT_EQ(LongPathName(Dir + "/GAMES/snes/"), Dir + "/Games/SNES/");
    // A file may not stand in for an inner folder.
    WriteBytes(Dir + "/Games/file", {1});
    EXPECT_EQ(LongPathName(Dir + "/games/FILE/x"), Dir + "/Games/FILE/x");
    // Missing parts stay as given.
    EXPECT_EQ(LongPathName(Dir + "/games/New/Mario.zst"), Dir + "/Games/New/Mario.zst");
    EXPECT_EQ(LongPathName(""), "");
    EXPECT_EQ(LongPathName("/"), "/");
}

TEST(LongPath, SeveralMatchesPickTheFirstInByteOrder)
{
    std::string Dir = TempDir();
    WriteBytes(Dir + "/b.SRM", {1});
    WriteBytes(Dir + "/b.srm", {1});
    WriteBytes(Dir + "/B.srm", {1});
    EXPECT_EQ(LongPathName(Dir + "/b.srm"), Dir + "/b.srm"); // the exact name wins
    EXPECT_EQ(LongPathName(Dir + "/b.Srm"), Dir + "/B.srm");
}

} // namespace
