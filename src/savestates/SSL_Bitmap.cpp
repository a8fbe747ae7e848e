#include "savestates/SSL_Bitmap.h"

#include "core/ByteReader.h"

bool ReadSBMP(std::span<const uint8_t> Body, tSSL_Bitmap24& Out)
{
    Out = {};
    tByteReader R(Body);
    uint32_t W = 0, H = 0;
    if (!R.U32LE(W) || !R.U32LE(H))
        return false;
    const uint64_t Pixels = static_cast<uint64_t>(W) * H;
    if (Pixels > MaxPreviewPixels || Pixels * 3 != R.Remaining())
        return false;
    Out.Width = W;
    Out.Height = H;
    Out.Pixels.assign(Body.begin() + 8, Body.end());
    return true;
}

void AppendSBMP(const tSSL_Bitmap24& P, std::vector<uint8_t>& Out)
{
    for (uint32_t V : {P.Width, P.Height})
        for (int i = 0; i < 4; ++i)
            Out.push_back(static_cast<uint8_t>(V >> (8 * i)));
    Out.insert(Out.end(), P.Pixels.begin(), P.Pixels.end());
}

tSSL_Bitmap565 ScaleTo565(const tSSL_Bitmap24& P, uint32_t Width, uint32_t Height)
{
    tSSL_Bitmap565 Out;
    if (P.Width == 0 || P.Height == 0 || Width == 0 || Height == 0 ||
        static_cast<uint64_t>(Width) * Height > MaxPreviewPixels ||
        P.Pixels.size() < static_cast<uint64_t>(P.Width) * P.Height * 3)
        return Out;
    Out.Width = Width;
    Out.Height = Height;
    Out.Pixels.resize(static_cast<size_t>(Width) * Height);
    for (uint32_t y = 0; y < Height; ++y) {
        const uint64_t sy = static_cast<uint64_t>(y) * P.Height / Height;
        for (uint32_t x = 0; x < Width; ++x) {
            const uint64_t sx = static_cast<uint64_t>(x) * P.Width / Width;
            const uint8_t* Px = &P.Pixels[(sy * P.Width + sx) * 3];
            Out.Pixels[static_cast<size_t>(y) * Width + x] =
                static_cast<uint16_t>((Px[2] >> 3) << 11 | (Px[1] >> 2) << 5 | Px[0] >> 3);
        }
    }
    return Out;
}
