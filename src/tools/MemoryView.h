#pragma once
// The memory viewer's model: which bytes of which memory the window shows,
// how they are decoded into an 8-bit picture, how the picture is coloured,
// and the arithmetic of offsets, jumps, percentages and zoom. The window only
// binds this to its controls.
//
// Offsets and sizes are 64-bit: a 32 MiB ROM times 100 does not fit 32 bits.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "core/Error.h"
#include "core/Picture8.h"
#include "core/Tiles.h"
#include "tools/WindowOffset.h"

// The decoder buttons, in the window's order.
enum class tMemDecoder : int { Bpp1, Bpp2, Bpp3, Bpp4, Bpp8, FX, M7BG1, M7BG2 };
inline constexpr int MemDecoderCount = 8;
enum class tMemSource : int { VRAM, WRAM, ROM };
// Bits per pixel a decoder shows (FX pixels are 4-bit, mode 7's 8-bit).
int DecoderDepth(tMemDecoder Decoder);
inline constexpr int MemSourceCount = 3;

// Window size in tiles on each axis; 256 x 8 pixels keeps the picture at
// most 2048 x 2048 bytes.
inline constexpr int MinTiles = 1, MaxTiles = 256;
inline constexpr int MinZoom = -3, MaxZoom = 3;
// An FX line is 256 bytes of two 4-bit pixels each.
inline constexpr int FXLineBytes = 256;
inline constexpr int FXLinePixels = 512;

class tMemoryView
{
  public:
    tMemDecoder Decoder = tMemDecoder::Bpp4;
    tMemSource Source = tMemSource::VRAM;
    int TilesX = 16, TilesY = 32;
    int64_t Offset = 0;
    uint64_t SourceSize = 65536;
    // The offset each source had when it was last left.
    std::array<int64_t, MemSourceCount> SourceOffsets{};

    // Derived by Update from the decoder, the source and the window size.
    int BitsPerPixel = 4;
    uint64_t TileBytes = 32;
    uint64_t WindowBytes = 16 * 32 * 32;

    bool Mode7() const { return Decoder == tMemDecoder::M7BG1 || Decoder == tMemDecoder::M7BG2; }
    // Mode 7 tiles in VRAM sit in the odd bytes of 128; elsewhere they are
    // stored as 64 plain bytes.
    tTileDecoder TileDecoder() const;
    // Recomputes the derived sizes. FX has no tiles: its windows are rows of
    // eight 256-byte lines, and the tile size stays what it was (the line jump
    // keeps its width).
    void Update();

    // Largest offset that keeps the window inside the source; negative when
    // the window is larger than the source.
    int64_t MaxOffset() const { return static_cast<int64_t>(SourceSize) - static_cast<int64_t>(WindowBytes); }
    // Holds the offset within 0..MaxOffset (0 when that is empty) and
    // remembers it for the source.
    void Clamp();
    bool CanMinus() const { return Offset >= 1; }
    bool CanPlus() const { return MaxOffset() > Offset; }
    bool OffsetEnabled() const { return CanMinus() || CanPlus(); }
    uint64_t JumpWidth(bool ByWindow, bool ByLine) const;
    // Direction -1 back, +1 forward; then Clamp.
    void Jump(int Direction, bool ByWindow, bool ByLine);
    void SelectSource(tMemSource S, uint64_t Size);

    // The window's place in the source, for the offset field and caption
    // (a window exactly the size of the source, or larger, cannot move).
    tWindowOffset Position() const { return {Offset, MaxOffset()}; }

    // Decodes the window of Data into Picture (TilesX x 8 by TilesY x 8).
    // Never reads past Data: bytes beyond its end decode as zero.
    void DecodeWindow(std::span<const uint8_t> Data, tPicture8& Picture) const;
};

// The decoder of the memory viewer's picture colours: the renderer's palette,
// shifted so that pixel value 0 shows the first colour of the selected
// colour's group; mode 7 BG2 shows its 128 colours in both halves (bit 7 is
// the pixel's priority); with direct colour on, the 8-bit decoders show the
// direct colours of DirectTable.
void ApplyMemoryPalette(tPicture8& Picture, const std::array<uint32_t, 256>& Palette, int SelectedIndex,
                        tMemDecoder Decoder, bool DirectColour, const std::array<uint32_t, 256>& DirectTable);

// Saving the view: 1 bit per pixel stays 1, 2 to 4 become 4, 8 stays 8; the
// colour table keeps the first 2^BitsPerPixel colours. ".png" (any case) is
// written as PNG, any other name as BMP; an atomic write keeps the old file
// when it fails.
int SavedDepth(int BitsPerPixel);
bool SaveMemoryPicture(const std::string& FileName, const tPicture8& Picture, int BitsPerPixel, tError& Error);

// Zoom: the picture shows at 2^Zoom times its size.
int64_t ZoomedLength(int64_t Length, int Zoom);
struct tZoomResult {
    bool Changed = false;
    int Zoom = 0;
    int64_t ScrollX = 0, ScrollY = 0; // the clicked point in the middle of the view
};
// One zoom step at the point (X, Y) of the zoomed picture; nothing changes
// outside MinZoom..MaxZoom.
tZoomResult ZoomAt(int Zoom, int64_t X, int64_t Y, int Step, int64_t VisibleW, int64_t VisibleH);
