#include "FuzzSupport.h"

#include <array>
#include <cstdlib>
#include <memory>
#include <vector>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "app/Loader.h"
#include "cart/SNESCart.h"
#include "core/Broadcast.h"
#include "core/Messages.h"
#include "app/Model.h"
#include "core/SNES.h"
#include "app/RegisterTabs.h"
#include "core/Options.h"
#include "core/Picture32.h"
#include "core/Picture8.h"
#include "core/PictureFiles.h"
#include "core/SharedData.h"
#include "render/HDMATable.h"
#include "render/LayerPictures.h"
#include "render/PPU.h"
#include "render/Renderer.h"
#include "render/SceneSwitches.h"
#include "app/SaveState.h"
#include "savestates/S9X.h"
#include "savestates/ZST.h"
#include "savestates/SSL.h"

namespace fs = std::filesystem;

namespace
{

tSilentMessenger Silent;

} // namespace

void FuzzSetUp()
{
    static bool Done = false;
    if (Done)
        return;
    Done = true;
    SetProgramDir(ORLIK_RESOURCE_DIR);
    SetMessenger(&Silent);
    CreateModelObjects();
    Broadcast(nullptr, Note::Startup);
    tError Error;
    RegisterTabs().Load(Error);
}

const std::string& FuzzDir()
{
    static const std::string Dir = [] {
        fs::path Base;
        if (const char* T = std::getenv("ORLIK_FUZZ_TMP"); T && *T)
            Base = T;
        else if (std::error_code Ec; fs::is_directory("/dev/shm", Ec))
            Base = "/dev/shm";
        else
            Base = fs::temp_directory_path();
        fs::path D = Base / ("orlik-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(D);
        return D.string();
    }();
    return Dir;
}

std::string FuzzFile(const std::string& Name, const uint8_t* Data, size_t Size)
{
    std::string Path = FuzzDir() + "/" + Name;
    std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
    Out.write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));
    return Path;
}

void FuzzSavestateRoad(const std::string& FileName)
{
    FuzzSetUp();
    if (LoadSavestate(FileName))
        FuzzAfterNewSNES(true);
}

void FuzzAfterNewSNES(bool SaveBack)
{
    // The main window's register tabs read the machine state and every
    // format's image.
    RegisterTabs().Invalidate();
    for (int Page = 0; Page < RegisterPageCount; ++Page) {
        try {
            RegisterTabs().FillTab(Page, CurrentRegisterSources(), true);
        } catch (const tRegisterFileError&) {
        }
    }

    // The scene viewer: the composed screen, every layer plane, the sprite
    // sheet, the mode 7 plane and the HDMA tables.
    tSceneSwitches Switches;
    Switches.Reload(*PPU, Options());
    tPicture8 Picture8;
    tPicture32 Picture32;
    Renderer->ComposeFrame(*PPU, Switches, Options(), Picture8, Picture32);
    // The file managers' thumbnail of it (orlik-cli thumbnail).
    std::vector<uint8_t> Thumbnail;
    tError PNGError;
    (void)EncodePNG(ScreenThumbnail(Picture32, 128), Thumbnail, PNGError);
    const tTransparency T;
    for (int N = 0; N < 4; ++N)
        DrawBGPlane(*PPU, N, true, true, T, Picture8);
    std::array<uint8_t, 128> Active;
    Active.fill(1);
    DrawSpriteSheet(*PPU, Active, {1, 1, 1, 1}, T, Picture8);
    DrawMode7Plane(*PPU, false, PPU->DirectColour, true, true, T, Picture8);
    DrawMode7Plane(*PPU, true, false, true, true, T, Picture8);
    for (int Channel = 0; Channel < 8; ++Channel)
        HDMALines(*SNES, Cart ? Cart->ROMView() : tROMView{}, Channel);
    FuzzReadThroughMemoryMap();

    if (!SaveBack)
        return;
    // Saving in every writable format, to memory; what we write we must be
    // able to read again.
    std::vector<uint8_t> ZSTOut, S9XOut, SSLOut;
    std::string Error;
    ZST->BuildStream();
    ZSTOut = ZST->FileStream;
    if (!S9X->SaveToStream(S9XOut, Error))
        std::abort();
    SSL->SaveToStream(SSLOut);
    auto State = std::make_unique<tSNES>();
    tZSTImage ZSTBack;
    tS9XImage S9XBack;
    tSSLImage SSLBack;
    std::vector<uint8_t> SRAM;
    tError Why;
    if (!ParseZST(ZSTOut, false, *State, ZSTBack, Why) || !ParseS9X(S9XOut, *State, S9XBack, SRAM, Why) ||
        !ParseSSL(SSLOut, *State, SSLBack, Error))
        std::abort();
    // The newer Snes9x forms: the standalone file with its picture and
    // RetroArch's rzip-compressed container.
    for (const auto& [Form, RZip] : {std::pair{tModernForm::S9XSnp, false}, {tModernForm::RAState, true}}) {
        std::vector<uint8_t> Out;
        if (!ModernStateBytes(Form, RZip, Out, Error) || !ParseS9X(Out, *State, S9XBack, SRAM, Why))
            std::abort();
    }
}

void FuzzReadThroughMemoryMap()
{
    volatile uint8_t Sink = 0;
    for (unsigned Bank = 0; Bank < 256; ++Bank)
        for (unsigned A = 0; A < 0x10000; A += 0x1FFF) {
            uint16_t Address = static_cast<uint16_t>(A);
            uint32_t Size = 65536;
            const uint8_t* Ptr = nullptr;
            const tROMView ROM = Cart ? Cart->ROMView() : tROMView{};
            if (SNES->MapAddress(ROM, static_cast<uint8_t>(Bank), Address, Size, Ptr) && Ptr && Size)
                Sink = static_cast<uint8_t>(Sink + Ptr[Address % Size] + Ptr[Size - 1]); // wraps: only the reads matter
        }
}
