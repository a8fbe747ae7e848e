#include "core/CoreBridge.h"

#include "cart/SNESCart.h"
#include "core/Messages.h"
#include "core/SNES.h"

bool LoadCartridgeFile(const std::string&)
{
    Messages().Error("Loading cartridges is not available in this version.");
    return false;
}

void FindCartridgeFor(const std::string&) {}

bool SaveStateAs(uint8_t, const std::string&)
{
    Messages().Error("Saving savestates is not available in this version.");
    return false;
}

QImage SavestateThumbnail(const QString&) { return {}; }
