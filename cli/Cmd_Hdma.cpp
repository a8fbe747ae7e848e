// orlik-cli hdma: what each HDMA table of a savestate writes line by line.

#include <cstdio>
#include <cstdlib>

#include "Commands.h"
#include "app/Cartridge.h"
#include "app/Loader.h"
#include "cart/SNESCart.h"
#include "core/Options.h"
#include "core/SNES.h"
#include "render/HDMAReplay.h"
#include "render/HDMATable.h"
#include "render/PPU.h"

namespace
{
void PrintChannel(int N, bool Lines)
{
    std::printf("channel %d\n", N);
    for (const tNameValue& V : HDMAChannelInfo(*SNES, N, false))
        std::printf("  %-16s %s\n", (V.Name + ":").c_str(), V.Value.c_str());
    std::printf("  %-16s %s\n", "lines replayed:", HDMALinesReplayed(PPU->HDMA, N).c_str());
    if (!Lines)
        return;
    const tHDMAListing L = HDMALines(*SNES, Cart ? Cart->ROMView() : tROMView{}, N);
    if (!L.Message.empty()) {
        std::printf("  %s\n", L.Message.c_str());
        return;
    }
    if (L.Rows.empty()) {
        std::printf("  (empty table)\n");
        return;
    }
    std::printf("  %4s  %-8s %-6s %-9s %-3s %s\n", "#", "source", "dest", "bin", "hex", "dec");
    for (const tHDMARow& R : L.Rows)
        std::printf("  %4s  %-8s %-6s %-9s %-3s %s\n", R.Line.c_str(), R.Source.c_str(), R.Dest.c_str(), R.Bin.c_str(),
                    R.Hex.c_str(), R.Dec.c_str());
}

int HdmaCmd(const std::vector<std::string>& Args)
{
    std::string State, ROM;
    int Channel = -1;
    bool Bad = false;
    for (size_t i = 0; i < Args.size(); ++i) {
        if (Args[i] == "--channel" && i + 1 < Args.size()) {
            char* End = nullptr;
            const long N = std::strtol(Args[++i].c_str(), &End, 10);
            if (*End || N < 0 || N > 7)
                Bad = true;
            Channel = static_cast<int>(N);
        } else if (Args[i] == "--cart" && i + 1 < Args.size()) {
            ROM = Args[++i];
        } else if (State.empty() && Args[i].rfind("--", 0) != 0) {
            State = Args[i];
        } else {
            Bad = true;
        }
    }
    if (State.empty() || Bad) {
        return UsageError;
    }
    StartCore();
    // HDMA tables may lie in ROM: without a named cartridge, look beside the state.
    Options().CBox_OpenCart = ROM.empty();
    Options().CBox_OpenIPSMsg = false;
    if (!LoadStateFile(State))
        return 1;
    if (!ROM.empty()) {
        SetMessageContext(ROM);
        if (!OpenCartridge(ROM))
            return 1;
    }
    SetMessageContext("");
    if (Channel >= 0) {
        PrintChannel(Channel, true);
        return 0;
    }
    // Without a channel: every channel, with the lines of those HDMA is on for.
    for (int N = 0; N < 8; ++N) {
        if (N)
            std::printf("\n");
        PrintChannel(N, SNES->DMA[N].HDMAEnabled);
    }
    return 0;
}

tCommandRegistrar Reg({"hdma", "hdma STATE [--channel N] [--cart ROM]", "the HDMA tables of a savestate, line by line",
                       HdmaCmd, "usage: orlik-cli hdma STATE [--channel N] [--cart ROM]   (N = 0..7)\n"});
} // namespace
