// The priority search of each line (the layers fetched once per line, then
// each screen's winner per column) and colour math.

#include "render/Renderer.h"
#include "render/SceneSwitches.h"

void tRenderer::PrepareSearch()
{
    const tPPU& P = *P_;
    SubChoice_ = S_->CBox_ScreenBoth ? SubOnBackdrop : S_->LayeringTab == 1 ? SubAlways : SubNever;
    for (int N = 0; N < 4; ++N)
        LayerMath_[N] = P.Layers[N].ColourMath;
    for (int Screen = 0; Screen < 2; ++Screen) {
        const auto& Visible = Visible_[Screen];
        auto& Steps = Steps_[Screen];
        auto& Used = LayerUsed_[Screen];
        Used.fill(false);
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
                if (Visible[2 * Layer + (High ? 1 : 0)] && (P.Layers[Layer].BitDepth || Mode7Layer(Layer))) {
                    Steps[Count++] = {Layer, static_cast<uint8_t>(High ? 1 : 0)};
                    Used[Layer] = true;
                }
            }
        }
        StepCount_[Screen] = Count;
    }
}

void tRenderer::PrepareLine(bool WithSub)
{
    tPPU& P = *P_;
    const bool Mosaic = !S_->CBox_ScreenNoMosaic;
    for (int N = 0; N < 4; ++N) {
        if (Mode7Layer(N)) {
            if (LayerUsed_[0][N] || (WithSub && LayerUsed_[1][N]))
                P.FetchMode7Line(N, CurLine, !Mosaic, BGLines_[N][0]);
        } else if (P.Hires) {
            for (int Screen = 0; Screen < (WithSub ? 2 : 1); ++Screen)
                if (LayerUsed_[Screen][N])
                    P.FetchBGLine(N, Screen, CurLine, !Mosaic, BGLines_[N][Screen]);
        } else if (LayerUsed_[0][N] || (WithSub && LayerUsed_[1][N])) {
            P.FetchBGLine(N, 0, CurLine, !Mosaic, BGLines_[N][0]);
        }
    }
    SearchScreen(0);
    if (WithSub)
        SearchScreen(1);
}

namespace
{
// The priorities a line shows at all: bit p when some column holds a pixel
// of priority p (Visible = p + 1). One pass in vector steps.
unsigned PrioritiesShown(const tBGLine& B)
{
    uint8_t P1 = 0, P2 = 0, P3 = 0, P4 = 0;
    for (int x = 0; x < 256; ++x) {
        const uint8_t V = B.Visible[x];
        P1 |= V == 1;
        P2 |= V == 2;
        P3 |= V == 3;
        P4 |= V == 4;
    }
    return P1 | P2 << 1 | P3 << 2 | P4 << 3;
}

// Where the line shows a pixel of the wanted priority (and Hidden, when
// given, does not hide it), its pixel replaces what Out holds. Branch-free,
// so that the columns go in vector steps.
template <bool Masked, class tLine>
void Overlay(tLine& Out, const tBGLine& B, const uint8_t* Hidden, uint8_t Wanted, uint8_t Layer)
{
    for (int x = 0; x < 256; ++x) {
        bool Shows = B.Visible[x] == Wanted;
        if constexpr (Masked)
            Shows &= Hidden[x] == 0;
        const uint8_t Wins = static_cast<uint8_t>(-static_cast<int>(Shows));
        Out.Index[x] = static_cast<uint8_t>((Out.Index[x] & ~Wins) | (B.Index[x] & Wins));
        Out.Palette[x] = static_cast<uint8_t>((Out.Palette[x] & ~Wins) | (B.Palette[x] & Wins));
        Out.Layer[x] = static_cast<uint8_t>((Out.Layer[x] & ~Wins) | (Layer & Wins));
    }
}
} // namespace

// Each column's pixel is that of the first step that delivers one. Painted
// from the last step to the first, every step overwrites what lies behind it.
void tRenderer::SearchScreen(int Screen)
{
    const tPPU& P = *P_;
    tScreenLine& Out = ScreenLines_[Screen];
    Out.Index.fill(0);
    Out.Palette.fill(0);
    Out.Layer.fill(LayerBackdrop);
    const auto& Steps = Steps_[Screen];
    // Most steps find nothing on most lines (no high-priority tiles, no
    // sprites of that priority): each layer's priorities are looked up once.
    std::array<int, LayerOBJ + 1> Shown;
    Shown.fill(-1);
    for (int i = StepCount_[Screen] - 1; i >= 0; --i) {
        const tSearchStep Step = Steps[i];
        const bool OBJ = Step.Layer == LayerOBJ;
        const tBGLine& B = OBJ ? ObjLine : BGLines_[Step.Layer][P.Hires ? Screen : 0];
        int& Has = Shown[Step.Layer];
        if (Has < 0)
            Has = static_cast<int>(PrioritiesShown(B));
        if (!((Has >> Step.Priority) & 1))
            continue;
        const uint8_t Wanted = static_cast<uint8_t>(Step.Priority + 1);
        // A layer's window is part of its line already; the sprites' is not.
        if (OBJ)
            Overlay<true>(Out, B, P.ObjMask.data(), Wanted, Step.Layer);
        else
            Overlay<false>(Out, B, nullptr, Wanted, Step.Layer);
    }
    for (int x = 0; x < 256; ++x) {
        Out.Colour[x] = Palette[Out.Index[x]];
        Out.Shown[x] = Shown_[Out.Index[x]];
    }
    if (DirectBG1_) {
        // 256-colour BG1 pixels name their colour themselves: BGR 3.3.2 from
        // the pixel, one more low bit of each from the tile's palette number.
        const auto& Direct = DirectColourTable();
        for (int x = 0; x < 256; ++x)
            if (Out.Layer[x] == 0) {
                uint32_t C = Direct[Out.Palette[x] & 7][Out.Index[x]];
                if (S_->PaletteInverted)
                    C ^= 0xFFFFFF;
                Out.Colour[x] = C;
                Out.Shown[x] = Bright(C);
            }
    }
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
