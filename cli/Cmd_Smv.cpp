// orlik-cli smv: header, metadata and ROM information of Snes9x movies, and
// the embedded quicksave written out as a Snes9x savestate.

#include <cstdio>

#include "Commands.h"
#include "core/FileIO.h"
#include "sound/SMV.h"

namespace
{
void Row(const char* Name, const std::string& Value)
{
    std::printf("%-22s %s\n", Name, Value.c_str());
}

std::string Hex(uint32_t V, int Digits)
{
    char B[16];
    std::snprintf(B, sizeof B, "%0*X", Digits, V);
    return B;
}

void Print(const std::string& Name, const tSMV& S)
{
    Row("file:", Name);
    Row("signature:", S.Signature());
    Row("version:", std::to_string(S.Version()));
    Row("UID (hex.):", Hex(S.UID(), 8));
    Row("rerecord count:", std::to_string(S.RerecordCount()));
    Row("frame count:", std::to_string(S.FrameCount()));
    std::string Pads;
    for (int N = 0; N < 5; ++N)
        if (S.UsesController(N))
            Pads += (Pads.empty() ? "" : " ") + std::to_string(N + 1);
    Row("controllers:", Pads.empty() ? "none" : Pads);
    Row("begins from:", S.StartsFromSRAM() ? "embedded SRAM with RESET" : "embedded quicksave");
    Row("timing:", S.PALTiming() ? "PAL" : "NTSC");
    std::string Sync;
    for (int N = 0; N < 7; ++N)
        if (S.SyncShown(N))
            Sync += (Sync.empty() ? "" : " ") + std::string(tSMV::SyncNames[N]);
    Row("sync options:", Sync.empty() ? "none" : Sync);
    Row("metadata:", "\"" + S.Metadata + "\"");
    if (S.HasROMInfo) {
        Row("ROM name:", "\"" + S.ROMName() + "\"");
        Row("ROM CRC32:", Hex(S.ROMCRC32(), 4));
    } else {
        Row("ROM information:", "none");
    }
    Row("embedded data:",
        S.EmbeddedError.empty() ? std::to_string(S.Embedded.size()) + " bytes unpacked" : S.EmbeddedError);
    Row("controller data:", std::to_string(S.ControllerData.size()) + " bytes");
}

int SmvCmd(const std::vector<std::string>& Args)
{
    std::string Movie, Out;
    bool Bad = false;
    for (size_t i = 0; i < Args.size(); ++i) {
        if (Args[i] == "--extract-state" && i + 1 < Args.size())
            Out = Args[++i];
        else if (Movie.empty() && Args[i].rfind("--", 0) != 0)
            Movie = Args[i];
        else
            Bad = true;
    }
    if (Movie.empty() || Bad) {
        return UsageError;
    }
    StartCore();
    SetMessageContext(Movie);
    std::vector<uint8_t> File;
    tError Error;
    if (!ReadWholeFile(Movie, File, Error)) {
        PrintFileError(Movie, "cannot read the movie", Error);
        return 1;
    }
    tSMV S;
    if (!S.Parse(File)) {
        std::fprintf(stderr, "%s: not a Snes9x movie (no \"SMV\" signature)\n", Movie.c_str());
        return 1;
    }
    Print(Movie, S);
    if (Out.empty())
        return 0;
    if (S.StartsFromSRAM()) {
        std::fprintf(stderr, "%s: the movie starts from SRAM, it holds no quicksave\n", Movie.c_str());
        return 1;
    }
    if (!S.EmbeddedError.empty()) {
        std::fprintf(stderr, "%s: %s\n", Movie.c_str(), S.EmbeddedError.c_str());
        return 1;
    }
    if (!WriteFileAtomic(Out, S.Embedded, Error)) {
        PrintFileError(Out, "cannot write", Error);
        return 1;
    }
    return 0;
}

tCommandRegistrar Reg({"smv", "smv MOVIE [--extract-state OUT]",
                       "header, metadata and ROM information of a Snes9x movie; its quicksave", SmvCmd});
} // namespace
