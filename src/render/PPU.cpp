#include "render/PPU.h"

#include "core/Options.h"
#include "core/SNES.h"

tPPU::tPPU()
{
    LayOutSpritePictures();
}

void tPPU::Notify(const void*, tNote Msg)
{
    // The machine state's own handler runs first on the bus, so on "startup"
    // CGRAM already holds the default palette.
    if ((Msg == Note::NewSNES || Msg == Note::Startup) && SNES)
        Decode(*SNES, Options());
    else if (Msg == Note::NewCartROM && SNES)
        ReplayFrame(*SNES);
}

void tPPU::ReplayFrame(const tSNES& S)
{
    FrameRegisters.From(S);
    HDMA = ReplayHDMA(S, ROMSource ? ROMSource() : tROMView{});
}

void tPPU::Decode(const tSNES& S, const tOptions& O)
{
    BGMode = S.Regs[0x2105] & 7;
    ReadRegisters(S);
    SetupLayers(S);
    DecodeMode7Plane(S);
    DecodeSprites(S, O);
    ConvertPalette(S);
    ReplayFrame(S);
}
