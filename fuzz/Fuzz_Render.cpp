// The picture unit and the compositor on hostile register values: a machine
// state filled straight from the input (see RenderInput.h), decoded, composed
// with the viewer's switches taken from the input, and drawn as every layer
// picture, the sprite sheet, the mode 7 plane and the offset-per-tile grid.

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "RenderInput.h"

#include "core/Options.h"
#include "core/Picture32.h"
#include "core/Picture8.h"
#include "core/SNES.h"
#include "render/LayerPictures.h"
#include "render/OffsetPerTile.h"
#include "render/PPU.h"
#include "render/Renderer.h"
#include "render/SceneSwitches.h"

namespace RI = RenderInput;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    FuzzSetUp();
    std::vector<uint8_t> In(Data, Data + Size);
    if (In.size() < RI::Header)
        In.resize(RI::Header, 0);

    tSNES& S = *SNES;
    S.Regs.fill(0);
    S.OAM.fill(0);
    S.CGRAM.fill(0);
    S.VRAM.fill(0);
    std::copy_n(In.begin() + RI::Registers, RI::RegisterCount, S.Regs.begin() + 0x2100);
    size_t At = RI::Header;
    auto Take = [&](size_t Count) {
        const size_t N = std::min(Count, In.size() - At);
        const uint8_t* P = In.data() + At;
        At += N;
        return std::pair{P, N};
    };
    const auto [OAM, OAMCount] = Take(RI::OAMSize);
    std::copy_n(OAM, OAMCount, S.OAM.begin());
    const auto [CG, CGCount] = Take(RI::CGRAMSize);
    for (size_t i = 0; i + 1 < CGCount; i += 2)
        S.CGRAM[i / 2] = static_cast<uint16_t>(CG[i] | CG[i + 1] << 8);
    const auto [VRAM, VRAMCount] = Take(S.VRAM.size());
    std::copy_n(VRAM, VRAMCount, S.VRAM.begin());

    tOptions& O = Options();
    const uint8_t Switch = In[RI::Switches], More = In[RI::More];
    O.SceneBase = (More & RI::SpriteBase) % 3;
    O.CBox_Scene512 = Switch & RI::Scale512;
    O.CBox_SceneBlur = Switch & RI::Blur;
    O.CBox_SceneBlurSoft = Switch & RI::SoftBlur;

    // The values the savestate readers keep beside the register image.
    for (size_t n = 0; n < 4; ++n) {
        S.BGHScroll[n] = RI::Get16(In, RI::Scrolls + 4 * n);
        S.BGVScroll[n] = RI::Get16(In, RI::Scrolls + 4 * n + 2);
    }
    S.M7.A = static_cast<int16_t>(RI::Get16(In, RI::Matrix));
    S.M7.B = static_cast<int16_t>(RI::Get16(In, RI::Matrix + 2));
    S.M7.C = static_cast<int16_t>(RI::Get16(In, RI::Matrix + 4));
    S.M7.D = static_cast<int16_t>(RI::Get16(In, RI::Matrix + 6));
    S.M7.X = static_cast<int16_t>(RI::Get16(In, RI::Matrix + 8));
    S.M7.Y = static_cast<int16_t>(RI::Get16(In, RI::Matrix + 10));
    std::copy_n(In.begin() + RI::Fixed, 3, S.FixedColour.begin());
    S.FirstSprite = In[RI::FirstSprite];
    tPPU& P = *PPU;
    P.Decode(S, O);
    // The scene viewer may force a BG mode and BG3's mode 1 priority.
    if (More & RI::ForceMode) {
        P.BGMode = (More >> 4) & 7;
        P.SetupLayers(S);
    }
    if (More & RI::BG3OnTop)
        P.BG3OnTop = 1;

    tSceneSwitches Sw;
    Sw.Reload(P, O);
    Sw.CBox_ScreenMasks = !(Switch & RI::NoMasks);
    Sw.CBox_ScreenBrightness = !(Switch & RI::NoBrightness);
    Sw.CBox_ScreenNoMosaic = Switch & RI::NoMosaic;
    Sw.CBox_ScreenBoth = Switch & RI::BothScreens;
    Sw.LayeringTab = Switch & RI::SubTab ? 1 : 0;
    Sw.PaletteInverted = More & RI::InvertPalette;
    for (int i = 0; i < 24; ++i)
        Sw.Visibility[i / 12][i % 12] ^= static_cast<uint8_t>((In[RI::Layering + i / 8] >> (i % 8)) & 1);

    tPicture8 Picture8;
    tPicture32 Picture32;
    Renderer->ComposeFrame(P, Sw, O, Picture8, Picture32);
    // The pictures must have the size the frame promises.
    if (Picture32.Pixels.size() != static_cast<size_t>(Picture32.Width) * static_cast<size_t>(Picture32.Height) ||
        Picture8.Pixels.size() != static_cast<size_t>(Picture8.Width) * static_cast<size_t>(Picture8.Height))
        std::abort();

    const uint8_t View = In[RI::Pictures];
    tTransparency T;
    T.Kind = static_cast<tTransparency::tKind>((View >> 2) & 3);
    T.CustomColour = P.Palette[View];
    for (int N = 0; N < 4; ++N)
        DrawBGPlane(P, N, View & 1, View & 2, T, Picture8);
    std::array<uint8_t, 128> Active;
    for (size_t i = 0; i < Active.size(); ++i)
        Active[i] = S.OAM[i] & 1;
    DrawSpriteSheet(P, Active, {1, 1, 1, 1}, T, Picture8);
    DrawMode7Plane(P, false, P.DirectColour, View & 1, View & 2, T, Picture8);
    DrawMode7Plane(P, true, false, View & 1, View & 2, T, Picture8);
    for (bool BG2 : {false, true})
        for (bool Vertical : {false, true})
            (void)BuildOffsetGrid(S, P, BG2, Vertical);
    return 0;
}
