#pragma once
// The decoded PPU values as six lists of text rows, for the scene viewer's
// info page and the command-line tool: screen, sprites, backgrounds, windows,
// mode 7 and colour math. Every row is one value; the lists with several
// columns (one per layer) carry one text per column.

#include <array>
#include <string>
#include <vector>

#include "render/PPU.h"

struct tInfoRow {
    std::string Caption;
    std::vector<std::string> Values;
};

struct tInfoList {
    std::string Name;                 // "screen", "sprites", "backgrounds", ...
    std::vector<std::string> Columns; // value column headers (empty: one plain value column)
    std::vector<tInfoRow> Rows;
};

// The six lists in the order of the info page. With Spaces ("display spaces
// for 'no' and 'disabled'"), "no" and "disabled" are shown as empty text.
std::array<tInfoList, 6> BuildInfoLists(const tPPU& P, bool Spaces);

tInfoList InfoScreen(const tPPU& P, bool Spaces);
tInfoList InfoOBJ(const tPPU& P, bool Spaces);
tInfoList InfoBGs(const tPPU& P, bool Spaces);
tInfoList InfoWindows(const tPPU& P, bool Spaces);
tInfoList InfoMode7(const tPPU& P, bool Spaces);
tInfoList InfoMath(const tPPU& P, bool Spaces);
