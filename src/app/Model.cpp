#include "app/Model.h"

#include <cstdint>

#include "app/Loader.h"
#include "app/StateReceiver.h"
#include "cart/IPS.h"
#include "cart/SNESCart.h"
#include "core/Broadcast.h"
#include "core/INI.h"
#include "core/SNES.h"
#include "render/PPU.h"
#include "render/Renderer.h"
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

void CreateModelObjects()
{
    if (SNES)
        return;
    INI = new tINI;
    Cart = new tCart;
    SPC = new tSPC;
    ZST = new tZST;
    S9X = new tS9X;
    SSL = new tSSL;
    SGT = new tSGT;
    SNES = new tSNES;
    PPU = new tPPU;
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
