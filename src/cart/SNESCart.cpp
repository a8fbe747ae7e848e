#include "cart/SNESCart.h"

#include "cart/CartZip.h"
#include "core/Broadcast.h"
#include "core/FileIO.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "core/SNES.h"

std::string LastMissingBase;

namespace
{
size_t ExtensionStart(const std::string& Name)
{
    const size_t Slash = Name.find_last_of("/\\");
    const size_t Dot = Name.rfind('.');
    if (Dot == std::string::npos || (Slash != std::string::npos && Dot < Slash))
        return std::string::npos;
    return Dot;
}
} // namespace

std::string ExtensionOf(const std::string& Name)
{
    const size_t Dot = ExtensionStart(Name);
    return Dot == std::string::npos ? std::string() : Name.substr(Dot);
}

std::string ReplaceExtension(const std::string& Name, const std::string& NewExt)
{
    const size_t Dot = ExtensionStart(Name);
    return (Dot == std::string::npos ? Name : Name.substr(0, Dot)) + NewExt;
}

const uint8_t* tCart::Header() const
{
    if (ROM.size() < HeaderOffset || ROM.size() - HeaderOffset < CartHeaderAreaSize)
        return nullptr;
    return ROM.data() + HeaderOffset;
}

bool tCart::LoadZipped(const std::string& Name, std::vector<uint8_t>& Data, tError& Error)
{
    return ReadFirstZipEntry(Name, Data, Error, MaxCartFileSize);
}

namespace
{
// Only the exact lower-case extension marks an archive; "x.ZIP" is taken as a
// plain image like any other cartridge extension.
bool IsZipName(const std::string& Name)
{
    return ExtensionOf(Name) == ".zip";
}
} // namespace

bool tCart::LoadFromFile(const std::string& Name, tError& Error)
{
    std::vector<uint8_t> Data;
    if (IsZipName(Name)) {
        if (!LoadZipped(Name, Data, Error))
            return false;
    } else if (!ReadWholeFile(Name, Data, Error, MaxCartFileSize)) {
        Error.Reason = "cannot load the cartridge: " + Error.Reason;
        return false;
    }
    // What is left after the copier header is the ROM; a file of less than
    // one unit is all header and holds no ROM at all.
    if (Data.size() < CopierHeaderUnit) {
        Error = tError("cannot load the cartridge: " + std::to_string(Data.size()) +
                       " bytes hold no ROM (a ROM image is at least " + std::to_string(CopierHeaderUnit) + " bytes)");
        return false;
    }
    FileData = std::move(Data);
    FileName = Name;
    const size_t HeaderSize = FileData.size() % CopierHeaderUnit;
    ROM.assign(FileData.begin() + static_cast<std::ptrdiff_t>(HeaderSize), FileData.end());
    FileData.resize(HeaderSize);
    FileData.shrink_to_fit();

    SRAM.clear();
    SRAMError = tError();
    const std::string SRAMName = ReplaceExtension(Name, ".srm");
    if (FileExists(SRAMName) && !ReadWholeFile(SRAMName, SRAM, SRAMError, MaxSRAMFileSize)) {
        SRAM.clear();
        SRAMError.Reason = "SRAM not loaded: " + SRAMError.Reason;
    }
    // Until the map-mode search runs on "new Cart", the header is taken where
    // LoROM boards keep it.
    SetHeader(tMapMode::LoROM);
    Broadcast(nullptr, Note::NewCart);
    Broadcast(nullptr, Note::NewCartROM);
    return true;
}

std::string tCart::LoadMessage(const std::string& Name, bool Loaded, const tError& Error) const
{
    if (!Loaded)
        return (IsZipName(Name) ? "Could not load zipped file.\n" : "") + Error.Describe(Name);
    return SRAMError.Empty() ? std::string() : SRAMError.Describe(ReplaceExtension(Name, ".srm"));
}

bool tCart::FindForSavestate(const std::string& StateName)
{
    const std::string Base = ReplaceExtension(StateName, "");
    std::vector<std::string> Exts = Options().CartExtensions();
    Exts.push_back("zip");
    for (const std::string& E : Exts) {
        const std::string Candidate = Base + "." + E;
        if (Candidate == FileName)
            return true;
        if (FileExists(Candidate)) {
            tError Error;
            const bool Loaded = LoadFromFile(Candidate, Error);
            if (const std::string Message = LoadMessage(Candidate, Loaded, Error); !Message.empty())
                Messages().Error(Message);
            if (Loaded)
                return true;
            // The file is there but unreadable (its error is shown): the
            // cartridge of another game must not stay beside this state.
            LastMissingBase = Base;
            Clear();
            return false;
        }
    }
    if (Base != LastMissingBase)
        Messages().Notice("Cartridge not found.", "Ignore");
    LastMissingBase = Base;
    Clear();
    return false;
}

void tCart::Clear()
{
    HiROM = false;
    MapMode = tMapMode::LoROM;
    HeaderOffset = HeaderOffsetOf(tMapMode::LoROM);
    FileName.clear();
    ROM.clear();
    ROM.shrink_to_fit();
    SRAM.clear();
    Broadcast(nullptr, Note::NewCart);
}

void tCart::SetHeader(tMapMode Mode)
{
    MapMode = Mode;
    HeaderOffset = HeaderOffsetOf(Mode);
    HiROM = Mode != tMapMode::LoROM;
}

bool tCart::SelectMapMode(tMapMode Mode)
{
    if (!MapModeFits(ROMSize(), Mode))
        return false;
    SetHeader(Mode);
    return true;
}

void tCart::Notify(const void*, tNote Msg)
{
    // The lookup for a new savestate's cartridge is the loader's
    // (app/StateReceiver), which runs just before this slot.
    if (Msg == Note::NewCart) {
        SetHeader(FindMapMode(ROM));
    }
}
