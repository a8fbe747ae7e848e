#pragma once
// ZSNES savestates and movies. A loaded file is kept as three parts: the
// fixed state image, the bytes after it that the program does not interpret
// (chip data, extra timing variables, SRAM, movie input) and the preview
// picture; all three are written back unchanged where the machine state does
// not model them, so a loaded file saves byte for byte.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Broadcast.h"
#include "core/SNES.h"
#include "savestates/ZSTLayout.h"

class tZST : public tReceiver, public tSavestateFormat
{
  public:
    // The largest file taken in: a fixed image, every chip's data, 128 KiB of
    // SRAM and the preview stay far below 1 MiB; old movies add their input
    // stream, a few bytes per frame.
    static constexpr uint64_t MaxFileSize = 16ull << 20;

    bool HasPreview = false;
    std::array<uint8_t, ZSTLayout::ImageSize> StateImage{};
    std::vector<uint8_t> Rest;
    std::array<uint8_t, ZSTLayout::PreviewSize> Preview{};
    std::vector<uint8_t> FileStream;

    // ".zmv", ".zm1"-".zm9" (movies, indexes 0-9), ".zst", ".zs1"-".zs9".
    static const std::vector<std::string>& Extensions();
    // Index in Extensions of the file's extension, ignoring case; -1 if none.
    static int ExtensionIndex(const std::string& FileName);

    // True when the file starts with the ZSNES signature and 0x1A at byte 26.
    static bool IsZSTFile(const std::string& FileName);
    bool IsFormatFile(const std::string& FileName) override { return IsZSTFile(FileName); }

    // Loads a savestate or movie file; reports failures through Messages().
    bool LoadFromFile(const std::string& FileName) override;
    // Loads file bytes held in memory; Name is used in messages.
    bool LoadFromMemory(std::span<const uint8_t> Data, std::string_view Name, bool Movie);
    // Rebuilds the file from the three parts and writes it atomically.
    bool SaveToFile(const std::string& FileName);

    // The fixed image's length in the file: shorter without the sound part.
    size_t ImageLength() const;
    void SplitStream(bool FromFile, bool Movie);
    void BuildStream();
    void ImageToMachine();
    void MachineToImage();
    void ClearImage();

    // The preview of a file on disk as 64 x 56 RGB565 pixels, top row first.
    static bool LoadPreview(const std::string& FileName, std::array<uint16_t, 64 * 56>& Pixels);

    void Notify(const void* Sender, tNote Msg) override;

  private:
    bool IsSelf(const void* Sender) const { return Sender == static_cast<const void*>(this); }
    bool Split(bool Movie, std::string_view Name);
};

extern tZST* ZST;
