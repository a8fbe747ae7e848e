#pragma once
// Runs orlik-cli as a user does and keeps what it printed.

#include <cstdlib>
#include <initializer_list>
#include <string>
#include <sys/wait.h>

#include "TestSupport.h"

// The bundled demo savestate.
inline const std::string DemoState = ORLIK_SOURCE_DIR "/resources/demo/demo.zst";

struct tCliRun {
    int Exit = -1;
    std::string Out, Err;
};

// Prefix goes before the tool, e.g. "timeout 60 ".
inline tCliRun RunCli(const std::string& Args, const std::string& Prefix = "")
{
    const std::string Dir = TempDir();
    const std::string Command =
        Prefix + std::string(ORLIK_CLI) + " " + Args + " 2>" + Dir + "/err.txt >" + Dir + "/out.txt";
    tCliRun R;
    const int Status = std::system(Command.c_str());
    R.Exit = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
    const auto E = ReadBytes(Dir + "/err.txt"), O = ReadBytes(Dir + "/out.txt");
    R.Err.assign(E.begin(), E.end());
    R.Out.assign(O.begin(), O.end());
    return R;
}

// Each part is somewhere in Text; a missing one is reported with the text.
inline void ExpectHasAll(const std::string& Text, std::initializer_list<std::string> Parts)
{
    for (const std::string& P : Parts)
        EXPECT_NE(Text.find(P), std::string::npos) << "no \"" << P << "\" in:\n" << Text;
}

// One run of the tool and what it must answer. "$D" in the arguments stands
// for a fresh folder; Text is looked for in what went to stderr and stdout.
struct tCliCase {
    std::string Args;
    int Exit;
    std::string Text;
};

inline void ExpectRuns(std::initializer_list<tCliCase> Cases)
{
    const std::string Dir = TempDir();
    for (const tCliCase& C : Cases) {
        std::string Args = C.Args;
        for (size_t At; (At = Args.find("$D")) != std::string::npos;)
            Args.replace(At, 2, Dir);
        SCOPED_TRACE(Args);
        const tCliRun R = RunCli(Args);
        EXPECT_EQ(R.Exit, C.Exit) << R.Err;
        EXPECT_NE((R.Err + R.Out).find(C.Text), std::string::npos) << R.Err << R.Out;
    }
}
