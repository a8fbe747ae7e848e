#include "tools/PaletteView.h"

#include <algorithm>

#include "core/Routines.h"

tRGB8 EntryRGB(uint16_t Entry)
{
    return {(Entry & 31) * 8, (Entry >> 5 & 31) * 8, (Entry >> 10 & 31) * 8};
}

uint16_t EntryFromRGB(int R, int G, int B)
{
    const auto Five = [](int C) { return (std::clamp(C, 0, 255) >> 3) & 31; };
    return static_cast<uint16_t>(Five(R) + Five(G) * 32 + Five(B) * 1024);
}

std::string HTMLText(uint16_t Entry)
{
    const tRGB8 C = EntryRGB(Entry);
    return "#" + HexText(static_cast<uint64_t>(C.R), 2) + HexText(static_cast<uint64_t>(C.G), 2) +
           HexText(static_cast<uint64_t>(C.B), 2);
}

std::string PaletteIndexText(int Index, bool Decimal)
{
    const auto V = static_cast<uint64_t>(Index & 255);
    return Decimal ? DecText(V, 3) : HexText(V, 2) + "h";
}

std::string PaletteGroupText(int Index, int Bits, bool Decimal)
{
    Bits = std::clamp(Bits, 0, 8);
    const int Start = ((Index & 255) >> Bits) << Bits;
    const int End = std::min(Start + (1 << Bits) - 1, 255);
    return PaletteIndexText(Start, Decimal) + ".." + PaletteIndexText(End, Decimal);
}

std::string ComponentText(int Value)
{
    return DecText(static_cast<uint64_t>(std::clamp(Value, 0, 999)), 3);
}

int PaletteCellSize(int Client)
{
    return std::max(1, (Client - 4) / PaletteGridCells);
}

int PaletteCellAt(int X, int Y, int CellW, int CellH)
{
    if (X < 0 || Y < 0 || CellW < 1 || CellH < 1)
        return -1;
    const int Col = X / CellW, Row = Y / CellH;
    if (Col >= PaletteGridCells || Row >= PaletteGridCells)
        return -1;
    return Row * PaletteGridCells + Col;
}
