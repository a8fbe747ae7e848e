#include "savestates/S9XBlocks.h"

#include <algorithm>

#include "core/LittleEndian.h"

using namespace S9XLayout;

void S9XCopiesToMirror(tS9XBlocks& B, const tS9XBlocks& Was)
{
    const auto& Ppu = B[BlockPPU];
    const auto& Old = Was[BlockPPU];
    auto& R = B[BlockFIL];
    auto Changed = [&](size_t At, size_t Width) {
        return !std::equal(Ppu.begin() + static_cast<std::ptrdiff_t>(At),
                           Ppu.begin() + static_cast<std::ptrdiff_t>(At + Width),
                           Old.begin() + static_cast<std::ptrdiff_t>(At));
    };
    auto Bits = [&R](unsigned Address, unsigned Mask, unsigned Value) {
        R[Address] = static_cast<uint8_t>((R[Address] & ~Mask) | (Value & Mask));
    };
    auto Flag = [&](size_t At, unsigned Address, unsigned Mask) {
        if (Changed(At, 1))
            Bits(Address, Mask, Ppu[At] ? Mask : 0);
    };
    auto Word = [&](size_t At, unsigned Address) {
        if (Changed(At, 2)) {
            R[Address] = Ppu[At];
            R[Address + 1] = Ppu[At + 1];
        }
    };

    if (Changed(PPUBGMode, 1))
        Bits(0x2105, 0x07, Ppu[PPUBGMode]);
    if (Changed(PPUBrightness, 1))
        Bits(0x2100, 0x0F, Ppu[PPUBrightness]);
    Flag(PPUForcedBlanking, 0x2100, 0x80);
    Flag(PPUVMAHigh, 0x2115, 0x80);
    if (Changed(PPUVMAIncrement, 1)) {
        const uint8_t Step = Ppu[PPUVMAIncrement];
        Bits(0x2115, 0x03, Step >= 128 ? 2 : Step >= 32 ? 1 : 0);
    }
    for (unsigned n = 0; n < 4; ++n) {
        const size_t O = PPUBG + PPUBGRecord * n;
        // Map and character bases are kept as VRAM word addresses.
        if (Changed(O, 2))
            Bits(0x2107 + n, 0x7C, ReadLE16(&Ppu[O]) >> 8);
        Flag(O + 6, 0x2105, 0x10u << n);
        if (Changed(O + 7, 2))
            Bits(0x210B + n / 2, 0x0Fu << (4 * (n & 1)), (ReadLE16(&Ppu[O + 7]) >> 12) << (4 * (n & 1)));
        if (Changed(O + 9, 2))
            Bits(0x2107 + n, 0x03, ReadLE16(&Ppu[O + 9]));
    }
    Flag(PPUOAMPriorityRotation, 0x2103, 0x80);
    Word(PPUIRQVBeamPos, 0x4209);
    Word(PPUIRQHBeamPos, 0x4207);
    if (Changed(PPUScreenHeight, 2))
        Bits(0x2133, 0x04, ReadLE16(&Ppu[PPUScreenHeight]) == 239 ? 0x04 : 0);
    if (Changed(PPUOBJNameSelect, 2))
        Bits(0x2101, 0x18, (ReadLE16(&Ppu[PPUOBJNameSelect]) >> 13) << 3);
    if (Changed(PPUOBJSizeSelect, 1))
        Bits(0x2101, 0xE0, Ppu[PPUOBJSizeSelect] << 5);
    if (Changed(PPUOBJNameBase, 2))
        Bits(0x2101, 0x03, ReadLE16(&Ppu[PPUOBJNameBase]) >> 14);
    // The block size is kept as 1-16.
    if (Changed(PPUMosaic, 1) && Ppu[PPUMosaic] >= 1 && Ppu[PPUMosaic] <= 16)
        Bits(0x2106, 0xF0, (Ppu[PPUMosaic] - 1u) << 4);
    for (unsigned n = 0; n < 4; ++n)
        Flag(PPUBGMosaic + n, 0x2106, 1u << n);
    Flag(PPUMode7HFlip, 0x211A, 0x01);
    Flag(PPUMode7VFlip, 0x211A, 0x02);
    if (Changed(PPUMode7Repeat, 1))
        Bits(0x211A, 0xC0, Ppu[PPUMode7Repeat] << 6);
    for (unsigned k = 0; k < 4; ++k)
        if (Changed(PPUWindow1Left + k, 1))
            R[0x2126 + k] = Ppu[PPUWindow1Left + k];
    // Per layer (BG1-4, sprites, colour): the mask logic and the window
    // enable and invert bits, the inverts kept as "outside" flags.
    for (unsigned k = 0; k < 6; ++k) {
        const size_t O = PPUWindows + PPUWindowRecord * k;
        const unsigned Shift = 4 * (k & 1), Address = 0x2123 + k / 2;
        if (Changed(O, 1))
            Bits(k < 4 ? 0x212A : 0x212B, 3u << (2 * (k % 4)), static_cast<unsigned>(Ppu[O]) << (2 * (k % 4)));
        Flag(O + 1, Address, 0x02u << Shift);
        Flag(O + 2, Address, 0x08u << Shift);
        if (Changed(O + 3, 1))
            Bits(Address, 0x01u << Shift, Ppu[O + 3] ? 0 : 0x01u << Shift);
        if (Changed(O + 4, 1))
            Bits(Address, 0x04u << Shift, Ppu[O + 4] ? 0 : 0x04u << Shift);
    }
}
