#pragma once
// Super Sleuth savestates, which are also the program's own savestate format:
// a run of chunks (4-character ID, u32 length, data). A state converted from
// another format is written with the program's name in "BPS2" and otherwise
// in the Super Sleuth layout, so both tools read it.
//
// SSL.cpp: identification, the chunk walk, saving, previews, notifications.
// SSL_Machine.cpp: the chunk layouts to and from the machine state.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Receiver.h"
#include "core/Error.h"
#include "core/SavestateFormat.h"
#include "core/SNES.h"
#include "savestates/SSL_Bitmap.h"

class tCart;

// The chunk sizes the program uses. The smallest file holding all of the
// required chunks with their headers is MinSSLFileSize bytes.
namespace SSLSize
{
inline constexpr size_t BPS2 = 166;
inline constexpr size_t SCPU = 46;
inline constexpr size_t SDMA = 128;
inline constexpr size_t WRAM = 131075;
inline constexpr size_t SPPU = 1128;
inline constexpr size_t VRAM = 65536;
inline constexpr size_t SAPU = 65563;
inline constexpr size_t SDSP = 128;
inline constexpr size_t SAS1 = 2148;
} // namespace SSLSize
inline constexpr uint64_t MinSSLFileSize = 263842;

// A Super Sleuth file as the program holds it: one buffer per chunk.
struct tSSLImage : tSavestateImage {
    std::array<uint8_t, SSLSize::BPS2> BPS2{};
    std::array<uint8_t, SSLSize::SAPU> SAPU{};
    std::array<uint8_t, SSLSize::SCPU> SCPU{};
    std::array<uint8_t, SSLSize::SDMA> SDMA{};
    std::array<uint8_t, SSLSize::SDSP> SDSP{};
    std::array<uint8_t, SSLSize::SPPU> SPPU{};
    std::array<uint8_t, SSLSize::VRAM> VRAM{};
    std::array<uint8_t, SSLSize::WRAM> WRAM{};
    std::array<uint8_t, SSLSize::SAS1> SAS1{};
    std::vector<uint8_t> SRAMStream;
    tSSL_Bitmap24 PreviewBitmap;
    bool HasSAS1 = false;

    // The chunks into a machine state (SSL_Machine.cpp); the save RAM stays
    // in SRAMStream for the caller to commit.
    void ChunksToMachine(tSNES& S) const;
    // Rebuilds the chunks from a machine state, stamping the program's name
    // and the given DOS date and time into "BPS2".
    void MachineToChunks(const tSNES& S, const tCart* C, uint32_t DosDateTime);
    void ClearChunks();
};

// The pure reader: file bytes into a machine state and an image the caller
// owns. A chunk running past the end stops the reading; what came before it
// is in S and Image, and the result is false with the reason.
bool ParseSSL(std::span<const uint8_t> Data, tSNES& S, tSSLImage& Image, std::string& Error);

class tSSL : public tSSLImage, public tReceiver, public tSavestateFormat
{
  public:
    // A chunk walk on a file reads this many chunk headers at most: a real
    // state holds a dozen.
    static constexpr int MaxChunks = 1024;

    // The signature test: a "BPS2" chunk first and all eight required
    // chunks. Reads the chunk headers only, seeking over the bodies.
    static bool IsSSLFile(const std::string& FileName);
    // The same on bytes in memory; Why says what is missing when it fails.
    static bool IsSSLData(std::span<const uint8_t> Data, std::string* Why = nullptr);
    bool IsFormatFile(const std::string& FileName) override { return IsSSLFile(FileName); }
    bool Parse(const std::string& FileName, tSNES& S, tParsedFile& Out, tError& Error) const override
    {
        return ParseFile(FileName, S, Out, Error);
    }
    // Parse without the object, which a file is read before it is made.
    static bool ParseFile(const std::string& FileName, tSNES& S, tParsedFile& Out, tError& Error);
    // Takes the image and announces its preview ("new SSL.Preview").
    void Adopt(tSavestateImage& Image) override;

    bool SaveToFile(const std::string& FileName, tError& Error) const;
    void SaveToStream(std::vector<uint8_t>& Out) const;

    // The file's preview stretched to Width x Height, or none.
    static std::optional<tSSL_Bitmap565> LoadPreview(const std::string& FileName, uint32_t Width, uint32_t Height);
    static std::optional<tSSL_Bitmap565> LoadPreview(std::span<const uint8_t> Data, uint32_t Width, uint32_t Height);

    // Takes the edits of the chunks: what the editors changed since the
    // chunks last agreed with the machine state goes into the machine state
    // and the cartridge's save RAM, everything else there stays, and "new
    // SNES" is broadcast. An edit of a value the machine state does not hold
    // (the header, the SA-1 chunk) stays in the chunks only. True when the
    // machine state changed.
    bool CommitChunkEdits();

    void Notify(const void* Sender, tNote Msg) override;

  private:
    // The chunks as they last agreed with the machine state: read from it,
    // made from it or taken into it.
    tSSLImage StateChunks;
    void KeepStateChunks();
};

// The local time as a DOS file date (high word) and time (low word).
uint32_t CurrentDosDateTime();

extern tSSL* SSL;
