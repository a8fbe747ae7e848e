#pragma once
// The input of the picture harness (fuzz_render): a machine state laid out
// flat, so that every byte lands in a register, in the values the savestate
// readers write straight into the picture unit, in a viewer switch, or in
// OAM, CGRAM and VRAM. The seed maker writes real states in the same layout.
//
//   0x00  $2100-$2133, the picture unit's registers
//   0x34  BG1-BG4 horizontal and vertical scroll, 16 bits each
//   0x44  mode 7 matrix A, B, C, D and centre X, Y, 16 bits each
//   0x50  fixed colour blue, green, red; 0x53 the sprite rotation start
//   0x54  viewer switches (RenderSwitch bits), 0x55 more (RenderMore bits)
//   0x56  three bytes that flip the 24 layering flags of the two screens
//   0x59  the layer pictures: bit 0 priority 0, bit 1 priority 1, bits 2-3
//         transparency kind
//   0x5A  OAM (544 bytes), CGRAM (512 bytes), then VRAM (the rest, at most
//         64 KiB); what the input lacks stays 0

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/LittleEndian.h"
#include "core/SNES.h"
#include "render/PPU.h"

namespace RenderInput
{
inline constexpr size_t Registers = 0x00, RegisterCount = 0x34;
inline constexpr size_t Scrolls = 0x34, Matrix = 0x44, Fixed = 0x50, FirstSprite = 0x53;
inline constexpr size_t Switches = 0x54, More = 0x55, Layering = 0x56, Pictures = 0x59;
inline constexpr size_t Header = 0x5A;
inline constexpr size_t OAMSize = 544, CGRAMSize = 512;

enum : uint8_t {
    Scale512 = 1,
    Blur = 2,
    SoftBlur = 4,
    NoMasks = 8,
    NoBrightness = 16,
    NoMosaic = 32,
    BothScreens = 64,
    SubTab = 128,
};
enum : uint8_t {
    SpriteBase = 3, // bits 0-1: the sprite tile base option
    InvertPalette = 4,
    ForceMode = 8, // bits 4-6: the BG mode the scene viewer forces
    BG3OnTop = 128,
};

inline uint16_t Get16(const std::vector<uint8_t>& In, size_t At)
{
    return static_cast<uint16_t>(ReadLE<2>(&In[At]));
}

inline void Put16(std::vector<uint8_t>& Out, size_t At, uint32_t V)
{
    WriteLE<2>(&Out[At], V);
}

// A loaded state and its decoded picture unit in the harness's layout.
inline std::vector<uint8_t> Make(const tSNES& S, const tPPU& P)
{
    std::vector<uint8_t> Out(Header + OAMSize + CGRAMSize + S.VRAM.size(), 0);
    std::copy_n(S.Regs.begin() + 0x2100, RegisterCount, Out.begin() + Registers);
    for (size_t n = 0; n < 4; ++n) {
        Put16(Out, Scrolls + 4 * n, static_cast<uint32_t>(P.Layers[n].HScroll));
        Put16(Out, Scrolls + 4 * n + 2, static_cast<uint32_t>(P.Layers[n].VScroll));
    }
    const int32_t M7[6] = {P.M7.A, P.M7.B, P.M7.C, P.M7.D, P.M7.X, P.M7.Y};
    for (size_t i = 0; i < 6; ++i)
        Put16(Out, Matrix + 2 * i, static_cast<uint32_t>(M7[i]));
    std::copy_n(P.FixedColour.begin(), 3, Out.begin() + Fixed);
    Out[FirstSprite] = P.FirstSprite;
    Out[Pictures] = 3;
    std::copy(S.OAM.begin(), S.OAM.end(), Out.begin() + Header);
    for (size_t i = 0; i < 256; ++i)
        Put16(Out, Header + OAMSize + 2 * i, S.CGRAM[i]);
    std::copy(S.VRAM.begin(), S.VRAM.end(), Out.begin() + Header + OAMSize + CGRAMSize);
    return Out;
}
} // namespace RenderInput
