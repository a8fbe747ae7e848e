#pragma once
// A picture of 32-bit pixels 0x00RRGGBB (in memory the bytes blue, green,
// red, 0), the form of composed screens and of pictures read from files.

#include <cstddef>
#include <cstdint>
#include <vector>

class tPicture32
{
  public:
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint32_t> Pixels; // Height rows of Width pixels

    // New size with every pixel 0.
    void Resize(int32_t W, int32_t H);
    uint32_t* Row(int32_t Y) { return Pixels.data() + static_cast<size_t>(Y) * static_cast<size_t>(Width); }
    const uint32_t* Row(int32_t Y) const { return Pixels.data() + static_cast<size_t>(Y) * static_cast<size_t>(Width); }
    uint32_t At(int32_t X, int32_t Y) const { return Row(Y)[X]; }
    // Redraws the picture stretched by whole factors (pixel repetition).
    void Stretch(int32_t FactorX, int32_t FactorY);
};

// The picture scaled down to fit a Side x Side square, each output pixel the
// area-weighted average of the source pixels it covers. PixelWidth and
// PixelHeight give the shape of a source pixel (a 512-pixel-wide hi-res
// screen has pixels half as wide as tall: 1, 2), so the result keeps the
// shape the screen is seen in. A picture that already fits keeps its pixels
// unless its pixels are not square. Side below 1 gives an empty picture.
tPicture32 ScaleToFit(const tPicture32& Source, int32_t Side, int32_t PixelWidth = 1, int32_t PixelHeight = 1);
// A composed screen fitted into Side x Side (at most 4096), seen as the
// television shows it: a 512-pixel-wide hi-res screen has pixels half as wide
// as tall, an interlaced one (448 lines or more) half as tall as wide. A
// screen that already fits is handed back as it is.
tPicture32 ScreenThumbnail(tPicture32 Screen, int32_t Side);
