// A cartridge image "Game.sfc" through the program's load road: copier header,
// internal header and map-mode search, then reads through the memory map.

#include "FuzzSupport.h"

#include "app/Cartridge.h"
#include "cart/SNESCart.h"
#include "core/SNES.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    FuzzSetUp();
    if (OpenCartridge(FuzzFile("Game.sfc", Data, Size)))
        FuzzReadThroughMemoryMap();
    return 0;
}
