#pragma once
// The preview pictures of Super Sleuth states: the 24-bit "SBMP" picture as
// stored, and the 16-bit 5-6-5 picture the savestate browser shows.

#include <cstdint>
#include <span>
#include <vector>

// Rows top first, three bytes per pixel in blue, green, red order.
struct tSSL_Bitmap24 {
    uint32_t Width = 0;
    uint32_t Height = 0; // 0: no picture
    std::vector<uint8_t> Pixels;
};

// Rows top first, one 5-6-5 word per pixel (red in the top bits).
struct tSSL_Bitmap565 {
    uint32_t Width = 0;
    uint32_t Height = 0;
    std::vector<uint16_t> Pixels;
};

// Previews are thumbnails; a picture over a million pixels is not one, and
// taking it would let a hostile file ask for gigabytes.
inline constexpr uint64_t MaxPreviewPixels = 1024 * 1024;

// Reads an "SBMP" chunk body: u32 width, u32 height, the rows. False (and an
// empty picture) when the sizes disagree with the body's length or exceed
// MaxPreviewPixels.
bool ReadSBMP(std::span<const uint8_t> Body, tSSL_Bitmap24& Out);
// The body WriteSBMP stores: width, height, rows.
void AppendSBMP(const tSSL_Bitmap24& Picture, std::vector<uint8_t>& Out);
// The picture stretched (nearest pixel) to fill Width x Height.
tSSL_Bitmap565 ScaleTo565(const tSSL_Bitmap24& Picture, uint32_t Width, uint32_t Height);
