#include "app/StateDiff.h"

#include <algorithm>
#include <cstring>

#include "app/RegisterTabs.h"
#include "core/SNES.h"
#include "tools/PaletteFile.h"

namespace
{
constexpr int ComparedPages[] = {PageCPU, PageDMA, PagePPU, PageAPU};

template <class tArray> std::vector<uint8_t> Bytes(const tArray& A, size_t Count = sizeof(tArray))
{
    std::vector<uint8_t> V(Count);
    std::memcpy(V.data(), A.data(), Count);
    return V;
}
} // namespace

const char* SnapshotPageName(int Page)
{
    static const char* const Names[] = {"cpu", "dma", "ppu", "apu"};
    return Page >= 0 && Page < 4 ? Names[Page] : "?";
}

tStateSnapshot TakeStateSnapshot()
{
    tStateSnapshot S;
    tRegisterTabs& Tabs = RegisterTabs();
    Tabs.Invalidate();
    const tRegisterSources Src = CurrentRegisterSources();
    for (int Page : ComparedPages) {
        Tabs.FillTab(Page, Src, true);
        for (const tRegisterRow& R : Tabs.Tabs[static_cast<size_t>(Page)].Rows)
            if (!R.IsText)
                S.Rows.push_back({Page, R.Caption, R.Name, R.Block.Address ? R.Hex : std::string()});
    }
    // CGRAM as the bytes the bus writes (low byte first); the DSP's registers
    // are $00-$7F (a ZSNES state carries 256 bytes).
    S.Memories.push_back({"WRAM", Bytes(SNES->WRAM)});
    S.Memories.push_back({"VRAM", Bytes(SNES->VRAM)});
    S.Memories.push_back({"CGRAM", EncodePalette(SNES->CGRAM, PaletteSNES)});
    S.Memories.push_back({"OAM", Bytes(SNES->OAM)});
    S.Memories.push_back({"SPC700 RAM", Bytes(SNES->APU_RAM)});
    S.Memories.push_back({"DSP", Bytes(SNES->DSP, 128)});
    return S;
}

std::vector<tByteRange> DifferingRanges(std::span<const uint8_t> A, std::span<const uint8_t> B)
{
    std::vector<tByteRange> Ranges;
    const size_t Common = std::min(A.size(), B.size()), Longest = std::max(A.size(), B.size());
    for (size_t i = 0; i < Longest;) {
        if (i < Common && A[i] == B[i]) {
            ++i;
            continue;
        }
        const size_t Start = i;
        while (i < Longest && (i >= Common || A[i] != B[i]))
            ++i;
        Ranges.push_back({static_cast<uint32_t>(Start), static_cast<uint32_t>(i - Start)});
    }
    return Ranges;
}

tStateDiff DiffStates(const tStateSnapshot& A, const tStateSnapshot& B)
{
    tStateDiff D;
    const size_t Rows = std::max(A.Rows.size(), B.Rows.size());
    static const tSnapshotRow None;
    for (size_t i = 0; i < Rows; ++i) {
        const tSnapshotRow& RA = i < A.Rows.size() ? A.Rows[i] : None;
        const tSnapshotRow& RB = i < B.Rows.size() ? B.Rows[i] : None;
        if (RA.Hex != RB.Hex || RA.Address != RB.Address || RA.Name != RB.Name)
            D.Rows.push_back({i < A.Rows.size() ? RA.Page : RB.Page, i < A.Rows.size() ? RA.Address : RB.Address,
                              i < A.Rows.size() ? RA.Name : RB.Name, RA.Hex, RB.Hex});
    }
    for (size_t m = 0; m < A.Memories.size() && m < B.Memories.size(); ++m) {
        const tSnapshotMemory &MA = A.Memories[m], &MB = B.Memories[m];
        tMemoryDifference M{MA.Name, static_cast<uint32_t>(std::max(MA.Bytes.size(), MB.Bytes.size())), 0,
                            DifferingRanges(MA.Bytes, MB.Bytes)};
        for (const tByteRange& R : M.Ranges)
            M.Bytes += R.Count;
        if (!M.Ranges.empty())
            D.Memories.push_back(std::move(M));
    }
    return D;
}
