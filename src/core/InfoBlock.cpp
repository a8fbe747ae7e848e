#include "core/InfoBlock.h"

#include <algorithm>
#include <bit>

static_assert(std::endian::native == std::endian::little,
              "register rows read the machine state's numbers as little-endian bytes");

namespace
{
// Bits of the row that exist in memory: a row shown multiplied by 2^ShiftLeft
// has its lowest ShiftLeft bits made up by the multiplication.
int StoredBits(const tInfoBlock& B)
{
    return B.Bits > B.ShiftLeft ? B.Bits - B.ShiftLeft : 0;
}

// Bytes of the smallest little-endian unit (1, 2, 4 or 8) that holds bits
// BitOffset .. BitOffset + Count - 1.
size_t UnitBytes(int BitOffset, int Count)
{
    const int Top = BitOffset + Count; // one past the highest bit
    return Top <= 8 ? 1 : Top <= 16 ? 2 : Top <= 32 ? 4 : 8;
}

uint64_t LoadUnit(const uint8_t* P, size_t N)
{
    uint64_t V = 0;
    for (size_t I = 0; I < N; ++I)
        V |= static_cast<uint64_t>(P[I]) << (8 * I);
    return V;
}

void StoreUnit(uint8_t* P, size_t N, uint64_t V)
{
    for (size_t I = 0; I < N; ++I)
        P[I] = static_cast<uint8_t>(V >> (8 * I));
}

uint64_t LowMask(int Count)
{
    return Count >= 64 ? ~uint64_t{0} : (uint64_t{1} << Count) - 1;
}
} // namespace

uint64_t ReadBlock(const tInfoBlock& B)
{
    if (!B.Address || B.Bits == 0)
        return 0;
    const size_t N = std::min(UnitBytes(B.BitOffset, StoredBits(B)), B.Available);
    uint64_t V = LoadUnit(B.Address, N) >> B.BitOffset;
    V = B.ShiftLeft < 64 ? V << B.ShiftLeft : 0;
    return B.Bits < 64 ? V & LowMask(B.Bits) : V;
}

void WriteBlock(tInfoBlock& B, uint64_t V)
{
    if (!B.Address)
        return;
    B.Value = V;
    const int Count = StoredBits(B);
    if (Count == 0)
        return;
    const size_t N = std::min(UnitBytes(B.BitOffset, Count), B.Available);
    const uint64_t Stored = B.ShiftLeft < 64 ? V >> B.ShiftLeft : 0;
    const uint64_t Mask = LowMask(Count) << B.BitOffset;
    uint64_t Unit = LoadUnit(B.Address, N);
    Unit = (Unit & ~Mask) | ((Stored << B.BitOffset) & Mask);
    StoreUnit(B.Address, N, Unit);
}
