#pragma once
// What the savestate and cartridge browsers show of a folder, without Qt so
// that it can run on a worker thread and be tested alone:
//   tFolderListing L = ListFolder(Dir);             // one pass over the folder
//   auto Groups = GroupSavestates(L);               // by name only, no file read
//   DetectGroups(Groups, Cache, true);              // header checks, cached
//   auto Carts = ListCartridges(L, CartExtensionList(Options().Memo_CartExts));
// Savestates are grouped by their exact base name: the name is never taken as
// a pattern, so brackets, dots and spaces in it are ordinary characters.

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/StateNames.h"

struct tFolderFile {
    std::string Name; // without folder
    uint64_t Size = 0;
    int64_t MTime = 0; // the file system's modification time, in its own ticks
};
// ListFolder leaves Size and MTime at 0: a look at every file of a big folder
// on a slow disk costs more than reading the folder; FileFacts fills them for
// the files that are wanted.

struct tFolderListing {
    std::string Dir; // with a trailing separator
    bool Ok = false;
    std::string Error;
    std::vector<std::string> Dirs; // subfolder names, sorted
    std::vector<tFolderFile> Files;
};

// Reads the folder once: the names of its subfolders and files. Entries that
// cannot be read while listing are left out.
tFolderListing ListFolder(const std::string& Dir);
// The size and time of a file now; nothing when it is gone or no file.
std::optional<tFolderFile> FileFacts(const std::string& Path);

// The base name of a savestate file (its name without the savestate
// extension); the whole name for one that has no savestate extension.
std::string StateBaseName(const std::string& Name);
// "3 ZST", "0 (m) ZST", "7 S9X", "4 SGT", "12 SSL".
std::string SlotCaption(const tStateName& N);

// What the browser needs of a savestate file; Format is FormatNone until the
// header check ran (Checked) and when it failed.
struct tSlotEntry {
    std::string Name, Path, Caption;
    tStateName Slot;
    uint8_t Format = FormatNone;
    bool Checked = false;
    uint64_t Size = 0;
    int64_t MTime = 0;
};
struct tStateGroup {
    std::string Base;
    std::vector<tSlotEntry> Slots; // by slot number, then format, then kind
};

// The files whose extension names a savestate format, by base name (sorted)
// and slot, with their size and time; no file is opened, and a file gone
// since the listing is left out.
std::vector<tStateGroup> GroupSavestates(const tFolderListing& L);

// The thumbnail of a savestate: 64 x 56 RGB565 pixels, top row first.
using tThumbnail = std::vector<uint16_t>;
inline constexpr int ThumbWidth = 64, ThumbHeight = 56;

// Format checks and thumbnails per file, valid while the file keeps its size
// and modification time. Safe to use from several threads. Thumbnails are
// the bulk of it, so only so many are kept.
class tFolderCache
{
  public:
    static constexpr size_t MaxEntries = 200000;
    static constexpr size_t MaxThumbnails = 4096;

    // The format of the file as its header says (a Snes9x file is inflated
    // only as far as its signature); CheckZST off takes ZSNES names on trust.
    uint8_t Format(const std::string& Path, uint64_t Size, int64_t MTime, bool CheckZST);
    // The file's preview picture, or nothing (no picture, or not a format
    // that has one).
    std::optional<tThumbnail> Thumbnail(const std::string& Path, uint8_t Format, uint64_t Size, int64_t MTime);
    size_t Size() const;
    void Clear();

  private:
    struct tEntry {
        uint64_t Size = 0;
        int64_t MTime = 0;
        int8_t Format = -1; // -1 not checked yet
        int8_t HasThumb = -1;
        tThumbnail Thumb;
    };
    tEntry& Find(const std::string& Path, uint64_t Size, int64_t MTime);
    mutable std::mutex Mutex_;
    std::unordered_map<std::string, tEntry> Entries_;
    size_t Thumbs_ = 0;
};

// Checks every slot's header (through the cache), drops the files of no
// format and the groups left empty.
void DetectGroups(std::vector<tStateGroup>& Groups, tFolderCache& Cache, bool CheckZST);

// The preview of one savestate file, read from disk; nothing when it has
// none. A ZSNES savestate holds one only when the file is long enough for its
// state image and the picture after it.
std::optional<tThumbnail> ReadThumbnail(const std::string& Path, uint8_t Format);

// The cartridge extensions from the lines of the options' text: words split
// at any white space, lower case, each with a point in front, ".zip" last.
std::vector<std::string> CartExtensionList(const std::vector<std::string>& Lines);

enum : int { CartIconROM = 2, CartIconZip = 4, CartIconIPS = 5 };
struct tCartEntry {
    std::string Base, Name, Path;
    int Icon = CartIconROM;
};
// One entry per base name, sorted by it; where several files share a base
// name the one whose extension comes first in the list wins.
std::vector<tCartEntry> ListCartridges(const tFolderListing& L, const std::vector<std::string>& Exts);
