// orlik-cli info and convert as a user runs them.

#include "app/Loader.h"
#include "cli/CliRun.h"

#include <algorithm>
#include <filesystem>

#include "cart/CartTestROM.h"
#include "core/Broadcast.h"
#include "core/SNES.h"
#include "savestates/ZST.h"

namespace fs = std::filesystem;

class CmdInfoConvertTest : public tModelTest
{
};

TEST_F(CmdInfoConvertTest, InfoDescribesEachFileAndNamesTheOnesItCannotRead)
{
    REQUIRE_FIXTURES();
    const std::string Dir = TempDir();
    WriteBytes(Dir + "/broken.000", std::vector<uint8_t>(100, 0x1F));
    const tCliRun I = RunCli("info " + FixturePath("zsnes/zsnes151_hicolor3840_spcoff.zst") + " " +
                             FixturePath("snes9x/m5_interlace_rpg.000") + " " + Dir + "/broken.000");
    EXPECT_EQ(I.Exit, 1);
    ExpectHasAll(I.Out, {"format:          ZST", "version:         V143", "image_bytes:     199699",
                         "cpu:             PC=00:8289", "format:          S9X"});
    ExpectHasAll(I.Err, {"broken.000: not a savestate"});

    const tCliRun J = RunCli("info --json " + FixturePath("zsnes/zsnes142_m7rotzoom.zst"));
    EXPECT_EQ(J.Exit, 0) << J.Err;
    ExpectHasAll(J.Out, {"\"bg_mode\": 7", "\"version\": \"V0.6\""});
    EXPECT_EQ(J.Out.front(), '[');
}

TEST_F(CmdInfoConvertTest, ConvertsSeveralFilesIntoAFolderAndGoesOnPastFailures)
{
    REQUIRE_FIXTURES();
    const std::string Dir = TempDir();
    std::vector<uint8_t> Short(ReadBytes(FixturePath("zsnes/zsnes151_hello.zst")));
    Short.resize(1000);
    WriteBytes(Dir + "/short.zst", Short);
    const tCliRun R = RunCli("convert " + FixturePath("zsnes/zsnes151_rings.zst") + " " + Dir + "/short.zst " +
                             FixturePath("snes9x/m1_layers.000") + " --to s9x -o " + Dir + "/out");
    EXPECT_EQ(R.Exit, 1);
    EXPECT_TRUE(fs::exists(Dir + "/out/zsnes151_rings.000"));
    EXPECT_TRUE(fs::exists(Dir + "/out/m1_layers.000"));
    EXPECT_FALSE(fs::exists(Dir + "/out/short.000"));
    ExpectHasAll(R.Err, {"short.zst", "too short"});

    // Back again into one named file (that the state survives the trip is
    // the format suite's), which a second convert may not overwrite in place.
    const tCliRun B = RunCli("convert " + Dir + "/out/zsnes151_rings.000 --to zst -o " + Dir + "/rings.zst");
    ASSERT_EQ(B.Exit, 0) << B.Err;
    ASSERT_TRUE(tZST::IsZSTFile(Dir + "/rings.zst"));

    const tCliRun Same = RunCli("convert " + Dir + "/rings.zst --to zst -o " + Dir + "/rings.zst");
    EXPECT_EQ(Same.Exit, 1);
    ExpectHasAll(Same.Err, {"replace the file itself"});
}

// The tool takes only the files it is given: a state without a cartridge
// beside it converts silently, and a file no reader takes gets one line.
TEST_F(CmdInfoConvertTest, BatchCommandsLookForNoCartridgeBesideAState)
{
    const std::string Dir = TempDir();
    WriteBytes(Dir + "/noise.000", std::vector<uint8_t>(4000, 0x5A));
    const tCliRun R = RunCli("convert " + DemoState + " " + Dir + "/noise.000 --to s9x -o " + Dir + "/out/");
    EXPECT_EQ(R.Exit, 1);
    EXPECT_EQ(R.Err.find("Cartridge not found."), std::string::npos) << R.Err;
    EXPECT_EQ(std::count(R.Err.begin(), R.Err.end(), '\n'), 1) << R.Err;
    ExpectHasAll(R.Err, {"noise.000: not a savestate"});
    const tCliRun I = RunCli("info " + DemoState);
    EXPECT_EQ(I.Exit, 0);
    EXPECT_EQ(I.Err, "");
}

TEST_F(CmdInfoConvertTest, InfoWithACartridgeShowsItsHeaderBesideTheState)
{
    const std::string Dir = TempDir();
    WriteBytes(Dir + "/game.sfc", MakeTestROM(0x20000, tMapMode::HiROM, "CART BESIDE STATE"));
    const tCliRun R = RunCli("info --cart " + Dir + "/game.sfc " + DemoState);
    EXPECT_EQ(R.Exit, 0) << R.Err;
    ExpectHasAll(R.Out, {"cart_title:      CART BESIDE STATE", "cart_checksum_matches: yes"});
    // The named cartridge replaces the lookup beside the state: no "not found" notice.
    EXPECT_EQ(R.Err.find("Cartridge not found."), std::string::npos) << R.Err;
}

// The width and height in a PNG's header chunk.
static std::pair<uint32_t, uint32_t> PNGSize(const std::vector<uint8_t>& P)
{
    auto U32 = [&](size_t At) {
        return static_cast<uint32_t>(P[At]) << 24 | static_cast<uint32_t>(P[At + 1]) << 16 |
               static_cast<uint32_t>(P[At + 2]) << 8 | P[At + 3];
    };
    return P.size() >= 24 ? std::pair{U32(16), U32(20)} : std::pair{0u, 0u};
}

TEST_F(CmdInfoConvertTest, InfoGivesTheScreenSizeTheRendererComposes)
{
    const std::string Dir = TempDir();
    const std::string Demo = std::string(ORLIK_RESOURCE_DIR) + "/demo/demo.zst";
    // SETINI: pseudo hires and screen interlace alone change no size (info
    // said 512 wide and 448 high); overscan does. (ZSNES keeps no sprite
    // interlace bit; the renderer's own test covers it.)
    const std::pair<uint8_t, const char*> Cases[] = {{0x08, "256x224"}, {0x01, "256x224"}, {0x04, "256x239"}};
    for (const auto& [SETINI, Want] : Cases) {
        SCOPED_TRACE(Want);
        ASSERT_TRUE(LoadSavestate(Demo));
        SNES->Regs[0x2133] = SETINI;
        Broadcast(nullptr, Note::NewSNES);
        const std::string State = Dir + "/s.zst";
        ASSERT_TRUE(SaveState(*ZST, State));
        const tCliRun I = RunCli("info " + State);
        ASSERT_EQ(I.Exit, 0) << I.Err;
        ExpectHasAll(I.Out, {std::string("screen:          ") + Want});
        const tCliRun R = RunCli("render " + State + " -o " + Dir + "/s.png");
        ASSERT_EQ(R.Exit, 0) << R.Err;
        const auto [W, H] = PNGSize(ReadBytes(Dir + "/s.png"));
        EXPECT_EQ(std::to_string(W) + "x" + std::to_string(H), Want);
    }
}
