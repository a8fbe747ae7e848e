#pragma once
// Palette files: the palette viewer's import and export of CGRAM in the four
// formats of the options window's "palette format" buttons.
//
// A CGRAM entry is BGR555 (red bits 0-4, green 5-9, blue 10-14). Two of the
// formats store 8-bit components (the 5-bit value times 8), two store the
// words or the 5-bit values themselves. The captions of the two RAW buttons
// are the program's texts and say the opposite of what the buttons do
// ("RAW: 768 bytes, 8-bit" holds the 5-bit values, "RAW: 768 bytes, 5-bit"
// the values times 8); files written by earlier versions follow the
// behaviour, so the behaviour stays and so do the captions.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/Error.h"

// The values of tOptions::PaletteFormat, in the order of the buttons.
enum tPaletteFormat : int {
    PaletteJASC = 0, // RBtn_Palette1: JASC-PAL text, 8-bit components in decimal
    PaletteSNES = 1, // RBtn_Palette2: the 512 CGRAM bytes as stored
    PaletteRaw5 = 2, // RBtn_Palette3: 256 x red, green, blue bytes of 0..31
    PaletteRaw8 = 3, // RBtn_Palette4: 256 x red, green, blue bytes of 0..248
    // Chosen by the file name's extension, for other painting programs:
    PaletteGPL = 4, // ".gpl": GIMP palette text, "R G B name" lines of 0..255
    PaletteACT = 5, // ".act": Adobe colour table, 256 x red, green, blue of 0..255
};
// The formats of the options window's buttons.
inline constexpr int PaletteFormatCount = 4;
// Every format, those chosen by extension included.
inline constexpr int PaletteFileFormatCount = 6;
// A GIMP palette's colour lines may carry names; room for 256 generous ones.
inline constexpr size_t MaxGPLFileSize = 128 * 1024;
// An Adobe colour table is 768 bytes, or 772 with the colour count and the
// transparent index (16 bits each, big-endian) after the colours.
inline constexpr size_t ACTFileSize = 768, ACTFileSizeWithCount = 772;

// The format a file name asks for: ".gpl" and ".act" (any case) name theirs,
// every other name takes Default.
int PaletteFormatForName(const std::string& FileName, int Default);

using tCGRAM = std::array<uint16_t, 256>;

// A JASC palette the program writes is 3349 bytes: three header lines and 256
// lines "RRR GGG BBB", all ended by CR LF. Other painting programs add
// comments or spaces after the numbers, but a palette of 256 colours has no
// reason to come near 64 KiB; a larger file is not a palette.
inline constexpr size_t MaxJASCFileSize = 64 * 1024;
// A colour line is 11 characters; room for generous spacing, not for a
// line that is really a binary file read as text.
inline constexpr size_t MaxJASCLineLength = 256;
// "JASC-PAL", the version "0100" and the colour count.
inline constexpr int JASCHeaderLines = 3;

// Reads palette file content into CGRAM, entry by entry. A file that ends
// early or holds a malformed colour stops the reading: the entries read so
// far are kept, the others stay as they were, and false comes back with the
// reason (naming no file) in Error. Entries tells how many were replaced.
// A JASC file whose colour count (third line) is below 256 and which holds
// exactly that many colours is complete; so is a GIMP palette of 1 to 256
// colours and an Adobe table whose count says fewer than 256.
bool DecodePalette(std::span<const uint8_t> Data, int Format, tCGRAM& CGRAM, int& Entries, tError& Error);
// The file content of CGRAM in a format.
std::vector<uint8_t> EncodePalette(const tCGRAM& CGRAM, int Format);

// Whole-file forms; writing goes through WriteFileAtomic.
bool LoadPaletteFile(const std::string& FileName, int Format, tCGRAM& CGRAM, int& Entries, tError& Error);
bool SavePaletteFile(const std::string& FileName, int Format, const tCGRAM& CGRAM, tError& Error);
