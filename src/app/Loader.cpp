#include "app/Loader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <memory>
#include <utility>

#include "cart/SNESCart.h"
#include "core/Broadcast.h"
#include "core/FileIO.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "core/Routines.h"
#include "core/SNES.h"
#include "core/StateNames.h"
#include "savestates/S9X.h"

std::string StateFileName, StateFileBase, StateFileDir, StateFileTitle, StateFileExt, StateSlot;
uint8_t StateFormat = FormatNone;
uint8_t StateKind = KindNone;

namespace
{
std::array<tSavestateFormat*, 5> Formats{};
std::array<tSavestateFormat* (*)(), 5> Makers{};
std::array<tSavestateReader, 5> Readers{};
bool ViewOnly = false;

std::string Lower(std::string S)
{
    for (char& C : S)
        C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    return S;
}

bool Accepts(uint8_t Format, const std::string& FileName)
{
    if (tSavestateFormat* F = Formats[Format])
        return F->IsFormatFile(FileName);
    return Makers[Format] && Readers[Format].IsFormatFile && Readers[Format].IsFormatFile(FileName);
}

// The names, slot and kind of a file of a known format.
void RememberFile(const std::string& FileName, uint8_t Format)
{
    const std::filesystem::path P(FileName);
    StateFileName = FileName;
    StateFileExt = P.has_extension() ? Lower(P.extension().string().substr(1)) : std::string();
    StateFileBase = P.has_extension() ? FileName.substr(0, FileName.size() - P.extension().string().size()) : FileName;
    StateFileDir = P.has_parent_path() ? P.parent_path().string() + "/" : std::string();
    StateFileTitle = P.stem().string();
    StateFormat = Format;
    // Detection took the format from the name too; the name gives the slot
    // and the kind.
    const tStateName N = StateNameOf(FileName);
    StateSlot = std::to_string(N.Slot);
    StateKind = N.Kind;
}
} // namespace

void RegisterSavestateFormat(uint8_t Format, tSavestateFormat* Handler)
{
    if (Format >= FormatZST && Format <= FormatSSL) {
        Formats[Format] = Handler;
        Makers[Format] = nullptr;
    }
}

void SetSavestateFormatMaker(uint8_t Format, tSavestateFormat* (*Maker)(), const tSavestateReader& Reader)
{
    if (Format >= FormatZST && Format <= FormatSSL) {
        Formats[Format] = nullptr;
        Makers[Format] = Maker;
        Readers[Format] = Reader;
    }
}

void SetViewOnlyLoads(bool On)
{
    ViewOnly = On;
}

tSavestateFormat* SavestateFormat(uint8_t Format)
{
    if (Format >= Formats.size())
        return nullptr;
    if (auto* Maker = std::exchange(Makers[Format], nullptr))
        RegisterSavestateFormat(Format, Maker());
    return Formats[Format];
}

uint8_t DetectFormat(const std::string& FileName)
{
    const uint8_t Format = StateNameOf(FileName).Format;
    if (Format == FormatZST && !Options().CBox_OptionsCheckZST)
        return FormatZST;
    if (Format == FormatNone || !Accepts(Format, FileName))
        return FormatNone;
    return Format;
}

std::string UndetectedReason(const std::string& FileName)
{
    std::vector<uint8_t> Head;
    tError Error;
    if (!ReadFileHead(FileName, 1, Head, Error))
        return "cannot read the file: " + Error.Reason;
    const std::string Not = "not a savestate this program reads: ";
    std::error_code Ec;
    const uint64_t Size = std::filesystem::file_size(FileName, Ec);
    if (Head.empty())
        return Not + "the file is empty";
    if (!Ec && Size > MaxInputFileSize)
        return Not + "the file is too large (" + std::to_string(Size) + " bytes, at most " +
               std::to_string(MaxInputFileSize) + ")";
    const std::string Ext = std::filesystem::path(FileName).extension().string();
    static constexpr const char* Kinds[] = {nullptr, "ZSNES savestate or movie", "Snes9x savestate", "SNESGT savestate",
                                            "Super Sleuth savestate"};
    const char* Kind = Kinds[StateNameOf(FileName).Format];
    if (!Kind)
        return Not + "no savestate format uses the extension " + Quoted(Ext);
    return Not + "the content is not a " + Kind;
}

namespace
{
// The reader fills a state of its own and an image; the program's state is
// not touched until it succeeded. The scratch state (~300 KB) is kept from
// one read to the next and made new in place: a fresh block of that size, or
// a blank one to copy from, costs more in page faults than reading a ZSNES
// file does. A view-only load that is to be taken (Take) reads into the
// program's state instead.
uint8_t ParseSavestate(const std::string& FileName, tSNES*& State, tParsedFile& Parsed, tError& Error, bool Take)
{
    if (FileName.empty())
        return FormatNone;
    const uint8_t Format = DetectFormat(FileName);
    if (Format == FormatNone)
        return FormatNone;
    // A format whose object is not made yet reads through its plain reader.
    tSavestateFormat* Object = Formats[Format];
    const tSavestateReader& Reader = Readers[Format];
    if (!Object && !(Makers[Format] && Reader.Parse))
        return FormatNone;
    static std::unique_ptr<tSNES> Scratch;
    if (Take && ViewOnly && SNES) {
        State = SNES;
    } else {
        if (!Scratch)
            Scratch = std::make_unique<tSNES>();
        State = Scratch.get();
    }
    std::destroy_at(State);
    std::construct_at(State);
    if (Object ? Object->Parse(FileName, *State, Parsed, Error) : Reader.Parse(FileName, *State, Parsed, Error))
        return Format;
    // No half-read state stays in the program's.
    if (State == SNES) {
        std::destroy_at(State);
        std::construct_at(State);
    }
    if (Error.Empty())
        Error = tError("the file could not be read");
    return FormatNone;
}
} // namespace

uint8_t ReadSavestate(const std::string& FileName, tError& Error)
{
    tSNES* State = nullptr;
    tParsedFile Parsed;
    return ParseSavestate(FileName, State, Parsed, Error, false);
}

bool LoadSavestate(const std::string& FileName, tError* ErrorOut)
{
    if (!SNES)
        return false;
    tSNES* State = nullptr;
    tParsedFile Parsed;
    tError Error;
    const uint8_t Format = ParseSavestate(FileName, State, Parsed, Error, true);
    if (Format == FormatNone) {
        if (!Error.Empty()) {
            Messages().Error(Error.Describe(FileName));
            if (ErrorOut)
                *ErrorOut = Error;
        }
        return false;
    }
    CommitSavestate(Format, *State, Parsed, FileName);
    return true;
}

void CommitSavestate(uint8_t Format, const tSNES& State, tParsedFile& Parsed, const std::string& FileName, uint8_t Kind)
{
    tSavestateFormat* Reader = ViewOnly ? Formats[Format] : SavestateFormat(Format);
    if (!(Reader || ViewOnly) || !SNES)
        return;
    if (&State != SNES) {
        // DMA is rebuilt from the registers on "new SNES".
        const auto DMA = SNES->DMA;
        *SNES = State;
        SNES->DMA = DMA;
    }
    RememberFile(FileName, Format);
    if (Kind != KindNone)
        StateKind = Kind;
    // A state converted to Snes9x is named after the file it came from.
    if (S9X)
        S9X->SourceName = FileName;
    if (Parsed.SRAM && Cart)
        Cart->SRAM = std::move(*Parsed.SRAM);
    const std::string Note = Parsed.Image ? std::move(Parsed.Image->LoadNote) : std::string();
    if (Parsed.Image && Reader)
        Reader->Adopt(*Parsed.Image);
    // What was not taken goes back to the heap before the pictures are made.
    Parsed.Image.reset();
    if (!Note.empty())
        Messages().Notice(Note, "OK");

    // Receivers recognise their own broadcasts by their object's address.
    const void* Sender = Reader ? dynamic_cast<const void*>(Reader) : nullptr;
    Broadcast(Sender, Note::NewSavestate);
    Broadcast(Sender, Note::NewSNES);
}
