#include "core/CoreBridge.h"

#include "cart/SNESCart.h"
#include "core/Messages.h"
#include "core/SNES.h"

bool LoadCartridgeFile(const std::string& FileName) { return Cart && Cart->LoadFromFile(FileName); }

void FindCartridgeFor(const std::string& Name)
{
    if (Cart)
        Cart->FindForSavestate(Name);
}

bool SaveStateAs(uint8_t, const std::string&)
{
    Messages().Error("Saving savestates is not available in this version.");
    return false;
}

QImage SavestateThumbnail(const QString&) { return {}; }
