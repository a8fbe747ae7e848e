// Palette files: what each format holds, and what a short, malformed or
// oversized file does to CGRAM (the entries read are kept, the rest stay).

#include "TestSupport.h"

#include <numeric>
#include <string_view>

#include "app/ToolFiles.h"
#include "tools/PaletteFile.h"

namespace
{
std::vector<uint8_t> Text(std::string_view S)
{
    return {S.begin(), S.end()};
}

tCGRAM Ramp()
{
    tCGRAM C;
    for (int i = 0; i < 256; ++i)
        C[i] = static_cast<uint16_t>((i * 0x0421 + i * 37) & 0x7FFF);
    return C;
}

tCGRAM Filled(uint16_t V)
{
    tCGRAM C;
    C.fill(V);
    return C;
}

struct tDecoded {
    bool Ok;
    int Entries;
    std::string Error;
};
tDecoded Decode(const std::vector<uint8_t>& Data, int Format, tCGRAM& C)
{
    tDecoded D{};
    tError Error;
    D.Ok = DecodePalette(Data, Format, C, D.Entries, Error);
    D.Error = Error.Reason;
    return D;
}
} // namespace

TEST(PaletteFileTest, JASCFileIsTheFixedTextWithEntryZeroOnTheFourthLine)
{
    tCGRAM C = Filled(0);
    C[0] = 0x001F; // red 31
    C[1] = 0x7FFF;
    C[255] = 0x8000 | 0x03E0; // bit 15 is no colour
    const std::vector<uint8_t> F = EncodePalette(C, PaletteJASC);
    ASSERT_EQ(F.size(), 3349u);
    const std::string S(F.begin(), F.end());
    EXPECT_EQ(S.substr(0, 21 + 26), "JASC-PAL\r\n0100\r\n256\r\n248 000 000\r\n248 248 248\r\n");
    EXPECT_EQ(S.substr(S.size() - 13), "000 248 000\r\n");
    // That every format reads back what it wrote is the palette fuzz harness's
    // round trip, run on a seed of each format.
    EXPECT_EQ(EncodePalette(C, PaletteSNES).size(), 512u);
    EXPECT_EQ(EncodePalette(C, PaletteRaw5).size(), 768u);
    EXPECT_EQ(EncodePalette(C, PaletteRaw8).size(), 768u);
}

TEST(PaletteFileTest, ComponentsAreCutToFiveBits)
{
    std::string J = "JASC-PAL\n0100\n256\n";
    for (int i = 0; i < 128; ++i)
        J += "255 255 255\n7 7 7\n";
    tCGRAM C = Filled(0x1111);
    ASSERT_TRUE(Decode(Text(J), PaletteJASC, C).Ok);
    EXPECT_EQ(C[0], 0x7FFF);
    EXPECT_EQ(C[1], 0x0000);

    // The two RAW forms: the button captioned "8-bit" reads 5-bit values, the
    // one captioned "5-bit" reads values times 8.
    std::vector<uint8_t> Raw(768, 0);
    Raw[0] = 31;
    Raw[3] = 0xFF, Raw[4] = 0x20, Raw[5] = 0x01; // out of range for 5-bit values
    C = Filled(0);
    ASSERT_TRUE(Decode(Raw, PaletteRaw5, C).Ok);
    EXPECT_EQ(C[0], 0x001F);
    // Each byte stays in its own component: no carry into green or blue.
    EXPECT_EQ(C[1], 31 | 0 << 5 | 1 << 10);
    ASSERT_TRUE(Decode(Raw, PaletteRaw8, C).Ok);
    EXPECT_EQ(C[0], 3);
    EXPECT_EQ(C[1], 31 | 4 << 5);
}

TEST(PaletteFileTest, ABrokenFileKeepsTheEntriesNotYetRead)
{
    const tCGRAM Before = Ramp();
    const std::string Header = "JASC-PAL\r\n0100\r\n256\r\n";
    const struct {
        const char* What;
        int Format;
        std::vector<uint8_t> Data;
        int Entries;
        const char* Reason;
    } Cases[] = {
        {"empty", PaletteJASC, {}, 0, "header ends after 0 lines"},
        {"header only", PaletteJASC, Text(Header), 0, "ends after 0 colours"},
        {"two colours", PaletteJASC, Text(Header + "8 8 8\r\n16 16 16\r\n"), 2, "ends after 2 colours"},
        {"letters", PaletteJASC, Text(Header + "8 8 8\r\n8 x 8\r\n"), 1, "line 5 "},
        {"two numbers", PaletteJASC, Text(Header + "8 8\r\n"), 0, "line 4 "},
        {"four numbers", PaletteJASC, Text(Header + "8 8 8 8\r\n"), 0, "line 4 "},
        {"above 255", PaletteJASC, Text(Header + "8 8 256\r\n"), 0, "line 4 "},
        {"huge number", PaletteJASC, Text(Header + "99999999999999999999999 0 0\r\n"), 0, "line 4 "},
        {"negative", PaletteJASC, Text(Header + "-8 8 8\r\n"), 0, "line 4 "},
        {"long line", PaletteJASC, Text(Header + "8 8 8" + std::string(300, ' ') + "\r\n"), 0, "line 4 "},
        {"odd SNES", PaletteSNES, std::vector<uint8_t>(101, 0x55), 50, "101 bytes long"},
        {"short RAW", PaletteRaw5, std::vector<uint8_t>(10, 0x55), 3, "10 bytes long"},
        {"empty RAW", PaletteRaw8, {}, 0, "0 bytes long"},
        {"not GIMP", PaletteGPL, Text("JASC-PAL\n"), 0, "not \"GIMP Palette\""},
        {"GIMP, no colours", PaletteGPL, Text("GIMP Palette\nName: x\n#\n"), 0, "no colours"},
        {"GIMP letters", PaletteGPL, Text("GIMP Palette\n8 8 8 a\n8 8 x\n"), 1, "line 3 "},
        {"short ACT", PaletteACT, std::vector<uint8_t>(700, 1), 0, "700 bytes long"},
        {"ACT count 0", PaletteACT, std::vector<uint8_t>(772, 0), 0, "count 0 "},
    };
    for (const auto& K : Cases) {
        SCOPED_TRACE(K.What);
        tCGRAM C = Before;
        const tDecoded D = Decode(K.Data, K.Format, C);
        EXPECT_FALSE(D.Ok);
        EXPECT_EQ(D.Entries, K.Entries);
        EXPECT_NE(D.Error.find(K.Reason), std::string::npos) << D.Error;
        EXPECT_NE(D.Error.find("the others unchanged"), std::string::npos) << D.Error;
        EXPECT_TRUE(std::equal(C.begin() + K.Entries, C.end(), Before.begin() + K.Entries));
        if (K.Entries) {
            EXPECT_NE(C[0], Before[0]);
        }
    }
}

TEST(PaletteFileTest, ShorterPalettesOfOtherPrograms)
{
    // A 16-colour JASC palette is complete when it holds what its header
    // says; blank lines at the end and LF line ends are fine.
    std::string J = "JASC-PAL\n0100\n16\n";
    for (int i = 0; i < 16; ++i)
        J += std::to_string(i * 8) + "\t0  0 \n";
    tCGRAM C = Ramp();
    const tDecoded D = Decode(Text(J + "\n\n"), PaletteJASC, C);
    EXPECT_TRUE(D.Ok) << D.Error;
    EXPECT_EQ(D.Entries, 16);
    EXPECT_EQ(C[15], 15);
    EXPECT_EQ(C[16], Ramp()[16]);
    // Longer binary files: the first 256 records, as always.
    std::vector<uint8_t> Dump = EncodePalette(Ramp(), PaletteSNES);
    Dump.resize(4096, 0xFF);
    C = Filled(0);
    EXPECT_TRUE(Decode(Dump, PaletteSNES, C).Ok);
    EXPECT_EQ(C, Ramp());
}

using PaletteFileMessageTest = tModelTest;

TEST_F(PaletteFileMessageTest, FilesAreBoundedAndFailuresNameTheFile)
{
    const std::string Dir = TempDir();
    // A JASC palette far larger than any palette is refused before reading.
    const std::string Big = Dir + "/big.pal";
    std::string J = "JASC-PAL\r\n0100\r\n256\r\n";
    while (J.size() <= MaxJASCFileSize)
        J += "000 000 000\r\n";
    WriteBytes(Big, Text(J));
    tCGRAM C = Ramp();
    EXPECT_EQ(ImportPalette(Big, PaletteJASC, C), 0);
    EXPECT_EQ(C, Ramp());
    ASSERT_EQ(Recorder.Log.size(), 1u);
    EXPECT_EQ(Recorder.Log[0].Kind, "error");
    EXPECT_NE(Recorder.Log[0].Text.find("\"" + Big + "\""), std::string::npos) << Recorder.Log[0].Text;
    EXPECT_NE(Recorder.Log[0].Text.find("too large"), std::string::npos) << Recorder.Log[0].Text;

    // A partial file reports and changes nothing.
    const std::string Short = Dir + "/short.pal";
    WriteBytes(Short, std::vector<uint8_t>(30, 0));
    EXPECT_EQ(ImportPalette(Short, PaletteRaw8, C), 0);
    EXPECT_EQ(C, Ramp());
    ASSERT_EQ(Recorder.Log.size(), 2u);
    EXPECT_NE(Recorder.Log[1].Text.find(Short), std::string::npos);

    EXPECT_TRUE(ExportPalette(Dir + "/out.pal", PaletteJASC, C));
    EXPECT_FALSE(ExportPalette(Dir + "/missing/out.pal", PaletteJASC, C));
    EXPECT_NE(Recorder.Log.back().Text.find(Dir + "/missing/out.pal"), std::string::npos);
}
