// A palette file opened in each of the four formats, as the palette viewer
// opens it: read by name into a CGRAM, then saved back. The entries the
// reader did not reach must be untouched, and a palette that read whole must
// read back the same from what the program writes.

#include <cstdlib>

#include "FuzzSupport.h"

#include "app/ToolFiles.h"
#include "core/FileIO.h"
#include "tools/PaletteFile.h"

namespace
{
tCGRAM Pattern()
{
    tCGRAM C;
    for (int i = 0; i < 256; ++i)
        C[i] = static_cast<uint16_t>(0x8000 | i * 0x0123);
    return C;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    FuzzSetUp();
    static const tCGRAM Before = Pattern();
    const std::string Name = FuzzFile("Colours.pal", Data, Size);
    for (int Format = 0; Format < PaletteFileFormatCount; ++Format) {
        tCGRAM C = Before;
        const int Entries = ImportPalette(Name, Format, C);
        if (Entries < 0 || Entries > 256)
            std::abort();
        for (int i = Entries; i < 256; ++i)
            if (C[i] != Before[i])
                std::abort();
        tCGRAM Direct = Before;
        int DirectEntries = 0;
        tError Error;
        const bool Whole = DecodePalette({Data, Size}, Format, Direct, DirectEntries, Error);
        // The import takes a file whole or not at all.
        if (Whole ? (Direct != C || DirectEntries != Entries) : (C != Before || Entries != 0 || Error.Empty()))
            std::abort();
        if (!Whole || Entries != 256)
            continue;
        const std::string Out = FuzzDir() + "/Saved.pal";
        if (!ExportPalette(Out, Format, C))
            std::abort();
        tCGRAM Back{};
        int BackEntries = 0;
        if (!LoadPaletteFile(Out, Format, Back, BackEntries, Error) || BackEntries != 256)
            std::abort();
        for (int i = 0; i < 256; ++i)
            if (Back[i] != (Format == PaletteSNES ? C[i] : C[i] & 0x7FFF))
                std::abort();
    }
    return 0;
}
