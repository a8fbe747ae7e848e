// The three column passes. Each walks the picture rows top to bottom; the
// first visible line of the console is line 1, so a 256-wide picture's row r
// shows line r + 1 (a 512-wide picture has two rows per line: r + 2).

#include "core/Picture32.h"
#include "core/Picture8.h"
#include "render/Renderer.h"
#include "render/SceneSwitches.h"

namespace
{
uint32_t Average(uint32_t A, uint32_t B)
{
    uint32_t R = 0;
    for (int Shift = 0; Shift <= 16; Shift += 8)
        R |= ((((A >> Shift) & 255) + ((B >> Shift) & 255)) >> 1) << Shift;
    return R;
}
} // namespace

void tRenderer::Pass256(tPicture8& Picture8, tPicture32& Picture32, bool HalfLines)
{
    tPPU& P = *P_;
    for (int32_t Row = 0; Row <= LastLine; ++Row) {
        CurLine = Row + 1;
        BeginLine(CurLine, HalfLines);
        // The sub screen matters to the 8-bit picture's choice and to addition
        // of the sub screen; otherwise it is never searched.
        const bool WithSub = SubChoice_ != SubNever || P.AddSubscreen;
        SpriteLine(P, CurLine, HalfLines);
        PrepareLine(WithSub);
        const tScreenLine& Main = ScreenLines_[0];
        const tScreenLine& Sub = ScreenLines_[1];
        uint8_t* Out8 = Picture8.Row(Row);
        uint32_t* Out32 = Picture32.Row(Row);
        for (int x = 0; x < 256; ++x) {
            const tPixelResult M = ScreenLines_[0].At(x);
            const bool Clip = P.ClipMask[x];
            uint8_t Value = Clip ? 0 : M.Index;
            // The 32-bit picture always shows the main screen.
            if (ShowSub(M))
                Value = Sub.Index[x];
            Out8[x] = Value;
            if (!MathEligible(M, x)) {
                Out32[x] = Clip ? 0 : Main.Shown[x];
                continue;
            }
            bool Half = !Clip && P.HalfMath;
            uint32_t Addend = Fixed_;
            if (P.AddSubscreen) {
                // An empty sub screen is the fixed colour, added at full strength.
                if (Sub.Layer[x] == LayerBackdrop)
                    Half = false;
                else
                    Addend = Sub.Colour[x];
            }
            Out32[x] = Bright(ColourMath(Clip ? 0 : Main.Colour[x], Addend, Half));
        }
        EndRow();
    }
}

// Pseudo-hires: each pixel is the average of a sub-screen half and a
// main-screen half. The sub half uses the clip, half and math decisions of
// the previous column's main half, as the hardware's pipeline does.
void tRenderer::PassPseudoHires(tPicture8& Picture8, tPicture32& Picture32, bool HalfLines)
{
    tPPU& P = *P_;
    for (int32_t Row = 0; Row <= LastLine; ++Row) {
        CurLine = Row + 1;
        BeginLine(CurLine, HalfLines);
        SpriteLine(P, CurLine, HalfLines);
        PrepareLine(true);
        const tScreenLine& Main = ScreenLines_[0];
        const tScreenLine& Sub = ScreenLines_[1];
        bool CarryClip = false, CarryHalf = false, CarryMath = false;
        uint8_t* Out8 = Picture8.Row(Row);
        uint32_t* Out32 = Picture32.Row(Row);
        for (int x = 0; x < 256; ++x) {
            const tPixelResult MainResult = ScreenLines_[0].At(x);
            const tPixelResult SubResult = ScreenLines_[1].At(x);

            uint32_t SubHalf = CarryClip ? 0 : Sub.Colour[x];
            if (CarryMath) {
                const uint32_t Addend = !P.AddSubscreen || MainResult.Layer == LayerBackdrop ? Fixed_ : Main.Colour[x];
                SubHalf = ColourMath(SubHalf, Addend, CarryHalf);
            }
            SubHalf = Bright(SubHalf);

            const bool Clip = P.ClipMask[x];
            uint32_t Colour = Clip ? 0 : Main.Colour[x];
            bool Half = !Clip && P.HalfMath;
            uint8_t Value = Clip ? 0 : MainResult.Index;
            if (ShowSub(MainResult))
                Value = SubResult.Index;
            const bool Math = MathEligible(MainResult, x);
            if (Math) {
                uint32_t Addend = Fixed_;
                if (P.AddSubscreen) {
                    if (SubResult.Layer == LayerBackdrop)
                        Half = false;
                    else
                        Addend = Sub.Colour[x];
                }
                Colour = ColourMath(Colour, Addend, Half);
            }
            CarryClip = Clip;
            CarryHalf = Half;
            CarryMath = Math;

            Out8[x] = Value;
            Out32[x] = Average(SubHalf, Bright(Colour));
        }
        EndRow();
    }
}

// Hires: column 2x shows the sub screen, 2x + 1 the main screen. The sub
// column takes its clip and math decisions from the main column before it;
// those carry across rows as well, once per frame.
void tRenderer::Pass512(tPicture8& Picture8, tPicture32& Picture32, bool HalfLines)
{
    tPPU& P = *P_;
    bool CarryClip = false, CarryHalf = false, CarryMath = false, AddMain = false;
    uint32_t PreviousMain = 0;
    for (int32_t Row = 0; Row <= LastLine; ++Row) {
        CurLine = Row + 2;
        BeginLine(CurLine, HalfLines);
        SpriteLine(P, CurLine, HalfLines);
        PrepareLine(true);
        const tScreenLine& Main = ScreenLines_[0];
        const tScreenLine& Sub = ScreenLines_[1];
        uint8_t* Out8 = Picture8.Row(Row);
        uint32_t* Out32 = Picture32.Row(Row);
        for (int x = 0; x < 256; ++x) {
            const tPixelResult SubResult = ScreenLines_[1].At(x);
            const tPixelResult MainResult = ScreenLines_[0].At(x);
            // Without colour math a pixel is its palette entry after
            // brightness (Shown_); a clipped one is black either way.
            if (CarryMath)
                Out32[2 * x] =
                    Bright(ColourMath(CarryClip ? 0 : Sub.Colour[x], AddMain ? PreviousMain : Fixed_, CarryHalf));
            else
                Out32[2 * x] = CarryClip ? 0 : Sub.Shown[x];
            Out8[2 * x] = CarryClip ? 0 : SubResult.Index;

            CarryClip = P.ClipMask[x];
            CarryHalf = !CarryClip && P.HalfMath;
            CarryMath = MathEligible(MainResult, x);
            AddMain = false;
            if (CarryMath) {
                uint32_t Addend = Fixed_;
                if (P.AddSubscreen) {
                    AddMain = SubResult.Layer != LayerBackdrop;
                    if (AddMain)
                        Addend = Sub.Colour[x];
                    else
                        CarryHalf = false;
                }
                Out32[2 * x + 1] = Bright(ColourMath(CarryClip ? 0 : Main.Colour[x], Addend, CarryHalf));
            } else {
                Out32[2 * x + 1] = CarryClip ? 0 : Main.Shown[x];
            }
            Out8[2 * x + 1] = CarryClip ? 0 : MainResult.Index;
            PreviousMain = Main.Colour[x];
        }
        EndRow();
    }
}
