#pragma once
// BG3's tile map read as the offset-per-tile table of BG modes 2, 4 and 6,
// as the scene viewer's grid shows it: 32 x 32 cells, one per table column
// and row, for BG1 or BG2 and for the horizontal or the vertical offsets.
//
// In modes 2 and 6 each table row holds 32 horizontal entries followed by 32
// vertical ones; in mode 4 one entry serves both, bit 15 saying which. Bit 13
// enables the entry for BG1, bit 14 for BG2; bits 0-9 are the offset.

#include <array>
#include <cstdint>
#include <string>

#include "core/SNES.h"
#include "render/PPU.h"

struct tOffsetGrid {
    // Cells[r][c]: table row r, column c (grid row r + 1, column c + 1);
    // the offset as four decimal digits, or empty.
    std::array<std::array<std::string, 32>, 32> Cells;
    // The grid row (1..32) of the table row BG3's vertical scroll selects, or
    // 0 for none.
    int SelectedRow = 0;
};

// BG2 selects BG2's enable bit (else BG1's); Vertical the "Y" tab.
tOffsetGrid BuildOffsetGrid(const tSNES& S, const tPPU& P, bool BG2, bool Vertical);
