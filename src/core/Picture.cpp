#include "core/Picture32.h"
#include "core/Picture8.h"

#include <algorithm>
#include <cmath>

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

// What each output pixel of one axis takes from the source: the source pixels
// it covers and how much of each, the shares adding up to 1.
struct tSpan {
    int32_t First = 0;
    std::vector<double> Shares;
};

std::vector<tSpan> AreaSpans(int32_t SourceSize, int32_t Size)
{
    std::vector<tSpan> Spans(static_cast<size_t>(Size));
    const double Step = static_cast<double>(SourceSize) / Size;
    for (int32_t i = 0; i < Size; ++i) {
        const double From = i * Step, To = std::min((i + 1) * Step, static_cast<double>(SourceSize));
        tSpan& S = Spans[static_cast<size_t>(i)];
        S.First = static_cast<int32_t>(From);
        for (int32_t k = S.First; k < SourceSize && k < To; ++k)
            S.Shares.push_back((std::min(To, k + 1.0) - std::max(From, static_cast<double>(k))) / (To - From));
    }
    return Spans;
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

tPicture32 ScaleToFit(const tPicture32& Source, int32_t Side, int32_t PixelWidth, int32_t PixelHeight)
{
    tPicture32 Out;
    if (Side < 1 || Source.Width < 1 || Source.Height < 1 || PixelWidth < 1 || PixelHeight < 1)
        return Out;
    // The size the picture is seen at, with square pixels, then fitted.
    const double SeenW = static_cast<double>(Source.Width) * PixelWidth / std::min(PixelWidth, PixelHeight);
    const double SeenH = static_cast<double>(Source.Height) * PixelHeight / std::min(PixelWidth, PixelHeight);
    const double Scale = std::min(1.0, Side / std::max(SeenW, SeenH));
    const auto Fit = [](double V) { return std::max<int32_t>(1, static_cast<int32_t>(std::lround(V))); };
    const int32_t W = Fit(SeenW * Scale), H = Fit(SeenH * Scale);
    if (W > Source.Width || H > Source.Height) {
        // Only non-square pixels grow: repeat them before averaging down.
        tPicture32 Square = Source;
        Square.Stretch(PixelHeight > PixelWidth ? 1 : PixelWidth, PixelWidth > PixelHeight ? 1 : PixelHeight);
        return ScaleToFit(Square, Side);
    }
    const std::vector<tSpan> Columns = AreaSpans(Source.Width, W), Rows = AreaSpans(Source.Height, H);
    Out.Resize(W, H);
    std::vector<double> Line(static_cast<size_t>(Source.Width) * 3);
    for (int32_t y = 0; y < H; ++y) {
        const tSpan& R = Rows[static_cast<size_t>(y)];
        std::fill(Line.begin(), Line.end(), 0.0);
        for (size_t k = 0; k < R.Shares.size(); ++k) {
            const uint32_t* Src = Source.Row(R.First + static_cast<int32_t>(k));
            for (size_t x = 0; x < static_cast<size_t>(Source.Width); ++x)
                for (size_t c = 0; c < 3; ++c)
                    Line[x * 3 + c] += R.Shares[k] * static_cast<double>(Src[x] >> (16 - 8 * c) & 0xFF);
        }
        uint32_t* Dst = Out.Row(y);
        for (int32_t x = 0; x < W; ++x) {
            const tSpan& C = Columns[static_cast<size_t>(x)];
            uint32_t Pixel = 0;
            for (size_t c = 0; c < 3; ++c) {
                double Sum = 0;
                for (size_t k = 0; k < C.Shares.size(); ++k)
                    Sum += C.Shares[k] * Line[(static_cast<size_t>(C.First) + k) * 3 + c];
                Pixel |= static_cast<uint32_t>(std::clamp(std::lround(Sum), 0L, 255L)) << (16 - 8 * c);
            }
            Dst[x] = Pixel;
        }
    }
    return Out;
}

tPicture32 ScreenThumbnail(tPicture32 Screen, int32_t Side)
{
    const bool Wide = Screen.Width >= 512, Tall = Screen.Height >= 448;
    if (Wide == Tall && Side >= Screen.Width && Side >= Screen.Height && Screen.Width > 0 && Screen.Height > 0)
        return Screen;
    return ScaleToFit(Screen, std::min(Side, 4096), Wide || !Tall ? 1 : 2, Tall || !Wide ? 1 : 2);
}
