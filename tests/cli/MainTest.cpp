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
