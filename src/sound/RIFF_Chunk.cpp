#include "sound/RIFF_Chunk.h"

bool tRIFF_Chunk::ReadFrom(tByteReader& Stream)
{
    const size_t Start = Stream.Pos();
    uint32_t Size = 0;
    std::array<char, 4> ID{};
    if (!Stream.Read(ID.data(), ID.size()) || !Stream.U32LE(Size) || Size > Stream.Remaining()) {
        Stream.Seek(Start);
        return false;
    }
    ChunkID = ID;
    ChunkSize = Size;
    std::span<const uint8_t> Body;
    Stream.Take(Size, Body);
    Data.assign(Body.begin(), Body.end());
    // RIFF pads odd bodies to an even length; the pad byte may be missing
    // at the very end of a file.
    if (Size % 2)
        Stream.Skip(1);
    return true;
}

void tRIFF_Chunk::WriteTo(std::vector<uint8_t>& Out) const
{
    Out.insert(Out.end(), ChunkID.begin(), ChunkID.end());
    for (int i = 0; i < 4; ++i)
        Out.push_back(static_cast<uint8_t>(ChunkSize >> (8 * i)));
    Out.insert(Out.end(), Data.begin(), Data.end());
}
