// orlik-cli thumbnail: a savestate's screen as a small PNG, for the desktop's
// file managers (data/orlik.thumbnailer). They start one process per file, so
// the command reads one state and touches nothing else.

#include <charconv>
#include <cstdio>
#include <string>
#include <utility>

#include "Commands.h"
#include "app/Loader.h"
#include "core/FileIO.h"
#include "core/Options.h"
#include "core/Picture32.h"
#include "core/Picture8.h"
#include "core/PictureFiles.h"
#include "render/PPU.h"
#include "render/Renderer.h"
#include "render/SceneSwitches.h"

namespace
{
int Thumbnail(const std::vector<std::string>& Args)
{
    if (Args.size() != 3)
        return UsageError;
    const std::string& In = Args[0];
    const std::string& Out = Args[1];
    const std::string& SizeText = Args[2];
    int32_t Side = 0;
    const auto [End, Ec] = std::from_chars(SizeText.data(), SizeText.data() + SizeText.size(), Side);
    if (Ec != std::errc() || End != SizeText.data() + SizeText.size() || Side < 1) {
        std::fprintf(stderr, "orlik-cli thumbnail: SIZE must be a whole number of pixels, 1 or more\n");
        return UsageError;
    }
    StartCore(ModelSNES | ModelPPU | ModelRenderer);
    SetViewOnlyLoads(true);
    // The screen as the state shows it, one pixel per dot, as "render" gives it.
    tOptions& O = Options();
    O.CBox_OpenIPS = false;
    O.CBox_Scene512 = O.CBox_SceneBlur = O.CBox_SceneBlurSoft = false;
    if (!LoadStateFile(In, ": no thumbnail made"))
        return 1;
    SetMessageContext("");
    tSceneSwitches Switches;
    Switches.Reload(*PPU, Options());
    tPicture8 Picture8;
    tPicture32 Screen;
    Renderer->ComposeFrame(*PPU, Switches, Options(), Picture8, Screen);
    const tPicture32 Small = ScreenThumbnail(std::move(Screen), Side);
    // The picture goes to a new file that the file manager names and then
    // moves into its cache: still written whole and renamed into place, but
    // not flushed to the disk on its own (a cut-short cache entry is made
    // again). Over an existing file it is flushed first, as ever.
    SetBatchWrites(true);
    SetPNGPacking(tPNGPacking::Fast);
    tError Error;
    if (Small.Width == 0)
        Error = tError("the screen has no size");
    else if (WritePNG(Out, Small, Error))
        return 0;
    std::fprintf(stderr, "%s: %s\n", In.c_str(), Error.Describe(Out).c_str());
    return 1;
}

tCommandRegistrar Reg({"thumbnail", "thumbnail STATE OUT.png SIZE",
                       "the state's screen scaled to fit SIZE x SIZE pixels, as PNG", Thumbnail});
} // namespace
