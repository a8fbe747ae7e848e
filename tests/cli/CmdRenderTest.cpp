// orlik-cli render as a user runs it.

#include "cli/CliRun.h"

#include <filesystem>

#include "core/PictureFiles.h"

namespace
{

TEST(CmdRenderTest, RealStatesRenderEveryView)
{
    REQUIRE_FIXTURES();
    const std::string Layers = FixturePath("snes9x/m1_layers.000");
    if (!std::filesystem::exists(Layers))
        GTEST_SKIP() << "fixtures missing";
    const std::string Dir = TempDir();
    // Bad files among good ones are BadFilesCliTest's.
    tError Error;
    tCliRun R = RunCli("render " + Layers + " -o " + Dir + "/one/");
    EXPECT_EQ(R.Exit, 0) << R.Err;
    EXPECT_TRUE(std::filesystem::exists(Dir + "/one/m1_layers.000.png"));

    R = RunCli("render " + Layers + " -o " + Dir + "/s8.bmp --view screen8 --scale512");
    EXPECT_EQ(R.Exit, 0) << R.Err;
    tPicture8 P8;
    ASSERT_TRUE(ReadPicture(Dir + "/s8.bmp", P8, Error)) << Error.Reason;
    EXPECT_EQ(P8.Width, 512);
    EXPECT_EQ(P8.Height, 448);

    struct tCase {
        std::string Args;
        int Width, Height;
    };
    const tCase Cases[] = {{"--view bg1 --priority 0", 256, 256},
                           {"--view sprites --transparency '#FF00FF'", 576, 320},
                           {"--view bg4", 0, 0}, // no BG4 in mode 1
                           {"--view mode7 --ext --transparency none", 1024, 1024}};
    for (const tCase& C : Cases) {
        R = RunCli("render " + Layers + " -o " + Dir + "/v.png " + C.Args);
        if (C.Width == 0) {
            EXPECT_EQ(R.Exit, 1) << C.Args;
            EXPECT_NE(R.Err.find("BG4"), std::string::npos) << R.Err;
            continue;
        }
        EXPECT_EQ(R.Exit, 0) << C.Args << R.Err;
        ASSERT_TRUE(ReadPicture(Dir + "/v.png", P8, Error)) << C.Args << Error.Reason;
        EXPECT_EQ(P8.Width, C.Width) << C.Args;
        EXPECT_EQ(P8.Height, C.Height) << C.Args;
    }
}

} // namespace
