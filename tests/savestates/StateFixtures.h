#pragma once
// Helpers shared by the savestate format tests.

#include <algorithm>
#include <filesystem>

#include "TestSupport.h"

// The error texts shown so far (notices such as a missing cartridge aside).
inline std::vector<std::string> Errors(const tRecordingMessenger& R)
{
    std::vector<std::string> Out;
    for (const auto& M : R.Log)
        if (M.Kind == "error")
            Out.push_back(M.Text);
    return Out;
}

// The fixture files in Sub with the extension Ext, sorted.
inline std::vector<std::string> FixtureFiles(const std::string& Sub, const std::string& Ext)
{
    std::vector<std::string> Files;
    const std::string Dir = FixturePath(Sub);
    if (Dir.empty() || !std::filesystem::is_directory(Dir))
        return Files;
    for (const auto& E : std::filesystem::directory_iterator(Dir))
        if (E.path().extension() == Ext)
            Files.push_back(E.path().string());
    std::sort(Files.begin(), Files.end());
    return Files;
}

// The registers the own format stores, at their bus addresses.
inline bool SSLStored(uint32_t A)
{
    return (A >= 0x2100 && A <= 0x2103) || (A >= 0x2105 && A <= 0x210C) || (A >= 0x2115 && A <= 0x2117) ||
           A == 0x211A || A == 0x2121 || (A >= 0x2123 && A <= 0x2131) || (A >= 0x2133 && A <= 0x2136) ||
           (A >= 0x213E && A <= 0x2143) || (A >= 0x2181 && A <= 0x2183) || (A >= 0x4200 && A <= 0x4209) ||
           (A >= 0x420B && A <= 0x420D) || (A >= 0x4210 && A <= 0x421F) || (A >= 0x4300 && A <= 0x437F);
}
