// orlik-cli: the core without windows, for scripts and batch work.

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "Commands.h"
#include "app/Model.h"
#include "core/FileIO.h"
#include "app/Loader.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "core/SNES.h"
#include "core/SharedData.h"
#include "sound/SPC.h"

namespace
{
tStderrMessenger CliMessenger;
bool Started = false;

void PrintUsage(FILE* Out)
{
    std::fprintf(Out, "usage: orlik-cli COMMAND [ARGS]\n\ncommands:\n");
    auto Table = CommandTable();
    std::sort(Table.begin(), Table.end(),
              [](const tCommand& A, const tCommand& B) { return std::strcmp(A.Name, B.Name) < 0; });
    for (const tCommand& C : Table)
        std::fprintf(Out, "  %-40s %s\n", C.Usage, C.Summary);
}
} // namespace

std::vector<tCommand>& CommandTable()
{
    static std::vector<tCommand> Table;
    return Table;
}

void StartCore()
{
    if (Started)
        return;
    Started = true;
    FindProgramDir(ExecutableDir());
    SetMessenger(&CliMessenger);
    CreateModelObjects();
    // The tool takes the files it is given: a command that needs a cartridge
    // says so (hdma, --cart). Looking beside each state would print a notice
    // for every state without one, and a found cartridge would put its SRAM
    // into the state's images and so into a conversion.
    Options().CBox_OpenCart = false;
}

void SetMessageContext(const std::string& FileName)
{
    CliMessenger.Context = FileName;
}

void PrintFileError(const std::string& FileName, const std::string& What, tError Error)
{
    if (!What.empty())
        Error.Reason = What + ": " + Error.Reason;
    std::fprintf(stderr, "%s\n", Error.Describe(FileName).c_str());
}

bool CheckReadable(const std::string& FileName)
{
    std::vector<uint8_t> Head;
    tError Error;
    if (ReadFileHead(FileName, 1, Head, Error))
        return true;
    PrintFileError(FileName, "cannot read the file", Error);
    return false;
}

bool LoadSoundFile(const std::string& FileName)
{
    tError Error;
    if (SPC->LoadFromFile(FileName, Error))
        return true;
    Messages().Error(Error.Describe(FileName));
    return false;
}

bool LoadStateFile(const std::string& FileName, const char* Tail)
{
    SetMessageContext(FileName);
    if (DetectFormat(FileName) == FormatNone) {
        std::fprintf(stderr, "%s: %s%s\n", FileName.c_str(), UndetectedReason(FileName).c_str(), Tail);
        return false;
    }
    if (LoadSavestate(FileName))
        return true;
    if (*Tail)
        std::fprintf(stderr, "%s: the state did not load%s\n", FileName.c_str(), Tail);
    return false;
}

int main(int argc, char** argv)
{
    if (argc < 2 || !std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "help")) {
        PrintUsage(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    std::vector<std::string> Args(argv + 2, argv + argc);
    for (const tCommand& C : CommandTable())
        if (!std::strcmp(C.Name, argv[1])) {
            try {
                return C.Run(Args);
            } catch (const std::exception& E) {
                std::fprintf(stderr, "orlik-cli: %s\n", E.what());
                return 1;
            }
        }
    std::fprintf(stderr, "orlik-cli: unknown command \"%s\"\n\n", argv[1]);
    PrintUsage(stderr);
    return 2;
}
