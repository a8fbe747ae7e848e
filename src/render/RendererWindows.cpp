// Window masks: the two windows' ranges combined per layer, the sprites and
// the colour window, and the clip and math-prevention regions built from the
// colour window.

#include "render/Renderer.h"

void tRenderer::CombineWindows(const tPPU& P, const tWindowSel& Sel, std::array<uint8_t, 256>& Mask)
{
    // An enabled window contributes its range, or with inversion everything
    // outside it (an empty range inverted covers the whole line).
    bool Active[2];
    for (int w = 0; w < 2; ++w)
        Active[w] = Sel.Enable[w];
    auto Part = [&](int w, int x) -> uint8_t {
        const uint8_t In = P.Windows[w].Inside[x];
        return Sel.Invert[w] ? !In : In;
    };
    for (int x = 0; x < 256; ++x) {
        if (Active[0] && Active[1]) {
            const uint8_t A = Part(0, x), B = Part(1, x);
            // One case a line: the switch reads as a table.
            // clang-format off
            switch (Sel.Logic & 3) {
            case 0: Mask[x] = A | B; break;
            case 1: Mask[x] = A & B; break;
            case 2: Mask[x] = A ^ B; break;
            default: Mask[x] = !(A ^ B); break;
            }
            // clang-format on
        } else if (Active[0] || Active[1]) {
            Mask[x] = Part(Active[0] ? 0 : 1, x);
        } else {
            Mask[x] = 0;
        }
    }
}

void tRenderer::PrepareMasks(tPPU& P, bool UseMasks)
{
    if (!UseMasks) {
        for (tBGLayer& L : P.Layers)
            L.Mask = P.ZeroMask;
        P.ObjMask = P.ZeroMask;
        P.ClipMask = P.ZeroMask;
        P.NoMathMask = P.ZeroMask;
        return;
    }
    // TMW/TSW are not applied: a layer's window hides it on both screens.
    for (tBGLayer& L : P.Layers)
        CombineWindows(P, L.Window, L.Mask);
    CombineWindows(P, P.ObjWindow, P.ObjMask);
    CombineWindows(P, P.ColourWindow, P.ColourWindowMask);
    auto Region = [&](uint8_t Code, std::array<uint8_t, 256>& Out) {
        for (int x = 0; x < 256; ++x) {
            // One case a line: the switch reads as a table.
            // clang-format off
            switch (Code & 3) {
            case 0: Out[x] = 0; break;
            case 1: Out[x] = !P.ColourWindowMask[x]; break;
            case 2: Out[x] = P.ColourWindowMask[x]; break;
            default: Out[x] = 1; break;
            }
            // clang-format on
        }
    };
    Region(P.ClipRegion, P.ClipMask);
    Region(P.NoMathRegion, P.NoMathMask);
}
