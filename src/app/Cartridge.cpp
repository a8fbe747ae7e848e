#include "app/Cartridge.h"

#include "cart/SNESCart.h"
#include "core/Messages.h"

bool OpenCartridge(const std::string& Name)
{
    if (!Cart)
        return false;
    tError Error;
    const bool Loaded = Cart->LoadFromFile(Name, Error);
    if (const std::string Message = Cart->LoadMessage(Name, Loaded, Error); !Message.empty())
        Messages().Error(Message);
    return Loaded;
}
