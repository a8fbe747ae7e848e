// A code-page picture for the hex view, opened under a ".png" name and under
// a ".bmp" name (the name picks the reader). What comes back must be a
// picture the hex view can cut 256 glyphs from, within the size bound.

#include <cstdlib>

#include "FuzzSupport.h"

#include "app/ToolFiles.h"
#include "tools/CodePage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    FuzzSetUp();
    for (const char* Name : {"Font.png", "Font.bmp"}) {
        const std::string File = FuzzFile(Name, Data, Size);
        tPicture32 Picture;
        if (!LoadCodePageFile(File, Picture))
            continue;
        if (Picture.Width < MinCodePageWidth || Picture.Height < MinCodePageHeight || Picture.Width > MaxCodePageSide ||
            Picture.Height > MaxCodePageSide ||
            Picture.Pixels.size() != static_cast<size_t>(Picture.Width) * static_cast<size_t>(Picture.Height))
            std::abort();
        // The hex view's key colour is the bottom-left pixel.
        volatile uint32_t Key = Picture.At(0, Picture.Height - 1);
        (void)Key;
    }
    return 0;
}
