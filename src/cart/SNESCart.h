#pragma once
// The cartridge that belongs to the current machine state: the ROM image
// without its copier header, the copier header itself, the battery RAM read
// from the ".srm" file beside the ROM, and where the internal header lies.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cart/CartHeader.h"
#include "core/Error.h"
#include "core/Receiver.h"
#include "core/SNES.h"

// The largest cartridge file (plain, or a zip entry) the loader takes. The
// biggest SNES boards hold 6 MiB of ROM; 32 MiB leaves room for odd dumps and
// copier formats and keeps a hostile file from exhausting memory.
inline constexpr uint64_t MaxCartFileSize = 32ull << 20;
// Battery RAM never exceeds a few hundred KiB on any board; a larger ".srm"
// is not SRAM.
inline constexpr uint64_t MaxSRAMFileSize = 1ull << 20;
// Copier headers pad the image to a multiple of 32 KiB minus nothing: the
// remainder modulo 32 KiB is the copier header (typically 0 or 512 bytes).
inline constexpr uint32_t CopierHeaderUnit = 32768;

class tCart : public tReceiver
{
  public:
    std::vector<uint8_t> FileData;  // after loading: only the copier header
    bool HiROM = false;             // HiROM addressing, read by MapAddress through ROMView
    std::vector<uint8_t> ROM;       // the ROM image without copier header
    std::string FileName;           // empty when no cartridge is loaded
    uint32_t HeaderOffset = 0x7FB0; // internal header area within ROM, from MapMode
    std::string LastFileName;       // newest entry of the recent list, for the reload button
    std::vector<uint8_t> SRAM;
    tMapMode MapMode = tMapMode::LoROM; // where the internal header was found

    const uint8_t* ROMData() const { return ROM.empty() ? nullptr : ROM.data(); }
    uint32_t ROMSize() const { return static_cast<uint32_t>(ROM.size()); }
    // The ROM and its mapping, for tSNES::MapAddress.
    tROMView ROMView() const { return {ROM, HiROM}; }
    uint32_t CopierHeaderSize() const { return static_cast<uint32_t>(FileData.size()); }
    // First byte of the internal header area in the current ROM, or nullptr
    // when no ROM is loaded or the area lies outside it. Always computed from
    // the current ROM, so it follows a ROM that an IPS patch has grown.
    const uint8_t* Header() const;
    // The decoded internal header at the current map mode.
    tCartHeader HeaderFields() const { return ReadCartHeader(ROM, MapMode); }

    // After a LoadFromFile: why the ".srm" beside the cartridge could not be
    // read (the cartridge is then loaded without SRAM); empty when it was
    // read or there is none.
    tError SRAMError;

    // Loads a plain ROM image or, for the extension ".zip" (exactly, in lower
    // case), the first entry of a zip archive; then the ".srm" beside it, and
    // broadcasts "new Cart" and "new Cart.ROM". On failure Error says why and
    // the previous cartridge stays. Shows nothing.
    bool LoadFromFile(const std::string& Name, tError& Error);
    // Reads the first entry of a zip archive into Data, or says why not.
    bool LoadZipped(const std::string& Name, std::vector<uint8_t>& Data, tError& Error);
    // The program's message after LoadFromFile(Name) gave Loaded and Error:
    // the failure ("Could not load zipped file." above the reason for an
    // archive), or an SRAM that could not be read; empty when there is
    // nothing to say.
    std::string LoadMessage(const std::string& Name, bool Loaded, const tError& Error) const;
    // The reaction to "new savestate": looks for the cartridge beside the
    // state under the option's extension list, loads it and shows what
    // LoadMessage says. "Cartridge not found." appears once per base name.
    bool FindForSavestate(const std::string& StateName);
    // Forgets the cartridge and broadcasts "new Cart".
    void Clear();
    // Places the header area for a map mode and sets HiROM to match.
    void SetHeader(tMapMode Mode);
    // The browser's map-mode tabs: a mode is taken only when the ROM is large
    // enough to hold its header; false leaves everything as it was.
    bool SelectMapMode(tMapMode Mode);

    // "new savestate": find the cartridge when the option asks for it.
    // "new Cart": find the map mode of the (possibly patched) ROM; the IPS
    // patcher sees the message first.
    void Notify(const void* Sender, tNote Msg) override;
};

// The savestate base name for which "Cartridge not found." was last shown.
extern std::string LastMissingBase;

// The name with its extension (after the last dot of the last path part)
// replaced by NewExt (which starts with the dot); appended when there is none.
std::string ReplaceExtension(const std::string& Name, const std::string& NewExt);
// The extension of the last path part with its dot, "" when none.
std::string ExtensionOf(const std::string& Name);

extern tCart* Cart;
