#pragma once
// A RIFF-style chunk: 4-character ID, u32 body size, body. The extended tag
// block of an SPC file is one such chunk ("xid6").

#include <array>
#include <cstdint>
#include <vector>

#include "core/ByteReader.h"

class tRIFF_Chunk
{
  public:
    std::array<char, 4> ChunkID{};
    uint32_t ChunkSize = 0;
    std::vector<uint8_t> Data; // the body

    // Reads header and body at the cursor. False, with the cursor where it
    // was, when the header or the whole body is not there. An odd body is
    // followed by a RIFF pad byte, which is skipped when present.
    bool ReadFrom(tByteReader& Stream);
    // Appends header and body; no pad byte is written.
    void WriteTo(std::vector<uint8_t>& Out) const;
};
