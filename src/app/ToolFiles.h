#pragma once
// What the palette viewer, the options window and the command-line tool show
// for palette and code-page files. The readers and writers in tools/ only
// return a tError; these name the file and show the failure through
// Messages().

#include <string>

#include "core/Picture32.h"
#include "tools/PaletteFile.h"

// The palette viewer's open: returns the number of entries replaced (the
// caller announces "new SNES" when it is not 0). CGRAM changes only when the
// whole file was read; otherwise nothing changes and the message says why.
// ".gpl" and ".act" names are read in their formats, others in Format.
int ImportPalette(const std::string& FileName, int Format, tCGRAM& CGRAM);
// The palette viewer's save, in the format the name or Format asks for.
bool ExportPalette(const std::string& FileName, int Format, const tCGRAM& CGRAM);

// The options window's "codepage..." button: the too-small text exactly,
// with the file's name on a second line; other failures with the file and
// the reason. Out changes only on success.
bool LoadCodePageFile(const std::string& FileName, tPicture32& Out);
