// orlik-cli render: the pictures the scene viewer shows, from savestates.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Commands.h"
#include "app/Loader.h"
#include "core/FileIO.h"
#include "core/Options.h"
#include "core/Picture32.h"
#include "core/Picture8.h"
#include "core/PictureFiles.h"
#include "core/SNES.h"
#include "render/LayerPictures.h"
#include "render/PPU.h"
#include "render/Renderer.h"
#include "render/SceneSwitches.h"

#include <unistd.h>

namespace
{
namespace fs = std::filesystem;

const char* const Usage = "usage: orlik-cli render FILE... -o OUT.png|OUT.bmp|FOLDER [options]\n"
                          "  --view screen|screen8|bg1|bg2|bg3|bg4|sprites|mode7   (default screen)\n"
                          "  --priority 0|1|both     tile priorities of a bg or mode7 view (default both)\n"
                          "  --ext                   mode7: the EXTBG view\n"
                          "  --sub                   screen8: the sub screen\n"
                          "  --no-windows --no-brightness --ignore-mosaic\n"
                          "  --no-hdma --no-mode7 --no-direct-colour   the screen as one still frame\n"
                          "  --scale512 --blur --soft-blur\n"
                          "  --transparency const|none|col0|#RRGGBB   layer views (default const)\n"
                          "  --format png|bmp        pictures written into a folder (default png)\n"
                          "With several files OUT is a folder; each picture is named after its file.\n";

enum class tView { Screen, Screen8, BG, Sprites, Mode7 };

struct tRenderArgs {
    std::vector<std::string> Files;
    std::string Out;
    tView View = tView::Screen;
    int Layer = 0;
    bool Priority0 = true, Priority1 = true;
    bool ExtBG = false, Sub = false;
    bool NoWindows = false, NoBrightness = false, IgnoreMosaic = false;
    bool Scale512 = false, Blur = false, SoftBlur = false;
    bool NoHDMA = false, NoMode7 = false, NoDirectColour = false;
    tTransparency Transparency;
    std::string Format = "png";
};

bool ParseColour(const std::string& Text, uint32_t& Colour)
{
    if (Text.size() != 7 || Text[0] != '#')
        return false;
    Colour = 0;
    for (size_t i = 1; i < 7; ++i) {
        const char C = Text[i];
        const int D = C >= '0' && C <= '9'   ? C - '0'
                      : C >= 'a' && C <= 'f' ? C - 'a' + 10
                      : C >= 'A' && C <= 'F' ? C - 'A' + 10
                                             : -1;
        if (D < 0)
            return false;
        Colour = Colour << 4 | static_cast<uint32_t>(D);
    }
    return true;
}

// Fills A from the arguments; false with a message on stderr.
bool Parse(const std::vector<std::string>& Args, tRenderArgs& A)
{
    for (size_t i = 0; i < Args.size(); ++i) {
        const std::string& S = Args[i];
        auto Value = [&](std::string& V) {
            if (i + 1 >= Args.size()) {
                std::fprintf(stderr, "orlik-cli render: %s needs a value\n", S.c_str());
                return false;
            }
            V = Args[++i];
            return true;
        };
        std::string V;
        if (S == "-o") {
            if (!Value(A.Out))
                return false;
        } else if (S == "--view") {
            if (!Value(V))
                return false;
            if (V == "screen")
                A.View = tView::Screen;
            else if (V == "screen8")
                A.View = tView::Screen8;
            else if (V.size() == 3 && V.compare(0, 2, "bg") == 0 && V[2] >= '1' && V[2] <= '4') {
                A.View = tView::BG;
                A.Layer = V[2] - '1';
            } else if (V == "sprites")
                A.View = tView::Sprites;
            else if (V == "mode7")
                A.View = tView::Mode7;
            else {
                std::fprintf(stderr, "orlik-cli render: unknown view \"%s\"\n", V.c_str());
                return false;
            }
        } else if (S == "--priority") {
            if (!Value(V))
                return false;
            if (V != "0" && V != "1" && V != "both") {
                std::fprintf(stderr, "orlik-cli render: --priority takes 0, 1 or both\n");
                return false;
            }
            A.Priority0 = V != "1";
            A.Priority1 = V != "0";
        } else if (S == "--transparency") {
            if (!Value(V))
                return false;
            if (V == "const")
                A.Transparency.Kind = tTransparency::FixedColour;
            else if (V == "none")
                A.Transparency.Kind = tTransparency::None;
            else if (V == "col0")
                A.Transparency.Kind = tTransparency::Colour0;
            else if (ParseColour(V, A.Transparency.CustomColour))
                A.Transparency.Kind = tTransparency::Custom;
            else {
                std::fprintf(stderr, "orlik-cli render: --transparency takes const, none, col0 or #RRGGBB\n");
                return false;
            }
        } else if (S == "--format") {
            if (!Value(A.Format))
                return false;
            if (A.Format != "png" && A.Format != "bmp") {
                std::fprintf(stderr, "orlik-cli render: --format takes png or bmp\n");
                return false;
            }
        } else if (S == "--ext")
            A.ExtBG = true;
        else if (S == "--sub")
            A.Sub = true;
        else if (S == "--no-windows")
            A.NoWindows = true;
        else if (S == "--no-brightness")
            A.NoBrightness = true;
        else if (S == "--ignore-mosaic")
            A.IgnoreMosaic = true;
        else if (S == "--no-hdma")
            A.NoHDMA = true;
        else if (S == "--no-mode7")
            A.NoMode7 = true;
        else if (S == "--no-direct-colour")
            A.NoDirectColour = true;
        else if (S == "--scale512")
            A.Scale512 = true;
        else if (S == "--blur")
            A.Blur = true;
        else if (S == "--soft-blur")
            A.Blur = A.SoftBlur = true;
        else if (S.size() > 1 && S[0] == '-') {
            std::fprintf(stderr, "orlik-cli render: unknown option \"%s\"\n", S.c_str());
            return false;
        } else
            A.Files.push_back(S);
    }
    if (A.Files.empty() || A.Out.empty()) {
        return false;
    }
    return true;
}

// Renders the loaded state as the arguments ask and writes it.
bool RenderOne(const tRenderArgs& A, const std::string& OutName, tError& Error)
{
    tSceneSwitches Switches;
    Switches.Reload(*PPU, Options());
    Switches.CBox_ScreenMasks = !A.NoWindows;
    Switches.CBox_ScreenBrightness = !A.NoBrightness;
    Switches.CBox_ScreenNoMosaic = A.IgnoreMosaic;
    Switches.LayeringTab = A.Sub ? 1 : 0;

    tPicture8 Picture8;
    switch (A.View) {
    case tView::Screen:
    case tView::Screen8: {
        tPicture32 Picture32;
        Renderer->ComposeFrame(*PPU, Switches, Options(), Picture8, Picture32);
        if (Picture32.Width == 0) {
            Error = tError("the screen has no size");
            return false;
        }
        return A.View == tView::Screen ? WritePicture(OutName, Picture32, Error)
                                       : WritePicture(OutName, Picture8, Error);
    }
    case tView::BG:
        DrawBGPlane(*PPU, A.Layer, A.Priority0, A.Priority1, A.Transparency, Picture8);
        if (Picture8.Width == 0) {
            Error =
                tError("BG" + std::to_string(A.Layer + 1) + " is not part of BG mode " + std::to_string(PPU->BGMode));
            return false;
        }
        break;
    case tView::Sprites: {
        std::array<uint8_t, 128> Active;
        Active.fill(1);
        DrawSpriteSheet(*PPU, Active, {1, 1, 1, 1}, A.Transparency, Picture8);
        break;
    }
    case tView::Mode7:
        DrawMode7Plane(*PPU, A.ExtBG, PPU->DirectColour, A.Priority0, A.Priority1, A.Transparency, Picture8);
        break;
    }
    return WritePicture(OutName, Picture8, Error);
}

int Render(const std::vector<std::string>& Args)
{
    tRenderArgs A;
    if (!Parse(Args, A))
        return UsageError;
    StartCore(ModelSNES | ModelPPU | ModelRenderer);
    SetViewOnlyLoads(true);
    tOptions& O = Options();
    O.CBox_Scene512 = A.Scale512;
    O.CBox_SceneBlur = A.Blur;
    O.CBox_SceneBlurSoft = A.SoftBlur;
    O.CBox_SceneHDMA = !A.NoHDMA;
    O.CBox_SceneMode7 = !A.NoMode7;
    O.CBox_SceneDirect = !A.NoDirectColour;
    O.CBox_OpenIPS = false;

    // -o names a folder for several files, or when it is one or ends in "/".
    const bool Many = A.Files.size() > 1;
    const bool Folder = Many || DirectoryExists(A.Out) || A.Out.back() == '/';
    if (Folder) {
        std::error_code Ec;
        fs::create_directories(A.Out, Ec);
        if (!DirectoryExists(A.Out)) {
            std::fprintf(stderr, "%s: cannot make the output folder\n", A.Out.c_str());
            return 1;
        }
        // New pictures reach the disk together, in one flush at the end.
        SetBatchWrites(true);
    }
    // The progress line is rewritten after every file and wiped before the
    // next one starts, so that messages about a file stand on lines of their own.
    const bool Progress = Many && ::isatty(2);
    auto ShowProgress = [&](size_t Done, const std::string& Name) {
        if (Progress)
            std::fprintf(stderr, "\r[%zu/%zu] %s\x1b[K", Done, A.Files.size(), Name.c_str());
    };

    int Result = 0;
    for (size_t i = 0; i < A.Files.size(); ++i) {
        const std::string& Name = A.Files[i];
        if (Progress)
            std::fputs("\r\x1b[K", stderr);
        const bool Loaded = LoadStateFile(Name);
        SetMessageContext("");
        if (!Loaded) {
            Result = 1;
            ShowProgress(i + 1, Name);
            continue;
        }
        const std::string OutName =
            Folder ? (fs::path(A.Out) / (fs::path(Name).filename().string() + "." + A.Format)).string() : A.Out;
        // Channels whose tables could not be read are drawn without; say so.
        if (!A.NoHDMA && (A.View == tView::Screen || A.View == tView::Screen8))
            for (int c = 0; c < 8; ++c)
                if (PPU->HDMA.Skipped >> c & 1)
                    std::fprintf(stderr, "%s: HDMA channel %d skipped: %s\n", Name.c_str(), c,
                                 PPU->HDMA.SkippedROM >> c & 1
                                     ? "its table lies in cartridge ROM and no cartridge is loaded"
                                     : "its table lies where nothing can be read");
        tError Error;
        if (!RenderOne(A, OutName, Error)) {
            std::fprintf(stderr, "%s: %s\n", Name.c_str(), Error.Describe(OutName).c_str());
            Result = 1;
        }
        ShowProgress(i + 1, Name);
    }
    if (Folder)
        FlushBatch(A.Out);
    if (Progress)
        std::fprintf(stderr, "\r%zu files rendered\x1b[K\n", A.Files.size());
    return Result;
}

tCommandRegistrar Reg({"render", "render FILE... -o OUT [--view V] ...", "the scene viewer's pictures as PNG or BMP",
                       Render, Usage});
} // namespace
