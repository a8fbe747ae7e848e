#include "savestates/PreviewPicture.h"

#include <algorithm>

#include "savestates/ZSTLayout.h"

tPicture32 ZSTPreviewPicture(std::span<const uint8_t> Bytes)
{
    tPicture32 P;
    P.Resize(static_cast<int32_t>(ZSTLayout::PreviewWidth), static_cast<int32_t>(ZSTLayout::PreviewHeight));
    const size_t Count = std::min(P.Pixels.size(), Bytes.size() / 2);
    for (size_t i = 0; i < Count; ++i) {
        const uint32_t V = static_cast<uint32_t>(Bytes[2 * i] | Bytes[2 * i + 1] << 8);
        P.Pixels[i] = (V >> 11) << 19 | ((V >> 5) & 63) << 10 | (V & 31) << 3;
    }
    return P;
}

std::optional<tPicture32> SSLPreviewPicture(const tSSL_Bitmap24& Bitmap)
{
    const uint64_t Count = uint64_t{Bitmap.Width} * Bitmap.Height;
    if (Count == 0 || Count > MaxPreviewPixels || Bitmap.Pixels.size() < Count * 3)
        return std::nullopt;
    tPicture32 P;
    P.Resize(static_cast<int32_t>(Bitmap.Width), static_cast<int32_t>(Bitmap.Height));
    for (size_t i = 0; i < Count; ++i) {
        const uint8_t* B = &Bitmap.Pixels[3 * i];
        P.Pixels[i] = static_cast<uint32_t>(B[2] << 16 | B[1] << 8 | B[0]);
    }
    return P;
}
