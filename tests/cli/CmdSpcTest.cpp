// orlik-cli spc as a user runs it.

#include "cli/CliRun.h"

#include <cstring>
#include <tuple>

#include "core/Broadcast.h"
#include "core/SNES.h"
#include "savestates/SSL.h"
#include "sound/SPC.h"

namespace
{

std::string Text(const std::vector<uint8_t>& F, size_t At, size_t N)
{
    std::string S(reinterpret_cast<const char*>(&F[At]), N);
    return S.substr(0, S.find('\0'));
}

class CmdSpcTest : public tModelTest
{
};

TEST_F(CmdSpcTest, StateToTaggedSPC)
{
    // An own-format state with a recognisable sound part.
    for (size_t i = 0; i < SNES->APU_RAM.size(); ++i)
        SNES->APU_RAM[i] = static_cast<uint8_t>(i ^ (i >> 8));
    SNES->DSP[0x5D] = 0x12;
    int Other = 0;
    Broadcast(&Other, Note::NewSavestate);
    Broadcast(&Other, Note::NewSNES);
    const std::string Dir = TempDir();
    ASSERT_TRUE(SaveState(*SSL, Dir + "/game.s01"));

    const tCliRun R =
        RunCli("spc " + Dir + "/game.s01 -o " + Dir +
               "/game.spc --song \"Overworld\" --game Quest "
               "--artist Someone --dumper me --comments \"from a state\" --length 120 --fade 10000 --show");
    ASSERT_EQ(R.Exit, 0) << R.Err;
    EXPECT_NE(R.Out.find("song:            Overworld\n"), std::string::npos) << R.Out;
    const auto F = ReadBytes(Dir + "/game.spc");
    ASSERT_EQ(F.size(), SPCLayout::FixedSize);
    for (const auto& [At, Size, Want] : {std::tuple<size_t, size_t, std::string>{0, 33, SPCSignatureText},
                                         {0x2E, 32, "Overworld"},
                                         {0x4E, 32, "Quest"},
                                         {0x7E, 32, "from a state"},
                                         {0xA9, 3, "120"},
                                         {0xAC, 5, "10000"},
                                         {0xB1, 32, "Someone"}})
        EXPECT_EQ(Text(F, At, Size), Want) << "at " << At;
    EXPECT_EQ(Text(F, 0x9E, 11).size(), 10u) << "dated MM/DD/YYYY";
    EXPECT_TRUE(std::equal(SNES->APU_RAM.begin(), SNES->APU_RAM.end(), F.begin() + 0x100));
    EXPECT_EQ(F[0x10100 + 0x5D], 0x12);

    // Retagging an SPC keeps what the options do not name.
    const tCliRun Again = RunCli("spc " + Dir + "/game.spc -o " + Dir + "/again.spc --song Cave");
    ASSERT_EQ(Again.Exit, 0) << Again.Err;
    const auto G = ReadBytes(Dir + "/again.spc");
    EXPECT_EQ(Text(G, 0x2E, 32), "Cave");
    EXPECT_EQ(Text(G, 0x4E, 32), "Quest");
}

TEST_F(CmdSpcTest, ConvertToTheOwnFormatAndInfoShowsSPCTags)
{
    REQUIRE_FIXTURES();
    const std::string Dir = TempDir();
    const tCliRun C =
        RunCli("convert " + FixturePath("zsnes/zsnes151_hello.zst") + " --to ssl -o " + Dir + "/hello.s01");
    ASSERT_EQ(C.Exit, 0) << C.Err;
    EXPECT_TRUE(tSSL::IsSSLFile(Dir + "/hello.s01"));

    ASSERT_EQ(RunCli("spc " + Dir + "/hello.s01 -o " + Dir + "/hello.spc --song Hi").Exit, 0);
    const tCliRun I = RunCli("info " + Dir + "/hello.spc");
    ASSERT_EQ(I.Exit, 0) << I.Err;
    EXPECT_NE(I.Out.find("format:          SPC\n"), std::string::npos) << I.Out;
    EXPECT_NE(I.Out.find("song:            Hi\n"), std::string::npos) << I.Out;

    // An SNESGT state carrying that SPC as its sound snapshot.
    const auto Spc = ReadBytes(Dir + "/hello.spc");
    std::vector<uint8_t> Sgt = {'G', 'T', 'S', 'F', 0, 0, 0, 0, 'S', 'P', 'C', 'F'};
    for (int i = 0; i < 4; ++i)
        Sgt.push_back(static_cast<uint8_t>(Spc.size() >> (8 * i)));
    Sgt.insert(Sgt.end(), Spc.begin(), Spc.end());
    WriteBytes(Dir + "/game.sv1", Sgt);
    const tCliRun G = RunCli("info " + Dir + "/game.sv1");
    ASSERT_EQ(G.Exit, 0) << G.Err;
    EXPECT_NE(G.Out.find("spc_song:        Hi\n"), std::string::npos) << G.Out;
}

} // namespace
