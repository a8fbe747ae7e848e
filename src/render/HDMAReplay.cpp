#include "render/HDMAReplay.h"

#include <algorithm>
#include <string>

tHDMAReplay ReplayHDMA(const tSNES& S, const tROMView& ROM)
{
    tHDMAReplay Out;
    for (int Channel = 0; Channel < 8; ++Channel) {
        const tDMAChannel& C = S.DMA[Channel];
        if (!C.HDMAEnabled)
            continue;
        const size_t First = Out.Writes.size();
        const tHDMAWalk Result = WalkHDMA(
            S, ROM, Channel,
            [&](const tHDMAByte& B) {
                Out.Writes.push_back({static_cast<uint16_t>(B.Line), static_cast<uint8_t>(Channel), B.Reg, B.Value});
                Out.Touched[Channel].set(static_cast<size_t>(B.Line));
            },
            [](int) {});
        if (Result != tHDMAWalk::Done) {
            // A channel whose table breaks off part way is left out whole:
            // half a table would draw a picture the console never shows.
            Out.Writes.resize(First);
            Out.Touched[Channel].reset();
            Out.Skipped |= static_cast<uint8_t>(1 << Channel);
            const uint8_t Bank = Result == tHDMAWalk::TableNotMapped ? C.ABank : C.IndirectBank;
            // Banks $7E/$7F and the low half of the system banks are always
            // readable; what is left is cartridge ROM.
            if (ROM.Data.empty() && Bank != 0x7E && Bank != 0x7F)
                Out.SkippedROM |= static_cast<uint8_t>(1 << Channel);
        }
    }
    // Channel 0 writes first on every line.
    std::stable_sort(Out.Writes.begin(), Out.Writes.end(),
                     [](const tHDMAWrite& A, const tHDMAWrite& B) { return A.Line < B.Line; });
    return Out;
}

std::string HDMALinesReplayed(const tHDMAReplay& H, int Channel)
{
    if (H.SkippedROM >> Channel & 1)
        return "none (table in ROM)";
    if (H.Skipped >> Channel & 1)
        return "none (unreadable)";
    const auto& T = H.Touched[static_cast<size_t>(Channel & 7)];
    std::string Text;
    for (size_t i = 0; i < T.size();) {
        if (!T[i]) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j + 1 < T.size() && T[j + 1])
            ++j;
        if (!Text.empty())
            Text += ", ";
        Text += std::to_string(i);
        if (j > i)
            Text += "-" + std::to_string(j);
        i = j + 1;
    }
    return Text;
}

void tLineRegisters::From(const tSNES& S)
{
    std::copy_n(S.Regs.begin() + 0x2100, R.size(), R.begin());
    HScroll = S.BGHScroll;
    VScroll = S.BGVScroll;
    M7HOffset = S.M7HOffset;
    M7VOffset = S.M7VOffset;
    M7 = S.M7;
    FixedColour = S.FixedColour;
    CGRAM = S.CGRAM;
    ScrollLatch = Mode7Latch = 0;
    CGAddress = S.Regs[0x2121];
    CGLow = 0;
    CGHigh = S.CGRAMLatch != 0;
}

namespace
{
// A 13-bit two's complement value, as the mode 7 registers hold them.
int32_t Signed13(int32_t V)
{
    V &= 0x1FFF;
    return V & 0x1000 ? V - 0x2000 : V;
}
} // namespace

uint8_t tLineRegisters::Write(uint8_t Reg, uint8_t Value)
{
    if (Reg >= 0x0D && Reg <= 0x14) {
        // BGnHOFS / BGnVOFS share one latch: a scroll is the byte written
        // now over the byte written before (the horizontal scroll keeps its
        // own fine bits from that earlier byte only above bit 2).
        const int n = (Reg - 0x0D) / 2;
        if ((Reg - 0x0D) % 2 == 0)
            HScroll[n] = (Value << 8 | (ScrollLatch & ~7) | ((HScroll[n] >> 8) & 7)) & 0x3FF;
        else
            VScroll[n] = (Value << 8 | ScrollLatch) & 0x3FF;
        ScrollLatch = Value;
        // BG1's scroll registers are mode 7's too, through the mode 7 latch.
        if (Reg == 0x0D)
            M7HOffset = Signed13(Value << 8 | Mode7Latch);
        else if (Reg == 0x0E)
            M7VOffset = Signed13(Value << 8 | Mode7Latch);
        if (Reg <= 0x0E)
            Mode7Latch = Value;
        return ChangedValues;
    }
    if (Reg >= 0x1B && Reg <= 0x20) {
        const int32_t Word = Value << 8 | Mode7Latch;
        Mode7Latch = Value;
        // clang-format off
        switch (Reg) {
        case 0x1B: M7.A = static_cast<int16_t>(Word); break;
        case 0x1C: M7.B = static_cast<int16_t>(Word); break;
        case 0x1D: M7.C = static_cast<int16_t>(Word); break;
        case 0x1E: M7.D = static_cast<int16_t>(Word); break;
        case 0x1F: M7.X = Signed13(Word); break;
        default:   M7.Y = Signed13(Word); break;
        }
        // clang-format on
        return ChangedValues;
    }
    if (Reg == 0x21) {
        CGAddress = Value;
        CGHigh = false;
        return 0;
    }
    if (Reg == 0x22) {
        if (!CGHigh) {
            CGLow = Value;
            CGHigh = true;
            return 0;
        }
        CGRAM[CGAddress] = static_cast<uint16_t>((Value & 0x7F) << 8 | CGLow);
        CGAddress = static_cast<uint8_t>(CGAddress + 1);
        CGHigh = false;
        return ChangedPalette;
    }
    if (Reg == 0x32) {
        // Bits 5-7 choose blue, green and red; bits 0-4 are their intensity.
        const uint8_t Level = static_cast<uint8_t>((Value & 31) << 3);
        for (int c = 0; c < 3; ++c)
            if (Value & (0x20 << c))
                FixedColour[2 - c] = Level;
        return ChangedValues;
    }
    // Everything else that the picture reads is a plain byte; VRAM, OAM and
    // the read-only registers do not change the frame being drawn.
    if (Reg < R.size() && Reg != 0x04 && Reg != 0x18 && Reg != 0x19 && Reg < 0x34) {
        R[Reg] = Value;
        return ChangedRegisters;
    }
    return 0;
}
