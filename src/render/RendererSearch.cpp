// The per-pixel priority search and colour math.

#include "render/Renderer.h"
#include "render/SceneSwitches.h"

void tRenderer::SearchScreen(int Screen)
{
    tPPU& P = *P_;
    const auto& Visible = S_->Visibility[Screen];
    tPixelResult& Out = Screen == 0 ? MainResult : SubResult;
    FetchScreen = static_cast<uint8_t>(Screen);
    for (const char C : P.PriorityString) {
        bool Found = false;
        if (C >= '0' && C <= '3') {
            FetchPriority = static_cast<uint8_t>(C - '0');
            Found = Visible[8 + FetchPriority] && FetchOBJ(P, FetchPriority, CurX, Out);
        } else if (C >= 'A' && C <= 'D') {
            FetchLayer = static_cast<uint8_t>(C - 'A');
            FetchPriority = 1;
            Found = Visible[2 * FetchLayer + 1] &&
                    P.FetchBG(FetchLayer, 1, Screen, CurX, CurLine, S_->CBox_ScreenNoMosaic, Out);
        } else if (C >= 'a' && C <= 'd') {
            FetchLayer = static_cast<uint8_t>(C - 'a');
            FetchPriority = 0;
            Found = Visible[2 * FetchLayer] &&
                    P.FetchBG(FetchLayer, 0, Screen, CurX, CurLine, S_->CBox_ScreenNoMosaic, Out);
        }
        if (Found)
            return;
    }
    Out = {0, 0, LayerBackdrop};
}

bool tRenderer::MathEligible(const tPixelResult& R, int X) const
{
    const tPPU& P = *P_;
    if (P.NoMathMask[X])
        return false;
    if (R.Layer < 4)
        return P.Layers[R.Layer].ColourMath;
    // Sprites of palettes 0-3 never take part in colour math.
    if (R.Layer == LayerOBJ)
        return P.ObjMath && R.Palette >= 4;
    return P.BackdropMath;
}

uint32_t tRenderer::ColourMath(uint32_t Colour, uint32_t Addend, bool Half) const
{
    const bool Subtract = P_->SubtractMath;
    uint32_t Result = 0;
    for (int Shift = 0; Shift <= 16; Shift += 8) {
        const int a = static_cast<int>((Colour >> Shift) & 255), b = static_cast<int>((Addend >> Shift) & 255);
        int t = Subtract ? a - b : a + b;
        // Halving comes before the clamp.
        if (Half && t > 0)
            t >>= 1;
        if (t < 0)
            t = 0;
        if (t > 255)
            t = 255;
        Result |= static_cast<uint32_t>(t) << Shift;
    }
    return Result;
}

bool tRenderer::ShowSub(const tPixelResult& Main) const
{
    return S_->CBox_ScreenBoth ? Main.Layer == LayerBackdrop : S_->LayeringTab == 1;
}
