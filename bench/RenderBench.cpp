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

// The same frame with HDMA changing something on every line, as gradients
// and waves do: the backdrop colour through $2121/$2122 and BG1's horizontal
// scroll. Arg 0 composes it as a still frame, 1 replays the HDMA.
void BM_ComposeFrameHDMA(benchmark::State& St)
{
    tBenchState& B = State();
    St.SetLabel(B.Name + " + HDMA on every line");
    const auto Saved = std::make_unique<tSNES>(*SNES);
    tSNES& S = *SNES;
    auto Channel = [&](int N, uint8_t Mode, uint8_t BReg, uint16_t Table) {
        const uint16_t R = static_cast<uint16_t>(0x4300 + 16 * N);
        S.Regs[R] = Mode;
        S.Regs[R + 1u] = BReg;
        S.SetReg16(static_cast<uint16_t>(R + 2), Table);
        S.Regs[R + 4u] = 0x7E;
        S.Regs[0x420C] |= static_cast<uint8_t>(1 << N);
    };
    Channel(0, 0, 0x21, 0x1000);
    Channel(1, 2, 0x22, 0x2000);
    Channel(2, 2, 0x0D, 0x3000);
    for (int Part = 0; Part < 2; ++Part) {
        // Two repeat entries of 112 lines each per table.
        const uint32_t Lines = 112, Base = Part * (1 + Lines * 2);
        S.WRAM[0x1000 + Part * (1 + Lines)] = static_cast<uint8_t>(0x80 | Lines);
        S.WRAM[0x2000 + Base] = S.WRAM[0x3000 + Base] = static_cast<uint8_t>(0x80 | Lines);
        for (uint32_t i = 0; i < Lines; ++i) {
            const uint32_t Line = Part * Lines + i;
            S.WRAM[0x1000 + Part * (1 + Lines) + 1 + i] = 0;
            S.WRAM[0x2000 + Base + 1 + 2 * i] = static_cast<uint8_t>(Line);
            S.WRAM[0x2000 + Base + 2 + 2 * i] = static_cast<uint8_t>(Line >> 3);
            S.WRAM[0x3000 + Base + 1 + 2 * i] = static_cast<uint8_t>(Line * 7 % 16);
            S.WRAM[0x3000 + Base + 2 + 2 * i] = 0;
        }
    }
    S.DecodeDMA();
    PPU->Decode(S, Options());
    tOptions O = Options();
    O.CBox_Scene512 = false;
    O.CBox_SceneHDMA = St.range(0) != 0;
    TimeComposeFrame(St, O);
    S = *Saved;
    S.DecodeDMA();
    PPU->Decode(S, Options());
}
BENCHMARK(BM_ComposeFrameHDMA)->Arg(0)->Arg(1)->ArgName("replay")->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
