#include "core/SharedData.h"

#include <filesystem>
#include <system_error>

std::string ProgramDir;
bool ProgramInstalled = false;
bool StartupDone = false;
bool QuitConfirmed = false;

namespace
{
constexpr std::array<std::array<char, 3>, 256> MakeHexByteText()
{
    std::array<std::array<char, 3>, 256> T{};
    constexpr char Digits[] = "0123456789ABCDEF";
    for (int i = 0; i < 256; ++i)
        T[i] = {Digits[i >> 4], Digits[i & 15], '\0'};
    return T;
}
} // namespace

const std::array<std::array<char, 3>, 256> HexByteText = MakeHexByteText();

void SetProgramDir(const std::string& Dir, bool Installed)
{
    ProgramInstalled = Installed;
    ProgramDir = Dir;
    if (!ProgramDir.empty() && ProgramDir.back() != '/')
        ProgramDir += '/';
}

std::string ExecutableDir()
{
    std::error_code Ec;
    auto P = std::filesystem::read_symlink("/proc/self/exe", Ec);
    if (Ec)
        return "./";
    std::string D = P.parent_path().string();
    if (D.empty() || D.back() != '/')
        D += '/';
    return D;
}

void FindProgramDir(const std::string& ExeDir)
{
    std::error_code Ec;
    std::string Dir = ExeDir.empty() || ExeDir.back() == '/' ? ExeDir : ExeDir + '/';
    if (std::filesystem::is_regular_file(Dir + "SNES.txt", Ec)) {
        SetProgramDir(Dir);
        return;
    }
    std::string Shared = Dir + "../share/orlik/";
    if (std::filesystem::is_regular_file(Shared + "SNES.txt", Ec)) {
        auto Clean = std::filesystem::weakly_canonical(Shared, Ec);
        SetProgramDir(Ec ? Shared : Clean.string(), true);
        return;
    }
    SetProgramDir(Dir);
}
