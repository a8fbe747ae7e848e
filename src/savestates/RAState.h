#pragma once
// RetroArch's wrappings of a core's savestate: the "RASTATE" container
// (blocks of a 4-byte id, a little-endian u32 length, the payload and zero
// bytes up to a multiple of 8; "MEM " holds the core's stream) and rzip
// compression ("#RZIPv\x01#", chunk size, total size, then zlib chunks).
// Either, both or neither occur.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/Gzip.h"

bool IsRZipData(std::span<const uint8_t> Data);
bool IsRAStateData(std::span<const uint8_t> Data);

// Inflates rzip data into Out, in the room Out already has when that is
// enough. A total above Limit, a chunk claiming more than the file holds or
// inflating to more than the chunk size, or corrupt data gives false with
// the reason in Error; nothing larger than Limit is ever allocated.
bool UnpackRZip(std::span<const uint8_t> Data, tInflated& Out, std::string& Error, size_t Limit);
// The first Count bytes of rzip content (fewer when there are fewer): only
// the first chunk is inflated, and only that far.
bool RZipHead(std::span<const uint8_t> Data, size_t Count, tInflated& Head);
// The payload of the container's "MEM " block; false with Error when the
// container is cut or has no such block. Mem is a view into Data. With
// Head, Data is the head of a file and a cut "MEM " block gives what is there.
bool RAStateMemory(std::span<const uint8_t> Data, std::span<const uint8_t>& Mem, std::string& Error, bool Head = false);
// The core's stream inside whichever wrappings Data has, in Data or Room
// (the rzip content, at most Limit bytes); false with Error when a wrapping
// is damaged. With Head, Data is a file's head and only what it holds is read.
bool RetroArchStream(std::span<const uint8_t> Data, std::span<const uint8_t>& Stream, tInflated& Room,
                     std::string& Error, size_t Limit, bool Head = false);
