#pragma once
// Two machine states compared: the rows of the machine's register tabs (CPU,
// DMA, PPU, APU) whose values differ, and for each memory the ranges of bytes
// that differ. The image tabs are left out: they show how a file format lays
// the state out, not the state.
//
//   tStateSnapshot A = TakeStateSnapshot(); ...load the other state...
//   tStateDiff D = DiffStates(A, TakeStateSnapshot());
//   if (D.Equal()) ...

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct tSnapshotRow {
    int Page = 0;
    std::string Address, Name;
    std::string Hex; // "" for a row the state's format does not keep
};

struct tSnapshotMemory {
    const char* Name; // "WRAM", "VRAM", "CGRAM", "OAM", "SPC700 RAM", "DSP"
    std::vector<uint8_t> Bytes;
};

struct tStateSnapshot {
    std::vector<tSnapshotRow> Rows;
    std::vector<tSnapshotMemory> Memories;
};

// The program's current state: the register tabs must have been loaded
// (RegisterTabs().Load). Throws tRegisterFileError for a bad row.
tStateSnapshot TakeStateSnapshot();

struct tRowDifference {
    int Page = 0;
    std::string Address, Name, A, B;
};

struct tByteRange {
    uint32_t Start = 0, Count = 0;
};

struct tMemoryDifference {
    const char* Name;
    uint32_t Size = 0;  // bytes compared
    uint32_t Bytes = 0; // bytes that differ
    std::vector<tByteRange> Ranges;
};

struct tStateDiff {
    std::vector<tRowDifference> Rows;
    std::vector<tMemoryDifference> Memories; // only those that differ
    bool Equal() const { return Rows.empty() && Memories.empty(); }
};

// The runs of bytes that differ between A and B (compared up to the shorter
// length; the rest of the longer one counts as different).
std::vector<tByteRange> DifferingRanges(std::span<const uint8_t> A, std::span<const uint8_t> B);

// Rows are matched by position (both snapshots come from the same description
// file); a row whose address or name does not match counts as different.
tStateDiff DiffStates(const tStateSnapshot& A, const tStateSnapshot& B);

// "cpu", "dma", "ppu", "apu".
const char* SnapshotPageName(int Page);
