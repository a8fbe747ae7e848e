// orlik-cli diff: two savestates, of any formats the program reads, compared
// as machine states. Exit status 0 when they are equal, 1 when they differ,
// 2 when one cannot be read.

#include <cstdio>
#include <string>
#include <vector>

#include "Commands.h"
#include "Json.h"
#include "app/RegisterTabs.h"
#include "app/StateDiff.h"
#include "core/RegisterFile.h"

namespace
{
constexpr const char* Usage = "usage: orlik-cli diff STATE_A STATE_B [--json]\n"
                              "  Lists the register rows (cpu, dma, ppu, apu tabs) whose values differ, and\n"
                              "  for WRAM, VRAM, CGRAM, OAM, SPC700 RAM and the DSP registers the ranges of\n"
                              "  differing bytes (offset in hexadecimal, count). \"-\": not kept by the format.\n"
                              "  Exit status 0: equal, 1: different, 2: a state could not be read.\n";

const char* Shown(const std::string& Hex)
{
    return Hex.empty() ? "-" : Hex.c_str();
}

void PrintText(const tStateDiff& D)
{
    for (const tRowDifference& R : D.Rows)
        std::printf("%s  %-10s %-12s %s -> %s\n", SnapshotPageName(R.Page), R.Address.c_str(), R.Name.c_str(),
                    Shown(R.A), Shown(R.B));
    for (const tMemoryDifference& M : D.Memories) {
        std::printf("%s: %u of %u bytes differ in %zu ranges\n", M.Name, M.Bytes, M.Size, M.Ranges.size());
        for (const tByteRange& R : M.Ranges)
            std::printf("  %05X  %u\n", R.Start, R.Count);
    }
}

void PrintJson(const std::string& A, const std::string& B, const tStateDiff& D)
{
    std::printf("{\"a\": %s, \"b\": %s, \"equal\": %s,\n \"rows\": [", JsonString(A).c_str(), JsonString(B).c_str(),
                D.Equal() ? "true" : "false");
    for (size_t i = 0; i < D.Rows.size(); ++i) {
        const tRowDifference& R = D.Rows[i];
        std::printf("%s\n  {\"tab\": \"%s\", \"address\": %s, \"name\": %s, \"a\": %s, \"b\": %s}", i ? "," : "",
                    SnapshotPageName(R.Page), JsonString(R.Address).c_str(), JsonString(R.Name).c_str(),
                    R.A.empty() ? "null" : JsonString(R.A).c_str(), R.B.empty() ? "null" : JsonString(R.B).c_str());
    }
    std::printf("],\n \"memories\": [");
    for (size_t i = 0; i < D.Memories.size(); ++i) {
        const tMemoryDifference& M = D.Memories[i];
        std::printf("%s\n  {\"name\": \"%s\", \"size\": %u, \"bytes\": %u, \"ranges\": [", i ? "," : "", M.Name, M.Size,
                    M.Bytes);
        for (size_t r = 0; r < M.Ranges.size(); ++r)
            std::printf("%s[%u, %u]", r ? ", " : "", M.Ranges[r].Start, M.Ranges[r].Count);
        std::printf("]}");
    }
    std::printf("]}\n");
}

int Diff(const std::vector<std::string>& Args)
{
    std::vector<std::string> Files;
    bool Json = false;
    for (const std::string& A : Args) {
        if (A == "--json") {
            Json = true;
        } else if (A.size() > 1 && A[0] == '-') {
            std::fprintf(stderr, "orlik-cli diff: unknown option \"%s\"\n", A.c_str());
            return UsageError;
        } else {
            Files.push_back(A);
        }
    }
    if (Files.size() != 2)
        return UsageError;
    StartCore();
    tError Error;
    if (!RegisterTabs().Load(Error)) {
        std::fprintf(stderr, "%s\n", Error.Describe(RegisterFilePath()).c_str());
        return 2;
    }
    tStateSnapshot Snapshots[2];
    for (int i = 0; i < 2; ++i) {
        if (!CheckReadable(Files[i]) || !LoadStateFile(Files[i], "; nothing compared"))
            return 2;
        Snapshots[i] = TakeStateSnapshot();
    }
    SetMessageContext("");
    const tStateDiff D = DiffStates(Snapshots[0], Snapshots[1]);
    if (Json)
        PrintJson(Files[0], Files[1], D);
    else
        PrintText(D);
    return D.Equal() ? 0 : 1;
}

tCommandRegistrar Reg({"diff", "diff STATE_A STATE_B [--json]", "compare two savestates as machine states", Diff,
                       Usage});
} // namespace
