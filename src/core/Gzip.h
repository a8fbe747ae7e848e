#pragma once
// gzip compression of a whole buffer in place (Snes9x savestates and SMV
// movies carry gzip data).

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

// No savestate, movie or cartridge decompresses to more than a few MiB; a
// stream that claims more is refused before it can exhaust memory.
inline constexpr size_t MaxGunzipSize = 64u << 20;

// Replaces Data with its gzip form (compression level 9, as Snes9x writes).
// On failure Data is unchanged and Error holds the reason.
bool GzipStream(std::vector<uint8_t>& Data, std::string& Error);
// Replaces gzip data with its content; data without a gzip header passes
// through unchanged. Corrupt or truncated data, or content larger than Limit,
// gives false with the reason in Error and leaves Data unchanged.
bool GunzipStream(std::vector<uint8_t>& Data, std::string& Error, size_t Limit = MaxGunzipSize);
// The same, inflating in steps and stopping early: after each step Stop sees
// the content so far and returns the size to cut it at, or 0 to go on.
bool GunzipStream(std::vector<uint8_t>& Data, std::string& Error, size_t Limit,
                  const std::function<size_t(std::span<const uint8_t>)>& Stop);
// The first Count bytes of the content (fewer when the content is shorter):
// inflates only as far as that, so a signature test on a packed file costs a
// few bytes of work, not the whole file. Data without a gzip header is its
// own content. False on corrupt data before Count bytes came out.
bool GunzipHead(std::span<const uint8_t> Data, size_t Count, std::vector<uint8_t>& Head);
// True when Data starts with the gzip signature $1F $8B.
bool IsGzipData(const std::vector<uint8_t>& Data);
