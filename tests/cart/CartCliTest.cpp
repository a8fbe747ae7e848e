#include "cli/CliRun.h"

#include "cart/CartTestROM.h"

namespace
{

bool Has(const std::string& Out, const std::string& Label, const std::string& Value)
{
    const size_t At = Out.find(Label);
    return At != std::string::npos && Out.find(Value, At) == Out.find_first_not_of(' ', At + Label.size());
}

TEST(CartCli, ReportsHeaderMapModeCopierHeaderPatchAndSRAM)
{
    const std::string Dir = TempDir();
    auto ROM = MakeTestROM(1 << 20, tMapMode::HiROM, "CLI HIROM");
    std::vector<uint8_t> File(512, 0);
    File.insert(File.end(), ROM.begin(), ROM.end());
    WriteBytes(Dir + "/g.smc", File);
    WriteBytes(Dir + "/g.srm", std::vector<uint8_t>(8192, 0));

    const tCliRun R = RunCli("cart " + Dir + "/g.smc");
    EXPECT_EQ(R.Exit, 0) << R.Err;
    std::string Out = R.Out;
    EXPECT_TRUE(Has(Out, "map mode:", "HiROM (header at 00FFB0h)")) << Out;
    EXPECT_TRUE(Has(Out, "checksum matches:", "yes")) << Out;
    EXPECT_TRUE(Has(Out, "copier header:", "512 bytes")) << Out;
    EXPECT_TRUE(Has(Out, "IPS patch:", "none applied")) << Out;
    EXPECT_TRUE(Has(Out, "SRAM:", "8192 bytes")) << Out;

    // A patch that breaks the checksum pair: the search falls back to LoROM.
    WriteBytes(Dir + "/g.ips", {'P', 'A', 'T', 'C', 'H', 0x00, 0xFF, 0xDC, 0x00, 0x01, 0x00, 'E', 'O', 'F'});
    Out = RunCli("cart " + Dir + "/g.smc").Out;
    EXPECT_TRUE(Has(Out, "IPS patch:", "applied from")) << Out;
    EXPECT_TRUE(Has(Out, "map mode:", "LoROM")) << Out;
    Out = RunCli("cart --no-ips " + Dir + "/g.smc").Out;
    EXPECT_TRUE(Has(Out, "map mode:", "HiROM")) << Out;
}

} // namespace
