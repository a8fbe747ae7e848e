#pragma once
// The palette viewer's model: the texts of the selected colour, the grid's
// cell arithmetic and the colour dialog's result as a CGRAM entry.

#include <cstdint>
#include <string>

inline constexpr int PaletteGridCells = 16;

// A CGRAM entry's components as shown: the 5-bit value times 8 (0..248).
struct tRGB8 {
    int R = 0, G = 0, B = 0;
};
tRGB8 EntryRGB(uint16_t Entry);
// What the colour dialog's 8-bit components store: each cut to 5 bits.
uint16_t EntryFromRGB(int R, int G, int B);

// "#F80000".
std::string HTMLText(uint16_t Entry);
// "037" with decimal digits, else "25h".
std::string PaletteIndexText(int Index, bool Decimal);
// The group of 2^Bits colours that holds Index: "30h..3Fh" or "048..063".
std::string PaletteGroupText(int Index, int Bits, bool Decimal);
// "007" for a displayed component.
std::string ComponentText(int Value);

// Cell size of a grid whose client area is Client pixels on one side: the
// 16 cells share it less a 4-pixel border, and never shrink below 1 pixel.
int PaletteCellSize(int Client);
// The cell index under a point, or -1 outside the 16 x 16 cells.
int PaletteCellAt(int X, int Y, int CellW, int CellH);
