#pragma once
// The preview pictures savestates carry, as the preview window shows and
// saves them: the ZSNES 64 x 56 picture of 5-6-5 words and the Super Sleuth
// thumbnail of 24-bit pixels, both turned into 32-bit pictures.

#include <optional>
#include <span>

#include "core/Picture32.h"
#include "savestates/SSL_Bitmap.h"

// The ZSNES preview: 56 rows of 64 little-endian 5-6-5 words, top row
// first; bytes missing at the end stay black.
tPicture32 ZSTPreviewPicture(std::span<const uint8_t> Bytes);
// The Super Sleuth thumbnail; nothing when it has no width or no height, or
// its pixels fall short of its size.
std::optional<tPicture32> SSLPreviewPicture(const tSSL_Bitmap24& Bitmap);
