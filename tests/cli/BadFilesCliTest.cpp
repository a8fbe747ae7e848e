// Every command that takes files, fed a folder of bad ones beside a good one:
// each bad file is named with a reason, the good file is still done, the
// exit status says something failed, and nothing hangs or crashes.

#include "cli/CliRun.h"

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include "cart/CartTestROM.h"

namespace fs = std::filesystem;

namespace
{

// A command that waits on a named pipe must not hold the tests: it gets a
// minute, then counts as hung (exit 124).
tCliRun RunBounded(const std::string& Args)
{
    return RunCli(Args, "timeout 60 ");
}

std::vector<uint8_t> Noise(size_t Size, uint32_t Seed)
{
    std::vector<uint8_t> B(Size);
    for (uint8_t& X : B) {
        Seed = Seed * 1103515245 + 12345;
        X = static_cast<uint8_t>(Seed >> 16);
    }
    return B;
}

std::vector<uint8_t> Cut(std::vector<uint8_t> Data, size_t Size)
{
    Data.resize(Size);
    return Data;
}

class tBadFolder
{
  public:
    std::string Dir = TempDir();
    std::vector<std::string> States, Carts, Movies;

    tBadFolder()
    {
        const std::vector<uint8_t> State = ReadBytes(DemoState);
        // A Snes9x copy of the demo, to cut short as a damaged one.
        const tCliRun C = RunCli("convert " + DemoState + " --to s9x -o " + Dir + "/demo.000");
        EXPECT_EQ(C.Exit, 0) << C.Err;
        const std::vector<uint8_t> S9X = ReadBytes(Dir + "/demo.000");
        fs::remove(Dir + "/demo.000");
        const std::vector<uint8_t> ROM = MakeTestROM(65536, tMapMode::LoROM);

        States = {Put("empty.zst", {}),
                  Put("truncated.zst", Cut(State, State.size() / 2)),
                  Put("truncated.000", Cut(S9X, S9X.size() - 1)),
                  Put("noise.000", Noise(5000, 1)),
                  Put("noise.s01", Noise(5000, 2)),
                  Put("noise.sv1", Noise(300, 3)),
                  Folder("folder.zst"),
                  Huge("huge.zst"),
                  Pipe("pipe.zst"),
                  Dir + "/missing.zst"};
        Carts = {Put("empty.smc", {}),
                 Put("noise.sfc", Noise(1000, 4)),
                 Put("noise.zip", Noise(1000, 5)),
                 Folder("folder.smc"),
                 Huge("huge.smc"),
                 Pipe("pipe.zip"),
                 Pipe("pipe.smc")};
        Movies = {Put("empty.smv", {}), Put("noise.smv", Noise(200, 6)), Folder("folder.smv"), Huge("huge.smv"),
                  Pipe("pipe.smv")};
        // Only an ordinary user is kept out by the permission bits.
        if (::geteuid() != 0) {
            States.push_back(Put("unreadable.zst", State));
            ::chmod(States.back().c_str(), 0);
        }
        WriteBytes(Dir + "/good.sfc", ROM);
        WriteBytes(Dir + "/good.zst", State);
    }

    static std::string List(const std::vector<std::string>& Files)
    {
        std::string L;
        for (const std::string& F : Files)
            L += " " + F;
        return L;
    }

  private:
    std::string Put(const std::string& Name, const std::vector<uint8_t>& Data)
    {
        WriteBytes(Dir + "/" + Name, Data);
        return Dir + "/" + Name;
    }
    std::string Folder(const std::string& Name)
    {
        fs::create_directory(Dir + "/" + Name);
        return Dir + "/" + Name;
    }
    // Sparse: past the 64 MiB bound without taking the disk.
    std::string Huge(const std::string& Name)
    {
        Put(Name, {});
        fs::resize_file(Dir + "/" + Name, (64u << 20) + 1);
        return Dir + "/" + Name;
    }
    std::string Pipe(const std::string& Name)
    {
        ::mkfifo((Dir + "/" + Name).c_str(), 0644);
        return Dir + "/" + Name;
    }
};

// Each bad file named at the start of a line of the errors, with a reason.
void ExpectEachNamed(const tCliRun& R, const std::vector<std::string>& Bad)
{
    EXPECT_EQ(R.Exit, 1) << R.Err;
    for (const std::string& F : Bad) {
        const size_t At = R.Err.find(F + ": ");
        ASSERT_NE(At, std::string::npos) << F << " not named in:\n" << R.Err;
        EXPECT_TRUE(At == 0 || R.Err[At - 1] == '\n') << R.Err;
        const size_t End = R.Err.find('\n', At);
        EXPECT_GT(End - At, F.size() + 8) << "no reason for " << F;
    }
}
} // namespace

TEST(BadFilesCliTest, CommandsOverManyFilesNameEachBadOneAndGoOn)
{
    tBadFolder B;
    const std::string States = tBadFolder::List(B.States) + " " + B.Dir + "/good.zst";
    const struct {
        std::string Args;
        std::string Done; // in the output (or the file written) when the good file was done
    } Runs[] = {
        {"detect" + States, "good.zst\tZST"},
        {"info" + States, "file:            " + B.Dir + "/good.zst"},
        {"convert" + States + " --to s9x -o " + B.Dir + "/converted/", "good.zst -> "},
        {"render" + States + " -o " + B.Dir + "/pictures/", B.Dir + "/pictures/good.zst.png"},
        {"spc" + States + " -o " + B.Dir + "/sound/", "good.zst -> "},
        {"palette" + States + " -o " + B.Dir + "/palettes/", "good.zst -> "},
    };
    for (const auto& Run : Runs) {
        SCOPED_TRACE(Run.Args.substr(0, Run.Args.find(' ')));
        const tCliRun R = RunBounded(Run.Args);
        ExpectEachNamed(R, B.States);
        EXPECT_TRUE(R.Out.find(Run.Done) != std::string::npos || fs::exists(Run.Done)) << R.Out;
    }
    // A damaged state after a good one is not given the good one's format.
    const tCliRun D = RunBounded("detect " + B.Dir + "/good.zst " + B.States[1]);
    EXPECT_EQ(D.Exit, 1);
    EXPECT_NE(D.Out.find(B.States[1] + "\tundefined"), std::string::npos) << D.Out;
    const tCliRun R = RunBounded("cart" + tBadFolder::List(B.Carts) + " " + B.Dir + "/good.sfc");
    ExpectEachNamed(R, B.Carts);
    EXPECT_NE(R.Out.find("ORLIK TEST"), std::string::npos) << R.Out;
}

TEST(BadFilesCliTest, CommandsOverOneFileNameIt)
{
    tBadFolder B;
    for (const std::string& F : B.States)
        for (const char* Command : {"regs ", "hdma "}) {
            SCOPED_TRACE(Command + F);
            ExpectEachNamed(RunBounded(Command + F), {F});
        }
    for (const std::string& F : B.Movies) {
        SCOPED_TRACE(F);
        ExpectEachNamed(RunBounded("smv " + F), {F});
    }
    // The thumbnailer names a bad state and leaves no picture behind.
    for (const std::string& F : B.States) {
        SCOPED_TRACE(F);
        ExpectEachNamed(RunBounded("thumbnail " + F + " " + B.Dir + "/thumb.png 128"), {F});
        EXPECT_FALSE(fs::exists(B.Dir + "/thumb.png"));
    }
    // A bad palette is named and nothing is written.
    const std::string Out = B.Dir + "/out.zst";
    const struct {
        std::string File;
        const char* Format;
    } Palettes[] = {{B.States[0], "snes"},
                    {B.States[3], "jasc"},
                    {B.States[6], "raw5"},
                    {B.States[7], "snes"},
                    {B.States[8], "raw8"}};
    for (const auto& P : Palettes) {
        SCOPED_TRACE(P.File);
        ExpectEachNamed(
            RunBounded("palette " + DemoState + " --import " + P.File + " --format " + P.Format + " -o " + Out),
            {P.File});
        EXPECT_FALSE(fs::exists(Out));
    }
}
