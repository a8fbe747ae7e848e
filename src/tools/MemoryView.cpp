#include "tools/MemoryView.h"

#include <algorithm>
#include <cstring>

#include "core/FileIO.h"
#include "core/PictureFiles.h"

tTileDecoder tMemoryView::TileDecoder() const
{
    switch (Decoder) {
    case tMemDecoder::Bpp1:
        return Decode1bpp;
    case tMemDecoder::Bpp2:
        return Decode2bpp;
    case tMemDecoder::Bpp3:
        return Decode3bpp;
    case tMemDecoder::Bpp4:
    case tMemDecoder::FX:
        return Decode4bpp;
    case tMemDecoder::Bpp8:
        return Decode8bpp;
    case tMemDecoder::M7BG1:
    case tMemDecoder::M7BG2:
        return Source == tMemSource::VRAM ? DecodeMode7 : DecodeLinear8;
    }
    return Decode4bpp;
}

int DecoderDepth(tMemDecoder Decoder)
{
    static constexpr int Depths[MemDecoderCount] = {1, 2, 3, 4, 8, 4, 8, 8};
    return Depths[static_cast<int>(Decoder) & 7];
}

void tMemoryView::Update()
{
    BitsPerPixel = DecoderDepth(Decoder);
    TilesX = std::clamp(TilesX, MinTiles, MaxTiles);
    TilesY = std::clamp(TilesY, MinTiles, MaxTiles);
    if (Decoder == tMemDecoder::FX) {
        WindowBytes = static_cast<uint64_t>(TilesY) * 8 * FXLineBytes;
        return;
    }
    TileBytes = static_cast<uint64_t>(BitsPerPixel) * 8;
    if (Mode7() && Source == tMemSource::VRAM)
        TileBytes *= 2;
    WindowBytes = static_cast<uint64_t>(TilesX) * static_cast<uint64_t>(TilesY) * TileBytes;
}

void tMemoryView::Clamp()
{
    Offset = std::min(Offset, MaxOffset());
    Offset = std::max<int64_t>(Offset, 0);
    SourceOffsets[static_cast<size_t>(Source)] = Offset;
}

uint64_t tMemoryView::JumpWidth(bool ByWindow, bool ByLine) const
{
    if (ByWindow)
        return WindowBytes;
    return ByLine ? TileBytes * static_cast<uint64_t>(TilesX) : TileBytes;
}

void tMemoryView::Jump(int Direction, bool ByWindow, bool ByLine)
{
    const auto Width = static_cast<int64_t>(JumpWidth(ByWindow, ByLine));
    Offset += Direction < 0 ? -Width : Width;
    Clamp();
}

void tMemoryView::SelectSource(tMemSource S, uint64_t Size)
{
    SourceOffsets[static_cast<size_t>(Source)] = Offset;
    Source = S;
    SourceSize = Size;
    Offset = SourceOffsets[static_cast<size_t>(S)];
}

void tMemoryView::DecodeWindow(std::span<const uint8_t> Data, tPicture8& Picture) const
{
    Picture.Resize(TilesX * 8, TilesY * 8);
    const uint64_t Size = Data.size();
    const auto Start = static_cast<uint64_t>(std::max<int64_t>(Offset, 0));

    if (Decoder == tMemDecoder::FX) {
        // Each line is 256 bytes: the low nibbles fill the left half of the
        // line, the high nibbles the right half. A picture narrower than 512
        // pixels keeps that layout over the bytes it has room for; one wider
        // shows nothing right of the line.
        const int W = std::min(Picture.Width, FXLinePixels);
        const int Half = W / 2;
        for (int y = 0; y < Picture.Height; ++y) {
            uint8_t* Row = Picture.Row(y);
            const uint64_t Line = Start + static_cast<uint64_t>(y) * FXLineBytes;
            for (int i = 0; i < Half; ++i) {
                const uint64_t At = Line + static_cast<uint64_t>(i);
                const uint8_t B = At < Size ? Data[At] : 0;
                Row[i] = static_cast<uint8_t>(B & 15);
                Row[Half + i] = static_cast<uint8_t>(B >> 4);
            }
        }
        return;
    }

    const tTileDecoder Decode = TileDecoder();
    const uint64_t Bytes = TileBytes;
    std::array<uint8_t, 128> Padded{};
    uint8_t Tile[64];
    uint64_t P = Start;
    for (int ty = 0; ty < TilesY; ++ty)
        for (int tx = 0; tx < TilesX; ++tx, P += Bytes) {
            std::memset(Tile, 0, sizeof Tile);
            if (P < Size && Bytes <= Size - P) {
                Decode(Data.data() + P, Tile);
            } else if (P < Size) {
                // The source ends inside this tile: the missing bytes are 0.
                Padded.fill(0);
                std::memcpy(Padded.data(), Data.data() + P, static_cast<size_t>(Size - P));
                Decode(Padded.data(), Tile);
            }
            for (int r = 0; r < 8; ++r)
                std::memcpy(Picture.Row(ty * 8 + r) + tx * 8, Tile + r * 8, 8);
        }
}

void ApplyMemoryPalette(tPicture8& Picture, const std::array<uint32_t, 256>& Palette, int SelectedIndex,
                        tMemDecoder Decoder, bool DirectColour, const std::array<uint32_t, 256>& DirectTable)
{
    const int Bits = DecoderDepth(Decoder);
    std::array<uint32_t, 256> Copy = Palette;
    int Base = 0;
    if (Decoder == tMemDecoder::M7BG2)
        std::copy_n(Copy.begin(), 128, Copy.begin() + 128);
    else
        Base = ((SelectedIndex & 255) >> Bits) << Bits;
    if (DirectColour && (Decoder == tMemDecoder::M7BG1 || Decoder == tMemDecoder::Bpp8)) {
        Copy = DirectTable;
        Base = 0;
    }
    Picture.ColourTable.fill(0);
    std::copy(Copy.begin() + Base, Copy.end(), Picture.ColourTable.begin());
}

int SavedDepth(int BitsPerPixel)
{
    return BitsPerPixel <= 1 ? 1 : BitsPerPixel <= 4 ? 4 : 8;
}

bool SaveMemoryPicture(const std::string& FileName, const tPicture8& Picture, int BitsPerPixel, tError& Error)
{
    const int Colours = 1 << std::clamp(BitsPerPixel, 1, 8);
    const int Depth = SavedDepth(BitsPerPixel);
    std::vector<uint8_t> Data;
    const bool Encoded = IsPNGName(FileName) ? EncodeIndexedPNG(Picture, Depth, Colours, Data, Error)
                                             : EncodeIndexedBMP(Picture, Depth, Colours, Data, Error);
    return Encoded && WriteFileAtomic(FileName, Data, Error);
}

int64_t ZoomedLength(int64_t Length, int Zoom)
{
    return Zoom >= 0 ? Length << Zoom : Length >> -Zoom;
}

tZoomResult ZoomAt(int Zoom, int64_t X, int64_t Y, int Step, int64_t VisibleW, int64_t VisibleH)
{
    tZoomResult R;
    R.Zoom = Zoom;
    const int New = Zoom + Step;
    if (New < MinZoom || New > MaxZoom)
        return R;
    R.Changed = true;
    R.Zoom = New;
    const int64_t SX = Step >= 0 ? X << Step : X >> -Step;
    const int64_t SY = Step >= 0 ? Y << Step : Y >> -Step;
    R.ScrollX = std::max<int64_t>(SX - VisibleW / 2, 0);
    R.ScrollY = std::max<int64_t>(SY - VisibleH / 2, 0);
    return R;
}
