// Writes the generated seed inputs of the harnesses whose inputs the
// repository holds no files for (cartridges, zips, patches, SPC files,
// movies), using the same builders as the tests:
//   orlik_fuzz_seeds DIR [SNES9X_STATE...]  creates DIR/<harness>/...
// Snes9x states given on the command line become movies' quicksaves.

#include <cstdio>
#include <filesystem>
#include <cstring>
#include <fstream>
#include <iterator>

#include "app/Loader.h"
#include "../tests/cart/CartTestROM.h"
#include "core/Gzip.h"
#include "core/Messages.h"
#include "app/Model.h"
#include "core/Options.h"
#include "core/PictureFiles.h"
#include "core/SNES.h"
#include "cart/SNESCart.h"
#include "render/PPU.h"
#include "savestates/SSL.h"
#include "sound/SPC.h"
#include "tools/PaletteFile.h"
#include "../tests/cart/ZipWriter.h"
#include "RenderInput.h"

namespace fs = std::filesystem;

namespace
{
void Write(const fs::path& Path, const std::vector<uint8_t>& Data)
{
    fs::create_directories(Path.parent_path());
    std::ofstream(Path, std::ios::binary)
        .write(reinterpret_cast<const char*>(Data.data()), static_cast<std::streamsize>(Data.size()));
}

std::vector<uint8_t> Bytes(std::string_view S)
{
    return {S.begin(), S.end()};
}

void Put32(std::vector<uint8_t>& B, size_t At, uint32_t V)
{
    for (int i = 0; i < 4; ++i)
        B[At + i] = static_cast<uint8_t>(V >> (8 * i));
}

// Header, a little UTF-16 metadata, ROM information when Sync bit 6 asks,
// the (already packed) start data, a few frames of input.
std::vector<uint8_t> Movie(uint8_t Options, uint8_t Sync, const std::vector<uint8_t>& Packed)
{
    std::vector<uint8_t> M(32, 0);
    std::memcpy(M.data(), "SMV\x1A", 4);
    Put32(M, 4, 4);
    Put32(M, 16, 60);
    M[20] = 1;
    M[21] = Options;
    M[22] = Sync;
    for (char C : std::string("seed"))
        M.insert(M.end(), {static_cast<uint8_t>(C), 0});
    if (Sync & 0x40) {
        std::vector<uint8_t> Info(30, 0);
        std::memcpy(Info.data() + 7, "SEED GAME", 9);
        M.insert(M.end(), Info.begin(), Info.end());
    }
    Put32(M, 24, static_cast<uint32_t>(M.size()));
    M.insert(M.end(), Packed.begin(), Packed.end());
    Put32(M, 28, static_cast<uint32_t>(M.size()));
    M.insert(M.end(), {0, 0, 1, 0, 2, 0});
    return M;
}

void SPCSeeds(const fs::path& Dir)
{
    SetMessenger(nullptr);
    CreateModelObjects();
    tSPC_EditorFields F;
    F.Song = "Seed Song";
    F.Game = "Seed Game";
    F.Artist = "Orlik";
    F.LengthSeconds = "90";
    F.FadeMilliseconds = "5000";
    F.Day = 6;
    F.Month = 12;
    F.Year = 2026;
    std::vector<uint8_t> Out;
    SPC->SaveToStream(Out, F);
    Write(Dir / "spc/text-tag.spc", Out);
    F.Binary = true;
    Out.clear();
    SPC->SaveToStream(Out, F);
    Write(Dir / "spc/binary-tag.spc", Out);
    tSPC_ExtTag Title;
    Title.ID = 0x01;
    Title.TagType = 1;
    Title.Length = 10;
    std::memcpy(Title.Data.data(), "Long Title", 10);
    SPC->ExtTags.Add(Title);
    tSPC_ExtTag Year;
    Year.ID = 0x14;
    Year.Length = 2026;
    SPC->ExtTags.Add(Year);
    F.Binary = false;
    F.Extended = true;
    Out.clear();
    SPC->SaveToStream(Out, F);
    Write(Dir / "spc/extended-tags.spc", Out);
    // A Super Sleuth state of a made-up machine: a gradient palette, some
    // tiles, a few sprites, registers set for mode 1.
    for (size_t i = 0; i < SNES->CGRAM.size(); ++i)
        SNES->CGRAM[i] = static_cast<uint16_t>(i * 0x0421 & 0x7FFF);
    for (size_t i = 0; i < SNES->VRAM.size(); ++i)
        SNES->VRAM[i] = static_cast<uint8_t>(i * 37 >> 3);
    for (size_t i = 0; i < SNES->OAM.size(); ++i)
        SNES->OAM[i] = static_cast<uint8_t>(i * 11);
    SNES->Regs[0x2100] = 0x0F;
    SNES->Regs[0x2105] = 0x01;
    SNES->Regs[0x212C] = 0x17;
    SSL->MachineToChunks(*SNES, Cart, 0);
    Out.clear();
    SSL->SaveToStream(Out);
    Write(Dir / "savestate_ssl/mode1.s01", Out);
    FreeModelObjects();
}

void AddChunk(std::vector<uint8_t>& F, const char* ID, const std::vector<uint8_t>& Data)
{
    F.insert(F.end(), ID, ID + 4);
    for (int i = 0; i < 4; ++i)
        F.push_back(static_cast<uint8_t>(Data.size() >> (8 * i)));
    F.insert(F.end(), Data.begin(), Data.end());
}

// SNESGT states: "GTSF", a version, then chunks of a four-character ID and a
// 32-bit length. Small memories keep the seeds short.
void SGTSeeds(const fs::path& Dir)
{
    std::vector<uint8_t> F{'G', 'T', 'S', 'F', 1, 0, 0, 0};
    std::vector<uint8_t> CPUR(23, 0);
    CPUR[11] = 0x00, CPUR[12] = 0x80, CPUR[21] = 0x34;
    AddChunk(F, "CPUR", CPUR);
    std::vector<uint8_t> PPUR(64, 0);
    PPUR[0x00] = 0x0F, PPUR[0x05] = 0x01, PPUR[0x2C] = 0x17;
    AddChunk(F, "PPUR", PPUR);
    AddChunk(F, "WRAM", std::vector<uint8_t>(256, 0x21));
    AddChunk(F, "VRAM", std::vector<uint8_t>(2048, 0x42));
    AddChunk(F, "OAM ", std::vector<uint8_t>(544, 0x10));
    AddChunk(F, "PAL ", std::vector<uint8_t>(512, 0x55));
    AddChunk(F, "SREG", std::vector<uint8_t>(236, 0));
    AddChunk(F, "INST", std::vector<uint8_t>(196, 0));
    AddChunk(F, "HDST", std::vector<uint8_t>(160, 0));
    AddChunk(F, "SPCP", std::vector<uint8_t>(8, 0));
    AddChunk(F, "SRAM", std::vector<uint8_t>(2048, 0xA5));
    Write(Dir / "savestate_sgt/chunks.sv0", F);
    std::vector<uint8_t> Spc(0x10200, 0);
    std::memcpy(Spc.data(), "SNES-SPC700 Sound File Data v0.30", 33);
    Spc[0x21] = Spc[0x22] = Spc[0x23] = 26;
    AddChunk(F, "SPCF", Spc);
    Write(Dir / "savestate_sgt/with-spc.sv1", F);
}
// A palette in each format, and JASC files as other programs write them: a
// 16-colour palette with LF line ends.
void PaletteSeeds(const fs::path& Dir)
{
    tCGRAM C;
    for (size_t i = 0; i < C.size(); ++i)
        C[i] = static_cast<uint16_t>((i * 0x0421 + (i >> 3)) & 0x7FFF);
    const char* Names[PaletteFormatCount] = {"jasc.pal", "snes.pal", "raw5.pal", "raw8.pal"};
    for (int F = 0; F < PaletteFormatCount; ++F)
        Write(Dir / "palette" / Names[F], EncodePalette(C, F));
    std::string J = "JASC-PAL\n0100\n16\n";
    for (int i = 0; i < 16; ++i)
        J += std::to_string(i * 16) + " " + std::to_string(255 - i * 16) + " 8\n";
    Write(Dir / "palette/sixteen.pal", Bytes(J));
}

// Code pages: the smallest size taken, as RGB and palette PNGs and as BMPs
// of 1 and 4 bits per pixel, plus a picture too small to be one.
void CodePageSeeds(const fs::path& Dir)
{
    tPicture8 P8;
    P8.Resize(128, 256);
    for (int32_t y = 0; y < P8.Height; ++y)
        for (int32_t x = 0; x < P8.Width; ++x)
            P8.Row(y)[x] = static_cast<uint8_t>(((x ^ y) >> 2) & 1);
    P8.ColourTable[1] = 0xFFFFFF;
    // More than 256 colours, or the writer makes a colour-mapped PNG and
    // the RGB road of the reader goes unseeded.
    tPicture32 P32;
    P32.Resize(128, 256);
    for (size_t i = 0; i < P32.Pixels.size(); ++i)
        P32.Pixels[i] = P8.Pixels[i] ? 0xFFFFFF : static_cast<uint32_t>(0x80 + (i % 1021) * 0x100);
    std::vector<uint8_t> Out;
    tError Error;
    if (EncodePNG(P32, Out, Error))
        Write(Dir / "codepage/rgb.png", Out);
    if (EncodePNG(P8, Out, Error))
        Write(Dir / "codepage/palette.png", Out);
    if (EncodeBMP(P8, 1, Out, Error))
        Write(Dir / "codepage/mono.bmp", Out);
    if (EncodeBMP(P8, 4, Out, Error))
        Write(Dir / "codepage/sixteen.bmp", Out);
    P32.Resize(4, 4);
    if (EncodeBMP(P32, Out, Error))
        Write(Dir / "codepage/small.bmp", Out);
}

// The picture harness starts from real frames: each state loaded and laid
// out as that harness reads its input.
void RenderSeeds(const fs::path& Dir, const std::vector<std::string>& States)
{
    SetMessenger(nullptr);
    CreateModelObjects();
    // The picture needs no cartridge: do not look for one beside each state.
    Options().CBox_OpenCart = false;
    Options().CBox_OpenIPS = false;
    for (const std::string& State : States)
        if (LoadSavestate(State))
            Write(Dir / ("render/" + fs::path(State).stem().string() + ".bin"), RenderInput::Make(*SNES, *PPU));
    FreeModelObjects();
}
} // namespace

int main(int Argc, char** Argv)
{
    if (Argc < 2) {
        std::fprintf(stderr, "usage: %s DIR [SNES9X_STATE...]\n", Argv[0]);
        return 2;
    }
    fs::path Dir = Argv[1];
    const auto Lo = MakeTestROM(32768, tMapMode::LoROM);
    const auto Hi = MakeTestROM(65536, tMapMode::HiROM);
    const auto ExHi = MakeTestROM(0x410000, tMapMode::ExHiROM);
    auto Copier = Lo;
    Copier.insert(Copier.begin(), 512, 0);
    Write(Dir / "cart/lorom.sfc", Lo);
    Write(Dir / "cart/hirom.sfc", Hi);
    Write(Dir / "cart/copier-header.smc", Copier);
    Write(Dir / "cart/odd-size.sfc", std::vector<uint8_t>(Lo.begin(), Lo.begin() + 1000));
    (void)ExHi;

    fs::create_directories(Dir / "cartzip");
    WriteZip((Dir / "cartzip/lorom.zip").string(), {{"Game.sfc", Lo}});
    WriteZip((Dir / "cartzip/two-entries.zip").string(), {{"a.smc", Copier}, {"b.txt", Bytes("text")}});
    WriteZip((Dir / "cartzip/empty-entry.zip").string(), {{"empty.sfc", {}}});

    Write(Dir / "ips/one-record.ips", Bytes(std::string("PATCH\x00\x10\x00\x00\x02\xAB\xCD", 12) + "EOF"));
    Write(Dir / "ips/run-length.ips", Bytes(std::string("PATCH\x00\x80\x00\x00\x00\x01\x00\x55", 13) + "EOF"));
    Write(Dir / "ips/grows-rom.ips", Bytes(std::string("PATCH\x01\x00\x00\x00\x01\x77", 11) + "EOF\x01\x00\x01"));
    Write(Dir / "ips/header-only.ips", Bytes("PATCHEOF"));
    SPCSeeds(Dir);
    SGTSeeds(Dir);
    PaletteSeeds(Dir);
    CodePageSeeds(Dir);

    std::vector<uint8_t> SRAM(8192, 0xA5);
    std::string Error;
    GzipStream(SRAM, Error);
    Write(Dir / "smv/sram-start.smv", Movie(0x01, 0x41, SRAM));
    for (int i = 2; i < Argc && i < 6; ++i) {
        std::ifstream In(Argv[i], std::ios::binary);
        std::vector<uint8_t> State((std::istreambuf_iterator<char>(In)), {});
        if (!IsGzipData(State))
            GzipStream(State, Error);
        Write(Dir / ("smv/quicksave-" + fs::path(Argv[i]).stem().string() + ".smv"), Movie(0, 0x01, State));
    }
    RenderSeeds(Dir, std::vector<std::string>(Argv + 2, Argv + Argc));
    return 0;
}
