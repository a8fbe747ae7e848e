// PNG through libpng. Writing uses the full interface (to choose the filters
// and the compression level); reading uses the simplified one, which turns any
// PNG into the pixel format asked for and reports errors without longjmp
// reaching our code.

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "core/PictureFiles.h"

namespace
{
// Screens and tile sheets are flat areas of few colours. One fixed filter per
// picture kind spares libpng trying each filter on every row: "sub" for RGB
// rows (neighbouring pixels repeat), none for palette indexes (differences of
// indexes mean nothing). Level 2 keeps zlib on its fast matcher: a screen
// takes a quarter of the time level 6 needs and the file grows by a tenth to
// a third, which batch runs over thousands of states gladly trade.
constexpr int PNGFiltersRGB = PNG_FILTER_SUB;
constexpr int PNGFiltersIndexed = PNG_FILTER_NONE;
constexpr int PNGCompression = 2;

struct tWriteState {
    std::vector<uint8_t>* Out;
    char Message[128];
};

void WriteData(png_structp Png, png_bytep Data, png_size_t Length)
{
    auto* S = static_cast<tWriteState*>(png_get_io_ptr(Png));
    S->Out->insert(S->Out->end(), Data, Data + Length);
}

void Flush(png_structp) {}

void OnError(png_structp Png, png_const_charp Message)
{
    auto* S = static_cast<tWriteState*>(png_get_error_ptr(Png));
    std::snprintf(S->Message, sizeof S->Message, "%s", Message);
    png_longjmp(Png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Rows are handed over as prepared 8-bit scanlines. Only plain C data lives
// between setjmp and the libpng calls, so a longjmp skips no destructor.
bool Encode(int32_t Width, int32_t Height, int ColourType, const png_color* Palette, int PaletteSize, png_bytepp Rows,
            std::vector<uint8_t>& Out, tError& Error, int Depth = 8)
{
    tWriteState State{&Out, {}};
    png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &State, OnError, OnWarning);
    if (!Png) {
        Error = tError("cannot start the PNG encoder");
        return false;
    }
    png_infop Info = png_create_info_struct(Png);
    if (!Info || setjmp(png_jmpbuf(Png))) {
        png_destroy_write_struct(&Png, &Info);
        Error = tError(std::string("PNG encoder: ") + (State.Message[0] ? State.Message : "out of memory"));
        return false;
    }
    png_set_write_fn(Png, &State, WriteData, Flush);
    png_set_filter(Png, PNG_FILTER_TYPE_BASE, Palette ? PNGFiltersIndexed : PNGFiltersRGB);
    png_set_compression_level(Png, PNGCompression);
    png_set_IHDR(Png, Info, static_cast<png_uint_32>(Width), static_cast<png_uint_32>(Height), Depth, ColourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (Palette)
        png_set_PLTE(Png, Info, Palette, PaletteSize);
    png_write_info(Png, Info);
    png_write_image(Png, Rows);
    png_write_end(Png, Info);
    png_destroy_write_struct(&Png, &Info);
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
    return Encode(Picture.Width, Picture.Height, PNG_COLOR_TYPE_PALETTE, Palette, 256, Rows.data(), Out, Error);
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
    return Encode(Picture.Width, Picture.Height, PNG_COLOR_TYPE_PALETTE, Palette, Colours, Rows.data(), Out, Error,
                  BitsPerPixel);
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
        return Encode(Picture.Width, Picture.Height, PNG_COLOR_TYPE_PALETTE, Palette, Count, Rows.data(), Out, Error);
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
    return Encode(Picture.Width, Picture.Height, PNG_COLOR_TYPE_RGB, nullptr, 0, Rows.data(), Out, Error);
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
