#pragma once
// The chunk files of SNESGT and Super Sleuth: four letters, a 32-bit
// little-endian length, the data; one chunk after the other.

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cart/SNESCart.h"
#include "core/ByteReader.h"
#include "core/FileIO.h"
#include "core/Routines.h"
#include "core/SavestateFormat.h"

using tChunkID = std::array<char, 4>;

constexpr tChunkID ChunkID(const char (&S)[5])
{
    return {S[0], S[1], S[2], S[3]};
}

inline std::string ChunkIDText(const tChunkID& I)
{
    return Quoted(std::string_view(I.data(), I.size()));
}

// The next chunk of R into Id and Body: false at the end of the data, and
// false with Error set when what is left is no whole chunk.
inline bool NextChunk(tByteReader& R, tChunkID& Id, std::span<const uint8_t>& Body, std::string& Error)
{
    if (R.AtEnd())
        return false;
    const size_t At = R.Pos();
    uint32_t Length = 0;
    if (!R.Read(Id.data(), 4) || !R.U32LE(Length)) {
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
inline void FillFromChunk(std::span<uint8_t> Buffer, std::span<const uint8_t> Data)
{
    std::copy_n(Data.begin(), std::min(Buffer.size(), Data.size()), Buffer.begin());
}

// A chunk ID and the buffer its data fills.
using tChunkBuffer = std::pair<tChunkID, std::span<uint8_t>>;

// Reads the chunks from R to its end: those in Buffers into their buffers,
// "SRAM" into SRAM, any other to Other (which may set Error); with SkipEmpty
// empty chunks are passed over. Save RAM too large or a chunk Other cannot
// use costs that chunk; one cut short ends the reading. True when Error
// stayed empty.
inline bool ReadChunks(tByteReader& R, std::span<const tChunkBuffer> Buffers, std::vector<uint8_t>& SRAM,
                       const std::function<void(const tChunkID&, std::span<const uint8_t>)>& Other, bool SkipEmpty,
                       std::string& Error)
{
    Error.clear();
    tChunkID Id{};
    std::span<const uint8_t> Body;
    while (NextChunk(R, Id, Body, Error)) {
        if (SkipEmpty && Body.empty())
            continue;
        const auto To = std::ranges::find(Buffers, Id, &tChunkBuffer::first);
        if (To != Buffers.end())
            FillFromChunk(To->second, Body);
        else if (Id != ChunkID("SRAM"))
            Other(Id, Body);
        else if (Body.size() <= MaxSRAMFileSize)
            SRAM.assign(Body.begin(), Body.end());
        else
            Error = "the \"SRAM\" chunk of " + std::to_string(Body.size()) + " bytes is too large for save RAM";
    }
    return Error.empty();
}

// A whole chunk file through Parse into a new image; its save RAM goes along.
template <class tImage>
bool ParseChunkFile(const std::string& FileName, tSNES& S, tParsedFile& Out, tError& Error,
                    bool (*Parse)(std::span<const uint8_t>, tSNES&, tImage&, std::string&))
{
    std::vector<uint8_t> Data;
    if (!ReadWholeFile(FileName, Data, Error))
        return false;
    std::string Why;
    auto Image = std::make_unique<tImage>();
    const bool Ok = Parse(Data, S, *Image, Why);
    if (!Ok)
        Error = tError(Why);
    Out.SRAM = Image->SRAMStream;
    Out.Image = std::move(Image);
    return Ok;
}
