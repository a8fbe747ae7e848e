// Speed of an edit in the Snes9x 1.43 and Super Sleuth tabs: the image read
// twice onto copies of the machine state, the difference taken and the
// "new SNES" refresh every model object makes after it.

#include <benchmark/benchmark.h>

#include <string>

#include "BenchSupport.h"
#include "app/Loader.h"
#include "core/Broadcast.h"
#include "savestates/S9X.h"
#include "savestates/SSL.h"

namespace
{
// The accumulator's low byte, flipped on every round so that each edit
// changes the machine state.
void BM_EditField(benchmark::State& St, bool Sleuth)
{
    StartBenchCore();
    const std::string Name = BenchFixture(St, "snes9x/m1_layers.000");
    if (Name.empty())
        return;
    if (!LoadSavestate(Name)) {
        St.SkipWithError("the fixture does not load");
        return;
    }
    const int Editor = 0;
    uint8_t& Byte = Sleuth ? SSL->SCPU[0] : S9X->Blocks[S9XLayout::BlockREG][S9XLayout::REGA];
    for (auto _ : St) {
        Byte ^= 1;
        Broadcast(&Editor, Sleuth ? Note::NewSSL : Note::NewS9X);
    }
}
} // namespace

BENCHMARK_CAPTURE(BM_EditField, snes9x, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_EditField, sleuth, true)->Unit(benchmark::kMicrosecond);
