#include "app/ToolFiles.h"

#include "core/Messages.h"
#include "core/Routines.h"
#include "tools/CodePage.h"

int ImportPalette(const std::string& FileName, int Format, tCGRAM& CGRAM)
{
    // Read into a copy: a file that stops early changes nothing.
    tCGRAM Read = CGRAM;
    int Entries = 0;
    tError Error;
    if (!LoadPaletteFile(FileName, PaletteFormatForName(FileName, Format), Read, Entries, Error)) {
        Messages().Error("Could not load the palette file " + Error.Describe(Quoted(FileName)) + ".");
        return 0;
    }
    CGRAM = Read;
    return Entries;
}

bool ExportPalette(const std::string& FileName, int Format, const tCGRAM& CGRAM)
{
    tError Error;
    if (SavePaletteFile(FileName, PaletteFormatForName(FileName, Format), CGRAM, Error))
        return true;
    Messages().Error("Could not write the palette file " + Error.Describe(Quoted(FileName)) + ".");
    return false;
}

bool LoadCodePageFile(const std::string& FileName, tPicture32& Out)
{
    tError Error;
    if (ReadCodePage(FileName, Out, Error))
        return true;
    if (Error.Reason == CodePageTooSmall)
        Messages().Error(Error.Reason + "\n(" + Quoted(FileName) + ")");
    else
        Messages().Error("Could not load the code page " + Error.Describe(Quoted(FileName)) + ".");
    return false;
}
