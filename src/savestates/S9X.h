#pragma once
// Snes9x savestates (Snes9x 1.43, "#!snes9x:0001"), gzip-compressed or plain.
// Every block the program knows is kept in its own buffer; blocks and fields
// it does not interpret are written back as they were read.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Broadcast.h"
#include "core/SNES.h"
#include "savestates/S9XBlocks.h"

class tS9X : public tReceiver, public tSavestateFormat
{
  public:
    // A real state is about 90 KiB compressed and under 600 KiB inflated,
    // whatever build wrote it; these bounds leave room and refuse bombs.
    static constexpr uint64_t MaxFileSize = 16ull << 20;
    static constexpr size_t MaxContentSize = 4u << 20;

    tS9XBlocks Blocks;
    // The length field of the last block header read.
    uint32_t BlockLength = 0;
    // Names and lengths of the blocks the last file held, in file order.
    std::vector<std::pair<std::string, uint32_t>> FileBlocks;

    static bool IsS9XFile(const std::string& FileName);
    bool IsFormatFile(const std::string& FileName) override { return IsS9XFile(FileName); }

    // Reads the file and loads it; failures are reported through Messages().
    bool LoadFromFile(const std::string& FileName) override;
    // Loads file bytes (gzip or plain) held in memory; Name is used in messages.
    bool LoadFromStream(std::span<const uint8_t> Data, std::string_view Name);
    // The file as Snes9x reads it, gzip-compressed at level 9.
    bool SaveToStream(std::vector<uint8_t>& Out, std::string& Error) const;
    bool SaveToFile(const std::string& FileName);

    // Parses uncompressed content into the blocks; on failure the blocks are
    // cleared and Error says which block failed.
    bool ParseBlocks(std::span<const uint8_t> Content, std::string& Error);
    void BlocksToMachine();
    void MachineToBlocks();
    void ClearBlocks();
    // True when the blocks hold a file that was read, not a converted state.
    bool FromFile() const { return FromFile_; }

    void Notify(const void* Sender, tNote Msg) override;

  private:
    bool FromFile_ = false;
    bool IsSelf(const void* Sender) const { return Sender == static_cast<const void*>(this); }
};

extern tS9X* S9X;
