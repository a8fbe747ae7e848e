#include "sound/SMV.h"

#include <algorithm>
#include <cstring>

#include "core/Gzip.h"
#include "core/LittleEndian.h"

const std::array<const char*, 7> tSMV::SyncNames = {
    "MOVIE_SYNC_DATA_EXISTS", "MOVIE_SYNC_WIP1TIMING", "MOVIE_SYNC_LEFTRIGHT", "MOVIE_SYNC_VOLUMEENVX",
    "MOVIE_SYNC_FAKEMUTE",    "MOVIE_SYNC_SYNCSOUND",  "MOVIE_SYNC_HASROMINFO"};

namespace
{
constexpr size_t HeaderSize = 32;
constexpr size_t ROMInfoSize = 30;
// The ROM information: 3 bytes not shown, the CRC32, the 23-byte ROM name.
constexpr size_t ROMInfoCRC = 3;
constexpr size_t ROMInfoName = 7;
constexpr size_t ROMNameSize = 23;

void AppendUTF8(std::string& S, uint32_t C)
{
    if (C < 0x80) {
        S += static_cast<char>(C);
    } else if (C < 0x800) {
        S += static_cast<char>(0xC0 | C >> 6);
        S += static_cast<char>(0x80 | (C & 0x3F));
    } else if (C < 0x10000) {
        S += static_cast<char>(0xE0 | C >> 12);
        S += static_cast<char>(0x80 | (C >> 6 & 0x3F));
        S += static_cast<char>(0x80 | (C & 0x3F));
    } else {
        S += static_cast<char>(0xF0 | C >> 18);
        S += static_cast<char>(0x80 | (C >> 12 & 0x3F));
        S += static_cast<char>(0x80 | (C >> 6 & 0x3F));
        S += static_cast<char>(0x80 | (C & 0x3F));
    }
}

// The bytes [From, To) of the file, clamped to its end.
std::span<const uint8_t> Clamp(std::span<const uint8_t> File, size_t From, size_t To)
{
    From = std::min(From, File.size());
    To = std::min(To, File.size());
    return To > From ? File.subspan(From, To - From) : std::span<const uint8_t>();
}
} // namespace

std::string UTF16LEToUTF8(std::span<const uint8_t> Bytes)
{
    std::string S;
    for (size_t i = 0; i + 1 < Bytes.size(); i += 2) {
        uint32_t C = ReadLE<2>(&Bytes[i]);
        if (C == 0)
            break;
        if (C >= 0xD800 && C < 0xDC00 && i + 3 < Bytes.size()) {
            const uint32_t Low = ReadLE<2>(&Bytes[i + 2]);
            if (Low >= 0xDC00 && Low < 0xE000) {
                C = 0x10000 + ((C - 0xD800) << 10) + (Low - 0xDC00);
                i += 2;
            } else {
                C = 0xFFFD;
            }
        } else if (C >= 0xD800 && C < 0xE000) {
            C = 0xFFFD;
        }
        AppendUTF8(S, C);
    }
    return S;
}

std::string tSMV::Signature() const
{
    if (!Valid)
        return {};
    return std::string(reinterpret_cast<const char*>(MovieHeader.data()), 3);
}

bool tSMV::SyncShown(int N) const
{
    if (N < 0 || N > 6 || !(SyncOptions() & 1))
        return false;
    return SyncOptions() >> N & 1;
}

uint32_t tSMV::ROMCRC32() const
{
    return GetLE<ROMInfoCRC, 4>(ROMInfo);
}

std::string tSMV::ROMName() const
{
    const char* P = reinterpret_cast<const char*>(ROMInfo.data() + ROMInfoName);
    return std::string(P, strnlen(P, ROMNameSize));
}

bool tSMV::Parse(std::span<const uint8_t> File)
{
    MovieHeader.fill(0);
    ROMInfo.fill(0);
    Valid = HasROMInfo = false;
    MetadataEnd = 0;
    Metadata.clear();
    Embedded.clear();
    ControllerData.clear();
    EmbeddedError.clear();
    if (File.size() < HeaderSize || std::memcmp(File.data(), "SMV\x1A", 4) != 0)
        return false;
    std::copy_n(File.begin(), HeaderSize, MovieHeader.begin());
    Valid = true;

    HasROMInfo = SyncOptions() >> 6 & 1;
    MetadataEnd = EmbeddedOffset();
    if (HasROMInfo)
        MetadataEnd = MetadataEnd >= ROMInfoSize ? MetadataEnd - static_cast<uint32_t>(ROMInfoSize) : 0;
    Metadata = UTF16LEToUTF8(Clamp(File, HeaderSize, MetadataEnd));
    if (HasROMInfo) {
        const size_t At = std::max<size_t>(MetadataEnd, HeaderSize);
        auto Info = Clamp(File, At, At + ROMInfoSize);
        std::copy(Info.begin(), Info.end(), ROMInfo.begin());
    }

    auto Packed = Clamp(File, EmbeddedOffset(), ControllerDataOffset());
    std::vector<uint8_t> Data(Packed.begin(), Packed.end());
    std::string Error;
    if (Data.empty())
        EmbeddedError = "the movie holds no embedded quicksave or SRAM";
    else if (!GunzipStream(Data, Error, MaxEmbeddedSize))
        EmbeddedError =
            "the embedded " + std::string(StartsFromSRAM() ? "SRAM" : "quicksave") + " cannot be unpacked: " + Error;
    else
        Embedded = std::move(Data);
    auto Rest = Clamp(File, ControllerDataOffset(), File.size());
    ControllerData.assign(Rest.begin(), Rest.end());
    return true;
}
