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

    Mode7_ = O.CBox_SceneMode7;
    Direct_ = O.CBox_SceneDirect;
    Replay_ = O.CBox_SceneHDMA && !P.HDMA.Writes.empty();
    LineRegs_ = P.FrameRegisters;
    NextWrite_ = 0;
    const uint8_t BG3OnTop = P.BG3OnTop;
    P.MosaicCountY = 0;
    PrepareSprites(P);
    PrepareLineState(true);
    const bool HalfLines = Height >= 240;
    if (Width == 512)
        Pass512(Picture8, Picture32, HalfLines);
    else if (P.PseudoHires)
        PassPseudoHires(Picture8, Picture32, HalfLines);
    else
        Pass256(Picture8, Picture32, HalfLines);

    if (Picture32.Width == 512 && O.CBox_SceneBlur)
        BlurPicture(Picture32, O.CBox_SceneBlurSoft);

    if (Replay_) {
        // Back to the frame's own registers, for the viewers and the 8-bit
        // picture's colour table.
        P.ApplyLineRegisters(P.FrameRegisters);
        P.ConvertPalette(P.FrameRegisters.CGRAM);
        P.BG3OnTop = BG3OnTop;
        LineRegs_ = P.FrameRegisters;
        PrepareLineState(true);
    }
    Picture8.ColourTable = Shown_;

    if (Width != 512 && (DoubleSize || P.Interlace)) {
        const int32_t FY = DoubleSize && !P.Interlace ? 2 : 1;
        Picture8.Stretch(2, FY);
        Picture32.Stretch(2, FY);
    }
    P_ = nullptr;
    S_ = nullptr;
}

void tRenderer::PrepareLineState(bool NewPalette)
{
    tPPU& P = *P_;
    P.PriorityString = P.PriorityOrder;
    if (P.BGMode == 1 && P.BG3OnTop) {
        // Mode 1's BG3 priority bit lifts BG3's high tiles in front of everything.
        const auto C = P.PriorityString.find('C');
        if (C != std::string::npos) {
            P.PriorityString.erase(C, 1);
            P.PriorityString.insert(P.PriorityString.begin(), 'C');
        }
    }
    if (NewPalette) {
        Palette = P.Palette;
        if (S_->PaletteInverted)
            for (uint32_t& C : Palette)
                C ^= 0xFFFFFF;
    }
    for (int v = 0; v < 256; ++v)
        BrightnessTable[v] = static_cast<uint8_t>(v * (P.Brightness + 1) >> 4);
    UseBrightness_ = S_->CBox_ScreenBrightness;
    for (int i = 0; i < 256; ++i)
        Shown_[i] = Bright(Palette[i]);
    Fixed_ = static_cast<uint32_t>(P.FixedColour[2] << 16 | P.FixedColour[1] << 8 | P.FixedColour[0]);

    // A line's layer enables stand in for the frame's, except where the
    // viewer's layering departs from the registers.
    Visible_ = S_->Visibility;
    if (Replay_) {
        tLayering Line{};
        for (int n = 0; n < 4; ++n)
            for (int p = 0; p < 2; ++p) {
                Line[0][2 * n + p] = P.Layers[n].OnMain;
                Line[1][2 * n + p] = P.Layers[n].OnSub;
            }
        for (int p = 0; p < 4; ++p) {
            Line[0][8 + p] = P.ObjOnMain;
            Line[1][8 + p] = P.ObjOnSub;
        }
        for (int s = 0; s < 2; ++s)
            for (int k = 0; k < 12; ++k) {
                const bool Frame = S_->RegisterLayering[s][k], Wanted = S_->Visibility[s][k];
                Visible_[s][k] = Frame == Wanted ? (Wanted && Line[s][k]) : Wanted;
            }
    }
    DirectBG1_ = Direct_ && P.DirectColour && (P.BGMode == 3 || P.BGMode == 4 || (P.BGMode == 7 && Mode7_));

    PrepareMasks(P, S_->CBox_ScreenMasks);
    PrepareSearch();
}

void tRenderer::BeginLine(int Line, bool HalfLines)
{
    if (!Replay_)
        return;
    const auto& Writes = P_->HDMA.Writes;
    // The writes of HDMA line k reach output line k + 1.
    const int Reached = (HalfLines ? Line >> 1 : Line) - 1;
    uint8_t Changed = 0;
    while (NextWrite_ < Writes.size() && Writes[NextWrite_].Line <= Reached) {
        const tHDMAWrite& W = Writes[NextWrite_++];
        Changed |= LineRegs_.Write(W.Reg, W.Value);
    }
    if (!Changed)
        return;
    tPPU& P = *P_;
    const bool NewPalette = Changed & tLineRegisters::ChangedPalette;
    P.ApplyLineRegisters(LineRegs_, Changed & tLineRegisters::ChangedRegisters);
    if (NewPalette)
        P.ConvertPalette(LineRegs_.CGRAM);
    if (Changed & tLineRegisters::ChangedRegisters) {
        PrepareLineState(NewPalette);
        return;
    }
    // Scrolls and the mode 7 values are read by the line fetch itself; the
    // fixed colour and a new palette need only their own tables.
    Fixed_ = static_cast<uint32_t>(P.FixedColour[2] << 16 | P.FixedColour[1] << 8 | P.FixedColour[0]);
    if (NewPalette)
        for (int i = 0; i < 256; ++i) {
            Palette[i] = S_->PaletteInverted ? P.Palette[i] ^ 0xFFFFFF : P.Palette[i];
            Shown_[i] = Bright(Palette[i]);
        }
}

void tRenderer::EndRow()
{
    tPPU& P = *P_;
    P.MosaicCountY = P.MosaicCountY == 0 ? P.MosaicSize : P.MosaicCountY - 1;
}
