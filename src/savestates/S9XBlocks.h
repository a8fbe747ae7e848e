#pragma once
// The blocks of a Snes9x savestate as the program keeps them: one buffer per
// block at the program's size, numbers in machine order, and the conversion
// between them and the machine state.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "savestates/S9XLayout.h"

class tSNES;

struct tS9XBlocks {
    std::array<char, S9XLayout::HeaderSize> Header{};
    std::string Name; // the "NAM" text, its closing NUL included when the file had one
    std::array<std::vector<uint8_t>, S9XLayout::BlockCount> Data;
    bool HasAPU = false, HasSA1 = false, HasSP7 = false, HasRTC = false;

    // Empty: a reader, or Clear(), gives every buffer its size.
    std::vector<uint8_t>& operator[](S9XLayout::tBlockId Id) { return Data[Id]; }
    const std::vector<uint8_t>& operator[](S9XLayout::tBlockId Id) const { return Data[Id]; }

    // Empties the name, drops the presence flags and zeroes every buffer.
    void Clear();
    // Turns every multi-byte number between file order (most significant
    // byte first) and machine order; doing it twice restores the buffers.
    void SwapByteOrder();
};

// Fills the machine state from the blocks. SRAM receives the "SRA" block
// (131,072 bytes) when given.
void S9XBlocksToMachine(const tS9XBlocks& B, tSNES& S, std::vector<uint8_t>* SRAM);
// The registers whose running values the blocks hold apart from the
// register mirror (data port addresses, HDMA table positions), as the
// machine state takes them.
std::vector<std::pair<uint16_t, uint8_t>> S9XLiveRegisters(const tS9XBlocks& B);

// S9XCopies.cpp: Snes9x draws from its PPU block's decoded copies of the
// registers (BG mode, bases, sizes, windows...), while a load reads the
// registers from the mirror ("FIL"). Where B's copy differs from Was's (an
// edit of the copy), the register's bits in B's mirror are set to match it,
// so that the edit is read and the two stay alike.
void S9XCopiesToMirror(tS9XBlocks& B, const tS9XBlocks& Was);

// Writes the machine state into the blocks. Fresh blocks (not read from a
// file) also get the values Snes9x needs that only it keeps, and the sound
// blocks; blocks read from a file keep what the machine state does not hold.
void S9XMachineToBlocks(tS9XBlocks& B, const tSNES& S, const std::vector<uint8_t>* SRAM, bool Fresh);
