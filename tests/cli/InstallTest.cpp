// An installed copy (bin/ and share/orlik/ under a prefix) finds its
// resources: "regs" needs SNES.txt.

#include "cli/CliRun.h"

TEST(InstallTest, InstalledToolFindsItsResources)
{
    REQUIRE_FIXTURES();
    const std::string Prefix = TempDir() + "/prefix", Log = TempDir() + "/install.txt";
    const std::string Install =
        std::string(ORLIK_CMAKE) + " --install " ORLIK_BUILD_DIR " --prefix " + Prefix + " >" + Log + " 2>&1";
    ASSERT_EQ(std::system(Install.c_str()), 0) << Install;
    const std::string Regs =
        Prefix + "/bin/orlik-cli regs " + FixturePath("snes9x/m0_helloworld.000") + " --tab ppu >" + Log + " 2>&1";
    EXPECT_EQ(std::system(Regs.c_str()), 0);
    const auto Out = ReadBytes(Log);
    ExpectHasAll(std::string(Out.begin(), Out.end()), {"INIDISP"});
}
