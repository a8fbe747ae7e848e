// A Snes9x movie "Game.smv": header, metadata, ROM information, and the
// embedded quicksave (through the Snes9x reader) or SRAM it starts from.

#include "FuzzSupport.h"

#include "app/MovieStart.h"
#include "sound/SMV.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    FuzzSetUp();
    tSMV Movie;
    if (LoadMovie(Movie, FuzzFile("Game.smv", Data, Size))) {
        volatile size_t Sink = Movie.Metadata.size() + Movie.ROMName().size() + Movie.ROMCRC32();
        (void)Sink;
        FuzzAfterNewSNES(false);
    }
    return 0;
}
