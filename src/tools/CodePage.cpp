#include "tools/CodePage.h"

#include <algorithm>

#include "core/ByteReader.h"
#include "core/FileIO.h"
#include "core/PictureFiles.h"

namespace
{
// A code page file is a few kilobytes; even the largest one taken (2048 x
// 2048 in a 32-bit BMP) is 16 MiB.
constexpr uint64_t MaxCodePageFileSize = 20ull << 20;

constexpr uint8_t PNGSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// The size from the file's header, so that a huge picture is refused before
// it is decoded. PNG: signature, then the IHDR chunk (length, "IHDR", width
// and height big-endian). BMP: width and height at offsets 18 and 22, the
// height negative for top-down rows.
bool HeaderSize(std::span<const uint8_t> Data, bool AsPNG, int64_t& W, int64_t& H, tError& Error)
{
    tByteReader R(Data);
    std::span<const uint8_t> Head;
    if (AsPNG) {
        uint16_t W1 = 0, W2 = 0, H1 = 0, H2 = 0;
        if (!R.Take(8, Head) || !std::equal(Head.begin(), Head.end(), PNGSignature)) {
            Error = tError("not a PNG file");
            return false;
        }
        if (!R.Skip(8) || !R.U16BE(W1) || !R.U16BE(W2) || !R.U16BE(H1) || !R.U16BE(H2)) {
            Error = tError("PNG header truncated");
            return false;
        }
        W = static_cast<int64_t>(W1) << 16 | W2;
        H = static_cast<int64_t>(H1) << 16 | H2;
        return true;
    }
    uint32_t RawW = 0, RawH = 0;
    if (!R.Take(2, Head) || Head[0] != 'B' || Head[1] != 'M') {
        Error = tError("not a BMP file");
        return false;
    }
    if (!R.Seek(18) || !R.U32LE(RawW) || !R.U32LE(RawH)) {
        Error = tError("BMP header truncated");
        return false;
    }
    W = static_cast<int32_t>(RawW);
    H = static_cast<int32_t>(RawH);
    if (H < 0)
        H = -H;
    return true;
}
} // namespace

bool DecodeCodePage(std::span<const uint8_t> Data, bool AsPNG, tPicture32& Out, tError& Error)
{
    int64_t W = 0, H = 0;
    if (!HeaderSize(Data, AsPNG, W, H, Error))
        return false;
    if (W > MaxCodePageSide || H > MaxCodePageSide) {
        Error = tError("a code page of " + std::to_string(W) + "x" + std::to_string(H) + " pixels is larger than " +
                       std::to_string(MaxCodePageSide) + "x" + std::to_string(MaxCodePageSide));
        return false;
    }
    tPicture32 Picture;
    if (!DecodePicture(Data, Picture, Error))
        return false;
    // The decoder's size is the one that counts (a BMP may say one thing in
    // a header field it does not use).
    if (Picture.Width < MinCodePageWidth || Picture.Height < MinCodePageHeight) {
        Error = tError(CodePageTooSmall);
        return false;
    }
    if (Picture.Width > MaxCodePageSide || Picture.Height > MaxCodePageSide) {
        Error = tError("a code page of " + std::to_string(Picture.Width) + "x" + std::to_string(Picture.Height) +
                       " pixels is too large");
        return false;
    }
    Out = std::move(Picture);
    return true;
}

bool ReadCodePage(const std::string& FileName, tPicture32& Out, tError& Error)
{
    std::vector<uint8_t> Data;
    if (!ReadWholeFile(FileName, Data, Error, MaxCodePageFileSize))
        return false;
    return DecodeCodePage(Data, IsPNGName(FileName), Out, Error);
}

std::vector<uint8_t> CodePageGlyph(const tPicture32& Page, int Index)
{
    if (Page.Width < MinCodePageWidth || Page.Height < MinCodePageHeight || Index < 0 || Index > 255)
        return {};
    const int32_t W = Page.Width / 16, H = Page.Height / 16;
    const uint32_t Key = Page.At(0, Page.Height - 1) & 0xFFFFFF;
    std::vector<uint8_t> Ink(static_cast<size_t>(W) * static_cast<size_t>(H));
    for (int32_t Y = 0; Y < H; ++Y)
        for (int32_t X = 0; X < W; ++X)
            Ink[static_cast<size_t>(Y * W + X)] =
                (Page.At(W * (Index % 16) + X, H * (Index / 16) + Y) & 0xFFFFFF) != Key;
    return Ink;
}
