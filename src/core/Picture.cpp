#include "core/Picture32.h"
#include "core/Picture8.h"

#include <algorithm>

namespace
{
template <typename tPixel>
void StretchPixels(std::vector<tPixel>& Pixels, int32_t& Width, int32_t& Height, int32_t FX, int32_t FY)
{
    if (FX < 1 || FY < 1 || (FX == 1 && FY == 1))
        return;
    const int32_t W = Width * FX, H = Height * FY;
    const size_t Stride = static_cast<size_t>(W);
    std::vector<tPixel> Out(Stride * static_cast<size_t>(H));
    // Each source row is widened once and its copies made whole.
    for (int32_t y = 0; y < Height; ++y) {
        const tPixel* Src = Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(Width);
        tPixel* Dst = Out.data() + static_cast<size_t>(y) * static_cast<size_t>(FY) * Stride;
        tPixel* D = Dst;
        for (int32_t x = 0; x < Width; ++x)
            for (int32_t f = 0; f < FX; ++f)
                *D++ = Src[x];
        for (int32_t k = 1; k < FY; ++k)
            std::copy_n(Dst, Stride, Dst + static_cast<size_t>(k) * Stride);
    }
    Pixels.swap(Out);
    Width = W;
    Height = H;
}
} // namespace

void tPicture8::Resize(int32_t W, int32_t H)
{
    Width = std::max(W, 0);
    Height = std::max(H, 0);
    Pixels.assign(static_cast<size_t>(Width) * static_cast<size_t>(Height), 0);
}

void tPicture8::Stretch(int32_t FactorX, int32_t FactorY)
{
    StretchPixels(Pixels, Width, Height, FactorX, FactorY);
}

void tPicture32::Resize(int32_t W, int32_t H)
{
    Width = std::max(W, 0);
    Height = std::max(H, 0);
    Pixels.assign(static_cast<size_t>(Width) * static_cast<size_t>(Height), 0);
}

void tPicture32::Stretch(int32_t FactorX, int32_t FactorY)
{
    StretchPixels(Pixels, Width, Height, FactorX, FactorY);
}
