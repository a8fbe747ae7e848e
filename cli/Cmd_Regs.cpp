// orlik-cli regs: one register tab of a savestate as a text table or JSON,
// built from "SNES.txt" beside the program exactly as the main window shows it.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Commands.h"
#include "Json.h"
#include "app/RegisterTabs.h"
#include "app/Loader.h"
#include "core/FileIO.h"
#include "core/Options.h"
#include "core/SNES.h"

namespace
{
constexpr const char* TabNames[RegisterPageCount] = {"cpu", "dma", "ppu", "apu", "zst", "s9x", "ssl"};
constexpr const char* Usage = "usage: orlik-cli regs FILE [--tab cpu|dma|ppu|apu|zst|s9x|ssl] [--json]\n";

void PrintJson(const std::string& FileName, int Page, const tRegisterTab& Tab)
{
    std::printf("{\"file\": %s, \"tab\": \"%s\", \"rows\": [", JsonString(FileName).c_str(), TabNames[Page]);
    bool First = true;
    for (const tRegisterRow& R : Tab.Rows) {
        std::printf("%s\n  {", First ? "" : ",");
        First = false;
        if (R.IsText) {
            std::printf("\"text\": true, \"comment\": %s}", JsonString(R.Comment).c_str());
            continue;
        }
        std::printf("\"address\": %s, \"type\": %s, \"bits\": %s, \"bin\": %s, \"hex\": %s, \"dec\": %s, "
                    "\"name\": %s, \"comment\": %s, \"missing\": %s}",
                    JsonString(R.Caption).c_str(), JsonString(R.Type).c_str(), JsonString(R.Bits).c_str(),
                    JsonString(R.Bin).c_str(), JsonString(R.Hex).c_str(), JsonString(R.Dec).c_str(),
                    JsonString(R.Name).c_str(), JsonString(R.Comment).c_str(), R.Block.Address ? "false" : "true");
    }
    std::printf("\n]}\n");
}

void PrintTable(const tRegisterTab& Tab)
{
    static const char* Heads[8] = {"address", "type", "bits", "bin", "hex", "dec", "name", "comment"};
    auto Columns = [](const tRegisterRow& R) {
        return std::vector<const std::string*>{&R.Caption, &R.Type, &R.Bits, &R.Bin, &R.Hex, &R.Dec, &R.Name};
    };
    size_t Width[7];
    for (size_t C = 0; C < 7; ++C)
        Width[C] = std::string(Heads[C]).size();
    for (const tRegisterRow& R : Tab.Rows)
        if (!R.IsText) {
            auto Cols = Columns(R);
            for (size_t C = 0; C < 7; ++C)
                Width[C] = std::max(Width[C], Cols[C]->size());
        }
    // bits, bin, hex and dec are right-aligned as in the main window.
    auto Cell = [&](size_t C, const std::string& S) {
        const bool Right = C >= 2 && C <= 5;
        std::printf(Right ? "%*s  " : "%-*s  ", static_cast<int>(Width[C]), S.c_str());
    };
    for (size_t C = 0; C < 7; ++C)
        Cell(C, Heads[C]);
    std::printf("%s\n", Heads[7]);
    static const std::string Empty;
    for (const tRegisterRow& R : Tab.Rows) {
        if (R.IsText) {
            for (size_t C = 0; C < 7; ++C)
                Cell(C, Empty);
        } else {
            auto Cols = Columns(R);
            for (size_t C = 0; C < 7; ++C)
                Cell(C, *Cols[C]);
        }
        std::printf("%s\n", R.Comment.c_str());
    }
}

int Regs(const std::vector<std::string>& Args)
{
    std::string FileName;
    int Page = PageCPU;
    bool Json = false;
    for (size_t I = 0; I < Args.size(); ++I) {
        const std::string& A = Args[I];
        if (A == "--json") {
            Json = true;
        } else if (A == "--tab" && I + 1 < Args.size()) {
            const std::string& T = Args[++I];
            const auto* Found = std::find(std::begin(TabNames), std::end(TabNames), T);
            if (Found == std::end(TabNames)) {
                std::fprintf(stderr, "orlik-cli regs: unknown tab \"%s\"\n", T.c_str());
                return UsageError;
            }
            Page = static_cast<int>(Found - std::begin(TabNames));
        } else if (!A.empty() && A[0] != '-' && FileName.empty()) {
            FileName = A;
        } else {
            return UsageError;
        }
    }
    if (FileName.empty()) {
        return UsageError;
    }
    StartCore();
    if (!CheckReadable(FileName))
        return 1;
    tRegisterTabs& Tabs = RegisterTabs();
    tError Error;
    if (!Tabs.Load(Error)) {
        std::fprintf(stderr, "%s\n", Error.Describe(RegisterFilePath()).c_str());
        return 1;
    }
    const bool Loaded = LoadStateFile(FileName);
    SetMessageContext("");
    if (!Loaded)
        return 1;
    // A bad row in the description file is reported by the exception handler of main.
    Tabs.Invalidate();
    Tabs.FillTab(Page, CurrentRegisterSources(), true);
    const tRegisterTab& Tab = Tabs.Tabs[static_cast<size_t>(Page)];
    if (Json)
        PrintJson(FileName, Page, Tab);
    else
        PrintTable(Tab);
    return 0;
}

tCommandRegistrar Reg({"regs", "regs FILE [--tab NAME] [--json]", "one register tab of a savestate", Regs, Usage});
} // namespace
