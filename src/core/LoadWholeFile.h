#pragma once
// The road every whole-file reader takes: read the file (bounded), hand the
// bytes to the format's parser, and tell the user "file: reason" when either
// step fails.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/FileIO.h"
#include "core/Messages.h"

// Parse(std::span<const uint8_t> Data, std::string& Error) -> bool.
template <class tParse>
bool LoadWholeFile(const std::string& FileName, tParse&& Parse)
{
    std::vector<uint8_t> Data;
    std::string Error;
    if (!ReadWholeFile(FileName, Data, Error) || !Parse(std::span<const uint8_t>(Data), Error)) {
        Messages().Error(FileName + ": " + Error);
        return false;
    }
    return true;
}
