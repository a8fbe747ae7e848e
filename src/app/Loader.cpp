#include "app/Loader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <memory>

#include "cart/SNESCart.h"
#include "core/Broadcast.h"
#include "core/FileIO.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "core/SNES.h"
#include "savestates/S9X.h"

std::string StateFileName, StateFileBase, StateFileDir, StateFileTitle, StateFileExt, StateSlot;
uint8_t StateFormat = FormatNone;
uint8_t StateKind = KindNone;

namespace
{
std::array<tSavestateFormat*, 5> Formats{};

bool AllDigits(std::string_view S)
{
    return !S.empty() && std::all_of(S.begin(), S.end(), [](char C) { return C >= '0' && C <= '9'; });
}

std::string Lower(std::string S)
{
    for (char& C : S)
        C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    return S;
}

// ".zmv", ".zm1".."zm9", ".zst", ".zs1".."zs9" in any case.
bool IsZSNESExtension(const std::string& ExtWithDot)
{
    const std::string E = Lower(ExtWithDot);
    if (E == ".zmv" || E == ".zst")
        return true;
    return E.size() == 4 && (E.compare(0, 3, ".zm") == 0 || E.compare(0, 3, ".zs") == 0) && E[3] >= '1' && E[3] <= '9';
}

bool Accepts(uint8_t Format, const std::string& FileName)
{
    tSavestateFormat* F = Formats[Format];
    return F && F->IsFormatFile(FileName);
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
    StateSlot = StateFileExt;
    StateFormat = Format;

    const std::string& E = StateFileExt;
    switch (Format) {
    case FormatZST:
        // .zst and .zmv are slot 0, .zs5 is slot 5.
        StateSlot = std::string(1, (E[2] == 't' || E[2] == 'v') ? '0' : E[2]);
        StateKind = E[1] == 'm' ? KindMovie : (E[1] == 's' ? KindSavestate : KindNone);
        break;
    case FormatS9X:
        StateSlot = std::to_string(std::stoi(E));
        StateKind = KindSavestate;
        break;
    case FormatSGT:
        StateSlot = std::string(1, E[2]);
        StateKind = KindSavestate;
        break;
    case FormatSSL:
        StateSlot = std::to_string(std::stoi(E.substr(1, 2)));
        StateKind = KindSavestate;
        break;
    default:
        break;
    }
}
} // namespace

void RegisterSavestateFormat(uint8_t Format, tSavestateFormat* Handler)
{
    if (Format >= FormatZST && Format <= FormatSSL)
        Formats[Format] = Handler;
}

tSavestateFormat* SavestateFormat(uint8_t Format)
{
    return Format < Formats.size() ? Formats[Format] : nullptr;
}

uint8_t DetectFormat(const std::string& FileName)
{
    const std::string Ext = std::filesystem::path(FileName).extension().string();
    if (IsZSNESExtension(Ext)) {
        if (!Options().CBox_OptionsCheckZST)
            return FormatZST;
        return Accepts(FormatZST, FileName) ? FormatZST : FormatNone;
    }
    if (Ext.size() != 4)
        return FormatNone;
    if (AllDigits(Ext.substr(1)) && Accepts(FormatS9X, FileName))
        return FormatS9X;
    if ((Ext[1] == 'S' || Ext[1] == 's') && AllDigits(Ext.substr(2)) && Accepts(FormatSSL, FileName))
        return FormatSSL;
    if ((Ext[1] == 'S' || Ext[1] == 's') && (Ext[2] == 'V' || Ext[2] == 'v') && AllDigits(Ext.substr(3)) &&
        Accepts(FormatSGT, FileName))
        return FormatSGT;
    return FormatNone;
}

std::string UndetectedReason(const std::string& FileName)
{
    std::vector<uint8_t> Head;
    std::string Error;
    if (!ReadFileHead(FileName, 1, Head, Error))
        return "cannot read the file: " + Error;
    const std::string Not = "not a savestate this program reads: ";
    std::error_code Ec;
    const uint64_t Size = std::filesystem::file_size(FileName, Ec);
    if (Head.empty())
        return Not + "the file is empty";
    if (!Ec && Size > MaxInputFileSize)
        return Not + "the file is too large (" + std::to_string(Size) + " bytes, at most " +
               std::to_string(MaxInputFileSize) + ")";
    const std::string Ext = std::filesystem::path(FileName).extension().string();
    const char* Kind = nullptr;
    if (IsZSNESExtension(Ext))
        Kind = "ZSNES savestate or movie";
    else if (Ext.size() == 4 && AllDigits(Ext.substr(1)))
        Kind = "Snes9x savestate";
    else if (Ext.size() == 4 && (Ext[1] == 'S' || Ext[1] == 's') && AllDigits(Ext.substr(2)))
        Kind = "Super Sleuth savestate";
    else if (Ext.size() == 4 && Lower(Ext.substr(1, 2)) == "sv" && AllDigits(Ext.substr(3)))
        Kind = "SNESGT savestate";
    if (!Kind)
        return Not + "no savestate format uses the extension \"" + Ext + "\"";
    return Not + "the content is not a " + Kind;
}

bool LoadSavestate(const std::string& FileName, tError* ErrorOut)
{
    if (FileName.empty() || !SNES)
        return false;
    const uint8_t Format = DetectFormat(FileName);
    tSavestateFormat* Reader = Format != FormatNone ? Formats[Format] : nullptr;
    if (!Reader)
        return false;

    // The reader fills a state of its own (on the heap: it is ~300 KB) and
    // an image; the program's state is not touched until it succeeded.
    auto State = std::make_unique<tSNES>();
    tParsedFile Parsed;
    tError Error;
    if (!Reader->Parse(FileName, *State, Parsed, Error)) {
        if (Error.Empty())
            Error = tError("the file could not be read");
        Messages().Error(Error.Describe(FileName));
        if (ErrorOut)
            *ErrorOut = Error;
        return false;
    }

    // Commit. DMA is rebuilt from the registers on "new SNES".
    State->DMA = SNES->DMA;
    *SNES = *State;
    State.reset();
    RememberFile(FileName, Format);
    // A state converted to Snes9x is named after the file it came from.
    if (S9X)
        S9X->SourceName = FileName;
    if (Parsed.SRAM && Cart)
        Cart->SRAM = std::move(*Parsed.SRAM);
    if (Parsed.Image)
        Reader->Adopt(*Parsed.Image);

    // Receivers recognise their own broadcasts by their object's address.
    const void* Sender = dynamic_cast<const void*>(Reader);
    Broadcast(Sender, Note::NewSavestate);
    Broadcast(Sender, Note::NewSNES);
    return true;
}
