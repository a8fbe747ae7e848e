#pragma once
// Cartridges packed in zip archives: only the first entry is read, whatever
// its name.

#include <cstdint>
#include <string>
#include <vector>

#include "core/Error.h"

// Reads the first entry of the archive. Refuses (before allocating) an entry
// whose declared size exceeds Limit, and stops reading one whose real data
// runs past it. On failure Data is empty and Error holds the reason.
bool ReadFirstZipEntry(const std::string& FileName, std::vector<uint8_t>& Data, tError& Error, uint64_t Limit);
