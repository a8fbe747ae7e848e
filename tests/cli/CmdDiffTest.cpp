// orlik-cli diff on a real state: against itself, two saves of it of which
// the second has one WRAM byte and register X changed, and its conversion.

#include <algorithm>

#include "app/Loader.h"
#include "app/SaveState.h"
#include "cli/CliRun.h"
#include "core/Broadcast.h"
#include "core/SNES.h"

class CmdDiffTest : public tModelTest
{
};

TEST_F(CmdDiffTest, ReportsExactlyWhatChanged)
{
    REQUIRE_FIXTURES();
    const std::string F = FixturePath("zsnes/zsnes142_hello.zst"), D = TempDir();
    const tCliRun Same = RunCli("diff " + F + " " + F);
    EXPECT_EQ(Same.Exit, 0) << Same.Err;
    EXPECT_EQ(Same.Out, "");

    ASSERT_TRUE(LoadSavestate(F));
    ASSERT_TRUE(SaveStateAs(FormatZST, D + "/a.zst"));
    SNES->WRAM[0x1234] ^= 0xFF;
    SNES->CPU_X ^= 1;
    Broadcast(nullptr, Note::NewSNES);
    ASSERT_TRUE(SaveStateAs(FormatZST, D + "/b.zst"));
    const tCliRun R = RunCli("diff --json " + D + "/a.zst " + D + "/b.zst");
    EXPECT_EQ(R.Exit, 1) << R.Err;
    ExpectHasAll(R.Out,
                 {"\"name\": \"X\"", "{\"name\": \"WRAM\", \"size\": 131072, \"bytes\": 1, \"ranges\": [[4660, 1]]}"});
    EXPECT_EQ(std::count(R.Out.begin(), R.Out.end(), '{'), 3) << R.Out; // the answer, one row, one memory

    // Converted to Snes9x, a ZSNES state keeps every memory; only rows that one
    // of the formats does not hold differ (ZSNES's line timing, write-only ports).
    ASSERT_EQ(RunCli("convert " + F + " --to s9x -o " + D + "/c.000").Exit, 0);
    const tCliRun C = RunCli("diff --json " + F + " " + D + "/c.000");
    EXPECT_EQ(C.Exit, 1) << C.Err;
    ExpectHasAll(C.Out, {"\"name\": \"cycpl\"", "\"name\": \"WRMPYB\", \"a\": null", "\"memories\": []"});

    EXPECT_EQ(RunCli("diff " + F + " " + D + "/missing.zst").Exit, 2);
}
