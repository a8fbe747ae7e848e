// An IPS patch "Game.ips" lying beside a small cartridge "Game.sfc", applied
// as the cartridge loads; the patched ROM must stay inside its bound.

#include <cstdlib>
#include <vector>

#include "FuzzSupport.h"

#include "app/Cartridge.h"
#include "cart/IPS.h"
#include "cart/SNESCart.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    FuzzSetUp();
    static const std::string ROMName = [] {
        // 32 KiB of a simple pattern: small enough that most records grow it.
        std::vector<uint8_t> ROM(32768);
        for (size_t i = 0; i < ROM.size(); ++i)
            ROM[i] = static_cast<uint8_t>(i * 13 + (i >> 8));
        return FuzzFile("Game.sfc", ROM.data(), ROM.size());
    }();
    FuzzFile("Game.ips", Data, Size);
    if (OpenCartridge(ROMName)) {
        if (Cart->ROM.size() > MaxPatchedROMSize)
            std::abort();
        FuzzReadThroughMemoryMap();
    }
    return 0;
}
