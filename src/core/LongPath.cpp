#include "core/LongPath.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace
{

bool SameTextAscii(const std::string& A, const std::string& B)
{
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
               auto L = [](char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; };
               return L(X) == L(Y);
           });
}

// The entry of Dir whose name matches Name without regard to case; when
// several do (a case-sensitive file system), the first in byte order, so the
// answer does not depend on the order the directory lists them in.
bool FindInParent(const fs::path& Dir, const std::string& Name, bool WantDirectory, std::string& Found)
{
    std::error_code Ec;
    fs::directory_iterator It(Dir.empty() ? fs::path(".") : Dir, Ec);
    if (Ec)
        return false;
    std::vector<std::string> Matches;
    for (; It != fs::directory_iterator(); It.increment(Ec)) {
        if (Ec)
            break;
        std::string Entry = It->path().filename().string();
        if (!SameTextAscii(Entry, Name))
            continue;
        std::error_code E2;
        if (WantDirectory && !It->is_directory(E2))
            continue;
        Matches.push_back(Entry);
    }
    if (Matches.empty())
        return false;
    Found = *std::min_element(Matches.begin(), Matches.end());
    return true;
}

} // namespace

std::string LongPathName(const std::string& Path)
{
    if (Path.empty())
        return Path;
    fs::path In(Path);
    fs::path Out = In.root_path();
    std::vector<fs::path> Parts;
    for (const fs::path& P : In.relative_path())
        Parts.push_back(P);
    bool Lost = false;
    for (size_t i = 0; i < Parts.size(); ++i) {
        std::string Name = Parts[i].string();
        std::error_code Ec;
        bool Last = i + 1 == Parts.size();
        if (Lost || Name.empty() || Name == "." || Name == ".." || fs::exists(Out / Name, Ec)) {
            Out /= Name;
            continue;
        }
        std::string Found;
        if (FindInParent(Out, Name, !Last, Found))
            Out /= Found;
        else {
            Out /= Name;
            Lost = true;
        }
    }
    std::string Result = Out.string();
    // Keep a trailing separator the caller gave (a folder name).
    if (Path.back() == '/' && (Result.empty() || Result.back() != '/'))
        Result += '/';
    return Result;
}
