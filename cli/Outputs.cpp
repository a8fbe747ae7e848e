#include "Outputs.h"

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

bool tOutputs::Prepare(const std::string& Out, size_t Inputs)
{
    Out_ = Out;
    std::error_code Ec;
    Folder_ = !Out.empty() && (Inputs > 1 || fs::is_directory(Out, Ec) || Out.back() == '/');
    if (Folder_ && !fs::is_directory(Out, Ec) && !fs::create_directories(Out, Ec)) {
        std::fprintf(stderr, "%s: cannot create the output folder: %s\n", Out.c_str(), Ec.message().c_str());
        return false;
    }
    return true;
}

std::string tOutputs::For(const std::string& Input, const std::string& Extension, const char* Tail) const
{
    const fs::path Dest = Out_.empty() ? fs::path(Input).replace_extension(Extension)
                          : Folder_    ? fs::path(Out_) / fs::path(Input).filename().replace_extension(Extension)
                                       : fs::path(Out_);
    std::error_code Ec;
    if (fs::equivalent(Dest, Input, Ec)) {
        std::fprintf(stderr, "%s: the output would replace the file itself%s\n", Input.c_str(), Tail);
        return {};
    }
    return Dest.string();
}
