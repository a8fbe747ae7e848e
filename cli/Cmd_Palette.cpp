// orlik-cli palette: the palette viewer's open and save without the window.
// Exports the CGRAM of savestates to palette files, or reads one palette file
// into savestates and writes them (like convert) with the new colours.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Commands.h"
#include "Outputs.h"
#include "app/Loader.h"
#include "app/SaveState.h"
#include "app/ToolFiles.h"
#include "core/Broadcast.h"
#include "core/SNES.h"
#include "tools/PaletteFile.h"

namespace fs = std::filesystem;

namespace
{
// The names after --format, in the order of tPaletteFormat. "raw5" holds the
// 5-bit values 0..31, "raw8" the values times 8; "gpl" is a GIMP palette and
// "act" an Adobe colour table.
const char* const FormatNames[PaletteFileFormatCount] = {"jasc", "snes", "raw5", "raw8", "gpl", "act"};

// Exported files are named for their format, so that the name alone tells
// other programs (and the import) what they hold.
std::string PaletteExtension(int Format)
{
    return Format == PaletteGPL ? ".gpl" : Format == PaletteACT ? ".act" : ".pal";
}

constexpr const char* Usage =
    "usage: orlik-cli palette STATE... [--format jasc|snes|raw5|raw8|gpl|act] [-o OUT]\n"
    "       orlik-cli palette STATE... --import FILE [--format ...] [--to zst|s9x|ssl] -o OUT\n";

struct tArgs {
    int Format = PaletteJASC;
    std::string Import, Out;
    const tStateTarget* Writer = nullptr;
    std::vector<std::string> States;
};

// 0 when parsed, else the exit code.
int Parse(const std::vector<std::string>& Args, tArgs& A)
{
    for (size_t i = 0; i < Args.size(); ++i) {
        const std::string& S = Args[i];
        const bool TakesValue = S == "--format" || S == "--import" || S == "--to" || S == "-o";
        if (TakesValue && i + 1 >= Args.size()) {
            return UsageError;
        }
        if (S == "--format") {
            const std::string& V = Args[++i];
            A.Format = -1;
            for (int F = 0; F < PaletteFileFormatCount; ++F)
                if (V == FormatNames[F])
                    A.Format = F;
            if (A.Format < 0) {
                std::fprintf(stderr, "orlik-cli palette: unknown format \"%s\" (jasc|snes|raw5|raw8|gpl|act)\n",
                             V.c_str());
                return UsageError;
            }
        } else if (S == "--to") {
            const std::string& V = Args[++i];
            A.Writer = FindStateTarget(V);
            if (!A.Writer) {
                std::fprintf(stderr, "orlik-cli palette: unknown target \"%s\" (zst|s9x|ssl)\n", V.c_str());
                return UsageError;
            }
        } else if (S == "--import") {
            A.Import = Args[++i];
        } else if (S == "-o") {
            A.Out = Args[++i];
        } else if (S.size() > 1 && S[0] == '-') {
            std::fprintf(stderr, "orlik-cli palette: unknown option \"%s\"\n", S.c_str());
            return UsageError;
        } else {
            A.States.push_back(S);
        }
    }
    // Importing writes states; without -o it would have to write over them.
    if (A.States.empty() || (!A.Import.empty() && A.Out.empty()) || (A.Import.empty() && A.Writer)) {
        return UsageError;
    }
    return 0;
}

int Palette(const std::vector<std::string>& Args)
{
    tArgs A;
    if (int Code = Parse(Args, A))
        return Code;

    tCGRAM Imported{};
    int ImportedEntries = 0;
    if (!A.Import.empty()) {
        // A palette that does not read whole is not put into any state.
        // ".gpl" and ".act" files are read in their own format.
        const int Format = PaletteFormatForName(A.Import, A.Format);
        tError Error;
        if (!LoadPaletteFile(A.Import, Format, Imported, ImportedEntries, Error)) {
            Error.Reason = "not a " + std::string(FormatNames[Format]) + " palette: " + Error.Reason;
            std::fprintf(stderr, "%s; nothing written\n", Error.Describe(A.Import).c_str());
            return 1;
        }
    }

    tOutputs Outputs;
    if (!Outputs.Prepare(A.Out, A.States.size()))
        return 1;

    StartCore();
    int Result = 0;
    for (const std::string& Name : A.States) {
        SetMessageContext(Name);
        if (!LoadStateFile(Name, "; nothing written")) {
            Result = 1;
            continue;
        }
        const tStateTarget* Writer = A.Writer;
        if (!A.Import.empty() && !Writer)
            Writer = StateTargetFor(StateFormat);
        if (!A.Import.empty() && !Writer) {
            std::fprintf(stderr, "%s: this format cannot be written; choose one with --to\n", Name.c_str());
            Result = 1;
            continue;
        }
        const std::string Extension = A.Import.empty() ? PaletteExtension(A.Format)
                                      : A.Writer       ? A.Writer->Extension()
                                                       : fs::path(Name).extension().string();
        const std::string Dest = Outputs.For(Name, Extension, "; nothing written");
        if (Dest.empty()) {
            Result = 1;
            continue;
        }
        if (A.Import.empty()) {
            if (!ExportPalette(Dest, A.Format, SNES->CGRAM)) {
                Result = 1;
                continue;
            }
        } else {
            std::copy_n(Imported.begin(), ImportedEntries, SNES->CGRAM.begin());
            // Every format object rebuilds its image from the machine state.
            Broadcast(nullptr, Note::NewSNES);
            if (!SaveStateAs(*Writer, Dest)) {
                Result = 1;
                continue;
            }
        }
        std::printf("%s -> %s\n", Name.c_str(), Dest.c_str());
    }
    SetMessageContext("");
    return Result;
}

tCommandRegistrar Reg({"palette", "palette STATE... [--import PAL] [--format jasc|snes|raw5|raw8|gpl|act] [-o OUT]",
                       "export the colours of states to palette files, or import one into states", Palette, Usage});
} // namespace
