// The hex editor's working copy driven by a random sequence of keys, typed
// characters, clicks, jumps, resolution changes and source restores over a
// block of random size. After every step the caret must lie in the copy and
// the window in the block, and the copy must keep its size.

#include <cstdlib>
#include <vector>

#include "tools/HexModel.h"

namespace
{
void Check(const tHexModel& M, size_t Size)
{
    if (static_cast<size_t>(M.Size()) != Size || M.WindowStart() < 0 || M.WindowStart() > M.MaxWindowStart() ||
        M.CaretNibble() < 0 || M.CaretNibble() > M.MaxNibble() || M.CaretColumn() < 0 ||
        M.CaretColumn() >= 2 * M.BytesPerLine() || M.CaretRow() < 0 || M.HoverOffset() < 0 ||
        (Size > 0 && M.HoverOffset() >= M.Size()))
        std::abort();
    if (Size > 0 && (M.CaretByte() < M.WindowStart() || M.CaretByte() >= M.WindowStart() + M.WindowSize()))
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    if (Size < 3)
        return 0;
    // The first two bytes size the block (0 .. 65535 bytes).
    const size_t BlockSize = size_t{Data[0]} | size_t{Data[1]} << 8;
    std::vector<uint8_t> Block(BlockSize, 0x5A);
    tHexModel M;
    M.Load(Block);
    Check(M, BlockSize);
    for (size_t I = 2; I + 2 < Size; I += 3) {
        const uint8_t Op = Data[I], A = Data[I + 1], B = Data[I + 2];
        const bool Ctrl = Op & 0x80;
        switch (Op % 11) {
        case 0:
            M.Key(static_cast<tHexKey>(A % 12), Ctrl, B & 1);
            break;
        case 1:
            M.TypeChar(static_cast<char32_t>(A | (B & 0x03) << 8), Ctrl, B & 0x80);
            break;
        case 2:
            M.SetResolution(A - 8, (int{B} << 2) - 16);
            break;
        case 3:
            M.SetCaret((int64_t{A} << 8 | B) * ((Op & 0x40) ? -1 : 1) * 3);
            break;
        case 4:
            M.SetWindow((int64_t{A} << 8 | B) * ((Op & 0x40) ? -1 : 1));
            break;
        case 5:
            M.Jump(A & 1, B & 1);
            break;
        case 6:
            M.SetTextSide(A & 1);
            break;
        case 7:
            M.RestoreState({(int64_t{A} << 12) - 4096 + B, (B & 1) != 0, (int64_t{B} << 10) - A});
            break;
        case 8:
            M.SetHover(int64_t{A} << 8 | B);
            M.HoverValues();
            break;
        case 9:
            M.CopyText(A & 1);
            break;
        default:
            M.GoToOffsetText(std::string(reinterpret_cast<const char*>(&Data[I + 1]), 2), B & 1);
            break;
        }
        Check(M, BlockSize);
    }
    return 0;
}
