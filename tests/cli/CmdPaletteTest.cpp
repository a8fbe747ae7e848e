// orlik-cli palette: export and import through the savestate writers.

#include "CliRun.h"

#include <filesystem>

namespace
{
const std::string Demo = std::string(ORLIK_SOURCE_DIR) + "/resources/demo/demo.zst";
}

TEST(CmdPaletteTest, ImportedColoursReachTheWrittenState)
{
    const std::string Dir = TempDir();
    // Every colour becomes white, in the RAW form of values times 8.
    WriteBytes(Dir + "/white.pal", std::vector<uint8_t>(768, 248));
    tCliRun R = RunCli("palette " + Demo + " --import " + Dir + "/white.pal --format raw8 --to s9x -o " + Dir + "/");
    ASSERT_EQ(R.Exit, 0) << R.Err;
    ASSERT_TRUE(std::filesystem::exists(Dir + "/demo.000")) << R.Out;
    R = RunCli("palette " + Dir + "/demo.000 --format snes -o " + Dir + "/back.pal");
    ASSERT_EQ(R.Exit, 0) << R.Err;
    const std::vector<uint8_t> Back = ReadBytes(Dir + "/back.pal");
    ASSERT_EQ(Back.size(), 512u);
    for (size_t i = 0; i < Back.size(); i += 2)
        ASSERT_EQ(Back[i] | Back[i + 1] << 8, 0x7FFF) << i;
}

TEST(CmdPaletteTest, ABadPaletteWritesNothing)
{
    const std::string Dir = TempDir();
    WriteBytes(Dir + "/short.pal", std::vector<uint8_t>(100, 0));
    const tCliRun R = RunCli("palette " + Demo + " --import " + Dir + "/short.pal --format snes -o " + Dir + "/x.zst");
    EXPECT_EQ(R.Exit, 1);
    EXPECT_NE(R.Err.find(Dir + "/short.pal: "), std::string::npos) << R.Err;
    EXPECT_NE(R.Err.find("100 bytes long"), std::string::npos) << R.Err;
    EXPECT_FALSE(std::filesystem::exists(Dir + "/x.zst"));
    // Without -o an import would have to write over the state.
    EXPECT_EQ(RunCli("palette " + Demo + " --import " + Dir + "/short.pal").Exit, 2);
}
