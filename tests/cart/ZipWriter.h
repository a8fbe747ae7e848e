#pragma once
// Builds zip archives for the tests through minizip's writer.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <zip.h>

inline bool WriteZip(const std::string& Path, const std::vector<std::pair<std::string, std::vector<uint8_t>>>& Entries)
{
    zipFile Z = zipOpen64(Path.c_str(), APPEND_STATUS_CREATE);
    if (!Z)
        return false;
    bool Ok = true;
    for (const auto& [Name, Data] : Entries) {
        zip_fileinfo Info{};
        Ok = Ok && zipOpenNewFileInZip64(Z, Name.c_str(), &Info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                         Z_DEFAULT_COMPRESSION, Data.size() >= 0xFFFFFFFFull) == ZIP_OK;
        Ok = Ok && zipWriteInFileInZip(Z, Data.data(), static_cast<unsigned>(Data.size())) == ZIP_OK;
        Ok = Ok && zipCloseFileInZip(Z) == ZIP_OK;
    }
    return zipClose(Z, nullptr) == ZIP_OK && Ok;
}
