#pragma once
// The pictures the scene viewer shows beside the composed screen: a
// background layer as a whole plane, all sprites on one sheet, and the mode
// 7 plane. Each is an 8-bit picture of CGRAM indexes whose colour table
// marks the transparent colour numbers.

#include <array>
#include <cstdint>

class tPPU;
class tPicture8;

// The viewer's "transparency" group.
struct tTransparency {
    enum tKind : uint8_t { FixedColour, None, Custom, Colour0 };
    tKind Kind = FixedColour;  // "col. const." is the first choice
    uint32_t CustomColour = 0; // 0x00RRGGBB for "custom:"
};

// The colour that stands for transparent pixels.
uint32_t TransparentColour(const tPPU& P, const tTransparency& T);
// The palette with every entry whose index is a multiple of PaletteSize
// replaced by the transparent colour (unless there is no transparency).
void ApplyTransparency(const tPPU& P, const tTransparency& T, uint32_t PaletteSize, std::array<uint32_t, 256>& Table);

// Background layer N (0..3), tiles of the priorities whose flag is set;
// PixelWidth x PixelHeight, 0 x 0 for an absent layer.
void DrawBGPlane(const tPPU& P, int N, bool Priority0, bool Priority1, const tTransparency& T, tPicture8& Out);

// All sprites on a 576 x 320 sheet at their X, Y without wrapping, the first
// in rotation order on top. Active: the sprites to draw; Priorities: which
// sprite priorities to draw.
void DrawSpriteSheet(const tPPU& P, const std::array<uint8_t, 128>& Active, const std::array<uint8_t, 4>& Priorities,
                     const tTransparency& T, tPicture8& Out);

// The 1024 x 1024 mode 7 plane. ExtBG: the EXTBG view (bit 7 of a pixel is
// its priority: Priority1 shows pixels with it set, Priority0 those without).
// Otherwise Priority0 shows the plane at all; DirectColour colours it from
// the direct colour table of palette 0.
void DrawMode7Plane(const tPPU& P, bool ExtBG, bool DirectColour, bool Priority0, bool Priority1,
                    const tTransparency& T, tPicture8& Out);
