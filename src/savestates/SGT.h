#pragma once
// SNESGT savestates (read only): "GTSF", a u32, then chunks of a 4-character
// ID, a u32 length and the data. The sound state comes as a whole SPC file
// inside the "SPCF" chunk.

#include <array>
#include <memory>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Receiver.h"
#include "core/Error.h"
#include "core/SavestateFormat.h"
#include "core/SNES.h"
#include "sound/SPC.h"

class tCart;

namespace SGTSize
{
inline constexpr size_t WRAM = 131072;
inline constexpr size_t VRAM = 65536;
inline constexpr size_t OAM = 544;
inline constexpr size_t PAL = 512;
inline constexpr size_t SREG = 236;
inline constexpr size_t INST = 196;
inline constexpr size_t HDST = 160;
inline constexpr size_t SPCP = 8;
inline constexpr size_t CPUR = 23;
inline constexpr size_t PPUR = 64;
} // namespace SGTSize

// An SNESGT file as the program holds it: one buffer per chunk.
struct tSGTImage : tSavestateImage {
    std::array<uint8_t, SGTSize::WRAM> WRAM{};
    std::array<uint8_t, SGTSize::VRAM> VRAM{};
    std::array<uint8_t, SGTSize::OAM> OAM{};
    std::array<uint8_t, SGTSize::PAL> PAL{};
    std::array<uint8_t, SGTSize::SREG> SREG{};
    std::array<uint8_t, SGTSize::INST> INST{};
    std::array<uint8_t, SGTSize::HDST> HDST{};
    std::array<uint8_t, SGTSize::SPCP> SPCP{};
    std::array<uint8_t, SGTSize::CPUR> CPUR{};
    std::array<uint8_t, SGTSize::PPUR> PPUR{};
    std::vector<uint8_t> SRAMStream;
    // The sound snapshot of the "SPCF" chunk, for the program's SPC object
    // when the load commits; none when the file had none.
    std::shared_ptr<tSPC> Sound;

    // The chunks into a machine state; the save RAM stays in SRAMStream for
    // the caller to commit.
    void ChunksToMachine(tSNES& S) const;
    void MachineToChunks(const tSNES& S);
    void ClearChunks();
};

// The pure reader: file bytes into a machine state (the sound part from the
// embedded SPC file) and an image the caller owns. A chunk running past the
// end stops the reading; what came before it is in S and Image, and the
// result is false with the reason.
bool ParseSGT(std::span<const uint8_t> Data, tSNES& S, tSGTImage& Image, std::string& Error);

class tSGT : public tSGTImage, public tReceiver, public tSavestateFormat
{
  public:
    static bool IsSGTFile(const std::string& FileName);
    static bool IsSGTData(std::span<const uint8_t> Data);
    bool IsFormatFile(const std::string& FileName) override { return IsSGTFile(FileName); }
    bool Parse(const std::string& FileName, tSNES& S, tParsedFile& Out, tError& Error) const override
    {
        return ParseFile(FileName, S, Out, Error);
    }
    // Parse without the object, which a file is read before it is made.
    static bool ParseFile(const std::string& FileName, tSNES& S, tParsedFile& Out, tError& Error);
    // Takes the image and hands its sound snapshot to the SPC object ("new SPC").
    void Adopt(tSavestateImage& Image) override;

    void Notify(const void* Sender, tNote Msg) override;

  private:
    // The embedded snapshot to the SPC object, then "new SPC".
    void TakeSound();
};

extern tSGT* SGT;
