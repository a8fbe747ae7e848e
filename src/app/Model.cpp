#include "app/Model.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "app/Loader.h"
#include "app/StateReceiver.h"
#include "cart/IPS.h"
#include "cart/SNESCart.h"
#include "core/Broadcast.h"
#include "core/INI.h"
#include "core/Options.h"
#include "core/Picture32.h"
#include "core/Picture8.h"
#include "core/SNES.h"
#include "render/PPU.h"
#include "render/Renderer.h"
#include "render/SceneSwitches.h"
#include "savestates/S9X.h"
#include "savestates/SGT.h"
#include "savestates/SSL.h"
#include "savestates/ZST.h"
#include "sound/SPC.h"

tINI* INI = nullptr;
tCart* Cart = nullptr;
tSPC* SPC = nullptr;
tZST* ZST = nullptr;
tS9X* S9X = nullptr;
tSSL* SSL = nullptr;
tSGT* SGT = nullptr;
tSNES* SNES = nullptr;
tPPU* PPU = nullptr;
tRenderer* Renderer = nullptr;
tIPS* IPS = nullptr;

namespace
{
// The composed screen of the decoded state, scaled down to ZSNES's 64 x 56
// preview: every preview pixel is the average of its block of the screen.
void MakeZSTPreview(std::array<uint8_t, ZSTLayout::PreviewSize>& Preview)
{
    if (!PPU)
        return;
    tOptions O = Options();
    O.CBox_Scene512 = O.CBox_SceneBlur = false;
    tSceneSwitches Switches;
    Switches.Reload(*PPU, O);
    const auto Compositor = std::make_unique<tRenderer>();
    tPicture8 Picture8;
    tPicture32 Picture32;
    Compositor->ComposeFrame(*PPU, Switches, O, Picture8, Picture32);
    const int W = Picture32.Width, H = Picture32.Height;
    if (W <= 0 || H <= 0)
        return;
    constexpr int PW = static_cast<int>(ZSTLayout::PreviewWidth), PH = static_cast<int>(ZSTLayout::PreviewHeight);
    for (int py = 0; py < PH; ++py)
        for (int px = 0; px < PW; ++px) {
            const int X0 = px * W / PW, X1 = std::max(X0 + 1, (px + 1) * W / PW);
            const int Y0 = py * H / PH, Y1 = std::max(Y0 + 1, (py + 1) * H / PH);
            uint32_t Sum[3] = {}, Count = 0;
            for (int y = Y0; y < Y1; ++y)
                for (int x = X0; x < X1; ++x, ++Count)
                    for (int c = 0; c < 3; ++c)
                        Sum[c] += Picture32.At(x, y) >> (16 - 8 * c) & 255;
            const uint32_t R = Sum[0] / Count, G = Sum[1] / Count, B = Sum[2] / Count;
            const uint16_t V = static_cast<uint16_t>((R >> 3) << 11 | (G >> 2) << 5 | B >> 3);
            Preview[2 * (py * PW + px)] = static_cast<uint8_t>(V);
            Preview[2 * (py * PW + px) + 1] = static_cast<uint8_t>(V >> 8);
        }
}
} // namespace

void CreateModelObjects()
{
    if (SNES)
        return;
    INI = new tINI;
    Cart = new tCart;
    SPC = new tSPC;
    ZST = new tZST;
    ZST->PreviewMaker = MakeZSTPreview;
    S9X = new tS9X;
    SSL = new tSSL;
    SGT = new tSGT;
    SNES = new tSNES;
    PPU = new tPPU;
    // HDMA tables may lie in the cartridge's ROM.
    PPU->ROMSource = [] { return Cart ? Cart->ROMView() : tROMView{}; };
    Renderer = new tRenderer;
    IPS = new tIPS;

    RegisterReceiver(tBusSlot::INI, INI);
    RegisterReceiver(tBusSlot::IPS, IPS);
    RegisterReceiver(tBusSlot::SNES, &StateReceiver());
    RegisterReceiver(tBusSlot::PPU, PPU);
    RegisterReceiver(tBusSlot::Cart, Cart);
    RegisterReceiver(tBusSlot::S9X, S9X);
    RegisterReceiver(tBusSlot::SPC, SPC);
    RegisterReceiver(tBusSlot::SGT, SGT);
    RegisterReceiver(tBusSlot::SSL, SSL);
    RegisterReceiver(tBusSlot::ZST, ZST);

    RegisterSavestateFormat(FormatZST, ZST);
    RegisterSavestateFormat(FormatS9X, S9X);
    RegisterSavestateFormat(FormatSGT, SGT);
    RegisterSavestateFormat(FormatSSL, SSL);
}

void FreeModelObjects()
{
    for (tBusSlot S : {tBusSlot::INI, tBusSlot::IPS, tBusSlot::SNES, tBusSlot::PPU, tBusSlot::Cart, tBusSlot::S9X,
                       tBusSlot::SPC, tBusSlot::SGT, tBusSlot::SSL, tBusSlot::ZST})
        RegisterReceiver(S, nullptr);
    for (uint8_t F = FormatZST; F <= FormatSSL; ++F)
        RegisterSavestateFormat(F, nullptr);
    delete IPS;
    delete Renderer;
    delete PPU;
    delete SNES;
    delete SGT;
    delete SSL;
    delete S9X;
    delete ZST;
    delete SPC;
    delete Cart;
    delete INI;
    IPS = nullptr;
    Renderer = nullptr;
    PPU = nullptr;
    SNES = nullptr;
    SGT = nullptr;
    SSL = nullptr;
    S9X = nullptr;
    ZST = nullptr;
    SPC = nullptr;
    Cart = nullptr;
    INI = nullptr;
}
