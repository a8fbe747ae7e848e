// orlik-cli spc: the sound state of savestates (or SPC files) written as SPC
// files, with the ID666 text tag filled from the options.

#include <charconv>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>

#include "Commands.h"
#include "SpcTags.h"
#include "app/Loader.h"
#include "core/FileIO.h"
#include "core/SNES.h"
#include "sound/SPC.h"
#include "sound/SPC_Editor.h"

namespace fs = std::filesystem;

namespace
{
constexpr const char* Usage =
    "usage: orlik-cli spc FILE... -o OUT [--song TEXT] [--game TEXT] [--artist TEXT] [--dumper TEXT]\n"
    "                     [--comments TEXT] [--length SECONDS] [--fade MS] [--show]\n"
    "  With one FILE, OUT is the SPC file to write; with several (or when OUT is a\n"
    "  folder), each FILE is written into OUT under its own name with \".spc\".\n"
    "  Texts longer than their ID666 field are cut (song, game, artist, comments 32,\n"
    "  dumper 16 characters). --length takes 0-999 seconds, --fade 0-99999 ms.\n";

struct tOptions {
    std::vector<std::string> Files;
    std::string Out;
    std::optional<std::string> Song, Game, Artist, Dumper, Comments;
    std::optional<unsigned> Length, Fade;
    bool Show = false;
};

bool ParseNumber(const std::string& Text, unsigned Max, unsigned& Value)
{
    auto [End, Ec] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
    return Ec == std::errc() && End == Text.data() + Text.size() && Value <= Max;
}

// False (with the reason printed) for bad arguments.
bool Parse(const std::vector<std::string>& Args, tOptions& O)
{
    for (size_t i = 0; i < Args.size(); ++i) {
        const std::string& A = Args[i];
        auto Value = [&](std::string& Into) {
            if (i + 1 >= Args.size()) {
                std::fprintf(stderr, "orlik-cli spc: %s needs a value\n", A.c_str());
                return false;
            }
            Into = Args[++i];
            return true;
        };
        std::string V;
        if (A == "-o" || A == "--out") {
            if (!Value(O.Out))
                return false;
        } else if (A == "--song" || A == "--game" || A == "--artist" || A == "--dumper" || A == "--comments") {
            if (!Value(V))
                return false;
            (A == "--song"     ? O.Song
             : A == "--game"   ? O.Game
             : A == "--artist" ? O.Artist
             : A == "--dumper" ? O.Dumper
                               : O.Comments) = V;
        } else if (A == "--length" || A == "--fade") {
            if (!Value(V))
                return false;
            // The text tag holds 3 digits of seconds and 5 of milliseconds.
            const unsigned Max = A == "--length" ? 999 : 99999;
            unsigned N = 0;
            if (!ParseNumber(V, Max, N)) {
                std::fprintf(stderr, "orlik-cli spc: %s wants a whole number from 0 to %u, not \"%s\"\n", A.c_str(),
                             Max, V.c_str());
                return false;
            }
            (A == "--length" ? O.Length : O.Fade) = N;
        } else if (A == "--show") {
            O.Show = true;
        } else if (A.size() > 1 && A[0] == '-') {
            std::fprintf(stderr, "orlik-cli spc: unknown option %s\n", A.c_str());
            return false;
        } else {
            O.Files.push_back(A);
        }
    }
    if (O.Files.empty() || O.Out.empty()) {
        return false;
    }
    return true;
}

// Reads the file's sound state into the SPC object. False when it failed
// (the reason has been printed).
bool LoadSound(const std::string& Name)
{
    SPC->Reset();
    if (!CheckReadable(Name))
        return false;
    if (IsSPCFileName(Name))
        return LoadSoundFile(Name);
    return LoadStateFile(Name);
}

// The editor's values for the held SPC with the options applied, as the SPC
// editor would hold them after the same typing.
void ApplyOptions(const tOptions& O, tSPC_Editor& Editor)
{
    Editor.Refill();
    tSPC_EditorFields& F = Editor.Fields;
    if (!F.Contains) {
        // A new tag is dated today.
        const std::time_t Now = std::time(nullptr);
        std::tm T{};
        localtime_r(&Now, &T);
        Editor.SetContains(true, T.tm_mday, T.tm_mon + 1, T.tm_year + 1900);
    }
    // The tag holds one byte a character, as the editor types them.
    if (O.Song)
        F.Song = Latin1FromUTF8(*O.Song);
    if (O.Game)
        F.Game = Latin1FromUTF8(*O.Game);
    if (O.Artist)
        F.Artist = Latin1FromUTF8(*O.Artist);
    if (O.Dumper)
        F.Dumper = Latin1FromUTF8(*O.Dumper);
    if (O.Comments)
        F.Comments = Latin1FromUTF8(*O.Comments);
    if (O.Length) {
        F.LengthMinutes = "0";
        F.LengthSeconds = std::to_string(*O.Length);
    }
    if (O.Fade) {
        F.FadeSeconds = "0";
        F.FadeMilliseconds = std::to_string(*O.Fade);
    }
}

int Spc(const std::vector<std::string>& Args)
{
    tOptions O;
    if (!Parse(Args, O))
        return UsageError;
    StartCore();
    const bool IntoFolder = O.Files.size() > 1 || DirectoryExists(O.Out) || O.Out.back() == '/';
    std::error_code Ec;
    if (IntoFolder && !DirectoryExists(O.Out) && !fs::create_directories(O.Out, Ec)) {
        std::fprintf(stderr, "%s: cannot create the output folder: %s\n", O.Out.c_str(), Ec.message().c_str());
        return 1;
    }
    int Result = 0;
    for (const std::string& Name : O.Files) {
        SetMessageContext(Name);
        if (!LoadSound(Name)) {
            Result = 1;
            continue;
        }
        const std::string Target =
            IntoFolder ? (fs::path(O.Out) / (fs::path(Name).stem().string() + ".spc")).string() : O.Out;
        tSPC_Editor Editor(*SPC);
        ApplyOptions(O, Editor);
        tError Error;
        if (!Editor.Save(Target, Error)) {
            PrintFileError(Target, "cannot write", Error);
            Result = 1;
            continue;
        }
        std::printf("%s -> %s\n", Name.c_str(), Target.c_str());
        if (O.Show)
            PrintSPCTags(*SPC, stdout);
    }
    SetMessageContext("");
    return Result;
}

tCommandRegistrar Reg({"spc", "spc FILE... -o OUT [--song ...]", "write the sound state as an SPC file", Spc, Usage});
} // namespace
