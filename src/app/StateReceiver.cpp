#include "app/StateReceiver.h"

#include "app/Loader.h"
#include "cart/SNESCart.h"
#include "core/Options.h"
#include "core/SNES.h"

void tStateReceiver::Notify(const void*, tNote Msg)
{
    if (Msg == Note::NewSNES) {
        if (SNES)
            SNES->DecodeDMA();
    } else if (Msg == Note::Startup) {
        if (SNES)
            SNES->LoadDefaultPalette();
    } else if (Msg == Note::NewSavestate) {
        if (Cart && Options().CBox_OpenCart)
            Cart->FindForSavestate(StateFileName);
    }
}

tStateReceiver& StateReceiver()
{
    static tStateReceiver Receiver;
    return Receiver;
}
