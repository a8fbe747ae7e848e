// orlik-cli: the core without windows, for scripts and batch work.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include <malloc.h>

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
    std::fprintf(Out, "usage: orlik-cli COMMAND [ARGS]\n"
                      "       orlik-cli COMMAND --help       (or -h) the command's usage\n"
                      "       orlik-cli --version\n\ncommands:\n");
    auto Table = CommandTable();
    std::sort(Table.begin(), Table.end(),
              [](const tCommand& A, const tCommand& B) { return std::strcmp(A.Name, B.Name) < 0; });
    for (const tCommand& C : Table)
        std::fprintf(Out, "  %-40s %s\n", C.Usage, C.Summary);
}

void PrintCommandUsage(const tCommand& C, FILE* Out)
{
    if (C.Help)
        std::fputs(C.Help, Out);
    else
        std::fprintf(Out, "usage: orlik-cli %s\n", C.Usage);
}

const tCommand* FindCommand(const char* Name)
{
    for (const tCommand& C : CommandTable())
        if (!std::strcmp(C.Name, Name))
            return &C;
    return nullptr;
}

bool IsHelp(const std::string& Arg)
{
    return Arg == "--help" || Arg == "-h";
}
} // namespace

std::vector<tCommand>& CommandTable()
{
    static std::vector<tCommand> Table;
    return Table;
}

void StartCore(uint32_t Parts)
{
    if (!Started) {
        Started = true;
        FindProgramDir(ExecutableDir());
        SetMessenger(&CliMessenger);
    }
    CreateModelObjects(Parts);
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
    // A file no reader takes fails without an error: the tool says why.
    tError Error;
    if (LoadSavestate(FileName, &Error))
        return true;
    if (Error.Empty()) {
        std::fprintf(stderr, "%s: %s%s\n", FileName.c_str(), UndetectedReason(FileName).c_str(), Tail);
        return false;
    }
    if (*Tail)
        std::fprintf(stderr, "%s: the state did not load%s\n", FileName.c_str(), Tail);
    return false;
}

int main(int argc, char** argv)
{
#ifdef M_MMAP_THRESHOLD
    // A run lasts one command: large blocks (a file, its unpacked content,
    // the images) come from the heap and go back to it, so that the next one
    // takes pages already in use instead of new ones from the system.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    const std::string First = argv[1];
    if (First == "--version") {
        std::printf("orlik-cli %s\n", ORLIK_VERSION);
        return 0;
    }
    // "help" alone lists the commands; "help COMMAND" is COMMAND --help.
    const bool HelpCommand = First == "help" && argc > 2;
    if (IsHelp(First) || (First == "help" && !HelpCommand)) {
        PrintUsage(stdout);
        return 0;
    }
    const tCommand* C = FindCommand(HelpCommand ? argv[2] : argv[1]);
    if (!C) {
        std::fprintf(stderr, "orlik-cli: unknown command \"%s\"\n\n", HelpCommand ? argv[2] : argv[1]);
        PrintUsage(stderr);
        return 2;
    }
    std::vector<std::string> Args(argv + 2, argv + argc);
    if (HelpCommand || std::any_of(Args.begin(), Args.end(), IsHelp)) {
        std::printf("orlik-cli %s: %s\n\n", C->Name, C->Summary);
        PrintCommandUsage(*C, stdout);
        return 0;
    }
    try {
        const int Result = C->Run(Args);
        if (Result != UsageError)
            return Result;
        PrintCommandUsage(*C, stderr);
        return 2;
    } catch (const std::exception& E) {
        std::fprintf(stderr, "orlik-cli: %s\n", E.what());
        return 1;
    }
}
