#pragma once
// Helpers shared by the savestate format tests.

#include <algorithm>
#include <filesystem>
#include <memory>

#include "TestSupport.h"
#include "app/Loader.h"
#include "cart/SNESCart.h"
#include "core/SNES.h"
#include "savestates/S9X.h"
#include "savestates/SGT.h"
#include "savestates/SSL.h"
#include "savestates/ZST.h"
#include "core/Options.h"

using Bytes = std::vector<uint8_t>;

// A chunk as SNESGT and Super Sleuth store it: four letters, a 32-bit
// little-endian length, the data.
inline void AddChunk(Bytes& F, const char* ID, const Bytes& Data)
{
    F.insert(F.end(), ID, ID + 4);
    for (int i = 0; i < 4; ++i)
        F.push_back(static_cast<uint8_t>(Data.size() >> (8 * i)));
    F.insert(F.end(), Data.begin(), Data.end());
}

// A model test with a folder of its own and no cartridge search (which
// would only add notices about a missing ROM).
class tStateTest : public tModelTest
{
  protected:
    std::string Dir;
    void SetUp() override
    {
        tModelTest::SetUp();
        Dir = TempDir();
        Options().CBox_OpenCart = false;
    }
};

// File bytes loaded the program's way: written to a file named with Ext and
// loaded through LoadSavestate, with no cartridge search. Reason gets the
// reader's reason when it fails.
inline bool LoadBytes(const Bytes& F, const std::string& Ext, std::string* Reason = nullptr)
{
    const std::string Name = TempDir() + "/state" + Ext;
    WriteBytes(Name, F);
    Options().CBox_OpenCart = false;
    tError Error;
    const bool Ok = LoadSavestate(Name, &Error);
    if (Reason)
        *Reason = Error.Reason;
    return Ok;
}

// The error texts shown so far (notices such as a missing cartridge aside).
inline std::vector<std::string> Errors(const tRecordingMessenger& R)
{
    std::vector<std::string> Out;
    for (const auto& M : R.Log)
        if (M.Kind == "error")
            Out.push_back(M.Text);
    return Out;
}

// The fixture files in Sub with the extension Ext, sorted.
inline std::vector<std::string> FixtureFiles(const std::string& Sub, const std::string& Ext)
{
    std::vector<std::string> Files;
    const std::string Dir = FixturePath(Sub);
    if (Dir.empty() || !std::filesystem::is_directory(Dir))
        return Files;
    for (const auto& E : std::filesystem::directory_iterator(Dir))
        if (E.path().extension() == Ext)
            Files.push_back(E.path().string());
    std::sort(Files.begin(), Files.end());
    return Files;
}

// The registers the own format stores, at their bus addresses.
inline bool SSLStored(uint32_t A)
{
    return (A >= 0x2100 && A <= 0x2103) || (A >= 0x2105 && A <= 0x210C) || (A >= 0x2115 && A <= 0x2117) ||
           A == 0x211A || A == 0x2121 || (A >= 0x2123 && A <= 0x2131) || (A >= 0x2133 && A <= 0x2136) ||
           (A >= 0x213E && A <= 0x2143) || (A >= 0x2181 && A <= 0x2183) || (A >= 0x4200 && A <= 0x4209) ||
           (A >= 0x420B && A <= 0x420D) || (A >= 0x4210 && A <= 0x421F) || (A >= 0x4300 && A <= 0x437F);
}

// The pure reader alone on file bytes, into a state and an image of the
// test's own: what a failed read keeps, and why it failed.
template <class tImage> struct tParsed {
    std::unique_ptr<tSNES> State = std::make_unique<tSNES>();
    tImage Image;
    std::string Error;
    bool Ok = false;
};

template <class tImage, class tParse> tParsed<tImage> Parsed(const Bytes& F, tParse Parse)
{
    tParsed<tImage> P;
    P.Ok = Parse(F, *P.State, P.Image, P.Error);
    return P;
}

// Everything a load may change: a refused file leaves all of it as it was.
struct tSnapshot {
    std::unique_ptr<tSNES> State = std::make_unique<tSNES>();
    std::unique_ptr<tZSTImage> ZSTPart = std::make_unique<tZSTImage>();
    std::unique_ptr<tS9XImage> S9XPart = std::make_unique<tS9XImage>();
    std::unique_ptr<tSSLImage> SSLPart = std::make_unique<tSSLImage>();
    std::vector<uint8_t> SGTWRAM, SRAM;
    std::vector<std::string> Names;
    uint8_t Format = 0, Kind = 0;

    tSnapshot()
    {
        *State = *SNES;
        *ZSTPart = static_cast<const tZSTImage&>(*ZST);
        *S9XPart = static_cast<const tS9XImage&>(*S9X);
        *SSLPart = static_cast<const tSSLImage&>(*SSL);
        SGTWRAM.assign(SGT->WRAM.begin(), SGT->WRAM.end());
        SRAM = Cart->SRAM;
        Names = {StateFileName, StateFileBase, StateFileDir, StateFileTitle, StateFileExt, StateSlot};
        Format = StateFormat;
        Kind = StateKind;
    }

    void ExpectNow() const
    {
        EXPECT_TRUE(*SNES == *State);
        const tZSTImage& Z = *ZST;
        EXPECT_EQ(Z.StateImage, ZSTPart->StateImage);
        EXPECT_EQ(Z.FileStream, ZSTPart->FileStream);
        EXPECT_EQ(Z.Rest, ZSTPart->Rest);
        EXPECT_EQ(Z.Preview, ZSTPart->Preview);
        EXPECT_EQ(Z.HasPreview, ZSTPart->HasPreview);
        EXPECT_EQ(S9X->Blocks.Data, S9XPart->Blocks.Data);
        EXPECT_EQ(S9X->Blocks.Name, S9XPart->Blocks.Name);
        EXPECT_EQ(S9X->FileBlocks, S9XPart->FileBlocks);
        EXPECT_EQ(S9X->FromFile(), S9XPart->ReadFromFile);
        EXPECT_EQ(SSL->WRAM, SSLPart->WRAM);
        EXPECT_EQ(SSL->SPPU, SSLPart->SPPU);
        EXPECT_EQ(SSL->SRAMStream, SSLPart->SRAMStream);
        EXPECT_TRUE(std::equal(SGT->WRAM.begin(), SGT->WRAM.end(), SGTWRAM.begin()));
        EXPECT_EQ(Cart->SRAM, SRAM);
        EXPECT_EQ((std::vector<std::string>{StateFileName, StateFileBase, StateFileDir, StateFileTitle, StateFileExt,
                                            StateSlot}),
                  Names);
        EXPECT_EQ(StateFormat, Format);
        EXPECT_EQ(StateKind, Kind);
    }
};
