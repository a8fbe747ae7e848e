#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

#include "app/Model.h"
#include "core/Options.h"
#include "core/SharedData.h"

namespace fs = std::filesystem;

void tModelTest::SetUp()
{
    SetProgramDir(ORLIK_RESOURCE_DIR);
    Options() = tOptions{};
    SetMessenger(&Recorder);
    CreateModelObjects();
}

void tModelTest::TearDown()
{
    FreeModelObjects();
    SetMessenger(nullptr);
}

std::string FixturesDir()
{
    const char* Env = std::getenv("ORLIK_FIXTURES");
    std::string Dir = Env && *Env ? Env : ORLIK_FIXTURES_DEFAULT;
    std::error_code Ec;
    return fs::is_directory(Dir, Ec) ? fs::canonical(Dir, Ec).string() : std::string();
}

std::string FixturePath(const std::string& Sub)
{
    std::string D = FixturesDir();
    return D.empty() ? D : D + "/" + Sub;
}

std::string TempDir()
{
    static int Counter = 0;
    fs::path P =
        fs::temp_directory_path() / ("orlik-test-" + std::to_string(::getpid()) + "-" + std::to_string(++Counter));
    fs::remove_all(P);
    fs::create_directories(P);
    struct tCleanup {
        std::vector<fs::path> Dirs;
        ~tCleanup()
        {
            std::error_code Ec;
            for (auto& D : Dirs)
                fs::remove_all(D, Ec);
        }
    };
    static tCleanup Cleanup;
    Cleanup.Dirs.push_back(P);
    return P.string();
}

std::vector<uint8_t> ReadBytes(const std::string& FileName)
{
    std::ifstream In(FileName, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(In), {});
}

void WriteBytes(const std::string& FileName, const std::vector<uint8_t>& Data)
{
    std::ofstream Out(FileName, std::ios::binary);
    Out.write(reinterpret_cast<const char*>(Data.data()), static_cast<std::streamsize>(Data.size()));
}
