// PNG files. Writing puts the few chunks of a plain PNG together and packs
// the rows with libdeflate; reading goes through libpng's simplified
// interface, which turns any PNG into the pixel format asked for and reports
// errors without longjmp reaching our code.

#include <libdeflate.h>
#include <png.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <span>

#include "core/PictureFiles.h"

namespace
{
// Screens and tile sheets are flat areas of few colours. One fixed filter per
// picture kind: "sub" for RGB rows (neighbouring pixels repeat), none for
// palette indexes (differences of indexes mean nothing). The file is put
// together here and packed by libdeflate, which at its level 3 packs such
// pictures about as small as zlib's level 6 in a fraction of zlib's fast
// level's time: batch runs write one picture per state. Its level 1 is for
// thumbnails.
std::atomic<int> PNGLevel = 3;
constexpr uint8_t FilterNone = 0, FilterSub = 1;

struct tFreeCompressor {
    void operator()(libdeflate_compressor* C) const { libdeflate_free_compressor(C); }
};

void PutU32(std::vector<uint8_t>& Out, uint32_t V)
{
    for (int Shift = 24; Shift >= 0; Shift -= 8)
        Out.push_back(static_cast<uint8_t>(V >> Shift));
}

// Appends a chunk: length, type, data and the CRC of type and data.
void PutChunk(std::vector<uint8_t>& Out, const char (&Type)[5], std::span<const uint8_t> Data)
{
    PutU32(Out, static_cast<uint32_t>(Data.size()));
    const size_t TypeAt = Out.size();
    Out.insert(Out.end(), Type, Type + 4);
    Out.insert(Out.end(), Data.begin(), Data.end());
    PutU32(Out, libdeflate_crc32(0, Out.data() + TypeAt, Out.size() - TypeAt));
}

// Rows are handed over as prepared scanlines of Depth bits per sample: RGB
// (three bytes a pixel) without a palette, indexes with one.
bool Encode(int32_t Width, int32_t Height, const png_color* Palette, int PaletteSize, const png_bytep* Rows,
            std::vector<uint8_t>& Out, tError& Error, int Depth = 8)
{
    const size_t Stride =
        Palette ? (static_cast<size_t>(Width) * static_cast<size_t>(Depth) + 7) / 8 : static_cast<size_t>(Width) * 3;
    const size_t H = static_cast<size_t>(Height);
    // Every row goes out behind its filter byte.
    std::vector<uint8_t> Raw((Stride + 1) * H);
    for (size_t y = 0; y < H; ++y) {
        uint8_t* D = &Raw[y * (Stride + 1)];
        const uint8_t* S = Rows[y];
        if (Palette) {
            *D++ = FilterNone;
            std::memcpy(D, S, Stride);
        } else {
            *D++ = FilterSub;
            std::memcpy(D, S, std::min<size_t>(3, Stride));
            for (size_t i = 3; i < Stride; ++i)
                D[i] = static_cast<uint8_t>(S[i] - S[i - 3]);
        }
    }
    thread_local std::unique_ptr<libdeflate_compressor, tFreeCompressor> Compressor;
    thread_local int CompressorLevel = 0;
    if (!Compressor || CompressorLevel != PNGLevel) {
        Compressor.reset(libdeflate_alloc_compressor(PNGLevel));
        CompressorLevel = PNGLevel;
    }
    if (!Compressor) {
        Error = tError("PNG encoder: out of memory");
        return false;
    }
    std::vector<uint8_t> Packed(libdeflate_zlib_compress_bound(Compressor.get(), Raw.size()));
    const size_t PackedSize =
        libdeflate_zlib_compress(Compressor.get(), Raw.data(), Raw.size(), Packed.data(), Packed.size());
    if (PackedSize == 0) {
        Error = tError("PNG encoder: the picture does not pack");
        return false;
    }
    static constexpr uint8_t Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Out.assign(Signature, Signature + 8);
    Out.reserve(8 + 25 + 12 + 3 * 256 + 12 + PackedSize + 12);
    std::vector<uint8_t> Header;
    PutU32(Header, static_cast<uint32_t>(Width));
    PutU32(Header, static_cast<uint32_t>(Height));
    // Bit depth, colour type (3 palette, 2 RGB), deflate, per-row filters, no interlace.
    Header.insert(Header.end(), {static_cast<uint8_t>(Depth), static_cast<uint8_t>(Palette ? 3 : 2), 0, 0, 0});
    PutChunk(Out, "IHDR", Header);
    if (Palette) {
        std::vector<uint8_t> Table;
        for (int i = 0; i < PaletteSize; ++i)
            Table.insert(Table.end(), {Palette[i].red, Palette[i].green, Palette[i].blue});
        PutChunk(Out, "PLTE", Table);
    }
    PutChunk(Out, "IDAT", std::span<const uint8_t>(Packed.data(), PackedSize));
    PutChunk(Out, "IEND", {});
    return true;
}

bool CheckSize(int32_t Width, int32_t Height, tError& Error)
{
    if (Width <= 0 || Height <= 0) {
        Error = tError("the picture is empty");
        return false;
    }
    return true;
}
} // namespace

void SetPNGPacking(tPNGPacking Packing)
{
    PNGLevel = Packing == tPNGPacking::Fast ? 1 : 3;
}

bool EncodePNG(const tPicture8& Picture, std::vector<uint8_t>& Out, tError& Error)
{
    Out.clear();
    if (!CheckSize(Picture.Width, Picture.Height, Error))
        return false;
    png_color Palette[256];
    for (int i = 0; i < 256; ++i) {
        const uint32_t C = Picture.ColourTable[i];
        Palette[i] = {static_cast<png_byte>(C >> 16), static_cast<png_byte>(C >> 8), static_cast<png_byte>(C)};
    }
    std::vector<png_bytep> Rows(static_cast<size_t>(Picture.Height));
    for (int32_t y = 0; y < Picture.Height; ++y)
        Rows[y] = const_cast<png_bytep>(Picture.Row(y));
    return Encode(Picture.Width, Picture.Height, Palette, 256, Rows.data(), Out, Error);
}

bool EncodeIndexedPNG(const tPicture8& Picture, int BitsPerPixel, int Colours, std::vector<uint8_t>& Out, tError& Error)
{
    Out.clear();
    if (BitsPerPixel != 1 && BitsPerPixel != 2 && BitsPerPixel != 4 && BitsPerPixel != 8) {
        Error = tError("PNG pictures with a palette have 1, 2, 4 or 8 bits per pixel");
        return false;
    }
    if (Colours < 2 || Colours > 1 << BitsPerPixel) {
        Error = tError("a palette of " + std::to_string(Colours) + " entries does not suit " +
                       std::to_string(BitsPerPixel) + " bits per pixel");
        return false;
    }
    if (!CheckSize(Picture.Width, Picture.Height, Error))
        return false;
    png_color Palette[256];
    for (int i = 0; i < Colours; ++i) {
        const uint32_t C = Picture.ColourTable[static_cast<size_t>(i)];
        Palette[i] = {static_cast<png_byte>(C >> 16), static_cast<png_byte>(C >> 8), static_cast<png_byte>(C)};
    }
    // Packed rows, leftmost pixel in the highest bits; values beyond the
    // table show its last colour rather than make an invalid file.
    const size_t Stride = (static_cast<size_t>(Picture.Width) * static_cast<size_t>(BitsPerPixel) + 7) / 8;
    const int PerByte = 8 / BitsPerPixel;
    std::vector<uint8_t> Packed(Stride * static_cast<size_t>(Picture.Height), 0);
    std::vector<png_bytep> Rows(static_cast<size_t>(Picture.Height));
    for (int32_t y = 0; y < Picture.Height; ++y) {
        uint8_t* D = Packed.data() + Stride * static_cast<size_t>(y);
        const uint8_t* S = Picture.Row(y);
        for (int32_t x = 0; x < Picture.Width; ++x) {
            const int V = std::min<int>(S[x] & ((1 << BitsPerPixel) - 1), Colours - 1);
            const int Shift = 8 - BitsPerPixel * (x % PerByte + 1);
            D[x / PerByte] = static_cast<uint8_t>(D[x / PerByte] | V << Shift);
        }
        Rows[static_cast<size_t>(y)] = D;
    }
    return Encode(Picture.Width, Picture.Height, Palette, Colours, Rows.data(), Out, Error, BitsPerPixel);
}

namespace
{
// The picture's pixels as indexes into a table of its colours in the order
// they first appear; false when it has more than 256.
bool MapColours(const tPicture32& Picture, std::vector<uint8_t>& Indexes, png_color* Palette, int& Count)
{
    // Open addressing over twice the most colours a table can hold; a slot
    // holds colour + 1 (0 is free) and its index.
    constexpr uint32_t Slots = 512;
    uint32_t Key[Slots] = {};
    uint8_t Value[Slots];
    Count = 0;
    Indexes.resize(Picture.Pixels.size());
    uint32_t Last = 0xFFFFFFFF;
    uint8_t LastIndex = 0;
    for (size_t i = 0; i < Picture.Pixels.size(); ++i) {
        const uint32_t C = Picture.Pixels[i] & 0xFFFFFF;
        if (C != Last) {
            uint32_t h = (C * 2654435761u) >> 23;
            while (Key[h] && Key[h] != C + 1)
                h = (h + 1) & (Slots - 1);
            if (!Key[h]) {
                if (Count == 256)
                    return false;
                Key[h] = C + 1;
                Value[h] = static_cast<uint8_t>(Count);
                Palette[Count++] = {static_cast<png_byte>(C >> 16), static_cast<png_byte>(C >> 8),
                                    static_cast<png_byte>(C)};
            }
            Last = C;
            LastIndex = Value[h];
        }
        Indexes[i] = LastIndex;
    }
    return true;
}
} // namespace

bool EncodePNG(const tPicture32& Picture, std::vector<uint8_t>& Out, tError& Error)
{
    Out.clear();
    if (!CheckSize(Picture.Width, Picture.Height, Error))
        return false;
    std::vector<png_bytep> Rows(static_cast<size_t>(Picture.Height));
    // A screen seldom shows more colours than CGRAM holds: written
    // colour-mapped it reads back as the same pixels, with a third of the
    // bytes to compress.
    std::vector<uint8_t> Indexes;
    png_color Palette[256];
    int Count = 0;
    if (MapColours(Picture, Indexes, Palette, Count)) {
        for (int32_t y = 0; y < Picture.Height; ++y)
            Rows[y] = Indexes.data() + static_cast<size_t>(Picture.Width) * static_cast<size_t>(y);
        return Encode(Picture.Width, Picture.Height, Palette, Count, Rows.data(), Out, Error);
    }
    const size_t Stride = static_cast<size_t>(Picture.Width) * 3;
    std::vector<uint8_t> RGB(Stride * static_cast<size_t>(Picture.Height));
    for (int32_t y = 0; y < Picture.Height; ++y) {
        uint8_t* D = RGB.data() + Stride * static_cast<size_t>(y);
        Rows[y] = D;
        const uint32_t* S = Picture.Row(y);
        for (int32_t x = 0; x < Picture.Width; ++x) {
            *D++ = static_cast<uint8_t>(S[x] >> 16);
            *D++ = static_cast<uint8_t>(S[x] >> 8);
            *D++ = static_cast<uint8_t>(S[x]);
        }
    }
    return Encode(Picture.Width, Picture.Height, nullptr, 0, Rows.data(), Out, Error);
}

// Reads a PNG held in memory. With Indexed the file must be colour-mapped and
// its indexes and colour map are returned; otherwise RGB pixels (alpha laid
// over black).
bool DecodePNG(std::span<const uint8_t> Data, bool Indexed, tPicture8* Out8, tPicture32* Out32, tError& Error)
{
    png_image Image;
    std::memset(&Image, 0, sizeof Image);
    Image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&Image, Data.data(), Data.size())) {
        Error = tError(std::string("not a readable PNG file (") + Image.message + ")");
        png_image_free(&Image);
        return false;
    }
    if (Image.width == 0 || Image.height == 0 || Image.width > MaxPictureSide || Image.height > MaxPictureSide ||
        static_cast<uint64_t>(Image.width) * Image.height > MaxPicturePixels) {
        Error = tError("PNG picture of " + std::to_string(Image.width) + "x" + std::to_string(Image.height) +
                       " pixels is larger than the program takes");
        png_image_free(&Image);
        return false;
    }
    const auto W = static_cast<int32_t>(Image.width), H = static_cast<int32_t>(Image.height);
    const png_color Black{0, 0, 0};
    if (Indexed) {
        if (!(Image.format & PNG_FORMAT_FLAG_COLORMAP) || Image.colormap_entries > 256) {
            Error = tError("the PNG file has no colour table");
            png_image_free(&Image);
            return false;
        }
        Image.format = PNG_FORMAT_RGB_COLORMAP;
        uint8_t Map[256 * 3] = {};
        Out8->Resize(W, H);
        if (!png_image_finish_read(&Image, &Black, Out8->Pixels.data(), W, Map)) {
            Error = tError(std::string("damaged PNG file (") + Image.message + ")");
            png_image_free(&Image);
            Out8->Resize(0, 0);
            return false;
        }
        Out8->ColourTable.fill(0);
        for (int i = 0; i < 256; ++i)
            Out8->ColourTable[i] = static_cast<uint32_t>(Map[3 * i] << 16 | Map[3 * i + 1] << 8 | Map[3 * i + 2]);
        return true;
    }
    Image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> RGB(PNG_IMAGE_SIZE(Image));
    if (!png_image_finish_read(&Image, &Black, RGB.data(), 0, nullptr)) {
        Error = tError(std::string("damaged PNG file (") + Image.message + ")");
        png_image_free(&Image);
        return false;
    }
    Out32->Resize(W, H);
    const uint8_t* S = RGB.data();
    for (uint32_t& P : Out32->Pixels) {
        P = static_cast<uint32_t>(S[0] << 16 | S[1] << 8 | S[2]);
        S += 3;
    }
    return true;
}
