#pragma once
// Runs orlik-cli as a user does and keeps what it printed.

#include <cstdlib>
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
