#include "core/Gzip.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>

#include <libdeflate.h>
#include <zlib.h>

namespace
{
// Output grows in steps of this size while inflating or deflating.
constexpr size_t ChunkSize = 256u << 10;
// zlib's window bits plus 16: read and write a gzip wrapper, not a zlib one.
constexpr int GzipWindowBits = 15 + 16;
// Deflate cannot expand data more than about 1032 to 1, so a size hint past
// that many times the packed size is a lie of the file.
constexpr size_t MaxDeflateRatio = 1032;
// The output step of an inflate that may stop early.
constexpr size_t StopStep = 64u << 10;

std::string SizeText(size_t Bytes)
{
    if (Bytes % (1u << 20) == 0)
        return std::to_string(Bytes >> 20) + " MiB";
    return std::to_string(Bytes) + " bytes";
}
} // namespace

bool IsGzipData(std::span<const uint8_t> Data)
{
    return Data.size() >= 2 && Data[0] == 0x1F && Data[1] == 0x8B;
}

bool GzipStream(std::vector<uint8_t>& Data, std::string& Error)
{
    if (Data.size() > std::numeric_limits<uInt>::max() / 2) {
        Error = "data too large to compress";
        return false;
    }
    z_stream Z{};
    if (deflateInit2(&Z, 9, Z_DEFLATED, GzipWindowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        Error = "could not start gzip compression";
        return false;
    }
    std::vector<uint8_t> Out(deflateBound(&Z, static_cast<uLong>(Data.size())) + 64);
    Z.next_in = Data.data();
    Z.avail_in = static_cast<uInt>(Data.size());
    Z.next_out = Out.data();
    Z.avail_out = static_cast<uInt>(Out.size());
    int R = deflate(&Z, Z_FINISH);
    size_t Produced = Z.total_out;
    deflateEnd(&Z);
    if (R != Z_STREAM_END) {
        Error = "gzip compression failed";
        return false;
    }
    Out.resize(Produced);
    Data = std::move(Out);
    return true;
}

void tInflated::Resize(size_t NewSize, size_t Keep)
{
    if (NewSize > Room) {
        auto More = std::make_unique_for_overwrite<uint8_t[]>(NewSize);
        if (Keep)
            std::memcpy(More.get(), Bytes.get(), Keep);
        Bytes = std::move(More);
        Room = NewSize;
    }
    Size = NewSize;
}

namespace
{
struct tFreeDecompressor {
    void operator()(libdeflate_decompressor* D) const { libdeflate_free_decompressor(D); }
};

libdeflate_decompressor* Decompressor()
{
    thread_local const std::unique_ptr<libdeflate_decompressor, tFreeDecompressor> D(libdeflate_alloc_decompressor());
    return D.get();
}

} // namespace

// A whole stream at once, with libdeflate: two to three times zlib's speed
// for the files the program reads most. Output room comes from each
// member's size field, grows when that lied, and never passes Limit.
bool GunzipWhole(std::span<const uint8_t> Data, tInflated& Out, std::string& Error, size_t Limit)
{
    libdeflate_decompressor* D = Decompressor();
    if (!D) {
        Error = "could not start gzip decompression";
        return false;
    }
    Out.Size = 0;
    if (Data.size() < 2 || Data[0] != 0x1F || Data[1] != 0x8B) {
        Error = "the gzip signature is missing";
        return false;
    }
    const size_t Cap = Limit + 1;
    size_t Produced = 0, InPos = 0;
    // 18 bytes: the smallest whole member (10-byte header, empty deflate
    // block, 8-byte trailer).
    const size_t N = Data.size();
    if (N >= 18) {
        const size_t Hint = static_cast<size_t>(Data[N - 4]) | static_cast<size_t>(Data[N - 3]) << 8 |
                            static_cast<size_t>(Data[N - 2]) << 16 | static_cast<size_t>(Data[N - 1]) << 24;
        Out.Resize(std::min({Cap, Hint, N * MaxDeflateRatio}), 0);
    }
    // A gzip file may hold several members one after another; anything else
    // after the last member is padding some tools add, and is ignored as
    // gzip itself does.
    while (N - InPos >= 2 && Data[InPos] == 0x1F && Data[InPos + 1] == 0x8B) {
        for (;;) {
            size_t In = 0, Got = 0;
            const libdeflate_result R = libdeflate_gzip_decompress_ex(
                D, Data.data() + InPos, N - InPos, Out.Bytes.get() + Produced, Out.Size - Produced, &In, &Got);
            if (R == LIBDEFLATE_SUCCESS) {
                InPos += In;
                Produced += Got;
                break;
            }
            if (R != LIBDEFLATE_INSUFFICIENT_SPACE) {
                // libdeflate tells a cut stream from a damaged one no better
                // than "bad data"; zlib's step-wise reader does, and names it.
                std::vector<uint8_t> Copy(Data.begin(), Data.end());
                Out.Size = 0;
                if (!GunzipStream(Copy, Error, Limit, {}))
                    return false;
                Out.Resize(Copy.size(), 0);
                std::copy(Copy.begin(), Copy.end(), Out.Bytes.get());
                return true;
            }
            if (Out.Size >= Cap) {
                Error = "gzip data expands past the limit of " + SizeText(Limit);
                Out.Size = 0;
                return false;
            }
            Out.Resize(std::min(Cap, std::max(Out.Size * 2, Out.Size + ChunkSize)), Produced);
        }
    }
    if (Produced > Limit) {
        Error = "gzip data expands past the limit of " + SizeText(Limit);
        Out.Size = 0;
        return false;
    }
    Out.Size = Produced;
    return true;
}

bool GunzipStream(std::vector<uint8_t>& Data, std::string& Error, size_t Limit)
{
    if (!IsGzipData(Data))
        return true;
    tInflated Out;
    if (!GunzipWhole(Data, Out, Error, Limit))
        return false;
    Data.assign(Out.Bytes.get(), Out.Bytes.get() + Out.Size);
    return true;
}

bool InflateZlib(std::span<const uint8_t> In, std::span<uint8_t> Out, size_t& Made)
{
    Made = 0;
    libdeflate_decompressor* D = Decompressor();
    size_t Used = 0;
    return D && libdeflate_zlib_decompress_ex(D, In.data(), In.size(), Out.data(), Out.size(), &Used, &Made) ==
                    LIBDEFLATE_SUCCESS;
}

bool GunzipStream(std::vector<uint8_t>& Data, std::string& Error, size_t Limit,
                  const std::function<size_t(std::span<const uint8_t>)>& Stop)
{
    if (!IsGzipData(Data))
        return true;
    if (Data.size() > std::numeric_limits<uInt>::max()) {
        Error = "gzip data is too large";
        return false;
    }
    z_stream Z{};
    if (inflateInit2(&Z, GzipWindowBits) != Z_OK) {
        Error = "could not start gzip decompression";
        return false;
    }
    // One byte more than the limit is room enough to notice content that
    // goes past it.
    const size_t Cap = Limit + 1;
    // The last four bytes hold the content size (of the last member, modulo
    // 4 GiB): room for that much at once spares growing and copying. It is
    // only a hint, bounded like every other size. 18 bytes: the smallest
    // whole member (10-byte header, empty deflate block, 8-byte trailer).
    std::vector<uint8_t> Out;
    if (const size_t N = Data.size(); N >= 18) {
        const size_t Hint = static_cast<size_t>(Data[N - 4]) | static_cast<size_t>(Data[N - 3]) << 8 |
                            static_cast<size_t>(Data[N - 2]) << 16 | static_cast<size_t>(Data[N - 1]) << 24;
        Out.resize(std::min({Cap, Hint, N * MaxDeflateRatio}));
    }
    size_t Produced = 0;
    size_t InPos = 0;
    for (;;) {
        const uInt MemberIn = static_cast<uInt>(Data.size() - InPos);
        Z.next_in = Data.data() + InPos;
        Z.avail_in = MemberIn;
        int R = Z_OK;
        do {
            if (Produced == Out.size())
                Out.resize(std::min(Cap, Out.size() + ChunkSize));
            Z.next_out = Out.data() + Produced;
            const size_t Room = Stop ? std::min(Out.size() - Produced, StopStep) : Out.size() - Produced;
            Z.avail_out = static_cast<uInt>(Room);
            R = inflate(&Z, Z_NO_FLUSH);
            Produced += Room - Z.avail_out;
            if (Stop && Produced <= Limit && (R == Z_OK || R == Z_STREAM_END)) {
                if (const size_t Cut = Stop(std::span<const uint8_t>(Out.data(), Produced)); Cut && Cut <= Produced) {
                    inflateEnd(&Z);
                    Out.resize(Cut);
                    Data = std::move(Out);
                    return true;
                }
            }
            if (Produced > Limit)
                Error = "gzip data expands past the limit of " + SizeText(Limit);
            else if (R == Z_BUF_ERROR)
                Error = "gzip data is truncated";
            else if (R != Z_OK && R != Z_STREAM_END)
                Error = std::string("gzip data is corrupt (") + (Z.msg ? Z.msg : "inflate error") + ")";
            else
                continue;
            inflateEnd(&Z);
            return false;
        } while (R != Z_STREAM_END);
        InPos += MemberIn - Z.avail_in;
        // A gzip file may hold several members one after another (gzip's own
        // concatenation). Anything else after the last member is padding
        // some tools add, and is ignored as gzip itself does.
        if (Data.size() - InPos < 2 || Data[InPos] != 0x1F || Data[InPos + 1] != 0x8B)
            break;
        inflateReset(&Z);
    }
    inflateEnd(&Z);
    Out.resize(Produced);
    Data = std::move(Out);
    return true;
}

bool GunzipHead(std::span<const uint8_t> Data, size_t Count, std::vector<uint8_t>& Head)
{
    Head.clear();
    if (Data.size() < 2 || Data[0] != 0x1F || Data[1] != 0x8B) {
        Head.assign(Data.begin(), Data.begin() + static_cast<std::ptrdiff_t>(std::min(Count, Data.size())));
        return true;
    }
    if (Data.size() > std::numeric_limits<uInt>::max() || Count > std::numeric_limits<uInt>::max())
        return false;
    z_stream Z{};
    if (inflateInit2(&Z, GzipWindowBits) != Z_OK)
        return false;
    Head.resize(Count);
    Z.next_in = const_cast<Bytef*>(Data.data());
    Z.avail_in = static_cast<uInt>(Data.size());
    Z.next_out = Head.data();
    Z.avail_out = static_cast<uInt>(Count);
    int R = Z_OK;
    while (Z.avail_out > 0 && R == Z_OK)
        R = inflate(&Z, Z_NO_FLUSH);
    const size_t Produced = Count - Z.avail_out;
    inflateEnd(&Z);
    Head.resize(Produced);
    // A stream cut short still gave what came before the cut.
    return Produced == Count || R == Z_STREAM_END || R == Z_BUF_ERROR;
}
