// Windows BMP: the 14-byte file header, the 40-byte information header, an
// optional colour table of blue, green, red, 0 quads, and rows padded to four
// bytes, bottom row first unless the height is negative.

#include <array>
#include <string>

#include "core/ByteReader.h"
#include "core/LittleEndian.h"
#include "core/PictureFiles.h"

namespace
{
constexpr uint32_t FileHeaderSize = 14;
constexpr uint32_t InfoHeaderSize = 40;
constexpr uint32_t BI_RGB = 0, BI_BITFIELDS = 3;

size_t RowBytes(int32_t Width, int Bits)
{
    return (static_cast<size_t>(Width) * Bits + 31) / 32 * 4;
}

void PutHeaders(std::vector<uint8_t>& O, int32_t W, int32_t H, int Bits, uint32_t TableEntries)
{
    const uint32_t Offset = FileHeaderSize + InfoHeaderSize + 4 * TableEntries;
    const auto ImageSize = static_cast<uint32_t>(RowBytes(W, Bits) * static_cast<size_t>(H));
    O.push_back('B');
    O.push_back('M');
    AppendLE<4>(O, Offset + ImageSize);
    AppendLE<4>(O, 0);
    AppendLE<4>(O, Offset);
    AppendLE<4>(O, InfoHeaderSize);
    AppendLE<4>(O, static_cast<uint32_t>(W));
    AppendLE<4>(O, static_cast<uint32_t>(H)); // positive: bottom row first
    AppendLE<2>(O, 1);
    AppendLE<2>(O, static_cast<uint32_t>(Bits));
    AppendLE<4>(O, BI_RGB);
    AppendLE<4>(O, ImageSize);
    AppendLE<4>(O, 2835); // 72 dots per inch
    AppendLE<4>(O, 2835);
    AppendLE<4>(O, TableEntries);
    AppendLE<4>(O, 0);
}

bool CheckSize(int32_t W, int32_t H, tError& Error)
{
    if (W <= 0 || H <= 0) {
        Error = tError("the picture is empty");
        return false;
    }
    return true;
}

} // namespace

bool EncodeBMP(const tPicture8& Picture, int BitsPerPixel, std::vector<uint8_t>& Out, tError& Error)
{
    return EncodeIndexedBMP(Picture, BitsPerPixel, 1 << (BitsPerPixel & 15), Out, Error);
}

bool EncodeIndexedBMP(const tPicture8& Picture, int BitsPerPixel, int Colours, std::vector<uint8_t>& Out, tError& Error)
{
    Out.clear();
    if (BitsPerPixel != 1 && BitsPerPixel != 4 && BitsPerPixel != 8) {
        Error = tError("BMP pictures with a colour table have 1, 4 or 8 bits per pixel");
        return false;
    }
    if (Colours < 2 || Colours > 1 << BitsPerPixel) {
        Error = tError("a colour table of " + std::to_string(Colours) + " entries does not suit " +
                       std::to_string(BitsPerPixel) + " bits per pixel");
        return false;
    }
    if (!CheckSize(Picture.Width, Picture.Height, Error))
        return false;
    const auto Entries = static_cast<uint32_t>(Colours);
    const auto ValueMask = static_cast<uint8_t>((1u << BitsPerPixel) - 1);
    PutHeaders(Out, Picture.Width, Picture.Height, BitsPerPixel, Entries);
    for (uint32_t i = 0; i < Entries; ++i)
        AppendLE<4>(Out, Picture.ColourTable[i] & 0xFFFFFF);
    const size_t Stride = RowBytes(Picture.Width, BitsPerPixel);
    const int PerByte = 8 / BitsPerPixel;
    for (int32_t y = Picture.Height - 1; y >= 0; --y) {
        std::vector<uint8_t> Row(Stride, 0);
        const uint8_t* S = Picture.Row(y);
        for (int32_t x = 0; x < Picture.Width; ++x) {
            const int Shift = 8 - BitsPerPixel * (x % PerByte + 1);
            Row[static_cast<size_t>(x / PerByte)] |= static_cast<uint8_t>((S[x] & ValueMask) << Shift);
        }
        Out.insert(Out.end(), Row.begin(), Row.end());
    }
    return true;
}

bool EncodeBMP(const tPicture32& Picture, std::vector<uint8_t>& Out, tError& Error)
{
    Out.clear();
    if (!CheckSize(Picture.Width, Picture.Height, Error))
        return false;
    PutHeaders(Out, Picture.Width, Picture.Height, 32, 0);
    for (int32_t y = Picture.Height - 1; y >= 0; --y) {
        const uint32_t* S = Picture.Row(y);
        for (int32_t x = 0; x < Picture.Width; ++x)
            AppendLE<4>(Out, S[x] & 0xFFFFFF);
    }
    return true;
}

// Uncompressed BMP of 1, 4, 8, 24 or 32 bits per pixel (32 bits also with the
// standard bit fields). With Indexed only files with a colour table are taken.
bool DecodeBMP(std::span<const uint8_t> Data, bool Indexed, tPicture8* Out8, tPicture32* Out32, tError& Error)
{
    tByteReader R(Data);
    uint16_t Magic = 0, Planes = 0, Bits = 0;
    uint32_t FileSize = 0, Reserved = 0, PixelOffset = 0, HeaderSize = 0, Compression = 0, ImageSize = 0;
    uint32_t XRes = 0, YRes = 0, Used = 0, Important = 0, RawW = 0, RawH = 0;
    if (!R.U16LE(Magic) || Magic != 0x4D42) {
        Error = tError("not a BMP file");
        return false;
    }
    if (!R.U32LE(FileSize) || !R.U32LE(Reserved) || !R.U32LE(PixelOffset) || !R.U32LE(HeaderSize) || !R.U32LE(RawW) ||
        !R.U32LE(RawH) || !R.U16LE(Planes) || !R.U16LE(Bits) || !R.U32LE(Compression) || !R.U32LE(ImageSize) ||
        !R.U32LE(XRes) || !R.U32LE(YRes) || !R.U32LE(Used) || !R.U32LE(Important)) {
        Error = tError("BMP header truncated");
        return false;
    }
    if (HeaderSize < InfoHeaderSize || HeaderSize > Data.size() - FileHeaderSize) {
        Error = tError("BMP information header of " + std::to_string(HeaderSize) + " bytes is not supported");
        return false;
    }
    const auto W = static_cast<int32_t>(RawW), SignedH = static_cast<int32_t>(RawH);
    const bool TopDown = SignedH < 0;
    // INT32_MIN has no positive counterpart; it is far beyond the bound anyway.
    const int64_t H = TopDown ? -static_cast<int64_t>(SignedH) : SignedH;
    if (W <= 0 || H <= 0 || static_cast<uint32_t>(W) > MaxPictureSide || H > MaxPictureSide ||
        static_cast<uint64_t>(W) * static_cast<uint64_t>(H) > MaxPicturePixels) {
        Error = tError("BMP picture of " + std::to_string(W) + "x" + std::to_string(H) + " pixels is not supported");
        return false;
    }
    const bool BitFields32 = Compression == BI_BITFIELDS && Bits == 32;
    if (Planes != 1 || (Compression != BI_RGB && !BitFields32) ||
        (Bits != 1 && Bits != 4 && Bits != 8 && Bits != 24 && Bits != 32)) {
        Error = tError("BMP with " + std::to_string(Bits) + " bits per pixel and compression " +
                       std::to_string(Compression) + " is not supported");
        return false;
    }
    if (BitFields32) {
        // The masks follow the 40-byte header; only the ordinary layout is taken.
        std::span<const uint8_t> M;
        if (!R.Seek(FileHeaderSize + InfoHeaderSize) || !R.Take(12, M) || ReadLE<4>(M.data()) != 0xFF0000 ||
            ReadLE<4>(M.data() + 4) != 0xFF00 || ReadLE<4>(M.data() + 8) != 0xFF) {
            Error = tError("BMP bit fields other than 8 bits each of red, green and blue are not supported");
            return false;
        }
    }
    const bool HasTable = Bits <= 8;
    if (Indexed && !HasTable) {
        Error = tError("the BMP file has no colour table");
        return false;
    }
    std::array<uint32_t, 256> Table{};
    if (HasTable) {
        const uint32_t MaxEntries = 1u << Bits;
        const uint32_t Entries = Used == 0 ? MaxEntries : Used;
        if (Entries > MaxEntries) {
            Error = tError("BMP colour table of " + std::to_string(Used) + " entries is too long");
            return false;
        }
        std::span<const uint8_t> T;
        if (!R.Seek(FileHeaderSize + HeaderSize) || !R.Take(4 * static_cast<size_t>(Entries), T)) {
            Error = tError("BMP colour table truncated", FileHeaderSize + HeaderSize);
            return false;
        }
        for (uint32_t i = 0; i < Entries; ++i)
            Table[i] = ReadLE<4>(T.data() + 4 * i) & 0xFFFFFF;
    }
    const size_t Stride = RowBytes(W, Bits);
    std::span<const uint8_t> Pix;
    if (!R.Seek(PixelOffset) || !R.Take(Stride * static_cast<size_t>(H), Pix)) {
        Error = tError("BMP pixel data truncated", PixelOffset);
        return false;
    }
    const auto Height = static_cast<int32_t>(H);
    if (Indexed) {
        Out8->Resize(W, Height);
        Out8->ColourTable = Table;
    } else {
        Out32->Resize(W, Height);
    }
    for (int32_t y = 0; y < Height; ++y) {
        const uint8_t* S = Pix.data() + Stride * static_cast<size_t>(TopDown ? y : Height - 1 - y);
        for (int32_t x = 0; x < W; ++x) {
            uint32_t Colour = 0;
            uint8_t Index = 0;
            // One case a line: the switch reads as a table.
            // clang-format off
            switch (Bits) {
            case 1: Index = (S[x >> 3] >> (7 - (x & 7))) & 1; break;
            case 4: Index = (S[x >> 1] >> (x & 1 ? 0 : 4)) & 15; break;
            case 8: Index = S[x]; break;
            case 24: Colour = static_cast<uint32_t>(S[3 * x + 2] << 16 | S[3 * x + 1] << 8 | S[3 * x]); break;
            default: Colour = ReadLE<4>(S + 4 * x) & 0xFFFFFF; break;
            }
            // clang-format on
            if (Indexed)
                Out8->Row(y)[x] = Index;
            else
                Out32->Row(y)[x] = HasTable ? Table[Index] : Colour;
        }
    }
    return true;
}
