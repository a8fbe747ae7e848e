#include "core/StateChanges.h"

#include <algorithm>
#include <cstddef>
#include <tuple>
#include <utility>

namespace
{
// Every field of a state, in the order tSNES declares them. The binding has
// to name them all: a field added to tSNES and not here stops the build.
template <class tState> auto Fields(tState& S)
{
    auto& [DSP, APU_ExtraRAM, APU_RAM, SPC_Cycles, SPC_DirectPage, SPC_PC, SPC_PSW, SPC_SP, SPC_X, SPC_Y, SPC_YA,
           Voices, CGRAM, CPU_A, CPU_VCounter, CPU_Cycles, CPU_ZTiming, CPU_D, CPU_DB, CPU_IRQActive, CPU_NMIActive,
           CPU_WaitingForInterrupt, CPU_P, CPU_PC, CPU_S, CPU_X, CPU_Y, DMA, OAM, Regs, VRAM, WRAM, BGHScroll,
           BGVScroll, M7HOffset, M7VOffset, M7, FixedColour, FirstSprite, CGRAMLatch, OPHCTLatch, OPVCTLatch, OAMLatch,
           VRAMReadLatch, HDMAActive, HDMANext, HVLatched, IOPort, NoSpriteIncrement, VRAMReadLatch2, BeamPos,
           LatchPos] = S;
    return std::tie(DSP, APU_ExtraRAM, APU_RAM, SPC_Cycles, SPC_DirectPage, SPC_PC, SPC_PSW, SPC_SP, SPC_X, SPC_Y,
                    SPC_YA, Voices, CGRAM, CPU_A, CPU_VCounter, CPU_Cycles, CPU_ZTiming, CPU_D, CPU_DB, CPU_IRQActive,
                    CPU_NMIActive, CPU_WaitingForInterrupt, CPU_P, CPU_PC, CPU_S, CPU_X, CPU_Y, DMA, OAM, Regs, VRAM,
                    WRAM, BGHScroll, BGVScroll, M7HOffset, M7VOffset, M7, FixedColour, FirstSprite, CGRAMLatch,
                    OPHCTLatch, OPVCTLatch, OAMLatch, VRAMReadLatch, HDMAActive, HDMANext, HVLatched, IOPort,
                    NoSpriteIncrement, VRAMReadLatch2, BeamPos, LatchPos);
}

// A byte of VRAM or one colour is taken on its own, a number or a voice
// whole: a number the image holds fewer bits of than the state (a line
// counter past the frame) is then what the edit made it, not a mix.
template <class T> bool Take(T& Here, const T& Before, const T& After)
{
    if constexpr (requires { std::tuple_size<T>::value; }) {
        bool Any = false;
        for (size_t i = 0; i < Here.size(); ++i)
            Any = Take(Here[i], Before[i], After[i]) || Any;
        return Any;
    } else {
        if (Before == After)
            return false;
        Here = After;
        return true;
    }
}
} // namespace

bool TakeChanges(tSNES& Here, const tSNES& Before, const tSNES& After)
{
    auto H = Fields(Here);
    const auto B = Fields(Before), A = Fields(After);
    bool Any = false;
    [&]<size_t... I>(std::index_sequence<I...>)
    {
        ((Any = Take(std::get<I>(H), std::get<I>(B), std::get<I>(A)) || Any), ...);
    }
    (std::make_index_sequence<std::tuple_size_v<decltype(H)>>());
    return Any;
}

bool TakeChangedBytes(std::span<uint8_t> Here, std::span<const uint8_t> Before, std::span<const uint8_t> After)
{
    bool Any = false;
    for (size_t i = 0; i < std::min({Here.size(), Before.size(), After.size()}); ++i)
        if (Before[i] != After[i]) {
            Here[i] = After[i];
            Any = true;
        }
    return Any;
}
