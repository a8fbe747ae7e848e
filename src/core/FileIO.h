#pragma once
// Whole-file reading with a size bound, and writing that never leaves a
// half-written file behind: every writer of the program goes through
// WriteFileAtomic, which writes a temporary file beside the target and renames
// it over the target only when everything has been written.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/Error.h"

// The largest file any reader takes in whole. The biggest legitimate inputs
// are cartridge images (a 6 MiB ROM plus copier header, patched up to 16 MiB)
// and savestates of well under 1 MiB; 64 MiB leaves room and still cannot
// exhaust memory.
inline constexpr uint64_t MaxInputFileSize = 64ull << 20;

// Reads the whole file. On failure returns false and puts the reason (in
// words, naming no file) into Error; files larger than Limit are refused.
bool ReadWholeFile(const std::string& FileName, std::vector<uint8_t>& Data, tError& Error,
                   uint64_t Limit = MaxInputFileSize);

// Reads at most Count bytes from the start of the file (less when it is
// shorter): the signature tests.
bool ReadFileHead(const std::string& FileName, size_t Count, std::vector<uint8_t>& Head, tError& Error);

// Both readers take regular files only: a named pipe would block them for
// ever and a device never ends. Folders are "is a directory", other kinds
// "is not a regular file".

// Writes Data to FileName through a temporary file in the same folder that is
// renamed over FileName when complete. On failure the old file is untouched,
// the temporary is removed, and Error holds the system's reason.
bool WriteFileAtomic(const std::string& FileName, std::span<const uint8_t> Data, tError& Error);
bool WriteFileAtomic(const std::string& FileName, std::string_view Text, tError& Error);

// Batch writers (the command-line tool writing hundreds of pictures) may let
// new files reach the disk with the rest of the batch: a file that did not
// exist before loses nothing if a crash cuts it short, and one flush for the
// batch costs what a single file's flush does. A file that replaces another
// is still flushed before the rename, so the old content survives a crash.
// Off by default; whoever turns it on calls FlushBatch when done, unless its
// files are made again anyway when lost (a file manager's thumbnails).
void SetBatchWrites(bool Batch);
// Flushes the file system holding Path (a file or folder) to the disk.
void FlushBatch(const std::string& Path);

bool FileExists(const std::string& FileName);
bool DirectoryExists(const std::string& Path);
