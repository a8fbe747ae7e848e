// orlik-cli render as a user runs it.

#include "TestSupport.h"

#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

#include "core/PictureFiles.h"

namespace {

struct tRun {
    int Exit = -1;
    std::string Err;
};

tRun RunCli(const std::string& Args)
{
    const std::string ErrFile = TempDir() + "/stderr.txt";
    const std::string Command = std::string(ORLIK_CLI) + " " + Args + " 2>" + ErrFile + " >/dev/null";
    tRun R;
    const int Status = std::system(Command.c_str());
    R.Exit = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
    const auto Bytes = ReadBytes(ErrFile);
    R.Err.assign(Bytes.begin(), Bytes.end());
    return R;
}

TEST(CmdRenderTest, BadArgumentsShowUsage)
{
    EXPECT_EQ(RunCli("render").Exit, 2);
    EXPECT_EQ(RunCli("render a.000").Exit, 2); // no -o
    const tRun R = RunCli("render a.000 -o x.png --view bg7");
    EXPECT_EQ(R.Exit, 2);
    EXPECT_NE(R.Err.find("unknown view"), std::string::npos);
    EXPECT_EQ(RunCli("render a.000 -o x.png --transparency #12345").Exit, 2);
    EXPECT_EQ(RunCli("render a.000 -o x.png --priority 2").Exit, 2);
}

TEST(CmdRenderTest, UnreadableAndUnknownFilesAreNamedAndTheOthersGoOn)
{
    const std::string Dir = TempDir();
    WriteBytes(Dir + "/notes.txt", {'h', 'i'});
    const tRun R = RunCli("render " + Dir + "/missing.000 " + Dir + "/notes.txt -o " + Dir + "/out");
    EXPECT_EQ(R.Exit, 1);
    EXPECT_NE(R.Err.find(Dir + "/missing.000: cannot read the file"), std::string::npos) << R.Err;
    EXPECT_NE(R.Err.find(Dir + "/notes.txt: not a savestate"), std::string::npos) << R.Err;
    EXPECT_TRUE(std::filesystem::is_directory(Dir + "/out"));
}

} // namespace
