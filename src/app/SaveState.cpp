#include "app/SaveState.h"

#include "core/Error.h"
#include "core/Messages.h"
#include "core/Routines.h"
#include "core/SNES.h"
#include "core/StateNames.h"
#include "savestates/S9X.h"
#include "savestates/S9XSnpWrite.h"
#include "app/Model.h"
#include "cart/SNESCart.h"
#include "core/FileIO.h"
#include "core/Gzip.h"
#include "core/Options.h"
#include "core/Picture32.h"
#include "core/Picture8.h"
#include "render/Renderer.h"
#include "render/SceneSwitches.h"
#include "savestates/SSL.h"
#include "savestates/ZST.h"

namespace
{
// Super Sleuth numbers its slots from 1.
constexpr tStateTarget Targets[] = {
    {"zst", FormatZST, 0},
    {"s9x", FormatS9X, 0},
    {"ssl", FormatSSL, 1},
    {"s9xsnp", FormatS9X, 0, tModernForm::S9XSnp},
    {"rastate", FormatS9X, 0, tModernForm::RAState},
};
} // namespace

std::string tStateTarget::Extension() const
{
    return Modern == tModernForm::RAState ? ".state" : SlotExtension(Format, Slot);
}

std::span<const tStateTarget> StateTargets()
{
    return Targets;
}

const tStateTarget* FindStateTarget(std::string_view Name)
{
    for (const tStateTarget& T : Targets)
        if (Name == T.Name)
            return &T;
    return nullptr;
}

const tStateTarget* StateTargetFor(uint8_t Format)
{
    for (const tStateTarget& T : Targets)
        if (Format == T.Format)
            return &T;
    return nullptr;
}

bool SaveStateAs(uint8_t Format, const std::string& FileName)
{
    tError Error;
    bool Ok = false;
    if (Format == FormatZST && ZST)
        Ok = ZST->SaveToFile(FileName, Error);
    else if (Format == FormatS9X && S9X)
        Ok = S9X->SaveToFile(FileName, Error);
    else if (Format == FormatSSL && SSL)
        Ok = SSL->SaveToFile(FileName, Error);
    else
        return false;
    if (!Ok)
        ReportWriteError(FileName, Error);
    return Ok;
}

bool ModernStateBytes(tModernForm Form, bool RZip, std::vector<uint8_t>& Out, std::string& Error)
{
    if (!SNES || Form == tModernForm::None) {
        Error = "there is no state to write";
        return false;
    }
    static const std::vector<uint8_t> NoSRAM;
    const std::string Name = S9X ? S9X->ConvertedName() : std::string();
    if (Form == tModernForm::RAState) {
        // RetroArch's core writes no picture.
        const std::vector<uint8_t> Stream = BuildS9XSnp(*SNES, Cart ? Cart->SRAM : NoSRAM, Name, nullptr);
        Out = WrapRAState(Stream);
        if (RZip) {
            std::vector<uint8_t> Packed;
            if (!PackRZip(Out, Packed)) {
                Error = "the state could not be compressed";
                return false;
            }
            Out = std::move(Packed);
        }
        return true;
    }
    // The standalone program's picture: our composed screen, 5 bits a component.
    tS9XSnpPicture Shot;
    if (PPU && Renderer) {
        tSceneSwitches Switches;
        Switches.Reload(*PPU, Options());
        tOptions Plain = Options();
        Plain.CBox_Scene512 = Plain.CBox_SceneBlur = false;
        tPicture8 Picture8;
        tPicture32 Picture32;
        Renderer->ComposeFrame(*PPU, Switches, Plain, Picture8, Picture32);
        // Snes9x's picture has one row per line unless interlaced, and 512
        // columns only for a hires screen.
        const bool Interlaced = PPU->Interlace || PPU->ScreenInterlace;
        const int StepY = Picture32.Height >= 448 && !Interlaced ? 2 : 1;
        const int StepX = Picture32.Width == 512 && !PPU->Hires && !PPU->PseudoHires ? 2 : 1;
        Shot.Width = static_cast<unsigned>(Picture32.Width / StepX);
        Shot.Height = static_cast<unsigned>(Picture32.Height / StepY);
        Shot.Interlaced = Interlaced;
        for (int32_t y = 0; y < Picture32.Height; y += StepY)
            for (int32_t x = 0; x < Picture32.Width; x += StepX)
                Shot.Pixels.push_back(Picture32.At(x, y));
    }
    Out = BuildS9XSnp(*SNES, Cart ? Cart->SRAM : NoSRAM, Name, Shot.Width ? &Shot : nullptr);
    return GzipStream(Out, Error);
}

bool SaveStateAs(const tStateTarget& Target, const std::string& FileName)
{
    if (Target.Modern == tModernForm::None)
        return SaveStateAs(Target.Format, FileName);
    tError Error;
    std::vector<uint8_t> Out;
    if (!ModernStateBytes(Target.Modern, Options().CBox_MainRZip, Out, Error.Reason) ||
        !WriteFileAtomic(FileName, Out, Error)) {
        ReportWriteError(FileName, Error);
        return false;
    }
    return true;
}

void ReportWriteError(const std::string& FileName, const tError& Error)
{
    Messages().Error("Could not write " + Error.Describe(Quoted(FileName)) + ".");
}
