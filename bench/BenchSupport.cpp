#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/Model.h"
#include "core/FileIO.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "core/Picture32.h"
#include "core/Picture8.h"
#include "core/SNES.h"
#include "core/SharedData.h"
#include "render/PPU.h"
#include "render/Renderer.h"
#include "render/SceneSwitches.h"
#include "savestates/SGT.h"
#include "savestates/SSL.h"
#include "sound/SPC.h"

namespace
{
tSilentMessenger Silent;

void Put32(std::vector<uint8_t>& Out, uint32_t V)
{
    for (int i = 0; i < 4; ++i)
        Out.push_back(static_cast<uint8_t>(V >> (8 * i)));
}

template <typename tBody> void Chunk(std::vector<uint8_t>& Out, const char (&Id)[5], const tBody& Body)
{
    Out.insert(Out.end(), Id, Id + 4);
    Put32(Out, static_cast<uint32_t>(Body.size()));
    Out.insert(Out.end(), Body.begin(), Body.end());
}
} // namespace

void StartBenchCore()
{
    SetProgramDir(ORLIK_RESOURCE_DIR);
    SetMessenger(&Silent);
    CreateModelObjects();
}

std::string BenchFixturesDir()
{
    const char* Env = std::getenv("ORLIK_FIXTURES");
    const std::string Dir = Env && *Env ? Env : ORLIK_FIXTURES_DEFAULT;
    std::error_code Ec;
    return std::filesystem::is_directory(Dir, Ec) ? Dir : std::string();
}

std::string BenchFixture(benchmark::State& St, const std::string& Sub, std::vector<uint8_t>* Data)
{
    const std::string Dir = BenchFixturesDir();
    if (Dir.empty()) {
        St.SkipWithError("fixtures folder not found (set ORLIK_FIXTURES)");
        return {};
    }
    const std::string Name = Dir + "/" + Sub;
    std::vector<uint8_t> Bytes;
    tError Error;
    if (!ReadWholeFile(Name, Bytes, Error)) {
        St.SkipWithError(Error.Describe(Name).c_str());
        return {};
    }
    if (Data)
        *Data = std::move(Bytes);
    return Name;
}

std::vector<uint8_t> CurrentAsSSL()
{
    std::vector<uint8_t> Out;
    SSL->SaveToStream(Out);
    return Out;
}

std::vector<uint8_t> CurrentAsSGT()
{
    SGT->MachineToChunks(*SNES);
    std::vector<uint8_t> Out = {'G', 'T', 'S', 'F'};
    Put32(Out, 0);
    Chunk(Out, "WRAM", SGT->WRAM);
    Chunk(Out, "VRAM", SGT->VRAM);
    Chunk(Out, "OAM ", SGT->OAM);
    Chunk(Out, "PAL ", SGT->PAL);
    Chunk(Out, "CPUR", SGT->CPUR);
    Chunk(Out, "PPUR", SGT->PPUR);
    Chunk(Out, "SPCF", CurrentAsSPC());
    return Out;
}

std::vector<uint8_t> CurrentAsSPC()
{
    std::vector<uint8_t> Out;
    SPC->SaveToStream(Out, SPC->EditorFieldsFromTag());
    return Out;
}

void ComposeCurrent(tPicture8& P8, tPicture32& P32)
{
    tSceneSwitches Switches;
    Switches.Reload(*PPU, Options());
    Renderer->ComposeFrame(*PPU, Switches, Options(), P8, P32);
}

void TimeComposeFrame(benchmark::State& St, const tOptions& O)
{
    tSceneSwitches Switches;
    Switches.Reload(*PPU, O);
    tPicture8 P8;
    tPicture32 P32;
    for (auto _ : St) {
        Renderer->ComposeFrame(*PPU, Switches, O, P8, P32);
        benchmark::DoNotOptimize(P32.Pixels.data());
    }
}

std::string BenchTempDir(const std::string& Name)
{
    const auto Dir = std::filesystem::temp_directory_path() / ("orlik-bench-" + Name);
    std::error_code Ec;
    std::filesystem::remove_all(Dir, Ec);
    std::filesystem::create_directories(Dir, Ec);
    return Dir.string();
}
