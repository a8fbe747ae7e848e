// Gzip data as Snes9x savestates and SMV movies carry it.

#include <cstdlib>
#include <string>
#include <vector>

#include "core/Gzip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    // A smaller bound than the program's keeps each run fast; the bound
    // itself is what is under test.
    constexpr size_t FuzzLimit = 4u << 20;
    std::vector<uint8_t> D(Data, Data + Size);
    std::string Error;
    if (!GunzipStream(D, Error, FuzzLimit)) {
        if (Error.empty() || D != std::vector<uint8_t>(Data, Data + Size))
            std::abort(); // a failure must say why and leave the data alone
        return 0;
    }
    if (D.size() > FuzzLimit)
        std::abort();
    const std::vector<uint8_t> Plain = D;
    if (!GzipStream(D, Error) || !GunzipStream(D, Error, FuzzLimit) || D != Plain)
        std::abort();
    return 0;
}
