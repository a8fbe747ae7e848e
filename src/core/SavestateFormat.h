#pragma once
// What a savestate format offers the loader (app/Loader.h): a signature test
// on a bounded head of the file and a pure reader. The reader parses a file
// into a machine state and an image of the format that the caller owns; it
// touches no global and broadcasts nothing, so a file that fails to read
// costs the user nothing. The format object adopts the image only when the
// loader commits.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Error.h"

class tSNES;

// The names shown for StateFormat and StateKind (app/Loader.h).
inline constexpr std::array<const char*, 5> FormatNames = {"undefined", "ZST", "S9X", "SGT", "SSL"};
inline constexpr std::array<const char*, 3> KindNames = {"undefined", "savestate", "movie"};

enum : uint8_t { FormatNone = 0, FormatZST = 1, FormatS9X = 2, FormatSGT = 3, FormatSSL = 4 };
enum : uint8_t { KindNone = 0, KindSavestate = 1, KindMovie = 2 };

// A format's file image as its reader leaves it.
class tSavestateImage
{
  public:
    virtual ~tSavestateImage() = default;
    // What the file held that could not be read, told when the load commits.
    std::string LoadNote;
};

// What a reader hands back beside the machine state.
struct tParsedFile {
    std::unique_ptr<tSavestateImage> Image;
    // Save RAM the file carries, for the cartridge when the load commits.
    std::optional<std::vector<uint8_t>> SRAM;
};

// A format's signature test and reader as plain functions, for testing and
// reading files before the format's object is made.
struct tSavestateReader {
    bool (*IsFormatFile)(const std::string& FileName) = nullptr;
    bool (*Parse)(const std::string& FileName, tSNES& S, tParsedFile& Out, tError& Error) = nullptr;
};

class tSavestateFormat
{
  public:
    virtual ~tSavestateFormat() = default;
    // The format's own signature test; reads a bounded head of the file.
    virtual bool IsFormatFile(const std::string& FileName) = 0;
    // Reads the file into S (which the caller has cleared) and Out. On
    // failure Error holds the reason, naming no file.
    virtual bool Parse(const std::string& FileName, tSNES& S, tParsedFile& Out, tError& Error) const = 0;
    // Takes over the image of a parse that the loader commits; may announce
    // the format's own picture or sound ("new ZST.Preview", "new SPC").
    virtual void Adopt(tSavestateImage& Image) = 0;
};
