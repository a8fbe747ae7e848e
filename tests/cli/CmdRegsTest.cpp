// orlik-cli regs on real emulator files: the values it prints agree with the
// files' own bytes. The CPU and PPU tabs' values are RegisterTabsTest's and the
// loaders' (ZSTTest, S9XTest); here, each format's own tab, row by row
// against the file.

#include "cli/CliRun.h"

#include <map>

#include "app/RegisterTabs.h"
#include "core/Gzip.h"
#include "core/SNES.h"
#include "render/PPU.h"
#include "savestates/SSL.h"

namespace
{
using tJsonRow = std::map<std::string, std::string>;

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
    const tCliRun R = RunCli("regs " + File + " --tab " + Name + " --json");
    EXPECT_EQ(R.Exit, 0) << R.Err;
    return JsonRows(R.Out);
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

uint64_t BE(const std::vector<uint8_t>& D, size_t Offset, size_t Width)
{
    uint64_t V = 0;
    for (size_t I = 0; I < Width; ++I)
        V = V << 8 | D.at(Offset + I);
    return V;
}

// Every number row of a format's own tab is the file's number at the offset
// Where finds for the row's address; a block the file lacks (npos) shows
// "?". Returns how many rows were compared.
template <typename tWhere>
size_t CompareTab(const std::vector<tJsonRow>& Rows, const std::vector<uint8_t>& D, bool BigEndian, tWhere Where)
{
    size_t Checked = 0;
    for (const tJsonRow& R : Rows) {
        if (R.count("text"))
            continue;
        const std::string& Address = R.at("address");
        const size_t Offset = Where(Address), Width = std::stoul(R.at("bits")) / 8;
        if (Offset == std::string::npos) {
            EXPECT_EQ(R.at("dec"), "?") << Address;
            continue;
        }
        EXPECT_EQ(Dec(R), BigEndian ? BE(D, Offset, Width) : LE(D, Offset, Width)) << Address << " " << R.at("name");
        ++Checked;
    }
    return Checked;
}

// The blocks of an inflated Snes9x state: name to offset of its data.
std::map<std::string, size_t> S9XBlocks(const std::vector<uint8_t>& D)
{
    std::map<std::string, size_t> Blocks;
    size_t Pos = 14;
    while (Pos + 11 <= D.size()) {
        const std::string Name(D.begin() + static_cast<long>(Pos), D.begin() + static_cast<long>(Pos) + 3);
        const size_t Length =
            std::stoul(std::string(D.begin() + static_cast<long>(Pos) + 4, D.begin() + static_cast<long>(Pos) + 10));
        Blocks[Name] = Pos + 11;
        Pos += 11 + Length;
    }
    return Blocks;
}
} // namespace

// Bad files for regs are in BadFilesCliTest, bad arguments in MainTest.
TEST(CmdRegsTest, ZSNESValuesAreTheFilesBytes)
{
    REQUIRE_FIXTURES();
    for (const char* Name : {"zsnes/zsnes151_nesdoug05_sprites.zst", "zsnes/zsnes142_hello.zst"}) {
        SCOPED_TRACE(Name);
        const std::string File = FixturePath(Name);
        const std::vector<uint8_t> D = ReadBytes(File);

        // Every field of the ZSNES tab is the file's little-endian number at
        // the offset its address column names.
        EXPECT_EQ(
            CompareTab(Tab(File, "zst"), D, false, [](const std::string& A) { return std::stoul(A, nullptr, 16); }),
            477u);
    }
}

TEST(CmdRegsTest, Snes9xValuesAreTheFilesBytes)
{
    REQUIRE_FIXTURES();
    const std::string File = FixturePath("snes9x/m1_layers.000");
    std::vector<uint8_t> D = ReadBytes(File);
    std::string Error;
    ASSERT_TRUE(GunzipStream(D, Error)) << Error;
    auto Blocks = S9XBlocks(D);

    // Every field of the Snes9x tab is the file's (big-endian) number in its
    // block; the sprite name-select word alone is kept as stored.
    auto S9X = Tab(File, "s9x");
    std::erase_if(S9X, [](const tJsonRow& R) { return R.count("address") && R.at("address") == "PPU:07E8"; });
    EXPECT_GT(CompareTab(S9X, D, true,
                         [&](const std::string& A) {
                             const auto B = Blocks.find(A.substr(0, 3));
                             return B == Blocks.end() ? std::string::npos
                                                      : B->second + std::stoul(A.substr(4), nullptr, 16);
                         }),
              600u);
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
    SNES->BGHScroll[1] = 0x123;
    SSL->MachineToChunks(*SNES, nullptr, 0x5A5A1234);
    std::vector<uint8_t> D;
    SSL->SaveToStream(D);
    const std::string File = TempDir() + "/own.s01";
    WriteBytes(File, D);

    // Every row of the SSL tab is the little-endian number at its chunk offset.
    std::map<std::string, size_t> Chunks;
    for (size_t Pos = 0; Pos + 8 <= D.size(); Pos += 8 + LE(D, Pos + 4, 4))
        Chunks[std::string(D.begin() + static_cast<long>(Pos), D.begin() + static_cast<long>(Pos) + 4)] = Pos + 8;
    EXPECT_EQ(CompareTab(Tab(File, "ssl"), D, false,
                         [&](const std::string& A) {
                             return Chunks.at(A.substr(0, 4)) + std::stoul(A.substr(5), nullptr, 16);
                         }),
              ImageFields(PageSSL).size());
}
