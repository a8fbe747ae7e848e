// orlik-cli palette: export and import through the savestate writers (bad
// palettes are in BadFilesCliTest).

#include "CliRun.h"

#include <filesystem>

TEST(CmdPaletteTest, ImportedColoursReachTheWrittenState)
{
    const std::string Dir = TempDir();
    // Every colour becomes white, in the RAW form of values times 8.
    WriteBytes(Dir + "/white.pal", std::vector<uint8_t>(768, 248));
    tCliRun R =
        RunCli("palette " + DemoState + " --import " + Dir + "/white.pal --format raw8 --to s9x -o " + Dir + "/");
    ASSERT_EQ(R.Exit, 0) << R.Err;
    ASSERT_TRUE(std::filesystem::exists(Dir + "/demo.000")) << R.Out;
    R = RunCli("palette " + Dir + "/demo.000 --format snes -o " + Dir + "/back.pal");
    ASSERT_EQ(R.Exit, 0) << R.Err;
    const std::vector<uint8_t> Back = ReadBytes(Dir + "/back.pal");
    ASSERT_EQ(Back.size(), 512u);
    for (size_t i = 0; i < Back.size(); i += 2)
        ASSERT_EQ(Back[i] | Back[i + 1] << 8, 0x7FFF) << i;
}

TEST(CmdPaletteTest, GimpAndAdobePalettesAreNamedForTheirFormatAndReadBack)
{
    const std::string Dir = TempDir();
    for (const std::string Format : {"gpl", "act"}) {
        tCliRun R = RunCli("palette " + DemoState + " --format " + Format + " -o " + Dir + "/");
        ASSERT_EQ(R.Exit, 0) << R.Err;
        const std::string File = Dir + "/demo." + Format;
        ASSERT_EQ(ReadBytes(File).size() == 768, Format == "act") << File;
        // The import knows the format by the name.
        R = RunCli("palette " + DemoState + " --import " + File + " --to s9x -o " + Dir + "/" + Format + ".000");
        ASSERT_EQ(R.Exit, 0) << R.Err;
        R = RunCli("palette " + Dir + "/" + Format + ".000 --format " + Format + " -o " + Dir + "/back." + Format);
        ASSERT_EQ(R.Exit, 0) << R.Err;
        EXPECT_EQ(ReadBytes(Dir + "/back." + Format), ReadBytes(File)) << Format;
    }
}
