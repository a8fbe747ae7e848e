// orlik-cli thumbnail as a file manager runs it.

#include "cli/CliRun.h"

#include <filesystem>

#include "core/PictureFiles.h"
#include "savestates/StateFixtures.h"

// Every fixture: the thumbnail is the rendered screen shrunk by whole factors,
// each pixel the mean of its block; hi-res screens keep their shape.
TEST(CmdThumbnailTest, EachFixtureGivesItsScreenScaledDown)
{
    REQUIRE_FIXTURES();
    const std::string Dir = TempDir();
    int Checked = 0;
    for (const auto& [Sub, Ext] : {std::pair{"zsnes", ".zst"}, {"snes9x", ".000"}, {"snes9x-modern", ".000"}})
        for (const std::string& F : FixtureFiles(Sub, Ext)) {
            SCOPED_TRACE(F);
            tCliRun R = RunCli("render " + F + " -o " + Dir + "/screen.png");
            ASSERT_EQ(R.Exit, 0) << R.Err;
            R = RunCli("thumbnail " + F + " " + Dir + "/small.png 128");
            ASSERT_EQ(R.Exit, 0) << R.Err;
            tPicture32 Screen, Small;
            tError Error;
            ASSERT_TRUE(ReadPicture(Dir + "/screen.png", Screen, Error) &&
                        ReadPicture(Dir + "/small.png", Small, Error));
            ASSERT_EQ(Small.Width, 128);
            const int FX = Screen.Width / 128, FY = Screen.Height / Small.Height;
            ASSERT_TRUE(Screen.Width == FX * 128 && Screen.Height == FY * Small.Height);
            EXPECT_EQ(FX == FY, (Screen.Width >= 512) == (Screen.Height >= 448))
                << Screen.Width << "x" << Screen.Height;
            for (int y = 0; y < Small.Height; ++y)
                for (int x = 0; x < Small.Width; ++x)
                    for (int Shift : {0, 8, 16}) {
                        int Sum = 0;
                        for (int v = 0; v < FY; ++v)
                            for (int u = 0; u < FX; ++u)
                                Sum += Screen.At(FX * x + u, FY * y + v) >> Shift & 0xFF;
                        const int Got = Small.At(x, y) >> Shift & 0xFF, Mean = (2 * Sum + FX * FY) / (2 * FX * FY);
                        ASSERT_LE(std::abs(Got - Mean), 1) << x << "," << y;
                    }
            ++Checked;
        }
    EXPECT_GT(Checked, 20);
    // Larger than the screen: the screen itself.
    const std::string F = FixtureFiles("zsnes", ".zst").at(0);
    EXPECT_EQ(RunCli("thumbnail " + F + " " + Dir + "/big.png 1024").Exit, 0);
    EXPECT_EQ(RunCli("render " + F + " -o " + Dir + "/screen.png").Exit, 0);
    tPicture32 Big, Screen;
    tError Error;
    ASSERT_TRUE(ReadPicture(Dir + "/big.png", Big, Error) && ReadPicture(Dir + "/screen.png", Screen, Error));
    EXPECT_TRUE(Big.Width == Screen.Width && Big.Pixels == Screen.Pixels);
    // A size that is no size is a usage error; nothing is written.
    for (const char* Size : {"0", "-5", "12x", ""})
        EXPECT_EQ(RunCli("thumbnail " + F + " " + Dir + "/none.png " + Size).Exit, 2) << Size;
    EXPECT_FALSE(std::filesystem::exists(Dir + "/none.png"));
}
