// A zipped cartridge "Game.zip": the first entry is read (bounded) and loaded.

#include "FuzzSupport.h"

#include "app/Cartridge.h"
#include "cart/SNESCart.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    FuzzSetUp();
    if (OpenCartridge(FuzzFile("Game.zip", Data, Size)))
        FuzzReadThroughMemoryMap();
    return 0;
}
