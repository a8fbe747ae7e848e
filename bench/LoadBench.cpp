// Speed of reading savestates: each format's pure reader on file bytes held
// in memory, the "new SNES" refresh every model object makes after a load, and
// the whole load of a real file up to the composed 32-bit screen.

#include <benchmark/benchmark.h>

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "app/Loader.h"
#include "core/Broadcast.h"
#include "core/FileIO.h"
#include "core/Options.h"
#include "core/Picture32.h"
#include "core/Picture8.h"
#include "core/SNES.h"
#include "render/PPU.h"
#include "render/Renderer.h"
#include "render/SceneSwitches.h"
#include "savestates/RAState.h"
#include "savestates/S9X.h"
#include "savestates/SGT.h"
#include "savestates/SSL.h"
#include "savestates/ZST.h"
#include "sound/SPC.h"

namespace
{
// A busy mode 1 title screen of each emulator; the formats without real
// files are written from the Snes9x one.
const char* const ZSTFixture = "zsnes/zsnes151_nesdoug05_sprites.zst";
const char* const S9XFixture = "snes9x/m1_layers.000";

void BM_LoadZST(benchmark::State& St)
{
    StartBenchCore();
    std::vector<uint8_t> Data;
    const std::string Name = BenchFixture(St, ZSTFixture, &Data);
    if (Name.empty())
        return;
    // The reader alone, into a state and an image of the benchmark's own.
    auto State = std::make_unique<tSNES>();
    auto Image = std::make_unique<tZSTImage>();
    tError Error;
    for (auto _ : St)
        benchmark::DoNotOptimize(ParseZST(Data, false, *State, *Image, Error));
    St.SetBytesProcessed(static_cast<int64_t>(St.iterations() * Data.size()));
}
BENCHMARK(BM_LoadZST)->Unit(benchmark::kMicrosecond);

// The Snes9x reader alone on bytes in memory, whatever their form.
void ParseS9XLoop(benchmark::State& St, const std::vector<uint8_t>& Data)
{
    auto State = std::make_unique<tSNES>();
    auto Image = std::make_unique<tS9XImage>();
    std::vector<uint8_t> SRAM;
    tError Error;
    for (auto _ : St)
        benchmark::DoNotOptimize(ParseS9X(Data, *State, *Image, SRAM, Error));
}

void BM_LoadS9XGzip(benchmark::State& St)
{
    StartBenchCore();
    std::vector<uint8_t> Data;
    const std::string Name = BenchFixture(St, S9XFixture, &Data);
    if (Name.empty())
        return;
    ParseS9XLoop(St, Data);
    St.SetBytesProcessed(static_cast<int64_t>(St.iterations() * Data.size()));
}
BENCHMARK(BM_LoadS9XGzip)->Unit(benchmark::kMicrosecond);

// Loads the Snes9x fixture through the program, so that every format's
// image follows it, and returns the bytes the given writer makes of it.
template <typename tWriter> std::vector<uint8_t> Converted(benchmark::State& St, tWriter Writer)
{
    StartBenchCore();
    const std::string Name = BenchFixture(St, S9XFixture);
    if (Name.empty())
        return {};
    if (!LoadSavestate(Name)) {
        St.SkipWithError("the Snes9x fixture did not load");
        return {};
    }
    return Writer();
}

void BM_LoadSSL(benchmark::State& St)
{
    const std::vector<uint8_t> Data = Converted(St, CurrentAsSSL);
    if (Data.empty())
        return;
    auto State = std::make_unique<tSNES>();
    auto Image = std::make_unique<tSSLImage>();
    std::string Error;
    for (auto _ : St)
        benchmark::DoNotOptimize(ParseSSL(Data, *State, *Image, Error));
    St.SetBytesProcessed(static_cast<int64_t>(St.iterations() * Data.size()));
}
BENCHMARK(BM_LoadSSL)->Unit(benchmark::kMicrosecond);

void BM_LoadSGT(benchmark::State& St)
{
    const std::vector<uint8_t> Data = Converted(St, CurrentAsSGT);
    if (Data.empty())
        return;
    auto State = std::make_unique<tSNES>();
    auto Image = std::make_unique<tSGTImage>();
    std::string Error;
    for (auto _ : St)
        benchmark::DoNotOptimize(ParseSGT(Data, *State, *Image, Error));
    St.SetBytesProcessed(static_cast<int64_t>(St.iterations() * Data.size()));
}
BENCHMARK(BM_LoadSGT)->Unit(benchmark::kMicrosecond);

void BM_LoadSPC(benchmark::State& St)
{
    const std::vector<uint8_t> Data = Converted(St, CurrentAsSPC);
    if (Data.empty())
        return;
    tError Error;
    for (auto _ : St)
        benchmark::DoNotOptimize(SPC->LoadFromMemory(Data, Error));
    St.SetBytesProcessed(static_cast<int64_t>(St.iterations() * Data.size()));
}
BENCHMARK(BM_LoadSPC)->Unit(benchmark::kMicrosecond);

// Every model object's reaction to a changed machine state, as an editor's
// change causes it: DMA decode, the picture unit's decode, every format's
// image rebuilt, the SPC image.
void BM_NewSNES(benchmark::State& St, const char* Fixture)
{
    StartBenchCore();
    const std::string Name = BenchFixture(St, Fixture);
    if (Name.empty())
        return;
    if (!LoadSavestate(Name)) {
        St.SkipWithError("the fixture did not load");
        return;
    }
    for (auto _ : St)
        Broadcast(nullptr, Note::NewSNES);
}
BENCHMARK_CAPTURE(BM_NewSNES, zsnes, ZSTFixture)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_NewSNES, snes9x, S9XFixture)->Unit(benchmark::kMicrosecond);

// A whole load as the program makes it: the file read, every reaction to
// "new savestate" and "new SNES", and the composed 32-bit screen.
void FullLoad(benchmark::State& St, const std::string& Name)
{
    tSceneSwitches Switches;
    tPicture8 P8;
    tPicture32 P32;
    for (auto _ : St) {
        if (!LoadSavestate(Name)) {
            St.SkipWithError("the fixture did not load");
            return;
        }
        Switches.Reload(*PPU, Options());
        Renderer->ComposeFrame(*PPU, Switches, Options(), P8, P32);
        benchmark::DoNotOptimize(P32.Pixels.data());
    }
}

void BM_FullLoad(benchmark::State& St, const char* Fixture)
{
    StartBenchCore();
    const std::string Name = BenchFixture(St, Fixture);
    if (!Name.empty())
        FullLoad(St, Name);
}
BENCHMARK_CAPTURE(BM_FullLoad, zsnes_sprites, ZSTFixture)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FullLoad, zsnes_mode7, "zsnes/zsnes151_m7rotzoom.zst")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FullLoad, snes9x_layers, S9XFixture)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FullLoad, snes9x_hires, "snes9x/m5_interlace_rpg.000")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FullLoad, snes9x_modern, "snes9x-modern/m1_layers.000")->Unit(benchmark::kMillisecond);
// One scene in every form a newer Snes9x or RetroArch writes, beside its
// 1.43 twin: what one form costs more than another is its unpacking.
const char* const GradientTwin = "snes9x/m1_hdma_gradient.000";
const char* const GradientGzip = "snes9x-modern/m1_hdma_gradient.000";
const char* const GradientContainer = "snes9x-modern/retroarch/m1_hdma_gradient.state";
const char* const GradientRZip = "snes9x-modern/retroarch/m1_hdma_gradient_rzip.state";
BENCHMARK_CAPTURE(BM_FullLoad, gradient_143, GradientTwin)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FullLoad, gradient_modern_gzip, GradientGzip)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FullLoad, retroarch_container, GradientContainer)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FullLoad, retroarch_rzip, GradientRZip)->Unit(benchmark::kMillisecond);

// The bare core stream, as older RetroArch wrote it: the container
// fixture's "MEM " block in a file of its own.
void BM_FullLoadBare(benchmark::State& St)
{
    StartBenchCore();
    std::vector<uint8_t> Data;
    if (BenchFixture(St, GradientContainer, &Data).empty())
        return;
    std::span<const uint8_t> Mem;
    std::string Why;
    tError Error;
    const std::string Name = BenchTempDir("bare") + "/m1_hdma_gradient.state";
    if (!RAStateMemory(Data, Mem, Why) || !WriteFileAtomic(Name, Mem, Error)) {
        St.SkipWithError("the bare stream could not be written");
        return;
    }
    FullLoad(St, Name);
}
BENCHMARK(BM_FullLoadBare)->Unit(benchmark::kMillisecond);

// The pure reader of each packed form on bytes in memory, to tell unpacking
// and reading from the reactions that follow a load.
void BM_ParseModern(benchmark::State& St, const char* Fixture)
{
    StartBenchCore();
    std::vector<uint8_t> Data;
    if (BenchFixture(St, Fixture, &Data).empty())
        return;
    ParseS9XLoop(St, Data);
}
BENCHMARK_CAPTURE(BM_ParseModern, gzip, GradientGzip)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ParseModern, container, GradientContainer)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ParseModern, rzip, GradientRZip)->Unit(benchmark::kMicrosecond);

// A newer Snes9x's picture: read from its file (the recent menu's and the
// browser's thumbnails) and from the state that was loaded (the preview
// window's reaction to a load).
void BM_S9XPreview(benchmark::State& St, bool Kept)
{
    StartBenchCore();
    const std::string Name = BenchFixture(St, GradientGzip);
    if (Name.empty())
        return;
    if (!LoadSavestate(Name)) {
        St.SkipWithError("the fixture did not load");
        return;
    }
    tPicture32 Picture;
    for (auto _ : St)
        benchmark::DoNotOptimize(Kept ? S9X->ShotPicture(Picture) : tS9X::LoadPreview(Name, Picture));
}
BENCHMARK_CAPTURE(BM_S9XPreview, file, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_S9XPreview, kept, true)->Unit(benchmark::kMicrosecond);
} // namespace
