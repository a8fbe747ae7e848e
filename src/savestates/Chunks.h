#pragma once
// The chunk files of SNESGT and Super Sleuth: four letters, a 32-bit
// little-endian length, the data; one chunk after the other.

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/ByteReader.h"
#include "core/Routines.h"

using tChunkID = std::array<char, 4>;

constexpr tChunkID ChunkID(const char (&S)[5])
{
    return {S[0], S[1], S[2], S[3]};
}

inline std::string ChunkIDText(const tChunkID& I)
{
    return Quoted(std::string_view(I.data(), I.size()));
}

inline bool ReadChunkHeader(tByteReader& R, tChunkID& Id, uint32_t& Length)
{
    return R.Read(Id.data(), 4) && R.U32LE(Length);
}

// The next chunk of R into Id and Body: false at the end of the data, and
// false with Error set when what is left is no whole chunk.
inline bool NextChunk(tByteReader& R, tChunkID& Id, std::span<const uint8_t>& Body, std::string& Error)
{
    if (R.AtEnd())
        return false;
    const size_t At = R.Pos();
    uint32_t Length = 0;
    if (!ReadChunkHeader(R, Id, Length)) {
        Error = "truncated: " + std::to_string(R.Pos() - At + R.Remaining()) + " stray bytes at offset " +
                std::to_string(At);
        return false;
    }
    if (!R.Take(Length, Body)) {
        Error = "truncated: chunk " + ChunkIDText(Id) + " at offset " + std::to_string(At) + " claims " +
                std::to_string(Length) + " bytes, only " + std::to_string(R.Remaining()) + " remain";
        return false;
    }
    return true;
}

// A chunk shorter than its buffer fills the front; a longer one is cut.
template <size_t N> void FillFromChunk(std::array<uint8_t, N>& Buffer, std::span<const uint8_t> Data)
{
    std::copy_n(Data.begin(), std::min(N, Data.size()), Buffer.begin());
}
