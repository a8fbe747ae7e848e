#include "savestates/RAState.h"

#include <algorithm>
#include <cstring>

#include <zlib.h>

#include "core/LittleEndian.h"

namespace
{
constexpr uint8_t RZipMagic[8] = {'#', 'R', 'Z', 'I', 'P', 'v', 1, '#'};
constexpr size_t RZipHeaderSize = 20;
constexpr uint8_t RAStateMagic[8] = {'R', 'A', 'S', 'T', 'A', 'T', 'E', 1};

// Inflates one zlib stream into Out (at most OutSize bytes); the count made in Made.
bool InflateChunk(std::span<const uint8_t> In, uint8_t* Out, size_t OutSize, size_t& Made, bool Partial)
{
    z_stream Z{};
    if (inflateInit(&Z) != Z_OK)
        return false;
    Z.next_in = const_cast<Bytef*>(In.data());
    Z.avail_in = static_cast<uInt>(In.size());
    Z.next_out = Out;
    Z.avail_out = static_cast<uInt>(OutSize);
    const int R = inflate(&Z, Z_FINISH);
    Made = OutSize - Z.avail_out;
    inflateEnd(&Z);
    return R == Z_STREAM_END || (Partial && (R == Z_OK || R == Z_BUF_ERROR) && Made > 0);
}
} // namespace

bool IsRZipData(std::span<const uint8_t> Data)
{
    return Data.size() >= sizeof RZipMagic && !std::memcmp(Data.data(), RZipMagic, sizeof RZipMagic);
}

bool IsRAStateData(std::span<const uint8_t> Data)
{
    return Data.size() >= sizeof RAStateMagic && !std::memcmp(Data.data(), RAStateMagic, sizeof RAStateMagic);
}

bool UnpackRZip(std::span<const uint8_t> Data, tInflated& Out, std::string& Error, size_t Limit)
{
    if (!IsRZipData(Data) || Data.size() < RZipHeaderSize) {
        Error = "the rzip header is cut short";
        return false;
    }
    const uint32_t ChunkSize = ReadLE<4>(&Data[8]);
    const uint64_t Total = ReadLE<4>(&Data[12]) | static_cast<uint64_t>(ReadLE<4>(&Data[16])) << 32;
    if (Total > Limit || ChunkSize == 0 || ChunkSize > Limit) {
        Error = "the rzip header claims " + std::to_string(Total) + " bytes in chunks of " + std::to_string(ChunkSize) +
                " (at most " + std::to_string(Limit) + " are read)";
        return false;
    }
    // Each chunk inflates into its place; every byte is written before the
    // content is used, so the room is not cleared first.
    Out.Resize(static_cast<size_t>(Total), 0);
    size_t Pos = RZipHeaderSize, Done = 0;
    while (Done < Out.Size) {
        if (Data.size() - Pos < 4 || ReadLE<4>(&Data[Pos]) > Data.size() - Pos - 4) {
            Error = "rzip chunk " + std::to_string(Done / ChunkSize) + " is cut short";
            Out.Size = 0;
            return false;
        }
        const uint32_t Length = ReadLE<4>(&Data[Pos]);
        size_t Made = 0;
        const size_t Room = std::min<size_t>(ChunkSize, Out.Size - Done);
        if (!InflateZlib(Data.subspan(Pos + 4, Length), {Out.Bytes.get() + Done, Room}, Made) || Made == 0) {
            Error = "rzip chunk " + std::to_string(Done / ChunkSize) + " is damaged";
            Out.Size = 0;
            return false;
        }
        Pos += 4 + Length;
        Done += Made;
    }
    return true;
}

bool RZipHead(std::span<const uint8_t> Data, size_t Count, tInflated& Head)
{
    Head.Size = 0;
    if (!IsRZipData(Data) || Data.size() < RZipHeaderSize + 4)
        return false;
    const size_t Length = std::min<size_t>(ReadLE<4>(&Data[RZipHeaderSize]), Data.size() - RZipHeaderSize - 4);
    Head.Resize(Count, 0);
    size_t Made = 0;
    const bool Ok = InflateChunk(Data.subspan(RZipHeaderSize + 4, Length), Head.Bytes.get(), Count, Made, true);
    Head.Size = Made;
    return Ok;
}

bool RAStateMemory(std::span<const uint8_t> Data, std::span<const uint8_t>& Mem, std::string& Error, bool Head)
{
    size_t Pos = sizeof RAStateMagic;
    while (Data.size() - Pos >= 8) {
        const std::string Id(reinterpret_cast<const char*>(&Data[Pos]), 4);
        uint32_t Length = ReadLE<4>(&Data[Pos + 4]);
        if (Head && Id == "MEM ")
            Length = static_cast<uint32_t>(std::min<size_t>(Length, Data.size() - Pos - 8));
        if (Length > Data.size() - Pos - 8) {
            Error = "the RetroArch block \"" + Id + "\" is cut short";
            return false;
        }
        if (Id == "MEM ") {
            Mem = Data.subspan(Pos + 8, Length);
            return true;
        }
        if (Id == "END ")
            break;
        Pos += 8 + ((static_cast<size_t>(Length) + 7) & ~size_t(7));
        if (Pos > Data.size())
            break;
    }
    Error = "the RetroArch container holds no \"MEM \" block";
    return false;
}

bool RetroArchStream(std::span<const uint8_t> Data, std::span<const uint8_t>& Stream, tInflated& Room,
                     std::string& Error, size_t Limit, bool Head)
{
    Stream = Data;
    if (IsRZipData(Data)) {
        if (Head ? !RZipHead(Data, Limit, Room) : !UnpackRZip(Data, Room, Error, Limit)) {
            if (Head)
                Error = "the rzip data is damaged";
            return false;
        }
        Stream = Room.View();
    }
    return !IsRAStateData(Stream) || RAStateMemory(Stream, Stream, Error, Head);
}
