#pragma once
// The hex view's code page: a picture of 16 x 16 glyphs, glyph i in the
// block at (width / 16 x (i mod 16), height / 16 x (i div 16)), read from a
// PNG or BMP file the user picks. Only reading and checking live here; the
// hex view cuts the glyphs and draws.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/Error.h"
#include "core/Picture32.h"

// Glyphs are 8 x 16 pixels, so a smaller picture cannot hold 256 of them.
inline constexpr int32_t MinCodePageWidth = 128;
inline constexpr int32_t MinCodePageHeight = 256;
// The hex view makes its cells a sixteenth of the code page on each side; a
// side of 2048 already gives cells of 128 pixels. Larger pictures would only
// make the view's picture grow past what can be allocated.
inline constexpr int32_t MaxCodePageSide = 2048;

inline constexpr const char* CodePageTooSmall = "The codepage bitmap size must be at least 128x256 pixels.";

// A name ending in ".png" (any case, IsPNGName) is read as PNG, any other as
// a Windows bitmap; the content must be what the name says.

// Decodes a code page held in memory. Returns false with the reason in Error
// (CodePageTooSmall for a picture below 128 x 256); Out is only changed on
// success.
bool DecodeCodePage(std::span<const uint8_t> Data, bool AsPNG, tPicture32& Out, tError& Error);
bool ReadCodePage(const std::string& FileName, tPicture32& Out, tError& Error);

// Glyph i (0-255) of a code page of at least 128 x 256 pixels as ink: one
// byte per pixel of its (width / 16) x (height / 16) block, row by row, 1
// where the pixel differs from the key colour (the picture's bottom-left
// pixel, the background), 0 elsewhere.
std::vector<uint8_t> CodePageGlyph(const tPicture32& Page, int Index);
