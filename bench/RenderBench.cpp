// Speed of the picture unit: decoding a machine state on "new SNES" and
// composing a frame, on a real Snes9x fixture (a synthetic state when the
// fixtures are absent).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "BenchSupport.h"
#include "app/Model.h"
#include "app/Loader.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "core/Picture32.h"
#include "core/Picture8.h"
#include "core/SNES.h"
#include "core/SharedData.h"
#include "render/PPU.h"
#include "render/Renderer.h"
#include "render/SceneSwitches.h"

namespace
{
class tQuiet : public tMessenger
{
  public:
    void Error(std::string_view) override {}
    void Notice(std::string_view, std::string_view) override {}
    bool Question(std::string_view) override { return false; }
};

// A busy mode 1 frame: three layers of varied tiles and 128 sprites.
void Synthetic(tSNES& S)
{
    S.Regs[0x2100] = 0x0F;
    S.Regs[0x2105] = 0x01;
    S.Regs[0x2108] = 0x08;
    S.Regs[0x2109] = 0x10;
    S.Regs[0x210B] = 0x21;
    S.Regs[0x212C] = 0x17;
    S.Regs[0x212D] = 0x02;
    S.Regs[0x2131] = 0x41;
    for (size_t i = 0; i < S.VRAM.size(); ++i)
        S.VRAM[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
    for (size_t i = 0; i < 512; ++i)
        S.OAM[i] = static_cast<uint8_t>(i * 40503u >> 3);
}

struct tBenchState {
    tQuiet Quiet;
    std::string Name = "synthetic mode 1 frame";
    tBenchState()
    {
        SetProgramDir(ORLIK_RESOURCE_DIR);
        SetMessenger(&Quiet);
        CreateModelObjects();
        const char* Env = std::getenv("ORLIK_FIXTURES");
        const std::string State = std::string(Env && *Env ? Env : ORLIK_FIXTURES_DEFAULT) + "/snes9x/m1_layers.000";
        if (std::filesystem::exists(State) && LoadSavestate(State))
            Name = State;
        else
            Synthetic(*SNES);
        PPU->Decode(*SNES, Options());
    }
};

tBenchState& State()
{
    static tBenchState S;
    return S;
}

void BM_PPUDecode(benchmark::State& St)
{
    tBenchState& B = State();
    St.SetLabel(B.Name);
    for (auto _ : St) {
        PPU->Decode(*SNES, Options());
        benchmark::DoNotOptimize(PPU->Layers[0].Pixels.data());
    }
}
BENCHMARK(BM_PPUDecode)->Unit(benchmark::kMicrosecond);

void BM_ComposeFrame(benchmark::State& St)
{
    tBenchState& B = State();
    St.SetLabel(B.Name);
    tOptions O = Options();
    O.CBox_Scene512 = St.range(0) != 0;
    TimeComposeFrame(St, O);
}
BENCHMARK(BM_ComposeFrame)->Arg(0)->Arg(1)->ArgName("scale512")->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
