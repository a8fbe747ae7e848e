// orlik-cli regs on real emulator files: the values it prints agree with the
// files' own bytes.

#include "TestSupport.h"

#include <cstdio>
#include <map>
#include <sys/wait.h>

#include "core/RegisterTabs.h"
#include "core/SNES.h"
#include "render/PPU.h"
#include "savestates/SSL.h"

namespace
{
using tJsonRow = std::map<std::string, std::string>;

struct tRun {
    int Exit = -1;
    std::string Out, Err;
};

tRun RunCli(const std::string& Args)
{
    const std::string Dir = TempDir();
    const std::string Command =
        std::string(ORLIK_CLI) + " " + Args + " >" + Dir + "/stdout.txt 2>" + Dir + "/stderr.txt";
    tRun R;
    const int Status = std::system(Command.c_str());
    R.Exit = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
    const auto Out = ReadBytes(Dir + "/stdout.txt");
    const auto Err = ReadBytes(Dir + "/stderr.txt");
    R.Out.assign(Out.begin(), Out.end());
    R.Err.assign(Err.begin(), Err.end());
    return R;
}

// The JSON output has one row object per line; its values are strings.
std::vector<tJsonRow> JsonRows(const std::string& Out)
{
    std::vector<tJsonRow> Rows;
    size_t Pos = 0;
    while ((Pos = Out.find("\n  {", Pos)) != std::string::npos) {
        Pos += 4;
        tJsonRow Row;
        while (Pos < Out.size() && Out[Pos] != '}') {
            const size_t KeyStart = Out.find('"', Pos) + 1;
            const size_t KeyEnd = Out.find('"', KeyStart);
            std::string Key = Out.substr(KeyStart, KeyEnd - KeyStart);
            Pos = KeyEnd + 3; // past '": '
            std::string Value;
            if (Out[Pos] == '"') {
                for (++Pos; Out[Pos] != '"'; ++Pos)
                    Value += Out[Pos] == '\\' ? Out[++Pos] : Out[Pos];
                ++Pos;
            } else {
                while (Out[Pos] != ',' && Out[Pos] != '}')
                    Value += Out[Pos++];
            }
            Row[Key] = Value;
            if (Out[Pos] == ',')
                Pos += 2;
        }
        Rows.push_back(Row);
    }
    return Rows;
}

std::vector<tJsonRow> Tab(const std::string& File, const std::string& Name)
{
    const tRun R = RunCli("regs " + File + " --tab " + Name + " --json");
    EXPECT_EQ(R.Exit, 0) << R.Err;
    return JsonRows(R.Out);
}

const tJsonRow& Named(const std::vector<tJsonRow>& Rows, const std::string& Name)
{
    for (const tJsonRow& R : Rows)
        if (R.count("name") && R.at("name") == Name)
            return R;
    static const tJsonRow None;
    ADD_FAILURE() << "no row " << Name;
    return None;
}

uint64_t Dec(const tJsonRow& R)
{
    return R.count("dec") ? std::stoull(R.at("dec")) : ~0ull;
}

uint64_t LE(const std::vector<uint8_t>& D, size_t Offset, size_t Width)
{
    uint64_t V = 0;
    for (size_t I = 0; I < Width; ++I)
        V |= static_cast<uint64_t>(D.at(Offset + I)) << (8 * I);
    return V;
}

} // namespace

TEST(CmdRegsTest, BadArgumentsAndFiles)
{
    EXPECT_EQ(RunCli("regs").Exit, 2);
    const tRun Unknown = RunCli("regs a.zst --tab gpu");
    EXPECT_EQ(Unknown.Exit, 2);
    EXPECT_NE(Unknown.Err.find("unknown tab"), std::string::npos);
    const std::string Dir = TempDir();
    const tRun Missing = RunCli("regs " + Dir + "/missing.zst");
    EXPECT_EQ(Missing.Exit, 1);
    EXPECT_NE(Missing.Err.find(Dir + "/missing.zst: cannot read the file"), std::string::npos) << Missing.Err;
    WriteBytes(Dir + "/notes.txt", {'h', 'i'});
    const tRun Text = RunCli("regs " + Dir + "/notes.txt");
    EXPECT_EQ(Text.Exit, 1);
    EXPECT_NE(Text.Err.find("not a savestate"), std::string::npos) << Text.Err;
}

namespace
{
class tCmdRegsSSLTest : public tModelTest
{
};
} // namespace

TEST_F(tCmdRegsSSLTest, SuperSleuthValuesAreTheFilesBytes)
{
    // A state of the program's own format, as its writer makes it.
    SNES->CPU_A = 0x1234;
    SNES->CPU_X = 0x00FF;
    SNES->CPU_PC = 0x80C0DE;
    SNES->CPU_P = 0x0024;
    SNES->Regs[0x2105] = 0x09;
    SNES->Regs[0x4200] = 0x81;
    SNES->Regs[0x4305] = 0x20;
    PPU->Layers[1].HScroll = 0x123;
    SSL->MachineToChunks(*SNES, *PPU, nullptr, 0x5A5A1234);
    std::vector<uint8_t> D;
    SSL->SaveToStream(D);
    const std::string File = TempDir() + "/own.s01";
    WriteBytes(File, D);

    const auto CPU = Tab(File, "cpu");
    EXPECT_EQ(Dec(Named(CPU, "C")), 0x1234u);
    EXPECT_EQ(Dec(Named(CPU, "X")), 0xFFu);
    EXPECT_EQ(Dec(Named(CPU, "PB")), 0x80u);
    EXPECT_EQ(Dec(Named(CPU, "PC")), 0xC0DEu);
    EXPECT_EQ(Dec(Named(CPU, "P.M")), 1u);
    EXPECT_EQ(Dec(Named(CPU, "NMITIMEN")), 0x81u);
    EXPECT_EQ(Dec(Named(Tab(File, "ppu"), "BG2HOFS")), 0x123u);

    // Every row of the SSL tab is the little-endian number at its chunk offset.
    std::map<std::string, size_t> Chunks;
    for (size_t Pos = 0; Pos + 8 <= D.size(); Pos += 8 + LE(D, Pos + 4, 4))
        Chunks[std::string(D.begin() + static_cast<long>(Pos), D.begin() + static_cast<long>(Pos) + 4)] = Pos + 8;
    size_t Checked = 0;
    for (const tJsonRow& R : Tab(File, "ssl")) {
        if (R.count("text"))
            continue;
        const size_t Offset =
            Chunks.at(R.at("address").substr(0, 4)) + std::stoul(R.at("address").substr(5), nullptr, 16);
        EXPECT_EQ(Dec(R), LE(D, Offset, std::stoul(R.at("bits")) / 8)) << R.at("address") << " " << R.at("name");
        ++Checked;
    }
    EXPECT_EQ(Checked, ImageFields(PageSSL).size());
}
