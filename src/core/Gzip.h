#pragma once
// gzip compression of a whole buffer in place (Snes9x savestates and SMV
// movies carry gzip data).

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

// No savestate, movie or cartridge decompresses to more than a few MiB; a
// stream that claims more is refused before it can exhaust memory.
inline constexpr size_t MaxGunzipSize = 64u << 20;

// Replaces Data with its gzip form (compression level 9, as Snes9x writes).
// On failure Data is unchanged and Error holds the reason.
bool GzipStream(std::vector<uint8_t>& Data, std::string& Error);
// Inflated bytes in a buffer that is not zero-filled before it is written:
// a state's content is a megabyte and more, written once. The room is kept
// when the buffer is filled again, so a reader that keeps one buffer from
// file to file writes into pages it already has.
struct tInflated {
    std::unique_ptr<uint8_t[]> Bytes;
    size_t Size = 0; // bytes of content
    size_t Room = 0; // bytes allocated
    std::span<const uint8_t> View() const { return {Bytes.get(), Size}; }
    // Makes Size bytes of room; the first Keep bytes of content stay.
    void Resize(size_t NewSize, size_t Keep);
};

// Replaces gzip data with its content; data without a gzip header passes
// through unchanged. Corrupt or truncated data, or content larger than Limit,
// gives false with the reason in Error and leaves Data unchanged.
bool GunzipStream(std::vector<uint8_t>& Data, std::string& Error, size_t Limit = MaxGunzipSize);
// The same, inflating in steps and stopping early: after each step Stop sees
// the content so far and returns the size to cut it at, or 0 to go on.
bool GunzipStream(std::vector<uint8_t>& Data, std::string& Error, size_t Limit,
                  const std::function<size_t(std::span<const uint8_t>)>& Stop);
// The whole content of gzip Data (every member) into Out, in one pass, in
// the room Out already has when that is enough.
// Corrupt or truncated data, or content larger than Limit, gives false with
// the reason in Error; room is taken from the members' size fields, grows when
// they lied and never passes Limit. Data must start with the gzip signature.
bool GunzipWhole(std::span<const uint8_t> Data, tInflated& Out, std::string& Error, size_t Limit = MaxGunzipSize);
// Inflates one zlib stream (RFC 1950) into Out; Made is the count written.
// False when the stream is damaged, cut or inflates to more than Out holds.
bool InflateZlib(std::span<const uint8_t> In, std::span<uint8_t> Out, size_t& Made);
// The first Count bytes of the content (fewer when the content is shorter):
// inflates only as far as that, so a signature test on a packed file costs a
// few bytes of work, not the whole file. Data without a gzip header is its
// own content. False on corrupt data before Count bytes came out.
bool GunzipHead(std::span<const uint8_t> Data, size_t Count, std::vector<uint8_t>& Head);
// True when Data starts with the gzip signature $1F $8B.
bool IsGzipData(std::span<const uint8_t> Data);
