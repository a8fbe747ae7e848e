#include "cli/CliRun.h"
#include "RenderTestSupport.h"

#include "core/Broadcast.h"
#include "core/SNES.h"
#include "savestates/SSL.h"

namespace
{

class HdmaCliTest : public tModelTest
{
};

TEST_F(HdmaCliTest, ListsTheLinesOfASavedStateWithItsCartridge)
{
    const std::string Dir = TempDir();
    // Channel 2 in HDMA mode 2 (two bytes to one register) to $2132, the fixed
    // colour, with its table in ROM at $00:8000.
    HDMAChannel(*SNES, 2, true, 0x02, 0x32, 0x00, 0x8000);
    Broadcast(nullptr, Note::NewSNES);
    ASSERT_TRUE(SaveState(*SSL, Dir + "/game.s01"));
    std::vector<uint8_t> ROM(32768, 0);
    ROM[0] = 0x82;
    ROM[1] = 0xE1;
    ROM[2] = 0x3F;
    WriteBytes(Dir + "/other.sfc", ROM);

    tCliRun R = RunCli("hdma " + Dir + "/game.s01 --channel 2 --cart " + Dir + "/other.sfc");
    EXPECT_EQ(R.Exit, 0) << R.Err;
    EXPECT_NE(R.Out.find("00:8001  2132h"), std::string::npos) << R.Out;
    EXPECT_NE(R.Out.find("11100001  E1  225"), std::string::npos) << R.Out;
    EXPECT_NE(R.Out.find("00:8002  2132h  00111111"), std::string::npos) << R.Out;

    // Without a cartridge the ROM bank cannot be read.
    R = RunCli("hdma " + Dir + "/game.s01 --channel 2");
    EXPECT_EQ(R.Exit, 0) << R.Err;
    EXPECT_NE((R.Out + R.Err).find("Cartridge not found."), std::string::npos) << R.Out << R.Err;
    EXPECT_NE(R.Out.find("(HDMA table)"), std::string::npos) << R.Out;

    EXPECT_EQ(RunCli("hdma " + Dir + "/game.s01 --channel 8").Exit, 2);
}

} // namespace
