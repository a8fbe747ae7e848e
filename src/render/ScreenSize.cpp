#include "render/ScreenSize.h"

#include "core/SNES.h"

tScreenSize ComposedScreenSizeOf(bool Hires, bool Overscan, bool ObjInterlace, bool Scale512)
{
    tScreenSize Size;
    Size.Height = Overscan ? 239 : 224;
    if (ObjInterlace || Hires)
        Size.Height *= 2;
    Size.Width = Hires || ObjInterlace ? 512 : 256;
    if (Scale512 && Size.Height < 448) {
        Size.Width *= 2;
        Size.Height *= 2;
    }
    return Size;
}

tScreenSize ComposedScreenSize(uint8_t BGMode, uint8_t SETINI, bool Scale512)
{
    const uint8_t Mode = BGMode & 7;
    return ComposedScreenSizeOf(Mode == 5 || Mode == 6, (SETINI & 0x04) != 0, (SETINI & 0x02) != 0, Scale512);
}

tScreenSize ComposedScreenSize(const tSNES& S, bool Scale512)
{
    return ComposedScreenSize(S.Regs[0x2105], S.Regs[0x2133], Scale512);
}
