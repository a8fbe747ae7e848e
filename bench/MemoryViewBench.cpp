// Speed of the memory viewer's picture: decoding its largest window (256 x 256
// tiles, 2048 x 2048 pixels) out of a 4 MiB ROM, as every offset change,
// decoder change and "new SNES" does.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "core/Picture8.h"
#include "tools/MemoryView.h"

namespace
{
std::vector<uint8_t> MakeROM()
{
    std::vector<uint8_t> ROM(4u << 20);
    uint32_t X = 12345;
    for (uint8_t& B : ROM) {
        X = X * 1103515245u + 12345u;
        B = static_cast<uint8_t>(X >> 16);
    }
    return ROM;
}

void BM_DecodeLargestWindow(benchmark::State& State)
{
    static const std::vector<uint8_t> ROM = MakeROM();
    tMemoryView V;
    V.Decoder = static_cast<tMemDecoder>(State.range(0));
    V.TilesX = V.TilesY = MaxTiles;
    V.SelectSource(tMemSource::ROM, ROM.size());
    V.Update();
    tPicture8 Picture;
    for (auto _ : State) {
        V.DecodeWindow(ROM, Picture);
        benchmark::DoNotOptimize(Picture.Pixels.data());
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) * static_cast<int64_t>(V.WindowBytes));
}
BENCHMARK(BM_DecodeLargestWindow)
    ->Arg(static_cast<int>(tMemDecoder::Bpp2))
    ->Arg(static_cast<int>(tMemDecoder::Bpp4))
    ->Arg(static_cast<int>(tMemDecoder::Bpp8))
    ->Arg(static_cast<int>(tMemDecoder::FX))
    ->Unit(benchmark::kMillisecond);
} // namespace
