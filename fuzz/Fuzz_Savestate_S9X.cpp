// A savestate file named "Game.000" through the program's whole load road.

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    FuzzSavestateRoad(FuzzFile("Game.000", Data, Size));
    return 0;
}
