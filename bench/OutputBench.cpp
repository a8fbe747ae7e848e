// Speed of what the program makes of a loaded state: the composition passes
// the picture benchmarks leave out (pseudo-hires, 512 columns, blur), PNG
// encoding of a screen, and the command-line render of one file end to end.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "BenchSupport.h"
#include "app/Loader.h"
#include "core/Options.h"
#include "core/Picture32.h"
#include "core/Picture8.h"
#include "core/PictureFiles.h"
#include "core/SNES.h"
#include "render/PPU.h"
#include "render/Renderer.h"
#include "render/SceneSwitches.h"

namespace
{
const char* const PseudoHiresFixture = "snes9x/m1_pseudo_hires.000";
const char* const HiresFixture = "snes9x/m5_interlace_rpg.000";
const char* const LayersFixture = "snes9x/m1_layers.000";

bool Load(benchmark::State& St, const char* Fixture)
{
    StartBenchCore();
    const std::string Name = BenchFixture(St, Fixture);
    if (Name.empty())
        return false;
    if (!LoadSavestate(Name)) {
        St.SkipWithError("the fixture did not load");
        return false;
    }
    St.SetLabel(Fixture);
    return true;
}

enum tPass { PassPseudoHires, Pass512, Pass512Blur, Pass512SoftBlur };

void BM_ComposePass(benchmark::State& St)
{
    const auto Pass = static_cast<tPass>(St.range(0));
    if (!Load(St, Pass == PassPseudoHires ? PseudoHiresFixture : HiresFixture))
        return;
    tOptions O = Options();
    O.CBox_Scene512 = false;
    O.CBox_SceneBlur = Pass == Pass512Blur || Pass == Pass512SoftBlur;
    O.CBox_SceneBlurSoft = Pass == Pass512SoftBlur;
    TimeComposeFrame(St, O);
}
BENCHMARK(BM_ComposePass)
    ->Arg(PassPseudoHires)
    ->Arg(Pass512)
    ->Arg(Pass512Blur)
    ->Arg(Pass512SoftBlur)
    ->ArgName("pseudohires_512_blur_soft")
    ->Unit(benchmark::kMicrosecond);

void BM_Blur(benchmark::State& St)
{
    if (!Load(St, HiresFixture))
        return;
    tPicture8 P8;
    tPicture32 Composed;
    ComposeCurrent(P8, Composed);
    tPicture32 P32;
    for (auto _ : St) {
        P32 = Composed;
        BlurPicture(P32, St.range(0) != 0);
        benchmark::DoNotOptimize(P32.Pixels.data());
    }
}
BENCHMARK(BM_Blur)->Arg(0)->Arg(1)->ArgName("soft")->Unit(benchmark::kMicrosecond);

void BM_EncodePNG(benchmark::State& St)
{
    if (!Load(St, St.range(1) ? HiresFixture : LayersFixture))
        return;
    tPicture8 P8;
    tPicture32 P32;
    ComposeCurrent(P8, P32);
    std::vector<uint8_t> Out;
    tError Error;
    for (auto _ : St) {
        Out.clear();
        const bool Ok = St.range(0) ? EncodePNG(P8, Out, Error) : EncodePNG(P32, Out, Error);
        if (!Ok) {
            St.SkipWithError(Error.Reason.c_str());
            return;
        }
        benchmark::DoNotOptimize(Out.data());
    }
    St.counters["png_bytes"] = static_cast<double>(Out.size());
}
BENCHMARK(BM_EncodePNG)->ArgsProduct({{0, 1}, {0, 1}})->ArgNames({"indexed", "hires"})->Unit(benchmark::kMicrosecond);

// What "orlik-cli render FILE -o OUT.png" does for each file: load, the
// scene switches from the registers, compose, write the PNG.
void BM_CliRender(benchmark::State& St, const char* Fixture)
{
    StartBenchCore();
    const std::string Name = BenchFixture(St, Fixture);
    if (Name.empty())
        return;
    const std::string Out = BenchTempDir("cli-render") + "/screen.png";
    // The tool's defaults: no scaling, no blur.
    tOptions O = Options();
    O.CBox_Scene512 = O.CBox_SceneBlur = O.CBox_SceneBlurSoft = false;
    tPicture8 P8;
    tPicture32 P32;
    tError Error;
    for (auto _ : St) {
        if (!LoadSavestate(Name)) {
            St.SkipWithError("the fixture did not load");
            return;
        }
        tSceneSwitches Switches;
        Switches.Reload(*PPU, O);
        Renderer->ComposeFrame(*PPU, Switches, O, P8, P32);
        if (!WritePicture(Out, P32, Error)) {
            St.SkipWithError(Error.Reason.c_str());
            return;
        }
    }
}
BENCHMARK_CAPTURE(BM_CliRender, zsnes, "zsnes/zsnes151_nesdoug05_sprites.zst")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliRender, snes9x, LayersFixture)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliRender, snes9x_hires, HiresFixture)->Unit(benchmark::kMillisecond);
} // namespace
