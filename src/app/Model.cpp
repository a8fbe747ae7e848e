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

// Makes the object of Part unless it is there or not wanted.
template <class T> bool Create(T*& Object, uint32_t Part, uint32_t Parts)
{
    if (Object || !(Parts & Part))
        return false;
    Object = new T;
    return true;
}

// A savestate format's object, made when the loader first asks for it.
template <uint32_t Part, class T> tSavestateFormat* MakeFormat(T* const& Object)
{
    CreateModelObjects(Part);
    return Object;
}

// Makes a format's object now when wanted, else leaves it to the loader.
template <class T>
bool CreateFormat(T*& Object, uint32_t Part, uint32_t Parts, tBusSlot Slot, uint8_t Format,
                  tSavestateFormat* (*Maker)(), bool (*IsFormatFile)(const std::string&))
{
    if (Create(Object, Part, Parts)) {
        RegisterReceiver(Slot, Object);
        RegisterSavestateFormat(Format, Object);
        return true;
    }
    if (!Object)
        SetSavestateFormatMaker(Format, Maker, {IsFormatFile, T::ParseFile});
    return false;
}
} // namespace

void CreateModelObjects(uint32_t Parts)
{
    if (Create(INI, ModelINI, Parts))
        RegisterReceiver(tBusSlot::INI, INI);
    if (Create(Cart, ModelCart, Parts))
        RegisterReceiver(tBusSlot::Cart, Cart);
    if (Create(SPC, ModelSPC, Parts))
        RegisterReceiver(tBusSlot::SPC, SPC);
    if (CreateFormat(
            ZST, ModelZST, Parts, tBusSlot::ZST, FormatZST, [] { return MakeFormat<ModelZST>(ZST); }, tZST::IsZSTFile))
        ZST->PreviewMaker = MakeZSTPreview;
    CreateFormat(
        S9X, ModelS9X, Parts, tBusSlot::S9X, FormatS9X, [] { return MakeFormat<ModelS9X>(S9X); }, tS9X::IsS9XFile);
    CreateFormat(
        SSL, ModelSSL, Parts, tBusSlot::SSL, FormatSSL, [] { return MakeFormat<ModelSSL>(SSL); }, tSSL::IsSSLFile);
    CreateFormat(
        SGT, ModelSGT, Parts, tBusSlot::SGT, FormatSGT, [] { return MakeFormat<ModelSGT>(SGT); }, tSGT::IsSGTFile);
    if (Create(SNES, ModelSNES, Parts))
        RegisterReceiver(tBusSlot::SNES, &StateReceiver());
    if (Create(PPU, ModelPPU, Parts)) {
        // HDMA tables may lie in the cartridge's ROM.
        PPU->ROMSource = [] { return Cart ? Cart->ROMView() : tROMView{}; };
        RegisterReceiver(tBusSlot::PPU, PPU);
    }
    Create(Renderer, ModelRenderer, Parts);
    if (Create(IPS, ModelIPS, Parts))
        RegisterReceiver(tBusSlot::IPS, IPS);
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
