#include "render/Renderer.h"

#include "core/Options.h"
#include "core/Picture32.h"
#include "core/Picture8.h"
#include "render/SceneSwitches.h"
#include "render/ScreenSize.h"

void tRenderer::ComposeFrame(tPPU& P, const tSceneSwitches& S, const tOptions& O, tPicture8& Picture8,
                             tPicture32& Picture32)
{
    if (P.ScreenWidth <= 0 || P.ScreenHeight <= 0)
        return;
    P_ = &P;
    S_ = &S;

    // Hires screens get two rows per line so that their pixels stay square;
    // a sprite-interlaced picture is drawn 256 wide and stretched at the end.
    const tScreenSize Size = ComposedScreenSizeOf(P.Hires, P.Overscan, P.Interlace);
    const int32_t Width = P.Hires ? Size.Width : 256, Height = Size.Height;
    Picture8.Resize(Width, Height);
    Picture32.Resize(Width, Height);
    LastLine = Height - 1;
    DoubleSize = O.CBox_Scene512 && Height < 448;

    P.PriorityString = P.PriorityOrder;
    if (P.BGMode == 1 && P.BG3OnTop) {
        // Mode 1's BG3 priority bit lifts BG3's high tiles in front of everything.
        const auto C = P.PriorityString.find('C');
        if (C != std::string::npos) {
            P.PriorityString.erase(C, 1);
            P.PriorityString.insert(P.PriorityString.begin(), 'C');
        }
    }
    P.MosaicCountY = 0;
    Palette = P.Palette;
    if (S.PaletteInverted)
        for (uint32_t& C : Palette)
            C ^= 0xFFFFFF;
    for (int v = 0; v < 256; ++v)
        BrightnessTable[v] = static_cast<uint8_t>(v * (P.Brightness + 1) >> 4);
    UseBrightness_ = S.CBox_ScreenBrightness;
    for (int i = 0; i < 256; ++i)
        Shown_[i] = Bright(Palette[i]);
    Fixed_ = static_cast<uint32_t>(P.FixedColour[2] << 16 | P.FixedColour[1] << 8 | P.FixedColour[0]);

    PrepareMasks(P, S.CBox_ScreenMasks);
    PrepareSearch();
    PrepareSprites(P);
    const bool HalfLines = Height >= 240;
    if (Width == 512)
        Pass512(Picture8, Picture32, HalfLines);
    else if (P.PseudoHires)
        PassPseudoHires(Picture8, Picture32, HalfLines);
    else
        Pass256(Picture8, Picture32, HalfLines);

    if (Picture32.Width == 512 && O.CBox_SceneBlur)
        BlurPicture(Picture32, O.CBox_SceneBlurSoft);

    Picture8.ColourTable = Shown_;

    if (Width != 512 && (DoubleSize || P.Interlace)) {
        const int32_t FY = DoubleSize && !P.Interlace ? 2 : 1;
        Picture8.Stretch(2, FY);
        Picture32.Stretch(2, FY);
    }
    P_ = nullptr;
    S_ = nullptr;
}

void tRenderer::EndRow()
{
    tPPU& P = *P_;
    P.MosaicCountY = P.MosaicCountY == 0 ? P.MosaicSize : P.MosaicCountY - 1;
}
