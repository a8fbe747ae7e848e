// The per-pixel priority search and colour math.

#include "render/Renderer.h"
#include "render/SceneSwitches.h"

void tRenderer::PrepareSearch()
{
    const tPPU& P = *P_;
    for (int Screen = 0; Screen < 2; ++Screen) {
        const auto& Visible = S_->Visibility[Screen];
        auto& Steps = Steps_[Screen];
        int Count = 0;
        for (const char C : P.PriorityString) {
            if (Count == static_cast<int>(Steps.size()))
                break;
            if (C >= '0' && C <= '3') {
                const uint8_t Pri = static_cast<uint8_t>(C - '0');
                if (Visible[8 + Pri])
                    Steps[Count++] = {LayerOBJ, Pri};
            } else if ((C >= 'A' && C <= 'D') || (C >= 'a' && C <= 'd')) {
                const bool High = C <= 'D';
                const uint8_t Layer = static_cast<uint8_t>(C - (High ? 'A' : 'a'));
                // A layer the mode does not have never delivers a pixel.
                if (Visible[2 * Layer + (High ? 1 : 0)] && P.Layers[Layer].BitDepth)
                    Steps[Count++] = {Layer, static_cast<uint8_t>(High ? 1 : 0)};
            }
        }
        StepCount_[Screen] = Count;
    }
}

void tRenderer::SearchScreen(int Screen)
{
    tPPU& P = *P_;
    tPixelResult& Out = Screen == 0 ? MainResult : SubResult;
    FetchScreen = static_cast<uint8_t>(Screen);
    const auto& Steps = Steps_[Screen];
    for (int i = 0, Count = StepCount_[Screen]; i < Count; ++i) {
        const tSearchStep Step = Steps[i];
        FetchPriority = Step.Priority;
        if (Step.Layer == LayerOBJ) {
            if (FetchOBJ(P, Step.Priority, CurX, Out))
                return;
        } else {
            FetchLayer = Step.Layer;
            if (P.FetchBG(Step.Layer, Step.Priority, Screen, CurX, CurLine, S_->CBox_ScreenNoMosaic, Out))
                return;
        }
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
