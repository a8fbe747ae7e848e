#pragma once
// ZSNES savestates and movies. A loaded file is kept as three parts: the
// fixed state image, the bytes after it that the program does not interpret
// (chip data, extra timing variables, SRAM, movie input) and the preview
// picture; all three are written back unchanged where the machine state does
// not model them, so a loaded file saves byte for byte.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Receiver.h"
#include "core/Error.h"
#include "core/SavestateFormat.h"
#include "core/SNES.h"
#include "savestates/ZSTLayout.h"

// A ZSNES file as the program holds it.
struct tZSTImage : tSavestateImage {
    bool HasPreview = false;
    std::array<uint8_t, ZSTLayout::ImageSize> StateImage{};
    std::vector<uint8_t> Rest;
    std::array<uint8_t, ZSTLayout::PreviewSize> Preview{};
    std::vector<uint8_t> FileStream;
    bool Movie = false;     // read as a movie: no preview at the end
    std::string SourceName; // the file it came from, for messages
};

// The pure reader: parses file bytes into a machine state and an image the
// caller owns. A file shorter than its image is read as far as it goes (the
// rest zero) and still fails with the reason.
bool ParseZST(std::span<const uint8_t> Data, bool Movie, tSNES& S, tZSTImage& Image, tError& Error);
bool ReadZSTFile(const std::string& FileName, tSNES& S, tZSTImage& Image, tError& Error);
// Splits Image.FileStream into the image, the rest and the preview; false
// (with the reason) when it is shorter than the image.
bool SplitZSTStream(tZSTImage& Image, tError& Error);
// The image into the machine state, with what the extra data adds.
void ZSTFileToMachine(const tZSTImage& Image, tSNES& S);
// True when a V143 file's extra data follows its image directly (no chip
// data before it).
bool ZSTExtraFollowsImage(const tZSTImage& Image);
// The SRAM a V143 file carries after its extra data; nothing when the file
// does not show where it lies.
std::optional<std::vector<uint8_t>> ZSTStateSRAM(const tZSTImage& Image);

class tZST : public tZSTImage, public tReceiver, public tSavestateFormat
{
  public:
    // The largest file taken in: a fixed image, every chip's data, 128 KiB of
    // SRAM and the preview stay far below 1 MiB; old movies add their input
    // stream, a few bytes per frame.
    static constexpr uint64_t MaxFileSize = 16ull << 20;

    // True when the file starts with the ZSNES signature and 0x1A at byte 26.
    static bool IsZSTFile(const std::string& FileName);
    bool IsFormatFile(const std::string& FileName) override { return IsZSTFile(FileName); }
    bool Parse(const std::string& FileName, tSNES& S, tParsedFile& Out, tError& Error) const override
    {
        return ParseFile(FileName, S, Out, Error);
    }
    // Parse without the object, which a file is read before it is made.
    static bool ParseFile(const std::string& FileName, tSNES& S, tParsedFile& Out, tError& Error);
    // Takes the image and announces its preview ("new ZST.Preview").
    void Adopt(tSavestateImage& Image) override;

    // Rebuilds the file from the three parts and writes it atomically.
    // Error holds the system's reason on failure; the caller reports it.
    bool SaveToFile(const std::string& FileName, tError& Error);

    // The fixed image's length in the file: shorter without the sound part.
    size_t ImageLength() const;
    // Splits the edited stream again, then loads it ("new ZST.Stream").
    void SplitStream(bool FromFile, bool AsMovie);
    void BuildStream();
    void ImageToMachine();
    void MachineToImage();
    void ClearImage();
    // The cartridge SRAM a new image carries after its extra data.
    std::vector<uint8_t> SRAMToWrite() const;

    // The preview of a file on disk as 64 x 56 RGB565 pixels, top row first.
    static bool LoadPreview(const std::string& FileName, std::array<uint16_t, 64 * 56>& Pixels);

    void Notify(const void* Sender, tNote Msg) override;

    // Draws the 64 x 56 preview (RGB565, little-endian, top row first) of
    // the machine state that a converted file carries; set by the program,
    // which owns the renderer. Without it the preview stays black.
    std::function<void(std::array<uint8_t, ZSTLayout::PreviewSize>&)> PreviewMaker;
    // The preview is drawn from the screen when the file is saved: the
    // image was made from a state of another format.
    bool PreviewFromScreen = false;

  private:
    bool IsSelf(const void* Sender) const { return Sender == static_cast<const void*>(this); }
};

extern tZST* ZST;
