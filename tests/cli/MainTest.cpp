// What orlik-cli answers to arguments it cannot act on, and to files that do
// not exist: the exit status (2 for usage, 1 for a file that failed) and the
// line that says why. Bad file contents are in BadFilesCliTest.

#include "cli/CliRun.h"

TEST(CliMainTest, BadArgumentsAndMissingFilesAreAnsweredWithStatusAndReason)
{
    ExpectRuns({
        {"$D/file.zst", 2, "usage: orlik-cli COMMAND"}, // no command
        {"regs", 2, "usage: orlik-cli regs"},
        {"regs a.zst --tab gpu", 2, "unknown tab"},
        {"render", 2, "usage: orlik-cli render"},
        {"render a.000", 2, "usage: orlik-cli render"}, // no -o
        {"render a.000 -o x.png --view bg7", 2, "unknown view"},
        {"render a.000 -o x.png --transparency '#12345'", 2, ""},
        {"render a.000 -o x.png --priority 2", 2, ""},
        {"spc $D/a.s01", 2, "usage: orlik-cli spc"}, // no -o
        {"spc a.s01 -o b.spc --length 1000", 2, "--length wants a whole number from 0 to 999"},
        {"convert " + DemoState + " --to snes", 2, "zst|s9x"},
        // Without -o an import would have to write over the state.
        {"palette " + DemoState + " --import " + DemoState, 2, "usage: orlik-cli palette"},
        {"cart $D/missing.sfc", 1, "missing.sfc: "},
        {"info --cart $D/none.sfc " + DemoState, 1, "none.sfc"},
    });
}

TEST(CliMainTest, HelpAndVersionGoToStdoutForTheToolAndEveryCommand)
{
    const tCliRun List = RunCli("--help"), Version = RunCli("--version");
    EXPECT_EQ(List.Exit, 0);
    EXPECT_EQ(Version.Exit, 0);
    EXPECT_EQ(Version.Out.rfind("orlik-cli 2.", 0), 0u) << Version.Out;
    std::vector<std::string> Commands;
    for (size_t At = List.Out.find("\n  ", List.Out.find("commands:")); At != std::string::npos;
         At = List.Out.find("\n  ", At + 1))
        Commands.push_back(List.Out.substr(At + 3, List.Out.find(' ', At + 3) - At - 3));
    EXPECT_GE(Commands.size(), 11u) << List.Out;
    for (const std::string& C : Commands)
        for (const char* Flag : {" --help", " -h", " x --help"}) {
            const tCliRun R = RunCli(C + Flag);
            EXPECT_EQ(R.Exit, 0) << C << Flag;
            EXPECT_NE(R.Out.find("usage: orlik-cli " + C), std::string::npos) << C << Flag << R.Out;
        }
    // The bash completion takes a command's options from its --help.
    const std::string Got = TempDir() + "/words.txt";
    const std::string Bash = "bash -c 'source " ORLIK_SOURCE_DIR "/data/orlik-cli.bash; COMP_WORDS=(" ORLIK_CLI
                             " render --s); COMP_CWORD=2; _orlik_cli; echo ${COMPREPLY[@]}' >" +
                             Got;
    ASSERT_EQ(std::system(Bash.c_str()), 0);
    const auto Words = ReadBytes(Got);
    EXPECT_EQ(std::string(Words.begin(), Words.end()), "--scale512 --soft-blur --sub\n");
    const tCliRun Bad = RunCli("detect");
    EXPECT_EQ(Bad.Exit, 2);
    EXPECT_EQ(Bad.Out, "");
    EXPECT_EQ(Bad.Err, "usage: orlik-cli detect FILE...\n");
}
