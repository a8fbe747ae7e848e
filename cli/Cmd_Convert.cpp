// orlik-cli convert: loads savestates and writes them in another emulator's
// format, the way the main window's save command does it (load, then save
// through the target format's writer).

#include <cstdio>
#include <string>
#include <vector>

#include "Commands.h"
#include "Outputs.h"
#include "app/Loader.h"
#include "app/SaveState.h"

namespace
{
std::string TargetNames()
{
    std::string Names;
    for (const tStateTarget& T : StateTargets())
        Names += (Names.empty() ? "" : "|") + std::string(T.Name);
    return Names;
}

constexpr const char* Usage = "usage: orlik-cli convert FILE... --to zst|s9x|ssl|s9xsnp|rastate [-o OUT]\n"
                              "  Without -o each state is written beside its file under the target's\n"
                              "  extension; with several FILEs, or an OUT ending in \"/\", OUT is a folder.\n";

int Convert(const std::vector<std::string>& Args)
{
    const tStateTarget* Target = nullptr;
    std::string Out;
    std::vector<std::string> Files;
    for (size_t i = 0; i < Args.size(); ++i) {
        const std::string& A = Args[i];
        if ((A == "--to" || A == "-o") && i + 1 >= Args.size()) {
            return UsageError;
        }
        if (A == "--to") {
            const std::string& Name = Args[++i];
            Target = FindStateTarget(Name);
            if (!Target) {
                std::fprintf(stderr, "orlik-cli convert: unknown target \"%s\" (%s)\n", Name.c_str(),
                             TargetNames().c_str());
                return UsageError;
            }
        } else if (A == "-o") {
            Out = Args[++i];
        } else if (A.size() > 1 && A[0] == '-') {
            std::fprintf(stderr, "orlik-cli convert: unknown option \"%s\"\n", A.c_str());
            return UsageError;
        } else {
            Files.push_back(A);
        }
    }
    if (!Target || Files.empty()) {
        return UsageError;
    }

    tOutputs Outputs;
    if (!Outputs.Prepare(Out, Files.size()))
        return 1;

    StartCore();
    int Result = 0;
    for (const std::string& Name : Files) {
        SetMessageContext(Name);
        const std::string Dest = Outputs.For(Name, Target->Extension(), "; nothing written");
        if (Dest.empty()) {
            Result = 1;
            continue;
        }
        if (!LoadStateFile(Name, "; nothing written")) {
            Result = 1;
            continue;
        }
        if (!SaveStateAs(*Target, Dest)) {
            Result = 1;
            continue;
        }
        std::printf("%s -> %s\n", Name.c_str(), Dest.c_str());
    }
    SetMessageContext("");
    return Result;
}

tCommandRegistrar Reg({"convert", "convert FILE... --to zst|s9x|ssl|s9xsnp|rastate [-o OUT]",
                       "write savestates in another emulator's format", Convert, Usage});
} // namespace
